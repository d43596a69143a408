// The list view's layout in its four views: item rectangles, hit tests, the header's place, scrolling.
#include "platform/gdi/Gdi.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControlsPaint.h"
#include "platform/user/controls/Header.h"
#include "platform/user/controls/ItemViewCommon.h"
#include "platform/user/controls/ListViewState.h"

#include <algorithm>

namespace korvex::user::listview {

namespace {

constexpr int DefaultListColumn = 120;   // list and small-icon cells, beside the small icon
constexpr int ReportLineStep = 16;   // pixels a report view scrolls sideways per line

int ClientWidth(const State& s) {
    return int(ClientRect(s.Self).right);
}

int ClientHeight(const State& s) {
    return int(ClientRect(s.Self).bottom);
}

SIZE SmallIcon(const State& s) {
    return IsImageList(s.Small) ? ImageListSize(s.Small) : SIZE {0, 0};
}

SIZE LargeIcon(const State& s) {
    return IsImageList(s.Large) ? ImageListSize(s.Large) : SIZE {32, 32};
}

int FontHeight(const State& s) {
    return comctl::FontHeight(s.Self, ControlFont(s.Font));
}

SIZE IconCell(const State& s) {
    const SIZE icon = LargeIcon(s);
    return SIZE {std::max<int>(icon.cx + 44, 76), icon.cy + FontHeight(s) + 14};
}

// Rows per list column, whole rows only, at least one.
int ListRows(State& s) {
    return std::max(1, ClientHeight(s) / RowHeight(s));
}

// Cells per row in the icon views.
int CellsPerRow(State& s) {
    const int cell = View(s) == LVS_ICON ? IconCell(s).cx : ListColumnWidth(s);
    return std::max(1, ClientWidth(s) / std::max(1, cell));
}

int CellHeight(State& s) {
    return View(s) == LVS_ICON ? IconCell(s).cy : RowHeight(s);
}

int ContentHeight(State& s) {
    const int rows = (Count(s) + CellsPerRow(s) - 1) / CellsPerRow(s);
    return rows * CellHeight(s);
}

int ReportRows(State& s) {
    return std::max(1, (ClientHeight(s) - HeaderHeight(s)) / RowHeight(s));
}

int ListColumns(State& s) {
    return (Count(s) + ListRows(s) - 1) / ListRows(s);
}

int VisibleListColumns(State& s) {
    return std::max(1, ClientWidth(s) / ListColumnWidth(s));
}

int LabelWidth(State& s, int index) {
    return comctl::TextSizeFor(s.Self, ControlFont(s.Font), ItemText(s, index, 0)).cx + 6;
}

// Rounds a pixel distance to whole steps; any part of a step counts as one.
int Steps(int pixels, int step) {
    if (pixels == 0 || step <= 0) return 0;
    const int whole = pixels / step;
    return whole != 0 ? whole : (pixels > 0 ? 1 : -1);
}

}   // namespace

int RowHeight(State& s) {
    return std::max(FontHeight(s) + 3, int(SmallIcon(s).cy) + 1);
}

int HeaderHeight(const State& s) {
    if (!s.Header || !IsWindowVisible(s.Header)) return 0;
    const RECT r = WindowRect(s.Header);
    return int(r.bottom - r.top);
}

int TotalColumnWidth(const State& s) {
    long long total = 0;
    for (const Column& column : s.Columns)
        total += column.Width;
    return comctl::ClampToInt(total);
}

int ListColumnWidth(State& s) {
    return s.ListColumnWidth > 0 ? s.ListColumnWidth : DefaultListColumn + SmallIcon(s).cx;
}

RECT ItemBounds(State& s, int index) {
    switch (View(s)) {
    case LVS_REPORT: {
        const int top = HeaderHeight(s) + (index - s.Top) * RowHeight(s);
        const int width = s.Columns.empty() ? ClientWidth(s) : TotalColumnWidth(s);
        return RECT {-s.HorzPos, top, width - s.HorzPos, top + RowHeight(s)};
    }
    case LVS_LIST: {
        const int rows = ListRows(s);
        const int left = (index / rows - s.Top) * ListColumnWidth(s);
        const int top = (index % rows) * RowHeight(s);
        return RECT {left, top, left + ListColumnWidth(s), top + RowHeight(s)};
    }
    default: {
        const int perRow = CellsPerRow(s);
        const int width = View(s) == LVS_ICON ? IconCell(s).cx : ListColumnWidth(s);
        const int left = (index % perRow) * width;
        const int top = (index / perRow) * CellHeight(s) - s.ViewY;
        return RECT {left, top, left + width, top + CellHeight(s)};
    }
    }
}

RECT ItemPart(State& s, int index, int part) {
    const RECT bounds = ItemBounds(s, index);
    if (part == LVIR_BOUNDS) return bounds;
    RECT icon {}, label {};
    if (View(s) == LVS_ICON) {
        const SIZE size = LargeIcon(s);
        const int x = (bounds.left + bounds.right - size.cx) / 2;
        icon = RECT {x, bounds.top + 2, x + size.cx, bounds.top + 2 + size.cy};
        const int width = std::min<int>(LabelWidth(s, index), bounds.right - bounds.left - 4);
        const int lx = (bounds.left + bounds.right - width) / 2;
        label = RECT {lx, icon.bottom + 2, lx + width, icon.bottom + 4 + FontHeight(s)};
    } else {
        const int indent = View(s) == LVS_REPORT && !OwnerData(s) ? s.Items[size_t(index)].Indent * SmallIcon(s).cx : 0;
        const int x = bounds.left + 2 + indent;
        icon = RECT {x, bounds.top, x + SmallIcon(s).cx, bounds.bottom};
        const int labelLeft = icon.right + (SmallIcon(s).cx ? 2 : 0);
        int right = labelLeft + LabelWidth(s, index);
        if (View(s) == LVS_REPORT)
            right = s.Columns.empty() ? bounds.right : bounds.left + s.Columns[0].Width;
        else
            right = std::min<int>(right, bounds.right);
        label = RECT {labelLeft, bounds.top, std::max(labelLeft, right), bounds.bottom};
    }
    if (part == LVIR_ICON) return icon;
    if (part == LVIR_LABEL) return label;
    RECT both;
    gdi::UnionRect(&both, &icon, &label);
    if (View(s) == LVS_REPORT && (s.ExStyle & LVS_EX_FULLROWSELECT)) both.right = bounds.right;
    return both;
}

RECT SubItemRect(State& s, int index, int column) {
    const RECT bounds = ItemBounds(s, index);
    int left = bounds.left;
    for (int c = 0; c < column && c < int(s.Columns.size()); ++c)
        left += s.Columns[size_t(c)].Width;
    const int width = column < int(s.Columns.size()) ? s.Columns[size_t(column)].Width : 0;
    return RECT {left, bounds.top, left + width, bounds.bottom};
}

int PageCount(State& s) {
    switch (View(s)) {
    case LVS_REPORT:
        return ReportRows(s);
    case LVS_LIST:
        return ListRows(s) * VisibleListColumns(s);
    default:
        return Count(s);
    }
}

int TopIndex(State& s) {
    switch (View(s)) {
    case LVS_REPORT:
        return Count(s) ? s.Top : 0;
    case LVS_LIST:
        return Count(s) ? std::min(Count(s) - 1, s.Top * ListRows(s)) : 0;
    default:
        return 0;
    }
}

std::pair<int, int> VisibleRange(State& s) {
    int first = 0, last = -1;
    switch (View(s)) {
    case LVS_REPORT:
        first = s.Top;
        last = s.Top + (ClientHeight(s) - HeaderHeight(s) + RowHeight(s) - 1) / RowHeight(s) - 1;
        break;
    case LVS_LIST:
        first = s.Top * ListRows(s);
        last = (s.Top + (ClientWidth(s) + ListColumnWidth(s) - 1) / ListColumnWidth(s)) * ListRows(s) - 1;
        break;
    default:
        first = s.ViewY / CellHeight(s) * CellsPerRow(s);
        last = ((s.ViewY + ClientHeight(s)) / CellHeight(s) + 1) * CellsPerRow(s) - 1;
        break;
    }
    first = std::max(first, 0);
    last = std::min(last, Count(s) - 1);
    return first <= last ? std::pair {first, last} : std::pair {0, -1};
}

LVHITTESTINFO HitTest(State& s, POINT p, bool subItems) {
    LVHITTESTINFO info;
    info.pt = p;
    if (p.y < 0) info.flags |= LVHT_ABOVE;
    if (p.y >= ClientHeight(s)) info.flags |= LVHT_BELOW;
    if (p.x < 0) info.flags |= LVHT_TOLEFT;
    if (p.x >= ClientWidth(s)) info.flags |= LVHT_TORIGHT;
    if (info.flags) return info;
    const auto [first, last] = VisibleRange(s);
    for (int i = first; i <= last; ++i) {
        const RECT bounds = ItemBounds(s, i);
        if (!gdi::PtInRect(&bounds, p)) continue;
        const RECT icon = ItemPart(s, i, LVIR_ICON);
        const RECT label = ItemPart(s, i, LVIR_LABEL);
        if (gdi::PtInRect(&icon, p))
            info.flags = LVHT_ONITEMICON;
        else if (gdi::PtInRect(&label, p))
            info.flags = LVHT_ONITEMLABEL;
        else if (View(s) == LVS_REPORT && (subItems || (s.ExStyle & LVS_EX_FULLROWSELECT)))
            info.flags = LVHT_ONITEMLABEL;
        else
            continue;
        info.iItem = i;
        if (subItems && View(s) == LVS_REPORT)
            for (int c = 0; c < int(s.Columns.size()); ++c) {
                const RECT cell = SubItemRect(s, i, c);
                if (p.x >= cell.left && p.x < cell.right) info.iSubItem = c;
            }
        return info;
    }
    info.flags = LVHT_NOWHERE;
    return info;
}

void PlaceHeader(State& s) {
    if (!s.Header) return;
    const bool shown = View(s) == LVS_REPORT && !(GetWindowStyle(s.Self) & LVS_NOCOLUMNHEADER);
    if (!shown) {
        if (IsWindowVisible(s.Header)) ShowWindow(s.Header, SW_HIDE);
        return;
    }
    RECT room = ClientRect(s.Self);
    room.right += s.HorzPos;
    WINDOWPOS pos;
    HDLAYOUT layout {&room, &pos};
    SendMessage(s.Header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
    SetWindowPos(s.Header, nullptr, pos.x - s.HorzPos, pos.y, pos.cx, pos.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Invalidate(State& s) {
    if (!s.NoRedraw) InvalidateRect(s.Self, nullptr, true);
}

void InvalidateItem(State& s, int index) {
    if (s.NoRedraw || !Valid(s, index)) return;
    RECT r = ItemBounds(s, index);
    if (View(s) == LVS_REPORT) {
        r.left = 0;
        r.right = std::max<int>(r.right, ClientWidth(s));
    }
    InvalidateRect(s.Self, &r, true);
}

void UpdateScrollBars(State& s) {
    if (s.NoRedraw || s.UpdatingBars || !IsWindow(s.Self) || (GetWindowStyle(s.Self) & LVS_NOSCROLL)) return;
    s.UpdatingBars = true;
    // A bar that comes or goes changes the other direction's room: a second pass settles it.
    for (int pass = 0; pass < 2 && Alive(s); ++pass) {
        SCROLLINFO v, h;
        v.fMask = h.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        v.nPage = h.nPage = 1;   // nothing to scroll: the bar goes
        switch (View(s)) {
        case LVS_REPORT:
            s.Top = std::clamp(s.Top, 0, std::max(0, Count(s) - ReportRows(s)));
            v.nMax = std::max(0, Count(s) - 1);
            v.nPage = UINT(ReportRows(s));
            v.nPos = s.Top;
            s.HorzPos = std::clamp(s.HorzPos, 0, std::max(0, TotalColumnWidth(s) - ClientWidth(s)));
            h.nMax = std::max(0, TotalColumnWidth(s) - 1);
            h.nPage = UINT(std::max(1, ClientWidth(s)));
            h.nPos = s.HorzPos;
            break;
        case LVS_LIST:
            s.Top = std::clamp(s.Top, 0, std::max(0, ListColumns(s) - VisibleListColumns(s)));
            h.nMax = std::max(0, ListColumns(s) - 1);
            h.nPage = UINT(VisibleListColumns(s));
            h.nPos = s.Top;
            break;
        default:
            s.ViewY = std::clamp(s.ViewY, 0, std::max(0, ContentHeight(s) - ClientHeight(s)));
            v.nMax = std::max(0, ContentHeight(s) - 1);
            v.nPage = UINT(std::max(1, ClientHeight(s)));
            v.nPos = s.ViewY;
            break;
        }
        SetScrollInfo(s.Self, SB_VERT, &v, true);
        SetScrollInfo(s.Self, SB_HORZ, &h, true);
    }
    s.UpdatingBars = false;
}

void Changed(State& s) {
    if (!IsWindow(s.Self)) return;
    UpdateScrollBars(s);
    PlaceHeader(s);
    Invalidate(s);
}

void Scroll(State& s, int dx, int dy) {
    const int oldTop = s.Top, oldHorz = s.HorzPos, oldY = s.ViewY;
    switch (View(s)) {
    case LVS_REPORT:
        s.Top += Steps(dy, RowHeight(s));
        s.HorzPos += dx;
        break;
    case LVS_LIST:
        s.Top += Steps(dx, ListColumnWidth(s));
        break;
    default:
        s.ViewY += dy;
        break;
    }
    UpdateScrollBars(s);   // clamps
    if (s.Top != oldTop || s.HorzPos != oldHorz || s.ViewY != oldY) {
        PlaceHeader(s);
        Invalidate(s);
    }
}

void EnsureVisible(State& s, int index) {
    if (!Valid(s, index)) return;
    const RECT r = ItemBounds(s, index);
    switch (View(s)) {
    case LVS_REPORT:
        if (index < s.Top)
            Scroll(s, 0, (index - s.Top) * RowHeight(s));
        else if (index >= s.Top + ReportRows(s))
            Scroll(s, 0, (index - s.Top - ReportRows(s) + 1) * RowHeight(s));
        break;
    case LVS_LIST: {
        const int column = index / ListRows(s);
        if (column < s.Top)
            Scroll(s, (column - s.Top) * ListColumnWidth(s), 0);
        else if (column >= s.Top + VisibleListColumns(s))
            Scroll(s, (column - s.Top - VisibleListColumns(s) + 1) * ListColumnWidth(s), 0);
        break;
    }
    default:
        if (r.top < 0)
            Scroll(s, 0, r.top);
        else if (r.bottom > ClientHeight(s))
            Scroll(s, 0, r.bottom - ClientHeight(s));
        break;
    }
}

void OnScroll(State& s, bool vertical, int code, int thumb) {
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(s.Self, vertical ? SB_VERT : SB_HORZ, &info)) return;
    // Steps in the bar's own units: rows, columns or pixels.
    int line = 1;
    if (View(s) == LVS_REPORT && !vertical) line = ReportLineStep;
    if ((View(s) == LVS_ICON || View(s) == LVS_SMALLICON) && vertical) line = RowHeight(s);
    const std::optional<int> pos = ScrollRequestTarget(info, code, line, std::max(1, int(info.nPage)), thumb);
    if (!pos) return;
    const int delta = *pos - info.nPos;
    if (delta == 0) return;
    // Into LVM_SCROLL's units: pixels, with report rows and list columns multiplied out.
    if (vertical)
        Scroll(s, 0, View(s) == LVS_REPORT ? delta * RowHeight(s) : delta);
    else
        Scroll(s, View(s) == LVS_LIST ? delta * ListColumnWidth(s) : delta, 0);
}

}
