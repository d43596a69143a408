// Tests of the text routines: positions, clamping, trimming, case and words.
#include "platform/base/Strings.h"

#include <gtest/gtest.h>

using namespace korvex::base;

TEST(Pos, FindsTheFirstOccurrenceOneBased) {
    EXPECT_EQ(Pos("lo", "hello world, lo"), 4);
    EXPECT_EQ(Pos("h", "hello"), 1);
    EXPECT_EQ(Pos("x", "hello"), 0);
}

TEST(Pos, NeverFindsAnEmptyNeedle) {
    EXPECT_EQ(Pos("", "hello"), 0);
    EXPECT_EQ(Pos("", ""), 0);
    EXPECT_EQ(Pos("a", ""), 0);
}

TEST(PosEx, SearchesFromTheOffsetAndRejectsOffsetsOutsideTheText) {
    EXPECT_EQ(PosEx("l", "hello", 4), 4);
    EXPECT_EQ(PosEx("l", "hello", 5), 0);
    EXPECT_EQ(PosEx("o", "hello", 5), 5);
    EXPECT_EQ(PosEx("h", "hello", 0), 0);
    EXPECT_EQ(PosEx("h", "hello", 6), 0);
}

struct CopyCase {
    int Index;
    int Count;
    const char* Expected;
};

class CopyClamping : public testing::TestWithParam<CopyCase> { };

