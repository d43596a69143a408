// TsUpDown on the headless display: hot and pressed buttons by real mouse input, the limits of each orientation,
// auto-repeat on the fake clock, the native look without scroll-button sections, arrows too big for a button.
#include "support/ControlsKit.h"

#include "platform/classes/TForm.h"
#include "platform/user/MessageLoop.h"
#include "skin/controls/sUpDown.h"
#include "skin/engine/sSkinManager.h"

#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class UpDownTest : public ControlsTest {
protected:
    TsUpDown* Make(TUDOrientation orientation, int min, int max, int position, int w = 40, int h = 20) {
        auto* ud = Create<TsUpDown>(Form);
        ud->SetOrientation(orientation);
        ud->SetBounds(20, 20, w, h);
        ud->SetMin(min);
        ud->SetMax(max);
        ud->SetPosition(position);
        ud->SetParent(Form);
        Pump();
        return ud;
    }
};

TEST_F(UpDownTest, AHorizontalUpDownAtMinShowsItsLeftButtonDisabledAndNeverHot) {
    UseSkin(0);
    TsUpDown* ud = Make(udHorizontal, 0, 10, 0);
    ASSERT_TRUE(ud->PaintsSkinned());
    EXPECT_TRUE(ud->FirstAtLimit());
    EXPECT_FALSE(ud->SecondAtLimit());
    const std::vector<gdi::COLORREF> atLimit = ScreenPixels(ud, ud->FirstButtonRect());
    MoveTo(ud, 5, 10);
    EXPECT_EQ(ud->HotPart(), TsUpDown::hpNone);
    MoveTo(ud, 35, 10);
    EXPECT_EQ(ud->HotPart(), TsUpDown::hpSecondHot);
    ud->SetPosition(5);
    ud->Repaint();
    MoveTo(ud, 5, 10);
    EXPECT_EQ(ud->HotPart(), TsUpDown::hpFirstHot);
    MoveTo(Form, 200, 150);
    EXPECT_EQ(ud->HotPart(), TsUpDown::hpNone);
    // Away from its limit the left button is no longer dimmed.
    EXPECT_NE(ScreenPixels(ud, ud->FirstButtonRect()), atLimit);
    ud->SetShowInaccessibility(false);
    ud->SetPosition(0);
    ud->Repaint();
    MoveTo(ud, 5, 10);
    EXPECT_EQ(ud->HotPart(), TsUpDown::hpFirstHot);
}

// The mouse over a button that is already hot repaints the control, so a stale picture does not stay.
TEST_F(UpDownTest, EveryHitTestOverAFreeButtonRepaintsTheControl) {
    UseSkin(0);
    TsUpDown* ud = Make(udHorizontal, 0, 10, 5);
    MoveTo(ud, 35, 10);
    ASSERT_EQ(ud->HotPart(), TsUpDown::hpSecondHot);
    const std::vector<gdi::COLORREF> hot = ScreenPixels(ud, ud->SecondButtonRect());
    ScribbleOver(ud);
    MoveTo(ud, 36, 11);
    EXPECT_EQ(ScreenPixels(ud, ud->SecondButtonRect()), hot);
}

// Each orientation presses against its own limits: on a horizontal control the left button goes toward Min.
TEST_F(UpDownTest, PressAndReleaseUseTheLimitsOfTheOrientation) {
    UseSkin(1);
    struct Case {
        TUDOrientation Orientation;
        int Position;
        TPoint At;
        int Pressed;
        int Released;
    } cases[] = {
        {udHorizontal, 10, {5, 10}, TsUpDown::hpFirstPressed, TsUpDown::hpFirstHot},   // left at Max: free
        {udHorizontal, 0, {35, 10}, TsUpDown::hpSecondPressed, TsUpDown::hpSecondHot},   // right at Min: free
        {udVertical, 0, {10, 5}, TsUpDown::hpFirstPressed, TsUpDown::hpFirstHot},   // top at Min: free
        {udVertical, 10, {10, 35}, TsUpDown::hpSecondPressed, TsUpDown::hpSecondHot},   // bottom at Max: free
    };
    for (const Case& c : cases) {
        const bool h = c.Orientation == udHorizontal;
        TsUpDown* ud = Make(c.Orientation, 0, 10, c.Position, h ? 40 : 20, h ? 20 : 40);
        ud->OnChanging = [](TObject*, bool& allow) { allow = false; };   // the position stays put
        MoveTo(ud, c.At.x, c.At.y);
        DownAt(ud, c.At.x, c.At.y);
        EXPECT_EQ(ud->HotPart(), c.Pressed) << c.Orientation << " " << c.Position;
        EXPECT_TRUE(ud->Pressed());
        UpAt(ud, c.At.x, c.At.y);
        EXPECT_EQ(ud->HotPart(), c.Released) << c.Orientation << " " << c.Position;
        EXPECT_FALSE(ud->Pressed());
        EXPECT_EQ(ud->Position(), c.Position);
        delete ud;
        Pump();
    }
}

