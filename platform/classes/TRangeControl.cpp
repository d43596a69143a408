// TRangeControl: the range and the position kept within it.
#include "platform/classes/TRangeControl.h"

#include "platform/classes/PropertyRegistry.h"

#include <algorithm>

namespace korvex::classes {

TRangeControl::TRangeControl(TComponent* owner, int max)
    : TWinControl(owner)
    , FMax(max) {
}

TClass TRangeControl::StaticClass() {
    static const TClassInfo info = MakeClass<TRangeControl, TWinControl>("TRangeControl");
    return &info;
}

int TRangeControl::Clamp(long long value) const {
    return int(std::clamp<long long>(value, std::min(FMin, FMax), std::max(FMin, FMax)));
}

void TRangeControl::SetMin(int value) {
    if (value == FMin) return;
    FMin = value;
    if (!ComponentState().Contains(csLoading)) FPosition = Clamp(FPosition);
    if (HandleAllocated()) SendMin();
}

void TRangeControl::SetMax(int value) {
    if (value == FMax) return;
    FMax = value;
    if (!ComponentState().Contains(csLoading)) FPosition = Clamp(FPosition);
    if (HandleAllocated()) SendMax();
}

int TRangeControl::Position() const {
    if (HandleAllocated()) FPosition = WindowPosition();
    return FPosition;
}

void TRangeControl::SetPosition(int value) {
    FPosition = ComponentState().Contains(csLoading) ? value : Clamp(value);
    if (HandleAllocated()) SendPosition();
}

}
