// TMaskEdit by real keys on the headless display: typing through the mask, deleting, pasting, Text and
// EditText, validation when the edit is left.
#include "support/ControlsTestKit.h"

#include "platform/classes/TEdit.h"
#include "platform/classes/TMaskEdit.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/display/Display.h"

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
        Edit->OnChange = [this](TObject*) { ++Changes; };
    }
    // Keys as a script: characters are typed, {BS} {DEL} {HOME} {END} {LEFT} {RIGHT} {PASTE} {CUT} {SELALL} are
    // keys (shift+Home selects to the start: {SHOME}).
    void Keys(const std::string& script) {
        for (std::size_t i = 0; i < script.size();) {
            if (script[i] == '{') {
                std::size_t close = script.find('}', i);
                std::string name = script.substr(i + 1, close - i - 1);
                i = close + 1;
                struct Named {
                    const char* name;
                    unsigned vk;
                    unsigned modifiers;
                };
                static const Named named[] = {{"BS", user::VK_BACK, 0}, {"DEL", user::VK_DELETE, 0},
                    {"HOME", user::VK_HOME, 0}, {"END", user::VK_END, 0}, {"LEFT", user::VK_LEFT, 0},
                    {"RIGHT", user::VK_RIGHT, 0}, {"PASTE", 'V', user::ModControl}, {"CUT", 'X', user::ModControl},
                    {"SELALL", 'A', user::ModControl}, {"SHOME", user::VK_HOME, user::ModShift}};
                for (const Named& n : named)
                    if (name == n.name) Display->Press(n.vk, n.vk == user::VK_BACK ? "\b" : "", n.modifiers);
            } else {
                std::size_t start = i;
                NextChar(script, i);
                std::string ch = script.substr(start, i - start);
                unsigned vk = ch.size() == 1 && std::isalnum(static_cast<unsigned char>(ch[0]))
                    ? unsigned(std::toupper(static_cast<unsigned char>(ch[0])))
                    : 0xBD;
                Display->Press(vk, ch);
            }
            Pump();
        }
    }
    static void NextChar(const std::string& s, std::size_t& i) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
            ++i;
    }
    int Caret() { return Edit->SelStart(); }

    TForm* Form = nullptr;
    TMaskEdit* Edit = nullptr;
    int Changes = 0;
};

TEST_F(MaskEditTest, TypingFillsSlotsSkipsLiteralsAndRefusesWhatTheMaskForbids) {
    struct Case {
        const char* mask;
        const char* keys;
        const char* editText;
        const char* text;
        int caret;
    };
    const Case cases[] = {
        {"(999)000-0000;1;_", "5551234567", "(555)123-4567", "(555)123-4567", 13},
        {"(999)000-0000;1;_", "55x5-1", "(555)1__-____", "(555)1  -    ", 6},   // x and - refused
        {"(999)000-0000;0;_", "5551234567", "(555)123-4567", "5551234567", 13},
        {">LL-00;0;_", "ab12", "AB-12", "AB12", 5},
        {"<LL;1;_", "QЖ", "qж", "qж", 2},
        {"AAAAAA;1; ", "FF00AA77", "FF00AA", "FF00AA", 6},   // a full mask takes nothing more
        {"00:00;1;_", "12{HOME}9", "92:__", "92:  ", 1},   // typing overwrites
        {"#999;1;_", "-12", "-12_", "-12 ", 3},
        {"\\A000;1;_", "A12", "A12_", "A12 ", 3},   // the escaped A is a literal, typing it is refused
        {"ccc;1;*", "a b", "a*b", "a b", 3},   // a space leaves an optional slot blank
    };
    for (const Case& c : cases) {
        Edit->SetEditMask(c.mask);
        Edit->SetText("");
        Edit->SetFocus();
        Edit->SetSelStart(0);
        Keys(c.keys);
        EXPECT_EQ(Edit->EditText(), c.editText) << c.mask << " / " << c.keys;
        EXPECT_EQ(Edit->Text(), c.text) << c.mask << " / " << c.keys;
        EXPECT_EQ(Caret(), c.caret) << c.mask << " / " << c.keys;
    }
}

