// The progress bar: range, position and step, drawn as blocks or as a smooth bar in a sunken frame.
#include "platform/user/controls/ProgressBar.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Input.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControlsPaint.h"
#include "platform/user/controls/ControlsCommon.h"

#include <algorithm>

namespace korvex::user {

namespace {

struct ProgressState {
    int Min = 0;
    int Max = 100;
    int Pos = 0;
    int Step = 10;
    COLORREF Bar = CLR_DEFAULT;
    COLORREF Back = CLR_DEFAULT;
};

int Clamp(const ProgressState* s, long long value) {
    long long low = std::min(s->Min, s->Max), high = std::max(s->Min, s->Max);
    return int(std::clamp(value, low, high));
}

// Sets the position; repaints when it changed. Returns the old position.
int SetPos(HWND hwnd, ProgressState* s, long long value) {
    int old = s->Pos;
    s->Pos = Clamp(s, value);
    if (s->Pos != old) InvalidateRect(hwnd, nullptr, true);
    return old;
}

void SetRange(HWND hwnd, ProgressState* s, int min, int max) {
    s->Min = min;
    s->Max = max;
    s->Pos = Clamp(s, s->Pos);
    InvalidateRect(hwnd, nullptr, true);
}

COLORREF ColorOr(COLORREF color, int sysIndex) {
    return color == CLR_DEFAULT ? gdi::GetSysColor(sysIndex) : color;
}

void Paint(HWND hwnd, HDC dc, ProgressState* s) {
    RECT r = ClientRect(hwnd);
    gdi::DrawEdge(dc, &r, gdi::BDR_SUNKENOUTER, gdi::BF_RECT | gdi::BF_ADJUST);
    comctl::FillColor(dc, r, ColorOr(s->Back, gdi::COLOR_BTNFACE));
    gdi::InflateRect(&r, -1, -1);
    if (r.right <= r.left || r.bottom <= r.top) return;
    DWORD style = GetWindowStyle(hwnd);
    bool vertical = (style & PBS_VERTICAL) != 0;
    int length = vertical ? r.bottom - r.top : r.right - r.left;
    int fill = ProgressFillLength(s->Min, s->Max, s->Pos, length);
    if (fill <= 0) return;
    COLORREF bar = ColorOr(s->Bar, gdi::COLOR_HIGHLIGHT);
    if (style & PBS_SMOOTH) {
        RECT f = vertical ? RECT {r.left, r.bottom - fill, r.right, r.bottom}
                          : RECT {r.left, r.top, r.left + fill, r.bottom};
        comctl::FillColor(dc, f, bar);
        return;
    }
    // Blocks two thirds of the bar's thickness long with a gap of two pixels; the last block may be cut.
    int thickness = vertical ? r.right - r.left : r.bottom - r.top;
    int block = std::max(2, thickness * 2 / 3);
    for (int at = 0; at < fill; at += block + 2) {
        int end = std::min(at + block, fill);
        RECT f = vertical ? RECT {r.left, r.bottom - end, r.right, r.bottom - at}
                          : RECT {r.left + at, r.top, r.left + end, r.bottom};
        comctl::FillColor(dc, f, bar);
    }
}

LRESULT ProgressProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    ProgressState* s = ControlPrologue<ProgressState>(hwnd, msg, wParam, lParam, result);
    if (!s) return result;
    if (const std::optional<LRESULT> painted = PaintMessage(hwnd, msg, wParam, [&](HDC dc) { Paint(hwnd, dc, s); }))
        return *painted;
    switch (msg) {
    case PBM_SETRANGE: {
        LRESULT old = LRESULT(MAKELONG(WORD(s->Min), WORD(s->Max)));
        SetRange(hwnd, s, LOWORD(std::uintptr_t(lParam)), HIWORD(std::uintptr_t(lParam)));
        return old;
    }
    case PBM_SETRANGE32: {
        LRESULT old = LRESULT(MAKELONG(WORD(s->Min), WORD(s->Max)));
        SetRange(hwnd, s, int(std::intptr_t(wParam)), int(lParam));
        return old;
    }
    case PBM_GETRANGE:
        if (lParam) *reinterpret_cast<PBRANGE*>(lParam) = PBRANGE {s->Min, s->Max};
        return wParam ? s->Min : s->Max;
    case PBM_SETPOS:
        return SetPos(hwnd, s, int(std::intptr_t(wParam)));
    case PBM_GETPOS:
        return s->Pos;
    case PBM_DELTAPOS:
        return SetPos(hwnd, s, static_cast<long long>(s->Pos) + int(std::intptr_t(wParam)));
    case PBM_SETSTEP: {
        int old = s->Step;
        s->Step = int(std::intptr_t(wParam));
        return old;
    }
    case PBM_GETSTEP:
        return s->Step;
    case PBM_STEPIT: {
        long long next = static_cast<long long>(s->Pos) + s->Step;
        int low = std::min(s->Min, s->Max), high = std::max(s->Min, s->Max);
        if (next > high) next = low + (next - high - 1) % (static_cast<long long>(high) - low + 1);
        if (next < low) next = high - (low - next - 1) % (static_cast<long long>(high) - low + 1);
        return SetPos(hwnd, s, next);
    }
    case PBM_SETBARCOLOR: {
        COLORREF old = s->Bar;
        s->Bar = COLORREF(lParam);
        InvalidateRect(hwnd, nullptr, true);
        return LRESULT(old);
    }
    case PBM_GETBARCOLOR:
        return LRESULT(s->Bar);
    case PBM_SETBKCOLOR: {
        COLORREF old = s->Back;
        s->Back = COLORREF(lParam);
        InvalidateRect(hwnd, nullptr, true);
        return LRESULT(old);
    }
    case PBM_GETBKCOLOR:
        return LRESULT(s->Back);
    default:
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}   // namespace

int ProgressFillLength(int min, int max, int pos, int length) {
    long long low = std::min(min, max), high = std::max(min, max);
    if (high == low || length <= 0) return 0;
    long long offset = std::clamp<long long>(pos, low, high) - low;
    return int(offset * length / (high - low));
}

bool RegisterProgressBarClass() {
    return RegisterCommonControlClass(PROGRESS_CLASS, ProgressProc, CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW);
}

}
