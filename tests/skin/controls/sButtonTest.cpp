// TsButton: one click per press by mouse and keyboard, skinned or not; states through real input; skin changes.
#include "support/ControlsKit.h"

#include "platform/classes/TEdit.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TForm.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Painting.h"
#include "platform/user/VirtualKeys.h"

#include "skin/controls/sBitBtn.h"
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
    // A second control under the button, to take the focus.
    template <class T>
    T* MakeBelow(int height) {
        auto* c = Create<T>(Form);
        c->SetBounds(20, 80, 100, height);
        c->SetParent(Form);
        Pump();
        return c;
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

// A paint while a hover fade still has frames to show leaves the frame on screen; the fade ends on the hot look.
TEST_P(TsButtonTest, APaintWhileTheFadeRunsLeavesItsFrameOnScreen) {
    if (GetParam() < 0) GTEST_SKIP() << "the plain button has no fades";
    UseSkin(GetParam());
    int clicks = 0;
    TsButton* b = MakeButton(&clicks);
    if (!Manager->Sections[std::size_t(b->SkinData()->SkinIndex)].FadingEnabled) GTEST_SKIP() << "no fade here";
    MoveTo(b, 50, 15);
    Advance(10);
    const gdi::COLORREF frame = ScreenPixel(b, 50, 4);
    b->Invalidate();
    Pump();
    EXPECT_EQ(ScreenPixel(b, 50, 4), frame);
    for (int tick = 0; tick < 8; ++tick)
        Advance(10);
    const gdi::COLORREF last = ScreenPixel(b, 50, 4);
    b->Invalidate();
    Pump();
    EXPECT_EQ(ScreenPixel(b, 50, 4), last);
    EXPECT_NE(last, frame);
}

// The space bar presses through the form's dialog character, not the raw key: a key down that is never
// translated into a character leaves the button up.
TEST_P(TsButtonTest, TheSpaceCharacterPressesAndItsKeyReleaseClicks) {
    if (GetParam() < 0) GTEST_SKIP() << "the plain button presses natively";
    UseSkin(GetParam());
    int clicks = 0;
    TsButton* b = MakeButton(&clicks);
    b->SetFocus();
    Pump();
    b->Perform(user::WM_KEYDOWN, user::VK_SPACE, 0);
    EXPECT_EQ(b->CurrentState(), 1);
    b->Perform(CM_DIALOGCHAR, ' ', 0);
    EXPECT_EQ(b->CurrentState(), 2);
    b->Perform(user::WM_KEYUP, user::VK_SPACE, 0);
    EXPECT_EQ(b->CurrentState(), 1);
    EXPECT_EQ(clicks, 1);
    Display->KeyDown(user::VK_SPACE, " ");
    Pump();
    EXPECT_EQ(b->CurrentState(), 2);
    Display->KeyUp(user::VK_SPACE);
    Pump();
    EXPECT_EQ(clicks, 2);
}

// A button the program holds down clicks on the space bar's release like any other; the mouse held on the
// button keeps the one click of the press for its own release.
TEST_P(TsButtonTest, TheSpaceBarClicksAHeldButtonOnceAndLeavesAMousePressItsOwnClick) {
    if (GetParam() < 0) GTEST_SKIP() << "the plain button presses natively";
    UseSkin(GetParam());
    int clicks = 0;
    TsButton* b = MakeButton(&clicks);
    b->SetFocus();
    b->SetDown(true);
    Pump();
    Key(user::VK_SPACE);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->CurrentState(), 2);
    b->SetDown(false);
    DownAt(b, 50, 15);
    Key(user::VK_SPACE);
    EXPECT_EQ(clicks, 1);
    UpAt(b, 50, 15);
    EXPECT_EQ(clicks, 2);
}

// The press stays the button's when the focus moves away while the mouse holds it: released over it, it clicks.
TEST_P(TsButtonTest, APressReleasedOverTheButtonClicksAfterTheFocusMovedAway) {
    if (GetParam() < 0) GTEST_SKIP() << "the plain button presses natively";
    UseSkin(GetParam());
    int clicks = 0;
    TsButton* b = MakeButton(&clicks);
    auto* edit = MakeBelow<TEdit>(20);
    DownAt(b, 50, 15);
    ASSERT_EQ(b->CurrentState(), 2);
    edit->SetFocus();
    Pump();
    EXPECT_EQ(b->CurrentState(), 0);   // no longer shown pressed
    UpAt(b, 50, 15);
    EXPECT_EQ(clicks, 1);
}

// Only the left button presses: its release after a press of the right button clicks nothing.
TEST_P(TsButtonTest, ALeftReleaseAfterARightPressDoesNotClick) {
    if (GetParam() < 0) GTEST_SKIP() << "the plain button presses natively";
    UseSkin(GetParam());
    int clicks = 0;
    TsButton* b = MakeButton(&clicks);
    const TPoint p {50, 15};
    const auto at = classes::LPARAM((p.y << 16) | p.x);
    b->Perform(user::WM_RBUTTONDOWN, 0, at);
    b->Perform(user::WM_RBUTTONUP, 0, at);
    b->Perform(user::WM_RBUTTONDOWN, 0, at);
    b->Perform(user::WM_LBUTTONUP, 0, at);
    EXPECT_EQ(clicks, 0);
    EXPECT_NE(b->CurrentState(), 2);
}

