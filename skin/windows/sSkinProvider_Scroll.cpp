// TsSkinProvider: a scrolling form's skinned bars over the client's right and bottom edges, a grip in the
// corner between them, and the form's controls moved as the bars move.
#include "skin/windows/sSkinProvider.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/ControlMessages.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/Window.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "skin/controls/sPanel.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sSkinManager.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

inline constexpr int LargeChange = 80;
inline constexpr int WheelLines = 3;

}

struct TsSkinProvider::TScrollDescription {
    bool Needed = false;
    int Max = 0;
    int Page = 0;
    int SmallChange = 1;
    TRect Rect {};
};

bool TsSkinProvider::IsScrollPart(const TControl* control) const {
    return control == FVertBar || control == FHorzBar || control == FGrip;
}

// The size the content needs, measured from its home position (the controls moved back by the offsets).
int TsSkinProvider::ContentExtent(bool vertical) const {
    int extent = 0;
    for (int i = 0; i < FForm->ControlCount(); ++i) {
        const TControl* c = FForm->Controls(i);
        if (!c->Visible() || IsScrollPart(c)) continue;
        if (vertical && (c->Align() == alNone || c->Align() == alTop))
            extent = std::max(extent, c->Top() + c->Height() - FScrollOffsetV);
        if (!vertical && (c->Align() == alNone || c->Align() == alLeft))
            extent = std::max(extent, c->Left() + c->Width() - FScrollOffsetH);
    }
    extent += 2;
    if (vertical && FHorzBar != nullptr) extent += FHorzBar->Height();
    if (!vertical && FVertBar != nullptr) extent += FVertBar->Width();
    return extent;
}

TsSkinProvider::TScrollDescription TsSkinProvider::DescribeScroll(bool vertical) {
    TScrollDescription d;
    const TControlScrollBar* own = vertical ? FForm->VertScrollBar() : FForm->HorzScrollBar();
    if (!FFormAutoScroll || !own->Visible()) return d;
    const int width = FForm->ClientWidth();
    const int height = FForm->ClientHeight();
    d.Max = ContentExtent(vertical);
    if (own->Range() != 0) d.Max = std::max(d.Max, own->Range());
    d.Page = (vertical ? height : width) - 4;
    d.SmallChange = own->Increment();
    if (d.Max - d.Page >= 1) {
        d.Rect = vertical ? TRect {width - user::GetSystemMetrics(user::SM_CXVSCROLL), 0, width, height}
                          : TRect {0, height - user::GetSystemMetrics(user::SM_CYHSCROLL), width, height};
    }
    TsSkinManager* manager = FSkinData->SkinManager();
    d.Needed = manager != nullptr && manager->IsValidSkinIndex(FSkinData->SkinIndex) && FForm->Visible()
        && d.Max > d.Page + 4 && d.Max - d.Page >= 1;
    return d;
}

TsScrollBar* TsSkinProvider::MakeFormBar(bool vertical) {
    auto* bar = Create<TsScrollBar>(FForm);
    bar->SkinData()->SetSkinManager(FSkinData->OwnSkinManager());
    bar->SetVisible(false);
    bar->SetHostControl(FForm);
    bar->ChangeHook = [this, vertical](TsScrollBar* b, int previous) { FormBarChanged(b, previous, vertical); };
    bar->PaintingSuppressed = true;
    bar->SetTabStop(false);
    bar->SetKind(vertical ? sbVertical : sbHorizontal);
    bar->SetSmooth(true);   // the controls follow the thumb while it is dragged
    bar->SetParent(FForm);
    return bar;
}

void TsSkinProvider::FreeFormBar(bool vertical) {
    ResetScroll(vertical);
    TsScrollBar*& bar = vertical ? FVertBar : FHorzBar;
    delete std::exchange(bar, nullptr);
}

void TsSkinProvider::ResetScroll(bool vertical) {
    if (TsScrollBar* bar = vertical ? FVertBar : FHorzBar) bar->SetPosition(0);
}

void TsSkinProvider::UpdateFormScrolls() {
    if (FForm == nullptr || FScrolling || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)
        || FormBusy() || IsMdiParent() || IsMdiChild())
        return;
    base::ValueRollback<bool> laying(FScrolling, true);
    // A bar made changes the other direction's extent: laid out once more then.
    if (LayFormScrolls()) LayFormScrolls();
}

