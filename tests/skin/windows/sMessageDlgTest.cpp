// The skinned message dialog: its layout from the message font, default and cancel buttons, answers by mouse
// and keys in the modal loop, the program's message boxes, and pictures of each type in each skin.
#include "support/WindowsKit.h"

#include "platform/base/Numbers.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TImage.h"
#include "platform/classes/TScreen.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/Text.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sLabel.h"
#include "skin/engine/sUtils.h"
#include "skin/windows/sMessageDlg.h"

#include <functional>
#include <stdexcept>

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;
using Step = std::function<void(TsMessageForm* dialog)>;

class MessageDlgTest : public FormsTest {
protected:
    void TearDown() override {
        Application->OnIdle = nullptr;
        SetMessageDialogHook(nullptr);
        FormsTest::TearDown();
    }

    // Runs call (which shows a dialog modally); each time the loop idles with the dialog shown, the next step
    // runs on it. A dialog still open when the steps are used up is ended with -1.
    int Answer(const std::function<int()>& call, std::vector<Step> steps) {
        size_t next = 0;
        Application->OnIdle = [&](TObject*, bool&) {
            auto* dialog = dynamic_cast<TsMessageForm*>(Screen->ActiveForm());
            if (dialog == nullptr || !dialog->Visible()) return;
            if (next < steps.size())
                steps[next++](dialog);
            else
                dialog->SetModalResult(-1);
            user::PostMessage(dialog->Handle(), user::WM_NULL, 0, 0);   // the loop waits for a message
        };
        const int result = call();
        Application->OnIdle = nullptr;
        EXPECT_EQ(next, steps.size()) << "the dialog closed before every step ran";
        return result;
    }

    void ClickButton(TsMessageForm* dialog, const char* name) {
        auto* button = dynamic_cast<TControl*>(dialog->FindComponent(name));
        ASSERT_NE(button, nullptr) << name;
        const TPoint p = button->ClientToScreen(TPoint {button->Width() / 2, button->Height() / 2});
        Display->Click(p.x, p.y);
    }

    // Text measured as the control draws it: on a DC holding the font.
    static gdi::RECT Measured(TFont* font, const std::string& text, int width, unsigned flags) {
        const gdi::HDC dc = gdi::CreateCompatibleDC(nullptr);
        const gdi::HGDIOBJ old = gdi::SelectObject(dc, font->Handle());
        gdi::RECT r {0, 0, width, 0};
        gdi::DrawText(dc, text, &r, flags | gdi::DT_CALCRECT);
        gdi::SelectObject(dc, old);
        gdi::DeleteDC(dc);
        return r;
    }

    static TsBitBtn* Button(TForm* dialog, const char* name) {
        return dynamic_cast<TsBitBtn*>(dialog->FindComponent(name));
    }
};

