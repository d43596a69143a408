// The file and directory edits: TsFileDirEdit (dropped files, long and short names), TsFilenameEdit (a file
// name chosen in an open or save dialog) and TsDirectoryEdit (folders chosen in a folder dialog). The dialogs
// run through replaceable runners that the skinned windows install; unset, a click opens nothing.
#pragma once

#include "platform/classes/TCommonDialog.h"
#include "skin/controls/sCustomComboEdit.h"

#include <functional>
#include <memory>
#include <string>

namespace korvex::classes {
class TStringList;
class TStrings;
}

namespace korvex::skin {

enum TFileDialogKind { dkOpen, dkSave };
inline constexpr std::string_view FileDialogKindIdents[] = {"dkOpen", "dkSave"};

using classes::TOpenOption;
using enum classes::TOpenOption;
using classes::TOpenOptions;
using classes::OpenOptionIdents;
using classes::DefaultOpenOptions;

enum TSelectDirOpt { sdAllowCreate, sdPerformCreate, sdPrompt };
using TSelectDirOpts = classes::TSet<TSelectDirOpt>;
inline constexpr std::string_view SelectDirOptIdents[] = {"sdAllowCreate", "sdPerformCreate", "sdPrompt"};
inline const TSelectDirOpts DefaultSelectDirOpts {sdAllowCreate, sdPerformCreate, sdPrompt};

inline constexpr const char* AllFilesFilter = "All files (*.*)|*.*";
inline constexpr const char* DefaultRoot = "rfDesktop";

// What a file name edit hands its open or save dialog and reads back from it.
struct TacFileDialogData {
    TacFileDialogData();
    ~TacFileDialogData();
    std::string DefaultExt;
    std::string FileName;
    std::string Filter = AllFilesFilter;
    int FilterIndex = 1;
    std::string InitialDir;
    std::unique_ptr<classes::TStringList> HistoryList;
    std::unique_ptr<classes::TStringList> Files;   // the chosen files with multi-selection
    TOpenOptions Options = DefaultOpenOptions;
};

// Runs the open (dkOpen) or save dialog: true when a file was chosen, dialog.FileName (and Files) then hold it.
using TacFileDialogRunner = std::function<bool(TFileDialogKind kind, TacFileDialogData& dialog)>;
// What a directory edit asks of its folder dialog. StartDir is empty or an existing folder.
struct TacDirectoryRequest {
    std::string StartDir;
    std::string Root;
    TSelectDirOpts Options;
    bool Skinned = false;   // the skinned folder dialog, else the plain folder browser
};
// Runs the folder dialog: true when a folder was chosen (into chosen).
using TacDirectoryDialogRunner = std::function<bool(const TacDirectoryRequest& request, std::string& chosen)>;

// The dialogs the edits run; the dialogs' own code installs them (InstallSkinnedFileDialogs,
// InstallSkinnedFolderDialog). Unset: a click opens nothing.
inline TacFileDialogRunner FileDialogRunner;
inline TacDirectoryDialogRunner DirectoryDialogRunner;

// A name the edit takes: not empty, none of < > " | and no control characters (a line break would split the
// one-line text). Brackets and wildcard characters are part of real names.
bool ValidFileName(const std::string& name);

class TsFileDirEdit : public TsCustomComboEdit {
public:
    explicit TsFileDirEdit(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    bool AcceptFiles() const { return FAcceptFiles; }
    void SetAcceptFiles(bool value);   // registers the window for dropped files
    classes::TNotifyEvent OnDropFiles;

    virtual std::string GetLongName() { return Text(); }
    virtual std::string GetShortName() { return Text(); }
    virtual void AddDroppedName(const std::string& name) { SetText(name); }
    virtual void ClearFileList() { }

protected:
    void WndProc(classes::TMessage& message) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    bool Multiple() const { return FMultiple; }
    void SetMultiple(bool value) { FMultiple = value; }
    void FocusWhenPossible();

private:
    void DropFiles(classes::TMessage& message);

    bool FAcceptFiles = false;
    bool FMultiple = false;
};

class TsFilenameEdit : public TsFileDirEdit {
public:
    explicit TsFilenameEdit(classes::TComponent* owner);
    ~TsFilenameEdit() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    const std::string& DefaultExt() const { return FDialog.DefaultExt; }
    void SetDefaultExt(const std::string& value) { FDialog.DefaultExt = value; }
    int FilterIndex() const { return FDialog.FilterIndex; }
    void SetFilterIndex(int value) { FDialog.FilterIndex = value; }
    const std::string& InitialDir() const { return FDialog.InitialDir; }
    void SetInitialDir(const std::string& value) { FDialog.InitialDir = value; }
    TFileDialogKind DialogKind() const { return FDialogKind; }
    void SetDialogKind(TFileDialogKind value) { FDialogKind = value; }   // the dialog keeps every setting
    std::string FileName() const { return Text(); }
    void SetFileName(const std::string& value);   // raises "Invalid file name", leaving the text as it was
    const std::string& Filter() const { return FDialog.Filter; }
    void SetFilter(const std::string& value) { FDialog.Filter = value; }
    classes::TStrings* HistoryList() const;
    void SetHistoryList(const classes::TStrings* value);
    TOpenOptions DialogOptions() const { return FDialog.Options; }
    void SetDialogOptions(TOpenOptions value);
    classes::TStrings* Files() const;   // the dialog's list of chosen or dropped files
    const TacFileDialogData& Dialog() const { return FDialog; }

    void ButtonClick() override;
    std::string GetLongName() override;
    std::string GetShortName() override;
    void AddDroppedName(const std::string& name) override;
    void ClearFileList() override;

private:
    bool FilterStored() const;

    TacFileDialogData FDialog;
    TFileDialogKind FDialogKind = dkOpen;
};

class TsDirectoryEdit : public TsFileDirEdit {
public:
    explicit TsDirectoryEdit(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    const std::string& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const std::string& value) { FInitialDir = value; }
    TSelectDirOpts DialogOptions() const { return FDialogOptions; }
    void SetDialogOptions(TSelectDirOpts value) { FDialogOptions = value; }
    bool MultipleDirs() const { return Multiple(); }
    void SetMultipleDirs(bool value) { SetMultiple(value); }
    // Kept for form text; the edit never changes the process's current folder either way.
    bool NoChangeDir() const { return FNoChangeDir; }
    void SetNoChangeDir(bool value) { FNoChangeDir = value; }
    const std::string& Root() const { return FRoot; }
    void SetRoot(const std::string& value) { FRoot = value; }

    void ButtonClick() override;
    std::string GetLongName() override;
    std::string GetShortName() override;
    void AddDroppedName(const std::string& name) override;

private:
    std::string FInitialDir;
    TSelectDirOpts FDialogOptions = DefaultSelectDirOpts;
    bool FNoChangeDir = false;
    std::string FRoot = DefaultRoot;
};

}
