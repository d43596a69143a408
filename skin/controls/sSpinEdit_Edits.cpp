// The spin edits: the base edit with its spin button (layout, keys, wheel, the buttons' skin upkeep), the decimal
// and the integer spin edit with their Value rules.
#include "skin/controls/sSpinEdit.h"

#include "platform/base/FormatSettings.h"
#include "platform/base/Numbers.h"
#include "platform/base/Strings.h"
#include "platform/classes/ControlMessages.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/Text.h"
#include "platform/user/MessageBox.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/controls/EditConstants.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"

#include <cmath>
#include <limits>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

int FontTextHeight(gdi::HFONT font) {
    gdi::HDC dc = gdi::CreateCompatibleDC(nullptr);
    gdi::HGDIOBJ old = gdi::SelectObject(dc, font);
    gdi::TEXTMETRIC tm {};
    const bool ok = gdi::GetTextMetrics(dc, &tm);
    gdi::SelectObject(dc, old);
    gdi::DeleteDC(dc);
    return ok ? int(tm.tmHeight) : 0;
}

bool Loading(const TComponent* c) {
    return c->ComponentState().Contains(csLoading);
}

// The spin edits' character filter; decimals: the decimal separator is allowed too.
bool SpinCharAllowed(char32_t key, char separator, bool decimals, bool editorEnabled) {
    const bool inSet = key == U'+' || key == U'-' || (key >= U'0' && key <= U'9')
        || (decimals && key == char32_t(static_cast<unsigned char>(separator)));
    if (!inSet && (key >= 32 || key == 13)) return false;
    return editorEnabled || (key < 32 && key != 8);
}

}

bool SpinTextToFloat(const std::string& text, double& value) {
    std::string s = base::Trim(text);
    if (s.empty()) return false;
    if (s.find('.') == std::string::npos)
        for (char& c : s)
            if (c == ',') c = '.';
    double v = 0;
    if (!base::TryStrToFloat(s, v) || !std::isfinite(v)) return false;
    value = v;
    return true;
}

// ---- TsBaseSpinEdit ------------------------------------------------------------------------------------------

TsBaseSpinEdit::TsBaseSpinEdit(TComponent* owner) : TsEdit(owner) {
    SetControlStyle(ControlStyle() + TControlStyle {csAcceptsControls} - TControlStyle {csSetCaption});
    FButton = new TsSpinButton(this);
    FButton->SetVisible(false);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](TObject*) { UpClick(); };
    FButton->OnDownClick = [this](TObject*) { DownClick(); };
    FButton->SetVisible(true);
}

TsBaseSpinEdit::~TsBaseSpinEdit() {
    FButton = nullptr;   // freed with the owned components
}

TClass TsBaseSpinEdit::StaticClass() {
    using T = TsBaseSpinEdit;
    static const TClassInfo info = MakeClass<T, TsEdit>("TsBaseSpinEdit", [](TPropertyBuilder<T>& p) {
        p.Bool("EditorEnabled", &T::EditorEnabled, &T::SetEditorEnabled, true);
    });
    return &info;
}

void TsBaseSpinEdit::Loaded() {
    TsEdit::Loaded();
    if (FButton != nullptr) FButton->Loaded();
    LayoutButton();
}

void TsBaseSpinEdit::SetBounds(int left, int top, int width, int height) {
    TsEdit::SetBounds(left, top, width, height);
    LayoutButton();
}

char TsBaseSpinEdit::DecimalSeparator() const {
    return base::FormatSettings().DecimalSeparator;
}

int TsBaseSpinEdit::MinHeight() {
    const int h = FontTextHeight(Font()->Handle());
    const int s = std::min(FontTextHeight(gdi::HFONT(gdi::GetStockObject(gdi::SYSTEM_FONT))), h);
    return h + s / 4 + 4 * user::GetSystemMetrics(user::SM_CYBORDER) + 2;
}

void TsBaseSpinEdit::CreateParams(TCreateParams& params) {
    TsEdit::CreateParams(params);
    params.Style = (params.Style & ~user::WS_BORDER) | user::WS_CLIPCHILDREN;
}

void TsBaseSpinEdit::CreateWnd() {
    TsEdit::CreateWnd();
    SetEditRect();
}

