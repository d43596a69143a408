// The combo box's dropping and closing, its mouse and keys, the focus, and the hook on its edit.
#include "platform/user/DefWindowProc.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ComboBox.h"
#include "platform/user/controls/ComboBoxData.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/ListBox.h"
#include "platform/user/controls/ListBoxData.h"

#include "platform/base/Utf8.h"

namespace korvex::user::combo {

namespace {

inline constexpr const char* EditProcProp = "KorvexComboEditProc";

void Redraw(const State& s) {
    InvalidateRect(s.Self, nullptr, false);
}

// The list item under a point of the combo's client area; -1 outside the list's items.
int ListItemAt(const State& s, POINT p, HWND from) {
    if (!s.List) return -1;
    POINT lp = p;
    MapWindowPoints(from, s.List, &lp, 1);
    const RECT client = ClientRect(s.List);
    if (!gdi::PtInRect(&client, lp)) return -1;
    const LRESULT hit = SendMessage(s.List, LB_ITEMFROMPOINT, 0, PointToLParam(lp));
    if (HIWORD(std::uintptr_t(hit)) != 0) return -1;
    return int(LOWORD(std::uintptr_t(hit)));
}

void Highlight(const State& s, int index) {
    if (index >= 0 && index != ListSelection(s)) SendMessage(s.List, LB_SETCURSEL, WPARAM(index), 0);
}

// A choice made now: shown, remembered and reported.
void Chosen(State& s) {
    s.Chosen = ListSelection(s);
    ShowSelection(s);
    SendCommandNotify(s.Self, CBN_SELCHANGE);
}

bool IsNavigationKey(const State& s, WPARAM key) {
    switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
        return true;
    case VK_HOME:
    case VK_END:
    case VK_LEFT:
    case VK_RIGHT:
        return !HasEdit(s);   // the edit's caret keys otherwise
    default:
        return false;
    }
}

LRESULT EditHook(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam);

}

// ---------------------------------------------------------------------------------------------------------
// Dropping and closing

