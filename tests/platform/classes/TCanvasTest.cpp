// TCanvas: primitives where gdi's rules put them, lazy reselection of changed tools, text and its clipping,
// pictures (opaque, transparent, stretched), copies, the lock and canvases without a DC.
#include "platform/classes/TCanvas.h"

#include "platform/classes/TBitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Types.h"

#include "support/GraphicsTestKit.h"

#include <gtest/gtest.h>

#include <future>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::test;

namespace {

class CanvasTest : public ::testing::Test {
protected:
    CanvasTest()
        : FBitmap(MakeBitmap(60, 40, clWhite)) { }

    TCanvas* Canvas() { return FBitmap->Canvas(); }
    TColor At(int x, int y) const { return PixelOf(*FBitmap, x, y); }
    int Count(TColor color, TRect r = {0, 0, 1000, 1000}) const { return CountColor(*FBitmap, color, r); }
    // Pixels touched by (anti-aliased) ink in r.
    int Inked(TRect r) const { return r.Width() * r.Height() - Count(clWhite, r); }

    std::unique_ptr<TBitmap> FBitmap;
};

}

TEST_F(CanvasTest, FillRectLeavesTheRightAndBottomEdgesOut) {
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->FillRect(Rect(2, 3, 10, 8));
    EXPECT_EQ(At(2, 3), clRed);
    EXPECT_EQ(At(9, 7), clRed);
    EXPECT_EQ(At(10, 7), clWhite);
    EXPECT_EQ(At(9, 8), clWhite);
    EXPECT_EQ(Count(clRed), 8 * 5);
}

TEST_F(CanvasTest, RectangleIsOutlinedWithThePenAndFilledWithTheBrush) {
    Canvas()->Pen()->SetColor(clBlue);
    Canvas()->Brush()->SetColor(clYellow);
    Canvas()->Rectangle(5, 5, 15, 12);
    EXPECT_EQ(At(5, 5), clBlue);
    EXPECT_EQ(At(14, 11), clBlue);
    EXPECT_EQ(At(15, 11), clWhite);
    EXPECT_EQ(At(8, 8), clYellow);
}

TEST_F(CanvasTest, AClearBrushLeavesTheInsideOfShapes) {
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->Rectangle(5, 5, 15, 12);
    EXPECT_EQ(At(5, 5), clBlack);
    EXPECT_EQ(At(8, 8), clWhite);
}

TEST_F(CanvasTest, LineToLeavesItsLastPointOutAndMovesThePen) {
    Canvas()->Pen()->SetColor(clRed);
    Canvas()->MoveTo(2, 2);
    Canvas()->LineTo(10, 2);
    EXPECT_EQ(At(2, 2), clRed);
    EXPECT_EQ(At(9, 2), clRed);
    EXPECT_EQ(At(10, 2), clWhite);
    EXPECT_EQ(Canvas()->PenPos(), Point(10, 2));
    Canvas()->SetPenPos(Point(20, 20));
    EXPECT_EQ(Canvas()->PenPos(), Point(20, 20));
}

TEST_F(CanvasTest, AChangedPenIsSelectedAgainForTheNextLine) {
    Canvas()->Pen()->SetColor(clRed);
    Canvas()->MoveTo(0, 1);
    Canvas()->LineTo(10, 1);
    Canvas()->Pen()->SetColor(clBlue);
    Canvas()->Pen()->SetWidth(1);
    Canvas()->MoveTo(0, 3);
    Canvas()->LineTo(10, 3);
    EXPECT_EQ(At(5, 1), clRed);
    EXPECT_EQ(At(5, 3), clBlue);
}

TEST_F(CanvasTest, PenModeXorInvertsTwiceBackToTheOriginal) {
    Canvas()->Pen()->SetColor(clWhite);
    Canvas()->Pen()->SetMode(pmXor);
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->MoveTo(0, 0);
    Canvas()->LineTo(20, 0);
    EXPECT_EQ(At(5, 0), clBlack);
    Canvas()->MoveTo(0, 0);
    Canvas()->LineTo(20, 0);
    EXPECT_EQ(At(5, 0), clWhite);
}

