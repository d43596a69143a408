// The "ComboLBox" window class: a combo box's list, dropped down as a popup or shown under a simple combo.
#include "platform/user/DefWindowProc.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ComboBox.h"
#include "platform/user/controls/ComboBoxData.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/ListBox.h"
#include "platform/user/controls/ListBoxData.h"

namespace korvex::user::combo {

namespace {

int ItemAt(HWND list, POINT p) {
    const RECT client = ClientRect(list);
    if (!gdi::PtInRect(&client, p)) return -1;
    const LRESULT hit = SendMessage(list, LB_ITEMFROMPOINT, 0, PointToLParam(p));
    if (HIWORD(std::uintptr_t(hit)) != 0) return -1;
    return int(LOWORD(std::uintptr_t(hit)));
}

void Highlight(HWND list, int index) {
    if (index >= 0 && SendMessage(list, LB_GETCURSEL, 0, 0) != index) SendMessage(list, LB_SETCURSEL, WPARAM(index), 0);
}

// A press while the list is dropped: outside it closes the list, on its scroll bar the bar is dragged.
LRESULT OnDroppedPress(State& c, HWND list, POINT p) {
    POINT screen = p;
    ClientToScreen(list, &screen);
    const RECT window = WindowRect(list);
    if (!gdi::PtInRect(&window, screen)) {
        CloseUp(c, false);
        return 0;
    }
    const RECT client = ClientRect(list);
    if (gdi::PtInRect(&client, p)) {
        Highlight(list, ItemAt(list, p));
        return 0;
    }
    const LRESULT hit = SendMessage(list, WM_NCHITTEST, 0, PointToLParam(screen));
    c.ListScrolling = true;
    DefWindowProc(list, WM_NCLBUTTONDOWN, WPARAM(hit), PointToLParam(screen));
    c.ListScrolling = false;
    if (IsWindow(list) && c.Dropped) SetCapture(list);
    return 0;
}

LRESULT OnDroppedMessage(State& c, HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_SETFOCUS:
        // The focus stays with the combo box.
        SetFocus(c.Edit ? c.Edit : c.Self);
        return 0;
    case WM_MOUSEMOVE:
        if (c.Dropped) Highlight(list, ItemAt(list, LParamToPoint(lParam)));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return c.Dropped ? OnDroppedPress(c, list, LParamToPoint(lParam)) : 0;
    case WM_LBUTTONUP: {
        if (!c.Dropped) return 0;
        const int index = ItemAt(list, LParamToPoint(lParam));
        if (index >= 0) ChooseFromList(c, index);
        return 0;
    }
    case WM_CAPTURECHANGED: {
        const HWND gaining = reinterpret_cast<HWND>(lParam);
        if (c.Dropped && !c.ListScrolling && gaining != list && gaining != c.Self) CloseUp(c, false);
        return 0;
    }
    default:
        return listbox::ListBoxProc(list, msg, wParam, lParam);
    }
}

LRESULT ComboListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    listbox::State* list = listbox::StateOf(hwnd);
    State* c = list && list->Combo ? StateOf(list->Combo) : nullptr;
    if (!c || c->List != hwnd) return listbox::ListBoxProc(hwnd, msg, wParam, lParam);
    const std::shared_ptr<State> hold = c->shared_from_this();
    if (msg == WM_NCDESTROY) {
        // Owned by the top-level window, a dropped list may go before its combo box.
        c->List = nullptr;
        c->Dropped = false;
        return listbox::ListBoxProc(hwnd, msg, wParam, lParam);
    }
    if (Kind(*c) != CBS_SIMPLE) return OnDroppedMessage(*c, hwnd, msg, wParam, lParam);
    // Under a simple combo the list is an ordinary list whose clicks give the combo the focus.
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
        HWND focus = c->Edit ? c->Edit : c->Self;
        if (GetFocus() != focus) SetFocus(focus);
        if (!IsWindow(hwnd)) return 0;
    }
    return listbox::ListBoxProc(hwnd, msg, wParam, lParam);
}

}

ATOM RegisterComboListClass() {
    return RegisterControlClass(ComboListClassName, ComboListProc, CS_DBLCLKS | CS_SAVEBITS | CS_GLOBALCLASS);
}

}
