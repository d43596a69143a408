// The SCROLLBAR window class: SBM_* messages, arrows and page areas with repeat, the thumb dragged, keys.
#include "platform/user/controls/ScrollBar.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Timers.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ControlsCommon.h"

namespace korvex::user {

namespace {

inline constexpr std::uintptr_t RepeatTimerId = 0x7FFE5C02;   // out of the way of a subclass's own timers

struct ScrollBarState {
    ScrollBarData Data;
    ScrollTrackState Track;
    bool Focused = false;
    bool FirstTick = false;   // the repeat timer still runs at the first, longer delay
    bool KeyScrolling = false;   // a scroll key is down: its release ends the scroll
    int Grab = 0;   // pointer offset into the thumb when it was grabbed
    POINT Cursor {};   // the pointer while a press is tracked (client coordinates)

    ScrollBarState() { Data.Max = 0; }
};

bool Vertical(HWND hwnd) {
    return (GetWindowStyle(hwnd) & SBS_VERT) != 0;
}

// The data as drawn and hit: a disabled window shows both arrows disabled and no thumb.
ScrollBarData Effective(HWND hwnd, const ScrollBarData& data) {
    ScrollBarData d = data;
    if (!IsWindowEnabled(hwnd)) d.Disabled = ESB_DISABLE_BOTH;
    return d;
}

ScrollGeometry Geometry(HWND hwnd, const ScrollBarState& s) {
    return ComputeScrollGeometry(ClientRect(hwnd), Vertical(hwnd), Effective(hwnd, s.Data),
        s.Track.ThumbTracking ? s.Data.TrackPos : s.Data.Pos);
}

int Along(HWND hwnd, POINT p) {
    return Vertical(hwnd) ? p.y : p.x;
}

void Notify(HWND hwnd, WORD code, int pos) {
    HWND parent = GetParent(hwnd);
    if (!parent) return;
    SendMessage(
        parent, Vertical(hwnd) ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, pos), reinterpret_cast<LPARAM>(hwnd));
}

bool Usable(const ScrollBarData& data, ScrollPart part) {
    if (data.Disabled == ESB_DISABLE_BOTH) return false;
    if (part == ScrollPart::Arrow1) return !(data.Disabled & ESB_DISABLE_UP);
    if (part == ScrollPart::Arrow2) return !(data.Disabled & ESB_DISABLE_DOWN);
    return data.Max > data.Min;
}

void Redraw(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, false);
}

// ---------------------------------------------------------------------------------------------------------
// Mouse tracking

void StartPress(HWND hwnd, ScrollBarState& s, POINT p) {
    if (GetWindowStyle(hwnd) & WS_TABSTOP) SetFocus(hwnd);
    if (!IsWindow(hwnd) || s.Track.Pressed != ScrollPart::None) return;
    const ScrollGeometry g = Geometry(hwnd, s);
    const ScrollPart part = ScrollPartAt(g, p);
    if (part == ScrollPart::None || !Usable(Effective(hwnd, s.Data), part)) return;
    SetCapture(hwnd);
    s.Track = ScrollTrackState {part, true, part == ScrollPart::Thumb};
    s.Cursor = p;
    Redraw(hwnd);
    if (part == ScrollPart::Thumb) {
        s.Data.TrackPos = s.Data.Pos;
        s.Grab = Along(hwnd, p) - Along(hwnd, POINT {g.Thumb.left, g.Thumb.top});
        return;
    }
    s.FirstTick = true;
    SetTimer(hwnd, RepeatTimerId, ScrollRepeatDelayMs, nullptr);
    Notify(hwnd, ScrollCodeOf(part), 0);
}

void Moved(HWND hwnd, ScrollBarState& s) {
    const ScrollGeometry g = Geometry(hwnd, s);
    if (s.Track.Pressed != ScrollPart::Thumb) {
        const bool inside = ScrollPartAt(g, s.Cursor) == s.Track.Pressed;
        if (inside != s.Track.Inside) {
            s.Track.Inside = inside;
            Redraw(hwnd);
        }
        return;
    }
    const int bandStart = Vertical(hwnd) ? g.Band.top : g.Band.left;
    const int pos = ScrollPosFromThumb(g, s.Data, Along(hwnd, s.Cursor) - s.Grab - bandStart);
    if (pos == s.Data.TrackPos) return;
    s.Data.TrackPos = pos;
    Redraw(hwnd);
    Notify(hwnd, SB_THUMBTRACK, pos);
}

