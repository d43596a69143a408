// The list view's window procedure: a short dispatcher over one handler per message family.
#include "platform/user/controls/ListView.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControlsPaint.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/ItemViewCommon.h"
#include "platform/user/controls/ListViewState.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace korvex::user::listview {

namespace {

// The window's life, style and font.
std::optional<LRESULT> ListWindowMessage(State& s, HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        ViewChanged(s);
        return 0;
    case WM_DESTROY:
        if (s.Editor.Active()) EndEdit(s, true);
        if (Alive(s)) DeleteAll(s);
        return 0;
    case WM_STYLECHANGED:
        if (wParam == WPARAM(GWL_STYLE)) ViewChanged(s);
        return 0;
    case WM_SETFONT:
        s.Font = reinterpret_cast<HFONT>(wParam);
        if (s.Header) SendMessage(s.Header, WM_SETFONT, wParam, lParam);
        Changed(s);
        return 0;
    default:
        return std::nullopt;
    }
}

// Painting.
std::optional<LRESULT> ListPaintMessage(State& s, HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        const RECT update = ClientRect(hwnd);
        PaintInto(hwnd, wParam, [&](HDC dc) { Paint(s, dc, update); });
        return 0;
    }
    default:
        return std::nullopt;
    }
}

// The mouse (clicks, hot tracking) and typed characters.
std::optional<LRESULT> ListInputMessage(State& s, HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        MouseDown(s, LParamToPoint(lParam), UINT(wParam), msg == WM_LBUTTONDBLCLK, msg == WM_RBUTTONDOWN);
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(s, LParamToPoint(lParam));
        return 0;
    case WM_MOUSELEAVE:
        s.Tracking = false;
        if (s.Hot >= 0) {
            InvalidateItem(s, std::exchange(s.Hot, -1));
        }
        return 0;
    case WM_CHAR:
        Char(s, char32_t(wParam));
        return 0;
    default:
        return std::nullopt;
    }
}

// Scrolling: the wheel and the scroll requests.
std::optional<LRESULT> ListScrollMessage(State& s, HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEWHEEL: {
        const int lines = -GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3;
        if (View(s) == LVS_LIST)
            Scroll(s, lines * ListColumnWidth(s), 0);
        else
            Scroll(s, 0, View(s) == LVS_REPORT ? lines : lines * RowHeight(s));
        return 0;
    }
    case LVM_ENSUREVISIBLE:
        if (!Valid(s, int(wParam))) return 0;
        EnsureVisible(s, int(wParam));
        return 1;
    case LVM_SCROLL:
        Scroll(s, int(std::intptr_t(wParam)), int(lParam));
        return 1;
    case LVM_GETTOPINDEX:
        return TopIndex(s);
    case LVM_GETCOUNTPERPAGE:
        return PageCount(s);
    case LVM_GETORIGIN: {
        auto* p = reinterpret_cast<POINT*>(lParam);
        if (!p) return 0;
        *p = POINT {View(s) == LVS_REPORT ? s.HorzPos : 0, View(s) == LVS_ICON || View(s) == LVS_SMALLICON ? s.ViewY : 0};
        return 1;
    }
    default:
        return std::nullopt;
    }
}

// Notifications from the header.
std::optional<LRESULT> ListNotifyMessage(State& s, HWND, UINT msg, WPARAM, LPARAM lParam) {
    switch (msg) {
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr && hdr->hwndFrom == s.Header && s.Header) return HeaderNotify(s, hdr);
        return 0;
    }
    default:
        return std::nullopt;
    }
}

