// TScrollBox: ranges from the children, positions moving them, scroll messages, the wheel event.
#include "support/ControlsTestKit.h"

#include "platform/classes/TScrollBox.h"
#include "platform/user/Messages.h"
#include "platform/user/ScrollBars.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class ScrollBoxTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 300, 200);
        Box = Create<TScrollBox>(Form);
        Box->SetBorderStyle(bsNone);
        Box->SetBounds(0, 0, 200, 100);
        Box->SetParent(Form);
        Child = Create<TBoxPanel>(Form);
        Child->SetBounds(10, 20, 50, 300);
        Child->SetParent(Box);
        Pump();
    }
    user::SCROLLINFO Info(int bar) {
        user::SCROLLINFO info {};
        info.cbSize = sizeof(info);
        info.fMask = user::SIF_ALL;
        user::GetScrollInfo(Box->Handle(), bar, &info);
        return info;
    }
    TForm* Form = nullptr;
    TScrollBox* Box = nullptr;
    TBoxPanel* Child = nullptr;
};

TEST_F(ScrollBoxTest, RangeReachesTheFarthestChildAndTheBarShowsIt) {
    EXPECT_EQ(Box->VertScrollBar()->Range(), 320);
    EXPECT_TRUE(Box->VertScrollBar()->IsScrollBarVisible());
    EXPECT_FALSE(Box->HorzScrollBar()->IsScrollBarVisible());
    user::SCROLLINFO info = Info(user::SB_VERT);
    EXPECT_EQ(info.nMax, 319);
    EXPECT_EQ(int(info.nPage), Box->ClientHeight());
    Child->SetTop(50);
    EXPECT_EQ(Box->VertScrollBar()->Range(), 350);
}

TEST_F(ScrollBoxTest, PositionMovesTheChildrenAndIsClamped) {
    Box->VertScrollBar()->SetPosition(100);
    EXPECT_EQ(Child->Top(), -80);
    EXPECT_EQ(Box->VertScrollBar()->Range(), 320);   // the range stays while scrolled
    Box->VertScrollBar()->SetPosition(10000);
    EXPECT_EQ(Box->VertScrollBar()->Position(), 320 - Box->ClientHeight());
    Box->VertScrollBar()->SetPosition(-5);
    EXPECT_EQ(Child->Top(), 20);
    auto* low = Create<TBoxPanel>(Form);
    low->SetBounds(10, 250, 20, 20);
    low->SetParent(Box);
    Box->ScrollInView(low);
    EXPECT_EQ(Box->VertScrollBar()->Position(), 170);   // its bottom at the view's bottom
    EXPECT_EQ(low->Top(), 80);
}

TEST_F(ScrollBoxTest, ScrollMessagesMoveByIncrementAndPage) {
    user::SendMessage(Box->Handle(), user::WM_VSCROLL, user::SB_LINEDOWN, 0);
    EXPECT_EQ(Box->VertScrollBar()->Position(), 8);
    user::SendMessage(Box->Handle(), user::WM_VSCROLL, user::MAKEWPARAM(user::SB_THUMBTRACK, 150), 0);
    EXPECT_EQ(Box->VertScrollBar()->Position(), 150);
    EXPECT_EQ(Info(user::SB_VERT).nPos, 150);
    user::SendMessage(Box->Handle(), user::WM_VSCROLL, user::SB_TOP, 0);
    EXPECT_EQ(Child->Top(), 20);
}

TEST_F(ScrollBoxTest, WheelEventCanScrollByHand) {
    Box->OnMouseWheel = [this](TObject*, TShiftState, int delta, TPoint, bool& handled) {
        Box->VertScrollBar()->SetPosition(Box->VertScrollBar()->Position() - delta / 8);
        handled = true;
    };
    TPoint p = At(Box, 100, 50);
    Box->SetFocus();
    Display->Wheel(p.x, p.y, -120);
    Pump();
    EXPECT_EQ(Box->VertScrollBar()->Position(), 15);
}

TEST_F(ScrollBoxTest, FixedRangeWithoutAutoScroll) {
    Box->VertScrollBar()->SetRange(1000);
    EXPECT_FALSE(Box->AutoScroll());
    Child->SetTop(2000);
    EXPECT_EQ(Box->VertScrollBar()->Range(), 1000);
}

TEST_F(ScrollBoxTest, TheThumbReachesPositionsBeyondSixteenBits) {
    Child->SetHeight(100000);
    user::SCROLLINFO info {};
    info.cbSize = sizeof(info);
    info.fMask = user::SIF_POS;
    info.nPos = 70000;
    user::SetScrollInfo(Box->Handle(), user::SB_VERT, &info, false);
    user::SendMessage(Box->Handle(), user::WM_VSCROLL, user::MAKEWPARAM(user::SB_THUMBPOSITION, 70000 & 0xFFFF), 0);
    EXPECT_EQ(Box->VertScrollBar()->Position(), 70000);
}

}
