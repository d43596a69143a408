// TCheckBox, TRadioButton and TGroupBox: toggling and its grey state, radio groups by mouse, keys and program,
// the group box's frame and client area, and the published properties through form text.
#include "support/ControlsTestKit.h"
#include "support/RoundTrip.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TCheckBox.h"
#include "platform/classes/TGroupBox.h"
#include "platform/classes/TRadioButton.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/Window.h"
#include "platform/user/controls/Button.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class CheckTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        RegisterClasses({TCheckBox::StaticClass(), TRadioButton::StaticClass(), TGroupBox::StaticClass()});
        Form = NewForm(100, 100, 320, 240);
    }
    void TearDown() override {
        for (const std::string& e : Exceptions)
            ADD_FAILURE() << "exception in a handler: " << e;
        ControlsTest::TearDown();
    }
    template <class T>
    T* Add(const std::string& caption, int x, int y, TWinControl* parent = nullptr) {
        auto* c = Create<T>(Form);
        c->SetBounds(x, y, 120, 17);
        c->SetCaption(caption);
        c->SetParent(parent ? parent : Form);
        c->HandleNeeded();
        return c;
    }
    void Click(const TControl* control) {
        const TPoint p = At(control, 6, 8);
        Display->Click(p.x, p.y);
        Pump();
        Advance(1000);   // the next press is no double click
    }
    void Key(unsigned vk, const std::string& text = {}) {
        Display->Press(vk, text);
        Pump();
    }
    static UINT NativeCheck(TWinControl* c) { return UINT(user::SendMessage(c->Handle(), user::BM_GETCHECK, 0, 0)); }
    TForm* Form = nullptr;
};

TEST_F(CheckTest, AClickTogglesOnceAndTheNativeBoxFollows) {
    auto* box = Add<TCheckBox>("Backup on", 10, 10);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    Click(box);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(NativeCheck(box), user::BST_CHECKED);
    Click(box);
    EXPECT_EQ(box->State(), cbUnchecked);
    EXPECT_EQ(NativeCheck(box), user::BST_UNCHECKED);
    EXPECT_EQ(clicks, 2);
}

TEST_F(CheckTest, AllowGrayedGoesThroughTheGreyState) {
    auto* box = Add<TCheckBox>("Three", 10, 10);
    box->SetAllowGrayed(true);
    std::vector<TCheckBoxState> seen;
    for (int i = 0; i < 3; ++i) {
        Click(box);
        seen.push_back(box->State());
    }
    EXPECT_EQ(seen, (std::vector<TCheckBoxState> {cbGrayed, cbChecked, cbUnchecked}));
    box->SetState(cbGrayed);
    EXPECT_EQ(NativeCheck(box), user::BST_INDETERMINATE);
    EXPECT_FALSE(box->Checked());
}

TEST_F(CheckTest, TheSpaceBarTogglesTheFocusedBox) {
    auto* box = Add<TCheckBox>("Verbosity", 10, 10);
    box->SetFocus();
    Key(user::VK_SPACE, " ");
    EXPECT_TRUE(box->Checked());
}

TEST_F(CheckTest, TheProgramsChangesFireOnClickOnlyWhenTheStateChanges) {
    auto* box = Add<TCheckBox>("x", 10, 10);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->SetChecked(true);
    box->SetChecked(true);
    box->SetState(cbUnchecked);
    EXPECT_EQ(clicks, 2);
}

TEST_F(CheckTest, TheStateBeforeTheWindowAndAcrossItsRemakingIsKept) {
    auto* box = Create<TCheckBox>(Form);
    box->SetAllowGrayed(true);
    box->SetState(cbGrayed);
    box->SetParent(Form);
    EXPECT_EQ(NativeCheck(box), user::BST_INDETERMINATE);
    box->SetAlignment(taLeftJustify);   // makes the window again
    EXPECT_NE(user::GetWindowStyle(box->Handle()) & user::BS_LEFTTEXT, 0u);
    EXPECT_EQ(NativeCheck(box), user::BST_INDETERMINATE);
    box->SetAlignment(taCenter);   // not a side: the right one
    EXPECT_EQ(box->Alignment(), taRightJustify);
}

TEST_F(CheckTest, CheckingARadioButtonClearsItsSiblingsOnly) {
    auto* a = Add<TRadioButton>("Auto", 10, 10);
    auto* b = Add<TRadioButton>("Amber", 10, 30);
    auto* group = Create<TGroupBox>(Form);
    group->SetBounds(150, 10, 150, 100);
    group->SetParent(Form);
    auto* inner = Add<TRadioButton>("Inner", 10, 20, group);
    inner->SetChecked(true);
    a->SetChecked(true);
    int bClicks = 0;
    b->OnClick = [&](TObject*) { ++bClicks; };
    Click(b);
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(inner->Checked());
    EXPECT_EQ(NativeCheck(a), user::BST_UNCHECKED);
    EXPECT_EQ(bClicks, 1);
    EXPECT_TRUE(b->TabStop());
    EXPECT_FALSE(a->TabStop());
    Click(b);   // already checked: stays so, no second OnClick
    EXPECT_TRUE(b->Checked());
    EXPECT_EQ(bClicks, 1);
}

