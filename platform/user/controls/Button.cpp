// The BUTTON window class: clicking by mouse and space bar, checks, radio groups, and the plain look of each kind.
#include "platform/user/controls/Button.h"

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
#include "platform/user/controls/CommonControlsPaint.h"
#include "platform/user/controls/ControlsCommon.h"

#include <algorithm>
#include <vector>

namespace korvex::user {

namespace {

struct ButtonState {
    UINT Check = BST_UNCHECKED;
    bool Pushed = false;   // drawn pushed (BST_PUSHED)
    bool Focused = false;
    bool Pressing = false;   // a press by the mouse or the space bar waits for its release
    HFONT Font = nullptr;
    HANDLE Image = nullptr;   // BM_SETIMAGE keeps it; the plain look shows the text
};

DWORD Kind(HWND hwnd) {
    return GetWindowStyle(hwnd) & BS_TYPEMASK;
}

bool IsRadio(DWORD kind) {
    return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

bool IsCheck(DWORD kind) {
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE;
}

bool IsPush(DWORD kind) {
    return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON || kind == BS_PUSHBOX || kind == BS_USERBUTTON;
}

// The highest check state a kind holds.
UINT MaxCheck(DWORD kind) {
    if (kind == BS_3STATE || kind == BS_AUTO3STATE) return BST_INDETERMINATE;
    if (IsCheck(kind) || IsRadio(kind)) return BST_CHECKED;
    return BST_UNCHECKED;
}

bool HasNotify(HWND hwnd) {
    return (GetWindowStyle(hwnd) & BS_NOTIFY) != 0;
}

void Redraw(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, false);
}

// ---------------------------------------------------------------------------------------------------------
// Radio groups

HWND GroupStart(HWND control) {
    HWND start = control;
    while (!(GetWindowStyle(start) & WS_GROUP)) {
        HWND prev = GetWindow(start, GW_HWNDPREV);
        if (!prev) break;
        start = prev;
    }
    return start;
}

// The siblings of control's group, in z-order.
std::vector<HWND> GroupOf(HWND control) {
    std::vector<HWND> group;
    HWND w = GroupStart(control);
    do {
        group.push_back(w);
        w = GetWindow(w, GW_HWNDNEXT);
    } while (w && !(GetWindowStyle(w) & WS_GROUP));
    return group;
}

bool IsRadioWindow(HWND hwnd) {
    return (SendMessage(hwnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

// Clears the check of the other radio buttons of the group.
void ClearGroup(HWND hwnd) {
    for (HWND other : GroupOf(hwnd))
        if (other != hwnd && IsWindow(other) && IsRadioWindow(other)) SendMessage(other, BM_SETCHECK, BST_UNCHECKED, 0);
}

// An auto button changes its check before the click is reported.
void AutoCheck(HWND hwnd, const ButtonState& s) {
    switch (Kind(hwnd)) {
    case BS_AUTOCHECKBOX:
        SendMessage(hwnd, BM_SETCHECK, s.Check == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case BS_AUTO3STATE:
        SendMessage(hwnd, BM_SETCHECK, (s.Check + 1) % 3, 0);
        break;
    case BS_AUTORADIOBUTTON:
        SendMessage(hwnd, BM_SETCHECK, BST_CHECKED, 0);
        if (IsWindow(hwnd)) ClearGroup(hwnd);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Pressing and releasing

void Press(HWND hwnd, ButtonState& s) {
    s.Pressing = true;
    SetCapture(hwnd);
    SendMessage(hwnd, BM_SETSTATE, 1, 0);
}

// Ends a press: a click when the button still shows pushed and the release counts (inside, or the space bar).
void Release(HWND hwnd, ButtonState& s, bool counts) {
    if (!s.Pressing) return;
    s.Pressing = false;
    const bool pushed = s.Pushed;
    if (pushed) SendMessage(hwnd, BM_SETSTATE, 0, 0);
    if (IsWindow(hwnd) && GetCapture() == hwnd) ReleaseCapture();
    if (!pushed || !counts || !IsWindow(hwnd)) return;
    AutoCheck(hwnd, s);
    if (IsWindow(hwnd)) SendCommandNotify(hwnd, BN_CLICKED);
}

// Everything a press ends with but the click (the capture went elsewhere, the focus left).
void Abandon(HWND hwnd, ButtonState& s) {
    if (!s.Pressing) return;
    s.Pressing = false;
    if (s.Pushed) SendMessage(hwnd, BM_SETSTATE, 0, 0);
}

bool InsideClient(HWND hwnd, LPARAM lParam) {
    RECT client = ClientRect(hwnd);
    return gdi::PtInRect(&client, LParamToPoint(lParam));
}

// ---------------------------------------------------------------------------------------------------------
// Painting

UINT TextFormat(DWORD style, bool singleDefault) {
    UINT format = (style & BS_MULTILINE) ? gdi::DT_WORDBREAK : gdi::DT_SINGLELINE;
    switch (style & BS_CENTER) {
    case BS_LEFT:
        format |= gdi::DT_LEFT;
        break;
    case BS_RIGHT:
        format |= gdi::DT_RIGHT;
        break;
    case BS_CENTER:
        format |= gdi::DT_CENTER;
        break;
    default:
        format |= singleDefault ? gdi::DT_CENTER : gdi::DT_LEFT;
        break;
    }
    if (!(style & BS_MULTILINE)) {
        switch (style & BS_VCENTER) {
        case BS_TOP:
            break;
        case BS_BOTTOM:
            format |= gdi::DT_BOTTOM;
            break;
        default:
            format |= gdi::DT_VCENTER;
            break;
        }
    }
    return format;
}

// Multi-line text is placed vertically by hand (DrawText centres single lines only).
RECT PlaceText(HDC dc, const std::string& text, RECT area, UINT format, DWORD style) {
    if (format & gdi::DT_SINGLELINE) return area;
    RECT measure {0, 0, area.Width(), 0};
    gdi::DrawText(dc, text, &measure, format | gdi::DT_CALCRECT);
    const int h = measure.Height();
    switch (style & BS_VCENTER) {
    case BS_TOP:
        break;
    case BS_BOTTOM:
        area.top = area.bottom - h;
        break;
    default:
        area.top += (area.Height() - h) / 2;
        break;
    }
    area.bottom = area.top + h;
    return area;
}

HBRUSH AskColors(HWND hwnd, HDC dc, UINT msg) {
    HWND parent = GetParent(hwnd);
    auto brush = reinterpret_cast<HBRUSH>(parent ? SendMessage(parent, msg, WPARAM(dc), LPARAM(hwnd)) : 0);
    if (!brush) brush = reinterpret_cast<HBRUSH>(DefWindowProc(hwnd, msg, WPARAM(dc), LPARAM(hwnd)));
    return brush;
}

void PaintPush(HWND hwnd, HDC dc, const ButtonState& s, const std::string& text) {
    const DWORD style = GetWindowStyle(hwnd);
    const bool enabled = IsWindowEnabled(hwnd);
    RECT r = ClientRect(hwnd);
    HBRUSH brush = AskColors(hwnd, dc, WM_CTLCOLORBTN);
    if (brush) gdi::FillRect(dc, &r, brush);
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && !gdi::IsRectEmpty(&r)) {
        gdi::FrameRect(dc, &r, gdi::GetSysColorBrush(gdi::COLOR_WINDOWFRAME));
        gdi::InflateRect(&r, -1, -1);
    }
    const bool checked = !IsPush(style & BS_TYPEMASK) && s.Check != BST_UNCHECKED;
    if (s.Pushed) {
        gdi::FrameRect(dc, &r, gdi::GetSysColorBrush(gdi::COLOR_BTNSHADOW));
        gdi::InflateRect(&r, -1, -1);
        comctl::FillSys(dc, r, gdi::COLOR_BTNFACE);
        gdi::InflateRect(&r, -1, -1);
    } else if (checked) {
        gdi::DrawEdge(dc, &r, gdi::EDGE_SUNKEN, gdi::BF_RECT | gdi::BF_ADJUST);
        comctl::FillSys(dc, r, gdi::COLOR_3DLIGHT);
    } else {
        gdi::DrawEdge(dc, &r, gdi::EDGE_RAISED, gdi::BF_RECT | gdi::BF_MIDDLE | gdi::BF_ADJUST);
    }
    RECT focus = r;
    gdi::InflateRect(&focus, -1, -1);
    RECT textRect = focus;
    gdi::InflateRect(&textRect, -1, 0);
    if (s.Pushed || checked) gdi::OffsetRect(&textRect, 1, 1);
    if (!text.empty()) {
        const UINT format = TextFormat(style, true);
        textRect = PlaceText(dc, text, textRect, format, style);
        comctl::DrawLabel(dc, text, textRect, format, gdi::GetSysColor(gdi::COLOR_BTNTEXT), enabled);
    }
    if (s.Focused) gdi::DrawFocusRect(dc, &focus);
}

void PaintCheck(HWND hwnd, HDC dc, const ButtonState& s, const std::string& text) {
    const DWORD style = GetWindowStyle(hwnd);
    const bool enabled = IsWindowEnabled(hwnd);
    const bool radio = IsRadio(style & BS_TYPEMASK);
    RECT client = ClientRect(hwnd);
    HBRUSH brush = AskColors(hwnd, dc, WM_CTLCOLORSTATIC);
    if (brush) gdi::FillRect(dc, &client, brush);
    const COLORREF textColor = gdi::GetTextColor(dc);

    const int mark = radio ? 12 : CheckMarkSize;
    const bool leftText = (style & BS_LEFTTEXT) != 0;
    int y = (client.Height() - mark) / 2;
    if ((style & BS_VCENTER) == BS_TOP) y = 0;
    if ((style & BS_VCENTER) == BS_BOTTOM) y = client.Height() - mark;
    const int x = leftText ? client.right - mark : 0;
    if (radio)
        DrawRadioMark(dc, x, y, s.Check != BST_UNCHECKED, s.Pushed, enabled);
    else
        DrawCheckMark(dc, x, y, s.Check, s.Pushed, enabled);

    RECT area = client;
    if (leftText)
        area.right -= mark + 4;
    else
        area.left += mark + 4;
    if (text.empty()) return;
    const UINT format = TextFormat(style, false);
    area = PlaceText(dc, text, area, format, style);
    comctl::DrawLabel(dc, text, area, format, textColor, enabled);
    if (!s.Focused) return;
    // The focus frame goes round the text itself.
    RECT measure {0, 0, area.Width(), 0};
    gdi::DrawText(dc, text, &measure, format | gdi::DT_CALCRECT);
    RECT focus = area;
    const int w = std::min(measure.Width(), area.Width());
    const int h = std::min(measure.Height(), area.Height());
    if (format & gdi::DT_RIGHT)
        focus.left = focus.right - w;
    else if (format & gdi::DT_CENTER)
        focus.left += (area.Width() - w) / 2;
    focus.right = focus.left + w;
    if (format & gdi::DT_SINGLELINE) focus.top += (area.Height() - h) / 2;
    focus.bottom = focus.top + h;
    gdi::InflateRect(&focus, 1, 1);
    gdi::IntersectRect(&focus, &focus, &client);
    gdi::DrawFocusRect(dc, &focus);
}

void PaintGroup(HWND hwnd, HDC dc, const std::string& text) {
    RECT client = ClientRect(hwnd);
    HBRUSH brush = AskColors(hwnd, dc, WM_CTLCOLORSTATIC);
    if (brush) gdi::FillRect(dc, &client, brush);
    DrawGroupBox(dc, client, text, nullptr, brush, IsWindowEnabled(hwnd), false);
}

void PaintOwnerDrawn(HWND hwnd, HDC dc, const ButtonState& s) {
    HWND parent = GetParent(hwnd);
    if (!parent) return;
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = UINT(GetDlgCtrlID(hwnd));
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState
        = (s.Pushed ? ODS_SELECTED : 0) | (s.Focused ? ODS_FOCUS : 0) | (IsWindowEnabled(hwnd) ? 0 : ODS_DISABLED);
    dis.hwndItem = hwnd;
    dis.hDC = dc;
    dis.rcItem = ClientRect(hwnd);
    SendMessage(parent, WM_DRAWITEM, WPARAM(dis.CtlID), reinterpret_cast<LPARAM>(&dis));
}

void Paint(HWND hwnd, HDC dc, const ButtonState& s) {
    gdi::SavedDc saved(dc);
    gdi::SelectObject(dc, ControlFont(s.Font));
    const std::string text = GetWindowText(hwnd);
    const DWORD kind = Kind(hwnd);
    if (kind == BS_OWNERDRAW)
        PaintOwnerDrawn(hwnd, dc, s);
    else if (kind == BS_GROUPBOX)
        PaintGroup(hwnd, dc, text);
    else if ((IsCheck(kind) || IsRadio(kind)) && !(GetWindowStyle(hwnd) & BS_PUSHLIKE))
        PaintCheck(hwnd, dc, s, text);
    else
        PaintPush(hwnd, dc, s, text);
}

// ---------------------------------------------------------------------------------------------------------
// Messages

LRESULT OnSetState(HWND hwnd, ButtonState& s, bool pushed) {
    if (s.Pushed == pushed) return 0;
    s.Pushed = pushed;
    Redraw(hwnd);
    const DWORD kind = Kind(hwnd);
    if (HasNotify(hwnd) || kind == BS_USERBUTTON) SendCommandNotify(hwnd, pushed ? BN_HILITE : BN_UNHILITE);
    return 0;
}

LRESULT OnSetCheck(HWND hwnd, ButtonState& s, WPARAM check) {
    const DWORD kind = Kind(hwnd);
    const UINT value = std::min(UINT(check), MaxCheck(kind));
    if (IsRadio(kind)) {
        // The checked radio button of a group is the one the Tab key stops at.
        const DWORD style = GetWindowStyle(hwnd);
        const DWORD wanted = value ? style | WS_TABSTOP : style & ~WS_TABSTOP;
        if (wanted != style) SetWindowLongPtr(hwnd, GWL_STYLE, LONG_PTR(wanted));
    }
    if (value != s.Check) {
        s.Check = value;
        Redraw(hwnd);
    }
    return 0;
}

LRESULT OnKeyDown(HWND hwnd, ButtonState& s, WPARAM key) {
    if (key == VK_SPACE) {
        if (!s.Pressing) Press(hwnd, s);
        return 0;
    }
    if (IsRadio(Kind(hwnd)) && (key == VK_UP || key == VK_LEFT || key == VK_DOWN || key == VK_RIGHT)) {
        HWND next = GetNextDlgGroupItem(GetParent(hwnd), hwnd, key == VK_UP || key == VK_LEFT);
        if (next && next != hwnd) SetFocus(next);
    }
    return 0;
}

LRESULT OnSetFocus(HWND hwnd, ButtonState& s) {
    s.Focused = true;
    Redraw(hwnd);
    if (HasNotify(hwnd)) SendCommandNotify(hwnd, BN_SETFOCUS);
    const DWORD kind = Kind(hwnd);
    // A radio button reached by the keyboard is chosen at once; a click reports itself on release.
    if (IsWindow(hwnd) && IsRadio(kind) && GetCapture() != hwnd && s.Check == BST_UNCHECKED) {
        if (kind == BS_AUTORADIOBUTTON) {
            SendMessage(hwnd, BM_SETCHECK, BST_CHECKED, 0);
            if (IsWindow(hwnd)) ClearGroup(hwnd);
        }
        if (IsWindow(hwnd)) SendCommandNotify(hwnd, BN_CLICKED);
    }
    return 0;
}

LRESULT OnKillFocus(HWND hwnd, ButtonState& s) {
    s.Focused = false;
    if (s.Pressing) {
        Abandon(hwnd, s);
        if (GetCapture() == hwnd) ReleaseCapture();
    }
    Redraw(hwnd);
    if (IsWindow(hwnd) && HasNotify(hwnd)) SendCommandNotify(hwnd, BN_KILLFOCUS);
    return 0;
}

LRESULT OnButtonDown(HWND hwnd, ButtonState& s, UINT msg) {
    const DWORD kind = Kind(hwnd);
    if (msg == WM_LBUTTONDBLCLK
        && (HasNotify(hwnd) || kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON || kind == BS_OWNERDRAW
            || kind == BS_USERBUTTON)) {
        SendCommandNotify(hwnd, BN_DOUBLECLICKED);
        return 0;
    }
    SetCapture(hwnd);   // first, so the focus does not count as a keyboard visit
    SetFocus(hwnd);
    if (!IsWindow(hwnd)) return 0;
    Press(hwnd, s);
    return 0;
}

LRESULT OnClick(HWND hwnd, ButtonState& s) {
    if (!IsWindowEnabled(hwnd) || s.Pressing) return 0;
    SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    if (!IsWindow(hwnd)) return 0;
    SendMessage(hwnd, WM_LBUTTONUP, 0, 0);
    return 0;
}

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    auto* s = ControlPrologue<ButtonState>(hwnd, msg, wParam, lParam, result);
    if (!s) return result;
    if (const std::optional<LRESULT> painted = PaintMessage(hwnd, msg, wParam, [&](HDC dc) { Paint(hwnd, dc, *s); }))
        return *painted;
    switch (msg) {
    case WM_GETDLGCODE: {
        const DWORD kind = Kind(hwnd);
        if (kind == BS_GROUPBOX) return DLGC_STATIC;
        if (IsRadio(kind)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
        if (kind == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        if (IsPush(kind) || kind == BS_OWNERDRAW) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        return DLGC_BUTTON;
    }
    case WM_NCHITTEST:
        if (Kind(hwnd) == BS_GROUPBOX) return HTTRANSPARENT;   // the group's contents take the mouse
        return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_SETTEXT: {
        LRESULT result = DefWindowProc(hwnd, msg, wParam, lParam);
        Redraw(hwnd);
        return result;
    }
    case WM_ENABLE:
        Redraw(hwnd);
        return 0;
    case WM_SETFONT:
        s->Font = reinterpret_cast<HFONT>(wParam);
        if (lParam) Redraw(hwnd);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->Font);
    case WM_SETFOCUS:
        return OnSetFocus(hwnd, *s);
    case WM_KILLFOCUS:
        return OnKillFocus(hwnd, *s);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return Kind(hwnd) == BS_GROUPBOX ? 0 : OnButtonDown(hwnd, *s, msg);
    case WM_MOUSEMOVE:
        if (s->Pressing && GetCapture() == hwnd && (wParam & MK_LBUTTON))
            SendMessage(hwnd, BM_SETSTATE, InsideClient(hwnd, lParam) ? 1 : 0, 0);
        return 0;
    case WM_LBUTTONUP:
        Release(hwnd, *s, InsideClient(hwnd, lParam));
        return 0;
    case WM_KEYDOWN:
        return Kind(hwnd) == BS_GROUPBOX ? 0 : OnKeyDown(hwnd, *s, wParam);
    case WM_KEYUP:
        if (wParam == VK_SPACE) Release(hwnd, *s, true);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd) Abandon(hwnd, *s);
        return 0;
    case BM_GETCHECK:
        return LRESULT(s->Check);
    case BM_SETCHECK:
        return OnSetCheck(hwnd, *s, wParam);
    case BM_GETSTATE:
        return LRESULT(s->Check | (s->Pushed ? BST_PUSHED : 0) | (s->Focused ? BST_FOCUS : 0));
    case BM_SETSTATE:
        return OnSetState(hwnd, *s, wParam != 0);
    case BM_SETSTYLE: {
        const DWORD style = GetWindowStyle(hwnd);
        const DWORD wanted = (style & ~BS_TYPEMASK) | (DWORD(wParam) & BS_TYPEMASK);
        if (wanted != style) SetWindowLongPtr(hwnd, GWL_STYLE, LONG_PTR(wanted));
        if (lParam) Redraw(hwnd);
        return 0;
    }
    case BM_CLICK:
        return OnClick(hwnd, *s);
    case BM_GETIMAGE:
        return reinterpret_cast<LRESULT>(s->Image);
    case BM_SETIMAGE: {
        HANDLE old = s->Image;
        s->Image = reinterpret_cast<HANDLE>(lParam);
        Redraw(hwnd);
        return reinterpret_cast<LRESULT>(old);
    }
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

}   // namespace

ATOM RegisterButtonClass() {
    return RegisterControlClass(ButtonClassName, ButtonProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS);
}

HWND GetNextDlgGroupItem(HWND parent, HWND control, bool previous) {
    (void)parent;
    if (!IsWindow(control)) return nullptr;
    const std::vector<HWND> group = GroupOf(control);
    const auto n = std::ptrdiff_t(group.size());
    const auto at = std::find(group.begin(), group.end(), control) - group.begin();
    for (std::ptrdiff_t step = 1; step < n; ++step) {
        const std::ptrdiff_t i = ((previous ? at - step : at + step) % n + n) % n;
        HWND w = group[std::size_t(i)];
        if (IsWindowVisible(w) && IsWindowEnabled(w)) return w;
    }
    return control;
}

}
