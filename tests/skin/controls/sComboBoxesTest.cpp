// The common combo core on the headless display: items kept across a new window, the skin's drop-down button,
// auto-completion by typed keys on the fake clock, clearing that keeps the text.
#include "support/ControlsKit.h"

#include "platform/classes/ControlMessages.h"
#include "platform/classes/ListControlTypes.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TForm.h"
#include "platform/classes/THintWindow.h"
#include "platform/user/Focus.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/controls/ComboBox.h"
#include "platform/user/controls/ListBox.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/display/Display.h"

#include "tests/platform/user/support/MenuLoopSteps.h"

#include "platform/classes/TMenu.h"
#include "skin/controls/sComboBoxes.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sSkinManager.h"

#include <string>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class CommonComboTest : public ControlsTest, public ::testing::WithParamInterface<int> {
protected:
    TsCommonComboBox* MakeCombo(TComboBoxStyle style, std::vector<std::string> items) {
        auto* c = Create<TsCommonComboBox>(Form);
        c->SetBounds(20, 20, 160, 22);
        c->SetStyle(style);
        c->SetParent(Form);
        for (const auto& s : items)
            c->Items()->Add(s);
        Pump();
        return c;
    }
    void Type(const std::string& text) {
        for (char ch : text) {
            Display->Press(unsigned(std::toupper(static_cast<unsigned char>(ch))), std::string(1, ch));
            Pump();
        }
    }
};

TEST_P(CommonComboTest, ANewBoxHasTheFamilysSizeStylesAndDefaults) {
    auto* c = Create<TsCommonComboBox>(Form);
    EXPECT_EQ(c->ControlStyle(),
        (TControlStyle {csCaptureMouse, csSetCaption, csOpaque, csDoubleClicks, csFixedHeight, csReflector}));
    EXPECT_EQ(c->Width(), 145);
    EXPECT_EQ(c->Height(), 22);
    EXPECT_TRUE(c->TabStop());
    EXPECT_FALSE(c->ParentColor());
    EXPECT_EQ(c->DropDownCount(), 14);
    EXPECT_EQ(c->ItemHeight(), 16);
    EXPECT_EQ(c->Style(), csDropDown);
    EXPECT_TRUE(c->AutoComplete());
    EXPECT_FALSE(c->AutoDropDown());
}

TEST_P(CommonComboTest, ANewWindowKeepsTheItemsAndTheChoice) {
    UseSkin(GetParam());
    TsCommonComboBox* c = MakeCombo(csDropDown, {"Alpha", "Beta", "Gamma", "Delta"});
    c->SetItemIndex(3);
    c->SetStyle(csDropDownList);
    Pump();
    EXPECT_EQ(c->Items()->Count(), 4);
    EXPECT_EQ(c->ItemIndex(), 3);
    EXPECT_EQ(c->Text(), "Delta");
    EXPECT_EQ(c->DropDownCount(), 14);
    EXPECT_EQ(c->Width(), 160);
}

TEST_P(CommonComboTest, KeysTypedWithinTheGapSearchTogetherAndAfterItAlone) {
    UseSkin(GetParam());
    TsCommonComboBox* c = MakeCombo(csDropDownList, {"Alpha", "Beta", "Bravo", "Rho"});
    std::vector<int> selected;
    c->OnSelect = [&](TObject*) { selected.push_back(c->ItemIndex()); };
    c->SetFocus();
    Pump();
    Type("br");
    EXPECT_EQ(c->ItemIndex(), 2);
    Advance(int(TsCommonComboBox::SearchGapMs) + 100);
    Type("b");
    EXPECT_EQ(c->ItemIndex(), 1);
    Advance(int(TsCommonComboBox::SearchGapMs) + 100);
    Type("r");
    EXPECT_EQ(c->ItemIndex(), 3);
    EXPECT_EQ(selected, (std::vector<int> {1, 2, 1, 3}));
}

// Enter is no search key: the choice found by typing stays.
TEST_P(CommonComboTest, EnterAfterTypingKeepsTheItemFound) {
    UseSkin(GetParam());
    TsCommonComboBox* c = MakeCombo(csDropDownList, {"Alpha", "Beta", "Bravo"});
    int changes = 0;
    c->OnChange = [&](TObject*) { ++changes; };
    c->SetFocus();
    Pump();
    Type("br");
    ASSERT_EQ(c->ItemIndex(), 2);
    const int before = changes;
    Display->Press(user::VK_RETURN, "\r");
    Pump();
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(c->Text(), "Bravo");
    EXPECT_EQ(changes, before);
}

