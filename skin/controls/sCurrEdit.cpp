// TsCustomNumEdit and TsCurrencyEdit: value and text, limits, formatting, the key filter, entering and leaving,
// the text painted into the cache, and the calculator as the drop-down.
#include "skin/controls/sCurrEdit.h"

#include "platform/base/Exceptions.h"
#include "platform/base/FormatSettings.h"
#include "platform/base/Numbers.h"
#include "platform/base/ScopeGuard.h"
#include "platform/base/Strings.h"
#include "platform/classes/ControlMessages.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/user/MessageBox.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "skin/controls/sEditFrame.h"
#include "skin/controls/sPanel.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sSkinnedText.h"
#include "skin/engine/sStyleSimply.h"

#include <cmath>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

char DecimalSep() {
    return base::FormatSettings().DecimalSeparator;
}

char ThousandSep() {
    return base::FormatSettings().ThousandSeparator;
}

// The window text's format: the plain number with up to places decimals.
std::string PlainFormat(int places) {
    return places > 0 ? "0." + std::string(std::size_t(places), '#') : "0";
}

}

std::string TextToValText(const std::string& text) {
    const char dec = DecimalSep();
    const char thousands = ThousandSep();
    std::string s;
    for (char c : base::Trim(text)) {
        if (c == thousands && thousands != dec) continue;
        if ((c == '.' || c == ',') && c != thousands) c = dec;
        s += c;
    }
    if (s.empty()) return "0";
    if (s == "-") return "-0";
    return s;
}

TsCustomNumEdit::TsCustomNumEdit(TComponent* owner) : TsCustomComboEdit(owner) {
    SetAlignment(taRightJustify);
    SetGlyphName("BTN_CALC");
    ReformatEditText();
}

TsCustomNumEdit::~TsCustomNumEdit() {
    if (TsCalcForm* calc = FCalc) {
        FCalc = nullptr;
        calc->SetClient(nullptr);   // the calculator is freed with the components
    }
}

TClass TsCustomNumEdit::StaticClass() {
    using T = TsCustomNumEdit;
    static const TClassInfo info = MakeClass<T, TsCustomComboEdit>("TsCustomNumEdit", [](TPropertyBuilder<T>& p) {
        p.Bool("BeepOnError", &T::BeepOnError, &T::SetBeepOnError, true);
        p.Bool("CheckOnExit", &T::CheckOnExit, &T::SetCheckOnExit, false);
        p.Int("DecimalPlaces", &T::DecimalPlaces, &T::SetDecimalPlaces, 2);
        p.String("DisplayFormat", &T::DisplayFormat, &T::SetDisplayFormat).Stored(&T::IsDisplayFormatStored);
        p.Float("MaxValue", &T::MaxValue, &T::SetMaxValue, 0.0);
        p.Float("MinValue", &T::MinValue, &T::SetMinValue, 0.0);
        p.Float("Value", &T::StoredValue, &T::SetValue, 0.0);
    });
    return &info;
}

bool TsCustomNumEdit::Designing() const {
    return ComponentState().Contains(csDesigning);
}

double TsCustomNumEdit::CheckValue(double value) const {
    if (FMinValue == FMaxValue) return value;
    if (FMinValue < FMaxValue) return std::clamp(value, FMinValue, FMaxValue);
    if (FMaxValue == 0) return value < FMinValue ? FMinValue : value;   // only the lower limit
    if (FMinValue == 0) return value > FMaxValue ? FMaxValue : value;   // only the upper limit
    return value;
}

bool TsCustomNumEdit::TextToValue(double& value) const {
    double v = 0;
    if (!base::TryStrToFloat(TextToValText(Text()), v) || !std::isfinite(v)) return false;
    value = v;
    return true;
}

double TsCustomNumEdit::Value() {
    // The sign belongs to the number before the limits apply: "-5" with MinValue 10 gives 10, not -10. A text
    // that is no number raises EConvertError.
    if (!Designing()) FValue = CheckValue(base::StrToFloat(TextToValText(Text())));
    return FValue;
}

void TsCustomNumEdit::SetValue(double value) {
    FValue = CheckValue(value);
    ReformatEditText();
    SkinData()->Invalidate();
}

std::int64_t TsCustomNumEdit::AsInteger() {
    return base::Trunc(Value());
}

void TsCustomNumEdit::SetNumText(const std::string& value) {
    if (ComponentState().Contains(csReading)) return;
    const std::string text = TextToValText(value);
    FValue = CheckValue(base::StrToFloat(text));   // raises EConvertError for a text that is no number
    ReformatEditText();
    SkinData()->Invalidate();
}

void TsCustomNumEdit::SetMinValue(double value) {
    if (FMinValue == value) return;
    FMinValue = value;
    SetValue(FValue);
}

void TsCustomNumEdit::SetMaxValue(double value) {
    if (FMaxValue == value) return;
    FMaxValue = value;
    SetValue(FValue);
}

void TsCustomNumEdit::SetDecimalPlaces(int value) {
    value = std::max(value, 0);   // a count of places
    if (FDecimalPlaces == value) return;
    FDecimalPlaces = value;
    ReformatEditText();
    SkinData()->Invalidate();
}

void TsCustomNumEdit::SetDisplayFormat(const std::string& value) {
    if (FDisplayFormat == value) return;
    FDisplayFormat = value;
    SkinData()->Invalidate();
    ReformatEditText();
}

void TsCustomNumEdit::ReformatEditText() {
    if (!EditMask().empty()) return;
    base::ValueRollback<bool> formatting(FFormatting, true);
    const std::string text = base::FormatFloat(PlainFormat(FDecimalPlaces), FValue);
    if (Text() != text) SetText(text);
}