// Colours, image lists, extended styles and the view.
std::optional<LRESULT> ListLookMessage(State& s, HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case LVM_GETBKCOLOR:
        return LRESULT(s.Back == CLR_DEFAULT ? gdi::GetSysColor(gdi::COLOR_WINDOW) : s.Back);
    case LVM_SETBKCOLOR:
        s.Back = COLORREF(lParam);
        Invalidate(s);
        return 1;
    case LVM_GETTEXTCOLOR:
        return LRESULT(s.TextColor == CLR_DEFAULT ? gdi::GetSysColor(gdi::COLOR_WINDOWTEXT) : s.TextColor);
    case LVM_SETTEXTCOLOR:
        s.TextColor = COLORREF(lParam);
        Invalidate(s);
        return 1;
    case LVM_GETTEXTBKCOLOR:
        return LRESULT(s.TextBack == CLR_DEFAULT ? gdi::GetSysColor(gdi::COLOR_WINDOW) : s.TextBack);
    case LVM_SETTEXTBKCOLOR:
        s.TextBack = COLORREF(lParam);
        Invalidate(s);
        return 1;
    case LVM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(wParam == LVSIL_SMALL ? s.Small : wParam == LVSIL_STATE ? s.StateImages : s.Large);
    case LVM_SETIMAGELIST: {
        HIMAGELIST& slot = wParam == LVSIL_SMALL ? s.Small : wParam == LVSIL_STATE ? s.StateImages : s.Large;
        HIMAGELIST old = std::exchange(slot, reinterpret_cast<HIMAGELIST>(lParam));
        Changed(s);
        return reinterpret_cast<LRESULT>(old);
    }
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        const DWORD mask = wParam ? DWORD(wParam) : ~DWORD(0);
        const DWORD old = std::exchange(s.ExStyle, (s.ExStyle & ~mask) | (DWORD(lParam) & mask));
        Changed(s);
        return LRESULT(old);
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return LRESULT(s.ExStyle);
    case LVM_SETVIEW:
        return SetView(s, DWORD(wParam));
    case LVM_GETVIEW:
        return LRESULT(View(s));
    default:
        return std::nullopt;
    }
}

// The items' data: inserting, deleting, reading and writing items, their text and state.
std::optional<LRESULT> ListItemMessage(State& s, HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case LVM_GETITEMCOUNT:
        return Count(s);
    case LVM_GETITEM:
        return GetItem(s, reinterpret_cast<LVITEM*>(lParam));
    case LVM_SETITEM:
        return SetItem(s, reinterpret_cast<const LVITEM*>(lParam));
    case LVM_INSERTITEM:
        return InsertItem(s, reinterpret_cast<const LVITEM*>(lParam));
    case LVM_DELETEITEM:
        return DeleteItem(s, int(wParam));
    case LVM_DELETEALLITEMS:
        return DeleteAll(s);
    case LVM_GETCALLBACKMASK:
        return s.CallbackMask;
    case LVM_SETCALLBACKMASK:
        s.CallbackMask = UINT(wParam);
        return 1;
    case LVM_SETITEMSTATE:
        return SetItemState(s, int(std::intptr_t(wParam)), reinterpret_cast<const LVITEM*>(lParam));
    case LVM_GETITEMSTATE:
        return GetState(s, int(wParam)) & UINT(lParam);
    case LVM_GETITEMTEXT: {
        auto* item = reinterpret_cast<LVITEM*>(lParam);
        if (!item || !Valid(s, int(wParam))) return 0;
        const std::string text = ItemText(s, int(wParam), item->iSubItem);
        CopyText(text, item->pszText, item->cchTextMax);
        return LRESULT(std::min<size_t>(text.size(), size_t(std::max(0, item->cchTextMax - 1))));
    }
    case LVM_SETITEMTEXT: {
        auto* item = reinterpret_cast<LVITEM*>(lParam);
        if (!item || !Valid(s, int(wParam)) || OwnerData(s)) return 0;
        LVITEM text = *item;
        text.mask = LVIF_TEXT;
        text.iItem = int(wParam);
        ApplyItem(s.Items[wParam], text);
        InvalidateItem(s, int(wParam));
        return 1;
    }
    case LVM_SETITEMCOUNT:
        return SetItemCount(s, int(wParam));
    case LVM_SORTITEMS:
        return SortItems(s, LPARAM(wParam), reinterpret_cast<PFNLVCOMPARE>(lParam));
    default:
        return std::nullopt;
    }
}

// Finding items (by state, by text, by point), the selection count, the hot item, label editing.
std::optional<LRESULT> ListFindMessage(State& s, HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case LVM_GETNEXTITEM:
        return GetNextItem(s, int(std::intptr_t(wParam)), UINT(lParam));
    case LVM_FINDITEM: {
        const auto* find = reinterpret_cast<const LVFINDINFO*>(lParam);
        return find ? FindItem(s, int(std::intptr_t(wParam)) + 1, *find) : -1;
    }
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: {
        auto* info = reinterpret_cast<LVHITTESTINFO*>(lParam);
        if (!info) return -1;
        *info = HitTest(s, info->pt, msg == LVM_SUBITEMHITTEST);
        return info->iItem;
    }
    case LVM_GETSELECTEDCOUNT: {
        int n = 0;
        for (int i = 0; i < Count(s); ++i)
            if (GetState(s, i) & LVIS_SELECTED) ++n;
        return n;
    }
    case LVM_GETHOTITEM:
        return s.Hot;
    case LVM_SETHOTITEM: {
        const int old = s.Hot;
        s.Hot = Valid(s, int(wParam)) ? int(wParam) : -1;
        InvalidateItem(s, old);
        InvalidateItem(s, s.Hot);
        return old;
    }
    case LVM_EDITLABEL:
        if (int(std::intptr_t(wParam)) < 0) {
            if (s.Editor.Active()) EndEdit(s, true);
            return 0;
        }
        return reinterpret_cast<LRESULT>(BeginEdit(s, int(wParam)));
    case LVM_GETEDITCONTROL:
        return reinterpret_cast<LRESULT>(s.Editor.Edit());
    default:
        return std::nullopt;
    }
}

