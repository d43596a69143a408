// Device context state tests: selection, SaveDC/RestoreDC nesting, origins, deleted objects.
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/SavedDc.h"
#include "platform/gdi/SysColors.h"

#include "support/TestCanvas.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace korvex::gdi;
using namespace korvex::gdi::test;

TEST(SelectObject, ReturnsThePreviousObjectOfTheSameKind) {
    TestCanvas canvas(10, 10);
    HPEN red = CreatePen(PS_SOLID, 1, Red);
    HPEN blue = CreatePen(PS_SOLID, 1, Blue);
    HPEN stock = SelectObject(canvas, red);
    EXPECT_EQ(stock, GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(canvas, blue), red);
    EXPECT_EQ(SelectObject(canvas, stock), blue);
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_TRUE(DeleteObject(blue));
}

TEST(SelectObject, NullAndStaleHandlesAreRefused) {
    TestCanvas canvas(10, 10);
    HBRUSH brush = CreateSolidBrush(Red);
    DeleteObject(brush);
    EXPECT_EQ(SelectObject(canvas, brush), nullptr);
    EXPECT_EQ(SelectObject(canvas, static_cast<HPEN>(nullptr)), nullptr);
    EXPECT_EQ(SelectObject(nullptr, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))), nullptr);
}

TEST(SelectObject, ABitmapLivesInOneDcAtATime) {
    TestCanvas canvas(4, 4);
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, &canvas.Bits()), nullptr);
    Bitmap* second = Bitmap::Create(2, 2, PixelFormat::pf24bit);
    HBITMAP old = SelectObject(other, second);
    EXPECT_NE(old, nullptr);
    SelectObject(other, old);
    DeleteDC(other);
    DeleteObject(second);
}

TEST(DeleteObject, ASelectedObjectLivesUntilItIsDeselected) {
    TestCanvas canvas(10, 10);
    HBRUSH brush = CreateSolidBrush(Red);
    HBRUSH old = SelectObject(canvas, brush);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_TRUE(IsValidObject(brush));   // still in use
    EXPECT_TRUE(Rectangle(canvas, 0, 0, 5, 5));
    EXPECT_EQ(canvas.At(2, 2), Red);
    SelectObject(canvas, old);
    EXPECT_FALSE(IsValidObject(brush));
}

TEST(DeleteObject, StockObjectsStay) {
    HGDIOBJ pen = GetStockObject(BLACK_PEN);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(IsValidObject(pen));
    EXPECT_EQ(GetObjectType(pen), OBJ_PEN);
    EXPECT_EQ(GetObjectType(GetStockObject(NULL_BRUSH)), OBJ_BRUSH);
    EXPECT_EQ(GetStockObject(12345), nullptr);
}

TEST(SaveDC, RestoreMinusOneUndoesTheLastSave) {
    TestCanvas canvas(10, 10);
    SetTextColor(canvas, Red);
    EXPECT_EQ(SaveDC(canvas), 1);
    SetTextColor(canvas, Blue);
    SetBkMode(canvas, TRANSPARENT);
    EXPECT_TRUE(RestoreDC(canvas, -1));
    EXPECT_EQ(GetTextColor(canvas), Red);
    EXPECT_EQ(GetBkMode(canvas), OPAQUE);
    EXPECT_FALSE(RestoreDC(canvas, -1));   // nothing left to restore
}

TEST(SaveDC, RestoreToAPositiveLevelDropsTheStatesAbove) {
    TestCanvas canvas(10, 10);
    SetTextColor(canvas, RGB(1, 1, 1));
    const int first = SaveDC(canvas);
    SetTextColor(canvas, RGB(2, 2, 2));
    SaveDC(canvas);
    SetTextColor(canvas, RGB(3, 3, 3));
    EXPECT_EQ(SaveDC(canvas), 3);
    EXPECT_TRUE(RestoreDC(canvas, first));
    EXPECT_EQ(GetTextColor(canvas), RGB(1, 1, 1));
    EXPECT_FALSE(RestoreDC(canvas, 2));   // that level is gone
    EXPECT_FALSE(RestoreDC(canvas, 0));
    EXPECT_FALSE(RestoreDC(canvas, 5));
}

