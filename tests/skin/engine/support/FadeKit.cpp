// Test support for fades: the fading button and the animated windowless button.
#include "FadeKit.h"

#include "PixelFixtures.h"

#include "platform/classes/ControlMessages.h"
#include "platform/classes/TBitmap.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sMessages.h"

#include <utility>

namespace korvex::skin::ctltest {

using namespace korvex::classes;

int BlendChannel(int oldValue, int newValue, int alpha) {
    if (alpha == 0) return newValue;
    if (alpha == 255) return oldValue;
    return (newValue * (255 - alpha) + oldValue * alpha + 127) >> 8;
}

// ---- TFadeButton ---------------------------------------------------------------------------------------------

TFadeButton::TFadeButton(TComponent* owner) : TTestButton(owner) { }

TFadeButton::~TFadeButton() {
    StopFadeTimer(FadeTimer);
}

void TFadeButton::RenderNewLook() {
    if (NewLook) {
        SkinData->InitCacheBmp();
        pixeltest::Fill(*SkinData->CacheBmp(), TRect {0, 0, Width(), Height()}, *NewLook);
        SkinData->BGChanged = false;
        return;
    }
    // The look the next paint would show, rendered into the cache without touching the screen.
    TBitmap scratch;
    scratch.SetPixelFormat(pf24bit);
    scratch.SetSize(Width(), Height());
    RenderTo(scratch.Canvas());
}

void TFadeButton::WndProc(TMessage& m) {
    if (m.Msg == SM_SKINCMD) {
        switch (SkinCommandCode(m)) {
        case SMC_STOPFADING:
            ++Stops;
            if (!KeepsTimer) StopFadeTimer(FadeTimer);
            break;
        case SMC_PREPAREFADE:
            ++Prepares;
            RenderNewLook();
            if (OnPrepare) OnPrepare();   // may free this control
            return;
        case SMC_PAINTFADEFRAME: {
            const auto* frame = reinterpret_cast<const TBitmap*>(m.LParam);
            Frames.push_back(Red(pixeltest::Px(*frame, 2, 2)));
            m.Result = PaintsFrames ? 1 : 0;
            if (OnFrame) OnFrame();   // may free this control or its timer
            return;
        }
        default:
            break;
        }
    }
    const bool enter = m.Msg == CM_MOUSEENTER, leave = m.Msg == CM_MOUSELEAVE;
    const bool down = m.Msg == user::WM_LBUTTONDOWN, up = m.Msg == user::WM_LBUTTONUP;
    TTestButton::WndProc(m);
    if ((enter || leave) && m.LParam == 0) {
        const TacAnimatEvent event = enter ? aeMouseEnter : aeMouseLeave;
        DoChangePaint(FadeTimer, SkinData.get(), false, 1, AnimatEventEnabled(event, AnimatEvents));
    } else if (down || up) {
        const TacAnimatEvent event = down ? aeMouseDown : aeMouseUp;
        DoChangePaint(FadeTimer, SkinData.get(), true, 1, AnimatEventEnabled(event, AnimatEvents));
    }
}

void TFadeButton::Paint() {
    ++Paints;
    TTestButton::Paint();
}

// ---- TAnimButton ---------------------------------------------------------------------------------------------

TAnimButton::TAnimButton(TComponent* owner)
    : TGraphicControl(owner), SkinData(std::make_unique<TsCommonData>(this, true)) {
    SkinData->ControlKind = TacControlKind::SpeedButton;
    SetControlStyle(ControlStyle() + TControlStyle {csOpaque});
    SetBounds(0, 0, 40, 24);
}

TAnimButton::~TAnimButton() {
    StopAnim();
}

void TAnimButton::StopAnim() {
    if (TsAnimTimer* t = std::exchange(Anim, nullptr)) {
        t->SetEnabled(false);
        t->Free();
    }
}

void TAnimButton::WndProc(TMessage& m) {
    if (m.Msg == SM_SKINCMD && SkinCommandCode(m) == SMC_STOPFADING) {
        ++Stops;
        StopAnim();
    }
    if (CommonWndProc(m, SkinData.get())) return;
    if (m.Msg == SM_SKINCMD && SkinCommandCode(m) == SMC_SETUPDATING && OnSetUpdating) {
        OnSetUpdating();   // may free this control
        return;
    }
    TGraphicControl::WndProc(m);
}

void TAnimButton::Paint() {
    auto* parent = dynamic_cast<TTestPanel*>(Parent());
    if (Anim != nullptr && parent != nullptr && parent->SkinData->AnimChild() == this) {
        Frames.push_back(Red(pixeltest::Px(*Anim->FrameImage(), 2, 2)));
        UpdatingSeen.push_back(SkinData->Updating);
    }
    if (OnPaint) OnPaint();
}

}
