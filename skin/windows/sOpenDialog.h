// TsOpenDialog and TsSaveDialog: the file dialog components the file name edit runs. While a skin is active
// Execute shows the skinned form (installed by the shell dialogs), else the plain dialog.
#pragma once

#include "platform/classes/TCommonDialog.h"

#include <functional>
#include <string_view>

namespace korvex::skin {

enum TsZipShowing { zsAsFolder, zsAsFile };
inline constexpr std::string_view ZipShowingIdents[] = {"zsAsFolder", "zsAsFile"};

// Shows the skinned form for a dialog: true when accepted. Set by InstallSkinnedFileDialogForm.
using TacFileDialogForm = std::function<bool(classes::TOpenDialog& dialog, bool zipAsFolder)>;
inline TacFileDialogForm SkinnedFileDialogForm;
// Whether Execute shows the skinned form: a default skin manager with a skin and the form installed.
bool SkinnedFileDialogShown();

class TsOpenDialog : public classes::TOpenDialog {
public:
    explicit TsOpenDialog(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    TsZipShowing ZipShowing() const { return FZipShowing; }   // whether ".zip" files are browsed as folders
    void SetZipShowing(TsZipShowing value) { FZipShowing = value; }
    bool Execute() override;

private:
    TsZipShowing FZipShowing = zsAsFolder;
};

class TsSaveDialog : public classes::TSaveDialog {
public:
    explicit TsSaveDialog(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    bool Execute() override;
};

// Makes the file name edit's button run TsOpenDialog or TsSaveDialog.
void InstallSkinnedFileDialogs();

}
