// The tool bar's messages: buttons and their states, sizes and images, mouse presses, check groups, hot items.
#include "platform/gdi/Gdi.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Input.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControlsPaint.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/ToolBarState.h"

#include <algorithm>
#include <cstring>

namespace korvex::user {

using toolbar::Button;
using toolbar::ToolState;

namespace {

void Changed(HWND hwnd, ToolState* s) {
    toolbar::Relayout(hwnd, s);
    InvalidateRect(hwnd, nullptr, true);
}

void InvalidateButton(HWND hwnd, const ToolState* s, int index) {
    if (index < 0 || index >= int(s->Buttons.size())) return;
    RECT r = s->Buttons[size_t(index)].Rect;
    InvalidateRect(hwnd, &r, true);
}

Button* ById(ToolState* s, WPARAM id) {
    int index = toolbar::IndexOfId(s, int(std::intptr_t(id)));
    return index < 0 ? nullptr : &s->Buttons[size_t(index)];
}

Button MakeButton(const ToolState* s, const TBBUTTON& tb) {
    Button b;
    b.Image = tb.iBitmap;
    b.Id = tb.idCommand;
    b.State = tb.fsState;
    b.Style = tb.fsStyle;
    b.Data = tb.dwData;
    if (tb.iString >= 0 && tb.iString < 0x10000) {
        b.StringIndex = int(tb.iString);
        if (b.StringIndex < int(s->Strings.size())) b.Text = s->Strings[size_t(b.StringIndex)];
    } else if (tb.iString != -1 && tb.iString != 0) {
        b.Text = reinterpret_cast<const char*>(tb.iString);
    }
    return b;
}

// Sets or clears state bits of a button; repaints when they changed.
LRESULT ChangeState(HWND hwnd, ToolState* s, WPARAM id, BYTE bits, bool on) {
    int index = toolbar::IndexOfId(s, int(std::intptr_t(id)));
    if (index < 0) return 0;
    Button& b = s->Buttons[size_t(index)];
    BYTE state = on ? BYTE(b.State | bits) : BYTE(b.State & ~bits);
    if (state == b.State) return 1;
    bool relayout = ((state ^ b.State) & (TBSTATE_HIDDEN | TBSTATE_WRAP)) != 0;
    b.State = state;
    if (relayout)
        Changed(hwnd, s);
    else
        InvalidateButton(hwnd, s, index);
    return 1;
}

// The neighbours of a check-group button that share its group: the run of BTNS_CHECKGROUP buttons around it.
void UncheckGroup(HWND hwnd, ToolState* s, int index) {
    auto inGroup = [&](int i) { return (s->Buttons[size_t(i)].Style & BTNS_CHECKGROUP) == BTNS_CHECKGROUP; };
    for (int dir : {-1, 1})
        for (int i = index + dir; i >= 0 && i < int(s->Buttons.size()) && inGroup(i); i += dir)
            if (s->Buttons[size_t(i)].State & TBSTATE_CHECKED) {
                s->Buttons[size_t(i)].State &= BYTE(~TBSTATE_CHECKED);
                InvalidateButton(hwnd, s, i);
            }
}

LRESULT CheckButton(HWND hwnd, ToolState* s, WPARAM id, bool check) {
    int index = toolbar::IndexOfId(s, int(std::intptr_t(id)));
    if (index < 0) return 0;
    if (check && (s->Buttons[size_t(index)].Style & BTNS_CHECKGROUP) == BTNS_CHECKGROUP) UncheckGroup(hwnd, s, index);
    return ChangeState(hwnd, s, id, TBSTATE_CHECKED, check);
}

// ---------------------------------------------------------------------------------------------------------
// Mouse

void SetHot(HWND hwnd, ToolState* s, int index, DWORD flags) {
    if (index == s->Hot) return;
    NMTBHOTITEM nm;
    nm.hdr.code = TBN_HOTITEMCHANGE;
    nm.idOld = s->Hot >= 0 && s->Hot < int(s->Buttons.size()) ? s->Buttons[size_t(s->Hot)].Id : 0;
    nm.idNew = index >= 0 ? s->Buttons[size_t(index)].Id : 0;
    nm.dwFlags = flags | (index < 0 ? HICF_LEAVING : 0);
    if (toolbar::Notify(hwnd, s, &nm.hdr) != 0 || !IsWindow(hwnd)) return;
    InvalidateButton(hwnd, s, s->Hot);
    s->Hot = index;
    InvalidateButton(hwnd, s, s->Hot);
}

bool Clickable(const ToolState* s, int index) {
    if (index < 0) return false;
    const Button& b = s->Buttons[size_t(index)];
    return !b.IsSeparator() && b.Enabled() && !b.Hidden();
}

// TBN_DROPDOWN while the arrow part shows pressed; true when the press should go on as a normal one.
bool DropDown(HWND hwnd, ToolState* s, int index) {
    s->DropPressed = index;
    InvalidateButton(hwnd, s, index);
    UpdateWindow(hwnd);
    NMTOOLBAR nm;
    nm.hdr.code = TBN_DROPDOWN;
    const Button& b = s->Buttons[size_t(index)];
    nm.iItem = b.Id;
    nm.tbButton.iBitmap = b.Image;
    nm.tbButton.idCommand = b.Id;
    nm.tbButton.fsState = b.State;
    nm.tbButton.fsStyle = b.Style;
    nm.tbButton.dwData = b.Data;
    nm.rcButton = b.Rect;
    LRESULT answer = toolbar::Notify(hwnd, s, &nm.hdr);
    if (!IsWindow(hwnd)) return false;
    s->DropPressed = -1;
    InvalidateButton(hwnd, s, index);
    return answer == TBDDRET_TREATPRESSED;
}

void OnButtonDown(HWND hwnd, ToolState* s, POINT p) {
    int index = toolbar::HitTest(s, p);
    if (!Clickable(s, index)) return;
    const Button& b = s->Buttons[size_t(index)];
    RECT drop = toolbar::DropDownPart(hwnd, s, index);
    bool dropPart = gdi::PtInRect(&drop, p);
    bool arrows = (s->ExStyle & TBSTYLE_EX_DRAWDDARROWS) != 0;
    if ((b.Style & BTNS_DROPDOWN) && (dropPart || (b.Style & BTNS_WHOLEDROPDOWN) || !arrows)) {
        if (!DropDown(hwnd, s, index)) return;
        if (index >= int(s->Buttons.size())) return;
    }
    s->Pressed = index;
    s->PressedInside = true;
    s->Buttons[size_t(index)].State |= TBSTATE_PRESSED;
    SetCapture(hwnd);
    InvalidateButton(hwnd, s, index);
}

void TrackLeave(HWND hwnd, ToolState* s) {
    if (s->TrackingLeave) return;
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = hwnd;
    s->TrackingLeave = TrackMouseEvent(&tme);
}

void OnMouseMove(HWND hwnd, ToolState* s, POINT p) {
    if (s->Pressed >= 0 && s->Pressed < int(s->Buttons.size())) {
        Button& b = s->Buttons[size_t(s->Pressed)];
        bool inside = gdi::PtInRect(&b.Rect, p);
        if (inside != s->PressedInside) {
            s->PressedInside = inside;
            b.State = inside ? BYTE(b.State | TBSTATE_PRESSED) : BYTE(b.State & ~TBSTATE_PRESSED);
            InvalidateButton(hwnd, s, s->Pressed);
        }
        return;
    }
    if (!(GetWindowStyle(hwnd) & TBSTYLE_FLAT)) return;
    int index = toolbar::HitTest(s, p);
    SetHot(hwnd, s, Clickable(s, index) ? index : -1, HICF_MOUSE);
    TrackLeave(hwnd, s);
}

void EndPress(HWND hwnd, ToolState* s, bool click) {
    int index = s->Pressed;
    if (index < 0) return;
    s->Pressed = -1;
    if (GetCapture() == hwnd) ReleaseCapture();
    if (index >= int(s->Buttons.size())) return;
    Button& b = s->Buttons[size_t(index)];
    b.State &= BYTE(~TBSTATE_PRESSED);
    InvalidateButton(hwnd, s, index);
    if (!click || !s->PressedInside) return;
    if (b.Style & BTNS_CHECK) {
        bool group = (b.Style & BTNS_GROUP) != 0;
        if (!group)
            b.State ^= TBSTATE_CHECKED;
        else if (!(b.State & TBSTATE_CHECKED)) {
            UncheckGroup(hwnd, s, index);
            s->Buttons[size_t(index)].State |= TBSTATE_CHECKED;
        }
    }
    int id = s->Buttons[size_t(index)].Id;
    HWND target = IsWindow(s->NotifyWindow) ? s->NotifyWindow : GetParent(hwnd);
    if (target) SendMessage(target, WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(hwnd));
}

// ---------------------------------------------------------------------------------------------------------
// Button info, strings, sizes

LRESULT ButtonInfo(HWND hwnd, ToolState* s, WPARAM id, TBBUTTONINFO* info, bool set) {
    if (!info) return -1;
    int index = (info->dwMask & TBIF_BYINDEX) ? int(id) : toolbar::IndexOfId(s, int(std::intptr_t(id)));
    if (index < 0 || index >= int(s->Buttons.size())) return -1;
    Button& b = s->Buttons[size_t(index)];
    DWORD m = info->dwMask;
    if (!set) {
        if (m & TBIF_COMMAND) info->idCommand = b.Id;
        if (m & TBIF_IMAGE) info->iImage = b.Image;
        if (m & TBIF_STATE) info->fsState = b.State;
        if (m & TBIF_STYLE) info->fsStyle = b.Style;
        if (m & TBIF_LPARAM) info->lParam = b.Data;
        if (m & TBIF_SIZE) info->cx = WORD(b.Rect.right - b.Rect.left);
        if ((m & TBIF_TEXT) && info->pszText && info->cchText > 0) {
            size_t n = std::min(b.Text.size(), size_t(info->cchText - 1));
            std::memcpy(info->pszText, b.Text.data(), n);
            info->pszText[n] = '\0';
        }
        return index;
    }
    if (m & TBIF_COMMAND) b.Id = info->idCommand;
    if (m & TBIF_IMAGE) b.Image = info->iImage;
    if (m & TBIF_STATE) b.State = info->fsState;
    if (m & TBIF_STYLE) b.Style = info->fsStyle;
    if (m & TBIF_LPARAM) b.Data = info->lParam;
    if (m & TBIF_SIZE) b.Cx = info->cx;
    if (m & TBIF_TEXT) {
        b.Text = info->pszText ? info->pszText : "";
        b.StringIndex = -1;
    }
    Changed(hwnd, s);
    return 1;
}

LRESULT AddStrings(ToolState* s, LPARAM lParam) {
    const char* p = reinterpret_cast<const char*>(lParam);
    if (!p) return -1;
    int first = int(s->Strings.size());
    // A list of strings each ended by '\0', the list by an empty one.
    while (*p) {
        s->Strings.emplace_back(p);
        p += s->Strings.back().size() + 1;
    }
    return first;
}

void AutoSize(HWND hwnd, ToolState* s) {
    DWORD style = GetWindowStyle(hwnd);
    HWND parent = GetParent(hwnd);
    toolbar::Relayout(hwnd, s);
    if ((style & CCS_NORESIZE) || !parent) return;
    SIZE button = toolbar::DefaultButtonSize(hwnd, s);
    int height = toolbar::TopMargin(hwnd) + s->Rows * button.cy + 2;
    RECT pc = ClientRect(parent);
    RECT own = WindowRect(hwnd);
    MapWindowRect(nullptr, parent, &own);
    int x = 0, y = (style & CCS_BOTTOM) == CCS_BOTTOM ? pc.bottom - height : 0, width = pc.right;
    if (style & CCS_NOPARENTALIGN) {
        x = own.left;
        y = own.top;
        width = own.right - own.left;
    }
    SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    toolbar::Relayout(hwnd, s);
}

LRESULT ButtonMessage(HWND hwnd, ToolState* s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case TB_ENABLEBUTTON:
        return ChangeState(hwnd, s, wParam, TBSTATE_ENABLED, lParam != 0);
    case TB_CHECKBUTTON:
        return CheckButton(hwnd, s, wParam, lParam != 0);
    case TB_PRESSBUTTON:
        return ChangeState(hwnd, s, wParam, TBSTATE_PRESSED, lParam != 0);
    case TB_HIDEBUTTON:
        return ChangeState(hwnd, s, wParam, TBSTATE_HIDDEN, lParam != 0);
    case TB_INDETERMINATE:
        return ChangeState(hwnd, s, wParam, TBSTATE_INDETERMINATE, lParam != 0);
    case TB_MARKBUTTON:
        return ChangeState(hwnd, s, wParam, TBSTATE_MARKED, lParam != 0);
    case TB_ISBUTTONENABLED:
    case TB_ISBUTTONCHECKED:
    case TB_ISBUTTONPRESSED:
    case TB_ISBUTTONHIDDEN: {
        const Button* b = ById(s, wParam);
        if (!b) return 0;
        BYTE bit = msg == TB_ISBUTTONENABLED ? TBSTATE_ENABLED
            : msg == TB_ISBUTTONCHECKED      ? TBSTATE_CHECKED
            : msg == TB_ISBUTTONPRESSED      ? TBSTATE_PRESSED
                                             : TBSTATE_HIDDEN;
        return (b->State & bit) ? 1 : 0;
    }
    case TB_SETSTATE: {
        Button* b = ById(s, wParam);
        if (!b) return 0;
        BYTE old = b->State;
        b->State = BYTE(LOWORD(std::uintptr_t(lParam)));
        if ((old ^ b->State) & (TBSTATE_HIDDEN | TBSTATE_WRAP))
            Changed(hwnd, s);
        else
            InvalidateRect(hwnd, &b->Rect, true);
        return 1;
    }
    case TB_GETSTATE: {
        const Button* b = ById(s, wParam);
        return b ? b->State : -1;
    }
    case TB_ADDBUTTONS:
    case TB_INSERTBUTTON: {
        const TBBUTTON* tb = reinterpret_cast<const TBBUTTON*>(lParam);
        if (!tb) return 0;
        if (msg == TB_ADDBUTTONS) {
            for (WPARAM i = 0; i < wParam; ++i)
                s->Buttons.push_back(MakeButton(s, tb[i]));
        } else {
            size_t at = std::min<size_t>(wParam, s->Buttons.size());
            s->Buttons.insert(s->Buttons.begin() + std::ptrdiff_t(at), MakeButton(s, *tb));
            if (s->Hot >= int(at)) ++s->Hot;
        }
        Changed(hwnd, s);
        return 1;
    }
    case TB_DELETEBUTTON: {
        if (wParam >= s->Buttons.size()) return 0;
        if (s->Pressed >= 0) {
            s->Pressed = -1;
            if (GetCapture() == hwnd) ReleaseCapture();
        }
        s->Buttons.erase(s->Buttons.begin() + std::ptrdiff_t(wParam));
        if (s->Hot == int(wParam)) s->Hot = -1;
        if (s->Hot > int(wParam)) --s->Hot;
        Changed(hwnd, s);
        return 1;
    }
    case TB_GETBUTTON: {
        TBBUTTON* out = reinterpret_cast<TBBUTTON*>(lParam);
        if (!out || wParam >= s->Buttons.size()) return 0;
        const Button& b = s->Buttons[wParam];
        *out = TBBUTTON {b.Image, b.Id, b.State, b.Style, b.Data, b.StringIndex};
        return 1;
    }
    case TB_BUTTONCOUNT:
        return LRESULT(s->Buttons.size());
    case TB_COMMANDTOINDEX:
        return toolbar::IndexOfId(s, int(std::intptr_t(wParam)));
    case TB_GETITEMRECT: {
        RECT* out = reinterpret_cast<RECT*>(lParam);
        if (!out || wParam >= s->Buttons.size() || s->Buttons[wParam].Hidden()) return 0;
        *out = s->Buttons[wParam].Rect;
        return 1;
    }
    case TB_GETRECT: {
        const Button* b = ById(s, wParam);
        RECT* out = reinterpret_cast<RECT*>(lParam);
        if (!b || !out || b->Hidden()) return 0;
        *out = b->Rect;
        return 1;
    }
    case TB_SETCMDID:
        if (wParam >= s->Buttons.size()) return 0;
        s->Buttons[wParam].Id = int(lParam);
        return 1;
    case TB_GETBUTTONTEXT: {
        const Button* b = ById(s, wParam);
        if (!b) return -1;
        if (char* out = reinterpret_cast<char*>(lParam)) std::memcpy(out, b->Text.c_str(), b->Text.size() + 1);
        return LRESULT(b->Text.size());
    }
    case TB_GETBUTTONINFO:
    case TB_SETBUTTONINFO:
        return ButtonInfo(hwnd, s, wParam, reinterpret_cast<TBBUTTONINFO*>(lParam), msg == TB_SETBUTTONINFO);
    default:
        return 0;
    }
}

LRESULT BarMessage(HWND hwnd, ToolState* s, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto swapList = [&](HIMAGELIST& list) {
        HIMAGELIST old = list;
        list = reinterpret_cast<HIMAGELIST>(lParam);
        Changed(hwnd, s);
        return reinterpret_cast<LRESULT>(old);
    };
    switch (msg) {
    case TB_BUTTONSTRUCTSIZE:
        return 0;
    case TB_ADDSTRING:
        return AddStrings(s, lParam);
    case TB_SETBUTTONSIZE:
        s->ButtonSize = SIZE {LOWORD(std::uintptr_t(lParam)), HIWORD(std::uintptr_t(lParam))};
        Changed(hwnd, s);
        return 1;
    case TB_GETBUTTONSIZE: {
        SIZE size = toolbar::DefaultButtonSize(hwnd, s);
        return LRESULT(MAKELONG(WORD(size.cx), WORD(size.cy)));
    }
    case TB_SETBITMAPSIZE:
        s->BitmapSize = SIZE {LOWORD(std::uintptr_t(lParam)), HIWORD(std::uintptr_t(lParam))};
        Changed(hwnd, s);
        return 1;
    case TB_AUTOSIZE:
        AutoSize(hwnd, s);
        InvalidateRect(hwnd, nullptr, true);
        return 0;
    case TB_SETPARENT: {
        HWND old = IsWindow(s->NotifyWindow) ? s->NotifyWindow : GetParent(hwnd);
        s->NotifyWindow = reinterpret_cast<HWND>(wParam);
        return reinterpret_cast<LRESULT>(old);
    }
    case TB_GETROWS:
        return s->Rows;
    case TB_SETINDENT:
        s->Indent = int(std::intptr_t(wParam));
        Changed(hwnd, s);
        return 1;
    case TB_SETIMAGELIST:
        return swapList(s->Images);
    case TB_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(s->Images);
    case TB_SETHOTIMAGELIST:
        return swapList(s->HotImages);
    case TB_GETHOTIMAGELIST:
        return reinterpret_cast<LRESULT>(s->HotImages);
    case TB_SETDISABLEDIMAGELIST:
        return swapList(s->DisabledImages);
    case TB_GETDISABLEDIMAGELIST:
        return reinterpret_cast<LRESULT>(s->DisabledImages);
    case TB_SETSTYLE:
        SetWindowLongPtr(hwnd, GWL_STYLE, LONG_PTR(lParam));
        Changed(hwnd, s);
        return 0;
    case TB_GETSTYLE:
        return LRESULT(GetWindowStyle(hwnd));
    case TB_HITTEST: {
        const POINT* p = reinterpret_cast<const POINT*>(lParam);
        if (!p) return -1;
        int index = toolbar::HitTest(s, *p);
        if (index >= 0 && s->Buttons[size_t(index)].IsSeparator()) return -1 - index;
        return index;
    }
    case TB_GETHOTITEM:
        return s->Hot;
    case TB_SETHOTITEM: {
        int old = s->Hot;
        int index = int(std::intptr_t(wParam));
        SetHot(hwnd, s, Clickable(s, index < int(s->Buttons.size()) ? index : -1) ? index : -1, 0);
        return old;
    }
    case TB_GETMAXSIZE: {
        SIZE* out = reinterpret_cast<SIZE*>(lParam);
        if (!out) return 0;
        *out = SIZE {};
        for (const Button& b : s->Buttons) {
            out->cx = std::max<int>(out->cx, b.Rect.right);
            out->cy = std::max<int>(out->cy, b.Rect.bottom);
        }
        return 1;
    }
    case TB_SETEXTENDEDSTYLE: {
        DWORD old = s->ExStyle;
        s->ExStyle = DWORD(lParam);
        Changed(hwnd, s);
        return LRESULT(old);
    }
    case TB_GETEXTENDEDSTYLE:
        return LRESULT(s->ExStyle);
    default:
        return ButtonMessage(hwnd, s, msg, wParam, lParam);
    }
}

LRESULT ToolBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    ToolState* s = ControlPrologue<ToolState>(hwnd, msg, wParam, lParam, result);
    if (!s) return result;
    if (msg >= WM_USER + 1 && msg <= WM_USER + 85) return BarMessage(hwnd, s, msg, wParam, lParam);
    if (const std::optional<LRESULT> font = FontMessage(s->Font, msg, wParam, [&] { Changed(hwnd, s); })) return *font;
    if (const std::optional<LRESULT> pressed = PressMoveMessage(
            msg, lParam, [&](POINT p) { OnButtonDown(hwnd, s, p); }, [&](POINT p) { OnMouseMove(hwnd, s, p); }))
        return *pressed;
    switch (msg) {
    case WM_ERASEBKGND:
        return toolbar::Erase(hwnd, s, reinterpret_cast<HDC>(wParam));
    case WM_PAINT:
        if (wParam) {
            RECT c = ClientRect(hwnd);
            toolbar::Paint(hwnd, s, reinterpret_cast<HDC>(wParam), c);
        } else {
            PaintGuard paint(hwnd);
            toolbar::Paint(hwnd, s, paint.Dc(), paint.Ps().rcPaint);
        }
        return 0;
    case WM_SIZE:
        Changed(hwnd, s);
        return 0;
    case WM_STYLECHANGED:
        Changed(hwnd, s);
        return 0;
    case WM_MOUSELEAVE:
        s->TrackingLeave = false;
        SetHot(hwnd, s, -1, HICF_MOUSE);
        return 0;
    case WM_LBUTTONUP:
        EndPress(hwnd, s, true);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd) EndPress(hwnd, s, false);
        return 0;
    default:
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}   // namespace

bool RegisterToolBarClass() {
    return RegisterCommonControlClass(TOOLBARCLASSNAME, ToolBarProc, CS_GLOBALCLASS | CS_DBLCLKS);
}

}
