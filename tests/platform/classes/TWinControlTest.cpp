// Windowed controls: the window on demand, native classes, reflection of child notifications, painting, focus.
#include "support/ControlsTestKit.h"

#include "platform/classes/Errors.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Focus.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <cstdlib>
#include <limits>
#include <stdexcept>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class WinControlTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 300, 200);
    }
    TBoxPanel* AddPanel(TWinControl* parent, int x, int y, int w, int h, TColor color) {
        auto* panel = Create<TBoxPanel>(Form);
        panel->SetBounds(x, y, w, h);
        panel->SetColor(color);
        panel->SetParent(parent);
        return panel;
    }
    TForm* Form = nullptr;
};

constexpr UINT NativeAnswer = user::WM_USER + 40;

user::LRESULT NativeProc(user::HWND hwnd, UINT msg, user::WPARAM wParam, user::LPARAM lParam) {
    if (msg == NativeAnswer) return 1234;
    return user::DefWindowProc(hwnd, msg, wParam, lParam);
}

// A control on a native window class.
class TNativeBox : public TWinControl {
public:
    using TWinControl::TWinControl;

protected:
    void CreateParams(TCreateParams& params) override {
        TWinControl::CreateParams(params);
        CreateSubClass(params, "KORVEXNATIVE");
    }
};

}

TEST_F(WinControlTest, TheWindowIsMadeWhenFirstNeededWithTheClassNameAndStyles) {
    auto* panel = Create<TBoxPanel>(Form);
    panel->SetBounds(5, 6, 70, 40);
    panel->SetTabStop(true);
    EXPECT_FALSE(panel->HandleAllocated());
    panel->SetParent(Form);   // shown on a showing parent: made now
    ASSERT_TRUE(panel->HandleAllocated());
    user::HWND hwnd = panel->Handle();
    EXPECT_EQ(user::GetClassName(hwnd), "TBoxPanel");
    user::DWORD style = user::GetWindowStyle(hwnd);
    EXPECT_TRUE(style & user::WS_CHILD);
    EXPECT_TRUE(style & user::WS_TABSTOP);
    EXPECT_TRUE(style & user::WS_CLIPCHILDREN);   // accepts controls
    EXPECT_EQ(user::GetParent(hwnd), Form->Handle());
    EXPECT_EQ(TWinControl::FindControl(hwnd), panel);
    EXPECT_EQ(user::WindowRect(hwnd).left, Form->ClientOrigin().x + 5);
    EXPECT_NE(user::GetDlgCtrlID(hwnd), 0);
}

TEST_F(WinControlTest, BoundsNearTheIntegerLimitsStayInTheCoordinateRange) {
    constexpr int Max = std::numeric_limits<int>::max();
    constexpr int Min = std::numeric_limits<int>::min();
    const TRect cases[] = {Rect(Max, Max, Max, Max), Rect(Min, Min, Max, Max), Rect(Max - 10, 0, 100, 100)};
    for (const TRect& c : cases) {   // left, top, width, height
        auto* panel = Create<TBoxPanel>(Form);
        panel->SetBounds(c.left, c.top, c.right, c.bottom);
        panel->SetParent(Form);
        ASSERT_TRUE(panel->HandleAllocated());
        const TRect bounds = panel->BoundsRect();
        EXPECT_LE(std::abs(bounds.left), gdi::MaxCoord);
        EXPECT_LE(std::abs(bounds.right), gdi::MaxCoord);
        EXPECT_LE(bounds.left, bounds.right);
        const TRect window = user::WindowRect(panel->Handle());
        EXPECT_EQ(window.right - window.left, bounds.right - bounds.left);
        Pump();
        panel->Free();
    }
    for (TAlign align : {alTop, alBottom, alLeft, alRight})
        for (int i = 0; i < 20; ++i) {   // strips far beyond the client area, taken in turn
            auto* strip = AddPanel(Form, 0, 0, Max, Max, clRed);
            strip->SetAlign(align);
        }
    auto* floating = AddPanel(Form, Max, Max, 10, 10, clBlue);
    floating->SetAnchors(TAnchors {});   // keeps its place in proportion to the parent's size
    Form->SetBounds(Form->Left(), Form->Top(), Max, Max);
    Pump();
    EXPECT_LE(std::abs(floating->Left()), gdi::MaxCoord);
    auto* top = Create<TForm>(Application);
    top->SetBounds(Max, Max, Max, Max);
    top->Show();
    Pump();
    EXPECT_LE(top->Left() + top->Width(), 2 * gdi::MaxCoord);
    top->SetClientWidth(Max);
    top->SetClientHeight(Min);
    EXPECT_LE(top->Width(), gdi::MaxCoord);
    EXPECT_GE(top->Height(), -gdi::MaxCoord);
    top->Free();
}

