// TsBitBtn and TsSpeedButton: glyph and caption layout, one click per press, states through input, the
// drop-down part, skin changes.
#include "support/ControlsKit.h"

#include "tests/platform/user/support/MenuLoopSteps.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TMenu.h"
#include "platform/user/VirtualKeys.h"

#include "skin/controls/sBitBtn.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sControlClasses.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

#include <algorithm>
#include <cstdlib>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

TacGlyphLayout Layout(TButtonLayout layout, TAlignment alignment, int margin, int spacing) {
    TacGlyphLayout l;
    l.Width = 100;
    l.Height = 40;
    l.Glyph = {16, 16};
    l.Text = {30, 12};
    l.Layout = layout;
    l.Alignment = alignment;
    l.Margin = margin;
    l.Spacing = spacing;
    return l;
}

TEST(BitBtnLayout, GlyphRectFollowsLayoutAndAlignment) {
    struct Case {
        TButtonLayout layout;
        TAlignment alignment;
        int margin;
        TRect expected;
    };
    // a = ((100 - 16 - 4) - 30) / 2 - GM; GM = 0 for margin -1, margin + 3 otherwise.
    const Case cases[] = {
        {blGlyphLeft, taCenter, -1, {25, 12, 41, 28}},
        {blGlyphLeft, taLeftJustify, -1, {0, 12, 16, 28}},
        {blGlyphLeft, taRightJustify, -1, {50, 12, 66, 28}},
        {blGlyphLeft, taLeftJustify, 2, {5, 12, 21, 28}},
        {blGlyphRight, taRightJustify, -1, {84, 12, 100, 28}},
        {blGlyphRight, taCenter, -1, {59, 12, 75, 28}},
        {blGlyphTop, taCenter, -1, {43, 4, 59, 20}},
        {blGlyphBottom, taCenter, -1, {43, 20, 59, 36}},
    };
    for (const Case& c : cases) {
        const TRect r = BitBtnGlyphRect(Layout(c.layout, c.alignment, c.margin, 4), false);
        EXPECT_EQ(r, c.expected) << c.layout << " " << c.alignment << " " << c.margin;
    }
    EXPECT_EQ(BitBtnGlyphRect(Layout(blGlyphLeft, taCenter, -1, 4), true), (TRect {26, 13, 42, 29}));
}

TEST(BitBtnLayout, TopLayoutIgnoresMarginAndSpreadsFreeRoomInThirds) {
    const TRect top = BitBtnTextRect(Layout(blGlyphTop, taCenter, -1, 4), false);
    EXPECT_EQ(BitBtnTextRect(Layout(blGlyphTop, taCenter, 7, 4), false), top);
    // Margin -1, Spacing -1: (100 - 46) / 3 = 18 on each side of the glyph and between glyph and text.
    const TRect spread = BitBtnTextRect(Layout(blGlyphLeft, taCenter, -1, -1), false);
    EXPECT_EQ(spread.left, 18 + 16 + 18);
    EXPECT_EQ(spread.right - spread.left, 30);
    // Right to left swaps the sides.
    const TRect rtl = BitBtnTextRect(Layout(blGlyphLeft, taLeftJustify, 2, 4), true);
    EXPECT_EQ(rtl.left, 2);
}

// The spacing belongs to the block whenever the button shows a caption beside its glyph, even one with no room
// left to measure its text in.
TEST(BitBtnLayout, TheSpacingCountsForACaptionWithoutRoom) {
    TacGlyphLayout l = Layout(blGlyphLeft, taCenter, -1, 4);
    l.Width = 18;
    l.Text = {0, 0};
    EXPECT_EQ(BitBtnGlyphRect(l, false).left, -1);   // a = ((18 - 16 - 4) - 0) / 2
    l.Spacing = 0;   // no caption
    EXPECT_EQ(BitBtnGlyphRect(l, false).left, 1);
}

TEST(SpeedButtonLayout, CaptionRectIsWidenedAndMovedByTheOffsetAndThePress) {
    TacGlyphLayout l = Layout(blGlyphLeft, taCenter, -1, 4);
    const TRect r = SpeedButtonCaptionRect(l, 0, false);
    EXPECT_EQ(r, (TRect {16 + 25 + 4 - 1, 14, 100 - 25 + 2, 26}));
    EXPECT_EQ(SpeedButtonCaptionRect(l, 5, true), (TRect {r.left + 6, r.top + 1, r.right + 6, r.bottom + 1}));
}

