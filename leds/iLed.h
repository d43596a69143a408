// LED lamp: on in its active colour, off in a dark colour; descendants draw it.
#pragma once

#include "leds/iCustomComponent.h"

namespace korvex::leds {

class TiLed : public TiCustomComponent {
public:
    explicit TiLed(TComponent* owner);   // 20 x 20
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    bool Active() const { return FActive; }
    void SetActive(bool value);   // then OnChange
    TColor ActiveColor() const { return FActiveColor; }
    void SetActiveColor(TColor value);
    bool AutoInactiveColor() const { return FAutoInactiveColor; }
    void SetAutoInactiveColor(bool value);
    TColor InactiveColor() const { return FInactiveColor; }
    void SetInactiveColor(TColor value);
    TiBevelStyle BevelStyle() const { return FBevelStyle; }
    void SetBevelStyle(TiBevelStyle value);

    // Active: ActiveColor; inactive: ActiveColor dimmed by 3 with AutoInactiveColor, else InactiveColor.
    TColor LampColor() const;

    classes::TNotifyEvent OnChange;

private:
    bool FActive = false;
    TColor FActiveColor = classes::clLime;
    bool FAutoInactiveColor = true;
    TColor FInactiveColor = 0x005500;
    TiBevelStyle FBevelStyle = ibsLowered;
};

}
