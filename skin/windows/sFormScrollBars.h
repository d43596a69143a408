// TsFormScrollBars: a scrolling form's skinned bars over the client's right and bottom edges (the form's
// AutoScroll as it was when its provider came), a grip in the corner between them, and the form's controls
// moved as the bars move.
#pragma once

#include "platform/classes/ControlMessages.h"

namespace korvex::classes {
class TComponent;
class TControl;
}

namespace korvex::skin {

class TsGrip;
class TsScrollBar;
class TsSkinProvider;

class TsFormScrollBars {
public:
    TsFormScrollBars(TsSkinProvider& provider, bool formAutoScroll)
        : FProvider(provider)
        , FFormAutoScroll(formAutoScroll) { }
    ~TsFormScrollBars();
    TsFormScrollBars(const TsFormScrollBars&) = delete;
    TsFormScrollBars& operator=(const TsFormScrollBars&) = delete;

    TsScrollBar* VertBar() const { return FVertBar; }
    TsScrollBar* HorzBar() const { return FHorzBar; }
    TsGrip* Grip() const { return FGrip; }

    // Laid out again, made or freed; an unskinned form's bars go and its controls are back home.
    void Update(bool skinned);
    void Forget(const classes::TComponent* component);   // a bar or the grip being freed elsewhere
    void FreeBars();   // the bars belong to the form, which may stay: they must not call back into us

private:
    struct TDescription;
    bool IsPart(const classes::TControl* control) const;
    int ContentExtent(bool vertical) const;
    TDescription Describe(bool vertical) const;
    bool Lay(bool skinned);   // true when a bar was made
    TsScrollBar* MakeBar(bool vertical);
    void FreeBar(bool vertical);
    void Reset(bool vertical);
    void BarChanged(TsScrollBar* bar, int previous, bool vertical);
    void ScrollControls(int dx, int dy);

    TsSkinProvider& FProvider;
    bool FFormAutoScroll = false;
    TsScrollBar* FVertBar = nullptr;   // the form's components
    TsScrollBar* FHorzBar = nullptr;
    TsGrip* FGrip = nullptr;   // the provider's
    int FOffsetV = 0;   // how far the controls have been moved (0 at rest)
    int FOffsetH = 0;
    bool FScrolling = false;   // laying the bars out
    bool FScrollGuard = false;   // moving the controls
};

}
