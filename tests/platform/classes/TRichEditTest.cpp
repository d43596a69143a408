// TRichEdit: selection attributes, default attributes, background colour, loading lines from a stream,
// copying, OnChange and OnSelectionChange, scrolling a line down.
#include "support/ControlsTestKit.h"

#include "platform/classes/TEdit.h"
#include "platform/classes/TMemoryStream.h"
#include "platform/classes/TRichEdit.h"
#include "platform/classes/TStringStream.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Messages.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/Window.h"
#include "platform/user/controls/RichEditConstants.h"

#include <cstdlib>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class RichEditTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 420, 300);
        Rich = Create<TRichEdit>(Form);
        Rich->SetBounds(10, 10, 380, 200);
        Rich->SetParent(Form);
    }
    TForm* Form = nullptr;
    TRichEdit* Rich = nullptr;
};

TEST_F(RichEditTest, SelAttributesColourTheSelectedRange) {
    Rich->SetText("Completed unit\r\nerror here\r\nplain");
    Rich->SetSelStart(0);
    Rich->SetSelLength(16);
    Rich->SelAttributes()->SetColor(TColor(0xFF0000));
    Rich->SetSelStart(16);
    Rich->SetSelLength(12);
    Rich->SelAttributes()->SetColor(TColor(0x0000FF));
    Rich->SetSelStart(2);
    Rich->SetSelLength(3);
    EXPECT_EQ(Rich->SelAttributes()->Color(), TColor(0xFF0000));
    Rich->SetSelStart(18);
    Rich->SetSelLength(2);
    EXPECT_EQ(Rich->SelAttributes()->Color(), TColor(0x0000FF));
    Rich->SetSelStart(30);
    Rich->SetSelLength(2);
    EXPECT_EQ(Rich->SelAttributes()->Color(), clWindowText);
    Rich->SetSelStart(0);
    Rich->SetSelLength(9);
    Rich->SelAttributes()->SetStyle(TFontStyles {fsBold});
    EXPECT_TRUE(Rich->SelAttributes()->Style().Contains(fsBold));
    Rich->SelAttributes()->SetSize(14);
    EXPECT_EQ(Rich->SelAttributes()->Size(), 14);
}

TEST_F(RichEditTest, DefaultAttributesAndBackgroundColour) {
    Rich->SetText("MMMM");
    Rich->DefAttributes()->SetColor(TColor(0x00A000));
    EXPECT_EQ(Rich->DefAttributes()->Color(), TColor(0x00A000));
    Rich->SetColor(TColor(0x203040));
    Pump();
    EXPECT_EQ(PixelAt(Rich, 300, 150), gdi::RGB(0x40, 0x30, 0x20));
    // A font colour change resets the default colour, as a change of skin does.
    Rich->Font()->SetColor(clWindowText);
    EXPECT_EQ(Rich->DefAttributes()->Color(), clWindowText);
}

TEST_F(RichEditTest, LinesLoadFromAStreamWithoutALimit) {
    std::string text;
    for (int i = 0; i < 4000; ++i)
        text += "[00:00:" + std::to_string(i % 60) + "] Finished a frame " + std::to_string(i) + "\r\n";
    ASSERT_GT(text.size(), 0xFFFFu);   // more than the native default limit
    TStringStream stream(text);
    Rich->Lines()->LoadFromStream(stream);
    EXPECT_EQ(Rich->Lines()->Count(), 4000);
    EXPECT_EQ(Rich->Lines()->Get(3999), "[00:00:39] Finished a frame 3999");
    Rich->Lines()->Clear();
    EXPECT_EQ(Rich->Lines()->Count(), 0);
}

TEST_F(RichEditTest, CopyToClipboardTakesTheSelection) {
    Rich->SetReadOnly(true);
    Rich->SetText("line one\r\nline two");
    Rich->SetSelStart(5);
    Rich->SetSelLength(10);
    EXPECT_EQ(Rich->SelText(), "one\r\nline ");
    Rich->CopyToClipboard();
    EXPECT_EQ(user::GetClipboardText(), "one\r\nline ");
}

TEST_F(RichEditTest, OnChangeAndOnSelectionChangeFire) {
    int changes = 0;
    int selections = 0;
    Rich->OnChange = [&](TObject*) { ++changes; };
    Rich->OnSelectionChange = [&](TObject*) { ++selections; };
    Rich->HandleNeeded();
    user::SendMessage(Rich->Handle(), user::WM_CHAR, 'a', 0);
    EXPECT_EQ(changes, 1);
    EXPECT_GE(selections, 1);
    int before = selections;
    Rich->SetSelStart(0);
    EXPECT_EQ(selections, before + 1);
}

TEST_F(RichEditTest, LineDownScrollsOneLine) {
    Rich->SetScrollBars(ssVertical);
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "line\r\n";
    Rich->SetText(text);
    user::SendMessage(Rich->Handle(), user::WM_VSCROLL, user::SB_LINEDOWN, 0);
    EXPECT_EQ(user::SendMessage(Rich->Handle(), user::EM_GETFIRSTVISIBLELINE, 0, 0), 1);
    user::SCROLLINFO si;
    si.fMask = user::SIF_ALL;
    ASSERT_TRUE(user::GetScrollInfo(Rich->Handle(), user::SB_VERT, &si));
    EXPECT_GT(si.nMax, 100);   // pixels
}

}

namespace {

// The edits of the class library on a form; the picture goes to $KORVEX_SCREENSHOT_DIR when set.
TEST_F(RichEditTest, FormWithEditMemoAndRichEditShowsTheirText) {
    Rich->SetBounds(10, 120, 380, 70);
    Rich->SetScrollBars(ssVertical);
    Rich->Lines()->Add("Project: 2665 (Run 1, Clone 3, Gen 40)");
    Rich->Lines()->Add("Shutdown requested");
    Rich->SetSelStart(0);
    Rich->SetSelLength(int(Rich->Lines()->Get(0).size()) + 2);
    Rich->SelAttributes()->SetColor(TColor(0xFF0000));
    Rich->SetSelStart(Rich->SelStart() + Rich->SelLength());
    Rich->SetSelLength(20);
    Rich->SelAttributes()->SetColor(TColor(0x0000FF));
    auto* edit = Create<TEdit>(Form);
    edit->SetBounds(10, 10, 180, 21);
    edit->SetText("Node Name");
    edit->SetParent(Form);
    auto* memo = Create<TMemo>(Form);
    memo->SetBounds(200, 10, 190, 100);
    memo->SetScrollBars(ssVertical);
    memo->SetReadOnly(true);
    memo->SetParent(Form);
    for (int i = 1; i <= 9; ++i)
        memo->Lines()->Add("unitinfo line " + std::to_string(i));
    Pump();
    EXPECT_NE(PixelAt(edit, 6, 8), PixelAt(edit, 170, 8));   // text ink on the window colour
    if (const char* dir = std::getenv("KORVEX_SCREENSHOT_DIR")) {
        TPoint origin = Form->ClientToScreen(TPoint {0, 0});
        gdi::RECT r {origin.x - 10, origin.y - 40, origin.x + 430, origin.y + 310};
        Display->WriteScreenshotPng(std::string(dir) + "/edit-controls.png", &r);
    }
}

}
