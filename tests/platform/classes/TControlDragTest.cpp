// Dragging one control onto another within the program: automatic and manual starts, the threshold, enter,
// move and leave over targets (windowed and windowless), a drop only where accepted, cancelling, the cursor,
// and a target that frees itself while the drag goes on.
#include "support/ControlsTestKit.h"

#include "platform/user/Input.h"

#include <gtest/gtest.h>

namespace korvex::classes::ctltest {
namespace {

struct DragRecord {
    std::vector<std::string> Events;   // "over <target> <state> x,y", "drop ...", "end <target or none> x,y", "start"
};

const char* StateName(TDragState state) {
    return state == dsDragEnter ? "enter" : state == dsDragLeave ? "leave" : "move";
}

class ControlDragTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 400, 200);
        Form->SetName("Form");
        Source = MakePanel("Source", 10, 10);
        Target = MakePanel("Target", 150, 10);
        Label = new TTextLabel(Form);
        Label->SetName("Label");
        Label->SetParent(Form);
        Label->SetBounds(290, 10, 80, 40);
        for (TControl* c : std::initializer_list<TControl*> {Target, Label, Form}) Watch(c);
        Source->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { ++SourcePresses; };
        Source->OnStartDrag = [this](TObject*, TObject*&) { Record.Events.push_back("start"); };
        Source->OnEndDrag = [this](TObject*, TObject* target, int x, int y) {
            Record.Events.push_back(std::string("end ") + (target ? static_cast<TComponent*>(target)->Name() : "none")
                + " " + std::to_string(x) + "," + std::to_string(y));
        };
        ASSERT_TRUE(Pump());
    }
    TBoxPanel* MakePanel(const char* name, int x, int y) {
        auto* p = new TBoxPanel(Form);
        p->SetName(name);
        p->SetParent(Form);
        p->SetBounds(x, y, 100, 80);
        return p;
    }
    void Watch(TControl* c) {
        c->OnDragOver = [this, c](TObject*, TObject* source, int x, int y, TDragState state, bool& accept) {
            Record.Events.push_back("over " + c->Name() + " " + StateName(state) + " " + std::to_string(x) + ","
                + std::to_string(y));
            EXPECT_EQ(source, Source);
            accept = c != Form && Accepting;
        };
        c->OnDragDrop = [this, c](TObject*, TObject* source, int x, int y) {
            EXPECT_EQ(source, Source);
            Record.Events.push_back("drop " + c->Name() + " " + std::to_string(x) + "," + std::to_string(y));
        };
    }
    void MoveTo(const TControl* c, int x, int y) {
        const TPoint p = At(c, x, y);
        Display->MoveMouse(p.x, p.y, 0);
        Pump();
    }
    void Press(const TControl* c, int x, int y) {
        const TPoint p = At(c, x, y);
        Display->MoveMouse(p.x, p.y);
        Display->ButtonDown(user::MouseButton::Left, p.x, p.y);
        Pump();
    }
    void Release() {
        user::POINT p {};
        user::GetCursorPos(&p);
        Display->ButtonUp(user::MouseButton::Left, p.x, p.y);
        Pump();
    }

    TForm* Form = nullptr;
    TBoxPanel* Source = nullptr;
    TBoxPanel* Target = nullptr;
    TTextLabel* Label = nullptr;
    bool Accepting = true;
    int SourcePresses = 0;
    DragRecord Record;
};

