// The popup calculator by real keys and clicks: arithmetic with percent, square root and reciprocal, the error
// state, the length limit, memory, clipboard, the hand-over to a client and closing.
#include "support/ControlsKit.h"

#include "platform/classes/Colors.h"
#include "platform/user/VirtualKeys.h"
#include "skin/controls/sCalcForm.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/engine/sSkinManager.h"

#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class TTestCalcClient : public TacCalcClient {
public:
    double CalcClientValue() override { return Value; }
    void CalcClientAccept(double value) override {
        Value = value;
        ++Accepts;
    }
    void CalcClientFocus() override { ++Focuses; }
    void CalcClientClosed() override { Closed = true; }
    double Value = 0;
    int Accepts = 0;
    int Focuses = 0;
    bool Closed = false;
};

class CalcFormTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Calc = Create<TsCalcForm>(Form);
        Calc->SetLeft(40);
        Calc->SetTop(40);
    }
    void ShowIt() {
        Calc->Show();
        Pump();
        Calc->SetFocus();
        Pump();
    }
    // Keys through the engine.
    std::string Keys(const std::string& keys) {
        for (char c : keys) Calc->CalcKey(char32_t(static_cast<unsigned char>(c)));
        return Calc->Text();
    }
    // Keys typed on the keyboard into the shown calculator.
    void Type(const std::string& keys) {
        for (char c : keys) Display->Press(unsigned(std::toupper(static_cast<unsigned char>(c))), std::string(1, c));
        Pump();
    }
    void Click(const std::string& caption) {
        TsSpeedButton* b = Calc->ButtonFor(caption);
        ASSERT_NE(b, nullptr) << caption;
        ClickAt(b, b->Width() / 2, b->Height() / 2);
    }
    TsCalcForm* Calc = nullptr;
};

struct CalcCase {
    const char* Keys;
    const char* Shown;
};

TEST_F(CalcFormTest, ArithmeticByKeysGivesTheExpectedDisplay) {
    const CalcCase cases[] = {
        {"12+30=", "42"},
        {"7-9=", "-2"},
        {"6*7=", "42"},
        {"1/4=", "0.25"},
        {"200+5%", "210"},   // 5 % of 200 added at once
        {"200+5%=", "210"},   // a following = changes nothing
        {"200-10%", "180"},
        {"50*10%", "5"},
        {"50/10%", "500"},
        {"2+3*4=", "20"},   // left to right
        {"9Q", "3"},
        {"4R", "0.25"},
        {"5_", "-5"},
        {"1.5+1.5=", "3"},
        {"1,5+1=", "2.5"},
        {"1..5", "1.5"},   // the separator only once
        {"123\b", "12"},
        {"5\b", "0"},
        {"5_\b", "0"},
        {"0.1+0.2=", "0.3"},
        {"12+C", "0"},
        {"12+3\x1b", "0"},   // Esc clears a text that is not 0
    };
    for (const CalcCase& c : cases) {
        Keys("C");
        EXPECT_EQ(Keys(c.Keys), c.Shown) << c.Keys;
        EXPECT_EQ(Calc->DisplayPanel()->Caption(), std::string(c.Shown) + " ");
    }
}

TEST_F(CalcFormTest, ErrorsIgnoreEveryKeyButClear) {
    const char* errors[] = {"1/0=", "4_Q", "0R"};
    for (const char* e : errors) {
        Keys("C");
        const int bells = Display->BellCount();
        int fired = 0;
        Calc->OnError = [&](TObject*) { ++fired; };
        EXPECT_EQ(Keys(e), "Error") << e;
        EXPECT_EQ(Calc->Status(), csError);
        EXPECT_EQ(fired, 1);
        EXPECT_EQ(Display->BellCount(), bells + 1);
        EXPECT_EQ(Keys("5+Q\x1b"), "Error");
        Calc->MemoryKey(TsCalcForm::TacMemoryKey::Store);
        EXPECT_EQ(Calc->Memory(), 0);
        EXPECT_EQ(Keys("c"), "0");   // lower case counts as the key
        EXPECT_EQ(Keys("8"), "8");
    }
}

TEST_F(CalcFormTest, AnOverflowToInfinityIsAnErrorNotAnInfiniteDisplay) {
    Calc->SetText("1e308");
    EXPECT_EQ(Keys("*10="), "Error");
    EXPECT_EQ(Calc->Status(), csError);
    Keys("C");
    Calc->SetText("2.5");
    EXPECT_EQ(Keys("_"), "-2.5");
    EXPECT_EQ(Keys("*0="), "0");   // not "-0"
}

TEST_F(CalcFormTest, ANumberStopsAtThePrecisionPlusOneForTheSign) {
    Calc->SetPrecision(16);
    const int bells = Display->BellCount();
    EXPECT_EQ(Keys("12345678901234567890").size(), 16u);
    EXPECT_EQ(Display->BellCount(), bells + 4);
    Keys("C");
    Keys("1_");
    EXPECT_EQ(Keys("2345678901234567890").size(), 17u);
    Calc->SetPrecision(0);   // never below two digits
    Keys("C");
    EXPECT_EQ(Keys("999"), "99");
}

