// TsCheckBox and TsRadioButton: one toggle per press by mouse and space bar, read-only, presses that leave,
// the grey state, auto size, skin changes and the unskinned look.
#include "support/ControlsKit.h"

#include "platform/classes/TForm.h"
#include "platform/classes/TImageList.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/controls/Button.h"

#include "skin/controls/sCheckBox.h"
#include "skin/controls/sControlClasses.h"
#include "skin/controls/sRadioButton.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class TsCheckBoxTest : public ControlsTest, public ::testing::WithParamInterface<int> {
protected:
    template <class T>
    T* Make(int top, const char* caption, int* clicks) {
        auto* c = Create<T>(Form);
        c->SetBounds(20, top, 140, 22);
        c->SetCaption(caption);
        c->SetParent(Form);
        c->OnClick = [clicks](TObject*) { ++*clicks; };
        Pump();
        return c;
    }
};

TEST_P(TsCheckBoxTest, TogglesOncePerPressByMouseAndBySpaceBar) {
    UseSkin(GetParam());
    int clicks = 0;
    auto* c = Make<TsCheckBox>(20, "Check", &clicks);
    EXPECT_EQ(c->SkinData()->Skinned(), GetParam() >= 0);
    ClickAt(c, 8, 10);
    EXPECT_EQ(c->State(), cbChecked);
    EXPECT_EQ(clicks, 1);
    ASSERT_TRUE(c->Focused());
    Key(user::VK_SPACE);
    EXPECT_EQ(c->State(), cbUnchecked);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(c->Pressed());
}

// Skinned, a press by the space bar ends at the release of any key: one toggle, and the key-up events go on.
TEST_P(TsCheckBoxTest, ASpacePressEndsAtTheFirstKeyRelease) {
    if (GetParam() < 0) GTEST_SKIP() << "the native box presses itself";
    UseSkin(GetParam());
    int clicks = 0;
    auto* c = Make<TsCheckBox>(20, "Check", &clicks);
    std::vector<user::WORD> ups;
    c->OnKeyUp = [&](TObject*, user::WORD& key, TShiftState) { ups.push_back(key); };
    c->SetFocus();
    Pump();
    Display->KeyDown(user::VK_SPACE, " ");
    Pump();
    EXPECT_TRUE(c->Pressed());
    Display->Press('A', "a");
    Pump();
    EXPECT_FALSE(c->Pressed());
    EXPECT_EQ(c->State(), cbChecked);
    EXPECT_EQ(clicks, 1);
    Display->KeyUp(user::VK_SPACE);
    Pump();
    EXPECT_EQ(c->State(), cbChecked);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(ups, (std::vector<user::WORD> {user::WORD('A'), user::WORD(user::VK_SPACE)}));
}

TEST_P(TsCheckBoxTest, ReadOnlyIgnoresClicksDoubleClicksAndTheSpaceBar) {
    UseSkin(GetParam());
    int clicks = 0;
    auto* c = Make<TsCheckBox>(20, "Read only", &clicks);
    c->SetReadOnly(true);
    ClickAt(c, 8, 10);
    ClickAt(c, 8, 10);
    c->SetFocus();
    Pump();
    Key(user::VK_SPACE);
    EXPECT_EQ(c->State(), cbUnchecked);
    EXPECT_EQ(clicks, 0);
}

TEST_P(TsCheckBoxTest, APressThatLeavesTheControlDoesNotToggle) {
    UseSkin(GetParam());
    int clicks = 0;
    auto* c = Make<TsCheckBox>(20, "Leave", &clicks);
    DownAt(c, 8, 10);
    UpAt(c, 200, 150);
    EXPECT_EQ(c->State(), cbUnchecked);
    EXPECT_EQ(clicks, 0);
}

