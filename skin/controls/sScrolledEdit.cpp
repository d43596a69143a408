// TsScrolledEdit: the skinned bars of the multi-line edits, their upkeep after the messages and the frame beside them.
#include "skin/controls/sScrolledEdit.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/TMemo.h"
#include "platform/classes/TRichEdit.h"
#include "platform/user/MessageIds.h"
#include "platform/user/WindowConstants.h"
#include "skin/controls/sEditScrolls.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"

namespace korvex::skin {

using namespace korvex::classes;

template <class TNativeEdit>
TsScrolledEdit<TNativeEdit>::TsScrolledEdit(TComponent* owner)
    : TsSkinnedEdit<TNativeEdit>(owner) { }

template <class TNativeEdit>
TsScrolledEdit<TNativeEdit>::~TsScrolledEdit() {
    FreeEditBars(FVertBar, FHorzBar);
}

template <class TNativeEdit>
void TsScrolledEdit<TNativeEdit>::Notification(TComponent* component, TOperation operation) {
    TNativeEdit::Notification(component, operation);
    if (operation == opRemove) ForgetEditBars(component, FVertBar, FHorzBar);
}

template <class TNativeEdit>
void TsScrolledEdit<TNativeEdit>::UpdateScrolls() {
    if (FUpdatingScrolls) return;
    const TacEditBarsStep step = EditBarsStep(this, this->SkinData());
    if (step == TacEditBarsStep::NotNow) return;
    base::ValueRollback<bool> updating(FUpdatingScrolls, true);
    if (step == TacEditBarsStep::Free || !BarsAllowed()) {
        FreeEditBars(FVertBar, FHorzBar);
        return;
    }
    FeedBars();
    PlaceEditBars(this, FVertBar, FHorzBar, VertBarLeftInset());
}

template <class TNativeEdit>
TsScrollBar* TsScrolledEdit<TNativeEdit>::KeepBar(
    TScrollBarKind kind, bool wanted, const std::function<void(TsScrollBar*)>& moved) {
    TsScrollBar*& bar = kind == sbVertical ? FVertBar : FHorzBar;
    return KeepEditBar(bar, wanted, this, this->SkinData(), kind, moved);
}

template <class TNativeEdit>
void TsScrolledEdit<TNativeEdit>::PrepareCache() {
    TsCommonData* data = this->SkinData();
    RenderEditCache(this, data, data->IsHot() ? 1 : 0, this->DisabledKind(), nullptr);
}

template <class TNativeEdit>
TacEditCommandHooks TsScrolledEdit<TNativeEdit>::BarCommandHooks() {
    TacEditCommandHooks hooks;
    hooks.Removing = [this] { FreeEditBars(FVertBar, FHorzBar); };
    hooks.ParentUpdated = [this] { this->Perform(user::WM_NCPAINT, 1, 0); };
    return hooks;
}

template <class TNativeEdit>
TacStep TsScrolledEdit<TNativeEdit>::FrameMessage(TMessage& m) {
    switch (m.Msg) {
    case user::WM_NCPAINT:
        PaintFrame();
        return TacStep::Done;
    case user::WM_PRINT:
        PrintEditMessage(m, this, this->SkinData(), false, [this] { PrepareCache(); });
        return TacStep::Done;
    case user::WM_LBUTTONDOWN:
        FMouseDown = true;
        break;
    case user::WM_LBUTTONUP:
        FMouseDown = false;
        break;
    default:
        break;
    }
    return TacStep::Continue;
}

template <class TNativeEdit>
bool TsScrolledEdit<TNativeEdit>::PassOn(TMessage& m) {
    if (!CommonWndProc(m, this->SkinData())) TNativeEdit::WndProc(m);
    return !ControlDestroying(this);
}

template <class TNativeEdit>
bool TsScrolledEdit<TNativeEdit>::KeepBarsAfter(const TMessage& m) {
    switch (m.Msg) {
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
        return true;
    case user::WM_SIZE:
        if (!this->Visible()) return true;
        this->Perform(user::WM_NCPAINT, 1, 0);
        UpdateScrolls();
        return true;
    case user::WM_SETFONT:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
        this->SkinData()->Invalidate();
        UpdateScrolls();
        return true;
    default:
        return false;
    }
}

template class TsScrolledEdit<TMemo>;
template class TsScrolledEdit<TRichEdit>;

}
