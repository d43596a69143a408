// TCustomUpDown and TUpDown over the native up-down control.
#include "platform/classes/TUpDown.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/user/Messages.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Window.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/UpDown.h"

#include <algorithm>
#include <utility>

namespace korvex::classes {

using namespace user;

TCustomUpDown::TCustomUpDown(TComponent* owner)
    : TWinControl(owner) {
    RegisterCommonControlClasses();
    FControlStyle.Exclude(csDoubleClicks);
    FControlStyle.Exclude(csSetCaption);
    SetBounds(Left(), Top(), GetSystemMetrics(SM_CXVSCROLL), 2 * GetSystemMetrics(SM_CYVSCROLL));
}

TCustomUpDown::~TCustomUpDown() = default;

TClass TCustomUpDown::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomUpDown, TWinControl>("TCustomUpDown");
    return &info;
}

TClass TUpDown::StaticClass() {
    static const TClassInfo info = MakeClass<TUpDown, TCustomUpDown>("TUpDown", [](auto& p) {
        p.Enum("AlignButton", &TUpDown::AlignButton, &TUpDown::SetAlignButton, UDAlignButtonIdents, udRight);
        p.Component("Associate", &TUpDown::Associate, &TUpDown::SetAssociate);
        p.Bool("ArrowKeys", &TUpDown::ArrowKeys, &TUpDown::SetArrowKeys, true);
        p.Int("Min", &TUpDown::Min, &TUpDown::SetMin, 0);
        p.Int("Max", &TUpDown::Max, &TUpDown::SetMax, 100);
        p.Int("Increment", &TUpDown::Increment, &TUpDown::SetIncrement, 1);
        p.Enum("Orientation", &TUpDown::Orientation, &TUpDown::SetOrientation, UDOrientationIdents, udVertical);
        p.Int("Position", &TUpDown::Position, &TUpDown::SetPosition, 0);
        p.Bool("Thousands", &TUpDown::Thousands, &TUpDown::SetThousands, true);
        p.Bool("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap, false);
        p.Event("OnChanging", &TUpDown::OnChanging);
        p.Event("OnChangingEx", &TUpDown::OnChangingEx);
        p.Event("OnClick", &TUpDown::OnClick);
    });
    return &info;
}

void TCustomUpDown::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, UPDOWN_CLASS);
    params.Style |= UDS_SETBUDDYINT;
    params.Style |= FAlignButton == udRight ? UDS_ALIGNRIGHT : UDS_ALIGNLEFT;
    if (FOrientation == udHorizontal) params.Style |= UDS_HORZ;
    if (FArrowKeys) params.Style |= UDS_ARROWKEYS;
    if (FWrap) params.Style |= UDS_WRAP;
    if (!FThousands) params.Style |= UDS_NOTHOUSANDS;
}

void TCustomUpDown::CreateWnd() {
    int position = FPosition;
    TWinControl::CreateWnd();
    HWND h = WindowHandle();
    SetRange();
    SendMessage(h, UDM_SETPOS32, 0, position);
    UDACCEL accel {0, UINT(std::max(1, FIncrement))};
    SendMessage(h, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    if (FAssociate != nullptr) SendMessage(h, UDM_SETBUDDY, reinterpret_cast<WPARAM>(FAssociate->Handle()), 0);
}

void TCustomUpDown::SetRange() {
    if (HandleAllocated()) SendMessage(WindowHandle(), UDM_SETRANGE32, WPARAM(std::intptr_t(FMin)), FMax);
}

void TCustomUpDown::SetAssociate(TWinControl* value) {
    if (value == FAssociate) return;
    if (value == this) return;
    if (FAssociate != nullptr) FAssociate->RemoveFreeNotification(this);
    FAssociate = value;
    if (FAssociate != nullptr) FAssociate->FreeNotification(this);
    if (!HandleAllocated() || ComponentState().Contains(csLoading)) return;
    HWND buddy = FAssociate != nullptr ? FAssociate->Handle() : nullptr;
    SendMessage(WindowHandle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    if (FAssociate != nullptr) SetPosition(FPosition);
}

void TCustomUpDown::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == FAssociate) {
        FAssociate = nullptr;
        if (HandleAllocated()) SendMessage(WindowHandle(), UDM_SETBUDDY, 0, 0);
    }
}

