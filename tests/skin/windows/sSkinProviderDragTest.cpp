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

// A size drag follows the mouse from its first move on, which also names the edge (the first hit test under
// the captured pointer): the corners are taken along the sides, clear of the cut-out corner pixels.
TEST_F(BorderDrag, EachEdgeAndCornerFollowsTheMouse) {
    const int w = Start.Width();
    const int h = Start.Height();
    struct Edge {
        int X, Y;
        LRESULT Code;
        TRect Want;
    };
    const std::vector<Edge> edges {
        {w - 2, h / 2, user::HTRIGHT, Moved(0, 0, 25, 0)},
        {1, h / 2, user::HTLEFT, Moved(25, 0, -25, 0)},
        {w / 2, h - 2, user::HTBOTTOM, Moved(0, 0, 0, 15)},
        {w - 2, h - 10, user::HTBOTTOMRIGHT, Moved(0, 0, 25, 15)},
        {1, h - 10, user::HTBOTTOMLEFT, Moved(25, 0, -25, 15)},
    };
    for (const Edge& e : edges) {
        Wnd->SetBoundsRect(Start);
        Pump();
        ASSERT_EQ(HitAt(Wnd, ScreenOf(Wnd, e.X, e.Y + 1)), e.Code) << e.X << "," << e.Y;
        DragFrom(e.X, e.Y, {{0, 1}, {10, 5}, {25, 16}});
        EXPECT_EQ(Wnd->BoundsRect(), e.Want) << e.X << "," << e.Y;
    }
    EXPECT_EQ(SystemLoops, 0);
}

TEST_F(BorderDrag, ASizeDragKeepsTheMinimumSizeAndTheOppositeEdge) {
    Wnd->Constraints()->SetMinWidth(200);
    Wnd->Constraints()->SetMinHeight(150);
    Start = Wnd->BoundsRect();
    DragFrom(1, Start.Height() - 10, {{1, -1}, {Start.Width(), -Start.Height()}});   // far past the other corner
    EXPECT_EQ(Wnd->BoundsRect(), (TRect {Start.right - 200, Start.top, Start.right, Start.top + 150}));
    Start = Wnd->BoundsRect();
    DragFrom(Start.Width() - 2, Start.Height() - 10, {{-1, -1}, {-300, -300}});
    EXPECT_EQ(Wnd->BoundsRect(), (TRect {Start.left, Start.top, Start.left + 200, Start.top + 150}));
}

TEST_F(BorderDrag, ASizeDragReleasedWithoutAMoveChangesNothing) {
    DragFrom(Start.Width() - 2, Start.Height() / 2, {});
    EXPECT_EQ(Wnd->BoundsRect(), Start);
    EXPECT_EQ(user::GetCapture(), nullptr);
}

// The edge a size drag takes is the one the first hit test after the press names, not the pressed one.
TEST_F(BorderDrag, ASizeDragTakesTheEdgeTheFirstHitTestAfterThePressNames) {
    const int w = Start.Width();
    const int h = Start.Height();
    // Pressed on the right edge above the corner, the first move lands on the bottom-right corner.
    ASSERT_EQ(HitAt(Wnd, ScreenOf(Wnd, w - 2, h - 40)), user::HTRIGHT);
    ASSERT_EQ(HitAt(Wnd, ScreenOf(Wnd, w - 2, h - 10)), user::HTBOTTOMRIGHT);
    DragFrom(w - 2, h - 40, {{0, 30}, {26, 54}});
    EXPECT_EQ(Wnd->BoundsRect(), Moved(0, 0, 26, 24));
    EXPECT_EQ(SystemLoops, 0);
}

// Any press on the frame but on the menu bar starts the own drag: the edge of a fixed frame moves the form.
TEST_F(BorderDrag, APressOnAFixedFramesEdgeMovesTheForm) {
    TForm* fixed = NewSkinnedForm(bsSingle, {biSystemMenu, biMinimize}, 200, 100, 400, 300);
    TsSkinProvider* p = ProviderOf(fixed);
    p->SetResizeMode(rmBorder);
    const TRect start = fixed->BoundsRect();
    const TPoint from = ScreenOf(fixed, 1, start.Height() / 2);
    ASSERT_EQ(HitAt(fixed, from), user::HTBORDER);
    Display->AdvanceTimeMs(1000);
    Display->MoveMouse(from.x, from.y);
    Display->ButtonDown(user::MouseButton::Left, from.x, from.y);
    Pump();
    EXPECT_TRUE(TsSkinProvider::InOutlineDrag());
    Display->MoveMouse(from.x + 20, from.y + 10);
    Pump();
    Display->ButtonUp(user::MouseButton::Left, from.x + 20, from.y + 10);
    Pump();
    EXPECT_FALSE(TsSkinProvider::InOutlineDrag());
    EXPECT_EQ(fixed->BoundsRect(), (TRect {start.left + 20, start.top + 10, start.right + 20, start.bottom + 10}));
}

