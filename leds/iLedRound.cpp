// Round LED lamp: square bounds and the painter (disc, reflection, bevel ring).
#include "leds/iLedRound.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TCanvas.h"

namespace korvex::leds {

using namespace classes;

TiLedRound::TiLedRound(TComponent* owner)
    : TiLed(owner) {
}

TClass TiLedRound::StaticClass() {
    static const TClassInfo info = MakeClass<TiLedRound, TiLed>("TiLedRound", [](auto& p) {
        p.Bool("ShowReflection", &TiLedRound::ShowReflection, &TiLedRound::SetShowReflection, true);
        p.Color("BackGroundColor", &TiComponent::BackGroundColor, &TiComponent::SetBackGroundColor, clBtnFace);
        p.Bool("Transparent", &TiVCLComponent::Transparent, &TiVCLComponent::SetTransparent, false);
    });
    return &info;
}

void TiLedRound::SetShowReflection(bool value) {
    if (value == FShowReflection) return;
    FShowReflection = value;
    InvalidateChange();
}

void TiLedRound::SetBounds(int left, int top, int width, int height) {
    if (!ComponentState().Contains(csLoading)) {
        if (width != Width())
            height = width;
        else if (height != Height())
            width = height;
    }
    TiLed::SetBounds(left, top, width, height);
}

void TiLedRound::iPaintTo(TCanvas* canvas) {
    iPaintBackground(canvas, BackGroundColor());
    const TRect r = Rect(0, 0, Width(), Height());
    const TColor lamp = LampColor();
    canvas->Brush()->SetColor(lamp);
    canvas->Pen()->SetColor(lamp);
    if (BevelStyle() == ibsNone)
        canvas->Ellipse(r);
    else
        canvas->Ellipse(r.left + 2, r.top + 2, r.right - 2, r.bottom - 2);

    if (FShowReflection) {
        canvas->Pen()->SetColor(clWhite);
        const int q = Width() / 4;
        const TRect box = Rect(r.left + q, r.top + q, r.right - q, r.bottom - q);
        canvas->Arc(box.left, box.top, box.right, box.bottom, r.right / 2, r.top, r.left, r.bottom / 2);
        canvas->Arc(box.left + 1, box.top + 1, box.right - 1, box.bottom - 1, r.right / 2, r.top, r.left, r.bottom / 2);
    }

    if (BevelStyle() == ibsNone) return;
    const TColor upperLeft = BevelStyle() == ibsLowered ? clBtnShadow : clBtnHighlight;
    const TColor lowerRight = BevelStyle() == ibsLowered ? clBtnHighlight : clBtnShadow;
    canvas->Pen()->SetColor(upperLeft);
    canvas->Arc(r.left, r.top, r.right, r.bottom, r.right, r.top, r.left, r.bottom);
    canvas->Arc(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1, r.right - 1, r.top + 1, r.left + 1, r.bottom - 1);
    canvas->Pen()->SetColor(lowerRight);
    canvas->Arc(r.left, r.top, r.right, r.bottom, r.left, r.bottom, r.right, r.top);
    canvas->Arc(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1, r.left + 1, r.bottom - 1, r.right - 1, r.top + 1);
}

}
