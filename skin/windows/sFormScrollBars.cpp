// TsFormScrollBars: a scrolling form's skinned bars, the grip between them and the controls that follow them.
#include "skin/windows/sFormScrollBars.h"

#include "platform/base/ScopeGuard.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "skin/controls/sPanel.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sSkinProvider.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

inline constexpr int LargeChange = 80;

// A skinned bar or grip laid over another window follows that window, not the content.
bool ServesAHost(const TControl* c) {
    if (const auto* bar = dynamic_cast<const TsScrollBar*>(c)) return bar->HostControl() != nullptr;
    if (const auto* grip = dynamic_cast<const TsGrip*>(c)) return grip->LinkedControl() != nullptr;
    return false;
}

}

struct TsFormScrollBars::TDescription {
    bool Needed = false;
    int Max = 0;
    int Page = 0;
    int SmallChange = 1;
    TRect Rect {};
};

TsFormScrollBars::~TsFormScrollBars() = default;

void TsFormScrollBars::FreeBars() {
    for (TsScrollBar* bar : {FVertBar, FHorzBar})
        if (bar != nullptr && !bar->ComponentState().Contains(csDestroying)) delete bar;
}

void TsFormScrollBars::Forget(const TComponent* component) {
    if (component == FVertBar) FVertBar = nullptr;
    if (component == FHorzBar) FHorzBar = nullptr;
    if (component == FGrip) FGrip = nullptr;
}

bool TsFormScrollBars::IsPart(const TControl* control) const {
    return control == FVertBar || control == FHorzBar || control == FGrip;
}

// The size the content needs, measured from its home position (the controls moved back by the offsets).
int TsFormScrollBars::ContentExtent(bool vertical) const {
    const TCustomForm* form = FProvider.Form();
    int extent = 0;
    for (int i = 0; i < form->ControlCount(); ++i) {
        const TControl* c = form->Controls(i);
        if (!c->Visible() || IsPart(c)) continue;
        if (vertical && (c->Align() == alNone || c->Align() == alTop))
            extent = std::max(extent, c->Top() + c->Height() - FOffsetV);
        if (!vertical && (c->Align() == alNone || c->Align() == alLeft))
            extent = std::max(extent, c->Left() + c->Width() - FOffsetH);
    }
    extent += 2;
    if (vertical && FHorzBar != nullptr) extent += FHorzBar->Height();
    if (!vertical && FVertBar != nullptr) extent += FVertBar->Width();
    return extent;
}

TsFormScrollBars::TDescription TsFormScrollBars::Describe(bool vertical) const {
    TDescription d;
    const TCustomForm* form = FProvider.Form();
    const TControlScrollBar* own = vertical ? form->VertScrollBar() : form->HorzScrollBar();
    if (!FFormAutoScroll || !own->Visible()) return d;
    const int width = form->ClientWidth();
    const int height = form->ClientHeight();
    d.Max = ContentExtent(vertical);
    if (own->Range() != 0) d.Max = std::max(d.Max, own->Range());
    d.Page = (vertical ? height : width) - 4;
    d.SmallChange = own->Increment();
    if (d.Max - d.Page >= 1) {
        const int cx = user::GetSystemMetrics(user::SM_CXVSCROLL);
        if (!vertical)
            d.Rect = TRect {0, height - user::GetSystemMetrics(user::SM_CYHSCROLL), width, height};
        else if (form->BiDiMode() == bdRightToLeft)
            d.Rect = TRect {1, 1, cx + 1, height - 1};
        else
            d.Rect = TRect {width - cx, 0, width, height};
    }
    const TsCommonData* data = FProvider.SkinData();
    const TsSkinManager* manager = data->SkinManager();
    d.Needed = manager != nullptr && manager->IsValidSkinIndex(data->SkinIndex) && form->Visible() && d.Max > d.Page + 4
        && d.Max - d.Page >= 1;
    return d;
}

TsScrollBar* TsFormScrollBars::MakeBar(bool vertical) {
    TCustomForm* form = FProvider.Form();
    auto* bar = Create<TsScrollBar>(form);
    bar->SkinData()->SetSkinManager(FProvider.SkinData()->OwnSkinManager());
    bar->SetVisible(false);
    bar->SetHostControl(form);
    bar->ChangeHook = [this, vertical](TsScrollBar* b, int previous) { BarChanged(b, previous, vertical); };
    bar->PaintingSuppressed = true;
    bar->SetTabStop(false);
    bar->SetKind(vertical ? sbVertical : sbHorizontal);
    bar->SetParent(form);
    return bar;
}

void TsFormScrollBars::FreeBar(bool vertical) {
    Reset(vertical);
    TsScrollBar*& bar = vertical ? FVertBar : FHorzBar;
    delete std::exchange(bar, nullptr);
}

