// TsColorBox: the list a style gives, the Selected rules, the custom colour by mouse and Enter, and the swatches
// of the skinned list.
#include "support/ControlsKit.h"

#include "platform/classes/Colors.h"
#include "platform/classes/TForm.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/ListBox.h"
#include "platform/user/display/Display.h"

#include "skin/controls/sComboBoxes_ColorBox.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sCommonData.h"

#include <algorithm>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

// A colour box whose custom colour comes from the test.
class PickingColorBox : public TsColorBox {
public:
    using TsColorBox::TsColorBox;
    TColor Picked = clNone;
    TColor Offered = clNone;   // the colour the dialog was to open at
    int Asked = 0;

protected:
    bool PickCustomColor(TColor& color) override {
        ++Asked;
        Offered = color;
        if (Picked == clNone) return false;
        color = Picked;
        return true;
    }
};

class ColorBoxTest : public ControlsTest, public ::testing::WithParamInterface<int> {
protected:
    PickingColorBox* MakeBox(TsColorBoxStyle style) {
        auto* box = Create<PickingColorBox>(Form);
        box->SetBounds(20, 20, 170, 22);
        box->SetStyle(style);
        box->SetParent(Form);
        Pump();
        return box;
    }
    // A box with "Custom..." showing red, with the focus.
    PickingColorBox* FocusedRedBox() {
        PickingColorBox* box = MakeBox({cbStandardColors, cbCustomColor});
        box->SetSelected(clRed);
        box->SetFocus();
        Pump();
        return box;
    }
    void ClickListItem(TsColorBox* box, int index) {
        user::SendMessage(box->ListHandle(), user::LB_SETTOPINDEX, user::WPARAM(index), 0);
        Pump();
        gdi::RECT r {};
        user::SendMessage(box->ListHandle(), user::LB_GETITEMRECT, user::WPARAM(index), user::LPARAM(&r));
        gdi::POINT p {40, (r.top + r.bottom) / 2};
        user::ClientToScreen(box->ListHandle(), &p);
        Display->Click(p.x, p.y);
        Pump();
    }
};

TEST_P(ColorBoxTest, NothingSelectedReadsTheNoColourValueAndAnUnlistedColourGoesToCustom) {
    UseSkin(GetParam());
    PickingColorBox* plain = MakeBox({cbStandardColors});
    EXPECT_EQ(plain->Selected(), clBlack);
    plain->SetItemIndex(-1);
    EXPECT_EQ(plain->Selected(), TColor(0xFF000000u));
    plain->SetSelected(clRed);
    EXPECT_EQ(plain->Selected(), clRed);
    EXPECT_EQ(plain->Items()->Get(plain->ItemIndex()), "clRed");
    plain->SetSelected(TColor(0x123456));   // in no item, no custom item
    EXPECT_EQ(plain->ItemIndex(), -1);
    EXPECT_EQ(plain->Selected(), TColor(0xFF000000u));

    PickingColorBox* custom = MakeBox({cbStandardColors, cbCustomColor});
    custom->SetSelected(TColor(0x123456));
    EXPECT_EQ(custom->ItemIndex(), 0);
    EXPECT_EQ(custom->Items()->Get(0), "Custom...");
    EXPECT_EQ(custom->Colors(0), TColor(0x123456));
    EXPECT_EQ(custom->Selected(), TColor(0x123456));
    custom->SetSelected(clBlue);   // a listed colour: its own item, Custom... keeps its colour
    EXPECT_EQ(custom->Items()->Get(custom->ItemIndex()), "clBlue");
    EXPECT_EQ(custom->Colors(0), TColor(0x123456));
    custom->SetSelected(TColor(0xFF000000u));
    EXPECT_EQ(custom->ItemIndex(), -1);
}

TEST_P(ColorBoxTest, SelectedIsKeptWithoutAWindowAndAppliedWhenTheListFills) {
    UseSkin(GetParam());
    auto* box = Create<TsColorBox>(Form);
    box->SetSelected(clTeal);
    EXPECT_EQ(box->Selected(), clTeal);
    box->SetParent(Form);
    Pump();
    EXPECT_EQ(box->Items()->Get(box->ItemIndex()), "clTeal");
    EXPECT_EQ(box->Selected(), clTeal);
}

TEST_P(ColorBoxTest, StylesChooseTheListAndAnEmptyStyleDisables) {
    UseSkin(GetParam());
    PickingColorBox* box = MakeBox({cbStandardColors, cbExtendedColors, cbPrettyNames});
    EXPECT_EQ(box->Items()->Count(), 20);
    EXPECT_EQ(box->Items()->Get(17), "Sky Blue");
    box->SetStyle({});
    EXPECT_FALSE(box->Enabled());
    EXPECT_EQ(box->Items()->Count(), 0);
    box->SetStyle({cbCustomColor});
    EXPECT_TRUE(box->Enabled());
    EXPECT_EQ(box->Items()->Count(), 1);
}

