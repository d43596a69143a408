// The program when its X server goes away: an orderly end that saves what Exit saves, without a crash.
#include "support/KorvexRun.h"

#include "app/nodes/NodeFiles.h"
#include "app/settings/Settings.h"
#include "platform/base/DateTime.h"
#include "platform/os/TimeZone.h"

#include <gtest/gtest.h>

#include <memory>

namespace korvex::e2e {
namespace {

#ifdef KORVEX_PROGRAM
const char* const Program = KORVEX_PROGRAM;
const char* const Xshot = KORVEX_XSHOT;
#else
const char* const Program = nullptr;
const char* const Xshot = nullptr;
#endif

TEST(LostDisplay, TheProgramSavesItsSettingsLogsItsStopAndEndsWithoutACrash) {
    KORVEX_E2E_NEED(Program, "the program is not built");
    auto server = std::make_unique<XvfbServer>(1024, 768);
    KORVEX_E2E_NEED(server->Running(), "no Xvfb: " << server->Error());
    TKorvexRunOptions options;
    options.Farm.Nodes = 4;
    options.Farm.StepSeconds = 30;
    options.MinuteMs = 1500;
    TKorvexRun run(Program, Xshot, *server, options);
    ASSERT_TRUE(run.Start());
    // Every answering node's unit reached the history: the rows hold what the folders say.
    ASSERT_TRUE(TKorvexRun::WaitUntil(
        [&] {
            const std::string history = [&] {
                std::string all;
                for (const std::string& line : run.HistoryLines())
                    all += line + "\n";
                return all;
            }();
            for (const fakefarm::TFakeNode& node : run.Farm().Nodes)
                if (node.Role != fakefarm::TNodeRole::Unreachable
                    && history.find("=" + node.Label) == std::string::npos)
                    return false;
            return true;
        },
        60000))
        << run.ProgramLog();

    // A unit reaches the history around its row refresh, near the progress the program keeps: two more
    // cycles begun, so every node's progress is the one its folder gives.
    ASSERT_TRUE(run.WaitForCycles(2, 60000)) << run.ProgramLog();

    server.reset();   // the X server ends under the running program

    // Exit status 0, no signal (a crash would give 128 + its number).
    EXPECT_EQ(run.WaitForEnd(60000), 0);
    for (const fakefarm::TFakeNode& node : run.Farm().Nodes) {
        if (node.Role == fakefarm::TNodeRole::Unreachable) continue;
        EXPECT_EQ(run.SettingInteger(app::DataKey, "Progress" + std::to_string(node.Index)), ReadingOf(node).Progress)
            << node.Label;
    }
    EXPECT_TRUE(run.SettingInteger(app::OptionsKey, "W1W").has_value());
    EXPECT_NE(run.ProgramLog().find("] Stop monitor"), std::string::npos) << run.ProgramLog();
}

}
}