std::string TsCustomNumEdit::GetDisplayText() {
    if (FFocused) return Text();
    double v = FValue;
    TextToValue(v);
    return FDisplayFormat.empty() ? base::FloatToStr(v) : base::FormatFloat(FDisplayFormat, v);
}

bool TsCustomNumEdit::IsValidChar(char32_t key) {
    if (key < 32 || key > 126) return key < 32;
    // The text as it would be with the key in place of the selection.
    const std::string text = Text();
    const std::size_t start = std::min<std::size_t>(std::size_t(std::max(0, SelStart())), text.size());
    const std::size_t length = std::min<std::size_t>(std::size_t(std::max(0, SelLength())), text.size() - start);
    const std::string s = TextToValText(text.substr(0, start) + char(key) + text.substr(start + length));
    if (const std::size_t p = s.find(DecimalSep()); p != std::string::npos) {
        const std::size_t e = base::UpperCase(s).find('E', p);
        const std::size_t decimals = (e == std::string::npos ? s.size() : e) - p - 1;
        if (decimals > std::size_t(FDecimalPlaces)) return false;
    }
    double v = 0;
    if (!base::TryStrToFloat(s, v)) return false;
    if (FMinValue >= 0 && FMaxValue > 0 && v < 0) return false;
    return true;
}

void TsCustomNumEdit::KeyPress(char32_t& key) {
    if ((key == U'.' || key == U',') && key != char32_t(ThousandSep())) key = char32_t(DecimalSep());
    TsCustomComboEdit::KeyPress(key);
    if (key >= 32 && !IsValidChar(key)) {
        key = 0;
        if (FBeepOnError) user::MessageBeep(0);
    } else if (key == 27) {
        ReformatEditText();
        SelectAll();
        key = 0;
    }
}

void TsCustomNumEdit::SetFocusedFlag(bool value) {
    if (FFocused == value) return;
    FFocused = value;
    if (!(value && AutoSelect())) SkinData()->Invalidate();
    ReformatEditText();
}

void TsCustomNumEdit::DoEnter() {
    SetFocusedFlag(true);
    TsCustomComboEdit::DoEnter();
}

void TsCustomNumEdit::DoExit() {
    double v = 0;
    const bool number = TextToValue(v);
    if (!number && !Designing()) {
        // The edit keeps the focus with the text selected; the error goes to the application's handler.
        SelectAll();
        if (CanFocus()) SetFocus();
        throw base::EConvertError("'" + Text() + "' is not a valid floating point value");
    }
    FValue = CheckValue(v);
    SetFocusedFlag(false);
    SetSelStart(0);
    TsCustomComboEdit::DoExit();
}

void TsCustomNumEdit::PaintText() {
    TBitmap* cache = SkinData()->CacheBmp();
    if (cache == nullptr) return;
    const std::string text = PasswordChar() != 0 ? ShownEditText(this, Text()) : GetDisplayText();
    if (text.empty()) return;
    TCanvas* canvas = cache->Canvas();
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsClear);
    const int button = Button() != nullptr && Button()->Visible() ? Button()->Width() : 0;
    TRect r {3, 2, Width() - 3 - button, Height() - 3};
    if (r.right <= r.left || r.bottom <= r.top) return;
    const unsigned flags = TextAlignFlags(this, Alignment());
    OutputSkinnedText(canvas, text, true, r, flags, SkinData(), (CurrentState() & 127) != 0);
}

void TsCustomNumEdit::WndProc(TMessage& m) {
    TsCustomComboEdit::WndProc(m);
    if (m.Msg == user::WM_PASTE && !ComponentState().Contains(csDestroying)) Value();   // the value from the text
}

// ---- The calculator ------------------------------------------------------------------------------------------

void TsCustomNumEdit::ButtonClick() {
    if (!PopupVisible()) MakeCalculator();
    TsCustomComboEdit::ButtonClick();
}

void TsCustomNumEdit::PopupDropDown() {
    MakeCalculator();
    TsCustomComboEdit::PopupDropDown();
}

void TsCustomNumEdit::MakeCalculator() {
    if (FCalc == nullptr) {
        base::ValueRollback<bool> creating(CalcPopupCreating, true);   // no fades while it is made
        FCalc = new TsCalcForm(this);
        FCalc->SetClient(this);
        FCalc->HideDragBar();
        FCalc->SetPrecision(16);
        FCalc->SetText(Text());
        FCalc->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
        SetPopupWidth(FCalc->Width());
        SetPopup(FCalc);
    }
}

void TsCustomNumEdit::CalcClientAccept(double value) {
    SetValue(value);   // no OnChange while the popup shows
    PopupCloseUp();
    if (CanFocus()) SetFocus();
    if (AutoSelect()) SelectAll();
    Change();
}

void TsCustomNumEdit::CalcClientFocus() {
    if (CanFocus()) SetFocus();
}

void TsCustomNumEdit::CalcClientClosed() {
    FCalc = nullptr;
}

// ---- TsCurrencyEdit ------------------------------------------------------------------------------------------

TsCurrencyEdit::TsCurrencyEdit(TComponent* owner) : TsCustomNumEdit(owner) {
    SkinData()->ControlKind = TacControlKind::CurrencyEdit;
    SetGlyphName(GlyphName());   // the glyph measured again for this kind: width 0, the button shrinks to nothing
}

TClass TsCurrencyEdit::StaticClass() {
    using T = TsCurrencyEdit;
    static const TClassInfo info = MakeClass<T, TsCustomNumEdit>("TsCurrencyEdit", [](TPropertyBuilder<T>& p) {
        p.Enum("Alignment", &T::Alignment, &T::SetAlignment, AlignmentIdents, taRightJustify);
        p.String("Text", &T::Text, &T::SetNumText).Stored(false);   // Value is what a form keeps
    });
    return &info;
}

}
