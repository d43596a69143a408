// TControlCanvas: a canvas on the DC of a control's window, or of its parent's for a windowless control.
#include "platform/classes/TControlCanvas.h"

#include "platform/classes/TWinControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/user/Painting.h"

#include <algorithm>
#include <vector>

namespace korvex::classes {

namespace {
std::vector<TControlCanvas*>& HoldingCanvases() {
    static std::vector<TControlCanvas*> list;
    return list;
}
}

void FreeDeviceContexts() {
    std::vector<TControlCanvas*> list = HoldingCanvases();
    for (TControlCanvas* canvas : list)
        if (canvas->LockCount() == 0) canvas->FreeHandle();
}

TControlCanvas::~TControlCanvas() {
    FreeHandle();
}

void TControlCanvas::SetControl(TControl* value) {
    if (value == FControl) return;
    FreeHandle();
    FControl = value;
}

void TControlCanvas::FreeHandle() {
    if (FDeviceContext == nullptr) return;
    SetHandle(nullptr);
    user::ReleaseDC(FWindowHandle, FDeviceContext);
    FDeviceContext = nullptr;
    FWindowHandle = nullptr;
    std::erase(HoldingCanvases(), this);
}

void TControlCanvas::CreateHandle() {
    if (FControl == nullptr) return;
    if (auto* win = dynamic_cast<TWinControl*>(FControl)) {
        FWindowHandle = win->Handle();
        if (FWindowHandle == nullptr) return;
        FDeviceContext = user::GetDC(FWindowHandle);
    } else {
        TWinControl* parent = FControl->Parent();
        if (parent == nullptr) return;
        FWindowHandle = parent->Handle();
        if (FWindowHandle == nullptr) return;
        FDeviceContext = user::GetDC(FWindowHandle);
        if (FDeviceContext != nullptr) {
            gdi::SetViewportOrgEx(FDeviceContext, FControl->Left(), FControl->Top(), nullptr);
            gdi::IntersectClipRect(FDeviceContext, 0, 0, FControl->Width(), FControl->Height());
        }
    }
    if (FDeviceContext == nullptr) return;
    HoldingCanvases().push_back(this);
    SetHandle(FDeviceContext);
}

}
