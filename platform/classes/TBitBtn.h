// TBitBtn: a push button that paints a glyph beside its caption (owner-drawn native BUTTON).
#pragma once

#include "platform/classes/TBitmap.h"
#include "platform/classes/TButton.h"

#include <memory>
#include <string_view>

namespace korvex::user {
struct DRAWITEMSTRUCT;
}

namespace korvex::classes {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
inline constexpr std::string_view ButtonLayoutIdents[] = {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};

// Where a glyph and a caption of the given sizes go in a client rectangle. Margin -1 centres the block of
// glyph, spacing and text (Spacing -1 with it: the free room in three equal parts); a margin of 0 or more
// puts the glyph that far from its side (Spacing -1: the text centred in what is left). The other axis is
// centred. Spacing counts only when both a glyph and a text are there.
struct TButtonLayoutResult {
    TPoint GlyphPos;
    TRect TextBounds;
};
TButtonLayoutResult CalcButtonLayout(
    const TRect& client, TSize glyph, TSize text, TButtonLayout layout, int margin, int spacing);

// Glyph: NumGlyphs images side by side (1 to 4): up, disabled, pressed, down; a missing disabled image is
// made from the first one as an embossed grey shape. The bottom-left pixel's colour is transparent. The
// button shows the default look while it is the active default button; the rest is TButton's.
class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const TBitmap* value);   // a copy
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);   // -1 or more
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);   // -1 or more
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);   // kept within 1..4
    TSize GlyphSize() const;   // one image; (0, 0) without a glyph

protected:
    void CreateParams(TCreateParams& params) override;
    void SetButtonStyle(bool isDefault) override;
    // Paints the whole button on the item's DC (WM_DRAWITEM reflected as CN_DRAWITEM).
    virtual void DrawItem(const user::DRAWITEMSTRUCT& item);
    void WndProc(TMessage& message) override;
    void CMEnabledChanged(TMessage& m) override;
    void CMFontChanged(TMessage& m) override;
    void CMTextChanged(TMessage& m) override;

private:
    void DrawGlyph(TCanvas* canvas, TPoint at, int image, bool enabled);

    std::unique_ptr<TBitmap> FGlyph;
    std::unique_ptr<TCanvas> FCanvas;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    int FNumGlyphs = 1;
    bool FIsFocused = false;   // drawn as the default button
};

}
