// TCustomControl: windowed controls that paint themselves on a canvas.
#include "platform/classes/TCustomControl.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TControlCanvas.h"

namespace korvex::classes {

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner)
    , FCanvas(std::make_unique<TControlCanvas>()) {
    FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl() {
    FCanvas->SetControl(nullptr);
}

TClass TCustomControl::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomControl, TWinControl>("TCustomControl");
    return &info;
}

TCanvas* TCustomControl::Canvas() const {
    return FCanvas.get();
}

void TCustomControl::WMPaint(TMessage& m) {
    FControlState.Include(csCustomPaint);
    try {
        TWinControl::WMPaint(m);
    } catch (...) {
        FControlState.Exclude(csCustomPaint);
        throw;
    }
    FControlState.Exclude(csCustomPaint);
}

void TCustomControl::PaintWindow(user::HDC dc) {
    FCanvas->Lock();
    FCanvas->SetHandle(dc);
    try {
        Paint();
    } catch (...) {
        FCanvas->SetHandle(nullptr);
        FCanvas->Unlock();
        throw;
    }
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
}

}
