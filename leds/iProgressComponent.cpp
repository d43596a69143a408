// Progress component: the section properties and their stream entries.
#include "leds/iProgressComponent.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TWriter.h"

namespace korvex::leds {

using namespace classes;

TiProgressComponent::TiProgressComponent(TComponent* owner)
    : TiPositionComponent(owner) {
    SetBounds(Left(), Top(), 16, 200);
}

TClass TiProgressComponent::StaticClass() {
    static const TClassInfo info
        = MakeClass<TiProgressComponent, TiPositionComponent>("TiProgressComponent", [](auto& p) {
              p.Color("BackGroundColor", &TiComponent::BackGroundColor, &TiComponent::SetBackGroundColor, clBtnFace);
              p.Color(
                  "SectionColor1", &TiProgressComponent::SectionColor1, &TiProgressComponent::SetSectionColor1, clLime);
              p.Color("SectionColor2", &TiProgressComponent::SectionColor2, &TiProgressComponent::SetSectionColor2,
                  clYellow);
              p.Color(
                  "SectionColor3", &TiProgressComponent::SectionColor3, &TiProgressComponent::SetSectionColor3, clRed);
              p.Float("SectionEnd1", &TiProgressComponent::SectionEnd1, &TiProgressComponent::SetSectionEnd1, 50.0);
              p.Float("SectionEnd2", &TiProgressComponent::SectionEnd2, &TiProgressComponent::SetSectionEnd2, 75.0);
              p.Int("SectionCount", &TiProgressComponent::SectionCount, &TiProgressComponent::SetSectionCount, 1);
              p.Bool("ShowOffSegments", &TiProgressComponent::ShowOffSegments, &TiProgressComponent::SetShowOffSegments,
                  true);
          });
    return &info;
}

void TiProgressComponent::SetSectionColor1(TColor value) {
    if (value == FSectionColor1) return;
    FSectionColor1 = value;
    InvalidateNoChange();
}

void TiProgressComponent::SetSectionColor2(TColor value) {
    if (value == FSectionColor2) return;
    FSectionColor2 = value;
    InvalidateNoChange();
}

void TiProgressComponent::SetSectionColor3(TColor value) {
    if (value == FSectionColor3) return;
    FSectionColor3 = value;
    InvalidateNoChange();
}

void TiProgressComponent::SetSectionEnd1(double value) {
    if (value == FSectionEnd1) return;
    FSectionEnd1 = value;
    InvalidateNoChange();
}

void TiProgressComponent::SetSectionEnd2(double value) {
    if (value == FSectionEnd2) return;
    FSectionEnd2 = value;
    InvalidateNoChange();
}

void TiProgressComponent::SetSectionCount(int value) {
    if (value < 1 || value > 3 || value == FSectionCount) return;
    FSectionCount = value;
    InvalidateNoChange();
}

void TiProgressComponent::SetShowOffSegments(bool value) {
    if (value == FShowOffSegments) return;
    FShowOffSegments = value;
    InvalidateNoChange();
}

void TiProgressComponent::DefineProperties(TFiler& filer) {
    TiPositionComponent::DefineProperties(filer);
    filer.DefineProperty(
        "SectionEnd1_2", [this](TReader& reader) { FSectionEnd1 = reader.ReadFloat(); },
        [this](TWriter& writer) { writer.WriteFloat(FSectionEnd1); }, true);
    filer.DefineProperty(
        "SectionEnd2_2", [this](TReader& reader) { FSectionEnd2 = reader.ReadFloat(); },
        [this](TWriter& writer) { writer.WriteFloat(FSectionEnd2); }, true);
}

}
