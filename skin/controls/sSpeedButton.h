// TsSpeedButton: the skinned windowless button (section SPEEDBUTTON) kept in a cache between paints, with a
// glyph, button styles (check, drop-down part with a menu, separator, divider) and animated state changes.
#pragma once

#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TSpeedButton.h"
#include "platform/classes/TToolBar.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sGlyphImages.h"
#include "skin/engine/sFade.h"
#include "skin/engine/sGlyphs.h"

#include <memory>

namespace korvex::classes {
class TCustomImageList;
class TPopupMenu;
}

namespace korvex::skin {

class TsCommonData;

inline constexpr int SpeedDropDownWidth = 16;   // the arrow part of a tbsDropDown button

// The caption rectangle of a speed button of width w (the drop-down part already taken off).
classes::TRect SpeedButtonCaptionRect(const TacGlyphLayout& l, int textOffset, bool pressed);

extern template class TsGlyphImages<classes::TSpeedButton>;

class TsSpeedButton : public TsGlyphImages<classes::TSpeedButton> {
public:
    explicit TsSpeedButton(classes::TComponent* owner);
    ~TsSpeedButton() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;
    void Loaded() override;

    TsCommonData* SkinData() const { return FSkinData.get(); }
    TsDisabledKind DisabledKind() const { return FDisabledKind; }
    void SetDisabledKind(TsDisabledKind value);
    int TextOffset() const { return FTextOffset; }
    void SetTextOffset(int value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool value);
    classes::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(classes::TAlignment value);
    classes::TToolButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(classes::TToolButtonStyle value);   // tbsDropDown adds the arrow part to the width
    classes::TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(classes::TPopupMenu* value);
    bool DrawOverBorder() const { return FDrawOverBorder; }
    void SetDrawOverBorder(bool value);
    classes::TAlignment TextAlignment() const { return FTextAlignment; }
    void SetTextAlignment(classes::TAlignment value);
    TacAnimatEvents AnimatEvents() const { return FAnimatEvents; }
    void SetAnimatEvents(TacAnimatEvents value) { FAnimatEvents = value; }

    TBmpPaintEvent OnPaint;
    classes::TNotifyEvent OnMouseEnter;
    classes::TNotifyEvent OnMouseLeave;

    bool MenuShown() const { return FMenuShown; }
    int DropDownWidth() const { return FButtonStyle == classes::tbsDropDown ? SpeedDropDownWidth : 0; }
    virtual int CurrentState() const;
    virtual classes::TRect GlyphRect() const;
    virtual classes::TRect CaptionRect() const;
    void PrepareCache() { PrepareCacheOver(classes::TColor(0xFF00FF)); }
    // The cache's picture. under: a colour the button stands on, which mask holes show until the control's
    // skin is rendered over it; 0xFF00FF: none.
    virtual void PrepareCacheOver(classes::TColor under);

protected:
    void Paint() override;
    void PaintOver(classes::TColor under);   // Paint with PrepareCacheOver's colour
    void WndProc(classes::TMessage& message) override;
    void ActionChange(classes::TObject* sender, bool checkDefaults) override;
    void MouseDown(classes::TMouseButton button, classes::TShiftState shift, int x, int y) override;
    void MouseUp(classes::TMouseButton button, classes::TShiftState shift, int x, int y) override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;
    virtual void PaintCaption(classes::TBitmap* cache);
    virtual void PaintGlyph(classes::TBitmap* cache);
    TsCommonData* GlyphSkinData() const override { return FSkinData.get(); }
    void GlyphSettingChanged() override { Changed(); }

private:
    TacGlyphLayout LayoutNow() const;
    void ChangeState(TacAnimatEvent event);
    bool Fades() const;   // the section fades and nothing suppresses it
    // co_ From the cache (the old look) to the new look, the first frame at once; false when nothing started.
    bool StartAnimation(bool half);
    void StopAnimation();   // the timer freed, and the cache shown again when it was running
    bool DropAnimation();   // the timer freed without painting; true when one was running
    bool ShowsFrame() const;   // a running animation's frame fits the control
    void Redraw();   // tells the parent which child repaints itself
    void Changed();   // BGChanged and redraw
    void ShowDropDown();
    void RestoreShowHint();   // the application's ShowHint as the drop-down found it, once
    bool SkinCommand(classes::TMessage& message);
    bool BasePressed() const;   // the base class shows it down

    std::unique_ptr<TsCommonData> FSkinData;
    TsDisabledKind FDisabledKind = DefaultDisabledKind;
    TsAnimTimer* FAnimTimer = nullptr;   // owned by this control while an animation runs
    int FTextOffset = 0;
    bool FShowCaption = true;
    classes::TAlignment FAlignment = classes::taCenter;
    classes::TToolButtonStyle FButtonStyle = classes::tbsButton;
    classes::TPopupMenu* FDropdownMenu = nullptr;
    bool FDrawOverBorder = true;
    classes::TAlignment FTextAlignment = classes::taCenter;
    TacAnimatEvents FAnimatEvents {aeGlobalDef};
    bool FMenuShown = false;
    bool FHintSaved = false;   // the drop-down switched the application's hints off
    bool FSavedShowHint = true;
    bool FRenderedDown = false;   // Down, NumGlyphs and Spacing of the last render
    int FRenderedNumGlyphs = 1;
    int FRenderedSpacing = 4;
};

}
