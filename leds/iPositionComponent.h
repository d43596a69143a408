// Position component: a floating-point value in a range, with peak hold and change events.
#pragma once

#include "leds/iCustomComponent.h"

#include <functional>
#include <vector>

namespace korvex::leds {

using TOnPositionLimit = std::function<void(classes::TObject* sender, int limitIndex)>;

// A limit of the position: an upper and a lower value.
struct TiLimitObject {
    double Upper = 0;
    double Lower = 0;
};

// Position is clamped to PositionMin..PositionMax; CurrentMin and CurrentMax follow its lowest and highest
// values unless MinMaxFixed. While loading, values are stored as they come and no event is raised.
// Painting is left to descendants (Position changes send InvalidateNoChange, range changes InvalidateChange).
class TiPositionComponent : public TiCustomComponent {
public:
    explicit TiPositionComponent(TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    virtual double Position() const { return FPosition; }
    virtual void SetPosition(double value);

protected:
    virtual void iPositionHook() { }   // empty; nothing here calls it

public:
    double PositionMin() const { return FPositionMin; }
    virtual void SetPositionMin(double value);
    double PositionMax() const { return FPositionMax; }
    virtual void SetPositionMax(double value);
    double CurrentMax() const { return FCurrentMax; }
    void SetCurrentMax(double value);
    double CurrentMin() const { return FCurrentMin; }
    void SetCurrentMin(double value);
    bool MinMaxFixed() const { return FMinMaxFixed; }
    void SetMinMaxFixed(bool value) { FMinMaxFixed = value; }

    // Value's share of the range, 0 to 1: 1 above PositionMax, 0 below PositionMin, 0 for an empty range.
    double GetPositionPercent(double value) const;

    classes::TNotifyEvent OnPositionChange;
    classes::TNotifyEvent OnCurrentMaxChange;
    classes::TNotifyEvent OnCurrentMinChange;
    classes::TNotifyEvent OnPositionOverMax;
    classes::TNotifyEvent OnPositionUnderMin;
    TOnPositionLimit OnPositionOverLimit;   // nothing adds a limit: never raised
    TOnPositionLimit OnPositionUnderLimit;

    int LimitCount() const { return static_cast<int>(FLimits.size()); }

    // "PositionMax_2", always written: read straight into PositionMax.
    void DefineProperties(classes::TFiler& filer) override;

protected:
    bool Loading() const { return ComponentState().Contains(classes::csLoading); }
    void SetRange(double minimum, double maximum);
    virtual void CheckPositionRange();

private:
    void Notify(const classes::TNotifyEvent& event);

    double FPosition = 0;
    double FPositionMax = 100;
    double FPositionMin = 0;
    double FCurrentMax = 0;
    double FCurrentMin = 0;
    bool FMinMaxFixed = false;
    std::vector<TiLimitObject> FLimits;
};

}
