// The main window's cells: a readable text colour on a warning background, and texts cut to their column.
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

TEST(FitCellText, KeepsWhatFitsRoundsWideNumbersAndCutsTheRestBeforeAnEllipsis) {
    // Every code point 6 pixels wide.
    auto width = [](const std::string& s) { return int(base::Utf8Length(s)) * 6; };
    struct Case {
        const char* Text;
        int Room;
        const char* Shown;
    };
    const Case cases[] = {
        {"1520.00", 42, "1520.00"},
        {"12345.67", 41, "12346"},   // five digits of points per day in the default 41-pixel column
        {"12345.67", 30, "12346"},
        {"12345.67", 29, "123\xE2\x80\xA6"},
        {"99999.50", 36, "100000"},
        {"-0.4", 12, "0"},   // rounds without a sign of zero
        {"P6001 * R1-C2-G1", 36, "P6001\xE2\x80\xA6"},
        {"Ядро_a4", 24, "Ядр\xE2\x80\xA6"},   // whole characters, never half of one
        {"05 Dec 10:20:30", 90, "05 Dec 10:20:30"},
        {"05 Dec 10:20:30", 84, "05 Dec 10:20"},   // the seconds go first
        {"05 Dec 10:20:30", 70, "05 Dec 10:\xE2\x80\xA6"},
        {"1.5", 5, ""},
        {"", 0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitCellText(c.Text, c.Room, width), c.Shown) << c.Text << " in " << c.Room;
}

}
}