// Arrows repeat while the pointer is on them; a page area while the thumb has not reached the pointer.
void Repeat(HWND hwnd, ScrollBarState& s) {
    if (s.FirstTick) {
        s.FirstTick = false;
        SetTimer(hwnd, RepeatTimerId, ScrollRepeatMs, nullptr);
    }
    if (ScrollPartAt(Geometry(hwnd, s), s.Cursor) == s.Track.Pressed) Notify(hwnd, ScrollCodeOf(s.Track.Pressed), 0);
}

void Finish(HWND hwnd, ScrollBarState& s) {
    const ScrollPart part = s.Track.Pressed;
    if (part == ScrollPart::None) return;
    KillTimer(hwnd, RepeatTimerId);
    s.Track = ScrollTrackState {};
    if (GetCapture() == hwnd) ReleaseCapture();
    Redraw(hwnd);
    if (part == ScrollPart::Thumb) Notify(hwnd, SB_THUMBPOSITION, s.Data.TrackPos);
    if (IsWindow(hwnd)) Notify(hwnd, SB_ENDSCROLL, 0);
}

// ---------------------------------------------------------------------------------------------------------
// Keys

bool KeyCode(WPARAM key, WORD& code) {
    switch (key) {
    case VK_UP:
    case VK_LEFT:
        code = SB_LINEUP;
        return true;
    case VK_DOWN:
    case VK_RIGHT:
        code = SB_LINEDOWN;
        return true;
    case VK_PRIOR:
        code = SB_PAGEUP;
        return true;
    case VK_NEXT:
        code = SB_PAGEDOWN;
        return true;
    case VK_HOME:
        code = SB_TOP;
        return true;
    case VK_END:
        code = SB_BOTTOM;
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Painting

void Paint(HWND hwnd, HDC dc, const ScrollBarState& s) {
    const ScrollGeometry g = Geometry(hwnd, s);
    const ScrollBarData data = Effective(hwnd, s.Data);
    HWND parent = GetParent(hwnd);
    auto brush = reinterpret_cast<HBRUSH>(
        parent ? SendMessage(parent, WM_CTLCOLORSCROLLBAR, WPARAM(dc), reinterpret_cast<LPARAM>(hwnd)) : 0);
    DrawScrollBar(dc, g, data, s.Track);
    // A parent's own track brush replaces the system colour where the track is not pressed.
    if (brush && brush != gdi::GetSysColorBrush(gdi::COLOR_SCROLLBAR)
        && brush != gdi::GetSysColorBrush(gdi::COLOR_BTNFACE)) {
        auto pressed = [&](ScrollPart part) { return s.Track.Pressed == part && s.Track.Inside; };
        if (!pressed(ScrollPart::Page1) && !gdi::IsRectEmpty(&g.Page1)) gdi::FillRect(dc, &g.Page1, brush);
        if (!pressed(ScrollPart::Page2) && !gdi::IsRectEmpty(&g.Page2)) gdi::FillRect(dc, &g.Page2, brush);
    }
    if (s.Focused && g.HasThumb) {
        RECT focus = g.Thumb;
        gdi::InflateRect(&focus, -2, -2);
        if (!gdi::IsRectEmpty(&focus)) gdi::DrawFocusRect(dc, &focus);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Messages

LRESULT OnCreate(HWND hwnd, const CREATESTRUCT* cs) {
    if (!cs) return 0;
    const DWORD style = DWORD(cs->style);
    const bool atStart = (style & SBS_TOPALIGN) != 0;
    const bool atEnd = (style & SBS_BOTTOMALIGN) != 0;
    if (!atStart && !atEnd) return 0;
    if (style & SBS_VERT) {
        const int w = GetSystemMetrics(SM_CXVSCROLL);
        MoveWindow(hwnd, atStart ? cs->x : cs->x + cs->cx - w, cs->y, w, cs->cy, false);
    } else {
        const int h = GetSystemMetrics(SM_CYHSCROLL);
        MoveWindow(hwnd, cs->x, atStart ? cs->y : cs->y + cs->cy - h, cs->cx, h, false);
    }
    return 0;
}

LRESULT SetInfo(HWND hwnd, ScrollBarState& s, const SCROLLINFO& info, bool redraw) {
    const ScrollBarData before = s.Data;
    ApplyScrollInfo(s.Data, info);
    const bool changed = before.Min != s.Data.Min || before.Max != s.Data.Max || before.Page != s.Data.Page
        || before.Pos != s.Data.Pos;
    if (redraw && changed) Redraw(hwnd);
    return s.Data.Pos;
}

LRESULT ScrollBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    auto* s = ControlPrologue<ScrollBarState>(hwnd, msg, wParam, lParam, result);
    if (!s) return result;
    if (const std::optional<LRESULT> painted = PaintMessage(hwnd, msg, wParam, [&](HDC dc) { Paint(hwnd, dc, *s); }))
        return *painted;
    switch (msg) {
    case WM_CREATE:
        return OnCreate(hwnd, reinterpret_cast<const CREATESTRUCT*>(lParam));
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_SIZE:
    case WM_ENABLE:
        Redraw(hwnd);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        s->Focused = msg == WM_SETFOCUS;
        Redraw(hwnd);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        StartPress(hwnd, *s, LParamToPoint(lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (s->Track.Pressed == ScrollPart::None) return 0;
        s->Cursor = LParamToPoint(lParam);
        Moved(hwnd, *s);
        return 0;
    case WM_LBUTTONUP:
        if (s->Track.Pressed == ScrollPart::None) return 0;
        s->Cursor = LParamToPoint(lParam);
        Moved(hwnd, *s);
        if (IsWindow(hwnd)) Finish(hwnd, *s);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd) Finish(hwnd, *s);
        return 0;
    case WM_TIMER:
        if (wParam != RepeatTimerId) return DefWindowProc(hwnd, msg, wParam, lParam);
        if (s->Track.Pressed == ScrollPart::None || s->Track.Pressed == ScrollPart::Thumb)
            KillTimer(hwnd, RepeatTimerId);
        else
            Repeat(hwnd, *s);
        return 0;
    case WM_KEYDOWN: {
        WORD code = 0;
        if (!KeyCode(wParam, code)) return 0;
        s->KeyScrolling = true;
        Notify(hwnd, code, 0);
        return 0;
    }
    case WM_KEYUP: {
        WORD code = 0;
        if (!KeyCode(wParam, code) || !s->KeyScrolling) return 0;
        s->KeyScrolling = false;
        Notify(hwnd, SB_ENDSCROLL, 0);
        return 0;
    }
    case SBM_SETSCROLLINFO: {
        auto* info = reinterpret_cast<const SCROLLINFO*>(lParam);
        if (!info || !IsValidScrollInfoSize(info->cbSize)) return s->Data.Pos;
        return SetInfo(hwnd, *s, *info, wParam != 0);
    }
    case SBM_GETSCROLLINFO: {
        auto* info = reinterpret_cast<SCROLLINFO*>(lParam);
        if (!info || !IsValidScrollInfoSize(info->cbSize)) return 0;
        ReadScrollInfo(s->Data, info);
        return 1;
    }
    case SBM_SETPOS: {
        const int old = s->Data.Pos;
        SCROLLINFO info;
        info.fMask = SIF_POS;
        info.nPos = int(wParam);
        SetInfo(hwnd, *s, info, lParam != 0);
        return old;
    }
    case SBM_GETPOS:
        return s->Data.Pos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
        const int old = s->Data.Pos;
        SCROLLINFO info;
        info.fMask = SIF_RANGE;
        info.nMin = int(wParam);
        info.nMax = int(lParam);
        SetInfo(hwnd, *s, info, msg == SBM_SETRANGEREDRAW);
        return old;
    }
    case SBM_GETRANGE:
        if (auto* minPos = reinterpret_cast<int*>(wParam)) *minPos = s->Data.Min;
        if (auto* maxPos = reinterpret_cast<int*>(lParam)) *maxPos = s->Data.Max;
        return 0;
    case SBM_ENABLE_ARROWS: {
        const UINT arrows = UINT(wParam) & ESB_DISABLE_BOTH;
        if (arrows == s->Data.Disabled) return 0;
        s->Data.Disabled = arrows;
        Redraw(hwnd);
        return 1;
    }
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

}   // namespace

ATOM RegisterScrollBarClass() {
    return RegisterControlClass(
        ScrollBarClassName, ScrollBarProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS);
}

}
