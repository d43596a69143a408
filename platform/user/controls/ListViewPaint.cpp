// The list view's painting in the plain look: background, items of every view, custom draw, cache hints.
#include "platform/gdi/Gdi.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControlsPaint.h"
#include "platform/user/controls/ListViewState.h"

#include <algorithm>

namespace korvex::user::listview {

namespace {

// The text colour LVM_SETTEXTCOLOR gave, else the window text colour.
COLORREF PlainTextColor(const State& s) {
    return s.TextColor == CLR_DEFAULT || s.TextColor == gdi::CLR_NONE ? gdi::GetSysColor(gdi::COLOR_WINDOWTEXT)
                                                                      : s.TextColor;
}

LRESULT CustomDraw(State& s, HDC dc, DWORD stage, RECT rc, int item = 0, UINT itemState = 0, NMLVCUSTOMDRAW* out = nullptr) {
    NMLVCUSTOMDRAW cd;
    cd.nmcd.hdr.code = NM_CUSTOMDRAW;
    cd.nmcd.dwDrawStage = stage;
    cd.nmcd.hdc = dc;
    cd.nmcd.rc = rc;
    cd.nmcd.dwItemSpec = std::uintptr_t(item);
    cd.nmcd.uItemState = itemState;
    if ((stage & CDDS_ITEM) && !OwnerData(s) && Valid(s, item)) cd.nmcd.lItemlParam = s.Items[size_t(item)].Param;
    cd.clrText = PlainTextColor(s);
    cd.clrTextBk = s.TextBack;
    gdi::SavedDc saved(dc);
    const LRESULT answer = SendNotify(s.Self, &cd.nmcd.hdr);
    if (out) *out = cd;
    return answer;
}

// Owner data: the parent hears which items the paint is about to ask for, when that range changed.
void CacheHint(State& s, int first, int last) {
    if (!OwnerData(s) || last < first || (first == s.HintFrom && last == s.HintTo)) return;
    s.HintFrom = first;
    s.HintTo = last;
    NMLVCACHEHINT hint;
    hint.hdr.code = LVN_ODCACHEHINT;
    hint.iFrom = first;
    hint.iTo = last;
    SendNotify(s.Self, &hint.hdr);
}

// WS_EX_RIGHT mirrors the text's alignment (left-aligned text lies on the right, and the other way round).
UINT ReadingAlign(const State& s, UINT align) {
    if (!(DWORD(GetWindowLong(s.Self, GWL_EXSTYLE)) & WS_EX_RIGHT) || align == gdi::DT_CENTER) return align;
    return align == gdi::DT_RIGHT ? gdi::DT_LEFT : gdi::DT_RIGHT;
}

UINT ColumnAlign(const State& s, int column) {
    if (column < 0 || column >= int(s.Columns.size())) return ReadingAlign(s, gdi::DT_LEFT);
    switch (s.Columns[size_t(column)].Format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
        return ReadingAlign(s, gdi::DT_RIGHT);
    case LVCFMT_CENTER:
        return gdi::DT_CENTER;
    default:
        return ReadingAlign(s, gdi::DT_LEFT);
    }
}

struct ItemLook {
    bool Marked = false;   // drawn selected
    COLORREF Text = 0;
    COLORREF Fill = gdi::CLR_NONE;   // behind the label; CLR_NONE: nothing
};

ItemLook LookOf(State& s, int index, const NMLVCUSTOMDRAW* custom) {
    ItemLook look;
    const UINT state = GetState(s, index);
    const bool selected = (state & (LVIS_SELECTED | LVIS_DROPHILITED)) != 0;
    look.Marked = selected && (s.Focused || (GetWindowStyle(s.Self) & LVS_SHOWSELALWAYS) || (state & LVIS_DROPHILITED));
    look.Text = custom ? custom->clrText : PlainTextColor(s);
    if (custom && custom->clrTextBk != CLR_DEFAULT) look.Fill = custom->clrTextBk;
    if (index == s.Hot && (s.ExStyle & (LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_TWOCLICKACTIVATE)))
        look.Text = gdi::GetSysColor(gdi::COLOR_HOTLIGHT);
    if (look.Marked) {
        const bool active = s.Focused || (state & LVIS_DROPHILITED);
        look.Fill = gdi::GetSysColor(active ? gdi::COLOR_HIGHLIGHT : gdi::COLOR_BTNFACE);
        look.Text = gdi::GetSysColor(active ? gdi::COLOR_HIGHLIGHTTEXT : gdi::COLOR_BTNTEXT);
    }
    return look;
}

void DrawText(State& s, HDC dc, const std::string& text, RECT r, UINT align, COLORREF color, bool underline) {
    UINT format = gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_NOPREFIX | gdi::DT_END_ELLIPSIS | align;
    if (DWORD(GetWindowLong(s.Self, GWL_EXSTYLE)) & WS_EX_RTLREADING) format |= gdi::DT_RTLREADING;
    comctl::DrawLabel(dc, text, r, format, color, IsWindowEnabled(s.Self));
    if (underline) {
        const SIZE size = comctl::TextSize(dc, text);
        const int y = (r.top + r.bottom + size.cy) / 2 - 1;
        const int x = align == gdi::DT_RIGHT ? int(r.right) - size.cx : int(r.left);
        comctl::FillColor(dc, RECT {x, y, std::min<int>(x + size.cx, r.right), y + 1}, color);
    }
}

void PaintItem(State& s, HDC dc, int index, const NMLVCUSTOMDRAW* custom) {
    const ItemLook look = LookOf(s, index, custom);
    const bool hot = index == s.Hot && (s.ExStyle & LVS_EX_UNDERLINEHOT);
    const DWORD view = View(s);
    const HIMAGELIST images = view == LVS_ICON ? s.Large : s.Small;
    const RECT icon = ItemPart(s, index, LVIR_ICON);
    if (IsImageList(images)) {
        const int image = ItemImage(s, index);
        if (!Alive(s)) return;
        const SIZE size = ImageListSize(images);
        if (image >= 0)
            ImageList_Draw(images, image, dc, icon.left, (icon.top + icon.bottom - size.cy) / 2, IsWindowEnabled(s.Self));
    }
    RECT label = ItemPart(s, index, view == LVS_REPORT ? LVIR_SELECTBOUNDS : LVIR_LABEL);
    if (view == LVS_REPORT) label.left = ItemPart(s, index, LVIR_LABEL).left;
    if (look.Fill != gdi::CLR_NONE) comctl::FillColor(dc, label, look.Fill);
    if (index != s.Editing) {
        RECT text = ItemPart(s, index, LVIR_LABEL);
        text.left += 2;
        text.right -= 2;
        const UINT align = view == LVS_ICON ? gdi::DT_CENTER
            : view == LVS_REPORT            ? ColumnAlign(s, 0)
                                            : ReadingAlign(s, gdi::DT_LEFT);
        DrawText(s, dc, ItemText(s, index, 0), text, align, look.Text, hot);
        if (!Alive(s)) return;
    }
    if (view == LVS_REPORT) {
        const bool fullRow = (s.ExStyle & LVS_EX_FULLROWSELECT) != 0;
        for (int c = 1; c < int(s.Columns.size()); ++c) {
            RECT cell = SubItemRect(s, index, c);
            if (cell.right <= 0) continue;
            cell.left += 6;
            cell.right -= 6;
            const COLORREF color = fullRow ? look.Text : (custom ? custom->clrText : PlainTextColor(s));
            DrawText(s, dc, ItemText(s, index, s.Columns[size_t(c)].SubItem), cell, ColumnAlign(s, c), color, false);
            if (!Alive(s)) return;
        }
        if (s.ExStyle & LVS_EX_GRIDLINES) {
            const RECT row = ItemBounds(s, index);
            comctl::LineSys(dc, row.left, row.bottom - 1, row.right, row.bottom - 1, gdi::COLOR_BTNFACE);
            for (int c = 0; c < int(s.Columns.size()); ++c) {
                const RECT cell = SubItemRect(s, index, c);
                comctl::LineSys(dc, cell.right - 1, cell.top, cell.right - 1, cell.bottom, gdi::COLOR_BTNFACE);
            }
        }
    }
    if (index == s.Focus && s.Focused) gdi::DrawFocusRect(dc, &label);
}

}   // namespace

bool EraseBackground(State& s, HDC dc) {
    if (!dc) return false;
    const RECT c = ClientRect(s.Self);
    const LRESULT answer = CustomDraw(s, dc, CDDS_PREERASE, c);
    if (!Alive(s)) return true;
    if (!(answer & CDRF_SKIPDEFAULT) && s.Back != gdi::CLR_NONE)
        comctl::FillColor(dc, c, s.Back == CLR_DEFAULT ? gdi::GetSysColor(gdi::COLOR_WINDOW) : s.Back);
    if (answer & CDRF_NOTIFYPOSTERASE) CustomDraw(s, dc, CDDS_POSTERASE, c);
    return true;
}

void Paint(State& s, HDC dc, const RECT& update) {
    EraseBackground(s, dc);
    if (!Alive(s)) return;
    const LRESULT answer = CustomDraw(s, dc, CDDS_PREPAINT, update);
    if (!Alive(s) || (answer & CDRF_SKIPDEFAULT)) return;
    const auto [first, last] = VisibleRange(s);
    CacheHint(s, first, last);
    comctl::FontScope font(dc, ControlFont(s.Font));
    const RECT c = ClientRect(s.Self);
    for (int i = first; i <= last && Alive(s) && Valid(s, i); ++i) {
        const RECT bounds = ItemBounds(s, i);
        if (bounds.bottom <= 0 || bounds.top >= c.bottom || bounds.right <= 0 || bounds.left >= c.right) continue;
        NMLVCUSTOMDRAW custom;
        NMLVCUSTOMDRAW* given = nullptr;
        LRESULT itemAnswer = CDRF_DODEFAULT;
        if (answer & CDRF_NOTIFYITEMDRAW) {
            itemAnswer = CustomDraw(s, dc, CDDS_ITEMPREPAINT, bounds, i, 0, &custom);
            if (!Alive(s)) return;
            given = &custom;
        }
        if (!(itemAnswer & CDRF_SKIPDEFAULT)) {
            gdi::SavedDc saved(dc);
            PaintItem(s, dc, i, given);
        }
        if (Alive(s) && (itemAnswer & CDRF_NOTIFYPOSTPAINT)) CustomDraw(s, dc, CDDS_ITEMPOSTPAINT, bounds, i);
    }
    if (Alive(s) && (answer & CDRF_NOTIFYPOSTPAINT)) CustomDraw(s, dc, CDDS_POSTPAINT, update);
}

}
