// The skinned open and save dialogs' form: reading it, the start folder, opening, the selection, the history,
// the view styles, and the dialogs' runner.
#include "skin/windows/shell/sOpenDialogForm.h"
#include "skin/windows/sResStrings.h"

#include "platform/base/Assert.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TCommonDialog.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TMethodTable.h"
#include "platform/classes/TStrings.h"
#include "platform/os/Files.h"
#include "platform/os/Paths.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sCheckBox.h"
#include "skin/controls/sControlClasses.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sGlyphUtils.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/engine/sUtils.h"
#include "skin/windows/sFilterComboBox.h"
#include "skin/windows/sOpenDialog.h"
#include "skin/windows/sSkinProvider.h"
#include "skin/windows/shell/acShellClasses.h"
#include "skin/windows/shell/acShellComboBox.h"
#include "skin/windows/shell/acShellFolder.h"
#include "skin/windows/shell/acShellListView.h"
#include "skin/windows/shell/acShellNamespace.h"

#include <fstream>

namespace korvex::skin {

using namespace korvex::classes;

std::vector<std::string> SplitTypedNames(const std::string& text) {
    std::vector<std::string> names;
    if (text.find('"') == std::string::npos) {
        if (!text.empty()) names.push_back(text);
        return names;
    }
    size_t at = 0;
    while ((at = text.find('"', at)) != std::string::npos) {
        const size_t end = text.find('"', at + 1);
        const std::string name = text.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
        if (!name.empty()) names.push_back(name);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return names;
}

TsOpenDialogForm::TsOpenDialogForm(TComponent* owner)
    : TForm(owner) {
    TMethodTable methods;
    auto handler = [this](void (TsOpenDialogForm::*method)()) {
        return std::function<void(TObject*)>([this, method](TObject*) { (this->*method)(); });
    };
    methods.Add("BackClick", handler(&TsOpenDialogForm::GoBack))
        .Add("UpClick", handler(&TsOpenDialogForm::GoUp))
        .Add("OpenButtonClick", handler(&TsOpenDialogForm::OpenClick))
        .Add("CancelButtonClick", std::function<void(TObject*)>([this](TObject*) {
            SetModalResult(FileListView->IsEditing() ? mrNone : mrCancel);
        }))
        .Add("ViewClick", std::function<void(TObject*)>([this](TObject* sender) {
            auto* item = static_cast<TMenuItem*>(sender);
            const std::string name = item->Name();
            SetViewStyle(name == "Icons1" ? vsReport : name == "Icons2" ? vsIcon
                    : name == "Smallicons1" ? vsSmallIcon : vsList, item);
        }))
        .Add("KindClick", std::function<void(TObject*)>([this](TObject*) {
            // Icons -> list, small icons -> report, list -> icons; report stays.
            switch (FileListView->ViewStyle()) {
            case vsIcon: SetViewStyle(vsList, static_cast<TMenuItem*>(FindComponent("List1"))); break;
            case vsSmallIcon: SetViewStyle(vsReport, static_cast<TMenuItem*>(FindComponent("Icons1"))); break;
            case vsList: SetViewStyle(vsIcon, static_cast<TMenuItem*>(FindComponent("Icons2"))); break;
            case vsReport: break;
            }
        }))
        .Field("BackBtn", BackBtn)
        .Field("UpBtn", UpBtn)
        .Field("CreateDirBtn", CreateDirBtn)
        .Field("KindBtn", KindBtn)
        .Field("FileNameEdit", FileNameEdit)
        .Field("FileTypeBox", FileTypeBox)
        .Field("sButton1", sButton1)
        .Field("sButton2", sButton2)
        .Field("BtnHelp", BtnHelp)
        .Field("CheckBoxReadOnly", CheckBoxReadOnly)
        .Field("FileListView", FileListView)
        .Field("DriveComboBox", DriveComboBox)
        .Field("HistMenu", HistMenu)
        .Field("PopupMenu1", PopupMenu1);
    RegisterMenuClasses();   // the form text names them
    RegisterSkinControlClasses();
    RegisterShellClasses();
    RegisterClasses({TsFilterComboBox::StaticClass()});
    ReadFormResource("sOpenDialogForm", methods);
    KORVEX_ASSERT(FileListView != nullptr && DriveComboBox != nullptr && FileTypeBox != nullptr
        && FileNameEdit != nullptr && HistMenu != nullptr && sButton1 != nullptr);
    static constexpr TButtonGlyph ToolGlyphs[] {
        {"BackBtn", "DLG_BACK"}, {"UpBtn", "DLG_UP"}, {"CreateDirBtn", "DLG_NEWFOLDER"}, {"KindBtn", "DLG_VIEW"}};
    AssignButtonGlyphs(this, ToolGlyphs);
    // The texts from the string table.
    static constexpr std::pair<const char*, int> Texts[] {{"FolderLabel", 58923}, {"FileNameLabel", 58922},
        {"FileTypeLabel", 58921}, {"CheckBoxReadOnly", 58920}, {"sButton2", 58991}, {"BtnHelp", 58990},
        {"List1", 58919}, {"Icons1", 58918}, {"Icons2", 58917}, {"Smallicons1", 58916}};
    for (const auto& [name, id] : Texts) {
        if (auto* item = dynamic_cast<TMenuItem*>(FindComponent(name)))
            item->SetCaption(LoadResString(id));
        else if (auto* control = dynamic_cast<TControl*>(FindComponent(name)))
            control->SetCaption(LoadResString(id));
    }

    SkinProvider = new TsSkinProvider(this);
    SkinProvider->SetMakeSkinMenu(false);
    SkinProvider->SetScreenSnap(true);
    SkinProvider->SetGripMode(gmRightBottom);
    SkinProvider->SkinData()->SetSkinSection("DIALOG");
    SkinProvider->AfterConstruction();

    DriveComboBox->OnChange = [this](TObject*) { FolderChanged(); };
    FileListView->OnChange = [this](TObject*, TListItem* item, TItemChange change) {
        // A single selection reports the item that became selected; many report a deselection too, so that a
        // file no longer selected leaves the edit.
        if (change == ctState && item != nullptr && (item->Selected() || FileListView->MultiSelect()))
            SelectionChanged(item);
    };
    FileTypeBox->OnChange = [this](TObject*) {
        FileListView->SetMask(FileTypeBox->Mask());
        if (FDialog != nullptr && FDialog->OnTypeChange) FDialog->OnTypeChange(FDialog);
    };
    BtnHelp->OnClick = [this](TObject*) {
        if (FDialog != nullptr && Application != nullptr) Application->HelpContext(FDialog->HelpContext());
    };
    FileListView->OnOpen = [this](TObject*) { ListOpen(); };
    FileListView->OnDblClick = [this](TObject*) { ListOpen(); };
    OnShow = [this](TObject*) {
        if (FDialog != nullptr) FDialog->DoShow();
        FolderChanged();
    };
    OnClose = [this](TObject*, TCloseAction&) {
        if (FDialog != nullptr) FDialog->DoClose();
    };
    OnCloseQuery = [this](TObject*, bool& canClose) {
        if (FDialog != nullptr && FDialog->OnCanClose) FDialog->OnCanClose(FDialog, canClose);
    };
}

TClass TsOpenDialogForm::StaticClass() {
    static const TClassInfo info = MakeClass<TsOpenDialogForm, TForm>("TsOpenDialogForm");
    return &info;
}

void TsOpenDialogForm::Prepare(TOpenDialog* dialog, bool zipAsFolder) {
    KORVEX_ASSERT(dialog != nullptr);
    FDialog = dialog;
    FZipAsFolder = zipAsFolder && !dialog->IsSaveDialog();
    const TOpenOptions options = dialog->Options();
    SetCaption(!dialog->Title().empty() ? dialog->Title() : LoadResString(dialog->IsSaveDialog() ? 58914 : 58915));
    sButton1->SetCaption(LoadResString(dialog->IsSaveDialog() ? 58912 : 58913));
    BtnHelp->SetVisible(options.Contains(ofShowHelp));
    CheckBoxReadOnly->SetVisible(!options.Contains(ofHideReadOnly));
    if (CheckBoxReadOnly->Visible()) CheckBoxReadOnly->SetChecked(options.Contains(ofReadOnly));
    FileListView->SetMultiSelect(options.Contains(ofAllowMultiSelect));
    if (!options.Contains(ofEnableSizing)) {
        SetBorderStyle(bsSingle);
        SkinProvider->SetGripMode(gmNone);
    }

    FileTypeBox->HandleNeeded();   // the items are made with the window
    FileTypeBox->SetFilter(dialog->Filter());
    const int count = FileTypeBox->Items()->Count();
    const int index = dialog->FilterIndex() >= 1 ? dialog->FilterIndex() - 1 : 0;
    FileTypeBox->SetItemIndex(index < count ? index : count - 1);
    FileListView->SetMask(FileTypeBox->Mask());

    // A name with a folder part starts there; else the dialog's start folder, and the edit gets the name.
    std::string folder = dialog->StartFolder();
    std::string name = dialog->FileName();
    const std::string dir = os::ExtractFileDir(name);
    if (!dir.empty() && os::DirectoryExists(dir)) {
        folder = os::ExpandFileName(dir);
        name = os::ExtractFileName(name);
    }
    FileNameEdit->SetText(name);
    {
        base::ValueRollback<bool> preparing(FPreparing, true);
        GoTo(folder);
    }
    SetActiveControl(FileNameEdit);
}

std::string TsOpenDialogForm::FolderPath() const {
    const std::string path = FileListView->Path();
    return path.empty() || path.back() == '/' ? path : path + "/";
}

void TsOpenDialogForm::GoTo(const std::string& folder) {
    const std::optional<TItemIDList> pidl = ParseDisplayName(folder);
    if (!pidl) return;
    FileListView->SetPath(*pidl);   // the combo box follows and reports the change
}

bool TsOpenDialogForm::IsFolderItem(TListItem* item) const {
    if (item == nullptr) return false;
    const TacShellFolder* folder = FileListView->Folders(item->Index());
    return folder != nullptr && folder->IsFolder(FZipAsFolder);
}

void TsOpenDialogForm::FolderChanged() {
    if (FPreparing) return;   // the start folder is handled when the form shows
    FHistory.Visit(FileListView->Path());
    RebuildHistoryMenu();
    UpBtn->SetEnabled(DriveComboBox->ItemIndex() > 0);
    BackBtn->SetEnabled(!FHistory.Entries().empty());
    if (FDialog != nullptr && FDialog->OnFolderChange) FDialog->OnFolderChange(FDialog);
}

void TsOpenDialogForm::RebuildHistoryMenu() {
    TMenuItem* items = HistMenu->Items();
    while (items->Count() > 0) items->Items(items->Count() - 1)->Free();
    for (const std::string& path : FHistory.MenuPaths()) {
        auto* item = new TMenuItem(HistMenu);
        item->SetCaption(PathMenuCaption(path));
        item->OnClick = [this, path](TObject*) {   // the item keeps its path: captions double "&"
            if (path == FileListView->Path()) return;
            FHistory.BeginNavigating();
            base::ScopeExit end([this] { FHistory.EndNavigating(); });
            GoTo(path);
        };
        items->Add(item);
    }
}

TMenuItem* TsOpenDialogForm::HistoryItem(int index) const {
    TMenuItem* items = HistMenu->Items();
    return index >= 0 && index < items->Count() ? items->Items(index) : nullptr;
}

void TsOpenDialogForm::GoBack() {
    const std::optional<std::string> previous = FHistory.Back(FileListView->Path());
    if (!previous) return;
    {
        FHistory.BeginNavigating();
        base::ScopeExit end([this] { FHistory.EndNavigating(); });
        GoTo(*previous);
    }
    RebuildHistoryMenu();
    BackBtn->SetEnabled(!FHistory.Entries().empty());
}

void TsOpenDialogForm::GoUp() {
    FileListView->Back();
}

void TsOpenDialogForm::SelectionChanged(TListItem* item) {
    if (FDialog == nullptr || ComponentState().Contains(csDestroying) || IsFolderItem(item)) return;
    // The selected files go to the dialog at once: FileName the first, Files each (full names, as the file
    // name edit keeps them).
    std::vector<std::string> paths;
    for (TacShellFolder* folder : FileListView->SelectedFolders())
        if (!folder->IsFolder(FZipAsFolder)) paths.push_back(folder->PathName());
    if (FileListView->MultiSelect()) {
        // Whatever is selected, files or only folders, replaces what the edit and Files held.
        if (FileListView->SelCount() > 0) {
            FileNameEdit->SetText("");
            FDialog->Files()->Clear();
            for (const std::string& path : paths) FDialog->Files()->Add(path);
            if (!paths.empty()) FDialog->SetFileName(paths.front());
            if (paths.size() == 1) {
                FileNameEdit->SetText(os::ExtractFileName(paths.front()));
            } else if (paths.size() > 1) {
                std::string text;
                for (const std::string& path : paths)
                    text += (text.empty() ? "\"" : " \"") + os::ExtractFileName(path) + "\"";
                FileNameEdit->SetText(text);
            }
        }
    } else if (!paths.empty()) {
        FDialog->SetFileName(paths.front());
        FileNameEdit->SetText(os::ExtractFileName(paths.front()));
    }
    if (FDialog->OnSelectionChange) FDialog->OnSelectionChange(FDialog);
}

void TsOpenDialogForm::ListOpen() {
    TListItem* item = FileListView->Selected();
    if (IsFolderItem(item)) {
        FileListView->SetPath(FileListView->Folders(item->Index())->AbsoluteID());
        return;
    }
    OpenClick();
}

void TsOpenDialogForm::OpenClick() {
    TListItem* item = FileListView->Selected();
    // The list has the focus also while its label editor has it. A file being renamed is no folder to open:
    // the dialog only stays.
    const bool listFocused = FileListView->Focused() || FileListView->IsEditing();
    if (listFocused && item != nullptr && (IsFolderItem(item) || FileListView->IsEditing())) {
        SetModalResult(mrNone);
        if (IsFolderItem(item)) ListOpen();
        return;
    }
    const std::vector<std::string> typed = SplitTypedNames(FileNameEdit->Text());
    if (typed.empty() || FDialog == nullptr) return;
    if (typed.size() == 1) {
        // A folder's name opens the folder; it is never the chosen file.
        const std::string folder = JoinPath(FolderPath(), typed.front());
        if (os::DirectoryExists(folder)) {
            SetModalResult(mrNone);
            FileNameEdit->SetText("");
            GoTo(os::ExpandFileName(folder));
            return;
        }
    }
    std::vector<std::string> paths;
    for (const std::string& name : typed) {
        // An absolute name stands as it is; a relative one is in the shown folder.
        const std::string path = FDialog->WithDefaultExt(JoinPath(FolderPath(), name));
        if (!Acceptable(path)) return;
        paths.push_back(path);
    }
    FChosen = std::move(paths);
    SetModalResult(mrOk);
}

bool TsOpenDialogForm::Acceptable(const std::string& path) const {
    const TOpenOptions options = FDialog->Options();
    const bool exists = os::FileExists(path);
    if (exists && FDialog->IsSaveDialog() && options.Contains(ofOverwritePrompt))
        return AskYesNo(os::ExtractFileName(path) + "\r\nFile exists. Overwrite?");
    const std::string folder = os::ExtractFileDir(path);
    if (options.Contains(ofPathMustExist) && !os::DirectoryExists(folder)) {
        ShowWarning(folder + "\r\nPath not found");
        return false;
    }
    if (exists) return true;
    if (options.Contains(ofCreatePrompt)) {
        if (!AskYesNo(path + "\r\nFile not found. Create?")) return false;
        std::ofstream {path};   // made empty
    }
    if (options.Contains(ofFileMustExist) && !os::FileExists(path)) {
        ShowWarning(path + "\r\nFile not found");
        return false;
    }
    return true;
}

void TsOpenDialogForm::SetViewStyle(int style, TMenuItem* checked) {
    FileListView->SetViewStyle(static_cast<TViewStyle>(style));
    for (const char* name : {"List1", "Icons1", "Icons2", "Smallicons1"})
        if (auto* item = static_cast<TMenuItem*>(FindComponent(name))) item->SetChecked(item == checked);
}

// ---- The dialogs' runner -------------------------------------------------------------------------------------

void InstallSkinnedFileDialogForm() {
    // The process's current folder stays where it is whatever the options: every relative path of the program
    // would resolve elsewhere after a dialog moved it.
    SkinnedFileDialogForm = [](TOpenDialog& dialog, bool zipAsFolder) {
        auto* form = Create<TsOpenDialogForm>(Application);
        base::ScopeExit release([form] { form->Free(); });
        form->Prepare(&dialog, zipAsFolder);
        const bool accepted = form->ShowModal() == mrOk;
        dialog.SetFilterIndex(form->FileTypeBox->ItemIndex() + 1);
        if (accepted) dialog.SetChosen(form->Chosen());
        return accepted;
    };
}

}
