// The tab control's layout: tab sizes, rows (the selected one next to the page), scrolling and the page area.
#include "platform/gdi/Gdi.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControlsPaint.h"
#include "platform/user/controls/TabControlState.h"
#include "platform/user/controls/UpDown.h"

#include <algorithm>

namespace korvex::user::tabs {

namespace {

constexpr int StripMargin = 2;   // from the control's edge to the outermost row, and before the first tab
constexpr int FrameInset = 4;   // from the frame to the page area: a 2-pixel edge and 2 pixels of margin
constexpr int ButtonGap = 3;   // between buttons, and between the buttons and the page area

bool Vertical(Side side) {
    return side == Side::Left || side == Side::Right;
}

bool MultiLine(HWND hwnd) {
    DWORD style = GetWindowStyle(hwnd);
    return (style & (TCS_MULTILINE | TCS_VERTICAL)) != 0;
}

int ItemExtent(HWND hwnd, const TabState* s, const Item& item) {
    DWORD style = GetWindowStyle(hwnd);
    if ((style & TCS_FIXEDWIDTH) && s->ItemSize.cx > 0) return s->ItemSize.cx;
    int extent = comctl::TextSizeFor(hwnd, ControlFont(s->Font), item.Text).cx + 2 * s->Padding.cx;
    SIZE image = ImageListSize(s->Images);
    if (item.Image >= 0 && item.Image < ImageList_GetImageCount(s->Images)) extent += image.cx + 3;
    int minimum = s->MinTabWidth >= 0 ? s->MinTabWidth : 2 * s->Padding.cx + 6;
    if (IsButtons(hwnd)) extent += 3;
    return std::max({extent, minimum, s->ItemSize.cx});
}

int Thickness(HWND hwnd, const TabState* s) {
    if (s->ItemSize.cy > 0) return s->ItemSize.cy;
    int text = comctl::FontHeight(hwnd, ControlFont(s->Font));
    int image = ImageListSize(s->Images).cy;
    return std::max(text, image) + 2 * s->Padding.cy - 1 + (IsButtons(hwnd) ? 3 : 0);
}

// The rectangle of a tab given its offset along the strip and its row's distance from the outer edge.
RECT Place(HWND hwnd, const TabState* s, int along, int extent, int outerRow) {
    RECT c = ClientRect(hwnd);
    int t = s->TabThickness;
    int across = StripMargin + outerRow * t;
    switch (SideOf(hwnd)) {
    case Side::Top:
        return RECT {along, across, along + extent, across + t};
    case Side::Bottom:
        return RECT {along, c.bottom - across - t, along + extent, c.bottom - across};
    case Side::Left:
        return RECT {across, along, across + t, along + extent};
    case Side::Right:
        return RECT {c.right - across - t, along, c.right - across, along + extent};
    }
    return RECT {};
}

void ShowScroller(HWND hwnd, TabState* s, bool show) {
    s->Scrolling = show;
    if (s->Scroller != nullptr && !IsWindow(s->Scroller)) {
        // Destroyed by someone else (a skinned page control puts its own scroller there): it stays away.
        s->Scroller = nullptr;
        s->ScrollerReplaced = true;
    }
    if (!show) {
        if (IsWindow(s->Scroller)) DestroyWindow(s->Scroller);
        s->Scroller = nullptr;
        return;
    }
    if (s->ScrollerReplaced) return;
    int cx = 2 * GetSystemMetrics(SM_CXHSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
    RECT strip = StripRect(hwnd, s);
    RECT c = ClientRect(hwnd);
    int x = c.right - cx;
    int y = SideOf(hwnd) == Side::Bottom ? strip.top + std::max(0, int(strip.bottom - strip.top) - cy) / 2
                                         : strip.top + std::max(0, int(strip.bottom - strip.top) - cy) / 2;
    if (!IsWindow(s->Scroller)) {
        RegisterUpDownClass();
        s->Scroller = CreateWindowEx(0, UPDOWN_CLASS, "", WS_CHILD | WS_VISIBLE | UDS_HORZ, x, y, cx, cy, hwnd,
            ChildId(TabScrollerId), nullptr, nullptr);
    } else {
        SetWindowPos(s->Scroller, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (IsWindow(s->Scroller)) {
        SendMessage(s->Scroller, UDM_SETRANGE32, 0, s->MaxFirst);
        SendMessage(s->Scroller, UDM_SETPOS32, 0, s->FirstVisible);
    }
}

}   // namespace

TabState* State(HWND hwnd) {
    return ControlData<TabState>(hwnd);
}

Side SideOf(HWND hwnd) {
    DWORD style = GetWindowStyle(hwnd);
    if (style & TCS_VERTICAL) return (style & TCS_RIGHT) ? Side::Right : Side::Left;
    return (style & TCS_BOTTOM) ? Side::Bottom : Side::Top;
}

bool IsButtons(HWND hwnd) {
    return (GetWindowStyle(hwnd) & TCS_BUTTONS) != 0;
}

void Relayout(HWND hwnd, TabState* s) {
    if (s->InLayout) return;
    s->InLayout = true;
    s->TabThickness = Thickness(hwnd, s);
    Side side = SideOf(hwnd);
    RECT c = ClientRect(hwnd);
    int length = Vertical(side) ? c.bottom : c.right;
    bool buttons = IsButtons(hwnd);
    int gap = buttons ? ButtonGap : 0;
    bool multi = MultiLine(hwnd);
    int n = int(s->Items.size());
    std::vector<int> extents(static_cast<size_t>(n)), offsets(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        extents[size_t(i)] = ItemExtent(hwnd, s, s->Items[size_t(i)]);

    // Rows in item order; a row ends where the next tab would pass the end of the strip.
    s->Rows = 1;
    int at = StripMargin;
    for (int i = 0; i < n; ++i) {
        if (multi && at > StripMargin && at + extents[size_t(i)] > length - StripMargin) {
            ++s->Rows;
            at = StripMargin;
        }
        s->Items[size_t(i)].Row = s->Rows - 1;
        offsets[size_t(i)] = at;
        at += extents[size_t(i)] + gap;
    }
    // Rows of a multi-row strip are stretched to its length unless TCS_RAGGEDRIGHT.
    if (multi && s->Rows > 1 && !(GetWindowStyle(hwnd) & TCS_RAGGEDRIGHT)) {
        for (int row = 0; row < s->Rows; ++row) {
            std::vector<int> members;
            for (int i = 0; i < n; ++i)
                if (s->Items[size_t(i)].Row == row) members.push_back(i);
            if (members.empty()) continue;
            int last = members.back();
            int spare = length - StripMargin - (offsets[size_t(last)] + extents[size_t(last)]);
            if (spare <= 0) continue;
            int shift = 0, count = int(members.size());
            for (int k = 0; k < count; ++k) {
                int grow = spare / count + (k < spare % count ? 1 : 0);
                offsets[size_t(members[size_t(k)])] += shift;
                extents[size_t(members[size_t(k)])] += grow;
                shift += grow;
            }
        }
    }
    // Single line: scroll when the tabs pass the end of the strip.
    bool scroll = false;
    s->MaxFirst = 0;
    if (!multi && n > 0) {
        int scrollerWidth = 2 * GetSystemMetrics(SM_CXHSCROLL);
        int total = offsets[size_t(n - 1)] + extents[size_t(n - 1)];
        if (total > length - StripMargin) {
            scroll = true;
            int room = length - scrollerWidth - StripMargin;
            // The first tab that can lead while the last tab still fits.
            s->MaxFirst = n - 1;
            for (int k = 0; k < n; ++k)
                if (total - (offsets[size_t(k)] - StripMargin) <= room) {
                    s->MaxFirst = k;
                    break;
                }
        }
    }
    s->FirstVisible = scroll ? std::clamp(s->FirstVisible, 0, s->MaxFirst) : 0;
    int scrolled = n > 0 && scroll ? offsets[size_t(s->FirstVisible)] - StripMargin : 0;
    // The row holding the selected tab sits next to the page (tabs only; buttons keep their order).
    int selectedRow = (!buttons && s->Cur >= 0 && s->Cur < n) ? s->Items[size_t(s->Cur)].Row : s->Rows - 1;
    for (int i = 0; i < n; ++i) {
        Item& item = s->Items[size_t(i)];
        int fromPage = buttons ? s->Rows - 1 - item.Row : (item.Row - selectedRow + s->Rows) % s->Rows;
        int outerRow = s->Rows - 1 - fromPage;
        item.Rect = Place(hwnd, s, offsets[size_t(i)] - scrolled, extents[size_t(i)], outerRow);
    }
    ShowScroller(hwnd, s, scroll);
    s->InLayout = false;
}

RECT StripRect(HWND hwnd, const TabState* s) {
    RECT c = ClientRect(hwnd);
    int depth = s->Items.empty() ? 0 : StripMargin + s->Rows * s->TabThickness;
    switch (SideOf(hwnd)) {
    case Side::Top:
        return RECT {0, 0, c.right, depth};
    case Side::Bottom:
        return RECT {0, c.bottom - depth, c.right, c.bottom};
    case Side::Left:
        return RECT {0, 0, depth, c.bottom};
    case Side::Right:
        return RECT {c.right - depth, 0, c.right, c.bottom};
    }
    return c;
}

RECT FrameRect(HWND hwnd, const TabState* s) {
    RECT c = ClientRect(hwnd);
    RECT strip = StripRect(hwnd, s);
    switch (SideOf(hwnd)) {
    case Side::Top:
        c.top = strip.bottom;
        break;
    case Side::Bottom:
        c.bottom = strip.top;
        break;
    case Side::Left:
        c.left = strip.right;
        break;
    case Side::Right:
        c.right = strip.left;
        break;
    }
    return c;
}

RECT DisplayRect(HWND hwnd, const TabState* s, RECT r) {
    int depth = s->Items.empty() ? 0 : StripMargin + s->Rows * s->TabThickness;
    if (IsButtons(hwnd)) {
        int d = s->Items.empty() ? 0 : depth + ButtonGap;
        switch (SideOf(hwnd)) {
        case Side::Top:
            r.top += d;
            break;
        case Side::Bottom:
            r.bottom -= d;
            break;
        case Side::Left:
            r.left += d;
            break;
        case Side::Right:
            r.right -= d;
            break;
        }
        return r;
    }
    gdi::InflateRect(&r, -FrameInset, -FrameInset);
    switch (SideOf(hwnd)) {
    case Side::Top:
        r.top += depth;
        break;
    case Side::Bottom:
        r.bottom -= depth;
        break;
    case Side::Left:
        r.left += depth;
        break;
    case Side::Right:
        r.right -= depth;
        break;
    }
    return r;
}

RECT WindowRectFor(HWND hwnd, const TabState* s, RECT display) {
    // The inverse of DisplayRect: what it takes away, given back.
    RECT c = ClientRect(hwnd);
    RECT inner = DisplayRect(hwnd, s, c);
    display.left -= inner.left - c.left;
    display.top -= inner.top - c.top;
    display.right += c.right - inner.right;
    display.bottom += c.bottom - inner.bottom;
    return display;
}

RECT VisibleStrip(HWND hwnd, const TabState* s) {
    RECT strip = StripRect(hwnd, s);
    if (s->Scrolling) strip.right -= 2 * GetSystemMetrics(SM_CXHSCROLL);
    if (s->FirstVisible > 0) strip.left = StripMargin;   // what scrolled out stays out of the margin
    return strip;
}

int HitTest(HWND hwnd, const TabState* s, POINT p) {
    RECT visible = VisibleStrip(hwnd, s);
    if (!gdi::PtInRect(&visible, p)) return -1;
    for (size_t i = 0; i < s->Items.size(); ++i)
        if (gdi::PtInRect(&s->Items[i].Rect, p)) return int(i);
    return -1;
}

void EnsureVisible(HWND hwnd, TabState* s, int index) {
    if (index < 0 || index >= int(s->Items.size()) || !s->Scrolling) return;
    RECT visible = VisibleStrip(hwnd, s);
    while (s->FirstVisible > index
        || (s->Items[size_t(index)].Rect.right > visible.right && s->FirstVisible < s->MaxFirst)) {
        s->FirstVisible += s->FirstVisible > index ? -1 : 1;
        Relayout(hwnd, s);
    }
}

}
