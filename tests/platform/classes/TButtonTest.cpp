// TButton and TBitBtn: clicks by mouse, space bar and the dialog keys exactly once, default and cancel buttons,
// modal results, accelerators, the glyph layout and painting, and the published properties through form text.
#include "support/ControlsTestKit.h"
#include "support/RoundTrip.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/StdControls.h"
#include "platform/classes/TBitBtn.h"
#include "platform/classes/TButton.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TCheckBox.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TWriter.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/Window.h"
#include "platform/user/controls/Button.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class ButtonTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        RegisterStdControlClasses();
        Form = NewForm(100, 100, 300, 200);
    }
    void TearDown() override {
        for (const std::string& e : Exceptions)
            ADD_FAILURE() << "exception in a handler: " << e;
        ControlsTest::TearDown();
    }
    template <class T>
    T* Add(const std::string& caption, int x, int y) {
        auto* c = Create<T>(Form);
        c->SetBounds(x, y, 75, 25);
        c->SetCaption(caption);
        c->SetParent(Form);
        c->HandleNeeded();
        return c;
    }
    void Click(const TControl* control, int x = 10, int y = 10) {
        const TPoint p = At(control, x, y);
        Display->Click(p.x, p.y);
        Pump();
    }
    void Key(unsigned vk, const std::string& text = {}) {
        Display->Press(vk, text);
        Pump();
    }
    // Counts OnClick of a button.
    static void Count(TButton* button, int& clicks) {
        button->OnClick = [&clicks](TObject*) { ++clicks; };
    }
    TForm* Form = nullptr;
};

TEST_F(ButtonTest, AMouseClickFiresOnClickOnceAndAReleaseOutsideNever) {
    auto* b = Add<TButton>("OK", 10, 10);
    int clicks = 0;
    Count(b, clicks);
    Click(b);
    EXPECT_EQ(clicks, 1);
    const TPoint inside = At(b, 10, 10);
    const TPoint outside = At(b, 200, 100);
    Display->ButtonDown(user::MouseButton::Left, inside.x, inside.y);
    Display->MoveMouse(outside.x, outside.y);
    Display->ButtonUp(user::MouseButton::Left, outside.x, outside.y);
    Pump();
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonTest, TwoQuickClicksAreTwoClicks) {
    auto* b = Add<TButton>("OK", 10, 10);
    int clicks = 0;
    Count(b, clicks);
    const TPoint p = At(b, 10, 10);
    Display->DoubleClick(p.x, p.y);
    Pump();
    EXPECT_EQ(clicks, 2);
}

TEST_F(ButtonTest, TheSpaceBarClicksTheFocusedButtonOnce) {
    auto* b = Add<TButton>("OK", 10, 10);
    int clicks = 0;
    Count(b, clicks);
    b->SetFocus();
    Key(user::VK_SPACE, " ");
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonTest, EnterClicksTheDefaultButtonOnceWhileTheFocusIsElsewhere) {
    auto* ok = Add<TButton>("OK", 10, 10);
    auto* box = Add<TCheckBox>("Option", 10, 50);
    ok->SetDefault(true);
    int clicks = 0;
    Count(ok, clicks);
    box->SetFocus();
    Pump();
    EXPECT_TRUE(ok->Active());
    EXPECT_EQ(user::GetWindowStyle(ok->Handle()) & user::BS_TYPEMASK, user::BS_DEFPUSHBUTTON);
    Key(user::VK_RETURN, "\r");
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(box->State(), cbUnchecked);
}

TEST_F(ButtonTest, EnterClicksTheFocusedButtonRatherThanTheDefaultOne) {
    auto* ok = Add<TButton>("OK", 10, 10);
    auto* other = Add<TButton>("Other", 100, 10);
    ok->SetDefault(true);
    int okClicks = 0;
    int otherClicks = 0;
    Count(ok, okClicks);
    Count(other, otherClicks);
    other->SetFocus();
    Pump();
    EXPECT_TRUE(other->Active());
    EXPECT_FALSE(ok->Active());
    EXPECT_EQ(user::GetWindowStyle(ok->Handle()) & user::BS_TYPEMASK, user::BS_PUSHBUTTON);
    EXPECT_EQ(user::GetWindowStyle(other->Handle()) & user::BS_TYPEMASK, user::BS_DEFPUSHBUTTON);
    Key(user::VK_RETURN, "\r");
    EXPECT_EQ(otherClicks, 1);
    EXPECT_EQ(okClicks, 0);
}