TEST_P(TsCheckBoxTest, AllowGrayedCyclesThroughTheGreyState) {
    UseSkin(GetParam());
    int clicks = 0;
    auto* c = Make<TsCheckBox>(20, "Three", &clicks);
    c->SetAllowGrayed(true);
    const TCheckBoxState expected[] = {cbGrayed, cbChecked, cbUnchecked};
    gdi::COLORREF seen[3];
    for (int i = 0; i < 3; ++i) {
        ClickAt(c, 8, 10);
        EXPECT_EQ(c->State(), expected[i]) << i;
        const TRect g = c->GlyphRect();
        seen[i] = ScreenPixel(c, (g.left + g.right) / 2, (g.top + g.bottom) / 2);
    }
    EXPECT_EQ(clicks, 3);
    if (GetParam() >= 0) {
        EXPECT_NE(seen[1], seen[2]);   // the box images differ
    }
}

TEST_P(TsCheckBoxTest, RadioButtonStaysCheckedAndClearsItsSibling) {
    UseSkin(GetParam());
    int clicks = 0;
    auto* a = Make<TsRadioButton>(20, "First", &clicks);
    auto* b = Make<TsRadioButton>(50, "Second", &clicks);
    ClickAt(a, 8, 10);
    EXPECT_TRUE(a->Checked());
    ClickAt(a, 8, 10);
    EXPECT_TRUE(a->Checked());   // a checked radio button stays checked
    ClickAt(b, 8, 10);
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    a->SetFocus();
    Pump();
    Key(user::VK_SPACE);
    EXPECT_TRUE(a->Checked());
    EXPECT_FALSE(b->Checked());
    EXPECT_EQ(clicks, 3);   // a change to checked clicks once
}

TEST_P(TsCheckBoxTest, HotWhileTheMouseIsOverAndPressedWhileHeld) {
    UseSkin(GetParam());
    if (GetParam() < 0) GTEST_SKIP() << "the plain look has no hot state";
    int clicks = 0;
    auto* c = Make<TsCheckBox>(20, "Hover", &clicks);
    MoveTo(Form, 300, 200);
    EXPECT_FALSE(c->SkinData()->IsHot());
    MoveTo(c, 8, 10);
    EXPECT_TRUE(c->SkinData()->IsHot());
    DownAt(c, 8, 10);
    EXPECT_TRUE(c->Pressed());
    UpAt(c, 8, 10);
    EXPECT_FALSE(c->Pressed());
    EXPECT_EQ(c->State(), cbChecked);
}

INSTANTIATE_TEST_SUITE_P(SkinsAndNone, TsCheckBoxTest, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return SkinShortName(info.param); });

class TsCheckBoxSkinned : public ControlsTest {
protected:
    // A check box above a radio button on the form, shown.
    std::pair<TsCheckBox*, TsRadioButton*> MakeBoxAndRadio() {
        auto* box = Create<TsCheckBox>(Form);
        box->SetBounds(20, 20, 140, 22);
        box->SetParent(Form);
        auto* radio = Create<TsRadioButton>(Form);
        radio->SetBounds(20, 50, 140, 22);
        radio->SetParent(Form);
        Pump();
        return {box, radio};
    }
};

// Unskinned and read-only, a check box refuses the pushed look only while a key or the mouse is down on it; a
// radio button refuses it always.
TEST_F(TsCheckBoxSkinned, AReadOnlyPlainCheckBoxRefusesThePushedLookOnlyDuringAPress) {
    UseSkin(-1);
    auto [box, radio] = MakeBoxAndRadio();
    box->SetReadOnly(true);
    radio->SetReadOnly(true);
    auto pushed = [](TWinControl* c) {
        return (user::SendMessage(c->Handle(), user::BM_GETSTATE, 0, 0) & user::BST_PUSHED) != 0;
    };
    box->Perform(user::BM_SETSTATE, 1, 0);
    EXPECT_TRUE(pushed(box));
    box->Perform(user::BM_SETSTATE, 0, 0);
    box->Perform(user::WM_KEYDOWN, 'A', 0);
    EXPECT_TRUE(box->Pressed());
    box->Perform(user::BM_SETSTATE, 1, 0);
    EXPECT_FALSE(pushed(box));
    box->Perform(user::WM_KEYUP, 'A', 0);
    EXPECT_FALSE(box->Pressed());
    radio->Perform(user::BM_SETSTATE, 1, 0);
    EXPECT_FALSE(pushed(radio));
}

