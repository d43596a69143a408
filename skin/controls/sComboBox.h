// TsCustomComboBox and TsComboBox: the class library's combo box with a skinned frame, button and face.
#pragma once

#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TComboBox.h"
#include "skin/engine/sPixelAccess.h"

#include <memory>

namespace korvex::skin {

class TsBoundLabel;
class TsCommonData;

// The native combo keeps its edit, list and input; the frame, the drop-down glyph (the section's "GLYPHMASK")
// and the closed face are painted from the skin. ReadOnly blocks every way of changing the choice by keys,
// mouse or clipboard while the combo still takes the focus.
class TsCustomComboBox : public classes::TCustomComboBox {
public:
    explicit TsCustomComboBox(classes::TComponent* owner);
    ~TsCustomComboBox() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;

    classes::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(classes::TAlignment value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    TsDisabledKind DisabledKind() const { return FDisabledKind; }
    void SetDisabledKind(TsDisabledKind value);
    TsCommonData* SkinData() const { return FCommonData.get(); }
    TsBoundLabel* BoundLabel() const { return FBoundLabel.get(); }
    bool IsDropped() const { return FDropped; }   // from the drop-down until the list closes

    classes::TRect ButtonRect() const;   // the drop-down button (empty width for csSimple)
    int GlyphHeight() const;   // 16 without a skin or a "GLYPHMASK"
    void Invalidate() override;

protected:
    void Loaded() override;
    void WndProc(classes::TMessage& message) override;
    void ComboWndProc(classes::TMessage& message, user::HWND window, user::WNDPROC previous) override;
    void DropDown() override;
    void CloseUp() override;
    void DrawItem(int index, const classes::TRect& rect, classes::TOwnerDrawState state) override;
    void CNDrawItem(classes::TMessage& m) override;
    virtual void PaintText();   // the closed combo's text into the cache

private:
    bool HandleReadOnly(classes::TMessage& m);
    bool HandleSkinned(classes::TMessage& m);
    void AfterInherited(const classes::TMessage& m);
    void SkinWMPaint(classes::TMessage& m);
    void PrepareCache();
    void PaintWindowSkin(gdi::HDC dc);   // nullptr: the window's own DC
    bool SkinFocused() const;

    std::unique_ptr<TsCommonData> FCommonData;
    std::unique_ptr<TsBoundLabel> FBoundLabel;
    classes::TAlignment FAlignment = classes::taLeftJustify;
    TsDisabledKind FDisabledKind = DefaultDisabledKind;
    int FButtonMargin = 2;
    bool FReadOnly = false;
    bool FDropped = false;
};

class TsComboBox : public TsCustomComboBox {
public:
    explicit TsComboBox(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

}
