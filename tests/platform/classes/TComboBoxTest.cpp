// TComboBox and TColorBox: items and the choice before and through the window, the events of choosing by keys
// and mouse in order, dropping with DropDownCount, the edit's text and keys, owner drawing, the colour list
// with its custom colour, and the published properties through form text.
#include "support/ControlsTestKit.h"
#include "support/RoundTrip.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TColorBox.h"
#include "platform/classes/TComboBox.h"
#include "platform/classes/TEdit.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TScreen.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/Focus.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ComboBox.h"
#include "platform/user/controls/ListBox.h"
#include "tests/platform/os/support/DesktopLocale.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class ComboTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        RegisterClasses({TComboBox::StaticClass(), TColorBox::StaticClass()});
        Form = NewForm(100, 100, 320, 240);
    }
    void TearDown() override {
        for (const std::string& e : Exceptions)
            ADD_FAILURE() << "exception in a handler: " << e;
        ControlsTest::TearDown();
    }
    TComboBox* AddCombo(TComboBoxStyle style, int items) {
        auto* combo = Create<TComboBox>(Form);
        combo->SetStyle(style);
        combo->SetBounds(10, 10, 150, 21);
        combo->SetParent(Form);
        for (int i = 0; i < items; ++i)
            combo->Items()->Add("Item " + std::to_string(i));
        return combo;
    }
    // Every event of the combo, in order.
    void Record(TCustomComboBox* combo) {
        combo->OnClick = [this](TObject*) { Events.push_back("Click"); };
        combo->OnChange = [this](TObject*) { Events.push_back("Change"); };
        combo->OnSelect = [this](TObject*) { Events.push_back("Select"); };
        combo->OnDropDown = [this](TObject*) { Events.push_back("DropDown"); };
        combo->OnCloseUp = [this](TObject*) { Events.push_back("CloseUp"); };
    }
    void Key(unsigned vk, const std::string& text = {}, unsigned modifiers = 0) {
        Display->Press(vk, text, modifiers);
        Pump();
    }
    TForm* Form = nullptr;
    std::vector<std::string> Events;
};

TEST_F(ComboTest, ItemsAndTheChoiceMadeBeforeTheWindowGoIntoIt) {
    auto* combo = Create<TComboBox>(Form);
    combo->SetStyle(csDropDownList);
    combo->Items()->Add("Русский");
    combo->Items()->Add("English");
    combo->SetItemIndex(1);
    EXPECT_FALSE(combo->HandleAllocated());
    combo->SetParent(Form);
    combo->HandleNeeded();
    EXPECT_EQ(user::SendMessage(combo->Handle(), user::CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "English");
    EXPECT_EQ(combo->EditHandle(), nullptr);
    EXPECT_NE(combo->ListHandle(), nullptr);
}

TEST_F(ComboTest, RemakingTheWindowKeepsTheItemsAndTheChoice) {
    auto* combo = AddCombo(csDropDownList, 4);
    combo->SetItemIndex(2);
    combo->SetStyle(csDropDown);
    EXPECT_NE(combo->EditHandle(), nullptr);
    EXPECT_EQ(combo->Items()->Count(), 4);
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), "Item 2");
    combo->SetSorted(true);
    EXPECT_EQ(combo->ItemIndex(), 2);
}

TEST_F(ComboTest, APlainDeleteWithTheWindowAliveTakesTheWindowAndItsHooksDown) {
    for (TComboBoxStyle style : {csDropDown, csDropDownList, csSimple}) {
        TComboBox* combo = AddCombo(style, 3);
        combo->HandleNeeded();
        const user::HWND window = combo->Handle();
        const user::HWND edit = combo->EditHandle();
        const user::HWND list = combo->ListHandle();
        ASSERT_NE(list, nullptr);
        delete combo;   // not Free: no BeforeDestruction
        Pump();
        EXPECT_FALSE(user::IsWindow(window)) << style;
        EXPECT_FALSE(edit != nullptr && user::IsWindow(edit)) << style;
        EXPECT_FALSE(user::IsWindow(list)) << style;
    }
}

