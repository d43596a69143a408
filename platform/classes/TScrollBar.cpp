// TScrollBar: the native bar kept in step with the properties, and the user's scrolling turned into positions.
#include "platform/classes/TScrollBar.h"

#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/user/Messages.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/controls/ScrollBar.h"
#include "platform/user/controls/StandardClasses.h"

#include <algorithm>

namespace korvex::classes {

using namespace user;

int ScrollPositionInRange(int position, int min, int max, TInvertedRange inverted) {
    if (max < min) return inverted == TInvertedRange::KeepsMax ? max : min;
    return std::clamp(position, min, max);
}

int ScrollCodePosition(TScrollCode code, int position, const TScrollSteps& steps, const std::function<int()>& trackPos) {
    switch (code) {
    case scLineUp:
        return position - steps.SmallChange * steps.Direction;
    case scLineDown:
        return position + steps.SmallChange * steps.Direction;
    case scPageUp:
        return position - steps.LargeChange * steps.Direction;
    case scPageDown:
        return position + steps.LargeChange * steps.Direction;
    case scPosition:
    case scTrack:
        return trackPos();
    case scTop:
        return steps.Min;
    case scBottom:
        return steps.Max;
    case scEndScroll:
        break;
    }
    return position;
}

TScrollBar::TScrollBar(TComponent* owner)
    : TWinControl(owner) {
    RegisterStandardClasses();
    FControlStyle = TControlStyle {csFramed, csDoubleClicks, csOpaque};
    SetBounds(Left(), Top(), 121, GetSystemMetrics(SM_CYHSCROLL));
    SetTabStop(true);
}

TClass TScrollBar::StaticClass() {
    static const TClassInfo info = MakeClass<TScrollBar, TWinControl>("TScrollBar", [](auto& p) {
        p.Enum("Kind", &TScrollBar::Kind, &TScrollBar::SetKind, ScrollBarKindIdents, sbHorizontal);
        p.Int("Max", &TScrollBar::Max, &TScrollBar::SetMax, 100);
        p.Int("Min", &TScrollBar::Min, &TScrollBar::SetMin, 0);
        p.Int("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize, 0);
        p.Int("Position", &TScrollBar::Position, &TScrollBar::SetPosition, 0);
        p.Int("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange, 1);
        p.Int("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange, 1);
        p.Bool("TabStop", &TScrollBar::TabStop, &TScrollBar::SetTabStop, true);
        p.Event("OnChange", &TScrollBar::OnChange);
        p.Event("OnScroll", &TScrollBar::OnScroll);
    });
    return &info;
}

void TScrollBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, ScrollBarClassName);
    params.Style |= FKind == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateWnd() {
    TWinControl::CreateWnd();
    HWND h = WindowHandle();
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = FMin;
    info.nMax = FMax;
    info.nPage = UINT(FPageSize);
    info.nPos = FPosition;
    SetScrollInfo(h, SB_CTL, &info, true);
}

void TScrollBar::Loaded() {
    TWinControl::Loaded();
    FPosition = ScrollPositionInRange(FPosition, FMin, FMax);
    if (HandleAllocated()) SetScrollPos(WindowHandle(), SB_CTL, FPosition, true);
}

void TScrollBar::SetKind(TScrollBarKind value) {
    if (FKind == value) return;
    FKind = value;
    if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
    if (HandleAllocated()) RecreateWnd();
}

void TScrollBar::SetParams(int position, int min, int max) {
    // While loading the values come one by one; they are checked as a whole afterwards.
    if (!ComponentState().Contains(csLoading) && (max < min || max < FPageSize))
        throw EInvalidOperation("Scrollbar property out of range");
    position = ScrollPositionInRange(position, min, max);
    const bool rangeChanged = min != FMin || max != FMax;
    FMin = min;
    FMax = max;
    if (HandleAllocated() && rangeChanged) SetScrollRange(WindowHandle(), SB_CTL, min, max, true);
    if (FPosition == position) return;
    FPosition = position;
    if (HandleAllocated()) SetScrollPos(WindowHandle(), SB_CTL, position, true);
    Change();
}

void TScrollBar::SetPageSize(int value) {
    if (value < 0 || FPageSize == value) return;
    if (!ComponentState().Contains(csLoading) && value > FMax - FMin + 1)
        throw EInvalidOperation("Scrollbar property out of range");
    FPageSize = value;
    if (!HandleAllocated()) return;
    SCROLLINFO info;
    info.fMask = SIF_PAGE;
    info.nPage = UINT(value);
    SetScrollInfo(WindowHandle(), SB_CTL, &info, true);
}

void TScrollBar::WndProc(TMessage& message) {
    if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
        DoScroll(message);
        return;
    }
    TWinControl::WndProc(message);
}

void TScrollBar::DoScroll(TMessage& m) {
    const auto code = static_cast<TScrollCode>(std::min<int>(LOWORD(m.WParam), scEndScroll));
    int pos = ScrollCodePosition(code, FPosition, {FMin, FMax, FSmallChange, FLargeChange}, [&] {
        // The full 32-bit position, not the 16 bits of the message.
        SCROLLINFO info;
        info.fMask = SIF_TRACKPOS;
        return HandleAllocated() && GetScrollInfo(WindowHandle(), SB_CTL, &info) ? info.nTrackPos
                                                                                 : int(std::int16_t(HIWORD(m.WParam)));
    });
    const int lastPos = FPageSize > 0 ? FMax - FPageSize + 1 : FMax;
    pos = ScrollPositionInRange(pos, FMin, lastPos);
    m.Result = 0;
    if (RunUserCode(this, [&] { Scroll(code, pos); })) SetPosition(pos);
}

void TScrollBar::Scroll(TScrollCode code, int& scrollPos) {
    if (OnScroll) OnScroll(this, code, scrollPos);
}

void TScrollBar::Change() {
    if (OnChange) OnChange(this);
}

}