// The focus arriving while the hover fades in moves the fade on by a frame; the fade ends on the focused look.
TEST_P(TsButtonTest, FocusDuringAHoverFadeStepsItOnAndItEndsOnTheFocusedLook) {
    if (GetParam() < 0) GTEST_SKIP() << "the plain button has no fades";
    UseSkin(GetParam());
    int clicks = 0;
    TsButton* b = MakeButton(&clicks);
    auto* other = MakeBelow<TsButton>(30);
    other->SetFocus();
    MoveTo(Form, 300, 200);
    for (int tick = 0; tick < 30; ++tick) Advance(10);
    const gdi::COLORREF normal = ScreenPixel(b, 50, 4);
    MoveTo(b, 50, 15);
    b->SetFocus();
    Pump();
    EXPECT_NE(ScreenPixel(b, 50, 4), normal);
    for (int tick = 0; tick < 30; ++tick) Advance(10);
    const std::vector<gdi::COLORREF> faded = ScreenPixels(b, TRect {0, 0, 100, 30});
    b->SkinData()->Invalidate();
    Pump();
    EXPECT_EQ(ScreenPixels(b, TRect {0, 0, 100, 30}), faded);
}

INSTANTIATE_TEST_SUITE_P(SkinsAndNone, TsButtonTest, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return SkinShortName(info.param); });

class TsButtonSkinChange : public ControlsTest {
protected:
    // A control of the form at (left, top), w x h.
    template <class T>
    T* Placed(int left, int top, int w, int h) {
        auto* c = Create<T>(Form);
        c->SetBounds(left, top, w, h);
        c->SetParent(Form);
        return c;
    }
};

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

// A button's paint draws the whole button whatever part was invalid; a print into a bitmap leaves the screen's
// pending update to the next paint.
TEST_F(TsButtonSkinChange, APaintDrawsTheWholeButtonAndAPrintLeavesThePendingUpdate) {
    UseSkin(1);
    auto* b = Placed<TsButton>(20, 20, 100, 30);
    b->SetCaption("Print");
    Pump();
    const gdi::COLORREF face = ScreenPixel(b, 50, 5);
    ScribbleOver(b);
    const gdi::RECT corner {0, 0, 3, 3};
    user::InvalidateRect(b->Handle(), &corner, false);
    Pump();
    EXPECT_EQ(ScreenPixel(b, 50, 5), face);
    ScribbleOver(b);
    b->Invalidate();
    EXPECT_EQ(gdi::COLORREF(PaintIntoBitmap(b)->Canvas()->Pixels(50, 5)), face);
    Pump();
    EXPECT_EQ(ScreenPixel(b, 50, 5), face);
}

// A skinned default button looks active wherever the focus is, except on another skinned push button.
TEST_F(TsButtonSkinChange, ADefaultButtonLooksActiveUnlessAnotherSkinnedPushButtonHasTheFocus) {
    UseSkin(0);
    auto* def = Placed<TsButton>(20, 20, 100, 30);
    def->SetDefault(true);
    auto* edit = Placed<TEdit>(20, 60, 100, 24);
    auto* plain = Placed<TButton>(20, 90, 100, 30);
    auto* other = Placed<TsButton>(130, 20, 100, 30);
    auto* bit = Placed<TsBitBtn>(130, 60, 100, 30);
    Pump();
    struct Case {
        TWinControl* focus;
        int state;
    };
    const Case cases[] = {{edit, 1}, {other, 0}, {plain, 1}, {bit, 0}, {def, 1}, {edit, 1}};
    for (const Case& c : cases) {
        c.focus->SetFocus();
        Pump();
        EXPECT_EQ(def->CurrentState(), c.state) << c.focus->ClassName();
    }
}

// TsButton answers the erase with 1 and repaints for a new font even while hidden; TsBitBtn swallows the
// erase without an answer and leaves a hidden button's picture alone until it shows.
TEST_F(TsButtonSkinChange, EraseAnswersAndHiddenFontChangesDifferBetweenTheTwoButtons) {
    UseSkin(0);
    auto* b = Placed<TsButton>(20, 20, 100, 30);
    auto* bit = Placed<TsBitBtn>(20, 60, 100, 30);
    Pump();
    EXPECT_EQ(b->Perform(user::WM_ERASEBKGND, 0, 0), 1);
    EXPECT_EQ(bit->Perform(user::WM_ERASEBKGND, 0, 0), 0);
    for (TWinControl* c : std::initializer_list<TWinControl*> {b, bit}) {
        c->SetVisible(false);
        Pump();
    }
    b->SkinData()->BGChanged = false;
    bit->SkinData()->BGChanged = false;
    b->Perform(user::WM_SETFONT, 0, 0);
    bit->Perform(user::WM_SETFONT, 0, 0);
    EXPECT_TRUE(b->SkinData()->BGChanged);
    EXPECT_FALSE(bit->SkinData()->BGChanged);
    bit->SetVisible(true);
    Pump();
    bit->Perform(user::WM_SETFONT, 0, 0);
    EXPECT_TRUE(bit->SkinData()->BGChanged);
}

// A bit button whose Updating flag was left set asks again when pressed, and shows the press.
TEST_F(TsButtonSkinChange, ABitButtonLeftUpdatingShowsThePressWhenItsParentIsNot) {
    UseSkin(0);
    auto* bit = Placed<TsBitBtn>(20, 20, 100, 30);
    bit->SetCaption("Held");
    Pump();
    const gdi::COLORREF up = ScreenPixel(bit, 50, 4);
    bit->SkinData()->Updating = true;
    DownAt(bit, 50, 15);
    EXPECT_FALSE(bit->SkinData()->Updating);
    for (int tick = 0; tick < 10; ++tick)
        Advance(10);   // the press cross-fades in this skin
    EXPECT_NE(ScreenPixel(bit, 50, 4), up);
    UpAt(bit, 50, 15);
}

TEST(TsButtonClass, IsRegisteredForFormTextWithItsPublishedDefaults) {
    RegisterSkinControlClasses();
    ASSERT_EQ(FindClass("TsButton"), TsButton::StaticClass());
}

}
