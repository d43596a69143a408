// The dialog components: TCommonDialog, the file dialogs TOpenDialog and TSaveDialog, TColorDialog and the
// plain folder selection. Their Execute shows a plain modal form of standard controls; skinned descendants
// override it. No dialog changes the process's current folder: the chosen folder travels in FileName and
// InitialDir.
#pragma once

#include "platform/classes/TComponent.h"
#include "platform/classes/TColor.h"
#include "platform/classes/TSet.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::classes {

class TStringList;
class TStrings;

class TCommonDialog : public TComponent {
public:
    explicit TCommonDialog(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int value) { FHelpContext = value; }
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

    virtual bool Execute() { return false; }   // true when the user accepted

    void DoShow() { if (OnShow) OnShow(this); }
    void DoClose() { if (OnClose) OnClose(this); }

private:
    int FHelpContext = 0;
};

enum TOpenOption { ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
    ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware,
    ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog,
    ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing };
using TOpenOptions = TSet<TOpenOption>;
inline constexpr std::string_view OpenOptionIdents[] = {"ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly",
    "ofNoChangeDir", "ofShowHelp", "ofNoValidate", "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist",
    "ofFileMustExist", "ofCreatePrompt", "ofShareAware", "ofNoReadOnlyReturn", "ofNoTestFileCreate",
    "ofNoNetworkButton", "ofNoLongNames", "ofOldStyleDialog", "ofNoDereferenceLinks", "ofEnableIncludeNotify",
    "ofEnableSizing"};
inline const TOpenOptions DefaultOpenOptions {ofHideReadOnly, ofEnableSizing};

// One entry of a file filter "Text files|*.txt;*.log|All|*": its description and masks. A description
// without a mask (the filter's odd last part) has no masks and passes every file.
struct TFilterItem {
    std::string Description;
    std::vector<std::string> Masks;
    bool Matches(const std::string& name) const;
};
std::vector<TFilterItem> ParseFilter(const std::string& filter);

// Joins a folder and a name typed by the user: an absolute name stands as it is; no "/" is doubled.
std::string JoinPath(const std::string& folder, const std::string& name);

class TOpenDialog : public TCommonDialog {
public:
    explicit TOpenDialog(TComponent* owner);
    ~TOpenDialog() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const std::string& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const std::string& value) { FDefaultExt = value; }
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& value) { FFileName = value; }
    TStrings* Files() const;   // the chosen files; FileName is the first
    const std::string& Filter() const { return FFilter; }
    void SetFilter(const std::string& value) { FFilter = value; }
    int FilterIndex() const { return FFilterIndex; }   // 1-based
    void SetFilterIndex(int value) { FFilterIndex = value; }
    const std::string& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const std::string& value) { FInitialDir = value; }
    TStrings* HistoryList() const;
    void SetHistoryList(const TStrings* value);
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions value) { FOptions = value; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value) { FTitle = value; }

    bool Execute() override;

    // Fired by the skinned dialog's form: the folder shown, the selection and the file type changed; whether
    // the dialog may close.
    TNotifyEvent OnFolderChange;
    TNotifyEvent OnSelectionChange;
    TNotifyEvent OnTypeChange;
    std::function<void(TObject* sender, bool& canClose)> OnCanClose;

    // The folder the dialog starts in: FileName's folder, else InitialDir, else the program's folder.
    std::string StartFolder() const;
    // The caption: Title, or "Open" / "Save".
    std::string DialogCaption() const;
    virtual bool IsSaveDialog() const { return false; }
    // Checks a chosen full name against the options (ofFileMustExist, ofPathMustExist, ofOverwritePrompt);
    // true when the dialog may close with it. Asks the user through the application's message box.
    bool AcceptName(const std::string& path) const;
    // Takes the chosen names: FileName := the first, Files := all, InitialDir := their folder.
    void SetChosen(const std::vector<std::string>& paths);
    std::string WithDefaultExt(const std::string& path) const;   // DefaultExt appended to a name without one

private:
    std::string FDefaultExt;
    std::string FFileName;
    std::unique_ptr<TStringList> FFiles;
    std::string FFilter;
    int FFilterIndex = 1;
    std::string FInitialDir;
    std::unique_ptr<TStringList> FHistoryList;
    TOpenOptions FOptions = DefaultOpenOptions;
    std::string FTitle;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    bool IsSaveDialog() const override { return true; }
};

enum TColorDialogOption { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
using TColorDialogOptions = TSet<TColorDialogOption>;
inline constexpr std::string_view ColorDialogOptionIdents[]
    = {"cdFullOpen", "cdPreventFullOpen", "cdShowHelp", "cdSolidColor", "cdAnyColor"};

class TColorDialog : public TCommonDialog {
public:
    explicit TColorDialog(TComponent* owner);
    ~TColorDialog() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    // One colour a line, its number in hexadecimal (the skinned dialog's custom cells).
    TStrings* CustomColors() const;
    void SetCustomColors(const TStrings* value);
    TColorDialogOptions Options() const { return FOptions; }
    void SetOptions(TColorDialogOptions value) { FOptions = value; }

    bool Execute() override;

private:
    TColor FColor = clBlack;
    std::unique_ptr<TStringList> FCustomColors;
    TColorDialogOptions FOptions;
};

// The plain folder selection: a list of sub-folders to walk through; true with `directory` the chosen
// folder. `root` limits how far up the walk goes (empty: the file system's root).
bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory);

}