TEST_F(CanvasTest, EllipseAndPolygonFillTheirInside) {
    Canvas()->Brush()->SetColor(clGreen);
    Canvas()->Pen()->SetColor(clGreen);
    Canvas()->Ellipse(0, 0, 20, 20);
    EXPECT_EQ(At(10, 10), clGreen);
    EXPECT_EQ(At(0, 0), clWhite);
    const TPoint triangle[] = {{30, 30}, {50, 30}, {40, 10}};
    Canvas()->Brush()->SetColor(clNavy);
    Canvas()->Pen()->SetColor(clNavy);
    Canvas()->Polygon(triangle);
    EXPECT_EQ(At(40, 25), clNavy);
    EXPECT_EQ(At(31, 12), clWhite);
}

TEST_F(CanvasTest, ArcDrawsOnlyThePenAlongItsQuarter) {
    Canvas()->Pen()->SetColor(clRed);
    // Upper-left quarter: counter-clockwise from the top to the left.
    Canvas()->Arc(0, 0, 21, 21, 10, 0, 0, 10);
    EXPECT_GT(Count(clRed, Rect(0, 0, 11, 11)), 0);
    EXPECT_EQ(Count(clRed, Rect(12, 12, 21, 21)), 0);
    EXPECT_EQ(At(10, 10), clWhite);
}

TEST_F(CanvasTest, FrameRectDrawsAOnePixelBorderInTheBrushColour) {
    Canvas()->Brush()->SetColor(clPurple);
    Canvas()->FrameRect(Rect(10, 10, 20, 16));
    EXPECT_EQ(At(10, 10), clPurple);
    EXPECT_EQ(At(19, 15), clPurple);
    EXPECT_EQ(At(15, 12), clWhite);
    EXPECT_EQ(At(20, 15), clWhite);
}

TEST_F(CanvasTest, PixelsResolveSystemColoursAndReadBack) {
    Canvas()->SetPixels(3, 4, clBtnFace);
    EXPECT_EQ(Canvas()->Pixels(3, 4), TColor(gdi::GetSysColor(gdi::COLOR_BTNFACE)));
    EXPECT_EQ(Canvas()->Pixels(100, 100), -1);
}

TEST_F(CanvasTest, ClipRectIsTheSurfaceWithoutAClip) {
    EXPECT_EQ(Canvas()->ClipRect(), Rect(0, 0, 60, 40));
    gdi::IntersectClipRect(Canvas()->Handle(), 5, 5, 10, 10);
    EXPECT_EQ(Canvas()->ClipRect(), Rect(5, 5, 10, 10));
}

