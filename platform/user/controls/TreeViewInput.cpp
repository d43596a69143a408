// The tree view's input: clicks on buttons and items, the keyboard, and editing a label in place.
#include "platform/user/Focus.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Timers.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/TreeViewState.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

namespace korvex::user::tree {

namespace {

void NotifyClick(State& s, UINT code) {
    SendNotifyCode(s.Self, code);
}

TreeItem* RowItem(State& s, int row) {
    const auto& rows = Rows(s);
    if (rows.empty()) return nullptr;
    return rows[size_t(std::clamp(row, 0, int(rows.size()) - 1))];
}

}   // namespace

void MouseDown(State& s, POINT p, bool doubleClick, bool right) {
    if (s.Editor.Active()) EndEdit(s, false);
    if (!Alive(s)) return;
    const bool hadFocus = GetFocus() == s.Self;
    if (!hadFocus) SetFocus(s.Self);
    if (!Alive(s)) return;
    const TVHITTESTINFO hit = HitTest(s, p);
    TreeItem* item = hit.hItem;
    if (right) {
        NotifyClick(s, NM_RCLICK);
        return;
    }
    if (!item) {
        NotifyClick(s, doubleClick ? NM_DBLCLK : NM_CLICK);
        return;
    }
    if (hit.flags & TVHT_ONITEMBUTTON) {
        Expand(s, item, TVE_TOGGLE);
        return;
    }
    const bool onItem = (hit.flags & TVHT_ONITEM) || (GetWindowStyle(s.Self) & TVS_FULLROWSELECT);
    if (doubleClick) {
        s.EditPending = nullptr;
        KillTimer(s.Self, EditTimer);
        NotifyClick(s, NM_DBLCLK);
        if (!Alive(s)) return;
        if (onItem && IsItem(s, item)) Expand(s, item, TVE_TOGGLE);
        return;
    }
    if (!onItem) {
        NotifyClick(s, NM_CLICK);
        return;
    }
    // A click on the label of the item already selected (with the focus) edits it once no double click came.
    if (item == s.Caret && hadFocus && (hit.flags & TVHT_ONITEMLABEL) && (GetWindowStyle(s.Self) & TVS_EDITLABELS)) {
        s.EditPending = item;
        SetTimer(s.Self, EditTimer, GetDoubleClickTime(), nullptr);
    } else {
        Select(s, item, TVC_BYMOUSE);
    }
    if (Alive(s)) NotifyClick(s, NM_CLICK);
}

void OnTimer(State& s, std::uintptr_t id) {
    if (id != EditTimer) return;
    KillTimer(s.Self, EditTimer);
    TreeItem* item = std::exchange(s.EditPending, nullptr);
    if (IsItem(s, item) && item == s.Caret) BeginEdit(s, item);
}

bool KeyDown(State& s, UINT vk) {
    NMTVKEYDOWN nm;
    nm.hdr.code = TVN_KEYDOWN;
    nm.wVKey = WORD(vk);
    SendNotify(s.Self, &nm.hdr);
    if (!Alive(s)) return true;
    TreeItem* caret = IsItem(s, s.Caret) ? s.Caret : nullptr;
    const int row = caret ? RowOf(s, caret) : -1;
    auto moveTo = [&](int target) {
        if (TreeItem* item = RowItem(s, target)) Select(s, item, TVC_BYKEYBOARD);
    };
    switch (vk) {
    case VK_UP:
        moveTo(row < 0 ? 0 : row - 1);
        return true;
    case VK_DOWN:
        moveTo(row + 1);
        return true;
    case VK_HOME:
        moveTo(0);
        return true;
    case VK_END:
        moveTo(int(Rows(s).size()) - 1);
        return true;
    case VK_PRIOR:
        moveTo(row - (PageRows(s) - 1));
        return true;
    case VK_NEXT:
        moveTo(row + (PageRows(s) - 1));
        return true;
    case VK_LEFT:
    case VK_BACK:
        if (!caret) return true;
        if (vk == VK_LEFT && Expanded(caret) && !caret->Children.empty())
            Expand(s, caret, TVE_COLLAPSE);
        else if (caret->Parent != &s.Root)
            Select(s, caret->Parent, TVC_BYKEYBOARD);
        return true;
    case VK_RIGHT:
        if (!caret) return true;
        if (!Expanded(caret))
            Expand(s, caret, TVE_EXPAND);
        else if (!caret->Children.empty())
            Select(s, caret->Children.front().get(), TVC_BYKEYBOARD);
        return true;
    case VK_ADD:
        if (caret) Expand(s, caret, TVE_EXPAND);
        return true;
    case VK_SUBTRACT:
        if (caret) Expand(s, caret, TVE_COLLAPSE);
        return true;
    case VK_F2:
        if (caret && (GetWindowStyle(s.Self) & TVS_EDITLABELS)) BeginEdit(s, caret);
        return true;
    case VK_RETURN:
        NotifyClick(s, NM_RETURN);
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Label editing: Enter or losing the focus takes the text, Escape cancels.

HWND BeginEdit(State& s, TreeItem* item) {
    if (!IsItem(s, item)) return nullptr;
    if (s.Editor.Active()) EndEdit(s, false);
    if (!Alive(s) || !IsItem(s, item)) return nullptr;
    EnsureVisible(s, item);
    NMTVDISPINFO begin;
    begin.hdr.code = TVN_BEGINLABELEDIT;
    begin.item.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE | TVIF_TEXT;
    begin.item.hItem = item;
    begin.item.lParam = item->Param;
    begin.item.state = item->State;
    if (SendNotify(s.Self, &begin.hdr) != 0 || !Alive(s) || !IsItem(s, item)) return nullptr;
    RECT r = ItemRect(s, item, true);
    r.right = std::max<int>(r.right + 20, r.left + 60);
    s.Editing = item;
    HWND edit = s.Editor.Start(s.Self, ItemText(s, item), r, ControlFont(s.Font));
    if (!Alive(s)) return nullptr;
    Invalidate(s);
    return edit;
}

void EndEdit(State& s, bool cancel) {
    TreeItem* item = std::exchange(s.Editing, nullptr);
    const std::optional<std::string> text = s.Editor.Finish();
    if (!text || !Alive(s) || !IsItem(s, item)) return;
    std::string edited = *text;
    NMTVDISPINFO end;
    end.hdr.code = TVN_ENDLABELEDIT;
    end.item.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_TEXT;
    end.item.hItem = item;
    end.item.lParam = item->Param;
    end.item.pszText = cancel ? nullptr : edited.data();
    end.item.cchTextMax = int(edited.size() + 1);
    const LRESULT accepted = SendNotify(s.Self, &end.hdr);
    if (!Alive(s) || !IsItem(s, item)) return;
    if (!cancel && accepted != 0 && !item->TextCallback) item->Text = *text;
    Changed(s);
}

void OnEditCommand(State& s, WORD code, HWND from) {
    if (const std::optional<bool> cancel = s.Editor.EndRequest(code, from)) EndEdit(s, *cancel);
}

}
