// TsRichEdit: construction, the frame from the cache, colours from the section, the skinned bars kept in step
// with the native scroll information, and the messages.
#include "skin/controls/sRichEdit.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
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
    : TsScrolledEdit(owner) {
    SkinData()->ControlKind = TacControlKind::Memo;
    if (SkinData()->SkinSection().empty()) SkinData()->SetSkinSection("EDIT");
}

TsRichEdit::~TsRichEdit() = default;

TClass TsRichEdit::StaticClass() {
    using T = TsRichEdit;
    static const TClassInfo info = MakeClass<T, TRichEdit>("TsRichEdit", [](TPropertyBuilder<T>& p) {
        p.Object("BoundLabel", &T::BoundLabel);
        p.Object("SkinData", &T::SkinData);
        p.Set("DisabledKind", &T::DisabledKind, &T::SetDisabledKind, DisabledKindIdents, DefaultDisabledKind);
    });
    return &info;
}

void TsRichEdit::Loaded() {
    TsScrolledEdit::Loaded();
    UpdateScrolls();
}

// ---- Painting and colours ------------------------------------------------------------------------------------

void TsRichEdit::PaintFrame() {
    auto shown = [](TsScrollBar* bar) { return bar != nullptr && bar->Visible() ? bar : nullptr; };
    PaintFrameBesideBars(this, SkinData(), shown(VertBar()), shown(HorzBar()), [this] { PrepareCache(); });
}

void TsRichEdit::ApplySkinColors() {
    TsCommonData* data = SkinData();
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
    if (UpdatingScrolls() || bar->LastScrollCode < 0) return;
    user::WORD code = user::WORD(bar->LastScrollCode);
    if (code == user::SB_THUMBTRACK) code = user::SB_THUMBPOSITION;
    SendBarPosition(this, bar, code);
}

bool TsRichEdit::BarsAllowed() const {
    return ScrollBars() != ssNone;
}

void TsRichEdit::FeedBars() {
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
    if (TsScrollBar* bar = KeepBar(sbVertical, vWanted, moved)) {
        FeedEditBar(bar, vi, Enabled(), vRead && vi.nMax > 1 && vi.nMax >= Height());
        bar->SetSmallChange(16);
    }
    if (TsScrollBar* bar = KeepBar(sbHorizontal, hWanted, moved)) {
        FeedEditBar(bar, hi, Enabled() && !designing && !WordWrap(), hRead && hi.nMax > 1);
        bar->SetSmallChange(16);
    }
}

// ---- Messages ------------------------------------------------------------------------------------------------

void TsRichEdit::WndProc(TMessage& m) {
    SkinnedMessage(m);
    BoundLabelUpkeep(m, this, BoundLabel());
}

void TsRichEdit::SkinnedMessage(TMessage& m) {
    TsCommonData* data = SkinData();
    TacEditCommandHooks hooks = BarCommandHooks();
    hooks.Refresh = [this, data] {
        if (!Visible()) return;
        TsSkinManager* manager = data->SkinManager();
        if (!data->CustomFont() && manager != nullptr && manager->IsValidSkinIndex(data->SkinIndex))
            DefAttributes()->SetColor(manager->Sections[std::size_t(data->SkinIndex)].FontColor[1]);
        if (HandleAllocated()) user::SendMessage(WindowHandle(), user::WM_NCPAINT, 0, 0);
        UpdateScrolls();
    };
    if (EditSkinPrologue(m, this, data, hooks, [this](TMessage& msg) { TRichEdit::WndProc(msg); }) == TacStep::Done)
        return;
    const bool wasHot = data->IsHot();
    switch (m.Msg) {
    case user::WM_PAINT:
        if (data->BGChanged) PaintFrame();
        break;
    case user::WM_ENABLE:
        return;
    case CM_ENABLEDCHANGED:
        ApplySkinColors();
        break;
    default:
        break;
    }
    if (FrameMessage(m) == TacStep::Done) return;
    if (!PassOn(m)) return;
    AfterMessage(m);
    FollowHotChange(m, this, data, wasHot);
}

void TsRichEdit::AfterMessage(const TMessage& m) {
    if (KeepBarsAfter(m)) return;
    switch (m.Msg) {
    // Scrolling by messages (the log follows its end) and by keys moves the bars too.
    case CM_TEXTCHANGED:
    case user::WM_KEYDOWN:
    case user::WM_CHAR:
        UpdateScrolls();
        break;
    case user::WM_MOUSEMOVE:
        if (MouseDown() && !ControlDesigning(this)) UpdateScrolls();
        break;
    case user::WM_WINDOWPOSCHANGED:
        if (ControlDesigning(this)) UpdateScrolls();
        break;
    case user::WM_MOVE:
        if (Visible()) UpdateScrolls();
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
