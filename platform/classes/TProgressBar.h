// TProgressBar over the native progress bar: Position within [Min, Max], stepped by Step.
#pragma once

#include "platform/classes/TWinControl.h"

#include <string_view>

namespace korvex::classes {

enum TProgressBarOrientation { pbHorizontal, pbVertical };
inline constexpr std::string_view ProgressBarOrientationIdents[] = {"pbHorizontal", "pbVertical"};

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* owner);
    ~TProgressBar() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Position() const;
    void SetPosition(int value);   // kept within [Min, Max] (not while loading)
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

private:
    int Clamp(long long value) const;

    int FMin = 0;
    int FMax = 100;
    mutable int FPosition = 0;
    int FStep = 10;
    bool FSmooth = false;
    TProgressBarOrientation FOrientation = pbHorizontal;
    TColor FBarColor = clDefault;
    TColor FBackgroundColor = clDefault;
};

}
