// The glyph settings of the edits with a button (TsGlyphMode), the five default button glyphs and glyphs read
// from the program's resources onto buttons.
#pragma once

#include "platform/classes/TPersistent.h"
#include "platform/classes/GraphicsTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <span>
#include <string_view>

namespace korvex::classes {
class TBitmap;
class TComponent;
class TControl;
}

namespace korvex::skin {

// A default glyph by name ("BTN_OPENFILE", "BTN_OPENFOLDER", "BTN_DATE", "BTN_ELLIPSIS", "BTN_CALC"): a 24-bit
// bitmap of three state images side by side (normal, hot, pressed), pictures in the upper half and their
// masks in the lower half. Loaded from the program's resources on first use, kept for the whole run.
// nullptr for any other name.
const classes::TBitmap* DefaultGlyph(std::string_view name);

// The bitmap of the embedded resource "glyphs/<resource>" in 24 bits; nullptr when there is none or it is not
// a bitmap.
std::unique_ptr<classes::TBitmap> LoadGlyphResource(std::string_view resource);

// A speed button of a form and the resource of its glyph.
struct TButtonGlyph {
    std::string_view Button;
    std::string_view Resource;
};
// Gives each named speed button of owner its glyph; buttons or resources not found are left as they are.
// Returns how many buttons took a glyph.
int AssignButtonGlyphs(classes::TComponent* owner, std::span<const TButtonGlyph> glyphs);

// The glyph's piece for a button state: pressed (2) the third image; hot and skinned the second; otherwise
// the first when skinned, the second (the livelier one) when not.
classes::TRect GlyphStateRect(int width, int height, int buttonState, bool skinned, bool mouseOver);

// The weight a blend percentage gives SumBitmaps: Blend x 2.56 rounded, at most 255 (256 would wrap to 0).
std::uint8_t BlendWeight(int blend);

class TsGlyphMode : public classes::TPersistent {
public:
    // owner: the control whose button shows the glyph; button: that button (nullptr: the owner itself).
    TsGlyphMode(classes::TControl* owner, classes::TControl* button);
    ~TsGlyphMode() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    classes::TPersistent* GetOwner() const override;

    int Blend() const { return FBlend; }
    void SetBlend(int value);   // kept within 0..100
    bool Grayed() const { return FGrayed; }
    void SetGrayed(bool value);
    bool UseDefaultGlyph() const { return FUseDefaultGlyph; }
    void SetUseDefaultGlyph(bool value);
    classes::TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const classes::TBitmap* value);   // copies it; UseDefaultGlyph := False
    std::string Hint() const;   // the button's
    void SetHint(const std::string& value);

    // The glyph shown: the user Glyph when UseDefaultGlyph is off and it is not empty, else the default glyph
    // of defaultName (nullptr when there is none).
    const classes::TBitmap* CurrentGlyph(std::string_view defaultName) const;
    int GlyphWidth(std::string_view defaultName) const;   // a third of the bitmap; 16 without one
    int GlyphHeight(std::string_view defaultName) const;   // half of the bitmap; 16 without one

    // Told of changes: buttonOnly for Blend (the button is resized and repainted), else the owner refreshes.
    std::function<void(bool buttonOnly)> OnChange;

private:
    void Changed(bool buttonOnly);

    classes::TControl* FOwner;
    classes::TControl* FButton;
    int FBlend = 0;
    bool FGrayed = false;
    bool FUseDefaultGlyph = true;
    std::unique_ptr<classes::TBitmap> FGlyph;
};

}
