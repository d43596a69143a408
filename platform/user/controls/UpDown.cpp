// The up-down control: position and range, stepping with notifications, auto-repeat, the buddy window.
#include "platform/user/controls/UpDown.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Input.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Timers.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControlsPaint.h"
#include "platform/user/controls/ControlsCommon.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace korvex::user {

namespace {

constexpr std::uintptr_t RepeatTimer = 1;
constexpr const char* BuddyOwnerProp = "KorvexUpDown";
constexpr const char* BuddyProcProp = "KorvexUpDownProc";

enum class Part { None, First, Second };   // first: top (vertical) or left (horizontal)

struct UpDownState {
    HWND Buddy = nullptr;
    int Min = 0;
    int Max = 100;
    int Pos = 0;
    int Base = 10;
    std::vector<UDACCEL> Accel {{0, 1}, {2, 5}, {5, 20}};
    Part Pressed = Part::None;
    bool Inside = false;
    DWORD PressTime = 0;
};

UpDownState* State(HWND hwnd) {
    return ControlData<UpDownState>(hwnd);
}

bool Horizontal(HWND hwnd) {
    return (GetWindowStyle(hwnd) & UDS_HORZ) != 0;
}

RECT PartRect(HWND hwnd, Part part) {
    RECT r = ClientRect(hwnd);
    if (Horizontal(hwnd)) {
        int half = r.right / 2;
        return part == Part::First ? RECT {0, 0, half, r.bottom} : RECT {half, 0, r.right, r.bottom};
    }
    int half = r.bottom / 2;
    return part == Part::First ? RECT {0, 0, r.right, half} : RECT {0, half, r.right, r.bottom};
}

Part PartAt(HWND hwnd, POINT p) {
    for (Part part : {Part::First, Part::Second}) {
        RECT r = PartRect(hwnd, part);
        if (gdi::PtInRect(&r, p)) return part;
    }
    return Part::None;
}

// +1 when the part moves toward Max: the top button of a vertical control, the right one of a horizontal one.
int PartDirection(HWND hwnd, Part part) {
    bool first = part == Part::First;
    return Horizontal(hwnd) ? (first ? -1 : 1) : (first ? 1 : -1);
}

// ---------------------------------------------------------------------------------------------------------
// The buddy's text

std::string FormatPosition(int pos, int base, bool thousands) {
    if (base == 16) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "0x%04X", unsigned(pos));
        return buffer;
    }
    std::string digits = std::to_string(pos < 0 ? -static_cast<long long>(pos) : static_cast<long long>(pos));
    if (thousands)
        for (int i = int(digits.size()) - 3; i > 0; i -= 3)
            digits.insert(size_t(i), ",");
    return pos < 0 ? "-" + digits : digits;
}

bool ParsePosition(const std::string& text, int base, int* out) {
    std::string s;
    for (char c : text)
        if (c != ',' && c != ' ') s += c;
    if (s.empty()) return false;
    bool negative = false;
    size_t i = 0;
    if (base == 10 && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        i = 1;
    }
    if (base == 16 && s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) i = 2;
    if (i >= s.size()) return false;
    long long value = 0;
    for (; i < s.size(); ++i) {
        int digit = -1;
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (std::isdigit(c))
            digit = c - '0';
        else if (base == 16 && std::isxdigit(c))
            digit = std::toupper(c) - 'A' + 10;
        if (digit < 0) return false;
        value = value * base + digit;
        if (value > 0xFFFFFFFFLL) return false;
    }
    if (base == 16 && value > 0x7FFFFFFF) value -= 0x100000000LL;
    *out = comctl::ClampToInt(negative ? -value : value);
    return true;
}

int Low(const UpDownState* s) {
    return std::min(s->Min, s->Max);
}
int High(const UpDownState* s) {
    return std::max(s->Min, s->Max);
}

// Reads the buddy's number into the position (UDS_SETBUDDYINT); false when the text is no number.
bool ReadBuddy(HWND hwnd, UpDownState* s) {
    if (!(GetWindowStyle(hwnd) & UDS_SETBUDDYINT) || !IsWindow(s->Buddy)) return true;
    int value = 0;
    if (!ParsePosition(GetWindowText(s->Buddy), s->Base, &value)) return false;
    s->Pos = std::clamp(value, Low(s), High(s));
    return true;
}

void WriteBuddy(HWND hwnd, UpDownState* s) {
    DWORD style = GetWindowStyle(hwnd);
    if (!(style & UDS_SETBUDDYINT) || !IsWindow(s->Buddy)) return;
    SetWindowText(s->Buddy, FormatPosition(s->Pos, s->Base, !(style & UDS_NOTHOUSANDS)));
}

