// Tests for the skinned form's own border drag (rmBorder), snapping to the work area and maximized bounds.
#include "support/WindowsKit.h"

#include "platform/classes/TSizeConstraints.h"
#include "platform/user/Input.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Monitors.h"
#include "platform/user/NonClient.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/WindowConstants.h"

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class BorderDrag : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        UseSkin(0);
        Wnd = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, 300, 160, 200, 150);
        P = ProviderOf(Wnd);
        P->SetResizeMode(rmBorder);
        // Whatever reaches the procedure under the provider: the system's move loop would announce itself.
        TWndMethod old = Wnd->WindowProc;
        Wnd->WindowProc = [this, old](TMessage& m) {
            if (m.Msg == user::WM_ENTERSIZEMOVE) ++SystemLoops;
            old(m);
        };
        Start = Wnd->BoundsRect();
    }
    // Press at window coordinates, move by each step (screen deltas from the press), release at the last.
    void DragFrom(int x, int y, std::vector<TPoint> steps) {
        const TPoint from = ScreenOf(Wnd, x, y);
        Display->AdvanceTimeMs(1000);
        Display->MoveMouse(from.x, from.y);
        Display->ButtonDown(user::MouseButton::Left, from.x, from.y);
        Pump();
        InDragAfterPress = TsSkinProvider::InOutlineDrag();
        TPoint last = from;
        for (TPoint d : steps) {
            last = TPoint {from.x + d.x, from.y + d.y};
            Display->MoveMouse(last.x, last.y);
            Pump();
        }
        Display->ButtonUp(user::MouseButton::Left, last.x, last.y);
        Pump();
    }
    TRect Moved(int dx, int dy, int dw = 0, int dh = 0) const {
        return TRect {Start.left + dx, Start.top + dy, Start.right + dx + dw, Start.bottom + dy + dh};
    }

    TForm* Wnd = nullptr;
    TsSkinProvider* P = nullptr;
    TRect Start {};
    int SystemLoops = 0;
    bool InDragAfterPress = false;
};

TEST_F(BorderDrag, TheCaptionMovesTheFormOnceAtTheReleaseWithoutTheSystemLoop) {
    DragFrom(P->FormWidth() / 2, P->CaptionHeight() / 2 + 2, {{10, 5}, {30, 20}, {50, 40}});
    EXPECT_TRUE(InDragAfterPress);
    EXPECT_FALSE(TsSkinProvider::InOutlineDrag());
    EXPECT_EQ(Wnd->BoundsRect(), Moved(50, 40));
    EXPECT_EQ(SystemLoops, 0);
    EXPECT_EQ(user::GetCapture(), nullptr);
}

// A size drag follows the mouse from its first move on.
TEST_F(BorderDrag, EachEdgeAndCornerFollowsTheMouse) {
    const int w = Start.Width();
    const int h = Start.Height();
    struct Edge {
        int X, Y;
        TRect Want;
    };
    const std::vector<Edge> edges {
        {w - 2, h / 2, Moved(0, 0, 25, 0)},   // right
        {1, h / 2, Moved(25, 0, -25, 0)},   // left
        {w / 2, h - 2, Moved(0, 0, 0, 15)},   // bottom
        {w - 2, h - 2, Moved(0, 0, 25, 15)},   // bottom-right
        {1, h - 2, Moved(25, 0, -25, 15)},   // bottom-left
    };
    for (const Edge& e : edges) {
        Wnd->SetBoundsRect(Start);
        Pump();
        DragFrom(e.X, e.Y, {{1, 1}, {10, 5}, {26, 16}});
        EXPECT_EQ(Wnd->BoundsRect(), e.Want) << e.X << "," << e.Y;
    }
    EXPECT_EQ(SystemLoops, 0);
}

TEST_F(BorderDrag, ASizeDragKeepsTheMinimumSizeAndTheOppositeEdge) {
    Wnd->Constraints()->SetMinWidth(200);
    Wnd->Constraints()->SetMinHeight(150);
    Start = Wnd->BoundsRect();
    DragFrom(1, Start.Height() - 2, {{1, -1}, {Start.Width(), -Start.Height()}});   // far past the other corner
    EXPECT_EQ(Wnd->BoundsRect(), (TRect {Start.right - 200, Start.top, Start.right, Start.top + 150}));
    Start = Wnd->BoundsRect();
    DragFrom(Start.Width() - 2, Start.Height() - 2, {{-1, -1}, {-300, -300}});
    EXPECT_EQ(Wnd->BoundsRect(), (TRect {Start.left, Start.top, Start.left + 200, Start.top + 150}));
}

TEST_F(BorderDrag, ASizeDragReleasedWithoutAMoveChangesNothing) {
    DragFrom(Start.Width() - 2, Start.Height() / 2, {});
    EXPECT_EQ(Wnd->BoundsRect(), Start);
    EXPECT_EQ(user::GetCapture(), nullptr);
}

TEST_F(BorderDrag, MoveFromTheWindowMenuRunsTheOutlineFromThePointer) {
    const TPoint pointer = ScreenOf(Wnd, 100, 100);
    Display->MoveMouse(pointer.x, pointer.y);
    Pump();
    user::SendMessage(Wnd->WindowHandle(), user::WM_SYSCOMMAND, user::SC_MOVE, 0);
    EXPECT_TRUE(TsSkinProvider::InOutlineDrag());
    Display->MoveMouse(pointer.x + 30, pointer.y + 10);
    Pump();
    Display->Click(pointer.x + 30, pointer.y + 10);
    Pump();
    EXPECT_FALSE(TsSkinProvider::InOutlineDrag());
    EXPECT_EQ(Wnd->BoundsRect(), Moved(30, 10));
    EXPECT_EQ(SystemLoops, 0);
}

