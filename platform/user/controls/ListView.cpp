// The list view: items, owner data, columns on the header, selection states and sorting (the work of its messages).
#include "platform/user/controls/ListView.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControlsPaint.h"
#include "platform/user/controls/Header.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/ItemViewCommon.h"
#include "platform/user/controls/ListViewState.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace korvex::user::listview {

bool Alive(const State& s) {
    return s.Keep != nullptr;
}

DWORD View(const State& s) {
    return GetWindowStyle(s.Self) & LVS_TYPEMASK;
}

bool OwnerData(const State& s) {
    return (GetWindowStyle(s.Self) & LVS_OWNERDATA) != 0;
}

int Count(const State& s) {
    return OwnerData(s) ? s.OwnerCount : int(s.Items.size());
}

bool Valid(const State& s, int index) {
    return index >= 0 && index < Count(s);
}

UINT GetState(const State& s, int index) {
    if (!Valid(s, index)) return 0;
    return OwnerData(s) ? s.OwnerStates[size_t(index)] : s.Items[size_t(index)].State;
}

LRESULT NotifyList(State& s, UINT code, int item, int subItem, UINT newState, UINT oldState, UINT changed, LPARAM param) {
    NMLISTVIEW nm;
    nm.hdr.code = code;
    nm.iItem = item;
    nm.iSubItem = subItem;
    nm.uNewState = newState;
    nm.uOldState = oldState;
    nm.uChanged = changed;
    nm.lParam = param;
    return SendNotify(s.Self, &nm.hdr);
}

