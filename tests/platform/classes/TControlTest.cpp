// Controls: properties and their notifications, Perform and WindowProc, alignment, mouse events, enter and leave.
#include "support/ControlsTestKit.h"

#include "platform/classes/Errors.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class ControlTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 300, 200);
        Panel = Create<TBoxPanel>(Form);
        Panel->SetBounds(10, 10, 200, 120);
        Panel->SetParent(Form);
        Label = Create<TTextLabel>(Form);
        Label->SetBounds(20, 30, 50, 20);
        Label->SetParent(Panel);
        Pump();
    }
    TForm* Form = nullptr;
    TBoxPanel* Panel = nullptr;
    TTextLabel* Label = nullptr;
};

}

TEST_F(ControlTest, PerformHandsTheRecordByReferenceSoTheAnswerComesBack) {
    Label->WindowProc = [](TMessage& m) {
        if (m.Msg == user::WM_USER + 1) {
            m.Result = 42;
            m.LParam = 7;
        }
    };
    TMessage message {user::WM_USER + 1, 0, 0, 0};
    Label->Perform(message);
    EXPECT_EQ(message.Result, 42);
    EXPECT_EQ(message.LParam, 7);
    EXPECT_EQ(Label->Perform(user::WM_USER + 1, 0, 0), 42);
}

TEST_F(ControlTest, AReplacedWindowProcSeesEveryMessageAndCanPassItOn) {
    std::vector<UINT> seen;
    TWndMethod old = Label->WindowProc;
    Label->WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg != CM_ENABLEDCHANGED) old(m);
    };
    Label->SetEnabled(false);
    Label->SetCaption("x");
    EXPECT_EQ(seen, std::vector<UINT>({CM_ENABLEDCHANGED, user::WM_SETTEXT, CM_TEXTCHANGED}));
    EXPECT_EQ(Label->Log.Count(CM_ENABLEDCHANGED), 0);   // swallowed by the replacement
    EXPECT_EQ(Label->Caption(), "x");
}

struct NotificationCase {
    const char* Name;
    std::function<void(TControl*)> Change;
    UINT Wanted;
};

class ControlNotificationTest : public ControlTest, public ::testing::WithParamInterface<NotificationCase> { };

TEST_P(ControlNotificationTest, APropertyChangeSendsItsNotificationOnceAndNotAgainForTheSameValue) {
    for (TControl* control : {static_cast<TControl*>(Label), static_cast<TControl*>(Panel)}) {
        TMessageLog& log = control == Label ? Label->Log : Panel->Log;
        log.Clear();
        GetParam().Change(control);
        GetParam().Change(control);
        EXPECT_EQ(log.Count(GetParam().Wanted), 1) << GetParam().Name << " on " << control->ClassName();
    }
}

