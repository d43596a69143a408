// An edit control laid over an item's label while the tree or list view edits it in place.
#pragma once

#include "platform/user/controls/ControlsCommon.h"

#include <optional>
#include <string>

namespace korvex::user {

// WM_COMMAND codes the edit sends its owner (lParam: the edit): Enter takes the text, Escape cancels. Losing
// the focus arrives as EN_KILLFOCUS and takes the text too.
inline constexpr WORD EN_INPLACE_ACCEPT = 0x7F01;
inline constexpr WORD EN_INPLACE_CANCEL = 0x7F02;

class InPlaceEdit {
public:
    HWND Edit() const { return FEdit; }
    bool Active() const { return FEdit != nullptr; }
    // Makes the edit over r (owner's client coordinates) with the text selected and the focus.
    HWND Start(HWND owner, const std::string& text, RECT r, HFONT font);
    // The edit's text; the edit is destroyed (the focus back to its owner when it had it). nullopt when no
    // edit was open. Safe against re-entry: the edit is forgotten before it is destroyed.
    std::optional<std::string> Finish();
    // For a WM_COMMAND the owner got: whether it asks to end editing, and if so whether to cancel.
    std::optional<bool> EndRequest(WORD code, HWND from) const;

private:
    HWND FEdit = nullptr;
};

}