TEST_F(ButtonTest, EscapeClicksTheCancelButtonOnce) {
    auto* cancel = Add<TButton>("Cancel", 10, 10);
    auto* box = Add<TCheckBox>("Option", 10, 50);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    int clicks = 0;
    Count(cancel, clicks);
    box->SetFocus();
    Key(user::VK_ESCAPE);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Form->ModalResult(), mrCancel);
}

TEST_F(ButtonTest, AClickSetsTheFormsModalResultBeforeOnClick) {
    auto* b = Add<TButton>("Yes", 10, 10);
    b->SetModalResult(mrYes);
    TModalResult seen = mrNone;
    b->OnClick = [&](TObject*) { seen = Form->ModalResult(); };
    Click(b);
    EXPECT_EQ(seen, mrYes);
    auto* plain = Add<TButton>("Plain", 100, 10);
    Form->SetModalResult(mrNone);
    Click(plain);
    EXPECT_EQ(Form->ModalResult(), mrNone);
}

TEST_F(ButtonTest, AButtonEndsAModalForm) {
    TForm* dialog = Create<TForm>(Application);
    dialog->SetBounds(50, 50, 200, 120);
    auto* ok = Create<TButton>(dialog);
    ok->SetParent(dialog);
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    user::PostMessage(ok->Handle(), user::BM_CLICK, 0, 0);
    EXPECT_EQ(dialog->ShowModal(), mrOk);
}

TEST_F(ButtonTest, TheAcceleratorClicksTheButton) {
    auto* ok = Add<TButton>("&Save", 10, 10);
    auto* other = Add<TButton>("Other", 100, 10);
    int clicks = 0;
    Count(ok, clicks);
    other->SetFocus();
    Key('S', "s");
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(IsAccel(U's', "&Save"));
    EXPECT_TRUE(IsAccel(U'Х', "Вы&ход"));
    EXPECT_FALSE(IsAccel(U's', "Save"));
    EXPECT_FALSE(IsAccel(U'&', "a&&b"));
}

struct LayoutCase {
    TButtonLayout Layout;
    int Margin;
    int Spacing;
    TPoint Glyph;
    TPoint Text;
};

class BitBtnLayout : public ::testing::TestWithParam<LayoutCase> { };

TEST_P(BitBtnLayout, GlyphAndTextGoWhereMarginAndSpacingSay) {
    // A 100 x 40 client, a 16 x 16 glyph and a 30 x 13 text.
    const LayoutCase c = GetParam();
    const TButtonLayoutResult r
        = CalcButtonLayout(Rect(0, 0, 100, 40), TSize {16, 16}, TSize {30, 13}, c.Layout, c.Margin, c.Spacing);
    EXPECT_EQ(r.GlyphPos.x, c.Glyph.x);
    EXPECT_EQ(r.GlyphPos.y, c.Glyph.y);
    EXPECT_EQ(r.TextBounds.left, c.Text.x);
    EXPECT_EQ(r.TextBounds.top, c.Text.y);
    EXPECT_EQ(r.TextBounds.right - r.TextBounds.left, 30);
}

INSTANTIATE_TEST_SUITE_P(Layouts, BitBtnLayout,
    ::testing::Values(LayoutCase {blGlyphLeft, -1, 4, {25, 12}, {45, 14}},   // centred block
        LayoutCase {blGlyphLeft, -1, -1, {18, 12}, {52, 14}},   // thirds
        LayoutCase {blGlyphLeft, 5, -1, {5, 12}, {45, 14}},   // text centred in what is left
        LayoutCase {blGlyphRight, 2, 4, {82, 12}, {48, 14}}, LayoutCase {blGlyphTop, -1, 2, {42, 5}, {35, 23}},
        LayoutCase {blGlyphBottom, 3, 1, {42, 21}, {35, 7}}));

TEST(BitBtnLayoutRules, SpacingCountsOnlyWithBothGlyphAndText) {
    const TButtonLayoutResult r
        = CalcButtonLayout(Rect(10, 20, 110, 60), TSize {0, 0}, TSize {30, 13}, blGlyphLeft, -1, 10);
    EXPECT_EQ(r.TextBounds.left, 10 + 35);   // centred, no spacing
    EXPECT_EQ(r.TextBounds.top, 20 + 14);
}

