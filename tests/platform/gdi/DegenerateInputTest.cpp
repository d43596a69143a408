// Extreme and degenerate input: every primitive with huge, inverted or overflowing coordinates finishes at
// once, draws only what can be seen and never crashes.
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Text.h"

#include "support/TestCanvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

using namespace korvex::gdi;
using namespace korvex::gdi::test;

namespace {

struct Case {
    const char* Name;
    std::function<void(HDC)> Draw;
};

constexpr int Big = INT_MAX;
constexpr int Smallest = INT_MIN;

const Case Cases[] = {
    {"huge ellipse", [](HDC dc) { Ellipse(dc, Smallest, Smallest, Big, Big); }},
    {"huge rectangle", [](HDC dc) { Rectangle(dc, -1000000000, -1000000000, 1000000000, 1000000000); }},
    {"huge round rect", [](HDC dc) { RoundRect(dc, Smallest, Smallest, Big, Big, Big, Big); }},
    {"huge pie", [](HDC dc) { Pie(dc, Smallest, Smallest, Big, Big, Big, 0, 0, Big); }},
    {"huge chord", [](HDC dc) { Chord(dc, -100000000, -100000000, 100000000, 100000000, 1, 0, 0, 1); }},
    {"huge arc", [](HDC dc) { Arc(dc, Smallest, Smallest, Big, Big, 0, 0, 0, 0); }},
    {"long line",
        [](HDC dc) {
            MoveToEx(dc, Smallest, Smallest, nullptr);
            LineTo(dc, Big, Big);
        }},
    {"long wide line",
        [](HDC dc) {
            HPEN pen = CreatePen(PS_SOLID, 5, RGB(1, 2, 3));
            HPEN old = SelectObject(dc, pen);
            MoveToEx(dc, Smallest, 10, nullptr);
            LineTo(dc, Big, 10);
            SelectObject(dc, old);
            DeleteObject(pen);
        }},
    {"huge polygon",
        [](HDC dc) {
            const POINT pts[] = {{Smallest, Smallest}, {Big, 0}, {0, Big}};
            Polygon(dc, pts, 3);
        }},
    {"huge focus rect",
        [](HDC dc) {
            RECT r {Smallest, Smallest, Big, Big};
            DrawFocusRect(dc, &r);
        }},
    {"huge edge",
        [](HDC dc) {
            RECT r {Smallest, Smallest, Big, Big};
            DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_ADJUST);
        }},
    {"huge pat blt", [](HDC dc) { PatBlt(dc, Big, Big, Smallest, Smallest, PATCOPY); }},
    {"overflowing bit blt", [](HDC dc) { BitBlt(dc, Big - 5, Big - 5, 100, 100, dc, 0, 0, SRCCOPY); }},
    {"huge stretch", [](HDC dc) { StretchBlt(dc, Smallest, Smallest, Big, Big, dc, 0, 0, 3, 3, SRCCOPY); }},
    {"mirrored huge stretch", [](HDC dc) { StretchBlt(dc, Big, 0, Smallest, 5, dc, 0, 0, 5, 5, SRCCOPY); }},
    {"huge gradient",
        [](HDC dc) {
            const TRIVERTEX v[]
                = {{Smallest, Smallest, 0, 0, 0, 0}, {Big, Smallest, 0xFF00, 0, 0, 0}, {0, Big, 0, 0, 0xFF00, 0}};
            const GRADIENT_TRIANGLE t {0, 1, 2};
            GradientFill(dc, v, 3, &t, 1, GRADIENT_FILL_TRIANGLE);
            const GRADIENT_RECT g {0, 1};
            GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
        }},
    {"huge origins",
        [](HDC dc) {
            SetWindowOrgEx(dc, Smallest, Smallest, nullptr);
            SetViewportOrgEx(dc, Big, Big, nullptr);
            Rectangle(dc, Big, Big, Smallest, Smallest);
            SetPixel(dc, Big, Big, 0);
            RECT r {0, 0, 5, 5};
            FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            SetWindowOrgEx(dc, 0, 0, nullptr);
            SetViewportOrgEx(dc, 0, 0, nullptr);
        }},
    {"huge text",
        [](HDC dc) {
            TextOut(dc, Big, Big, "overflow");
            RECT r {Smallest, Smallest, Big, Big};
            DrawText(dc, "Centred in everything", &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
            RECT calc {Big - 1, Big - 1, Big, Big};
            DrawText(dc, "x", &calc, DT_CALCRECT);
        }},
    {"huge clip rects",
        [](HDC dc) {
            IntersectClipRect(dc, Smallest, Smallest, Big, Big);
            ExcludeClipRect(dc, Big - 1, Smallest, Big, Big);
            OffsetClipRgn(dc, Big, Big);
            SelectClipRgn(dc, nullptr);
        }},
};

}

