// TsCustomHintWindow: measuring, placing and showing a hint (layered or over a screen copy), and its body.
#include "skin/windows/sHintWindows.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TPicture.h"
#include "platform/classes/TScreen.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/Text.h"
#include "platform/user/Input.h"
#include "platform/user/LayeredWindow.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sBitmapUtils.h"
#include "skin/engine/sGradient.h"
#include "skin/engine/sPixelAccess.h"
#include "skin/engine/sRegionUtils.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sTextures.h"
#include "skin/engine/sUtils.h"
#include "skin/windows/sHtmlParse.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace korvex::skin {

using namespace classes;
using namespace user;

namespace {

inline constexpr int FadeSteps = 10;
inline constexpr int FadeStepMs = 15;
inline constexpr int MinShapedTextWidth = 50;   // ellipses and balloons narrower than this look squeezed
inline constexpr DWORD HintWindowStyleBit = 0x00000020;   // a bit of the hint window's own style range
inline constexpr UINT PlainTextFlags = gdi::DT_CENTER | gdi::DT_WORDBREAK | gdi::DT_NOPREFIX;

BYTE AlphaOfTransparency(int percent) {
    return BYTE(std::clamp(int(std::lround((100 - percent) * 2.55)), 0, 255));
}

bool IsBelow(TsMousePosition pos) {
    return pos == mpLeftTop || pos == mpRightTop;
}

}   // namespace

std::function<void(int ms)> TsCustomHintWindow::FadeStepWait
    = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };

TRect FitHintToDesktop(TPoint p, int width, int height, const TRect& desktop, TsMousePosition& pos) {
    int left = p.x;
    int top = p.y;
    if (pos == mpLeftBottom || pos == mpRightBottom) top -= height;
    if (pos == mpRightTop || pos == mpRightBottom) left -= width;
    bool below = IsBelow(pos);
    bool right = pos == mpLeftTop || pos == mpLeftBottom;
    bool fired = false;
    if (top + height > desktop.bottom) {
        top = p.y - height;
        below = false;
        fired = true;
    }
    if (top < desktop.top) {
        top = p.y;
        below = true;
        fired = true;
    }
    if (left + width > desktop.right) {
        left = p.x - width;
        right = false;
        fired = true;
    }
    if (left < desktop.left) {
        left = p.x;
        right = true;
        fired = true;
    }
    if (fired) pos = below ? (right ? mpLeftTop : mpRightTop) : (right ? mpLeftBottom : mpRightBottom);
    return Rect(left, top, left + width, top + height);
}

TsCustomHintWindow::TsCustomHintWindow(TComponent* owner)
    : THintWindow(owner) {
    SetBorderWidth(0);
    HintBlend.BlendOp = gdi::AC_SRC_OVER;
    HintBlend.BlendFlags = 0;
    HintBlend.AlphaFormat = gdi::AC_SRC_ALPHA;
}

TsCustomHintWindow::~TsCustomHintWindow() {
    *FAlive = false;
}

TClass TsCustomHintWindow::StaticClass() {
    static const TClassInfo info = MakeClass<TsCustomHintWindow, THintWindow>("TsCustomHintWindow");
    return &info;
}

void TsCustomHintWindow::CreateParams(TCreateParams& params) {
    THintWindow::CreateParams(params);
    params.Style &= ~WS_BORDER;
    params.Style |= HintWindowStyleBit;
}

void TsCustomHintWindow::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    case WM_NCPAINT:
        if (Manager() != nullptr) MakeShape();
        message.Result = 1;
        return;
    default:
        THintWindow::WndProc(message);
    }
}

// ---- Measuring -----------------------------------------------------------------------------------------

void TsCustomHintWindow::FindSkinIndexes() {
    FSkinIndex = FBorderIndex = FTextureIndex = -1;
    if (!UsesSkin() || DefaultManager == nullptr || !DefaultManager->Active()) return;
    const std::string& section = Manager()->SkinSection();
    FSkinIndex = DefaultManager->GetSkinIndex(section);
    std::string used = section;
    if (FSkinIndex < 0) {
        used = "EDIT";
        FSkinIndex = DefaultManager->GetSkinIndex(used);
    }
    FBorderIndex = DefaultManager->GetMaskIndexExact(used, "BORDERSMASK");
    FTextureIndex = DefaultManager->GetTextureIndex(FSkinIndex, used, "PATTERN");
}

