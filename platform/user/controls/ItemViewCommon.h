// What the tree and list views share: the messages every item view answers alike, and scroll-bar requests.
#pragma once

#include "platform/user/ScrollBars.h"
#include "platform/user/controls/ControlsCommon.h"

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

// Font, redraw, focus and dialog-code messages of an item view whose state has Font, NoRedraw and Focused,
// with Changed(state) and Invalidate(state) found beside it. True when msg was answered (in result).
template <class State>
bool ItemViewCommonMessage(State& s, HWND hwnd, UINT msg, WPARAM wParam, LRESULT& result) {
    result = 0;
    switch (msg) {
    case WM_GETFONT:
        result = reinterpret_cast<LRESULT>(s.Font);
        return true;
    case WM_SETREDRAW:
        s.NoRedraw = wParam == 0;
        if (!s.NoRedraw) Changed(s);
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        s.Focused = msg == WM_SETFOCUS;
        Invalidate(s);
        SendNotifyCode(hwnd, s.Focused ? NM_SETFOCUS : NM_KILLFOCUS);
        return true;
    case WM_GETDLGCODE:
        result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return true;
    default:
        return false;
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
    if (ItemViewCommonMessage(*s, hwnd, msg, wParam, result)) return result;
    if (const std::optional<LRESULT> answer = FirstAnswer(families, *s, hwnd, msg, wParam, lParam)) return *answer;
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}
