// TsScrollBox: the skinned bars (laid out, kept in step with the content), clamped scrolling, focus in view.
#include "skin/controls/sScrollBox.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/ControlMessages.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TScrollBar.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sStyleSimply.h"

#include <algorithm>
#include <cstdint>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

bool Shown(const TsScrollBar* bar) {
    return bar != nullptr && bar->Visible();
}

}

bool TsScrollBox::SkinActive() const {
    return !ControlDestroying(this) && FCommonData->Skinned(true);
}

TRect TsScrollBox::GetClientRect() const {
    TRect r = TScrollingWinControl::GetClientRect();
    if (Shown(FVertBar)) r.right = std::max(r.left, r.right - FVertBar->Width());
    if (Shown(FHorzBar)) r.bottom = std::max(r.top, r.bottom - FHorzBar->Height());
    return r;
}

void TsScrollBox::AdjustClientRect(TRect& rect) {
    TScrollingWinControl::AdjustClientRect(rect);
    if (!FNativeHidden) return;
    // The native bars are hidden, so aligned children are laid out in the whole scrolled area.
    if (FHorzBar != nullptr) {
        rect.left = -HorzScrollBar()->Position();
        rect.right = std::max(HorzScrollBar()->Range(), ClientWidth()) + rect.left;
    }
    if (FVertBar != nullptr) {
        rect.top = -VertScrollBar()->Position();
        rect.bottom = std::max(VertScrollBar()->Range(), ClientHeight()) + rect.top;
    }
}

void TsScrollBox::AlignControls(TControl* control, TRect& rect) {
    TScrollingWinControl::AlignControls(control, rect);
    if (!FScrolling) UpdateScrolls();
}

void TsScrollBox::WMSize(TMessage& m) {
    TScrollingWinControl::WMSize(m);
    if (!FScrolling) UpdateScrolls();
    if (FNativeHidden && Visible()) NcPaint();
}

void TsScrollBox::SetBounds(int left, int top, int width, int height) {
    const bool moved = left != Left() || top != Top();
    TScrollingWinControl::SetBounds(left, top, width, height);
    if (moved && !FScrolling) UpdateScrolls();
}

void TsScrollBox::SetParent(TWinControl* value) {
    TScrollingWinControl::SetParent(value);
    for (TsScrollBar* bar : {FVertBar, FHorzBar})
        if (bar != nullptr && !ControlDestroying(bar)) bar->SetParent(value);
    if (FCorner != nullptr && !ControlDestroying(FCorner)) FCorner->SetParent(value);
    if (value != nullptr) UpdateScrolls();
}

// ---- The bars ----------------------------------------------------------------------------------------------

void TsScrollBox::HideNativeBars() {
    if (FNativeHidden || ControlDesigning(this)) return;
    FSavedVertVisible = VertScrollBar()->Visible();
    FSavedHorzVisible = HorzScrollBar()->Visible();
    FNativeHidden = true;   // first: hiding them realigns, and the layout asks
    VertScrollBar()->SetVisible(false);
    HorzScrollBar()->SetVisible(false);
}

void TsScrollBox::HideSkinBars() {
    LayCorner(false);
    if (FVertBar != nullptr) {
        FVertBar->SetVisible(false);
        SyncBarPosition(FVertBar, 0);
    }
    if (FHorzBar != nullptr) {
        FHorzBar->SetVisible(false);
        SyncBarPosition(FHorzBar, FHorzBar->Min());
    }
}

void TsScrollBox::RestoreNativeBars() {
    HideSkinBars();
    if (!FNativeHidden) return;
    FNativeHidden = false;
    VertScrollBar()->SetVisible(FSavedVertVisible);
    HorzScrollBar()->SetVisible(FSavedHorzVisible);
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
    bar->SetSmooth(true);   // the content follows the thumb while it is dragged
    bar->SetParent(Parent());
    return bar;
}

void TsScrollBox::SyncBarPosition(TsScrollBar* bar, int position) {
    base::ValueRollback<bool> quiet(bar->NoNotify, true);
    bar->SetPosition(position);
}