TEST_P(CopyClamping, ClampsIndexAndCountLikeTheRunTime) {
    EXPECT_EQ(Copy("abcdef", GetParam().Index, GetParam().Count), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Copy, CopyClamping,
    testing::Values(CopyCase {2, 3, "bcd"}, CopyCase {1, 100, "abcdef"}, CopyCase {0, 2, "ab"}, CopyCase {-5, 2, "ab"},
        CopyCase {3, 0, ""}, CopyCase {3, -1, ""}, CopyCase {6, 5, "f"}, CopyCase {7, 1, ""}, CopyCase {1000, 1, ""},
        CopyCase {2, 2147483647, "bcdef"}));

TEST(Copy, CutsTheLogStampTime) {
    EXPECT_EQ(Copy("[20:10:15] Completed 5%", 2, 8), "20:10:15");
}

TEST(Delete, RemovesWithinTheTextAndClampsTheCount) {
    std::string s = "abcdef";
    Delete(s, 2, 2);
    EXPECT_EQ(s, "adef");
    Delete(s, 3, 100);
    EXPECT_EQ(s, "ad");
}

TEST(Delete, DoesNothingForAnIndexOutsideTheTextOrANonPositiveCount) {
    for (auto [index, count] : {std::pair {0, 2}, {-1, 3}, {7, 1}, {2, 0}, {2, -4}}) {
        std::string s = "abcdef";
        Delete(s, index, count);
        EXPECT_EQ(s, "abcdef") << index << "," << count;
    }
}

TEST(Insert, ClampsTheIndexIntoTheText) {
    auto inserted = [](int index) {
        std::string s = "abc";
        Insert("-", s, index);
        return s;
    };
    EXPECT_EQ(inserted(1), "-abc");
    EXPECT_EQ(inserted(2), "a-bc");
    EXPECT_EQ(inserted(4), "abc-");
    EXPECT_EQ(inserted(0), "-abc");
    EXPECT_EQ(inserted(-7), "-abc");
    EXPECT_EQ(inserted(99), "abc-");
}

TEST(StringReplace, ReplacesEveryOccurrenceLeftToRightByDefault) {
    EXPECT_EQ(StringReplace("5, 33, 12", ", ", "-"), "5-33-12");
    EXPECT_EQ(StringReplace("aaa", "aa", "b"), "ba");
    EXPECT_EQ(StringReplace("abc", "", "x"), "abc");
    EXPECT_EQ(StringReplace("abc", "B", "x"), "abc");
}

TEST(StringReplace, ReplacesOnlyTheFirstWhenAsked) {
    EXPECT_EQ(StringReplace("p2605_x_y", "_", "", TReplaceMode::FirstOnly), "p2605x_y");
}

TEST(Trim, RemovesBlanksAndControlCharactersAtTheEndsOnly) {
    EXPECT_EQ(Trim(" \t\r\n a b \r\n"), "a b");
    EXPECT_EQ(TrimLeft("  a  "), "a  ");
    EXPECT_EQ(TrimRight("  a  "), "  a");
    EXPECT_EQ(Trim(" \x01 "), "");
    EXPECT_EQ(Trim("Привет "), "Привет");
}

TEST(UpperCase, MapsAsciiOnlyAndLeavesUtf8Alone) {
    EXPECT_EQ(UpperCase("amber Qmd"), "AMBER QMD");
    EXPECT_EQ(UpperCase("ядро"), "ядро");
    EXPECT_EQ(LowerCase("GROMACS Ядро"), "gromacs Ядро");
}

TEST(AnsiUpperCase, MapsCyrillicAndLatinLetters) {
    EXPECT_EQ(AnsiUpperCase("привет, ёлка! straße"), "ПРИВЕТ, ЁЛКА! STRAßE");
    EXPECT_EQ(AnsiLowerCase("ПРИВЕТ ЁЖ ÀÉ"), "привет ёж àé");
    EXPECT_EQ(AnsiUpperCase("ÿ"), "Ÿ");
}

TEST(AnsiUpperCase, CopiesInvalidBytesUnchanged) {
    EXPECT_EQ(AnsiUpperCase("a\xFF"
                            "b\xD0"),
        "A\xFF"
        "B\xD0");
    EXPECT_EQ(AnsiUpperCase("\xEF\xBF\xBD"
                            "x"),
        "\xEF\xBF\xBD"
        "X");
}

TEST(CompareText, IgnoresAsciiCaseAndOrdersBytes) {
    EXPECT_TRUE(SameText("Options", "OPTIONS"));
    EXPECT_FALSE(SameText("Option", "Options"));
    EXPECT_EQ(CompareText("abc", "ABD"), -1);
    EXPECT_EQ(CompareText("b", "A"), 1);
    EXPECT_FALSE(SameText("ядро", "ЯДРО"));
    EXPECT_TRUE(AnsiSameText("ядро", "ЯДРО"));
    EXPECT_EQ(AnsiCompareText("ядро", "ЯДРА"), 1);
}

TEST(StartsText, MatchesPrefixesAndSuffixesWithAndWithoutCase) {
    EXPECT_TRUE(StartsText("due", "Due time: x"));
    EXPECT_FALSE(StartsStr("due", "Due time: x"));
    EXPECT_TRUE(EndsText(".TXT", "fahlog.txt"));
    EXPECT_FALSE(EndsStr(".TXT", "fahlog.txt"));
    EXPECT_TRUE(StartsText("", "x"));
    EXPECT_FALSE(EndsText("long text", "text"));
}

TEST(WordCount, CountsRunsBetweenDelimiters) {
    EXPECT_EQ(WordCount("  a b,,c ", " ,"), 3);
    EXPECT_EQ(WordCount("", " "), 0);
    EXPECT_EQ(WordCount(",,,", ","), 0);
    EXPECT_EQ(WordCount("one", ""), 1);
}

TEST(ExtractWord, ReturnsTheNthWordOrEmpty) {
    EXPECT_EQ(ExtractWord(1, "*.bmp;*.jpg", ";"), "*.bmp");
    EXPECT_EQ(ExtractWord(2, ";;*.bmp;;*.jpg;", ";"), "*.jpg");
    EXPECT_EQ(ExtractWord(3, "a;b", ";"), "");
    EXPECT_EQ(ExtractWord(0, "a;b", ";"), "");
    EXPECT_EQ(ExtractWord(-1, "a;b", ";"), "");
}

TEST(IntToHex, PadsToTheWidthAndShowsNegativesAsTwosComplement) {
    EXPECT_EQ(IntToHex(0xFF00FF, 6), "FF00FF");
    EXPECT_EQ(IntToHex(0x1F, 6), "00001F");
    EXPECT_EQ(IntToHex(0x12345, 2), "12345");
    EXPECT_EQ(IntToHex(0, 0), "0");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFFFFFFFFFF");
}

TEST(QuotedStr, DoublesInnerQuotes) {
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(QuotedStr(""), "''");
}

TEST(StringOfChar, GivesEmptyForNonPositiveCounts) {
    EXPECT_EQ(StringOfChar('=', 3), "===");
    EXPECT_EQ(StringOfChar('=', 0), "");
    EXPECT_EQ(StringOfChar('=', -2), "");
}

TEST(FindLineBreak, FindsTheFirstAndTheLastCrOrLfWhereverTheyLie) {
    const std::string far = std::string(70000, 'x') + "\r" + std::string(70000, 'y') + "\n" + std::string(300, 'z');
    struct Case {
        std::string Text;
        std::size_t From;
        std::size_t First;
        std::size_t Last;
    };
    const Case cases[] = {
        {"", 0, std::string::npos, std::string::npos},
        {"abc", 0, std::string::npos, std::string::npos},
        {"ab\ncd\re", 0, 2, 5},
        {"ab\ncd\re", 3, 5, 5},
        {"ab\r\n", 0, 2, 3},
        {"ab\n", 3, std::string::npos, 2},
        {std::string(1000, '\r') + "a", 0, 0, 999},   // breaks of one kind only
        {far, 0, 70000, 140001},
        {far, 70001, 140001, 140001},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindLineBreak(c.Text, c.From), c.First) << c.Text.size() << " from " << c.From;
        EXPECT_EQ(FindLastLineBreak(c.Text), c.Last) << c.Text.size();
    }
}
