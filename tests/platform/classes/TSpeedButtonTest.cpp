// TSpeedButton: clicks, staying down in groups, AllowAllUp, dragging off, flat hot tracking, the down look.
#include "support/ControlsTestKit.h"

#include "platform/classes/TSpeedButton.h"
#include "platform/gdi/SysColors.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class SpeedButtonTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 300, 200);
        for (int i = 0; i < 3; ++i) {
            Buttons[i] = Create<TSpeedButton>(Form);
            Buttons[i]->SetBounds(10 + i * 30, 10, 25, 25);
            Buttons[i]->SetParent(Form);
            Buttons[i]->OnClick = [this, i](TObject*) { Clicks.push_back(i); };
        }
        Pump();
    }
    void ClickOn(int i) {
        TPoint p = At(Buttons[i], 12, 12);
        Display->Click(p.x, p.y);
        Pump();
    }
    void Group(int index) {
        for (TSpeedButton* b : Buttons)
            b->SetGroupIndex(index);
    }
    TForm* Form = nullptr;
    TSpeedButton* Buttons[3] {};
    std::vector<int> Clicks;
};

TEST_F(SpeedButtonTest, APlainButtonClicksAndNeverStaysDown) {
    ClickOn(0);
    EXPECT_EQ(Clicks, std::vector<int> {0});
    EXPECT_FALSE(Buttons[0]->Down());
    Buttons[0]->SetDown(true);
    EXPECT_FALSE(Buttons[0]->Down());
    EXPECT_EQ(Buttons[0]->State(), sbsUp);
}

TEST_F(SpeedButtonTest, InAGroupOneButtonIsDownAndPressingAnotherRaisesIt) {
    Group(1);
    ClickOn(0);
    EXPECT_TRUE(Buttons[0]->Down());
    ClickOn(2);
    EXPECT_FALSE(Buttons[0]->Down());
    EXPECT_TRUE(Buttons[2]->Down());
    ClickOn(2);   // without AllowAllUp it stays down, but clicks
    EXPECT_TRUE(Buttons[2]->Down());
    EXPECT_EQ(Clicks, (std::vector<int> {0, 2, 2}));
    Buttons[1]->SetDown(true);
    EXPECT_FALSE(Buttons[2]->Down());
    Buttons[1]->SetDown(false);   // refused
    EXPECT_TRUE(Buttons[1]->Down());
}

TEST_F(SpeedButtonTest, AllowAllUpIsSharedByTheGroupAndLetsTheDownOneRise) {
    Group(2);
    Buttons[0]->SetAllowAllUp(true);
    EXPECT_TRUE(Buttons[2]->AllowAllUp());
    ClickOn(1);
    ClickOn(1);
    EXPECT_FALSE(Buttons[1]->Down());
    Buttons[1]->SetGroupIndex(3);   // another group: independent
    Buttons[1]->SetAllowAllUp(false);
    Buttons[0]->SetDown(true);
    Buttons[1]->SetDown(true);
    EXPECT_TRUE(Buttons[0]->Down());
    EXPECT_TRUE(Buttons[1]->Down());
}

TEST_F(SpeedButtonTest, ReleasingOutsideNeitherClicksNorLatches) {
    Group(1);
    TPoint p = At(Buttons[0], 12, 12);
    Display->ButtonDown(user::MouseButton::Left, p.x, p.y);
    Pump();
    EXPECT_EQ(Buttons[0]->State(), sbsDown);
    Display->MoveMouse(p.x + 200, p.y);
    Pump();
    EXPECT_EQ(Buttons[0]->State(), sbsUp);
    Display->ButtonUp(user::MouseButton::Left, p.x + 200, p.y);
    Pump();
    EXPECT_TRUE(Clicks.empty());
    EXPECT_FALSE(Buttons[0]->Down());
}

TEST_F(SpeedButtonTest, FlatButtonsShowAnEdgeOnlyUnderTheMouse) {
    Buttons[0]->SetFlat(true);
    Pump();
    gdi::COLORREF face = gdi::GetSysColor(gdi::COLOR_BTNFACE);
    EXPECT_EQ(PixelAt(Buttons[0], 24, 12), face);
    TPoint p = At(Buttons[0], 12, 12);
    Display->MoveMouse(p.x, p.y);
    Pump();
    EXPECT_TRUE(Buttons[0]->MouseInControl());
    EXPECT_NE(PixelAt(Buttons[0], 24, 12), face);
    EXPECT_NE(PixelAt(Buttons[1], 24, 12), face);   // a raised button always has its edge
}

}
