// Progress component: up to three coloured sections along the position's range, and whether unlit parts show.
#pragma once

#include "leds/iPositionComponent.h"

namespace korvex::leds {

class TiProgressComponent : public TiPositionComponent {
public:
    explicit TiProgressComponent(TComponent* owner);   // 16 x 200
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    TColor SectionColor1() const { return FSectionColor1; }
    void SetSectionColor1(TColor value);
    TColor SectionColor2() const { return FSectionColor2; }
    void SetSectionColor2(TColor value);
    TColor SectionColor3() const { return FSectionColor3; }
    void SetSectionColor3(TColor value);
    double SectionEnd1() const { return FSectionEnd1; }   // in Position units
    void SetSectionEnd1(double value);
    double SectionEnd2() const { return FSectionEnd2; }
    void SetSectionEnd2(double value);
    int SectionCount() const { return FSectionCount; }
    void SetSectionCount(int value);   // only 1, 2 or 3 are taken
    bool ShowOffSegments() const { return FShowOffSegments; }
    void SetShowOffSegments(bool value);

    // "SectionEnd1_2" and "SectionEnd2_2", always written: read straight into the section ends.
    void DefineProperties(classes::TFiler& filer) override;

private:
    TColor FSectionColor1 = classes::clLime;
    TColor FSectionColor2 = classes::clYellow;
    TColor FSectionColor3 = classes::clRed;
    double FSectionEnd1 = 50.0;
    double FSectionEnd2 = 75.0;
    int FSectionCount = 1;
    bool FShowOffSegments = true;
};

}
