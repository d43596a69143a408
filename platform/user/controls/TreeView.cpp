// The tree view: items and their fields, insertion, deletion, expansion, selection, and the window procedure.
#include "platform/user/controls/TreeView.h"

#include "platform/user/Focus.h"
#include "platform/user/Timers.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/ItemViewCommon.h"
#include "platform/user/controls/TreeViewState.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace korvex::user {

namespace tree {

bool Alive(const State& s) {
    return s.Keep != nullptr;
}

bool IsItem(const State& s, const TreeItem* item) {
    return item != nullptr && s.Live.count(item) != 0;
}

int Level(const TreeItem* item) {
    int level = -1;
    for (const TreeItem* p = item->Parent; p != nullptr; p = p->Parent)
        ++level;
    return level;
}

bool Expanded(const TreeItem* item) {
    return (item->State & TVIS_EXPANDED) != 0;
}

namespace {

// TVN_GETDISPINFO for the fields of mask; the answer lands in info.item.
NMTVDISPINFO AskDispInfo(State& s, TreeItem* item, UINT mask, char* buffer, int room) {
    NMTVDISPINFO info;
    info.hdr.code = TVN_GETDISPINFO;
    info.item.mask = mask;
    info.item.hItem = item;
    info.item.state = item->State;
    info.item.lParam = item->Param;
    info.item.pszText = buffer;
    info.item.cchTextMax = room;
    info.item.iImage = item->Image;
    info.item.iSelectedImage = item->SelectedImage;
    SendNotify(s.Self, &info.hdr);
    return info;
}

void FillItem(const TreeItem* item, TVITEM* out) {
    out->hItem = const_cast<TreeItem*>(item);
    out->state = item->State;
    out->lParam = item->Param;
    out->iImage = item->Image;
    out->iSelectedImage = item->SelectedImage;
    out->cChildren = item->ChildrenFlag == -2 ? (item->Children.empty() ? 0 : 1) : item->ChildrenFlag;
}

}   // namespace

bool HasChildren(State& s, TreeItem* item) {
    if (item->ChildrenFlag == I_CHILDRENCALLBACK) {
        NMTVDISPINFO info = AskDispInfo(s, item, TVIF_CHILDREN, nullptr, 0);
        return Alive(s) && info.item.cChildren != 0;
    }
    if (item->ChildrenFlag == -2) return !item->Children.empty();
    return item->ChildrenFlag != 0;
}

std::string ItemText(State& s, TreeItem* item) {
    if (!item->TextCallback) return item->Text;
    char buffer[1024] = {};
    NMTVDISPINFO info = AskDispInfo(s, item, TVIF_TEXT, buffer, int(sizeof buffer));
    if (!Alive(s) || info.item.pszText == nullptr || info.item.pszText == LPSTR_TEXTCALLBACK) return {};
    return std::string(info.item.pszText, strnlen(info.item.pszText, sizeof buffer));
}

int ItemImage(State& s, TreeItem* item, bool selected) {
    const int image = selected ? item->SelectedImage : item->Image;
    if (image != I_IMAGECALLBACK) return image;
    NMTVDISPINFO info = AskDispInfo(s, item, selected ? TVIF_SELECTEDIMAGE : TVIF_IMAGE, nullptr, 0);
    if (!Alive(s)) return -1;
    return selected ? info.item.iSelectedImage : info.item.iImage;
}

namespace {

LRESULT NotifyTree(State& s, UINT code, UINT action, TreeItem* oldItem, TreeItem* newItem) {
    NMTREEVIEW nm;
    nm.hdr.code = code;
    nm.action = action;
    nm.itemOld.mask = nm.itemNew.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
    if (oldItem) FillItem(oldItem, &nm.itemOld);
    if (newItem) FillItem(newItem, &nm.itemNew);
    return SendNotify(s.Self, &nm.hdr);
}

bool IsDescendant(const TreeItem* item, const TreeItem* ancestor) {
    for (const TreeItem* p = item; p != nullptr; p = p->Parent)
        if (p == ancestor) return true;
    return false;
}

// ---------------------------------------------------------------------------------------------------------
// Items

void SetFields(TreeItem* item, const TVITEM& in) {
    if (in.mask & TVIF_TEXT) {
        item->TextCallback = in.pszText == LPSTR_TEXTCALLBACK;
        item->Text = (in.pszText && !item->TextCallback) ? in.pszText : "";
    }
    if (in.mask & TVIF_IMAGE) item->Image = in.iImage;
    if (in.mask & TVIF_SELECTEDIMAGE) item->SelectedImage = in.iSelectedImage;
    if (in.mask & TVIF_PARAM) item->Param = in.lParam;
    if (in.mask & TVIF_CHILDREN) item->ChildrenFlag = in.cChildren == I_CHILDRENCALLBACK ? I_CHILDRENCALLBACK
                                                                                         : (in.cChildren ? 1 : 0);
    // Selection goes through its own message; TVIS_EXPANDED set here changes the state without notifications.
    const UINT settable = in.stateMask & ~TVIS_SELECTED;
    if (in.mask & TVIF_STATE) item->State = (item->State & ~settable) | (in.state & settable);
}

TreeItem* ParentOf(State& s, HTREEITEM parent) {
    if (parent == nullptr || parent == TVI_ROOT) return &s.Root;
    return IsItem(s, parent) ? parent : nullptr;
}

LRESULT InsertItem(State& s, const TVINSERTSTRUCT* in) {
    if (!in) return 0;
    TreeItem* parent = ParentOf(s, in->hParent);
    if (!parent) return 0;
    auto made = std::make_unique<TreeItem>();
    made->Parent = parent;
    SetFields(made.get(), in->item);
    auto& list = parent->Children;
    size_t at = list.size();
    if (in->hInsertAfter == TVI_FIRST) {
        at = 0;
    } else if (in->hInsertAfter == TVI_SORT) {
        const std::string text = made->Text;
        at = size_t(std::find_if(list.begin(), list.end(), [&](const auto& c) { return c->Text > text; }) - list.begin());
    } else if (in->hInsertAfter != TVI_LAST && in->hInsertAfter != nullptr) {
        auto it = std::find_if(list.begin(), list.end(), [&](const auto& c) { return c.get() == in->hInsertAfter; });
        if (it != list.end()) at = size_t(it - list.begin()) + 1;
    }
    TreeItem* item = made.get();
    list.insert(list.begin() + std::ptrdiff_t(at), std::move(made));
    s.Live.insert(item);
    Changed(s);
    return reinterpret_cast<LRESULT>(item);
}

// Deletes the children first (each reported by TVN_DELETEITEM), then the item itself.
void DeleteSubtree(State& s, TreeItem* item) {
    // A handler may destroy the window or delete the item while its children go: both are checked first.
    while (Alive(s) && (item == &s.Root || IsItem(s, item)) && !item->Children.empty())
        DeleteSubtree(s, item->Children.back().get());
    if (!Alive(s) || item == &s.Root || !IsItem(s, item)) return;
    if (s.Editing == item) EndEdit(s, true);
    if (s.EditPending == item) s.EditPending = nullptr;
    NotifyTree(s, TVN_DELETEITEM, 0, item, nullptr);
    if (!Alive(s) || !IsItem(s, item)) return;
    if (s.Caret == item) s.Caret = nullptr;
    if (s.DropHilite == item) s.DropHilite = nullptr;
    s.Live.erase(item);
    auto& siblings = item->Parent->Children;
    siblings.erase(std::find_if(siblings.begin(), siblings.end(), [&](const auto& c) { return c.get() == item; }));
}

LRESULT GetItem(State& s, TVITEM* out) {
    if (!out || !IsItem(s, out->hItem)) return 0;
    TreeItem* item = out->hItem;
    if ((out->mask & TVIF_TEXT) && out->pszText && out->cchTextMax > 0) {
        const std::string text = ItemText(s, item);
        const size_t n = std::min(text.size(), size_t(out->cchTextMax - 1));
        std::memcpy(out->pszText, text.data(), n);
        out->pszText[n] = '\0';
    }
    if (out->mask & TVIF_IMAGE) out->iImage = item->Image;
    if (out->mask & TVIF_SELECTEDIMAGE) out->iSelectedImage = item->SelectedImage;
    if (out->mask & TVIF_PARAM) out->lParam = item->Param;
    if (out->mask & TVIF_STATE) out->state = item->State & (out->stateMask ? out->stateMask : ~0u);
    if (out->mask & TVIF_CHILDREN)
        out->cChildren = item->ChildrenFlag == -2 ? (item->Children.empty() ? 0 : 1) : item->ChildrenFlag;
    return 1;
}

LRESULT SetItem(State& s, const TVITEM* in) {
    if (!in || !IsItem(s, in->hItem)) return 0;
    SetFields(in->hItem, *in);
    Changed(s);
    return 1;
}

TreeItem* Sibling(TreeItem* item, int step) {
    auto& list = item->Parent->Children;
    auto it = std::find_if(list.begin(), list.end(), [&](const auto& c) { return c.get() == item; });
    const std::ptrdiff_t at = (it - list.begin()) + step;
    return at >= 0 && at < std::ptrdiff_t(list.size()) ? list[size_t(at)].get() : nullptr;
}

LRESULT GetNextItem(State& s, UINT relation, HTREEITEM from) {
    TreeItem* item = nullptr;
    switch (relation) {
    case TVGN_ROOT:
        item = s.Root.Children.empty() ? nullptr : s.Root.Children.front().get();
        break;
    case TVGN_CARET:
        item = s.Caret;
        break;
    case TVGN_DROPHILITE:
        item = s.DropHilite;
        break;
    case TVGN_FIRSTVISIBLE:
        item = s.Top < int(Rows(s).size()) ? Rows(s)[size_t(s.Top)] : nullptr;
        break;
    case TVGN_LASTVISIBLE:
        item = Rows(s).empty() ? nullptr : Rows(s).back();
        break;
    default: {
        if (!IsItem(s, from)) {
            if (relation == TVGN_CHILD && (from == nullptr || from == TVI_ROOT))
                item = s.Root.Children.empty() ? nullptr : s.Root.Children.front().get();
            break;
        }
        switch (relation) {
        case TVGN_NEXT:
            item = Sibling(from, 1);
            break;
        case TVGN_PREVIOUS:
            item = Sibling(from, -1);
            break;
        case TVGN_PARENT:
            item = from->Parent == &s.Root ? nullptr : from->Parent;
            break;
        case TVGN_CHILD:
            item = from->Children.empty() ? nullptr : from->Children.front().get();
            break;
        case TVGN_NEXTVISIBLE:
        case TVGN_PREVIOUSVISIBLE: {
            const int row = RowOf(s, from);
            const int next = row + (relation == TVGN_NEXTVISIBLE ? 1 : -1);
            if (row >= 0 && next >= 0 && next < int(Rows(s).size())) item = Rows(s)[size_t(next)];
            break;
        }
        default:
            break;
        }
    }
    }
    return reinterpret_cast<LRESULT>(item);
}

void SortChildren(State& s, TreeItem* parent, PFNTVCOMPARE compare, LPARAM data) {
    auto& list = parent->Children;
    std::stable_sort(list.begin(), list.end(), [&](const auto& a, const auto& b) {
        if (compare) return compare(a->Param, b->Param, data) < 0;
        return a->Text < b->Text;
    });
    Changed(s);
}

LRESULT GetItemRect(State& s, WPARAM textOnly, RECT* inOut) {
    if (!inOut) return 0;
    TreeItem* item = nullptr;
    std::memcpy(&item, inOut, sizeof item);
    if (!IsItem(s, item) || RowOf(s, item) < 0) return 0;
    *inOut = ItemRect(s, item, textOnly != 0);
    return 1;
}

}   // namespace

// ---------------------------------------------------------------------------------------------------------
// Expansion and selection

bool Expand(State& s, TreeItem* item, UINT action) {
    if (!IsItem(s, item)) return false;
    const UINT kind = action & TVE_TOGGLE;
    bool expand = kind == TVE_EXPAND || (kind == TVE_TOGGLE && !Expanded(item));
    if (kind == 0) return false;
    if (expand == Expanded(item)) return false;
    if (expand && !HasChildren(s, item)) return false;
    const UINT code = expand ? TVE_EXPAND : TVE_COLLAPSE;
    if (NotifyTree(s, TVN_ITEMEXPANDING, code, nullptr, item) != 0) return false;
    if (!Alive(s) || !IsItem(s, item)) return false;
    if (expand) {
        item->State |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    } else {
        item->State &= ~TVIS_EXPANDED;
        // A selection inside the collapsed branch moves up to the item.
        if (s.Caret && s.Caret != item && IsDescendant(s.Caret, item)) {
            if (!Select(s, item, TVC_UNKNOWN)) {
                if (!Alive(s)) return false;
            }
        }
        if (!Alive(s) || !IsItem(s, item)) return false;
        if (action & TVE_COLLAPSERESET) {
            while (Alive(s) && IsItem(s, item) && !item->Children.empty())
                DeleteSubtree(s, item->Children.back().get());
            if (!Alive(s) || !IsItem(s, item)) return false;
            item->State &= ~TVIS_EXPANDEDONCE;
        }
    }
    Changed(s);
    NotifyTree(s, TVN_ITEMEXPANDED, code, nullptr, item);
    return Alive(s);
}

bool Select(State& s, TreeItem* item, UINT cause) {
    if (item != nullptr && !IsItem(s, item)) return false;
    if (item == s.Caret) {
        if (item) EnsureVisible(s, item);
        return true;
    }
    TreeItem* old = s.Caret;
    if (NotifyTree(s, TVN_SELCHANGING, cause, old, item) != 0) return false;
    if (!Alive(s) || (item && !IsItem(s, item))) return false;
    if (!IsItem(s, old)) old = nullptr;
    if (old) old->State &= ~TVIS_SELECTED;
    s.Caret = item;
    if (item) {
        item->State |= TVIS_SELECTED;
        // Make every ancestor expanded so the item shows.
        for (TreeItem* p = item->Parent; p && p != &s.Root; p = p->Parent)
            if (!Expanded(p)) Expand(s, p, TVE_EXPAND);
        if (!Alive(s)) return false;
        EnsureVisible(s, item);
    }
    Invalidate(s);
    NotifyTree(s, TVN_SELCHANGED, cause, old, IsItem(s, item) ? item : nullptr);
    return Alive(s);
}

void DeleteItem(State& s, TreeItem* item) {
    const bool hadCaret = s.Caret && (item == &s.Root || IsDescendant(s.Caret, item));
    DeleteSubtree(s, item);
    if (!Alive(s)) return;
    if (hadCaret && s.Caret == nullptr) NotifyTree(s, TVN_SELCHANGED, TVC_UNKNOWN, nullptr, nullptr);
    if (Alive(s)) Changed(s);
}

namespace {

// ---------------------------------------------------------------------------------------------------------

void Created(HWND hwnd, State& s, const CREATESTRUCT*) {
    s.Self = hwnd;
}

// The window's life and font.
std::optional<LRESULT> TreeWindowMessage(State& s, HWND, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_CREATE:
        UpdateScrollBars(s);
        return 0;
    case WM_DESTROY:
        if (s.Editor.Active()) EndEdit(s, true);
        if (Alive(s)) DeleteItem(s, &s.Root);
        return 0;
    case WM_SETFONT:
        s.Font = reinterpret_cast<HFONT>(wParam);
        Changed(s);
        return 0;
    default:
        return std::nullopt;
    }
}

// Painting.
std::optional<LRESULT> TreePaintMessage(State& s, HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        PaintInto(hwnd, wParam, [&](HDC dc) { Paint(s, dc); });
        return 0;
    default:
        return std::nullopt;
    }
}

