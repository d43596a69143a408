// A sheet of LED bars (three sections, each style and direction) and round LEDs in both states on the
// headless display, written as leds_sheet.png beside the test program to look at.
#include "leds/iLedBar.h"
#include "leds/iLedRound.h"

#include "support/LedTestKit.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace korvex;
using namespace korvex::leds;
using namespace korvex::leds::test;

namespace {

inline constexpr classes::TColor Panel = 0x2E2A26;

class LedSheetTest : public LedTest {
protected:
    TiLedBar* Bar(int left, int top, TiDirection direction, TiLedBarSegmentStyle style, double position, int length,
        int thickness) {
        auto* bar = new TiLedBar(Form);
        bar->SetParent(Form);
        bar->SetSegmentDirection(direction);
        const bool vertical = direction == idUp || direction == idDown;
        bar->SetBounds(left, top, vertical ? thickness : length, vertical ? length : thickness);
        bar->SetSegmentStyle(style);
        if (style != ilbssRectangle) {
            bar->SetSegmentSize(thickness - 4);
            bar->SetSegmentSpacing(2);
        }
        bar->SetSectionCount(3);
        bar->SetSectionEnd1(60);
        bar->SetSectionEnd2(85);
        bar->SetBackGroundColor(0x101010);
        bar->SetBorderStyle(ibsLowered);
        bar->SetPosition(position);
        return bar;
    }
    TiLedRound* Lamp(int left, int top, int size, classes::TColor colour, bool active, TiBevelStyle bevel) {
        auto* lamp = new TiLedRound(Form);
        lamp->SetParent(Form);
        lamp->SetBounds(left, top, size, size);
        lamp->SetActiveColor(colour);
        lamp->SetActive(active);
        lamp->SetBevelStyle(bevel);
        lamp->SetBackGroundColor(Panel);
        return lamp;
    }
    classes::TForm* Form = nullptr;
};

TEST_F(LedSheetTest, BarsAndLampsLookRightOnTheHeadlessDisplay) {
    Form = NewForm(20, 20, 640, 360);
    Form->SetColor(Panel);

    // Vertical bars: up and down in each style, at 95, 70 and 40 percent.
    const TiLedBarSegmentStyle styles[] = {ilbssRectangle, ilbssCircle, ilbssTriangle};
    const double positions[] = {95, 70, 40};
    int x = 16;
    for (TiDirection direction : {idUp, idDown})
        for (int s = 0; s < 3; ++s) {
            Bar(x, 16, direction, styles[s], positions[s], 200, 20);
            x += 30;
        }
    // Horizontal bars: right and left in each style.
    int y = 16;
    for (TiDirection direction : {idRight, idLeft})
        for (int s = 0; s < 3; ++s) {
            Bar(200, y, direction, styles[s], positions[s], 260, 18);
            y += 26;
        }
    // Two bars as the cores diagram draws them: pale sections, and the running core's solid bright one.
    TiLedBar* pale = Bar(200, 180, idRight, ilbssRectangle, 1450, 150, 5);
    pale->SetBorderStyle(ibsNone);
    pale->SetSegmentMargin(0);
    pale->SetSegmentSize(1);
    pale->SetSegmentSpacing(1);
    pale->SetPositionMax(2000);
    pale->SetPosition(1450);
    pale->SetSectionEnd1(600);
    pale->SetSectionEnd2(1100);
    pale->SetSectionColor1(0xCBC0FF);
    pale->SetSectionColor2(0xE0FFFF);
    pale->SetSectionColor3(0x90EE90);
    TiLedBar* bright = Bar(200, 188, idRight, ilbssRectangle, 0, 150, 5);
    bright->SetBorderStyle(ibsNone);
    bright->SetSegmentMargin(0);
    bright->SetSegmentSize(1);
    bright->SetSegmentSpacing(0);
    bright->SetPositionMax(2000);
    bright->SetSectionEnd1(600);
    bright->SetSectionEnd2(1100);
    bright->SetSectionColor1(classes::clRed);
    bright->SetSectionColor2(classes::clYellow);
    bright->SetSectionColor3(classes::clLime);
    bright->SetPosition(1700);

    // Round lamps: four colours on and off, lowered, raised and flat, in three sizes.
    const classes::TColor colours[] = {classes::clLime, classes::clRed, classes::clYellow, 0xFF9020};
    const TiBevelStyle bevels[] = {ibsLowered, ibsRaised, ibsNone};
    const int sizes[] = {15, 20, 30};
    y = 216;
    for (int row = 0; row < 3; ++row) {
        x = 16;
        for (classes::TColor colour : colours)
            for (bool active : {true, false}) {
                Lamp(x, y + (30 - sizes[row]) / 2, sizes[row], colour, active, bevels[row]);
                x += 40;
            }
        y += 44;
    }
    // One transparent lamp over the panel.
    TiLedRound* clear = Lamp(360, 216, 30, classes::clLime, true, ibsLowered);
    clear->SetBackGroundColor(classes::clFuchsia);
    clear->SetTransparent(true);
    Pump();

    const classes::TRect area = Form->BoundsRect();
    const std::string path = (std::filesystem::current_path() / "leds_sheet.png").string();
    ASSERT_TRUE(Display->WriteScreenshotPng(path, &area));
    EXPECT_TRUE(std::filesystem::exists(path));

    // A few pixels that matter: the lowest segment of the first bar is lit lime; the transparent lamp's
    // corner shows the panel, not its own background.
    EXPECT_EQ(PixelAt(Form->Controls(0), 10, 193), 0x00FF00u);
    EXPECT_EQ(PixelAt(clear, 1, 1), static_cast<gdi::COLORREF>(Panel));
}

}
