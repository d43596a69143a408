// The control under the mouse over non-client areas: frames, captions, scroll bars and edges of windows.
#include "support/ControlsTestKit.h"

#include "platform/classes/TEdit.h"
#include "platform/classes/TMemo.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <optional>
#include <string>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class MouseAreaTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 300, 200);
        Memo = Create<TMemo>(Form);
        Memo->SetBounds(10, 10, 120, 80);
        Memo->SetScrollBars(ssVertical);
        Memo->SetParent(Form);
        Edit = Create<TEdit>(Form);
        Edit->SetBounds(10, 120, 120, 24);
        Edit->SetParent(Form);
        Panel = Create<TBoxPanel>(Form);
        Panel->SetBounds(160, 10, 100, 100);
        Panel->SetParent(Form);
        EXPECT_TRUE(Pump());
        for (TControl* c : std::vector<TControl*> {Form, Memo, Edit, Panel})
            Watch(c);
    }

    // Records CM_MOUSEENTER and CM_MOUSELEAVE that reach a control itself (not those passed up from children).
    void Watch(TControl* control) {
        TWndMethod old = control->WindowProc;
        std::string name = control->ClassName();
        control->WindowProc = [this, old, name](TMessage& m) {
            if ((m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) && m.LParam == 0)
                Seen.push_back(name + (m.Msg == CM_MOUSEENTER ? " enter" : " leave"));
            old(m);
        };
    }

    // A screen point of a window where its hit test answers code: searched along the middle row and column.
    static std::optional<TPoint> PointWithHit(user::HWND hwnd, user::LRESULT code) {
        user::RECT r;
        user::GetWindowRect(hwnd, &r);
        auto hitAt = [&](int x, int y) {
            return user::SendMessage(hwnd, user::WM_NCHITTEST, 0, user::MAKELPARAM(x, y)) == code;
        };
        int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
        for (int y = r.top; y < r.bottom; ++y)
            if (hitAt(midX, y)) return TPoint {midX, y};
        for (int x = r.left; x < r.right; ++x)
            if (hitAt(x, midY)) return TPoint {x, midY};
        return std::nullopt;
    }

    void MoveTo(TPoint p) { Display->MoveMouse(p.x, p.y); }

    TForm* Form = nullptr;
    TMemo* Memo = nullptr;
    TEdit* Edit = nullptr;
    TBoxPanel* Panel = nullptr;
    std::vector<std::string> Seen;
};

struct NonClientArea {
    const char* Name;
    int Window;   // 0 form, 1 memo, 2 edit
    user::LRESULT Hit;
};

void PrintTo(const NonClientArea& area, std::ostream* out) {
    *out << area.Name;
}

class NonClientHover : public MouseAreaTest, public ::testing::WithParamInterface<NonClientArea> {
protected:
    TWinControl* Target() const {
        switch (GetParam().Window) {
        case 1:
            return Memo;
        case 2:
            return Edit;
        default:
            return Form;
        }
    }
};

}

// Resting the pointer on a frame once made the leave tracking ask for itself again at every message, so the
// loop never came back to input.
TEST_P(NonClientHover, RestingThePointerThereLetsTheLoopSettle) {
    TWinControl* target = Target();
    std::optional<TPoint> spot = PointWithHit(target->Handle(), GetParam().Hit);
    ASSERT_TRUE(spot) << GetParam().Name;
    MoveTo(At(Panel, 50, 50));
    EXPECT_TRUE(Pump());
    MoveTo(*spot);
    EXPECT_TRUE(Pump()) << GetParam().Name;
    EXPECT_TRUE(Pump()) << GetParam().Name;   // resting there
    EXPECT_EQ(Application->MouseControl(), target);
    // Leaving the frame for the desktop leaves the control.
    Seen.clear();
    MoveTo(TPoint {5, 5});
    EXPECT_TRUE(Pump());
    EXPECT_EQ(Application->MouseControl(), nullptr);
    std::string leave = std::string(target->ClassName()) + " leave";
    EXPECT_NE(std::find(Seen.begin(), Seen.end(), leave), Seen.end()) << GetParam().Name;
}

INSTANTIATE_TEST_SUITE_P(Areas, NonClientHover,
    ::testing::Values(NonClientArea {"caption", 0, user::HTCAPTION}, NonClientArea {"frame", 0, user::HTLEFT},
        NonClientArea {"memo scroll bar", 1, user::HTVSCROLL}, NonClientArea {"edit edge", 2, user::HTBORDER}),
    [](const auto& info) {
        std::string name = info.param.Name;
        for (char& c : name)
            if (c == ' ') c = '_';
        return name;
    });

TEST_F(MouseAreaTest, TheFormIsEnteredOnItsCaptionAndLeftWhenThePointerLeavesTheFrame) {
    std::optional<TPoint> caption = PointWithHit(Form->Handle(), user::HTCAPTION);
    ASSERT_TRUE(caption);
    MoveTo(TPoint {5, 5});
    EXPECT_TRUE(Pump());
    Seen.clear();
    MoveTo(*caption);
    EXPECT_TRUE(Pump());
    EXPECT_EQ(Seen, std::vector<std::string>({"TForm enter"}));
    MoveTo(TPoint {caption->x + 3, caption->y});   // along the caption: nothing new
    EXPECT_TRUE(Pump());
    MoveTo(TPoint {5, 5});
    EXPECT_TRUE(Pump());
    EXPECT_EQ(Seen, std::vector<std::string>({"TForm enter", "TForm leave"}));
}

TEST_F(MouseAreaTest, MovingBetweenTheClientAreaAndTheFrameOfOneControlKeepsItUnderTheMouse) {
    std::optional<TPoint> bar = PointWithHit(Memo->Handle(), user::HTVSCROLL);
    ASSERT_TRUE(bar);
    MoveTo(At(Memo, 20, 20));
    EXPECT_TRUE(Pump());
    EXPECT_EQ(Application->MouseControl(), Memo);
    Seen.clear();
    MoveTo(*bar);
    EXPECT_TRUE(Pump());
    MoveTo(At(Memo, 20, 20));
    EXPECT_TRUE(Pump());
    EXPECT_TRUE(Seen.empty()) << Seen.front();
    EXPECT_EQ(Application->MouseControl(), Memo);
    // And from the scroll bar straight onto the panel.
    MoveTo(*bar);
    EXPECT_TRUE(Pump());
    MoveTo(At(Panel, 10, 10));
    EXPECT_TRUE(Pump());
    EXPECT_EQ(Seen, std::vector<std::string>({"TMemo leave", "TBoxPanel enter"}));
}

// The window under the pointer is a native child with no control of its own: the control that holds it is
// under the mouse, and its leave tracking, which cannot hold while the pointer is on the child, is not asked
// for again and again.
TEST_F(MouseAreaTest, ANativeChildWithoutAControlCountsAsItsParentWithoutAMessageCycle) {
    user::HWND native = user::CreateWindowEx(0, "BUTTON", "native", user::WS_CHILD | user::WS_VISIBLE, 10, 10, 60, 30,
        Panel->Handle(), user::ChildId(7), nullptr, nullptr);
    ASSERT_NE(native, nullptr);
    MoveTo(At(Panel, 80, 80));
    EXPECT_TRUE(Pump());
    MoveTo(At(Panel, 20, 20));
    EXPECT_TRUE(Pump());
    EXPECT_TRUE(Pump());
    EXPECT_EQ(Application->MouseControl(), Panel);
    MoveTo(At(Panel, 80, 80));
    EXPECT_TRUE(Pump());
    EXPECT_EQ(Application->MouseControl(), Panel);
}