// The mouse.
std::optional<LRESULT> TreeMouseMessage(State& s, HWND, UINT msg, WPARAM, LPARAM lParam) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        MouseDown(s, LParamToPoint(lParam), msg == WM_LBUTTONDBLCLK, msg == WM_RBUTTONDOWN);
        return 0;
    default:
        return std::nullopt;
    }
}

// Scrolling: the wheel, making an item visible.
std::optional<LRESULT> TreeScrollMessage(State& s, HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEWHEEL: {
        const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
        SetTop(s, s.Top - delta / WHEEL_DELTA * 3);
        return 0;
    }
    case TVM_ENSUREVISIBLE: {
        auto* item = reinterpret_cast<HTREEITEM>(lParam);
        if (!IsItem(s, item)) return 0;
        for (TreeItem* p = item->Parent; p && p != &s.Root && Alive(s); p = p->Parent)
            if (!Expanded(p)) Expand(s, p, TVE_EXPAND);
        if (Alive(s) && IsItem(s, item)) EnsureVisible(s, item);
        return 1;
    }
    case TVM_GETVISIBLECOUNT:
        return PageRows(s);
    default:
        return std::nullopt;
    }
}

// The items' data: inserting, deleting, expanding, reading and writing, sorting.
std::optional<LRESULT> TreeItemMessage(State& s, HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case TVM_INSERTITEM:
        return InsertItem(s, reinterpret_cast<const TVINSERTSTRUCT*>(lParam));
    case TVM_DELETEITEM: {
        auto* item = reinterpret_cast<HTREEITEM>(lParam);
        if (item == TVI_ROOT || item == nullptr) {
            DeleteItem(s, &s.Root);
            return 1;
        }
        if (!IsItem(s, item)) return 0;
        DeleteItem(s, item);
        return 1;
    }
    case TVM_EXPAND:
        return Expand(s, reinterpret_cast<HTREEITEM>(lParam), UINT(wParam)) ? 1 : 0;
    case TVM_GETCOUNT:
        return LRESULT(s.Live.size());
    case TVM_GETITEM:
        return GetItem(s, reinterpret_cast<TVITEM*>(lParam));
    case TVM_SETITEM:
        return SetItem(s, reinterpret_cast<const TVITEM*>(lParam));
    case TVM_SORTCHILDREN: {
        TreeItem* parent = ParentOf(s, reinterpret_cast<HTREEITEM>(lParam));
        if (!parent) return 0;
        SortChildren(s, parent, nullptr, 0);
        return 1;
    }
    case TVM_SORTCHILDRENCB: {
        const auto* sort = reinterpret_cast<const TVSORTCB*>(lParam);
        TreeItem* parent = sort ? ParentOf(s, sort->hParent) : nullptr;
        if (!parent) return 0;
        SortChildren(s, parent, sort->lpfnCompare, sort->lParam);
        return 1;
    }
    default:
        return std::nullopt;
    }
}