void SendScroll(HWND hwnd, WORD code, int pos) {
    HWND parent = GetParent(hwnd);
    if (!parent) return;
    UINT msg = Horizontal(hwnd) ? WM_HSCROLL : WM_VSCROLL;
    SendMessage(parent, msg, MAKEWPARAM(code, pos), reinterpret_cast<LPARAM>(hwnd));
}

int AcceleratedIncrement(const UpDownState* s, DWORD heldMs) {
    int increment = 1;
    for (const UDACCEL& a : s->Accel)
        if (heldMs >= DWORD(a.nSec) * 1000) increment = int(a.nInc);
    return increment;
}

// One step in a direction (+1 toward Max). The parent may veto or change it through UDN_DELTAPOS; the new
// position goes to the buddy and to the parent (WM_VSCROLL / WM_HSCROLL SB_THUMBPOSITION).
void Step(HWND hwnd, int direction, int increment) {
    UpDownState* s = State(hwnd);
    if (!s) return;
    ReadBuddy(hwnd, s);
    int sign = s->Max >= s->Min ? 1 : -1;
    NMUPDOWN nm;
    nm.hdr.code = UDN_DELTAPOS;
    nm.iPos = s->Pos;
    nm.iDelta = direction * increment * sign;
    if (SendNotify(hwnd, &nm.hdr) != 0) return;
    s = State(hwnd);   // the handler may have destroyed the control
    if (!IsWindow(hwnd) || !s) return;
    long long next = static_cast<long long>(s->Pos) + nm.iDelta;
    bool wrap = (GetWindowStyle(hwnd) & UDS_WRAP) != 0;
    if (next > High(s)) next = wrap ? Low(s) : High(s);
    if (next < Low(s)) next = wrap ? High(s) : Low(s);
    if (int(next) == s->Pos) return;
    s->Pos = int(next);
    WriteBuddy(hwnd, s);
    InvalidateRect(hwnd, nullptr, false);
    SendScroll(hwnd, SB_THUMBPOSITION, s->Pos);
}

// ---------------------------------------------------------------------------------------------------------
// Buddy: placed beside the control, and subclassed for the arrow keys.

WNDPROC BuddyOldProc(HWND buddy) {
    return reinterpret_cast<WNDPROC>(GetProp(buddy, BuddyProcProp));
}

LRESULT BuddyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC old = BuddyOldProc(hwnd);
    HWND owner = static_cast<HWND>(GetProp(hwnd, BuddyOwnerProp));
    if (msg == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN) && IsWindow(owner)
        && (GetWindowStyle(owner) & UDS_ARROWKEYS) && IsWindowEnabled(owner)) {
        Step(owner, wParam == VK_UP ? 1 : -1, AcceleratedIncrement(State(owner), 0));
        return 0;
    }
    if (msg == WM_KEYUP && (wParam == VK_UP || wParam == VK_DOWN) && IsWindow(owner)
        && (GetWindowStyle(owner) & UDS_ARROWKEYS)) {
        SendScroll(owner, SB_ENDSCROLL, 0);
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        if (GetWindowLongPtr(hwnd, GWL_WNDPROC) == LongFromProc(BuddyProc))
            SetWindowLongPtr(hwnd, GWL_WNDPROC, LongFromProc(old));
        RemoveProp(hwnd, BuddyOwnerProp);
        RemoveProp(hwnd, BuddyProcProp);
        if (IsWindow(owner))
            if (UpDownState* s = State(owner); s && s->Buddy == hwnd) s->Buddy = nullptr;
    }
    return old ? CallWindowProc(old, hwnd, msg, wParam, lParam) : DefWindowProc(hwnd, msg, wParam, lParam);
}

void ReleaseBuddy(HWND buddy) {
    if (!IsWindow(buddy) || !GetProp(buddy, BuddyProcProp)) return;
    // Someone may have subclassed the buddy after us: then the hook stays and only passes messages on.
    if (GetWindowLongPtr(buddy, GWL_WNDPROC) == LongFromProc(BuddyProc)) {
        SetWindowLongPtr(buddy, GWL_WNDPROC, LongFromProc(BuddyOldProc(buddy)));
        RemoveProp(buddy, BuddyProcProp);
    }
    RemoveProp(buddy, BuddyOwnerProp);
}

void HookBuddy(HWND hwnd, HWND buddy) {
    if (!GetProp(buddy, BuddyProcProp)) {
        LONG_PTR old = SetWindowLongPtr(buddy, GWL_WNDPROC, LongFromProc(BuddyProc));
        SetProp(buddy, BuddyProcProp, reinterpret_cast<HANDLE>(old));
    }
    SetProp(buddy, BuddyOwnerProp, hwnd);
}