TEST_F(WinControlTest, AHiddenControlGetsNoWindowUntilSomethingNeedsIt) {
    auto* panel = Create<TBoxPanel>(Form);
    panel->SetVisible(false);
    panel->SetParent(Form);
    EXPECT_FALSE(panel->HandleAllocated());
    EXPECT_NE(panel->Handle(), nullptr);
    EXPECT_FALSE(user::IsWindowVisible(panel->Handle()));
    panel->SetVisible(true);
    EXPECT_TRUE(user::IsWindowVisible(panel->Handle()));
}

TEST_F(WinControlTest, RecreatingTheWindowKeepsTextChildrenAndPosition) {
    auto* panel = AddPanel(Form, 10, 10, 100, 60, clRed);
    auto* child = AddPanel(panel, 5, 5, 20, 20, clBlue);
    panel->SetCaption("Узел");
    user::HWND before = panel->Handle();
    user::HWND childBefore = child->Handle();
    panel->RecreateWnd();
    Pump();
    EXPECT_TRUE(panel->HandleAllocated());
    EXPECT_NE(panel->WindowHandle(), before);
    EXPECT_FALSE(user::IsWindow(before));
    EXPECT_FALSE(user::IsWindow(childBefore));
    EXPECT_TRUE(child->HandleAllocated());
    EXPECT_EQ(user::GetParent(child->WindowHandle()), panel->WindowHandle());
    EXPECT_EQ(panel->Caption(), "Узел");
    EXPECT_EQ(panel->BoundsRect(), Rect(10, 10, 110, 70));
}

TEST_F(WinControlTest, ANativeClassProcedureBecomesTheDefaultHandler) {
    user::WNDCLASSEX wc;
    wc.lpfnWndProc = NativeProc;
    wc.lpszClassName = "KORVEXNATIVE";
    user::RegisterClassEx(&wc);
    auto* box = Create<TNativeBox>(Form);
    box->SetParent(Form);
    EXPECT_EQ(box->DefWndProc(), &NativeProc);
    EXPECT_EQ(box->Perform(NativeAnswer, 0, 0), 1234);
    EXPECT_EQ(user::SendMessage(box->Handle(), NativeAnswer, 0, 0), 1234);
}

TEST_F(WinControlTest, WmCommandFromAChildWindowComesBackToItsControlAsCnCommand) {
    auto* parent = AddPanel(Form, 0, 0, 200, 100, clWhite);
    auto* child = AddPanel(parent, 10, 10, 50, 20, clWhite);
    child->CommandAnswer = 77;
    user::WPARAM wParam = user::MAKEWPARAM(user::GetDlgCtrlID(child->Handle()), 5);
    user::LRESULT result = user::SendMessage(
        parent->Handle(), user::WM_COMMAND, wParam, reinterpret_cast<user::LPARAM>(child->Handle()));
    EXPECT_EQ(result, 77);
    ASSERT_EQ(child->Log.Count(CN_COMMAND), 1);
    for (const TMessage& m : child->Log.Messages)
        if (m.Msg == CN_COMMAND) {
            EXPECT_EQ(m.WParam, wParam);
            EXPECT_EQ(m.LParam, reinterpret_cast<user::LPARAM>(child->Handle()));
        }
    EXPECT_EQ(parent->Log.Count(CN_COMMAND), 0);
}

TEST_F(WinControlTest, NotificationsOfOtherWindowsAreNotReflected) {
    auto* parent = AddPanel(Form, 0, 0, 200, 100, clWhite);
    user::SendMessage(parent->Handle(), user::WM_COMMAND, 1, reinterpret_cast<user::LPARAM>(Form->Handle()));
    user::SendMessage(parent->Handle(), user::WM_COMMAND, 1, 0);
    EXPECT_EQ(parent->Log.Count(CN_COMMAND), 0);
    EXPECT_EQ(Form->Perform(user::WM_NOTIFY, 999999, 0), 0);
}

TEST_F(WinControlTest, ScrollNotifyAndDrawItemAreReflectedByHandleOrId) {
    auto* parent = AddPanel(Form, 0, 0, 200, 100, clWhite);
    auto* child = AddPanel(parent, 10, 10, 50, 20, clWhite);
    auto id = static_cast<user::WPARAM>(user::GetDlgCtrlID(child->Handle()));
    auto childLong = reinterpret_cast<user::LPARAM>(child->Handle());
    user::SendMessage(parent->Handle(), user::WM_HSCROLL, user::SB_LINEDOWN, childLong);
    user::SendMessage(parent->Handle(), user::WM_VSCROLL, user::SB_LINEDOWN, childLong);
    user::SendMessage(parent->Handle(), user::WM_NOTIFY, id, 0);
    user::SendMessage(parent->Handle(), user::WM_DRAWITEM, id, 0);
    user::SendMessage(parent->Handle(), user::WM_MEASUREITEM, id, 0);
    EXPECT_EQ(child->Log.Only({CN_HSCROLL, CN_VSCROLL, CN_NOTIFY, CN_DRAWITEM, CN_MEASUREITEM}),
        std::vector<UINT>({CN_HSCROLL, CN_VSCROLL, CN_NOTIFY, CN_DRAWITEM, CN_MEASUREITEM}));
}