TEST_F(CanvasTest, DrawingCallsFireOnChangingThenOnChange) {
    std::string log;
    Canvas()->OnChanging = [&](TObject*) { log += "<"; };
    Canvas()->OnChange = [&](TObject*) { log += ">"; };
    Canvas()->FillRect(Rect(0, 0, 2, 2));
    Canvas()->LineTo(5, 5);
    EXPECT_EQ(log, "<><>");
    Canvas()->OnChanging = nullptr;
    Canvas()->OnChange = nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// Text

TEST_F(CanvasTest, TextOutWritesInTheFontColourAndMovesThePenBehindTheText) {
    PinnedFont pinned;
    Canvas()->Font()->SetColor(clBlack);
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->TextOut(2, 2, "Hi");
    const int width = Canvas()->TextWidth("Hi");
    EXPECT_GT(width, 4);
    EXPECT_EQ(Canvas()->PenPos(), Point(2 + width, 2));
    EXPECT_GT(Count(clBlack, Rect(2, 2, 2 + width, 2 + Canvas()->TextHeight("Hi"))), 0);
    EXPECT_EQ(Count(clBlack, Rect(2 + width + 1, 0, 60, 40)), 0);
}

TEST_F(CanvasTest, TextExtentGrowsWithTheFontSize) {
    PinnedFont pinned;
    const TSize small = Canvas()->TextExtent("Mm");
    Canvas()->Font()->SetSize(20);
    const TSize large = Canvas()->TextExtent("Mm");
    EXPECT_GT(large.cx, small.cx);
    EXPECT_GT(large.cy, small.cy);
    EXPECT_EQ(Canvas()->TextWidth(""), 0);
}

TEST_F(CanvasTest, TextRectClipsTheTextToItsRectangle) {
    PinnedFont pinned;
    Canvas()->Font()->SetColor(clBlack);
    Canvas()->Font()->SetSize(14);
    Canvas()->Brush()->SetStyle(bsClear);
    const TRect r = Rect(10, 5, 18, 30);
    Canvas()->TextRect(r, 10, 5, "WWWW");
    EXPECT_GT(Inked(r), 0);
    EXPECT_EQ(Inked(Rect(0, 0, 60, 40)), Inked(r));   // nothing outside the rectangle
}

TEST_F(CanvasTest, TextRectWithASolidBrushFillsItsRectangle) {
    PinnedFont pinned;
    Canvas()->Brush()->SetColor(clYellow);
    Canvas()->TextRect(Rect(0, 0, 30, 20), 2, 2, "a");
    EXPECT_EQ(At(29, 19), clYellow);
    EXPECT_EQ(At(0, 0), clYellow);
    EXPECT_EQ(At(30, 0), clWhite);
}

TEST_F(CanvasTest, FormattedTextRectMeasuresWithCalcRectWithoutDrawing) {
    PinnedFont pinned;
    TRect r = Rect(0, 0, 200, 0);
    Canvas()->TextRect(r, "Hello", gdi::DT_CALCRECT | gdi::DT_SINGLELINE);
    EXPECT_EQ(r.right, Canvas()->TextWidth("Hello"));
    EXPECT_EQ(r.bottom, Canvas()->TextHeight("Hello"));
    EXPECT_EQ(Count(clWhite), 60 * 40);
}

TEST_F(CanvasTest, FormattedTextRectCentresAndClips) {
    PinnedFont pinned;
    Canvas()->Font()->SetColor(clBlack);
    Canvas()->Brush()->SetStyle(bsClear);
    TRect r = Rect(0, 0, 60, 40);
    Canvas()->TextRect(r, "I", gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE);
    EXPECT_EQ(Inked(Rect(0, 0, 20, 40)), 0);
    EXPECT_EQ(Inked(Rect(40, 0, 60, 40)), 0);
    EXPECT_GT(Inked(Rect(20, 10, 40, 30)), 0);
}

// ---------------------------------------------------------------------------------------------------------
// Pictures and copies

TEST_F(CanvasTest, DrawCopiesABitmapAtItsOwnSize) {
    auto picture = MakeBitmap(4, 3, clRed);
    Canvas()->Draw(10, 10, picture.get());
    EXPECT_EQ(Count(clRed), 12);
    EXPECT_EQ(At(10, 10), clRed);
    EXPECT_EQ(At(13, 12), clRed);
    EXPECT_EQ(At(14, 12), clWhite);
}

TEST_F(CanvasTest, TransparentDrawSkipsTheTransparentColour) {
    auto picture = MakeBitmap(4, 4, clFuchsia);
    SetPixelOf(*picture, 1, 1, clBlue);
    SetPixelOf(*picture, 2, 2, clBlue);
    picture->SetTransparent(true);   // bottom-left pixel: fuchsia
    Canvas()->Brush()->SetColor(clGreen);
    Canvas()->FillRect(Rect(0, 0, 60, 40));
    Canvas()->Draw(5, 5, picture.get());
    EXPECT_EQ(At(6, 6), clBlue);
    EXPECT_EQ(At(7, 7), clBlue);
    EXPECT_EQ(At(5, 5), clGreen);
    EXPECT_EQ(Count(clFuchsia), 0);
    EXPECT_EQ(Count(clBlue), 2);
}

TEST_F(CanvasTest, TransparentDrawUsesAFixedTransparentColour) {
    auto picture = MakeBitmap(2, 1, clRed);
    SetPixelOf(*picture, 1, 0, clBlue);
    picture->SetTransparentColor(clBlue);
    picture->SetTransparent(true);
    Canvas()->Draw(0, 0, picture.get());
    EXPECT_EQ(At(0, 0), clRed);
    EXPECT_EQ(At(1, 0), clWhite);
}

TEST_F(CanvasTest, StretchDrawScalesToTheRectangle) {
    auto picture = MakeBitmap(2, 2, clRed);
    SetPixelOf(*picture, 1, 1, clBlue);
    Canvas()->StretchDraw(Rect(0, 0, 20, 10), picture.get());
    EXPECT_EQ(Count(clRed, Rect(0, 0, 20, 10)), 150);
    EXPECT_EQ(Count(clBlue, Rect(10, 5, 20, 10)), 50);
    EXPECT_EQ(At(20, 0), clWhite);
}

TEST_F(CanvasTest, NullAndEmptyPicturesDrawNothing) {
    TBitmap empty;
    Canvas()->Draw(0, 0, nullptr);
    Canvas()->Draw(0, 0, &empty);
    Canvas()->StretchDraw(Rect(0, 0, 10, 10), &empty);
    EXPECT_EQ(Count(clWhite), 60 * 40);
}

TEST_F(CanvasTest, CopyRectStretchesFromAnotherCanvasWithTheCopyMode) {
    auto source = MakeBitmap(10, 10, clBlue);
    Canvas()->CopyRect(Rect(0, 0, 20, 4), source->Canvas(), Rect(0, 0, 10, 2));
    EXPECT_EQ(Count(clBlue), 80);
    Canvas()->SetCopyMode(cmNotSrcCopy);
    Canvas()->CopyRect(Rect(30, 0, 32, 2), source->Canvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(At(30, 0), TColor(0x00FFFF));   // not blue
    Canvas()->CopyRect(Rect(0, 0, 5, 5), nullptr, Rect(0, 0, 5, 5));
}

// ---------------------------------------------------------------------------------------------------------
// DCs, lock

TEST(TCanvas, WithoutADcEveryCallDoesNothing) {
    TCanvas canvas;
    EXPECT_EQ(canvas.Handle(), nullptr);
    canvas.FillRect(Rect(0, 0, 10, 10));
    canvas.TextOut(0, 0, "x");
    canvas.LineTo(5, 5);
    EXPECT_EQ(canvas.TextWidth("abc"), 0);
    EXPECT_EQ(canvas.Pixels(0, 0), -1);
    EXPECT_EQ(canvas.PenPos(), Point(0, 0));
    EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 0, 0));
}

