// LED lamp: its state and colours.
#include "leds/iLed.h"

#include "leds/iGPFunctions.h"
#include "platform/classes/PropertyRegistry.h"

namespace korvex::leds {

using namespace classes;

TiLed::TiLed(TComponent* owner)
    : TiCustomComponent(owner) {
    SetBounds(Left(), Top(), 20, 20);
}

TClass TiLed::StaticClass() {
    static const TClassInfo info = MakeClass<TiLed, TiCustomComponent>("TiLed", [](auto& p) {
        p.Bool("Active", &TiLed::Active, &TiLed::SetActive, false);
        p.Color("ActiveColor", &TiLed::ActiveColor, &TiLed::SetActiveColor, clLime);
        p.Bool("AutoInactiveColor", &TiLed::AutoInactiveColor, &TiLed::SetAutoInactiveColor, true);
        p.Color("InactiveColor", &TiLed::InactiveColor, &TiLed::SetInactiveColor, 0x005500);
        p.Enum("BevelStyle", &TiLed::BevelStyle, &TiLed::SetBevelStyle, iBevelStyleIdents, ibsLowered);
        p.Event("OnChange", &TiLed::OnChange);
    });
    return &info;
}

void TiLed::SetActive(bool value) {
    if (value == FActive) return;
    FActive = value;
    InvalidateChange();
    if (OnChange) OnChange(this);
}

void TiLed::SetActiveColor(TColor value) {
    if (value == FActiveColor) return;
    FActiveColor = value;
    InvalidateChange();
}

void TiLed::SetAutoInactiveColor(bool value) {
    if (value == FAutoInactiveColor) return;
    FAutoInactiveColor = value;
    InvalidateChange();
}

void TiLed::SetInactiveColor(TColor value) {
    if (value == FInactiveColor) return;
    FInactiveColor = value;
    InvalidateChange();
}

void TiLed::SetBevelStyle(TiBevelStyle value) {
    if (value == FBevelStyle) return;
    FBevelStyle = value;
    InvalidateChange();
}

TColor TiLed::LampColor() const {
    if (FActive) return FActiveColor;
    return FAutoInactiveColor ? DimColor(FActiveColor, 3) : FInactiveColor;
}

}
