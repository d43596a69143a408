// A form's own scroll bars: off by default, with AutoScroll the ranges reach the farthest child, scroll
// messages move the children, and a form gets its window only when asked.
#include "support/ControlsTestKit.h"

#include "platform/classes/TForm.h"
#include "platform/user/Messages.h"
#include "platform/user/ScrollBars.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class FormScrollTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 300, 200);
        Child = Create<TBoxPanel>(Form);
        Child->SetBounds(10, 20, 400, 500);
        Child->SetParent(Form);
        Pump();
    }
    TForm* Form = nullptr;
    TBoxPanel* Child = nullptr;
};

}

TEST_F(FormScrollTest, ANewFormHasNoWindowAndDoesNotScroll) {
    TForm* fresh = Create<TForm>(Application);
    EXPECT_FALSE(fresh->HandleAllocated());
    EXPECT_FALSE(fresh->AutoScroll());
    fresh->SetAutoScroll(false);
    EXPECT_FALSE(fresh->HandleAllocated());
    EXPECT_EQ(Form->VertScrollBar()->Range(), 0);
    EXPECT_FALSE(Form->VertScrollBar()->IsScrollBarVisible());
    delete fresh;
}

TEST_F(FormScrollTest, AutoScrollReachesTheFarthestChildAndScrollMessagesMoveIt) {
    Form->SetAutoScroll(true);
    EXPECT_EQ(Form->VertScrollBar()->Range(), 520);
    EXPECT_EQ(Form->HorzScrollBar()->Range(), 410);
    EXPECT_TRUE(Form->VertScrollBar()->IsScrollBarVisible());
    user::SendMessage(Form->Handle(), user::WM_VSCROLL, user::SB_LINEDOWN, 0);
    EXPECT_EQ(Form->VertScrollBar()->Position(), Form->VertScrollBar()->Increment());
    EXPECT_EQ(Child->Top(), 20 - Form->VertScrollBar()->Increment());
    Form->VertScrollBar()->SetPosition(100000);   // clamped to the range less the client
    EXPECT_EQ(Form->VertScrollBar()->Position(), 520 - Form->ClientHeight());
    EXPECT_EQ(Child->Top(), 20 - Form->VertScrollBar()->Position());
    Form->VertScrollBar()->SetPosition(0);
    EXPECT_EQ(Child->Top(), 20);
}

TEST_F(FormScrollTest, AnExplicitRangeTurnsAutoScrollOff) {
    Form->SetAutoScroll(true);
    Form->VertScrollBar()->SetRange(900);
    EXPECT_FALSE(Form->AutoScroll());
    EXPECT_EQ(Form->VertScrollBar()->Range(), 900);
}