int TsCustomHintWindow::SkinFrameSize(int side) const {
    if (DefaultManager == nullptr || !DefaultManager->IsValidImgIndex(FBorderIndex)) return 0;
    const auto& mask = DefaultManager->Masks[std::size_t(FBorderIndex)];
    if (mask.BorderWidth >= 1) return mask.BorderWidth;
    const int own = mask.Margins[side + 1];   // left, top, right, bottom
    if (own >= 1) return own;
    if (side == 0 || side == 2) return (mask.R.right - mask.R.left) / (3 * std::max(mask.ImageCount, 1));
    return (mask.R.bottom - mask.R.top) / (3 * std::max(mask.MaskType + 1, 1));
}

// Plain text reads right to left where the window does; its alignment stays centred.
UINT TsCustomHintWindow::ReadingFlags(UINT flags) const {
    return UseRightToLeftReading() ? flags | gdi::DT_RTLREADING : flags;
}

TRect TsCustomHintWindow::CalcHintRect(int, const std::string& text, void*) {
    TsHintKind* kind = Kind();
    if (kind == nullptr) return {};
    FindSkinIndexes();
    const bool skinned = UsesSkin();
    TRect r = Rect(0, 0, kind->MaxWidth(), 0);
    TBitmap* shared = Manager()->HintBitmap();
    TCanvas* canvas = shared->Canvas();
    canvas->Font()->Assign(skinned && Screen != nullptr ? Screen->HintFont() : kind->Font());
    if (Manager()->HTMLMode()) {
        TsHtml html;
        html.Init(shared, text, r);
        html.Render(r);
    } else {
        gdi::DrawText(canvas->Handle(), text, &r, ReadingFlags(PlainTextFlags | gdi::DT_VCENTER | gdi::DT_CALCRECT));
    }
    int w = r.right - r.left;
    int h = r.bottom - r.top;
    if (kind->Style() == hsEllipse || kind->Style() == hsBalloon) w = std::max(w, MinShapedTextWidth);
    if (skinned) {
        w += SkinFrameSize(0) + SkinFrameSize(2) + 8;
        h += SkinFrameSize(1) + SkinFrameSize(3) + 8;
    } else {
        w += 2 * (kind->MarginH() + kind->BevelWidth());
        h += 2 * (kind->MarginV() + kind->BevelWidth());
    }
    w += ShadowSpace();
    h += ShadowSpace();
    FExtraWidth = FExtraHeight = 0;
    if (!skinned) AddShapeSize(w, h);
    return Rect(0, 0, w, h);
}

void TsCustomHintWindow::AddShapeSize(int&, int&) {
}

void TsCustomHintWindow::AddPointerBand(int&, int& height) {
    height += Kind()->ExOffset();
}

void TsCustomHintWindow::AddEllipseSize(int& width, int& height) {
    // The body's box (text and margins, without the shadow and the pointer band) fits inside an ellipse
    // whose axes are its sides times the square root of 2: the text keeps its margins from the curve.
    const int s = ShadowSpace();
    const int boxWidth = width - s;
    const int boxHeight = height - s;
    AddPointerBand(width, height);
    if (boxWidth <= 0 || boxHeight <= 0) return;
    FExtraWidth = int(std::ceil(boxWidth * (std::sqrt(2.0) - 1)));
    FExtraHeight = int(std::ceil(boxHeight * (std::sqrt(2.0) - 1)));
    width += FExtraWidth;
    height += FExtraHeight;
}

// ---- Showing -------------------------------------------------------------------------------------------

void TsCustomHintWindow::GetMousePosition(TPoint& p) {
    POINT cursor {};
    GetCursorPos(&cursor);
    p = Point(cursor.x, cursor.y);
    if (UsesSkin()) p.y += 16;
}

