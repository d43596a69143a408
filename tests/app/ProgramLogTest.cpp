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

TEST(DTTM, DayShortMonthAndTime) {
    EXPECT_EQ(DTTM(base::EncodeDateTime(2024, 12, 5, 20, 10, 15, 0)), "05 Dec 20:10:15");
    EXPECT_EQ(DTTM(base::EncodeDateTime(2025, 1, 17, 8, 0, 0, 0)), "17 Jan 08:00:00");
}

TEST(StampedLine, LeavesOutAMidnightTimeAsTheDateTimeTextDoes) {
    EXPECT_EQ(StampedLine(base::EncodeDate(2024, 12, 5), "x"), "[05.12.2024] x");
}

}
}
