// LED component base, windowed part: transparency, the paint lock, window messages and the timer window.
#include "leds/iVCLComponent.h"

#include "leds/iOPCClasses.h"
#include "platform/classes/AllocateHWnd.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Timers.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"

namespace korvex::leds {

using namespace classes;

TiVCLComponent::TiVCLComponent(TComponent* owner)
    : TiComponent(owner)
    , FOPCItemManager(std::make_unique<TiOPCItemManager>(this)) {
    FOPCItemManager->OnIsDesigning = [this] { return ComponentState().Contains(csDesigning); };
    FOPCItemManager->OnNewData = [this](TiOPCItem* item) { NewOPCData(item); };
    FOPCItemManager->OnRequestedDataType
        = [this](const std::string& propertyName) { return OPCRequestedDataType(propertyName); };
    FTimerWindow = AllocateHWnd([this](TMessage& m) { TimerWndProc(m); });
}

TiVCLComponent::~TiVCLComponent() {
    StopTimer();
    if (FTimerWindow != nullptr) DeallocateHWnd(FTimerWindow);
    FOPCItemManager.reset();
    FParentBackground.reset();
}

TClass TiVCLComponent::StaticClass() {
    static const TClassInfo info = MakeClass<TiVCLComponent, TiComponent>("TiVCLComponent");
    return &info;
}

// ---------------------------------------------------------------------------------------------------------
// The paint lock: not taken while the control is being destroyed.

void TiVCLComponent::Lock() {
    if (ComponentState().Contains(csDestroying)) return;
    FPaintLock.Enter();
}

void TiVCLComponent::Unlock() {
    if (FPaintLock.HeldByCurrentThread()) FPaintLock.Leave();
}

// ---------------------------------------------------------------------------------------------------------
// Transparency

void TiVCLComponent::SetTransparent(bool value) {
    if (value == FTransparent) return;
    FTransparent = value;
    if (HandleAllocated()) {
        user::HWND hwnd = WindowHandle();
        const auto exStyle = user::GetWindowLongPtr(hwnd, user::GWL_EXSTYLE);
        user::SetWindowLongPtr(hwnd, user::GWL_EXSTYLE,
            value ? exStyle | user::WS_EX_TRANSPARENT
                  : exStyle & ~static_cast<user::LONG_PTR>(user::WS_EX_TRANSPARENT));
    }
    if (value) {
        if (FParentBackground == nullptr) {
            FParentBackground = std::make_unique<TBitmap>();
            FParentBackground->SetSize(Width(), Height());
        }
        MarkParentBackgroundDirty();
    } else {
        FParentBackground.reset();
        FParentBackgroundDirty = false;
    }
    InvalidateChange();
}

void TiVCLComponent::MarkParentBackgroundDirty() {
    if (!FTransparent || FParentBackgroundDirty) return;
    InvalidateChange();
}

void TiVCLComponent::InvalidateChange() {
    if (FTransparent && !FParentBackgroundDirty) {
        FParentBackgroundDirty = true;
        if (HandleAllocated() && Parent() != nullptr && Parent()->HandleAllocated())
            user::SetWindowLongPtr(
                WindowHandle(), user::GWL_HWNDPARENT, reinterpret_cast<user::LONG_PTR>(Parent()->WindowHandle()));
    }
    TiComponent::InvalidateChange();
}

void TiVCLComponent::SetBounds(int left, int top, int width, int height) {
    if (left == Left() && top == Top() && width == Width() && height == Height()) return;
    TiComponent::SetBounds(left, top, width, height);
    if (FParentBackground != nullptr) FParentBackground->SetSize(Width(), Height());
    MarkParentBackgroundDirty();
    InvalidateChange();
}

// The copy is refreshed only while the control is wholly on show (four points near its corners visible on
// its paint DC); until then it is BackGroundColor. What the parent draws under the control goes into it:
// the pixels under a child in the window's store are the child's own last picture, not the parent's.
void TiVCLComponent::RefreshParentBackground() {
    if (FParentBackground == nullptr) {
        FParentBackground = std::make_unique<TBitmap>();
        FParentBackground->SetSize(Width(), Height());
    }
    TCanvas* copy = FParentBackground->Canvas();
    copy->Brush()->SetStyle(bsSolid);
    copy->Brush()->SetColor(BackGroundColor());
    copy->FillRect(Rect(0, 0, Width(), Height()));

    TCanvas* own = Canvas();
    if (!own->HandleAllocated()) return;
    const int w = Width();
    const int h = Height();
    gdi::HDC ownDc = own->Handle();
    if (!gdi::PtVisible(ownDc, 5, 5) || !gdi::PtVisible(ownDc, w - 5, 5) || !gdi::PtVisible(ownDc, 5, h - 5)
        || !gdi::PtVisible(ownDc, w - 5, h - 5))
        return;
    if (TWinControl* parent = Parent(); parent != nullptr && parent->HandleAllocated()) {
        gdi::HDC dc = copy->Handle();
        {
            gdi::SavedDc saved(dc);
            gdi::SetWindowOrgEx(dc, Left(), Top(), nullptr);
            parent->Perform(user::WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc));
        }
        copy->Refresh();
    }
    FParentBackgroundDirty = false;
}