class TsBitBtnTest : public ControlsTest, public ::testing::WithParamInterface<int> {
protected:
    TsBitBtn* MakeBitBtn(int* clicks) {
        auto* b = Create<TsBitBtn>(Form);
        b->SetBounds(20, 20, 110, 32);
        b->SetCaption("Glyph");
        TBitmap glyph;
        glyph.SetSize(16, 16);
        glyph.Canvas()->Brush()->SetColor(clRed);
        glyph.Canvas()->FillRect(TRect {0, 0, 16, 16});
        glyph.Canvas()->SetPixels(0, 15, clFuchsia);
        b->SetGlyph(&glyph);
        b->SetParent(Form);
        b->OnClick = [clicks](TObject*) { ++*clicks; };
        Pump();
        return b;
    }
};

TEST_P(TsBitBtnTest, ClicksOncePerPressAndShowsItsGlyph) {
    UseSkin(GetParam());
    int clicks = 0;
    TsBitBtn* b = MakeBitBtn(&clicks);
    EXPECT_EQ(b->SkinData()->Skinned(), GetParam() >= 0);
    ClickAt(b, 55, 16);
    EXPECT_EQ(clicks, 1);
    ASSERT_TRUE(b->Focused());
    Key(user::VK_SPACE);
    EXPECT_EQ(clicks, 2);
    DownAt(b, 55, 16);
    UpAt(b, 300, 200);
    EXPECT_EQ(clicks, 2);   // released outside
    if (GetParam() >= 0) {
        const TRect g = b->GlyphRect();
        EXPECT_EQ(ScreenPixel(b, g.left + 8, g.top + 8), gdi::COLORREF(ColorToRGB(clRed)));
    }
}

TEST_P(TsBitBtnTest, StatesFollowTheMouseAndTheProgram) {
    UseSkin(GetParam());
    if (GetParam() < 0) GTEST_SKIP() << "the plain button has no skin state";
    int clicks = 0;
    TsBitBtn* b = MakeBitBtn(&clicks);
    MoveTo(Form, 300, 200);
    EXPECT_EQ(b->CurrentState(), 0);
    MoveTo(b, 55, 16);
    EXPECT_EQ(b->CurrentState(), 1);
    DownAt(b, 55, 16);
    EXPECT_EQ(b->CurrentState(), 2);
    UpAt(b, 55, 16);
    EXPECT_EQ(clicks, 1);
    b->SetDown(true);
    EXPECT_EQ(b->CurrentState(), 2);
    b->SetBlend(150);
    EXPECT_EQ(b->Blend(), 100);
    b->SetBlend(-5);
    EXPECT_EQ(b->Blend(), 0);
}

TEST_P(TsBitBtnTest, HotCaptionIsDrawnWithoutABackgroundBox) {
    UseSkin(GetParam());
    if (GetParam() < 0) GTEST_SKIP() << "the plain button has no hot look";
    int clicks = 0;
    TsBitBtn* b = MakeBitBtn(&clicks);
    MoveTo(Form, 300, 200);
    MoveTo(b, 100, 16);
    ASSERT_EQ(b->CurrentState(), 1);
    b->Repaint();   // a second paint of the same look: the text's transparency must not depend on history
    Pump();
    // An opaque text background would whiten the caption's whole box; the letters alone cover far less.
    const TRect g = b->GlyphRect();
    int white = 0;
    int all = 0;
    for (int y = 10; y < 22; ++y)
        for (int x = g.right + 4; x < g.right + 40; ++x, ++all)
            if (ScreenPixel(b, x, y) == gdi::COLORREF(0xFFFFFF)) ++white;
    EXPECT_LT(white * 2, all);
}

INSTANTIATE_TEST_SUITE_P(SkinsAndNone, TsBitBtnTest, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return SkinShortName(info.param); });

class TsSpeedButtonTest : public ControlsTest, public ::testing::WithParamInterface<int> {
protected:
    TsSpeedButton* MakeSpeed(int* clicks) {
        auto* b = Create<TsSpeedButton>(Form);
        b->SetBounds(20, 20, 23, 23);
        b->SetCaption("S");
        b->SetParent(Form);
        if (clicks != nullptr) b->OnClick = [clicks](TObject*) { ++*clicks; };
        Pump();
        return b;
    }
};

