// LED bar: segment count, lit segments and section ends, segment rectangles of each direction and style.
#include "leds/iLedBar.h"

#include "leds/iGPFunctions.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TWriter.h"
#include "platform/gdi/GdiConstants.h"
#include "support/LedTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace korvex;
using namespace korvex::leds;
using namespace korvex::leds::test;
using classes::Rect;
using classes::TPoint;
using classes::TRect;
using gdi::DrawKind;

namespace {

class LedBarTest : public LedTest {
protected:
    TTestLedBar* NewBar(int width, int height, TiDirection direction, int margin, int size, int spacing) {
        auto* bar = new TTestLedBar(nullptr);
        bar->SetSegmentDirection(direction);
        bar->SetBounds(0, 0, width, height);
        bar->SetSegmentMargin(margin);
        bar->SetSegmentSize(size);
        bar->SetSegmentSpacing(spacing);
        Bars.emplace_back(bar);
        return bar;
    }
    // The rectangles the bar paints on a canvas of the given size, in order.
    static std::vector<gdi::DrawCall> PaintedRects(TTestLedBar* bar, int width, int height) {
        RecordingCanvas rec(width, height);
        bar->iPaintTo(rec.Canvas());
        return rec.CallsOf(DrawKind::Rectangle);
    }
    std::vector<std::unique_ptr<TTestLedBar>> Bars;
};

TEST_F(LedBarTest, ANarrowHorizontalBarOfSinglePixelSegmentsHas76AndLights38AtHalf) {
    TTestLedBar* bar = NewBar(150, 5, idRight, 0, 1, 1);
    TiLedBarLayout layout = bar->Layout();
    EXPECT_EQ(layout.Count, 76);   // (150 + 2) div 2
    EXPECT_EQ(layout.Offset, 0);
    EXPECT_EQ(layout.Lit, 0);
    bar->SetPosition(50);
    EXPECT_EQ(bar->Layout().Lit, 38);   // 38.5 goes to the even neighbour
}

TEST_F(LedBarTest, LitSegmentsRoundHalvesToEvenSo75PercentOfFourLightsAllFour) {
    TTestLedBar* bar = NewBar(16, 18, idUp, 0, 5, 0);
    EXPECT_EQ(bar->Layout().Count, 4);
    const std::pair<double, int> cases[] = {{0, 0}, {25, 2}, {50, 2}, {75, 4}, {100, 4}};
    for (auto [position, lit] : cases) {
        bar->SetPosition(position);
        EXPECT_EQ(bar->Layout().Lit, lit) << "position " << position;
    }
}

TEST_F(LedBarTest, DefaultBarHas28SegmentsCentredByOnePixel) {
    auto bar = std::make_unique<TTestLedBar>(nullptr);
    EXPECT_EQ(bar->Width(), 16);
    EXPECT_EQ(bar->Height(), 200);
    EXPECT_EQ(bar->BackGroundColor(), classes::clBlack);
    TiLedBarLayout layout = bar->Layout();
    EXPECT_EQ(layout.Count, 28);
    EXPECT_EQ(layout.Offset, 1);
    EXPECT_EQ(layout.First, Rect(2, 192, 14, 197));
    auto rects = PaintedRects(bar.get(), 16, 200);
    ASSERT_EQ(rects.size(), 28u);
    EXPECT_EQ(rects[0].Rect, Rect(2, 192, 14, 197));
    EXPECT_EQ(rects[1].Rect, Rect(2, 185, 14, 190));
    EXPECT_EQ(rects[27].Rect, Rect(2, 3, 14, 8));
}

struct DirectionCase {
    TiDirection Direction;
    int Width, Height;
    TRect First, Second;
};

class LedBarDirectionTest : public LedBarTest, public ::testing::WithParamInterface<DirectionCase> { };

TEST_P(LedBarDirectionTest, SegmentsStartAtTheBarsStartAndStepInItsDirection) {
    const DirectionCase& c = GetParam();
    // 30 long: Avail 30 - 4 + 2 = 28, Step 6, 4 segments, remainder 4 (offset 2 on vertical bars).
    TTestLedBar* bar = NewBar(c.Width, c.Height, c.Direction, 2, 4, 2);
    EXPECT_EQ(bar->Layout().Count, 4);
    RecordingCanvas rec(c.Width, c.Height);
    bar->iPaintTo(rec.Canvas());
    auto rects = rec.CallsOf(DrawKind::Rectangle);
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[0].Rect, c.First);
    EXPECT_EQ(rects[1].Rect, c.Second);
}

