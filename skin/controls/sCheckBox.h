// TsCheckBox: the check box painted from the skin (section CHECKBOX, box images of GLOBALINFO), with the
// user's glyphs or an image list's instead, read-only and auto-sized.
#pragma once

#include "platform/classes/TCheckBox.h"
#include "skin/controls/sCheckControl.h"

#include <memory>

namespace korvex::skin {

class TsCommonData;

class TsCheckBox : public classes::TCustomCheckBox {
public:
    explicit TsCheckBox(classes::TComponent* owner);
    ~TsCheckBox() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;
    void Loaded() override;
    void Invalidate() override;   // AutoSize keeps MultiLine off

    TsCommonData* SkinData() const { return FSkinData.get(); }
    bool AutoSize() const { return FCore.AutoSize; }
    void SetAutoSize(bool value);
    TsDisabledKind DisabledKind() const { return FCore.DisabledKind; }
    void SetDisabledKind(TsDisabledKind value);
    classes::TBitmap* GlyphChecked() const { return FCore.GlyphChecked.get(); }
    void SetGlyphChecked(const classes::TBitmap* value);
    classes::TBitmap* GlyphUnChecked() const { return FCore.GlyphUnChecked.get(); }
    void SetGlyphUnChecked(const classes::TBitmap* value);
    int TextIndent() const { return FCore.TextIndent; }
    void SetTextIndent(int value);
    bool MultiLine() const { return FCore.MultiLine; }
    void SetMultiLine(bool value);   // switched off while AutoSize is on
    bool ShowFocus() const { return FCore.ShowFocus; }
    void SetShowFocus(bool value);
    int Margin() const { return FCore.Margin; }
    void SetMargin(int value);
    classes::TCustomImageList* Images() const { return FCore.Images; }
    void SetImages(classes::TCustomImageList* value);
    int ImgChecked() const { return FCore.ImgChecked; }
    void SetImgChecked(int value);
    int ImgUnchecked() const { return FCore.ImgUnchecked; }
    void SetImgUnchecked(int value);
    TacAnimatEvents AnimatEvents() const { return FCore.AnimatEvents; }
    void SetAnimatEvents(TacAnimatEvents value) { FCore.AnimatEvents = value; }
    virtual bool ReadOnly() const { return FCore.ReadOnly; }
    void SetReadOnly(bool value) { FCore.ReadOnly = value; }

    bool Pressed() const { return FCore.Pressed; }
    classes::TRect GlyphRect() const { return FCore.GlyphRect(); }
    void SetChecked(bool value) override;
    void AdjustSize() { FCore.AdjustSize(); }

protected:
    void WndProc(classes::TMessage& message) override;
    void CNCommand(classes::TMessage& message) override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

private:
    void SizeChanged();   // AdjustSize with AutoSize, then invalidate

    std::unique_ptr<TsCommonData> FSkinData;
    TacCheckCore FCore;
};

}