TEST_F(CalcFormTest, ButtonsClickedWithTheMouseDriveTheEngine) {
    UseSkin(1);
    ShowIt();
    for (const char* b : {"7", "*", "6", "="}) Click(b);
    EXPECT_EQ(Calc->Text(), "42");
    for (const char* b : {"C", "9", "sqrt", "+", "1", "/", "2", "=", "\u00b1"}) Click(b);
    EXPECT_EQ(Calc->Text(), "-2");
    Click("MS");
    EXPECT_EQ(Calc->MemoryPanel()->Caption(), "M");
    Click("MP");
    EXPECT_EQ(Calc->Memory(), -4);
    for (const char* b : {"C", "1", "0", "+", "MR", "="}) Click(b);
    EXPECT_EQ(Calc->Text(), "6");
    Click("MC");
    EXPECT_EQ(Calc->MemoryPanel()->Caption(), "");
    for (const char* b : {"1", "2", "<-", "<-", "2", "1/%"}) Click(b);
    EXPECT_EQ(Calc->Text(), "0.5");
    EXPECT_EQ(Calc->ComponentCount() > 26, true);
}

TEST_F(CalcFormTest, TypedKeysReachTheEngineThroughTheForm) {
    UseSkin(0);
    ShowIt();
    Type("3*4");
    Display->Press(user::VK_RETURN, "\r");
    Pump();
    EXPECT_EQ(Calc->Text(), "12");
    Display->Press(user::VK_BACK, "\b");
    Pump();
    EXPECT_EQ(Calc->Text(), "0");
    Type("25");
    Display->Press('C', "", user::ModControl);
    Pump();
    EXPECT_EQ(Display->ClipboardText(), "25");
    Display->SetClipboardText("1,234.5");
    Display->Press('V', "", user::ModControl);
    Pump();
    EXPECT_EQ(Calc->Text(), "1234.5");
    Display->SetClipboardText("no number");
    Display->Press(user::VK_INSERT, "", user::ModShift);
    Pump();
    EXPECT_EQ(Calc->Text(), "0");
}

TEST_F(CalcFormTest, EnterAndEqualsHandTheResultToTheClientAndClose) {
    TTestCalcClient client;
    client.Value = 8;
    Calc->SetClient(&client);
    ShowIt();
    EXPECT_EQ(Calc->Text(), "8");   // the client's value when shown
    Type("*5");
    Display->Press(user::VK_RETURN, "\r");   // first the pending product
    Pump();
    EXPECT_EQ(Calc->Text(), "40");
    EXPECT_EQ(client.Accepts, 0);
    Display->Press(user::VK_RETURN, "\r");   // then the hand-over
    Pump();
    EXPECT_EQ(client.Accepts, 1);
    EXPECT_DOUBLE_EQ(client.Value, 40);
    EXPECT_FALSE(Calc->Visible());
    // '=' hands over at once.
    ShowIt();
    Keys("+2=");
    EXPECT_EQ(client.Accepts, 2);
    EXPECT_DOUBLE_EQ(client.Value, 42);
    Calc->SetClient(nullptr);
}

TEST_F(CalcFormTest, EscapeOnZeroGivesTheFocusBackAndCloses) {
    TTestCalcClient client;
    Calc->SetClient(&client);
    ShowIt();
    Keys("5\x1b");
    EXPECT_TRUE(Calc->Visible());
    Keys("\x1b");
    EXPECT_EQ(client.Focuses, 1);
    EXPECT_FALSE(Calc->Visible());
    delete Calc;
    EXPECT_TRUE(client.Closed);
}

TEST_F(CalcFormTest, MenuOkRedisplaysOrBeepsInTheErrorState) {
    int oks = 0;
    int cancels = 0;
    Calc->OnOk = [&](TObject*) { ++oks; };
    Calc->OnCancel = [&](TObject*) { ++cancels; };
    Keys("2.50");
    Calc->MenuOk();
    EXPECT_EQ(Calc->Text(), "2.5");
    Keys("/0=");
    const int bells = Display->BellCount();
    Calc->MenuOk();
    Calc->MenuCancel();
    EXPECT_EQ(oks, 1);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(Display->BellCount(), bells + 1);
}

// Around and between the buttons the form shows the skin's global colour, or the button face without a skin.
TEST_F(CalcFormTest, TheGapsBetweenTheButtonsShowTheFormsColour) {
    for (const int which : {0, 1, -1}) {
        UseSkin(which);
        ShowIt();
        const TColor want = which >= 0 ? Manager->GetGlobalColor() : ColorToRGB(clBtnFace);
        EXPECT_EQ(Calc->Color(), which >= 0 ? Manager->GetGlobalColor() : clBtnFace) << which;
        Calc->Repaint();
        Pump();
        for (const TPoint p : {TPoint {1, 74}, TPoint {20, 74}, TPoint {36, 60}, TPoint {212, 170}})
            EXPECT_EQ(ScreenPixel(Calc, p.x, p.y), gdi::COLORREF(want)) << which << ": " << p.x << "," << p.y;
        Calc->Hide();
        Pump();
    }
}

TEST_F(CalcFormTest, TheFormIsTheDesignedSizeWithoutBorder) {
    EXPECT_EQ(Calc->ClientWidth(), 214);
    EXPECT_EQ(Calc->ClientHeight(), 172);
    EXPECT_EQ(Calc->Caption(), "Calculator");
    EXPECT_EQ(Calc->BorderStyle(), bsNone);
    EXPECT_TRUE(Calc->KeyPreview());
    int buttons = 0;
    for (int i = 0; i < Calc->ComponentCount(); ++i)
        if (auto* b = dynamic_cast<TsSpeedButton*>(Calc->Components(i)); b != nullptr && b->Parent() == Calc) ++buttons;
    EXPECT_EQ(buttons, 26);
}

}
