// System metrics and parameters: the classic table, values that follow the display, the non-client fonts.
#include "support/UserTestSupport.h"

#include "platform/user/SystemMetrics.h"

#include <gtest/gtest.h>

namespace korvex::user::test {

namespace {

struct Metric {
    int Index;
    int Value;
};

class ClassicMetrics : public UserTest, public ::testing::WithParamInterface<Metric> { };

TEST_P(ClassicMetrics, HaveTheClassicValueAt96Dpi) {
    EXPECT_EQ(GetSystemMetrics(GetParam().Index), GetParam().Value);
}

INSTANTIATE_TEST_SUITE_P(Table, ClassicMetrics,
    ::testing::Values(Metric {SM_CXVSCROLL, 16}, Metric {SM_CYHSCROLL, 16}, Metric {SM_CYCAPTION, 19},
        Metric {SM_CXBORDER, 1}, Metric {SM_CXDLGFRAME, 3}, Metric {SM_CXFRAME, 4}, Metric {SM_CYSMCAPTION, 16},
        Metric {SM_CYMENU, 19}, Metric {SM_CXEDGE, 2}, Metric {SM_CXDOUBLECLK, 4}, Metric {SM_CXDRAG, 4},
        Metric {SM_CXICON, 32}, Metric {SM_CXSMICON, 16}, Metric {SM_CXCURSOR, 32}, Metric {SM_CXMINTRACK, 112},
        Metric {SM_XVIRTUALSCREEN, 0}, Metric {9999, 0}));

using Metrics = UserTest;

TEST_F(Metrics, ScreenSizesAndTheWorkAreaFollowTheDisplay) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), 768);
    RECT work {};
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work));
    EXPECT_EQ(work, (RECT {0, 0, 1024, 738}));
    SetDisplay(std::make_unique<HeadlessDisplay>(800, 600, 0));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    EXPECT_EQ(GetWorkArea(), (RECT {0, 0, 800, 600}));
    EXPECT_EQ(GetSystemMetrics(SM_CXMAXIMIZED), 808);
}

TEST_F(Metrics, NonClientMetricsCarryTheUiFonts) {
    NONCLIENTMETRICS m;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof m, &m));
    EXPECT_EQ(m.lfStatusFont.lfHeight, -11);
    EXPECT_EQ(m.lfCaptionFont.lfWeight, gdi::FW_BOLD);
    EXPECT_EQ(m.lfMessageFont.lfFaceName, "Tahoma");
    EXPECT_EQ(m.iScrollWidth, GetSystemMetrics(SM_CXVSCROLL));
}

TEST_F(Metrics, UnknownActionsAndMissingOutputsFail) {
    EXPECT_FALSE(SystemParametersInfo(0xFFFF, 0, &Screen));
    EXPECT_FALSE(SystemParametersInfo(SPI_GETWORKAREA, 0, nullptr));
    bool full = false;
    EXPECT_TRUE(SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &full));
    EXPECT_TRUE(full);
}

TEST_F(Metrics, TheDoubleClickTimeCanBeChangedAndRestored) {
    EXPECT_EQ(GetDoubleClickTime(), 500u);
    SetDoubleClickTime(200);
    EXPECT_EQ(GetDoubleClickTime(), 200u);
    SetDoubleClickTime(0);
    EXPECT_EQ(GetDoubleClickTime(), 500u);
}

TEST_F(Metrics, SystemColoursComeFromTheGdiTable) {
    EXPECT_EQ(GetSysColor(gdi::COLOR_BTNFACE), gdi::GetSysColor(gdi::COLOR_BTNFACE));
    EXPECT_NE(GetSysColorBrush(gdi::COLOR_WINDOW), nullptr);
}

}   // namespace

}
