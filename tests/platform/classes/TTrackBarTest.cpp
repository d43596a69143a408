// TTrackBar and TProgressBar: positions within the range, OnChange on the user's moves, settings on the window.
#include "support/ControlsTestKit.h"

#include "platform/classes/TProgressBar.h"
#include "platform/classes/TTrackBar.h"
#include "platform/user/Focus.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ProgressBar.h"
#include "platform/user/controls/TrackBar.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class TrackBarTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 300, 200);
        Track = Create<TTrackBar>(Form);
        Track->SetBounds(10, 10, 200, 45);
        Track->SetParent(Form);
        Track->SetMax(5);
        Track->SetPageSize(1);
        Track->SetThumbLength(15);
        Track->OnChange = [this](TObject*) { Changes.push_back(Track->Position()); };
        Pump();
    }

    TForm* Form = nullptr;
    TTrackBar* Track = nullptr;
    std::vector<int> Changes;
};

TEST_F(TrackBarTest, KeysMoveThePositionAndFireOnChangeOncePerChange) {
    user::SetFocus(Track->Handle());
    Display->Press(user::VK_RIGHT);
    Pump();
    EXPECT_EQ(Track->Position(), 1);
    Display->Press(user::VK_END);
    Display->Press(user::VK_RIGHT);   // already at Max: no change
    Pump();
    EXPECT_EQ(Changes, (std::vector<int> {1, 5}));
}

TEST_F(TrackBarTest, DraggingTheThumbFiresOnChangeAsItMoves) {
    user::RECT thumb {};
    user::SendMessage(Track->Handle(), user::TBM_GETTHUMBRECT, 0, reinterpret_cast<user::LPARAM>(&thumb));
    TPoint p = At(Track, thumb.left + 3, (thumb.top + thumb.bottom) / 2);
    Display->MoveMouse(p.x, p.y);
    Display->ButtonDown(user::MouseButton::Left, p.x, p.y);
    Pump();   // the press takes the capture before the pointer moves away
    Display->MoveMouse(p.x + 200, p.y);
    Display->ButtonUp(user::MouseButton::Left, p.x + 200, p.y);
    Pump();
    EXPECT_EQ(Track->Position(), 5);
    EXPECT_EQ(Changes, std::vector<int> {5});
}

TEST_F(TrackBarTest, SettingThePositionInCodeIsQuietAndClamped) {
    Track->SetPosition(3);
    EXPECT_EQ(Track->Position(), 3);
    Track->SetPosition(99);
    EXPECT_EQ(Track->Position(), 5);
    EXPECT_TRUE(Changes.empty());
}

TEST_F(TrackBarTest, SettingsReachTheNativeBar) {
    user::HWND h = Track->Handle();
    EXPECT_EQ(user::SendMessage(h, user::TBM_GETRANGEMAX, 0, 0), 5);
    EXPECT_EQ(user::SendMessage(h, user::TBM_GETPAGESIZE, 0, 0), 1);
    EXPECT_EQ(user::SendMessage(h, user::TBM_GETTHUMBLENGTH, 0, 0), 15);
    EXPECT_EQ(user::SendMessage(h, user::TBM_GETNUMTICS, 0, 0), 6);
    Track->SetTickStyle(tsNone);
    EXPECT_EQ(user::SendMessage(Track->Handle(), user::TBM_GETNUMTICS, 0, 0), 0);
    Track->SetTickMarks(tmBoth);
    EXPECT_NE(user::GetWindowStyle(Track->Handle()) & user::TBS_BOTH, 0u);
    Track->SetOrientation(trVertical);
    EXPECT_EQ(Track->Width(), 45);
    EXPECT_NE(user::GetWindowStyle(Track->Handle()) & user::TBS_VERT, 0u);
    EXPECT_EQ(user::SendMessage(Track->Handle(), user::TBM_GETRANGEMAX, 0, 0), 5);
}

TEST(ProgressBarWithoutWindow, StepItStartsOverPastMax) {
    TProgressBar bar(nullptr);
    bar.SetMax(20);
    bar.SetStep(15);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 15);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 9);
    bar.SetPosition(-5);
    EXPECT_EQ(bar.Position(), 0);
    bar.StepBy(100);
    EXPECT_EQ(bar.Position(), 20);
}

class ProgressBarTest : public ControlsTest { };

TEST_F(ProgressBarTest, SettingsReachTheNativeBar) {
    TForm* form = NewForm();
    auto* bar = Create<TProgressBar>(form);
    bar->SetMin(10);
    bar->SetMax(110);
    bar->SetPosition(60);
    bar->SetSmooth(true);
    bar->SetBarColor(clRed);
    bar->SetParent(form);
    user::HWND h = bar->Handle();
    EXPECT_EQ(user::SendMessage(h, user::PBM_GETPOS, 0, 0), 60);
    EXPECT_EQ(user::SendMessage(h, user::PBM_GETRANGE, 1, 0), 10);
    EXPECT_NE(user::GetWindowStyle(h) & user::PBS_SMOOTH, 0u);
    EXPECT_EQ(user::SendMessage(h, user::PBM_GETBARCOLOR, 0, 0), user::LRESULT(gdi::RGB(255, 0, 0)));
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 70);
    bar->SetOrientation(pbVertical);
    EXPECT_NE(user::GetWindowStyle(bar->Handle()) & user::PBS_VERTICAL, 0u);
    EXPECT_EQ(bar->Position(), 70);
}

}