INSTANTIATE_TEST_SUITE_P(Directions, LedBarDirectionTest,
    ::testing::Values(DirectionCase {idUp, 10, 30, Rect(2, 22, 8, 26), Rect(2, 16, 8, 20)},
        DirectionCase {idDown, 10, 30, Rect(2, 4, 8, 8), Rect(2, 10, 8, 14)},
        DirectionCase {idRight, 30, 10, Rect(2, 2, 6, 8), Rect(8, 2, 12, 8)},
        DirectionCase {idLeft, 30, 10, Rect(24, 2, 28, 8), Rect(18, 2, 22, 8)}));

TEST_F(LedBarTest, CircleSegmentsAreDiscsOfSegmentSizeWithATwoPixelReflection) {
    TTestLedBar* bar = NewBar(16, 30, idUp, 0, 8, 2);   // Avail 32, Step 10, 3 segments, offset 1
    bar->SetSegmentStyle(ilbssCircle);
    bar->SetPosition(50);   // lit: 0.5 * 3 + 0.5 = 2
    RecordingCanvas rec(16, 30);
    bar->iPaintTo(rec.Canvas());
    auto ellipses = rec.CallsOf(DrawKind::Ellipse);
    ASSERT_EQ(ellipses.size(), 3u);
    // S = (0, 21, 16, 29): centre (8, 25), h 4.
    EXPECT_EQ(ellipses[0].Rect, Rect(4, 21, 12, 29));
    EXPECT_EQ(ellipses[0].BrushColor, Ref(classes::clLime));
    auto arcs = rec.CallsOf(DrawKind::Arc);
    ASSERT_EQ(arcs.size(), 6u);
    EXPECT_EQ(arcs[0].Rect, Rect(6, 23, 10, 27));   // q = 2
    EXPECT_EQ(arcs[1].Rect, Rect(7, 24, 9, 26));
    EXPECT_EQ(arcs[0].Points[0], TPoint(8, 21));
    EXPECT_EQ(arcs[0].Points[1], TPoint(4, 25));
    EXPECT_EQ(arcs[0].PenColor, Ref(classes::clWhite));   // lit: white
    EXPECT_EQ(ellipses[2].BrushColor, Ref(DimColor(classes::clLime, 3)));
    EXPECT_EQ(arcs[4].PenColor, Ref(classes::clLime));   // unlit: the undimmed colour
}

struct TriangleCase {
    TiDirection Direction;
    int Width, Height;
    std::vector<TPoint> Points;
};

class LedBarTriangleTest : public LedBarTest, public ::testing::WithParamInterface<TriangleCase> { };

TEST_P(LedBarTriangleTest, TrianglesPointInTheBarsDirection) {
    const TriangleCase& c = GetParam();
    TTestLedBar* bar = NewBar(c.Width, c.Height, c.Direction, 0, 6, 2);   // Avail 22, Step 8: 2 segments
    bar->SetSegmentStyle(ilbssTriangle);
    RecordingCanvas rec(c.Width, c.Height);
    bar->iPaintTo(rec.Canvas());
    auto polygons = rec.CallsOf(DrawKind::Polygon);
    ASSERT_EQ(polygons.size(), 2u);
    EXPECT_EQ(polygons[0].Points, c.Points);
}

INSTANTIATE_TEST_SUITE_P(Directions, LedBarTriangleTest,
    ::testing::Values(TriangleCase {idUp, 10, 20, {{2, 17}, {8, 17}, {5, 11}}},   // S = (0, 11, 10, 17)
        TriangleCase {idDown, 10, 20, {{2, 3}, {8, 3}, {5, 9}}},   // S = (0, 3, 10, 9)
        TriangleCase {idRight, 20, 10, {{0, 2}, {0, 8}, {6, 5}}},   // S = (0, 0, 6, 10)
        TriangleCase {idLeft, 20, 10, {{20, 2}, {20, 8}, {14, 5}}}));   // S = (14, 0, 20, 10)

