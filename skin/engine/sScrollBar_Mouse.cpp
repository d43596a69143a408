// TsScrollBar: part states, the skinned bar's mouse (press, hover, thumb drag, release), its repeat and drag timer.
#include "skin/engine/sScrollBar.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TTimer.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sStyleSimply.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

inline constexpr unsigned FirstRepeatMs = 500;
inline constexpr unsigned RepeatMs = 100;
inline constexpr unsigned DragMs = 10;

std::size_t Index(TsScrollPart part) {
    return std::size_t(part);
}

TPoint MessagePoint(const TMessage& m) {
    return TPoint {int(std::int16_t(user::LOWORD(m.LParam))), int(std::int16_t(user::HIWORD(m.LParam)))};
}

}

// ---- Geometry ------------------------------------------------------------------------------------------------

int TsScrollBar::ArrowSize() const {
    return user::GetSystemMetrics(IsVertical() ? user::SM_CYVSCROLL : user::SM_CXHSCROLL);
}

TsScrollGeometry TsScrollBar::Geometry() const {
    return TsScrollGeometry(IsVertical() ? Height() : Width(), ArrowSize(), FPageSize, FMin, FMax, FPosition, Enabled());
}

TRect TsScrollBar::PartRect(TsScrollPart part) const {
    const TsScrollGeometry g = Geometry();
    int from = 0, to = 0;
    switch (part) {
    case TsScrollPart::Arrow1:
        to = g.Arrow1End();
        break;
    case TsScrollPart::Arrow2:
        from = g.Arrow2Start();
        to = g.Length();
        break;
    case TsScrollPart::TrackBefore:
        to = g.ThumbCentre();
        break;
    case TsScrollPart::TrackAfter:
        from = g.ThumbCentre();
        to = g.Length();
        break;
    case TsScrollPart::Thumb:
        from = g.ThumbStart();
        to = g.ThumbEnd();
        break;
    case TsScrollPart::None:
        break;
    }
    from = std::clamp(from, 0, g.Length());
    to = std::clamp(to, from, g.Length());
    return IsVertical() ? TRect {0, from, Width(), to} : TRect {from, 0, to, Height()};
}

// ---- Part states -----------------------------------------------------------------------------------------------

void TsScrollBar::SetPart(TsScrollPart part, int state) {
    std::array<int, ScrollPartCount> next = FParts;
    if (state != psNormal) {
        next[Index(TsScrollPart::Arrow1)] = next[Index(TsScrollPart::Arrow2)] = psNormal;
        next[Index(TsScrollPart::Thumb)] = psNormal;
        next[Index(TsScrollPart::TrackBefore)] = next[Index(TsScrollPart::TrackAfter)] = psHot;
    }
    next[Index(part)] = state;
    if (next == FParts) return;
    FParts = next;
    FPartsChanged = true;
}

void TsScrollBar::ResetParts() {
    if (FParts == std::array<int, ScrollPartCount> {}) return;
    FParts = {};
    FPartsChanged = true;
}

void TsScrollBar::MouseEnterLeave(bool entered) {
    auto set = [this](TsScrollPart part, int state) {
        if (FParts[Index(part)] == state) return;
        FParts[Index(part)] = state;
        FPartsChanged = true;
    };
    if (entered) {
        set(TsScrollPart::TrackBefore, psHot);
        set(TsScrollPart::TrackAfter, psHot);
    } else {
        set(TsScrollPart::Arrow1, psNormal);
        set(TsScrollPart::Arrow2, psNormal);
        if (FParts[Index(TsScrollPart::Thumb)] != psPressed) {
            set(TsScrollPart::Thumb, psNormal);
            set(TsScrollPart::TrackBefore, psNormal);
            set(TsScrollPart::TrackAfter, psNormal);
        }
    }
    UpdateBar();
}

// ---- Mouse -------------------------------------------------------------------------------------------------------

bool TsScrollBar::MouseHandled(TMessage& m) {
    const bool usable = Enabled() && IsControlPaintable(this);
    switch (m.Msg) {
    case user::WM_LBUTTONDOWN:
    case user::WM_LBUTTONDBLCLK: {
        if (!usable) return false;
        classes::TComponentWatch watch(this);
        MouseDownAt(MessagePoint(m));
        return !watch.Alive();
    }
    case user::WM_NCHITTEST: {
        // Hover and drag follow the hit tests (the bar holding the capture gets them too); the hit test
        // itself is answered by the inherited handler.
        if (!usable) return false;
        classes::TComponentWatch watch(this);
        MouseMoveAt(ScreenToClient(MessagePoint(m)));
        return !watch.Alive();
    }
    case user::WM_LBUTTONUP: {
        if (!FPressing) return false;
        classes::TComponentWatch watch(this);
        MouseUpAt(MessagePoint(m));
        if (!watch.Alive()) return true;
        ReleaseMouse();
        TWinControl::WndProc(m);
        if (!watch.Alive()) return true;
        int pos = FPosition;
        if (co_Scroll(scEndScroll, pos)) RestoreHints();
        return true;
    }
    case user::WM_CAPTURECHANGED:
        // Capture taken away mid-press: the press ends where the pointer is.
        if (FPressing && reinterpret_cast<user::HWND>(m.LParam) != WindowHandle()) {
            classes::TComponentWatch watch(this);
            MouseUpAt(CursorInClient());
            if (!watch.Alive()) return true;
            ReleaseMouse();
            RestoreHints();
        }
        return false;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this)) MouseEnterLeave(m.Msg == CM_MOUSEENTER);
        return false;
    default:
        return false;
    }
}