void TsCustomHintWindow::ActivateHint(TRect rect, const std::string& text) {
    TsHintKind* kind = Kind();
    if (kind == nullptr || kind->Style() == hsNone) return;
    ++FShowing;
    // A skinned layered hint leaves its shadow to the platform; otherwise it draws its own.
    const LONG_PTR classStyle = GetClassLongPtr(Handle(), GCL_STYLE);
    SetClassLongPtr(Handle(), GCL_STYLE,
        UsesSkin() && LayeredWindowsAvailable() ? classStyle | CS_DROPSHADOW : classStyle & ~LONG_PTR(CS_DROPSHADOW));
    SetCaption(text);
    TPoint p {};
    if (AnchorPoint.x != 0 && AnchorPoint.y != 0) {
        p = AnchorPoint;
    } else {
        GetMousePosition(p);
    }
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    FPointerPos = Manager()->DefaultMousePos();
    const TRect desktop = Rect(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
        GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
        GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN));
    const TRect r = FitHintToDesktop(p, w, h, desktop, FPointerPos);
    // A window shown the other way to the screen before is made again: its surface was made for that way.
    const bool layered = LayeredWindowsAvailable();
    if (HandleAllocated() && ((GetWindowLong(WindowHandle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0) != layered)
        DestroyHandle();
    SetBounds(r.left, r.top, w, h);
    Manager()->HintBitmap()->SetSize(w, h);
    FMask.reset();
    if (layered) {
        ShowLayered(r);
    } else {
        ShowScreenCopy(r);
    }
}

void TsCustomHintWindow::ShowLayered(const TRect& r) {
    const HWND hwnd = Handle();
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    SetWindowPos(hwnd, HWND_TOPMOST, r.left, r.top, w, h, SWP_NOACTIVATE);
    BuildLayeredImage();
    FShownLayered = true;
    HDC screen = GetDC(nullptr);
    const base::ScopeExit releaseScreen([&] {
        if (screen != nullptr) ReleaseDC(nullptr, screen);
    });
    SetWindowLong(hwnd, GWL_EXSTYLE, GetWindowLong(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    const SIZE size {w, h};
    const POINT origin {0, 0};
    HDC source = FLayered->Canvas()->Handle();
    auto update = [&] {
        UpdateLayeredWindow(hwnd, screen, nullptr, &size, source, &origin, 0x1FFFFFFF, &HintBlend, ULW_ALPHA);
    };
    update();
    if (!Manager()->Animated() || !IsWindowsXPOrLater()) {
        HintBlend.SourceConstantAlpha = AlphaOfTransparency(Kind()->Transparency());
        update();
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        return;
    }
    int transparency = Kind()->Transparency();
    if (UsesSkin() && DefaultManager->IsValidSkinIndex(FSkinIndex))
        transparency = DefaultManager->Sections[std::size_t(FSkinIndex)].Transparency;
    if (ComponentState().Contains(csDestroying)) return;
    const double target = std::lround((100 - transparency) * 2.55);
    const double step = target / FadeSteps;
    HintBlend.SourceConstantAlpha = 0;
    update();
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_NOERASE);
    // Messages and waits may hide or free the window, or start another hint in it: check before each step.
    const std::weak_ptr<bool> alive = FAlive;
    const unsigned showing = FShowing;
    auto stillOurs = [&] {
        return !alive.expired() && IsWindow(hwnd) && FShowing == showing && HandleAllocated() && WindowHandle() == hwnd;
    };
    if (Application != nullptr) Application->ProcessMessages();
    double accumulated = 0;
    for (int i = 0; i < FadeSteps; ++i) {
        if (!stillOurs()) return;   // only locals are touched on the way out
        accumulated += step;
        HintBlend.SourceConstantAlpha = BYTE(std::clamp(int(std::lround(accumulated)), 0, 255));
        update();
        if (FadeStepWait) FadeStepWait(FadeStepMs);
    }
}

void TsCustomHintWindow::ShowScreenCopy(const TRect& r) {
    FShownLayered = false;
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        ShowError("GDI error (out of resources)");
        return;
    }
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    {
        const base::ScopeExit releaseScreen([&] { ReleaseDC(nullptr, screen); });
        if (FScreenCopy == nullptr) FScreenCopy = NewBitmap24(w, h);
        FScreenCopy->SetSize(w, h);
        gdi::BitBlt(FScreenCopy->Canvas()->Handle(), 0, 0, w, h, screen, r.left, r.top, gdi::SRCCOPY);
    }
    Manager()->HintBitmap()->Canvas()->Draw(0, 0, FScreenCopy.get());
    SetWindowPos(Handle(), HWND_TOPMOST, r.left, r.top, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Invalidate();
}

void TsCustomHintWindow::ReleaseHandle() {
    ++FShowing;
    FShownLayered = false;
    FHasRegion = false;
    THintWindow::ReleaseHandle();
}

// ---- Painting ------------------------------------------------------------------------------------------

void TsCustomHintWindow::Paint() {
    if (Manager() == nullptr || FShownLayered) return;
    TBitmap* shared = Manager()->HintBitmap();
    // Each paint starts again from the screen under the hint, so repaints do not darken the shadow twice.
    if (FScreenCopy != nullptr && FScreenCopy->Width() == shared->Width() && FScreenCopy->Height() == shared->Height())
        shared->Canvas()->Draw(0, 0, FScreenCopy.get());
    if (Kind()->ShadowEnabled()) PaintShadow(shared);
    FBody = RenderBody();
    if (FMask == nullptr) MakeShape();
    if (FBody != nullptr && FMask != nullptr) BlendThroughMask(shared, FBody.get(), FMask.get(), ClientRect());
    Canvas()->Draw(0, 0, shared);
    FBody.reset();
    FMask.reset();
}

void TsCustomHintWindow::MakeShape() {
    FMask = MakeShapeMask();
    if (!HandleAllocated()) return;
    if (FMask != nullptr && UsesSkin()) {
        gdi::HRGN region = nullptr;
        RegionFromBitmap(region, FMask.get());
        SetWindowRgn(WindowHandle(), region, false);   // the window owns it now
        FHasRegion = true;
    } else if (FHasRegion) {
        SetWindowRgn(WindowHandle(), nullptr, false);
        FHasRegion = false;
    }
}

void TsCustomHintWindow::BuildLayeredImage() {
    HintBlend.SourceConstantAlpha = AlphaOfTransparency(Kind()->Transparency());
    TBitmap* shared = Manager()->HintBitmap();
    const int w = shared->Width();
    const int h = shared->Height();
    FLayered = NewBitmap32(w, h);
    {
        const base::ValueRollback layeredPass(FLayeredPass, true);
        MakeShape();
        FBody = RenderBody();
    }
    FillRectSolid(shared, Rect(0, 0, w, h), clWhite);
    if (Kind()->ShadowEnabled()) PaintShadow(shared);
    TacFast32 out;
    if (FMask == nullptr || FBody == nullptr || !out.Attach(FLayered.get())) {
        FBody.reset();
        FMask.reset();
        return;
    }
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* mask = FMask->ScanLine(y);
        const std::uint8_t* back = shared->ScanLine(y);
        const std::uint8_t* body = FBody->ScanLine(y);
        for (int x = 0; x < w; ++x) {
            const int i = 3 * x;
            if (mask[i + 2] == 255) {
                out.SetPixelAlpha(x, y, 0, std::uint8_t(255 - back[i + 2]));   // the shadow's darkness
            } else {
                out.SetPixelAlpha(x, y, TColor(body[i + 2] | (body[i + 1] << 8) | (body[i] << 16)), 255);
            }
        }
    }
    FBody.reset();
    FMask.reset();
}

// ---- The body ------------------------------------------------------------------------------------------

int TsCustomHintWindow::ShadowSpace() const {
    return Kind() != nullptr && Kind()->ShadowEnabled() ? Kind()->ShadowOffset() : 0;
}

int TsCustomHintWindow::ShadowLevel() const {
    return CombinePercents(std::max(Kind()->Transparency(), 0), Kind()->ShadowTransparency());
}

int TsCustomHintWindow::MaskTransparency() const {
    return FLayeredPass ? 0 : std::max(Kind()->Transparency(), 0);
}

TPoint TsCustomHintWindow::PointerCornerPoint() const {
    switch (FPointerPos) {
    case mpLeftTop:
        return Point(3, 3);
    case mpLeftBottom:
        return Point(3, Height() - 3);
    case mpRightTop:
        return Point(Width() - 3, 3);
    case mpRightBottom:
        break;
    }
    return Point(Width() - 3, Height() - 3);
}

TRect TsCustomHintWindow::BaseBodyRect() const {
    const int s = ShadowSpace();
    return Rect(0, 0, Width() - s, Height() - s);
}

TRect TsCustomHintWindow::ShapedBodyRect() const {
    const int s = ShadowSpace();
    if (IsBelow(FPointerPos)) return Rect(0, Kind()->ExOffset(), Width() - s, Height() - s);
    return Rect(0, 0, Width() - s, Height() - s - Kind()->ExOffset());
}

void TsCustomHintWindow::GetBodyRect(TRect& r) {
    r = HasPointer() && !UsesSkin() ? ShapedBodyRect() : BaseBodyRect();
}

TRect TsCustomHintWindow::BackgroundRect() {
    return ClientRect();
}

std::unique_ptr<TBitmap> TsCustomHintWindow::NewMask() const {
    auto mask = NewBitmap24Like(Manager()->HintBitmap());
    FillRectSolid(mask.get(), Rect(0, 0, mask->Width(), mask->Height()), clWhite);
    return mask;
}

std::unique_ptr<TBitmap> TsCustomHintWindow::MakeShapeMask() {
    if (!UsesSkin()) return HasPointer() ? PointedShapeMask() : nullptr;
    return SkinShapeMask();
}

std::unique_ptr<TBitmap> TsCustomHintWindow::SkinShapeMask() {
    if (DefaultManager == nullptr) return nullptr;
    // The section painted with a key colour for what shows through: the key is outside, the rest inside.
    auto mask = NewBitmap24Like(Manager()->HintBitmap());
    const TColor key = ColorToRGB(TColor(0xFF00FF)) - 1;
    TsParentCacheInfo holes;
    holes.ParentColor = key;
    PaintSectionByMask(FSkinIndex, FBorderIndex, FTextureIndex, -1, Manager()->SkinSection(), holes, true, 0,
        ClientRect(), Point(0, 0), mask.get(), DefaultManager);
    for (int y = 0; y < mask->Height(); ++y) {
        std::uint8_t* row = mask->ScanLine(y);
        for (int x = 0; x < mask->Width(); ++x) {
            std::uint8_t* px = row + 3 * x;
            const TColor c = TColor(px[2] | (px[1] << 8) | (px[0] << 16));
            const std::uint8_t v = c == key ? 255 : 0;
            px[0] = px[1] = px[2] = v;
        }
    }
    return mask;
}

std::unique_ptr<TBitmap> TsCustomHintWindow::RenderBody() {
    TBitmap* shared = Manager()->HintBitmap();
    auto body = NewBitmap24Like(shared);
    if (UsesSkin() && DefaultManager != nullptr) {
        TsParentCacheInfo ci;
        FillCacheInfo(ci, shared, 0, 0);
        PaintSectionByMask(FSkinIndex, FBorderIndex, FTextureIndex, -1, Manager()->SkinSection(), ci, true, 0,
            ClientRect(), Point(0, 0), body.get(), DefaultManager);
        PaintText(body.get());
        return body;
    }
    PaintBackground(body.get(), BackgroundRect());
    PaintText(body.get());
    PaintBorder(body.get());
    return body;
}

void TsCustomHintWindow::PaintBackground(TBitmap* bmp, const TRect& r) {
    TsHintKind* kind = Kind();
    TsGradArray gradient;
    if (kind->GradientPercent() > 0) {
        ParseGradientData(kind->GradientData(), gradient);
        if (gradient.empty()) kind->SetGradientPercent(0);
    }
    const TColor colour = ColorToRGB(kind->Color());
    const TRect filled = Rect(r.left, r.top, r.right + 1, r.bottom + 1);
    bool textured = false;
    if (kind->TexturePercent() < 1) {
        FillRectSolid(bmp, filled, colour);
    } else {
        TileGraphic(bmp->Canvas(), r, kind->Texture()->Graphic());
        textured = true;
    }
    if (kind->GradientPercent() > 0) {
        if (textured) {
            auto band = NewBitmap24(r.right - r.left, r.bottom - r.top);
            const TRect all = Rect(0, 0, band->Width(), band->Height());
            if (gradient.empty()) {
                FillRectSolid(band.get(), all, colour);
            } else {
                PaintGradient(band.get(), all, gradient);
            }
            SumBitmapRect(bmp, band.get(), std::uint8_t(ClampToByte(kind->TexturePercent() * 256 / 100)), all,
                Point(r.left, r.top));
        } else if (gradient.empty()) {
            FillRectSolid(bmp, filled, colour);
        } else {
            PaintGradient(bmp, r, gradient);
        }
    }
    const int sum = kind->TexturePercent() + kind->GradientPercent();
    if (sum >= 1 && sum <= 99) {
        BlendRectWithColor(bmp, r, sum, colour);
    } else if (sum != 100) {
        FillRectSolid(bmp, filled, colour);
    }
}

void TsCustomHintWindow::PaintBorder(TBitmap* bmp) {
    if (HasPointer()) PaintShapeOutline(bmp);
}

TRect TsCustomHintWindow::TextRect() {
    TsHintKind* kind = Kind();
    TRect r {};
    if (kind == nullptr) return r;
    GetBodyRect(r);
    if (UsesSkin()) {
        return Rect(r.left + SkinFrameSize(0) + 4, r.top + SkinFrameSize(1) + 4, r.right - SkinFrameSize(2) - 4,
            r.bottom - SkinFrameSize(3) - 4);
    }
    const int dx = kind->MarginH() + kind->BevelWidth() + FExtraWidth / 2;
    const int dy = kind->MarginV() + kind->BevelWidth() + FExtraHeight / 2;
    return Rect(r.left + dx, r.top + dy, r.right - dx, r.bottom - dy);
}

void TsCustomHintWindow::PaintText(TBitmap* bmp) {
    TsHintKind* kind = Kind();
    TRect r = TextRect();
    const bool skinned = UsesSkin();
    TCanvas* canvas = bmp->Canvas();
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Font()->Assign(skinned && Screen != nullptr ? Screen->HintFont() : kind->Font());
    if (Manager()->HTMLMode()) {
        if (skinned && DefaultManager->IsValidSkinIndex(FSkinIndex))
            canvas->Font()->SetColor(DefaultManager->Sections[std::size_t(FSkinIndex)].FontColor[1]);
        TsHtml html;
        html.Init(bmp, Caption(), r);
        TRect measured {};
        html.Render(measured);
    } else if (skinned) {
        PaintSkinText(bmp, r);
    } else {
        gdi::SetBkMode(canvas->Handle(), gdi::TRANSPARENT);
        gdi::SetTextColor(canvas->Handle(), ColorToRGB(canvas->Font()->Color()));
        gdi::DrawText(canvas->Handle(), Caption(), &r, ReadingFlags(PlainTextFlags));
    }
}

void TsCustomHintWindow::PaintSkinText(TBitmap* bmp, TRect r) {
    DrawCaptionText(bmp->Canvas(), Caption(), true, r, gdi::DT_CENTER | gdi::DT_WORDBREAK | gdi::DT_EXPANDTABS,
        FSkinIndex, false, DefaultManager);
}

void TsCustomHintWindow::PaintShadow(TBitmap* bmp) {
    if (HasPointer() && !UsesSkin()) PaintPointedShadow(bmp);
}

}
