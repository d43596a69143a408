// Tests of the program's file version.
#include "platform/os/Version.h"

#include <gtest/gtest.h>

using namespace korvex::os;

TEST(GetFileVersion, HoldsTheFourFieldsOfTheProgramVersion) {
    TFileVersion v = GetFileVersion();
    EXPECT_EQ(v.Major, 2);
    EXPECT_EQ(v.Minor, 6);
    EXPECT_EQ(v.Release, 0);
    EXPECT_EQ(v.Build, 11);
}

TEST(FileVersionText, JoinsTheRequestedNumberOfFields) {
    EXPECT_EQ(FileVersionText(), "2.6.0.11");
    EXPECT_EQ(FileVersionText(4), "2.6.0.11");
    EXPECT_EQ(FileVersionText(2), "2.6");
    EXPECT_EQ(FileVersionText(1), "2");
    EXPECT_EQ(FileVersionText(0), "2");
    EXPECT_EQ(FileVersionText(9), "2.6.0.11");
}