// After the 16 standard and 4 extended colours, the system colours, clDefault and clNone in alphabetical order.
TEST_P(ColorBoxTest, TheSystemColoursFollowInAlphabeticalOrder) {
    UseSkin(GetParam());
    PickingColorBox* box = MakeBox({cbStandardColors, cbExtendedColors, cbSystemColors, cbIncludeNone,
        cbIncludeDefault});
    ASSERT_GT(box->Items()->Count(), 22);
    EXPECT_EQ(box->Items()->Get(19), "clMedGray");
    EXPECT_EQ(box->Items()->Get(20), "cl3DDkShadow");
    for (int i = 21; i < box->Items()->Count(); ++i)
        EXPECT_LT(box->Items()->Get(i - 1), box->Items()->Get(i)) << i;
}

TEST_P(ColorBoxTest, ClosingTheListOnCustomOrEnterAsksForTheColour) {
    UseSkin(GetParam());
    PickingColorBox* box = MakeBox({cbStandardColors, cbCustomColor});
    box->SetSelected(clMaroon);   // item 0 stays in view
    std::vector<std::string> log;
    box->OnCloseUp = [&](TObject*) { log.push_back("CloseUp"); };
    box->OnSelect = [&](TObject*) { log.push_back("Select " + std::to_string(box->ItemIndex())); };
    box->Picked = TColor(0x336699);
    ClickAt(box, box->Width() - 8, 10);
    ASSERT_TRUE(box->DroppedDown());
    ClickListItem(box, 0);
    EXPECT_EQ(box->Asked, 1);
    EXPECT_EQ(box->Selected(), TColor(0x336699));
    EXPECT_EQ(log, (std::vector<std::string> {"CloseUp", "Select 0"}));
    box->Picked = TColor(0x224466);
    Key(user::VK_RETURN);
    EXPECT_EQ(box->Asked, 2);
    EXPECT_EQ(box->Colors(0), TColor(0x224466));
    Key(user::VK_DOWN);   // moving by keys does not ask
    EXPECT_EQ(box->Asked, 2);
}

TEST_P(ColorBoxTest, TheCustomColourDialogOpensAtTheColourShownBefore) {
    UseSkin(GetParam());
    PickingColorBox* box = MakeBox({cbStandardColors, cbCustomColor});
    box->SetSelected(clMaroon);
    ClickAt(box, box->Width() - 8, 10);
    ClickListItem(box, 0);
    EXPECT_EQ(box->Offered, clMaroon);
    int red = -1;
    for (int i = 1; i < box->Items()->Count(); ++i)
        if (box->Colors(i) == clRed) red = i;
    ASSERT_GT(red, 0);
    ClickAt(box, box->Width() - 8, 10);
    ClickListItem(box, red);
    ASSERT_EQ(box->Selected(), clRed);
    ClickAt(box, box->Width() - 8, 10);
    ClickListItem(box, 0);
    EXPECT_EQ(box->Offered, clRed);
}

// Moving through the open list by keys passes over "Custom..." on the way: the dialog still opens at the colour
// the box showed when the list opened.
TEST_P(ColorBoxTest, TheCustomColourDialogOpensAtTheColourShownBeforeTheKeysMovedThroughTheList) {
    UseSkin(GetParam());
    PickingColorBox* box = FocusedRedBox();
    box->SetDroppedDown(true);
    Pump();
    ASSERT_TRUE(box->DroppedDown());
    while (box->ItemIndex() > 0)
        Key(user::VK_UP);
    EXPECT_EQ(box->Asked, 0);
    Key(user::VK_RETURN);
    EXPECT_FALSE(box->DroppedDown());
    EXPECT_EQ(box->Asked, 1);
    EXPECT_EQ(box->Offered, clRed);
}

// Cancelling the dialog changes nothing: the box shows the colour it showed before, not "Custom..." in black.
TEST_P(ColorBoxTest, CancellingTheCustomColourKeepsTheColourShownBefore) {
    UseSkin(GetParam());
    PickingColorBox* box = MakeBox({cbStandardColors, cbCustomColor});
    box->SetSelected(clMaroon);
    ClickAt(box, box->Width() - 8, 10);
    ClickListItem(box, 0);
    EXPECT_EQ(box->Asked, 1);
    EXPECT_EQ(box->Selected(), clMaroon);
    EXPECT_EQ(box->Items()->Get(box->ItemIndex()), "clMaroon");
    EXPECT_EQ(box->Colors(0), clBlack);   // the custom colour as it was
}

