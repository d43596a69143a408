// TMaskEdit by real keys on the headless display: typing through the mask, deleting, pasting, Text and
// EditText, validation when the edit is left.
#include "support/ControlsTestKit.h"

#include "platform/classes/TEdit.h"
#include "platform/classes/TMaskEdit.h"
#include "platform/user/Clipboard.h"
#include "platform/user/VirtualKeys.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class MaskEditTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 300, 200);
        Edit = Create<TMaskEdit>(Form);
        Edit->SetBounds(10, 10, 150, 25);
        Edit->SetParent(Form);
    }
    // Characters are typed; B is Backspace, D Delete, H Home, R Right, A Ctrl+A, V Ctrl+V, X Ctrl+X.
    void Keys(const std::u32string& script) {
        for (char32_t c : script) {
            switch (c) {
            case U'B': Display->Press(user::VK_BACK, "\b"); break;
            case U'D': Display->Press(user::VK_DELETE); break;
            case U'H': Display->Press(user::VK_HOME); break;
            case U'R': Display->Press(user::VK_RIGHT); break;
            case U'A': case U'V': case U'X': Display->Press(unsigned(c), "", user::ModControl); break;
            default: Display->Press(0xBD, FromCodePoints(std::u32string(1, c))); break;
            }
            Pump();
        }
    }

    TForm* Form = nullptr;
    TMaskEdit* Edit = nullptr;
};

TEST_F(MaskEditTest, TypingFillsSlotsSkipsLiteralsAndRefusesWhatTheMaskForbids) {
    struct Case {
        const char* mask;
        std::u32string keys;
        const char* editText;
        const char* text;
        int caret;
    };
    const Case cases[] = {
        {"(999)000-0000;1;_", U"5551234567", "(555)123-4567", "(555)123-4567", 13},
        {"(999)000-0000;0;_", U"55x5-1", "(555)1__-____", "5551      ", 6},   // x and - refused
        {">ll-00;0;_", U"ab12", "AB-12", "AB12", 5},
        {"<LL;1;_", U"QЖ", "qж", "qж", 2},
        {"AAAAAA;1; ", U"ff00aa77", "ff00aa", "ff00aa", 6},   // a full mask takes nothing more
        {"00:00;1;_", U"12H9", "92:__", "92:  ", 1},   // typing overwrites
        {"ccc;1;*", U"a b", "a*b", "a b", 3},   // a space leaves an optional slot blank
    };
    for (const Case& c : cases) {
        Edit->SetEditMask(c.mask);
        Edit->SetText("");
        Edit->SetFocus();
        Edit->SetSelStart(0);
        Keys(c.keys);
        EXPECT_EQ(Edit->EditText(), c.editText) << c.mask;
        EXPECT_EQ(Edit->Text(), c.text) << c.mask;
        EXPECT_EQ(Edit->SelStart(), c.caret) << c.mask;
    }
}

TEST_F(MaskEditTest, BackspaceDeletePasteAndCutBlankSlotsAndKeepLiterals) {
    struct Case {
        std::u32string keys;
        const char* editText;
        int caret;
    };
    const Case cases[] = {
        {U"BB", "12-__", 3},   // the literal is stepped over
        {U"HRRD", "12-_4", 2},   // Delete at a literal blanks the next slot
        {U"HB", "12-34", 0},   // nothing before the first slot
        {U"AD", "__-__", 0},
        {U"HRD9", "19-34", 3},
        {U"HV", "56-74", 4},   // what a slot refuses is skipped
        {U"AX", "__-__", 0},
    };
    Edit->SetEditMask("00-00;1;_");
    for (const Case& c : cases) {
        user::SetClipboardText("5x6-7");
        Edit->SetText("12-34");
        Edit->SetFocus();
        Edit->SetSelStart(5);
        Keys(c.keys);
        EXPECT_EQ(Edit->EditText(), c.editText) << FromCodePoints(c.keys);
        EXPECT_EQ(Edit->SelStart(), c.caret) << FromCodePoints(c.keys);
    }
    EXPECT_EQ(user::GetClipboardText(), "12-34");   // the cut copied first
}

TEST_F(MaskEditTest, SettingTheMaskRefitsTheTextAndClearingItLeavesAPlainEdit) {
    Edit->SetText("plain");
    EXPECT_FALSE(Edit->IsMasked());
    Edit->SetEditMask("LLL;0;*");
    EXPECT_EQ(Edit->MaxLength(), 3);
    EXPECT_EQ(Edit->EditText(), "pla");
    Edit->SetEditText("x1z");
    EXPECT_EQ(Edit->Text(), "x z");
    Edit->SetEditMask("");
    EXPECT_EQ(Edit->Text(), "x z");
    EXPECT_EQ(Edit->MaxLength(), 0);
}

TEST_F(MaskEditTest, LeavingWithABlankRequiredSlotRaisesAndKeepsTheFocus) {
    auto* other = Create<TEdit>(Form);
    other->SetBounds(10, 60, 150, 25);
    other->SetParent(Form);
    int exits = 0;
    Edit->OnExit = [&](TObject*) { ++exits; };
    Edit->SetEditMask("(9)00;1;_");
    Edit->SetFocus();
    Keys(U"4");
    EXPECT_THROW(Edit->ValidateEdit(), EDBEditError);
    other->SetFocus();
    Pump();
    ASSERT_EQ(Exceptions.size(), 1u);
    EXPECT_EQ(Exceptions[0], "Invalid input value");
    EXPECT_TRUE(Edit->Focused());
    EXPECT_EQ(Edit->EditText(), "(4)__");
    EXPECT_EQ(Edit->SelStart(), 3);   // at the slot to fill
    EXPECT_EQ(exits, 0);
    Keys(U"23");
    other->SetFocus();
    Pump();
    EXPECT_EQ(Exceptions.size(), 1u);
    EXPECT_TRUE(other->Focused());
    EXPECT_EQ(exits, 1);
}

}
