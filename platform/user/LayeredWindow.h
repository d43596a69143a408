// Layered windows: per-pixel alpha pictures and constant alpha for WS_EX_LAYERED top-level windows.
#pragma once

#include "platform/user/UserTypes.h"
#include "platform/user/WindowConstants.h"

namespace korvex::user {

// Takes the window's whole picture from a 32-bit source DC (premultiplied B, G, R, A with ULW_ALPHA and
// blend->AlphaFormat = AC_SRC_ALPHA; opaque otherwise) and shows it with blend->SourceConstantAlpha on top.
// position (screen) and size move and resize the window when given; sourcePoint is the top-left in the source.
// The window must be a top-level window with WS_EX_LAYERED. dstDc and colorKey are accepted and not used
// (colour keys are not supported).
bool UpdateLayeredWindow(HWND hwnd, HDC dstDc, const POINT* position, const SIZE* size, HDC srcDc,
    const POINT* sourcePoint, COLORREF colorKey, const gdi::BLENDFUNCTION* blend, DWORD flags);
// Constant alpha (LWA_ALPHA) over the window's normal painting.
bool SetLayeredWindowAttributes(HWND hwnd, COLORREF colorKey, BYTE alpha, DWORD flags);
bool GetLayeredWindowAttributes(HWND hwnd, COLORREF* colorKey, BYTE* alpha, DWORD* flags);

// The screen behind a rectangle, for windows that blend themselves over it when no compositor runs
// (nullptr when the display cannot capture). The caller deletes the bitmap (gdi::DeleteObject).
gdi::Bitmap* CaptureScreen(const RECT& screenRect);
bool HasCompositor();

}