// Home in the open list passes over "Custom..."; Escape then closes the list without choosing: the box shows the
// colour it showed before the list opened, asks for nothing, and reads that colour.
TEST_P(ColorBoxTest, HomeThenEscapeInTheOpenListPutsBackTheColourShownBefore) {
    UseSkin(GetParam());
    PickingColorBox* box = FocusedRedBox();
    ClickAt(box, box->Width() - 8, 10);
    ASSERT_TRUE(box->DroppedDown());
    Key(user::VK_HOME);
    EXPECT_EQ(box->ItemIndex(), 0);
    Key(user::VK_ESCAPE);
    EXPECT_FALSE(box->DroppedDown());
    EXPECT_EQ(box->Asked, 0);
    EXPECT_EQ(box->Selected(), clRed);
    ASSERT_GE(box->ItemIndex(), 0);
    EXPECT_EQ(box->Items()->Get(box->ItemIndex()), "clRed");
    Key(user::VK_DOWN);   // the list closed for good: moving by keys asks for nothing
    EXPECT_EQ(box->Asked, 0);
}

// Selected looks through every item, "Custom..." first; the list filled again keeps the first item's colour as
// the custom colour, whatever that item was.
TEST_P(ColorBoxTest, TheCustomItemIsAnItemLikeTheOthersAndKeepsTheFirstColour) {
    UseSkin(GetParam());
    PickingColorBox* box = MakeBox({cbStandardColors, cbCustomColor});
    EXPECT_EQ(box->Colors(0), clBlack);
    box->SetSelected(clBlack);
    EXPECT_EQ(box->ItemIndex(), 0);
    box->SetSelected(clRed);
    EXPECT_EQ(box->Items()->Get(box->ItemIndex()), "clRed");
    PickingColorBox* extended = MakeBox({cbExtendedColors});
    ASSERT_EQ(extended->Colors(0), clMoneyGreen);
    extended->SetStyle({cbExtendedColors, cbCustomColor});
    EXPECT_EQ(extended->Items()->Get(0), "Custom...");
    EXPECT_EQ(extended->Colors(0), clMoneyGreen);
}

// A colour chosen by keys in the open list and Enter is the colour shown from then on: Home then Escape in the
// list opened next puts that colour back, not the one shown before the first list.
TEST_P(ColorBoxTest, EscapeAfterAColourChosenByKeysInTheListPutsBackThatColour) {
    UseSkin(GetParam());
    PickingColorBox* box = FocusedRedBox();
    ClickAt(box, box->Width() - 8, 10);
    ASSERT_TRUE(box->DroppedDown());
    for (int i = 0; i < 3; ++i)
        Key(user::VK_DOWN);
    Key(user::VK_RETURN);
    EXPECT_FALSE(box->DroppedDown());
    EXPECT_EQ(box->Selected(), clBlue);
    ClickAt(box, box->Width() - 8, 10);
    ASSERT_TRUE(box->DroppedDown());
    Key(user::VK_HOME);
    Key(user::VK_ESCAPE);
    EXPECT_FALSE(box->DroppedDown());
    EXPECT_EQ(box->Asked, 0);
    EXPECT_EQ(box->Selected(), clBlue);
    ASSERT_GE(box->ItemIndex(), 0);
    EXPECT_EQ(box->Items()->Get(box->ItemIndex()), "clBlue");
}

INSTANTIATE_TEST_SUITE_P(NoSkinAndMacOS, ColorBoxTest, ::testing::Values(-1, 0),
    [](const auto& info) { return SkinShortName(info.param); });

// Without a skin a disabled box writes its colour's name in its own font colour, as an enabled one does.
TEST_F(ColorBoxTest, WithoutASkinADisabledBoxWritesTheNameInItsFontColour) {
    UseSkin(-1);
    PickingColorBox* box = MakeBox({cbStandardColors});
    box->SetSelected(clMaroon);
    box->Font()->SetColor(TColor(0x00C000));
    box->SetEnabled(false);
    Pump();
    const std::vector<gdi::COLORREF> pixels = ScreenPixels(box, TRect {24, 3, 100, box->Height() - 3});
    EXPECT_GT(std::count(pixels.begin(), pixels.end(), gdi::COLORREF(0x00C000)), 0);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), gdi::COLORREF(ColorToRGB(clGrayText))), 0);
}

class ColorBoxSkinned : public ColorBoxTest { };

