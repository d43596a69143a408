// What the skinned tree and list views share: the skin commands 1 to 3 of their own manager, the frame strips of
// a given width from the cache with the square between two bars, the frame messages, and the section colours.
#pragma once

#include "platform/classes/ControlMessages.h"
#include "platform/gdi/Types.h"
#include "skin/controls/sControlFrame.h"

#include <functional>

namespace korvex::skin {

class TsScrollBar;

// What an item view adds to the skin commands 1 to 3 of its own manager, each after CommonWndProc.
struct TacItemViewHooks {
    std::function<void()> NewSkin;   // code 1
    std::function<void()> RemoveSkin;   // code 2
    std::function<void()> Refresh;   // code 3
    std::function<void()> ParentUpdated;   // code 6 while updating (Updating is cleared first)
};

// The start of an item view's message handling: codes 1 to 3 of the own manager (hooks), 7, every message to
// base while not skinned, code 6 and the other skin commands. Continue: an ordinary message of a skinned view.
TacStep ItemViewSkinPrologue(classes::TMessage& message, classes::TWinControl* control, TsCommonData* data,
    const TacItemViewHooks& hooks, const std::function<void(classes::TMessage&)>& base);

// The frame onto the window DC (or given): the cache rendered by prepare when BGChanged, its frame painted, then
// the four strips of width b copied from it; with both bars, the square between them copied too, and with
// squareAtCacheCorner once more at the cache's bottom-right corner.
void PaintItemViewFrame(classes::TWinControl* control, TsCommonData* data, int b, TsScrollBar* vertBar,
    TsScrollBar* horzBar, gdi::HDC given, const std::function<void()>& prepare, bool squareAtCacheCorner = false);

// WM_NCPAINT and WM_PRINT of an item view: paintFrame onto the window DC (nullptr), or after the client's WM_PAINT
// onto the message's DC. Done: the message was used.
TacStep ItemViewFrameMessage(classes::TMessage& message, classes::TWinControl* control,
    const std::function<void(gdi::HDC)>& paintFrame);

// Color and Font.Color from the section of the control's skin index (unless CustomColor / CustomFont), or the
// window colours when unskinned is set.
enum class TacWindowColors { No, Yes };
void KeepItemViewColors(classes::TControl* control, TsCommonData* data, TacWindowColors windowColors);

// Both bars visible: the square between them, relative to the control.
bool BarsCorner(const classes::TControl* control, TsScrollBar* vertBar, TsScrollBar* horzBar, classes::TRect& square);

}
