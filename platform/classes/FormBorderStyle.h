// TFormBorderStyle: the frame of a form, or the edge of a scrolling control.
#pragma once

#include <string_view>

namespace korvex::classes {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
inline constexpr std::string_view FormBorderStyleIdents[]
    = {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"};

}