TEST_F(ComboTest, ChoosingByKeysFiresClickThenSelectOrChange) {
    auto* combo = AddCombo(csDropDownList, 3);
    Record(combo);
    combo->SetFocus();
    Key(user::VK_DOWN);
    EXPECT_EQ(Events, (std::vector<std::string> {"Click", "Select"}));
    combo->OnSelect = nullptr;
    Events.clear();
    Key(user::VK_DOWN);
    EXPECT_EQ(Events, (std::vector<std::string> {"Click", "Change"}));
    EXPECT_EQ(combo->ItemIndex(), 1);
    Events.clear();
    combo->SetItemIndex(0);   // the program's choice fires nothing
    EXPECT_TRUE(Events.empty());
}

TEST_F(ComboTest, DroppingSizesTheListForDropDownCountAndChoosingByMouseFiresInOrder) {
    auto* combo = AddCombo(csDropDownList, 20);
    combo->SetDropDownCount(5);
    Record(combo);
    combo->SetDroppedDown(true);
    EXPECT_TRUE(combo->DroppedDown());
    user::HWND list = combo->ListHandle();
    const int itemHeight = int(user::SendMessage(combo->Handle(), user::CB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(user::WindowRect(list).Height(), 5 * itemHeight + 2);
    EXPECT_EQ(combo->Height(), user::WindowRect(combo->Handle()).Height());   // the face only
    EXPECT_EQ(Events, (std::vector<std::string> {"DropDown"}));
    user::RECT item {};
    user::SendMessage(list, user::LB_GETITEMRECT, 3, reinterpret_cast<user::LPARAM>(&item));
    user::POINT p {20, (item.top + item.bottom) / 2};
    user::ClientToScreen(list, &p);
    Display->Click(p.x, p.y);
    Pump();
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(Events, (std::vector<std::string> {"DropDown", "CloseUp", "Click", "Select"}));
}

TEST_F(ComboTest, FewItemsGiveAShortList) {
    auto* combo = AddCombo(csDropDown, 2);
    combo->SetDroppedDown(true);
    const int itemHeight = int(user::SendMessage(combo->Handle(), user::CB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(user::WindowRect(combo->ListHandle()).Height(), 2 * itemHeight + 2);
    combo->SetDroppedDown(false);
    EXPECT_FALSE(combo->DroppedDown());
}

TEST_F(ComboTest, TypingInTheEditFiresOnChangeAndTheEditsKeysReachTheControl) {
    auto* combo = AddCombo(csDropDown, 3);
    combo->SetItemIndex(1);
    Record(combo);
    std::vector<user::WORD> keys;
    combo->OnKeyDown = [&](TObject*, user::WORD& key, TShiftState) { keys.push_back(key); };
    combo->SetFocus();
    EXPECT_EQ(user::GetFocus(), combo->EditHandle());
    EXPECT_EQ(Form->ActiveControl(), combo);
    EXPECT_TRUE(combo->Focused());
    Display->Press('Z', "z");
    Pump();
    EXPECT_EQ(Events, (std::vector<std::string> {"Change"}));
    EXPECT_EQ(combo->Text(), "z");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(keys, (std::vector<user::WORD> {user::WORD('Z')}));
}

TEST_F(ComboTest, AKeyTakenByOnKeyDownDoesNotReachTheEdit) {
    auto* combo = AddCombo(csDropDown, 3);
    combo->OnKeyDown = [](TObject*, user::WORD& key, TShiftState) {
        if (key == user::VK_DOWN) key = 0;
    };
    combo->SetFocus();
    Key(user::VK_DOWN);
    EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST_F(ComboTest, OwnerDrawnStylesDrawTheFaceAndTheItemsThroughDrawItem) {
    auto* combo = Create<TComboBox>(Form);
    combo->SetStyle(csOwnerDrawFixed);
    combo->SetItemHeight(18);
    combo->SetBounds(10, 10, 150, 21);
    std::vector<std::pair<int, TOwnerDrawState>> drawn;
    combo->OnDrawItem = [&](TWinControl*, int index, const TRect& rect, TOwnerDrawState state) {
        drawn.emplace_back(index, state);
        combo->Canvas()->FillRect(rect);
    };
    combo->SetParent(Form);
    combo->Items()->Add("Red");
    combo->Items()->Add("Green");
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Height(), 18 + 6);
    drawn.clear();
    combo->SetFocus();
    Pump();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().first, 1);
    EXPECT_TRUE(drawn.back().second.Contains(odComboBoxEdit));
    EXPECT_TRUE(drawn.back().second.Contains(odSelected));
    drawn.clear();
    combo->SetDroppedDown(true);
    Pump();
    int listItems = 0;
    for (const auto& d : drawn)
        if (!d.second.Contains(odComboBoxEdit)) ++listItems;
    EXPECT_EQ(listItems, 2);
}

TEST_F(ComboTest, ComboPropertiesGoThroughFormText) {
    auto* combo = AddCombo(csDropDownList, 3);
    combo->SetName("Language");
    combo->SetItemIndex(1);
    combo->SetDropDownCount(4);
    const std::string text = ExpectRoundTrip(combo, Application);
    EXPECT_NE(text.find("Style = csDropDownList"), std::string::npos) << text;
    EXPECT_NE(text.find("ItemIndex = 1"), std::string::npos);
    EXPECT_NE(text.find("DropDownCount = 4"), std::string::npos);
    EXPECT_EQ(text.find("ItemHeight"), std::string::npos);
}

// ---------------------------------------------------------------------------------------------------------
// TColorBox

class ColorBoxTest : public ComboTest {
protected:
    TColorBox* AddColors(TColorBoxStyle style) {
        auto* box = Create<TColorBox>(Form);
        box->SetStyle(style);
        box->SetBounds(10, 10, 150, 21);
        box->SetParent(Form);
        box->HandleNeeded();
        return box;
    }
    // A box with "Custom..." showing red, with the focus.
    TColorBox* FocusedRedBox() {
        TColorBox* box = AddColors({cbStandardColors, cbCustomColor});
        box->SetSelected(clRed);
        box->SetFocus();
        return box;
    }
    // Every colour dialog that opens from now on is cancelled and counted in Dialogs.
    void CancelColourDialogs() {
        Application->OnIdle = [this](TObject*, bool&) {
            TForm* dialog = Screen->ActiveForm();
            if (dialog == nullptr || dialog->FindComponent("RedEdit") == nullptr) return;
            ++Dialogs;
            dialog->SetModalResult(mrCancel);
            user::PostMessage(dialog->Handle(), user::WM_NULL, 0, 0);
        };
    }
    void TearDown() override {
        Application->OnIdle = nullptr;
        ComboTest::TearDown();
    }
    int Dialogs = 0;
};

// "Custom..." opens the colour dialog at the colour the box showed when its list opened, though the keys
// passed over "Custom..." (and its black) on the way; the colour chosen there becomes the custom colour.
TEST_F(ColorBoxTest, CustomOpensTheColourDialogAtTheColourShown) {
    TColorBox* box = FocusedRedBox();
    Pump();
    box->SetDroppedDown(true);
    Pump();
    ASSERT_TRUE(box->DroppedDown());
    while (box->ItemIndex() > 0)
        Key(user::VK_UP);
    std::string red, green, blue;   // what the dialog showed
    int dialogs = 0;
    Application->OnIdle = [&](TObject*, bool&) {
        TForm* dialog = Screen->ActiveForm();
        auto* redEdit = dialog != nullptr ? dynamic_cast<TEdit*>(dialog->FindComponent("RedEdit")) : nullptr;
        if (redEdit == nullptr) return;
        ++dialogs;
        red = redEdit->Text();
        green = dynamic_cast<TEdit*>(dialog->FindComponent("GreenEdit"))->Text();
        blue = dynamic_cast<TEdit*>(dialog->FindComponent("BlueEdit"))->Text();
        dynamic_cast<TEdit*>(dialog->FindComponent("GreenEdit"))->SetText("128");
        dialog->SetModalResult(mrOk);
        user::PostMessage(dialog->Handle(), user::WM_NULL, 0, 0);
    };
    base::ScopeExit idle([] { Application->OnIdle = nullptr; });
    Key(user::VK_RETURN);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(red + " " + green + " " + blue, "255 0 0");
    EXPECT_EQ(box->Colors(0), TColor(0x0080FF));
    EXPECT_EQ(box->ItemIndex(), 0);
    EXPECT_EQ(box->Selected(), TColor(0x0080FF));
}

// Cancelling the dialog changes nothing: the box shows the colour it showed before, not "Custom..." in black.
TEST_F(ColorBoxTest, CancellingTheCustomColourKeepsTheColourShownBefore) {
    TColorBox* box = AddColors({cbStandardColors, cbCustomColor});
    box->SetSelected(clTeal);
    box->SetFocus();
    box->SetDroppedDown(true);
    Pump();
    while (box->ItemIndex() > 0)
        Key(user::VK_UP);
    CancelColourDialogs();
    Key(user::VK_RETURN);
    EXPECT_EQ(Dialogs, 1);
    EXPECT_EQ(box->Selected(), clTeal);
    EXPECT_EQ(box->ColorNames(box->ItemIndex()), "clTeal");
}

// Home in the open list passes over "Custom..."; Escape then closes the list without choosing: the box shows the
// colour it showed before the list opened, asks for nothing and reads that colour.
TEST_F(ColorBoxTest, HomeThenEscapeInTheOpenListPutsBackTheColourShownBefore) {
    TColorBox* box = FocusedRedBox();
    box->SetDroppedDown(true);
    Pump();
    ASSERT_TRUE(box->DroppedDown());
    CancelColourDialogs();
    Key(user::VK_HOME);
    EXPECT_EQ(box->ItemIndex(), 0);
    Key(user::VK_ESCAPE);
    EXPECT_FALSE(box->DroppedDown());
    EXPECT_EQ(Dialogs, 0);
    EXPECT_EQ(box->Selected(), clRed);
    ASSERT_GE(box->ItemIndex(), 0);
    EXPECT_EQ(box->ColorNames(box->ItemIndex()), "clRed");
    Key(user::VK_DOWN);   // the list closed for good: moving by keys asks for nothing
    EXPECT_EQ(Dialogs, 0);
}

// A colour chosen by keys in the open list and Enter is the colour shown from then on: Home then Escape in the
// list opened next puts that colour back, not the one shown before the first list.
TEST_F(ColorBoxTest, EscapeAfterAColourChosenByKeysInTheListPutsBackThatColour) {
    TColorBox* box = FocusedRedBox();
    box->SetDroppedDown(true);
    Pump();
    ASSERT_TRUE(box->DroppedDown());
    for (int i = 0; i < 3; ++i)
        Key(user::VK_DOWN);
    Key(user::VK_RETURN);
    EXPECT_FALSE(box->DroppedDown());
    EXPECT_EQ(box->Selected(), clBlue);
    CancelColourDialogs();
    box->SetDroppedDown(true);
    Pump();
    ASSERT_TRUE(box->DroppedDown());
    Key(user::VK_HOME);
    Key(user::VK_ESCAPE);
    EXPECT_FALSE(box->DroppedDown());
    EXPECT_EQ(Dialogs, 0);
    EXPECT_EQ(box->Selected(), clBlue);
    ASSERT_GE(box->ItemIndex(), 0);
    EXPECT_EQ(box->ColorNames(box->ItemIndex()), "clBlue");
}

TEST_F(ColorBoxTest, TheDefaultListHoldsTheStandardExtendedAndSystemColours) {
    auto* box = AddColors({cbStandardColors, cbExtendedColors, cbSystemColors});
    EXPECT_EQ(box->ColorNames(0), "clBlack");
    EXPECT_EQ(box->Colors(15), clWhite);
    EXPECT_EQ(box->ColorNames(16), "clMoneyGreen");
    EXPECT_EQ(box->Colors(19), clMedGray);
    EXPECT_EQ(box->Items()->IndexOf("clNone"), -1);
    EXPECT_EQ(box->Items()->IndexOf("clDefault"), -1);
    EXPECT_NE(box->Items()->IndexOf("clBtnFace"), -1);
    EXPECT_EQ(box->Style(), (TColorBoxStyle {cbStandardColors, cbExtendedColors, cbSystemColors}));
}

TEST_F(ColorBoxTest, StylesChooseTheGroupsAndThePrettyNames) {
    auto* box = AddColors({cbExtendedColors, cbIncludeNone, cbPrettyNames});
    EXPECT_EQ(box->Items()->Count(), 4);   // clNone is a system colour: it goes with them
    EXPECT_EQ(box->ColorNames(1), "Sky Blue");
    box->SetStyle({cbStandardColors, cbSystemColors, cbIncludeNone, cbIncludeDefault});
    EXPECT_NE(box->Items()->IndexOf("clNone"), -1);
    EXPECT_NE(box->Items()->IndexOf("clDefault"), -1);
    EXPECT_EQ(box->Items()->IndexOf("clCream"), -1);
    box->SetStyle({});
    EXPECT_EQ(box->Items()->Count(), 0);
    EXPECT_FALSE(box->Enabled());
    EXPECT_EQ(PrettyColorName("clMoneyGreen"), "Money Green");
    EXPECT_EQ(PrettyColorName("clBtnFace"), "Btn Face");
}

// The names are the desktop's texts: on a Russian desktop they read in Russian, identifiers stay as they are.
TEST_F(ColorBoxTest, PrettyNamesAndTheCustomItemFollowTheDesktopsLanguage) {
    os::filetest::DesktopLocale russian("ru_RU.UTF-8");
    auto* box = AddColors({cbStandardColors, cbExtendedColors, cbSystemColors, cbCustomColor, cbPrettyNames});
    EXPECT_EQ(box->Items()->Get(0), "Другой...");
    EXPECT_EQ(box->ColorNames(1), "Чёрный");
    EXPECT_NE(box->Items()->IndexOf("Красный"), -1);
    EXPECT_NE(box->Items()->IndexOf("Светло-зелёный"), -1);
    EXPECT_NE(box->Items()->IndexOf("Поверхность кнопки"), -1);
    for (int i = 0; i < box->Items()->Count(); ++i)
        EXPECT_EQ(box->Items()->Get(i).find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos)
            << box->Items()->Get(i);   // every name has its Russian one
    box->SetSelected(clRed);
    EXPECT_EQ(box->Selected(), clRed);
    box->SetStyle({cbStandardColors});
    EXPECT_NE(box->Items()->IndexOf("clRed"), -1);
}

TEST_F(ColorBoxTest, SelectedPicksTheItemOfAColourOrTheCustomItem) {
    auto* box = AddColors({cbStandardColors});
    box->SetSelected(clRed);
    EXPECT_EQ(box->Selected(), clRed);
    EXPECT_EQ(box->Text(), "clRed");
    box->SetSelected(TColor(0x123456));
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(box->Selected(), NoColorSelected);
    box->SetStyle({cbStandardColors, cbCustomColor});
    EXPECT_EQ(box->ColorNames(0), "Custom...");
    box->SetSelected(TColor(0x123456));
    EXPECT_EQ(box->ItemIndex(), 0);
    EXPECT_EQ(box->Selected(), TColor(0x123456));
    box->SetStyle({cbStandardColors, cbCustomColor, cbPrettyNames});   // the custom colour stays
    EXPECT_EQ(box->Colors(0), TColor(0x123456));
}

TEST_F(ColorBoxTest, SelectedBeforeTheWindowIsKeptUntilTheListIsFilled) {
    auto* box = Create<TColorBox>(Form);
    box->SetSelected(clNavy);
    EXPECT_EQ(box->Selected(), clNavy);
    box->SetParent(Form);
    box->HandleNeeded();
    EXPECT_EQ(box->ColorNames(box->ItemIndex()), "clNavy");
}

struct FrameCase {
    TColor Color;
    bool Selected;
    TColor Frame;
};

class SwatchFrames : public ::testing::TestWithParam<FrameCase> { };

TEST_P(SwatchFrames, LightSwatchesGetBlackFramesDarkOnesWhiteWhenSelected) {
    EXPECT_EQ(SwatchFrameColor(GetParam().Color, GetParam().Selected), GetParam().Frame);
}

INSTANTIATE_TEST_SUITE_P(Rule, SwatchFrames,
    ::testing::Values(FrameCase {clWhite, false, clBlack}, FrameCase {clYellow, true, clBlack},
        FrameCase {TColor(0x00C100), false, clBlack}, FrameCase {TColor(0x00C000), true, clWhite},
        FrameCase {clNavy, true, clWhite}, FrameCase {clNavy, false, clNavy}, FrameCase {clBtnFace, true, clBlack}));

TEST_F(ColorBoxTest, TheFaceShowsTheSwatchOfTheSelectedColour) {
    auto* box = AddColors({cbStandardColors});
    box->SetSelected(clLime);
    Pump();
    // The face item starts 3 pixels in; its swatch is inset by one more.
    EXPECT_EQ(PixelAt(box, 3 + 5, 10), gdi::RGB(0, 255, 0));
}

TEST_F(ColorBoxTest, ColourBoxPropertiesGoThroughFormText) {
    auto* box = AddColors({cbStandardColors, cbPrettyNames});
    box->SetName("GridColor");
    box->SetSelected(clTeal);
    box->SetDefaultColorColor(clRed);
    const std::string text = ExpectRoundTrip(box, Application);
    EXPECT_NE(text.find("Style = [cbStandardColors, cbPrettyNames]"), std::string::npos) << text;
    EXPECT_NE(text.find("Selected = clTeal"), std::string::npos);
    EXPECT_NE(text.find("DefaultColorColor = clRed"), std::string::npos);
}

}
