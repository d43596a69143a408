// The default non-client area: frame metrics, hit testing, frame painting, caption buttons, system commands.
#pragma once

#include "platform/user/UserTypes.h"

namespace korvex::user {

// True for the messages DefNonClientProc answers: WM_NCCALCSIZE, WM_NCHITTEST, WM_NCPAINT, WM_NCACTIVATE,
// the non-client mouse messages, WM_NCMOUSELEAVE, WM_SYSCOMMAND and WM_GETMINMAXINFO.
bool IsNonClientMessage(UINT msg);

// The default window procedure's handling of those messages; 0 for any other message.
LRESULT DefNonClientProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}