// Finding and selecting items (by relation, by point), where an item is, label editing.
std::optional<LRESULT> TreeFindMessage(State& s, HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case TVM_GETNEXTITEM:
        return GetNextItem(s, UINT(wParam), reinterpret_cast<HTREEITEM>(lParam));
    case TVM_SELECTITEM: {
        auto* item = reinterpret_cast<HTREEITEM>(lParam);
        if (wParam == TVGN_FIRSTVISIBLE) {
            if (!IsItem(s, item)) return 0;
            EnsureVisible(s, item);
            SetTop(s, RowOf(s, item));
            return 1;
        }
        if (wParam == TVGN_DROPHILITE) {
            s.DropHilite = IsItem(s, item) ? item : nullptr;
            Invalidate(s);
            return 1;
        }
        return Select(s, item, TVC_UNKNOWN) ? 1 : 0;
    }
    case TVM_HITTEST: {
        auto* info = reinterpret_cast<TVHITTESTINFO*>(lParam);
        if (!info) return 0;
        *info = HitTest(s, info->pt);
        return reinterpret_cast<LRESULT>(info->hItem);
    }
    case TVM_GETITEMRECT:
        return GetItemRect(s, wParam, reinterpret_cast<RECT*>(lParam));
    case TVM_EDITLABEL:
        return reinterpret_cast<LRESULT>(BeginEdit(s, reinterpret_cast<HTREEITEM>(lParam)));
    case TVM_GETEDITCONTROL:
        return reinterpret_cast<LRESULT>(s.Editor.Edit());
    case TVM_ENDEDITLABELNOW:
        if (!s.Editor.Active()) return 0;
        EndEdit(s, wParam != 0);
        return 1;
    default:
        return std::nullopt;
    }
}

