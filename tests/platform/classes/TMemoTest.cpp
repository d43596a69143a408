// TMemo: lines bound to the window's text, scroll bars, word wrap, alignment, Enter and Tab, the caret point.
#include "support/ControlsTestKit.h"

#include "platform/classes/Errors.h"
#include "platform/classes/TMemo.h"
#include "platform/user/Messages.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/EditConstants.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class MemoTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 400, 300);
        Memo = Create<TMemo>(Form);
        Memo->SetBounds(10, 10, 200, 100);
        Memo->SetParent(Form);
    }
    TForm* Form = nullptr;
    TMemo* Memo = nullptr;
};

TEST_F(MemoTest, LinesAddInsertDeleteAndPutWorkOnTheWindowText) {
    TStrings* lines = Memo->Lines();
    EXPECT_EQ(lines->Count(), 0);
    lines->Add("first");
    lines->Add("третья");
    lines->Insert(1, "second");
    EXPECT_EQ(Memo->Text(), "first\r\nsecond\r\nтретья\r\n");
    EXPECT_EQ(lines->Count(), 3);
    EXPECT_EQ(lines->Get(2), "третья");
    lines->Put(0, "FIRST");
    lines->Delete(1);
    EXPECT_EQ(Memo->Text(), "FIRST\r\nтретья\r\n");
    EXPECT_THROW(lines->Get(5), EListError);
    EXPECT_THROW(lines->Delete(-1), EListError);
    lines->SetText("a\nb");
    EXPECT_EQ(lines->Count(), 2);
    lines->Add("c");   // after a last line without a line end
    EXPECT_EQ(Memo->Text(), "a\r\nb\r\nc");
    lines->Clear();
    EXPECT_EQ(lines->Count(), 0);
}

TEST_F(MemoTest, LinesOfAMemoWithoutAWindowLiveInItsText) {
    auto* loose = Create<TMemo>(Form);
    loose->Lines()->Add("one");
    loose->Lines()->Add("two");
    EXPECT_EQ(loose->Lines()->Count(), 2);
    EXPECT_EQ(loose->Text(), "one\r\ntwo\r\n");
    loose->SetParent(Form);
    EXPECT_EQ(loose->Lines()->Get(1), "two");
}

TEST_F(MemoTest, LongTextLoadsThroughTheLines) {
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "unit info line " + std::to_string(i) + "\r\n";
    Memo->Lines()->SetText(text);
    EXPECT_EQ(Memo->Lines()->Count(), 2000);
    EXPECT_EQ(Memo->Lines()->Get(1999), "unit info line 1999");
}

TEST_F(MemoTest, ScrollBarsAndWordWrapMakeTheWindowStyle) {
    Memo->SetScrollBars(ssVertical);
    user::HWND h = Memo->Handle();
    EXPECT_NE(user::GetWindowStyle(h) & user::WS_VSCROLL, 0u);
    EXPECT_NE(user::GetWindowStyle(h) & user::ES_MULTILINE, 0u);
    EXPECT_EQ(user::GetWindowStyle(h) & user::ES_AUTOHSCROLL, 0u);   // word wrap
    Memo->SetText(std::string(300, 'w'));
    EXPECT_GT(user::SendMessage(h, user::EM_GETLINECOUNT, 0, 0), 1);
    Memo->SetWordWrap(false);
    h = Memo->Handle();
    EXPECT_NE(user::GetWindowStyle(h) & user::ES_AUTOHSCROLL, 0u);
    EXPECT_EQ(user::SendMessage(h, user::EM_GETLINECOUNT, 0, 0), 1);
    EXPECT_EQ(Memo->Text(), std::string(300, 'w'));   // kept through the new window
    // The vertical bar's page is clamped to the range while the text fits.
    Memo->SetText("x");
    user::SCROLLINFO si;
    si.fMask = user::SIF_ALL;
    ASSERT_TRUE(user::GetScrollInfo(h, user::SB_VERT, &si));
    EXPECT_EQ(si.nMax, 0);
    EXPECT_EQ(si.nPage, 1u);
    Memo->SetAlignment(taCenter);
    EXPECT_NE(user::GetWindowStyle(Memo->Handle()) & user::ES_CENTER, 0u);
}

TEST_F(MemoTest, EnterAndTabAreTypedOnlyWhenWanted) {
    user::HWND h = Memo->Handle();
    user::SendMessage(h, user::WM_CHAR, '\r', 0);
    user::SendMessage(h, user::WM_CHAR, '\t', 0);
    EXPECT_EQ(Memo->Text(), "\r\n");
    EXPECT_EQ(user::SendMessage(h, user::WM_GETDLGCODE, 0, 0) & user::DLGC_WANTTAB, 0);
    Memo->SetWantTabs(true);
    Memo->SetWantReturns(false);
    user::SendMessage(h, user::WM_CHAR, '\r', 0);
    user::SendMessage(h, user::WM_CHAR, '\t', 0);
    EXPECT_EQ(Memo->Text(), "\r\n\t");
    EXPECT_NE(user::SendMessage(h, user::WM_GETDLGCODE, 0, 0) & user::DLGC_WANTTAB, 0);
    EXPECT_EQ(user::SendMessage(h, user::WM_GETDLGCODE, 0, 0) & user::DLGC_WANTALLKEYS, 0);
}

TEST_F(MemoTest, CaretPosIsCharacterAndLine) {
    Memo->SetText("ab\r\ncdef");
    Memo->SetCaretPos(TPoint {3, 1});
    EXPECT_EQ(Memo->SelStart(), 7);
    TPoint p = Memo->CaretPos();
    EXPECT_EQ(p.x, 3);
    EXPECT_EQ(p.y, 1);
}

TEST_F(MemoTest, ReadOnlyMemoKeepsItsText) {
    Memo->SetReadOnly(true);
    Memo->Lines()->Add("log");   // code may still change it
    user::SendMessage(Memo->Handle(), user::WM_CHAR, 'x', 0);
    EXPECT_EQ(Memo->Text(), "log\r\n");
}

}
