// TsBitBtn: the skinned push button with a glyph (its own bitmap or an image of an image list) beside the
// caption, blended, greyed or drawn disabled from the skin's button look.
#pragma once

#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TBitBtn.h"
#include "skin/controls/sButtonCore.h"
#include "skin/engine/sGlyphs.h"

#include <functional>
#include <memory>
#include <string_view>

namespace korvex::classes {
class TCustomImageList;
}

namespace korvex::skin {

class TsCommonData;

inline constexpr std::string_view DisabledGlyphKindIdents[] = {"dgBlended", "dgGrayed"};

// Sender and the cache bitmap, after the control rendered its look.
using TBmpPaintEvent = std::function<void(classes::TObject* sender, classes::TBitmap* bmp)>;

// Where the glyph and caption go, from the glyph and caption sizes, for one layout.
struct TacGlyphLayout {
    int Width = 0;
    int Height = 0;
    classes::TSize Glyph {};
    classes::TSize Text {};
    classes::TButtonLayout Layout = classes::blGlyphLeft;
    classes::TAlignment Alignment = classes::taCenter;
    int Margin = -1;
    int Spacing = 4;
};

// The glyph rectangle: the block of glyph, spacing and caption placed by Alignment, halves truncated; the
// spacing counts only with a glyph and a caption. pressed moves it by (1, 1).
classes::TRect BitBtnGlyphRect(const TacGlyphLayout& l, bool pressed);
// The caption rectangle inside the client rectangle (Margin -1 centres, Spacing -1 spreads the free room).
classes::TRect BitBtnTextRect(const TacGlyphLayout& l, bool rightToLeft);

class TsBitBtn : public classes::TBitBtn {
public:
    explicit TsBitBtn(classes::TComponent* owner);
    ~TsBitBtn() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;
    void Loaded() override;

    TsCommonData* SkinData() const { return FSkinData.get(); }
    bool Down() const { return FCore.Down(); }
    void SetDown(bool value) { FCore.SetDown(value); }
    int FocusMargin() const { return FCore.FocusMargin; }
    void SetFocusMargin(int value) { FCore.FocusMargin = value; }
    TsDisabledKind DisabledKind() const { return FCore.DisabledKind; }
    void SetDisabledKind(TsDisabledKind value);
    TacAnimatEvents AnimatEvents() const { return FCore.AnimatEvents; }
    void SetAnimatEvents(TacAnimatEvents value) { FCore.AnimatEvents = value; }
    classes::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(classes::TAlignment value);
    int Blend() const { return FBlend; }
    void SetBlend(int value);   // kept within 0..100
    TsDisabledGlyphKind DisabledGlyphKind() const { return FDisabledGlyphKind; }
    void SetDisabledGlyphKind(TsDisabledGlyphKind value);
    bool Grayed() const { return FGrayed; }
    void SetGrayed(bool value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    classes::TCustomImageList* Images() const { return FImages; }
    void SetImages(classes::TCustomImageList* value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool value);
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool value);
    bool DrawOverBorder() const { return FDrawOverBorder; }
    void SetDrawOverBorder(bool value);
    int TextOffset() const { return FTextOffset; }
    void SetTextOffset(int value);
    classes::TAlignment TextAlignment() const { return FTextAlignment; }
    void SetTextAlignment(classes::TAlignment value);

    TBmpPaintEvent OnPaint;
    classes::TNotifyEvent& OnMouseEnter = FCore.OnMouseEnter;
    classes::TNotifyEvent& OnMouseLeave = FCore.OnMouseLeave;

    virtual int CurrentState() const { return FCore.CurrentState(); }
    classes::TRect GlyphRect() const;
    classes::TSize GlyphSizeNow() const;   // one glyph image, or the list's image size; (0, 0) for none

protected:
    void WndProc(classes::TMessage& message) override;
    void CNCommand(classes::TMessage& message) override;   // the native click would come twice
    void CMFocusChanged(classes::TMessage& message) override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;
    virtual void PrepareCache();

private:
    TacGlyphLayout LayoutNow() const;
    void RebuildGlyphFromImages();
    bool SkinCommandExtra(classes::TMessage& message);

    std::unique_ptr<TsCommonData> FSkinData;
    TacButtonCore FCore;
    classes::TAlignment FAlignment = classes::taCenter;
    int FBlend = 0;
    TsDisabledGlyphKind FDisabledGlyphKind = DefaultDisabledGlyphKind;
    bool FGrayed = false;
    int FImageIndex = -1;
    classes::TCustomImageList* FImages = nullptr;
    bool FShowCaption = true;
    bool FShowFocus = true;
    bool FDrawOverBorder = true;
    int FTextOffset = 0;
    classes::TAlignment FTextAlignment = classes::taCenter;
    int FRenderedSpacing = 4;   // Spacing of the last render
};

}
