// The BUTTON class: clicks by mouse, space bar and BM_CLICK exactly once, checks, radio groups, owner drawing,
// dialog codes and the plain look.
#include "support/ControlTestSupport.h"

#include "platform/gdi/SysColors.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/Button.h"
#include "platform/user/controls/ControlsCommon.h"

#include <gtest/gtest.h>

namespace korvex::user::test {

namespace {

using Button = ControlTest;

UINT Check(HWND hwnd) {
    return UINT(SendMessage(hwnd, BM_GETCHECK, 0, 0));
}

bool Pushed(HWND hwnd) {
    return (SendMessage(hwnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

TEST_F(Button, AMouseClickInsideReportsOneClick) {
    HWND b = Make("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 75, 23, 1);
    ClickAt(b, 20, 10);
    EXPECT_EQ(CodeCount(1, BN_CLICKED), 1);
    EXPECT_FALSE(Pushed(b));
    EXPECT_EQ(GetFocus(), b);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Button, APressReleasedOutsideDoesNotClickAndLeavesTheButtonUp) {
    HWND b = Make("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 75, 23, 1);
    PressAt(b, 20, 10);
    EXPECT_TRUE(Pushed(b));
    MoveTo(b, 200, 100);
    EXPECT_FALSE(Pushed(b));
    ReleaseAt(b, 200, 100);
    EXPECT_EQ(CodeCount(1, BN_CLICKED), 0);
    EXPECT_FALSE(Pushed(b));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Button, APressThatLeavesAndComesBackClicksOnce) {
    HWND b = Make("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 75, 23, 1);
    PressAt(b, 20, 10);
    MoveTo(b, 200, 100);
    MoveTo(b, 30, 12);
    EXPECT_TRUE(Pushed(b));
    ReleaseAt(b, 30, 12);
    EXPECT_EQ(CodeCount(1, BN_CLICKED), 1);
}

TEST_F(Button, TheSpaceBarClicksOnceOnItsRelease) {
    HWND b = Make("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 75, 23, 1);
    SetFocus(b);
    Screen->KeyDown(VK_SPACE, " ");
    Pump();
    EXPECT_TRUE(Pushed(b));
    EXPECT_EQ(CodeCount(1, BN_CLICKED), 0);
    Screen->KeyDown(VK_SPACE, " ");   // auto-repeat presses nothing more
    Pump();
    Screen->KeyUp(VK_SPACE);
    Pump();
    EXPECT_EQ(CodeCount(1, BN_CLICKED), 1);
    EXPECT_FALSE(Pushed(b));
}

TEST_F(Button, TheSpaceBarHeldWhileTheFocusLeavesDoesNotClick) {
    HWND b = Make("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 75, 23, 1);
    HWND other = Make("BUTTON", "Other", BS_PUSHBUTTON, 100, 10, 75, 23, 2);
    SetFocus(b);
    Screen->KeyDown(VK_SPACE, " ");
    Pump();
    SetFocus(other);
    Screen->KeyUp(VK_SPACE);
    Pump();
    EXPECT_EQ(CodeCount(1, BN_CLICKED), 0);
    EXPECT_EQ(CodeCount(2, BN_CLICKED), 0);
    EXPECT_FALSE(Pushed(b));
}

TEST_F(Button, BmClickClicksOnceAndADisabledButtonNotAtAll) {
    HWND b = Make("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 75, 23, 1);
    SendMessage(b, BM_CLICK, 0, 0);
    EXPECT_EQ(CodeCount(1, BN_CLICKED), 1);
    EnableWindow(b, false);
    SendMessage(b, BM_CLICK, 0, 0);
    ClickAt(b, 20, 10);
    EXPECT_EQ(CodeCount(1, BN_CLICKED), 1);
}

TEST_F(Button, ADoubleClickOnAPushButtonIsTwoClicksOnARadioButtonADoubleClick) {
    HWND push = Make("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 75, 23, 1);
    HWND radio = Make("BUTTON", "R", BS_RADIOBUTTON, 10, 50, 75, 23, 2);
    POINT p = OnScreen(push, 20, 10);
    Screen->DoubleClick(p.x, p.y);
    Pump();
    EXPECT_EQ(CodeCount(1, BN_CLICKED), 2);
    p = OnScreen(radio, 20, 10);
    Screen->DoubleClick(p.x, p.y);
    Pump();
    EXPECT_EQ(CodeCount(2, BN_CLICKED), 1);
    EXPECT_EQ(CodeCount(2, BN_DOUBLECLICKED), 1);
}

// A subclass that takes the pushed state over (as a skinned button does) gets no click from the native one.
WNDPROC gButtonProc = nullptr;
LRESULT SwallowSetState(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == BM_SETSTATE) return 0;
    return CallWindowProc(gButtonProc, hwnd, msg, wParam, lParam);
}

TEST_F(Button, ASubclassSwallowingBmSetStateGetsNoNativeClick) {
    HWND b = Make("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 75, 23, 1);
    gButtonProc = ProcFromLong(SetWindowLongPtr(b, GWL_WNDPROC, LongFromProc(SwallowSetState)));
    ClickAt(b, 20, 10);
    SetFocus(b);
    Key(VK_SPACE);
    EXPECT_EQ(CodeCount(1, BN_CLICKED), 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Button, AutoCheckBoxesToggleAndPlainOnesOnlyReport) {
    HWND autoBox = Make("BUTTON", "Auto", BS_AUTOCHECKBOX, 10, 10, 100, 17, 1);
    HWND plain = Make("BUTTON", "Plain", BS_CHECKBOX, 10, 40, 100, 17, 2);
    ClickAt(autoBox, 5, 8);
    EXPECT_EQ(Check(autoBox), BST_CHECKED);
    ClickAt(autoBox, 5, 8);
    EXPECT_EQ(Check(autoBox), BST_UNCHECKED);
    EXPECT_EQ(CodeCount(1, BN_CLICKED), 2);
    ClickAt(plain, 5, 8);
    EXPECT_EQ(Check(plain), BST_UNCHECKED);
    EXPECT_EQ(CodeCount(2, BN_CLICKED), 1);
}

TEST_F(Button, AnAutoThreeStateBoxCyclesThroughItsThreeStates) {
    HWND box = Make("BUTTON", "Three", BS_AUTO3STATE, 10, 10, 100, 17, 1);
    std::vector<UINT> seen;
    for (int i = 0; i < 4; ++i) {
        ClickAt(box, 5, 8);
        seen.push_back(Check(box));
    }
    EXPECT_EQ(seen, (std::vector<UINT> {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED, BST_CHECKED}));
}

struct CheckCase {
    DWORD Kind;
    WPARAM Set;
    UINT Expected;
};

class ButtonCheckStates : public ControlTest, public ::testing::WithParamInterface<CheckCase> { };

TEST_P(ButtonCheckStates, BmSetCheckKeepsToWhatTheKindHolds) {
    const CheckCase c = GetParam();
    HWND b = Make("BUTTON", "B", c.Kind, 10, 10, 100, 17, 1);
    SendMessage(b, BM_SETCHECK, c.Set, 0);
    EXPECT_EQ(Check(b), c.Expected);
    EXPECT_EQ(CodeCount(1, BN_CLICKED), 0);   // never reported
}

INSTANTIATE_TEST_SUITE_P(Kinds, ButtonCheckStates,
    ::testing::Values(CheckCase {BS_CHECKBOX, BST_INDETERMINATE, BST_CHECKED},
        CheckCase {BS_3STATE, BST_INDETERMINATE, BST_INDETERMINATE}, CheckCase {BS_AUTO3STATE, 7, BST_INDETERMINATE},
        CheckCase {BS_RADIOBUTTON, BST_CHECKED, BST_CHECKED}, CheckCase {BS_PUSHBUTTON, BST_CHECKED, BST_UNCHECKED},
        CheckCase {BS_GROUPBOX, BST_CHECKED, BST_UNCHECKED}));

class RadioGroup : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        A = Make("BUTTON", "A", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 10, 10, 100, 17, 1);
        B = Make("BUTTON", "B", BS_AUTORADIOBUTTON, 10, 30, 100, 17, 2);
        C = Make("BUTTON", "C", BS_AUTORADIOBUTTON, 10, 50, 100, 17, 3);
        Other = Make("BUTTON", "Other", BS_AUTORADIOBUTTON | WS_GROUP, 10, 80, 100, 17, 4);
        SendMessage(A, BM_SETCHECK, BST_CHECKED, 0);
        SendMessage(Other, BM_SETCHECK, BST_CHECKED, 0);
        ClearLog();
    }
    HWND A = nullptr, B = nullptr, C = nullptr, Other = nullptr;
};

TEST_F(RadioGroup, AClickChecksTheButtonAndClearsTheRestOfItsGroupOnly) {
    ClickAt(C, 5, 8);
    EXPECT_EQ(Check(A), BST_UNCHECKED);
    EXPECT_EQ(Check(B), BST_UNCHECKED);
    EXPECT_EQ(Check(C), BST_CHECKED);
    EXPECT_EQ(Check(Other), BST_CHECKED);
    EXPECT_EQ(Codes(3), (std::vector<WORD> {BN_CLICKED}));
}

TEST_F(RadioGroup, ClickingTheCheckedButtonKeepsItChecked) {
    ClickAt(A, 5, 8);
    EXPECT_EQ(Check(A), BST_CHECKED);
    EXPECT_EQ(CodeCount(1, BN_CLICKED), 1);
}

TEST_F(RadioGroup, ArrowKeysMoveTheFocusAndTheCheckWithinTheGroupAndWrap) {
    SetFocus(A);
    ClearLog();
    Key(VK_DOWN);
    EXPECT_EQ(GetFocus(), B);
    EXPECT_EQ(Check(B), BST_CHECKED);
    EXPECT_EQ(Check(A), BST_UNCHECKED);
    EXPECT_EQ(Codes(2), (std::vector<WORD> {BN_CLICKED}));
    Key(VK_RIGHT);
    Key(VK_DOWN);   // past the group's end: back to its start, not into the next group
    EXPECT_EQ(GetFocus(), A);
    EXPECT_EQ(Check(A), BST_CHECKED);
    EXPECT_EQ(Check(Other), BST_CHECKED);
    Key(VK_UP);
    EXPECT_EQ(GetFocus(), C);
}

TEST_F(RadioGroup, TheGroupWalkSkipsDisabledAndHiddenButtons) {
    EnableWindow(B, false);
    EXPECT_EQ(GetNextDlgGroupItem(Parent, A, false), C);
    ShowWindow(C, SW_HIDE);
    EXPECT_EQ(GetNextDlgGroupItem(Parent, A, false), A);
    EXPECT_EQ(GetNextDlgGroupItem(Parent, Other, true), Other);
    EXPECT_EQ(GetNextDlgGroupItem(Parent, nullptr, true), nullptr);
}

TEST_F(RadioGroup, TheCheckedRadioButtonIsTheTabStop) {
    EXPECT_TRUE(GetWindowStyle(A) & WS_TABSTOP);
    ClickAt(B, 5, 8);
    EXPECT_FALSE(GetWindowStyle(A) & WS_TABSTOP);
    EXPECT_TRUE(GetWindowStyle(B) & WS_TABSTOP);
}

TEST_F(RadioGroup, AKeyboardFocusChoosesAnUncheckedButtonOnce) {
    SetFocus(C);
    EXPECT_EQ(Check(C), BST_CHECKED);
    EXPECT_EQ(Codes(3), (std::vector<WORD> {BN_CLICKED}));
    SetFocus(Parent);
    SetFocus(C);   // already checked: nothing more
    EXPECT_EQ(Codes(3), (std::vector<WORD> {BN_CLICKED}));
}

TEST_F(RadioGroup, APlainRadioButtonOnlyReportsTheKeyboardVisit) {
    HWND plain = Make("BUTTON", "P", BS_RADIOBUTTON | WS_GROUP, 10, 110, 100, 17, 5);
    SetFocus(plain);
    EXPECT_EQ(Check(plain), BST_UNCHECKED);
    EXPECT_EQ(Codes(5), (std::vector<WORD> {BN_CLICKED}));
}

struct DlgCodeCase {
    DWORD Style;
    LRESULT Code;
};

class ButtonDialogCodes : public ControlTest, public ::testing::WithParamInterface<DlgCodeCase> { };

TEST_P(ButtonDialogCodes, EachKindAnswersItsDialogCode) {
    HWND b = Make("BUTTON", "B", GetParam().Style, 10, 10, 80, 20, 1);
    EXPECT_EQ(SendMessage(b, WM_GETDLGCODE, 0, 0), GetParam().Code);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ButtonDialogCodes,
    ::testing::Values(DlgCodeCase {BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
        DlgCodeCase {BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON}, DlgCodeCase {BS_AUTOCHECKBOX, DLGC_BUTTON},
        DlgCodeCase {BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON}, DlgCodeCase {BS_GROUPBOX, DLGC_STATIC},
        DlgCodeCase {BS_OWNERDRAW, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON}));

TEST_F(Button, BmSetStyleMakesAndUnmakesTheDefaultButton) {
    HWND b = Make("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 75, 23, 1);
    SendMessage(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, 1);
    EXPECT_EQ(GetWindowStyle(b) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(SendMessage(b, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    Pump();
    EXPECT_EQ(ClientPixel(b, 0, 0), gdi::GetSysColor(gdi::COLOR_WINDOWFRAME));
    SendMessage(b, BM_SETSTYLE, BS_PUSHBUTTON, 1);
    Pump();
    EXPECT_EQ(ClientPixel(b, 1, 1), gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT));
}

TEST_F(Button, AnOwnerDrawnButtonIsPaintedByItsParentWithItsState) {
    std::vector<DRAWITEMSTRUCT> drawn;
    SetHandler(Parent, [&](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg != WM_DRAWITEM) return std::nullopt;
        drawn.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return 1;
    });
    HWND b = Make("BUTTON", "Glyph", BS_OWNERDRAW, 10, 10, 75, 23, 7);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().CtlType, ODT_BUTTON);
    EXPECT_EQ(drawn.back().CtlID, 7u);
    EXPECT_EQ(drawn.back().hwndItem, b);
    EXPECT_EQ(drawn.back().itemState & ODS_SELECTED, 0u);
    PressAt(b, 10, 10);
    EXPECT_EQ(drawn.back().itemState & (ODS_SELECTED | ODS_FOCUS), ODS_SELECTED | ODS_FOCUS);
    ReleaseAt(b, 10, 10);
    EXPECT_EQ(drawn.back().itemState & ODS_SELECTED, 0u);
    EXPECT_EQ(CodeCount(7, BN_CLICKED), 1);
}

TEST_F(Button, AGroupBoxLetsTheMouseThroughToItsParent) {
    HWND group = Make("BUTTON", "Group", BS_GROUPBOX, 10, 10, 200, 100, 1);
    ClickAt(group, 50, 50);
    EXPECT_EQ(Count(group, WM_LBUTTONDOWN), 0);
    EXPECT_EQ(Count(Parent, WM_LBUTTONDOWN), 1);
}

TEST_F(Button, ThePlainLookHasRaisedEdgesAndTheCheckBoxItsTick) {
    HWND push = Make("BUTTON", "", BS_PUSHBUTTON, 10, 10, 75, 23, 1);
    HWND box = Make("BUTTON", "", BS_CHECKBOX, 10, 50, 60, 17, 2);
    SendMessage(box, BM_SETCHECK, BST_CHECKED, 0);
    Pump();
    // Raised: light and highlight on the upper left, dark shadow and shadow on the lower right.
    EXPECT_EQ(ClientPixel(push, 0, 0), gdi::GetSysColor(gdi::COLOR_3DLIGHT));
    EXPECT_EQ(ClientPixel(push, 1, 1), gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(ClientPixel(push, 74, 22), gdi::GetSysColor(gdi::COLOR_3DDKSHADOW));
    EXPECT_EQ(ClientPixel(push, 73, 21), gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
    EXPECT_EQ(ClientPixel(push, 37, 11), gdi::GetSysColor(gdi::COLOR_BTNFACE));
    const int top = (17 - CheckMarkSize) / 2;
    EXPECT_EQ(ClientPixel(box, 0, top), gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
    EXPECT_EQ(ClientPixel(box, 3, top + 5), gdi::GetSysColor(gdi::COLOR_WINDOWTEXT));   // the tick
    EXPECT_EQ(ClientPixel(box, 3, top + 3), gdi::GetSysColor(gdi::COLOR_WINDOW));
}

TEST_F(Button, APressedButtonIsDrawnFlatWithAShadowFrame) {
    HWND push = Make("BUTTON", "", BS_PUSHBUTTON, 10, 10, 75, 23, 1);
    SendMessage(push, BM_SETSTATE, 1, 0);
    Pump();
    EXPECT_EQ(ClientPixel(push, 0, 0), gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
    EXPECT_EQ(ClientPixel(push, 74, 22), gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
}

TEST_F(Button, ADestroyedButtonInItsOwnClickHandlerIsLeftAlone) {
    HWND b = Make("BUTTON", "Close", BS_AUTOCHECKBOX, 10, 10, 75, 23, 1);
    SetHandler(Parent, [&](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) DestroyWindow(b);
        return std::nullopt;
    });
    ClickAt(b, 5, 5);
    EXPECT_FALSE(IsWindow(b));
    EXPECT_EQ(GetCapture(), nullptr);
}

}

}