void TsScrollBox::UpdateScrolls() {
    if (FLaying || ControlDestroying(this) || ControlDesigning(this)) return;
    base::ValueRollback<bool> laying(FLaying, true);
    UpdateScrollRanges();
    if (!SkinActive() || !Visible() || Parent() == nullptr) {
        HideSkinBars();
        return;
    }
    HideNativeBars();
    const int f = FrameWidth();
    const int cx = user::GetSystemMetrics(user::SM_CXVSCROLL);
    const int cy = user::GetSystemMetrics(user::SM_CYHSCROLL);
    const int fullW = std::max(Width() - 2 * f, 0), fullH = std::max(Height() - 2 * f, 0);
    const int rangeH = HorzScrollBar()->Range(), rangeV = VertScrollBar()->Range();
    // A bar takes room from the other direction, which may then need its bar too.
    bool needV = FSavedVertVisible && fullH >= 1 && rangeV > fullH;
    bool needH = FSavedHorzVisible && rangeH > fullW - (needV ? cx : 0) && fullW - (needV ? cx : 0) >= 1;
    if (needH && !needV) needV = FSavedVertVisible && rangeV > fullH - cy && fullH - cy >= 1;
    if (needV && FVertBar == nullptr) FVertBar = MakeBar(sbVertical);
    if (needH && FHorzBar == nullptr) FHorzBar = MakeBar(sbHorizontal);
    if (!needV && FVertBar != nullptr) {
        FVertBar->SetVisible(false);
        SyncBarPosition(FVertBar, 0);
    }
    if (!needH && FHorzBar != nullptr) {
        FHorzBar->SetVisible(false);
        SyncBarPosition(FHorzBar, FHorzBar->Min());
    }
    // The client size now excludes the bars to be shown: the native positions are clamped to it.
    if (needV) FVertBar->SetVisible(true);
    if (needH) FHorzBar->SetVisible(true);
    UpdateScrollRanges();
    const TRect box = BoundsRect();
    if (needV) {
        base::ValueRollback<bool> suppressed(FVertBar->PaintingSuppressed, true);
        const int page = fullH - (needH ? cy : 0);
        FVertBar->SetSmallChange(VertScrollBar()->Increment());
        FVertBar->SetPageSize(page);
        FVertBar->SetLargeChange(page);
        {
            base::ValueRollback<bool> quiet(FVertBar->NoNotify, true);
            FVertBar->SetParams(VertScrollBar()->Position(), 0, std::max(rangeV - page, 0));
        }
        FVertBar->SetBounds(box.right - f - cx, box.top + f, cx, fullH - (needH ? cy : 0));
    }
    if (needH) {
        base::ValueRollback<bool> suppressed(FHorzBar->PaintingSuppressed, true);
        const int page = fullW - (needV ? cx : 0);
        FHorzBar->SetSmallChange(HorzScrollBar()->Increment());
        FHorzBar->SetPageSize(page);
        FHorzBar->SetLargeChange(page);
        {
            base::ValueRollback<bool> quiet(FHorzBar->NoNotify, true);
            FHorzBar->SetParams(HorzScrollBar()->Position(), 0, std::max(rangeH - page, 0));
        }
        FHorzBar->SetBounds(box.left + f, box.bottom - f - cy, fullW - (needV ? cx : 0), cy);
    }
    for (TsScrollBar* bar : {FVertBar, FHorzBar}) {
        if (!Shown(bar)) continue;
        bar->PaintingSuppressed = false;
        ShowSkinScrollBar(bar, this);   // over the box: shown without activation, on top
        bar->Invalidate();
    }    LayCorner(needV && needH);
}

void TsScrollBox::LayCorner(bool shown) {
    if (!shown) {
        if (FCorner != nullptr) FCorner->SetVisible(false);
        return;
    }
    if (FCorner == nullptr) {
        FCorner = Create<TsScrollBoxCorner>(this, this);
        FCorner->SetVisible(false);
    }
    FCorner->SetParent(Parent());
    FCorner->SetBounds(FVertBar->Left(), FHorzBar->Top(), FVertBar->Width(), FHorzBar->Height());
    FCorner->SetVisible(true);
    ShowWindowNoActivate(FCorner);   // on top of the box, as the bars
    FCorner->Invalidate();
}

// A skinned bar moved (by its user or by its host's messages): the content follows.
void TsScrollBox::BarChanged(TsScrollBar* bar, int previousPosition) {
    TControlScrollBar* native = bar == FVertBar ? VertScrollBar() : HorzScrollBar();
    if (previousPosition == bar->Position() && native->Position() == bar->Position()) return;
    classes::TComponentWatch watch(this);
    {
        base::ValueRollback<bool> scrolling(FScrolling, true);
        if (OnBeforeScroll) OnBeforeScroll(this);
        if (!watch.Alive()) return;
        base::ValueRollback<bool> suppressed(bar->PaintingSuppressed, true);
        TMessage updating = MakeSkinCommand(SMC_SETUPDATING, 1);
        BroadcastToChildren(this, updating);
        native->SetPosition(bar->Position());
        TMessage done = MakeSkinCommand(SMC_SETUPDATING, 0);
        BroadcastToChildren(this, done);
        Perform(SM_SKINCMD, SkinCommandWParam(SMC_MOVED, 1), 0);
    }
    // The native bar clamps to the same range; should they ever differ, the bar shows where the content is.
    if (native->Position() != bar->Position()) SyncBarPosition(bar, native->Position());
    if (HandleAllocated())
        user::RedrawWindow(WindowHandle(), nullptr, nullptr,
            user::RDW_INVALIDATE | user::RDW_NOERASE | user::RDW_ALLCHILDREN | user::RDW_UPDATENOW | user::RDW_FRAME);
    if (OnAfterScroll) OnAfterScroll(this);
}

