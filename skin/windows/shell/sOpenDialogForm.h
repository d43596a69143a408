// TsOpenDialogForm: the skinned open and save dialogs' form (folder combo, file list, name, type, history).
#pragma once

#include "platform/classes/TForm.h"
#include "skin/windows/sOpenDialogHistory.h"

#include <string>
#include <vector>

namespace korvex::classes {
class TLabel;
class TListItem;
class TMenuItem;
class TOpenDialog;
class TPopupMenu;
}

namespace korvex::skin {

class TsButton;
class TsCheckBox;
class TsDlgShellListView;
class TsEdit;
class TsFilterComboBox;
class TsShellComboBox;
class TsSkinProvider;
class TsSpeedButton;

// The names typed in the file name edit: one name, or several each in double quotes ("a.txt" "b.txt").
std::vector<std::string> SplitTypedNames(const std::string& text);

class TsOpenDialogForm : public classes::TForm {
public:
    explicit TsOpenDialogForm(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    // Takes the dialog's caption, options, filter and start folder; the dialog must outlive the form.
    void Prepare(classes::TOpenDialog* dialog, bool zipAsFolder);
    std::string FolderPath() const;   // the folder the combo shows, ending in "/"
    const std::vector<std::string>& Chosen() const { return FChosen; }   // full names after OK
    const TacFolderHistory& History() const { return FHistory; }

    void OpenClick();   // the Open/Save button, Enter, a double click on a file
    void GoBack();
    void GoUp();
    void GoTo(const std::string& folder);   // combo and list show the folder (a history item)
    classes::TMenuItem* HistoryItem(int index) const;   // the history menu's items, oldest first

    TsSpeedButton* BackBtn = nullptr;
    TsSpeedButton* UpBtn = nullptr;
    TsSpeedButton* CreateDirBtn = nullptr;
    TsSpeedButton* KindBtn = nullptr;
    TsEdit* FileNameEdit = nullptr;
    TsFilterComboBox* FileTypeBox = nullptr;
    TsButton* sButton1 = nullptr;
    TsButton* sButton2 = nullptr;
    TsButton* BtnHelp = nullptr;
    TsCheckBox* CheckBoxReadOnly = nullptr;
    TsDlgShellListView* FileListView = nullptr;
    TsShellComboBox* DriveComboBox = nullptr;
    classes::TPopupMenu* HistMenu = nullptr;
    classes::TPopupMenu* PopupMenu1 = nullptr;
    TsSkinProvider* SkinProvider = nullptr;

private:
    bool IsFolderItem(classes::TListItem* item) const;
    // Checks a chosen name against the options, asking or warning through the skinned boxes.
    bool Acceptable(const std::string& path) const;
    void FolderChanged();   // the combo's folder changed: history, buttons
    void RebuildHistoryMenu();
    void SelectionChanged(classes::TListItem* item);
    void ListOpen();   // Enter or a double click in the list
    void SetViewStyle(int style, classes::TMenuItem* checked);

    classes::TOpenDialog* FDialog = nullptr;
    bool FZipAsFolder = true;
    bool FNavigating = false;
    bool FPreparing = false;   // Prepare shows the start folder: no folder change is reported yet
    TacFolderHistory FHistory;
    std::vector<std::string> FChosen;
};

// Makes TsOpenDialog and TsSaveDialog show TsOpenDialogForm while a skin is active (RegisterShellClasses does).
void InstallSkinnedFileDialogForm();

}
