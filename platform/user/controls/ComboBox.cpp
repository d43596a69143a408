// The COMBOBOX window class: its child windows, layout and heights, painting and the CB_* messages.
#include "platform/user/controls/ComboBox.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ComboBoxData.h"
#include "platform/user/controls/CommonControlsPaint.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/ListBox.h"
#include "platform/user/controls/ListBoxData.h"

#include <algorithm>
#include <cstring>

namespace korvex::user::combo {

namespace {

inline constexpr int Edge = 2;   // the sunken frame

DWORD StyleOf(const State& s) {
    return GetWindowStyle(s.Self);
}

bool IsOwnerDraw(const State& s) {
    return (StyleOf(s) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
}

LRESULT ToList(const State& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    return s.List ? SendMessage(s.List, msg, wParam, lParam) : CB_ERR;
}

int TextHeight(const State& s) {
    return comctl::FontHeight(s.Self, ControlFont(s.Font));
}

// The owner's height of the closed face (WM_MEASUREITEM with item -1).
int MeasureFace(State& s) {
    MEASUREITEMSTRUCT mis;
    mis.CtlType = ODT_COMBOBOX;
    mis.CtlID = UINT(GetDlgCtrlID(s.Self));
    mis.itemID = UINT(-1);
    mis.itemHeight = UINT(TextHeight(s) + 2);
    if (HWND parent = GetParent(s.Self))
        SendMessage(parent, WM_MEASUREITEM, WPARAM(mis.CtlID), reinterpret_cast<LPARAM>(&mis));
    return std::clamp(int(mis.itemHeight), 1, 255);
}

// Places the children and keeps a drop-down combo at the height of its face.
void Layout(State& s) {
    const RECT client = ClientRect(s.Self);
    if (Kind(s) != CBS_SIMPLE) {
        const RECT window = WindowRect(s.Self);
        const int face = FaceHeight(s);
        if (window.Height() != face && !s.Sizing) {
            if (window.Height() > face) s.DropRoom = window.Height() - face;
            s.Sizing = true;
            SetWindowPos(
                s.Self, nullptr, 0, 0, window.Width(), face, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
            s.Sizing = false;
        }
    }
    if (s.Edit) {
        const RECT r = FaceRect(s);
        SetWindowPos(s.Edit, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (s.List && Kind(s) == CBS_SIMPLE) {
        const int top = FaceHeight(s);
        SetWindowPos(
            s.List, nullptr, 0, top, client.Width(), std::max(0, client.Height() - top), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(s.Self, nullptr, false);
}

void TakeFontHeight(State& s) {
    if (IsOwnerDraw(s)) return;
    s.FaceItemHeight = TextHeight(s) + 2;
}

HWND MakeList(State& s) {
    const DWORD style = StyleOf(s);
    DWORD listStyle = WS_VSCROLL | LBS_NOTIFY | LBS_COMBOBOX | LBS_NOINTEGRALHEIGHT;
    if (style & CBS_SORT) listStyle |= LBS_SORT;
    if (style & CBS_HASSTRINGS) listStyle |= LBS_HASSTRINGS;
    if (style & CBS_OWNERDRAWFIXED) listStyle |= LBS_OWNERDRAWFIXED;
    if (style & CBS_OWNERDRAWVARIABLE) listStyle |= LBS_OWNERDRAWVARIABLE;
    if (style & CBS_DISABLENOSCROLL) listStyle |= LBS_DISABLENOSCROLL;
    void* param = s.Self;
    if (Kind(s) == CBS_SIMPLE)
        return CreateWindowEx(0, ComboListClassName, "", WS_CHILD | WS_VISIBLE | WS_BORDER | listStyle, 0, 0, 0, 0,
            s.Self, ChildId(ComboListId), nullptr, param);
    return CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, ComboListClassName, "",
        WS_POPUP | WS_BORDER | listStyle, 0, 0, 0, 0, s.Self, nullptr, nullptr, param);
}

LRESULT SetText(State& s, const char* text);

HWND MakeEdit(State& s) {
    RegisterEditClass();
    const DWORD style = StyleOf(s);
    DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_LEFT;
    if (style & CBS_AUTOHSCROLL) editStyle |= ES_AUTOHSCROLL;
    if (style & CBS_UPPERCASE) editStyle |= ES_UPPERCASE;
    if (style & CBS_LOWERCASE) editStyle |= ES_LOWERCASE;
    if (!IsWindowEnabled(s.Self)) editStyle |= WS_DISABLED;
    return CreateWindowEx(0, WC_EDIT, "", editStyle, 0, 0, 0, 0, s.Self, ChildId(ComboEditId), nullptr, nullptr);
}

LRESULT OnCreate(State& s, const CREATESTRUCT* cs) {
    if (IsOwnerDraw(s))
        s.FaceItemHeight = MeasureFace(s);
    else
        TakeFontHeight(s);
    if (cs && Kind(s) != CBS_SIMPLE) s.DropRoom = std::max(0, cs->cy - FaceHeight(s));
    s.List = MakeList(s);
    if (!s.List) return -1;
    if (Kind(s) != CBS_DROPDOWNLIST) {
        s.Edit = MakeEdit(s);
        if (!s.Edit) return -1;
        HookEdit(s);
    }
    Layout(s);
    // The window's name is its first text.
    if (cs && cs->lpszName && *cs->lpszName) SetText(s, cs->lpszName);
    return 0;
}

// ---------------------------------------------------------------------------------------------------------
// Painting

HBRUSH AskColors(const State& s, HDC dc) {
    const UINT msg = !IsWindowEnabled(s.Self) ? WM_CTLCOLORSTATIC : HasEdit(s) ? WM_CTLCOLOREDIT : WM_CTLCOLORLISTBOX;
    HWND parent = GetParent(s.Self);
    auto brush = reinterpret_cast<HBRUSH>(parent ? SendMessage(parent, msg, WPARAM(dc), LPARAM(s.Self)) : 0);
    if (!brush) brush = reinterpret_cast<HBRUSH>(DefWindowProc(s.Self, msg, WPARAM(dc), LPARAM(s.Self)));
    return brush;
}

void PaintFace(State& s, HDC dc, HBRUSH brush) {
    const RECT face = FaceRect(s);
    const int sel = ListSelection(s);
    const bool enabled = IsWindowEnabled(s.Self);
    if (IsOwnerDraw(s)) {
        HWND parent = GetParent(s.Self);
        if (!parent) return;
        DRAWITEMSTRUCT dis;
        dis.CtlType = ODT_COMBOBOX;
        dis.CtlID = UINT(GetDlgCtrlID(s.Self));
        dis.itemID = UINT(sel);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = ODS_COMBOBOXEDIT | (s.Focused ? ODS_SELECTED | ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED);
        dis.hwndItem = s.Self;
        dis.hDC = dc;
        dis.rcItem = face;
        dis.itemData = sel >= 0 ? std::uintptr_t(ToList(s, LB_GETITEMDATA, WPARAM(sel), 0)) : 0;
        gdi::SavedDc saved(dc);
        gdi::IntersectClipRect(dc, face.left, face.top, face.right, face.bottom);
        SendMessage(parent, WM_DRAWITEM, WPARAM(dis.CtlID), reinterpret_cast<LPARAM>(&dis));
        return;
    }
    const std::string text = GetWindowText(s.Self);
    COLORREF color = gdi::GetTextColor(dc);
    if (s.Focused && enabled) {
        comctl::FillSys(dc, face, gdi::COLOR_HIGHLIGHT);
        color = gdi::GetSysColor(gdi::COLOR_HIGHLIGHTTEXT);
    } else if (brush) {
        gdi::FillRect(dc, &face, brush);
    }
    RECT textRect = face;
    textRect.left += 2;
    comctl::DrawLabel(
        dc, text, textRect, gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_NOPREFIX | gdi::DT_LEFT, color, enabled);
    if (s.Focused && enabled) gdi::DrawFocusRect(dc, &face);
}

void Paint(State& s, HDC dc) {
    if (s.NoRedraw) return;
    gdi::SavedDc saved(dc);
    gdi::SelectObject(dc, ControlFont(s.Font));
    HBRUSH brush = AskColors(s, dc);
    if (!IsWindow(s.Self)) return;
    RECT frame = ClientRect(s.Self);
    frame.bottom = std::min<LONG>(frame.bottom, FaceHeight(s));
    if (brush) gdi::FillRect(dc, &frame, brush);
    gdi::DrawEdge(dc, &frame, gdi::EDGE_SUNKEN, gdi::BF_RECT);
    if (Kind(s) != CBS_SIMPLE) {
        RECT button = ButtonRect(s);
        UINT state = gdi::DFCS_SCROLLCOMBOBOX;
        if (s.ButtonDown) state |= gdi::DFCS_PUSHED;
        if (!IsWindowEnabled(s.Self)) state |= gdi::DFCS_INACTIVE;
        gdi::DrawFrameControl(dc, &button, gdi::DFC_SCROLL, state);
    }
    if (!HasEdit(s)) PaintFace(s, dc, brush);
}

// ---------------------------------------------------------------------------------------------------------
// Text

// The text of the list's item index; "" for none (index -1).
std::string ListItemText(const State& s, int index) {
    std::string text;
    if (index >= 0) {
        text.resize(std::size_t(std::max<LRESULT>(0, ToList(s, LB_GETTEXTLEN, WPARAM(index), 0))) + 1);
        ToList(s, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::strlen(text.c_str()));
    }
    return text;
}

LRESULT GetText(const State& s, WPARAM size, char* buffer) {
    if (HasEdit(s)) return SendMessage(s.Edit, WM_GETTEXT, size, reinterpret_cast<LPARAM>(buffer));
    if (!buffer || size == 0) return 0;
    const int sel = ListSelection(s);
    const std::string text = ListItemText(s, sel);
    // Whole UTF-8 characters only.
    std::size_t n = std::min(text.size(), std::size_t(size) - 1);
    while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = 0;
    return LRESULT(n);
}

LRESULT GetTextLength(const State& s) {
    if (HasEdit(s)) return SendMessage(s.Edit, WM_GETTEXTLENGTH, 0, 0);
    const int sel = ListSelection(s);
    return sel >= 0 ? std::max<LRESULT>(0, ToList(s, LB_GETTEXTLEN, WPARAM(sel), 0)) : 0;
}

LRESULT SetText(State& s, const char* text) {
    if (HasEdit(s)) {
        s.SettingText = true;
        const LRESULT result = SendMessage(s.Edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        s.SettingText = false;
        return result;
    }
    const LRESULT found = ToList(s, LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(text ? text : ""));
    if (found < 0) return CB_ERR;
    ToList(s, LB_SETCURSEL, WPARAM(found), 0);
    ShowSelection(s);
    return 1;
}

// ---------------------------------------------------------------------------------------------------------
// The CB_* messages

LRESULT SetItemHeight(State& s, WPARAM index, LPARAM height) {
    if (height < 1 || height > 255) return CB_ERR;
    if (int(index) == -1) {
        s.FaceItemHeight = int(height);
        Layout(s);
        return CB_OKAY;
    }
    return ToList(s, LB_SETITEMHEIGHT, index, height);
}

LRESULT OnComboMessage(State& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case CB_ADDSTRING:
        return ToList(s, LB_ADDSTRING, 0, lParam);
    case CB_INSERTSTRING:
        return ToList(s, LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING: {
        const LRESULT result = ToList(s, LB_DELETESTRING, wParam, lParam);
        if (!HasEdit(s)) InvalidateRect(s.Self, nullptr, false);
        return result;
    }
    case CB_RESETCONTENT:
        ToList(s, LB_RESETCONTENT, 0, 0);
        s.Chosen = -1;
        if (HasEdit(s)) SetText(s, "");
        InvalidateRect(s.Self, nullptr, false);
        return CB_OKAY;
    case CB_GETCOUNT:
        return ToList(s, LB_GETCOUNT, 0, 0);
    case CB_GETCURSEL:
        return ToList(s, LB_GETCURSEL, 0, 0);
    case CB_SETCURSEL: {
        const LRESULT result = ToList(s, LB_SETCURSEL, wParam, 0);
        s.Chosen = ListSelection(s);
        ShowSelection(s, true);
        return result;
    }
    case CB_GETLBTEXT:
        return ToList(s, LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN:
        return ToList(s, LB_GETTEXTLEN, wParam, 0);
    case CB_FINDSTRING:
        return ToList(s, LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT:
        return ToList(s, LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_SELECTSTRING: {
        const LRESULT found = ToList(s, LB_SELECTSTRING, wParam, lParam);
        if (found >= 0) {
            s.Chosen = int(found);
            ShowSelection(s);
        }
        return found;
    }
    case CB_GETITEMDATA:
        return ToList(s, LB_GETITEMDATA, wParam, 0);
    case CB_SETITEMDATA:
        return ToList(s, LB_SETITEMDATA, wParam, lParam);
    case CB_SETITEMHEIGHT:
        return SetItemHeight(s, wParam, lParam);
    case CB_GETITEMHEIGHT:
        return int(wParam) == -1 ? s.FaceItemHeight : ToList(s, LB_GETITEMHEIGHT, wParam, 0);
    case CB_SHOWDROPDOWN:
        if (wParam && !s.Dropped)
            DropDown(s);
        else if (!wParam && s.Dropped)
            CloseUp(s, false);
        return 1;
    case CB_GETDROPPEDSTATE:
        return s.Dropped ? 1 : 0;
    case CB_GETDROPPEDCONTROLRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (!rect) return CB_ERR;
        const RECT list = DroppedListRect(s);
        const RECT window = WindowRect(s.Self);
        *rect = RECT {window.left, window.top, window.left + list.Width(), window.bottom + list.Height()};
        return 1;
    }
    case CB_SETDROPPEDWIDTH:
        s.DroppedWidth = std::max(0, int(wParam));
        return std::max<LRESULT>(s.DroppedWidth, WindowRect(s.Self).Width());
    case CB_GETDROPPEDWIDTH:
        return std::max<LRESULT>(s.DroppedWidth, WindowRect(s.Self).Width());
    case CB_LIMITTEXT:
        if (!HasEdit(s)) return CB_ERR;
        SendMessage(s.Edit, EM_LIMITTEXT, wParam, 0);
        return 1;
    case CB_GETEDITSEL:
        if (!HasEdit(s)) return CB_ERR;
        return SendMessage(s.Edit, EM_GETSEL, wParam, lParam);
    case CB_SETEDITSEL:
        if (!HasEdit(s)) return CB_ERR;
        SendMessage(s.Edit, EM_SETSEL, WPARAM(std::int16_t(LOWORD(std::uintptr_t(lParam)))),
            LPARAM(std::int16_t(HIWORD(std::uintptr_t(lParam)))));
        return 1;
    case CB_GETTOPINDEX:
        return ToList(s, LB_GETTOPINDEX, 0, 0);
    case CB_SETTOPINDEX:
        return ToList(s, LB_SETTOPINDEX, wParam, 0);
    case CB_GETHORIZONTALEXTENT:
        return ToList(s, LB_GETHORIZONTALEXTENT, 0, 0);
    case CB_SETHORIZONTALEXTENT:
        return ToList(s, LB_SETHORIZONTALEXTENT, wParam, 0);
    case CB_INITSTORAGE:
        return ToList(s, LB_INITSTORAGE, wParam, lParam);
    case CB_GETCOMBOBOXINFO:
        return GetComboBoxInfo(s.Self, reinterpret_cast<COMBOBOXINFO*>(lParam)) ? 1 : 0;
    default:
        return DefWindowProc(s.Self, msg, wParam, lParam);
    }
}

// Notifications of the edit and the list.
LRESULT OnCommand(State& s, WPARAM wParam, LPARAM lParam) {
    const HWND from = reinterpret_cast<HWND>(lParam);
    const WORD code = HIWORD(wParam);
    if (from && from == s.Edit) {
        if (s.SettingText) return 0;
        if (code == EN_UPDATE) SendCommandNotify(s.Self, CBN_EDITUPDATE);
        if (code != EN_CHANGE) return 0;
        SendCommandNotify(s.Self, CBN_EDITCHANGE);
        if (!IsWindow(s.Self)) return 0;
        // Typing leaves no item chosen; a dropped list highlights the first item the text starts.
        LRESULT match = -1;
        if (s.Dropped) {
            const std::string text = GetWindowText(s.Edit);
            match = text.empty() ? -1 : ToList(s, LB_FINDSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(text.c_str()));
        }
        ToList(s, LB_SETCURSEL, WPARAM(match), 0);
        if (!s.Dropped) s.Chosen = -1;
        return 0;
    }
    if (from && from == s.List) {
        if (code == LBN_SELCHANGE) {
            s.Chosen = ListSelection(s);
            ShowSelection(s);
            SendCommandNotify(s.Self, CBN_SELCHANGE);
        } else if (code == LBN_DBLCLK) {
            SendCommandNotify(s.Self, CBN_DBLCLK);
        }
        return 0;
    }
    return 0;
}

LRESULT OnWindowMessage(State& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = s.Self;
    if (IsCtlColorMessage(msg)) {
        // The parent colours the edit and the list as it colours the combo.
        HWND parent = GetParent(hwnd);
        const LRESULT brush = parent ? SendMessage(parent, msg, wParam, reinterpret_cast<LPARAM>(hwnd)) : 0;
        return brush ? brush : DefWindowProc(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_CREATE:
        return OnCreate(s, reinterpret_cast<const CREATESTRUCT*>(lParam));
    case WM_DESTROY:
        if (s.List && Kind(s) != CBS_SIMPLE) DestroyWindow(s.List);
        s.List = nullptr;
        return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS | (s.Dropped ? DLGC_WANTALLKEYS : 0);
    case WM_SIZE:
        Layout(s);
        return 0;
    case WM_SETFONT:
        s.Font = reinterpret_cast<HFONT>(wParam);
        if (s.Edit) SendMessage(s.Edit, WM_SETFONT, wParam, 0);
        if (s.List) SendMessage(s.List, WM_SETFONT, wParam, 0);
        TakeFontHeight(s);
        Layout(s);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.Font);
    case WM_SETREDRAW:
        // Only drawing stops: the window stays visible to hit tests and input while its items change.
        s.NoRedraw = wParam == 0;
        if (s.List) SendMessage(s.List, WM_SETREDRAW, wParam, 0);
        if (!s.NoRedraw) InvalidateRect(hwnd, nullptr, true);
        return 0;
    case WM_SETTEXT:
        return SetText(s, reinterpret_cast<const char*>(lParam));
    case WM_GETTEXT:
        return GetText(s, wParam, reinterpret_cast<char*>(lParam));
    case WM_GETTEXTLENGTH:
        return GetTextLength(s);
    case WM_ENABLE:
        if (s.Edit) EnableWindow(s.Edit, wParam != 0);
        if (s.List) EnableWindow(s.List, wParam != 0);
        if (!wParam && s.Dropped) CloseUp(s, false);
        InvalidateRect(hwnd, nullptr, false);
        return 0;
    case WM_SETFOCUS:
        if (s.Edit)
            SetFocus(s.Edit);
        else
            FocusIn(s);
        return 0;
    case WM_KILLFOCUS:
        FocusOut(s, reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnButtonDown(s, LParamToPoint(lParam));
    case WM_MOUSEMOVE:
        return OnMouseMove(s, LParamToPoint(lParam));
    case WM_LBUTTONUP:
        return OnButtonUp(s, LParamToPoint(lParam));
    case WM_CAPTURECHANGED:
        return OnCaptureChanged(s, reinterpret_cast<HWND>(lParam));
    case WM_MOUSEWHEEL:
        return OnWheel(s, wParam, lParam);
    case WM_KEYDOWN:
        HandleKey(s, wParam, false);
        return 0;
    case WM_SYSKEYDOWN:
        if (HandleKey(s, wParam, true)) return 0;
        return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_CHAR:
        HandleChar(s, wParam);
        return 0;
    case WM_COMMAND:
        return OnCommand(s, wParam, lParam);
    default:
        return OnComboMessage(s, msg, wParam, lParam);
    }
}

LRESULT ComboBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static const ControlStateHooks<State> hooks = [] {
        auto kept = KeptStateHooks<State>();
        kept.Created = [](HWND self, State& state, const CREATESTRUCT*) {
            state.Self = self;
            // Scroll bar styles are meant for the list: the combo itself has none.
            const DWORD style = GetWindowStyle(self);
            if (style & (WS_VSCROLL | WS_HSCROLL))
                SetWindowLongPtr(self, GWL_STYLE, LONG_PTR(style & ~(WS_VSCROLL | WS_HSCROLL)));
        };
        return kept;
    }();
    LRESULT result = 0;
    State* s = ControlPrologue(hwnd, msg, wParam, lParam, result, hooks);
    if (!s) return result;
    const std::shared_ptr<State> hold = s->shared_from_this();
    if (const std::optional<LRESULT> painted = PaintMessage(hwnd, msg, wParam, [&](HDC dc) { Paint(*s, dc); }))
        return *painted;
    return OnWindowMessage(*s, msg, wParam, lParam);
}

}   // namespace

// ---------------------------------------------------------------------------------------------------------
// Shared with the input handling and the list

State* StateOf(HWND combo) {
    return ControlData<State>(combo);
}

DWORD Kind(const State& s) {
    const DWORD kind = StyleOf(s) & 0x3;
    return kind == 0 ? CBS_SIMPLE : kind;
}

bool HasEdit(const State& s) {
    return s.Edit != nullptr;
}

int FaceHeight(const State& s) {
    return s.FaceItemHeight + 6;   // the sunken frame and a pixel of room on each side
}

// WS_EX_LEFTSCROLLBAR puts the drop-down button on the left.
bool ButtonOnLeft(const State& s) {
    return (DWORD(GetWindowLong(s.Self, GWL_EXSTYLE)) & WS_EX_LEFTSCROLLBAR) != 0;
}

RECT ButtonRect(const State& s) {
    if (Kind(s) == CBS_SIMPLE) return RECT {};
    const RECT client = ClientRect(s.Self);
    const int width = std::min<int>(GetSystemMetrics(SM_CXVSCROLL), std::max<int>(0, client.Width() - 2 * Edge));
    const int bottom = std::min<int>(client.bottom, FaceHeight(s)) - Edge;
    if (ButtonOnLeft(s)) return RECT {Edge, Edge, Edge + width, std::max(Edge, bottom)};
    return RECT {client.right - Edge - width, Edge, client.right - Edge, std::max(Edge, bottom)};
}

RECT FaceRect(const State& s) {
    const RECT client = ClientRect(s.Self);
    const bool simple = Kind(s) == CBS_SIMPLE;
    const bool leftButton = !simple && ButtonOnLeft(s);
    const int left = leftButton ? ButtonRect(s).right + 1 : Edge + 1;
    const int right = simple || leftButton ? client.right - Edge - 1 : ButtonRect(s).left - 1;
    const int bottom = std::min<int>(client.bottom, FaceHeight(s)) - Edge - 1;
    return RECT {left, Edge + 1, std::max(left, right), std::max(Edge + 1, bottom)};
}

int ListSelection(const State& s) {
    if (!s.List) return -1;
    const LRESULT sel = SendMessage(s.List, LB_GETCURSEL, 0, 0);
    return sel < 0 ? -1 : int(sel);
}

void ShowSelection(State& s, bool clearWhenNone) {
    if (!HasEdit(s)) {
        InvalidateRect(s.Self, nullptr, false);
        return;
    }
    const int sel = ListSelection(s);
    const std::string text = ListItemText(s, sel);
    if (sel < 0 && !clearWhenNone) return;   // a typed text stays when nothing is chosen
    SetText(s, text.c_str());
    if (s.Focused) SendMessage(s.Edit, EM_SETSEL, 0, -1);
}

RECT DroppedListRect(const State& s) {
    const RECT window = WindowRect(s.Self);
    const int width = std::max<int>(window.Width(), s.DroppedWidth);
    int height = 0;
    if (s.List) {
        const int count = int(std::max<LRESULT>(0, SendMessage(s.List, LB_GETCOUNT, 0, 0)));
        const int border = 2;
        const int room = std::max(0, s.DropRoom - border);
        const bool integral = !(StyleOf(s) & CBS_NOINTEGRALHEIGHT);
        int used = 0;
        int shown = 0;
        for (int i = 0; i < count; ++i) {
            const int h = int(std::max<LRESULT>(1, SendMessage(s.List, LB_GETITEMHEIGHT, WPARAM(i), 0)));
            if (shown > 0 && used + h > room) break;
            used += h;
            ++shown;
        }
        if (shown == 0) used = int(std::max<LRESULT>(1, SendMessage(s.List, LB_GETITEMHEIGHT, 0, 0)));
        if (!integral && shown < count) used = std::max(used, room);
        height = used + border;
    }
    const RECT work = GetWorkArea();
    int top = window.bottom;
    if (top + height > work.bottom && window.top - height >= work.top) top = window.top - height;
    int left = window.left;
    if (left + width > work.right) left = std::max<int>(work.left, work.right - width);
    return RECT {left, top, left + width, top + height};
}

}

namespace korvex::user {

bool GetComboBoxInfo(HWND combo, COMBOBOXINFO* info) {
    combo::State* s = IsWindow(combo) ? combo::StateOf(combo) : nullptr;
    if (!s || !info || info->cbSize != sizeof(COMBOBOXINFO)) return false;
    info->rcItem = combo::FaceRect(*s);
    info->rcButton = combo::ButtonRect(*s);
    info->stateButton = combo::Kind(*s) == CBS_SIMPLE ? STATE_SYSTEM_INVISIBLE
        : s->ButtonDown                               ? STATE_SYSTEM_PRESSED
                                                      : 0;
    info->hwndCombo = combo;
    info->hwndItem = s->Edit;
    info->hwndList = s->List;
    return true;
}

ATOM RegisterComboBoxClass() {
    if (!combo::RegisterComboListClass()) return 0;
    return RegisterControlClass(
        ComboBoxClassName, combo::ComboBoxProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS);
}

}
