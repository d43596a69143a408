// TsScrollBox: the skinned bars (laid out, kept in step with the content), scrolling, focus in view.
#include "skin/controls/sScrollBox.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/ControlMessages.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TScrollBar.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStyleSimply.h"

#include <algorithm>
#include <cstdint>

namespace korvex::skin {

using namespace korvex::classes;

TRect TsScrollBox::GetClientRect() const {
    TRect r = TScrollingWinControl::GetClientRect();
    if (FVertBar != nullptr) r.right -= FVertBar->Width();
    if (FHorzBar != nullptr) r.bottom -= FHorzBar->Height();
    return r;
}

void TsScrollBox::AdjustClientRect(TRect& rect) {
    TScrollingWinControl::AdjustClientRect(rect);
    if (FHorzBar != nullptr) {
        rect.left = -FHorzBar->Position();
        rect.right = std::max(HorzScrollBar()->Range(), ClientWidth()) + rect.left;
    }
    if (FVertBar != nullptr) {
        rect.top = -FVertBar->Position();
        rect.bottom = std::max(VertScrollBar()->Range(), ClientHeight()) + rect.top;
    }
    if (FVertBar != nullptr) rect.right -= FVertBar->Width() + 1;
    if (FHorzBar != nullptr) rect.bottom -= FHorzBar->Height() + 1;
}

void TsScrollBox::SetBounds(int left, int top, int width, int height) {
    const bool moved = left != Left() || top != Top();
    TScrollingWinControl::SetBounds(left, top, width, height);
    // The bars are windows of the parent: they do not move with the box by themselves.
    if (moved && !FScrolling && FCommonData->Skinned(true)) UpdateScrolls();
}

// ---- The bars ----------------------------------------------------------------------------------------------

// The native bars go while skinned; the content goes back to the origin, where the new skinned bars start, and
// their positions are kept for the skinned bars.
void TsScrollBox::HideNativeBars() {
    if (FNativeHidden || ControlDesigning(this)) return;
    FSavedVertPos = VertScrollBar()->Position();
    FSavedHorzPos = HorzScrollBar()->Position();
    FSavedVertVisible = VertScrollBar()->Visible();
    FSavedHorzVisible = HorzScrollBar()->Visible();
    VertScrollBar()->SetVisible(false);
    HorzScrollBar()->SetVisible(false);
    VertScrollBar()->SetPosition(0);
    HorzScrollBar()->SetPosition(0);
    FNativeHidden = true;
}

void TsScrollBox::FreeSkinBars() {
    for (TsScrollBar** bar : {&FVertBar, &FHorzBar}) {
        TsScrollBar* gone = *bar;
        *bar = nullptr;
        delete gone;
    }
}

void TsScrollBox::HideSkinBar(TsScrollBar* bar) {
    if (bar == nullptr) return;
    bar->SetVisible(false);
    // While the form does not show, Visible alone leaves alone the window LayBar showed: it would show with the
    // form wherever the bar was laid last.
    if (bar->HandleAllocated())
        user::SetWindowPos(bar->WindowHandle(), nullptr, 0, 0, 0, 0,
            user::SWP_NOSIZE | user::SWP_NOMOVE | user::SWP_NOZORDER | user::SWP_NOACTIVATE | user::SWP_HIDEWINDOW);
    bar->SetPosition(bar == FVertBar ? 0 : bar->Min());
}

TsScrollBar* TsScrollBox::MakeBar(TScrollBarKind kind) {
    auto* bar = Create<TsScrollBar>(this);
    bar->SkinData()->SetSkinManager(FCommonData->OwnSkinManager());
    bar->SetVisible(false);
    bar->SetHostControl(this);
    bar->ChangeHook = [this](TsScrollBar* b, int previous) { BarChanged(b, previous); };
    bar->PaintingSuppressed = true;
    bar->SetTabStop(false);
    bar->SetKind(kind);
    bar->SetParent(Parent());
    const TControlScrollBar* native = kind == sbVertical ? VertScrollBar() : HorzScrollBar();
    bar->SetSmooth(native->Smooth() || native->Tracking());   // the content follows a dragged thumb only so
    return bar;
}

void TsScrollBox::LayBar(TsScrollBar*& bar, TScrollBarKind kind, int max, int page, const TRect& r) {
    if (bar == nullptr) bar = MakeBar(kind);
    const TControlScrollBar* native = kind == sbVertical ? VertScrollBar() : HorzScrollBar();
    {
        base::ValueRollback<bool> suppressed(bar->PaintingSuppressed, true);
        bar->SetMax(max);
        bar->SetSmallChange(native->Increment());
        bar->SetMin(0);
        bar->SetPageSize(page);
        bar->SetLargeChange(page);
    }
    bar->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    bar->PaintingSuppressed = false;
    bar->SetVisible(true);
    ShowWindowNoActivate(bar);
}

void TsScrollBox::UpdateScrolls() {
    if (FLaying || ControlDestroying(this) || ControlDesigning(this)) return;
    base::ValueRollback<bool> laying(FLaying, true);
    const bool hadVert = FVertBar != nullptr, hadHorz = FHorzBar != nullptr;
    LayOutBars();
    // A bar made just now takes its room from the client area the other bar's page was measured on.
    if ((FVertBar != nullptr) != hadVert || (FHorzBar != nullptr) != hadHorz) LayOutBars();
}

void TsScrollBox::LayOutBars() {
    UpdateScrollRanges();
    const int f = FrameWidth();
    const int cx = user::GetSystemMetrics(user::SM_CXVSCROLL);
    const int cy = user::GetSystemMetrics(user::SM_CYHSCROLL);
    const int l = Left(), t = Top(), w = Width(), h = Height();
    // Horizontal. The class library's Range already counts from the unscrolled origin: the position is not
    // added to it again.
    const int rangeH = HorzScrollBar()->Range();
    if (FHorzBar != nullptr) HorzScrollBar()->SetPosition(FHorzBar->Position());
    const int pageH = ClientWidth();
    const int maxH = rangeH - pageH;
    const bool needH = FSavedHorzVisible && maxH >= 1 && pageH >= 1;
    const TRect rectH {l + f, t + h - cy - f, l + w - f + 1, t + h - f};
    // Vertical.
    const int rangeV = VertScrollBar()->Range();
    if (FVertBar != nullptr) VertScrollBar()->SetPosition(FVertBar->Position());
    const int pageV = ClientHeight();
    const int maxV = rangeV - pageV;
    const bool needV = FSavedVertVisible && maxV >= 1 && pageV >= 1;
    const TRect rectV = BiDiMode() == bdRightToLeft ? TRect {l + f, t + f, l + f + cx, t + h - f + 1}
                                                    : TRect {l + w - cx - f, t + f, l + w - f, t + h - f + 1};

    const TsSkinManager* manager = DefaultManager;
    if (manager == nullptr || !manager->LoadedSkin.Active || !Visible()) {
        HideSkinBar(FVertBar);
        HideSkinBar(FHorzBar);
        return;
    }
    if (!needV) HideSkinBar(FVertBar);
    if (!needH) HideSkinBar(FHorzBar);
    if (needV) {
        TRect r = rectV;
        if (needH) r.bottom -= rectH.bottom - rectH.top;
        LayBar(FVertBar, sbVertical, maxV, pageV, r);
    }
    if (needH) {
        TRect r = rectH;
        if (needV) r.right -= rectV.right - rectV.left;
        LayBar(FHorzBar, sbHorizontal, maxH, pageH, r);
    }
}

// A skinned bar moved (by its user or by its host's messages): the content follows. The content offset is the
// native bar's position, which moves the children and the window's picture.
void TsScrollBox::BarChanged(TsScrollBar* bar, int previousPosition) {
    (void)previousPosition;
    TControlScrollBar* native = bar == FVertBar ? VertScrollBar() : HorzScrollBar();
    classes::TComponentWatch watch(this);
    classes::TComponentWatch barWatch(bar);
    FScrolling = true;
    if (OnBeforeScroll) OnBeforeScroll(this);
    if (!watch.Alive()) return;
    const bool redraw = HandleAllocated();
    if (redraw) user::SendMessage(WindowHandle(), user::WM_SETREDRAW, 0, 0);
    if (barWatch.Alive()) bar->PaintingSuppressed = true;
    TMessage updating = MakeSkinCommand(SMC_SETUPDATING, 1);
    BroadcastToChildren(this, updating);
    if (barWatch.Alive()) native->SetPosition(bar->Position());
    if (barWatch.Alive()) bar->PaintingSuppressed = false;
    TMessage done = MakeSkinCommand(SMC_SETUPDATING, 0);
    BroadcastToChildren(this, done);
    Perform(SM_SKINCMD, SkinCommandWParam(SMC_MOVED, 1), 0);
    FScrolling = false;
    if (redraw && HandleAllocated()) {
        user::SendMessage(WindowHandle(), user::WM_SETREDRAW, 1, 0);
        user::RedrawWindow(WindowHandle(), nullptr, nullptr,
            user::RDW_INVALIDATE | user::RDW_NOERASE | user::RDW_ALLCHILDREN | user::RDW_UPDATENOW | user::RDW_FRAME);
    }
    if (OnAfterScroll) OnAfterScroll(this);
}

// ---- Scrolling ---------------------------------------------------------------------------------------------

void TsScrollBox::ScrollBy(int deltaX, int deltaY) {
    // The content never leaves its range: each delta is cut where its native bar stops.
    auto clamped = [](TControlScrollBar* native, int delta) {
        const std::int64_t wanted = std::int64_t(native->Position()) - delta;   // INT_MIN must not overflow
        const int before = native->Position();
        native->SetPosition(int(std::clamp<std::int64_t>(wanted, INT32_MIN, INT32_MAX)));
        return before - native->Position();
    };
    if (!PaintsSkinned(FCommonData.get())) {
        clamped(HorzScrollBar(), deltaX);
        clamped(VertScrollBar(), deltaY);
        return;
    }
    classes::TComponentWatch watch(this);
    FScrolling = true;
    if (OnBeforeScroll) OnBeforeScroll(this);
    if (!watch.Alive()) return;
    TMessage updating = MakeSkinCommand(SMC_SETUPDATING, 1);
    BroadcastToChildren(this, updating);
    const int dx = clamped(HorzScrollBar(), deltaX);
    const int dy = clamped(VertScrollBar(), deltaY);
    TMessage done = MakeSkinCommand(SMC_SETUPDATING, 0);
    BroadcastToChildren(this, done);
    Perform(SM_SKINCMD, SkinCommandWParam(SMC_MOVED, 1), 0);
    for (auto [bar, delta] : {std::pair {FVertBar, dy}, std::pair {FHorzBar, dx}}) {
        if (bar == nullptr || delta == 0) continue;
        base::ValueRollback<bool> quiet(bar->NoNotify, true);
        base::ValueRollback<bool> suppressed(bar->PaintingSuppressed, true);
        bar->SetPosition(bar->Position() - delta);
    }
    FScrolling = false;
    Perform(user::WM_NCPAINT, 0, 0);
    if (OnAfterScroll) OnAfterScroll(this);
}

bool TsScrollBox::ScrollMessage(TMessage& m) {
    if (m.LParam != 0) return false;   // from a child scroll bar control
    const int code = int(user::LOWORD(m.WParam));
    const int position = int(std::int16_t(user::HIWORD(m.WParam)));
    const bool thumb = code == scPosition || code == scTrack;
    if (m.Msg == user::WM_HSCROLL) {
        if (!thumb || FHorzBar == nullptr) return false;
        FHorzBar->SetPosition(position);
    } else if (FVertBar == nullptr) {
    } else if (FVertBar->Visible()) {
        FVertBar->DoScroll(m);   // the change hook moves the content
        UpdateScrolls();
    } else if (thumb) {
        FVertBar->SetPosition(position);
    }
    m.Result = 0;
    return true;
}

// A newly focused control inside the box that is not wholly on the box is scrolled into view with its margins;
// one wider or taller than the view is aligned with its left or top edge.
void TsScrollBox::FocusInView(TControl* control) {
    if (control == nullptr || control == this || !ContainsControl(control) || control->Parent() == nullptr) return;
    const TPoint screen = control->Parent()->ClientToScreen(TPoint {control->Left(), control->Top()});
    const TRect onScreen {screen.x, screen.y, screen.x + control->Width(), screen.y + control->Height()};
    const TPoint boxCorner = Parent() != nullptr ? Parent()->ClientToScreen(TPoint {Left(), Top()}) : TPoint {0, 0};
    const TRect box {boxCorner.x, boxCorner.y, boxCorner.x + Width(), boxCorner.y + Height()};
    if (onScreen.left >= box.left && onScreen.top >= box.top && onScreen.right <= box.right
        && onScreen.bottom <= box.bottom)
        return;
    const TPoint corner = ScreenToClient(screen);
    const int mh = HorzScrollBar()->Margin(), mv = VertScrollBar()->Margin();
    TRect r {corner.x - mh, corner.y - mv, corner.x + control->Width() + mh, corner.y + control->Height() + mv};
    const int cw = ClientWidth(), ch = ClientHeight();
    classes::TComponentWatch watch(this);
    if (FHorzBar != nullptr) {
        if (r.left < 0) {
            FHorzBar->SetPosition(FHorzBar->Position() + r.left);
        } else if (r.right > cw) {
            if (r.right - r.left > cw) r.right = r.left + cw;
            FHorzBar->SetPosition(FHorzBar->Position() + r.right - cw);
        }
    }
    if (!watch.Alive() || FVertBar == nullptr) return;
    if (r.top < 0) {
        FVertBar->SetPosition(FVertBar->Position() + r.top);
    } else if (r.bottom > ch) {
        if (r.bottom - r.top > ch) r.bottom = r.top + ch;
        FVertBar->SetPosition(FVertBar->Position() + r.bottom - ch);
    }
}

}
