// TsTrackBar: a track bar whose channel, tick marks and thumb come from the skin, placed by the native geometry.
#pragma once

#include "platform/classes/TTrackBar.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sFade.h"
#include "skin/engine/sPixelAccess.h"

#include <memory>
#include <vector>

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

class TsCommonData;

// The native control keeps the position, keys, mouse and wheel; OnChange follows every change of Position the
// user makes. Thumb states: 0 normal, 1 hot, 2 held by the left button.
class TsTrackBar : public classes::TTrackBar {
public:
    static constexpr int DefaultTickLength = 4;
    static constexpr int SkinnedThumbLength = 23;

    explicit TsTrackBar(classes::TComponent* owner);
    ~TsTrackBar() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;

    TsCommonData* SkinData() const { return FCommonData.get(); }
    TsDisabledKind DisabledKind() const { return FDisabledKind; }
    void SetDisabledKind(TsDisabledKind value);
    TacAnimatEvents AnimatEvents() const { return FAnimatEvents; }
    void SetAnimatEvents(TacAnimatEvents value) { FAnimatEvents = value; }
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool value) { FShowFocus = value; }
    int TickLength() const { return FTickLength; }

    // Native geometry (control coordinates); the channel of a vertical bar is turned back upright.
    classes::TRect ThumbRect() const;
    classes::TRect ChannelRect() const;
    int NativeTickCount() const;   // the first and the last included
    // Pixel positions along the bar of the ticks drawn (empty for tsNone).
    std::vector<int> TickPositions() const;
    int ThumbState() const;
    bool ThumbHeld() const;   // the left button is held on the bar (csLButtonDown)

protected:
    void Loaded() override;
    void WndProc(classes::TMessage& message) override;
    void PaintWindow(gdi::HDC dc) override;

private:
    bool SkinCommand(classes::TMessage& m);   // true: used
    void ScrollNotified(classes::TMessage& m, bool skinned);   // CN_HSCROLL, CN_VSCROLL
    void SkinPaint(gdi::HDC dc);
    void RenderCache();
    void PaintBody(classes::TBitmap* cache);
    classes::TRect PaintChannel(classes::TBitmap* cache);   // the channel as painted
    void PaintTick(classes::TBitmap* cache, classes::TPoint p);
    void PaintThumb(classes::TBitmap* cache);
    void ChangePaint(TacAnimatEvent event);
    void RestoreHints();
    bool Vertical() const { return Orientation() == classes::trVertical; }

    std::unique_ptr<TsCommonData> FCommonData;
    TsFadeTimer* FFadeTimer = nullptr;   // owned as a component while a fade runs
    TsDisabledKind FDisabledKind = DefaultDisabledKind;
    TacAnimatEvents FAnimatEvents {aeGlobalDef};
    bool FShowFocus = false;
    bool FSavedShowHint = true;
    bool FHintsOff = false;   // the application's hints are off while the button is held
    int FTickLength = DefaultTickLength;
};

}
