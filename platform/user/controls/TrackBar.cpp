// The track bar: range, position, ticks, geometry, thumb dragging, paging, keys and the scroll notifications
// (its painting is in TrackBarPaint.cpp).
#include "platform/user/controls/TrackBar.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Timers.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/TrackBarState.h"

#include <algorithm>
#include <vector>

namespace korvex::user {

namespace trackbar {

int Low(const TrackState* s) {
    return std::min(s->Min, s->Max);
}
int High(const TrackState* s) {
    return std::max(s->Min, s->Max);
}

Geometry Layout(HWND hwnd, const TrackState* s) {
    DWORD style = GetWindowStyle(hwnd);
    RECT c = ClientRect(hwnd);
    Geometry g;
    g.Vertical = (style & TBS_VERT) != 0;
    int along = g.Vertical ? c.bottom : c.right;
    int across = g.Vertical ? c.right : c.bottom;
    bool ticks = !(style & TBS_NOTICKS);
    g.TicksBefore = ticks && (style & (TBS_TOP | TBS_BOTH));
    g.TicksAfter = ticks && (!(style & TBS_TOP) || (style & TBS_BOTH));
    g.ThumbLength
        = (style & TBS_FIXEDLENGTH) ? s->ThumbLength : std::min(TrackBarDefaultThumbLength, std::max(8, across - 8));
    g.ThumbLength = std::max(1, g.ThumbLength);
    g.ThumbWidth = TrackBarThumbWidth;
    int tickArea = TrackBarTickLength + 1 + TickGap;
    int content = g.ThumbLength + tickArea * ((g.TicksBefore ? 1 : 0) + (g.TicksAfter ? 1 : 0));
    g.ThumbAcross = std::max(0, (across - content) / 2) + (g.TicksBefore ? tickArea : 0);
    g.ChannelAcross = g.ThumbAcross + (g.ThumbLength - ChannelThickness) / 2;
    g.ChannelStart = TrackBarChannelMargin;
    g.ChannelEnd = std::max(g.ChannelStart + g.ThumbWidth, along - TrackBarChannelMargin);
    return g;
}

// The thumb's start along the bar for a position.
int ThumbStartFor(const Geometry& g, const TrackState* s, int pos) {
    long long range = static_cast<long long>(High(s)) - Low(s);
    int travel = g.ChannelEnd - g.ChannelStart - g.ThumbWidth;
    if (range <= 0) return g.ChannelStart;
    return g.ChannelStart + int((static_cast<long long>(pos) - Low(s)) * travel / range);
}

// The centre of the thumb for a position: where the tick of that position stands.
int TickPixel(const Geometry& g, const TrackState* s, int pos) {
    return ThumbStartFor(g, s, pos) + g.ThumbWidth / 2;
}

RECT Oriented(const Geometry& g, int alongStart, int acrossStart, int alongEnd, int acrossEnd) {
    return g.Vertical ? RECT {acrossStart, alongStart, acrossEnd, alongEnd}
                      : RECT {alongStart, acrossStart, alongEnd, acrossEnd};
}

RECT ThumbRect(const Geometry& g, const TrackState* s) {
    int start = ThumbStartFor(g, s, s->Pos);
    return Oriented(g, start, g.ThumbAcross, start + g.ThumbWidth, g.ThumbAcross + g.ThumbLength);
}

RECT ChannelRect(const Geometry& g) {
    return Oriented(g, g.ChannelStart, g.ChannelAcross, g.ChannelEnd, g.ChannelAcross + ChannelThickness);
}

}   // namespace trackbar

using namespace trackbar;

namespace {

constexpr std::uintptr_t PageTimer = 1;

int Along(const Geometry& g, POINT p) {
    return g.Vertical ? p.y : p.x;
}

// Position for a thumb start along the bar (rounded to the nearest position).
int PosFromThumbStart(const Geometry& g, const TrackState* s, int start) {
    int travel = g.ChannelEnd - g.ChannelStart - g.ThumbWidth;
    long long range = static_cast<long long>(High(s)) - Low(s);
    if (travel <= 0 || range <= 0) return Low(s);
    long long offset = std::clamp(start - g.ChannelStart, 0, travel);
    return int(Low(s) + (offset * range + travel / 2) / travel);
}

void MakeAutoTics(HWND hwnd, TrackState* s) {
    if (!(GetWindowStyle(hwnd) & TBS_AUTOTICKS)) return;
    s->Tics.clear();
    if (s->Frequency <= 0) return;
    for (long long t = static_cast<long long>(Low(s)) + s->Frequency; t < High(s); t += s->Frequency)
        s->Tics.push_back(int(t));
}

// ---------------------------------------------------------------------------------------------------------
// Changes and notifications

void Notify(HWND hwnd, WORD code, int pos) {
    HWND parent = GetParent(hwnd);
    if (!parent) return;
    UINT msg = (GetWindowStyle(hwnd) & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
    WORD high = (code == TB_THUMBPOSITION || code == TB_THUMBTRACK) ? WORD(pos) : 0;
    SendMessage(parent, msg, MAKEWPARAM(code, high), reinterpret_cast<LPARAM>(hwnd));
}

bool SetPos(HWND hwnd, TrackState* s, long long pos) {
    int value = int(std::clamp<long long>(pos, Low(s), High(s)));
    if (value == s->Pos) return false;
    s->Pos = value;
    InvalidateRect(hwnd, nullptr, true);
    return true;
}

// A keyboard or paging move: the new position, then the code to the parent.
void Move(HWND hwnd, TrackState* s, WORD code) {
    long long pos = s->Pos;
    switch (code) {
    case TB_LINEUP:
        pos -= s->Line;
        break;
    case TB_LINEDOWN:
        pos += s->Line;
        break;
    case TB_PAGEUP:
        pos -= s->Page;
        break;
    case TB_PAGEDOWN:
        pos += s->Page;
        break;
    case TB_TOP:
        pos = Low(s);
        break;
    case TB_BOTTOM:
        pos = High(s);
        break;
    default:
        break;
    }
    SetPos(hwnd, s, pos);
    Notify(hwnd, code, s->Pos);
}

// ---------------------------------------------------------------------------------------------------------
// Mouse and keys

void PageStep(HWND hwnd, TrackState* s) {
    Geometry g = Layout(hwnd, s);
    RECT thumb = ThumbRect(g, s);
    int at = Along(g, s->PagePoint);
    int thumbStart = g.Vertical ? thumb.top : thumb.left;
    int thumbEnd = g.Vertical ? thumb.bottom : thumb.right;
    // Paging stops once the thumb has reached the pointer.
    if (s->PageDirection < 0 && at >= thumbStart) return;
    if (s->PageDirection > 0 && at < thumbEnd) return;
    Move(hwnd, s, s->PageDirection < 0 ? TB_PAGEUP : TB_PAGEDOWN);
}

void OnButtonDown(HWND hwnd, TrackState* s, POINT p) {
    if (GetFocus() != hwnd) SetFocus(hwnd);
    if (!IsWindow(hwnd) || s->Tracking != Track::None) return;
    Geometry g = Layout(hwnd, s);
    RECT thumb = ThumbRect(g, s);
    SetCapture(hwnd);
    if (!(GetWindowStyle(hwnd) & TBS_NOTHUMB) && gdi::PtInRect(&thumb, p)) {
        s->Tracking = Track::Thumb;
        s->DragOffset = Along(g, p) - (g.Vertical ? thumb.top : thumb.left);
        InvalidateRect(hwnd, &thumb, true);
        return;
    }
    s->Tracking = Track::Page;
    s->PagePoint = p;
    s->PageDirection = Along(g, p) < (g.Vertical ? thumb.top : thumb.left) ? -1 : 1;
    SetTimer(hwnd, PageTimer, TrackBarRepeatDelay, nullptr);
    PageStep(hwnd, s);
}

void OnMouseMove(HWND hwnd, TrackState* s, POINT p) {
    if (s->Tracking == Track::Page) {
        s->PagePoint = p;
        return;
    }
    if (s->Tracking != Track::Thumb) return;
    Geometry g = Layout(hwnd, s);
    int pos = PosFromThumbStart(g, s, Along(g, p) - s->DragOffset);
    if (SetPos(hwnd, s, pos)) Notify(hwnd, TB_THUMBTRACK, s->Pos);
}

void EndTracking(HWND hwnd, TrackState* s, bool released) {
    Track was = s->Tracking;
    if (was == Track::None) return;
    s->Tracking = Track::None;
    KillTimer(hwnd, PageTimer);
    if (released && GetCapture() == hwnd) ReleaseCapture();
    InvalidateRect(hwnd, nullptr, true);
    if (was == Track::Thumb) Notify(hwnd, TB_THUMBPOSITION, s->Pos);
    if (IsWindow(hwnd)) Notify(hwnd, TB_ENDTRACK, 0);
}

bool OnKeyDown(HWND hwnd, TrackState* s, WPARAM key) {
    switch (key) {
    case VK_LEFT:
    case VK_UP:
        Move(hwnd, s, TB_LINEUP);
        return true;
    case VK_RIGHT:
    case VK_DOWN:
        Move(hwnd, s, TB_LINEDOWN);
        return true;
    case VK_PRIOR:
        Move(hwnd, s, TB_PAGEUP);
        return true;
    case VK_NEXT:
        Move(hwnd, s, TB_PAGEDOWN);
        return true;
    case VK_HOME:
        Move(hwnd, s, TB_TOP);
        return true;
    case VK_END:
        Move(hwnd, s, TB_BOTTOM);
        return true;
    default:
        return false;
    }
}

// The wheel moves a line per notch: up toward Min, as the Up key does. Partial notches add up.
void OnWheel(HWND hwnd, TrackState* s, int delta) {
    s->WheelRest += delta;
    while (s->WheelRest >= WHEEL_DELTA || s->WheelRest <= -WHEEL_DELTA) {
        const bool up = s->WheelRest > 0;
        s->WheelRest += up ? -WHEEL_DELTA : WHEEL_DELTA;
        Move(hwnd, s, up ? TB_LINEUP : TB_LINEDOWN);
        s = ControlData<TrackState>(hwnd);   // the parent may have destroyed the bar
        if (!IsWindow(hwnd) || !s) return;
    }
    Notify(hwnd, TB_ENDTRACK, 0);
}

bool IsTrackKey(WPARAM key) {
    return key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT
        || key == VK_HOME || key == VK_END;
}

// ---------------------------------------------------------------------------------------------------------
// Messages

LRESULT Query(HWND hwnd, TrackState* s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case TBM_GETPOS:
        return s->Pos;
    case TBM_GETRANGEMIN:
        return s->Min;
    case TBM_GETRANGEMAX:
        return s->Max;
    case TBM_GETTIC:
        return wParam < s->Tics.size() ? s->Tics[wParam] : -1;
    case TBM_GETTICPOS:
        return wParam < s->Tics.size() ? TickPixel(Layout(hwnd, s), s, s->Tics[wParam]) : -1;
    case TBM_GETNUMTICS:
        return (GetWindowStyle(hwnd) & TBS_NOTICKS) ? 0 : LRESULT(s->Tics.size() + 2);
    case TBM_GETSELSTART:
        return s->SelStart;
    case TBM_GETSELEND:
        return s->SelEnd;
    case TBM_GETPAGESIZE:
        return s->Page;
    case TBM_GETLINESIZE:
        return s->Line;
    case TBM_GETTHUMBLENGTH:
        return Layout(hwnd, s).ThumbLength;
    case TBM_GETTHUMBRECT:
        if (RECT* out = reinterpret_cast<RECT*>(lParam)) *out = ThumbRect(Layout(hwnd, s), s);
        return 0;
    case TBM_GETCHANNELRECT:
        if (RECT* out = reinterpret_cast<RECT*>(lParam)) {
            Geometry g = Layout(hwnd, s);
            RECT r = ChannelRect(g);
            *out = g.Vertical ? RECT {r.top, r.left, r.bottom, r.right} : r;
        }
        return 0;
    default:
        return 0;
    }
}

LRESULT Change(HWND hwnd, TrackState* s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case TBM_SETPOS:
        s->Pos = std::clamp(int(lParam), Low(s), High(s));
        if (wParam) InvalidateRect(hwnd, nullptr, true);
        return 0;
    case TBM_SETRANGE:
    case TBM_SETRANGEMIN:
    case TBM_SETRANGEMAX:
        if (msg == TBM_SETRANGE) {
            s->Min = std::int16_t(LOWORD(std::uintptr_t(lParam)));
            s->Max = std::int16_t(HIWORD(std::uintptr_t(lParam)));
        } else {
            (msg == TBM_SETRANGEMIN ? s->Min : s->Max) = int(lParam);
        }
        s->Pos = std::clamp(s->Pos, Low(s), High(s));
        MakeAutoTics(hwnd, s);
        if (wParam) InvalidateRect(hwnd, nullptr, true);
        return 0;
    case TBM_SETTIC: {
        int t = int(lParam);
        if (t < Low(s) || t > High(s)) return 0;
        auto at = std::lower_bound(s->Tics.begin(), s->Tics.end(), t);
        if (at == s->Tics.end() || *at != t) s->Tics.insert(at, t);
        InvalidateRect(hwnd, nullptr, true);
        return 1;
    }
    case TBM_CLEARTICS:
        s->Tics.clear();
        if (wParam) InvalidateRect(hwnd, nullptr, true);
        return 0;
    case TBM_SETTICFREQ:
        s->Frequency = int(std::intptr_t(wParam));
        MakeAutoTics(hwnd, s);
        InvalidateRect(hwnd, nullptr, true);
        return 0;
    case TBM_SETSEL:
        s->SelStart = std::int16_t(LOWORD(std::uintptr_t(lParam)));
        s->SelEnd = std::int16_t(HIWORD(std::uintptr_t(lParam)));
        if (wParam) InvalidateRect(hwnd, nullptr, true);
        return 0;
    case TBM_SETSELSTART:
    case TBM_SETSELEND:
        (msg == TBM_SETSELSTART ? s->SelStart : s->SelEnd) = int(lParam);
        if (wParam) InvalidateRect(hwnd, nullptr, true);
        return 0;
    case TBM_CLEARSEL:
        s->SelStart = s->SelEnd = 0;
        if (wParam) InvalidateRect(hwnd, nullptr, true);
        return 0;
    case TBM_SETPAGESIZE: {
        int old = s->Page;
        s->Page = int(lParam);
        return old;
    }
    case TBM_SETLINESIZE: {
        int old = s->Line;
        s->Line = int(lParam);
        return old;
    }
    case TBM_SETTHUMBLENGTH:
        s->ThumbLength = std::max(1, int(std::intptr_t(wParam)));
        InvalidateRect(hwnd, nullptr, true);
        return 0;
    default:
        return 0;
    }
}

LRESULT TrackProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    TrackState* s = ControlPrologue<TrackState>(hwnd, msg, wParam, lParam, result);
    if (!s) return result;
    if (msg >= TBM_GETPOS && msg <= TBM_GETTHUMBLENGTH) {
        switch (msg) {
        case TBM_GETPOS:
        case TBM_GETRANGEMIN:
        case TBM_GETRANGEMAX:
        case TBM_GETTIC:
        case TBM_GETTICPOS:
        case TBM_GETNUMTICS:
        case TBM_GETSELSTART:
        case TBM_GETSELEND:
        case TBM_GETPAGESIZE:
        case TBM_GETLINESIZE:
        case TBM_GETTHUMBRECT:
        case TBM_GETCHANNELRECT:
        case TBM_GETTHUMBLENGTH:
            return Query(hwnd, s, msg, wParam, lParam);
        default:
            return Change(hwnd, s, msg, wParam, lParam);
        }
    }
    if (const std::optional<LRESULT> painted = PaintMessage(hwnd, msg, wParam, [&](HDC dc) { Paint(hwnd, dc, s); }))
        return *painted;
    if (const std::optional<LRESULT> looked = FocusLookMessage(hwnd, msg)) return *looked;
    if (const std::optional<LRESULT> pressed = PressMoveMessage(
            msg, lParam, [&](POINT p) { OnButtonDown(hwnd, s, p); }, [&](POINT p) { OnMouseMove(hwnd, s, p); }))
        return *pressed;
    switch (msg) {
    case WM_CREATE:
        MakeAutoTics(hwnd, s);
        return 0;
    case WM_GETDLGCODE:
        return 0x0001;   // DLGC_WANTARROWS
    case WM_LBUTTONUP:
        EndTracking(hwnd, s, true);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd) EndTracking(hwnd, s, false);
        return 0;
    case WM_TIMER:
        if (wParam == PageTimer) {
            if (s->Tracking == Track::Page) {
                SetTimer(hwnd, PageTimer, TrackBarRepeatInterval, nullptr);
                PageStep(hwnd, s);
            } else {
                KillTimer(hwnd, PageTimer);
            }
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (OnKeyDown(hwnd, s, wParam)) return 0;
        break;
    case WM_MOUSEWHEEL:
        OnWheel(hwnd, s, GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_KEYUP:
        if (IsTrackKey(wParam)) {
            Notify(hwnd, TB_ENDTRACK, 0);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}   // namespace

bool RegisterTrackBarClass() {
    return RegisterCommonControlClass(TRACKBAR_CLASS, TrackProc, CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

}