TEST_F(MessageDlgTest, EachTypeHasItsCaptionAndIconAndTheButtonsInTableOrder) {
    Application->SetTitle("KORVEX");
    struct Case {
        TMsgDlgType Type;
        const char* Caption;
        bool Icon;
    };
    for (const Case& c : {Case {mtWarning, "Warning", true}, Case {mtError, "Error", true},
             Case {mtInformation, "Information", true}, Case {mtConfirmation, "Confirm", true},
             Case {mtCustom, "KORVEX", false}}) {
        SCOPED_TRACE(c.Caption);
        std::unique_ptr<TsMessageForm, void (*)(TsMessageForm*)> dialog(
            sCreateMessageDialog("", "Node 3 stopped.", c.Type, {mbHelp, mbNo, mbYes, mbYesToAll}),
            [](TsMessageForm* f) { f->Free(); });
        EXPECT_EQ(dialog->Caption(), c.Caption);
        EXPECT_FALSE(dialog->Visible());
        EXPECT_EQ(dialog->BorderStyle(), bsDialog);
        EXPECT_EQ(dialog->SkinProvider()->SkinData()->SkinSection(), "DIALOG");
        EXPECT_FALSE(dialog->SkinProvider()->MakeSkinMenu());
        auto* image = dynamic_cast<TImage*>(dialog->FindComponent("Image"));
        EXPECT_EQ(image != nullptr, c.Icon);
        if (image != nullptr) {
            EXPECT_EQ(image->Width(), 32);
            EXPECT_EQ(image->Picture()->Width(), 32);
        }
        // Left to right in kind order, one width for all, Help answering nothing.
        const char* order[] = {"Yes", "No", "YesToAll", "Help"};
        const int results[] = {mrYes, mrNo, mrYesToAll, mrNone};
        int lastLeft = -1;
        for (int i = 0; i < 4; ++i) {
            TsBitBtn* b = Button(dialog.get(), order[i]);
            ASSERT_NE(b, nullptr) << order[i];
            EXPECT_GT(b->Left(), lastLeft);
            EXPECT_EQ(b->Width(), Button(dialog.get(), "Yes")->Width());
            EXPECT_EQ(b->ModalResult(), results[i]);
            lastLeft = b->Left();
        }
        EXPECT_EQ(Button(dialog.get(), "Yes to &All"), nullptr);
        EXPECT_EQ(Button(dialog.get(), "YesToAll")->Caption(), "Yes to &All");
    }
    std::unique_ptr<TsMessageForm, void (*)(TsMessageForm*)> titled(
        sCreateMessageDialog("Own title", "x", mtError, {mbOK}), [](TsMessageForm* f) { f->Free(); });
    EXPECT_EQ(titled->Caption(), "Own title");
}

TEST_F(MessageDlgTest, DefaultAndCancelButtonsFollowTheButtonSet) {
    struct Case {
        TMsgDlgButtons Buttons;
        const char* Default;   // nullptr: none
        const char* Cancel;
    };
    for (const Case& c : {Case {{mbYes, mbNo}, "Yes", "No"}, Case {{mbOK}, "OK", "OK"},
             Case {{mbOK, mbCancel}, "OK", "Cancel"}, Case {{mbAbort, mbRetry, mbIgnore}, "Retry", nullptr},
             Case {{mbAbort, mbIgnore}, nullptr, nullptr}}) {
        std::unique_ptr<TsMessageForm, void (*)(TsMessageForm*)> dialog(
            sCreateMessageDialog("", "?", mtConfirmation, c.Buttons), [](TsMessageForm* f) { f->Free(); });
        for (int i = 0; i < dialog->ComponentCount(); ++i) {
            auto* b = dynamic_cast<TsBitBtn*>(dialog->Components(i));
            if (b == nullptr) continue;
            SCOPED_TRACE(b->Name());
            EXPECT_EQ(b->Default(), c.Default != nullptr && b->Name() == c.Default);
            EXPECT_EQ(b->Cancel(), c.Cancel != nullptr && b->Name() == c.Cancel);
        }
    }
}

