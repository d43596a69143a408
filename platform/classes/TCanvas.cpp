// TCanvas: lazy selection of the font, pen and brush, the drawing calls, text, pictures and the lock.
#include "platform/classes/TCanvas.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TColor.h"
#include "platform/classes/TGraphic.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/Text.h"

namespace korvex::classes {

TClass TCanvas::StaticClass() {
    static const TClassInfo info = MakeClass<TCanvas, TPersistent>("TCanvas");
    return &info;
}

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>())
    , FPen(std::make_unique<TPen>())
    , FBrush(std::make_unique<TBrush>()) {
    FFont->OnChange = [this](TObject*) { FontChanged(); };
    FPen->OnChange = [this](TObject*) { PenChanged(); };
    FBrush->OnChange = [this](TObject*) { BrushChanged(); };
}

TCanvas::~TCanvas() {
    SetHandle(nullptr);
}

// ---------------------------------------------------------------------------------------------------------
// Handle and state

gdi::HDC TCanvas::Handle() {
    RequiredState({csHandleValid});
    return FHandle;
}

void TCanvas::SetHandle(gdi::HDC value) {
    if (value == FHandle) return;
    if (FHandle) DeselectHandles();
    FHandle = value;
    FState = value ? TCanvasState {csHandleValid} : TCanvasState {};
}

void TCanvas::DeselectHandles() {
    if (FHandle && gdi::IsValidDC(FHandle)) {
        // Stock objects take the places, so the font, pen and brush handles can be freed or changed.
        if (FState.Contains(csPenValid)) gdi::SelectObject(FHandle, gdi::GetStockObject(gdi::BLACK_PEN));
        if (FState.Contains(csBrushValid)) gdi::SelectObject(FHandle, gdi::GetStockObject(gdi::HOLLOW_BRUSH));
        if (FState.Contains(csFontValid)) gdi::SelectObject(FHandle, gdi::GetStockObject(gdi::SYSTEM_FONT));
    }
    FState -= TCanvasState {csPenValid, csBrushValid, csFontValid};
}

void TCanvas::Refresh() {
    DeselectHandles();
}

bool TCanvas::RequiredState(TCanvasState required) {
    if (!FHandle) {
        CreateHandle();
        if (!FHandle) return false;
        FState.Include(csHandleValid);
    }
    if (required.Contains(csFontValid) && !FState.Contains(csFontValid)) {
        gdi::SelectObject(FHandle, FFont->Handle());
        gdi::SetTextColor(FHandle, ColorToColorRef(FFont->Color()));
        FState.Include(csFontValid);
    }
    if (required.Contains(csPenValid) && !FState.Contains(csPenValid)) {
        gdi::SelectObject(FHandle, FPen->Handle());
        gdi::SetROP2(FHandle, PenModeToRop2(FPen->Mode()));
        FState.Include(csPenValid);
    }
    if (required.Contains(csBrushValid) && !FState.Contains(csBrushValid)) {
        gdi::SelectObject(FHandle, FBrush->Handle());
        const gdi::COLORREF color = ColorToColorRef(FBrush->Color());
        if (FBrush->Style() == bsSolid) {
            gdi::SetBkColor(FHandle, color);
            gdi::SetBkMode(FHandle, gdi::OPAQUE);
        } else {
            gdi::SetBkColor(FHandle, ~color & 0x00FFFFFF);
            gdi::SetBkMode(FHandle, gdi::TRANSPARENT);
        }
        FState.Include(csBrushValid);
    }
    return true;
}

void TCanvas::FontChanged() {
    if (FState.Contains(csFontValid)) {
        FState.Exclude(csFontValid);
        if (gdi::IsValidDC(FHandle)) gdi::SelectObject(FHandle, gdi::GetStockObject(gdi::SYSTEM_FONT));
    }
}

void TCanvas::PenChanged() {
    if (FState.Contains(csPenValid)) {
        FState.Exclude(csPenValid);
        if (gdi::IsValidDC(FHandle)) gdi::SelectObject(FHandle, gdi::GetStockObject(gdi::BLACK_PEN));
    }
}