INSTANTIATE_TEST_SUITE_P(Properties, ControlNotificationTest,
    ::testing::Values(NotificationCase {"Enabled", [](TControl* c) { c->SetEnabled(false); }, CM_ENABLEDCHANGED},
        NotificationCase {"Visible", [](TControl* c) { c->SetVisible(false); }, CM_VISIBLECHANGED},
        NotificationCase {"Caption", [](TControl* c) { c->SetCaption("Узел 1"); }, CM_TEXTCHANGED},
        NotificationCase {"Color", [](TControl* c) { c->SetColor(clRed); }, CM_COLORCHANGED},
        NotificationCase {"Font", [](TControl* c) { c->Font()->SetName("DejaVu Sans Mono"); }, CM_FONTCHANGED},
        NotificationCase {"Cursor", [](TControl* c) { c->SetCursor(crHandPoint); }, CM_CURSORCHANGED}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ControlTest, ChildrenFollowTheParentColourAndFontUntilTheyHaveTheirOwn) {
    Panel->SetColor(clTeal);
    Panel->Font()->SetHeight(-20);
    EXPECT_EQ(Label->Color(), clTeal);
    EXPECT_EQ(Label->Font()->Height(), -20);
    EXPECT_TRUE(Label->ParentColor());
    Label->SetColor(clRed);
    EXPECT_FALSE(Label->ParentColor());
    Panel->SetColor(clLime);
    EXPECT_EQ(Label->Color(), clRed);
    Label->SetParentColor(true);
    EXPECT_EQ(Label->Color(), clLime);
    Label->Font()->SetHeight(-9);
    EXPECT_FALSE(Label->ParentFont());
}

TEST_F(ControlTest, TheCaptionFollowsTheNameUntilItIsSet) {
    auto* panel = Create<TBoxPanel>(Form);
    panel->SetName("Panel7");
    EXPECT_EQ(panel->Caption(), "Panel7");
    panel->SetName("Status");
    EXPECT_EQ(panel->Caption(), "Status");
    panel->SetCaption("Готово");
    panel->SetName("Other");
    EXPECT_EQ(panel->Caption(), "Готово");
}

TEST_F(ControlTest, AControlCannotBePutInsideItself) {
    auto* inner = Create<TBoxPanel>(Form);
    inner->SetParent(Panel);
    EXPECT_THROW(Panel->SetParent(inner), EInvalidOperation);
    EXPECT_THROW(Panel->SetParent(Panel), EInvalidOperation);
    EXPECT_EQ(Panel->Parent(), Form);
}

TEST_F(ControlTest, ClientAndScreenCoordinatesMapThroughTheParents) {
    TPoint origin = Form->ClientOrigin();
    TPoint p = Label->ClientToScreen(Point(1, 2));
    EXPECT_EQ(p.x, origin.x + 10 + 20 + 1);
    EXPECT_EQ(p.y, origin.y + 10 + 30 + 2);
    TPoint back = Label->ScreenToClient(p);
    EXPECT_EQ(back.x, 1);
    EXPECT_EQ(back.y, 2);
}

TEST_F(ControlTest, APopupMenuReferenceIsClearedWhenItsComponentGoes) {
    auto* menu = new TComponent(Application);
    Label->SetPopupMenuComponent(menu);
    EXPECT_EQ(Label->PopupMenuComponent(), menu);
    menu->Free();
    EXPECT_EQ(Label->PopupMenuComponent(), nullptr);
}

// ---------------------------------------------------------------------------------------------------------
// Alignment

TEST_F(ControlTest, AlignedChildrenShareTheClientAreaInTurn) {
    auto make = [&](TAlign align, int size) {
        auto* c = Create<TBoxPanel>(Form);
        c->SetBounds(0, 0, size, size);
        c->SetAlign(align);
        c->SetParent(Panel);
        return c;
    };
    auto* top = make(alTop, 20);
    auto* bottom = make(alBottom, 15);
    auto* left = make(alLeft, 30);
    auto* right = make(alRight, 25);
    auto* client = make(alClient, 5);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 200, 20));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 105, 200, 120));
    EXPECT_EQ(left->BoundsRect(), Rect(0, 20, 30, 105));
    EXPECT_EQ(right->BoundsRect(), Rect(175, 20, 200, 105));
    EXPECT_EQ(client->BoundsRect(), Rect(30, 20, 175, 105));
    Panel->SetBounds(10, 10, 240, 100);
    EXPECT_EQ(client->BoundsRect(), Rect(30, 20, 215, 85));
    top->SetVisible(false);
    EXPECT_EQ(left->BoundsRect(), Rect(0, 0, 30, 85));
}

TEST_F(ControlTest, TwoTopAlignedControlsKeepTheirOrderByPosition) {
    auto* second = Create<TBoxPanel>(Form);
    second->SetBounds(0, 50, 10, 10);
    second->SetAlign(alTop);
    second->SetParent(Panel);
    auto* first = Create<TBoxPanel>(Form);
    first->SetBounds(0, 0, 10, 10);
    first->SetAlign(alTop);
    first->SetParent(Panel);
    EXPECT_EQ(first->Top(), 0);
    EXPECT_EQ(second->Top(), 10);
}

TEST_F(ControlTest, AnchoredControlsFollowTheirParentsEdges) {
    auto* stretch = Create<TBoxPanel>(Form);
    stretch->SetParent(Panel);
    stretch->SetBounds(10, 10, 100, 20);
    stretch->SetAnchors({akLeft, akTop, akRight});
    auto* corner = Create<TTextLabel>(Form);
    corner->SetParent(Panel);
    corner->SetBounds(150, 90, 30, 20);
    corner->SetAnchors({akRight, akBottom});
    Panel->SetBounds(10, 10, 260, 150);
    EXPECT_EQ(stretch->BoundsRect(), Rect(10, 10, 170, 30));
    EXPECT_EQ(corner->BoundsRect(), Rect(210, 120, 240, 140));
}

// ---------------------------------------------------------------------------------------------------------
// Mouse