// Skinned, the pushed state a program sets reaches the native button, and a change of Enabled forgets the hover
// and the focus even while the mouse stays over the box.
TEST_F(TsCheckBoxSkinned, APushedStateSetInCodeReachesTheButtonAndEnabledChangesForgetTheHover) {
    UseSkin(0);
    auto [box, radio] = MakeBoxAndRadio();
    for (TWinControl* c : {static_cast<TWinControl*>(box), static_cast<TWinControl*>(radio)}) {
        c->Perform(user::BM_SETSTATE, 1, 0);
        EXPECT_NE(user::SendMessage(c->Handle(), user::BM_GETSTATE, 0, 0) & user::BST_PUSHED, 0);
        c->Perform(user::BM_SETSTATE, 0, 0);
        EXPECT_EQ(user::SendMessage(c->Handle(), user::BM_GETSTATE, 0, 0) & user::BST_PUSHED, 0);
    }
    MoveTo(box, 8, 10);
    ASSERT_TRUE(box->SkinData()->MouseAbove);
    box->SetEnabled(false);
    box->SetEnabled(true);
    Pump();
    EXPECT_FALSE(box->SkinData()->MouseAbove);
}

TEST_F(TsCheckBoxSkinned, AutoSizeFitsTheBoxAndMultiLineTurnsItOff) {
    UseSkin(1);
    auto* c = Create<TsCheckBox>(Form);
    c->SetBounds(20, 20, 200, 40);
    c->SetParent(Form);
    Pump();
    c->AdjustSize();
    const TRect g = c->GlyphRect();
    EXPECT_EQ(c->Width(), g.right - g.left + 2 * c->Margin());   // empty caption: box and margins
    c->SetCaption("A longer caption");
    Pump();
    EXPECT_GT(c->Width(), g.right - g.left + 2 * c->Margin() + 40);
    c->SetMultiLine(true);
    EXPECT_FALSE(c->AutoSize());
    EXPECT_TRUE(c->MultiLine());
}

// A multi-line caption is wrapped and centred across its rectangle beside the box, from the rectangle's top.
TEST_F(TsCheckBoxSkinned, AMultiLineCaptionIsCentredAcrossItsRectangleFromItsTop) {
    UseSkin(1);
    auto* c = Create<TsCheckBox>(Form);
    c->SetAutoSize(false);
    c->SetMultiLine(true);
    c->SetBounds(20, 20, 160, 50);
    c->SetCaption("A\r\nBB");
    c->SetParent(Form);
    Pump();
    const TRect caption = c->CaptionRect();
    EXPECT_EQ(caption.top, c->Margin());
    EXPECT_EQ(caption.bottom, c->Height() - c->Margin() - 2);
    const int width = caption.right - caption.left;
    const std::vector<gdi::COLORREF> pixels = ScreenPixels(c, caption);
    const gdi::COLORREF background = pixels[std::size_t(width - 1)];
    int first = width, last = -1, top = -1;
    for (std::size_t i = 0; i < pixels.size(); ++i)
        if (pixels[i] != background) {
            first = std::min(first, int(i % std::size_t(width)));
            last = std::max(last, int(i % std::size_t(width)));
            if (top < 0) top = int(i / std::size_t(width));
        }
    ASSERT_GE(last, 0) << "the caption shows";
    EXPECT_NEAR((first + last) / 2, width / 2, 4) << "centred across";
    EXPECT_LT(top, 6) << "from the top";
}

