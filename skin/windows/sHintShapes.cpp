// The hint shapes: the rectangle, the rounded rectangle and ellipse with a pointer, the balloon with bubbles;
// their masks, shadows and outlines.
#include "skin/windows/sHintWindows.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/DeviceContext.h"
#include "skin/engine/sBitmapEffects.h"
#include "skin/engine/sBitmapUtils.h"
#include "skin/engine/sUtils.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvex::skin {

using namespace classes;

namespace {

TColor Grey(int level) {
    const int v = ClampToByte(level);
    return TColor(v | (v << 8) | (v << 16));
}

// Filled shapes without an outline.
void SolidFill(TCanvas* canvas, TColor colour) {
    canvas->Pen()->SetStyle(psClear);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(colour);
}

bool IsWhite(const std::uint8_t* px) {
    return px[0] + px[1] + px[2] >= 765;
}

}   // namespace

// ---- Shared by the pointed shapes ----------------------------------------------------------------------

void TsCustomHintWindow::DrawBodyShape(TBitmap* bmp, const TRect& body, int inset, TColor grey) {
    TCanvas* canvas = bmp->Canvas();
    SolidFill(canvas, grey);
    canvas->Rectangle(body.left + inset, body.top + inset, body.right - inset + 1, body.bottom - inset + 1);
}

void TsCustomHintWindow::DrawPointer(TBitmap* bmp, const TRect& body, int inset, TColor grey) const {
    const int w = body.right - body.left;
    const int h = body.bottom - body.top;
    // Each shadow step keeps the tip, narrows by its inset and stays on the body's centre line.
    const int d = std::max(w / 8 - inset, 0);
    const int cx = body.left + w / 2;
    const int y = IsBelowPointer() ? body.top + h / 2 : body.bottom - h / 2;
    TPoint tip = PointerCornerPoint();
    tip.x += body.left - ShapedBodyRect().left;
    tip.y += body.top - ShapedBodyRect().top;
    const TPoint points[] = {tip, Point(cx - d, y), Point(cx + d, y)};
    TCanvas* canvas = bmp->Canvas();
    SolidFill(canvas, grey);
    canvas->Polygon(points);
}

std::unique_ptr<TBitmap> TsCustomHintWindow::PointedShapeMask() {
    auto mask = NewMask();
    const int q = MaskTransparency() * 255 / 100;
    const TColor grey = Grey(2 * q - 255);   // black up to half transparent
    TRect body {};
    GetBodyRect(body);
    DrawBodyShape(mask.get(), body, 0, grey);
    DrawPointer(mask.get(), body, 0, grey);
    return mask;
}

void TsCustomHintWindow::PaintPointedShadow(TBitmap* bmp) {
    TsHintKind* kind = Kind();
    auto mask = NewMask();
    TRect body {};
    GetBodyRect(body);
    const int offset = kind->ShadowOffset();
    body = Rect(body.left + offset, body.top + offset, body.right + offset, body.bottom + offset);
    const int blur = std::max(kind->ShadowBlur(), 0);
    const int st = ShadowLevel() * 255 / 100;
    for (int i = 0; i <= blur; ++i) {
        const TColor grey = Grey(st + int(std::lround(double(blur - i) * (255 - st) / (blur + 1))));
        DrawBodyShape(mask.get(), body, i, grey);
        DrawPointer(mask.get(), body, i, grey);
    }
    TintBitmap(bmp, mask.get(), clBlack);
}

void TsCustomHintWindow::PaintShapeOutline(TBitmap* bmp) {
    if (UsesSkin() || Kind()->BevelWidth() <= 0) return;
    const std::unique_ptr<TBitmap> mask = MakeShapeMask();
    if (mask != nullptr) OutlineShape(bmp, mask.get());
}

