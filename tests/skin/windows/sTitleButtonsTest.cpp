// Tests for the user title buttons and the own title icon of a skinned form.
#include "support/WindowsKit.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/user/Messages.h"
#include "skin/windows/sTitleButtons.h"

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class TitleButtons : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        UseSkin(0);
        Wnd = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
        P = ProviderOf(Wnd);
    }
    TsTitleButton* AddButton(TColor colour) {
        TsTitleButton* b = P->TitleButtons()->Add();
        TBitmap glyph;
        glyph.SetSize(9, 9);
        glyph.Canvas()->Brush()->SetColor(clFuchsia);
        glyph.Canvas()->FillRect(TRect {0, 0, 9, 9});
        glyph.Canvas()->Brush()->SetColor(colour);
        glyph.Canvas()->FillRect(TRect {2, 2, 7, 7});
        b->SetGlyph(&glyph);
        P->RefreshFormFrame();
        Pump();
        return b;
    }
    TPoint CentreOfButton(TsTitleButton* b) { return CentreOf(Wnd, b->Data.Rect); }

    TForm* Wnd = nullptr;
    TsSkinProvider* P = nullptr;
};

TEST_F(TitleButtons, ANewButtonIsNamedAfterItsClassAndSitsLeftOfTheSystemButtons) {
    TsTitleButton* b = AddButton(clRed);
    EXPECT_EQ(b->Name(), "TsTitleButton");
    EXPECT_EQ(b->DisplayName(), "TsTitleButton");
    EXPECT_EQ(P->VisibleButtonCodes().back(), htTitleButton);
    EXPECT_EQ(b->Data.Rect.right, P->CaptionButton(cbMinimize).Rect.left);
    EXPECT_GE(b->Data.Rect.Width(), 9 + 2);
    // Its glyph is drawn in the middle of it, the glyph's corner colour left out.
    const TPoint c = CentreOfButton(b);
    EXPECT_EQ(Display->ScreenPixel(c.x, c.y) & 0xFFFFFF, gdi::COLORREF(clRed));
    EXPECT_NE(Display->ScreenPixel(b->Data.Rect.left + Wnd->Left() + 1, c.y) & 0xFFFFFF, gdi::COLORREF(clFuchsia));
    AddButton(clBlue)->SetEnabled(false);
    P->RefreshFormFrame();
    Pump();
    const gdi::RECT title {Wnd->Left(), Wnd->Top(), Wnd->Left() + Wnd->Width(), Wnd->Top() + P->HeaderHeight() + 8};
    Display->WriteScreenshotPng(WindowsPictureDir() + "/TitleButtons.png", &title);
}

// The count of visible buttons is of the standard ones; the user's buttons are placed after them.
TEST_F(TitleButtons, TheVisibleButtonCountLeavesTheUsersButtonsOut) {
    AddButton(clRed);
    EXPECT_EQ(P->VisibleButtonCount(), 3);
    EXPECT_EQ(P->VisibleButtonCodes().size(), 4u);
    P->SetBorderIcons({biMinimize, biMaximize});
    EXPECT_EQ(P->VisibleButtonCount(), 0);
    EXPECT_EQ(P->VisibleButtonCodes(), (std::vector<int> {htTitleButton}));
}

TEST_F(TitleButtons, APressAndReleaseCallTheEventsAndTheButtonReturnsToNormal) {
    TsTitleButton* b = AddButton(clBlue);
    std::vector<std::string> events;
    b->OnMouseDown = [&](TObject* sender, TMouseButton, TShiftState, int x, int y) {
        EXPECT_EQ(sender, b);
        events.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    };
    b->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { events.push_back("up"); };
    const TPoint c = CentreOfButton(b);
    EXPECT_EQ(HitAt(Wnd, c), htTitleButton);
    Display->MoveMouse(c.x, c.y);
    Display->ButtonDown(user::MouseButton::Left, c.x, c.y);
    Pump();
    EXPECT_EQ(b->Data.State, 2);
    Display->ButtonUp(user::MouseButton::Left, c.x, c.y);
    Pump();
    EXPECT_EQ(events, (std::vector<std::string> {"down " + std::to_string(c.x) + "," + std::to_string(c.y), "up"}));
    EXPECT_EQ(b->Data.State, 0);
    b->OnMouseUp = nullptr;   // without a handler it still goes back to normal
    const int x = c.x + 3;   // a second press, not a double click
    ASSERT_LT(x, Wnd->Left() + b->Data.Rect.right);
    Display->ButtonDown(user::MouseButton::Left, x, c.y);
    Pump();
    EXPECT_EQ(b->Data.State, 2);
    Display->ButtonUp(user::MouseButton::Left, x, c.y);
    Pump();
    EXPECT_EQ(b->Data.State, 0);
}