void DropDown(State& s) {
    if (Kind(s) == CBS_SIMPLE || s.Dropped || !s.List || !IsWindowEnabled(s.Self)) return;
    HWND self = s.Self;
    SendCommandNotify(self, CBN_DROPDOWN);   // the parent may still size the list's room
    if (!IsWindow(self) || s.Dropped || !s.List) return;
    s.Chosen = ListSelection(s);
    s.Dropped = true;
    const RECT r = DroppedListRect(s);
    SetWindowPos(s.List, HWND_TOPMOST, r.left, r.top, r.Width(), r.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (!IsWindow(self) || !s.Dropped) return;
    if (s.Chosen >= 0)
        SendMessage(s.List, LB_SETCURSEL, WPARAM(s.Chosen), 0);
    else
        SendMessage(s.List, LB_SETTOPINDEX, 0, 0);
    SetCapture(s.List);
    Redraw(s);
}

void CloseUp(State& s, bool ok, bool forceChange) {
    if (!s.Dropped) return;
    HWND self = s.Self;
    const int before = s.Chosen;
    if (!ok) SendMessage(s.List, LB_SETCURSEL, WPARAM(before), 0);
    const int after = ListSelection(s);
    SendCommandNotify(self, ok ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if (!IsWindow(self) || !s.Dropped) return;
    s.Dropped = false;
    s.Tracking = false;
    s.ButtonDown = false;
    const HWND capture = GetCapture();
    if (capture == s.List || capture == self) ReleaseCapture();
    if (s.List)
        SetWindowPos(
            s.List, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    Redraw(s);
    SendCommandNotify(self, CBN_CLOSEUP);
    if (!IsWindow(self) || !ok) return;
    if (after != before || forceChange) {
        s.Chosen = after;
        ShowSelection(s);
        SendCommandNotify(self, CBN_SELCHANGE);
    }
}

void ChooseFromList(State& s, int index) {
    if (!s.Dropped) return;
    Highlight(s, index);
    CloseUp(s, true, true);
}

// ---------------------------------------------------------------------------------------------------------
// Keys

bool HandleKey(State& s, WPARAM key, bool alt) {
    if (Kind(s) != CBS_SIMPLE) {
        if ((key == VK_F4 && !alt) || (alt && (key == VK_DOWN || key == VK_UP))) {
            if (s.Dropped)
                CloseUp(s, true);
            else
                DropDown(s);
            return true;
        }
        if (s.Dropped && !alt && key == VK_ESCAPE) {
            CloseUp(s, false);
            return true;
        }
        if (s.Dropped && !alt && key == VK_RETURN) {
            CloseUp(s, true);
            return true;
        }
    }
    if (alt || !IsNavigationKey(s, key) || !s.List) return false;
    listbox::State* list = listbox::StateOf(s.List);
    if (!list) return false;
    const std::shared_ptr<listbox::State> hold = list->shared_from_this();
    if (listbox::MoveByKey(*list, key == VK_LEFT ? VK_UP : key == VK_RIGHT ? VK_DOWN : key, false, false)) Chosen(s);
    return true;
}

bool HandleChar(State& s, WPARAM ch) {
    if (HasEdit(s) || ch < 0x20 || !s.List) return false;
    const std::string prefix = base::Utf8Encode(char32_t(ch));
    const int from = ListSelection(s);
    const LRESULT found = SendMessage(s.List, LB_FINDSTRING, WPARAM(from), reinterpret_cast<LPARAM>(prefix.c_str()));
    if (found < 0 || int(found) == from) return true;
    SendMessage(s.List, LB_SETCURSEL, WPARAM(found), 0);
    Chosen(s);
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Focus

void FocusIn(State& s) {
    if (s.Focused) return;
    s.Focused = true;
    if (s.Edit) SendMessage(s.Edit, EM_SETSEL, 0, -1);
    Redraw(s);
    SendCommandNotify(s.Self, CBN_SETFOCUS);
}

void FocusOut(State& s, HWND gaining) {
    if (gaining && (gaining == s.Self || gaining == s.Edit || gaining == s.List)) return;
    HWND self = s.Self;
    if (s.Dropped) CloseUp(s, false);
    if (!IsWindow(self) || !s.Focused) return;
    s.Focused = false;
    if (s.Edit) SendMessage(s.Edit, EM_SETSEL, WPARAM(-1), 0);
    Redraw(s);
    SendCommandNotify(self, CBN_KILLFOCUS);
}

// ---------------------------------------------------------------------------------------------------------
// Mouse

LRESULT OnButtonDown(State& s, POINT p) {
    HWND self = s.Self;
    HWND focus = s.Edit ? s.Edit : self;
    if (GetFocus() != focus) {
        SetFocus(focus);
        if (!IsWindow(self)) return 0;
    }
    if (Kind(s) == CBS_SIMPLE) return 0;
    if (s.Dropped) {
        CloseUp(s, false);
        return 0;
    }
    const RECT button = ButtonRect(s);
    if (HasEdit(s) && !gdi::PtInRect(&button, p)) return 0;
    DropDown(s);
    if (!IsWindow(self) || !s.Dropped) return 0;
    s.Tracking = true;
    s.ButtonDown = true;
    SetCapture(self);
    Redraw(s);
    return 0;
}

LRESULT OnMouseMove(State& s, POINT p) {
    if (!s.Tracking) return 0;
    const RECT area = HasEdit(s) ? ButtonRect(s) : ClientRect(s.Self);
    const bool down = gdi::PtInRect(&area, p);
    if (down != s.ButtonDown) {
        s.ButtonDown = down;
        Redraw(s);
    }
    Highlight(s, ListItemAt(s, p, s.Self));
    return 0;
}

LRESULT OnButtonUp(State& s, POINT p) {
    if (!s.Tracking) return 0;
    s.Tracking = false;
    s.ButtonDown = false;
    Redraw(s);
    const int index = ListItemAt(s, p, s.Self);
    if (index >= 0) {
        ChooseFromList(s, index);
        return 0;
    }
    // Released off the list: the list stays and watches the next press itself.
    if (s.Dropped && s.List) SetCapture(s.List);
    return 0;
}

LRESULT OnCaptureChanged(State& s, HWND gaining) {
    if (!s.Tracking || gaining == s.Self) return 0;
    s.Tracking = false;
    s.ButtonDown = false;
    Redraw(s);
    if (s.Dropped && gaining != s.List) CloseUp(s, false);
    return 0;
}

LRESULT OnWheel(State& s, WPARAM wParam, LPARAM lParam) {
    if (s.Dropped) return SendMessage(s.List, WM_MOUSEWHEEL, wParam, lParam);
    if (Kind(s) == CBS_SIMPLE) return 0;
    const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    if (delta != 0) HandleKey(s, delta > 0 ? VK_UP : VK_DOWN, false);
    return 0;
}

// ---------------------------------------------------------------------------------------------------------
// The edit

void HookEdit(State& s) {
    if (!s.Edit) return;
    const LONG_PTR old = SetWindowLongPtr(s.Edit, GWL_WNDPROC, LongFromProc(EditHook));
    s.EditProc = ProcFromLong(old);
    SetProp(s.Edit, EditProcProp, reinterpret_cast<HANDLE>(old));
}

namespace {

LRESULT EditHook(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto old = reinterpret_cast<WNDPROC>(GetProp(edit, EditProcProp));
    if (!old) return DefWindowProc(edit, msg, wParam, lParam);
    State* s = StateOf(GetParent(edit));
    if (!s || s->Edit != edit) return CallWindowProc(old, edit, msg, wParam, lParam);
    const std::shared_ptr<State> hold = s->shared_from_this();
    switch (msg) {
    case WM_KEYDOWN:
        if (HandleKey(*s, wParam, false)) return 0;
        break;
    case WM_SYSKEYDOWN:
        if (HandleKey(*s, wParam, true)) return 0;
        break;
    case WM_GETDLGCODE: {
        const LRESULT code = CallWindowProc(old, edit, msg, wParam, lParam);
        return s->Dropped ? code | DLGC_WANTALLKEYS : code;
    }
    case WM_SETFOCUS: {
        const LRESULT result = CallWindowProc(old, edit, msg, wParam, lParam);
        if (IsWindow(edit)) FocusIn(*s);
        return result;
    }
    case WM_KILLFOCUS: {
        const LRESULT result = CallWindowProc(old, edit, msg, wParam, lParam);
        if (IsWindow(s->Self)) FocusOut(*s, reinterpret_cast<HWND>(wParam));
        return result;
    }
    case WM_MOUSEWHEEL:
        return OnWheel(*s, wParam, lParam);
    case WM_NCDESTROY:
        RemoveProp(edit, EditProcProp);
        s->Edit = nullptr;
        break;
    default:
        break;
    }
    return CallWindowProc(old, edit, msg, wParam, lParam);
}

}

}