TEST_F(CheckTest, ArrowKeysMoveTheCheckThroughTheRadioButtons) {
    auto* a = Add<TRadioButton>("Auto", 10, 10);
    auto* b = Add<TRadioButton>("Amber", 10, 30);
    auto* c = Add<TRadioButton>("Tinker", 10, 50);
    a->SetChecked(true);
    int cClicks = 0;
    c->OnClick = [&](TObject*) { ++cClicks; };
    a->SetFocus();
    Key(user::VK_DOWN);
    EXPECT_TRUE(b->Focused());
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    Key(user::VK_DOWN);
    EXPECT_TRUE(c->Checked());
    EXPECT_EQ(cClicks, 1);
    Key(user::VK_UP);
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(c->Checked());
}

TEST_F(CheckTest, AClickOnAnUncheckedRadioButtonReportsOnce) {
    auto* a = Add<TRadioButton>("Auto", 10, 10);
    auto* b = Add<TRadioButton>("Amber", 10, 30);
    a->SetChecked(true);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    const TPoint p = At(b, 6, 8);
    Display->MoveMouse(p.x, p.y);
    Display->ButtonDown(user::MouseButton::Left, p.x, p.y);
    Pump();
    EXPECT_FALSE(b->Checked());   // taking the focus does not check it
    Display->ButtonUp(user::MouseButton::Left, p.x, p.y);
    Pump();
    EXPECT_TRUE(b->Checked());
    EXPECT_EQ(clicks, 1);
}

TEST_F(CheckTest, TheGroupBoxPutsItsChildrenBelowTheCaptionInsideTheFrame) {
    auto* group = Create<TGroupBox>(Form);
    group->SetBounds(10, 10, 200, 120);
    group->SetCaption("Core Names");
    group->SetParent(Form);
    auto* child = Create<TCheckBox>(Form);
    child->SetAlign(alClient);
    child->SetParent(group);
    Pump();
    EXPECT_GT(child->Top(), 10);
    EXPECT_GE(child->Left(), 2);
    EXPECT_LE(child->Left() + child->Width(), 198);
    // The etched line runs through the middle of the caption, right of the caption strip.
    bool frameFound = false;
    for (int y = 0; y < 12 && !frameFound; ++y)
        frameFound = PixelAt(group, 150, y) == gdi::GetSysColor(gdi::COLOR_BTNSHADOW);
    EXPECT_TRUE(frameFound);
    EXPECT_EQ(PixelAt(group, 0, 60), gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
    EXPECT_EQ(PixelAt(group, 100, 119), gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT));
}

TEST_F(CheckTest, AGroupBoxAcceleratorFocusesItsFirstChild) {
    auto* group = Create<TGroupBox>(Form);
    group->SetBounds(10, 10, 200, 120);
    group->SetCaption("&Options");
    group->SetParent(Form);
    auto* first = Add<TCheckBox>("first", 10, 20, group);
    auto* elsewhere = Add<TCheckBox>("elsewhere", 10, 150);
    elsewhere->SetFocus();
    Key('O', "o");
    EXPECT_TRUE(first->Focused());
}

TEST_F(CheckTest, CheckAndRadioPropertiesGoThroughFormText) {
    auto* box = Add<TCheckBox>("Show in &tray", 10, 10);
    box->SetName("TrayBox");
    box->SetAllowGrayed(true);
    box->SetState(cbGrayed);
    box->SetAlignment(taLeftJustify);
    auto* radio = Add<TRadioButton>("Gromacs", 10, 40);
    radio->SetName("Gromacs");
    radio->SetChecked(true);
    auto* group = Create<TGroupBox>(Form);
    group->SetName("CoreNames");
    group->SetCaption("Core Names");
    const std::string boxText = ExpectRoundTrip(box, Application);
    EXPECT_NE(boxText.find("State = cbGrayed"), std::string::npos);
    EXPECT_NE(boxText.find("Alignment = taLeftJustify"), std::string::npos);
    EXPECT_NE(ExpectRoundTrip(radio, Application).find("Checked = True"), std::string::npos);
    EXPECT_NE(ExpectRoundTrip(group, Application).find("Caption = 'Core Names'"), std::string::npos);
}

}
