// TCustomControl: windowed controls that paint themselves on a canvas.
#include "platform/classes/TCustomControl.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TControlCanvas.h"

namespace korvex::classes {

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner)
    , FCanvas(std::make_unique<TControlCanvas>(this)) {
}

TCustomControl::~TCustomControl() = default;   // the canvas lets its DC go as it is freed

TClass TCustomControl::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomControl, TWinControl>("TCustomControl");
    return &info;
}

TCanvas* TCustomControl::Canvas() const {
    return FCanvas.get();
}

void TCustomControl::WMPaint(TMessage& m) {
    FControlState.Include(csCustomPaint);
    base::ScopeExit painted([this] { FControlState.Exclude(csCustomPaint); });
    TWinControl::WMPaint(m);
}

void TCustomControl::PaintWindow(user::HDC dc) {
    CanvasPaintScope painting(*FCanvas, dc);
    Paint();
}

}
