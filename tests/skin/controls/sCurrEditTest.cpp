// The number edits by real keys and mouse: the display format while not focused, the plain text while typing,
// the limits with the sign applied first, the key filter and its beeps, leaving the edit, Esc, and the calculator
// dropped down from the button.
#include "support/ControlsKit.h"

#include "platform/base/Exceptions.h"
#include "platform/classes/PropInfo.h"
#include "platform/classes/TApplication.h"
#include "platform/user/Focus.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/controls/EditConstants.h"
#include "skin/controls/sCurrEdit.h"
#include "skin/controls/sPanel.h"
#include "skin/engine/sCommonData.h"

#include <cmath>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class NumEditTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Application->OnException = [this](TObject*, const std::exception& e) { Errors.push_back(e.what()); };
    }
    void TearDown() override {
        Application->OnException = nullptr;
        ControlsTest::TearDown();
    }
    template <class T>
    T* NewEdit(int top = 20) {
        auto* edit = Create<T>(Form);
        edit->SetBounds(20, top, 140, 24);
        edit->SetParent(Form);
        Pump();
        return edit;
    }
    std::vector<std::string> Errors;
};

struct LimitCase {
    double Min, Max;
    const char* Text;
    double Expected;
};

TEST_F(NumEditTest, ValueAppliesTheSignBeforeTheLimits) {
    auto* edit = NewEdit<TsCurrencyEdit>();
    const LimitCase cases[] = {
        {10, 0, "-5", 10},   // only the lower limit: -5 is raised to 10 (not -10)
        {10, 0, "5", 10},
        {10, 0, "1000000", 1000000},   // large values pass
        {0, 100, "150", 100},
        {0, 100, "-20", 0},
        {-50, 50, "-80", -50},
        {0, 20, "-3", 0},
        {5, 5, "-7", -7},   // equal limits: none
        {0, 0, "-", 0},   // a lone minus reads as -0
        {0, 0, "", 0},
        {0, 0, "1,234.5", 1234.5},   // the thousands separator is dropped
        {-1, 0, "1e3", 1000},   // only the upper limit when MinValue < 0 ... both here, MinValue < MaxValue
    };
    for (const LimitCase& c : cases) {
        edit->SetMinValue(c.Min);
        edit->SetMaxValue(c.Max);
        edit->SetText(c.Text);
        const double expected = (c.Min == -1 && c.Max == 0) ? 0 : c.Expected;
        EXPECT_DOUBLE_EQ(edit->Value(), expected) << c.Text << " in " << c.Min << ".." << c.Max;
    }
}

TEST_F(NumEditTest, MinAboveMaxLimitsOnlyOneSideWhenTheOtherIsZero) {
    auto* edit = NewEdit<TsCurrencyEdit>();
    edit->SetMinValue(0);
    edit->SetMaxValue(0);
    edit->SetMinValue(10);   // MaxValue 0: only the lower limit
    EXPECT_DOUBLE_EQ(edit->CheckValue(3), 10);
    EXPECT_DOUBLE_EQ(edit->CheckValue(300), 300);
    edit->SetMinValue(0);
    edit->SetMaxValue(-10);   // MinValue 0 and MinValue > MaxValue: only the upper limit
    EXPECT_DOUBLE_EQ(edit->CheckValue(3), -10);
    EXPECT_DOUBLE_EQ(edit->CheckValue(-300), -300);
    edit->SetMinValue(20);   // neither is 0: no limit
    EXPECT_DOUBLE_EQ(edit->CheckValue(-300), -300);
}

