// The client log viewer's keyword colours and the ranges they cover.
#include "app/views/ClientLogColours.h"

#include <gtest/gtest.h>

namespace korvex::app {
namespace {

TEST(ClientLogColours, KeywordsMatchAsWrittenAndRedWins) {
    struct Case {
        const char* Line;
        std::optional<int> Colour;
    };
    const Case cases[] = {
        {"[20:10:15] Completed 50000 out of 250000 steps  (20%)", LogColourBlue},
        {"[20:10:15] Finished a frame (3)", LogColourBlue},
        {"[20:10:15] + Working ...", LogColourBlue},
        {"[20:10:15] Working on queue slot 01", std::nullopt},
        {"[20:10:15] Project: 2669 (Run 3, Clone 37, Gen 148)", LogColourBlue},
        {"[20:10:15] Protein: p2669", LogColourBlue},
        {"[20:10:15] Run: 3", LogColourBlue},
        {"[20:10:15] Could not open work file", LogColourRed},
        {"[20:10:15] Core not found.", LogColourRed},
        {"[20:10:15] Client Shutdown.", LogColourRed},
        {"[20:10:15] Error: Attempt #2 to get work failed", std::nullopt},
        {"[20:10:15] an error occurred", LogColourRed},
        {"[20:10:15] Port conflict", LogColourRed},
        {"[20:10:15] Couldn't send HTTP request", LogColourRed},
        {"[20:10:15] Completed, then an error", LogColourRed},
        {"", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LogLineColour(c.Line), c.Colour) << c.Line;
}

// Dark panes (0x00BBGGRR, our dark skins' among them): the colours read on each and keep their hue. Light
// panes keep the colours as they are.
TEST(ClientLogColours, KeywordColoursAreMadeReadableOnADarkPaneKeepingTheirHue) {
    for (int background : {0xFFFFFF, 0xF5F5F5, 0xC0C0C0}) {
        EXPECT_EQ(ReadableLogColour(LogColourBlue, background), LogColourBlue) << std::hex << background;
        EXPECT_EQ(ReadableLogColour(LogColourRed, background), LogColourRed) << std::hex << background;
    }
    for (int background : {0x000000, 0x18120E, 0x303030, 0x800000}) {
        for (int colour : {LogColourBlue, LogColourRed}) {
            const int shown = ReadableLogColour(colour, background);
            EXPECT_GE(ColourContrast(shown, background), 4.5) << std::hex << colour << " on " << background;
            const int own = colour == LogColourBlue ? 16 : 0;   // the colour's own channel stays the strongest
            for (int shift : {0, 8, 16})
                if (shift != own) EXPECT_GT((shown >> own) & 0xFF, (shown >> shift) & 0xFF) << std::hex << shown;
            if (ColourContrast(colour, background) >= 4.5) EXPECT_EQ(shown, colour);
        }
    }
    EXPECT_NE(ReadableLogColour(LogColourBlue, 0x000000), LogColourBlue);
}

TEST(ClientLogColours, RangesCountLineEndsAsTwoAndCharactersNotBytes) {
    const std::string block = "plain\r\nCompleted\r\nnothing\r\nerror \xD0\xBE\xD1\x88\r\nRun: 1\r\n";
    const std::vector<TColourRange> expected = {
        {7, 11, LogColourBlue},   // after "plain" + line end
        {27, 10, LogColourRed},   // "error" + blank + two Cyrillic letters + line end
        {37, 8, LogColourBlue},
    };
    int next = 0;
    EXPECT_EQ(LogColourRanges(block, 0, &next), expected);
    EXPECT_EQ(next, 45);
    EXPECT_TRUE(LogColourRanges("").empty());
}

// As the text control counts: "\n" and a lone "\r" end a line as "\r\n" does, every byte that is no UTF-8
// sequence is a character, and the ranges start where the block does.
TEST(ClientLogColours, RangesFollowEveryLineEndAndInvalidBytes) {
    const std::string block = "a\xFF\x80\xC0\xAF\rShutdown\n\nRun: 1\rProject: 2\r\nerror\rCould not open";
    const std::vector<TColourRange> expected = {
        {105, 10, LogColourRed},   // after "a" and four invalid bytes, line end
        {117, 20, LogColourBlue},   // the empty line between; two blue lines next to each other, one range
        {137, 23, LogColourRed},   // two red lines, the last one without a line end
    };
    int next = 0;
    EXPECT_EQ(LogColourRanges(block, 98, &next), expected);
    EXPECT_EQ(next, 160);
}

TEST(ClientLogColours, ContrastRunsFromOneToTwentyOne) {
    EXPECT_NEAR(ColourContrast(0, 0xFFFFFF), 21.0, 1e-9);
    EXPECT_NEAR(ColourContrast(0x123456, 0x123456), 1.0, 1e-9);
}

}
}