TEST_F(TitleButtons, ADisabledButtonIsNoTargetAndNeverHot) {
    TsTitleButton* b = AddButton(clGreen);
    b->SetEnabled(false);
    bool pressed = false;
    b->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { pressed = true; };
    const TPoint c = CentreOfButton(b);
    EXPECT_EQ(HitAt(Wnd, c), htCaption);
    EXPECT_EQ(P->HotHT(), 0);
    EXPECT_EQ(b->Data.State, 0);
    EXPECT_FALSE(pressed);
    // Not even a press that names its code acts on it.
    user::SendMessage(Wnd->WindowHandle(), user::WM_NCLBUTTONDOWN, htTitleButton, user::MAKELPARAM(c.x, c.y));
    EXPECT_FALSE(pressed);
    EXPECT_EQ(b->Data.State, 0);
}

TEST_F(TitleButtons, WithoutSkinDataOnlyTheGlyphIsDrawnAtTheSkinsWidth) {
    TsTitleButton* b = AddButton(clRed);
    const int width = b->Data.Rect.Width();
    b->SetUseSkinData(false);
    P->RefreshFormFrame();
    Pump();
    EXPECT_EQ(b->Data.MaskIndex, -1);
    EXPECT_EQ(b->Data.Rect.Width(), width);
}

// The setter takes a copy of every button: settings, glyph and events; the given collection stays the caller's.
TEST_F(TitleButtons, TheSetterCopiesEveryButtonOfTheGivenCollection) {
    AddButton(clRed)->SetName("Old");
    TsTitleButtons given(nullptr);
    TsTitleButton* pin = given.Add();
    pin->SetName("Pin");
    pin->SetEnabled(false);
    pin->SetUseSkinData(false);
    TBitmap glyph;
    glyph.SetSize(7, 5);
    pin->SetGlyph(&glyph);
    int downs = 0;
    pin->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    given.Add()->SetName("Note");
    P->SetTitleButtons(&given);
    ASSERT_EQ(P->TitleButtons()->Count(), 2);
    TsTitleButton* copy = P->TitleButtons()->Items(0);
    EXPECT_EQ(copy->Name(), "Pin");
    EXPECT_FALSE(copy->Enabled());
    EXPECT_FALSE(copy->UseSkinData());
    EXPECT_NE(copy->Glyph(), pin->Glyph());
    EXPECT_EQ(copy->Glyph()->Width(), 7);
    EXPECT_EQ(copy->Glyph()->Height(), 5);
    copy->DoMouseDown(mbLeft, {}, 0, 0);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(P->TitleButtons()->Items(1)->Name(), "Note");
    EXPECT_TRUE(P->TitleButtons()->Items(1)->Enabled());
    EXPECT_EQ(given.Count(), 2);
}

// A release over a hot button that no press began leaves it hot and calls nothing.
TEST_F(TitleButtons, AReleaseThatNoPressBeganLeavesTheButtonHot) {
    TsTitleButton* b = AddButton(clBlue);
    bool released = false;
    b->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { released = true; };
    const TPoint c = CentreOfButton(b);
    Display->MoveMouse(c.x, c.y);
    Pump();
    ASSERT_EQ(P->HotHT(), htTitleButton);
    ASSERT_EQ(b->Data.State, 1);
    ASSERT_FALSE(CaptionButtonDown());
    Wnd->Perform(user::WM_NCLBUTTONUP, WPARAM(htTitleButton), user::MAKELPARAM(c.x, c.y));
    EXPECT_FALSE(released);
    EXPECT_EQ(P->HotHT(), htTitleButton);
    EXPECT_EQ(b->Data.State, 1);
}

TEST_F(TitleButtons, TheOwnTitleIconReplacesTheFormsIconAtItsSize) {
    TBitmap glyph;
    glyph.SetSize(12, 12);
    glyph.Canvas()->Brush()->SetColor(clBlack);
    glyph.Canvas()->FillRect(TRect {0, 0, 12, 12});
    glyph.Canvas()->Brush()->SetColor(clLime);
    glyph.Canvas()->FillRect(TRect {1, 1, 11, 11});
    P->TitleIcon()->SetGlyph(&glyph);
    P->TitleIcon()->SetWidth(12);
    P->TitleIcon()->SetHeight(12);
    P->RefreshFormFrame();
    Pump();
    EXPECT_EQ(P->IconRect().Width(), 12);
    const TPoint c = CentreOf(Wnd, P->IconRect());
    EXPECT_EQ(Display->ScreenPixel(c.x, c.y) & 0xFFFFFF, gdi::COLORREF(clLime));
}

}
}
