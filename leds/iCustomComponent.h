// The common base of the LED controls: the windowed component base as it is.
#pragma once

#include "leds/iVCLComponent.h"

namespace korvex::leds {

class TiCustomComponent : public TiVCLComponent {
public:
    explicit TiCustomComponent(TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

}
