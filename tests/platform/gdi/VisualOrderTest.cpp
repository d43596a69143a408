// Visual order of drawn lines: Hebrew among Latin in left-to-right and right-to-left lines, digits,
// mirrored brackets, the code point map, and Latin and Cyrillic left alone.
#include "platform/gdi/VisualOrder.h"

#include <gtest/gtest.h>

using namespace korvex::gdi;

namespace {

struct VisualOrderCase {
    const char* Name;
    const char* Logical;
    bool RtlBase;
    const char* Visual;
};

// Hebrew: alef U+05D0, bet U+05D1, gimel U+05D2.
const VisualOrderCase VisualOrderCases[] = {
    {"hebrew word in a left-to-right line", "abc \u05D0\u05D1\u05D2 def", false, "abc \u05D2\u05D1\u05D0 def"},
    {"hebrew first in a left-to-right line", "\u05D0\u05D1\u05D2 abc", false, "\u05D2\u05D1\u05D0 abc"},
    {"hebrew first in a right-to-left line", "\u05D0\u05D1\u05D2 abc", true, "abc \u05D2\u05D1\u05D0"},
    {"latin first in a right-to-left line", "abc \u05D0\u05D1\u05D2", true, "\u05D2\u05D1\u05D0 abc"},
    {"digits keep their order after hebrew", "\u05D0\u05D1 12", false, "12 \u05D1\u05D0"},
    {"brackets mirror in a right-to-left line", "(\u05D0\u05D1)", true, "(\u05D1\u05D0)"},
    {"trailing mark moves left in a right-to-left line", "Hello!", true, "!Hello"},
    {"latin unchanged in a left-to-right line", "Hello, world! (1.5)", false, "Hello, world! (1.5)"},
    {"cyrillic unchanged in a left-to-right line", "Привет, мир!", false, "Привет, мир!"},
    {"plain latin word unchanged in a right-to-left line", "Hello", true, "Hello"},
    {"empty line", "", true, ""},
};

}

TEST(VisualOrder, PutsEachCaseInVisualOrder) {
    for (const VisualOrderCase& c : VisualOrderCases)
        EXPECT_EQ(VisualOrder(c.Logical, c.RtlBase), c.Visual) << c.Name;
}

TEST(VisualOrder, LatinAndCyrillicInALeftToRightLineTakeTheFastPath) {
    EXPECT_FALSE(NeedsVisualOrder("Hello, world! (1.5)", false));
    EXPECT_FALSE(NeedsVisualOrder("Привет, мир! \u00E9\u00DF", false));
    EXPECT_TRUE(NeedsVisualOrder("ab \u05D0", false));
    EXPECT_TRUE(NeedsVisualOrder("ab \u0627", false));   // Arabic alef
    EXPECT_TRUE(NeedsVisualOrder("ab \u202E cd", false));   // right-to-left override
    EXPECT_FALSE(NeedsVisualOrder("Hello", true));
    EXPECT_TRUE(NeedsVisualOrder("Hello!", true));
}

TEST(VisualOrder, MapGivesTheLogicalIndexOfEachVisualCodePoint) {
    std::vector<int> map;
    EXPECT_EQ(VisualOrder("ab \u05D0\u05D1", false, &map), "ab \u05D1\u05D0");
    EXPECT_EQ(map, (std::vector<int> {0, 1, 2, 4, 3}));
    EXPECT_EQ(VisualOrder("x\u05D0y", false, &map), "x\u05D0y");
    EXPECT_EQ(map, (std::vector<int> {0, 1, 2}));
    EXPECT_EQ(VisualOrder("abc", false, &map), "abc");
    EXPECT_EQ(map, (std::vector<int> {0, 1, 2}));
}