TEST_F(LedBarTest, ThreeSectionsColourTheSegmentsFromTheirEnds) {
    TTestLedBar* bar = NewBar(16, 18, idUp, 0, 5, 0);   // 4 segments: ends at 2 and 3
    bar->SetSectionCount(3);
    bar->SetPosition(100);
    auto rects = PaintedRects(bar, 16, 18);
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[0].BrushColor, Ref(classes::clLime));
    EXPECT_EQ(rects[1].BrushColor, Ref(classes::clLime));
    EXPECT_EQ(rects[2].BrushColor, Ref(classes::clYellow));
    EXPECT_EQ(rects[3].BrushColor, Ref(classes::clRed));
    bar->SetSectionCount(1);
    RecordingCanvas one(16, 18);
    bar->iPaintTo(one.Canvas());
    for (const auto& call : one.CallsOf(DrawKind::Rectangle))
        EXPECT_EQ(call.BrushColor, Ref(classes::clLime));
}

TEST_F(LedBarTest, TheSectionNeverGoesBackWhenTheEndsAreCrossed) {
    TTestLedBar* bar = NewBar(16, 18, idUp, 0, 5, 0);
    bar->SetSectionCount(3);
    bar->SetSectionEnd1(75);   // 3
    bar->SetSectionEnd2(25);   // 1
    bar->SetPosition(100);
    auto rects = PaintedRects(bar, 16, 18);
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[0].BrushColor, Ref(classes::clLime));
    EXPECT_EQ(rects[1].BrushColor, Ref(classes::clRed));
    EXPECT_EQ(rects[3].BrushColor, Ref(classes::clRed));
}

TEST_F(LedBarTest, UnlitSegmentsAreDimmedOrLeftOut) {
    TTestLedBar* bar = NewBar(16, 18, idUp, 0, 5, 0);
    bar->SetPosition(50);
    auto rects = PaintedRects(bar, 16, 18);
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[1].BrushColor, Ref(classes::clLime));
    EXPECT_EQ(rects[2].BrushColor, 0x005500u);
    bar->SetShowOffSegments(false);
    RecordingCanvas lit(16, 18);
    bar->iPaintTo(lit.Canvas());
    EXPECT_EQ(lit.CallsOf(DrawKind::Rectangle).size(), 2u);
    bar->SetPosition(0);
    RecordingCanvas none(16, 18);
    bar->iPaintTo(none.Canvas());
    EXPECT_EQ(none.Calls().size(), 1u);   // the background only
    EXPECT_EQ(none.Calls()[0].Kind, DrawKind::FillRect);
}

TEST_F(LedBarTest, ZeroSizeAndSpacingDrawOnlyTheBackground) {
    TTestLedBar* bar = NewBar(16, 200, idUp, 2, 0, 0);
    EXPECT_EQ(bar->Layout().Count, 0);
    RecordingCanvas rec(16, 200);
    bar->iPaintTo(rec.Canvas());
    ASSERT_EQ(rec.Calls().size(), 1u);
    EXPECT_EQ(rec.Calls()[0].Kind, DrawKind::FillRect);
    EXPECT_EQ(rec.Calls()[0].BrushColor, 0u);
}

TEST_F(LedBarTest, AnEmptyRangeLightsNothingAndKeepsTheFirstSection) {
    TTestLedBar* bar = NewBar(16, 18, idUp, 0, 5, 0);
    bar->SetSectionCount(3);
    bar->SetPositionMax(0);
    TiLedBarLayout layout = bar->Layout();
    EXPECT_EQ(layout.Lit, 0);
    EXPECT_EQ(layout.End1, 0);
    EXPECT_EQ(layout.End2, 0);
    RecordingCanvas rec(16, 18);
    bar->iPaintTo(rec.Canvas());
    // Both ends are 0, so the first segment already moves to the last section.
    for (const auto& call : rec.CallsOf(DrawKind::Rectangle))
        EXPECT_EQ(call.BrushColor, Ref(DimColor(classes::clRed, 3)));
    bar->SetSectionCount(1);
    RecordingCanvas one(16, 18);
    bar->iPaintTo(one.Canvas());
    for (const auto& call : one.CallsOf(DrawKind::Rectangle))
        EXPECT_EQ(call.BrushColor, Ref(DimColor(classes::clLime, 3)));
}

