// TsCustomComboBoxEx and TsComboBoxEx: a skinned owner-drawn combo of the common core whose items carry images.
#pragma once

#include "platform/classes/TCollection.h"
#include "platform/classes/TImageList.h"
#include "skin/controls/sComboBoxes.h"

#include <memory>
#include <string>

namespace korvex::skin {

using TImageIndex = int;

// One item: its caption, images from the combo's list (-1: none) and an indent level.
class TsComboItem : public classes::TCollectionItem {
public:
    explicit TsComboItem(classes::TCollection* collection);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void Assign(const classes::TPersistent* source) override;
    std::string DisplayName() const override;   // the caption when there is one

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);   // tells the collection
    TImageIndex SelectedImageIndex() const { return FSelectedImageIndex; }
    void SetSelectedImageIndex(TImageIndex value);
    TImageIndex ImageIndex() const { return FImageIndex; }
    void SetImageIndex(TImageIndex value);
    TImageIndex OverlayImageIndex() const { return FOverlayImageIndex; }   // kept, not drawn
    void SetOverlayImageIndex(TImageIndex value) { FOverlayImageIndex = value; }
    int Indend() const { return FIndend; }
    void SetIndend(int value);
    void* Data = nullptr;

private:
    std::string FCaption;
    TImageIndex FSelectedImageIndex = -1;
    TImageIndex FImageIndex = -1;
    TImageIndex FOverlayImageIndex = -1;
    int FIndend = -1;
};

class TsCustomComboBoxEx;

// Every change reaches the combo window's list at once.
class TsComboItems : public classes::TCollection {
public:
    explicit TsComboItems(TsCustomComboBoxEx* combo);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    classes::TPersistent* GetOwner() const override;

    TsComboItem* AddItem(const std::string& caption, TImageIndex imageIndex, TImageIndex selectedImageIndex,
        TImageIndex overlayImageIndex, int indent, void* data);
    TsComboItem* GetItem(int index) const;   // EListError out of range; nullptr while the item is being made

protected:
    void Update(classes::TCollectionItem* item) override;

private:
    TsCustomComboBoxEx* FCombo;
};

class TsCustomComboBoxEx : public TsCommonComboBox {
public:
    explicit TsCustomComboBoxEx(classes::TComponent* owner);
    ~TsCustomComboBoxEx() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    classes::TCustomImageList* Images() const { return FImages; }
    void SetImages(classes::TCustomImageList* value);   // raises ItemHeight to the images' height
    TsComboItems* ItemsEx() const { return FItemsEx.get(); }
    void SetItemsEx(const TsComboItems* value) { FItemsEx->Assign(value); }
    void Clear();   // the window's items and ItemsEx

    // The image an item shows in a state (-1: none), and where, for an item rectangle.
    TImageIndex ImageIndexOf(int index, classes::TOwnerDrawState state) const;
    classes::TRect ImageRect(int index, const classes::TRect& rect, classes::TOwnerDrawState state) const;
    void UpdateWindowItems();   // the window's list from ItemsEx

protected:
    void CreateWnd() override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;
    void EditMarginHook() override;
    void DrawItem(int index, const classes::TRect& rect, classes::TOwnerDrawState state) override;
    void DrawSkinnedItem(int index, const classes::TRect& rect, classes::TOwnerDrawState state) override;

private:
    TsComboItem* ItemAt(int index) const;
    void DrawImage(int index, const classes::TRect& rect, classes::TOwnerDrawState state);
    classes::TRect TextRect(int index, const classes::TRect& rect, classes::TOwnerDrawState state) const;
    bool FaceHighlighted(classes::TOwnerDrawState state) const;

    std::unique_ptr<classes::TChangeLink> FChangeLink;
    classes::TCustomImageList* FImages = nullptr;
    std::unique_ptr<TsComboItems> FItemsEx;
};

class TsComboBoxEx : public TsCustomComboBoxEx {
public:
    explicit TsComboBoxEx(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

}
