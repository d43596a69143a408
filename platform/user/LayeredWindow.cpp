// Layered windows: whole pictures with per-pixel alpha, constant alpha, and the screen capture behind them.
#include "platform/user/LayeredWindow.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/user/Screen.h"
#include "platform/user/WinPos.h"
#include "platform/user/WindowObject.h"

namespace korvex::user {

using detail::FromHandle;
using detail::WindowObject;

namespace {

void DeleteBitmap(gdi::Bitmap* bitmap) {
    gdi::DeleteObject(bitmap);
}

WindowObject* LayeredTop(HWND hwnd) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || !(w->ExStyle & WS_EX_LAYERED) || !w->Top || !w->Parent || !w->Parent->IsDesktop) return nullptr;
    return w;
}

void PresentPicture(WindowObject* w) {
    detail::TopLevelState& state = *w->Top;
    if (!state.Layered || !state.Surface || !state.SurfaceShown) return;
    if (Display* display = CurrentDisplay()) display->PresentLayered(state.Surface, *state.Layered, state.LayeredAlpha);
}

// Copies width x height pixels of the source DC's surface, from a logical point, as premultiplied 32-bit pixels.
bool TakePicture(WindowObject* w, HDC srcDc, POINT from, int width, int height, bool perPixelAlpha) {
    if (!gdi::IsValidDC(srcDc)) return false;
    const gdi::Bitmap* source = srcDc->Surface();
    if (!source || width <= 0 || height <= 0) return false;
    POINT origin = srcDc->ToSurface(from.x, from.y);
    auto& picture = w->Top->Layered;
    if (!picture || picture->Width() != width || picture->Height() != height)
        picture = {gdi::Bitmap::Create(width, height, gdi::PixelFormat::pf32bit), DeleteBitmap};
    if (!picture) return false;
    bool source32 = source->Format() == gdi::PixelFormat::pf32bit;
    int bpp = source->BytesPerPixel();
    for (int y = 0; y < height; ++y) {
        gdi::BYTE* out = picture->ScanLine(y);
        const gdi::BYTE* in = source->ScanLine(origin.y + y);
        for (int x = 0; x < width; ++x) {
            int sx = origin.x + x;
            gdi::BYTE* p = out + x * 4;
            if (!in || sx < 0 || sx >= source->Width()) {
                p[0] = p[1] = p[2] = p[3] = 0;
                continue;
            }
            const gdi::BYTE* s = in + sx * bpp;
            p[0] = s[0];
            p[1] = s[1];
            p[2] = s[2];
            p[3] = perPixelAlpha && source32 ? s[3] : 255;
        }
    }
    return true;
}

}   // namespace

bool UpdateLayeredWindow(HWND hwnd, HDC, const POINT* position, const SIZE* size, HDC srcDc, const POINT* sourcePoint,
    COLORREF, const gdi::BLENDFUNCTION* blend, DWORD flags) {
    WindowObject* w = LayeredTop(hwnd);
    if (!w || w->Top->LayeredFlags) return false;
    detail::KeepAlive hold(w);
    if (position || size) {
        UINT swp = SWP_NOZORDER | SWP_NOACTIVATE | (position ? 0 : SWP_NOMOVE) | (size ? 0 : SWP_NOSIZE);
        SetWindowPos(hwnd, nullptr, position ? position->x : 0, position ? position->y : 0, size ? size->cx : 0,
            size ? size->cy : 0, swp);
        if (!hold.Alive()) return false;
    }
    w->Top->LayeredAlpha = blend ? blend->SourceConstantAlpha : 255;
    if (srcDc) {
        bool perPixel = (flags & ULW_ALPHA) && blend && (blend->AlphaFormat & gdi::AC_SRC_ALPHA);
        POINT from = sourcePoint ? *sourcePoint : POINT {};
        if (!TakePicture(w, srcDc, from, w->Rect.right - w->Rect.left, w->Rect.bottom - w->Rect.top, perPixel))
            return false;
    }
    if (!w->Top->Layered) return srcDc == nullptr;
    detail::EnsureSurface(w);
    PresentPicture(w);
    return true;
}

bool SetLayeredWindowAttributes(HWND hwnd, COLORREF colorKey, BYTE alpha, DWORD flags) {
    WindowObject* w = LayeredTop(hwnd);
    if (!w) return false;
    w->Top->Layered.reset();
    w->Top->LayeredFlags = flags & (LWA_ALPHA | LWA_COLORKEY);
    w->Top->LayeredAlpha = (flags & LWA_ALPHA) ? alpha : 255;
    w->Top->LayeredKey = colorKey;
    if (w->Top->Store)
        detail::MarkDirty(w, gdi::BandedRegion(gdi::Bounds(0, 0, w->Top->Store->Width(), w->Top->Store->Height())));
    return true;
}

bool GetLayeredWindowAttributes(HWND hwnd, COLORREF* colorKey, BYTE* alpha, DWORD* flags) {
    WindowObject* w = LayeredTop(hwnd);
    if (!w || !w->Top->LayeredFlags) return false;
    if (colorKey) *colorKey = w->Top->LayeredKey;
    if (alpha) *alpha = w->Top->LayeredAlpha;
    if (flags) *flags = w->Top->LayeredFlags;
    return true;
}

gdi::Bitmap* CaptureScreen(const RECT& screenRect) {
    Display* display = CurrentDisplay();
    return display ? display->CaptureScreen(screenRect) : nullptr;
}

bool HasCompositor() {
    Display* display = CurrentDisplay();
    return display && display->HasCompositor();
}

}
