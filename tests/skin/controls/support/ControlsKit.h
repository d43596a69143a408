// Test support for the skinned controls: a form on the headless display, our four skins loaded by number,
// input at a control's own coordinates.
#pragma once

#include "support/SkinControlsKit.h"
#include "support/SkinFixtures.h"

#include "platform/classes/Colors.h"

#include <memory>
#include <string>
#include <vector>

namespace korvex::classes {
class TCustomEdit;
class TImageList;
class TWinControl;
}

namespace korvex::skin {
class TsScrollBar;
}

namespace korvex::skin::ctltest {

// A 16 x 16 picture for an image list: a coloured disc on the list's transparent colour.
void AddDiscImage(classes::TImageList* images, classes::TColor color);
// Green (0x00FF00) over the whole window of the control, as a stale picture would show; nothing is invalidated.
void ScribbleOver(const classes::TWinControl* control);
// The control's WM_PAINT handed a green 24-bit bitmap of the control's size to paint into (a print).
std::unique_ptr<classes::TBitmap> PaintIntoBitmap(classes::TWinControl* control);
// The mask's picture copied out of the master bitmap into a bitmap of its own, as a skin of loose pictures has it.
void GiveMaskItsOwnBitmap(TsSkinManager* manager, int maskIndex);

inline const char* const OurSkins[] = {"MacOS (internal)", "LongHorn (internal)", "NextStyle (internal)",
    "Office2003 (internal)"};
std::string SkinShortName(int which);   // "NoSkin" for -1

class ControlsTest : public SkinControlsTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Loads our skin number which (0..3) into the default manager; -1 leaves it without a skin.
    void UseSkin(int which);
    // What a form's skin provider does after a skin change: every control is told its parent painted.
    void ParentsUpdated(classes::TWinControl* parent);
    // A sheet of controls made ready for its picture: shown, every control told its parent painted, and the
    // edit `focused` focused with its first eight characters selected.
    void SettleSheet(classes::TCustomEdit* focused);
    void ClickAt(const classes::TControl* control, int x, int y);
    void MoveTo(const classes::TControl* control, int x, int y);
    void DownAt(const classes::TControl* control, int x, int y);
    void UpAt(const classes::TControl* control, int x, int y);
    // A click in the middle of r (the control's coordinates).
    void ClickMiddle(const classes::TControl* control, const classes::TRect& r);
    // A vertical bar's thumb dragged from its middle to beyond pixels below the bar, and released there.
    void DragThumbBelow(TsScrollBar* bar, int beyond);
    void Key(unsigned vk);
    // Characters typed as keys with their text, then pumped.
    void Type(const std::string& text);
    // The screen's pixels of r in the control's coordinates, row by row, after what was drawn is shown.
    std::vector<gdi::COLORREF> ScreenPixels(const classes::TControl* control, const classes::TRect& r);
    // Pixels of the control's client rectangle, less `inset` all round, that stand out from its most common
    // colour (a contrast of 2 or more): the strokes of the text or glyph a picture shows there.
    int Strokes(const classes::TControl* control, int inset = 3);
    std::string PictureDir() const;

    test::ManagerHost* Host = nullptr;
    TsSkinManager* Manager = nullptr;
    classes::TForm* Form = nullptr;
};

}