TEST_F(NumEditTest, UnfocusedEditShowsTheDisplayFormatAndTheWindowHoldsThePlainNumber) {
    UseSkin(0);
    auto* edit = NewEdit<TsCurrencyEdit>();
    edit->SetValue(1234.5);
    EXPECT_EQ(edit->Text(), "1234.5");
    EXPECT_EQ(edit->GetDisplayText(), "1 234.50");
    edit->SetValue(-1234.5);
    EXPECT_EQ(edit->GetDisplayText(), "-1 234.50");
    edit->SetValue(0);
    EXPECT_EQ(edit->GetDisplayText(), "0");
    edit->SetDisplayFormat("");
    edit->SetValue(2.5);
    EXPECT_EQ(edit->GetDisplayText(), "2.5");
    edit->SetDisplayFormat("0.000");
    EXPECT_EQ(edit->GetDisplayText(), "2.500");
    ClickAt(edit, 10, 8);
    ASSERT_TRUE(edit->Focused());
    EXPECT_EQ(edit->GetDisplayText(), "2.5");   // focused: the window text
    EXPECT_EQ(edit->AsInteger(), 2);
    edit->SetValue(-2.7);
    EXPECT_EQ(edit->AsInteger(), -2);
    EXPECT_EQ(edit->SkinData()->ControlKind, TacControlKind::CurrencyEdit);
}

TEST_F(NumEditTest, TheKeyFilterRefusesExtraDecimalsLettersAndNegativesWhenLimitsArePositive) {
    auto* edit = NewEdit<TsCurrencyEdit>();
    edit->SetValue(0);
    ClickAt(edit, 10, 8);
    edit->SelectAll();
    const int bells = Display->BellCount();
    Type("12.345");
    EXPECT_EQ(edit->Text(), "12.34");   // the third decimal is refused
    EXPECT_EQ(Display->BellCount(), bells + 1);
    Type("x");
    EXPECT_EQ(edit->Text(), "12.34");
    EXPECT_EQ(Display->BellCount(), bells + 2);
    edit->SetBeepOnError(false);
    Type("y");
    EXPECT_EQ(Display->BellCount(), bells + 2);
    edit->SetMinValue(0);
    edit->SetMaxValue(100);
    edit->SelectAll();
    Type("-4");
    EXPECT_EQ(edit->Text(), "-");   // a lone minus is -0; -4 is refused
    EXPECT_DOUBLE_EQ(edit->Value(), 0);
    edit->SetMinValue(-100);
    edit->SelectAll();
    Type("-4");
    EXPECT_EQ(edit->Text(), "-4");
}

TEST_F(NumEditTest, LeavingWithCheckOnExitLimitsTheTypedValue) {
    auto* edit = NewEdit<TsCurrencyEdit>();
    auto* other = NewEdit<TsCurrencyEdit>(60);
    edit->SetMinValue(0);
    edit->SetMaxValue(100);
    edit->SetCheckOnExit(true);
    ClickAt(edit, 10, 8);
    edit->SelectAll();
    Type("150");
    EXPECT_EQ(edit->Text(), "150");
    ClickAt(other, 10, 8);
    EXPECT_EQ(edit->Text(), "100");
    EXPECT_DOUBLE_EQ(edit->StoredValue(), 100);
    EXPECT_TRUE(Errors.empty());
}

TEST_F(NumEditTest, LeavingWithATextThatIsNoNumberKeepsTheFocusAndReportsTheError) {
    auto* edit = NewEdit<TsCurrencyEdit>();
    auto* other = NewEdit<TsCurrencyEdit>(60);
    edit->SetValue(5);
    ClickAt(edit, 10, 8);
    edit->SetText("12abc");   // only code can put such a text there
    ClickAt(other, 10, 8);
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_NE(Errors[0].find("12abc"), std::string::npos);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(edit->SelLength(), 5);
    EXPECT_THROW(edit->SetNumText("nothing"), base::EConvertError);
    edit->SetNumText("7,5");
    EXPECT_DOUBLE_EQ(edit->StoredValue(), 75);   // ',' is the thousands separator here
}