// The pointer resting on the edit of a drop-down box shows the box's hint.
TEST_P(CommonComboTest, ThePointerOnTheEditShowsTheBoxsHint) {
    UseSkin(GetParam());
    TsCommonComboBox* c = MakeCombo(csDropDown, {"Alpha", "Beta"});
    c->SetHint("Pick one");
    c->SetShowHint(true);
    ASSERT_NE(c->EditHandle(), nullptr);
    MoveTo(c, 30, c->Height() / 2);
    MoveTo(c, 32, c->Height() / 2);
    Advance(Application->HintPause() + 50);
    THintWindow* hint = ApplicationHintWindow();
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->IsHintShowing());
    EXPECT_EQ(hint->Caption(), "Pick one");
}

// A box without an edit takes the focus on its own window, and is focused then.
TEST_P(CommonComboTest, AListStyleBoxWithTheFocusIsFocused) {
    UseSkin(GetParam());
    TsCommonComboBox* c = MakeCombo(csDropDownList, {"Alpha", "Beta"});
    EXPECT_FALSE(c->Focused());
    c->SetFocus();
    Pump();
    ASSERT_EQ(user::GetFocus(), c->WindowHandle());
    EXPECT_TRUE(c->Focused());
}

// Cancel mode from another control closes the open list; the box's own leaves it open.
TEST_P(CommonComboTest, CancelModeFromAnotherControlClosesTheList) {
    UseSkin(GetParam());
    TsCommonComboBox* c = MakeCombo(csDropDownList, {"Alpha", "Beta", "Bravo"});
    auto* other = MakeCombo(csDropDownList, {"Gamma"});
    other->SetTop(60);
    c->SetDroppedDown(true);
    Pump();
    ASSERT_TRUE(c->DroppedDown());
    c->Perform(CM_CANCELMODE, 0, reinterpret_cast<user::LPARAM>(static_cast<TControl*>(c)));
    EXPECT_TRUE(c->DroppedDown());
    c->Perform(CM_CANCELMODE, 0, reinterpret_cast<user::LPARAM>(static_cast<TControl*>(other)));
    Pump();
    EXPECT_FALSE(c->DroppedDown());
}

// Enter or Escape reaching the box or its edit as a character closes an open list: Enter takes the line the list
// shows, Escape goes back to the choice made before; a key the key events took closes nothing.
TEST_P(CommonComboTest, EnterOrEscapeAsACharacterClosesTheList) {
    UseSkin(GetParam());
    for (const TComboBoxStyle style : {csDropDownList, csDropDown}) {
        TsCommonComboBox* c = MakeCombo(style, {"Alpha", "Beta", "Gamma"});
        c->SetItemIndex(0);
        const user::HWND target = style == csDropDown ? c->EditHandle() : c->WindowHandle();
        for (const unsigned key : {27u, 13u}) {
            c->SetDroppedDown(true);
            Pump();
            user::SendMessage(c->ListHandle(), user::LB_SETCURSEL, 2, 0);
            user::SendMessage(target, user::WM_CHAR, key, 0);
            Pump();
            EXPECT_FALSE(c->DroppedDown()) << key;
            EXPECT_EQ(c->ItemIndex(), key == 13 ? 2 : 0) << key;
        }
        c->OnKeyPress = [](TObject*, char32_t& key) { key = 0; };
        c->SetDroppedDown(true);
        Pump();
        user::SendMessage(target, user::WM_CHAR, 27, 0);
        Pump();
        EXPECT_TRUE(c->DroppedDown());
        c->SetDroppedDown(false);
        c->Free();
    }
}

// A control character (Ctrl+C's) is no search key either: the choice stays and no change is reported.
TEST_P(CommonComboTest, AControlCharacterKeepsTheChoice) {
    UseSkin(GetParam());
    TsCommonComboBox* c = MakeCombo(csDropDownList, {"Alpha", "Beta", "Bravo"});
    c->SetItemIndex(1);
    int changes = 0;
    c->OnChange = [&](TObject*) { ++changes; };
    c->SetFocus();
    Pump();
    user::SendMessage(c->WindowHandle(), user::WM_CHAR, 3, 0);
    Pump();
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(changes, 0);
}

