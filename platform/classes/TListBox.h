// TCustomListBox and TListBox: the list box over the native LISTBOX class, plain or owner-drawn.
#pragma once

#include "platform/classes/ListControlTypes.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TListControl.h"

namespace korvex::classes {

// OnClick follows the user's selection changes (LBN_SELCHANGE), OnDblClick the list's double clicks.
// lbOwnerDrawVariable asks OnMeasureItem for each item's height, starting from ItemHeight.
class TCustomListBox : public TListControl {
public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    int ItemIndex() const;   // the selected item (the caret item with multiple selection); -1 when none
    void SetItemIndex(int value);
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle value);
    int ItemHeight() const;   // owner-drawn: the height given; standard: the font's
    void SetItemHeight(int value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool value);
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool value);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    int TopIndex() const;
    void SetTopIndex(int value);
    bool Selected(int index) const;   // raises EListError for a bad index
    void SetSelected(int index, bool value);
    int SelCount() const;   // -1 without multiple selection
    int Count() const { return FItems->Count(); }
    // The item at a client point; -1 with existing when the point is on no item, else the nearest one.
    int ItemAtPos(TPoint pos, bool existing) const;
    TRect ItemRect(int index) const;
    void Clear() { FItems->Clear(); }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Loaded() override;
    void CNCommand(TMessage& m) override;
    bool VariableItemHeight() const override { return FStyle == lbOwnerDrawVariable; }
    bool IsItemHeightStored() const { return FStyle != lbStandard; }

private:
    TListBoxStyle FStyle = lbStandard;
    int FItemIndex = -1;   // while there is no window
    int FTopIndex = 0;
    bool FSorted = false;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    bool FIntegralHeight = false;
    TFormBorderStyle FBorderStyle = bsSingle;
};

class TListBox : public TCustomListBox {
public:
    explicit TListBox(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

}
