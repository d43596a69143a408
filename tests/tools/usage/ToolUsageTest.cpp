// The tools' command lines: --help prints the usage and does nothing else; the window tools stop with a
// message when there is no display to show them on.
#include "support/ClientFiles.h"
#include "support/ToolRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace korvex::app::test;

namespace {

const std::vector<std::string> ToolPaths {KORVEX_TOOL_PATHS};

std::string ToolName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

TEST(ToolUsage, HelpPrintsTheUsageAndWritesNothing) {
    for (const std::string& tool : ToolPaths) {
        SCOPED_TRACE(ToolName(tool));
        TTempDir output;
        TTempDir folder;   // the tool's current folder: nothing may appear in it
        // Without a display, so that a tool taking --help for something else fails rather than opens windows.
        const TRun run = RunToolIn(folder.Path(), "/usr/bin/timeout", output,
            "120 env -u DISPLAY -u KORVEX_DISPLAY '" + tool + "' --help");
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Out.rfind("usage: " + ToolName(tool), 0), 0u) << run.Out;
        EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
    }
}

TEST(ToolUsage, WindowToolsWithoutADisplaySaySoAndStop) {
    for (const std::string tool : {KORVEX_GALLERY, KORVEX_WINDEMO_TOOL}) {
        SCOPED_TRACE(ToolName(tool));
        TTempDir output;
        const TRun run = RunTool("/usr/bin/timeout", output, "120 env -u DISPLAY -u KORVEX_DISPLAY '" + tool + "'");
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_NE(run.Err.find("no X display"), std::string::npos) << run.Err;
    }
}

}