void TsBaseSpinEdit::SetEditRect() {
    if (!HandleAllocated() || FButton == nullptr) return;
    const TRect client = ClientRect();
    gdi::RECT r {0, 0, client.right - FButton->Width() - 2, client.bottom + 1};
    user::SendMessage(Handle(), user::EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TsBaseSpinEdit::LayoutButton() {
    if (FButton == nullptr || Loading(this) || Height() == 0) return;
    FButton->SetBounds(Width() - FButton->Width() - 4, 0, FButton->Width(), std::max(0, Height() - 4));
    SetEditRect();
}

bool TsBaseSpinEdit::IsValidChar(char32_t key) {
    return SpinCharAllowed(key, DecimalSeparator(), true, FEditorEnabled);
}

void TsBaseSpinEdit::UpClick() {
    if (ReadOnly())
        user::MessageBeep(0);
    else
        StepBy(1);
}

void TsBaseSpinEdit::DownClick() {
    if (ReadOnly())
        user::MessageBeep(0);
    else
        StepBy(-1);
}

void TsBaseSpinEdit::KeyDown(user::WORD& key, TShiftState shift) {
    if (key == user::VK_UP)
        UpClick();
    else if (key == user::VK_DOWN)
        DownClick();
    TsEdit::KeyDown(key, shift);
}

void TsBaseSpinEdit::KeyPress(char32_t& key) {
    if (!IsValidChar(key)) {
        key = 0;
        user::MessageBeep(0);
    }
    if (key != 0) TsEdit::KeyPress(key);
}

bool TsBaseSpinEdit::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    TsEdit::DoMouseWheel(shift, wheelDelta, mousePos);
    // Written even for less than a notch: the text is formatted and limited again.
    StepBy(int(static_cast<std::int16_t>(wheelDelta)) / 120);
    return true;
}

void TsBaseSpinEdit::WndProc(TMessage& m) {
    if ((m.Msg == user::WM_PASTE || m.Msg == user::WM_CUT) && (!FEditorEnabled || ReadOnly())) return;
    TsEdit::WndProc(m);
    if (FButton == nullptr || ComponentState().Contains(csDestroying)) return;
    TsTimerSpeedButton* buttons[] = {FButton->UpButton(), FButton->DownButton()};
    if (m.Msg == SM_SKINCMD) {
        const int code = SkinCommandCode(m);
        if (code >= SMC_NEWSKIN && code <= SMC_REFRESH
            && m.LParam == reinterpret_cast<LPARAM>(SkinData()->SkinManager())) {
            for (TsTimerSpeedButton* b : buttons)
                if (b != nullptr) b->Perform(SM_SKINCMD, m.WParam, m.LParam);
            FButton->RebuildDefaultGlyphs();
        } else if (code == SMC_ISUPDATING) {
            m.LParam = 0;
        }
        return;
    }
    switch (m.Msg) {
    case user::WM_PAINT:
        for (TsTimerSpeedButton* b : buttons) {
            if (b == nullptr) continue;
            b->Perform(SM_SKINCMD, SkinCommandWParam(SMC_STOPFADING), 0);
            b->SkinData()->BGChanged = true;
            b->Repaint();
        }
        break;
    case user::WM_SIZE:
        if (Height() < MinHeight() && !Loading(this))
            SetHeight(MinHeight());
        else
            LayoutButton();
        break;
    case CM_ENABLEDCHANGED:
        FButton->SetEnabled(Enabled());
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        for (TsTimerSpeedButton* b : buttons) {
            if (b == nullptr) continue;
            b->SkinData()->MouseAbove = false;
            b->Perform(SM_SKINCMD, SkinCommandWParam(SMC_STOPFADING), 0);
            b->SkinData()->Invalidate();
        }
        break;
    default:
        break;
    }
}

// ---- TsDecimalSpinEdit ---------------------------------------------------------------------------------------

TsDecimalSpinEdit::TsDecimalSpinEdit(TComponent* owner) : TsBaseSpinEdit(owner) { }

TClass TsDecimalSpinEdit::StaticClass() {
    using T = TsDecimalSpinEdit;
    static const TClassInfo info = MakeClass<T, TsBaseSpinEdit>("TsDecimalSpinEdit", [](TPropertyBuilder<T>& p) {
        p.Float("Increment", &T::Increment, &T::SetIncrement, 1.0);
        p.Float("MaxValue", &T::MaxValue, &T::SetMaxValue, 0.0);
        p.Float("MinValue", &T::MinValue, &T::SetMinValue, 0.0);
        p.Float("Value", &T::Value, &T::SetValue, std::nullopt);
        p.Int("DecimalPlaces", &T::DecimalPlaces, &T::SetDecimalPlaces, 2);
    });
    return &info;
}

double TsDecimalSpinEdit::CheckValue(double value) const {
    if (FMinValue == FMaxValue) return value;
    if (value < FMinValue) return FMinValue;
    if (value > FMaxValue) return FMaxValue;
    return value;
}

double TsDecimalSpinEdit::Value() const {
    double v = FMinValue;
    SpinTextToFloat(Text(), v);
    return v;
}

void TsDecimalSpinEdit::SetValue(double value) {
    const double v = CheckValue(value);
    if (Loading(this)) return;
    SetText(base::FloatToStrF(v, base::TFloatFormat::Fixed, 18, FDecimalPlaces));
}

void TsDecimalSpinEdit::SetDecimalPlaces(int value) {
    if (FDecimalPlaces == value) return;
    FDecimalPlaces = value;
    if (!Loading(this)) SetValue(CheckValue(Value()));
}

void TsDecimalSpinEdit::StepBy(int steps) {
    SetValue(Value() + steps * FIncrement);
}

void TsDecimalSpinEdit::DoExit() {
    const double v = Value();
    if (CheckValue(v) != v) SetValue(v);
    TsBaseSpinEdit::DoExit();
}

// ---- TsSpinEdit ----------------------------------------------------------------------------------------------

TsSpinEdit::TsSpinEdit(TComponent* owner) : TsBaseSpinEdit(owner) { }

TClass TsSpinEdit::StaticClass() {
    using T = TsSpinEdit;
    static const TClassInfo info = MakeClass<T, TsBaseSpinEdit>("TsSpinEdit", [](TPropertyBuilder<T>& p) {
        p.Int("Increment", &T::Increment, &T::SetIncrement, 1);
        p.Int("MaxValue", &T::MaxValue, &T::SetMaxValue, 0);
        p.Int("MinValue", &T::MinValue, &T::SetMinValue, 0);
        p.Int("Value", &T::Value, &T::SetValue);
    });
    return &info;
}

std::int64_t TsSpinEdit::CheckValue(std::int64_t value) const {
    if (FMinValue == FMaxValue) return value;
    return std::clamp(value, FMinValue, std::max(FMinValue, FMaxValue));
}

std::int64_t TsSpinEdit::Value() const {
    std::int64_t v = FMinValue;
    base::TryStrToInt64(base::Trim(Text()), v);
    return v;
}

void TsSpinEdit::SetValue(std::int64_t value) {
    const std::int64_t v = CheckValue(value);
    if (Loading(this)) return;
    SetText(base::IntToStr(v));
}

bool TsSpinEdit::IsValidChar(char32_t key) {
    return SpinCharAllowed(key, DecimalSeparator(), false, EditorEnabled());
}

namespace {

// value + steps * increment, held at the 64-bit range instead of overflowing.
std::int64_t SaturatedStep(std::int64_t value, std::int64_t steps, std::int64_t increment) {
    const long double r = (long double)value + (long double)steps * (long double)increment;
    if (r >= (long double)std::numeric_limits<std::int64_t>::max()) return std::numeric_limits<std::int64_t>::max();
    if (r <= (long double)std::numeric_limits<std::int64_t>::min()) return std::numeric_limits<std::int64_t>::min();
    return std::int64_t(r);
}

}

void TsSpinEdit::StepBy(int steps) {
    SetValue(SaturatedStep(Value(), steps, FIncrement));
}

void TsSpinEdit::DoExit() {
    const std::int64_t v = Value();
    if (CheckValue(v) != v) SetValue(v);
    TsBaseSpinEdit::DoExit();
}

}