void TsScrollBar::MouseDownAt(TPoint p) {
    classes::TComponentWatch watch(this);
    if (!FHintsOff && Application != nullptr) {
        FSavedShowHint = Application->ShowHint();
        Application->SetShowHint(false);
        FHintsOff = true;
    }
    FPressing = true;
    FDragOffset = 0;
    if (CanFocus() && !Focused()) {
        SetFocus();
        if (!watch.Alive()) return;
    }
    // Held from press to release, so the release (and the end of the repeat) always reaches the bar.
    if (HandleAllocated() && user::GetCapture() != WindowHandle()) user::SetCapture(WindowHandle());
    const TsScrollGeometry g = Geometry();
    const int along = AlongOf(p);
    switch (g.PartAt(along)) {
    case TsScrollPart::Arrow1:
    case TsScrollPart::Arrow2: {
        const bool first = g.PartAt(along) == TsScrollPart::Arrow1;
        LastScrollCode = first ? scLineUp : scLineDown;
        SetPart(first ? TsScrollPart::Arrow1 : TsScrollPart::Arrow2, psPressed);
        FMouseChanged = true;
        if (first) {
            // At Min only the scroll is reported; the repeat starts either way.
            StartTimer(TimerKind::Arrow);
            if (FPosition == FMin) {
                int pos = FPosition;
                if (!co_Scroll(LastScrollCode, pos)) return;
            } else if (!co_MovePosition(FPosition - FSmallChange)) {
                return;
            }
        } else if (FPosition != FMax) {
            // At Max nothing moves and nothing repeats.
            StartTimer(TimerKind::Arrow);
            if (!co_MovePosition(FPosition + FSmallChange)) return;
        }
        break;
    }
    case TsScrollPart::Thumb:
        LastScrollCode = scTrack;
        if (!FSmooth && !FHeld) {
            FHeld = true;
            FHeldFrom = FPosition;
        }
        // A thumb that fills the track has nowhere to go: no drag starts.
        if (g.CanDragThumb() && FParts[Index(TsScrollPart::Thumb)] != psPressed) {
            FDragOffset = g.PositionAt(along) - FPosition;
            SetPart(TsScrollPart::Thumb, psPressed);
            FMouseChanged = true;
            StartTimer(TimerKind::Drag);
        }
        break;
    case TsScrollPart::TrackBefore:
    case TsScrollPart::TrackAfter: {
        const bool before = g.PartAt(along) == TsScrollPart::TrackBefore;
        LastScrollCode = before ? scPageUp : scPageDown;
        SetPart(before ? TsScrollPart::TrackBefore : TsScrollPart::TrackAfter, psPressed);
        FMouseChanged = true;
        StartTimer(TimerKind::Paging);
        if (!co_MovePosition(FPosition + (before ? -FLargeChange : FLargeChange))) return;
        break;
    }
    case TsScrollPart::None:
        break;
    }
    UpdateBar();
}

void TsScrollBar::MouseMoveAt(TPoint p) {
    const TsScrollGeometry g = Geometry();
    const int along = AlongOf(p);
    const bool inside = PointerOver(p);
    if (FParts[Index(TsScrollPart::Thumb)] == psPressed) {
        // Over the bar the held thumb is set at each hit test; off it the drag timer moves it.
        if (!inside) return;
        LastScrollCode = scTrack;
        FMouseChanged = true;
        co_MovePosition(DragPosition(g, along));
        return;
    }
    const TsScrollPart part = inside ? g.PartAt(along) : TsScrollPart::None;
    switch (part) {
    case TsScrollPart::Thumb:
    case TsScrollPart::Arrow1:
    case TsScrollPart::Arrow2:
        if (FParts[Index(part)] != psPressed) SetPart(part, psHot);
        break;
    default:
        for (TsScrollPart q : {TsScrollPart::Thumb, TsScrollPart::Arrow1, TsScrollPart::Arrow2})
            if (FParts[Index(q)] != psNormal) {
                FParts[Index(q)] = psNormal;
                FPartsChanged = true;
            }
        break;
    }
    UpdateBar();
}

