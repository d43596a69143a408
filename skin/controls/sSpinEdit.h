// Spin edits: the auto-repeating speed button, the pair of up/down buttons, and the skinned edits that own one
// (a base, the decimal spin edit and the integer spin edit).
#pragma once

#include "platform/classes/TWinControl.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sSpeedButton.h"

#include <cstdint>

namespace korvex::classes {
class TTimer;
}

namespace korvex::skin {

// Auto-repeat timing of a held spin button (ms).
inline constexpr unsigned SpinInitialRepeatPause = 400;
inline constexpr unsigned SpinRepeatPause = 100;

enum TsTimerButtonFlag : unsigned {
    tbFocusRect = 1u << 0,   // a focus rectangle inset 3 pixels
    tbAllowTimer = 1u << 1,   // a held button clicks again on the repeat timer
};

// A skinned speed button that, while held, clicks after 400 ms and then every 100 ms.
class TsTimerSpeedButton : public TsSpeedButton {
public:
    explicit TsTimerSpeedButton(classes::TComponent* owner);
    ~TsTimerSpeedButton() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    unsigned TimeBtnState() const { return FTimeBtnState; }
    void SetTimeBtnState(unsigned value);   // TsTimerButtonFlag bits; repaints on change
    bool Repeating() const;   // the repeat timer is running

protected:
    void MouseDown(classes::TMouseButton button, classes::TShiftState shift, int x, int y) override;
    void MouseUp(classes::TMouseButton button, classes::TShiftState shift, int x, int y) override;
    void Paint() override;

private:
    void TimerExpired();

    classes::TTimer* FRepeatTimer = nullptr;   // made on first use, owned
    unsigned FTimeBtnState = 0;
};

// The up and down buttons of a spin edit, one above the other.
class TsSpinButton : public classes::TWinControl {
public:
    explicit TsSpinButton(classes::TComponent* owner);
    ~TsSpinButton() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void Loaded() override;
    void SetBounds(int left, int top, int width, int height) override;

    classes::TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(classes::TWinControl* value);
    classes::TBitmap* UpGlyph() const;
    void SetUpGlyph(const classes::TBitmap* value);   // nullptr: the default arrow
    classes::TBitmap* DownGlyph() const;
    void SetDownGlyph(const classes::TBitmap* value);   // nullptr: the default arrow
    TsTimerSpeedButton* UpButton() const { return FUpButton; }
    TsTimerSpeedButton* DownButton() const { return FDownButton; }
    TsTimerSpeedButton* FocusedButton() const { return FFocusedButton; }
    void RebuildDefaultGlyphs();   // both arrows in the current font colour
    void AdjustButtons();   // the buttons split the height (not while loading or with no height)

    classes::TNotifyEvent OnUpClick;
    classes::TNotifyEvent OnDownClick;

protected:
    void WndProc(classes::TMessage& message) override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

private:
    TsTimerSpeedButton* MakeButton(bool up);
    void ButtonMouseDown(TsTimerSpeedButton* button);
    void SetFocusedButton(TsTimerSpeedButton* button);
    TsCommonData* OwnerSkin() const;

    TsTimerSpeedButton* FUpButton = nullptr;   // owned
    TsTimerSpeedButton* FDownButton = nullptr;   // owned
    TsTimerSpeedButton* FFocusedButton = nullptr;
    classes::TWinControl* FFocusControl = nullptr;   // cleared by its free notification
    bool FUpDefault = true;   // the glyph is the default arrow
    bool FDownDefault = true;
};

// A skinned edit with a spin button at its right edge; up and down arrows, the wheel and the buttons step it.
class TsBaseSpinEdit : public TsEdit {
public:
    explicit TsBaseSpinEdit(classes::TComponent* owner);
    ~TsBaseSpinEdit() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void Loaded() override;
    void SetBounds(int left, int top, int width, int height) override;

    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool value) { FEditorEnabled = value; }
    TsSpinButton* Button() const { return FButton; }
    int MinHeight();   // from the font's and the system font's text heights

    virtual bool IsValidChar(char32_t key);
    virtual void UpClick();   // a read-only edit beeps, else one step up
    virtual void DownClick();   // a read-only edit beeps, else one step down

protected:
    void CreateParams(classes::TCreateParams& params) override;
    void CreateWnd() override;
    void KeyDown(user::WORD& key, classes::TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void WndProc(classes::TMessage& message) override;
    bool DoMouseWheel(classes::TShiftState shift, int wheelDelta, classes::TPoint mousePos) override;
    virtual void StepBy(int steps) { (void)steps; }   // Value moved by steps increments (negative: down)
    char DecimalSeparator() const;

private:
    void SetEditRect();
    void LayoutButton();

    TsSpinButton* FButton = nullptr;   // owned; forgotten before the inherited destruction
    bool FEditorEnabled = true;
};

// Text to number as the spin edits read it: blanks trimmed, ',' taken for the decimal point when there is no
// '.'. False (value untouched) for an empty or bad text.
bool SpinTextToFloat(const std::string& text, double& value);

// A floating-point value with limits (only when MinValue <> MaxValue), a step and fixed decimals.
class TsDecimalSpinEdit : public TsBaseSpinEdit {
public:
    explicit TsDecimalSpinEdit(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    double Increment() const { return FIncrement; }
    void SetIncrement(double value) { FIncrement = value; }
    double MaxValue() const { return FMaxValue; }
    void SetMaxValue(double value) { FMaxValue = value; }
    double MinValue() const { return FMinValue; }
    void SetMinValue(double value) { FMinValue = value; }
    double Value() const;   // MinValue for an empty or bad text
    void SetValue(double value);   // limited and written with DecimalPlaces decimals (not while loading)
    int DecimalPlaces() const { return FDecimalPlaces; }
    void SetDecimalPlaces(int value);   // the text is written again
    double CheckValue(double value) const;

protected:
    void DoExit() override;
    void StepBy(int steps) override;

private:
    double FIncrement = 1.0;
    double FMaxValue = 0;
    double FMinValue = 0;
    int FDecimalPlaces = 2;
};

// An integer value with limits (only when MinValue <> MaxValue) and a step; no decimal point is typed.
class TsSpinEdit : public TsBaseSpinEdit {
public:
    explicit TsSpinEdit(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    std::int64_t Increment() const { return FIncrement; }
    void SetIncrement(std::int64_t value) { FIncrement = value; }
    std::int64_t MaxValue() const { return FMaxValue; }
    void SetMaxValue(std::int64_t value) { FMaxValue = value; }
    std::int64_t MinValue() const { return FMinValue; }
    void SetMinValue(std::int64_t value) { FMinValue = value; }
    std::int64_t Value() const;   // MinValue for an empty or bad text
    void SetValue(std::int64_t value);   // limited (not while loading)
    std::int64_t CheckValue(std::int64_t value) const;

    bool IsValidChar(char32_t key) override;

protected:
    void DoExit() override;
    void StepBy(int steps) override;

private:
    std::int64_t FIncrement = 1;
    std::int64_t FMaxValue = 0;
    std::int64_t FMinValue = 0;
};

}