TEST_F(MessageDlgTest, TheLayoutComesFromTheMessageFontAndTheTextItself) {
    const std::string msg = "Work unit 4567 on node \"Garage\" is 3 days late.";
    std::unique_ptr<TsMessageForm, void (*)(TsMessageForm*)> dialog(
        sCreateMessageDialog("", msg, mtWarning, {mbOK}), [](TsMessageForm* f) { f->Free(); });
    const gdi::RECT letters = Measured(
        dialog->Font(), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 0, gdi::DT_SINGLELINE | gdi::DT_NOPREFIX);
    const int ax = letters.right / 52, ay = letters.bottom;
    // Measured with its terminating character, as the dialog measures it.
    const gdi::RECT text = Measured(dialog->Font(), std::string(msg) + '\0', Screen->Width() / 2,
        gdi::DT_WORDBREAK | gdi::DT_EXPANDTABS);
    const gdi::RECT plain = Measured(dialog->Font(), msg, Screen->Width() / 2, gdi::DT_WORDBREAK | gdi::DT_EXPANDTABS);
    // The form's canvas draws in the message font too.
    EXPECT_EQ(dialog->Canvas()->Font()->Name(), dialog->Font()->Name());
    EXPECT_EQ(dialog->Canvas()->Font()->Height(), dialog->Font()->Height());
    auto* label = dynamic_cast<TsLabel*>(dialog->FindComponent("Message"));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->WordWrap());
    EXPECT_EQ(label->Caption(), msg);
    EXPECT_GE(text.right, plain.right);
    EXPECT_EQ(label->Width(), text.right);
    EXPECT_EQ(label->Height(), text.bottom);
    const int horzMargin = base::MulDiv(16, ax, 4), horzSpacing = base::MulDiv(10, ax, 4);
    const int vertMargin = base::MulDiv(12, ay, 8), vertSpacing = base::MulDiv(10, ay, 8);
    EXPECT_EQ(label->Left(), horzMargin + 32 + horzSpacing);
    EXPECT_EQ(label->Top(), vertMargin);
    EXPECT_EQ(dialog->ClientWidth(), text.right + 32 + horzSpacing + 2 * horzMargin);
    const int iconText = std::max<int>(text.bottom, 32);
    EXPECT_EQ(dialog->ClientHeight(), iconText + base::MulDiv(14, ay, 8) + vertSpacing + 2 * vertMargin);
    TsBitBtn* ok = Button(dialog.get(), "OK");
    EXPECT_EQ(ok->Top(), iconText + vertMargin + vertSpacing);
    EXPECT_EQ(ok->Left(), (dialog->ClientWidth() - ok->Width()) / 2);
    EXPECT_EQ(dialog->Left(), Screen->Width() / 2 - dialog->Width() / 2);

    // No buttons: the width from text and icon, the button row still reserved.
    std::unique_ptr<TsMessageForm, void (*)(TsMessageForm*)> bare(
        sCreateMessageDialog("", msg, mtCustom, {}), [](TsMessageForm* f) { f->Free(); });
    EXPECT_EQ(bare->ClientWidth(), text.right + 2 * horzMargin);
    EXPECT_EQ(dynamic_cast<TControl*>(bare->FindComponent("Message"))->Left(), horzMargin);
    EXPECT_EQ(bare->ClientHeight(), text.bottom + base::MulDiv(14, ay, 8) + vertSpacing + 2 * vertMargin);
}