TEST_F(LedBarTest, ABorderInsetsTheSegmentsByTwoPixels) {
    TTestLedBar* bar = NewBar(16, 200, idUp, 2, 5, 2);
    bar->SetBorderStyle(ibsLowered);
    RecordingCanvas rec(16, 200);
    bar->iPaintTo(rec.Canvas());
    auto edges = rec.CallsOf(DrawKind::DrawEdge);
    ASSERT_EQ(edges.size(), 1u);
    EXPECT_EQ(edges[0].Rect, Rect(0, 0, 16, 200));
    EXPECT_EQ(edges[0].Flags, gdi::EDGE_SUNKEN | (gdi::BF_RECT << 16));
    // R = (2, 2, 14, 198): Avail 194, 27 segments, offset 2.
    EXPECT_EQ(bar->Layout().Count, 27);
    EXPECT_EQ(rec.CallsOf(DrawKind::Rectangle)[0].Rect, Rect(4, 189, 12, 194));
}

TEST_F(LedBarTest, ChangingBetweenVerticalAndHorizontalSwapsTheSize) {
    auto bar = std::make_unique<TTestLedBar>(nullptr);
    bar->SetSegmentDirection(idDown);
    EXPECT_EQ(bar->Width(), 16);
    EXPECT_EQ(bar->Height(), 200);
    bar->SetSegmentDirection(idRight);
    EXPECT_EQ(bar->Width(), 200);
    EXPECT_EQ(bar->Height(), 16);
    bar->SetSegmentDirection(idLeft);
    EXPECT_EQ(bar->Width(), 200);
}

TEST_F(LedBarTest, AbsurdGeometryAndSectionEndsNeitherHangNorOverflow) {
    TTestLedBar* bar = NewBar(16, 200, idUp, std::numeric_limits<int>::min(), 1, 0);
    bar->SetSectionCount(3);
    bar->SetSectionEnd1(1e300);
    bar->SetSectionEnd2(-1e300);
    bar->SetPosition(60);
    TiLedBarLayout layout = bar->Layout();
    EXPECT_LE(layout.Count, 1 << 16);
    EXPECT_EQ(layout.End1, std::numeric_limits<int>::max());
    EXPECT_EQ(layout.End2, std::numeric_limits<int>::min());
    RecordingCanvas rec(16, 200);
    bar->iPaintTo(rec.Canvas());   // segments off the canvas are clipped away
    bar->SetSegmentMargin(std::numeric_limits<int>::max());
    bar->SetSegmentSize(-7);   // a negative length over a negative step: a positive count, capped
    EXPECT_LE(bar->Layout().Count, 1 << 16);
    bar->SetSegmentMargin(0);
    EXPECT_EQ(bar->Layout().Count, 0);   // 202 div -7 is negative: nothing
}

TEST_F(LedBarTest, SettersRequestAValueRepaintOnlyOnChange) {
    TTestLedBar* bar = NewBar(16, 18, idUp, 0, 5, 0);
    bar->Invalidations = 0;
    bar->SetSegmentSize(5);
    bar->SetSegmentStyle(ilbssRectangle);
    bar->SetSectionCount(4);
    bar->SetSectionCount(0);
    EXPECT_EQ(bar->SectionCount(), 1);
    EXPECT_EQ(bar->Invalidations, 0);
    bar->SetSegmentStyle(ilbssCircle);
    bar->SetSectionColor2(classes::clAqua);
    EXPECT_EQ(bar->Invalidations, 2);
}

}

TEST_F(LedBarTest, ItsSizeIsStreamedOnlyWhenItDiffersFromANewBars) {
    TTestLedBar bar(nullptr);
    const std::string plain = classes::WriteComponent(&bar);
    EXPECT_EQ(plain.find("Width ="), std::string::npos) << plain;
    EXPECT_EQ(plain.find("Height ="), std::string::npos) << plain;

    bar.SetBounds(0, 0, 20, 150);
    const std::string sized = classes::WriteComponent(&bar);
    EXPECT_NE(sized.find("Width = 20"), std::string::npos) << sized;
    EXPECT_NE(sized.find("Height = 150"), std::string::npos) << sized;

    TTestLedBar copy(nullptr);
    copy.SetBounds(0, 0, 30, 40);
    classes::ReadRootComponent(&copy, plain);
    EXPECT_EQ(copy.Width(), 30);   // nothing in the stream: the size stays
    classes::ReadRootComponent(&copy, sized);
    EXPECT_EQ(copy.Width(), 20);
    EXPECT_EQ(copy.Height(), 150);
}