void CopyText(const std::string& text, char* out, int room) {
    if (!out || room <= 0) return;
    const size_t n = std::min(text.size(), size_t(room - 1));
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

namespace {

NMLVDISPINFO AskDispInfo(State& s, int index, int subItem, UINT mask, char* buffer, int room) {
    NMLVDISPINFO info;
    info.hdr.code = LVN_GETDISPINFO;
    info.item.mask = mask;
    info.item.iItem = index;
    info.item.iSubItem = subItem;
    info.item.pszText = buffer;
    info.item.cchTextMax = room;
    info.item.iImage = -1;
    if (!OwnerData(s)) info.item.lParam = s.Items[size_t(index)].Param;
    SendNotify(s.Self, &info.hdr);
    return info;
}

}   // namespace

std::string ItemText(State& s, int index, int subItem) {
    if (!Valid(s, index)) return {};
    if (!OwnerData(s)) {
        const Item& item = s.Items[size_t(index)];
        if (subItem == 0 && !item.TextCallback) return item.Text;
        if (subItem > 0) {
            // Sub-items never set follow the item: an item whose text is asked for has them asked for too.
            const size_t at = size_t(subItem - 1);
            if (at >= item.SubItems.size() && !item.TextCallback) return {};
            if (at < item.SubItems.size() && !item.SubItems[at].Callback) return item.SubItems[at].Text;
        }
    }
    char buffer[1024] = {};
    NMLVDISPINFO info = AskDispInfo(s, index, subItem, LVIF_TEXT, buffer, int(sizeof buffer));
    if (!Alive(s) || !info.item.pszText || info.item.pszText == LPSTR_TEXTCALLBACK) return {};
    return std::string(info.item.pszText, strnlen(info.item.pszText, sizeof buffer));
}

int ItemImage(State& s, int index) {
    if (!Valid(s, index)) return -1;
    if (!OwnerData(s) && s.Items[size_t(index)].Image != I_IMAGECALLBACK) return s.Items[size_t(index)].Image;
    NMLVDISPINFO info = AskDispInfo(s, index, 0, LVIF_IMAGE, nullptr, 0);
    return Alive(s) ? info.item.iImage : -1;
}

// ---------------------------------------------------------------------------------------------------------
// States

bool SetState(State& s, int index, UINT state, UINT mask) {
    if (!Valid(s, index)) return false;
    const UINT old = GetState(s, index);
    const UINT next = (old & ~mask) | (state & mask);
    if (next == old) return true;
    const LPARAM param = OwnerData(s) ? 0 : s.Items[size_t(index)].Param;
    if (NotifyList(s, LVN_ITEMCHANGING, index, 0, next, old, LVIF_STATE, param) != 0) return false;
    if (!Alive(s) || !Valid(s, index)) return false;
    // One focused item at most.
    if ((next & LVIS_FOCUSED) && !(old & LVIS_FOCUSED)) {
        const int previous = s.Focus;
        s.Focus = index;
        if (previous != index && Valid(s, previous)) {
            SetState(s, previous, 0, LVIS_FOCUSED);
            if (!Alive(s) || !Valid(s, index)) return false;
        }
        s.Focus = index;
    }
    if (!(next & LVIS_FOCUSED) && s.Focus == index) s.Focus = -1;
    (OwnerData(s) ? s.OwnerStates[size_t(index)] : s.Items[size_t(index)].State) = next;
    InvalidateItem(s, index);
    NotifyList(s, LVN_ITEMCHANGED, index, 0, next, old, LVIF_STATE, param);
    return Alive(s);
}

void SelectOnly(State& s, int index) {
    for (int i = 0; i < Count(s) && Alive(s); ++i)
        if (i != index && (GetState(s, i) & LVIS_SELECTED)) SetState(s, i, 0, LVIS_SELECTED);
    if (Alive(s) && Valid(s, index)) SetState(s, index, LVIS_SELECTED, LVIS_SELECTED);
}

void SelectRange(State& s, int from, int to, bool keepOthers) {
    if (from > to) std::swap(from, to);
    for (int i = 0; i < Count(s) && Alive(s); ++i) {
        const bool inside = i >= from && i <= to;
        if (inside)
            SetState(s, i, LVIS_SELECTED, LVIS_SELECTED);
        else if (!keepOthers && (GetState(s, i) & LVIS_SELECTED))
            SetState(s, i, 0, LVIS_SELECTED);
    }
}

void SetFocusItem(State& s, int index) {
    if (Valid(s, index)) SetState(s, index, LVIS_FOCUSED, LVIS_FOCUSED);
    if (Alive(s) && Valid(s, index)) EnsureVisible(s, index);
}

// ---------------------------------------------------------------------------------------------------------
// Items

void ApplyItem(Item& item, const LVITEM& in) {
    if (in.iSubItem > 0) {
        if (!(in.mask & LVIF_TEXT)) return;
        if (item.SubItems.size() < size_t(in.iSubItem)) item.SubItems.resize(size_t(in.iSubItem));
        Item::Sub& sub = item.SubItems[size_t(in.iSubItem - 1)];
        sub.Callback = in.pszText == LPSTR_TEXTCALLBACK;
        sub.Text = in.pszText && !sub.Callback ? in.pszText : "";
        return;
    }
    if (in.mask & LVIF_TEXT) {
        item.TextCallback = in.pszText == LPSTR_TEXTCALLBACK;
        item.Text = in.pszText && !item.TextCallback ? in.pszText : "";
    }
    if (in.mask & LVIF_IMAGE) item.Image = in.iImage;
    if (in.mask & LVIF_PARAM) item.Param = in.lParam;
    if (in.mask & LVIF_INDENT) item.Indent = in.iIndent;
}

namespace {

int SortedPosition(const State& s, const std::string& text) {
    const DWORD style = GetWindowStyle(s.Self);
    const bool descending = (style & LVS_SORTDESCENDING) != 0;
    auto it = std::find_if(s.Items.begin(), s.Items.end(), [&](const Item& other) {
        return descending ? other.Text < text : other.Text > text;
    });
    return int(it - s.Items.begin());
}

}   // namespace

LRESULT InsertItem(State& s, const LVITEM* in) {
    if (!in || in->iSubItem != 0 || OwnerData(s)) return -1;
    Item item;
    ApplyItem(item, *in);
    int at = std::clamp(in->iItem, 0, int(s.Items.size()));
    if (GetWindowStyle(s.Self) & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) at = SortedPosition(s, item.Text);
    s.Items.insert(s.Items.begin() + at, std::move(item));
    // Indices after the new item move up one.
    if (s.Focus >= at) ++s.Focus;
    if (s.Anchor >= at) ++s.Anchor;
    s.Hot = -1;
    if (in->mask & LVIF_STATE) s.Items[size_t(at)].State = in->state & in->stateMask & ~LVIS_FOCUSED;
    Changed(s);
    NotifyList(s, LVN_INSERTITEM, at);
    return Alive(s) ? at : -1;
}

namespace {

void Forget(State& s, int index) {
    auto shift = [&](int& i) {
        if (i == index) i = -1;
        else if (i > index) --i;
    };
    shift(s.Focus);
    shift(s.Anchor);
    shift(s.Hot);
    shift(s.EditPending);
}

}   // namespace

LRESULT DeleteItem(State& s, int index) {
    if (!Valid(s, index)) return 0;
    if (s.Editing == index) EndEdit(s, true);
    if (!Alive(s) || !Valid(s, index)) return 0;
    NotifyList(s, LVN_DELETEITEM, index, 0, 0, 0, 0, OwnerData(s) ? 0 : s.Items[size_t(index)].Param);
    if (!Alive(s) || !Valid(s, index)) return 0;
    if (OwnerData(s)) {
        --s.OwnerCount;
        s.OwnerStates.erase(s.OwnerStates.begin() + index);
    } else {
        s.Items.erase(s.Items.begin() + index);
    }
    Forget(s, index);
    Changed(s);
    return 1;
}

LRESULT DeleteAll(State& s) {
    if (s.Editor.Active()) EndEdit(s, true);
    if (!Alive(s)) return 0;
    // A non-zero answer to LVN_DELETEALLITEMS spares the per-item notifications.
    const bool quiet = NotifyList(s, LVN_DELETEALLITEMS, -1) != 0;
    if (!Alive(s)) return 0;
    if (!quiet && !OwnerData(s)) {
        for (int i = int(s.Items.size()) - 1; i >= 0 && Alive(s); --i)
            if (i < int(s.Items.size())) NotifyList(s, LVN_DELETEITEM, i, 0, 0, 0, 0, s.Items[size_t(i)].Param);
        if (!Alive(s)) return 0;
    }
    s.Items.clear();
    s.OwnerCount = 0;
    s.OwnerStates.clear();
    s.Focus = s.Anchor = s.Hot = s.EditPending = -1;
    s.Top = s.HorzPos = s.ViewY = 0;
    s.HintFrom = s.HintTo = -1;
    Changed(s);
    return 1;
}

LRESULT GetItem(State& s, LVITEM* out) {
    if (!out || !Valid(s, out->iItem)) return 0;
    if (out->mask & LVIF_TEXT) CopyText(ItemText(s, out->iItem, out->iSubItem), out->pszText, out->cchTextMax);
    if (!Alive(s) || !Valid(s, out->iItem)) return 0;
    if (out->mask & LVIF_STATE) out->state = GetState(s, out->iItem) & (out->stateMask ? out->stateMask : ~0u);
    if (OwnerData(s)) return 1;
    const Item& item = s.Items[size_t(out->iItem)];
    if (out->mask & LVIF_IMAGE) out->iImage = item.Image;
    if (out->mask & LVIF_PARAM) out->lParam = item.Param;
    if (out->mask & LVIF_INDENT) out->iIndent = item.Indent;
    return 1;
}

LRESULT SetItem(State& s, const LVITEM* in) {
    if (!in || !Valid(s, in->iItem)) return 0;
    if (in->mask & LVIF_STATE) {
        if (!SetState(s, in->iItem, in->state, in->stateMask)) return 0;
        if (!Alive(s) || !Valid(s, in->iItem)) return 0;
    }
    if (OwnerData(s)) return 1;
    ApplyItem(s.Items[size_t(in->iItem)], *in);
    InvalidateItem(s, in->iItem);
    return 1;
}

LRESULT SetItemState(State& s, int index, const LVITEM* in) {
    if (!in) return 0;
    if (index != -1) return SetState(s, index, in->state, in->stateMask) ? 1 : 0;
    for (int i = 0; i < Count(s) && Alive(s); ++i)
        SetState(s, i, in->state, in->stateMask & ~LVIS_FOCUSED);   // "all" never moves the focus
    return Alive(s) ? 1 : 0;
}

LRESULT GetNextItem(State& s, int start, UINT flags) {
    const UINT want = flags & (LVNI_FOCUSED | LVNI_SELECTED);
    auto matches = [&](int i) { return (GetState(s, i) & want) == want; };
    if (flags & (LVNI_ABOVE | LVNI_BELOW | LVNI_TOLEFT | LVNI_TORIGHT)) {
        // The neighbour in a direction: the next index that lies that way.
        const int step = (flags & (LVNI_ABOVE | LVNI_TOLEFT)) ? -1 : 1;
        for (int i = start + step; i >= 0 && i < Count(s); i += step)
            if (matches(i)) return i;
        return -1;
    }
    for (int i = std::max(0, start + 1); i < Count(s); ++i)
        if (matches(i)) return i;
    return -1;
}

LRESULT SetItemCount(State& s, int count) {
    if (!OwnerData(s)) {
        s.Items.reserve(size_t(std::max(0, count)));
        return 1;
    }
    count = std::max(0, count);
    if (s.Editor.Active()) EndEdit(s, true);
    s.OwnerCount = count;
    s.OwnerStates.resize(size_t(count), 0);
    for (int* index : {&s.Focus, &s.Anchor, &s.Hot, &s.EditPending})
        if (*index >= count) *index = -1;
    s.HintFrom = s.HintTo = -1;
    Changed(s);
    return 1;
}

LRESULT SortItems(State& s, LPARAM data, PFNLVCOMPARE compare) {
    if (!compare || OwnerData(s)) return 0;
    if (s.Editor.Active()) EndEdit(s, true);
    // Focus and anchor follow their items.
    const LPARAM focused = Valid(s, s.Focus) ? s.Items[size_t(s.Focus)].Param : 0;
    const bool hadFocus = Valid(s, s.Focus);
    std::stable_sort(s.Items.begin(), s.Items.end(),
        [&](const Item& a, const Item& b) { return compare(a.Param, b.Param, data) < 0; });
    s.Focus = -1;
    for (int i = 0; hadFocus && i < int(s.Items.size()); ++i)
        if ((s.Items[size_t(i)].State & LVIS_FOCUSED) && s.Items[size_t(i)].Param == focused) s.Focus = i;
    s.Anchor = s.Focus;
    Changed(s);
    return 1;
}

// ---------------------------------------------------------------------------------------------------------
// Columns

namespace {

void MakeHeader(State& s) {
    if (s.Header) return;
    DWORD style = WS_CHILD | HDS_HORZ | HDS_FULLDRAG;
    if (!(GetWindowStyle(s.Self) & LVS_NOSORTHEADER)) style |= HDS_BUTTONS;
    s.Header = CreateWindowEx(0, WC_HEADER, "", style, 0, 0, 0, 0, s.Self, nullptr, nullptr, nullptr);
    if (s.Header && s.Font) SendMessage(s.Header, WM_SETFONT, reinterpret_cast<WPARAM>(s.Font), 0);
}

HDITEM HeaderItem(const Column& column) {
    HDITEM item;
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_IMAGE;
    item.pszText = const_cast<char*>(column.Text.c_str());
    item.cxy = column.Width;
    item.fmt = (column.Format & LVCFMT_JUSTIFYMASK) | HDF_STRING | ((column.Format & LVCFMT_IMAGE) ? HDF_IMAGE : 0);
    item.iImage = column.Image;
    return item;
}

void ApplyColumn(Column& column, const LVCOLUMN& in) {
    if (in.mask & LVCF_FMT) column.Format = in.fmt;
    if (in.mask & LVCF_WIDTH) column.Width = std::max(0, in.cx);
    if (in.mask & LVCF_TEXT) column.Text = in.pszText ? in.pszText : "";
    if (in.mask & LVCF_SUBITEM) column.SubItem = in.iSubItem;
    if (in.mask & LVCF_IMAGE) column.Image = in.iImage;
}

}   // namespace

LRESULT InsertColumn(State& s, int index, const LVCOLUMN* in) {
    if (!in) return -1;
    MakeHeader(s);
    index = std::clamp(index, 0, int(s.Columns.size()));
    Column column;
    column.SubItem = index;
    ApplyColumn(column, *in);
    s.Columns.insert(s.Columns.begin() + index, column);
    HDITEM item = HeaderItem(column);
    if (s.Header) SendMessage(s.Header, HDM_INSERTITEM, WPARAM(index), reinterpret_cast<LPARAM>(&item));
    Changed(s);
    return index;
}

LRESULT SetColumn(State& s, int index, const LVCOLUMN* in) {
    if (!in || index < 0 || index >= int(s.Columns.size())) return 0;
    ApplyColumn(s.Columns[size_t(index)], *in);
    HDITEM item = HeaderItem(s.Columns[size_t(index)]);
    if (s.Header) SendMessage(s.Header, HDM_SETITEM, WPARAM(index), reinterpret_cast<LPARAM>(&item));
    if (Alive(s)) Changed(s);
    return 1;
}

LRESULT GetColumn(const State& s, int index, LVCOLUMN* out) {
    if (!out || index < 0 || index >= int(s.Columns.size())) return 0;
    const Column& column = s.Columns[size_t(index)];
    if (out->mask & LVCF_FMT) out->fmt = column.Format;
    if (out->mask & LVCF_WIDTH) out->cx = column.Width;
    if (out->mask & LVCF_TEXT) CopyText(column.Text, out->pszText, out->cchTextMax);
    if (out->mask & LVCF_SUBITEM) out->iSubItem = column.SubItem;
    if (out->mask & LVCF_IMAGE) out->iImage = column.Image;
    if (out->mask & LVCF_ORDER) out->iOrder = index;
    return 1;
}

namespace {

int AutoWidth(State& s, int column, bool useHeader) {
    int widest = 0;
    const auto [first, last] = std::pair {0, Count(s) - 1};
    const int limit = std::min(last, first + 1000);   // owner data: the widths of the first thousand
    for (int i = first; i <= limit && Alive(s); ++i)
        widest = std::max<int>(widest, SendMessage(s.Self, LVM_GETSTRINGWIDTH, 0,
                                           reinterpret_cast<LPARAM>(ItemText(s, i, s.Columns[size_t(column)].SubItem).c_str())));
    widest += 12;
    if (column == 0 && IsImageList(s.Small)) widest += ImageListSize(s.Small).cx + 2;
    if (useHeader)
        widest = std::max<int>(widest, SendMessage(s.Self, LVM_GETSTRINGWIDTH, 0,
                                           reinterpret_cast<LPARAM>(s.Columns[size_t(column)].Text.c_str())) + 14);
    return widest;
}

}   // namespace

LRESULT SetColumnWidth(State& s, int index, int width) {
    if (View(s) == LVS_LIST) {
        s.ListColumnWidth = std::max(1, width);
        Changed(s);
        return 1;
    }
    if (index < 0 || index >= int(s.Columns.size())) return 0;
    if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER)
        width = AutoWidth(s, index, width == LVSCW_AUTOSIZE_USEHEADER);
    LVCOLUMN column;
    column.mask = LVCF_WIDTH;
    column.cx = width;
    return SetColumn(s, index, &column);
}

