// The program log and the program's date-time texts.
#include "app/settings/ProgramLog.h"
#include "support/AppEnvironment.h"

#include "platform/base/DateTime.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <thread>

namespace korvex::app {
namespace {

TEST(WLog, AppendsStampedLinesInTheFixedFormat) {
    test::TAppEnvironment env;
    env.SetNow(base::EncodeDateTime(2024, 12, 5, 20, 10, 15, 0));
    EXPECT_TRUE(WLog("Start monitor"));
    EXPECT_TRUE(WLog("\\\\box\\fah:  Send new unit from cash"));
    EXPECT_EQ(env.ReadFile("KORVEX.LOG"),
        "[05.12.2024 20:10:15] Start monitor\r\n[05.12.2024 20:10:15] \\\\box\\fah:  Send new unit from cash\r\n");
}

TEST(WLog, LogThatCannotBeOpenedIsSkippedQuietly) {
    test::TAppEnvironment env;
    std::filesystem::create_directory(env.File("KORVEX.LOG"));
    EXPECT_FALSE(WLog("Stop monitor"));
}

TEST(WLog, LinesFromManyThreadsNeverMix) {
    test::TAppEnvironment env;
    env.SetNow(base::EncodeDateTime(2024, 12, 5, 20, 10, 15, 0));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 50; ++i)
                WLog("thread " + std::to_string(t) + " line " + std::to_string(i) + std::string(200, 'x'));
        });
    for (std::thread& thread : threads)
        thread.join();
    std::istringstream log(env.ReadFile("KORVEX.LOG"));
    std::string line;
    int lines = 0;
    while (std::getline(log, line)) {
        ++lines;
        EXPECT_EQ(line.rfind("[05.12.2024 20:10:15] thread ", 0), 0u);
        EXPECT_EQ(line.back(), '\r');
    }
    EXPECT_EQ(lines, 200);
}

// The lines of a log text, without their stamps.
std::vector<std::string> UnstampedLines(const std::string& log) {
    std::vector<std::string> lines;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line.substr(line.find("] ") + 2));
    }
    return lines;
}

TEST(TRepeatedFailures, ARepeatedFailureIsLoggedWhenItStartsAndWhenItEndsWithItsCount) {
    test::TAppEnvironment env;
    {
        TRepeatedFailures failures;
        for (int i = 0; i < 5; ++i)
            failures.Failed("/n1: cash", "console", "/n1: Cannot copy the console for cash");
        for (int i = 0; i < 3; ++i)   // details differ between repeats: the first is logged
            failures.Failed("/n2: backup", "room", "/n2: Backup failed (" + std::to_string(i) + " MB free)");
        EXPECT_EQ(failures.Count("/n1: cash"), 5);
        failures.Succeeded("/n1: cash");
        EXPECT_EQ(failures.Count("/n1: cash"), 0);
        failures.Succeeded("/n1: cash");   // nothing under way: nothing logged
        failures.Failed("/n2: backup", "copy", "/n2: Backup failed (copy)");   // another failure ends the first
        failures.Failed("/n3: cash", "cfg", "/n3: Cannot copy client.cfg for cash");
        failures.Failed("/n3: cash", "cfg", "/n3: Cannot copy client.cfg for cash");
    }   // gone: what still repeats is logged with its count so far; a single failure was logged already
    EXPECT_EQ(UnstampedLines(env.ReadFile("KORVEX.LOG")),
        (std::vector<std::string> {"/n1: Cannot copy the console for cash", "/n2: Backup failed (0 MB free)",
            "/n1: Cannot copy the console for cash (ended after 5 times)",
            "/n2: Backup failed (0 MB free) (ended after 3 times)", "/n2: Backup failed (copy)",
            "/n3: Cannot copy client.cfg for cash", "/n3: Cannot copy client.cfg for cash (so far 2 times)"}));
}

TEST(DTTM, DayShortMonthAndTime) {
    EXPECT_EQ(DTTM(base::EncodeDateTime(2024, 12, 5, 20, 10, 15, 0)), "05 Dec 20:10:15");
    EXPECT_EQ(DTTM(base::EncodeDateTime(2025, 1, 17, 8, 0, 0, 0)), "17 Jan 08:00:00");
}

TEST(StampedLine, LeavesOutAMidnightTimeAsTheDateTimeTextDoes) {
    EXPECT_EQ(StampedLine(base::EncodeDate(2024, 12, 5), "x"), "[05.12.2024] x");
}

}
}