void TsScrollBar::MouseUpAt(TPoint p) {
    StopTimer();
    classes::TComponentWatch watch(this);
    const bool inside = PointerOver(p);
    const int hover = inside ? psHot : psNormal;
    auto set = [this](TsScrollPart part, int state) {
        if (FParts[Index(part)] == state) return;
        FParts[Index(part)] = state;
        FPartsChanged = true;
    };
    TsScrollGeometry g = Geometry();
    const int along = AlongOf(p);
    const bool thumbPressed = FParts[Index(TsScrollPart::Thumb)] == psPressed;
    if (thumbPressed || (inside && g.PartAt(along) == TsScrollPart::Thumb)) {
        LastScrollCode = scPosition;
        set(TsScrollPart::TrackBefore, hover);
        set(TsScrollPart::TrackAfter, hover);
        if (thumbPressed) {
            const int pos = DragPosition(g, along);
            FMouseChanged = true;
            if (!co_MovePosition(pos)) return;
            g = Geometry();
            set(TsScrollPart::Thumb, inside && g.PartAt(along) == TsScrollPart::Thumb ? psHot : psNormal);
        }
    } else {
        const TsScrollPart under = inside ? g.PartAt(along) : TsScrollPart::None;
        for (TsScrollPart arrow : {TsScrollPart::Arrow1, TsScrollPart::Arrow2})
            if (FParts[Index(arrow)] == psPressed) set(arrow, under == arrow ? psHot : psNormal);
        for (TsScrollPart track : {TsScrollPart::TrackBefore, TsScrollPart::TrackAfter})
            if (FParts[Index(track)] == psPressed) set(track, hover);
    }
    // A released thumb reports its one change even where it did not move.
    ReleaseHeldNotifications(thumbPressed);
    if (watch.Alive()) UpdateBar();
}

void TsScrollBar::ReleaseMouse() {
    StopTimer();
    FPressing = false;
    if (HandleAllocated() && user::GetCapture() == WindowHandle()) user::ReleaseCapture();
}

void TsScrollBar::RestoreHints() {
    if (!FHintsOff) return;
    FHintsOff = false;
    if (Application != nullptr) Application->SetShowHint(FSavedShowHint);
}

void TsScrollBar::ReleaseHeldNotifications(bool always) {
    if (!FHeld) return;
    FHeld = false;
    if (always || FPosition != FHeldFrom) co_Change(FHeldFrom);
}

int TsScrollBar::DragPosition(const TsScrollGeometry& g, int along) const {
    return std::clamp(g.PositionAt(along) - FDragOffset, std::min(FMin, FMax), std::max(FMin, FMax));
}

bool TsScrollBar::PointerOver(TPoint p) const {
    const TRect client = ClientRect();
    return p.x >= 0 && p.y >= 0 && p.x < client.right && p.y < client.bottom;
}

TPoint TsScrollBar::CursorInClient() const {
    user::POINT p {};
    user::GetCursorPos(&p);
    return ScreenToClient(TPoint {p.x, p.y});
}

// ---- Repeat timer ------------------------------------------------------------------------------------------------

void TsScrollBar::StartTimer(TimerKind kind) {
    StopTimer();
    FTimer = std::make_unique<TTimer>(nullptr);
    FTimerKind = kind;
    FFirstTick = kind != TimerKind::Drag;
    FTimer->SetInterval(kind == TimerKind::Drag ? DragMs : FirstRepeatMs);
    FTimer->OnTimer = [this](TObject*) { TimerTick(); };
}

void TsScrollBar::StopTimer() {
    FTimer.reset();   // may run inside the timer's own tick: nothing of it is touched afterwards
}

void TsScrollBar::TimerTick() {
    if (ComponentState().Contains(csDestroying) || FTimer == nullptr) return;
    if (FFirstTick) {
        FFirstTick = false;
        FTimer->SetInterval(RepeatMs);
    }
    if (FTimerKind == TimerKind::Drag) {
        DragTick();
        return;
    }
    if (FTimerKind == TimerKind::Arrow) {
        if (FParts[Index(TsScrollPart::Arrow1)] == psPressed) {
            LastScrollCode = scLineUp;
            co_MovePosition(FPosition - FSmallChange);
        } else if (FParts[Index(TsScrollPart::Arrow2)] == psPressed) {
            LastScrollCode = scLineDown;
            co_MovePosition(FPosition + FSmallChange);
        } else {
            StopTimer();
        }
        return;
    }
    // Pages toward the pointer while the pressed track half still lies between the thumb and the pointer.
    const int under = Geometry().PositionAt(AlongOf(CursorInClient()));
    if (FParts[Index(TsScrollPart::TrackBefore)] == psPressed && under < FPosition) {
        LastScrollCode = scPageUp;
        co_MovePosition(FPosition - FLargeChange);
    } else if (FParts[Index(TsScrollPart::TrackAfter)] == psPressed && under > FPosition) {
        LastScrollCode = scPageDown;
        co_MovePosition(FPosition + FLargeChange);
    } else {
        StopTimer();
    }
}

void TsScrollBar::DragTick() {
    if (FParts[Index(TsScrollPart::Thumb)] != psPressed) {
        StopTimer();
        return;
    }
    const TPoint p = CursorInClient();
    if (PointerOver(p)) return;   // the moves over the bar set the thumb
    const int pos = DragPosition(Geometry(), AlongOf(p));
    if (pos != FPosition) {
        FMouseChanged = true;
        if (!co_MovePosition(pos)) return;
    }
    if (HandleAllocated() && user::GetCapture() != WindowHandle()) user::SetCapture(WindowHandle());
}

}