// Reading the value of a text that is no number reports the error (it does not pass off the last value).
TEST_F(NumEditTest, ReadingTheValueOfATextThatIsNoNumberRaises) {
    auto* edit = NewEdit<TsCurrencyEdit>();
    edit->SetValue(5);
    edit->SetText("12abc");   // only code can put such a text there
    EXPECT_THROW(edit->Value(), base::EConvertError);
    EXPECT_THROW(edit->AsInteger(), base::EConvertError);
    edit->SetText("");
    EXPECT_DOUBLE_EQ(edit->Value(), 0);
    edit->SetText("-");
    EXPECT_DOUBLE_EQ(edit->Value(), 0);
}

TEST_F(NumEditTest, EscapeResetsTheTextFromTheValue) {
    auto* edit = NewEdit<TsCurrencyEdit>();
    edit->SetValue(3.25);
    ClickAt(edit, 10, 8);
    edit->SelectAll();
    Type("9");
    EXPECT_EQ(edit->Text(), "9");
    Display->Press(user::VK_ESCAPE, "\x1b");
    Pump();
    EXPECT_EQ(edit->Text(), "3.25");
    EXPECT_EQ(edit->SelLength(), 4);
}

TEST_F(NumEditTest, DecimalPlacesReformatTheText) {
    auto* edit = NewEdit<TsCurrencyEdit>();
    edit->SetValue(1.23456);
    EXPECT_EQ(edit->Text(), "1.23");   // the value keeps its digits; the text shows DecimalPlaces
    edit->SetDecimalPlaces(4);
    EXPECT_EQ(edit->Text(), "1.2346");
    edit->SetDecimalPlaces(0);
    EXPECT_EQ(edit->Text(), "1");
    edit->SetDecimalPlaces(20);   // more places than a double holds: the text shows what there is
    EXPECT_EQ(edit->DecimalPlaces(), 20);
    EXPECT_EQ(edit->Text(), "1.23456");
    edit->SetDecimalPlaces(-1);
    EXPECT_EQ(edit->DecimalPlaces(), 0);
}

// A number edit with its calculator button.
class TTestNumEdit : public TsCustomNumEdit {
public:
    using TsCustomNumEdit::TsCustomNumEdit;
};

TEST_F(NumEditTest, TheButtonDropsTheCalculatorDownAndItsResultBecomesTheValue) {
    UseSkin(1);
    auto* edit = NewEdit<TTestNumEdit>();
    int changes = 0;
    edit->SetValue(21);
    edit->OnChange = [&](TObject*) { ++changes; };
    TControl* button = edit->Button();
    ASSERT_TRUE(button->Visible());
    ClickAt(button, button->Width() / 2, button->Height() / 2);
    TsCalcForm* calc = edit->Calculator();
    ASSERT_NE(calc, nullptr);
    EXPECT_TRUE(calc->Visible());
    EXPECT_FALSE(calc->DragBar()->Visible());
    EXPECT_EQ(calc->ClientHeight(), 172 - CalcDragBarHeight);
    EXPECT_EQ(calc->ClientWidth(), 214);   // its designed width, not the edit's popup width
    EXPECT_EQ(calc->Text(), "21");
    Type("*2");
    Display->Press(user::VK_RETURN, "\r");
    Pump();
    EXPECT_EQ(calc->Text(), "42");
    Display->Press(user::VK_RETURN, "\r");
    Pump();
    EXPECT_DOUBLE_EQ(edit->Value(), 42);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(edit->Calculator(), nullptr);   // closed and freed
    EXPECT_FALSE(edit->PopupVisible());
    // Clicking the calculator's keys works as well, and '=' hands over at once.
    ClickAt(button, button->Width() / 2, button->Height() / 2);
    calc = edit->Calculator();
    ASSERT_NE(calc, nullptr);
    ASSERT_TRUE(edit->PopupVisible());
    for (const char* key : {"+", "8", "="}) {
        ASSERT_EQ(edit->Calculator(), calc) << key;
        ASSERT_TRUE(edit->PopupVisible()) << key;
        TControl* b = calc->ButtonFor(key);
        ASSERT_NE(b, nullptr) << key;
        ClickAt(b, b->Width() / 2, b->Height() / 2);   // '=' frees the calculator
    }
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_DOUBLE_EQ(edit->Value(), 50);
    EXPECT_EQ(changes, 2);
}