// ---------------------------------------------------------------------------------------------------------
// Snapping

class ScreenSnap : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        UseSkin(1);
        Wnd = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, 300, 160, 200, 150);
        P = ProviderOf(Wnd);
        P->SetScreenSnap(true);
        Work = user::GetWindowWorkArea(Wnd->WindowHandle());
    }
    TPoint MoveTo(int x, int y) {
        Wnd->SetBounds(x, y, Wnd->Width(), Wnd->Height());
        Pump();
        return TPoint {Wnd->Left(), Wnd->Top()};
    }
    TForm* Wnd = nullptr;
    TsSkinProvider* P = nullptr;
    user::RECT Work {};
};

TEST_F(ScreenSnap, EachEdgeSnapsWithinTheBufferAndNotAtIt) {
    const int b = P->SnapBuffer();
    const int w = Wnd->Width();
    const int h = Wnd->Height();
    struct Case {
        TPoint Asked, Got;
    };
    const std::vector<Case> cases {
        {{Work.right - w - (b - 1), 100}, {Work.right - w, 100}},   // right, near
        {{Work.right - w - b, 100}, {Work.right - w - b, 100}},   // right, at the buffer: stays
        {{Work.right - w + 3, 100}, {Work.right - w, 100}},   // right, a little past
        {{100, Work.bottom - h - (b - 1)}, {100, Work.bottom - h}},   // bottom
        {{100, Work.bottom - h - b}, {100, Work.bottom - h - b}},
        {{Work.left + b - 1, 100}, {Work.left, 100}},   // left
        {{Work.left + b, 100}, {Work.left + b, 100}},
        {{100, Work.top + b - 1}, {100, Work.top}},   // top
        {{100, Work.top + b}, {100, Work.top + b}},
        {{0, 0}, {0, 0}},   // never snapped
    };
    for (const Case& c : cases)
        EXPECT_EQ(MoveTo(c.Asked.x, c.Asked.y), c.Got) << c.Asked.x << "," << c.Asked.y;
}

TEST_F(ScreenSnap, NothingSnapsWhenSwitchedOff) {
    P->SetScreenSnap(false);
    EXPECT_EQ(MoveTo(Work.left + 3, Work.top + 4), (TPoint {Work.left + 3, Work.top + 4}));
}

TEST_F(ScreenSnap, AFormOnAnotherMonitorSnapsOnlyToTheDesktopsWorkArea) {
    const user::RECT left {-1280, 0, 0, 1024};
    Display->SetMonitors({user::MonitorArea {left, left}});
    MoveTo(-1000, 300);
    EXPECT_EQ(MoveTo(-1280 + 4, 300), (TPoint {-1280 + 4, 300}));
    EXPECT_EQ(MoveTo(-Wnd->Width() - 6, 300), (TPoint {-Wnd->Width() - 6, 300}));
    Display->SetMonitors({});
}

// ---------------------------------------------------------------------------------------------------------
// Maximized bounds

class MaximizedBounds : public FormsTest { };

TEST_F(MaximizedBounds, AMaximizedFormCoversTheWorkAreaWithItsFrameOutside) {
    for (int skin : {0, 1, 2, 3}) {
        UseSkin(skin);
        TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
        TsSkinProvider* p = ProviderOf(form);
        const user::RECT work = user::GetWindowWorkArea(form->WindowHandle());
        const int f = p->SysBorderWidth();
        const int g = p->SysBorderHeight();
        user::MINMAXINFO info = user::QueryMinMaxInfo(form->WindowHandle());
        EXPECT_EQ(info.ptMaxPosition, (user::POINT {work.left - f, work.top - g}));
        EXPECT_EQ(info.ptMaxTrackSize, (user::POINT {work.Width() + 2 * f, work.Height() + 2 * g}));
        user::SendMessage(form->WindowHandle(), user::WM_SYSCOMMAND, user::SC_MAXIMIZE, 0);
        Pump();
        EXPECT_EQ(form->BoundsRect(), (TRect {work.left - f, work.top - g, work.right + f, work.bottom + g})) << skin;
        form->Release();
        Pump();
    }
}

TEST_F(MaximizedBounds, ValuesTheFormSetItselfStay) {
    UseSkin(0);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSkinProvider* p = ProviderOf(form);
    TWndMethod old = form->WindowProc;
    form->WindowProc = [old](TMessage& m) {
        old(m);
        if (m.Msg == user::WM_GETMINMAXINFO) reinterpret_cast<user::MINMAXINFO*>(m.LParam)->ptMaxTrackSize.x = 500;
    };
    (void)p;
    EXPECT_EQ(user::QueryMinMaxInfo(form->WindowHandle()).ptMaxTrackSize.x, 500);
}

TEST_F(MaximizedBounds, AFrameLessFormMaximizesOverTheWorkAreaExactly) {
    UseSkin(0);
    TForm* form = NewSkinnedForm(bsNone, {});
    const user::RECT work = user::GetWindowWorkArea(form->WindowHandle());
    const user::MINMAXINFO info = user::QueryMinMaxInfo(form->WindowHandle());
    EXPECT_EQ(info.ptMaxPosition, (user::POINT {work.left, work.top}));
    EXPECT_EQ(info.ptMaxTrackSize, (user::POINT {work.Width(), work.Height()}));
}

}
}
