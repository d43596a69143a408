// TacButtonCore: the state and message handling TsButton and TsBitBtn share (press by mouse and space bar,
// focus, hover, skin commands, painting), so both click exactly once per press.
#pragma once

#include "platform/classes/ControlMessages.h"
#include "platform/classes/TButton.h"
#include "skin/controls/sPushControl.h"
#include "skin/engine/sFade.h"
#include "skin/engine/sParentCache.h"
#include "skin/engine/sPixelAccess.h"

#include <functional>

namespace korvex::classes {
class TCanvas;
}

namespace korvex::skin {

class TsCommonData;

class TacButtonCore {
public:
    TacButtonCore(classes::TButton* owner, TsCommonData* data);
    ~TacButtonCore();

    bool Down() const { return Pressed || FDown; }   // shown pressed: by the user or the program
    bool DownField() const { return FDown; }
    void SetDown(bool value);   // repaints on change
    // 2 while down, 1 hot (focus, mouse, the active default button), else 0.
    int CurrentState() const;

    // Message handling before the base class. True: handled, the base class must not see it.
    // inherited: the base class's WndProc.
    bool WndProc(classes::TMessage& message, const std::function<void(classes::TMessage&)>& inherited);
    // True while the skin paints (the base class's click notification is then ours to ignore).
    bool Painting() const;
    void StopFade() { StopFadeTimer(FadeTimer); }

    // The cache steps TsButton and TsBitBtn share, in this order:
    // BeginCache: the cache at the button's size, the parent's colour asked for (its plain colour where its
    // cache is not ready), the background for state, a fresh region when one is due. Returns the parent's cache
    // with that colour in ParentAnswer.
    TsParentCacheInfo BeginCache(int state);
    void PaintBorders(int state);   // the borders mask, through the region being built
    // The caption's focus dots around r, when enabled, focused and the section shows focus.
    void PaintFocus(classes::TCanvas* canvas, classes::TRect r) const;
    // The disabled look, then last (an OnPaint of the finished picture), then BGChanged := False.
    void EndCache(const TsParentCacheInfo& ci, const std::function<void()>& last = nullptr);
    void InitCache();   // AfterConstruction and Loaded: the cache with the font, then the skin data loaded

    std::function<void()> Prepare;   // renders the cache
    bool RemoveRegionRedraws = true;   // removing the region on a skin removal redraws (TsButton)
    bool TextChangeRepaints = true;   // a caption change repaints now (TsButton) or invalidates (TsBitBtn)
    bool EraseAnswers = true;   // WM_ERASEBKGND answered 1 (TsButton) or swallowed with no answer (TsBitBtn)
    bool FontInvalidatesHidden = true;   // a new font invalidates a hidden button too (TsButton)
    bool PressClearsUpdating = false;   // a press or release clears Updating before asking again (TsBitBtn)

    bool MousePressed = false;   // the left button went down on the control
    bool Pressed = false;   // shown pressed by the mouse or the space bar
    bool RegionChanged = true;   // a new window region is due
    bool ActiveDefault = false;   // shown as the active default button
    int FocusMargin = 1;
    TsDisabledKind DisabledKind = DefaultDisabledKind;
    TacAnimatEvents AnimatEvents {aeGlobalDef};
    classes::TNotifyEvent OnMouseEnter;
    classes::TNotifyEvent OnMouseLeave;
    TsFadeTimer* FadeTimer = nullptr;
    TacPendingRegion Region;

private:
    void Changed(TacAnimatEvent event);
    void MouseDown(classes::TMessage& message);
    // co_ Click may free the button: false when it is gone.
    bool MouseUp(classes::TMessage& message);
    bool SkinCommand(classes::TMessage& message);

    classes::TButton* FOwner;
    TsCommonData* FData;
    bool FDown = false;
    bool FSavedShowHint = true;
};

}