// UDS_ALIGNRIGHT / UDS_ALIGNLEFT: the control takes the buddy's height and sits at its edge; the buddy gives
// up the control's width.
void AlignToBuddy(HWND hwnd, HWND buddy) {
    DWORD style = GetWindowStyle(hwnd);
    if (!(style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT))) return;
    HWND parent = GetParent(hwnd);
    if (GetParent(buddy) != parent) return;
    RECT b = WindowRect(buddy);
    MapWindowRect(nullptr, parent, &b);
    RECT own = WindowRect(hwnd);
    int width = own.right - own.left;
    if (width <= 0) width = GetSystemMetrics(SM_CXVSCROLL);
    int buddyWidth = std::max(0, int(b.right - b.left) - width);
    int height = b.bottom - b.top;
    if (style & UDS_ALIGNRIGHT) {
        SetWindowPos(buddy, nullptr, 0, 0, buddyWidth, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(hwnd, nullptr, b.left + buddyWidth, b.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        SetWindowPos(buddy, nullptr, b.left + width, b.top, buddyWidth, height, SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(hwnd, nullptr, b.left, b.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

HWND SetBuddy(HWND hwnd, UpDownState* s, HWND buddy) {
    HWND old = s->Buddy;
    if (old) ReleaseBuddy(old);
    s->Buddy = IsWindow(buddy) ? buddy : nullptr;
    if (s->Buddy) {
        HookBuddy(hwnd, s->Buddy);
        AlignToBuddy(hwnd, s->Buddy);
        WriteBuddy(hwnd, s);
    }
    return old;
}

// ---------------------------------------------------------------------------------------------------------
// Mouse and painting

void EndPress(HWND hwnd, UpDownState* s) {
    if (s->Pressed == Part::None) return;
    s->Pressed = Part::None;
    KillTimer(hwnd, RepeatTimer);
    InvalidateRect(hwnd, nullptr, false);
    if (GetCapture() == hwnd) ReleaseCapture();
    SendScroll(hwnd, SB_ENDSCROLL, s->Pos);
}

void OnButtonDown(HWND hwnd, UpDownState* s, POINT p) {
    Part part = PartAt(hwnd, p);
    if (part == Part::None) return;
    s->Pressed = part;
    s->Inside = true;
    s->PressTime = GetTickCount();
    SetCapture(hwnd);
    InvalidateRect(hwnd, nullptr, false);
    SetTimer(hwnd, RepeatTimer, UpDownRepeatDelay, nullptr);
    Step(hwnd, PartDirection(hwnd, part), AcceleratedIncrement(s, 0));
}

void OnTimer(HWND hwnd, UpDownState* s) {
    if (s->Pressed == Part::None) {
        KillTimer(hwnd, RepeatTimer);
        return;
    }
    SetTimer(hwnd, RepeatTimer, UpDownRepeatInterval, nullptr);
    if (s->Inside) Step(hwnd, PartDirection(hwnd, s->Pressed), AcceleratedIncrement(s, GetTickCount() - s->PressTime));
}

void Paint(HWND hwnd, HDC dc, UpDownState* s) {
    bool enabled = IsWindowEnabled(hwnd);
    bool horizontal = Horizontal(hwnd);
    for (Part part : {Part::First, Part::Second}) {
        RECT r = PartRect(hwnd, part);
        UINT state = horizontal ? (part == Part::First ? gdi::DFCS_SCROLLLEFT : gdi::DFCS_SCROLLRIGHT)
                                : (part == Part::First ? gdi::DFCS_SCROLLUP : gdi::DFCS_SCROLLDOWN);
        if (s->Pressed == part && s->Inside) state |= gdi::DFCS_PUSHED;
        if (!enabled) state |= gdi::DFCS_INACTIVE;
        gdi::DrawFrameControl(dc, &r, gdi::DFC_SCROLL, state);
    }
}

LRESULT UpDownProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static const ControlStateHooks<UpDownState> hooks = [] {
        ControlStateHooks<UpDownState> made;
        made.Destroying = [](HWND, UpDownState& state) {
            if (state.Buddy) ReleaseBuddy(state.Buddy);
        };
        return made;
    }();
    LRESULT result = 0;
    UpDownState* s = ControlPrologue(hwnd, msg, wParam, lParam, result, hooks);
    if (!s) return result;
    if (const std::optional<LRESULT> painted = PaintMessage(hwnd, msg, wParam, [&](HDC dc) { Paint(hwnd, dc, s); }))
        return *painted;
    const auto move = [&](POINT p) {
        if (s->Pressed != Part::None) {
            RECT r = PartRect(hwnd, s->Pressed);
            bool inside = gdi::PtInRect(&r, p);
            if (inside != s->Inside) {
                s->Inside = inside;
                InvalidateRect(hwnd, nullptr, false);
            }
        }
    };
    if (const std::optional<LRESULT> pressed = PressMoveMessage(
            msg, lParam, [&](POINT p) { OnButtonDown(hwnd, s, p); }, move))
        return *pressed;
    switch (msg) {
    case WM_CREATE:
        if (GetWindowStyle(hwnd) & UDS_AUTOBUDDY) SetBuddy(hwnd, s, GetWindow(hwnd, GW_HWNDPREV));
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, false);
        return 0;
    case WM_LBUTTONUP:
        EndPress(hwnd, s);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd) EndPress(hwnd, s);
        return 0;
    case WM_TIMER:
        if (wParam == RepeatTimer) {
            OnTimer(hwnd, s);
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if ((GetWindowStyle(hwnd) & UDS_ARROWKEYS) && (wParam == VK_UP || wParam == VK_DOWN)) {
            Step(hwnd, wParam == VK_UP ? 1 : -1, AcceleratedIncrement(s, 0));
            return 0;
        }
        break;
    case WM_GETDLGCODE:
        return (GetWindowStyle(hwnd) & UDS_ARROWKEYS) ? 0x0001 : 0;   // DLGC_WANTARROWS
    case UDM_SETRANGE:
        s->Max = std::int16_t(LOWORD(std::uintptr_t(lParam)));
        s->Min = std::int16_t(HIWORD(std::uintptr_t(lParam)));
        s->Pos = std::clamp(s->Pos, Low(s), High(s));
        InvalidateRect(hwnd, nullptr, false);
        return 0;
    case UDM_GETRANGE:
        return LRESULT(MAKELONG(WORD(s->Max), WORD(s->Min)));
    case UDM_SETRANGE32:
        s->Min = int(std::intptr_t(wParam));
        s->Max = int(lParam);
        s->Pos = std::clamp(s->Pos, Low(s), High(s));
        InvalidateRect(hwnd, nullptr, false);
        return 0;
    case UDM_GETRANGE32:
        if (wParam) *reinterpret_cast<int*>(wParam) = s->Min;
        if (lParam) *reinterpret_cast<int*>(lParam) = s->Max;
        return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
        int old = s->Pos;
        int value = msg == UDM_SETPOS ? int(std::int16_t(LOWORD(std::uintptr_t(lParam)))) : int(lParam);
        s->Pos = std::clamp(value, Low(s), High(s));
        WriteBuddy(hwnd, s);
        InvalidateRect(hwnd, nullptr, false);
        return old;
    }
    case UDM_GETPOS: {
        bool ok = ReadBuddy(hwnd, s);
        return LRESULT(MAKELONG(WORD(s->Pos), ok ? 0 : 1));
    }
    case UDM_GETPOS32: {
        bool ok = ReadBuddy(hwnd, s);
        if (lParam) *reinterpret_cast<bool*>(lParam) = !ok;
        return s->Pos;
    }
    case UDM_SETBUDDY:
        return reinterpret_cast<LRESULT>(SetBuddy(hwnd, s, reinterpret_cast<HWND>(wParam)));
    case UDM_GETBUDDY:
        return reinterpret_cast<LRESULT>(s->Buddy);
    case UDM_SETACCEL: {
        const UDACCEL* accel = reinterpret_cast<const UDACCEL*>(lParam);
        if (!accel || wParam == 0) return 0;
        s->Accel.assign(accel, accel + std::min<WPARAM>(wParam, 64));
        std::stable_sort(
            s->Accel.begin(), s->Accel.end(), [](const UDACCEL& a, const UDACCEL& b) { return a.nSec < b.nSec; });
        return 1;
    }
    case UDM_GETACCEL: {
        UDACCEL* accel = reinterpret_cast<UDACCEL*>(lParam);
        size_t n = std::min<size_t>(wParam, s->Accel.size());
        for (size_t i = 0; accel && i < n; ++i)
            accel[i] = s->Accel[i];
        return LRESULT(s->Accel.size());
    }
    case UDM_SETBASE: {
        if (wParam != 10 && wParam != 16) return 0;
        int old = s->Base;
        s->Base = int(wParam);
        WriteBuddy(hwnd, s);
        return old;
    }
    case UDM_GETBASE:
        return s->Base;
    default:
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}   // namespace

bool RegisterUpDownClass() {
    return RegisterCommonControlClass(UPDOWN_CLASS, UpDownProc, CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW);
}

}