// ---- Scrolling ---------------------------------------------------------------------------------------------

int TsScrollBox::ClampedDelta(TControlScrollBar* bar, int delta) const {
    if (bar == nullptr || delta == 0) return 0;
    int minPos = 0, maxPos = 0;
    if (FNativeHidden) {
        const TsScrollBar* skinBar = bar->Kind() == sbHorizontal ? FHorzBar : FVertBar;
        if (!Shown(skinBar)) return 0;
        minPos = skinBar->Min();
        maxPos = std::max(skinBar->Max(), minPos);
    } else {
        if (!bar->IsScrollBarVisible()) return 0;
        const int client = bar->Kind() == sbHorizontal ? ClientWidth() : ClientHeight();
        maxPos = std::max(bar->Range() - client, 0);
    }
    const std::int64_t wanted = std::int64_t(bar->Position()) - delta;   // a delta of INT_MIN must not overflow
    const int pos = int(std::clamp<std::int64_t>(wanted, minPos, maxPos));
    return bar->Position() - pos;
}

void TsScrollBox::ScrollBy(int deltaX, int deltaY) {
    classes::TComponentWatch watch(this);
    FScrolling = true;
    if (OnBeforeScroll) OnBeforeScroll(this);
    if (!watch.Alive()) return;
    const int dx = ClampedDelta(HorzScrollBar(), deltaX);
    const int dy = ClampedDelta(VertScrollBar(), deltaY);
    const bool skinned = PaintsSkinned(FCommonData.get());
    TMessage updating = MakeSkinCommand(SMC_SETUPDATING, 1);
    if (skinned) BroadcastToChildren(this, updating);
    // The native bars hold the content's offset, hidden or not, so content and bars cannot drift apart.
    if (dx != 0) HorzScrollBar()->SetPosition(HorzScrollBar()->Position() - dx);
    if (dy != 0) VertScrollBar()->SetPosition(VertScrollBar()->Position() - dy);
    if (skinned) {
        TMessage done = MakeSkinCommand(SMC_SETUPDATING, 0);
        BroadcastToChildren(this, done);
        Perform(SM_SKINCMD, SkinCommandWParam(SMC_MOVED, 1), 0);
    }
    for (auto [bar, native] : {std::pair {FVertBar, VertScrollBar()}, std::pair {FHorzBar, HorzScrollBar()}}) {
        if (!Shown(bar) || bar->Position() == native->Position()) continue;
        {
            base::ValueRollback<bool> suppressed(bar->PaintingSuppressed, true);
            SyncBarPosition(bar, native->Position());
        }
        bar->UpdateBar();
    }
    FScrolling = false;
    if (skinned) NcPaint();
    if (OnAfterScroll) OnAfterScroll(this);
}

bool TsScrollBox::ScrollMessage(TMessage& m) {
    if (m.LParam != 0) return false;   // from a child scroll bar control
    TsScrollBar* bar = m.Msg == user::WM_VSCROLL ? FVertBar : FHorzBar;
    if (bar == nullptr) return m.Msg == user::WM_VSCROLL;
    const int code = int(user::LOWORD(m.WParam));
    if (bar->Visible()) {
        bar->DoScroll(m);   // the change hook moves the content
        UpdateScrolls();
    } else if (code == scPosition || code == scTrack) {
        bar->SetPosition(int(std::int16_t(user::HIWORD(m.WParam))));
    }
    m.Result = 0;
    return true;
}

// A newly focused control inside the box that is not wholly in view is scrolled into it; one wider or taller
// than the view is aligned with its left or top edge.
void TsScrollBox::FocusInView(TControl* control) {
    if (control == nullptr || control == this || !ContainsControl(control)) return;
    if (control->Parent() == nullptr) return;
    const TPoint corner = ScreenToClient(control->Parent()->ClientToScreen(TPoint {control->Left(), control->Top()}));
    TRect r {corner.x, corner.y, corner.x + control->Width(), corner.y + control->Height()};
    const int cw = ClientWidth(), ch = ClientHeight();
    if (r.left >= 0 && r.top >= 0 && r.right <= cw && r.bottom <= ch) return;
    classes::TComponentWatch watch(this);
    if (Shown(FHorzBar)) {
        if (r.left < 0) {
            FHorzBar->SetPosition(FHorzBar->Position() + r.left);
        } else if (r.right > cw) {
            if (r.right - r.left > cw) r.right = r.left + cw;
            FHorzBar->SetPosition(FHorzBar->Position() + r.right - cw);
        }
    }
    if (!watch.Alive()) return;
    if (Shown(FVertBar)) {
        if (r.top < 0) {
            FVertBar->SetPosition(FVertBar->Position() + r.top);
        } else if (r.bottom > ch) {
            if (r.bottom - r.top > ch) r.bottom = r.top + ch;
            FVertBar->SetPosition(FVertBar->Position() + r.bottom - ch);
        }
    }
}

}
