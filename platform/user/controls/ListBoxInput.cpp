// The list box's mouse, keyboard, wheel and scroll bar input.
#include "platform/base/Utf8.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Timers.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ListBox.h"
#include "platform/user/controls/ListBoxData.h"

#include <algorithm>
#include <vector>

namespace korvex::user::listbox {

namespace {

inline constexpr std::uintptr_t AutoScrollTimerId = 0x7FFE5C03;
inline constexpr UINT AutoScrollMs = 100;

bool NoSelection(const State& s) {
    return (GetWindowStyle(s.Self) & LBS_NOSEL) != 0;
}

bool KeyDown(int vk) {
    return GetKeyState(vk) < 0;
}

std::vector<bool> Snapshot(const State& s) {
    std::vector<bool> selected;
    selected.reserve(s.Items.size());
    for (int i = 0; i < Count(s); ++i)
        selected.push_back(IsSelected(s, i));
    return selected;
}

void Toggle(State& s, int index) {
    if (!IsMultiple(s) || !Valid(s, index)) return;
    Item& item = s.Items[std::size_t(index)];
    item.Selected = !item.Selected;
    InvalidateItem(s, index);
}

// Where the held button has dragged the selection to.
void TrackTo(State& s, int index) {
    if (!Valid(s, index) || NoSelection(s)) return;
    if (!IsMultiple(s))
        SelectOnly(s, index);
    else if (IsExtended(s))
        SelectRange(s, s.Anchor, index, false);
    SetCaret(s, index);
    EnsureVisible(s, index);
}

void StopTracking(State& s) {
    s.Captured = false;
    KillTimer(s.Self, AutoScrollTimerId);
}

int WheelLines() {
    UINT lines = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines);
    return int(lines);
}

}

LRESULT OnButtonDown(State& s, UINT msg, WPARAM keys, POINT p) {
    HWND self = s.Self;
    if (msg == WM_LBUTTONDBLCLK) {
        if (Notifies(s)) Notify(s, LBN_DBLCLK);
        return 0;
    }
    if (!s.Combo && GetFocus() != self) {
        SetFocus(self);
        if (!IsWindow(self)) return 0;
    }
    bool outside = false;
    const int index = ItemAt(s, p, &outside);
    if (index < 0 || p.y >= ItemRect(s, Count(s) - 1).bottom) return 0;   // below the last item
    if (!NoSelection(s)) {
        if (!IsMultiple(s)) {
            SelectOnly(s, index);
        } else if (!IsExtended(s)) {
            Toggle(s, index);
            s.Anchor = index;
        } else if (keys & MK_SHIFT) {
            SelectRange(s, s.Anchor, index, (keys & MK_CONTROL) != 0);
        } else if (keys & MK_CONTROL) {
            Toggle(s, index);
            s.Anchor = index;
        } else {
            SelectOnly(s, index);
            s.Anchor = index;
        }
    }
    SetCaret(s, index);
    EnsureVisible(s, index);
    s.Captured = true;
    s.Pointer = p;
    SetCapture(self);
    return 0;
}

LRESULT OnMouseMove(State& s, POINT p) {
    if (!s.Captured) return 0;
    s.Pointer = p;
    const int height = ClientRect(s.Self).Height();
    if (p.y < 0 || p.y >= height) {
        SetTimer(s.Self, AutoScrollTimerId, AutoScrollMs, nullptr);
        return 0;
    }
    KillTimer(s.Self, AutoScrollTimerId);
    bool outside = false;
    const int index = ItemAt(s, p, &outside);
    if (index >= 0 && !(IsMultiple(s) && !IsExtended(s))) TrackTo(s, index);
    return 0;
}

LRESULT OnTimer(State& s, WPARAM id) {
    if (id != AutoScrollTimerId) return 0;
    const int height = ClientRect(s.Self).Height();
    if (!s.Captured || (s.Pointer.y >= 0 && s.Pointer.y < height)) {
        KillTimer(s.Self, AutoScrollTimerId);
        return 0;
    }
    const int target = s.Pointer.y < 0 ? s.Caret - 1 : s.Caret + 1;
    if (IsMultiple(s) && !IsExtended(s)) {
        SetCaret(s, std::clamp(target, 0, Count(s) - 1));
        EnsureVisible(s, s.Caret);
    } else {
        TrackTo(s, std::clamp(target, 0, Count(s) - 1));
    }
    return 0;
}

LRESULT OnButtonUp(State& s) {
    if (!s.Captured) return 0;
    StopTracking(s);
    if (GetCapture() == s.Self) ReleaseCapture();
    if (IsWindow(s.Self) && Notifies(s) && Count(s) > 0) Notify(s, LBN_SELCHANGE);
    return 0;
}

LRESULT OnCaptureChanged(State& s, HWND gaining) {
    if (s.Captured && gaining != s.Self) StopTracking(s);
    return 0;
}