TEST_P(TsSpeedButtonTest, ClicksOncePerReleaseOverItAndShowsItsStates) {
    UseSkin(GetParam());
    int clicks = 0;
    TsSpeedButton* b = MakeSpeed(&clicks);
    MoveTo(Form, 300, 200);
    EXPECT_EQ(b->CurrentState(), 0);
    MoveTo(b, 10, 10);
    EXPECT_EQ(b->CurrentState(), GetParam() >= 0 ? 1 : 0);
    DownAt(b, 10, 10);
    EXPECT_EQ(b->CurrentState(), 2);
    UpAt(b, 10, 10);
    EXPECT_EQ(clicks, 1);
    DownAt(b, 10, 10);
    UpAt(b, 300, 200);
    EXPECT_EQ(clicks, 1);
    EXPECT_NE(b->CurrentState(), 2);
}

// Leaving the button while it is held shows it up again; the release outside does not click.
TEST_P(TsSpeedButtonTest, LeavingWhilePressedShowsTheButtonUp) {
    UseSkin(GetParam());
    int clicks = 0;
    TsSpeedButton* b = MakeSpeed(&clicks);
    DownAt(b, 10, 10);
    ASSERT_EQ(b->State(), sbsDown);
    const TPoint out = b->ClientToScreen(TPoint {200, 150});
    Display->MoveMouse(out.x, out.y);
    Pump();
    b->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(b->State(), sbsUp);
    EXPECT_NE(b->CurrentState(), 2);
    Display->ButtonUp(user::MouseButton::Left, out.x, out.y);
    Pump();
    EXPECT_EQ(clicks, 0);
}

// The leave notice alone (the mouse still over the button's place, as when a window covers it) shows it up.
TEST_P(TsSpeedButtonTest, TheLeaveNoticeShowsAHeldButtonUp) {
    if (GetParam() < 0) GTEST_SKIP() << "the plain button keeps its press until the mouse moves";
    UseSkin(GetParam());
    TsSpeedButton* b = MakeSpeed(nullptr);
    DownAt(b, 10, 10);
    ASSERT_EQ(b->State(), sbsDown);
    b->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(b->State(), sbsUp);
    EXPECT_NE(b->CurrentState(), 2);
    UpAt(b, 10, 10);
}

TEST_P(TsSpeedButtonTest, ANewGlyphIsShownAtOnce) {
    UseSkin(GetParam());
    TsSpeedButton* b = MakeSpeed(nullptr);
    b->SetBounds(20, 20, 60, 30);
    Pump();
    const TRect face {2, 2, 58, 28};
    const std::vector<gdi::COLORREF> before = ScreenPixels(b, face);
    TBitmap glyph;   // a red square inside a border of the transparent colour
    glyph.SetSize(16, 16);
    glyph.Canvas()->Brush()->SetColor(clWhite);
    glyph.Canvas()->FillRect(TRect {0, 0, 16, 16});
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(TRect {2, 2, 14, 14});
    b->Glyph()->Assign(&glyph);
    Pump();
    const std::vector<gdi::COLORREF> after = ScreenPixels(b, face);
    int red = 0;
    for (std::size_t i = 0; i < after.size(); ++i)
        red += after[i] == 0x0000FF && before[i] != 0x0000FF;
    EXPECT_GE(red, 100);
}

// The section refresh shows the cache again; the picture is not rendered anew.
TEST_P(TsSpeedButtonTest, TheSectionRefreshRedrawsWithoutRenderingAgain) {
    if (GetParam() < 0) GTEST_SKIP() << "the plain button has no cache";
    UseSkin(GetParam());
    TsSpeedButton* b = MakeSpeed(nullptr);
    int renders = 0;
    b->OnPaint = [&](TObject*, TBitmap*) { ++renders; };
    ScribbleOver(Form);
    b->Perform(SM_SKINCMD, SkinCommandWParam(SMC_REFRESHSECTION), 0);
    EXPECT_EQ(renders, 0);
    EXPECT_NE(ScreenPixel(b, 11, 11), 0x00FF00u);
}

TEST_P(TsSpeedButtonTest, DropDownStyleWidensByTheArrowPart) {
    UseSkin(GetParam());
    TsSpeedButton* b = MakeSpeed(nullptr);
    b->SetButtonStyle(tbsDropDown);
    EXPECT_EQ(b->Width(), 39);
    b->SetButtonStyle(tbsButton);
    EXPECT_EQ(b->Width(), 23);
}

TEST_P(TsSpeedButtonTest, SeparatorShowsOnlyTheParentBackground) {
    UseSkin(GetParam());
    TsSpeedButton* b = MakeSpeed(nullptr);
    const gdi::COLORREF beside = ScreenPixel(Form, 10, 30);
    b->SetButtonStyle(tbsSeparator);
    b->SetCaption("");
    Pump();
    if (GetParam() >= 0) {
        EXPECT_EQ(ScreenPixel(b, 11, 11), beside);
    }
}

