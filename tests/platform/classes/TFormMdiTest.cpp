// MDI forms: the client window beside aligned controls, child forms inside it, the child queries,
// activation by click and Ctrl+F6, maximizing with the merged caption, children freed while maximized, and
// the client's scroll bars for a child past its edges.
#include "support/ControlsTestKit.h"

#include "platform/classes/Errors.h"
#include "platform/classes/TPanel.h"
#include "platform/user/Mdi.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class FormMdiTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Application->CreateForm(Frame);
        Frame->SetFormStyle(fsMDIForm);
        Frame->SetCaption("Farm");
        Frame->SetBounds(50, 40, 520, 400);
        Bar = Create<TPanel>(Frame);
        Bar->SetParent(Frame);
        Bar->SetAlign(alTop);
        Bar->SetHeight(30);
        Frame->Show();
        ASSERT_TRUE(Pump());
        One = NewChild("One");
        Two = NewChild("Two");
        ASSERT_TRUE(Pump());
    }

    TForm* NewChild(const std::string& caption) {
        TForm* child = Create<TForm>(Application);
        child->SetFormStyle(fsMDIChild);
        child->SetCaption(caption);
        child->SetBounds(10, 10, 220, 160);
        child->HandleNeeded();
        return child;
    }

    void Key(unsigned vk, unsigned modifiers) {
        Display->KeyDown(user::VK_CONTROL, {}, modifiers);
        Display->KeyDown(vk, {}, modifiers);
        Display->KeyUp(vk, modifiers);
        Display->KeyUp(user::VK_CONTROL, modifiers);
        ASSERT_TRUE(Pump());
    }

    TForm* Frame = nullptr;
    TPanel* Bar = nullptr;
    TForm* One = nullptr;
    TForm* Two = nullptr;
};

}

TEST_F(FormMdiTest, TheClientWindowTakesWhatTheAlignedControlsLeave) {
    ASSERT_NE(Frame->ClientHandle(), nullptr);
    EXPECT_EQ(user::GetClassName(Frame->ClientHandle()), user::MdiClientClassName);
    user::RECT r {};
    user::GetWindowRect(Frame->ClientHandle(), &r);
    user::MapWindowRect(nullptr, Frame->WindowHandle(), &r);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, Frame->ClientWidth());
    EXPECT_EQ(r.bottom, Frame->ClientHeight());
    Frame->SetBounds(50, 40, 600, 450);
    ASSERT_TRUE(Pump());
    user::GetWindowRect(Frame->ClientHandle(), &r);
    user::MapWindowRect(nullptr, Frame->WindowHandle(), &r);
    EXPECT_EQ(r.right, Frame->ClientWidth());
    EXPECT_EQ(r.bottom, Frame->ClientHeight());
}

TEST_F(FormMdiTest, ChildFormsLiveInTheClientAndAreCountedTopFirst) {
    for (TForm* child : {One, Two}) {
        EXPECT_EQ(user::GetParent(child->WindowHandle()), Frame->ClientHandle());
        EXPECT_TRUE(child->Visible());
        EXPECT_TRUE(child->FormState().Contains(fsCreatedMDIChild));
    }
    EXPECT_EQ(Frame->MDIChildCount(), 2);
    EXPECT_EQ(Frame->MDIChildren(0), Two);
    EXPECT_EQ(Frame->MDIChildren(1), One);
    EXPECT_EQ(Frame->MDIChildren(2), nullptr);
    EXPECT_EQ(Frame->ActiveMDIChild(), Two);
    EXPECT_EQ(One->MDIChildCount(), 0);
    EXPECT_EQ(One->ActiveMDIChild(), nullptr);
}

TEST_F(FormMdiTest, AChildWithoutAnMdiMainFormIsRefused) {
    Application->RemoveComponent(Frame);   // no MDI main form any more
    TForm* orphan = Create<TForm>(Application);
    orphan->SetFormStyle(fsMDIChild);
    EXPECT_THROW(orphan->HandleNeeded(), EInvalidOperation);
    Application->InsertComponent(Frame);
}

TEST_F(FormMdiTest, AClickAndCtrlF6ActivateChildren) {
    // The first child sits under the second at the same place: move it clear first.
    One->SetBounds(250, 150, 220, 160);
    ASSERT_TRUE(Pump());
    const TPoint p = At(One, 30, 30);
    Display->Click(p.x, p.y);
    ASSERT_TRUE(Pump());
    EXPECT_EQ(Frame->ActiveMDIChild(), One);
    Key(user::VK_F6, user::ModControl);
    EXPECT_EQ(Frame->ActiveMDIChild(), Two);
    Key(user::VK_F6, user::ModControl | user::ModShift);
    EXPECT_EQ(Frame->ActiveMDIChild(), One);
}

TEST_F(FormMdiTest, AMaximizedChildMergesItsCaptionAndRestores) {
    Two->SetWindowState(wsMaximized);
    ASSERT_TRUE(Pump());
    EXPECT_TRUE(user::IsZoomed(Two->WindowHandle()));
    EXPECT_EQ(user::GetWindowText(Frame->WindowHandle()), "Farm - [Two]");
    user::SendMessage(Two->WindowHandle(), user::WM_SYSCOMMAND, user::SC_RESTORE, 0);
    ASSERT_TRUE(Pump());
    EXPECT_EQ(Two->WindowState(), wsNormal);
    EXPECT_EQ(user::GetWindowText(Frame->WindowHandle()), "Farm");
}

TEST_F(FormMdiTest, AMaximizedChildFreedHandsTheMaximizedStateOn) {
    Two->SetWindowState(wsMaximized);
    ASSERT_TRUE(Pump());
    delete Two;
    Two = nullptr;
    ASSERT_TRUE(Pump());
    EXPECT_EQ(Frame->MDIChildCount(), 1);
    EXPECT_EQ(Frame->ActiveMDIChild(), One);
    EXPECT_EQ(One->WindowState(), wsMaximized);
    EXPECT_EQ(user::GetWindowText(Frame->WindowHandle()), "Farm - [One]");
    delete One;
    One = nullptr;
    ASSERT_TRUE(Pump());
    EXPECT_EQ(Frame->ActiveMDIChild(), nullptr);
    EXPECT_EQ(user::GetWindowText(Frame->WindowHandle()), "Farm");
}

// The client window scrolls to a child moved past its edges, and lets the bars go when the child is freed.
TEST_F(FormMdiTest, AChildPastTheClientsEdgesGivesTheClientItsScrollBars) {
    const user::HWND client = Frame->ClientHandle();
    EXPECT_FALSE(user::GetWindowLong(client, user::GWL_STYLE) & (user::WS_HSCROLL | user::WS_VSCROLL));
    Two->SetBounds(Frame->ClientWidth() - 40, 300, 220, 160);
    ASSERT_TRUE(Pump());
    EXPECT_TRUE(user::GetWindowLong(client, user::GWL_STYLE) & user::WS_HSCROLL);
    EXPECT_TRUE(user::GetWindowLong(client, user::GWL_STYLE) & user::WS_VSCROLL);
    delete Two;
    Two = nullptr;
    ASSERT_TRUE(Pump());
    EXPECT_FALSE(user::GetWindowLong(client, user::GWL_STYLE) & (user::WS_HSCROLL | user::WS_VSCROLL));
}
