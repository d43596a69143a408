// THeaderControl: sections in the native header, clicks, tracking within the section's limits, resizing.
#include "support/ControlsTestKit.h"

#include "platform/classes/THeaderControl.h"
#include "platform/user/Messages.h"
#include "platform/user/controls/Header.h"

#include <string>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class HeaderControlTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 400, 200);
        Header = Create<THeaderControl>(Form);
        Header->SetParent(Form);
        for (auto [text, width] : {std::pair {"Name", 120}, {"Size", 80}}) {
            THeaderSection* section = Header->Sections()->Add();
            section->SetText(text);
            section->SetWidth(width);
        }
        Header->Sections()->Items(0)->SetMinWidth(60);
        Header->Sections()->Items(0)->SetMaxWidth(150);
        Pump();
    }

    void Drag(int fromX, int toX) {
        const TPoint from = At(Header, fromX, 5), to = At(Header, toX, 5);
        Display->MoveMouse(from.x, from.y);
        Display->ButtonDown(user::MouseButton::Left, from.x, from.y);
        Pump();
        Display->MoveMouse(to.x, to.y);
        Pump();
        Display->ButtonUp(user::MouseButton::Left, to.x, to.y);
        Pump();
    }

    TForm* Form = nullptr;
    THeaderControl* Header = nullptr;
};

TEST_F(HeaderControlTest, SectionsReachTheNativeHeaderAtTheTop) {
    EXPECT_EQ(Header->Align(), alTop);
    EXPECT_EQ(user::SendMessage(Header->Handle(), user::HDM_GETITEMCOUNT, 0, 0), 2);
    user::RECT r {};
    user::SendMessage(Header->Handle(), user::HDM_GETITEMRECT, 1, reinterpret_cast<user::LPARAM>(&r));
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(Header->Sections()->Items(1)->Left(), 120);
}

TEST_F(HeaderControlTest, DraggingStaysWithinTheSectionsLimitsAndReportsTheResize) {
    std::vector<TSectionTrackState> states;
    int resized = 0;
    Header->OnSectionTrack = [&](THeaderControl*, THeaderSection*, int, TSectionTrackState state) {
        states.push_back(state);
    };
    Header->OnSectionResize = [&](THeaderControl*, THeaderSection* section) {
        ++resized;
        EXPECT_EQ(section->Index(), 0);
    };
    Drag(120, 250);
    EXPECT_EQ(Header->Sections()->Items(0)->Width(), 150);   // MaxWidth
    ASSERT_GE(states.size(), 3u);
    EXPECT_EQ(states.front(), tsTrackBegin);
    EXPECT_EQ(states.back(), tsTrackEnd);
    EXPECT_GE(resized, 1);
    Drag(150, 10);
    EXPECT_EQ(Header->Sections()->Items(0)->Width(), 60);   // MinWidth
}

TEST_F(HeaderControlTest, ClicksReachOnSectionClickUnlessNotAllowed) {
    std::vector<int> clicked;
    Header->OnSectionClick = [&](THeaderControl*, THeaderSection* section) { clicked.push_back(section->Index()); };
    TPoint p = At(Header, 160, 5);
    Display->Click(p.x, p.y);
    Pump();
    Advance(1000);
    Header->Sections()->Items(1)->SetAllowClick(false);
    Display->Click(p.x, p.y);
    Pump();
    EXPECT_EQ(clicked, std::vector<int> {1});
}

}