INSTANTIATE_TEST_SUITE_P(SkinsAndNone, TsSpeedButtonTest, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return SkinShortName(info.param); });

class TsSpeedButtonDropDown : public ControlsTest {
protected:
    // A 23-pixel drop-down button with menu as its drop-down menu, shown in LongHorn.
    TsSpeedButton* MakeDropDown(TPopupMenu* menu) {
        UseSkin(1);
        auto* b = Create<TsSpeedButton>(Form);
        b->SetBounds(20, 20, 23, 23);
        b->SetParent(Form);
        b->SetButtonStyle(tbsDropDown);
        b->SetDropdownMenu(menu);
        Pump();
        return b;
    }
    void TearDown() override {
        user::SetMenuLoopIdleHook(nullptr);
        ControlsTest::TearDown();
    }
};

// Without OnClick the whole button opens the menu and shows down while it is open; the hints are off from the
// press until the menu is gone, though the menu took the release.
TEST_F(TsSpeedButtonDropDown, WithoutOnClickTheButtonShowsDownWhileItsMenuIsOpenAndHintsComeBackAfter) {
    auto* menu = Create<TPopupMenu>(Form);
    auto* item = Create<TMenuItem>(Form);
    item->SetCaption("First");
    menu->Items()->Add(item);
    TsSpeedButton* b = MakeDropDown(menu);
    ASSERT_TRUE(Application->ShowHint());
    TSpeedButtonState open = sbsUp;
    int openState = 0;
    bool hintsWhileOpen = true;
    const TPoint p = b->ClientToScreen(TPoint {8, 10});
    user::test::MenuLoopSteps({[&] {
                                   open = b->State();
                                   openState = b->CurrentState();
                                   hintsWhileOpen = Application->ShowHint();
                               },
        [&] { Display->ButtonUp(user::MouseButton::Left, p.x, p.y); }, [&] { Display->Press(user::VK_ESCAPE); }});
    DownAt(b, 8, 10);
    EXPECT_EQ(open, sbsDown);
    EXPECT_EQ(openState, 2);
    EXPECT_FALSE(hintsWhileOpen);
    EXPECT_FALSE(b->MenuShown());
    EXPECT_EQ(b->State(), sbsUp);
    EXPECT_TRUE(Application->ShowHint());
}

// A divider painted before its panel shows the panel's own picture beside its line (a texture may be laid a
// shade apart when the panel renders again).
TEST_F(TsSpeedButtonDropDown, ADividerShowsThePanelsPictureBesideItsLine) {
    for (int skin = 0; skin < 4; ++skin) {
        UseSkin(skin);
        auto* panel = Create<TsPanel>(Form);
        panel->SetBounds(0, 0, 200, 60);
        panel->SetCaption("");
        panel->SetParent(Form);
        auto* divider = Create<TsSpeedButton>(Form);
        divider->SetBounds(100, 10, 20, 30);
        divider->SetParent(panel);
        divider->SetButtonStyle(tbsDivider);
        Pump();
        const auto with = ScreenPixels(divider, TRect {0, 0, 4, 30});
        divider->SetVisible(false);
        Pump();
        const auto without = ScreenPixels(divider, TRect {0, 0, 4, 30});
        for (std::size_t i = 0; i < with.size(); ++i) {
            int most = 0;
            for (int shift : {0, 8, 16})
                most = std::max(most, std::abs(int((with[i] >> shift) & 0xFF) - int((without[i] >> shift) & 0xFF)));
            EXPECT_LE(most, 8) << SkinShortName(skin) << " pixel " << i;
        }
        delete panel;
    }
}

TEST_F(TsSpeedButtonDropDown, LeftPartClicksWhenOnClickIsSet) {
    auto* menu = Create<TPopupMenu>(Form);
    TsSpeedButton* b = MakeDropDown(menu);
    int clicks = 0;
    b->OnClick = [&clicks](TObject*) { ++clicks; };
    Pump();
    ClickAt(b, 8, 10);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(b->MenuShown());
    delete menu;
    EXPECT_EQ(b->DropdownMenu(), nullptr);   // the free notification clears it
}

TEST(TsButtonKinds, AreRegisteredForFormText) {
    RegisterSkinControlClasses();
    EXPECT_EQ(FindClass("TsBitBtn"), TsBitBtn::StaticClass());
    EXPECT_EQ(FindClass("TsSpeedButton"), TsSpeedButton::StaticClass());
}

}
