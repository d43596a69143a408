// The noderead tool on a node folder: its Field=value lines, its usage errors and a missing folder.
#include "support/ClientFiles.h"
#include "support/ToolRun.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace korvex::app {
namespace {

using test::TRun;

TRun RunTool(const test::TTempDir& dir, const std::string& arguments) {
    return test::RunTool(NODEREAD_PATH, dir, arguments);
}

TEST(NodeReadTool, PrintsTheReadingOfANodeFolder) {
    test::TTempDir dir;
    test::TClientLog log;
    log.ClientStart().StepUnit("p2605_Protein in water", "December 5 20:10:09", 5, 33, 12, 45, 750);
    test::WriteFile(dir.File("node/FAHlog.txt"), log.Text());
    test::WriteFile(dir.File("node/unitinfo.txt"),
        test::JoinLines(test::UnitInfo("p2605_Protein in water", "December 5 20:10:09", "December 11 20:10:09", 45)));

    TRun run = RunTool(dir, test::Cat("'", dir.File("node"), "' --now '2024-12-06 08:00:00' --utc-offset-minutes 60"));
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out,
        "WU name=p2605_Protein in water\n"
        "R-C-G=5-33-12\n"
        "Version=Version 1.90 (March 8, 2006)\n"
        "Core required=FahCore_78.exe\n"
        "User name=Tellvar\n"
        "Team=12345\n"
        "Progress=45\n"
        "Start=2024-12-05 21:10:09\n"
        "Deadline=2024-12-11 21:10:09\n"
        "Status=32768\n"
        "Time per percent=00:12:30\n"
        "Frame time=00:00:00\n"
        "Total frames=0\n"
        "Current frame=0\n"
        "Last step time=2024-12-06 06:32:46\n");
    EXPECT_EQ(run.Err, "");
}

TEST(NodeReadTool, EmptyFolderPrintsTheCycleStartValues) {
    test::TTempDir dir;
    TRun run = RunTool(dir, "--utc-offset-minutes=0 --now='2024-12-06 08:00:00' '" + dir.Path() + "'");
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_NE(run.Out.find("Status=65535\n"), std::string::npos);
    EXPECT_NE(run.Out.find("Start=0\n"), std::string::npos);
    EXPECT_NE(run.Out.find("Time per percent=00:00:00\n"), std::string::npos);
}

TEST(NodeReadTool, MissingFolderIsAnError) {
    test::TTempDir dir;
    TRun run = RunTool(dir, test::Cat("'", dir.File("gone"), "'"));
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err.find("no such folder"), std::string::npos);
    EXPECT_EQ(run.Out, "");
}

TEST(NodeReadTool, ARelativeFolderIsTheShellsCurrentFoldersChild) {
    test::TTempDir dir;
    test::TClientLog log;
    log.ClientStart().StepUnit("p2605_Protein in water", "December 5 20:10:09", 5, 33, 12, 45, 750);
    test::WriteFile(dir.File("node/FAHlog.txt"), log.Text());
    for (const char* folder : {"./node", "node", "node/", "../" /* the temporary folder's parent */}) {
        const std::string arguments
            = std::string(folder) == "../" ? "../" + dir.Path().substr(dir.Path().rfind('/') + 1) + "/node" : folder;
        TRun run = test::RunToolIn(dir.Path(), NODEREAD_PATH, dir, "'" + arguments + "' --utc-offset-minutes 0");
        EXPECT_EQ(run.ExitCode, 0) << folder << ": " << run.Err;
        EXPECT_NE(run.Out.find("R-C-G=5-33-12\n"), std::string::npos) << folder;
    }
    TRun run = test::RunToolIn(dir.Path(), NODEREAD_PATH, dir, "./gone");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, "noderead: no such folder: ./gone\n");
}

TEST(NodeReadTool, EveryErrorLineEndsWithANewline) {
    test::TTempDir dir;
    for (const std::string& arguments :
        {std::string("'") + dir.File("gone") + "'", std::string("--verbose"), std::string("")}) {
        TRun run = RunTool(dir, arguments);
        ASSERT_FALSE(run.Err.empty()) << arguments;
        EXPECT_EQ(run.Err.back(), '\n') << arguments;
        EXPECT_EQ(run.Err.find("\n\n"), std::string::npos) << arguments;
    }
}

TEST(NodeReadTool, BadArgumentsPrintTheUsageAndExitWithTwo) {
    test::TTempDir dir;
    const std::string folder = "'" + dir.Path() + "' ";
    for (const std::string& arguments : {std::string(""), folder + "--now", folder + "--now '2024-13-01 00:00:00'",
             folder + "--now '2024-12-06'", folder + "--utc-offset-minutes sixty", folder + "--utc-offset-minutes 5000",
             folder + "--verbose", folder + folder}) {
        TRun run = RunTool(dir, arguments);
        EXPECT_EQ(run.ExitCode, 2) << arguments;
        EXPECT_NE(run.Err.find("usage: noderead FOLDER"), std::string::npos) << arguments;
        EXPECT_EQ(run.Out, "") << arguments;
    }
}

}
}
