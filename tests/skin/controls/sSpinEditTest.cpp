// The spin edits by real mouse and keys: buttons with auto-repeat on the fake clock, arrow keys, the wheel, the
// character filter and its beeps, read-only edits, the Value rules, loading from form text, the layout.
#include "support/ControlsKit.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TForm.h"
#include "platform/user/VirtualKeys.h"
#include "skin/controls/sControlClasses.h"
#include "skin/controls/sSpinEdit.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

#include <cmath>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class SpinEditTest : public ControlsTest {
protected:
    template <class T>
    T* NewSpin(int left = 20, int top = 20, int width = 100) {
        auto* spin = Create<T>(Form);
        spin->SetBounds(left, top, width, 24);
        spin->SetParent(Form);
        Pump();
        return spin;
    }
    // The centre of a spin button, in the edit's button's own coordinates.
    static TPoint Centre(const TControl* c) { return TPoint {c->Width() / 2, c->Height() / 2}; }
    void HoldUp(TsBaseSpinEdit* spin) {
        TControl* b = spin->Button()->UpButton();
        DownAt(b, Centre(b).x, Centre(b).y);
    }
    void ReleaseUp(TsBaseSpinEdit* spin) {
        TControl* b = spin->Button()->UpButton();
        UpAt(b, Centre(b).x, Centre(b).y);
    }
    void ClickButton(TControl* b) { ClickAt(b, Centre(b).x, Centre(b).y); }
    void WheelOver(TControl* c, int delta) {
        const TPoint p = c->ClientToScreen(TPoint {10, 5});
        Display->Wheel(p.x, p.y, delta);
        Pump();
    }
};

TEST_F(SpinEditTest, ButtonsStepTheValueAndALimitStopsAtMaxValue) {
    UseSkin(0);
    auto* spin = NewSpin<TsDecimalSpinEdit>();
    spin->SetMinValue(0);
    spin->SetMaxValue(10);
    spin->SetIncrement(3);
    spin->SetValue(9);
    EXPECT_EQ(spin->Text(), "9.00");
    ClickButton(spin->Button()->UpButton());
    EXPECT_EQ(spin->Text(), "10.00");
    ClickButton(spin->Button()->DownButton());
    ClickButton(spin->Button()->DownButton());
    EXPECT_EQ(spin->Text(), "4.00");
}

TEST_F(SpinEditTest, HeldButtonRepeatsAfter400msThenEvery100msUntilRelease) {
    UseSkin(1);
    auto* spin = NewSpin<TsSpinEdit>();
    spin->SetValue(0);
    HoldUp(spin);
    EXPECT_TRUE(spin->Button()->UpButton()->Repeating());
    Advance(399);
    EXPECT_EQ(spin->Value(), 0);
    Advance(1);
    EXPECT_EQ(spin->Value(), 1);
    Advance(99);
    EXPECT_EQ(spin->Value(), 1);
    Advance(1);
    Advance(100);
    Advance(100);
    EXPECT_EQ(spin->Value(), 4);
    ReleaseUp(spin);   // the release over the button is a click of its own
    EXPECT_EQ(spin->Value(), 5);
    EXPECT_FALSE(spin->Button()->UpButton()->Repeating());
    Advance(1000);
    EXPECT_EQ(spin->Value(), 5);
}

TEST_F(SpinEditTest, ArrowKeysAndTheWheelStepByIncrement) {
    UseSkin(2);
    auto* spin = NewSpin<TsDecimalSpinEdit>();
    spin->SetIncrement(0.5);
    spin->SetValue(1);
    ClickAt(spin, 10, 8);
    ASSERT_TRUE(spin->Focused());
    Key(user::VK_UP);
    Key(user::VK_UP);
    EXPECT_EQ(spin->Text(), "2.00");
    Key(user::VK_DOWN);
    EXPECT_EQ(spin->Text(), "1.50");
    WheelOver(spin, 120);
    EXPECT_EQ(spin->Text(), "2.00");
    WheelOver(spin, -240);
    EXPECT_EQ(spin->Text(), "1.00");
    WheelOver(spin, 60);   // less than a notch adds nothing
    EXPECT_EQ(spin->Text(), "1.00");
    // ... but writes the value again: typed text is formatted.
    spin->SetText("3");
    WheelOver(spin, 60);
    EXPECT_EQ(spin->Text(), "3.00");
}

TEST_F(SpinEditTest, RefusedCharactersBeepAndInsertNothing) {
    UseSkin(-1);
    auto* spin = NewSpin<TsDecimalSpinEdit>();
    spin->SetText("");
    ClickAt(spin, 10, 8);
    const int bells = Display->BellCount();
    Type("1a2");
    EXPECT_EQ(spin->Text(), "12");
    EXPECT_EQ(Display->BellCount(), bells + 1);
    Display->Press(user::VK_RETURN, "\r");
    Pump();
    EXPECT_EQ(Display->BellCount(), bells + 2);
    Type("-.5");
    EXPECT_EQ(spin->Text(), "12-.5");
    // Without the editor digits and Backspace are refused too.
    spin->SetEditorEnabled(false);
    Type("7");
    Display->Press(user::VK_BACK, "\b");
    Pump();
    EXPECT_EQ(spin->Text(), "12-.5");
    EXPECT_EQ(Display->BellCount(), bells + 4);
    EXPECT_TRUE(spin->IsValidChar(U'\x03'));   // other control keys pass
}

