// TProgressBar over the native progress bar: Position within [Min, Max], stepped by Step.
#pragma once

#include "platform/classes/TRangeControl.h"

#include <string_view>

namespace korvex::classes {

enum TProgressBarOrientation { pbHorizontal, pbVertical };
inline constexpr std::string_view ProgressBarOrientationIdents[] = {"pbHorizontal", "pbVertical"};

class TProgressBar : public TRangeControl {
public:
    explicit TProgressBar(TComponent* owner);
    ~TProgressBar() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    int Step() const { return FStep; }
    void SetStep(int value);
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool value);
    TProgressBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TProgressBarOrientation value);
    TColor BarColor() const { return FBarColor; }
    void SetBarColor(TColor value);   // clDefault: the highlight colour
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor value);

    void StepIt();   // Position + Step, starting over from Min past Max
    void StepBy(int delta);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Loaded() override;
    void SendMin() override;
    void SendMax() override { SendMin(); }   // one message sends both
    void SendPosition() override;
    int WindowPosition() const override;

private:
    int FStep = 10;
    bool FSmooth = false;
    TProgressBarOrientation FOrientation = pbHorizontal;
    TColor FBarColor = clDefault;
    TColor FBackgroundColor = clDefault;
};

}
