// A version text cut to a number of its fields.
#include "app/nodes/VersionText.h"

#include <gtest/gtest.h>

namespace korvex::app {
namespace {

TEST(VersionFields, TakesTheFirstFieldsOrAll) {
    EXPECT_EQ(VersionFields("2.6.0.11", 4), "2.6.0.11");
    EXPECT_EQ(VersionFields("2.6.0.11", 2), "2.6");
    EXPECT_EQ(VersionFields("2.6.0.11", 1), "2");
    EXPECT_EQ(VersionFields("2.6.0.11", 9), "2.6.0.11");
    EXPECT_EQ(VersionFields("2.6", 4), "2.6");
    EXPECT_EQ(VersionFields("2.6.0.11", 0), "");
    EXPECT_EQ(VersionFields("", 4), "");
}

}
}
