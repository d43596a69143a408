// Owner-drawn items of list and combo boxes, tabs and header sections: the canvas set up for one item, and the
// item height answer.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/ControlMessages.h"
#include "platform/classes/GraphicsTypes.h"
#include "platform/classes/ListControlTypes.h"

#include <functional>

namespace korvex::classes {

class TCanvas;
class TFont;

using TOwnerDrawItemPainter = std::function<void(int index, const TRect& rect, TOwnerDrawState state)>;
using TOwnerDrawItemMeasure = std::function<void(int index, int& height)>;
using TOwnerDrawPartPainter = std::function<void(int index, const TRect& rect, bool selected)>;

// CN_DRAWITEM: the canvas on the item's DC with the control's font and colour (the highlight colours when the
// item is selected), then the item by drawItem (only the background for index -1, an empty list's focus) and
// the focus rectangle. The canvas lets the DC go at the end, also when drawing throws. Answers 1.
void DrawOwnerDrawnItem(TMessage& m, TCanvas& canvas, const TFont* font, TColor color, const TOwnerDrawItemPainter& drawItem);

// CN_DRAWITEM of a tab or a header section: the canvas on the item's DC (saved, and let go at the end) with
// the control's font and colour, then the item by drawPart. Answers 1.
void DrawOwnerDrawnPart(TMessage& m, TCanvas& canvas, const TFont* font, TColor color, const TOwnerDrawPartPainter& drawPart);

// CN_MEASUREITEM: itemHeight, or what measure makes of it where heights vary (not for the edit face of a
// combo box, item -1); never below 1. Answers 1.
void MeasureOwnerDrawnItem(TMessage& m, int itemHeight, const TOwnerDrawItemMeasure& measure);

}