// When the skin goes, the native check box is told the whole state: a grey box stays grey.
// A read-only radio button refuses the user, not the program: checked in code, the native button shows it.
TEST_F(TsCheckBoxSkinned, AReadOnlyRadioButtonCheckedInCodeShowsChecked) {
    UseSkin(-1);
    auto* r = Create<TsRadioButton>(Form);
    r->SetBounds(20, 20, 120, 22);
    r->SetCaption("Fixed");
    r->SetReadOnly(true);
    r->SetParent(Form);
    Pump();
    r->SetChecked(true);
    EXPECT_TRUE(r->Checked());
    EXPECT_EQ(user::SendMessage(r->Handle(), user::BM_GETCHECK, 0, 0), user::LRESULT(user::BST_CHECKED));
}

TEST_F(TsCheckBoxSkinned, AGreyBoxStaysGreyWhenTheSkinGoes) {
    UseSkin(1);
    auto* c = Create<TsCheckBox>(Form);
    c->SetBounds(20, 20, 120, 22);
    c->SetAllowGrayed(true);
    c->SetCaption("Grey");
    c->SetParent(Form);
    c->SetState(cbGrayed);
    Pump();
    UseSkin(-1);
    EXPECT_EQ(c->State(), cbGrayed);
    EXPECT_EQ(user::SendMessage(c->Handle(), user::BM_GETCHECK, 0, 0), user::LRESULT(user::BST_INDETERMINATE));
}

TEST_F(TsCheckBoxSkinned, RepaintsInANewSkinAndFallsBackToThePlainLook) {
    UseSkin(0);
    auto* c = Create<TsCheckBox>(Form);
    c->SetBounds(20, 20, 120, 22);
    c->SetCaption("Skin");
    c->SetParent(Form);
    c->SetChecked(true);
    Pump();
    const TRect g = c->GlyphRect();
    const gdi::COLORREF first = ScreenPixel(c, g.left + 3, (g.top + g.bottom) / 2);
    UseSkin(2);
    EXPECT_TRUE(c->SkinData()->Skinned());
    EXPECT_NE(ScreenPixel(c, g.left + 3, (g.top + g.bottom) / 2), first);
    UseSkin(-1);
    EXPECT_FALSE(c->SkinData()->Skinned());
    EXPECT_TRUE(c->Checked());
    int clicks = 0;
    c->OnClick = [&clicks](TObject*) { ++clicks; };
    ClickAt(c, 8, 10);
    EXPECT_FALSE(c->Checked());
    EXPECT_EQ(clicks, 1);
}

class TsCheckBoxStates : public TsCheckBoxSkinned {
protected:
    void Settle() {
        for (int i = 0; i < 20; ++i) Advance(10);
    }
    // A shown check box in a skin whose CHECKBOX section fades in five frames.
    TsCheckBox* FadingBox() {
        UseSkin(1);
        TsGeneralData& section = Manager->Sections[std::size_t(Manager->GetSkinIndex("CHECKBOX"))];
        section.FadingEnabled = true;
        section.FadingIterations = 5;
        auto* box = Create<TsCheckBox>(Form);
        box->SetBounds(20, 20, 140, 22);
        box->SetCaption("Fade");
        box->SetParent(Form);
        Pump();
        return box;
    }
    std::vector<gdi::COLORREF> Glyph(const TControl* c) {
        Settle();
        const TRect g = static_cast<const TsCheckBox*>(c)->GlyphRect();
        return ScreenPixels(c, g);
    }
};

// A state set by the program, or by the caption's mnemonic, is painted like one the user clicked.
TEST_F(TsCheckBoxStates, AStateSetInCodeOrByTheMnemonicIsPainted) {
    UseSkin(1);
    auto* box = Create<TsCheckBox>(Form);
    box->SetBounds(20, 20, 140, 22);
    box->SetCaption("&Mark");
    box->SetAllowGrayed(true);
    box->SetParent(Form);
    Pump();
    const std::vector<gdi::COLORREF> unchecked = Glyph(box);
    box->SetState(cbChecked);
    const std::vector<gdi::COLORREF> checked = Glyph(box);
    EXPECT_NE(checked, unchecked) << "checked in code";
    box->SetState(cbGrayed);
    EXPECT_NE(Glyph(box), checked) << "grey in code";
    box->SetState(cbUnchecked);
    EXPECT_EQ(Glyph(box), unchecked) << "unchecked in code";

    box->SetFocus();
    const std::vector<gdi::COLORREF> focused = Glyph(box);
    box->Perform(CM_DIALOGCHAR, 'm', 0);
    EXPECT_EQ(box->State(), cbGrayed);
    EXPECT_NE(Glyph(box), focused) << "by the mnemonic";
    box->SetState(cbUnchecked);
    EXPECT_EQ(Glyph(box), focused);
}

