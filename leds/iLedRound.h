// Round LED lamp: a bevelled disc with an optional light reflection.
#pragma once

#include "leds/iLed.h"

namespace korvex::leds {

class TiLedRound : public TiLed {
public:
    explicit TiLedRound(TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    bool ShowReflection() const { return FShowReflection; }
    void SetShowReflection(bool value);   // repaints only on change

    void SetBounds(int left, int top, int width, int height) override;   // keeps the lamp square

protected:
    void iPaintTo(TCanvas* canvas) override;

private:
    bool FShowReflection = true;
};

}
