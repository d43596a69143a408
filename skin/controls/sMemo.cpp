// TsMemo: construction, the frame from the cache with the gaps beside the skinned bars, colours in step with
// the section, the skinned bars kept in step with the native scroll information, and the messages.
#include "skin/controls/sMemo.h"

#include "platform/base/ScopeGuard.h"
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
    : TMemo(owner), FCommonData(std::make_unique<TsCommonData>(this, true)) {
    FCommonData->ControlKind = ckMemo;
    if (FCommonData->SkinSection().empty()) FCommonData->SetSkinSection("EDIT");
    FBoundLabel = std::make_unique<TsBoundLabel>(FCommonData.get());
    SetControlStyle(ControlStyle() - TControlStyle {csOpaque});
}

TsMemo::~TsMemo() {
    FreeEditBars(FVertBar, FHorzBar);
    FBoundLabel.reset();
    FCommonData.reset();
}

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

void TsMemo::AfterConstruction() {
    TMemo::AfterConstruction();
    FCommonData->Loaded();
}

void TsMemo::Loaded() {
    TMemo::Loaded();
    FCommonData->Loaded();
}

void TsMemo::SetDisabledKind(TsDisabledKind value) {
    if (FDisabledKind == value) return;
    FDisabledKind = value;
    FCommonData->Invalidate();
}

void TsMemo::Notification(TComponent* component, TOperation operation) {
    TMemo::Notification(component, operation);
    if (operation == opRemove) ForgetEditBars(component, FVertBar, FHorzBar);
}

// ---- Painting ------------------------------------------------------------------------------------------------

void TsMemo::PrepareCache() {
    TsCommonData* data = FCommonData.get();
    RenderEditCache(this, data, data->IsHot() ? 1 : 0, FDisabledKind, nullptr);
}

void TsMemo::PaintFrame() {
    PaintFrameBesideBars(this, FCommonData.get(), FVertBar, FHorzBar, [this] { PrepareCache(); });
}

// ---- Scroll bars ---------------------------------------------------------------------------------------------

void TsMemo::UpdateScrolls() {
    if (FUpdatingScrolls) return;
    const TacEditBarsStep step = EditBarsStep(this, FCommonData.get());
    if (step == TacEditBarsStep::NotNow) return;
    base::ValueRollback<bool> updating(FUpdatingScrolls, true);
    if (step == TacEditBarsStep::Free) {
        FreeEditBars(FVertBar, FHorzBar);
        return;
    }
    const bool designing = ControlDesigning(this);
    user::SCROLLINFO vi;
    user::SCROLLINFO hi;
    vi.fMask = hi.fMask = user::SIF_ALL;
    const bool vertical = (ScrollBars() == ssVertical || ScrollBars() == ssBoth)
        && user::GetScrollInfo(WindowHandle(), user::SB_VERT, &vi);
    const bool horizontal = (ScrollBars() == ssHorizontal || ScrollBars() == ssBoth)
        && user::GetScrollInfo(WindowHandle(), user::SB_HORZ, &hi);
    auto moved = [this](TsScrollBar* bar) { SendBarPosition(this, bar, user::SB_THUMBPOSITION); };
    FeedEditBar(KeepEditBar(FVertBar, vertical, this, FCommonData.get(), sbVertical, moved), vi,
        Enabled() && !designing);
    FeedEditBar(KeepEditBar(FHorzBar, horizontal, this, FCommonData.get(), sbHorizontal, moved), hi,
        Enabled() && !designing && (!WordWrap() || Alignment() == taLeftJustify));
    PlaceEditBars(this, FVertBar, FHorzBar);
}

// ---- Messages ------------------------------------------------------------------------------------------------

void TsMemo::WndProc(TMessage& m) {
    SkinnedMessage(m);
    BoundLabelUpkeep(m, this, FBoundLabel.get());
}

void TsMemo::SkinnedMessage(TMessage& m) {
    TsCommonData* data = FCommonData.get();
    TacEditCommandHooks hooks;
    hooks.Removing = [this] { FreeEditBars(FVertBar, FHorzBar); };
    hooks.Refresh = [this, data] {
        KeepEditColors(this, data, data->IsHot());
        RedrawClientAndFrame(this);
        UpdateScrolls();
    };
    hooks.ParentUpdated = [this] { Perform(user::WM_NCPAINT, 1, 0); };
    hooks.RenderCache = [this] { PrepareCache(); };
    if (EditSkinPrologue(m, this, data, hooks, [this](TMessage& msg) { TMemo::WndProc(msg); }) == TacStep::Done)
        return;
    const bool wasHot = data->IsHot();
    switch (m.Msg) {
    case user::WM_PAINT:
        KeepEditColors(this, data, wasHot);
        data->SetUpdating(data->IsUpdating());
        if (!data->Updating) PaintFrame();
        break;
    case user::WM_NCPAINT:
        PaintFrame();
        return;
    case user::WM_PRINT:
        PrintEditMessage(m, this, data, false, [this] { PrepareCache(); });
        return;
    case user::WM_LBUTTONDOWN:
        FMouseDown = true;
        break;
    case user::WM_LBUTTONUP:
        FMouseDown = false;
        break;
    default:
        break;
    }
    if (!CommonWndProc(m, data)) TMemo::WndProc(m);
    if (ControlDestroying(this)) return;
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
    const bool loading = ComponentState().Contains(csLoading);
    switch (m.Msg) {
    case user::WM_PAINT:
    case user::WM_SETTEXT:
    case user::WM_MOUSEWHEEL:
    case user::WM_CUT:
    case user::WM_PASTE:
    case user::WM_CLEAR:
    case user::WM_UNDO:
    case user::WM_HSCROLL:
    case user::WM_VSCROLL:
    case CM_CONTROLLISTCHANGE:
    case CM_INVALIDATE:
    case CM_CHANGED:
        UpdateScrolls();
        break;
    case user::WM_MOUSEMOVE:
    case user::WM_WINDOWPOSCHANGED:
        if (FMouseDown && !ControlDesigning(this)) UpdateScrolls();
        break;
    case user::WM_MOVE:
        if (Visible() && !loading) UpdateScrolls();
        break;
    case user::WM_SIZE:
        if (!Visible()) break;
        Perform(user::WM_NCPAINT, 1, 0);
        UpdateScrolls();
        break;
    case user::WM_SETFONT:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
        FCommonData->Invalidate();
        UpdateScrolls();
        break;
    case CM_BIDIMODECHANGED:
    case CM_PARENTBIDIMODECHANGED:
    case CN_KEYDOWN:
    case CN_KEYUP:
    // The keys' own scrolling is done only after the native edit had them.
    case user::WM_KEYDOWN:
    case user::WM_CHAR:
        if (Visible() && !loading) UpdateScrolls();
        break;
    default:
        break;
    }
}

}
