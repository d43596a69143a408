// Cross-fades of skinned controls from their old look to the new one, and the speed button's animation timer.
#pragma once

#include "platform/classes/TSet.h"
#include "platform/classes/TTimer.h"
#include "skin/engine/Forward.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace korvex::classes {
class TBitmap;
class TControl;
}

namespace korvex::skin {

// ---- Which events fade ----------------------------------------------------------------------------------------
enum TacAnimatEvent {
    aeMouseEnter,
    aeMouseLeave,
    aeMouseDown,
    aeMouseUp,
    aeGlobalDef,   // the control follows DefaultAnimatEvents
};
using TacAnimatEvents = classes::TSet<TacAnimatEvent>;
inline constexpr std::string_view AnimatEventIdents[] = {
    "aeMouseEnter", "aeMouseLeave", "aeMouseDown", "aeMouseUp", "aeGlobalDef"};

// The events of every control whose AnimatEvents hold aeGlobalDef.
inline TacAnimatEvents DefaultAnimatEvents {aeMouseEnter, aeMouseLeave, aeMouseDown, aeMouseUp};

// Fades stay off while SkinChanging (sSkinManager.h) or CalcPopupCreating (sCommonData.h) is set.

// True when event is in events, or when events hold aeGlobalDef and event is in DefaultAnimatEvents.
bool AnimatEventEnabled(TacAnimatEvent event, TacAnimatEvents events);

// The weight the old picture keeps at a step: 255 - step * 256 div iterations, clamped to a byte
// (0 for iterations 0). Five iterations give 204, 153, 102, 51, 0.
std::uint8_t FadeAlpha(int step, int iterations);

inline constexpr unsigned FadeInterval = 10;   // milliseconds between frames

// ---- Fade timer ------------------------------------------------------------------------------------------------
// Blends the control's old picture into its cache, one frame a tick: a frame goes to the control as
// SMC_PAINTFADEFRAME, and when the control does not paint it, it is copied onto the control's window. Past the
// last step the control gets SMC_STOPFADING and frees the timer (StopFadeTimer). A control keeps at most one
// fade timer, owned by the control, in a field it passes to DoChangePaint and StopFadeTimer.
// Calls marked co_ send messages to the control: the control, and this timer, may be gone afterwards.
class TsFadeTimer : public classes::TTimer {
public:
    explicit TsFadeTimer(classes::TComponent* owner);
    ~TsFadeTimer() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    std::uint8_t Direction() const { return FDirection; }   // 0 stopped, 1 and 2 running
    void SetDirection(std::uint8_t value);   // a negative Step becomes 1; ticks while not 0
    // The bound skin state; nullptr once its control is gone.
    TsCommonData* SkinData() const;
    classes::TBitmap* OldImage() const { return FOldImage.get(); }   // the picture faded from

    int Iterations = 0;
    int Step = 0;

    // Binds the state and takes the control's cache as the picture to fade from; a fade still running shortens
    // the new one by the old one's progress.
    void Prepare(TsCommonData* data);
    // co_ False while a step is due; past the last step SMC_STOPFADING goes to the control (True). Without
    // its control the timer stops (False).
    bool CheckFinished();
    // co_ One frame at Step, then Step + 1.
    void MakeStep();

protected:
    void Timer() override;   // co_ a failed step is dropped; the timer goes on

private:
    classes::TControl* Control() const;

    std::uint8_t FDirection = 0;
    TsCommonData* FSkinData = nullptr;
    std::unique_ptr<classes::TComponentWatch> FControl;   // the state's control, forgotten when freed
    std::unique_ptr<classes::TBitmap> FOldImage;
    bool FPainted = false;   // a frame of this fade was shown
};

// co_ A fade when allowed, the section fades, no skin is changing, no calculator pop-up is being made and the
// cache shows the current look; else an immediate repaint (a running fade stops). Either way BGChanged is set.
// Controls pass direction 1 and half = true for mouse down and up.
void DoChangePaint(TsFadeTimer*& timer, TsCommonData* data, bool half, int direction, bool allowed);
// co_ Makes the timer on the first fade (owned by the control), prepares it, halves its steps for half,
// asks the control for its new look (SMC_PREPAREFADE) and starts it. Nothing unless the section fades.
void StartFade(TsFadeTimer*& timer, TsCommonData* data, bool half, int direction);
// Stops and frees the timer; timer becomes nullptr. Nothing for nullptr; a timer being destroyed is only
// forgotten.
void StopFadeTimer(TsFadeTimer*& timer);

// ---- Animation timer -----------------------------------------------------------------------------------------
// The speed button's own fade: it sets Step, fills StartImage, renders its new look, enables the timer and
// makes the first step; each frame (StartImage blended with the cache) is painted by the control while it is
// its parent's AnimChild. Past the last step the control gets SMC_STOPFADING and frees the timer.
class TsAnimTimer : public classes::TTimer {
public:
    explicit TsAnimTimer(classes::TComponent* owner);
    ~TsAnimTimer() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    bool Busy() const { return FBusy; }   // inside a step: a nested tick paints nothing
    classes::TBitmap* StartImage() const { return FStartImage.get(); }
    classes::TBitmap* FrameImage() const { return FFrameImage.get(); }
    TsCommonData* SkinData() const;   // nullptr once its control is gone

    int Iterations = 0;
    int Step = 0;

    // Binds the state; Interval 10 ms, Iterations from the section.
    void Prepare(TsCommonData* data);
    // co_ True when the timer or its control is gone or going, or the application ends; past the last
    // step (after SMC_STOPFADING to the control) too.
    bool CheckFinished();
    // co_ The frame at Step painted through the control, then Step + 1.
    void MakeStep();
    // co_ The control repainted as its parent's AnimChild, not updating.
    void Paint();

protected:
    void Timer() override;

private:
    classes::TControl* Control() const;

    bool FBusy = false;
    std::unique_ptr<classes::TBitmap> FStartImage;
    std::unique_ptr<classes::TBitmap> FFrameImage;
    TsCommonData* FSkinData = nullptr;
    std::unique_ptr<classes::TComponentWatch> FControl;
};

}