TEST_F(ButtonTest, ABitButtonPaintsItsGlyphWithoutTheTransparentColour) {
    auto* b = Add<TBitBtn>("", 10, 10);
    b->SetBounds(10, 10, 60, 40);
    TBitmap glyph;
    glyph.SetSize(32, 16);   // two images: up, disabled
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(Rect(0, 0, 16, 16));
    glyph.Canvas()->Brush()->SetColor(clLime);
    glyph.Canvas()->FillRect(Rect(16, 0, 32, 16));
    glyph.Canvas()->SetPixels(0, 15, clFuchsia);   // bottom left: the transparent colour
    b->SetGlyph(&glyph);
    b->SetNumGlyphs(2);
    Pump();
    const TSize size = b->GlyphSize();
    EXPECT_EQ(size.cx, 16);
    // Centred in the client inside the 2-pixel frame: glyph at (2 + (56 - 16 + 1) / 2, 2 + (36 - 16 + 1) / 2).
    const int gx = 2 + (56 - 16 + 1) / 2;
    const int gy = 2 + (36 - 16 + 1) / 2;
    EXPECT_EQ(PixelAt(b, gx + 5, gy + 5), gdi::RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(b, gx, gy + 15), gdi::GetSysColor(gdi::COLOR_BTNFACE));   // left out
    b->SetEnabled(false);
    Pump();
    EXPECT_EQ(PixelAt(b, gx + 5, gy + 5), gdi::RGB(0, 255, 0));   // the disabled image
    b->SetNumGlyphs(9);
    EXPECT_EQ(b->NumGlyphs(), 4);
    b->SetMargin(-7);
    EXPECT_EQ(b->Margin(), -1);
}

TEST_F(ButtonTest, ABitButtonIsOwnerDrawnAndShowsTheDefaultFrameWhenActive) {
    auto* b = Add<TBitBtn>("Go", 10, 10);
    EXPECT_EQ(user::GetWindowStyle(b->Handle()) & user::BS_TYPEMASK, user::BS_OWNERDRAW);
    b->SetDefault(true);
    auto* box = Add<TCheckBox>("x", 10, 60);
    box->SetFocus();
    Pump();
    EXPECT_TRUE(b->Active());
    EXPECT_EQ(user::GetWindowStyle(b->Handle()) & user::BS_TYPEMASK, user::BS_OWNERDRAW);
    EXPECT_EQ(PixelAt(b, 0, 0), gdi::GetSysColor(gdi::COLOR_WINDOWFRAME));
    int clicks = 0;
    Count(b, clicks);
    Key(user::VK_RETURN, "\r");
    Click(b);
    EXPECT_EQ(clicks, 2);
}

constexpr const char* DialogText = R"(object Dialog: TForm
  Caption = 'Question'
  object OkButton: TButton
    Left = 10
    Top = 10
    Width = 75
    Height = 25
    Caption = '&OK'
    Default = True
    ModalResult = 1
  end
  object CancelButton: TBitBtn
    Left = 100
    Top = 10
    Width = 75
    Height = 25
    Caption = 'Cancel'
    Cancel = True
    ModalResult = 2
    Layout = blGlyphTop
    Margin = 3
    NumGlyphs = 2
    Spacing = -1
  end
end
)";

TEST_F(ButtonTest, ButtonPropertiesGoThroughFormText) {
    TForm* dialog = Create<TForm>(Application);
    ReadRootComponent(dialog, DialogText);
    auto* ok = dynamic_cast<TButton*>(dialog->FindComponent("OkButton"));
    auto* cancel = dynamic_cast<TBitBtn*>(dialog->FindComponent("CancelButton"));
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(ok->Parent(), dialog);
    EXPECT_TRUE(ok->Default());
    EXPECT_EQ(ok->ModalResult(), mrOk);
    EXPECT_EQ(ok->Caption(), "&OK");
    EXPECT_TRUE(cancel->Cancel());
    EXPECT_EQ(cancel->ModalResult(), mrCancel);
    EXPECT_EQ(cancel->Layout(), blGlyphTop);
    EXPECT_EQ(cancel->Margin(), 3);
    EXPECT_EQ(cancel->Spacing(), -1);
    EXPECT_EQ(cancel->NumGlyphs(), 2);

    TBitmap glyph;
    glyph.SetSize(8, 4);
    glyph.Canvas()->Brush()->SetColor(clNavy);
    glyph.Canvas()->FillRect(Rect(0, 0, 8, 4));
    cancel->SetGlyph(&glyph);
    for (TComponent* control : {static_cast<TComponent*>(ok), static_cast<TComponent*>(cancel)}) {
        const std::string text = ExpectRoundTrip(control, Application);
        EXPECT_EQ(text.find("TabStop"), std::string::npos) << text;   // the default
    }
}

}
