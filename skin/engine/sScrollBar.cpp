// TsScrollBar: construction, properties, range and position, scroll messages, the window's two forms, keys.
#include "skin/engine/sScrollBar.h"

#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TTimer.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Messages.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/controls/ScrollBar.h"
#include "platform/user/controls/StandardClasses.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStyleSimply.h"

#include <algorithm>
#include <cstdio>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

bool BeingDestroyed(const TComponent* c) {
    return c->ComponentState().Contains(csDestroying);
}

bool ValidScrollCode(int code) {
    return code >= scLineUp && code <= scEndScroll;
}

int ClampStep(int value) {
    return std::clamp(value, 1, 32767);
}

}

TsScrollBar::TsScrollBar(TComponent* owner)
    : TWinControl(owner), FCommonData(std::make_unique<TsCommonData>(this, true)) {
    user::RegisterStandardClasses();
    FCommonData->ControlKind = TacControlKind::ScrollBar;
    FControlStyle = TControlStyle {csOpaque, csDoubleClicks};
    SetBounds(Left(), Top(), Width() == 0 ? 121 : Width(),
        Height() == 0 ? user::GetSystemMetrics(user::SM_CYHSCROLL) : Height());
    SetTabStop(true);
}

TsScrollBar::~TsScrollBar() {
    StopTimer();
    RestoreHints();
}

TClass TsScrollBar::StaticClass() {
    using T = TsScrollBar;
    static const TClassInfo info = MakeClass<T, TWinControl>("TsScrollBar", [](TPropertyBuilder<T>& p) {
        p.Enum("Kind", &T::Kind, &T::SetKind, ScrollBarKindIdents, sbHorizontal);
        p.Int("Max", &T::Max, &T::SetMax, 100);
        p.Int("Min", &T::Min, &T::SetMin, 0);
        p.Int("PageSize", &T::PageSize, &T::SetPageSize, 0);
        p.Int("Position", &T::Position, &T::SetPosition, 0);
        p.Int("SmallChange", &T::SmallChange, &T::SetSmallChange, 1);
        p.Int("LargeChange", &T::LargeChange, &T::SetLargeChange, 1);
        p.Bool("Smooth", &T::Smooth, &T::SetSmooth, true);
        p.Set("DisabledKind", &T::DisabledKind, &T::SetDisabledKind, DisabledKindIdents, DefaultDisabledKind);
        p.Object("SkinData", &T::SkinData);
        p.Bool("TabStop", &T::TabStop, &T::SetTabStop, true);
        p.Event("OnChange", &T::OnChange);
        p.Event("OnScroll", &T::OnScroll);
    });
    return &info;
}

void TsScrollBar::AfterConstruction() {
    TWinControl::AfterConstruction();
    if (!ComponentState().Contains(csLoading)) FCommonData->Loaded();
}

void TsScrollBar::Loaded() {
    TWinControl::Loaded();
    FCommonData->Loaded();
    // The range was read value by value; now it is checked as a whole.
    FPosition = ScrollPositionInRange(FPosition, FMin, FMax);
    if (HandleAllocated() && FPlainWindow != SkinActive()) Recreate();
    SyncNativeBar(true);
}

// ---- Properties --------------------------------------------------------------------------------------------

