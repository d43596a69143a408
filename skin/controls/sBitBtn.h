// TsBitBtn: the skinned push button with a glyph (its own bitmap or an image of an image list) beside the
// caption, blended, greyed or drawn disabled from the skin's button look.
#pragma once

#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TBitBtn.h"
#include "skin/controls/sCoreButton.h"
#include "skin/controls/sGlyphImages.h"
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
// spacing counts only with a glyph (a button without a caption gives Spacing 0). pressed moves it by (1, 1).
classes::TRect BitBtnGlyphRect(const TacGlyphLayout& l, bool pressed);
// The caption rectangle inside the client rectangle (Margin -1 centres, Spacing -1 spreads the free room).
classes::TRect BitBtnTextRect(const TacGlyphLayout& l, bool rightToLeft);
// The layout read right to left: blGlyphLeft and blGlyphRight swap.
classes::TButtonLayout ReadingOrderLayout(classes::TButtonLayout layout, bool rightToLeft);

extern template class TsCoreButton<classes::TBitBtn>;
extern template class TsGlyphImages<TsCoreButton<classes::TBitBtn>>;

// What the glyph painters read of a button with a glyph or an image list's image (TsBitBtn, TsSpeedButton) for
// one paint: its glyph, image and greying settings and Enabled, with the skin data and the glyph's place.
template <class TGlyphButton>
TacGlyphButton ButtonGlyph(const TGlyphButton& button, TsCommonData* data, const classes::TRect& glyphRect) {
    TacGlyphButton glyph;
    glyph.Glyph = button.Glyph();
    glyph.NumGlyphs = button.NumGlyphs();
    glyph.Images = button.Images();
    glyph.ImageIndex = button.ImageIndex();
    glyph.Blend = button.Blend();
    glyph.Grayed = button.Grayed();
    glyph.DisabledGlyphKind = button.DisabledGlyphKind();
    glyph.Enabled = button.Enabled();
    glyph.SkinData = data;
    glyph.GlyphRect = glyphRect;
    return glyph;
}

class TsBitBtn : public TsGlyphImages<TsCoreButton<classes::TBitBtn>> {
public:
    explicit TsBitBtn(classes::TComponent* owner);
    ~TsBitBtn() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void Loaded() override;   // the glyph from the image list too

    classes::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(classes::TAlignment value);
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

    classes::TRect GlyphRect() const;
    classes::TSize GlyphSizeNow() const;   // one glyph image, or the list's image size; (0, 0) for none

protected:
    void WndProc(classes::TMessage& message) override;
    virtual void PrepareCache();
    TsCommonData* GlyphSkinData() const override { return SkinData(); }
    void GlyphSettingChanged() override;   // the skin data invalidated
    void GlyphRebuilt() override { Invalidate(); }
    void ActionChange(classes::TObject* sender, bool checkDefaults) override;   // the glyph cleared first

private:
    TacGlyphLayout LayoutNow() const;
    bool SkinCommandExtra(classes::TMessage& message);

    classes::TAlignment FAlignment = classes::taCenter;
    bool FShowCaption = true;
    bool FShowFocus = true;
    bool FDrawOverBorder = true;
    int FTextOffset = 0;
    classes::TAlignment FTextAlignment = classes::taCenter;
    int FRenderedSpacing = 4;   // Spacing of the last render
};

}
