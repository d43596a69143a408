// The fakefarm tool: init and run from the command line, its usage errors, and the answering hosts' port.
#include "tools/fakefarm/FakeFarm.h"
#include "tools/fakefarm/SmbAnswerer.h"
#include "support/ClientFiles.h"
#include "support/ToolRun.h"

#include "platform/os/Network.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace korvex::fakefarm {
namespace {

using app::test::RunTool;
using app::test::Slurp;
using app::test::TRun;

TRun RunTool(const app::test::TTempDir& dir, const std::string& arguments) {
    return RunTool(FAKEFARM_PATH, dir, arguments);
}

TEST(FakeFarmTool, InitThenOneTickOfRun) {
    app::test::TTempDir dir;
    const std::string farmDir = dir.File("farm");
    const std::string smbPort = std::to_string(FreeLoopbackPort());   // a fixed one may be taken
    TRun init = RunTool(dir, "init '" + farmDir + "' --nodes 3 --step-seconds=1 --smb-port " + smbPort);
    ASSERT_EQ(init.ExitCode, 0) << init.Err;
    EXPECT_EQ(init.Out, EnvFile(farmDir) + "\n");
    EXPECT_EQ(LoadFarm(farmDir).Nodes.size(), 3u);
    const std::string env = Slurp(EnvFile(farmDir));
    EXPECT_NE(env.find("KORVEX_SMB_PORT=" + smbPort + "\n"), std::string::npos);
    EXPECT_NE(env.find("KORVEX_FARM_PORT="), std::string::npos);
    EXPECT_NE(env.find("KORVEX_FARM_SERVICE_PORT="), std::string::npos);
    for (const TFakeNode& node : LoadFarm(farmDir).Nodes)
        EXPECT_EQ(node.ServiceIp.empty(), node.Role == TNodeRole::Unreachable) << node.Label;

    const int before = LoadFarm(farmDir).Nodes[0].Done;
    TRun run = RunTool(dir, "run '" + farmDir + "' --steps 1");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    TFarm after = LoadFarm(farmDir);
    EXPECT_EQ(after.Tick, 1);
    EXPECT_EQ(after.Nodes[0].Done, before + 1);
}

TEST(FakeFarmTool, RunGoesOnWhenANodeFolderDisappears) {
    app::test::TTempDir dir;
    const std::string farmDir = dir.File("farm");
    TRun init = RunTool(dir, "init '" + farmDir + "' --nodes 4 --step-seconds=1");
    ASSERT_EQ(init.ExitCode, 0) << init.Err;
    const TFarm before = LoadFarm(farmDir);
    std::filesystem::remove_all(before.Nodes[0].Folder);
    TRun run = RunTool(dir, "run '" + farmDir + "' --steps 2");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Err.find(before.Nodes[0].Label + " waits for its folder"), std::string::npos) << run.Err;
    const TFarm after = LoadFarm(farmDir);
    EXPECT_EQ(after.Tick, 2);
    EXPECT_EQ(after.Nodes[0].Done, before.Nodes[0].Done);
    EXPECT_EQ(after.Nodes[3].Done, before.Nodes[3].Done + 2 / before.Nodes[3].TicksPerItem);
}

TEST(FakeFarmTool, UsageErrors) {
    app::test::TTempDir dir;
    for (const char* arguments : {"", "init", "make '/tmp/x'", "init '/tmp/x' --nodes", "init '/tmp/x' --nodes=two",
             "init '/tmp/x' --colour 3", "init '/tmp/x' --nodes 0", "init '/tmp/x' --steps 3", "run '/tmp/x' --nodes 3"}) {
        TRun run = RunTool(dir, arguments);
        EXPECT_EQ(run.ExitCode, 2) << arguments;
        EXPECT_NE(run.Err.find("usage: fakefarm"), std::string::npos) << arguments;
    }
    TRun missing = RunTool(dir, "run '" + dir.File("none") + "' --steps 1");
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_NE(missing.Err.find("no farm in"), std::string::npos);
}

TEST(SmbAnswerer, TheAnsweringHostAnswersAndTheDownHostDoesNot) {
    TSmbAnswerer answerer(0);
    ASSERT_GT(answerer.Port(), 0);
    const char* old = std::getenv("KORVEX_SMB_PORT");
    const std::string saved = old ? old : "";
    ::setenv("KORVEX_SMB_PORT", std::to_string(answerer.Port()).c_str(), 1);
    EXPECT_TRUE(os::HostAnswers(TFarmOptions{}.UncHost, 2000));
    EXPECT_FALSE(os::HostAnswers(TFarmOptions{}.DownHost, 2000));
    answerer.Serve(0);
    if (old) ::setenv("KORVEX_SMB_PORT", saved.c_str(), 1);
    else ::unsetenv("KORVEX_SMB_PORT");
}

}
}
