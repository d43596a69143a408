// TsMDIForm: the skinned scroll bars over the MDI client window's own, and the grip between them.
#include "skin/windows/sMDIForm.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TForm.h"
#include "platform/user/Mdi.h"
#include "platform/user/Messages.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "skin/controls/sPanel.h"
#include "skin/engine/sScrollBar.h"
#include "skin/windows/sSkinProvider.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

inline constexpr int PageWhenNone = 80;

}

// One direction of the client's scroll state, shifted so that its range starts at 0.
struct TsMDIForm::TScrollState {
    bool Needed = false;
    int Offset = 0;   // the client's range start
    int Max = 0;   // the last position
    int Page = 0;
    int Position = 0;
};

TsMDIForm::TScrollState TsMDIForm::ReadScroll(bool vertical) const {
    TScrollState s;
    if (!PaintsClient() || FForm->ActiveMDIChild() == nullptr) return s;
    user::SCROLLINFO info;
    info.fMask = user::SIF_ALL;
    if (!user::GetScrollInfo(FClient, vertical ? user::SB_VERT : user::SB_HORZ, &info)) return s;
    if (info.nMax - info.nMin < int(info.nPage)) return s;
    s.Needed = true;
    s.Offset = info.nMin;
    s.Max = info.nMax - int(info.nPage) - s.Offset + 1;
    s.Position = info.nPos - s.Offset;
    s.Page = info.nPage == 0 ? PageWhenNone : int(info.nPage);
    return s;
}

TRect TsMDIForm::InsideEdge() const {
    user::RECT window {};
    user::GetWindowRect(FClient, &window);
    user::POINT corners[2] {{window.left, window.top}, {window.right, window.bottom}};
    user::MapWindowPoints(nullptr, FForm->WindowHandle(), corners, 2);
    return TRect {corners[0].x + ClientEdge, corners[0].y + ClientEdge, corners[1].x - ClientEdge,
        corners[1].y - ClientEdge};
}

void TsMDIForm::UpdateScrolls() {
    if (FForm == nullptr || FClient == nullptr || !user::IsWindow(FClient) || !FForm->HandleAllocated()) return;
    base::ValueRollback<bool> guard(FScrolling, true);
    const TScrollState v = ReadScroll(true);
    const TScrollState h = ReadScroll(false);
    const TRect inside = InsideEdge();
    const int cx = user::GetSystemMetrics(user::SM_CXVSCROLL);
    const int cy = user::GetSystemMetrics(user::SM_CYHSCROLL);
    const bool both = v.Needed && h.Needed;
    // The vertical bar leaves the corner to the grip; the horizontal one stops at the vertical one. Read right
    // to left, the vertical bar lies along the left edge, over the client's own bar there.
    const bool onLeft = FForm->UseRightToLeftScrollBar();
    const int vLeft = onLeft ? inside.left : inside.right - cx;
    const int beside = v.Needed ? cx : 0;
    LayBar(true, v, TRect {vLeft, inside.top, vLeft + cx, inside.bottom - (both ? cy : 0)});
    LayBar(false, h,
        onLeft ? TRect {inside.left + beside, inside.bottom - cy, inside.right, inside.bottom}
               : TRect {inside.left, inside.bottom - cy, inside.right - beside, inside.bottom});
    LayGrip(both, TRect {vLeft, inside.bottom - cy, vLeft + cx, inside.bottom});
}

void TsMDIForm::LayBar(bool vertical, const TScrollState& state, const TRect& bounds) {
    TsScrollBar*& bar = vertical ? FVertBar : FHorzBar;
    if (!state.Needed) {
        if (bar != nullptr) bar->SetVisible(false);
        return;
    }
    (vertical ? FOffsetV : FOffsetH) = state.Offset;
    if (bar == nullptr) bar = MakeBar(vertical);
    bar->SetParams(state.Position, 0, state.Max);
    bar->SetPageSize(state.Page);
    bar->SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
    bar->SetVisible(true);
    bar->BringToFront();
}

void TsMDIForm::LayGrip(bool shown, const TRect& bounds) {
    if (!shown) {
        if (FGrip != nullptr) FGrip->SetVisible(false);
        return;
    }
    if (FGrip == nullptr) {
        FGrip = Create<TsGrip>(FProvider);
        FGrip->SkinData()->SetSkinManager(FProvider->SkinData()->OwnSkinManager());
        FGrip->SetLinkedControl(FForm);
        FGrip->SetParent(FForm);
    }
    FGrip->SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
    FGrip->SetVisible(true);
    FGrip->BringToFront();
}

TsScrollBar* TsMDIForm::MakeBar(bool vertical) {
    auto* bar = Create<TsScrollBar>(FForm);
    bar->SkinData()->SetSkinManager(FProvider->SkinData()->OwnSkinManager());
    bar->SetVisible(false);
    bar->SetTabStop(false);
    bar->SetKind(vertical ? sbVertical : sbHorizontal);
    bar->SetHostControl(FForm);
    bar->ChangeHook = [this, vertical](TsScrollBar* b, int) { BarChanged(b, vertical); };
    bar->OnScroll = [this, bar](TObject*, TScrollCode, int&) { BarScrolled(bar); };
    bar->SetParent(FForm);
    return bar;
}

// The client moves its children to the bar's position.
void TsMDIForm::BarChanged(TsScrollBar* bar, bool vertical) {
    if (FScrolling || FClient == nullptr) return;
    base::ValueRollback<bool> guard(FScrolling, true);
    const int position = bar->Position() + (vertical ? FOffsetV : FOffsetH);
    user::SendMessage(FClient, vertical ? user::WM_VSCROLL : user::WM_HSCROLL,
        user::MAKEWPARAM(user::SB_THUMBPOSITION, std::uint16_t(position)), 0);
}

// After every scroll the client sets its ranges again and the bars follow (a scroll the bars report while
// they are set up is ours). Messages handled meanwhile may take the skin, the MDI support or the form away:
// the bar, which goes with any of them, tells.
void TsMDIForm::BarScrolled(TsScrollBar* bar) {
    if (FScrolling || FClient == nullptr || !user::IsWindow(FClient)) return;
    user::RECT r {};
    user::GetClientRect(FClient, &r);
    user::SendMessage(FClient, user::WM_SIZE, user::SIZE_RESTORED, user::MAKELPARAM(r.right, r.bottom));
    TComponentWatch watch(bar);
    if (Application != nullptr) Application->ProcessMessages();
    if (!watch.Alive()) return;
    UpdateScrolls();
}

void TsMDIForm::Forget(const TComponent* component) {
    if (component == FVertBar) FVertBar = nullptr;
    if (component == FHorzBar) FHorzBar = nullptr;
    if (component == FGrip) FGrip = nullptr;
}

void TsMDIForm::FreeScrolls() {
    for (TComponent* part : std::initializer_list<TComponent*> {FVertBar, FHorzBar, FGrip})
        if (part != nullptr && !part->ComponentState().Contains(csDestroying)) delete part;
    FVertBar = nullptr;
    FHorzBar = nullptr;
    FGrip = nullptr;
}

}
