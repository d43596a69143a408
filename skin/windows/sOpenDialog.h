// TsOpenDialog and TsSaveDialog: the file dialog components the file name edit runs. FIXME: their skinned form
// waits for the shell folder combo and file list; until then Execute runs the plain dialog.
#pragma once

#include "platform/classes/TCommonDialog.h"

#include <string_view>

namespace korvex::skin {

enum TsZipShowing { zsAsFolder, zsAsFile };
inline constexpr std::string_view ZipShowingIdents[] = {"zsAsFolder", "zsAsFile"};

class TsOpenDialog : public classes::TOpenDialog {
public:
    explicit TsOpenDialog(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    TsZipShowing ZipShowing() const { return FZipShowing; }   // whether ".zip" files are browsed as folders
    void SetZipShowing(TsZipShowing value) { FZipShowing = value; }

private:
    TsZipShowing FZipShowing = zsAsFolder;
};

class TsSaveDialog : public classes::TSaveDialog {
public:
    explicit TsSaveDialog(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

// Makes the file name edit's button run TsOpenDialog or TsSaveDialog.
void InstallSkinnedFileDialogs();

}
