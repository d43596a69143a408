// Cutting a log into blocks of whole lines for the log pane.
#include "app/forms/LogPaneLoader.h"

#include <gtest/gtest.h>

namespace korvex::app {
namespace {

TEST(LogBlockEnd, EndsAfterWholeLinesAndCutsALongLineBetweenCharacters) {
    struct Case {
        std::string_view Text;
        std::size_t From;
        std::size_t Bytes;
        std::size_t End;
    };
    const Case cases[] = {
        {"ab\r\ncd\r\n", 0, 100, 8},   // the rest fits
        {"ab\r\ncd\r\nef", 0, 9, 8},   // the last line end within the budget
        {"ab\r\ncd\r\nef", 4, 5, 8},   // from a block's start
        {"ab\ncd\nef", 0, 5, 3},
        {"ab\rcd\ref", 0, 7, 6},   // lone CRs end lines
        {"ab\r\ncd", 0, 3, 4},   // a CR at the budget's end takes its LF
        {"ab\r\r\ncd", 0, 3, 3},   // ... but only its own
        {"abcdefgh\r\nij", 0, 4, 4},   // a line longer than the budget is cut at the budget
        {"abcdefghij", 0, 4, 4},   // ... a text without line ends too
        {"abcdefghij", 8, 4, 10},
        {"ab\nabcdefghij", 3, 4, 7},
        {"a\xC3\xA9\xE2\x82\xAC" "b", 0, 2, 1},   // not inside a character: before it
        {"a\xC3\xA9\xE2\x82\xAC" "b", 0, 5, 3},
        {"a\xC3\xA9\xE2\x82\xAC" "b", 0, 6, 6},
        {"a\xC3\xA9\xE2\x82\xAC" "b", 3, 1, 6},   // a character longer than the budget goes whole
        {"", 0, 4, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LogBlockEnd(c.Text, c.From, c.Bytes), c.End) << c.Text << " from " << c.From;
}

}
}
