// The skinned message dialog: a form built at run time with an icon, the wrapped text and one skinned button
// per answer, shown modally under its own skin provider (section "DIALOG").
#pragma once

#include "platform/classes/TForm.h"
#include "platform/classes/TSet.h"

#include <array>
#include <string>

namespace korvex::skin {

class TsSkinProvider;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
// In the order the buttons are laid out from left to right.
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = classes::TSet<TMsgDlgBtn>;
inline constexpr int MsgDlgButtonKinds = 11;

// The dialog's form: it carries its provider and takes the system's message font.
class TsMessageForm : public classes::TForm {
public:
    // The form without a resource; dummy is unused (kept for the callers' shape).
    explicit TsMessageForm(classes::TComponent* owner, int dummy = 0);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    TsSkinProvider* SkinProvider() const { return FSkinProvider; }
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int value) { FHelpContext = value; }
    const std::string& HelpFile() const { return FHelpFile; }
    void SetHelpFile(const std::string& value) { FHelpFile = value; }

    void HelpButtonClick(classes::TObject* sender);   // the Help button: the dialog stays open

private:
    TsSkinProvider* FSkinProvider = nullptr;   // owned by the form
    int FHelpContext = 0;
    std::string FHelpFile;
};

// Every call runs on the GUI thread and returns the modal result of the button that closed the dialog.
// X and Y place the form's outer top-left corner; a negative one keeps the centred value.
int sMessageDlg(const std::string& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, int helpCtx);
int sMessageDlgPos(const std::string& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, int helpCtx, int x, int y);
int sMessageDlgPosHelp(const std::string& title, const std::string& msg, TMsgDlgType dlgType,
    TMsgDlgButtons buttons, int helpCtx, int x, int y, const std::string& helpFileName);
void sShowMessage(const std::string& msg);   // the application's title as caption, one OK button
void sShowMessagePos(const std::string& msg, int x, int y);
// Builds the dialog without showing it; the caller owns the form and frees it.
TsMessageForm* sCreateMessageDialog(const std::string& title, const std::string& msg, TMsgDlgType dlgType,
    TMsgDlgButtons buttons);

// The texts of the dialog, looked up each time a dialog is built.
std::string MsgDlgCaption(TMsgDlgType dlgType);   // "Warning" ... ; the application's title for mtCustom
std::string MsgDlgButtonCaption(TMsgDlgBtn kind);   // "&Yes" ...
const char* MsgDlgButtonName(TMsgDlgBtn kind);   // "Yes" ...
int MsgDlgModalResult(TMsgDlgBtn kind);   // mrYes ...; 0 for Help
// The process-wide caption widths by button kind (0 = not measured yet); filled once per kind.
std::array<int, MsgDlgButtonKinds>& MsgDlgButtonWidths();

// Makes the engine's AskYesNo, ShowWarning and ShowError use this dialog, and the application's exception
// handler show the exception's message with sShowMessage.
void InstallSkinnedMessageBoxes();
// The application's exception handler: the message in the skinned dialog; the program runs on.
void ShowExceptionMessage(classes::TObject* sender, const std::exception& error);

}