// Nothing paints over a cross-fade: a paint that comes while it runs leaves the fade's frame on the screen.
TEST_F(TsCheckBoxStates, APaintDuringAFadeLeavesTheFadesFrame) {
    TsCheckBox* box = FadingBox();
    const std::vector<gdi::COLORREF> unchecked = Glyph(box);
    box->SetState(cbChecked);
    ASSERT_NE(box->FadeTimer(), nullptr) << "the change fades";
    box->Invalidate();
    Pump();
    EXPECT_EQ(ScreenPixels(box, box->GlyphRect()), unchecked) << "no frame yet: the old look stays";
    EXPECT_NE(Glyph(box), unchecked);
}

// A radio button takes BM_SETCHECK 0 and 1 only; either change is painted.
TEST_F(TsCheckBoxStates, ARadioButtonTakesCheckMessagesZeroAndOneAndPaintsThem) {
    UseSkin(1);
    auto* radio = Create<TsRadioButton>(Form);
    radio->SetBounds(20, 20, 140, 22);
    radio->SetCaption("Radio");
    radio->SetParent(Form);
    Pump();
    auto glyph = [&] {
        Settle();
        return ScreenPixels(radio, radio->GlyphRect());
    };
    const std::vector<gdi::COLORREF> off = glyph();
    user::SendMessage(radio->Handle(), user::BM_SETCHECK, user::BST_INDETERMINATE, 0);
    EXPECT_FALSE(radio->Checked());
    user::SendMessage(radio->Handle(), user::BM_SETCHECK, user::BST_CHECKED, 0);
    EXPECT_TRUE(radio->Checked());
    EXPECT_NE(glyph(), off);
    user::SendMessage(radio->Handle(), user::BM_SETCHECK, user::BST_UNCHECKED, 0);
    EXPECT_FALSE(radio->Checked());
    EXPECT_EQ(glyph(), off);
}

// A release on a checked radio button changes nothing, and the pressed look goes with it.
TEST_F(TsCheckBoxStates, ReleasingACheckedRadioButtonDropsThePressedLook) {
    UseSkin(1);
    auto* radio = Create<TsRadioButton>(Form);
    radio->SetBounds(20, 20, 140, 22);
    radio->SetCaption("Radio");
    radio->SetChecked(true);
    radio->SetParent(Form);
    Pump();
    auto glyph = [&] {
        Settle();
        return ScreenPixels(radio, radio->GlyphRect());
    };
    MoveTo(radio, 8, 10);
    const std::vector<gdi::COLORREF> hot = glyph();
    DownAt(radio, 8, 10);
    ASSERT_NE(glyph(), hot) << "pressed";
    UpAt(radio, 8, 10);
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ(glyph(), hot);
}

// Taking the focus while a cross-fade runs shows its next frame.
TEST_F(TsCheckBoxStates, TakingTheFocusDuringAFadeShowsItsNextFrame) {
    TsCheckBox* box = FadingBox();
    Settle();
    box->SetState(cbChecked);
    ASSERT_NE(box->FadeTimer(), nullptr);
    const int step = box->FadeTimer()->Step;
    box->SetFocus();
    ASSERT_NE(box->FadeTimer(), nullptr);
    EXPECT_GT(box->FadeTimer()->Step, step);   // a step for WM_SETFOCUS and one for CM_ENTER
}