// Backspace in the edit takes the character before the caret and leaves the item; with a selection, the selection.
TEST_P(CommonComboTest, BackspaceInTheEditLeavesTheItemAndReportsTheChange) {
    UseSkin(GetParam());
    TsCommonComboBox* c = MakeCombo(csDropDown, {"Alpha", "Beta", "Bravo"});
    c->SetItemIndex(2);
    c->SetFocus();
    Pump();
    user::SendMessage(c->Handle(), user::CB_SETEDITSEL, 0, user::MAKELPARAM(5, 5));
    int changes = 0;
    c->OnChange = [&](TObject*) { ++changes; };
    Display->Press(user::VK_BACK, "\b");
    Pump();
    EXPECT_EQ(c->Text(), "Brav");
    EXPECT_EQ(c->ItemIndex(), -1);
    EXPECT_GE(changes, 1);
    user::DWORD start = 0, end = 0;
    user::SendMessage(c->Handle(), user::CB_GETEDITSEL, user::WPARAM(&start), user::LPARAM(&end));
    EXPECT_EQ(start, 4u);
    EXPECT_EQ(end, 4u);
    // A selection goes as a whole.
    user::SendMessage(c->Handle(), user::CB_SETEDITSEL, 0, user::MAKELPARAM(1, 3));
    Display->Press(user::VK_BACK, "\b");
    Pump();
    EXPECT_EQ(c->Text(), "Bv");
}

