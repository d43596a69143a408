// Splitting file text into line views.
#include "app/TextLines.h"

#include <gtest/gtest.h>

namespace korvex::app {
namespace {

std::vector<std::string> Lines(std::string_view text) {
    TTextLines lines = TTextLines::FromText(text);
    return {lines.Lines().begin(), lines.Lines().end()};
}

TEST(TTextLines, SplitsAtLineFeedsAndDropsTheCarriageReturnBeforeThem) {
    EXPECT_EQ(Lines("a\r\nb\nc"), (std::vector<std::string> {"a", "b", "c"}));
    EXPECT_EQ(Lines("a\r\n\r\n"), (std::vector<std::string> {"a", ""}));
    EXPECT_EQ(Lines(""), std::vector<std::string> {});
    EXPECT_EQ(Lines("\n"), std::vector<std::string> {""});
    EXPECT_EQ(Lines("last without end"), std::vector<std::string> {"last without end"});
}

TEST(TTextLines, KeepsEveryOtherByte) {
    std::string text("a\0b\rc\xff\n\r", 8);
    std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string("a\0b\rc\xff", 6));
    EXPECT_EQ(lines[1], "\r");
}

TEST(TTextLines, MovedLinesStillPointIntoTheirBuffer) {
    TTextLines lines = TTextLines::FromText("short\nlines");
    TTextLines moved = std::move(lines);
    ASSERT_EQ(moved.Count(), 2u);
    EXPECT_EQ(moved[0], "short");
    EXPECT_EQ(moved[1], "lines");
    EXPECT_EQ(moved.Bytes(), 11u);
}

TEST(TTextLines, FromLinesKeepsTheLines) {
    TTextLines lines = TTextLines::FromLines({"x", "", "y"});
    ASSERT_EQ(lines.Count(), 3u);
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "y");
}

}
}
