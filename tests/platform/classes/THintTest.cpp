// Tests for the hint window and the application's hint timing on the fake clock.
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/THintWindow.h"
#include "platform/user/WinPos.h"
#include "support/ControlsTestKit.h"

namespace korvex::classes {
namespace {

using namespace ctltest;

class HintTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm();
        Panel = new TBoxPanel(Form);
        Panel->SetParent(Form);
        Panel->SetBounds(10, 10, 120, 80);
        Panel->SetHint("Refresh|Reads every client again");
        Panel->SetShowHint(true);
        Plain = new TBoxPanel(Form);
        Plain->SetParent(Form);
        Plain->SetBounds(150, 10, 100, 80);
        Pump();
    }
    void TearDown() override {
        HintWindowClass = nullptr;
        ControlsTest::TearDown();
    }
    void MoveTo(TControl* control, int x, int y) {
        const TPoint p = At(control, x, y);
        Display->MoveMouse(p.x, p.y);
        Pump();
    }
    bool Showing() const {
        THintWindow* hint = ApplicationHintWindow();
        return hint != nullptr && hint->IsHintShowing();
    }

    TForm* Form = nullptr;
    TBoxPanel* Panel = nullptr;
    TBoxPanel* Plain = nullptr;
};

TEST_F(HintTest, ShowsTheShortHintBelowThePointerAfterThePauseAndHidesAfterTheHidePause) {
    MoveTo(Panel, 30, 30);
    Advance(Application->HintPause() - 10);
    EXPECT_FALSE(Showing());
    Advance(20);
    ASSERT_TRUE(Showing());
    THintWindow* hint = ApplicationHintWindow();
    EXPECT_EQ(hint->Caption(), "Refresh");
    user::RECT r {};
    user::GetWindowRect(hint->Handle(), &r);
    const TPoint cursor = At(Panel, 30, 30);
    EXPECT_EQ(r.left, cursor.x);
    EXPECT_GT(r.top, cursor.y);
    EXPECT_EQ(hint->Color(), clInfoBk);
    Advance(Application->HintHidePause() - 10);
    EXPECT_TRUE(Showing());
    Advance(20);
    EXPECT_FALSE(Showing());
}

TEST_F(HintTest, AClickOrLeavingForAControlWithoutHintHidesIt) {
    MoveTo(Panel, 30, 30);
    Advance(Application->HintPause() + 10);
    ASSERT_TRUE(Showing());
    const TPoint p = At(Panel, 30, 30);
    Display->Click(p.x, p.y);
    Pump();
    EXPECT_FALSE(Showing());

    MoveTo(Panel, 40, 40);
    Advance(Application->HintPause() + 10);
    ASSERT_TRUE(Showing());
    MoveTo(Plain, 20, 20);
    EXPECT_FALSE(Showing());
    Advance(Application->HintPause() + 10);
    EXPECT_FALSE(Showing());
}

TEST_F(HintTest, NoHintWhenHintsAreOffForTheControlOrTheApplication) {
    Panel->SetShowHint(false);
    MoveTo(Panel, 30, 30);
    Advance(Application->HintPause() + 10);
    EXPECT_FALSE(Showing());
    Panel->SetShowHint(true);
    Application->SetShowHint(false);
    MoveTo(Plain, 20, 20);
    MoveTo(Panel, 30, 30);
    Advance(Application->HintPause() + 10);
    EXPECT_FALSE(Showing());
    Application->SetShowHint(true);
}

TEST_F(HintTest, OnShowHintChangesTextAndPositionOrStopsIt) {
    Application->OnShowHint = [](std::string& text, bool&, THintInfo& info) {
        text = "Changed";
        info.HintPos = Point(5, 6);
    };
    MoveTo(Panel, 30, 30);
    Advance(Application->HintPause() + 10);
    ASSERT_TRUE(Showing());
    EXPECT_EQ(ApplicationHintWindow()->Caption(), "Changed");
    user::RECT r {};
    user::GetWindowRect(ApplicationHintWindow()->Handle(), &r);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 6);
    Application->CancelHint();
    EXPECT_FALSE(Showing());

    Application->OnShowHint = [](std::string&, bool& canShow, THintInfo&) { canShow = false; };
    MoveTo(Plain, 20, 20);
    MoveTo(Panel, 30, 30);
    Advance(Application->HintPause() + 10);
    EXPECT_FALSE(Showing());
    Application->OnShowHint = nullptr;
}

// A panel that answers CM_HINTSHOW through Answer.
class THintAnswering : public TBoxPanel {
public:
    using TBoxPanel::TBoxPanel;
    std::function<LRESULT(THintInfo&)> Answer;
    int Asked = 0;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg != CM_HINTSHOW) return TBoxPanel::WndProc(m);
        ++Asked;
        m.Result = Answer(*reinterpret_cast<THintInfo*>(m.LParam));
    }
};

