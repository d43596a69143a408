// The in-place label editor of the tree and list views: an EDIT whose Enter and Escape go to its owner.
#include "platform/user/controls/InPlaceEdit.h"

#include "platform/user/Focus.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/EditConstants.h"

#include <algorithm>
#include <utility>

namespace korvex::user {

namespace {

WNDPROC EditClassProc() {
    WNDCLASSEX wc;
    return GetClassInfoEx(WC_EDIT, &wc) ? wc.lpfnWndProc : nullptr;
}

LRESULT EditSubclass(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam) {
    const WNDPROC previous = EditClassProc();
    if (!previous) return DefWindowProc(edit, msg, wParam, lParam);
    switch (msg) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | CallWindowProc(previous, edit, msg, wParam, lParam);
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            const WORD code = wParam == VK_RETURN ? EN_INPLACE_ACCEPT : EN_INPLACE_CANCEL;
            SendMessage(GetParent(edit), WM_COMMAND, MAKEWPARAM(0, code), reinterpret_cast<LPARAM>(edit));
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r' || wParam == 27) return 0;
        break;
    default:
        break;
    }
    return CallWindowProc(previous, edit, msg, wParam, lParam);
}

}   // namespace

HWND InPlaceEdit::Start(HWND owner, const std::string& text, RECT r, HFONT font) {
    KORVEX_ASSERT(FEdit == nullptr);   // one edit at a time
    HWND edit = CreateWindowEx(0, WC_EDIT, text, WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, r.left, r.top,
        std::max<int>(r.right - r.left, 20), r.bottom - r.top, owner, nullptr, nullptr, nullptr);
    if (!edit) return nullptr;
    SetWindowLongPtr(edit, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(EditSubclass));
    SendMessage(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    SendMessage(edit, EM_SETSEL, 0, -1);
    FEdit = edit;
    ShowWindow(edit, SW_SHOW);
    SetFocus(edit);
    return IsWindow(edit) ? edit : nullptr;
}

std::optional<std::string> InPlaceEdit::Finish() {
    if (!FEdit) return std::nullopt;
    HWND edit = std::exchange(FEdit, nullptr);
    std::string text = GetWindowText(edit);
    HWND owner = GetParent(edit);
    const bool hadFocus = GetFocus() == edit;
    DestroyWindow(edit);
    if (hadFocus && IsWindow(owner)) SetFocus(owner);
    return text;
}

std::optional<bool> InPlaceEdit::EndRequest(WORD code, HWND from) const {
    if (from == nullptr || from != FEdit) return std::nullopt;
    if (code == EN_INPLACE_ACCEPT || code == EN_KILLFOCUS) return false;
    if (code == EN_INPLACE_CANCEL) return true;
    return std::nullopt;
}

}