TEST_F(ControlDragTest, AnAutomaticDragStartsPastTheThresholdAndDropsOnTheAcceptingControl) {
    Source->SetDragMode(dmAutomatic);
    Press(Source, 20, 20);
    EXPECT_TRUE(Source->Dragging());
    EXPECT_EQ(SourcePresses, 0);   // the press started the drag instead
    MoveTo(Source, 23, 22);   // within five pixels: nothing yet
    EXPECT_TRUE(Record.Events.empty());
    MoveTo(Source, 30, 20);   // over the source itself, which takes nothing
    EXPECT_EQ(user::GetCursor(), Screen->Cursors(crNoDrop));
    MoveTo(Form, 130, 40);   // the form between them
    MoveTo(Target, 5, 6);
    MoveTo(Target, 7, 8);
    EXPECT_EQ(user::GetCursor(), Screen->Cursors(crDrag));
    Release();
    EXPECT_FALSE(Source->Dragging());
    const std::vector<std::string> expected {"start", "over Form enter 130,40", "over Form leave 155,16",
        "over Target enter 5,6", "over Target move 7,8", "drop Target 7,8", "end Target 7,8"};
    EXPECT_EQ(Record.Events, expected);
}

TEST_F(ControlDragTest, ARefusingTargetShowsTheNoDropCursorAndTheDragEndsOnNothing) {
    Accepting = false;
    Source->SetDragMode(dmAutomatic);
    Press(Source, 20, 20);
    MoveTo(Label, 10, 10);   // windowless controls are targets too
    EXPECT_EQ(user::GetCursor(), Screen->Cursors(crNoDrop));
    Release();
    const std::vector<std::string> expected {"start", "over Label enter 10,10", "end none 0,0"};
    EXPECT_EQ(Record.Events, expected);
}

TEST_F(ControlDragTest, AManualImmediateDragCanBeCancelled) {
    Source->SetDragCursor(crHandPoint);
    MoveTo(Source, 50, 50);
    Source->BeginDrag(true);
    EXPECT_TRUE(Source->Dragging());
    MoveTo(Target, 10, 10);
    EXPECT_EQ(user::GetCursor(), Screen->Cursors(crHandPoint));
    Source->EndDrag(false);
    EXPECT_FALSE(Source->Dragging());
    Release();   // after the drag: an ordinary release
    ASSERT_GE(Record.Events.size(), 3u);
    EXPECT_EQ(Record.Events.front(), "start");
    EXPECT_EQ(Record.Events.back(), "end none 0,0");
    for (const std::string& e : Record.Events)
        EXPECT_EQ(e.rfind("drop", 0), std::string::npos) << e;
}

TEST_F(ControlDragTest, AClickThatNeverMovesFarEnoughIsNoDragAtAll) {
    Source->SetDragMode(dmAutomatic);
    Press(Source, 20, 20);
    MoveTo(Source, 21, 21);
    Release();
    EXPECT_FALSE(Source->Dragging());
    EXPECT_TRUE(Record.Events.empty());
    // A manual control keeps its ordinary press.
    Source->SetDragMode(dmManual);
    Press(Source, 20, 20);
    Release();
    EXPECT_EQ(SourcePresses, 1);
}

TEST_F(ControlDragTest, ATargetThatFreesItselfWhileEnteredEndsTheDragOnNothing) {
    Target->OnDragOver = [this](TObject*, TObject*, int, int, TDragState, bool& accept) {
        accept = true;
        TBoxPanel* dying = Target;
        Target = nullptr;
        dying->Free();   // this handler goes with it: nothing of it is touched afterwards
    };
    Source->SetDragMode(dmAutomatic);
    Press(Source, 20, 20);
    MoveTo(Source, 40, 20);
    MoveTo(Form, 160, 20);   // over the target, which goes
    Release();
    EXPECT_EQ(Target, nullptr);
    ASSERT_FALSE(Record.Events.empty());
    EXPECT_EQ(Record.Events.back(), "end none 0,0");
}

TEST_F(ControlDragTest, TheSourceFreedDuringTheDragEndsItQuietly) {
    Source->SetDragMode(dmAutomatic);
    Press(Source, 20, 20);
    MoveTo(Source, 40, 20);
    Source->OnEndDrag = nullptr;
    Source->Free();
    Source = nullptr;
    Accepting = true;
    Target->OnDragOver = nullptr;
    MoveTo(Target, 10, 10);
    Release();
    EXPECT_EQ(user::GetCapture(), nullptr);
}

}
}
