// Monitors: the one that holds a window or a point, work areas, and maximizing on a window's own monitor.
#include "NonClientFixture.h"

#include "platform/user/Monitors.h"

namespace korvex::user::test {
namespace {

class Monitors : public NonClientFixture {
protected:
    void SetUp() override {
        NonClientFixture::SetUp();
        // One monitor left of the primary one (negative x), one below it with a panel on top.
        Screen->SetMonitors({MonitorArea {LeftBounds, LeftBounds},
            MonitorArea {BelowBounds, RECT {BelowBounds.left, BelowBounds.top + 40, BelowBounds.right, BelowBounds.bottom}}});
    }
    static MONITORINFO Info(HMONITOR m) {
        MONITORINFO info;
        EXPECT_TRUE(GetMonitorInfo(m, &info));
        return info;
    }
    const RECT LeftBounds {-1280, 0, 0, 1024};
    const RECT BelowBounds {0, 768, 800, 1368};
};

TEST_F(Monitors, APointOrRectangleFindsTheMonitorItLiesMostlyOn) {
    EXPECT_EQ(Info(MonitorFromPoint(POINT {-5, 10}, MONITOR_DEFAULTTONULL)).rcMonitor, LeftBounds);
    EXPECT_EQ(Info(MonitorFromPoint(POINT {5, 10}, MONITOR_DEFAULTTONULL)).dwFlags, MONITORINFOF_PRIMARY);
    const RECT mostlyLeft {-300, 100, 100, 200};
    EXPECT_EQ(Info(MonitorFromRect(&mostlyLeft, MONITOR_DEFAULTTONULL)).rcMonitor, LeftBounds);
    // Nowhere: nothing, the primary monitor or the nearest one as asked.
    const POINT far {900, 1300};   // right of the lower monitor
    EXPECT_EQ(MonitorFromPoint(far, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(Info(MonitorFromPoint(far, MONITOR_DEFAULTTOPRIMARY)).dwFlags, MONITORINFOF_PRIMARY);
    EXPECT_EQ(Info(MonitorFromPoint(far, MONITOR_DEFAULTTONEAREST)).rcMonitor, BelowBounds);
    MONITORINFO info;
    EXPECT_FALSE(GetMonitorInfo(nullptr, &info));
    EXPECT_FALSE(GetMonitorInfo(reinterpret_cast<HMONITOR>(std::uintptr_t(9)), &info));
}

TEST_F(Monitors, AWindowMaximizesOverTheWorkAreaOfItsOwnMonitor) {
    HWND left = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(-900, 100, 300, 200));
    HWND below = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(100, 900, 300, 200));
    EXPECT_EQ(GetWindowWorkArea(left), LeftBounds);
    EXPECT_EQ(GetWindowWorkArea(below).top, BelowBounds.top + 40);
    const int f = GetSystemMetrics(SM_CXSIZEFRAME);
    EXPECT_EQ(GetMaximizedBounds(left),
        (RECT {LeftBounds.left - f, LeftBounds.top - f, LeftBounds.right + f, LeftBounds.bottom + f}));
    ShowWindow(below, SW_MAXIMIZE);
    EXPECT_EQ(WindowRect(below).top, BelowBounds.top + 40 - f);
}

}
}
