// TGraphicControl: windowless controls painted on their parent's DC.
#include "platform/classes/TGraphicControl.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TControlCanvas.h"

namespace korvex::classes {

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner)
    , FCanvas(std::make_unique<TControlCanvas>(this)) {
}

TGraphicControl::~TGraphicControl() = default;   // the canvas lets its DC go as it is freed

TClass TGraphicControl::StaticClass() {
    static const TClassInfo info = MakeClass<TGraphicControl, TControl>("TGraphicControl");
    return &info;
}

TCanvas* TGraphicControl::Canvas() const {
    return FCanvas.get();
}

void TGraphicControl::Dispatch(TMessage& message) {
    if (message.Msg == user::WM_PAINT) {
        WMPaint(message);
        return;
    }
    TControl::Dispatch(message);
}

// The canvas draws on the parent's DC for the length of Paint; it is restored even when Paint throws.
void TGraphicControl::WMPaint(TMessage& m) {
    auto dc = reinterpret_cast<user::HDC>(m.WParam);
    if (dc == nullptr) return;
    CanvasPaintScope painting(*FCanvas, dc);
    Paint();
}

}
