// TEdit and TMaskEdit over the native edit: properties before and after the window, selection, clipboard,
// OnChange, auto-select and the published properties.
#include "support/ControlsTestKit.h"

#include "platform/classes/PropInfo.h"
#include "platform/classes/TEdit.h"
#include "platform/classes/TMaskEdit.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Messages.h"
#include "platform/user/Window.h"
#include "platform/user/controls/EditConstants.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class EditTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 300, 200);
    }
    template <class T>
    T* Add(int x = 10, int y = 10) {
        auto* e = Create<T>(Form);
        e->SetLeft(x);
        e->SetTop(y);
        e->SetParent(Form);
        return e;
    }
    TForm* Form = nullptr;
};

TEST_F(EditTest, SettingsMadeBeforeTheWindowReachIt) {
    auto* e = Create<TEdit>(Form);
    e->SetMaxLength(4);
    e->SetReadOnly(true);
    e->SetPasswordChar(U'#');
    e->SetText("abc");
    e->SetModified(true);
    e->SetParent(Form);
    user::HWND h = e->Handle();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(user::GetClassName(h), "TEdit");
    EXPECT_EQ(user::SendMessage(h, user::EM_GETLIMITTEXT, 0, 0), 4);
    EXPECT_NE(user::GetWindowStyle(h) & user::ES_READONLY, 0u);
    EXPECT_EQ(user::SendMessage(h, user::EM_GETPASSWORDCHAR, 0, 0), user::LRESULT('#'));
    EXPECT_NE(user::GetWindowExStyle(h) & user::WS_EX_CLIENTEDGE, 0u);
    EXPECT_EQ(e->Text(), "abc");
    EXPECT_TRUE(e->Modified());
    e->SetReadOnly(false);
    EXPECT_EQ(user::GetWindowStyle(h) & user::ES_READONLY, 0u);
    e->SetMaxLength(-3);
    EXPECT_EQ(e->MaxLength(), 0);
}

TEST_F(EditTest, AutoSizeFitsTheHeightToTheFont) {
    auto* e = Add<TEdit>();
    int small = e->Height();
    EXPECT_GT(small, 15);
    EXPECT_LT(small, 30);
    e->Font()->SetSize(16);
    EXPECT_GT(e->Height(), small + 5);
    e->SetAutoSize(false);
    e->SetHeight(50);
    e->Font()->SetSize(8);
    EXPECT_EQ(e->Height(), 50);
}

TEST_F(EditTest, SelectionPropertiesAndClipboard) {
    auto* e = Add<TEdit>();
    e->SetText("hello Мир");
    e->SetSelStart(6);
    e->SetSelLength(3);
    EXPECT_EQ(e->SelStart(), 6);
    EXPECT_EQ(e->SelLength(), 3);
    EXPECT_EQ(e->SelText(), "Мир");
    e->CopyToClipboard();
    EXPECT_EQ(user::GetClipboardText(), "Мир");
    e->SetSelText("World");
    EXPECT_EQ(e->Text(), "hello World");
    EXPECT_TRUE(e->CanUndo());
    e->Undo();
    EXPECT_EQ(e->Text(), "hello Мир");
    e->ClearUndo();
    EXPECT_FALSE(e->CanUndo());
    e->SelectAll();
    e->CutToClipboard();
    EXPECT_EQ(e->Text(), "");
    e->PasteFromClipboard();
    EXPECT_EQ(e->Text(), "hello Мир");
    e->SetSelStart(0);
    e->SetSelLength(6);
    e->ClearSelection();
    EXPECT_EQ(e->Text(), "Мир");
    e->Clear();
    EXPECT_EQ(e->Text(), "");
}

TEST_F(EditTest, OnChangeFollowsTypingAndTextButNotTheWindowsMaking) {
    auto* e = Create<TEdit>(Form);
    int changes = 0;
    e->OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, e);
        ++changes;
    };
    e->SetText("before the window");
    e->SetParent(Form);
    e->HandleNeeded();
    EXPECT_EQ(changes, 0);
    e->SetText("set");
    EXPECT_EQ(changes, 1);
    e->SetFocus();
    Display->Press('X', "x");
    Pump();
    EXPECT_EQ(changes, 2);
}

TEST_F(EditTest, EnteringByKeyboardSelectsAllUnlessAutoSelectIsOff) {
    auto* first = Add<TEdit>(10, 10);
    auto* second = Add<TEdit>(10, 50);
    second->SetText("select me");
    first->SetFocus();
    Pump();
    second->SetFocus();
    Pump();
    EXPECT_EQ(second->SelLength(), 9);
    second->SetAutoSelect(false);
    second->SetSelStart(2);
    first->SetFocus();
    second->SetFocus();
    Pump();
    EXPECT_EQ(second->SelLength(), 0);
}

TEST_F(EditTest, CharCaseAndBorderStyleApplyToTheWindow) {
    auto* e = Add<TEdit>();
    e->SetText("Mixed");
    e->SetCharCase(ecUpperCase);
    EXPECT_EQ(e->Text(), "MIXED");
    e->SetCtl3D(false);
    EXPECT_EQ(user::GetWindowExStyle(e->Handle()) & user::WS_EX_CLIENTEDGE, 0u);
    EXPECT_NE(user::GetWindowStyle(e->Handle()) & user::WS_BORDER, 0u);
    e->SetBorderStyle(bsNone);
    EXPECT_EQ(user::GetWindowStyle(e->Handle()) & user::WS_BORDER, 0u);
    EXPECT_EQ(user::GetWindowExStyle(e->Handle()) & user::WS_EX_CLIENTEDGE, 0u);
    EXPECT_EQ(e->Text(), "MIXED");
}

TEST_F(EditTest, PasswordCharIsPublishedAsText) {
    auto* e = Add<TEdit>();
    e->SetPasswordCharText("*");
    EXPECT_EQ(e->PasswordChar(), U'*');
    e->SetPasswordCharText("");
    EXPECT_EQ(e->PasswordChar(), 0u);
    std::vector<std::string> names;
    for (const TPropInfo* p : TEdit::StaticClass()->Properties())
        names.push_back(p->Name);
    for (const char* name : {"AutoSelect", "AutoSize", "BorderStyle", "CharCase", "Ctl3D", "HideSelection", "MaxLength",
             "PasswordChar", "ReadOnly", "Text", "OnChange"})
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
}

TEST_F(EditTest, AMasksLengthLimitsTheText) {
    EXPECT_EQ(MaskCharCount("AAAAAA;1; "), 6);
    EXPECT_EQ(MaskCharCount(">AA\\-99;0;_"), 5);
    EXPECT_EQ(MaskCharCount(""), 0);
    auto* e = Add<TMaskEdit>();
    e->SetEditMask("AAAAAA;1; ");
    EXPECT_EQ(e->EditMask(), "AAAAAA;1; ");
    EXPECT_EQ(e->MaxLength(), 6);
    e->SetFocus();
    for (char c : std::string("FF00AA77"))
        user::SendMessage(e->Handle(), user::WM_CHAR, user::WPARAM(c), 0);
    EXPECT_EQ(e->Text(), "FF00AA");
}

}
