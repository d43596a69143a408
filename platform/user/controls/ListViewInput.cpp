// The list view's input: selection by mouse and keys (Ctrl and Shift), hot tracking, incremental search and
// editing a label in place.
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Timers.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/ListViewState.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <utility>

namespace korvex::user::listview {

namespace {

bool KeyHeld(int vk) {
    return GetKeyState(vk) < 0;
}

bool MultiSelect(const State& s) {
    return !(GetWindowStyle(s.Self) & LVS_SINGLESEL);
}

// A click or a move to index with the modifiers: Shift selects from the anchor, Ctrl toggles (mouse) or
// moves the focus only (keys).
void SelectWith(State& s, int index, bool shift, bool ctrl, bool toggle) {
    if (!Valid(s, index)) return;
    if (!MultiSelect(s)) {
        SelectOnly(s, index);
    } else if (shift) {
        if (!Valid(s, s.Anchor)) s.Anchor = Valid(s, s.Focus) ? s.Focus : index;
        SelectRange(s, s.Anchor, index, ctrl);
    } else if (ctrl) {
        if (toggle) SetState(s, index, GetState(s, index) ^ LVIS_SELECTED, LVIS_SELECTED);
        if (Alive(s)) s.Anchor = index;
    } else {
        SelectOnly(s, index);
        if (Alive(s)) s.Anchor = index;
    }
    if (Alive(s)) SetFocusItem(s, index);
}

// How many items share the first item's column (list view) or row (icon views): the step across.
int LineLength(State& s) {
    const RECT first = ItemBounds(s, 0);
    const bool list = View(s) == LVS_LIST;
    int n = 1;
    while (n < Count(s) && (list ? ItemBounds(s, n).left == first.left : ItemBounds(s, n).top == first.top))
        ++n;
    return n;
}

int Step(State& s, int index, UINT vk) {
    const int count = Count(s);
    if (count == 0) return -1;
    if (!Valid(s, index)) return 0;
    const DWORD view = View(s);
    const int line = view == LVS_REPORT ? 0 : LineLength(s);
    const int vertical = view == LVS_ICON || view == LVS_SMALLICON ? line : 1;   // up and down
    const int horizontal = view == LVS_LIST ? line : view == LVS_REPORT ? 0 : 1;   // left and right
    const int page = std::max(1, PageCount(s) - 1);
    int target = index;
    switch (vk) {
    case VK_UP:
        target = index - vertical;
        break;
    case VK_DOWN:
        target = index + vertical;
        break;
    case VK_LEFT:
        target = index - horizontal;
        break;
    case VK_RIGHT:
        target = index + horizontal;
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = count - 1;
        break;
    case VK_PRIOR:
        target = index - page;
        break;
    case VK_NEXT:
        target = index + page;
        break;
    default:
        break;
    }
    return std::clamp(target, 0, count - 1);
}

}   // namespace

void MouseDown(State& s, POINT p, UINT keys, bool doubleClick, bool right) {
    if (s.Editor.Active()) EndEdit(s, false);
    if (!Alive(s)) return;
    const bool hadFocus = GetFocus() == s.Self;
    if (!hadFocus) SetFocus(s.Self);
    if (!Alive(s)) return;
    const LVHITTESTINFO hit = HitTest(s, p, false);
    const int index = hit.iItem;
    const bool shift = (keys & MK_SHIFT) != 0, ctrl = (keys & MK_CONTROL) != 0;
    if (doubleClick) {
        KillTimer(s.Self, EditTimer);
        s.EditPending = -1;
        SendNotifyCode(s.Self, NM_DBLCLK);
        if (Alive(s) && index >= 0) NotifyList(s, LVN_ITEMACTIVATE, index);
        return;
    }
    if (index < 0) {
        // A click on empty space clears the selection (not with Ctrl or Shift).
        if (!shift && !ctrl)
            for (int i = 0; i < Count(s) && Alive(s); ++i)
                if (GetState(s, i) & LVIS_SELECTED) SetState(s, i, 0, LVIS_SELECTED);
        if (Alive(s)) SendNotifyCode(s.Self, right ? NM_RCLICK : NM_CLICK);
        return;
    }
    if (right) {
        if (!(GetState(s, index) & LVIS_SELECTED)) SelectWith(s, index, false, false, false);
        if (Alive(s)) SendNotifyCode(s.Self, NM_RCLICK);
        return;
    }
    // A click on the label of the only selected, focused item edits it once no double click came.
    const bool editable = (GetWindowStyle(s.Self) & LVS_EDITLABELS) && hadFocus && !shift && !ctrl
        && (hit.flags & LVHT_ONITEMLABEL) && index == s.Focus && (GetState(s, index) & LVIS_SELECTED)
        && SendMessage(s.Self, LVM_GETSELECTEDCOUNT, 0, 0) == 1;
    if (editable) {
        s.EditPending = index;
        SetTimer(s.Self, EditTimer, GetDoubleClickTime(), nullptr);
    } else {
        SelectWith(s, index, shift, ctrl, true);
    }
    if (Alive(s)) SendNotifyCode(s.Self, NM_CLICK);
    if (Alive(s) && (s.ExStyle & LVS_EX_ONECLICKACTIVATE)) NotifyList(s, LVN_ITEMACTIVATE, index);
}

void MouseMove(State& s, POINT p) {
    if (!(s.ExStyle & (LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_TWOCLICKACTIVATE))) return;
    if (!s.Tracking) {
        TRACKMOUSEEVENT tme;
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = s.Self;
        s.Tracking = TrackMouseEvent(&tme);
    }
    const int hot = HitTest(s, p, false).iItem;
    if (hot == s.Hot) return;
    if (hot >= 0 && NotifyList(s, LVN_HOTTRACK, hot) != 0) return;
    if (!Alive(s)) return;
    InvalidateItem(s, std::exchange(s.Hot, hot));
    InvalidateItem(s, s.Hot);
}

bool KeyDown(State& s, UINT vk) {
    NMLVKEYDOWN nm;
    nm.hdr.code = LVN_KEYDOWN;
    nm.wVKey = WORD(vk);
    SendNotify(s.Self, &nm.hdr);
    if (!Alive(s)) return true;
    const bool shift = KeyHeld(VK_SHIFT), ctrl = KeyHeld(VK_CONTROL);
    switch (vk) {
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT: {
        const int target = Step(s, s.Focus, vk);
        if (!Valid(s, target)) return true;
        if (ctrl && !shift && MultiSelect(s))
            SetFocusItem(s, target);   // the focus moves alone
        else
            SelectWith(s, target, shift, ctrl, false);
        return true;
    }
    case VK_SPACE:
        if (ctrl && Valid(s, s.Focus) && MultiSelect(s))
            SetState(s, s.Focus, GetState(s, s.Focus) ^ LVIS_SELECTED, LVIS_SELECTED);
        else if (Valid(s, s.Focus))
            SelectWith(s, s.Focus, shift, false, false);
        return true;
    case 'A':
        if (!ctrl || !MultiSelect(s)) return false;
        SelectRange(s, 0, Count(s) - 1, true);
        return true;
    case VK_F2:
        if ((GetWindowStyle(s.Self) & LVS_EDITLABELS) && Valid(s, s.Focus)) BeginEdit(s, s.Focus);
        return true;
    case VK_RETURN:
        SendNotifyCode(s.Self, NM_RETURN);
        if (Alive(s) && Valid(s, s.Focus)) NotifyList(s, LVN_ITEMACTIVATE, s.Focus);
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Incremental search: typed characters gather until a pause; the first item from the focus on (wrapping)
// whose text starts with them gets the selection.

int FindItem(State& s, int start, const LVFINDINFO& find) {
    const int count = Count(s);
    if (count == 0) return -1;
    start = std::clamp(start, 0, count);
    if (OwnerData(s)) {
        NMLVFINDITEM nm;
        nm.hdr.code = LVN_ODFINDITEM;
        nm.iStart = start;
        nm.lvfi = find;
        const LRESULT found = SendNotify(s.Self, &nm.hdr);
        return Alive(s) && Valid(s, int(found)) ? int(found) : -1;
    }
    auto upper = [](std::string text) {
        for (char& c : text)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        return text;
    };
    const std::string wanted = find.psz ? upper(find.psz) : std::string();
    auto matches = [&](int i) {
        if (find.flags & LVFI_PARAM) return s.Items[size_t(i)].Param == find.lParam;
        const std::string text = upper(ItemText(s, i, 0));
        return (find.flags & LVFI_PARTIAL) ? text.rfind(wanted, 0) == 0 : text == wanted;
    };
    for (int i = start; i < count; ++i)
        if (matches(i)) return i;
    if (find.flags & LVFI_WRAP)
        for (int i = 0; i < start && i < count; ++i)
            if (matches(i)) return i;
    return -1;
}

void Char(State& s, char32_t ch) {
    if (ch < 0x20 || ch == 0x7F || ch > 0x7E || Count(s) == 0) return;
    const bool first = s.TypeAhead.empty();
    s.TypeAhead.push_back(char(ch));
    SetTimer(s.Self, TypeAheadTimer, TypeAheadPauseMs, nullptr);
    LVFINDINFO find;
    find.flags = LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP;
    find.psz = s.TypeAhead.c_str();
    // A new search starts after the focused item; a longer text keeps looking from it.
    const int start = Valid(s, s.Focus) ? s.Focus + (first ? 1 : 0) : 0;
    const int found = FindItem(s, start, find);
    if (Alive(s) && found >= 0) SelectWith(s, found, false, false, false);
}

void OnTimer(State& s, std::uintptr_t id) {
    KillTimer(s.Self, id);
    if (id == TypeAheadTimer) s.TypeAhead.clear();
    if (id != EditTimer) return;
    const int index = std::exchange(s.EditPending, -1);
    if (Valid(s, index) && index == s.Focus) BeginEdit(s, index);
}

// ---------------------------------------------------------------------------------------------------------
// Label editing: Enter or losing the focus takes the text, Escape cancels.

HWND BeginEdit(State& s, int index) {
    if (!Valid(s, index)) return nullptr;
    if (s.Editor.Active()) EndEdit(s, false);
    if (!Alive(s) || !Valid(s, index)) return nullptr;
    EnsureVisible(s, index);
    NMLVDISPINFO begin;
    begin.hdr.code = LVN_BEGINLABELEDIT;
    begin.item.mask = LVIF_PARAM | LVIF_STATE | LVIF_TEXT;
    begin.item.iItem = index;
    begin.item.state = GetState(s, index);
    if (!OwnerData(s)) begin.item.lParam = s.Items[size_t(index)].Param;
    if (SendNotify(s.Self, &begin.hdr) != 0 || !Alive(s) || !Valid(s, index)) return nullptr;
    RECT r = ItemPart(s, index, LVIR_LABEL);
    r.right = std::max<int>(r.right, r.left + 60);
    s.Editing = index;
    HWND edit = s.Editor.Start(s.Self, ItemText(s, index, 0), r, ControlFont(s.Font));
    if (!Alive(s)) return nullptr;
    InvalidateItem(s, index);
    return edit;
}

void EndEdit(State& s, bool cancel) {
    const int index = std::exchange(s.Editing, -1);
    const std::optional<std::string> text = s.Editor.Finish();
    if (!text || !Alive(s) || !Valid(s, index)) return;
    std::string edited = *text;
    NMLVDISPINFO end;
    end.hdr.code = LVN_ENDLABELEDIT;
    end.item.mask = LVIF_PARAM | LVIF_TEXT;
    end.item.iItem = index;
    if (!OwnerData(s)) end.item.lParam = s.Items[size_t(index)].Param;
    end.item.pszText = cancel ? nullptr : edited.data();
    end.item.cchTextMax = int(edited.size() + 1);
    const LRESULT accepted = SendNotify(s.Self, &end.hdr);
    if (!Alive(s) || !Valid(s, index)) return;
    if (!cancel && accepted != 0 && !OwnerData(s) && !s.Items[size_t(index)].TextCallback)
        s.Items[size_t(index)].Text = *text;
    InvalidateItem(s, index);
}

void OnEditCommand(State& s, WORD code, HWND from) {
    if (const std::optional<bool> cancel = s.Editor.EndRequest(code, from)) EndEdit(s, *cancel);
}

}
