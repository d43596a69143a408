// TsCalcForm's engine: typing, the operators with percent, square root and reciprocal, memory, clipboard, the
// error state and the hand-over to the number edit.
#include "skin/controls/sCalcForm.h"

#include "platform/base/FormatSettings.h"
#include "platform/base/Numbers.h"
#include "platform/base/Strings.h"
#include "platform/user/Clipboard.h"
#include "platform/user/MessageBox.h"
#include "skin/controls/sPanel.h"

#include <algorithm>
#include <cmath>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

char Separator() {
    return base::FormatSettings().DecimalSeparator;
}

// The display text as a number: a trailing separator or a lone sign read as if a 0 followed; false for text
// that is no number.
bool DisplayToFloat(std::string text, double& value) {
    text = base::Trim(text);
    if (text.empty() || text == "-") text += "0";
    for (char& c : text)
        if (c == Separator()) c = '.';
    if (text.back() == '.') text += "0";
    double v = 0;
    if (!base::TryStrToFloat(text, v) || !std::isfinite(v)) return false;
    value = v;
    return true;
}

}

double TsCalcForm::DisplayValue() const {
    double v = 0;
    DisplayToFloat(FText, v);
    return v;
}

void TsCalcForm::SetDisplay(double value) {
    if (!std::isfinite(value)) {
        Error();
        return;
    }
    std::string text = base::FloatToStrF(value, base::TFloatFormat::General, std::max(2, FPrecision), 0);
    if (text == "-0") text = "0";
    ShowText(text);
}

void TsCalcForm::SetText(const std::string& value) {
    double v = 0;
    if (!DisplayToFloat(value, v)) {
        ShowText("0");
        FStatus = csResult;
        return;
    }
    SetDisplay(v);
    FStatus = csTyping;
}

void TsCalcForm::StartNumber() {
    if (FStatus != csResult) return;
    FStatus = csTyping;
    ShowText("0");
}

void TsCalcForm::Error() {
    FStatus = csError;
    ShowText("Error");
    Beep();
    if (OnError) OnError(this);
}

void TsCalcForm::Clear() {
    FStatus = csResult;
    SetDisplay(0);
    FOperator = U'=';
}

void TsCalcForm::HandOver() {
    TacCalcClient* client = FClient;
    if (client == nullptr) return;
    client->CalcClientAccept(DisplayValue());
    CloseUp();
}

void TsCalcForm::CalcKey(char32_t key) {
    if (key >= U'a' && key <= U'z') key = key - U'a' + U'A';
    if (FStatus == csError && key != U'C') return;
    if (OnCalcKey) OnCalcKey(this, key);
    const char sep = Separator();
    if (key >= U'0' && key <= U'9') {
        StartNumber();
        std::string text = FText == "0" ? std::string() : FText;
        const std::size_t limit = std::size_t(std::max(2, FPrecision)) + (text.find('-') != std::string::npos ? 1 : 0);
        if (text.find('E') == std::string::npos && text.size() < limit) {
            text += char(key);
            ShowText(text);
        } else {
            Beep();
        }
        return;
    }
    switch (key) {
    case U'.':
    case U',':
        StartNumber();
        if (FText.find(sep) == std::string::npos) ShowText(FText + sep);
        return;
    case U'\b': {
        StartNumber();
        const std::string& t = FText;
        if (t.size() == 1 || (t.size() == 2 && t[0] == '-'))
            ShowText("0");
        else
            ShowText(t.substr(0, t.size() - 1));
        return;
    }
    case U'C':
        Clear();
        return;
    case U'\x1b':
        if (FText != "0") {
            Clear();
        } else {
            if (FClient != nullptr) FClient->CalcClientFocus();
            CloseUp();
        }
        return;
    case U'Q':
    case U'R': {
        FStatus = csResult;
        const double v = DisplayValue();
        if (key == U'Q' ? v < 0 : v == 0)
            Error();
        else
            SetDisplay(key == U'Q' ? std::sqrt(v) : 1 / v);
        return;
    }
    case U'_':
        SetDisplay(-DisplayValue());
        return;
    case U'\x03':
        Copy();
        return;
    case U'\x16':
        Paste();
        return;
    default:
        break;
    }
    if (key == U'\r' && FStatus == csResult && FClient != nullptr) {
        HandOver();
        return;
    }
    if (key != U'+' && key != U'-' && key != U'*' && key != U'/' && key != U'%' && key != U'=' && key != U'\r') return;
    if (FStatus == csTyping) {
        FStatus = csResult;
        double v = DisplayValue();
        if (key == U'%') {
            if (FOperator == U'+' || FOperator == U'-') v = FOperand * v / 100;
            if (FOperator == U'*' || FOperator == U'/') v = v / 100;
        }
        switch (FOperator) {
        case U'+':
            SetDisplay(FOperand + v);
            break;
        case U'-':
            SetDisplay(FOperand - v);
            break;
        case U'*':
            SetDisplay(FOperand * v);
            break;
        case U'/':
            if (v == 0) {
                Error();
                return;
            }
            SetDisplay(FOperand / v);
            break;
        default:
            SetDisplay(v);
            break;
        }
        if (FStatus == csError) return;   // an overflow to infinity
    }
    FOperator = key;
    FOperand = DisplayValue();
    if (key == U'%' || key == U'=' || key == U'\r') {
        if (OnResult) OnResult(this);
    }
    if (key == U'=' && FClient != nullptr) HandOver();
}

void TsCalcForm::MemoryKey(TacMemoryKey key) {
    if (FStatus == csError && key != TacMemoryKey::Clear) return;
    switch (key) {
    case TacMemoryKey::Clear:
        FMemory = 0;
        break;
    case TacMemoryKey::Recall:
        FStatus = csResult;
        SetDisplay(FMemory);
        FStatus = csTyping;   // a value the next operator works on
        break;
    case TacMemoryKey::Store:
        FMemory = DisplayValue();
        break;
    case TacMemoryKey::Plus:
        FMemory += DisplayValue();
        break;
    }
    UpdateMemoryIndicator();
}

void TsCalcForm::Paste() {
    if (!user::IsClipboardFormatAvailable(user::CF_TEXT)) return;
    std::string text = user::GetClipboardText();
    const char thousands = base::FormatSettings().ThousandSeparator;
    if (thousands != Separator()) text.erase(std::remove(text.begin(), text.end(), thousands), text.end());
    double v = 0;
    if (!DisplayToFloat(text, v)) v = 0;
    FStatus = csResult;
    SetDisplay(v);
    FStatus = csTyping;
}

}
