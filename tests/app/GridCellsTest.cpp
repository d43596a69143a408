// A readable text colour on a background.
#include "app/views/GridCells.h"

#include "platform/base/Utf8.h"

#include <gtest/gtest.h>

namespace korvex::app {
namespace {

TEST(ReadableTextColour, KeepsAReadableColourAndReplacesAnUnreadableOne) {
    struct Case {
        int Background;
        int Wanted;
        int Shown;
    };
    const Case cases[] = {
        {0x0000FF, 0x0000FF, 0x000000},   // the default warning colours: red on red gives black
        {0x0000FF, 0xFF0000, 0x000000},   // a seen unit's blue on red
        {0x00FFFF, 0xFF0000, 0xFF0000},   // blue on yellow reads
        {0x800000, 0x800000, 0xFFFFFF},   // navy on navy gives white
        {0x000000, 0x202020, 0xFFFFFF},
        {0xFFFFFF, 0x000000, 0x000000},
        {0x0000FF, 0xFFFFFF, 0xFFFFFF},   // white on red is the user's and reads well enough
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadableTextColour(c.Background, c.Wanted), c.Shown) << std::hex << c.Background << " " << c.Wanted;
}

}

}