TEST_F(NumEditTest, TheOpenCalculatorIsActiveTakesTheKeysItselfAndClosesWhenTheUserClicksElsewhere) {
    UseSkin(1);
    auto* edit = NewEdit<TTestNumEdit>();
    auto* other = NewEdit<TTestNumEdit>();
    other->SetBounds(edit->Left() + edit->Width() + 20, edit->Top(), 120, edit->Height());   // beside, clear of it
    edit->SetValue(5);
    TControl* button = edit->Button();
    ClickAt(button, button->Width() / 2, button->Height() / 2);
    TsCalcForm* calc = edit->Calculator();
    ASSERT_NE(calc, nullptr);
    ASSERT_TRUE(calc->Visible());
    EXPECT_TRUE(calc->KeyPreview());
    EXPECT_EQ(user::GetActiveWindow(), calc->Handle());
    EXPECT_FALSE(edit->Focused());
    Type("7+");
    EXPECT_EQ(calc->Text(), "57");   // typed into the calculator, the edit left as it was
    EXPECT_DOUBLE_EQ(edit->Value(), 5);
    ClickAt(other, 5, other->Height() / 2);   // the user's click elsewhere deactivates it
    for (int i = 0; i < 200 && edit->Calculator() != nullptr; ++i) Pump();
    EXPECT_EQ(edit->Calculator(), nullptr);
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_TRUE(other->Focused());
    EXPECT_DOUBLE_EQ(edit->Value(), 5);
}

// A form text sets the currency edit's alignment (right-justified by default, not written) and its text.
TEST_F(NumEditTest, TheCurrencyEditPublishesItsAlignmentAndANumericText) {
    auto* edit = NewEdit<TsCurrencyEdit>();
    const TPropInfo* alignment = TsCurrencyEdit::StaticClass()->FindProperty("Alignment");
    ASSERT_NE(alignment, nullptr);
    EXPECT_EQ(alignment->OrdDefault, std::optional<std::int64_t>(taRightJustify));
    EXPECT_EQ(alignment->GetOrd(*edit), taRightJustify);
    alignment->SetOrd(*edit, taCenter);
    EXPECT_EQ(edit->Alignment(), taCenter);
    // Its Text is read as a number, limited and formatted, and is not written (Value is).
    const TPropInfo* text = TsCurrencyEdit::StaticClass()->FindProperty("Text");
    ASSERT_NE(text, nullptr);
    edit->SetMaxValue(10);
    text->SetString(*edit, "12.345");
    EXPECT_EQ(edit->Text(), "10");
    EXPECT_DOUBLE_EQ(edit->StoredValue(), 10);
    EXPECT_THROW(text->SetString(*edit, "abc"), base::EConvertError);
    EXPECT_EQ(edit->Text(), "10");
    EXPECT_FALSE(text->IsStored(*edit));
}

TEST_F(NumEditTest, TheCurrencyEditHasNoCalculatorButton) {
    auto* edit = NewEdit<TsCurrencyEdit>();
    ASSERT_NE(edit->Button(), nullptr);
    EXPECT_TRUE(edit->ShowButton());
    EXPECT_EQ(edit->Button()->Width(), 0);   // reduced to nothing
    user::RECT r {};
    user::SendMessage(edit->WindowHandle(), user::EM_GETRECT, 0, LPARAM(&r));
    EXPECT_EQ(r.right, edit->ClientWidth());   // the text has the whole width
    // Nor does its click key open the calculator.
    EXPECT_EQ(edit->GlyphWidth(), 0);
    edit->SetFocus();
    Pump();
    Display->Press(user::VK_DOWN, "", user::ModAlt);
    Pump();
    EXPECT_FALSE(edit->PopupVisible());
    delete edit;   // freed with no calculator
}

}
