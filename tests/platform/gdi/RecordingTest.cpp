// Recording DC tests: primitives logged with their rectangles, points and colours; skip mode draws nothing.
#include "platform/gdi/Recording.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/SysColors.h"

#include "support/TestCanvas.h"

#include <gtest/gtest.h>

using namespace korvex::gdi;
using namespace korvex::gdi::test;

TEST(RecordingDC, LogsALampWithItsColours) {
    RecordingDC dc(20, 20);
    HBRUSH face = CreateSolidBrush(RGB(0, 255, 0));
    HPEN rim = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
    HPEN white = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    SelectObject(dc, face);
    HPEN oldPen = SelectObject(dc, rim);
    Ellipse(dc, 2, 2, 13, 13);
    SelectObject(dc, white);
    Arc(dc, 5, 5, 10, 10, 7, 2, 2, 7);
    SelectObject(dc, oldPen);
    SelectObject(dc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    ASSERT_EQ(dc.Calls().size(), 2u);
    const DrawCall& lamp = dc.Calls()[0];
    EXPECT_EQ(lamp.Kind, DrawKind::Ellipse);
    EXPECT_EQ(lamp.Rect, (RECT {2, 2, 13, 13}));
    EXPECT_EQ(lamp.BrushColor, RGB(0, 255, 0));
    EXPECT_EQ(lamp.PenColor, RGB(0, 255, 0));
    const DrawCall& shine = dc.Calls()[1];
    EXPECT_EQ(shine.Kind, DrawKind::Arc);
    EXPECT_EQ(shine.PenColor, RGB(255, 255, 255));
    ASSERT_EQ(shine.Points.size(), 2u);
    EXPECT_EQ(shine.Points[0], (POINT {7, 2}));
    EXPECT_EQ(shine.Points[1], (POINT {2, 7}));
    EXPECT_STREQ(DrawKindName(shine.Kind), "Arc");
    // Keep mode draws the pixels as well.
    EXPECT_EQ(dc.Target()->PixelAt(7, 7), RGB(0, 255, 0));
    DeleteObject(face);
    DeleteObject(rim);
    DeleteObject(white);
}

TEST(RecordingDC, LogsFillsWithTheBrushGivenAndBlitsWithTheirRop) {
    RecordingDC dc(10, 10, PixelFormat::pf32bit);
    RECT r {1, 1, 4, 4};
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    TestCanvas src(4, 4);
    BitBlt(dc, 0, 0, 4, 4, src, 0, 0, SRCINVERT);
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
    ASSERT_EQ(dc.Calls().size(), 3u);
    EXPECT_EQ(dc.Calls()[0].BrushColor, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(dc.Calls()[1].Kind, DrawKind::BitBlt);
    EXPECT_EQ(dc.Calls()[1].Flags, SRCINVERT);
    EXPECT_EQ(dc.Calls()[2].Flags, EDGE_SUNKEN | (BF_RECT << 16));
    EXPECT_EQ(dc.Recorder().CallsOf(DrawKind::FillRect).size(), 1u);
}

TEST(RecordingDC, SkipModeDrawsNothing) {
    RecordingDC dc(10, 10, PixelFormat::pf24bit, DrawCalls::Skip);
    dc.Target()->Fill(RGB(255, 255, 255));
    Rectangle(dc, 0, 0, 10, 10);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 9, 9);
    ASSERT_EQ(dc.Calls().size(), 2u);
    EXPECT_EQ(dc.Calls()[1].Kind, DrawKind::LineTo);
    EXPECT_EQ(dc.Calls()[1].Points[1], (POINT {9, 9}));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(dc.Target()->PixelAt(x, y), RGB(255, 255, 255));
}

TEST(RecordingDC, LogsInLogicalCoordinatesAndStopsWhenDetached) {
    TestCanvas canvas(10, 10);
    DrawRecorder recorder;
    EXPECT_TRUE(StartRecording(canvas, &recorder));
    SetWindowOrgEx(canvas, 5, 5, nullptr);
    Rectangle(canvas, 5, 5, 8, 8);
    EXPECT_TRUE(StopRecording(canvas));
    Rectangle(canvas, 5, 5, 8, 8);
    ASSERT_EQ(recorder.Calls().size(), 1u);
    EXPECT_EQ(recorder.Calls()[0].Rect, (RECT {5, 5, 8, 8}));
    EXPECT_FALSE(StartRecording(nullptr, &recorder));
    EXPECT_FALSE(StartRecording(canvas, nullptr));
    recorder.Clear();
    EXPECT_TRUE(recorder.Calls().empty());
}