TEST_P(CommonComboTest, TypingInTheEditCompletesTheFirstMatchAndSelectsTheRest) {
    UseSkin(GetParam());
    TsCommonComboBox* c = MakeCombo(csDropDown, {"Alpha", "Beta", "Bravo"});
    c->SetFocus();
    Pump();
    Type("br");
    EXPECT_EQ(c->Text(), "bravo");   // what was typed, then the rest of the item
    EXPECT_EQ(c->ItemIndex(), 2);
    user::DWORD start = 0, end = 0;
    user::SendMessage(c->Handle(), user::CB_GETEDITSEL, user::WPARAM(&start), user::LPARAM(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 5u);
    Type("x");   // no item: typed over the completed tail, nothing chosen
    EXPECT_EQ(c->Text(), "brx");
    EXPECT_EQ(c->ItemIndex(), -1);
}

TEST_P(CommonComboTest, AnItemTheBoxDoesNotHoldReadsEmptyAndDeletesNothing) {
    UseSkin(GetParam());
    TsCommonComboBox* c = MakeCombo(csDropDownList, {"Alpha", "Beta"});
    EXPECT_EQ(c->Items()->Get(1), "Beta");
    EXPECT_EQ(c->Items()->Get(2), "");
    EXPECT_EQ(c->Items()->Get(-1), "");
    c->Items()->Delete(2);   // nothing to delete, nothing raised
    c->Items()->Delete(-1);
    EXPECT_EQ(c->Items()->Count(), 2);
    c->Items()->Delete(0);
    EXPECT_EQ(c->Items()->Get(0), "Beta");
}

// The window places an inserted item: -1 appends, past the end is refused as out of resources; an object for
// an item the box does not hold goes nowhere.
TEST_P(CommonComboTest, AnInsertPastTheEndIsRefusedAndMinusOneAppends) {
    UseSkin(GetParam());
    TsCommonComboBox* c = MakeCombo(csDropDownList, {"Alpha", "Beta"});
    c->Items()->Insert(-1, "Last");
    EXPECT_EQ(c->Items()->Get(2), "Last");
    EXPECT_THROW(c->Items()->Insert(5, "Far"), EOutOfResources);
    c->Items()->Insert(3, "End");
    EXPECT_EQ(c->Items()->Count(), 4);
    EXPECT_NO_THROW(c->Items()->PutObject(9, c));
    c->Items()->PutObject(0, c);
    EXPECT_EQ(c->Items()->GetObject(0), c);
}

// A right click on a drop-down's edit pops up the box's own menu; a double click there is the box's.
TEST_P(CommonComboTest, TheEditOfADropDownGivesItsRightClickAndDoubleClickToTheBox) {
    UseSkin(GetParam());
    TsCommonComboBox* c = MakeCombo(csDropDown, {"Alpha", "Beta"});
    auto* menu = Create<TPopupMenu>(Form);
    auto* item = Create<TMenuItem>(Form);
    item->SetCaption("Item");
    menu->Items()->Add(item);
    c->SetPopupMenu(menu);
    int doubles = 0;
    c->OnDblClick = [&](TObject*) { ++doubles; };
    bool opened = false;
    user::test::MenuLoopSteps({[&] { opened = user::GetOpenMenuWindow(0) != nullptr; }});
    const TPoint p = c->ClientToScreen(TPoint {20, 10});
    Display->MoveMouse(p.x, p.y);
    Display->ButtonDown(user::MouseButton::Right, p.x, p.y);
    Pump();
    Display->ButtonUp(user::MouseButton::Right, p.x, p.y);
    Pump();
    user::SetMenuLoopIdleHook(nullptr);
    EXPECT_TRUE(opened);
    Display->DoubleClick(p.x, p.y);
    Pump();
    EXPECT_EQ(doubles, 1);
}

// A new item height makes the window again, with its items and choice.
TEST_P(CommonComboTest, ANewItemHeightMakesTheWindowAgain) {
    UseSkin(GetParam());
    TsCommonComboBox* c = MakeCombo(csOwnerDrawFixed, {"Alpha", "Beta"});
    c->SetItemIndex(1);
    const user::HWND before = c->Handle();
    c->SetItemHeight(24);
    Pump();
    EXPECT_NE(c->Handle(), before);
    EXPECT_EQ(c->ItemHeight(), 24);
    EXPECT_EQ(c->Items()->Count(), 2);
    EXPECT_EQ(c->ItemIndex(), 1);
}

// The end of an update of the items paints the box before it returns.
TEST_P(CommonComboTest, TheEndOfAnItemsUpdatePaintsTheBoxAtOnce) {
    UseSkin(GetParam());
    TsCommonComboBox* c = MakeCombo(csDropDownList, {"Alpha", "Beta"});
    int paints = 0;
    const TWndMethod inner = c->WindowProc;
    c->WindowProc = [&, inner](TMessage& m) {
        if (m.Msg == user::WM_PAINT) ++paints;
        inner(m);
    };
    c->Items()->BeginUpdate();
    c->Items()->Add("Gamma");
    c->Items()->EndUpdate();
    EXPECT_GT(paints, 0);
    c->WindowProc = inner;
}

TEST_P(CommonComboTest, ClearingTheItemsKeepsTheText) {
    UseSkin(GetParam());
    TsCommonComboBox* c = MakeCombo(csDropDown, {"Alpha", "Beta"});
    c->SetText("Typed");
    c->Items()->Clear();
    EXPECT_EQ(c->Items()->Count(), 0);
    EXPECT_EQ(c->Text(), "Typed");
}

TEST_P(CommonComboTest, AnAutomaticDragStartsFromTheBoxAndFromItsEdit) {
    UseSkin(GetParam());
    for (TComboBoxStyle style : {csDropDownList, csDropDown}) {
        TsCommonComboBox* c = MakeCombo(style, {"Alpha", "Beta"});
        c->SetDragMode(dmAutomatic);
        auto* target = Create<TsCommonComboBox>(Form);
        target->SetParent(Form);
        target->SetBounds(20, 80, 160, 22);
        TObject* dropped = nullptr;
        target->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& accept) { accept = true; };
        target->OnDragDrop = [&](TObject*, TObject* source, int, int) { dropped = source; };
        Pump();
        const TPoint from = c->ClientToScreen(TPoint {20, 10});   // on the edit of a drop-down
        Display->MoveMouse(from.x, from.y);
        Display->ButtonDown(user::MouseButton::Left, from.x, from.y);
        Pump();
        EXPECT_TRUE(c->Dragging()) << int(style);
        EXPECT_FALSE(c->DroppedDown()) << int(style);
        const TPoint to = target->ClientToScreen(TPoint {20, 10});
        Display->MoveMouse(to.x, to.y);
        Pump();
        Display->ButtonUp(user::MouseButton::Left, to.x, to.y);
        Pump();
        EXPECT_EQ(dropped, c) << int(style);
        EXPECT_FALSE(c->Dragging());
        c->Free();
        target->Free();
    }
}

TEST_P(CommonComboTest, ANew3DLookMakesTheWindowAgainWithItsItems) {
    UseSkin(GetParam());
    TsCommonComboBox* c = MakeCombo(csDropDownList, {"Alpha", "Beta", "Gamma"});
    c->SetItemIndex(2);
    const user::HWND before = c->Handle();
    c->Perform(CM_CTL3DCHANGED, 0, 0);
    Pump();
    EXPECT_NE(c->Handle(), before);
    EXPECT_FALSE(user::IsWindow(before));
    EXPECT_EQ(c->Items()->Count(), 3);
    EXPECT_EQ(c->ItemIndex(), 2);
}

