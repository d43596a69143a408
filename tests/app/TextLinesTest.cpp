// Splitting file text into line views.
#include "app/nodes/TextLines.h"

#include <gtest/gtest.h>

namespace korvex::app {
namespace {

std::vector<std::string> Lines(std::string_view text) {
    TTextLines lines = TTextLines::FromText(text);
    std::vector<std::string_view> views = lines.Lines();
    EXPECT_EQ(lines.Count(), views.size());
    return {views.begin(), views.end()};
}

TEST(TTextLines, SplitsAtLineFeedsCarriageReturnsAndPairsOfBoth) {
    EXPECT_EQ(Lines("a\r\nb\nc"), (std::vector<std::string> {"a", "b", "c"}));
    EXPECT_EQ(Lines("a\r\n\r\n"), (std::vector<std::string> {"a", ""}));
    EXPECT_EQ(Lines("a\rb\r\rc\n\rd"), (std::vector<std::string> {"a", "b", "", "c", "", "d"}));
    EXPECT_EQ(Lines("a\n\r\n"), (std::vector<std::string> {"a", ""}));
    EXPECT_EQ(Lines("a\r"), std::vector<std::string> {"a"});
    EXPECT_EQ(Lines(""), std::vector<std::string> {});
    EXPECT_EQ(Lines("\n"), std::vector<std::string> {""});
    EXPECT_EQ(Lines("last without end"), std::vector<std::string> {"last without end"});
}

TEST(TTextLines, LongLinesSplitAtTheirEndsWhereverTheyFallInTheScan) {
    // Lengths around the scanner's blocks; each end mark tried after each length.
    const std::size_t lengths[] = {0, 1, 511, 512, 513, 1023, 1024, 1500, 5000};
    const std::string ends[] = {"\n", "\r", "\r\n"};
    for (const std::string& end : ends) {
        std::string text;
        std::vector<std::string> expected;
        for (std::size_t i = 0; i < std::size(lengths); ++i) {
            expected.push_back(std::string(lengths[i], char('a' + i)));
            text += expected.back() + end;
        }
        expected.push_back(std::string(2000, 'z'));   // the last line without an end
        text += expected.back();
        EXPECT_EQ(Lines(text), expected) << "end " << int(end[0]) << " of " << end.size();
    }
}

TEST(TTextLines, KeepsEveryOtherByte) {
    std::string text("a\0b\tc\xff\n", 7);
    std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], std::string("a\0b\tc\xff", 6));
}

TEST(TTextLines, MovedTextKeepsItsBytes) {
    TTextLines lines = TTextLines::FromText("short\nlines");
    TTextLines moved = std::move(lines);
    EXPECT_EQ(moved.Text(), "short\nlines");
    EXPECT_EQ(moved.Bytes(), 11u);
    EXPECT_EQ(moved.Count(), 2u);
}

TEST(TTextLines, FromLinesEndsEveryLineAsTheClientDoes) {
    TTextLines lines = TTextLines::FromLines({"x", "", "y"});
    EXPECT_EQ(lines.Text(), "x\r\n\r\ny\r\n");
    EXPECT_EQ(lines.Lines(), (std::vector<std::string_view> {"x", "", "y"}));
}

TEST(TTextLines, FirstLinesWalksOnlyAsFarAsAsked) {
    TTextLines lines = TTextLines::FromText("a\nb\nc\nd");
    EXPECT_EQ(lines.FirstLines(2), (std::vector<std::string_view> {"a", "b"}));
    EXPECT_EQ(lines.FirstLines(9).size(), 4u);
    EXPECT_TRUE(TTextLines().FirstLines(3).empty());
}

TEST(TTextLines, PaddingAfterTheTextIsZero) {
    TTextLines lines = TTextLines::FromText("abc");
    for (std::size_t i = 0; i < TTextLines::Padding; ++i)
        EXPECT_EQ(lines.Text().data()[3 + i], '\0');
}

}
}
