// TCustomComboBox and TComboBox: the combo box over the native COMBOBOX class, plain or owner-drawn.
#pragma once

#include "platform/classes/ListControlTypes.h"
#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TListControl.h"

namespace korvex::classes {

// The user's choice of an item fires OnClick, then
// Select (OnSelect, or OnChange when there is none); typing in the edit fires OnChange; dropping the list
// fires OnDropDown and sizes the list for DropDownCount items; closing it fires OnCloseUp. Owner-drawn
// styles paint items and the closed face (odComboBoxEdit) through DrawItem on Canvas, and ask OnMeasureItem
// for variable heights. The edit and list windows are subclassed: their messages pass ComboWndProc, which
// gives the control their keys and tells the form when they take the focus.
class TCustomComboBox : public TListControl {
public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    int ItemIndex() const;
    void SetItemIndex(int value);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle value);   // makes the window again
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int value) { FDropDownCount = value < 1 ? 1 : value; }
    int ItemHeight() const;   // owner-drawn: the height given; plain: the list's (the font's)
    void SetItemHeight(int value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);   // 0: no limit
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase value);
    bool DroppedDown() const;
    void SetDroppedDown(bool value);
    user::HWND EditHandle() const { return FEditHandle; }   // nullptr for csDropDownList and owner-drawn lists
    user::HWND ListHandle() const { return FListHandle; }
    bool Focused() const;   // the combo, its edit or its list has the focus
    void Clear();   // the items and the text
    void SelectAll();   // the edit's text

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Loaded() override;
    virtual void ComboWndProc(TMessage& message, user::HWND window, user::WNDPROC previous);
    void CNCommand(TMessage& m) override;
    virtual void Change();   // OnChange
    virtual void Select();   // OnSelect, else Change
    virtual void DropDown();   // OnDropDown
    virtual void CloseUp();   // OnCloseUp
    virtual void AdjustDropDown();   // room for DropDownCount items
    bool VariableItemHeight() const override { return FStyle == csOwnerDrawVariable; }
    bool IsItemHeightStored() const { return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable; }

private:
    void HookChildren();
    void UnhookChildren();

    TComboBoxStyle FStyle = csDropDown;
    int FDropDownCount = 8;
    int FItemIndex = -1;   // while there is no window, and while loading
    bool FSorted = false;
    int FMaxLength = 0;
    TEditCharCase FCharCase = ecNormal;
    user::HWND FEditHandle = nullptr;
    user::HWND FListHandle = nullptr;
    user::WNDPROC FEditProc = nullptr;   // their procedures under ours
    user::WNDPROC FListProc = nullptr;
    user::WNDPROC FEditInstance = nullptr;
    user::WNDPROC FListInstance = nullptr;
};

class TComboBox : public TCustomComboBox {
public:
    explicit TComboBox(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

}
