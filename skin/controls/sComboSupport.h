// What both skinned combo families share: their skin commands, the drop-down glyph and the focus test.
#pragma once

#include "platform/classes/ControlMessages.h"
#include "platform/classes/GraphicsTypes.h"
#include "skin/controls/sControlFrame.h"

#include <functional>

namespace korvex::classes {
class TBitmap;
class TWinControl;
}

namespace korvex::skin {

class TsCommonData;

// Codes 1 to 3 from the own manager (CommonWndProc; 2: window colours back unless custom, then removed();
// 3: the section's colours, Repaint), 6 (repaint after the parent's update), 7 (LParam := 1). Done: used.
TacStep ComboSkinCommand(classes::TMessage& m, TsCommonData* data, const std::function<void()>& removed);

// One state picture of the section's "GLYPHMASK"; 0 x 0 without one.
classes::TSize ComboGlyphSize(const TsCommonData* data);
// The width of the "GLYPHMASK" rectangle divided by its image count, also for a mask with its own bitmap; 0
// without one.
int ComboGlyphRectWidth(const TsCommonData* data);
// The glyph into cache, centred across button as glyphWidth wide (-1: one state picture's width) and at its top,
// in state (0 normal, 1 hot, 2 dropped).
void PaintComboGlyph(const TsCommonData* data, classes::TBitmap* cache, const classes::TRect& button, int state,
    int glyphWidth = -1);

// The combo, its edit or its list holds the focus.
bool ComboHasFocus(const classes::TWinControl* combo, user::HWND edit, user::HWND list);

}