void TsFormScrollBars::Reset(bool vertical) {
    if (TsScrollBar* bar = vertical ? FVertBar : FHorzBar) bar->SetPosition(0);
}

void TsFormScrollBars::Update(bool skinned) {
    if (FScrolling) return;
    base::ValueRollback<bool> laying(FScrolling, true);
    // A bar made changes the other direction's extent: laid out once more then.
    if (Lay(skinned)) Lay(skinned);
}

bool TsFormScrollBars::Lay(bool skinned) {
    TCustomForm* form = FProvider.Form();
    const bool hadBars = FVertBar != nullptr && FHorzBar != nullptr;
    const TsScrollBar* hadVert = FVertBar;
    const TsScrollBar* hadHorz = FHorzBar;
    TDescription v = Describe(true);
    TDescription h = Describe(false);
    if (!v.Needed) Reset(true);
    if (!h.Needed) Reset(false);
    if (!skinned || !form->Visible()) {
        FreeBar(true);
        FreeBar(false);
        delete std::exchange(FGrip, nullptr);
        return false;
    }
    if (!v.Needed) FreeBar(true);
    if (!h.Needed) FreeBar(false);
    if (v.Needed && h.Needed) {
        if (FGrip == nullptr) {
            FGrip = Create<TsGrip>(&FProvider);
            FGrip->SkinData()->SetSkinManager(FProvider.SkinData()->OwnSkinManager());
            FGrip->SetLinkedControl(form);
            FGrip->SetParent(form);
        }
        v.Rect.bottom -= h.Rect.Height();
        if (form->BiDiMode() == bdRightToLeft)
            h.Rect.left += v.Rect.Width();
        else
            h.Rect.right -= v.Rect.Width();
        FGrip->SetBounds(v.Rect.left, h.Rect.top, h.Rect.Height(), v.Rect.Width());
        FGrip->SetVisible(true);
    } else {
        delete std::exchange(FGrip, nullptr);
    }
    for (bool vertical : {true, false}) {
        const TDescription& d = vertical ? v : h;
        if (!d.Needed) continue;
        TsScrollBar*& bar = vertical ? FVertBar : FHorzBar;
        if (bar == nullptr) bar = MakeBar(vertical);
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
        // The controls follow a dragged thumb only when the form's own bar of that direction tracks.
        bar->SetSmooth((vertical ? form->VertScrollBar() : form->HorzScrollBar())->Tracking());
        bar->SetVisible(true);
        bar->BringToFront();
    }
    if (FGrip != nullptr) FGrip->BringToFront();
    // A maximum lowered under the position: the controls follow the clamped position.
    for (bool vertical : {true, false}) {
        TsScrollBar* bar = vertical ? FVertBar : FHorzBar;
        const int offset = vertical ? FOffsetV : FOffsetH;
        if (bar != nullptr && -offset != bar->Position()) BarChanged(bar, -offset, vertical);
    }
    return !hadBars && (FVertBar != hadVert || FHorzBar != hadHorz);
}

// The bar moved from previous to its position: the controls move the other way.
void TsFormScrollBars::BarChanged(TsScrollBar* bar, int previous, bool vertical) {
    if (FScrollGuard) return;
    base::ValueRollback<bool> guard(FScrollGuard, true);
    base::ValueRollback<bool> quiet(bar->PaintingSuppressed, true);
    const int d = previous - bar->Position();
    (vertical ? FOffsetV : FOffsetH) += d;
    bar->SetEnabled(false);
    if (vertical)
        ScrollControls(0, d);
    else
        ScrollControls(d, 0);
    bar->SetEnabled(true);
}

void TsFormScrollBars::ScrollControls(int dx, int dy) {
    if (dx == 0 && dy == 0) return;
    TCustomForm* form = FProvider.Form();
    form->DisableAlign();
    {
        auto enable = base::ScopeExit([form] {
            form->Realign();
            form->EnableAlign();
        });
        const bool shown = form->HandleAllocated() && user::IsWindowVisible(form->WindowHandle());
        for (int i = 0; i < form->ControlCount(); ++i) {
            TControl* c = form->Controls(i);
            if (IsPart(c) || ServesAHost(c)) continue;
            auto* windowed = dynamic_cast<TWinControl*>(c);
            if (shown || windowed == nullptr || !windowed->HandleAllocated()) {
                c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
            } else {
                user::SetWindowPos(windowed->WindowHandle(), nullptr, c->Left() + dx, c->Top() + dy, 0, 0,
                    user::SWP_NOZORDER | user::SWP_NOACTIVATE | user::SWP_NOSIZE);
            }
        }
    }
}

}
