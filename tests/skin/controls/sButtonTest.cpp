// TsButton: one click per press by mouse and keyboard, skinned or not; states through real input; skin changes.
#include "support/ControlsKit.h"

#include "platform/classes/TForm.h"
#include "platform/user/VirtualKeys.h"

#include "skin/controls/sButton.h"
#include "skin/controls/sControlClasses.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sSkinManager.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class TsButtonTest : public ControlsTest, public ::testing::WithParamInterface<int> {
protected:
    TsButton* MakeButton(int* clicks) {
        auto* b = Create<TsButton>(Form);
        b->SetBounds(20, 20, 100, 30);
        b->SetCaption("Press");
        b->SetParent(Form);
        b->OnClick = [clicks](TObject*) { ++*clicks; };
        Pump();
        return b;
    }
};

TEST_P(TsButtonTest, ClicksOncePerPressByMouseAndBySpaceBar) {
    UseSkin(GetParam());
    int clicks = 0;
    TsButton* b = MakeButton(&clicks);
    EXPECT_EQ(b->SkinData()->Skinned(), GetParam() >= 0);
    ClickAt(b, 50, 15);
    EXPECT_EQ(clicks, 1);
    ASSERT_TRUE(b->Focused());
    Key(user::VK_SPACE);
    EXPECT_EQ(clicks, 2);
}

TEST_P(TsButtonTest, ReleasingOutsideDoesNotClick) {
    UseSkin(GetParam());
    int clicks = 0;
    TsButton* b = MakeButton(&clicks);
    DownAt(b, 50, 15);
    UpAt(b, 200, 100);
    EXPECT_EQ(clicks, 0);
    EXPECT_NE(b->CurrentState(), 2);
}

TEST_P(TsButtonTest, ShowsHotPressedAndFocusedThroughInput) {
    UseSkin(GetParam());
    int clicks = 0;
    TsButton* b = MakeButton(&clicks);
    auto* other = Create<TsButton>(Form);
    other->SetBounds(20, 80, 100, 30);
    other->SetParent(Form);
    Pump();
    other->SetFocus();
    Pump();
    EXPECT_EQ(b->CurrentState(), 0);
    MoveTo(b, 50, 15);
    EXPECT_EQ(b->CurrentState(), GetParam() >= 0 ? 1 : 0);   // the mouse counts only while skinned
    DownAt(b, 50, 15);
    EXPECT_EQ(b->CurrentState(), GetParam() >= 0 ? 2 : 1);   // unskinned, the native button shows the press
    const gdi::COLORREF pressed = ScreenPixel(b, 50, 4);
    UpAt(b, 50, 15);
    EXPECT_EQ(b->CurrentState(), 1);   // focused now
    MoveTo(Form, 300, 200);
    EXPECT_EQ(b->CurrentState(), 1);
    other->SetFocus();
    Pump();
    EXPECT_EQ(b->CurrentState(), 0);
    if (GetParam() >= 0) {
        const gdi::COLORREF normal = ScreenPixel(b, 50, 4);
        b->SetEnabled(false);
        Pump();
        EXPECT_NE(ScreenPixel(b, 50, 4), pressed);
        EXPECT_NE(ScreenPixel(b, 50, 4), normal);   // the disabled look is blended
    }
}

TEST_P(TsButtonTest, DownHeldByTheProgramShowsPressedWithoutClicking) {
    UseSkin(GetParam());
    int clicks = 0;
    TsButton* b = MakeButton(&clicks);
    b->SetDown(true);
    Pump();
    EXPECT_EQ(b->CurrentState(), 2);
    EXPECT_EQ(clicks, 0);
    b->SetDown(false);
    EXPECT_EQ(b->CurrentState(), 0);
}

// In the skins whose buttons fade, hovering blends towards the hot look one frame a tick and ends exactly on
// it; the others switch at once.
TEST_P(TsButtonTest, HoverFadesOnTheClockInTheSkinsThatFade) {
    if (GetParam() < 0) GTEST_SKIP() << "the plain button has no fades";
    UseSkin(GetParam());
    int clicks = 0;
    TsButton* b = MakeButton(&clicks);
    const TsGeneralData& section = Manager->Sections[std::size_t(b->SkinData()->SkinIndex)];
    const gdi::COLORREF normal = ScreenPixel(b, 50, 4);
    MoveTo(b, 50, 15);
    std::vector<gdi::COLORREF> seen {ScreenPixel(b, 50, 4)};
    for (int tick = 0; tick < 6; ++tick) {
        Advance(10);
        seen.push_back(ScreenPixel(b, 50, 4));
    }
    b->Invalidate();
    Pump();
    const gdi::COLORREF hot = ScreenPixel(b, 50, 4);
    ASSERT_NE(hot, normal);
    EXPECT_EQ(seen.back(), hot);
    if (section.FadingEnabled) {
        EXPECT_EQ(seen.front(), normal);
        EXPECT_NE(seen[1], normal);
        EXPECT_NE(seen[1], hot);
    } else {
        EXPECT_EQ(seen.front(), hot);
    }
}

INSTANTIATE_TEST_SUITE_P(SkinsAndNone, TsButtonTest, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return SkinShortName(info.param); });

class TsButtonSkinChange : public ControlsTest { };

TEST_F(TsButtonSkinChange, RepaintsInTheNewSkinAndFallsBackToThePlainLook) {
    UseSkin(0);
    auto* b = Create<TsButton>(Form);
    b->SetBounds(20, 20, 100, 30);
    b->SetCaption("Skin");
    b->SetParent(Form);
    Pump();
    const gdi::COLORREF first = ScreenPixel(b, 50, 5);
    UseSkin(3);
    ASSERT_TRUE(b->SkinData()->Skinned());
    EXPECT_NE(ScreenPixel(b, 50, 5), first);
    UseSkin(-1);
    EXPECT_FALSE(b->SkinData()->Skinned());
    EXPECT_EQ(ScreenPixel(b, 50, 5), gdi::COLORREF(ColorToRGB(clBtnFace)));
    int clicks = 0;
    b->OnClick = [&clicks](TObject*) { ++clicks; };
    ClickAt(b, 50, 15);
    EXPECT_EQ(clicks, 1);
}

TEST(TsButtonClass, IsRegisteredForFormTextWithItsPublishedDefaults) {
    RegisterSkinControlClasses();
    ASSERT_EQ(FindClass("TsButton"), TsButton::StaticClass());
}

}
