// TsRichEdit: construction, the frame from the cache, colours from the section, the skinned bars kept in step
// with the native scroll information, and the messages.
#include "skin/controls/sRichEdit.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/user/MessageIds.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/controls/sEditFrame.h"
#include "skin/controls/sEditScrolls.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/engine/sColorUtils.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStyleSimply.h"

namespace korvex::skin {

using namespace korvex::classes;

TsRichEdit::TsRichEdit(TComponent* owner)
    : TRichEdit(owner), FCommonData(std::make_unique<TsCommonData>(this, true)) {
    FCommonData->ControlKind = ckMemo;
    if (FCommonData->SkinSection().empty()) FCommonData->SetSkinSection("EDIT");
    FBoundLabel = std::make_unique<TsBoundLabel>(FCommonData.get());
}

TsRichEdit::~TsRichEdit() {
    FreeEditBars(FVertBar, FHorzBar);
    FBoundLabel.reset();
    FCommonData.reset();
}

TClass TsRichEdit::StaticClass() {
    using T = TsRichEdit;
    static const TClassInfo info = MakeClass<T, TRichEdit>("TsRichEdit", [](TPropertyBuilder<T>& p) {
        p.Object("BoundLabel", &T::BoundLabel);
        p.Object("SkinData", &T::SkinData);
        p.Set("DisabledKind", &T::DisabledKind, &T::SetDisabledKind, DisabledKindIdents, DefaultDisabledKind);
    });
    return &info;
}

void TsRichEdit::AfterConstruction() {
    TRichEdit::AfterConstruction();
    FCommonData->Loaded();
}

void TsRichEdit::Loaded() {
    TRichEdit::Loaded();
    FCommonData->Loaded();
    UpdateScrolls();
}

void TsRichEdit::SetDisabledKind(TsDisabledKind value) {
    if (FDisabledKind == value) return;
    FDisabledKind = value;
    FCommonData->Invalidate();
}

void TsRichEdit::Notification(TComponent* component, TOperation operation) {
    TRichEdit::Notification(component, operation);
    if (operation == opRemove) ForgetEditBars(component, FVertBar, FHorzBar);
}

// ---- Painting and colours ------------------------------------------------------------------------------------

void TsRichEdit::PrepareCache() {
    TsCommonData* data = FCommonData.get();
    RenderEditCache(this, data, data->IsHot() ? 1 : 0, FDisabledKind, nullptr);
}

void TsRichEdit::PaintFrame() {
    auto shown = [](TsScrollBar* bar) { return bar != nullptr && bar->Visible() ? bar : nullptr; };
    PaintFrameBesideBars(this, FCommonData.get(), shown(FVertBar), shown(FHorzBar), [this] { PrepareCache(); });
}

void TsRichEdit::ApplySkinColors() {
    TsCommonData* data = FCommonData.get();
    TsSkinManager* manager = data->SkinManager();
    if (manager == nullptr || !manager->IsValidSkinIndex(data->SkinIndex)) return;
    const TsGeneralData& section = manager->Sections[std::size_t(data->SkinIndex)];
    if (!data->CustomColor() && Color() != section.Color) SetColor(section.Color);
    if (data->CustomFont()) return;
    // The default text colour follows the font's (TRichEdit's own rule); a disabled one is mixed with Color.
    const TColor font = Enabled() ? section.FontColor[1] : MixColors50(section.FontColor[1], Color());
    if (Font()->Color() != font) Font()->SetColor(font);
}

// ---- Scroll bars ---------------------------------------------------------------------------------------------

void TsRichEdit::BarMoved(TsScrollBar* bar) {
    if (FUpdatingScrolls || bar->LastScrollCode < 0) return;
    user::WORD code = user::WORD(bar->LastScrollCode);
    if (code == user::SB_THUMBTRACK) code = user::SB_THUMBPOSITION;
    base::ValueRollback<bool> sending(FSendingHorz, bar == FHorzBar);
    SendBarPosition(this, bar, code);
}

void TsRichEdit::UpdateScrolls() {
    if (FUpdatingScrolls) return;
    const TacEditBarsStep step = EditBarsStep(this, FCommonData.get());
    if (step == TacEditBarsStep::NotNow) return;
    base::ValueRollback<bool> updating(FUpdatingScrolls, true);
    if (step == TacEditBarsStep::Free || ScrollBars() == ssNone) {
        FreeEditBars(FVertBar, FHorzBar);
        return;
    }
    const bool designing = ControlDesigning(this);
    const int cx = user::GetSystemMetrics(user::SM_CXVSCROLL);
    const int cy = user::GetSystemMetrics(user::SM_CYHSCROLL);
    user::SCROLLINFO vi;
    user::SCROLLINFO hi;
    vi.fMask = hi.fMask = user::SIF_ALL;
    const user::HWND wnd = WindowHandle();
    const bool vRead = (HasScrollBar(wnd, user::SB_VERT) && user::GetScrollInfo(wnd, user::SB_VERT, &vi));
    const bool hRead = (HasScrollBar(wnd, user::SB_HORZ) && user::GetScrollInfo(wnd, user::SB_HORZ, &hi));
    bool vWanted = (ScrollBars() == ssVertical || ScrollBars() == ssBoth) && (vRead || !HideScrollBars());
    bool hWanted = (ScrollBars() == ssHorizontal || ScrollBars() == ssBoth) && (hRead || !HideScrollBars());
    if (HideScrollBars()) {
        // The text's extent decides whether a bar is needed at all.
        const bool vFits = Height() - 6 - cx > vi.nMax;
        if (hWanted && Width() - 6 - (vFits ? 0 : cy) > hi.nMax) hWanted = false;
        if (vWanted && Height() - 6 - (hWanted ? cx : 0) > vi.nMax) vWanted = false;
    }
    auto moved = [this](TsScrollBar* bar) { BarMoved(bar); };
    if (TsScrollBar* bar = KeepEditBar(FVertBar, vWanted, this, FCommonData.get(), sbVertical, moved)) {
        FeedEditBar(bar, vi, Enabled(), vRead && vi.nMax > 1 && vi.nMax >= Height());
        bar->SetSmallChange(16);
    }
    if (TsScrollBar* bar = KeepEditBar(FHorzBar, hWanted, this, FCommonData.get(), sbHorizontal, moved)) {
        FeedEditBar(bar, hi, Enabled() && !designing && !WordWrap(), hRead && hi.nMax > 1);
        bar->SetSmallChange(16);
    }
    PlaceEditBars(this, FVertBar, FHorzBar);
}

// ---- Messages ------------------------------------------------------------------------------------------------

void TsRichEdit::WndProc(TMessage& m) {
    SkinnedMessage(m);
    BoundLabelUpkeep(m, this, FBoundLabel.get());
}

void TsRichEdit::SkinnedMessage(TMessage& m) {
    TsCommonData* data = FCommonData.get();
    TacEditCommandHooks hooks;
    hooks.Removing = [this] { FreeEditBars(FVertBar, FHorzBar); };
    hooks.Refresh = [this] {
        if (!Visible()) return;
        ApplySkinColors();
        RedrawClientAndFrame(this);
        UpdateScrolls();
    };
    hooks.ParentUpdated = [this] { Perform(user::WM_NCPAINT, 1, 0); };
    if (EditSkinPrologue(m, this, data, hooks, [this](TMessage& msg) { TRichEdit::WndProc(msg); }) == TacStep::Done)
        return;
    const bool wasHot = data->IsHot();
    switch (m.Msg) {
    case user::WM_PAINT:
        ApplySkinColors();
        if (data->BGChanged) PaintFrame();
        break;
    case user::WM_NCPAINT:
        PaintFrame();
        return;
    case user::WM_PRINT:
        PrintEditMessage(m, this, data, false, [this] { PrepareCache(); });
        return;
    case user::WM_ENABLE:
        return;
    case user::WM_LBUTTONDOWN:
        FMouseDown = true;
        break;
    case user::WM_LBUTTONUP:
        FMouseDown = false;
        break;
    case CM_ENABLEDCHANGED:
        ApplySkinColors();
        break;
    default:
        break;
    }
    if (!CommonWndProc(m, data)) TRichEdit::WndProc(m);
    if (ControlDestroying(this)) return;
    AfterMessage(m);
    FollowHotChange(m, this, data, wasHot);
}

void TsRichEdit::AfterMessage(const TMessage& m) {
    switch (m.Msg) {
    case user::WM_SETTEXT:
    case user::WM_MOUSEWHEEL:
    case user::WM_CUT:
    case user::WM_PASTE:
    case user::WM_CLEAR:
    case user::WM_UNDO:
    case CM_CONTROLLISTCHANGE:
    case CM_INVALIDATE:
    case CM_CHANGED:
    case CM_TEXTCHANGED:
    // Scrolling by messages (the log follows its end) and by keys moves the bars too.
    case user::WM_VSCROLL:
    case user::WM_HSCROLL:
    case user::WM_KEYDOWN:
    case user::WM_CHAR:
        UpdateScrolls();
        break;
    case user::WM_MOUSEMOVE:
        if (FMouseDown && !ControlDesigning(this)) UpdateScrolls();
        break;
    case user::WM_WINDOWPOSCHANGED:
        if (ControlDesigning(this)) UpdateScrolls();
        break;
    case user::WM_MOVE:
        if (Visible()) UpdateScrolls();
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
    case CN_KEYDOWN:
    case CN_KEYUP:
        Perform(user::WM_MOUSEWHEEL, 0, 0);
        break;
    default:
        break;
    }
}

}