void TsCustomHintWindow::OutlineShape(TBitmap* bmp, const TBitmap* mask) const {
    const int w = std::min(bmp->Width(), mask->Width());
    const int h = std::min(bmp->Height(), mask->Height());
    if (bmp->PixelFormat() != pf24bit || mask->PixelFormat() != pf24bit) return;
    const TColor top = ColorToRGB(Kind()->ColorBorderTop());
    const TColor bottom = ColorToRGB(Kind()->ColorBorderBottom());
    auto maskAt = [&](int x, int y) { return mask->ScanLine(y) + 3 * x; };
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = bmp->ScanLine(y);
        for (int x = 0; x < w; ++x) {
            if (IsWhite(maskAt(x, y))) continue;
            TColor colour = -1;
            if (x == 0 || y == 0 || IsWhite(maskAt(x - 1, y)) || IsWhite(maskAt(x, y - 1))) {
                colour = top;
            } else if (x == w - 1 || y == h - 1 || IsWhite(maskAt(x + 1, y)) || IsWhite(maskAt(x, y + 1))) {
                colour = bottom;
            }
            if (colour == -1) continue;
            row[3 * x] = std::uint8_t(colour >> 16);
            row[3 * x + 1] = std::uint8_t(colour >> 8);
            row[3 * x + 2] = std::uint8_t(colour);
        }
    }
}

// ---- TsSimplyHintWindow --------------------------------------------------------------------------------

TsSimplyHintWindow::TsSimplyHintWindow(TComponent* owner)
    : TsCustomHintWindow(owner) {
}

TClass TsSimplyHintWindow::StaticClass() {
    static const TClassInfo info = MakeClass<TsSimplyHintWindow, TsCustomHintWindow>("TsSimplyHintWindow");
    return &info;
}

void TsSimplyHintWindow::GetMousePosition(TPoint& p) {
    TsCustomHintWindow::GetMousePosition(p);
    if (!UsesSkin()) p.y += 16;
}

void TsSimplyHintWindow::PaintShadow(TBitmap* bmp) {
    if (UsesSkin()) return;
    const int s = ShadowSpace();
    PaintBlurredRect(bmp, Rect(s, s, Width(), Height()), ShadowLevel(), clBlack, Kind()->ShadowBlur(), 0);
}

std::unique_ptr<TBitmap> TsSimplyHintWindow::MakeShapeMask() {
    if (UsesSkin()) return SkinShapeMask();
    auto mask = NewMask();
    TRect body {};
    GetBodyRect(body);
    TCanvas* canvas = mask->Canvas();
    SolidFill(canvas, clBlack);
    canvas->FillRect(body);
    return mask;
}

void TsSimplyHintWindow::PaintBorder(TBitmap* bmp) {
    if (UsesSkin() || Kind()->BevelWidth() <= 0) return;
    TRect body {};
    GetBodyRect(body);
    int width = Kind()->BevelWidth();
    PaintFrame3D(bmp->Canvas()->Handle(), body, ColorToRGB(Kind()->ColorBorderTop()),
        ColorToRGB(Kind()->ColorBorderBottom()), width);
}

TRect TsSimplyHintWindow::BackgroundRect() {
    TRect body {};
    GetBodyRect(body);
    return body;
}

// ---- TsComicsHintWindow, TsEllipseHintWindow ----------------------------------------------------------

void TsPlainShapeHintWindow::AddShapeSize(int& width, int& height) {
    if (FShape == TBodyShape::RoundRect)
        AddPointerBand(width, height);
    else
        AddEllipseSize(width, height);
}

void TsPlainShapeHintWindow::DrawBodyShape(TBitmap* bmp, const TRect& body, int inset, TColor grey) {
    TCanvas* canvas = bmp->Canvas();
    SolidFill(canvas, grey);
    if (FShape == TBodyShape::RoundRect) {
        const int radius = Kind()->Radius();
        canvas->RoundRect(
            body.left + inset, body.top + inset, body.right - inset + 1, body.bottom - inset + 1, radius, radius);
    } else {
        canvas->Ellipse(body.left + inset, body.top + inset, body.right - inset + 1, body.bottom - inset + 1);
    }
}

TsComicsHintWindow::TsComicsHintWindow(TComponent* owner)
    : TsPlainShapeHintWindow(owner, TBodyShape::RoundRect) {
}

TClass TsComicsHintWindow::StaticClass() {
    static const TClassInfo info = MakeClass<TsComicsHintWindow, TsCustomHintWindow>("TsComicsHintWindow");
    return &info;
}

TsEllipseHintWindow::TsEllipseHintWindow(TComponent* owner)
    : TsPlainShapeHintWindow(owner, TBodyShape::Ellipse) {
}

TClass TsEllipseHintWindow::StaticClass() {
    static const TClassInfo info = MakeClass<TsEllipseHintWindow, TsCustomHintWindow>("TsEllipseHintWindow");
    return &info;
}