// Indent, item height, image lists and colours.
std::optional<LRESULT> TreeLookMessage(State& s, HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case TVM_GETINDENT:
        return s.Indent;
    case TVM_SETINDENT:
        s.Indent = std::max(int(wParam), 4);
        Changed(s);
        return 0;
    case TVM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(wParam == TVSIL_STATE ? s.StateImages : s.Images);
    case TVM_SETIMAGELIST: {
        HIMAGELIST& slot = wParam == TVSIL_STATE ? s.StateImages : s.Images;
        HIMAGELIST old = std::exchange(slot, reinterpret_cast<HIMAGELIST>(lParam));
        Changed(s);
        return reinterpret_cast<LRESULT>(old);
    }
    case TVM_SETITEMHEIGHT: {
        const int old = RowHeight(s);
        s.ItemHeight = int(std::intptr_t(wParam)) < 0 ? 0 : std::max(1, int(wParam));
        Changed(s);
        return old;
    }
    case TVM_GETITEMHEIGHT:
        return RowHeight(s);
    case TVM_SETBKCOLOR:
    case TVM_SETTEXTCOLOR: {
        COLORREF& slot = msg == TVM_SETBKCOLOR ? s.Back : s.TextColor;
        const COLORREF old = std::exchange(slot, COLORREF(lParam));
        Invalidate(s);
        return old == gdi::CLR_NONE ? LRESULT(-1) : LRESULT(old);
    }
    case TVM_GETBKCOLOR:
        return s.Back == gdi::CLR_NONE ? LRESULT(-1) : LRESULT(s.Back);
    case TVM_GETTEXTCOLOR:
        return s.TextColor == gdi::CLR_NONE ? LRESULT(-1) : LRESULT(s.TextColor);
    default:
        return std::nullopt;
    }
}

LRESULT TreeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto hooks = KeptStateHooks<State>();
    hooks.Created = Created;
    hooks.Destroying = [](HWND, State& st) {
        st.Live.clear();
        st.Root.Children.clear();
    };
    return ItemViewProc<State>(hwnd, msg, wParam, lParam, hooks,
        {TreeWindowMessage, TreePaintMessage, TreeMouseMessage, TreeScrollMessage, TreeItemMessage, TreeFindMessage,
            TreeLookMessage});
}

}   // namespace

}   // namespace tree

bool RegisterTreeViewClass() {
    // Labels are edited in an EDIT.
    return RegisterEditClass() && RegisterControlClass(WC_TREEVIEW, tree::TreeProc, CS_GLOBALCLASS | CS_DBLCLKS) != 0;
}

}
