// TTrackBar over the native track bar.
#include "platform/classes/TTrackBar.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/user/Messages.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/TrackBar.h"

#include <algorithm>

namespace korvex::classes {

using namespace user;

TTrackBar::TTrackBar(TComponent* owner)
    : TRangeControl(owner, 10) {
    RegisterCommonControlClasses();
    FControlStyle.Exclude(csSetCaption);
    FControlStyle.Exclude(csDoubleClicks);
    SetBounds(Left(), Top(), 150, 45);
    SetTabStop(true);
}

TTrackBar::~TTrackBar() = default;

TClass TTrackBar::StaticClass() {
    static const TClassInfo info = MakeClass<TTrackBar, TRangeControl>("TTrackBar", [](auto& p) {
        p.Int("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency, 1);
        p.Int("LineSize", &TTrackBar::LineSize, &TTrackBar::SetLineSize, 1);
        p.Int("Max", &TTrackBar::Max, &TTrackBar::SetMax, 10);
        p.Int("Min", &TTrackBar::Min, &TTrackBar::SetMin, 0);
        p.Enum("Orientation", &TTrackBar::Orientation, &TTrackBar::SetOrientation, TrackBarOrientationIdents,
            trHorizontal);
        p.Int("PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize, 2);
        p.Int("Position", &TTrackBar::Position, &TTrackBar::SetPosition, 0);
        p.Int("SelEnd", &TTrackBar::SelEnd, &TTrackBar::SetSelEnd, 0);
        p.Int("SelStart", &TTrackBar::SelStart, &TTrackBar::SetSelStart, 0);
        p.Bool("SliderVisible", &TTrackBar::SliderVisible, &TTrackBar::SetSliderVisible, true);
        p.Int("ThumbLength", &TTrackBar::ThumbLength, &TTrackBar::SetThumbLength, TTrackBar::DefaultThumbLength);
        p.Enum("TickMarks", &TTrackBar::TickMarks, &TTrackBar::SetTickMarks, TickMarkIdents, tmBottomRight);
        p.Enum("TickStyle", &TTrackBar::TickStyle, &TTrackBar::SetTickStyle, TickStyleIdents, tsAuto);
        p.Bool("TabStop", &TTrackBar::TabStop, &TTrackBar::SetTabStop, true);
        p.Event("OnChange", &TTrackBar::OnChange);
    });
    return &info;
}

void TTrackBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, TRACKBAR_CLASS);
    params.Style |= TBS_FIXEDLENGTH | TBS_ENABLESELRANGE;
    if (FOrientation == trVertical) params.Style |= TBS_VERT;
    if (FTickStyle == tsNone) params.Style |= TBS_NOTICKS;
    if (FTickStyle == tsAuto) params.Style |= TBS_AUTOTICKS;
    if (FTickMarks == tmTopLeft) params.Style |= TBS_TOP;
    if (FTickMarks == tmBoth) params.Style |= TBS_BOTH;
    if (!FSliderVisible) params.Style |= TBS_NOTHUMB;
}

void TTrackBar::CreateWnd() {
    TWinControl::CreateWnd();
    HWND h = WindowHandle();
    SendMessage(h, TBM_SETTHUMBLENGTH, WPARAM(std::max(1, FThumbLength)), 0);
    SendMessage(h, TBM_SETRANGEMIN, 0, FMin);
    SendMessage(h, TBM_SETRANGEMAX, 0, FMax);
    SendMessage(h, TBM_SETTICFREQ, WPARAM(std::intptr_t(FFrequency)), 0);
    SendMessage(h, TBM_SETPAGESIZE, 0, FPageSize);
    SendMessage(h, TBM_SETLINESIZE, 0, FLineSize);
    SendMessage(h, TBM_SETPOS, 1, Clamp(FPosition));
    UpdateSelection();
}

void TTrackBar::SendMin() {
    SendMessage(WindowHandle(), TBM_SETRANGEMIN, 1, FMin);
}

void TTrackBar::SendMax() {
    SendMessage(WindowHandle(), TBM_SETRANGEMAX, 1, FMax);
}

void TTrackBar::SendPosition() {
    SendMessage(WindowHandle(), TBM_SETPOS, 1, FPosition);
}

int TTrackBar::WindowPosition() const {
    return int(SendMessage(WindowHandle(), TBM_GETPOS, 0, 0));
}

void TTrackBar::SetFrequency(int value) {
    if (value == FFrequency) return;
    FFrequency = value;
    if (HandleAllocated()) SendMessage(WindowHandle(), TBM_SETTICFREQ, WPARAM(std::intptr_t(value)), 0);
}

void TTrackBar::SetPageSize(int value) {
    FPageSize = value;
    if (HandleAllocated()) SendMessage(WindowHandle(), TBM_SETPAGESIZE, 0, value);
}

void TTrackBar::SetLineSize(int value) {
    FLineSize = value;
    if (HandleAllocated()) SendMessage(WindowHandle(), TBM_SETLINESIZE, 0, value);
}

void TTrackBar::SetOrientation(TTrackBarOrientation value) {
    if (value == FOrientation) return;
    FOrientation = value;
    if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark value) {
    if (value == FTickMarks) return;
    FTickMarks = value;
    RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle value) {
    if (value == FTickStyle) return;
    FTickStyle = value;
    RecreateWnd();
}

void TTrackBar::SetThumbLength(int value) {
    if (value == FThumbLength) return;
    FThumbLength = value;
    if (HandleAllocated()) SendMessage(WindowHandle(), TBM_SETTHUMBLENGTH, WPARAM(std::max(1, value)), 0);
}

void TTrackBar::SetSliderVisible(bool value) {
    if (value == FSliderVisible) return;
    FSliderVisible = value;
    RecreateWnd();
}

void TTrackBar::SetSelStart(int value) {
    FSelStart = value;
    UpdateSelection();
}

void TTrackBar::SetSelEnd(int value) {
    FSelEnd = value;
    UpdateSelection();
}

void TTrackBar::UpdateSelection() {
    if (!HandleAllocated()) return;
    SendMessage(WindowHandle(), TBM_SETSELSTART, 0, FSelStart);
    SendMessage(WindowHandle(), TBM_SETSELEND, 1, FSelEnd);
}

void TTrackBar::SetTick(int value) {
    if (HandleAllocated()) SendMessage(WindowHandle(), TBM_SETTIC, 0, value);
}

void TTrackBar::Changed() {
    if (OnChange) OnChange(this);
}

void TTrackBar::WndProc(TMessage& message) {
    if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
        int old = FPosition;
        int now = Position();
        message.Result = 0;
        if (now != old) Changed();
        return;
    }
    TWinControl::WndProc(message);
}

}
