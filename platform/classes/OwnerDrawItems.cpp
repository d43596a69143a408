// Owner-drawn items of list and combo boxes, tabs and header sections: the canvas set up for one item, and the
// item height answer.
#include "platform/classes/OwnerDrawItems.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/controls/ControlsCommon.h"

#include <algorithm>

namespace korvex::classes {

using namespace user;

void DrawOwnerDrawnItem(TMessage& m, TCanvas& canvas, const TFont* font, TColor color, const TOwnerDrawItemPainter& drawItem) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
    if (!item) return;
    const TOwnerDrawState state = OwnerDrawStateOf(item->itemState);
    canvas.SetHandle(item->hDC);
    base::ScopeExit release([&canvas] { canvas.SetHandle(nullptr); });
    canvas.SetFont(font);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(color);
    if (state.Contains(odSelected)) {
        canvas.Brush()->SetColor(clHighlight);
        canvas.Font()->SetColor(clHighlightText);
    }
    const int index = int(item->itemID);
    if (index >= 0)
        drawItem(index, item->rcItem, state);
    else
        canvas.FillRect(item->rcItem);
    if (state.Contains(odFocused)) canvas.DrawFocusRect(item->rcItem);
    m.Result = 1;
}

void DrawOwnerDrawnPart(TMessage& m, TCanvas& canvas, const TFont* font, TColor color, const TOwnerDrawPartPainter& drawPart) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
    if (!item) return;
    gdi::SavedDc saved(item->hDC);
    canvas.SetHandle(item->hDC);
    base::ScopeExit release([&canvas] { canvas.SetHandle(nullptr); });
    canvas.Font()->Assign(font);
    canvas.Brush()->SetColor(color);
    drawPart(int(item->itemID), item->rcItem, (item->itemState & ODS_SELECTED) != 0);
    m.Result = 1;
}

void MeasureOwnerDrawnItem(TMessage& m, int itemHeight, const TOwnerDrawItemMeasure& measure) {
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
    if (!item) return;
    int height = itemHeight;
    if (measure && item->itemID != UINT(-1)) measure(int(item->itemID), height);
    item->itemHeight = UINT(std::max(1, height));
    m.Result = 1;
}

}