INSTANTIATE_TEST_SUITE_P(NoSkinAndOffice, CommonComboTest, ::testing::Values(-1, 3),
    [](const auto& info) { return SkinShortName(info.param); });

class CommonComboSkinned : public CommonComboTest { };

// Skinned, an item the native box draws without an index is left to whatever lies under it.
TEST_F(CommonComboSkinned, ADrawItemWithoutAnIndexPaintsNothing) {
    UseSkin(0);
    TsCommonComboBox* c = MakeCombo(csOwnerDrawFixed, {"Alpha"});
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(30, 12);
    picture.Canvas()->Brush()->SetColor(0x123456);
    picture.Canvas()->FillRect(TRect {0, 0, 30, 12});
    user::DRAWITEMSTRUCT dis;
    dis.CtlType = user::ODT_COMBOBOX;
    dis.itemID = user::UINT(-1);
    dis.hwndItem = c->Handle();
    dis.hDC = picture.Canvas()->Handle();
    dis.rcItem = gdi::RECT {0, 0, 30, 12};
    c->Perform(CN_DRAWITEM, 0, LPARAM(&dis));
    EXPECT_EQ(picture.Canvas()->Pixels(15, 6), TColor(0x123456));
}

// A click into a drop-down's edit leaves the focus inside the box: it shows its focused look, as it does when
// the focus comes by the keyboard, until the focus leaves it.
TEST_F(CommonComboSkinned, TheFocusInTheEditOfADropDownShowsTheBoxFocused) {
    UseSkin(0);
    auto* other = Create<TsCommonComboBox>(Form);
    other->SetBounds(20, 80, 160, 22);
    other->SetStyle(csDropDownList);
    other->SetParent(Form);
    TsCommonComboBox* c = MakeCombo(csDropDown, {"Alpha", "Beta"});
    MoveTo(Form, 300, 200);
    other->SetFocus();
    Pump();
    EXPECT_FALSE(c->SkinData()->Focused);
    ClickAt(c, 20, 10);
    MoveTo(Form, 300, 200);
    ASSERT_TRUE(c->Focused());
    EXPECT_TRUE(c->SkinData()->Focused);
    EXPECT_TRUE(c->SkinData()->IsHot());
    other->SetFocus();
    Pump();
    EXPECT_FALSE(c->SkinData()->Focused);
    c->SetFocus();
    Pump();
    EXPECT_TRUE(c->SkinData()->Focused);
}

// Each change of look repaints the face and the frame: the client, then the frame (the frame first for the
// mouse and a new font).
TEST_F(CommonComboSkinned, LookChangesRepaintTheFrameAsWellAsTheFace) {
    UseSkin(0);
    TsCommonComboBox* c = MakeCombo(csDropDownList, {"Alpha"});
    std::vector<unsigned> seen;
    const TWndMethod inner = c->WindowProc;
    c->WindowProc = [&seen, inner](TMessage& m) {
        if (m.Msg == user::WM_NCPAINT || m.Msg == user::WM_PAINT) seen.push_back(m.Msg);
        inner(m);
    };
    struct Case {
        unsigned msg;
        WPARAM wParam;
        bool frameFirst;
    };
    const Case cases[] = {{CM_ENABLEDCHANGED, 0, false}, {CM_VISIBLECHANGED, 1, false}, {user::WM_MOUSEWHEEL, 0, false},
        {CM_MOUSEENTER, 0, true}, {CM_MOUSELEAVE, 0, true}, {user::WM_SETFONT, 0, true}, {CM_EXIT, 0, false}};
    for (const Case& k : cases) {
        seen.clear();
        if (k.msg == user::WM_SETFONT)
            c->Perform(k.msg, WPARAM(user::SendMessage(c->Handle(), user::WM_GETFONT, 0, 0)), 0);
        else
            c->Perform(k.msg, k.wParam, 0);
        ASSERT_EQ(seen.size(), 2u) << k.msg;
        EXPECT_EQ(seen.front(), k.frameFirst ? unsigned(user::WM_NCPAINT) : unsigned(user::WM_PAINT)) << k.msg;
        EXPECT_EQ(seen.back(), k.frameFirst ? unsigned(user::WM_PAINT) : unsigned(user::WM_NCPAINT)) << k.msg;
    }
    c->WindowProc = inner;
}