TEST_F(ControlTest, AClickOnAWindowlessControlFiresItsEventsInItsOwnCoordinates) {
    std::vector<std::string> events;
    Label->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
        events.push_back("down " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    Label->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        events.push_back("up " + std::to_string(x) + "," + std::to_string(y));
    };
    Label->OnClick = [&](TObject*) { events.push_back("click"); };
    TPoint p = At(Label, 5, 6);
    Display->Click(p.x, p.y);
    Pump();
    EXPECT_EQ(events, std::vector<std::string>({"down 0 5,6", "click", "up 5,6"}));
}

TEST_F(ControlTest, ReleasingOutsideAfterPressingInsideIsNoClickButTheControlKeepsTheMouse) {
    int clicks = 0;
    int ups = 0;
    Label->OnClick = [&](TObject*) { ++clicks; };
    Label->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int) {
        ++ups;
        EXPECT_GT(x, 50);
    };
    TPoint in = At(Label, 5, 5);
    TPoint out = At(Label, 120, 5);
    Display->MoveMouse(in.x, in.y);
    Display->ButtonDown(user::MouseButton::Left, in.x, in.y);
    Pump();
    EXPECT_TRUE(Label->MouseCapture());
    Display->MoveMouse(out.x, out.y);
    Display->ButtonUp(user::MouseButton::Left, out.x, out.y);
    Pump();
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(ups, 1);
    EXPECT_FALSE(Label->MouseCapture());
}

TEST_F(ControlTest, TheMouseEnteringAndLeavingAWindowlessControlIsReportedToItAndItsParents) {
    std::vector<std::string> seen;
    auto watch = [&](TControl* control, const char* name) {
        TWndMethod old = control->WindowProc;
        control->WindowProc = [&seen, old, name](TMessage& m) {
            if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
                std::string who = m.LParam == 0 ? "self" : reinterpret_cast<TControl*>(m.LParam)->ClassName();
                seen.push_back(std::string(name) + (m.Msg == CM_MOUSEENTER ? " enter " : " leave ") + who);
            }
            old(m);
        };
    };
    watch(Label, "label");
    watch(Panel, "panel");
    watch(Form, "form");
    TPoint onPanel = At(Panel, 150, 100);
    TPoint onLabel = At(Label, 10, 10);
    Display->MoveMouse(onPanel.x, onPanel.y);
    Pump();
    seen.clear();
    Display->MoveMouse(onLabel.x, onLabel.y);
    Pump();
    Display->MoveMouse(onLabel.x + 1, onLabel.y);   // still on it: nothing new
    Pump();
    Display->MoveMouse(onPanel.x, onPanel.y);
    Pump();
    EXPECT_EQ(seen,
        std::vector<std::string>({"panel leave self", "form leave TBoxPanel", "label enter self",
            "panel enter TTextLabel", "form enter TTextLabel", "label leave self", "panel leave TTextLabel",
            "form leave TTextLabel", "panel enter self", "form enter TBoxPanel"}));
    EXPECT_EQ(Application->MouseControl(), Panel);
}

TEST_F(ControlTest, TheMouseLeavingTheApplicationLeavesTheControl) {
    TPoint onLabel = At(Label, 10, 10);
    Display->MoveMouse(onLabel.x, onLabel.y);
    Pump();
    EXPECT_EQ(Application->MouseControl(), Label);
    Label->Log.Clear();
    Display->MoveMouse(5, 5);   // the desktop
    Pump();
    EXPECT_EQ(Label->Log.Count(CM_MOUSELEAVE), 1);
    EXPECT_EQ(Application->MouseControl(), nullptr);
}

TEST_F(ControlTest, FreeingTheControlUnderTheMouseForgetsIt) {
    TPoint onLabel = At(Label, 10, 10);
    Display->MoveMouse(onLabel.x, onLabel.y);
    Pump();
    Label->Free();
    EXPECT_EQ(Application->MouseControl(), nullptr);
    Display->MoveMouse(onLabel.x + 2, onLabel.y);
    Pump();
    EXPECT_EQ(Application->MouseControl(), Panel);
}

TEST_F(ControlTest, DisabledWindowlessControlsGetNoMouseMessages) {
    int downs = 0;
    Label->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    Label->SetEnabled(false);
    TPoint p = At(Label, 5, 5);
    Display->Click(p.x, p.y);
    Pump();
    EXPECT_EQ(downs, 0);
}