// With the mouse held on the menu bar nothing is dragged.
TEST_F(BorderDrag, APressOnTheMenuBarStartsNoDrag) {
    TMessage press {user::WM_NCLBUTTONDOWN, user::HTMENU, 0, 0};
    const TPoint at = ScreenOf(Wnd, 20, P->CaptionHeight() + 2);
    press.LParam = user::MAKELPARAM(at.x, at.y);
    P->NewWndProc(press);
    EXPECT_FALSE(TsSkinProvider::InOutlineDrag());
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

// The outline is drawn into the screen itself: its pixels show inverted while the drag runs, and are back after.
TEST_F(BorderDrag, TheOutlineShowsOnTheScreenDuringTheDragAndIsGoneAfter) {
    const TRect to = Moved(40, 30);
    // On the outline's right and bottom lines, clear of the form where it starts and where it ends.
    const TPoint onOutline[] {{to.right, to.bottom - 5}, {to.right - 10, to.bottom}, {to.left + 5, to.bottom}};
    const TPoint offOutline {to.right + 3, to.bottom + 3};
    std::vector<gdi::COLORREF> before;
    for (TPoint p : onOutline) before.push_back(Display->ScreenPixel(p.x, p.y));
    const gdi::COLORREF offBefore = Display->ScreenPixel(offOutline.x, offOutline.y);

    const TPoint from = ScreenOf(Wnd, P->FormWidth() / 2, P->CaptionHeight() / 2 + 2);
    Display->AdvanceTimeMs(1000);
    Display->MoveMouse(from.x, from.y);
    Display->ButtonDown(user::MouseButton::Left, from.x, from.y);
    Pump();
    Display->MoveMouse(from.x + 40, from.y + 30);
    Pump();
    ASSERT_TRUE(TsSkinProvider::InOutlineDrag());
    EXPECT_EQ(TsSkinProvider::OutlineRect(), to);
    for (std::size_t i = 0; i < std::size(onOutline); ++i)
        EXPECT_EQ(Display->ScreenPixel(onOutline[i].x, onOutline[i].y), before[i] ^ 0xFFFFFFu) << i;
    EXPECT_EQ(Display->ScreenPixel(offOutline.x, offOutline.y), offBefore);

    Display->ButtonUp(user::MouseButton::Left, from.x + 40, from.y + 30);
    Pump();
    ASSERT_EQ(Wnd->BoundsRect(), to);
    for (std::size_t i = 0; i < std::size(onOutline); ++i)
        EXPECT_EQ(Display->ScreenPixel(onOutline[i].x, onOutline[i].y), before[i]) << i;
}

// Another window taking the mouse in the middle of a drag ends it: the form stays where it was and the next
// drag starts as usual.
TEST_F(BorderDrag, ADragWhoseCaptureIsTakenAwayEndsWithoutMovingTheForm) {
    TForm* other = NewSkinnedForm(bsSizeable, {biSystemMenu}, 120, 80, 600, 500);
    const TPoint from = ScreenOf(Wnd, P->FormWidth() / 2, P->CaptionHeight() / 2 + 2);
    Display->AdvanceTimeMs(1000);
    Display->MoveMouse(from.x, from.y);
    Display->ButtonDown(user::MouseButton::Left, from.x, from.y);
    Pump();
    Display->MoveMouse(from.x + 20, from.y + 10);
    Pump();
    ASSERT_TRUE(TsSkinProvider::InOutlineDrag());
    user::SetCapture(other->WindowHandle());
    Pump();
    Display->ButtonUp(user::MouseButton::Left, from.x + 20, from.y + 10);
    Pump();
    user::ReleaseCapture();
    Pump();
    ASSERT_FALSE(TsSkinProvider::InOutlineDrag());
    EXPECT_EQ(Wnd->BoundsRect(), Start);
    DragFrom(P->FormWidth() / 2, P->CaptionHeight() / 2 + 2, {{30, 20}});
    EXPECT_EQ(Wnd->BoundsRect(), Moved(30, 20));
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

// The provider answers for the desktop's work area; the window layer moves that to the form's own monitor.
TEST_F(MaximizedBounds, AFormOnAnotherMonitorMaximizesOverThatMonitorsWorkArea) {
    UseSkin(0);
    const user::RECT left {-1280, 0, 0, 1024};
    const user::RECT leftWork {-1280, 30, 0, 1024};
    Display->SetMonitors({user::MonitorArea {left, leftWork}});
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSkinProvider* p = ProviderOf(form);
    user::MINMAXINFO answered {};
    TWndMethod old = form->WindowProc;
    form->WindowProc = [old, &answered](TMessage& m) {
        old(m);
        if (m.Msg == user::WM_GETMINMAXINFO) answered = *reinterpret_cast<user::MINMAXINFO*>(m.LParam);
    };
    form->SetBounds(-900, 200, form->Width(), form->Height());
    Pump();
    user::RECT desktop {};
    user::SystemParametersInfo(user::SPI_GETWORKAREA, 0, &desktop);
    const int f = p->SysBorderWidth();
    const int g = p->SysBorderHeight();
    user::SendMessage(form->WindowHandle(), user::WM_SYSCOMMAND, user::SC_MAXIMIZE, 0);
    Pump();
    EXPECT_EQ(answered.ptMaxPosition, (user::POINT {desktop.left - f, desktop.top - g}));
    EXPECT_EQ(answered.ptMaxTrackSize, (user::POINT {desktop.Width() + 2 * f, desktop.Height() + 2 * g}));
    EXPECT_EQ(form->BoundsRect(),
        (TRect {leftWork.left - f, leftWork.top - g, leftWork.right + f, leftWork.bottom + g}));
    form->WindowProc = old;
    form->Release();
    Pump();
    Display->SetMonitors({});
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

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

// During an outline drag a release ends it unless a caption button takes it: the title icon's release ends
// it, a release the maximized child's buttons take does not; each release's hit code is used up.
TEST_F(BorderDrag, ATitleIconsReleaseEndsTheDragAndAButtonsDoesNot) {
    const TPoint at = ScreenOf(Wnd, P->FormWidth() / 2, P->CaptionHeight() / 2 + 2);
    user::SendMessage(Wnd->WindowHandle(), user::WM_NCLBUTTONDOWN, htCaption, user::MAKELPARAM(at.x, at.y));
    ASSERT_TRUE(TsSkinProvider::InOutlineDrag());
    TMessage onButton {user::WM_NCLBUTTONUP, WPARAM(htMdiClose), user::MAKELPARAM(at.x, at.y), 0};
    Wnd->WindowProc(onButton);
    EXPECT_TRUE(TsSkinProvider::InOutlineDrag());
    EXPECT_EQ(onButton.WParam, 0u);
    TMessage onIcon {user::WM_NCLBUTTONUP, WPARAM(htTitleIcon), user::MAKELPARAM(at.x, at.y), 0};
    Wnd->WindowProc(onIcon);
    EXPECT_FALSE(TsSkinProvider::InOutlineDrag());
    EXPECT_EQ(onIcon.WParam, 0u);
    Pump();
    EXPECT_EQ(Wnd->BoundsRect(), Start);
}

// A double click on the caption during a drag ends the drag and then acts as a double click: it maximizes.
TEST_F(BorderDrag, ADoubleClickOnTheCaptionEndsTheDragAndMaximizes) {
    const TPoint at = ScreenOf(Wnd, P->FormWidth() / 2, P->CaptionHeight() / 2 + 2);
    user::SendMessage(Wnd->WindowHandle(), user::WM_NCLBUTTONDOWN, htCaption, user::MAKELPARAM(at.x, at.y));
    ASSERT_TRUE(TsSkinProvider::InOutlineDrag());
    user::SendMessage(Wnd->WindowHandle(), user::WM_NCLBUTTONDBLCLK, htCaption, user::MAKELPARAM(at.x, at.y));
    Pump();
    EXPECT_FALSE(TsSkinProvider::InOutlineDrag());
    EXPECT_TRUE(user::IsZoomed(Wnd->WindowHandle()));
    EXPECT_EQ(SystemLoops, 0);
}

}
}
