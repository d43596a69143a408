// What the tree and list views share: the messages every item view answers alike, and scroll-bar requests.
#pragma once

#include "platform/user/ScrollBars.h"
#include "platform/user/controls/ControlsCommon.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>

namespace korvex::user {

// The position a scroll request (SB_*) asks for, from the bar's info and the view's line and page steps;
// nullopt for a request that moves nothing. A thumb request takes thumb (the message's 16-bit position) unless
// the bar's track or current position has the same low 16 bits, which then gives the full value.
inline std::optional<int> ScrollRequestTarget(const SCROLLINFO& info, int code, int line, int page, int thumb) {
    switch (code) {
    case SB_LINEUP:
        return info.nPos - line;
    case SB_LINEDOWN:
        return info.nPos + line;
    case SB_PAGEUP:
        return info.nPos - page;
    case SB_PAGEDOWN:
        return info.nPos + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        if ((info.nTrackPos & 0xFFFF) == thumb) return info.nTrackPos;
        if ((info.nPos & 0xFFFF) == thumb) return info.nPos;
        return thumb;
    case SB_TOP:
        return info.nMin;
    case SB_BOTTOM:
        return info.nMax;
    default:
        return std::nullopt;
    }
}

// The messages every item view answers alike: font, redraw, focus, dialog code, size, erasing, keys, the scroll
// bars, the timers and the label editor's notifications. The state has Font, NoRedraw and Focused, with
// Changed, Invalidate, KeyDown, OnScroll, OnTimer and OnEditCommand found beside it. A key the view does not
// use is declined (nullopt), as is any other message.
template <class State>
std::optional<LRESULT> ItemViewCommonMessage(State& s, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.Font);
    case WM_SETREDRAW:
        s.NoRedraw = wParam == 0;
        if (!s.NoRedraw) Changed(s);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        s.Focused = msg == WM_SETFOCUS;
        Invalidate(s);
        SendNotifyCode(hwnd, s.Focused ? NM_SETFOCUS : NM_KILLFOCUS);
        return 0;
    case WM_GETDLGCODE:
        return LRESULT(DLGC_WANTARROWS | DLGC_WANTCHARS);
    case WM_SIZE:
        Changed(s);
        return 0;
    case WM_ERASEBKGND:
        return 1;   // the paint fills the background
    case WM_KEYDOWN:
        if (KeyDown(s, UINT(wParam))) return 0;
        return std::nullopt;
    case WM_TIMER:
        OnTimer(s, std::uintptr_t(wParam));
        return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
        OnScroll(s, msg == WM_VSCROLL, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_COMMAND:
        OnEditCommand(s, HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    default:
        return std::nullopt;
    }
}

// The procedure of an item view whose state keeps itself alive (KeptStateHooks): the state is held for the
// whole call, the common messages above come first, then the view's families in order (FirstAnswer); what no
// family answers goes to DefWindowProc.
template <class State>
LRESULT ItemViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const ControlStateHooks<State>& hooks,
    std::initializer_list<MessageFamily<State>> families) {
    LRESULT result = 0;
    State* s = ControlPrologue<State>(hwnd, msg, wParam, lParam, result, hooks);
    if (!s) return result;
    const std::shared_ptr<State> hold = s->Keep;
    if (const std::optional<LRESULT> answer = ItemViewCommonMessage(*s, hwnd, msg, wParam, lParam)) return *answer;
    if (const std::optional<LRESULT> answer = FirstAnswer(families, *s, hwnd, msg, wParam, lParam)) return *answer;
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}
