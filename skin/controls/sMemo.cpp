// TsMemo: construction, the frame from the cache with the gaps beside the skinned bars, colours in step with
// the section, the skinned bars kept in step with the native scroll information, and the messages.
#include "skin/controls/sMemo.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/user/MessageIds.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/controls/EditConstants.h"
#include "skin/controls/sEditFrame.h"
#include "skin/controls/sEditScrolls.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sStyleSimply.h"

namespace korvex::skin {

using namespace korvex::classes;

TsMemo::TsMemo(TComponent* owner)
    : TsScrolledEdit(owner) {
    SkinData()->ControlKind = TacControlKind::Memo;
    if (SkinData()->SkinSection().empty()) SkinData()->SetSkinSection("EDIT");
    SetControlStyle(ControlStyle() - TControlStyle {csOpaque});
}

TsMemo::~TsMemo() = default;

TClass TsMemo::StaticClass() {
    using T = TsMemo;
    static const TClassInfo info = MakeClass<T, TMemo>("TsMemo", [](TPropertyBuilder<T>& p) {
        p.Object("BoundLabel", &T::BoundLabel);
        p.Object("SkinData", &T::SkinData);
        p.Set("DisabledKind", &T::DisabledKind, &T::SetDisabledKind, DisabledKindIdents, DefaultDisabledKind);
        p.Event("OnScrollCaret", &T::OnScrollCaret);
        p.Event("OnVScroll", &T::OnVScroll);
    });
    return &info;
}

// ---- Painting ------------------------------------------------------------------------------------------------

void TsMemo::PaintFrame() {
    PaintFrameBesideBars(this, SkinData(), VertBar(), HorzBar(), [this] { PrepareCache(); });
}

// ---- Scroll bars ---------------------------------------------------------------------------------------------

void TsMemo::FeedBars() {
    const bool designing = ControlDesigning(this);
    user::SCROLLINFO vi;
    user::SCROLLINFO hi;
    vi.fMask = hi.fMask = user::SIF_ALL;
    const bool vertical = (ScrollBars() == ssVertical || ScrollBars() == ssBoth)
        && user::GetScrollInfo(WindowHandle(), user::SB_VERT, &vi);
    const bool horizontal = (ScrollBars() == ssHorizontal || ScrollBars() == ssBoth)
        && user::GetScrollInfo(WindowHandle(), user::SB_HORZ, &hi);
    auto moved = [this](TsScrollBar* bar) { SendBarPosition(this, bar, user::SB_THUMBPOSITION); };
    FeedEditBar(KeepBar(sbVertical, vertical, moved), vi, Enabled() && !designing);
    FeedEditBar(KeepBar(sbHorizontal, horizontal, moved), hi,
        Enabled() && !designing && (!WordWrap() || Alignment() == taLeftJustify));
}

// ---- Messages ------------------------------------------------------------------------------------------------

void TsMemo::WndProc(TMessage& m) {
    SkinnedMessage(m);
    BoundLabelUpkeep(m, this, BoundLabel());
}

void TsMemo::SkinnedMessage(TMessage& m) {
    TsCommonData* data = SkinData();
    TacEditCommandHooks hooks = BarCommandHooks();
    hooks.Refresh = [this] {
        Perform(user::WM_ERASEBKGND, 0, 0);
        Repaint();
    };
    hooks.RenderCache = [this] { PrepareCache(); };
    if (EditSkinPrologue(m, this, data, hooks, [this](TMessage& msg) { TMemo::WndProc(msg); }) == TacStep::Done)
        return;
    const bool wasHot = data->IsHot();
    if (m.Msg == user::WM_PAINT) {
        KeepEditColors(this, data, wasHot);
        data->SetUpdating(data->IsUpdating());
        if (!data->Updating) PaintFrame();
    }
    if (FrameMessage(m) == TacStep::Done) return;
    if (!PassOn(m)) return;
    AfterMessage(m);
    FollowHotChange(m, this, data, wasHot);
    switch (m.Msg) {
    case user::WM_VSCROLL:
        if (OnVScroll) OnVScroll(this);   // may free the memo: nothing after it
        return;
    case user::EM_SETSEL:
        if (OnScrollCaret) OnScrollCaret(this);
        return;
    default:
        break;
    }
}

void TsMemo::AfterMessage(const TMessage& m) {
    if (KeepBarsAfter(m)) return;
    const bool loading = ComponentState().Contains(csLoading);
    switch (m.Msg) {
    case user::WM_PAINT:
        UpdateScrolls();
        break;
    case user::WM_MOUSEMOVE:
    case user::WM_WINDOWPOSCHANGED:
        if (MouseDown() && !ControlDesigning(this)) UpdateScrolls();
        break;
    case user::WM_MOVE:
        if (Visible() && !loading) UpdateScrolls();
        break;
    case CM_BIDIMODECHANGED:
    case CM_PARENTBIDIMODECHANGED:
    case CN_KEYDOWN:
    case CN_KEYUP:
        if (Visible() && !loading) UpdateScrolls();
        break;
    default:
        break;
    }
}

}
