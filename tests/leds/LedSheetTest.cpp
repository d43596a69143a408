// The LED sheet on the headless display, written as leds_sheet.png beside the test program to look at.
#include "support/LedSheet.h"
#include "support/LedTestKit.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace korvex;
using namespace korvex::leds;
using namespace korvex::leds::test;

namespace {

class LedSheetTest : public LedTest { };

TEST_F(LedSheetTest, BarsAndLampsLookRightOnTheHeadlessDisplay) {
    classes::TForm* form = NewForm(20, 20, SheetWidth, SheetHeight);
    const TLedSheet sheet = BuildLedSheet(form);
    Pump();

    const classes::TRect area = form->BoundsRect();
    const std::string path = (std::filesystem::current_path() / "leds_sheet.png").string();
    ASSERT_TRUE(Display->WriteScreenshotPng(path, &area));
    EXPECT_TRUE(std::filesystem::exists(path));

    // A few pixels that matter: the lowest segment of the first bar is lit lime; the transparent lamp's
    // corner shows the panel, not its own background.
    EXPECT_EQ(PixelAt(sheet.FirstBar, 10, 193), 0x00FF00u);
    EXPECT_EQ(PixelAt(sheet.ClearLamp, 1, 1), static_cast<gdi::COLORREF>(SheetPanel));
}

}
