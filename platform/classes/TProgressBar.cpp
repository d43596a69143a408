// TProgressBar over the native progress bar.
#include "platform/classes/TProgressBar.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TColor.h"
#include "platform/user/Messages.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/ProgressBar.h"

#include <algorithm>

namespace korvex::classes {

using namespace user;

namespace {

COLORREF NativeColor(TColor color) {
    return color == clDefault ? CLR_DEFAULT : ColorToColorRef(color);
}

}   // namespace

TProgressBar::TProgressBar(TComponent* owner)
    : TRangeControl(owner, 100) {
    RegisterCommonControlClasses();
    FControlStyle.Exclude(csSetCaption);
    SetBounds(Left(), Top(), 150, 16);
}

TProgressBar::~TProgressBar() = default;

TClass TProgressBar::StaticClass() {
    static const TClassInfo info = MakeClass<TProgressBar, TRangeControl>("TProgressBar", [](auto& p) {
        p.Int("Min", &TProgressBar::Min, &TProgressBar::SetMin, 0);
        p.Int("Max", &TProgressBar::Max, &TProgressBar::SetMax, 100);
        p.Enum("Orientation", &TProgressBar::Orientation, &TProgressBar::SetOrientation, ProgressBarOrientationIdents,
            pbHorizontal);
        p.Int("Position", &TProgressBar::Position, &TProgressBar::SetPosition, 0);
        p.Bool("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth, false);
        p.Int("Step", &TProgressBar::Step, &TProgressBar::SetStep, 10);
        p.Color("BarColor", &TProgressBar::BarColor, &TProgressBar::SetBarColor, clDefault);
        p.Color("BackgroundColor", &TProgressBar::BackgroundColor, &TProgressBar::SetBackgroundColor, clDefault);
    });
    return &info;
}

void TProgressBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, PROGRESS_CLASS);
    if (FSmooth) params.Style |= PBS_SMOOTH;
    if (FOrientation == pbVertical) params.Style |= PBS_VERTICAL;
}

void TProgressBar::CreateWnd() {
    TWinControl::CreateWnd();
    HWND h = WindowHandle();
    SendMessage(h, PBM_SETRANGE32, WPARAM(std::intptr_t(FMin)), FMax);
    SendMessage(h, PBM_SETSTEP, WPARAM(std::intptr_t(FStep)), 0);
    SendMessage(h, PBM_SETPOS, WPARAM(std::intptr_t(FPosition)), 0);
    SendMessage(h, PBM_SETBARCOLOR, 0, LPARAM(NativeColor(FBarColor)));
    SendMessage(h, PBM_SETBKCOLOR, 0, LPARAM(NativeColor(FBackgroundColor)));
}

void TProgressBar::Loaded() {
    TWinControl::Loaded();
    FPosition = Clamp(FPosition);
}

void TProgressBar::SendMin() {
    SendMessage(WindowHandle(), PBM_SETRANGE32, WPARAM(std::intptr_t(FMin)), FMax);
}

void TProgressBar::SendPosition() {
    SendMessage(WindowHandle(), PBM_SETPOS, WPARAM(std::intptr_t(FPosition)), 0);
}

int TProgressBar::WindowPosition() const {
    return int(SendMessage(WindowHandle(), PBM_GETPOS, 0, 0));
}

void TProgressBar::SetStep(int value) {
    FStep = value;
    if (HandleAllocated()) SendMessage(WindowHandle(), PBM_SETSTEP, WPARAM(std::intptr_t(value)), 0);
}

void TProgressBar::SetSmooth(bool value) {
    if (value == FSmooth) return;
    FSmooth = value;
    RecreateWnd();
}

void TProgressBar::SetOrientation(TProgressBarOrientation value) {
    if (value == FOrientation) return;
    FOrientation = value;
    if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TProgressBar::SetBarColor(TColor value) {
    if (value == FBarColor) return;
    FBarColor = value;
    if (HandleAllocated()) SendMessage(WindowHandle(), PBM_SETBARCOLOR, 0, LPARAM(NativeColor(value)));
}

void TProgressBar::SetBackgroundColor(TColor value) {
    if (value == FBackgroundColor) return;
    FBackgroundColor = value;
    if (HandleAllocated()) SendMessage(WindowHandle(), PBM_SETBKCOLOR, 0, LPARAM(NativeColor(value)));
}

void TProgressBar::StepIt() {
    if (HandleAllocated()) {
        SendMessage(WindowHandle(), PBM_STEPIT, 0, 0);
        return;
    }
    long long next = static_cast<long long>(FPosition) + FStep;
    int low = std::min(FMin, FMax), high = std::max(FMin, FMax);
    long long span = static_cast<long long>(high) - low + 1;
    if (next > high) next = low + (next - high - 1) % span;
    if (next < low) next = high - (low - next - 1) % span;
    FPosition = int(next);
}

void TProgressBar::StepBy(int delta) {
    SetPosition(Clamp(static_cast<long long>(Position()) + delta));
}

}
