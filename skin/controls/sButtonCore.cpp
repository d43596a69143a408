// TacButtonCore: presses, focus, hover, skin commands and painting of the skinned push buttons.
#include "skin/controls/sButtonCore.h"

#include "platform/classes/Colors.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBasicAction.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/gdi/Region.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/Button.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sButtonRegion.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"

namespace korvex::skin {

using namespace korvex::classes;

TacButtonCore::TacButtonCore(TButton* owner, TsCommonData* data) : FOwner(owner), FData(data) { }

TacButtonCore::~TacButtonCore() {
    StopFadeTimer(FadeTimer);
}

void TacButtonCore::SetDown(bool value) {
    if (FDown == value) return;
    FDown = value;
    Pressed = value;
    RegionChanged = true;
    FData->BGChanged = true;
    FOwner->Repaint();
}

void TacButtonCore::InitCache() {
    ControlSizedCache(FOwner, FData);
    FData->Loaded();
}

TsParentCacheInfo TacButtonCore::BeginCache(int state) {
    TsParentCacheInfo ci = GetParentCache(FData);
    TBitmap* cache = ControlSizedCache(FOwner, FData);
    TWinControl* parent = FOwner->Parent();
    if (!ci.Ready && parent != nullptr)
        ci.ParentAnswer = ColorToRGB(parent->Color());
    else if (parent != nullptr && !FData->NeedsRepaintOnMove())
        ci.ParentAnswer = QueryControlColor(parent);
    const int w = FOwner->Width(), h = FOwner->Height();
    FillControlBackground(FData, ci, state, TRect {0, 0, w, h}, TPoint {FOwner->Left(), FOwner->Top()}, cache);
    if (RegionChanged) Region.Reset(gdi::CreateRectRgn(0, 0, w, h));
    return ci;
}

void TacButtonCore::PaintBorders(int state) {
    TsSkinManager* manager = FData->SkinManager();
    if (manager == nullptr || !manager->IsValidImgIndex(FData->BorderIndex) || Region.Get() == nullptr) return;
    PaintButtonBordersWithRegion(FData->CacheBmp(), Region.Get(), false, state,
        manager->Masks[std::size_t(FData->BorderIndex)]);
}

void TacButtonCore::PaintFocus(TCanvas* canvas, TRect r) const {
    const TsSkinManager* manager = FData->SkinManager();
    if (!FOwner->Enabled() || !FOwner->Focused() || manager == nullptr || !manager->IsValidSkinIndex(FData->SkinIndex))
        return;
    if (!manager->Sections[std::size_t(FData->SkinIndex)].ShowFocus) return;
    gdi::InflateRect(&r, FocusMargin, FocusMargin);
    PaintFocusDots(canvas, r);
}

void TacButtonCore::EndCache(const TsParentCacheInfo& ci, const std::function<void()>& last) {
    auto* action = dynamic_cast<TCustomAction*>(FOwner->Action());
    if (!FOwner->Enabled() || (action != nullptr && !action->Enabled()))
        ApplyDisabledLook(FData->CacheBmp(), DisabledKind, FOwner, TPoint {FOwner->Left(), FOwner->Top()}, ci);
    if (last) last();
    FData->BGChanged = false;
}

int TacButtonCore::CurrentState() const {
    if (Down()) return 2;
    return FData->IsHot() || ActiveDefault ? 1 : 0;
}

bool TacButtonCore::Painting() const {
    return IsControlPaintable(FOwner) && FData->Skinned();
}

void TacButtonCore::Changed(TacAnimatEvent event) {
    const bool half = event == aeMouseDown || event == aeMouseUp;
    DoChangePaint(FadeTimer, FData, half, 1, AnimatEventEnabled(event, AnimatEvents));
}

void TacButtonCore::MouseDown(TMessage& message) {
    if (message.Msg != user::WM_LBUTTONDOWN && message.Msg != user::WM_LBUTTONDBLCLK) return;
    if (Application != nullptr) {
        FSavedShowHint = Application->ShowHint();
        Application->SetShowHint(false);   // no hints while a button is held
    }
    MousePressed = true;
    if (Down()) return;
    Pressed = true;
    RegionChanged = true;
    if (PressClearsUpdating) FData->Updating = false;
    FData->Updating = FData->IsUpdating();
    Changed(aeMouseDown);
}

bool TacButtonCore::MouseUp(TMessage& message) {
    if (Application != nullptr) Application->SetShowHint(FSavedShowHint);
    if (!MousePressed || ControlDestroying(FOwner)) return true;
    MousePressed = false;
    if (!FOwner->Enabled()) return true;
    StopFadeTimer(FadeTimer);
    if (PressClearsUpdating) FData->Updating = false;
    if (!FinishPress(FOwner, Pressed, MessageInside(FOwner, message), [this] { FOwner->Click(); })) return false;
    RegionChanged = true;
    try {
        Changed(aeMouseUp);
    } catch (...) {
        // a failed repaint after the click loses only a frame
    }
    return true;
}

bool TacButtonCore::SkinCommand(TMessage& m) {
    const int code = SkinCommandCode(m);
    if (PushControlSkinChange(m, FData, FadeTimer)) {
        RegionChanged = true;
        if (code == SMC_REMOVESKIN) {
            if (FOwner->HandleAllocated() && !ControlDestroying(FOwner))
                user::SetWindowRgn(FOwner->WindowHandle(), nullptr, RemoveRegionRedraws);
            FOwner->Invalidate();
        } else if (code == SMC_REFRESH) {
            FOwner->Repaint();
        }
        return true;
    }
    if (code == SMC_STOPFADING) {
        StopFadeTimer(FadeTimer);
        // A change during the fade (the focus arriving) is not in its last frame: the new look is shown now.
        if (FData->BGChanged && Painting()) FOwner->Repaint();
        return true;
    }
    if (PushControlQuery(m, FadeTimer, Prepare)) return true;
    if (!Painting()) return false;
    switch (code) {
    case SMC_PARENTUPDATED:
        if (FData->Updating) {
            FData->SetUpdating(false);
            FOwner->Repaint();
        }
        return true;
    case SMC_SETPAINTMARK:
        CommonWndProc(m, FData);
        if (FData->PaintMark && Prepare) Prepare();
        return true;
    default:
        CommonWndProc(m, FData);
        return true;
    }
}

bool TacButtonCore::WndProc(TMessage& m, const std::function<void(TMessage&)>& inherited) {
    if (m.Msg == SM_SKINCMD) return SkinCommand(m);
    if (!Painting()) return false;
    const bool designing = FOwner->ComponentState().Contains(csDesigning);
    switch (m.Msg) {
    case user::WM_ERASEBKGND:
        if (EraseAnswers) m.Result = 1;
        return true;
    case user::WM_PAINT:
        PaintPushControl(TacPushPaint {FOwner, FData, CurrentState(), Prepare, &RegionChanged, &Region, &FadeTimer}, m);
        return true;
    case user::WM_ENABLE:
    case user::BM_SETSTATE:
    case CN_DRAWITEM:
    case CN_CTLCOLORBTN:
        return true;
    case user::WM_MOVE:
        if (const TsGeneralData* s = FData->SkinManager()->IsValidSkinIndex(FData->SkinIndex)
                ? &FData->SkinManager()->Sections[std::size_t(FData->SkinIndex)] : nullptr;
            s != nullptr && (s->Transparency > 0 || (s->HotTransparency > 0 && FData->IsHot()))) {
            FData->BGChanged = true;
            FOwner->Repaint();
        }
        break;
    case user::WM_SIZE:
        RegionChanged = true;
        break;
    case user::WM_SETFOCUS:
    case CM_ENTER:
        if (designing) break;
        if (!FOwner->Enabled()) return true;
        inherited(m);
        if (FadeTimer != nullptr && FadeTimer->Direction() != 0) {
            FData->BGChanged = true;   // the focused look, shown when the fade ends
            FadeTimer->MakeStep();   // a running fade goes on one frame
        } else {
            FData->Invalidate();
        }
        return true;
    case user::WM_KILLFOCUS:
    case CM_EXIT:
        if (designing) break;
        if (Pressed && !FDown) Pressed = false;
        if (!FOwner->Enabled()) break;
        StopFadeTimer(FadeTimer);
        inherited(m);
        FData->Focused = false;
        FData->MouseAbove = false;
        RegionChanged = true;
        FData->Invalidate();
        return true;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
        if (m.LParam != 0 || designing || !FOwner->Enabled()) break;
        const bool enter = m.Msg == CM_MOUSEENTER;
        classes::TComponentWatch watch(FOwner);
        if (enter && OnMouseEnter) OnMouseEnter(FOwner);
        if (!enter && OnMouseLeave) OnMouseLeave(FOwner);
        if (!watch.Alive()) return true;
        FData->MouseAbove = enter;
        Changed(enter ? aeMouseEnter : aeMouseLeave);
        inherited(m);
        return true;
    }
    case CM_VISIBLECHANGED:
        FData->BGChanged = true;
        inherited(m);
        FOwner->Repaint();
        return true;
    case CM_ENABLEDCHANGED:
        if (FOwner->Visible()) {
            FData->Updating = false;
            FData->Invalidate();
        }
        break;
    case CM_TEXTCHANGED:
        FData->BGChanged = true;
        if (TextChangeRepaints)
            FOwner->Repaint();
        else
            FOwner->Invalidate();
        return true;
    case user::WM_SETFONT:
        inherited(m);
        FData->Updating = false;
        if (FontInvalidatesHidden || FOwner->Visible()) FData->Invalidate();
        return true;
    case CM_UIACTIVATE:
        FData->Updating = false;
        break;
    case CM_ACTIONUPDATE:
        if (auto* action = dynamic_cast<TCustomAction*>(FOwner->Action())) FOwner->SetEnabled(action->Enabled());
        break;
    case user::WM_LBUTTONDOWN:
    case user::WM_LBUTTONDBLCLK:
        if (!designing && FOwner->Enabled()) MouseDown(m);
        break;
    case user::WM_LBUTTONUP:
        if (!designing && FOwner->Enabled()) {
            if (!MouseUp(m)) return true;
        }
        break;
    case CM_DIALOGCHAR:
        if (m.WParam == ' ' && FOwner->Enabled() && FOwner->Focused()) {
            StopFadeTimer(FadeTimer);
            Pressed = true;
            RegionChanged = true;
            FData->BGChanged = true;
            FOwner->Repaint();
        }
        break;
    case user::WM_KEYUP:
        // Not while the mouse holds the button: its release is the one click of the press.
        if (m.WParam == user::VK_SPACE && Down() && !MousePressed) {
            RegionChanged = true;
            FData->BGChanged = true;
            // The released look first, then the click.
            const bool alive = FinishPress(FOwner, Pressed, true, [this] {
                FOwner->Repaint();
                FOwner->Click();
            });
            if (!alive) return true;
        }
        break;
    default:
        break;
    }
    return CommonWndProc(m, FData);
}

}