TEST(SaveDC, RestoresSelectedObjectsAndClip) {
    TestCanvas canvas(10, 10);
    HBRUSH red = CreateSolidBrush(Red);
    SaveDC(canvas);
    SelectObject(canvas, red);
    IntersectClipRect(canvas, 0, 0, 2, 2);
    DeleteObject(red);   // deferred: still selected
    RestoreDC(canvas, -1);
    EXPECT_FALSE(IsValidObject(red));
    EXPECT_EQ(GetCurrentObject(canvas, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    RECT box;
    EXPECT_EQ(GetClipBox(canvas, &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT {0, 0, 10, 10}));
}

TEST(SaveDC, DeletingADcWithSavedStatesReleasesEverything) {
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, Red);
    SelectObject(dc, pen);
    SaveDC(dc);
    SaveDC(dc);
    DeleteObject(pen);
    EXPECT_TRUE(IsValidObject(pen));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(IsValidObject(pen));
    EXPECT_FALSE(DeleteDC(dc));   // already gone
}

TEST(Origins, WindowAndViewportOriginsMoveDrawing) {
    TestCanvas canvas(20, 20);
    POINT previous {};
    SetWindowOrgEx(canvas, 5, 5, &previous);
    EXPECT_EQ(previous, (POINT {0, 0}));
    SetViewportOrgEx(canvas, 2, 0, nullptr);
    // Logical (5, 5) lands at device (2, 0).
    SetPixel(canvas, 5, 5, Red);
    EXPECT_EQ(canvas.At(2, 0), Red);
    EXPECT_EQ(GetPixel(canvas, 5, 5), Red);
    POINT p {5, 5};
    LPtoDP(canvas, &p, 1);
    EXPECT_EQ(p, (POINT {2, 0}));
    DPtoLP(canvas, &p, 1);
    EXPECT_EQ(p, (POINT {5, 5}));
}

TEST(Pixels, GetPixelOutsideTheSurfaceOrClipIsInvalid) {
    TestCanvas canvas(4, 4);
    EXPECT_EQ(GetPixel(canvas, -1, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(canvas, 4, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(canvas, 3, 3), White);
    IntersectClipRect(canvas, 0, 0, 2, 2);
    EXPECT_EQ(GetPixel(canvas, 3, 3), CLR_INVALID);
    EXPECT_EQ(SetPixel(canvas, 3, 3, Red), CLR_INVALID);
    EXPECT_EQ(canvas.At(3, 3), White);
    EXPECT_EQ(SetPixel(canvas, 1, 1, Red), Red);
}

TEST(Pixels, NewMemoryDcHasNothingToDrawOn) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SetPixel(dc, 0, 0, Red), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    RECT r {0, 0, 5, 5};
    EXPECT_TRUE(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    DeleteDC(dc);
}

TEST(Pixels, SystemColourValuesAreResolved) {
    TestCanvas canvas(4, 4);
    SetPixel(canvas, 0, 0, 0xFF000000u | COLOR_BTNFACE);
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ResolveSysColor(0xFF000010u), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(ResolveSysColor(0x1FFFFFFFu), 0x1FFFFFFFu);   // "no colour" passes through
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(99), 0u);
}

TEST(DcCalls, NullDcFailsEverywhere) {
    RECT r {0, 0, 1, 1};
    EXPECT_EQ(SetTextColor(nullptr, Red), CLR_INVALID);
    EXPECT_EQ(SetBkMode(nullptr, OPAQUE), 0);
    EXPECT_EQ(SaveDC(nullptr), 0);
    EXPECT_FALSE(RestoreDC(nullptr, -1));
    EXPECT_FALSE(FillRect(nullptr, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_FALSE(Rectangle(nullptr, 0, 0, 1, 1));
    EXPECT_FALSE(LineTo(nullptr, 1, 1));
    EXPECT_EQ(IntersectClipRect(nullptr, 0, 0, 1, 1), ERROR);
    EXPECT_FALSE(DeleteDC(nullptr));
}

TEST(SurfaceDc, DrawsAtItsOriginInsideTheSystemClip) {
    Bitmap* store = Bitmap::Create(20, 20, PixelFormat::pf32bit);
    store->Fill(White);
    const BandedRegion visible(RECT {5, 5, 15, 15});
    HDC dc = CreateSurfaceDC(store, POINT {5, 5}, &visible);
    HBRUSH red = CreateSolidBrush(Red);
    RECT all {-10, -10, 30, 30};
    FillRect(dc, &all, red);
    EXPECT_EQ(store->PixelAt(5, 5), Red);
    EXPECT_EQ(store->PixelAt(14, 14), Red);
    EXPECT_EQ(store->PixelAt(4, 4), White);
    EXPECT_EQ(store->PixelAt(15, 15), White);
    RECT box;
    GetClipBox(dc, &box);
    EXPECT_EQ(box, (RECT {0, 0, 10, 10}));
    EXPECT_EQ(SelectObject(dc, store), nullptr);   // no bitmaps in surface DCs
    DeleteDC(dc);
    DeleteObject(red);
    DeleteObject(store);
}

TEST(StockFont, NewDcHasAFontSelected) {
    TestCanvas canvas(4, 4);
    EXPECT_NE(GetCurrentObject(canvas, OBJ_FONT), nullptr);
}

TEST(GetDeviceCaps, DescribesTheSurface) {
    TestCanvas canvas(7, 5, PixelFormat::pf24bit);
    EXPECT_EQ(GetDeviceCaps(canvas, TECHNOLOGY), DT_RASDISPLAY);
    EXPECT_EQ(GetDeviceCaps(canvas, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(canvas, BITSPIXEL), 24);
    EXPECT_EQ(GetDeviceCaps(canvas, HORZRES), 7);
    EXPECT_EQ(GetDeviceCaps(canvas, VERTRES), 5);
    EXPECT_EQ(GetDeviceCaps(canvas, 12345), 0);
    EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSY), 0);
}

TEST(SavedDc, RestoresTheStateAtTheEndOfItsScope) {
    TestCanvas canvas(10, 10);
    SetTextColor(canvas, Red);
    {
        SavedDc saved(canvas);
        EXPECT_EQ(saved.Level(), 1);
        SetTextColor(canvas, Blue);
        IntersectClipRect(canvas, 0, 0, 2, 2);
    }
    EXPECT_EQ(GetTextColor(canvas), Red);
    RECT box {};
    GetClipBox(canvas, &box);
    EXPECT_EQ(box.right, 10);
    EXPECT_EQ(SaveDC(canvas), 1);   // nothing left saved by the guard
}

TEST(SavedDc, RestoresWhenAnExceptionLeavesTheScope) {
    TestCanvas canvas(10, 10);
    SetBkMode(canvas, OPAQUE);
    EXPECT_THROW(
        {
            SavedDc saved(canvas);
            SetBkMode(canvas, TRANSPARENT);
            throw std::runtime_error("paint failed");
        },
        std::runtime_error);
    EXPECT_EQ(GetBkMode(canvas), OPAQUE);
}

TEST(SavedDc, NestedGuardsRestoreTheirOwnLevelsAndANullDcIsLeftAlone) {
    TestCanvas canvas(10, 10);
    SetTextColor(canvas, RGB(1, 1, 1));
    {
        SavedDc outer(canvas);
        SetTextColor(canvas, RGB(2, 2, 2));
        {
            SavedDc inner(canvas);
            EXPECT_EQ(inner.Level(), 2);
            SetTextColor(canvas, RGB(3, 3, 3));
        }
        EXPECT_EQ(GetTextColor(canvas), RGB(2, 2, 2));
    }
    EXPECT_EQ(GetTextColor(canvas), RGB(1, 1, 1));
    SavedDc none(nullptr);
    EXPECT_EQ(none.Level(), 0);
}

TEST(SavedDc, AnEarlyRestoreGivesTheStateBackOnce) {
    TestCanvas canvas(10, 10);
    SetTextColor(canvas, Red);
    {
        SavedDc saved(canvas);
        SetTextColor(canvas, Blue);
        saved.Restore();
        EXPECT_EQ(GetTextColor(canvas), Red);
        EXPECT_EQ(saved.Level(), 0);
        SetTextColor(canvas, Green);   // after the early restore: kept, the scope's end restores nothing
    }
    EXPECT_EQ(GetTextColor(canvas), Green);
}