bool TsSkinProvider::LayFormScrolls() {
    const bool hadBars = FVertBar != nullptr && FHorzBar != nullptr;
    const TsScrollBar* hadVert = FVertBar;
    const TsScrollBar* hadHorz = FHorzBar;
    TScrollDescription v = DescribeScroll(true);
    TScrollDescription h = DescribeScroll(false);
    if (!v.Needed) ResetScroll(true);
    if (!h.Needed) ResetScroll(false);
    if (!Skinned() || !FForm->Visible()) {
        FreeFormBar(true);
        FreeFormBar(false);
        delete std::exchange(FGrip, nullptr);
        return false;
    }
    if (!v.Needed) FreeFormBar(true);
    if (!h.Needed) FreeFormBar(false);
    if (v.Needed && h.Needed) {
        if (FGrip == nullptr) {
            FGrip = Create<TsGrip>(this);
            FGrip->SkinData()->SetSkinManager(FSkinData->OwnSkinManager());
            FGrip->SetLinkedControl(FForm);
            FGrip->SetParent(FForm);
        }
        v.Rect.bottom -= h.Rect.Height();
        h.Rect.right -= v.Rect.Width();
        FGrip->SetBounds(v.Rect.left, h.Rect.top, v.Rect.Width(), h.Rect.Height());
        FGrip->SetVisible(true);
    } else {
        delete std::exchange(FGrip, nullptr);
    }
    for (bool vertical : {true, false}) {
        const TScrollDescription& d = vertical ? v : h;
        if (!d.Needed) continue;
        TsScrollBar*& bar = vertical ? FVertBar : FHorzBar;
        if (bar == nullptr) bar = MakeFormBar(vertical);
        bar->PaintingSuppressed = true;
        {
            base::ValueRollback<bool> quiet(bar->NoNotify, true);   // a clamped position moves nothing yet
            bar->SetMax(d.Max - d.Page);
            bar->SetMin(0);
        }
        bar->SetSmallChange(TScrollBarInc(d.SmallChange));
        bar->SetPageSize(d.Page);
        bar->SetLargeChange(TScrollBarInc(LargeChange));
        bar->PaintingSuppressed = false;
        bar->SetBounds(d.Rect.left, d.Rect.top, d.Rect.Width(), d.Rect.Height());
        bar->SetVisible(true);
        bar->BringToFront();
    }
    if (FGrip != nullptr) FGrip->BringToFront();
    // A maximum lowered under the position: the controls follow the clamped position.
    for (bool vertical : {true, false}) {
        TsScrollBar* bar = vertical ? FVertBar : FHorzBar;
        const int offset = vertical ? FScrollOffsetV : FScrollOffsetH;
        if (bar != nullptr && -offset != bar->Position()) FormBarChanged(bar, -offset, vertical);
    }
    return !hadBars && (FVertBar != hadVert || FHorzBar != hadHorz);
}

// The bar moved from previous to its position: the controls move the other way.
void TsSkinProvider::FormBarChanged(TsScrollBar* bar, int previous, bool vertical) {
    if (FScrollGuard) return;
    base::ValueRollback<bool> guard(FScrollGuard, true);
    base::ValueRollback<bool> quiet(bar->PaintingSuppressed, true);
    const int d = previous - bar->Position();
    (vertical ? FScrollOffsetV : FScrollOffsetH) += d;
    bar->SetEnabled(false);
    if (vertical)
        ScrollControls(0, d);
    else
        ScrollControls(d, 0);
    bar->SetEnabled(true);
}

void TsSkinProvider::ScrollControls(int dx, int dy) {
    if (dx == 0 && dy == 0) return;
    FForm->DisableAlign();
    {
        auto enable = base::ScopeExit([this] {
            FForm->Realign();
            FForm->EnableAlign();
        });
        const bool shown = FForm->HandleAllocated() && user::IsWindowVisible(FForm->WindowHandle());
        for (int i = 0; i < FForm->ControlCount(); ++i) {
            TControl* c = FForm->Controls(i);
            if (IsScrollPart(c) || dynamic_cast<TsScrollBar*>(c) != nullptr || dynamic_cast<TsGrip*>(c) != nullptr)
                continue;
            auto* windowed = dynamic_cast<TWinControl*>(c);
            if (shown || windowed == nullptr || !windowed->HandleAllocated()) {
                c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
            } else {
                user::SetWindowPos(windowed->WindowHandle(), nullptr, c->Left() + dx, c->Top() + dy, 0, 0,
                    user::SWP_NOZORDER | user::SWP_NOACTIVATE | user::SWP_NOSIZE);
            }
        }
    }
    if (FForm->HandleAllocated()) user::InvalidateRect(FForm->WindowHandle(), nullptr, false);
}

// The wheel over a scrolling form moves its vertical bar when nothing under the mouse took it.
bool TsSkinProvider::FormWheel(TMessage& message) {
    if (FVertBar == nullptr || !FVertBar->Visible() || message.Result != 0) return false;
    const int delta = user::GET_WHEEL_DELTA_WPARAM(message.WParam);
    const int lines = -delta * WheelLines / user::WHEEL_DELTA;
    if (lines == 0) return false;
    FVertBar->SetPosition(FVertBar->Position() + lines * std::max(FForm->VertScrollBar()->Increment(), 1));
    message.Result = 1;
    return true;
}

}
