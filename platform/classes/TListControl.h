// TListControl: what the list box and the combo box share: their items and owner-drawn items.
#pragma once

#include "platform/classes/ListControlTypes.h"
#include "platform/classes/TControlCanvas.h"
#include "platform/classes/TListControlStrings.h"
#include "platform/classes/TWinControl.h"

#include <memory>

namespace korvex::classes {

// Items are the window's (kept aside while there is none). Owner-drawn styles paint through DrawItem
// (OnDrawItem, or the item's text) on Canvas, which holds the item's DC with Font and Color set (the highlight
// colours for a selected item); styles of variable height ask MeasureItem (OnMeasureItem) for each item's
// height, starting from the item height.
class TListControl : public TWinControl {
public:
    TListControl(TComponent* owner, const TListMessages& messages);
    ~TListControl() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TStrings* Items() const { return FItems.get(); }
    void SetItems(const TStrings* value) { FItems->Assign(value); }
    TCanvas* Canvas() const { return FCanvas.get(); }

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    void WndProc(TMessage& message) override;   // CN_COMMAND, CN_DRAWITEM and CN_MEASUREITEM
    virtual void CNCommand(TMessage& m) = 0;
    virtual void CNDrawItem(TMessage& m);
    virtual void CNMeasureItem(TMessage& m);
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
    virtual void MeasureItem(int index, int& height);
    virtual bool VariableItemHeight() const = 0;   // the style asks each item's height

    std::unique_ptr<TListControlStrings> FItems;
    std::unique_ptr<TControlCanvas> FCanvas;
    int FItemHeight = 16;
};

}
