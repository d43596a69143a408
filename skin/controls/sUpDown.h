// TsUpDown: an up-down control whose two arrow buttons are painted from the default manager's scroll buttons.
#pragma once

#include "platform/classes/TUpDown.h"
#include "skin/engine/sPixelAccess.h"

#include <string>

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

// The native control keeps position, auto-repeat and the change events; only the painting is the skin's.
// It has no skin state of its own and follows the default manager.
class TsUpDown : public classes::TUpDown {
public:
    // HotPart values
    static constexpr int hpNone = 0;
    static constexpr int hpFirstHot = 1;   // the top button (vertical) or the left one (horizontal)
    static constexpr int hpSecondHot = 2;
    static constexpr int hpFirstPressed = 3;
    static constexpr int hpSecondPressed = 4;

    explicit TsUpDown(classes::TComponent* owner);
    ~TsUpDown() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    bool ShowInaccessibility() const { return FShowInaccessibility; }
    void SetShowInaccessibility(bool value);   // a button at its limit looks disabled and never turns hot
    TsDisabledKind DisabledKind() const { return FDisabledKind; }
    void SetDisabledKind(TsDisabledKind value);
    const std::string& ButtonSkin() const { return FButtonSkin; }
    void SetButtonSkin(const std::string& value);   // one section for both buttons instead of the scroll buttons
    int HotPart() const { return FHotPart; }
    void SetHotPart(int value);
    bool Pressed() const { return FPressed; }

    classes::TRect FirstButtonRect() const;
    classes::TRect SecondButtonRect() const;
    // The first button moves toward Min on a horizontal control and toward Max on a vertical one.
    bool FirstAtLimit() const;
    bool SecondAtLimit() const;
    // The default manager has a loaded skin with both scroll-button sections of this orientation.
    bool PaintsSkinned() const;

protected:
    void WndProc(classes::TMessage& message) override;

private:
    void SkinPaint(gdi::HDC given);
    // part: 1 top, 2 bottom, 3 left, 4 right (the manager's scroll-button order).
    void PaintButton(classes::TBitmap* bmp, int part, const classes::TRect& r);
    void TrackHot(classes::TPoint screen);
    void ButtonDown();
    void ButtonUp();

    bool FShowInaccessibility = true;
    TsDisabledKind FDisabledKind = DefaultDisabledKind;
    int FHotPart = hpNone;
    std::string FButtonSkin;
    bool FPressed = false;
};

}