// Dropping down sizes the box for the list; the sizing repaints nothing of the skin, and the list of
// DropDownCount items opens under the box, which keeps the focus.
TEST_F(CommonComboSkinned, DroppingDownHidesAndSizesTheBoxWithoutASkinRepaintAndKeepsItsFocus) {
    UseSkin(0);
    std::vector<std::string> items;
    for (int i = 0; i < 20; ++i) items.push_back("Item " + std::to_string(i));
    TsCommonComboBox* c = MakeCombo(csDropDownList, items);
    c->SetDropDownCount(5);
    int sizes = 0;
    bool changed = false;
    std::vector<std::pair<UINT, bool>> shows;   // hide/show flags of each placement, and the focus then
    const TWndMethod inner = c->WindowProc;
    c->WindowProc = [&, inner, c](TMessage& m) {
        if (m.Msg == user::WM_WINDOWPOSCHANGED) {
            const UINT f = reinterpret_cast<user::WINDOWPOS*>(m.LParam)->flags;
            if (f & (user::SWP_HIDEWINDOW | user::SWP_SHOWWINDOW))
                shows.emplace_back(f & (user::SWP_HIDEWINDOW | user::SWP_SHOWWINDOW), c->Focused());
        }
        if (m.Msg != user::WM_SIZE) {
            inner(m);
            return;
        }
        ++sizes;
        c->SkinData()->BGChanged = false;
        inner(m);
        changed = changed || c->SkinData()->BGChanged;
    };
    const TRect b = c->ButtonRect();
    ClickAt(c, (b.left + b.right) / 2, c->Height() / 2);
    c->WindowProc = inner;
    ASSERT_TRUE(c->DroppedDown());
    EXPECT_TRUE(c->Focused());
    EXPECT_GT(sizes, 0);
    EXPECT_FALSE(changed);
    // Hidden while it is sized, shown again, and the focus stays with the box all along.
    const std::vector<std::pair<UINT, bool>> hideThenShow {{user::SWP_HIDEWINDOW, true}, {user::SWP_SHOWWINDOW, true}};
    EXPECT_EQ(shows, hideThenShow);
    EXPECT_TRUE(c->Visible() && user::IsWindowVisible(c->Handle()));
    user::COMBOBOXINFO info;
    ASSERT_TRUE(user::GetComboBoxInfo(c->Handle(), &info));
    user::RECT list {};
    user::GetWindowRect(info.hwndList, &list);
    EXPECT_GE(list.bottom - list.top, 5 * c->ItemHeight());
    EXPECT_LT(list.bottom - list.top, 6 * c->ItemHeight());
    Key(user::VK_ESCAPE);
    EXPECT_FALSE(c->DroppedDown());
}

TEST_F(CommonComboSkinned, TheGlyphSitsAsFarFromTheRightEdgeAsFromTheTop) {
    UseSkin(0);
    TsCommonComboBox* c = MakeCombo(csDropDownList, {"Alpha"});
    const TRect b = c->ButtonRect();
    ASSERT_GT(b.right - b.left, 0);
    EXPECT_EQ(c->Width() - b.right, b.top);
    EXPECT_EQ(c->Height() - b.bottom, b.top);
}

TEST_F(CommonComboSkinned, WithoutAGlyphMaskTheButtonIsEmptyAndNothingIsDrawnThere) {
    UseSkin(0);
    TsCommonComboBox* c = MakeCombo(csDropDownList, {"Alpha"});
    const TRect withGlyph = c->ButtonRect();
    const gdi::COLORREF glyphPixel = ScreenPixel(c, (withGlyph.left + withGlyph.right) / 2, c->Height() / 2);
    for (std::size_t i = 0; i < Manager->Masks.size(); ++i)
        if (Manager->Masks[i].PropertyName == "GLYPHMASK")
            Manager->Masks.Rename(i, Manager->Masks[i].ClassName, "HIDDEN");
    EXPECT_EQ(c->ButtonRect(), TRect {});
    c->SkinData()->BGChanged = true;
    c->Repaint();
    Pump();
    EXPECT_NE(ScreenPixel(c, (withGlyph.left + withGlyph.right) / 2, c->Height() / 2), glyphPixel);
}

}