// Skinned with AutoSize, bounds set in code keep the size the box and caption need; unskinned they are taken.
TEST_F(TsCheckBoxStates, AutoSizeHoldsBoundsSetInCodeWhileSkinned) {
    UseSkin(1);
    auto [box, radio] = MakeBoxAndRadio();
    box->SetCaption("Sized");
    const int width = box->Width();
    const int height = box->Height();
    box->SetBounds(30, 25, 300, 60);
    EXPECT_EQ(box->Left(), 30);
    EXPECT_EQ(box->Width(), width);
    EXPECT_EQ(box->Height(), height);
    box->SetAutoSize(false);
    box->SetBounds(30, 25, 300, 60);
    EXPECT_EQ(box->Width(), 300);
    UseSkin(-1);
    radio->SetBounds(20, 50, 300, 60);
    EXPECT_EQ(radio->Width(), 300);
}

// Read-only and skinned, the space bar reaches the key events and still neither presses nor toggles.
TEST_F(TsCheckBoxStates, AReadOnlyBoxReportsTheSpaceBarWithoutToggling) {
    UseSkin(1);
    auto [box, radio] = MakeBoxAndRadio();
    box->SetReadOnly(true);
    box->SetFocus();
    int downs = 0;
    int ups = 0;
    box->OnKeyDown = [&](TObject*, user::WORD&, TShiftState) { ++downs; };
    box->OnKeyUp = [&](TObject*, user::WORD&, TShiftState) { ++ups; };
    Key(user::VK_SPACE);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
    EXPECT_FALSE(box->Pressed());
    EXPECT_EQ(box->State(), cbUnchecked);
}

// A read-only check box refuses the user, not the program: checked in code, the native box shows it.
TEST_F(TsCheckBoxStates, AReadOnlyPlainCheckBoxCheckedInCodeShowsChecked) {
    UseSkin(-1);
    auto [box, radio] = MakeBoxAndRadio();
    box->SetReadOnly(true);
    box->SetChecked(true);
    EXPECT_EQ(user::SendMessage(box->Handle(), user::BM_GETCHECK, 0, 0), user::LRESULT(user::BST_CHECKED));
}

// A freed image list is forgotten: the box paints on without it.
TEST_F(TsCheckBoxStates, AFreedImageListIsForgotten) {
    UseSkin(1);
    auto* images = Create<TImageList>(Form);
    images->SetSize(48, 32);
    AddDiscImage(images, 0x2020E0);
    auto* box = Create<TsCheckBox>(Form);
    box->SetBounds(20, 20, 140, 40);
    box->SetCaption("Listed");
    box->SetImages(images);
    box->SetImgChecked(0);
    box->SetImgUnchecked(0);
    box->SetParent(Form);
    Pump();
    images->Free();
    EXPECT_EQ(box->Images(), nullptr);
    box->SetState(cbChecked);
    box->Invalidate();
    Settle();
    EXPECT_EQ(box->State(), cbChecked);
}

// A space press that loses the focus before its release is over: a later key release elsewhere toggles nothing.
TEST_F(TsCheckBoxStates, LosingTheFocusEndsASpacePress) {
    UseSkin(1);
    auto [box, radio] = MakeBoxAndRadio();
    box->SetFocus();
    box->Perform(user::WM_KEYDOWN, user::VK_SPACE, 0);
    ASSERT_TRUE(box->Pressed());
    radio->SetFocus();
    EXPECT_FALSE(box->Pressed());
    box->SetFocus();
    box->Perform(user::WM_KEYUP, 'A', 0);
    EXPECT_EQ(box->State(), cbUnchecked);
}

TEST(TsCheckControlClasses, AreRegisteredForFormText) {
    RegisterSkinControlClasses();
    EXPECT_EQ(FindClass("TsCheckBox"), TsCheckBox::StaticClass());
    EXPECT_EQ(FindClass("TsRadioButton"), TsRadioButton::StaticClass());
}

}
