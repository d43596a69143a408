// Farm message texts: a request's fields, a reply's fields and state, and a reply put together from pieces.
#include "app/farm/FarmReply.h"

#include <gtest/gtest.h>

namespace korvex::app {
namespace {

TEST(FarmMessage, JoinsTheFieldsWithTheirMarksUnchanged) {
    EXPECT_EQ(FarmMessage("10.0.0.5", FarmStart, "C:\\FAH", "box"), "10.0.0.5#1*C:\\FAH^box");
    EXPECT_EQ(FarmMessage("10.0.0.5", FarmStatus, "a#b", "n^*"), "10.0.0.5#3*a#b^n^*");
}

TEST(FarmReply, FieldsAreCutAtTheFirstMarksAndTheStateDefaultsToStopped) {
    struct Case {
        const char* Text;
        const char* A;
        const char* B;
        const char* D;
        int State;
    } cases[] = {
        {"10.0.0.9#4*C:\\FAH^box", "10.0.0.9", "4", "box", 4},
        {"h#1*p^n", "h", "1", "n", 1},
        {"h#x*p^n", "h", "x", "n", 1},
        {"h#4", "h", "", "h#4", 1},
        {"no marks at all", "", "", "no marks at all", 1},
        {"4*p^n", "", "4", "n", 4},   // no "#": the second field starts at the text's start
        {"x*4#y^n", "x*4", "", "n", 1},   // the "*" before the "#": nothing between them
        {"*^", "", "", "", 1},
        {"h#4*p^n^m", "h", "4", "n^m", 4},
        {"", "", "", "", 1},
        {"h#-3*p^n", "h", "-3", "n", -3},
        {"h#+4*p^n", "h", "+4", "n", 4},
        {"h#$10*p^n", "h", "$10", "n", 1},   // decimal only
        {"h#0x10*p^n", "h", "0x10", "n", 1},
        {"h# 4*p^n", "h", " 4", "n", 1},
        {"h#+*p^n", "h", "+", "n", 1},
        {"h#99999999999*p^n", "h", "99999999999", "n", 1},
    };
    for (const Case& c : cases) {
        TFarmReplyFields f = SplitFarmReply(c.Text);
        EXPECT_EQ(f.A, c.A) << c.Text;
        EXPECT_EQ(f.B, c.B) << c.Text;
        EXPECT_EQ(f.D, c.D) << c.Text;
        EXPECT_EQ(FarmReplyState(c.Text), c.State) << c.Text;
    }
    EXPECT_TRUE(FarmReplyComplete("a#4*b^"));
    EXPECT_FALSE(FarmReplyComplete("a#4*b"));
}

TEST(TFarmReplyText, PiecesMakeTheSameReplyHoweverTheWritesWereCutOrJoined) {
    struct Case {
        std::vector<std::string> Pieces;
        std::string Text;   // what is kept
        bool Whole;
    } cases[] = {
        {{"10.0.0.9#4*C:\\FAH^box"}, "10.0.0.9#4*C:\\FAH^box", true},
        {{"10.0.0.9", "#4", "*C:\\FAH", "^box"}, "10.0.0.9#4*C:\\FAH^box", true},
        {{"a#4*b^", "c"}, "a#4*b^", true},   // whole with the piece that brings the last mark
        {{"a#4*b^c", "a#1*b^c"}, "a#4*b^c", true},   // a second reply on the same connection is not read
        {{"a#4*b^ca#1*b^c"}, "a#4*b^ca#1*b^c", true},   // nor is one joined to it, which stays its last field
        {{"a#4", "*b"}, "a#4*b", false},
        {{std::string(FarmReplyLimit - 1, 'x'), "yz"}, std::string(FarmReplyLimit - 1, 'x') + "y", true},
        {{std::string(3 * FarmReplyLimit, 'x')}, std::string(FarmReplyLimit, 'x'), true},
        {{"", ""}, "", false},
    };
    for (const Case& c : cases) {
        TFarmReplyText reply;
        for (const std::string& piece : c.Pieces)
            reply.Add(piece);
        EXPECT_EQ(reply.Text(), c.Text) << c.Pieces[0];
        EXPECT_EQ(reply.Whole(), c.Whole) << c.Pieces[0];
        EXPECT_EQ(FarmReplyState(reply.Text()), FarmReplyState(c.Text));
    }
}

}
}
