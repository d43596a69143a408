// TListControl: items and owner-drawn items of the list box and the combo box.
#include "platform/classes/TListControl.h"

#include "platform/classes/OwnerDrawItems.h"
#include "platform/classes/PropertyRegistry.h"

namespace korvex::classes {

TListControl::TListControl(TComponent* owner, const TListMessages& messages)
    : TWinControl(owner)
    , FItems(std::make_unique<TListControlStrings>(this, messages))
    , FCanvas(std::make_unique<TControlCanvas>(this)) {
}

TListControl::~TListControl() = default;

TClass TListControl::StaticClass() {
    static const TClassInfo info = MakeClass<TListControl, TWinControl>("TListControl");
    return &info;
}

void TListControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        CNCommand(message);
        return;
    case CN_DRAWITEM:
        CNDrawItem(message);
        return;
    case CN_MEASUREITEM:
        CNMeasureItem(message);
        return;
    default:
        TWinControl::WndProc(message);
    }
}

void TListControl::CNDrawItem(TMessage& m) {
    DrawOwnerDrawnItem(m, *FCanvas, Font(), Color(),
        [this](int index, const TRect& rect, TOwnerDrawState state) { DrawItem(index, rect, state); });
}

void TListControl::CNMeasureItem(TMessage& m) {
    TOwnerDrawItemMeasure measure;
    if (VariableItemHeight()) measure = [this](int index, int& height) { MeasureItem(index, height); };
    MeasureOwnerDrawnItem(m, FItemHeight, measure);
}

void TListControl::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    FCanvas->FillRect(rect);
    if (index < FItems->Count()) FCanvas->TextOut(rect.left + 2, rect.top, FItems->Get(index));
}

void TListControl::MeasureItem(int index, int& height) {
    if (OnMeasureItem) OnMeasureItem(this, index, height);
}

}
