// Test support for fades: a button-like control that fades as the skinned buttons do, and a windowless
// speed-button-like control that animates through TsAnimTimer.
#pragma once

#include "support/SkinControlsKit.h"

#include "skin/engine/sFade.h"

#include <functional>
#include <optional>
#include <vector>

namespace korvex::skin::ctltest {

// Mouse enter and leave fade in full, button down and up in half, as the skinned buttons call DoChangePaint.
class TFadeButton : public TTestButton {
public:
    explicit TFadeButton(classes::TComponent* owner);
    ~TFadeButton() override;

    TsFadeTimer* FadeTimer = nullptr;
    TacAnimatEvents AnimatEvents {aeGlobalDef};
    std::optional<classes::TColor> NewLook;   // SMC_PREPAREFADE fills the cache with it (else renders the skin)
    bool PaintsFrames = false;   // answers SMC_PAINTFADEFRAME itself
    bool KeepsTimer = false;   // SMC_STOPFADING leaves the timer alone
    std::function<void()> OnPrepare;   // inside SMC_PREPAREFADE, after the new look
    std::function<void()> OnFrame;   // inside SMC_PAINTFADEFRAME, after the frame is written down
    std::vector<int> Frames;   // the red channel at (2, 2) of every frame handed over
    int Stops = 0;
    int Prepares = 0;
    int Paints = 0;

protected:
    void WndProc(classes::TMessage& message) override;
    void Paint() override;

private:
    void RenderNewLook();
};

// Windowless; paints the timer's frame while it is its parent's AnimChild. Its parent must be a TTestPanel.
class TAnimButton : public classes::TGraphicControl {
public:
    explicit TAnimButton(classes::TComponent* owner);
    ~TAnimButton() override;
    void StopAnim();   // frees the timer

    std::unique_ptr<TsCommonData> SkinData;
    TsAnimTimer* Anim = nullptr;   // owned by nothing; freed by StopAnim
    std::vector<int> Frames;   // the red channel at (2, 2) of every frame painted as AnimChild
    std::vector<bool> UpdatingSeen;   // SkinData->Updating as each frame was painted
    std::function<void()> OnSetUpdating;   // inside SMC_SETUPDATING
    std::function<void()> OnPaint;
    int Stops = 0;

protected:
    void WndProc(classes::TMessage& message) override;
    void Paint() override;
};

// The red channel of a 0x00BBGGRR colour.
inline int Red(classes::TColor color) {
    return int(std::uint32_t(color) & 0xFF);
}
// One channel of the frame at alpha: the old picture keeps alpha, the ends are exact copies.
int BlendChannel(int oldValue, int newValue, int alpha);
inline classes::TColor Grey(int v) {
    return classes::TColor(std::uint32_t(v) * 0x010101u);
}

}