TEST(DegenerateInput, HugeCoordinatesFinishAndDrawOnlyTheVisiblePart) {
    for (const Case& c : Cases) {
        for (PixelFormat format : {PixelFormat::pf24bit, PixelFormat::pf32bit}) {
            TestCanvas canvas(16, 16, format);
            c.Draw(canvas);
            SCOPED_TRACE(c.Name);
            EXPECT_EQ(canvas.Bits().Width(), 16);
        }
    }
}

TEST(DegenerateInput, HugeShapesStillCoverTheSurface) {
    TestCanvas canvas(16, 16);
    HBRUSH brush = CreateSolidBrush(Red);
    SelectObject(canvas, brush);
    SelectObject(canvas, static_cast<HPEN>(GetStockObject(NULL_PEN)));
    Ellipse(canvas, -100000, -100000, 100000, 100000);
    EXPECT_EQ(canvas.Count(Red), 256);
    SelectObject(canvas, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(canvas, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
    DeleteObject(brush);
}

TEST(DegenerateInput, ALongLineThroughTheSurfaceKeepsItsPixels) {
    TestCanvas canvas(16, 16);
    MoveToEx(canvas, -1000000, 8, nullptr);
    LineTo(canvas, 1000000, 8);
    EXPECT_EQ(canvas.Count(Black), 16);
    MoveToEx(canvas, -100000, -100000, nullptr);
    LineTo(canvas, 100000, 100000);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(canvas.At(i, i), Black) << i;
}

TEST(DegenerateInput, NullHandlesEverywhere) {
    RECT r {0, 0, 4, 4};
    const POINT pts[] = {{0, 0}, {3, 3}};
    EXPECT_FALSE(Ellipse(nullptr, 0, 0, 4, 4));
    EXPECT_FALSE(Arc(nullptr, 0, 0, 4, 4, 0, 0, 0, 0));
    EXPECT_FALSE(Polygon(nullptr, pts, 2));
    EXPECT_FALSE(Polyline(nullptr, pts, 2));
    EXPECT_FALSE(FrameRect(nullptr, &r, nullptr));
    EXPECT_FALSE(InvertRect(nullptr, &r));
    EXPECT_FALSE(DrawFocusRect(nullptr, &r));
    EXPECT_FALSE(DrawFrameControl(nullptr, &r, DFC_SCROLL, 0));
    EXPECT_FALSE(FillRgn(nullptr, nullptr, nullptr));
    EXPECT_FALSE(PatBlt(nullptr, 0, 0, 1, 1, PATCOPY));
    EXPECT_FALSE(StretchBlt(nullptr, 0, 0, 1, 1, nullptr, 0, 0, 1, 1, SRCCOPY));
    EXPECT_FALSE(ExtTextOut(nullptr, 0, 0, 0, nullptr, "x"));
    EXPECT_EQ(GetPixel(nullptr, 0, 0), CLR_INVALID);
    EXPECT_EQ(SetPixel(nullptr, 0, 0, 0), CLR_INVALID);
    HDC dc = CreateCompatibleDC(nullptr);
    DeleteDC(dc);
    EXPECT_FALSE(Rectangle(dc, 0, 0, 4, 4));   // a deleted DC is refused
    EXPECT_EQ(SelectObject(dc, static_cast<HPEN>(GetStockObject(BLACK_PEN))), nullptr);
}