TEST_F(HintTest, TheControlIsAskedWithCMHintShowBeforeOnShowHintAndMayChangeOrCancelTheHint) {
    auto* tabs = new THintAnswering(Form);
    tabs->SetParent(Form);
    tabs->SetBounds(10, 100, 200, 60);
    tabs->SetHint("Pages");
    tabs->SetShowHint(true);
    // Two halves with a hint each, as a tab control gives each tab its own.
    tabs->Answer = [](THintInfo& info) -> LRESULT {
        const bool left = info.CursorPos.x < 100;
        info.CursorRect = left ? Rect(0, 0, 100, 60) : Rect(100, 0, 200, 60);
        info.HintStr = info.HintStr + (left ? " 1" : " 2");
        info.HintPos = Point(7, 8);
        return 0;
    };
    std::string shown;
    Application->OnShowHint = [&](std::string& text, bool&, THintInfo&) { shown = text; };
    MoveTo(tabs, 30, 20);
    Advance(Application->HintPause() + 10);
    ASSERT_TRUE(Showing());
    EXPECT_EQ(shown, "Pages 1");
    user::RECT r {};
    user::GetWindowRect(ApplicationHintWindow()->Handle(), &r);
    EXPECT_EQ(r.left, 7);
    MoveTo(tabs, 60, 30);   // within the rectangle: not asked again
    MoveTo(tabs, 150, 30);   // past it: asked anew
    Advance(Application->HintShortPause() + 10);
    EXPECT_EQ(tabs->Asked, 2);
    EXPECT_EQ(ApplicationHintWindow()->Caption(), "Pages 2");

    // A non-zero answer cancels the hint before OnShowHint.
    shown.clear();
    tabs->Answer = [](THintInfo&) -> LRESULT { return 1; };
    MoveTo(Plain, 20, 20);
    MoveTo(tabs, 30, 20);
    Advance(Application->HintPause() + 10);
    EXPECT_FALSE(Showing());
    EXPECT_EQ(shown, "");
    Application->OnShowHint = nullptr;
}

TEST_F(HintTest, AControlFreedByOnShowHintGetsNoHint) {
    auto* doomed = new TBoxPanel(Form);
    doomed->SetParent(Form);
    doomed->SetBounds(10, 100, 200, 60);
    doomed->SetHint("Gone");
    doomed->SetShowHint(true);
    Application->OnShowHint = [&doomed](std::string&, bool&, THintInfo&) {
        doomed->Free();
        doomed = nullptr;
    };
    MoveTo(doomed, 30, 20);
    Advance(Application->HintPause() + 10);
    EXPECT_EQ(doomed, nullptr);
    EXPECT_FALSE(Showing());
    Application->OnShowHint = nullptr;
}

class TMarkedHint : public THintWindow {
public:
    using THintWindow::THintWindow;
    static TClass StaticClass() {
        static const TClassInfo info = MakeClass<TMarkedHint, THintWindow>("TMarkedHint");
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }
    void ActivateHint(TRect rect, const std::string& text) override {
        ++Activations;
        THintWindow::ActivateHint(rect, text);
    }
    int Activations = 0;
};

TEST_F(HintTest, TheHintWindowClassIsReplaceable) {
    HintWindowClass = [](TComponent* owner) -> THintWindow* { return new TMarkedHint(owner); };
    MoveTo(Panel, 30, 30);
    Advance(Application->HintPause() + 10);
    ASSERT_TRUE(Showing());
    auto* marked = dynamic_cast<TMarkedHint*>(ApplicationHintWindow());
    ASSERT_NE(marked, nullptr);
    EXPECT_EQ(marked->Activations, 1);
}

TEST_F(HintTest, CalcHintRectWrapsAtTheMaximumWidth) {
    THintWindow hint(nullptr);
    const TRect one = hint.CalcHintRect(1000, "Short", nullptr);
    const TRect longer = hint.CalcHintRect(1000, "A much longer hint text", nullptr);
    const TRect wrapped = hint.CalcHintRect(60, "A much longer hint text", nullptr);
    EXPECT_GT(longer.right, one.right);
    EXPECT_LE(wrapped.right, 60 + 6);
    EXPECT_GT(wrapped.bottom, longer.bottom);
    EXPECT_EQ(GetShortHint("a|b"), "a");
    EXPECT_EQ(GetLongHint("a|b"), "b");
    EXPECT_EQ(GetShortHint("plain"), "plain");
    EXPECT_EQ(GetLongHint("plain"), "plain");
}

}
}