void TCustomUpDown::SetAlignButton(TUDAlignButton value) {
    if (value == FAlignButton) return;
    FAlignButton = value;
    RecreateWnd();
}

void TCustomUpDown::SetMin(int value) {
    if (value == FMin) return;
    FMin = value;
    if (!ComponentState().Contains(csLoading))
        FPosition = std::clamp(FPosition, std::min(FMin, FMax), std::max(FMin, FMax));
    SetRange();
}

void TCustomUpDown::SetMax(int value) {
    if (value == FMax) return;
    FMax = value;
    if (!ComponentState().Contains(csLoading))
        FPosition = std::clamp(FPosition, std::min(FMin, FMax), std::max(FMin, FMax));
    SetRange();
}

int TCustomUpDown::Position() const {
    if (HandleAllocated()) FPosition = int(SendMessage(WindowHandle(), UDM_GETPOS32, 0, 0));
    return FPosition;
}

void TCustomUpDown::SetPosition(int value) {
    if (!ComponentState().Contains(csLoading)) value = std::clamp(value, std::min(FMin, FMax), std::max(FMin, FMax));
    FPosition = value;
    if (HandleAllocated()) SendMessage(WindowHandle(), UDM_SETPOS32, 0, value);
}

void TCustomUpDown::SetIncrement(int value) {
    if (value == FIncrement) return;
    FIncrement = value;
    if (!HandleAllocated()) return;
    UDACCEL accel {0, UINT(std::max(1, FIncrement))};
    SendMessage(WindowHandle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

void TCustomUpDown::SetOrientation(TUDOrientation value) {
    if (value == FOrientation) return;
    FOrientation = value;
    if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TCustomUpDown::SetWrap(bool value) {
    if (value == FWrap) return;
    FWrap = value;
    RecreateWnd();
}

void TCustomUpDown::SetArrowKeys(bool value) {
    if (value == FArrowKeys) return;
    FArrowKeys = value;
    RecreateWnd();
}

void TCustomUpDown::SetThousands(bool value) {
    if (value == FThousands) return;
    FThousands = value;
    RecreateWnd();
}

bool TCustomUpDown::CanChange(int newValue, TUpDownDirection direction) {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (allow && OnChangingEx) OnChangingEx(this, allow, newValue, direction);
    return allow;
}

void TCustomUpDown::Click(TUDBtnType button) {
    if (OnClick) OnClick(this, button);
}

void TCustomUpDown::CNNotify(TMessage& m) {
    auto* nm = reinterpret_cast<NMUPDOWN*>(m.LParam);
    if (nm == nullptr || nm->hdr.code != UDN_DELTAPOS) return;
    long long proposed = static_cast<long long>(nm->iPos) + nm->iDelta;
    int low = std::min(FMin, FMax), high = std::max(FMin, FMax);
    int newValue = int(std::clamp<long long>(proposed, low, high));
    if (FWrap && proposed > high) newValue = low;
    if (FWrap && proposed < low) newValue = high;
    TUpDownDirection direction = nm->iDelta > 0 ? updUp : nm->iDelta < 0 ? updDown : updNone;
    FLastDelta = nm->iDelta;
    m.Result = CanChange(newValue, direction) ? 0 : 1;
}

void TCustomUpDown::CNScroll(TMessage& m) {
    if (LOWORD(m.WParam) != SB_THUMBPOSITION) return;
    FPosition = int(SendMessage(WindowHandle(), UDM_GETPOS32, 0, 0));
    Click(FLastDelta >= 0 ? btNext : btPrev);
}

void TCustomUpDown::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_NOTIFY:
        CNNotify(message);
        return;
    case CN_HSCROLL:
    case CN_VSCROLL:
        CNScroll(message);
        return;
    default:
        TWinControl::WndProc(message);
    }
}

}
