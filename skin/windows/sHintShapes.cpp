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

// Darkens bmp through the shadow mask; where the mask is white the screen stays exactly as it was (the tint
// kernel keeps 255/256 there, which shows as a faint box around the hint over a screen copy).
void ShadowTint(TBitmap* bmp, const TBitmap* mask) {
    const int w = std::min(bmp->Width(), mask->Width());
    const int h = std::min(bmp->Height(), mask->Height());
    std::vector<std::uint8_t> before;
    before.reserve(std::size_t(std::max(w, 0)) * std::max(h, 0) * 3);
    for (int y = 0; y < h; ++y)
        before.insert(before.end(), bmp->ScanLine(y), bmp->ScanLine(y) + 3 * w);
    TintBitmap(bmp, mask, clBlack);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = bmp->ScanLine(y);
        const std::uint8_t* m = mask->ScanLine(y);
        for (int x = 0; x < w; ++x)
            if (IsWhite(m + 3 * x)) std::copy_n(before.begin() + (std::ptrdiff_t(y) * w + x) * 3, 3, row + 3 * x);
    }
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
    ShadowTint(bmp, mask.get());
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
    ShadowTint(bmp, mask.get());
}

std::vector<TRect> TsBalloonHintWindow::BubbleRects() {
    std::vector<TRect> bubbles;
    TRect b {};
    GetBodyRect(b);
    const int n = BubbleCount;
    if (n <= 0 || b.right <= b.left || b.bottom <= b.top) return bubbles;
    const double a = (b.right - b.left) / 2.0;
    const double c = (b.bottom - b.top) / 2.0;
    const double cx = b.left + a;
    const double cy = b.top + c;
    const TPoint tip = PointerCornerPoint();
    const double vx = tip.x - cx;
    const double vy = tip.y - cy;
    const double e = std::hypot(vx / a, vy / c);
    if (e <= 1) return bubbles;   // the tip is inside the body
    // The trail runs from the body's edge in the tip's direction to the tip.
    const double px = cx + vx / e;
    const double py = cy + vy / e;
    const double length = std::hypot(tip.x - px, tip.y - py);
    const double ux = (tip.x - px) / length;
    const double uy = (tip.y - py) / length;
    // Bubbles are ellipses BubbleAspect times wider than high; along the trail one takes `along` times its
    // height. Heights fall evenly from the first bubble's to a n-th of it, with gaps between them.
    const double along = 1 / std::hypot(ux / BubbleAspect, uy);
    const double units = (n + 1) / 2.0;   // the heights' sum in first-bubble heights
    const double biggest = std::min(std::min(a, c) * 4 / std::max(BubbleDivisor, 1),
        length / (along * (units + BubbleGap * n)));
    const double gap = (length - biggest * along * units) / n;
    double t = 0;
    for (int j = 0; j < n; ++j) {
        const double height = std::max(biggest * (n - j) / n, 2.0);
        const double width = height * BubbleAspect;
        t += gap;
        const double mid = t + height * along / 2;
        t += height * along;
        const int left = int(std::lround(px + ux * mid - width / 2));
        const int top = int(std::lround(py + uy * mid - height / 2));
        bubbles.push_back(Rect(left, top, left + int(std::lround(width)), top + int(std::lround(height))));
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