bool MoveByKey(State& s, WPARAM key, bool shift, bool ctrl) {
    const int n = Count(s);
    if (n == 0) return false;
    const int current = IsMultiple(s) ? s.Caret : s.Selected;
    const int page = std::max(1, FullyVisible(s) - 1);
    int target;
    switch (key) {
    case VK_UP:
    case VK_LEFT:
        target = current < 0 ? 0 : current - 1;
        break;
    case VK_DOWN:
    case VK_RIGHT:
        target = current < 0 ? 0 : current + 1;
        break;
    case VK_PRIOR:
        target = current < 0 ? 0 : current - page;
        break;
    case VK_NEXT:
        target = current < 0 ? 0 : current + page;
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = n - 1;
        break;
    default:
        return false;
    }
    target = std::clamp(target, 0, n - 1);
    const std::vector<bool> before = Snapshot(s);
    if (!NoSelection(s)) {
        if (!IsMultiple(s)) {
            SelectOnly(s, target);
        } else if (IsExtended(s)) {
            if (shift) {
                SelectRange(s, s.Anchor, target, ctrl);
            } else if (!ctrl) {
                SelectOnly(s, target);
                s.Anchor = target;
            }
        }
    }
    SetCaret(s, target);
    EnsureVisible(s, target);
    return Snapshot(s) != before;
}

LRESULT OnKeyDown(State& s, WPARAM key) {
    if (Count(s) == 0) return 0;
    if (key == VK_SPACE && IsMultiple(s) && !NoSelection(s)) {
        if (IsExtended(s) && !KeyDown(VK_CONTROL)) {
            SelectOnly(s, s.Caret);
            s.Anchor = s.Caret;
        } else {
            Toggle(s, s.Caret);
        }
        if (Notifies(s)) Notify(s, LBN_SELCHANGE);
        return 0;
    }
    if (MoveByKey(s, key, KeyDown(VK_SHIFT), KeyDown(VK_CONTROL)) && Notifies(s)) Notify(s, LBN_SELCHANGE);
    return 0;
}

LRESULT OnChar(State& s, WPARAM ch) {
    if (ch < 0x20 || !HasStrings(s) || Count(s) == 0 || NoSelection(s)) return 0;
    const std::string prefix = base::Utf8Encode(char32_t(ch));
    const int from = IsMultiple(s) ? s.Caret : s.Selected;
    const LRESULT found = SendMessage(s.Self, LB_FINDSTRING, WPARAM(from), reinterpret_cast<LPARAM>(prefix.c_str()));
    if (found == LB_ERR) return 0;
    const int index = int(found);
    const bool changed = !IsSelected(s, index) || (IsMultiple(s) && !IsExtended(s));
    if (IsMultiple(s) && !IsExtended(s)) {
        SetCaret(s, index);
        EnsureVisible(s, index);
        return 0;
    }
    SelectOnly(s, index);
    s.Anchor = index;
    SetCaret(s, index);
    EnsureVisible(s, index);
    if (changed && Notifies(s)) Notify(s, LBN_SELCHANGE);
    return 0;
}

LRESULT OnWheel(State& s, WPARAM wParam) {
    s.WheelRest += GET_WHEEL_DELTA_WPARAM(wParam);
    const int notches = s.WheelRest / WHEEL_DELTA;
    s.WheelRest %= WHEEL_DELTA;
    if (notches == 0) return 0;
    const int lines = std::min(WheelLines(), FullyVisible(s));
    SetTop(s, s.Top - notches * lines);
    return 0;
}

LRESULT OnScroll(State& s, bool vertical, WORD code) {
    if (!vertical) {
        const int page = ClientRect(s.Self).Width();
        switch (code) {
        case SB_LINELEFT:
            SetHorzPos(s, s.HorzPos - 8);
            break;
        case SB_LINERIGHT:
            SetHorzPos(s, s.HorzPos + 8);
            break;
        case SB_PAGELEFT:
            SetHorzPos(s, s.HorzPos - page);
            break;
        case SB_PAGERIGHT:
            SetHorzPos(s, s.HorzPos + page);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO info;
            info.fMask = SIF_TRACKPOS;
            if (GetScrollInfo(s.Self, SB_HORZ, &info)) SetHorzPos(s, info.nTrackPos);
            break;
        }
        case SB_LEFT:
            SetHorzPos(s, 0);
            break;
        case SB_RIGHT:
            SetHorzPos(s, s.HorzExtent);
            break;
        default:
            break;
        }
        return 0;
    }
    switch (code) {
    case SB_LINEUP:
        SetTop(s, s.Top - 1);
        break;
    case SB_LINEDOWN:
        SetTop(s, s.Top + 1);
        break;
    case SB_PAGEUP:
        SetTop(s, s.Top - FullyVisible(s));
        break;
    case SB_PAGEDOWN:
        SetTop(s, s.Top + FullyVisible(s));
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info;
        info.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(s.Self, SB_VERT, &info)) SetTop(s, info.nTrackPos);
        break;
    }
    case SB_TOP:
        SetTop(s, 0);
        break;
    case SB_BOTTOM:
        SetTop(s, MaxTop(s));
        break;
    default:
        break;
    }
    return 0;
}

}
