// The list box's geometry, scrolling, scroll bars and painting.
#include "platform/gdi/Gdi.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/ListBox.h"
#include "platform/user/controls/ListBoxData.h"

#include <algorithm>

namespace korvex::user::listbox {

namespace {

int ClientHeight(const State& s) {
    return ClientRect(s.Self).Height();
}

int ClientWidth(const State& s) {
    return ClientRect(s.Self).Width();
}

// The height from item `from` (included) to item `to` (excluded).
int Span(const State& s, int from, int to) {
    if (!IsVariable(s)) return (to - from) * s.ItemHeight;
    int total = 0;
    for (int i = from; i < to; ++i)
        total += HeightOf(s, i);
    return total;
}

}

int HeightOf(const State& s, int index) {
    if (IsVariable(s) && Valid(s, index)) return std::max(1, s.Items[std::size_t(index)].Height);
    return std::max(1, s.ItemHeight);
}

RECT ItemRect(const State& s, int index) {
    const int y = index >= s.Top ? Span(s, s.Top, index) : -Span(s, index, s.Top);
    const int width = std::max(ClientWidth(s), s.HorzExtent);
    return RECT {-s.HorzPos, y, width - s.HorzPos, y + HeightOf(s, index)};
}

int ItemAt(const State& s, POINT p, bool* outside) {
    const int n = Count(s);
    const RECT client = ClientRect(s.Self);
    bool out = !gdi::PtInRect(&client, p);
    int index = -1;
    if (n > 0) {
        if (p.y < 0) {
            index = std::max(s.Top - 1, 0);
        } else {
            int y = 0;
            index = n - 1;
            bool below = true;
            for (int i = s.Top; i < n; ++i) {
                y += HeightOf(s, i);
                if (p.y < y) {
                    index = i;
                    below = false;
                    break;
                }
            }
            out = out || below;
        }
    }
    if (outside) *outside = out;
    return index;
}

int FullyVisible(const State& s) {
    const int height = ClientHeight(s);
    if (!IsVariable(s)) return std::max(1, height / std::max(1, s.ItemHeight));
    int shown = 0;
    int y = 0;
    for (int i = s.Top; i < Count(s); ++i) {
        y += HeightOf(s, i);
        if (y > height) break;
        ++shown;
    }
    return std::max(1, shown);
}

int MaxTop(const State& s) {
    const int n = Count(s);
    if (n == 0) return 0;
    const int height = ClientHeight(s);
    if (!IsVariable(s)) return std::max(0, n - std::max(1, height / std::max(1, s.ItemHeight)));
    int total = 0;
    int top = n;
    while (top > 0 && total + HeightOf(s, top - 1) <= height) {
        total += HeightOf(s, top - 1);
        --top;
    }
    return std::min(top, n - 1);
}

void SetTop(State& s, int top) {
    top = std::clamp(top, 0, MaxTop(s));
    if (top == s.Top) return;
    s.Top = top;
    Invalidate(s);
    UpdateScrollBars(s);
}

void EnsureVisible(State& s, int index) {
    if (!Valid(s, index)) return;
    if (index < s.Top) {
        SetTop(s, index);
        return;
    }
    const int height = ClientHeight(s);
    int top = s.Top;
    while (top < index && Span(s, top, index + 1) > height)
        ++top;
    SetTop(s, top);
}

void SetHorzPos(State& s, int pos) {
    pos = std::clamp(pos, 0, std::max(0, s.HorzExtent - ClientWidth(s)));
    if (pos == s.HorzPos) return;
    s.HorzPos = pos;
    Invalidate(s);
    UpdateScrollBars(s);
}

void UpdateScrollBars(State& s) {
    if (s.NoRedraw || s.UpdatingBars || !IsWindow(s.Self)) return;
    s.UpdatingBars = true;
    const bool keepBar = (GetWindowStyle(s.Self) & LBS_DISABLENOSCROLL) != 0;
    // A bar that comes or goes changes the other direction's room: a second pass settles it.
    for (int pass = 0; pass < 2; ++pass) {
        if (s.HScroll) {
            const int width = ClientWidth(s);
            if (s.HorzExtent <= width) s.HorzPos = 0;
            SCROLLINFO info;
            info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | (keepBar ? SIF_DISABLENOSCROLL : 0);
            info.nMin = 0;
            info.nMax = std::max(0, s.HorzExtent - 1);
            info.nPage = UINT(std::max(0, width));
            info.nPos = s.HorzPos;
            SetScrollInfo(s.Self, SB_HORZ, &info, true);
        }
        if (s.VScroll) {
            s.Top = std::clamp(s.Top, 0, MaxTop(s));
            SCROLLINFO info;
            info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | (keepBar ? SIF_DISABLENOSCROLL : 0);
            info.nMin = 0;
            info.nMax = std::max(0, Count(s) - 1);
            info.nPage = UINT(Count(s) > 0 ? FullyVisible(s) : 0);
            info.nPos = s.Top;
            SetScrollInfo(s.Self, SB_VERT, &info, true);
        }
        if (!IsWindow(s.Self)) break;
    }
    s.UpdatingBars = false;
}

void Invalidate(const State& s) {
    if (!s.NoRedraw) InvalidateRect(s.Self, nullptr, false);
}

void InvalidateItem(const State& s, int index) {
    if (s.NoRedraw) return;
    if (!Valid(s, index)) {
        InvalidateRect(s.Self, nullptr, false);
        return;
    }
    RECT r = ItemRect(s, index);
    const RECT client = ClientRect(s.Self);
    if (gdi::IntersectRect(&r, &r, &client)) InvalidateRect(s.Self, &r, false);
}

void FitWholeItems(State& s) {
    const DWORD style = GetWindowStyle(s.Self);
    if ((style & LBS_NOINTEGRALHEIGHT) || IsVariable(s) || s.Combo || s.Sizing) return;
    const int height = ClientHeight(s);
    const int item = std::max(1, s.ItemHeight);
    const int rest = height % item;
    if (rest == 0 || height < item) return;
    const RECT window = WindowRect(s.Self);
    s.Sizing = true;
    SetWindowPos(
        s.Self, nullptr, 0, 0, window.Width(), window.Height() - rest, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    s.Sizing = false;
}

// ---------------------------------------------------------------------------------------------------------
// Painting

namespace {

HBRUSH AskColors(const State& s, HDC dc) {
    HWND target = s.Combo ? s.Combo : GetParent(s.Self);
    auto brush = reinterpret_cast<HBRUSH>(
        target ? SendMessage(target, WM_CTLCOLORLISTBOX, WPARAM(dc), reinterpret_cast<LPARAM>(s.Self)) : 0);
    if (!brush)
        brush = reinterpret_cast<HBRUSH>(
            DefWindowProc(s.Self, WM_CTLCOLORLISTBOX, WPARAM(dc), reinterpret_cast<LPARAM>(s.Self)));
    return brush;
}

void DrawOwnerItem(const State& s, HDC dc, int index, const RECT& rect, bool enabled) {
    HWND target = DrawTarget(s);
    if (!target) return;
    DRAWITEMSTRUCT dis;
    dis.CtlType = OwnerCtlType(s);
    dis.CtlID = OwnerCtlId(s);
    dis.itemID = UINT(index);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = (IsSelected(s, index) ? ODS_SELECTED : 0) | (s.Focused && s.Caret == index ? ODS_FOCUS : 0)
        | (enabled ? 0 : ODS_DISABLED);
    dis.hwndItem = s.Self;
    dis.hDC = dc;
    dis.rcItem = rect;
    dis.itemData = s.Items[std::size_t(index)].Data;
    gdi::SavedDc saved(dc);
    SendMessage(target, WM_DRAWITEM, WPARAM(dis.CtlID), reinterpret_cast<LPARAM>(&dis));
}

void DrawTextItem(const State& s, HDC dc, int index, const RECT& rect, HBRUSH brush, COLORREF text, bool enabled) {
    const bool selected = IsSelected(s, index);
    if (selected)
        gdi::FillRect(dc, &rect, gdi::GetSysColorBrush(gdi::COLOR_HIGHLIGHT));
    else if (brush)
        gdi::FillRect(dc, &rect, brush);
    COLORREF color = text;
    if (!enabled)
        color = gdi::GetSysColor(gdi::COLOR_GRAYTEXT);
    else if (selected)
        color = gdi::GetSysColor(gdi::COLOR_HIGHLIGHTTEXT);
    gdi::SetTextColor(dc, color);
    RECT textRect = rect;
    textRect.left += 2;
    UINT format = gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_NOPREFIX;
    if (GetWindowStyle(s.Self) & LBS_USETABSTOPS) format |= gdi::DT_EXPANDTABS;
    gdi::DrawText(dc, s.Items[std::size_t(index)].Text, &textRect, format);
}

}

void Paint(State& s, HDC dc) {
    gdi::SavedDc saved(dc);
    gdi::SelectObject(dc, ControlFont(s.Font));
    HBRUSH brush = AskColors(s, dc);
    if (!IsWindow(s.Self)) return;
    const COLORREF text = gdi::GetTextColor(dc);
    gdi::SetBkMode(dc, gdi::TRANSPARENT);
    const RECT client = ClientRect(s.Self);
    const bool enabled = IsWindowEnabled(s.Self);
    const bool ownerDraw = IsOwnerDraw(s);
    int y = 0;
    for (int i = s.Top; i < Count(s) && y < client.bottom; ++i) {
        const RECT r = ItemRect(s, i);
        y = r.bottom;
        if (brush) gdi::FillRect(dc, &r, brush);
        if (ownerDraw) {
            DrawOwnerItem(s, dc, i, r, enabled);
            if (!IsWindow(s.Self)) return;
            continue;
        }
        DrawTextItem(s, dc, i, r, brush, text, enabled);
        if (s.Focused && s.Caret == i) gdi::DrawFocusRect(dc, &r);
    }
    const RECT rest {client.left, std::max(y, 0), client.right, client.bottom};
    if (brush && !gdi::IsRectEmpty(&rest)) gdi::FillRect(dc, &rest, brush);
    // An empty list shows where its first item would go when it has the focus.
    if (Count(s) == 0 && s.Focused && !ownerDraw) {
        const RECT first = ItemRect(s, 0);
        gdi::DrawFocusRect(dc, &first);
    }
}

}
