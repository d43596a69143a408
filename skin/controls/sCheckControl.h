// TacCheckCore: what the skinned check box and radio button share (glyph from the skin, the user's bitmaps
// or an image list, caption beside it, presses by mouse and space bar, auto size, painting), and
// TacCheckControl: the control layer both build on (skin data, the core, their published properties).
#pragma once

#include "platform/classes/ControlMessages.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TButtonControl.h"
#include "skin/engine/sControlKind.h"
#include "skin/engine/sFade.h"
#include "skin/engine/sPixelAccess.h"

#include <functional>
#include <memory>
#include <string>

namespace korvex::classes {
class TBitmap;
class TCustomImageList;
}

namespace korvex::skin {

class TsCommonData;
struct TsMaskData;

class TacCheckCore {
public:
    TacCheckCore(classes::TButtonControl* owner, TsCommonData* data);
    ~TacCheckCore();

    // What differs between the two kinds.
    std::function<std::string()> MaskName;   // the skin mask of the current state (GLOBALINFO)
    std::function<std::string()> CheckedMaskName;   // the mask whose absence gives the 16 x 16 default
    std::function<void()> Release;   // a finished press: toggle or check
    std::function<int()> NativeCheck;   // what BM_SETCHECK hands the native control when the skin goes
    bool RefreshResizes = true;   // a skin refresh runs AdjustSize (the check box; not the radio button)
    // Unskinned and read-only, BM_SETSTATE is refused always (the radio button) or only during a press.
    bool ReadOnlyRefusesStateAlways = false;
    // Painting waits for a running cross-fade (the check box), or only for one with steps left (the radio button).
    bool PaintsBesideSpentFade = false;
    std::function<classes::TAlignment()> Alignment;

    classes::TSize GlyphSize() const;
    classes::TRect GlyphRect() const;
    int GlyphState() const;   // 2 pressed, 1 hot (not read-only), else 0
    classes::TRect TextRect() const;
    // Where the caption goes in the owner's font: a multi-line one as a block centred from top to bottom of
    // TextRect, its lines from the side next to the box like a single line's.
    classes::TRect CaptionRect() const;
    // The size AutoSize asks for; false while loading or without AutoSize.
    bool AutoSizeBounds(int& width, int& height) const;
    void AdjustSize();
    void PrepareCache();

    // Message handling before the base class. True: handled, the base class must not see it.
    bool WndProc(classes::TMessage& message, const std::function<void(classes::TMessage&)>& inherited);
    bool Painting() const;
    bool Fading() const;   // a cross-fade runs that holds painting back
    void StopFade() { StopFadeTimer(FadeTimer); }
    // BM_SETCHECK while skinned: a running fade that has steps left stops.
    void StopFadeWithStepsLeft();
    // The state the box shows: the check box's State, the radio button's Checked.
    int ShownCheck() const;
    void Changed(TacAnimatEvent event);   // co_ DoChangePaint for the event

    TsDisabledKind DisabledKind = DefaultDisabledKind;
    std::unique_ptr<classes::TBitmap> GlyphChecked;
    std::unique_ptr<classes::TBitmap> GlyphUnChecked;
    int TextIndent = 0;
    bool MultiLine = false;
    bool Pressed = false;   // the mouse or the space bar is down on the control
    bool ShowFocus = true;
    int Margin = 2;
    bool AutoSize = true;
    classes::TCustomImageList* Images = nullptr;
    int ImgChecked = -1;
    int ImgUnchecked = -1;
    TacAnimatEvents AnimatEvents {aeGlobalDef};
    bool ReadOnly = false;
    TsFadeTimer* FadeTimer = nullptr;

private:
    const TsMaskData* StateMask() const;
    void PaintGlyph(classes::TBitmap* cache);
    unsigned CaptionFlags() const;
    void PaintCaption(classes::TBitmap* cache);
    void Paint(classes::TMessage& message);
    void TakeFocus();
    bool SkinCommand(classes::TMessage& message);
    bool SkinnedMessage(classes::TMessage& message, const std::function<void(classes::TMessage&)>& inherited);

    classes::TButtonControl* FOwner;
    TsCommonData* FData;
};

// A check box or radio button over its class-library base: owned skin data of the given kind, the core, and the
// properties the two share. Instantiated for TCustomCheckBox and TRadioButton.
template <class Base>
class TacCheckControl : public Base {
public:
    TacCheckControl(classes::TComponent* owner, TacControlKind kind);
    ~TacCheckControl() override;
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
    TacAnimatEvents AnimatEvents() const { return FCore.AnimatEvents; }
    void SetAnimatEvents(TacAnimatEvents value) { FCore.AnimatEvents = value; }
    virtual bool ReadOnly() const { return FCore.ReadOnly; }
    void SetReadOnly(bool value) { FCore.ReadOnly = value; }

    bool Pressed() const { return FCore.Pressed; }
    TsFadeTimer* FadeTimer() const { return FCore.FadeTimer; }
    classes::TRect GlyphRect() const { return FCore.GlyphRect(); }
    classes::TRect CaptionRect() const { return FCore.CaptionRect(); }
    void SetChecked(bool value) override;   // repaints the skinned look at once
    void AdjustSize() { FCore.AdjustSize(); }

    // The shared published properties from SkinData to Margin; the caller adds its own around them.
    template <class T>
    static void PublishCheckProperties(classes::TPropertyBuilder<T>& p) {
        p.Object("SkinData", &T::SkinData);
        p.Set("DisabledKind", &T::DisabledKind, &T::SetDisabledKind, DisabledKindIdents, DefaultDisabledKind);
        p.Object("GlyphChecked", &T::GlyphChecked, &T::SetGlyphChecked);
        p.Object("GlyphUnChecked", &T::GlyphUnChecked, &T::SetGlyphUnChecked);
        p.Int("TextIndent", &T::TextIndent, &T::SetTextIndent, 0);
        p.Bool("MultiLine", &T::MultiLine, &T::SetMultiLine, false);
        p.Bool("ShowFocus", &T::ShowFocus, &T::SetShowFocus, true);
        p.Int("Margin", &T::Margin, &T::SetMargin, 2);
    }
    // AnimatEvents and ReadOnly, which close both lists.
    template <class T>
    static void PublishCheckTail(classes::TPropertyBuilder<T>& p) {
        p.Set("AnimatEvents", &T::AnimatEvents, &T::SetAnimatEvents, AnimatEventIdents, TacAnimatEvents {aeGlobalDef});
        p.Bool("ReadOnly", &T::ReadOnly, &T::SetReadOnly, false);
    }

protected:
    void CNCommand(classes::TMessage& message) override;   // read-only: no click of the native button
    bool CanAutoSize(int& newWidth, int& newHeight) override;   // skinned, with AutoSize: box and caption
    void SizeChanged();   // AdjustSize with AutoSize, then invalidate

    std::unique_ptr<TsCommonData> FSkinData;
    TacCheckCore FCore;
};

}
