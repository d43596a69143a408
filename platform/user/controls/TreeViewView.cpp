// The tree view's rows: geometry, hit tests, scrolling with the window's scroll bars, and plain painting.
#include "platform/gdi/Gdi.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/controls/CommonControlsPaint.h"
#include "platform/user/controls/ItemViewCommon.h"
#include "platform/user/controls/TreeViewState.h"

#include <algorithm>

namespace korvex::user::tree {

namespace {

void Collect(const TreeItem& parent, std::vector<TreeItem*>& rows) {
    for (const auto& child : parent.Children) {
        rows.push_back(child.get());
        if (Expanded(child.get())) Collect(*child, rows);
    }
}

bool HasLinesOrButtons(HWND hwnd) {
    return (GetWindowStyle(hwnd) & (TVS_HASLINES | TVS_HASBUTTONS)) != 0;
}

// Columns of indent before a top-level item: one with lines or buttons at the root.
int RootColumns(HWND hwnd) {
    const DWORD style = GetWindowStyle(hwnd);
    return (style & TVS_LINESATROOT) && HasLinesOrButtons(hwnd) ? 1 : 0;
}

int ImageWidth(const State& s) {
    return IsImageList(s.Images) ? ImageListSize(s.Images).cx + 3 : 0;
}

int TextWidth(State& s, TreeItem* item) {
    return comctl::TextSizeFor(s.Self, ControlFont(s.Font), ItemText(s, item)).cx + 4;
}

int ContentWidth(State& s) {
    int widest = 0;
    for (TreeItem* item : Rows(s))
        widest = std::max(widest, ItemX(s, item) + s.HorzPos + ImageWidth(s) + TextWidth(s, item));
    return widest;
}

int ClientHeight(const State& s) {
    return int(ClientRect(s.Self).bottom);
}

}   // namespace

const std::vector<TreeItem*>& Rows(State& s) {
    if (s.RowsDirty) {
        s.Rows.clear();
        Collect(s.Root, s.Rows);
        s.RowsDirty = false;
    }
    return s.Rows;
}

int RowOf(State& s, const TreeItem* item) {
    const auto& rows = Rows(s);
    auto it = std::find(rows.begin(), rows.end(), item);
    return it == rows.end() ? -1 : int(it - rows.begin());
}

int RowHeight(State& s) {
    if (s.ItemHeight > 0) return s.ItemHeight;
    const int text = comctl::FontHeight(s.Self, ControlFont(s.Font)) + 3;
    return std::max(text, IsImageList(s.Images) ? ImageListSize(s.Images).cy + 1 : 0);
}

int PageRows(State& s) {
    return std::max(1, ClientHeight(s) / RowHeight(s));
}

int ItemX(State& s, const TreeItem* item) {
    return (Level(item) + RootColumns(s.Self)) * s.Indent - s.HorzPos + 2;
}

RECT ItemRect(State& s, TreeItem* item, bool textOnly) {
    const int row = RowOf(s, item);
    const int top = (row - s.Top) * RowHeight(s);
    if (!textOnly) return RECT {0, top, ClientRect(s.Self).right, top + RowHeight(s)};
    const int left = ItemX(s, item) + ImageWidth(s);
    return RECT {left, top, left + TextWidth(s, item), top + RowHeight(s)};
}

TVHITTESTINFO HitTest(State& s, POINT p) {
    TVHITTESTINFO info;
    info.pt = p;
    const RECT c = ClientRect(s.Self);
    if (p.y < 0) info.flags |= TVHT_ABOVE;
    if (p.y >= c.bottom) info.flags |= TVHT_BELOW;
    if (p.x < 0) info.flags |= TVHT_TOLEFT;
    if (p.x >= c.right) info.flags |= TVHT_TORIGHT;
    if (info.flags) return info;
    const int row = s.Top + p.y / RowHeight(s);
    if (row >= int(Rows(s).size())) {
        info.flags = TVHT_NOWHERE;
        return info;
    }
    TreeItem* item = Rows(s)[size_t(row)];
    info.hItem = item;
    const int x = ItemX(s, item);
    const RECT text = ItemRect(s, item, true);
    const bool buttons = (GetWindowStyle(s.Self) & TVS_HASBUTTONS) && (Level(item) > 0 || RootColumns(s.Self));
    if (p.x < x) {
        info.flags = buttons && p.x >= x - s.Indent && HasChildren(s, item) ? TVHT_ONITEMBUTTON : TVHT_ONITEMINDENT;
    } else if (p.x < text.left) {
        info.flags = TVHT_ONITEMICON;
    } else if (p.x < text.right) {
        info.flags = TVHT_ONITEMLABEL;
    } else {
        info.flags = TVHT_ONITEMRIGHT;
    }
    return info;
}

void Invalidate(State& s) {
    if (!s.NoRedraw) InvalidateRect(s.Self, nullptr, false);
}

void UpdateScrollBars(State& s) {
    if (s.NoRedraw || s.UpdatingBars || !IsWindow(s.Self) || (GetWindowStyle(s.Self) & TVS_NOSCROLL)) return;
    s.UpdatingBars = true;
    // A bar that comes or goes changes the other direction's room: a second pass settles it.
    for (int pass = 0; pass < 2 && Alive(s); ++pass) {
        const int rows = int(Rows(s).size());
        s.Top = std::clamp(s.Top, 0, std::max(0, rows - PageRows(s)));
        SCROLLINFO v;
        v.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        v.nMax = std::max(0, rows - 1);
        v.nPage = UINT(PageRows(s));
        v.nPos = s.Top;
        SetScrollInfo(s.Self, SB_VERT, &v, true);
        const int width = int(ClientRect(s.Self).right);
        const int content = ContentWidth(s);
        s.HorzPos = std::clamp(s.HorzPos, 0, std::max(0, content - width));
        SCROLLINFO h;
        h.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        h.nMax = std::max(0, content - 1);
        h.nPage = UINT(std::max(0, width));
        h.nPos = s.HorzPos;
        SetScrollInfo(s.Self, SB_HORZ, &h, true);
    }
    s.UpdatingBars = false;
}

void Changed(State& s) {
    s.RowsDirty = true;
    UpdateScrollBars(s);
    Invalidate(s);
}

void SetTop(State& s, int top) {
    top = std::clamp(top, 0, std::max(0, int(Rows(s).size()) - PageRows(s)));
    if (top == s.Top) return;
    s.Top = top;
    UpdateScrollBars(s);
    Invalidate(s);
}

void SetHorzPos(State& s, int pos) {
    pos = std::clamp(pos, 0, std::max(0, ContentWidth(s) - int(ClientRect(s.Self).right)));
    if (pos == s.HorzPos) return;
    s.HorzPos = pos;
    UpdateScrollBars(s);
    Invalidate(s);
}

void EnsureVisible(State& s, TreeItem* item) {
    const int row = RowOf(s, item);
    if (row < 0) return;
    if (row < s.Top)
        SetTop(s, row);
    else if (row >= s.Top + PageRows(s))
        SetTop(s, row - PageRows(s) + 1);
}

void OnScroll(State& s, bool vertical, int code, int thumb) {
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(s.Self, vertical ? SB_VERT : SB_HORZ, &info)) return;
    const int line = vertical ? 1 : s.Indent;
    const int page = vertical ? PageRows(s) : int(ClientRect(s.Self).right);
    const std::optional<int> pos = ScrollRequestTarget(info, code, line, page, thumb);
    if (!pos) return;
    if (vertical)
        SetTop(s, *pos);
    else
        SetHorzPos(s, *pos);
}

