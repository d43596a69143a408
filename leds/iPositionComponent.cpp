// Position component: the Position and range setters, peak hold, events, and the stream entry "PositionMax_2".
#include "leds/iPositionComponent.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TWriter.h"

#include <cmath>

namespace korvex::leds {

using namespace classes;

TiPositionComponent::TiPositionComponent(TComponent* owner)
    : TiCustomComponent(owner) {
}

TClass TiPositionComponent::StaticClass() {
    static const TClassInfo info
        = MakeClass<TiPositionComponent, TiCustomComponent>("TiPositionComponent", [](auto& p) {
              p.Float("Position", &TiPositionComponent::Position, &TiPositionComponent::SetPosition, 0.0);
              p.Float("PositionMax", &TiPositionComponent::PositionMax, &TiPositionComponent::SetPositionMax, 100.0);
              p.Float("PositionMin", &TiPositionComponent::PositionMin, &TiPositionComponent::SetPositionMin, 0.0);
              p.Float("CurrentMax", &TiPositionComponent::CurrentMax, &TiPositionComponent::SetCurrentMax, 0.0);
              p.Float("CurrentMin", &TiPositionComponent::CurrentMin, &TiPositionComponent::SetCurrentMin, 0.0);
              p.Bool("MinMaxFixed", &TiPositionComponent::MinMaxFixed, &TiPositionComponent::SetMinMaxFixed, false);
              p.Event("OnPositionChange", &TiPositionComponent::OnPositionChange);
              p.Event("OnCurrentMaxChange", &TiPositionComponent::OnCurrentMaxChange);
              p.Event("OnCurrentMinChange", &TiPositionComponent::OnCurrentMinChange);
              p.Event("OnPositionOverMax", &TiPositionComponent::OnPositionOverMax);
              p.Event("OnPositionUnderMin", &TiPositionComponent::OnPositionUnderMin);
              p.Event("OnPositionOverLimit", &TiPositionComponent::OnPositionOverLimit);
              p.Event("OnPositionUnderLimit", &TiPositionComponent::OnPositionUnderLimit);
          });
    return &info;
}

void TiPositionComponent::Notify(const TNotifyEvent& event) {
    if (event && !Loading()) event(this);
}

void TiPositionComponent::SetPosition(double value) {
    if (Loading()) {
        FPosition = value;
        return;
    }
    if (value > FPositionMax) value = FPositionMax;
    if (value < FPositionMin) value = FPositionMin;
    if (value == FPosition) return;
    FPosition = value;
    if (!FMinMaxFixed) {
        if (FPosition > FCurrentMax) SetCurrentMax(FPosition);
        if (FPosition < FCurrentMin) SetCurrentMin(FPosition);
    }
    if (FPosition > FCurrentMax) Notify(OnPositionOverMax);
    if (FPosition < FCurrentMin) Notify(OnPositionUnderMin);
    InvalidateNoChange();
    Notify(OnPositionChange);
}

void TiPositionComponent::SetCurrentMin(double value) {
    if (!Loading()) {
        if (value < FPositionMin) value = FPositionMin;
        if (value > FPositionMax) value = FPositionMax;
    }
    if (value == FCurrentMin) return;
    FCurrentMin = value;
    Notify(OnCurrentMinChange);
    if (!Loading() && FPosition < FCurrentMin) Notify(OnPositionUnderMin);
}

void TiPositionComponent::SetCurrentMax(double value) {
    if (!Loading()) {
        if (value < FPositionMin) value = FPositionMin;
        if (value > FPositionMax) value = FPositionMax;
    }
    if (value == FCurrentMax) return;
    FCurrentMax = value;
    Notify(OnCurrentMaxChange);
    if (!Loading() && FPosition > FCurrentMax) Notify(OnPositionOverMax);
}

void TiPositionComponent::SetPositionMin(double value) {
    SetRange(value, FPositionMax);
}

void TiPositionComponent::SetPositionMax(double value) {
    SetRange(FPositionMin, value);
}

void TiPositionComponent::SetRange(double minimum, double maximum) {
    if (minimum == FPositionMin && maximum == FPositionMax) return;
    FPositionMin = minimum;
    FPositionMax = maximum;
    if (!Loading() && !FMinMaxFixed) {
        if (FCurrentMin < FPositionMin) SetCurrentMin(FPositionMin);
        if (FCurrentMax > FPositionMax) SetCurrentMax(FPositionMax);
    }
    if (!Loading()) CheckPositionRange();
    InvalidateChange();
}

void TiPositionComponent::CheckPositionRange() {
    if (FPosition < FPositionMin) SetPosition(FPositionMin);
    if (FPosition > FPositionMax) SetPosition(FPositionMax);
}

double TiPositionComponent::GetPositionPercent(double value) const {
    if (value > FPositionMax) return 1;
    if (value < FPositionMin) return 0;
    if (FPositionMax == FPositionMin) return 0;
    const double share = (value - FPositionMin) / (FPositionMax - FPositionMin);
    return std::isfinite(share) ? share : 0;
}

void TiPositionComponent::DefineProperties(TFiler& filer) {
    TiCustomComponent::DefineProperties(filer);
    filer.DefineProperty(
        "PositionMax_2", [this](TReader& reader) { FPositionMax = reader.ReadFloat(); },
        [this](TWriter& writer) { writer.WriteFloat(FPositionMax); }, true);
}

}