TEST_F(WinControlTest, CtlColorIsAnsweredByTheChildWithItsColourBrush) {
    auto* parent = AddPanel(Form, 0, 0, 200, 100, clWhite);
    auto* child = AddPanel(parent, 10, 10, 50, 20, clRed);
    child->Font()->SetColor(clBlue);
    user::HDC dc = user::GetDC(child->Handle());
    user::LRESULT brush = user::SendMessage(parent->Handle(), user::WM_CTLCOLORSTATIC,
        reinterpret_cast<user::WPARAM>(dc), reinterpret_cast<user::LPARAM>(child->Handle()));
    EXPECT_EQ(child->Log.Count(CN_CTLCOLORSTATIC), 1);
    ASSERT_NE(brush, 0);
    gdi::LOGBRUSH lb;
    ASSERT_TRUE(gdi::GetObject(reinterpret_cast<gdi::HBRUSH>(brush), &lb));
    EXPECT_EQ(lb.lbColor, gdi::RGB(0xFF, 0, 0));
    EXPECT_EQ(gdi::GetTextColor(dc), gdi::RGB(0, 0, 0xFF));
    user::ReleaseDC(child->Handle(), dc);
}

TEST_F(WinControlTest, WindowlessChildrenArePaintedInsideTheirBoundsOverTheParent) {
    auto* panel = AddPanel(Form, 0, 0, 200, 100, clWhite);
    auto* label = Create<TTextLabel>(Form);
    label->SetBounds(20, 20, 30, 10);
    label->SetColor(clRed);
    label->SetParent(panel);
    auto* wide = Create<TTextLabel>(Form);   // paints wider than it is: cut at its bounds
    wide->SetBounds(60, 20, 10, 10);
    wide->SetColor(clBlue);
    wide->SetParent(panel);
    wide->OnMouseDown = nullptr;
    Pump();
    EXPECT_EQ(PixelAt(panel, 20, 20), gdi::RGB(0xFF, 0, 0));
    EXPECT_EQ(PixelAt(panel, 49, 29), gdi::RGB(0xFF, 0, 0));
    EXPECT_EQ(PixelAt(panel, 50, 29), gdi::RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(PixelAt(panel, 19, 20), gdi::RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(PixelAt(panel, 65, 25), gdi::RGB(0, 0, 0xFF));
    label->SetColor(clLime);
    Pump();
    EXPECT_EQ(PixelAt(panel, 30, 25), gdi::RGB(0, 0xFF, 0));
    label->SetVisible(false);
    Pump();
    EXPECT_EQ(PixelAt(panel, 30, 25), gdi::RGB(0xFF, 0xFF, 0xFF));
}

TEST_F(WinControlTest, TheBackgroundIsErasedInTheControlsColour) {
    auto* plain = Create<TWinControl>(Form);
    plain->SetBounds(10, 10, 40, 40);
    plain->SetColor(clYellow);
    plain->SetParent(Form);
    Pump();
    EXPECT_EQ(PixelAt(plain, 20, 20), gdi::RGB(0xFF, 0xFF, 0));
}

TEST_F(WinControlTest, DoubleBufferedPaintingGivesTheSamePicture) {
    auto* panel = AddPanel(Form, 0, 0, 200, 100, clWhite);
    panel->SetDoubleBuffered(true);
    auto* label = Create<TTextLabel>(Form);
    label->SetBounds(20, 20, 30, 10);
    label->SetColor(clRed);
    label->SetParent(panel);
    panel->Invalidate();
    Pump();
    EXPECT_EQ(PixelAt(panel, 25, 25), gdi::RGB(0xFF, 0, 0));
    EXPECT_EQ(PixelAt(panel, 100, 50), gdi::RGB(0xFF, 0xFF, 0xFF));
}

TEST_F(WinControlTest, AnExceptionInAHandlerGoesToTheApplicationAndTheWindowGoesOn) {
    auto* panel = AddPanel(Form, 0, 0, 100, 50, clWhite);
    panel->OnClick = [](TObject*) { throw std::runtime_error("handler failed"); };
    TPoint p = At(panel, 5, 5);
    Display->Click(p.x, p.y);
    Pump();
    Advance(1000);   // no double click
    Display->Click(p.x, p.y);
    Pump();
    EXPECT_EQ(Exceptions, std::vector<std::string>({"handler failed", "handler failed"}));
}

// ---------------------------------------------------------------------------------------------------------
// Focus and tab order

TEST_F(WinControlTest, MovingTheFocusSendsExitEnterAndFocusChanged) {
    auto* group = AddPanel(Form, 0, 0, 200, 100, clWhite);
    auto* a = AddPanel(group, 0, 0, 20, 20, clWhite);
    auto* b = AddPanel(Form, 0, 120, 20, 20, clWhite);
    std::vector<std::string> seen;
    auto watch = [&](TBoxPanel* p, const char* name) {
        p->OnEnter = [&seen, name](TObject*) { seen.push_back(std::string("enter ") + name); };
        p->OnExit = [&seen, name](TObject*) { seen.push_back(std::string("exit ") + name); };
    };
    watch(group, "group");
    watch(a, "a");
    watch(b, "b");
    a->SetFocus();
    Pump();
    EXPECT_TRUE(a->Focused());
    EXPECT_EQ(Form->ActiveControl(), a);
    EXPECT_EQ(Screen->ActiveControl(), a);
    b->SetFocus();
    Pump();
    EXPECT_EQ(seen, std::vector<std::string>({"enter group", "enter a", "exit a", "exit group", "enter b"}));
    // Every control of the form hears of each move, with the control given the focus.
    std::vector<user::LPARAM> changes;
    for (const TMessage& m : a->Log.Messages)
        if (m.Msg == CM_FOCUSCHANGED) changes.push_back(m.LParam);
    EXPECT_EQ(
        changes, std::vector<user::LPARAM>({reinterpret_cast<user::LPARAM>(a), reinterpret_cast<user::LPARAM>(b)}));
}

TEST_F(WinControlTest, TabMovesTheFocusInTabOrderSkippingWhatCannotTakeIt) {
    auto* a = AddPanel(Form, 0, 0, 20, 20, clWhite);
    auto* b = AddPanel(Form, 30, 0, 20, 20, clWhite);
    auto* c = AddPanel(Form, 60, 0, 20, 20, clWhite);
    auto* d = AddPanel(Form, 90, 0, 20, 20, clWhite);
    for (TBoxPanel* p : {a, b, c, d})
        p->SetTabStop(true);
    c->SetTabOrder(0);   // c, a, b, d
    b->SetEnabled(false);
    c->SetFocus();
    Pump();
    std::vector<TWinControl*> order;
    for (int i = 0; i < 4; ++i) {
        Display->Press(user::VK_TAB);
        Pump();
        order.push_back(Screen->ActiveControl());
    }
    EXPECT_EQ(order, std::vector<TWinControl*>({a, d, c, a}));
    Display->Press(user::VK_TAB, "", user::ModShift);
    Pump();
    EXPECT_EQ(Screen->ActiveControl(), c);
}

TEST_F(WinControlTest, SetFocusOnAControlThatCannotTakeItRaises) {
    auto* a = AddPanel(Form, 0, 0, 20, 20, clWhite);
    a->SetVisible(false);
    EXPECT_FALSE(a->CanFocus());
    EXPECT_THROW(a->SetFocus(), EInvalidOperation);
}

TEST_F(WinControlTest, TheParentFreesItsChildrenAndTheFormForgetsTheFocusedOne) {
    auto* group = AddPanel(Form, 0, 0, 200, 100, clWhite);
    auto* a = AddPanel(group, 0, 0, 20, 20, clWhite);
    auto* label = Create<TTextLabel>(Form);
    label->SetParent(group);
    a->SetFocus();
    Pump();
    int before = Form->ComponentCount();
    group->Free();
    EXPECT_EQ(Form->ComponentCount(), before - 3);
    EXPECT_EQ(Form->ActiveControl(), nullptr);
    EXPECT_NE(Screen->ActiveControl(), a);
    EXPECT_EQ(Form->ControlCount(), 0);
}

TEST_F(WinControlTest, ControlsListsWindowlessChildrenFirst) {
    auto* a = AddPanel(Form, 0, 0, 20, 20, clWhite);
    auto* label = Create<TTextLabel>(Form);
    label->SetParent(Form);
    ASSERT_EQ(Form->ControlCount(), 2);
    EXPECT_EQ(Form->Controls(0), label);
    EXPECT_EQ(Form->Controls(1), a);
    EXPECT_THROW(Form->Controls(2), EListError);
    EXPECT_EQ(Form->ControlAtPos(Point(5, 5), false, true), a);
}
