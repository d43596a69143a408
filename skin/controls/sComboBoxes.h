// The combo family of the colour box and the combo box with images: TsCustomListControl > TsCommonCombo >
// TsCommonComboBox, and TsComboBoxStrings, the items kept by the combo window itself.
#pragma once

#include "platform/classes/TComboBox.h"
#include "platform/classes/TListControlStrings.h"
#include "skin/engine/sPixelAccess.h"

#include <memory>
#include <string>

namespace korvex::skin {

class TsBoundLabel;
class TsCommonData;

// The items in the combo window (kept aside while there is none); Clear keeps the control's text.
class TsComboBoxStrings : public classes::TListControlStrings {
public:
    explicit TsComboBoxStrings(classes::TWinControl* control);
    std::string Get(int index) const override;   // "" for an index the box does not hold
    void Delete(int index) override;   // an index the box does not hold deletes nothing
    // The window places the item: -1 appends; an index past the end is refused (EOutOfResources).
    void Insert(int index, const std::string& s) override;
    void PutObject(int index, classes::TObject* obj) override;   // nothing for an index the box does not hold
    void Clear() override;

protected:
    void SetUpdateState(bool updating) override;   // the last EndUpdate repaints the control at once

private:
    classes::TWinControl* FOwnerControl;
};

// The skin state, the bound label and the skin's look-changing messages of the family.
class TsCustomListControl : public classes::TCustomComboBox {
public:
    explicit TsCustomListControl(classes::TComponent* owner);
    ~TsCustomListControl() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;

    TsCommonData* SkinData() const { return FCommonData.get(); }
    TsBoundLabel* BoundLabel() const { return FBoundLabel.get(); }

protected:
    void Loaded() override;
    void WndProc(classes::TMessage& message) override;
    // BGChanged, then a repaint of the client and of the frame (frameFirst: the frame before the client).
    virtual void RepaintSkin(bool frameFirst = false);
    void PaintFrameNow();   // WM_NCPAINT now

    std::unique_ptr<TsCommonData> FCommonData;

private:
    std::unique_ptr<TsBoundLabel> FBoundLabel;
};

// The combo mechanics: drop-down sizing, selection and change events, the drop-down button of the skin and
// the skinned paint that hands the face to DrawSkinnedItem.
class TsCommonCombo : public TsCustomListControl {
public:
    explicit TsCommonCombo(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    // The section's "GLYPHMASK" glyph, as far from the right edge as from the top; empty without one.
    classes::TRect ButtonRect() const;
    void SetItemHeight(int value);   // a new height makes the window again

protected:
    // An automatic drag starts from a press on the box or its edit; a new 3D look re-creates the window.
    void WndProc(classes::TMessage& message) override;
    void ComboWndProc(classes::TMessage& message, user::HWND window, user::WNDPROC previous) override;
    void CNCommand(classes::TMessage& m) override;
    void AdjustDropDown() override;   // room for DropDownCount items
    void CNDrawItem(classes::TMessage& m) override;
    void Change() override;   // CM_CHANGED, the edit margin, the face repainted, OnChange
    virtual void EditMarginHook() { }
    virtual void PaintButton(classes::TBitmap* cache);
    virtual void PaintSkin(gdi::HDC dc);
    virtual void DrawSkinnedItem(int index, const classes::TRect& rect, classes::TOwnerDrawState state);

    TsDisabledKind FDisabledKind = DefaultDisabledKind;

private:
    bool DragsAutomatically() const;
    void CloseListByKey(user::WPARAM key);   // a character Enter or Escape closes an open list

    bool FAdjustingDropDown = false;   // a WM_SIZE of the sizing goes to the default handling only
};

// Items held by the window, styles, auto-completion, skinned painting.
class TsCommonComboBox : public TsCommonCombo {
public:
    explicit TsCommonComboBox(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool value) { FAutoComplete = value; }
    bool AutoDropDown() const { return FAutoDropDown; }
    void SetAutoDropDown(bool value) { FAutoDropDown = value; }
    TsDisabledKind DisabledKind() const { return FDisabledKind; }
    void SetDisabledKind(TsDisabledKind value);
    static constexpr unsigned SearchGapMs = 500;   // a longer pause starts a new search in the list styles

protected:
    void WndProc(classes::TMessage& message) override;
    void KeyPress(char32_t& key) override;
    bool ListStyle() const;   // no edit: drop-down list and owner-drawn styles

private:
    bool SelectItem(const std::string& lookup);   // true when an item starts with lookup
    void SkinWMPaint(classes::TMessage& m);

    bool FAutoComplete = true;
    bool FAutoDropDown = false;
    std::string FFilter;   // what was typed so far in a list style
    unsigned FLastKeyTime = 0;
};

}