TEST(TCanvas, ADcSetFromOutsideIsDrawnOnAndLeftAlive) {
    auto target = MakeBitmap(10, 10, clWhite);
    gdi::HDC dc = gdi::CreateCompatibleDC(nullptr);
    gdi::HGDIOBJ old = gdi::SelectObject(dc, static_cast<gdi::HGDIOBJ>(target->Handle()));
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        canvas.Brush()->SetColor(clRed);
        canvas.FillRect(Rect(0, 0, 3, 3));
        EXPECT_TRUE(canvas.HandleAllocated());
    }
    EXPECT_TRUE(gdi::IsValidDC(dc));
    EXPECT_EQ(PixelOf(*target, 1, 1), clRed);
    gdi::SelectObject(dc, old);
    gdi::DeleteDC(dc);
}

TEST(TCanvas, MovingToAnotherDcSelectsTheToolsThereAgain) {
    auto first = MakeBitmap(5, 5, clWhite);
    auto second = MakeBitmap(5, 5, clWhite);
    TCanvas canvas;
    canvas.Pen()->SetColor(clRed);
    canvas.SetHandle(first->Canvas()->Handle());
    canvas.MoveTo(0, 0);
    canvas.LineTo(4, 0);
    canvas.SetHandle(second->Canvas()->Handle());
    canvas.MoveTo(0, 0);
    canvas.LineTo(4, 0);
    canvas.SetHandle(nullptr);
    EXPECT_EQ(PixelOf(*first, 1, 0), clRed);
    EXPECT_EQ(PixelOf(*second, 1, 0), clRed);
}

TEST(TCanvas, LockNestsOnOneThreadAndKeepsOthersOut) {
    TCanvas canvas;
    canvas.Lock();
    canvas.Lock();
    EXPECT_EQ(canvas.LockCount(), 2);
    EXPECT_FALSE(std::async(std::launch::async, [&] { return canvas.TryLock(); }).get());
    canvas.Unlock();
    canvas.Unlock();
    EXPECT_EQ(canvas.LockCount(), 0);
    EXPECT_TRUE(std::async(std::launch::async, [&] {
        const bool locked = canvas.TryLock();
        if (locked) canvas.Unlock();
        return locked;
    }).get());
}

TEST(TCanvas, SetFontCopiesTheGivenFont) {
    TCanvas canvas;
    TFont font;
    font.SetName("Arial");
    font.SetColor(clRed);
    canvas.SetFont(&font);
    EXPECT_EQ(canvas.Font()->Name(), "Arial");
    EXPECT_EQ(canvas.Font()->Color(), clRed);
    EXPECT_NE(canvas.Font(), &font);
}