// A word longer than half the screen is not broken: the text is as wide as the word and the form grows.
TEST_F(MessageDlgTest, AWordWiderThanHalfTheScreenWidensTheDialog) {
    const std::string word(std::max(200, Screen->Width() / 4), 'W');
    const std::string msg = "Cannot open " + word + " now.";
    std::unique_ptr<TsMessageForm, void (*)(TsMessageForm*)> dialog(
        sCreateMessageDialog("", msg, mtCustom, {mbOK}), [](TsMessageForm* f) { f->Free(); });
    const gdi::RECT text = Measured(dialog->Font(), msg + '\0', Screen->Width() / 2,
        gdi::DT_WORDBREAK | gdi::DT_EXPANDTABS);
    const gdi::RECT alone = Measured(dialog->Font(), word, 0, gdi::DT_SINGLELINE);
    EXPECT_GT(text.right, Screen->Width() / 2);
    EXPECT_GE(text.right, alone.right);
    auto* label = dynamic_cast<TControl*>(dialog->FindComponent("Message"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Width(), text.right);
    EXPECT_EQ(dialog->ClientWidth(), text.right + 2 * label->Left());
}

TEST_F(MessageDlgTest, AWideCaptionWidensTheButtonsOfLaterDialogsToo) {
    MsgDlgButtonWidths()[mbNoToAll] = 400;   // as if measured once in a huge font
    std::unique_ptr<TsMessageForm, void (*)(TsMessageForm*)> dialog(
        sCreateMessageDialog("", "x", mtConfirmation, {mbYes, mbNoToAll}), [](TsMessageForm* f) { f->Free(); });
    EXPECT_EQ(Button(dialog.get(), "Yes")->Width(), 400);
    MsgDlgButtonWidths()[mbNoToAll] = 0;
}

TEST_F(MessageDlgTest, AnswersByMouseAndKeysGiveTheButtonsModalResults) {
    auto ask = [] { return sMessageDlg("Restart the client?", mtConfirmation, {mbYes, mbNo}, 0); };
    EXPECT_EQ(Answer(ask, {[&](TsMessageForm* d) { ClickButton(d, "No"); }}), mrNo);
    EXPECT_EQ(Answer(ask, {[&](TsMessageForm* d) { ClickButton(d, "Yes"); }}), mrYes);
    EXPECT_EQ(Answer(ask, {[&](TsMessageForm*) { Display->Press(user::VK_ESCAPE); }}), mrNo);
    EXPECT_EQ(Answer(ask, {[&](TsMessageForm*) { Display->Press(user::VK_RETURN); }}), mrYes);
    EXPECT_EQ(Answer(ask, {[&](TsMessageForm*) { Display->Press('N', "n"); }}), mrNo);   // the accelerator

    auto notice = [] { return sMessageDlg("Done.", mtInformation, {mbOK}, 0); };
    EXPECT_EQ(Answer(notice, {[&](TsMessageForm*) { Display->Press(user::VK_RETURN); }}), mrOk);
    EXPECT_EQ(Answer(notice, {[&](TsMessageForm*) { Display->Press(user::VK_ESCAPE); }}), mrOk);

    // No cancel button: Escape does nothing; Help asks the application for the form's help context and leaves
    // the dialog open.
    RecordHelpRequests();
    auto three = [] { return sMessageDlg("Read failed.", mtError, {mbAbort, mbRetry, mbIgnore, mbHelp}, 7); };
    EXPECT_EQ(Answer(three,
                  {[&](TsMessageForm*) { Display->Press(user::VK_ESCAPE); },
                      [&](TsMessageForm* d) {
                          EXPECT_EQ(d->HelpContext(), 7);
                          ClickButton(d, "Help");
                      },
                      [&](TsMessageForm* d) {
                          EXPECT_EQ(HelpAsked, std::vector<long> {7});
                          ClickButton(d, "Ignore");
                      }}),
        mrIgnore);
    // Retry is the default, but the first button has the focus and a focused button answers Enter.
    EXPECT_EQ(Answer(three, {[&](TsMessageForm* d) {
                  EXPECT_EQ(d->ActiveControl(), Button(d, "Abort"));
                  EXPECT_TRUE(Button(d, "Retry")->Default());
                  Display->Press(user::VK_RETURN);
              }}),
        mrAbort);
}

TEST_F(MessageDlgTest, PositionsAreKeptOrCentred) {
    auto at = [](int x, int y) { return [x, y] { return sMessageDlgPos("Here.", mtWarning, {mbOK}, 0, x, y); }; };
    int centredLeft = 0;
    Answer(at(-1, 100), {[&](TsMessageForm* d) {
        centredLeft = Screen->Width() / 2 - d->Width() / 2;
        EXPECT_EQ(d->Left(), centredLeft);
        EXPECT_EQ(d->Top(), 100);
        EXPECT_EQ(d->Position(), poDesigned);
        d->SetModalResult(mrOk);
    }});
    Answer(at(30, 40), {[&](TsMessageForm* d) {
        EXPECT_EQ(d->Left(), 30);
        EXPECT_EQ(d->Top(), 40);
        d->SetModalResult(mrOk);
    }});
    Answer(at(-1, -1), {[&](TsMessageForm* d) {
        EXPECT_NEAR(d->Left(), (Screen->Width() - d->Width()) / 2, 1);   // centred when shown
        EXPECT_NEAR(d->Top(), (Screen->Height() - d->Height()) / 2, 1);
        d->SetModalResult(mrOk);
    }});
}

// The full call carries its title, help context and help file; the plain notice is a custom-type box with OK
// where it is asked for.
TEST_F(MessageDlgTest, TheFullCallAndThePlainNoticeBuildTheirDialogs) {
    Application->SetTitle("KORVEX");
    EXPECT_EQ(Answer([] { return sMessageDlgPosHelp("Node 2", "Stalled.", mtWarning, {mbOK}, 12, -1, -1, "korvex.hlp"); },
                  {[&](TsMessageForm* d) {
                      EXPECT_EQ(d->Caption(), "Node 2");
                      EXPECT_EQ(d->HelpContext(), 12);
                      EXPECT_EQ(d->HelpFile(), "korvex.hlp");
                      ClickButton(d, "OK");
                  }}),
        mrOk);
    Answer([] {
        sShowMessagePos("Saved.", 40, 50);
        return 0;
    },
        {[&](TsMessageForm* d) {
            EXPECT_EQ(d->Caption(), "KORVEX");
            EXPECT_EQ(d->FindComponent("Image"), nullptr);
            EXPECT_NE(Button(d, "OK"), nullptr);
            EXPECT_EQ(Button(d, "Cancel"), nullptr);
            EXPECT_EQ(d->Left(), 40);
            EXPECT_EQ(d->Top(), 50);
            EXPECT_EQ(d->HelpContext(), 0);
            Display->Press(user::VK_RETURN);
        }});
}

TEST_F(MessageDlgTest, TheFormIsFreedWhenTheModalLoopRaises) {
    int destroyed = 0;
    auto raising = [&] {
        return Answer([] { return sMessageDlg("x", mtError, {mbOK}, 0); },
            {[&](TsMessageForm* d) {
                d->OnDestroy = [&](TObject*) { ++destroyed; };
                d->OnHide = [](TObject*) { throw std::runtime_error("from the dialog"); };
                d->SetModalResult(mrOk);
            }});
    };
    try {
        raising();
    } catch (const std::exception&) {
    }
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(Application->ModalLevel(), 0);
}

TEST_F(MessageDlgTest, TheProgramsMessageBoxesAndExceptionHandlerUseTheDialog) {
    Application->SetTitle("KORVEX");
    InstallSkinnedMessageBoxes();
    std::vector<std::string> captions;
    auto note = [&](TsMessageForm* d) { captions.push_back(d->Caption()); };
    EXPECT_TRUE(Answer([] { return int(AskYesNo("Delete the unit?")); },
        {[&](TsMessageForm* d) { note(d), ClickButton(d, "Yes"); }}));
    EXPECT_FALSE(Answer([] { return int(AskYesNo("Delete the unit?")); },
        {[&](TsMessageForm* d) { note(d), Display->Press(user::VK_ESCAPE); }}));
    Answer([] { return ShowWarning("Path not found"), 0; }, {[&](TsMessageForm* d) { note(d), ClickButton(d, "OK"); }});
    Answer([] { return ShowError("Broken"), 0; }, {[&](TsMessageForm* d) { note(d), ClickButton(d, "OK"); }});
    std::string shown;
    Answer(
        [] {
            try {
                throw std::runtime_error("Cannot open URL");
            } catch (...) {
                Application->HandleException(nullptr);
            }
            return 0;
        },
        {[&](TsMessageForm* d) {
            note(d);
            shown = dynamic_cast<TControl*>(d->FindComponent("Message"))->Caption();
            ClickButton(d, "OK");
        }});
    EXPECT_EQ(captions, (std::vector<std::string> {"Confirm", "Confirm", "Warning", "Error", "KORVEX"}));
    EXPECT_EQ(shown, "Cannot open URL");
}

// ---- Pictures: each type on the screen in each skin -----------------------------------------------------

class MessageDlgPicture : public MessageDlgTest, public ::testing::WithParamInterface<int> { };

TEST_P(MessageDlgPicture, EachTypeInOneSheet) {
    UseSkin(GetParam());
    Form->Hide();
    Application->SetTitle("KORVEX");
    struct Shown {
        TMsgDlgType Type;
        const char* Text;
        TMsgDlgButtons Buttons;
    };
    const Shown dialogs[] = {
        {mtWarning, "Node \"Garage\" has not written its log for 2 hours.", {mbOK}},
        {mtError, "Cannot open URL http://example.org/psummary.html", {mbAbort, mbRetry, mbIgnore}},
        {mtInformation, "History saved: 1284 work units.", {mbOK}},
        {mtConfirmation, "The client on node 3 does not answer.\nRestart it?", {mbYes, mbNo}},
        {mtCustom, "KORVEX 2.6.0.11", {mbOK}},
    };
    std::vector<TsMessageForm*> forms;
    int top = 10;
    for (const Shown& s : dialogs) {
        TsMessageForm* d = sCreateMessageDialog("", s.Text, s.Type, s.Buttons);
        d->SetBounds(10, top, d->Width(), d->Height());
        d->Show();
        Pump();
        EXPECT_EQ(d->SkinProvider()->SkinData()->Skinned(), GetParam() >= 0);
        top += d->Height() + 6;
        forms.push_back(d);
    }
    const gdi::RECT r {0, 0, 460, top + 4};
    ASSERT_TRUE(Display->WriteScreenshotPng(
        WindowsPictureDir() + "/MessageDialogs_" + ctltest::SkinShortName(GetParam()) + ".png", &r));
    for (TsMessageForm* d : forms) d->Free();
}

// Lines broken by CR LF in the fonts the system really chooses (the message font and the DC's default font
// differ then): every line shows whole in the label's own font and width, above the buttons.
TEST_P(MessageDlgPicture, ALongTextOfSeveralLinesShowsWhole) {
    gdi::SetPinnedFontFamily("");
    base::ScopeExit pinAgain([] { gdi::SetPinnedFontFamily("DejaVu Sans"); });
    UseSkin(GetParam());
    Form->Hide();
    const std::string msg = "Node 1 warning:\r\nLast success point =3\r\nReset monitor for this node?";
    TsMessageForm* d = sCreateMessageDialog("", msg, mtConfirmation, {mbYes, mbNo});
    base::ScopeExit release([d] { d->Free(); });
    d->SetBounds(10, 10, d->Width(), d->Height());
    d->Show();
    Pump();
    auto* label = dynamic_cast<TsLabel*>(d->FindComponent("Message"));
    ASSERT_NE(label, nullptr);
    const unsigned flags = gdi::DT_WORDBREAK | gdi::DT_EXPANDTABS;
    const gdi::RECT needed = Measured(label->Font(), msg, label->Width(), flags);
    EXPECT_LE(needed.right, label->Width());
    EXPECT_EQ(needed.bottom, Measured(label->Font(), "1\r\n2\r\n3", 0, flags).bottom) << "three lines, none wrapped";
    EXPECT_LE(needed.bottom, label->Height());
    EXPECT_LE(label->Top() + label->Height(), Button(d, "Yes")->Top());
    EXPECT_LE(label->Left() + label->Width(), d->ClientWidth());
    const gdi::RECT r {0, 0, d->Width() + 20, d->Height() + 20};
    ASSERT_TRUE(Display->WriteScreenshotPng(
        WindowsPictureDir() + "/MessageDialogLines_" + ctltest::SkinShortName(GetParam()) + ".png", &r));
}

INSTANTIATE_TEST_SUITE_P(FourSkinsAndNone, MessageDlgPicture, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return ctltest::SkinShortName(info.param); });

}
}