void TsScrollBar::SetKind(TScrollBarKind value) {
    if (FKind == value) return;
    FKind = value;
    if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TsScrollBar::SetMin(int value) {
    SetParams(FPosition, value, FMax);
    Invalidate();
}

void TsScrollBar::SetMax(int value) {
    SetParams(FPosition, FMin, value);
    Invalidate();
}

void TsScrollBar::SetPageSize(int value) {
    if (value < 0 || value == FPageSize) return;
    FPageSize = value;
    SyncNativeBar(true);
    Invalidate();
}

void TsScrollBar::SetPosition(int value) {
    if (FControlState.Contains(csCreating) || BeingDestroyed(this)) return;
    classes::TComponentWatch watch(this);
    SetParams(value, FMin, FMax);
    if (watch.Alive()) UpdateBar();
}

void TsScrollBar::SetSmallChange(TScrollBarInc value) {
    FSmallChange = ClampStep(value);
}

void TsScrollBar::SetLargeChange(TScrollBarInc value) {
    FLargeChange = ClampStep(value);
}

void TsScrollBar::SetDisabledKind(TsDisabledKind value) {
    if (value == FDisabledKind) return;
    FDisabledKind = value;
    FCommonData->Invalidate();
}

TWinControl* TsScrollBar::HostControl() const {
    return FHost ? FHost->As<TWinControl>() : nullptr;
}

void TsScrollBar::SetHostControl(TWinControl* value) {
    if (value == HostControl()) return;
    FHost.reset();
    if (value != nullptr) FHost = std::make_unique<classes::TComponentWatch>(value);
}

bool TsScrollBar::SkinActive() const {
    const TsSkinManager* manager = FCommonData->SkinManager();
    return manager != nullptr && !BeingDestroyed(manager) && manager->LoadedSkin.Active;
}

bool TsScrollBar::CanFocus() const {
    return TWinControl::CanFocus() && TabStop();
}

// ---- Range and position --------------------------------------------------------------------------------------

std::string TsScrollBar::RangeComplaint(int max) const {
    const TWinControl* host = HostControl();
    const std::string owner = host != nullptr ? "(Owner=" + host->Name() + ")" : "(" + Name() + ")";
    return "Scrollbar property out of range\r\nMax = " + std::to_string(max) + owner;
}

void TsScrollBar::SetParams(int position, int min, int max) {
    const bool skinned = SkinActive();
    const bool loading = ComponentState().Contains(csLoading);
    if (max < min) {
        if (!skinned && !loading) throw EInvalidOperation("Scrollbar property out of range");
        // Hosts set the range while they lay out or paint: a complaint in the log, never a box from here.
        if (skinned) {
            std::string line = RangeComplaint(max);
            line.replace(line.find("\r\n"), 2, "; ");
            std::fprintf(stderr, "korvex: %s\n", line.c_str());
        }
    }
    const int p = ScrollPositionInRange(position, min, max, TInvertedRange::KeepsMax);
    const bool rangeChanged = min != FMin || max != FMax;
    FMin = min;
    FMax = max;
    if (p == FPosition) {
        if (rangeChanged) SyncNativeBar(true);
        int pos = FPosition;
        if (skinned && !NoNotify && ValidScrollCode(LastScrollCode)) co_Scroll(LastScrollCode, pos);
        return;
    }
    const int old = FPosition;
    FPosition = p;
    FPartsChanged = true;
    SyncNativeBar(true);
    if (!skinned) {
        classes::TComponentWatch watch(this);
        SetEnabled(true);   // a position change enables the native bar again
        if (!watch.Alive()) return;
    }
    if (!co_Change(old)) return;
    const bool settled = !loading && !FControlState.Contains(csReadingState)
        && !FControlState.Contains(csCreating) && Parent() != nullptr;
    if (skinned && settled) UpdateBar();
}

bool TsScrollBar::co_Scroll(int code, int& position) {
    if (!OnScroll) return true;
    classes::TComponentWatch watch(this);
    OnScroll(this, static_cast<TScrollCode>(code), position);
    return watch.Alive();
}

bool TsScrollBar::co_Change(int oldPosition) {
    classes::TComponentWatch watch(this);
    Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this));
    if (!watch.Alive()) return false;
    if (FHeld || NoNotify) return true;
    if (ChangeHook) {
        ChangeHook(this, oldPosition);
        if (!watch.Alive()) return false;
    }
    // Unskinned the native bar's messages come through DoScroll, which reports the scroll itself.
    if (SkinActive() && ValidScrollCode(LastScrollCode)) {
        int pos = FPosition;
        if (!co_Scroll(LastScrollCode, pos)) return false;
    }
    if (OnChange) OnChange(this);
    return watch.Alive();
}

bool TsScrollBar::co_MovePosition(int value) {
    classes::TComponentWatch watch(this);
    SetPosition(value);
    return watch.Alive();
}

void TsScrollBar::DoScroll(TMessage& message) {
    const int code = int(user::LOWORD(message.WParam));
    if (code > scEndScroll) return;
    const TScrollSteps steps {FMin, FMax, FSmallChange, FLargeChange, FDirection};
    int pos = ScrollCodePosition(TScrollCode(code), FPosition, steps, [&] {
        // The full 32-bit track position from the native bar; the 16 bits of the message otherwise.
        user::SCROLLINFO info;
        info.fMask = user::SIF_ALL;
        if (!FPlainWindow && HandleAllocated() && user::GetScrollInfo(WindowHandle(), user::SB_CTL, &info))
            return Mirrored() ? FMin + FMax - info.nTrackPos : info.nTrackPos;
        return int(std::int16_t(user::HIWORD(message.WParam)));
    });
    pos = ScrollPositionInRange(pos, FMin, FMax, TInvertedRange::KeepsMax);
    LastScrollCode = code;
    message.Result = 0;
    // Skinned, the position set reports the scroll again: as a change, or as the same position.
    if (!NoNotify && !co_Scroll(code, pos)) return;
    SetPosition(pos);
}

void TsScrollBar::UpdateBar() {
    FMouseChanged = false;
    if (!FPartsChanged) return;
    if (!FPlainWindow || !HandleAllocated()) {
        FPartsChanged = false;   // the native bar paints itself
        return;
    }
    if (PaintingSuppressed) return;   // still due
    Invalidate();
    Update();
}

// ---- The window ----------------------------------------------------------------------------------------------

void TsScrollBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    FPlainWindow = SkinActive();
    if (FPlainWindow) {
        // Its own class name: the native form's registration keeps the native class's window extra.
        params.WinClassName = "TsScrollBarSkinned";
        FDirection = 1;   // the own window keeps positions as they are
        return;
    }
    CreateSubClass(params, user::ScrollBarClassName);
    params.Style |= IsVertical() ? user::SBS_VERT : user::SBS_HORZ;
    if (IsVertical()) params.Style |= UseRightToLeftScrollBar() ? user::SBS_LEFTALIGN : user::SBS_RIGHTALIGN;
    FDirection = !IsVertical() && UseRightToLeftScrollBar() ? -1 : 1;
}

