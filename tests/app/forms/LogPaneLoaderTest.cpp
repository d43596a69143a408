// Cutting a log into blocks of whole lines for the log pane.
#include "app/forms/LogPaneLoader.h"

#include <gtest/gtest.h>

namespace korvex::app {
namespace {

TEST(LogBlockEnd, EndsAfterWholeLinesAndKeepsALongLineWhole) {
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
        {"abcdefgh\r\nij", 0, 4, 10},   // a first line longer than the budget goes whole
        {"abcdefghij", 0, 4, 10},   // ... up to the text's end when it has no line end
        {"ab\nabcdefghij", 3, 4, 13},
        {"", 0, 4, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LogBlockEnd(c.Text, c.From, c.Bytes), c.End) << c.Text << " from " << c.From;
}

}
}
