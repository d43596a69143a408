// TScrollBox: a windowed container that scrolls its children with the window's own scroll bars.
#pragma once

#include "platform/classes/FormBorderStyle.h"
#include "platform/classes/TScrollBar.h"
#include "platform/classes/TWinControl.h"

namespace korvex::classes {

class TScrollingWinControl;

// One of the box's two bars. Range is the scrolled extent in pixels (with AutoScroll: the children's far
// edge, kept up to date); Position is how far the view has moved (0 .. Range - the client size).
class TControlScrollBar : public TPersistent {
public:
    TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TScrollBarKind Kind() const { return FKind; }
    int Range() const { return FRange; }
    void SetRange(int value);   // AutoScroll goes off
    int Position() const { return FPosition; }
    void SetPosition(int value);   // clamped; scrolls the children
    int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value > 0 ? value : 1; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool IsScrollBarVisible() const;   // shown now: visible and the range exceeds the client size
    // Kept for the bars that stand in for this one: Smooth or Tracking moves the content while the thumb is
    // dragged; Margin is the room kept around a control scrolled into view.
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool value) { FSmooth = value; }
    bool Tracking() const { return FTracking; }
    void SetTracking(bool value) { FTracking = value; }
    int Margin() const { return FMargin; }
    void SetMargin(int value) { FMargin = value; }

private:
    friend class TScrollingWinControl;
    int ClientSize() const;
    int MaxPosition() const;
    void Update();   // the window's scroll info
    void ScrollMessage(int code, int trackPos);
    int TrackPosition(int fallback) const;

    TScrollingWinControl* FControl;
    TScrollBarKind FKind;
    int FRange = 0;
    int FPosition = 0;
    int FIncrement = 8;
    bool FVisible = true;
    bool FSmooth = false;
    bool FTracking = false;
    int FMargin = 0;
};

// A windowed control whose children scroll: the base of scroll boxes and forms that scroll.
class TScrollingWinControl : public TWinControl {
public:
    explicit TScrollingWinControl(TComponent* owner);
    ~TScrollingWinControl() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TControlScrollBar* HorzScrollBar() const { return FHorzScrollBar.get(); }
    TControlScrollBar* VertScrollBar() const { return FVertScrollBar.get(); }
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool value);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);   // bsNone or bsSingle (a sunken edge)
    void ScrollInView(TControl* control);   // the least scrolling that shows it whole
    void UpdateScrollRanges();   // the ranges from the children (AutoScroll) and the bars

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void AlignControls(TControl* control, TRect& rect) override;
    void WMHScroll(TMessage& m) override;
    void WMVScroll(TMessage& m) override;
    void WMSize(TMessage& m) override;

private:
    friend class TControlScrollBar;
    std::unique_ptr<TControlScrollBar> FHorzScrollBar;
    std::unique_ptr<TControlScrollBar> FVertScrollBar;
    bool FAutoScroll = true;
    bool FUpdating = false;

protected:
    TFormBorderStyle FBorderStyle = bsNone;
};

// A scrolling container with a sunken edge.
class TScrollBox : public TScrollingWinControl {
public:
    explicit TScrollBox(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

}
