// TStatusBar: panels reaching the native parts, texts with their alignment, simple text, owner-drawn panels.
#include "support/ControlsTestKit.h"

#include "platform/classes/TStatusBar.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/Window.h"
#include "platform/user/controls/StatusBar.h"

#include <string>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class StatusBarTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 700, 300);
        Bar = Create<TStatusBar>(Form);
        Bar->SetParent(Form);
    }

    std::string NativeText(int part) {
        user::LRESULT info = user::SendMessage(Bar->Handle(), user::SB_GETTEXTLENGTH, user::WPARAM(part), 0);
        std::vector<char> buffer(user::LOWORD(std::uintptr_t(info)) + 1);
        user::SendMessage(
            Bar->Handle(), user::SB_GETTEXT, user::WPARAM(part), reinterpret_cast<user::LPARAM>(buffer.data()));
        return buffer.data();
    }

    TForm* Form = nullptr;
    TStatusBar* Bar = nullptr;
};

TEST_F(StatusBarTest, SitsAtTheBottomOfItsForm) {
    Pump();
    EXPECT_EQ(Bar->Align(), alBottom);
    EXPECT_EQ(Bar->Top() + Bar->Height(), Form->ClientHeight());
    EXPECT_EQ(Bar->Width(), Form->ClientWidth());
    EXPECT_NE(user::GetWindowStyle(Bar->Handle()) & user::SBARS_SIZEGRIP, 0u);
}

TEST_F(StatusBarTest, PanelsBecomePartsWithTheirWidths) {
    TStatusPanel* first = Bar->Panels()->Add();
    first->SetWidth(320);
    first->SetText("KORVEX 2.6.0.11");
    TStatusPanel* second = Bar->Panels()->Add();
    second->SetWidth(350);
    second->SetText("TOTAL: 3 nodes");
    int edges[4] {};
    EXPECT_EQ(user::SendMessage(Bar->Handle(), user::SB_GETPARTS, 4, reinterpret_cast<user::LPARAM>(edges)), 2);
    EXPECT_EQ(edges[0], 320);
    EXPECT_EQ(edges[1], -1);   // the last panel reaches the end
    EXPECT_EQ(NativeText(0), "KORVEX 2.6.0.11");
    second->SetText("TOTAL: 4 nodes");
    EXPECT_EQ(NativeText(1), "TOTAL: 4 nodes");
    first->SetWidth(100);
    user::SendMessage(Bar->Handle(), user::SB_GETPARTS, 4, reinterpret_cast<user::LPARAM>(edges));
    EXPECT_EQ(edges[0], 100);
}

TEST_F(StatusBarTest, PartEdgesOfHugeWidthsStopAtTheLargestInt) {
    for (int i = 0; i < 3; ++i)
        Bar->Panels()->Add()->SetWidth(0x7FFFFFFF);
    int edges[4] {};
    EXPECT_EQ(user::SendMessage(Bar->Handle(), user::SB_GETPARTS, 4, reinterpret_cast<user::LPARAM>(edges)), 3);
    EXPECT_EQ(edges[0], 0x7FFFFFFF);
    EXPECT_EQ(edges[1], 0x7FFFFFFF);   // not wrapped to a negative edge
    EXPECT_EQ(edges[2], -1);
}

TEST_F(StatusBarTest, AlignmentAndBevelReachTheNativeText) {
    TStatusPanel* panel = Bar->Panels()->Add();
    panel->SetText("mid");
    panel->SetAlignment(taCenter);
    EXPECT_EQ(NativeText(0), "\tmid");
    panel->SetAlignment(taRightJustify);
    EXPECT_EQ(NativeText(0), "\t\tmid");
    panel->SetBevel(pbRaised);
    user::LRESULT info = user::SendMessage(Bar->Handle(), user::SB_GETTEXTLENGTH, 0, 0);
    EXPECT_EQ(user::HIWORD(std::uintptr_t(info)), user::SBT_POPOUT);
}

TEST_F(StatusBarTest, SimplePanelShowsSimpleText) {
    Bar->Panels()->Add()->SetText("part");
    Bar->SetSimpleText("Reading nodes...");
    Bar->SetSimplePanel(true);
    EXPECT_TRUE(user::SendMessage(Bar->Handle(), user::SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(NativeText(user::SB_SIMPLEID), "Reading nodes...");
    Bar->SetSimplePanel(false);
    EXPECT_FALSE(user::SendMessage(Bar->Handle(), user::SB_ISSIMPLE, 0, 0));
}

TEST_F(StatusBarTest, OwnerDrawnPanelsCallOnDrawPanel) {
    Bar->Panels()->Add()->SetWidth(100);
    TStatusPanel* drawn = Bar->Panels()->Add();
    drawn->SetStyle(psOwnerDraw);
    std::vector<TStatusPanel*> panels;
    TRect where {};
    Bar->OnDrawPanel = [&](TStatusBar* bar, TStatusPanel* panel, const TRect& rect) {
        EXPECT_EQ(bar, Bar);
        EXPECT_NE(bar->Canvas()->Handle(), nullptr);
        panels.push_back(panel);
        where = rect;
    };
    Bar->Invalidate();
    Pump();
    ASSERT_EQ(panels.size(), 1u);
    EXPECT_EQ(panels[0], drawn);
    EXPECT_GE(where.left, 100);
}

TEST_F(StatusBarTest, PanelsSurviveANewWindow) {
    Bar->Panels()->Add()->SetText("kept");
    Bar->SetSizeGrip(false);
    Pump();
    EXPECT_EQ(user::GetWindowStyle(Bar->Handle()) & user::SBARS_SIZEGRIP, 0u);
    EXPECT_EQ(NativeText(0), "kept");
}

TEST_F(StatusBarTest, PanelsAssignFromAnotherBar) {
    auto* other = Create<TStatusBar>(Form);
    other->Panels()->Add()->SetText("one");
    other->Panels()->Add()->SetWidth(77);
    Bar->SetPanels(other->Panels());
    ASSERT_EQ(Bar->Panels()->Count(), 2);
    EXPECT_EQ(Bar->Panels()->Items(0)->Text(), "one");
    EXPECT_EQ(Bar->Panels()->Items(1)->Width(), 77);
    EXPECT_EQ(NativeText(0), "one");
}

}