// In the skinned list every swatch is filled with its colour, names or not; a dark colour is framed in itself.
TEST_F(ColorBoxSkinned, TheDroppedListFillsItsSwatchesWithAndWithoutNames) {
    UseSkin(1);
    for (const bool names : {true, false}) {
        PickingColorBox* box = MakeBox({cbStandardColors});
        box->SetShowColorName(names);
        box->SetSelected(clBlack);   // the list opens at its top
        ClickAt(box, box->Width() - 8, 10);
        ASSERT_TRUE(box->DroppedDown());
        user::FlushDisplay();
        gdi::RECT r {};
        user::SendMessage(box->ListHandle(), user::LB_GETITEMRECT, 1 /* clMaroon */, user::LPARAM(&r));
        const TRect swatch = box->SwatchRect(r, TOwnerDrawState {}, true);
        gdi::POINT centre {(swatch.left + swatch.right) / 2, (swatch.top + swatch.bottom) / 2};
        gdi::POINT edge {swatch.left, centre.y};
        user::ClientToScreen(box->ListHandle(), &centre);
        user::ClientToScreen(box->ListHandle(), &edge);
        EXPECT_EQ(Display->ScreenPixel(edge.x, edge.y), gdi::COLORREF(0x000080)) << names;   // a dark colour's frame
        EXPECT_EQ(Display->ScreenPixel(centre.x, centre.y), gdi::COLORREF(0x000080)) << names;
        Key(user::VK_ESCAPE);
        box->Free();
    }
}

// The list of the options window's boxes (every colour, pretty names, "Custom...") in each skin: every line
// shows its own colour inside a black frame (light colours) or a frame of the colour itself; written as a PNG.
class ColorBoxListPicture : public ColorBoxTest { };

TEST_P(ColorBoxListPicture, EveryLineOfTheOpenListShowsItsColour) {
    const int which = GetParam();
    UseSkin(which);
    PickingColorBox* box = MakeBox({cbStandardColors, cbExtendedColors, cbSystemColors, cbCustomColor, cbPrettyNames});
    box->SetWidth(250);
    box->SetDropDownCount(24);
    box->SetSelected(clWhite);
    Pump();
    ASSERT_EQ(PaintsSkinned(box->SkinData()), which >= 0);
    ClickAt(box, box->Width() - 8, 10);
    ASSERT_TRUE(box->DroppedDown());
    // Off the chosen line, so each colour shows with the frame of an unselected line.
    user::SendMessage(box->ListHandle(), user::LB_SETTOPINDEX, 0, 0);
    Pump();
    user::FlushDisplay();
    const int top = int(user::SendMessage(box->ListHandle(), user::LB_GETTOPINDEX, 0, 0));
    int seen = 0;
    for (int i = top; i < box->Items()->Count(); ++i) {
        gdi::RECT r {};
        user::SendMessage(box->ListHandle(), user::LB_GETITEMRECT, user::WPARAM(i), user::LPARAM(&r));
        const gdi::RECT client = user::ClientRect(box->ListHandle());
        if (r.bottom > client.bottom) break;
        if (i == box->ItemIndex()) continue;
        const TRect swatch = box->SwatchRect(r, TOwnerDrawState {}, true);
        gdi::POINT centre {(swatch.left + swatch.right) / 2, (swatch.top + swatch.bottom) / 2};
        gdi::POINT edge {swatch.left, centre.y};
        user::ClientToScreen(box->ListHandle(), &centre);
        user::ClientToScreen(box->ListHandle(), &edge);
        const TColor color = box->Colors(i);
        EXPECT_EQ(Display->ScreenPixel(centre.x, centre.y), gdi::COLORREF(ColorToRGB(color))) << box->Items()->Get(i);
        EXPECT_EQ(Display->ScreenPixel(edge.x, edge.y), gdi::COLORREF(ColorToRGB(SwatchFrameColor(color, false))))
            << box->Items()->Get(i);
        ++seen;
    }
    EXPECT_GE(seen, 20);
    const gdi::RECT face = user::WindowRect(box->WindowHandle());
    const gdi::RECT list = user::WindowRect(box->ListHandle());
    const gdi::RECT shot {face.left, face.top, std::max(face.right, list.right), std::max(face.bottom, list.bottom)};
    EXPECT_TRUE(Display->WriteScreenshotPng(PictureDir() + "/ColorBoxList_" + SkinShortName(which) + ".png", &shot));
    Key(user::VK_ESCAPE);
}

INSTANTIATE_TEST_SUITE_P(FourSkinsAndNone, ColorBoxListPicture, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return SkinShortName(info.param); });

TEST_F(ColorBoxSkinned, TheClosedFaceShowsTheSwatchOfTheChoice) {
    UseSkin(2);
    PickingColorBox* box = MakeBox({cbStandardColors});
    box->SetSelected(clLime);
    Pump();
    ASSERT_TRUE(PaintsSkinned(box->SkinData()));
    EXPECT_EQ(ScreenPixel(box, 3 + 8, box->Height() / 2), gdi::COLORREF(0x00FF00));
    box->SetShowColorName(false);
    Pump();
    EXPECT_EQ(ScreenPixel(box, box->Width() / 2, box->Height() / 2), gdi::COLORREF(0x00FF00));
}

}