// ---------------------------------------------------------------------------------------------------------
// Painting

namespace {

// Dotted lines as the plain look draws them: every other pixel.
void DottedVLine(HDC dc, int x, int y1, int y2, COLORREF color) {
    for (int y = y1 + ((y1 ^ x) & 1); y < y2; y += 2)
        gdi::SetPixel(dc, x, y, color);
}

void DottedHLine(HDC dc, int x1, int x2, int y, COLORREF color) {
    for (int x = x1 + ((x1 ^ y) & 1); x < x2; x += 2)
        gdi::SetPixel(dc, x, y, color);
}

void DrawButton(HDC dc, int cx, int cy, bool expanded) {
    RECT box {cx - 4, cy - 4, cx + 5, cy + 5};
    comctl::FillSys(dc, box, gdi::COLOR_WINDOW);
    gdi::FrameRect(dc, &box, gdi::GetSysColorBrush(gdi::COLOR_BTNSHADOW));
    comctl::LineSys(dc, cx - 2, cy, cx + 3, cy, gdi::COLOR_WINDOWTEXT);
    if (!expanded) comctl::LineSys(dc, cx, cy - 2, cx, cy + 3, gdi::COLOR_WINDOWTEXT);
}

bool IsLastChild(const TreeItem* item) {
    return item->Parent->Children.back().get() == item;
}

void PaintRow(State& s, HDC dc, TreeItem* item, int top, COLORREF back) {
    const DWORD style = GetWindowStyle(s.Self);
    const int height = RowHeight(s);
    const int x = ItemX(s, item);
    const int cy = top + height / 2;
    const int level = Level(item);
    const bool hasRootColumn = RootColumns(s.Self) != 0;
    const COLORREF lineColor = gdi::GetSysColor(gdi::COLOR_GRAYTEXT);
    if ((style & TVS_HASLINES) && (level > 0 || hasRootColumn)) {
        const int cx = x - s.Indent / 2 - 1;
        // Lines of the ancestors that have siblings below.
        int ax = cx;
        for (const TreeItem* a = item->Parent; a && a->Parent && (Level(a) > 0 || hasRootColumn); a = a->Parent) {
            ax -= s.Indent;
            if (!IsLastChild(a)) DottedVLine(dc, ax, top, top + height, lineColor);
        }
        const bool first = item->Parent->Parent == nullptr && item->Parent->Children.front().get() == item;
        DottedVLine(dc, cx, first ? cy : top, IsLastChild(item) ? cy + 1 : top + height, lineColor);
        DottedHLine(dc, cx, x - 1, cy, lineColor);
    }
    if ((style & TVS_HASBUTTONS) && (level > 0 || hasRootColumn) && HasChildren(s, item) && Alive(s))
        DrawButton(dc, x - s.Indent / 2 - 1, cy, Expanded(item));
    const bool selected = item == s.Caret || item == s.DropHilite;
    if (IsImageList(s.Images)) {
        const int image = ItemImage(s, item, selected);
        const SIZE size = ImageListSize(s.Images);
        if (image >= 0) ImageList_Draw(s.Images, image, dc, x, top + (height - size.cy) / 2, IsWindowEnabled(s.Self));
    }
    RECT text = ItemRect(s, item, true);
    const bool marked = selected && (s.Focused || (style & TVS_SHOWSELALWAYS) || item == s.DropHilite);
    COLORREF color = s.TextColor == gdi::CLR_NONE ? gdi::GetSysColor(gdi::COLOR_WINDOWTEXT) : s.TextColor;
    if (marked) {
        const bool active = s.Focused || item == s.DropHilite;
        comctl::FillSys(dc, text, active ? gdi::COLOR_HIGHLIGHT : gdi::COLOR_BTNFACE);
        color = gdi::GetSysColor(active ? gdi::COLOR_HIGHLIGHTTEXT : gdi::COLOR_BTNTEXT);
    } else {
        comctl::FillColor(dc, text, back);
    }
    if (item != s.Editing) {
        RECT inner = text;
        inner.left += 2;
        comctl::DrawLabel(dc, ItemText(s, item), inner, gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_NOPREFIX, color,
            IsWindowEnabled(s.Self));
    }
    if (selected && s.Focused && item == s.Caret) gdi::DrawFocusRect(dc, &text);
}

}   // namespace

void Paint(State& s, HDC dc) {
    const RECT c = ClientRect(s.Self);
    const COLORREF back = s.Back == gdi::CLR_NONE ? gdi::GetSysColor(gdi::COLOR_WINDOW) : s.Back;
    comctl::FillColor(dc, c, back);
    comctl::FontScope font(dc, ControlFont(s.Font));
    const int height = RowHeight(s);
    // A copy: a callback answering TVN_GETDISPINFO may change the tree.
    const std::vector<TreeItem*> rows = Rows(s);
    for (int row = s.Top; row < int(rows.size()) && Alive(s); ++row) {
        const int top = (row - s.Top) * height;
        if (top >= c.bottom) break;
        if (IsItem(s, rows[size_t(row)])) PaintRow(s, dc, rows[size_t(row)], top, back);
    }
}

}