LRESULT DeleteColumn(State& s, int index) {
    if (index < 0 || index >= int(s.Columns.size())) return 0;
    s.Columns.erase(s.Columns.begin() + index);
    if (s.Header) SendMessage(s.Header, HDM_DELETEITEM, WPARAM(index), 0);
    if (Alive(s)) Changed(s);
    return 1;
}

// The header's notifications: a resized section resizes its column; a click is a column click.
LRESULT HeaderNotify(State& s, NMHDR* hdr) {
    auto* nm = reinterpret_cast<NMHEADER*>(hdr);
    switch (hdr->code) {
    case HDN_ITEMCHANGED:
        if (nm->pitem && (nm->pitem->mask & HDI_WIDTH) && nm->iItem >= 0 && nm->iItem < int(s.Columns.size())) {
            s.Columns[size_t(nm->iItem)].Width = nm->pitem->cxy;
            Changed(s);
        }
        return 0;
    case HDN_ITEMCLICK:
        NotifyList(s, LVN_COLUMNCLICK, -1, nm->iItem);
        return 0;
    case HDN_DIVIDERDBLCLICK:
        if (nm->iItem >= 0 && nm->iItem < int(s.Columns.size()))
            SetColumnWidth(s, nm->iItem, LVSCW_AUTOSIZE_USEHEADER);
        return 0;
    default:
        // The rest (track codes, changing) are passed on to the list's parent, which may refuse them.
        return SendMessage(GetParent(s.Self), WM_NOTIFY, WPARAM(hdr->idFrom), reinterpret_cast<LPARAM>(hdr));
    }
}

LRESULT SetView(State& s, DWORD view) {
    if (view > LVS_LIST) return -1;
    const DWORD style = GetWindowStyle(s.Self);
    if ((style & LVS_TYPEMASK) == view) return 1;
    SetWindowLongPtr(s.Self, GWL_STYLE, LONG_PTR((style & ~LVS_TYPEMASK) | view));
    return 1;
}

void ViewChanged(State& s) {
    if (View(s) == LVS_REPORT) MakeHeader(s);
    if (std::exchange(s.ShownView, View(s)) == View(s)) {
        Changed(s);
        return;
    }
    s.Top = s.HorzPos = s.ViewY = 0;
    s.HintFrom = s.HintTo = -1;
    Changed(s);
}

}   // namespace korvex::user::listview