// Where items are, text widths, and redrawing.
std::optional<LRESULT> ListGeometryMessage(State& s, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case LVM_GETITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (!r || !Valid(s, int(wParam))) return 0;
        *r = ItemPart(s, int(wParam), int(r->left));
        return 1;
    }
    case LVM_GETSUBITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (!r || !Valid(s, int(wParam)) || r->top < 0 || r->top >= int(s.Columns.size())) return 0;
        *r = r->top == 0 ? ItemPart(s, int(wParam), int(r->left)) : SubItemRect(s, int(wParam), int(r->top));
        return 1;
    }
    case LVM_GETITEMPOSITION: {
        auto* p = reinterpret_cast<POINT*>(lParam);
        if (!p || !Valid(s, int(wParam))) return 0;
        const RECT r = ItemBounds(s, int(wParam));
        *p = POINT {r.left, r.top};
        return 1;
    }
    case LVM_GETVIEWRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (!r) return 0;
        *r = RECT {};
        for (int i = 0; i < Count(s); ++i) {
            const RECT b = ItemBounds(s, i);
            gdi::UnionRect(r, r, &b);
        }
        return 1;
    }
    case LVM_GETSTRINGWIDTH: {
        const char* text = reinterpret_cast<const char*>(lParam);
        return text ? comctl::TextSizeFor(hwnd, ControlFont(s.Font), text).cx : 0;
    }
    case LVM_REDRAWITEMS:
        for (int i = std::max(0, int(wParam)); i <= std::min(int(lParam), Count(s) - 1); ++i)
            InvalidateItem(s, i);
        return 1;
    case LVM_ARRANGE:
    case LVM_UPDATE:
        Changed(s);
        return 1;
    default:
        return std::nullopt;
    }
}

// Columns and the header.
std::optional<LRESULT> ListColumnMessage(State& s, HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case LVM_GETCOLUMN:
        return GetColumn(s, int(wParam), reinterpret_cast<LVCOLUMN*>(lParam));
    case LVM_SETCOLUMN:
        return SetColumn(s, int(wParam), reinterpret_cast<const LVCOLUMN*>(lParam));
    case LVM_INSERTCOLUMN:
        return InsertColumn(s, int(wParam), reinterpret_cast<const LVCOLUMN*>(lParam));
    case LVM_DELETECOLUMN:
        return DeleteColumn(s, int(wParam));
    case LVM_GETCOLUMNWIDTH:
        if (View(s) == LVS_LIST) return ListColumnWidth(s);
        return wParam < s.Columns.size() ? s.Columns[wParam].Width : 0;
    case LVM_SETCOLUMNWIDTH:
        return SetColumnWidth(s, int(wParam), int(lParam));
    case LVM_GETHEADER:
        return reinterpret_cast<LRESULT>(s.Header);
    default:
        return std::nullopt;
    }
}

// ---------------------------------------------------------------------------------------------------------

LRESULT ListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto hooks = KeptStateHooks<State>();
    hooks.Created = [](HWND self, State& st, const CREATESTRUCT*) { st.Self = self; };
    return ItemViewProc<State>(hwnd, msg, wParam, lParam, hooks,
        {ListWindowMessage, ListPaintMessage, ListInputMessage, ListScrollMessage, ListNotifyMessage, ListLookMessage,
            ListItemMessage, ListFindMessage, ListGeometryMessage, ListColumnMessage});
}

}   // namespace

}   // namespace korvex::user::listview

namespace korvex::user {

bool RegisterListViewClass() {
    // Labels are edited in an EDIT.
    return RegisterEditClass() && RegisterControlClass(WC_LISTVIEW, listview::ListProc, CS_GLOBALCLASS | CS_DBLCLKS) != 0;
}

}