TEST_F(SpinEditTest, TheIntegerSpinEditRefusesTheDecimalPoint) {
    auto* spin = NewSpin<TsSpinEdit>();
    EXPECT_FALSE(spin->IsValidChar(U'.'));
    EXPECT_TRUE(spin->IsValidChar(U'7'));
    auto* dec = NewSpin<TsDecimalSpinEdit>(20, 60);
    EXPECT_TRUE(dec->IsValidChar(U'.'));
}

TEST_F(SpinEditTest, ReadOnlyEditBeepsOnUpAndDownAndKeepsItsValue) {
    UseSkin(3);
    auto* spin = NewSpin<TsDecimalSpinEdit>();
    spin->SetValue(5);
    spin->SetReadOnly(true);
    const int bells = Display->BellCount();
    ClickButton(spin->Button()->UpButton());
    ClickButton(spin->Button()->DownButton());
    EXPECT_EQ(spin->Text(), "5.00");
    EXPECT_EQ(Display->BellCount(), bells + 2);
}

struct ValueCase {
    double Min, Max;
    const char* Text;
    double Expected;
};

TEST_F(SpinEditTest, ValueReadsTheTextAndGivesMinValueForEmptyOrBadText) {
    auto* spin = NewSpin<TsDecimalSpinEdit>();
    const ValueCase cases[] = {
        {0, 0, "", 0},
        {3, 9, "", 3},
        {3, 9, "abc", 3},
        {3, 9, "1.2.3", 3},
        {3, 9, "-", 3},
        {0, 0, "  2.5 ", 2.5},
        {0, 0, "2,5", 2.5},
        {0, 0, "-7.25", -7.25},
        {3, 9, "25", 25},   // reading does not limit; leaving the control does
        {0, 0, "1e3", 1000},
    };
    for (const ValueCase& c : cases) {
        spin->SetMinValue(c.Min);
        spin->SetMaxValue(c.Max);
        spin->SetText(c.Text);
        EXPECT_DOUBLE_EQ(spin->Value(), c.Expected) << '"' << c.Text << '"';
    }
}

struct WriteCase {
    double Min, Max;
    int Decimals;
    double Written;
    const char* Text;
};

TEST_F(SpinEditTest, ValueWriteLimitsOnlyWhenTheLimitsDifferAndFormatsTheDecimals) {
    auto* spin = NewSpin<TsDecimalSpinEdit>();
    const WriteCase cases[] = {
        {0, 0, 2, -1e6, "-1000000.00"},
        {0, 0, 2, 1e6, "1000000.00"},
        {0, 10, 2, 11, "10.00"},
        {0, 10, 2, -1, "0.00"},
        {5, 5, 1, 99, "99.0"},
        {0, 0, 0, 2.25, "2"},
        {0, 0, 3, 1.5, "1.500"},
    };
    for (const WriteCase& c : cases) {
        spin->SetMinValue(c.Min);
        spin->SetMaxValue(c.Max);
        spin->SetDecimalPlaces(c.Decimals);
        spin->SetValue(c.Written);
        EXPECT_EQ(spin->Text(), c.Text) << c.Written;
    }
}

TEST_F(SpinEditTest, ChangingDecimalPlacesRewritesTheText) {
    auto* spin = NewSpin<TsDecimalSpinEdit>();
    spin->SetValue(1.75);
    EXPECT_EQ(spin->Text(), "1.75");
    spin->SetDecimalPlaces(0);
    EXPECT_EQ(spin->Text(), "2");
    spin->SetDecimalPlaces(3);
    EXPECT_EQ(spin->Text(), "2.000");
}

// DecimalPlaces is kept as written; the fixed format writes no decimals for a negative count and at most 18.
TEST_F(SpinEditTest, DecimalPlacesOutsideTheFormatsRangeAreKeptAndWriteTheNearestText) {
    auto* spin = NewSpin<TsDecimalSpinEdit>();
    spin->SetValue(1.75);
    spin->SetDecimalPlaces(-3);
    EXPECT_EQ(spin->DecimalPlaces(), -3);
    EXPECT_EQ(spin->Text(), "2");
    spin->SetDecimalPlaces(40);
    EXPECT_EQ(spin->DecimalPlaces(), 40);
    EXPECT_EQ(spin->Text(), "2." + std::string(18, '0'));
}

TEST_F(SpinEditTest, LeavingTheControlLimitsATypedValue) {
    UseSkin(0);
    auto* spin = NewSpin<TsDecimalSpinEdit>();
    auto* other = NewSpin<TsSpinEdit>(20, 80);
    spin->SetMinValue(0);
    spin->SetMaxValue(10);
    ClickAt(spin, 10, 8);
    spin->SelectAll();
    Type("25");
    EXPECT_EQ(spin->Text(), "25");
    ClickAt(other, 10, 8);
    EXPECT_EQ(spin->Text(), "10.00");
    // An integer edit likewise.
    other->SetMinValue(-5);
    other->SetMaxValue(5);
    other->SelectAll();
    Type("-9");
    ClickAt(spin, 10, 8);
    EXPECT_EQ(other->Text(), "-5");
}

