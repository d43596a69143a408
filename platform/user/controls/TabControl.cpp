// The tab control's messages: items, selection with TCN_SELCHANGING / TCN_SELCHANGE, mouse, keys, hot tracking.
#include "platform/gdi/Gdi.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/TabControlState.h"

#include <algorithm>
#include <cstring>

namespace korvex::user {

using tabs::Item;
using tabs::TabState;

namespace {

void Changed(HWND hwnd, TabState* s) {
    tabs::Relayout(hwnd, s);
    InvalidateRect(hwnd, nullptr, true);
}

void ApplyItem(Item& item, const TCITEM& tc) {
    if (tc.mask & TCIF_TEXT) item.Text = tc.pszText ? tc.pszText : "";
    if (tc.mask & TCIF_IMAGE) item.Image = tc.iImage;
    if (tc.mask & TCIF_PARAM) item.Param = tc.lParam;
    if (tc.mask & TCIF_STATE) item.State = (item.State & ~tc.dwStateMask) | (tc.dwState & tc.dwStateMask);
}

void ReadItem(const Item& item, TCITEM& tc) {
    if ((tc.mask & TCIF_TEXT) && tc.pszText && tc.cchTextMax > 0) {
        size_t n = std::min(item.Text.size(), size_t(tc.cchTextMax - 1));
        std::memcpy(tc.pszText, item.Text.data(), n);
        tc.pszText[n] = '\0';
    }
    if (tc.mask & TCIF_IMAGE) tc.iImage = item.Image;
    if (tc.mask & TCIF_PARAM) tc.lParam = item.Param;
    if (tc.mask & TCIF_STATE) tc.dwState = item.State & tc.dwStateMask;
}

bool Valid(const TabState* s, int index) {
    return index >= 0 && index < int(s->Items.size());
}

// A selection change by the user: the parent may refuse it (TCN_SELCHANGING), and hears of it afterwards.
bool Select(HWND hwnd, int index) {
    TabState* s = tabs::State(hwnd);
    if (!s || !Valid(s, index) || index == s->Cur) return false;
    if (SendNotifyCode(hwnd, TCN_SELCHANGING) != 0) return false;
    s = tabs::State(hwnd);
    if (!IsWindow(hwnd) || !s || !Valid(s, index)) return false;
    s->Cur = index;
    Changed(hwnd, s);
    tabs::EnsureVisible(hwnd, s, index);
    SendNotifyCode(hwnd, TCN_SELCHANGE);
    return true;
}

void SetHot(HWND hwnd, TabState* s, int index) {
    if (index == s->Hot) return;
    s->Hot = index;
    InvalidateRect(hwnd, nullptr, true);
}

void OnMouseMove(HWND hwnd, TabState* s, POINT p) {
    if (!(GetWindowStyle(hwnd) & TCS_HOTTRACK)) return;
    SetHot(hwnd, s, tabs::HitTest(hwnd, s, p));
    if (!s->TrackingLeave) {
        TRACKMOUSEEVENT tme;
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = hwnd;
        s->TrackingLeave = TrackMouseEvent(&tme);
    }
}

void OnButtonDown(HWND hwnd, TabState* s, POINT p) {
    int index = tabs::HitTest(hwnd, s, p);
    if (!(GetWindowStyle(hwnd) & TCS_FOCUSNEVER) && GetFocus() != hwnd) SetFocus(hwnd);
    if (index >= 0 && IsWindow(hwnd)) Select(hwnd, index);
}

bool OnKeyDown(HWND hwnd, TabState* s, WPARAM key, LPARAM lParam) {
    NMTCKEYDOWN nm;
    nm.hdr.code = TCN_KEYDOWN;
    nm.wVKey = WORD(key);
    nm.flags = UINT(HIWORD(std::uintptr_t(lParam)));
    SendNotify(hwnd, &nm.hdr);
    s = tabs::State(hwnd);
    if (!IsWindow(hwnd) || !s || s->Items.empty()) return IsWindow(hwnd);
    int last = int(s->Items.size()) - 1;
    int target = -1;
    switch (key) {
    case VK_LEFT:
    case VK_UP:
        target = std::max(0, s->Cur - 1);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        target = std::min(last, s->Cur + 1);
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = last;
        break;
    default:
        return false;
    }
    Select(hwnd, target);
    return true;
}

LRESULT ItemMessage(HWND hwnd, TabState* s, UINT msg, WPARAM wParam, LPARAM lParam) {
    int index = int(std::intptr_t(wParam));
    switch (msg) {
    case TCM_INSERTITEM: {
        const TCITEM* tc = reinterpret_cast<const TCITEM*>(lParam);
        if (!tc || index < 0) return -1;
        index = std::min(index, int(s->Items.size()));
        Item item;
        ApplyItem(item, *tc);
        s->Items.insert(s->Items.begin() + index, item);
        if (s->Cur < 0)
            s->Cur = 0;
        else if (index <= s->Cur)
            ++s->Cur;
        if (s->Hot >= index) ++s->Hot;
        Changed(hwnd, s);
        return index;
    }
    case TCM_DELETEITEM:
        if (!Valid(s, index)) return 0;
        s->Items.erase(s->Items.begin() + index);
        if (index == s->Cur)
            s->Cur = -1;
        else if (index < s->Cur)
            --s->Cur;
        s->Hot = -1;
        Changed(hwnd, s);
        return 1;
    case TCM_DELETEALLITEMS:
        s->Items.clear();
        s->Cur = s->Hot = -1;
        s->FirstVisible = 0;
        Changed(hwnd, s);
        return 1;
    case TCM_GETITEM:
    case TCM_SETITEM: {
        TCITEM* tc = reinterpret_cast<TCITEM*>(lParam);
        if (!tc || !Valid(s, index)) return 0;
        if (msg == TCM_GETITEM) {
            ReadItem(s->Items[size_t(index)], *tc);
            return 1;
        }
        ApplyItem(s->Items[size_t(index)], *tc);
        Changed(hwnd, s);
        return 1;
    }
    case TCM_GETITEMCOUNT:
        return LRESULT(s->Items.size());
    case TCM_GETITEMRECT: {
        RECT* out = reinterpret_cast<RECT*>(lParam);
        if (!out || !Valid(s, index)) return 0;
        *out = s->Items[size_t(index)].Rect;
        return 1;
    }
    case TCM_GETCURSEL:
    case TCM_GETCURFOCUS:
        return s->Cur;
    case TCM_SETCURSEL: {
        if (!Valid(s, index)) return -1;
        int old = s->Cur;
        if (index != old) {
            s->Cur = index;
            Changed(hwnd, s);
            tabs::EnsureVisible(hwnd, s, index);
        }
        return old;
    }
    case TCM_SETCURFOCUS:
        Select(hwnd, index);
        return 0;
    case TCM_HITTEST: {
        TCHITTESTINFO* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
        if (!info) return -1;
        int hit = tabs::HitTest(hwnd, s, info->pt);
        info->flags = hit < 0 ? TCHT_NOWHERE : TCHT_ONITEMLABEL;
        return hit;
    }
    default:
        return 0;
    }
}

LRESULT ControlMessage(HWND hwnd, TabState* s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case TCM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(s->Images);
    case TCM_SETIMAGELIST: {
        HIMAGELIST old = s->Images;
        s->Images = reinterpret_cast<HIMAGELIST>(lParam);
        Changed(hwnd, s);
        return reinterpret_cast<LRESULT>(old);
    }
    case TCM_ADJUSTRECT: {
        RECT* r = reinterpret_cast<RECT*>(lParam);
        if (!r) return 0;
        *r = wParam ? tabs::WindowRectFor(hwnd, s, *r) : tabs::DisplayRect(hwnd, s, *r);
        return 0;
    }
    case TCM_SETITEMSIZE: {
        RECT first = s->Items.empty() ? RECT {} : s->Items[0].Rect;
        LRESULT old = LRESULT(MAKELONG(WORD(first.right - first.left), WORD(s->TabThickness)));
        s->ItemSize = SIZE {LOWORD(std::uintptr_t(lParam)), HIWORD(std::uintptr_t(lParam))};
        Changed(hwnd, s);
        return old;
    }
    case TCM_SETPADDING:
        s->Padding = SIZE {LOWORD(std::uintptr_t(lParam)), HIWORD(std::uintptr_t(lParam))};
        Changed(hwnd, s);
        return 0;
    case TCM_GETROWCOUNT:
        return s->Rows;
    case TCM_SETMINTABWIDTH: {
        int old = s->MinTabWidth;
        s->MinTabWidth = int(lParam);
        Changed(hwnd, s);
        return old;
    }
    default:
        return ItemMessage(hwnd, s, msg, wParam, lParam);
    }
}

LRESULT TabProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    TabState* s = ControlPrologue<TabState>(hwnd, msg, wParam, lParam, result);
    if (!s) return result;
    if (msg >= TCM_FIRST && msg < TCM_FIRST + 0x100) return ControlMessage(hwnd, s, msg, wParam, lParam);
    if (const std::optional<LRESULT> font = FontMessage(s->Font, msg, wParam, [&] { Changed(hwnd, s); })) return *font;
    if (const std::optional<LRESULT> pressed = PressMoveMessage(
            msg, lParam, [&](POINT p) { OnButtonDown(hwnd, s, p); }, [&](POINT p) { OnMouseMove(hwnd, s, p); }))
        return *pressed;
    if (const std::optional<LRESULT> looked = FocusLookMessage(hwnd, msg)) return *looked;
    switch (msg) {
    case WM_CREATE:
        tabs::Relayout(hwnd, s);
        return 0;
    case WM_SIZE:
    case WM_STYLECHANGED:
        Changed(hwnd, s);
        return 0;
    case WM_PAINT:
        PaintInto(hwnd, wParam, [&](HDC dc) { tabs::Paint(hwnd, s, dc); });
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE:
        return 0x0001 | 0x0080;   // DLGC_WANTARROWS | DLGC_WANTCHARS
    case WM_MOUSELEAVE:
        s->TrackingLeave = false;
        SetHot(hwnd, s, -1);
        return 0;
    case WM_KEYDOWN:
        if (OnKeyDown(hwnd, s, wParam, lParam)) return 0;
        break;
    case WM_HSCROLL:
        // From the scroller: the first tab to show.
        if (LOWORD(wParam) == SB_THUMBPOSITION) {
            s->FirstVisible = std::clamp(int(std::int16_t(HIWORD(wParam))), 0, s->MaxFirst);
            Changed(hwnd, s);
        }
        return 0;
    case WM_NOTIFY:
        return 0;
    default:
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}   // namespace

bool RegisterTabControlClass() {
    return RegisterCommonControlClass(WC_TABCONTROL, TabProc, CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

}