TEST_F(UpDownTest, HoldingAButtonRepeatsOnTheClockAndReleasingStops) {
    UseSkin(2);
    TsUpDown* ud = Make(udVertical, 0, 100, 50, 20, 40);
    std::vector<TUDBtnType> clicks;
    ud->OnClick = [&](TObject*, TUDBtnType b) { clicks.push_back(b); };
    MoveTo(ud, 10, 5);
    DownAt(ud, 10, 5);
    EXPECT_EQ(ud->Position(), 51);
    EXPECT_EQ(ud->HotPart(), TsUpDown::hpFirstPressed);
    Advance(399);
    EXPECT_EQ(ud->Position(), 51);
    Advance(1);
    EXPECT_EQ(ud->Position(), 52);
    for (int i = 0; i < 3; ++i)
        Advance(100);
    EXPECT_EQ(ud->Position(), 55);
    EXPECT_EQ(ud->HotPart(), TsUpDown::hpFirstPressed);
    UpAt(ud, 10, 5);
    Advance(500);
    EXPECT_EQ(ud->Position(), 55);
    EXPECT_EQ(clicks, std::vector<TUDBtnType>(5, btNext));
    EXPECT_EQ(ud->HotPart(), TsUpDown::hpFirstHot);
}

TEST_F(UpDownTest, ASkinWithoutScrollButtonSectionsLeavesTheNativeButtons) {
    UseSkin(0);
    TsUpDown* ud = Make(udVertical, 0, 10, 5, 20, 40);
    ASSERT_TRUE(ud->PaintsSkinned());
    const std::vector<gdi::COLORREF> skinned = ScreenPixels(ud, ud->FirstButtonRect());
    Manager->ConstData.ScrollBtnSection[2] = -1;   // no "SCROLLBTNBOTTOM"
    EXPECT_FALSE(ud->PaintsSkinned());
    ud->Repaint();
    EXPECT_NE(ScreenPixels(ud, ud->FirstButtonRect()), skinned);
    // A horizontal one needs only the left and right sections.
    TsUpDown* across = Make(udHorizontal, 0, 10, 5);
    EXPECT_TRUE(across->PaintsSkinned());
}

TEST_F(UpDownTest, AnArrowLargerThanItsButtonIsNotDrawnAndNeitherIsTheDisabledLook) {
    UseSkin(0);
    TsUpDown* ud = Make(udHorizontal, 0, 10, 0, 6, 4);
    ASSERT_TRUE(ud->PaintsSkinned());
    const std::vector<gdi::COLORREF> atLimit = ScreenPixels(ud, ud->FirstButtonRect());
    ud->SetPosition(5);
    ud->Repaint();
    EXPECT_EQ(ScreenPixels(ud, ud->FirstButtonRect()), atLimit);
    // A button large enough shows its limit.
    TsUpDown* big = Make(udHorizontal, 0, 10, 0);
    const std::vector<gdi::COLORREF> bigAtLimit = ScreenPixels(big, big->FirstButtonRect());
    big->SetPosition(5);
    big->Repaint();
    EXPECT_NE(ScreenPixels(big, big->FirstButtonRect()), bigAtLimit);
}

TEST_F(UpDownTest, ADisabledControlDimsBothButtons) {
    UseSkin(3);
    TsUpDown* ud = Make(udHorizontal, 0, 10, 5);
    const std::vector<gdi::COLORREF> first = ScreenPixels(ud, ud->FirstButtonRect());
    const std::vector<gdi::COLORREF> second = ScreenPixels(ud, ud->SecondButtonRect());
    ud->SetEnabled(false);
    Pump();
    ud->Repaint();
    EXPECT_NE(ScreenPixels(ud, ud->FirstButtonRect()), first);
    EXPECT_NE(ScreenPixels(ud, ud->SecondButtonRect()), second);
}

}
