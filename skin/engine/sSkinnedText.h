// Skinned text: captions in a section's font and contour colours, embossed disabled text, cutting to a width,
// text sizes and the dotted focus frame.
#pragma once

#include "platform/classes/GraphicsTypes.h"
#include "platform/gdi/Types.h"
#include "skin/engine/Forward.h"

#include <string>

namespace korvex::classes {
class TCanvas;
}

namespace korvex::skin {

// Both output routines place a single-line text in r (centred with DT_CENTER, else vertically centred and
// from r's left or, with DT_RIGHT, ending at r's right) and hand back the text's rectangle grown by 1 pixel,
// for a focus frame. With DT_WORDBREAK the text wraps in r as given and r comes back unchanged.
// Disabled text: the highlight colour 1 pixel right and down, then the shadow colour.

// The control's caption: the owner's font, the section's text and contour colours for hot or normal (the
// font's own colour with CustomFont or without a section), clipped to r; "WEBBUTTON" underlines when hot.
void OutputSkinnedText(classes::TCanvas* canvas, const std::string& text, bool enabled, classes::TRect& r,
    unsigned flags, TsCommonData* data, bool hot);
// The same for a section given by index (manager nullptr: the default); nothing without a valid section.
// No clipping; the canvas's font colour is left at the text colour.
void DrawCaptionText(classes::TCanvas* canvas, const std::string& text, bool enabled, classes::TRect& r, unsigned flags,
    int skinIndex, bool hot, TsSkinManager* manager);

// The longest prefix of text that fits width pixels with "..." after it (text itself when it fits; empty
// when width < 1 or not even one character fits). Characters are code points.
std::string CutTextToWidth(classes::TCanvas* canvas, const std::string& text, int width);
// The text's extent in the font on a screen DC; (0, 0) when it cannot be measured.
classes::TSize GetTextSize(gdi::HFONT font, const std::string& text);
// Black dots every third pixel along r's edges with white ones up and left of them; writes outside the
// canvas's surface are dropped.
void PaintFocusDots(classes::TCanvas* canvas, const classes::TRect& r);

}