void TiVCLComponent::iPaintBackground(TCanvas* canvas, TColor color) {
    if (!FTransparent) {
        TiComponent::iPaintBackground(canvas, color);
        return;
    }
    BackGroundPainted();
    if (FParentBackgroundDirty || FParentBackground == nullptr) RefreshParentBackground();
    canvas->Draw(0, 0, FParentBackground.get());
}

// ---------------------------------------------------------------------------------------------------------
// Window and messages

void TiVCLComponent::CreateWnd() {
    TiComponent::CreateWnd();
    user::HWND hwnd = WindowHandle();
    if (hwnd == nullptr) return;
    user::SetWindowLongPtr(hwnd, user::GWL_ID, 0);
    if (FTransparent)
        user::SetWindowLongPtr(
            hwnd, user::GWL_EXSTYLE, user::GetWindowLongPtr(hwnd, user::GWL_EXSTYLE) | user::WS_EX_TRANSPARENT);
}

void TiVCLComponent::WndProc(TMessage& message) {
    switch (message.Msg) {
    case user::WM_ERASEBKGND:   // the picture covers everything
        message.Result = 1;
        return;
    case user::WM_GETDLGCODE:
        TiComponent::WndProc(message);
        message.Result |= DLGC_WANTALLKEYS;
        return;
    case user::WM_MOVE:
        TiComponent::WndProc(message);
        MarkParentBackgroundDirty();
        return;
    case user::WM_PALETTECHANGED:
        TiComponent::WndProc(message);
        InvalidateChange();
        return;
    case user::WM_SETFOCUS:
        iDoSetFocus();
        TiComponent::WndProc(message);
        return;
    case user::WM_KILLFOCUS:
        if (reinterpret_cast<user::HWND>(message.WParam) != WindowHandle()) iDoKillFocus();
        TiComponent::WndProc(message);
        return;
    default:
        break;
    }
    if (message.Msg >= user::WM_LBUTTONDOWN && message.Msg <= user::WM_MBUTTONDBLCLK) {
        try {
            TiComponent::WndProc(message);
        } catch (...) {
            // Errors of mouse handling stop here, as the component always did.
        }
        return;
    }
    TiComponent::WndProc(message);
}

void TiVCLComponent::CMSysColorChange(TMessage& m) {
    TiComponent::CMSysColorChange(m);
    InvalidateChange();
}

// ---------------------------------------------------------------------------------------------------------
// Timer window

// The periods go to the system as given: a negative one is taken as unsigned, the system's longest.
void TiVCLComponent::StartTimer(int firstInterval, int interval) {
    if (FTimerId != 0 || FTimerWindow == nullptr) return;
    FTimerInterval = interval;
    if (firstInterval != 0) {
        FTimerId = user::SetTimer(FTimerWindow, 1, static_cast<UINT>(firstInterval), nullptr);
        FTimerFirstPeriod = FTimerId != 0;
    } else if (interval != 0) {
        FTimerId = user::SetTimer(FTimerWindow, 1, static_cast<UINT>(interval), nullptr);
    }
}

void TiVCLComponent::StopTimer() {
    if (FTimerId == 0) return;
    user::KillTimer(FTimerWindow, 1);
    FTimerId = 0;
    FTimerFirstPeriod = false;
}

void TiVCLComponent::TimerWndProc(TMessage& message) {
    if (message.Msg != user::WM_TIMER || message.WParam != 1) {
        message.Result = user::DefWindowProc(FTimerWindow, message.Msg, message.WParam, message.LParam);
        return;
    }
    if (FTimerFirstPeriod) {
        FTimerFirstPeriod = false;
        // The regular period follows; 0 is the system's shortest one.
        user::SetTimer(FTimerWindow, 1, static_cast<UINT>(FTimerInterval), nullptr);
    }
    if (OnTimer) OnTimer(this);
}

}