void TsScrollBar::CreateWnd() {
    TWinControl::CreateWnd();
    SyncNativeBar(true);
}

void TsScrollBar::Recreate() {
    FPartsChanged = true;
    RecreateWnd();   // CreateParams picks the form from the skin's state
}

void TsScrollBar::SyncNativeBar(bool redraw) {
    if (!HandleAllocated() || FPlainWindow) return;
    user::SCROLLINFO info;
    info.fMask = user::SIF_RANGE | user::SIF_PAGE | user::SIF_POS;
    info.nMin = FMin;
    info.nMax = FMax;   // with a page the native thumb ends at Max - PageSize + 1, as native bars do
    info.nPage = user::UINT(FPageSize);
    info.nPos = Mirrored() ? FMin + FMax - FPosition : FPosition;   // mirrored within the range
    user::SetScrollInfo(WindowHandle(), user::SB_CTL, &info, redraw);
}

void TsScrollBar::WndProc(TMessage& m) {
    if (m.Msg == SM_SKINCMD && !BeingDestroyed(this) && SkinCommandCode(m) < 8) {
        const TsSkinManager* manager = FCommonData->SkinManager();
        const bool ours = manager != nullptr && reinterpret_cast<const TsSkinManager*>(m.LParam) == manager;
        switch (SkinCommandCode(m)) {
        case SMC_NEWSKIN:
            if (ours) CommonWndProc(m, FCommonData.get());
            return;
        case SMC_REMOVESKIN:
        case SMC_REFRESH:
            if (!ours) break;
            CommonWndProc(m, FCommonData.get());
            FCommonData->BGChanged = true;
            // A removed skin gives a new native bar, a refreshed one a new window of the bar's own.
            if (HandleAllocated()) Recreate();
            Invalidate();
            return;
        case SMC_PARENTUPDATED:
            FCommonData->Updating = false;
            Repaint();
            return;
        case SMC_ISSKINNED:
            m.LParam = 1;
            return;
        default:
            break;
        }
    }
    const bool skinned = FPlainWindow && SkinActive() && !BeingDestroyed(this);
    switch (m.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
        if (!FHeld) DoScroll(m);
        return;
    case CN_CTLCOLORSCROLLBAR:
        m.Result = user::DefWindowProc(WindowHandle(), user::WM_CTLCOLORSCROLLBAR, m.WParam, m.LParam);
        return;
    case user::WM_GETDLGCODE:
        TWinControl::WndProc(m);
        m.Result = DLGC_WANTARROWS;
        return;
    case user::WM_ERASEBKGND:
        if (skinned && FMouseChanged) {
            m.Result = 1;
            return;
        }
        break;
    case user::WM_PAINT:
        if (FPlainWindow) {
            PaintSkinned(reinterpret_cast<user::HDC>(m.WParam));
            m.Result = 0;
            return;
        }
        break;
    case user::WM_PRINT:
        if (skinned) {
            Perform(user::WM_PAINT, m.WParam, m.LParam);
            Perform(user::WM_NCPAINT, m.WParam, m.LParam);
            return;
        }
        break;
    default:
        break;
    }
    if (CommonWndProc(m, FCommonData.get())) return;
    if (skinned && MouseHandled(m)) return;
    TWinControl::WndProc(m);
}

void TsScrollBar::KeyDown(user::WORD& key, TShiftState shift) {
    if (FPlainWindow && SkinActive()) {
        int code = -1;
        int pos = FPosition;
        switch (key) {
        case user::VK_PRIOR:
            code = scPageUp;
            pos = FPosition - FLargeChange;
            break;
        case user::VK_NEXT:
            code = scPageDown;
            pos = FPosition + FLargeChange;
            break;
        case user::VK_END:
            code = scBottom;
            pos = FMax;
            break;
        case user::VK_HOME:
            code = scTop;
            pos = FMin;
            break;
        case user::VK_LEFT:
        case user::VK_UP:
            code = scLineUp;
            pos = FPosition - FSmallChange;
            break;
        case user::VK_RIGHT:
        case user::VK_DOWN:
            code = scLineDown;
            pos = FPosition + FSmallChange;
            break;
        default:
            break;
        }
        if (code >= 0) {
            LastScrollCode = code;
            if (!co_MovePosition(pos)) return;
        }
    }
    TWinControl::KeyDown(key, shift);
}

// ---- Hosts -------------------------------------------------------------------------------------------------------

void ShowSkinScrollBar(TsScrollBar* bar, TControl* control) {
    if (bar == nullptr) return;
    bar->ClearMouseChanged();
    if (bar->Parent() == nullptr && control != nullptr) bar->SetParent(control->Parent());
    bar->SetVisible(true);
    if (bar->HandleAllocated()) ShowWindowNoActivate(bar);
}

}
