// TsCaptionButtons: a skinned form's caption buttons (minimize, maximize, close, help, the MDI child's
// buttons on a parent's menu line and the user's title buttons): their pictures, places, which exist, the hot
// and pressed one, and their painting into the form cache.
#pragma once

#include "platform/classes/TForm.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

using TsBorderIcon = classes::TBorderIcon;
using TsBorderIcons = classes::TBorderIcons;

// Hit codes of the caption elements; where Windows has a hit-test value the number is the same.
inline constexpr int htNone = 0;
inline constexpr int htCaption = 2;
inline constexpr int htTitleIcon = 3;
inline constexpr int htMinimize = 8;
inline constexpr int htMaximize = 9;
inline constexpr int htGrip = 17;
inline constexpr int htClose = 20;
inline constexpr int htHelp = 21;
inline constexpr int htMdiClose = 101;
inline constexpr int htMdiRestore = 102;
inline constexpr int htMdiMinimize = 103;
inline constexpr int htTitleButton = 1000;   // + the user title button's index
inline constexpr int htOutside = -1;   // a maximized form's point outside (2, 2)-(Width - 4, Height - 4)

// One caption button: its look, its picture and where it lies (window coordinates).
struct TsCaptionButton {
    int State = 0;   // 0 normal, 1 hot, 2 pressed
    int MaskIndex = -1;
    classes::TRect Rect {};
};

// The records, in the provider's order.
enum TsCaptionButtonSlot { cbMinimize, cbMaximize, cbClose, cbHelp, cbMdiMinimize, cbMdiMaximize, cbMdiClose };

class TsSkinProvider;
class TsTitleButton;

class TsCaptionButtons {
public:
    // formBorderIcons: the form's own border icons, as it had them before the skin cleared them.
    TsCaptionButtons(TsSkinProvider& provider, TsBorderIcons formBorderIcons);
    ~TsCaptionButtons();
    TsCaptionButtons(const TsCaptionButtons&) = delete;
    TsCaptionButtons& operator=(const TsCaptionButtons&) = delete;

    TsBorderIcons FormBorderIcons() const { return FFormBorderIcons; }
    const TsCaptionButton& Button(TsCaptionButtonSlot slot) const { return FButtons[slot]; }
    TsCaptionButton& Button(TsCaptionButtonSlot slot) { return FButtons[slot]; }
    TsCaptionButton* OfCode(int code);   // a user button's record too; nullptr for other codes
    const TsCaptionButton* OfCode(int code) const;
    TsTitleButton* TitleButtonOfCode(int code) const;

    // Which buttons exist and which commands are possible, both by the provider's BorderIcons. A button whose
    // command is not possible is drawn faded and answers as the caption.
    bool MaxButtonVisible() const;
    bool MinButtonVisible() const;
    bool CanMaximize() const;
    bool CanMinimize() const;
    bool CanRestore() const;
    std::vector<int> VisibleCodes() const;   // right to left: the one list hit testing and placing share

    // Sizes and places.
    int ButtonHeight() const;   // of the close button's picture (21 without one)
    int ButtonWidth(const TsCaptionButton& button) const;
    int WidthOfCode(int code) const;
    int TotalWidth() const;
    void Place();
    int IndexAt(int x) const;   // 1-based in VisibleCodes' order; 0 on none
    // The caption element on the button band at p; empty off the band. Sets the hot button as hit testing does.
    std::optional<int> HitTestBand(classes::TPoint p);

    // The pictures of the current skin.
    void UpdateMasks();
    void UpdateTitleButtonMasks();

    // Hot and pressed.
    int HotCode() const { return FHotCode; }
    void SetHot(int code);
    void SetPressed(int code);
    void ForgetHot(int code) { FHotCode = code; }   // the recorded hot code only, nothing repainted

    // Painting into the form cache; the strip under the buttons is kept to repaint one button alone.
    void StoreBackground(classes::TBitmap* cache, int headerHeight);
    void Paint(classes::TBitmap* cache);
    void PaintUserButton(classes::TBitmap* cache, TsTitleButton* button);
    void Repaint(int code);   // in the cache over the kept strip, then onto the window

    // The user's title buttons' clicks; false when the code is not an enabled user button.
    bool TitleButtonDown(int code, classes::LPARAM screenPoint);
    bool TitleButtonUp(int code, classes::LPARAM screenPoint);

private:
    int UserButtonWidth(const TsTitleButton* button) const;
    int GlobalOrOwnMask(const char* name) const;

    TsSkinProvider& FProvider;
    TsBorderIcons FFormBorderIcons;
    std::array<TsCaptionButton, 7> FButtons {};
    int FHotCode = 0;
    int FTitleButtonMask = -1;
    std::unique_ptr<classes::TBitmap> FBackground;
};

}