TEST_F(MaskEditTest, BackspaceAndDeleteBlankSlotsAndKeepLiterals) {
    struct Case {
        const char* keys;
        const char* editText;
        int caret;
    };
    const Case cases[] = {
        {"{BS}", "12-3_", 4},   // back over the last slot
        {"{BS}{BS}", "12-__", 3},
        {"{BS}{BS}{BS}", "1_-__", 1},   // the literal is stepped over
        {"{HOME}{DEL}", "_2-34", 0},
        {"{HOME}{RIGHT}{RIGHT}{DEL}", "12-_4", 2},   // Delete at a literal blanks the next slot
        {"{HOME}{BS}", "12-34", 0},   // nothing before the first slot
        {"{SELALL}{DEL}", "__-__", 0},
        {"{END}{SHOME}{BS}", "__-__", 0},
        {"{HOME}{RIGHT}{DEL}9", "19-34", 3},
    };
    Edit->SetEditMask("00-00;1;_");
    for (const Case& c : cases) {
        Edit->SetText("12-34");
        Edit->SetFocus();
        Edit->SetSelStart(5);
        Keys(c.keys);
        EXPECT_EQ(Edit->EditText(), c.editText) << c.keys;
        EXPECT_EQ(Caret(), c.caret) << c.keys;
    }
}

TEST_F(MaskEditTest, PasteFitsTheClipboardAndCutBlanksTheSelection) {
    Edit->SetEditMask("(999)000;1;_");
    Edit->SetFocus();
    user::SetClipboardText("(12)34x5");
    Keys("{HOME}{PASTE}");
    EXPECT_EQ(Edit->EditText(), "(123)45_");   // refused characters are skipped
    Keys("{SELALL}{CUT}");
    EXPECT_EQ(Edit->EditText(), "(___)___");
    EXPECT_EQ(user::GetClipboardText(), "(123)45_");
    user::SetClipboardText("");
    Keys("1{PASTE}");
    EXPECT_EQ(Edit->EditText(), "(1__)___");
}

TEST_F(MaskEditTest, ReadOnlyAndOnKeyPressStillRule) {
    Edit->SetEditMask("000;1;_");
    Edit->SetFocus();
    Edit->OnKeyPress = [](TObject*, char32_t& key) {
        if (key == U'5') key = U'6';
    };
    Keys("15");
    EXPECT_EQ(Edit->EditText(), "16_");
    Edit->SetReadOnly(true);
    Keys("{BS}7");
    EXPECT_EQ(Edit->EditText(), "16_");
}

TEST_F(MaskEditTest, TextFollowsTheMaskAndTheMaskRefitsTheText) {
    Edit->SetText("plain");
    EXPECT_FALSE(Edit->IsMasked());
    EXPECT_EQ(Edit->EditText(), "plain");
    Edit->SetEditMask("LLL;0;*");
    EXPECT_TRUE(Edit->IsMasked());
    EXPECT_EQ(Edit->MaxLength(), 3);
    EXPECT_EQ(Edit->EditText(), "pla");
    Edit->SetEditText("x1z");
    EXPECT_EQ(Edit->EditText(), "x*z");
    EXPECT_EQ(Edit->Text(), "x z");
    Changes = 0;
    Edit->SetEditMask("");
    EXPECT_FALSE(Edit->IsMasked());
    EXPECT_EQ(Edit->Text(), "x z");
    EXPECT_EQ(Edit->MaxLength(), 0);
    EXPECT_LE(Changes, 1);
}

TEST_F(MaskEditTest, ValidateEditRaisesOnABlankRequiredSlotAndPointsAtIt) {
    Edit->SetEditMask("(999)000;1;_");
    Edit->SetText("(1  )23");
    EXPECT_THROW(Edit->ValidateEdit(), EDBEditError);
    EXPECT_EQ(Caret(), 7);
    Edit->SetText("(   )234");
    EXPECT_NO_THROW(Edit->ValidateEdit());
    Edit->SetEditMask("");
    Edit->SetText("");
    EXPECT_NO_THROW(Edit->ValidateEdit());
}

TEST_F(MaskEditTest, LeavingAnIncompleteEditReportsTheErrorAndKeepsTheFocus) {
    auto* other = Create<TEdit>(Form);
    other->SetBounds(10, 60, 150, 25);
    other->SetParent(Form);
    int exits = 0;
    Edit->OnExit = [&](TObject*) { ++exits; };
    Edit->SetEditMask("00;1;_");
    Edit->SetFocus();
    Keys("4");
    other->SetFocus();
    Pump();
    ASSERT_EQ(Exceptions.size(), 1u);
    EXPECT_EQ(Exceptions[0], "Invalid input value");
    EXPECT_TRUE(Edit->Focused());
    EXPECT_EQ(Form->ActiveControl(), Edit);
    EXPECT_EQ(exits, 0);
    Keys("2");
    other->SetFocus();
    Pump();
    EXPECT_EQ(Exceptions.size(), 1u);
    EXPECT_TRUE(other->Focused());
    EXPECT_EQ(exits, 1);
}

}
