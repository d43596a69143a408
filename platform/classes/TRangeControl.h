// TRangeControl: what the progress bar and the track bar share: a position kept within [Min, Max].
#pragma once

#include "platform/classes/TWinControl.h"

namespace korvex::classes {

// Min, Max and Position as properties, mirrored to the window when there is one. While loading the position
// is taken as it is; afterwards it is kept within the range (either bound may be the larger).
class TRangeControl : public TWinControl {
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Position() const;   // the window's, when there is one
    void SetPosition(int value);   // kept within [Min, Max] (not while loading)

protected:
    TRangeControl(TComponent* owner, int max);

    int Clamp(long long value) const;
    // The window's side, called only while there is one.
    virtual void SendMin() = 0;
    virtual void SendMax() = 0;
    virtual void SendPosition() = 0;
    virtual int WindowPosition() const = 0;

    int FMin = 0;
    int FMax;
    mutable int FPosition = 0;
};

}