void TCanvas::BrushChanged() {
    if (FState.Contains(csBrushValid)) {
        FState.Exclude(csBrushValid);
        if (gdi::IsValidDC(FHandle)) gdi::SelectObject(FHandle, gdi::GetStockObject(gdi::HOLLOW_BRUSH));
    }
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------------------------------------
// Positions, clip and pixels

TPoint TCanvas::PenPos() {
    TPoint pos {};
    if (RequiredState({csHandleValid})) gdi::GetCurrentPositionEx(FHandle, &pos);
    return pos;
}

TRect TCanvas::ClipRect() {
    TRect rect {};
    if (RequiredState({csHandleValid})) gdi::GetClipBox(FHandle, &rect);
    return rect;
}

TColor TCanvas::Pixels(int x, int y) {
    if (!RequiredState({csHandleValid})) return -1;
    return static_cast<TColor>(gdi::GetPixel(FHandle, x, y));
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    Changing();
    if (RequiredState({csHandleValid, csPenValid})) gdi::SetPixel(FHandle, x, y, ColorToColorRef(color));
    Changed();
}

// ---------------------------------------------------------------------------------------------------------
// Lines and shapes

void TCanvas::MoveTo(int x, int y) {
    if (RequiredState({csHandleValid})) gdi::MoveToEx(FHandle, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    Changing();
    if (RequiredState({csHandleValid, csPenValid, csBrushValid})) gdi::LineTo(FHandle, x, y);
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    Changing();
    if (RequiredState({csHandleValid, csPenValid, csBrushValid}))
        gdi::Polyline(FHandle, points.data(), static_cast<int>(points.size()));
    Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    Changing();
    if (RequiredState({csHandleValid, csPenValid, csBrushValid}))
        gdi::Polygon(FHandle, points.data(), static_cast<int>(points.size()));
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Changing();
    if (RequiredState({csHandleValid, csPenValid, csBrushValid})) gdi::Rectangle(FHandle, x1, y1, x2, y2);
    Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
    Changing();
    if (RequiredState({csHandleValid, csPenValid, csBrushValid})) gdi::RoundRect(FHandle, x1, y1, x2, y2, x3, y3);
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    Changing();
    if (RequiredState({csHandleValid, csPenValid, csBrushValid})) gdi::Ellipse(FHandle, x1, y1, x2, y2);
    Changed();
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    Changing();
    if (RequiredState({csHandleValid, csPenValid, csBrushValid})) gdi::Arc(FHandle, x1, y1, x2, y2, x3, y3, x4, y4);
    Changed();
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    Changing();
    if (RequiredState({csHandleValid, csPenValid, csBrushValid})) gdi::Pie(FHandle, x1, y1, x2, y2, x3, y3, x4, y4);
    Changed();
}

void TCanvas::FillRect(const TRect& rect) {
    Changing();
    if (RequiredState({csHandleValid, csBrushValid})) gdi::FillRect(FHandle, &rect, FBrush->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
    Changing();
    if (RequiredState({csHandleValid, csBrushValid})) gdi::FrameRect(FHandle, &rect, FBrush->Handle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    Changing();
    if (RequiredState({csHandleValid, csBrushValid})) gdi::DrawFocusRect(FHandle, &rect);
    Changed();
}

// ---------------------------------------------------------------------------------------------------------
// Text

void TCanvas::TextOut(int x, int y, const std::string& text) {
    Changing();
    if (RequiredState({csHandleValid, csFontValid, csBrushValid})) {
        gdi::ExtTextOut(FHandle, x, y, FTextFlags, nullptr, text);
        MoveTo(x + TextWidth(text), y);
    }
    Changed();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const std::string& text) {
    Changing();
    if (RequiredState({csHandleValid, csFontValid, csBrushValid})) {
        gdi::UINT options = FTextFlags | gdi::ETO_CLIPPED;
        if (FBrush->Style() != bsClear) options |= gdi::ETO_OPAQUE;
        gdi::ExtTextOut(FHandle, x, y, options, &rect, text);
    }
    Changed();
}

void TCanvas::TextRect(TRect& rect, const std::string& text, gdi::UINT format) {
    Changing();
    if (RequiredState({csHandleValid, csFontValid, csBrushValid})) gdi::DrawText(FHandle, text, &rect, format);
    Changed();
}

TSize TCanvas::TextExtent(const std::string& text) {
    TSize size {};
    if (RequiredState({csHandleValid, csFontValid})) gdi::GetTextExtentPoint32(FHandle, text, &size);
    return size;
}

// ---------------------------------------------------------------------------------------------------------
// Pictures and copies

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
    if (graphic == nullptr || graphic->Empty()) return;
    StretchDraw(Bounds(x, y, graphic->Width(), graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic) {
    if (graphic == nullptr || graphic->Empty()) return;
    Changing();
    if (RequiredState({csHandleValid})) {
        gdi::SetBkColor(FHandle, ColorToColorRef(FBrush->Color()));
        gdi::SetTextColor(FHandle, ColorToColorRef(FFont->Color()));
        FState -= TCanvasState {csBrushValid, csFontValid};   // their colours were just changed
        graphic->Draw(this, rect);
    }
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source) {
    if (canvas == nullptr) return;
    Changing();
    if (RequiredState({csHandleValid, csFontValid, csBrushValid})
        && canvas->RequiredState({csHandleValid, csBrushValid}))
        gdi::StretchBlt(FHandle, dest.left, dest.top, dest.Width(), dest.Height(), canvas->FHandle, source.left,
            source.top, source.Width(), source.Height(), FCopyMode);
    Changed();
}

// ---------------------------------------------------------------------------------------------------------
// Lock

void TCanvas::Lock() {
    FLock.lock();
    ++FLockCount;
}

bool TCanvas::TryLock() {
    if (!FLock.try_lock()) return false;
    ++FLockCount;
    return true;
}

void TCanvas::Unlock() {
    --FLockCount;
    FLock.unlock();
}

}
