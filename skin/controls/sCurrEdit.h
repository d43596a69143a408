// Number edits: TsCustomNumEdit (a value shown with a display format, typed as a plain number, with the popup
// calculator on its button) and the published TsCurrencyEdit without the button.
#pragma once

#include "skin/controls/sCalcForm.h"
#include "skin/controls/sCustomComboEdit.h"

#include <cstdint>
#include <string>

namespace korvex::skin {

inline constexpr const char* DefaultNumDisplayFormat = "### ##0.00;-### ##0.00;0";

// The typed text made convertible: thousands separators removed, '.' and ',' read as the decimal separator
// where neither is a separator of the locale, "0" for nothing and "-0" for a lone "-".
std::string TextToValText(const std::string& text);

class TsCustomNumEdit : public TsCustomComboEdit, public TacCalcClient {
public:
    explicit TsCustomNumEdit(classes::TComponent* owner);
    ~TsCustomNumEdit() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    bool BeepOnError() const { return FBeepOnError; }
    void SetBeepOnError(bool value) { FBeepOnError = value; }
    bool CheckOnExit() const { return FCheckOnExit; }
    void SetCheckOnExit(bool value) { FCheckOnExit = value; }
    int DecimalPlaces() const { return FDecimalPlaces; }
    void SetDecimalPlaces(int value);   // the text is formatted again
    const std::string& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const std::string& value);
    bool IsDisplayFormatStored() const { return FDisplayFormat != DefaultDisplayFormat(); }
    double MaxValue() const { return FMaxValue; }
    void SetMaxValue(double value);   // Value limited again
    double MinValue() const { return FMinValue; }
    void SetMinValue(double value);   // Value limited again
    double Value();   // taken from the text first (sign applied, then limited)
    double StoredValue() const { return FValue; }
    void SetValue(double value);   // limited, the text formatted again
    std::int64_t AsInteger();   // Value truncated toward zero
    void SetNumText(const std::string& value);   // the text read as a number (limited and formatted)
    TsCalcForm* Calculator() const { return FCalc; }

    double CheckValue(double value) const;
    virtual void ReformatEditText();
    virtual std::string DefaultDisplayFormat() const { return DefaultNumDisplayFormat; }
    virtual bool IsValidChar(char32_t key);
    virtual std::string GetDisplayText();

    void PaintText() override;
    void PopupDropDown() override;
    void ButtonClick() override;

    // The calculator's client.
    double CalcClientValue() override { return Value(); }
    void CalcClientAccept(double value) override;
    void CalcClientFocus() override;
    void CalcClientClosed() override;

protected:
    void KeyPress(char32_t& key) override;
    void DoEnter() override;
    void DoExit() override;
    void WndProc(classes::TMessage& message) override;

private:
    void MakeCalculator();   // when there is none: read from its resource, without the drag bar
    void SetFocusedFlag(bool value);
    bool TextToValue(double& value) const;   // false when the text is no number
    bool Designing() const;

    TsCalcForm* FCalc = nullptr;   // owned by this edit while open; it tells us when it goes
    bool FFocused = false;
    double FValue = 0;
    double FMinValue = 0;
    double FMaxValue = 0;
    int FDecimalPlaces = 2;
    bool FBeepOnError = true;
    bool FCheckOnExit = false;
    bool FFormatting = false;
    std::string FDisplayFormat = DefaultNumDisplayFormat;
};

// The published number edit: no calculator button, skin control kind 41.
class TsCurrencyEdit : public TsCustomNumEdit {
public:
    explicit TsCurrencyEdit(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

}