TEST_F(SpinEditTest, IntegerStepsSaturateInsteadOfOverflowing) {
    auto* spin = NewSpin<TsSpinEdit>();
    spin->SetIncrement(INT64_MAX);
    spin->SetValue(INT64_MAX - 1);
    spin->UpClick();
    EXPECT_EQ(spin->Value(), INT64_MAX);
    spin->SetValue(INT64_MIN + 1);
    spin->DownClick();
    EXPECT_EQ(spin->Value(), INT64_MIN);
}

// A form whose component text sets Value: the text is not written while loading.
class TSpinForm : public TForm {
public:
    explicit TSpinForm(TComponent* owner) : TForm(owner) {
        TMethodTable methods;
        methods.Field("Spin", Spin);
        ReadForm(R"(object SpinForm: TSpinForm
  Left = 0
  Top = 0
  ClientWidth = 200
  ClientHeight = 80
  object Spin: TsDecimalSpinEdit
    Left = 8
    Top = 8
    Width = 90
    Height = 22
    MaxValue = 100
    MinValue = 1
    Value = 42
    DecimalPlaces = 1
  end
end
)",
            methods);
    }
    static TClass StaticClass() {
        static const TClassInfo info = MakeClass<TSpinForm, TForm>("TSpinForm");
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }
    TsDecimalSpinEdit* Spin = nullptr;
};

TEST_F(SpinEditTest, LoadingFromFormTextSetsTheLimitsButNotTheText) {
    RegisterSkinControlClasses();
    auto* form = Create<TSpinForm>(classes::Application);
    ASSERT_NE(form->Spin, nullptr);
    EXPECT_EQ(form->Spin->Text(), "");
    EXPECT_DOUBLE_EQ(form->Spin->Value(), 1);   // the empty text reads as MinValue
    EXPECT_DOUBLE_EQ(form->Spin->MaxValue(), 100);
    EXPECT_EQ(form->Spin->DecimalPlaces(), 1);
    form->Spin->SetValue(42);
    EXPECT_EQ(form->Spin->Text(), "42.0");
    delete form;
}

TEST_F(SpinEditTest, TheButtonSitsAtTheRightEdgeAndTheHeightIsKeptAtTheMinimum) {
    UseSkin(1);
    auto* spin = NewSpin<TsDecimalSpinEdit>(20, 20, 120);
    TsSpinButton* b = spin->Button();
    EXPECT_EQ(b->Left(), spin->Width() - b->Width() - 4);
    EXPECT_EQ(b->Height(), spin->Height() - 4);
    EXPECT_EQ(b->UpButton()->Height() + b->DownButton()->Height(), b->Height());
    spin->SetBounds(20, 20, 120, 8);
    Pump();
    EXPECT_EQ(spin->Height(), spin->MinHeight());
    // The enabled state reaches the arrows.
    spin->SetEnabled(false);
    EXPECT_FALSE(b->UpButton()->Enabled());
    EXPECT_FALSE(b->DownButton()->Enabled());
}

// The default arrows are black triangles outlined in the spin button's font colour, in every skin and without.
TEST_F(SpinEditTest, DefaultArrowsAreBlackOutlinedInTheSpinButtonsFontColour) {
    UseSkin(2);   // dark
    auto* spin = NewSpin<TsDecimalSpinEdit>();
    ASSERT_TRUE(spin->Button()->UpButton()->SkinData()->Skinned());
    spin->Button()->Font()->SetColor(clRed);
    spin->Perform(SM_SKINCMD, SkinCommandWParam(SMC_REFRESH), reinterpret_cast<LPARAM>(Manager));
    for (TsTimerSpeedButton* b : {spin->Button()->UpButton(), spin->Button()->DownButton()}) {
        const bool up = b == spin->Button()->UpButton();
        TBitmap* glyph = b->Glyph();
        ASSERT_EQ(glyph->Width(), 9);
        ASSERT_EQ(glyph->Height(), 5);
        EXPECT_EQ(glyph->Canvas()->Pixels(4, up ? 3 : 2), clBlack);   // inside
        EXPECT_EQ(glyph->Canvas()->Pixels(4, up ? 1 : 4), clRed);   // the apex on the outline
        EXPECT_EQ(glyph->Canvas()->Pixels(0, 4), TColor(0xFF00FF));   // the transparent corner
    }
    UseSkin(-1);
    spin->Perform(SM_SKINCMD, SkinCommandWParam(SMC_REMOVESKIN), reinterpret_cast<LPARAM>(Manager));
    EXPECT_EQ(spin->Button()->UpButton()->Glyph()->Canvas()->Pixels(4, 3), clBlack);
    EXPECT_EQ(spin->Button()->UpButton()->Glyph()->Canvas()->Pixels(4, 1), clRed);
}

}