// ---- TsBalloonHintWindow -------------------------------------------------------------------------------

TsBalloonHintWindow::TsBalloonHintWindow(TComponent* owner)
    : TsCustomHintWindow(owner) {
}

TClass TsBalloonHintWindow::StaticClass() {
    static const TClassInfo info = MakeClass<TsBalloonHintWindow, TsCustomHintWindow>("TsBalloonHintWindow");
    return &info;
}

void TsBalloonHintWindow::AddShapeSize(int& width, int& height) {
    AddEllipseSize(width, height);
}

std::unique_ptr<TBitmap> TsBalloonHintWindow::MakeShapeMask() {
    return UsesSkin() ? SkinShapeMask() : BalloonShape(false);
}

void TsBalloonHintWindow::PaintShadow(TBitmap* bmp) {
    if (UsesSkin()) return;
    const std::unique_ptr<TBitmap> shape = BalloonShape(true);
    auto mask = NewMask();
    const int so = Kind()->ShadowOffset();
    mask->Canvas()->Draw(so, so, shape.get());
    TintBitmap(bmp, mask.get(), clBlack);
}

std::vector<TRect> TsBalloonHintWindow::BubbleRects() {
    std::vector<TRect> bubbles;
    TRect b {};
    GetBodyRect(b);
    const int n = BubbleCount;
    const int d = BubbleDivisor;
    const int w = b.right - b.left;
    const int h = b.bottom - b.top;
    if (n <= 0 || d <= 0 || w <= 0 || h <= 0) return bubbles;
    const int cx = b.left + w / 2;
    const int bw = w / d;
    const int bh = h / d;
    const int so = Kind()->ShadowOffset();
    const int hw = Height();
    // A start point and a step per pointer corner; each bubble is one step further and smaller.
    int dx = 0;
    int dy = 0;
    int x = 0;
    int y = 0;
    const int upper = h / 6 + b.top - bh;
    switch (PointerPos()) {
    case mpLeftTop:
        dx = (w / 2 - bw) / (n + 1);
        dy = upper / (n + 1);
        x = cx - bw;
        y = upper;
        break;
    case mpLeftBottom:
        dx = n > 1 ? (w / 2 - bw) / (n - 1) : 0;
        dy = n > 1 ? (b.bottom - hw) / (n - 1) : 0;
        x = cx - dx / 2;
        y = b.bottom + dy + dy / 2;
        break;
    case mpRightTop:
        dx = ((bw - (so + w) / 2) / n) * 2;
        dy = upper / (n + 1);
        x = cx + dx;
        y = upper;
        break;
    case mpRightBottom:
        // The right-top trail's step across and the left-bottom trail's step down: measured past the window
        // and below the whole body, the steps would carry the trail out of the window.
        dx = ((bw - (so + w) / 2) / n) * 2;
        dy = n > 1 ? (b.bottom - hw) / (n - 1) : 0;
        x = cx + dx / 2;
        y = b.bottom + dy + dy / 2;
        break;
    }
    for (int j = 1; j <= n; ++j) {
        x -= dx;
        y -= dy;
        bubbles.push_back(Rect(x, y, x + w / (d * j), y + h / (d * j)));
    }
    return bubbles;
}

std::unique_ptr<TBitmap> TsBalloonHintWindow::BalloonShape(bool shaded) {
    auto bmp = NewMask();
    TCanvas* canvas = bmp->Canvas();
    TRect b {};
    GetBodyRect(b);
    const int q = (shaded ? ShadowLevel() : MaskTransparency()) * 256 / 100;
    const int steps = shaded ? std::max(Kind()->ShadowBlur(), 0) + 1 : 1;
    const std::vector<TRect> bubbles = BubbleRects();
    for (int i = 0; i < steps; ++i) {
        const TColor grey = Grey(q + int(std::lround(double(steps - 1 - i) * (255 - q) / steps)));
        SolidFill(canvas, grey);
        canvas->Ellipse(b.left + i, b.top + i, b.right - i + 1, b.bottom - i + 1);
        for (const TRect& r : bubbles) {
            if (r.right - r.left > 2 * i && r.bottom - r.top > 2 * i)
                canvas->Ellipse(r.left + i, r.top + i, r.right - i + 1, r.bottom - i + 1);
        }
    }
    return bmp;
}

}
