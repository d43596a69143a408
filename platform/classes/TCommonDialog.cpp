// The dialog components' properties, the file filter and the checks of a chosen file name.
#include "platform/classes/TCommonDialog.h"

#include "platform/classes/PlainDialogs.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TStringList.h"
#include "platform/os/FileSearch.h"
#include "platform/os/Files.h"
#include "platform/os/Paths.h"
#include "platform/os/ProgramFolder.h"
#include "platform/user/MessageBox.h"

namespace korvex::classes {

// ---- TCommonDialog -------------------------------------------------------------------------------------------

TCommonDialog::TCommonDialog(TComponent* owner)
    : TComponent(owner) {
}

TClass TCommonDialog::StaticClass() {
    using T = TCommonDialog;
    static const TClassInfo info = MakeClass<T, TComponent>("TCommonDialog", [](TPropertyBuilder<T>& p) {
        p.Int("HelpContext", &T::HelpContext, &T::SetHelpContext, 0);
        p.Event("OnShow", &T::OnShow);
        p.Event("OnClose", &T::OnClose);
    });
    return &info;
}

// ---- Filters and paths ---------------------------------------------------------------------------------------

bool TFilterItem::Matches(const std::string& name) const {
    if (Masks.empty()) return true;
    for (const std::string& mask : Masks)
        if (os::MatchesMask(name, mask)) return true;
    return false;
}

std::vector<TFilterItem> ParseFilter(const std::string& filter) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= filter.size() && !filter.empty()) {
        const size_t bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    std::vector<TFilterItem> items;
    for (size_t i = 0; i < parts.size(); i += 2) {
        TFilterItem item;
        item.Description = parts[i];
        if (i + 1 < parts.size()) {
            const std::string& masks = parts[i + 1];
            size_t from = 0;
            while (from <= masks.size()) {
                const size_t semi = masks.find(';', from);
                std::string mask = masks.substr(from, semi == std::string::npos ? std::string::npos : semi - from);
                const size_t first = mask.find_first_not_of(' ');
                if (first != std::string::npos) item.Masks.push_back(mask.substr(first, mask.find_last_not_of(' ') - first + 1));
                if (semi == std::string::npos) break;
                from = semi + 1;
            }
        }
        if (item.Description.empty() && item.Masks.empty()) continue;
        items.push_back(std::move(item));
    }
    return items;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (!name.empty() && name.front() == '/') return name;
    if (folder.empty()) return name;
    if (name.empty()) return folder;
    return os::IncludeTrailingPathDelimiter(folder) + name;
}

// ---- TOpenDialog ---------------------------------------------------------------------------------------------

TOpenDialog::TOpenDialog(TComponent* owner)
    : TCommonDialog(owner)
    , FFiles(std::make_unique<TStringList>())
    , FHistoryList(std::make_unique<TStringList>()) {
}

TOpenDialog::~TOpenDialog() = default;

TClass TOpenDialog::StaticClass() {
    using T = TOpenDialog;
    static const TClassInfo info = MakeClass<T, TCommonDialog>("TOpenDialog", [](TPropertyBuilder<T>& p) {
        p.String("DefaultExt", &T::DefaultExt, &T::SetDefaultExt);
        p.String("FileName", &T::FileName, &T::SetFileName);
        p.String("Filter", &T::Filter, &T::SetFilter);
        p.Int("FilterIndex", &T::FilterIndex, &T::SetFilterIndex, 1);
        p.Object("HistoryList", &T::HistoryList, &T::SetHistoryList);
        p.String("InitialDir", &T::InitialDir, &T::SetInitialDir);
        p.Set("Options", &T::Options, &T::SetOptions, OpenOptionIdents, DefaultOpenOptions);
        p.String("Title", &T::Title, &T::SetTitle);
        p.Event("OnCanClose", &T::OnCanClose);
        p.Event("OnFolderChange", &T::OnFolderChange);
        p.Event("OnSelectionChange", &T::OnSelectionChange);
        p.Event("OnTypeChange", &T::OnTypeChange);
    });
    return &info;
}

TStrings* TOpenDialog::Files() const {
    return FFiles.get();
}

TStrings* TOpenDialog::HistoryList() const {
    return FHistoryList.get();
}

void TOpenDialog::SetHistoryList(const TStrings* value) {
    FHistoryList->Assign(value);
}

bool TOpenDialog::Execute() {
    DoShow();
    const bool accepted = RunPlainFileDialog(*this);
    DoClose();
    return accepted;
}

std::string TOpenDialog::StartFolder() const {
    if (!FFileName.empty()) {
        const std::string dir = os::ExtractFileDir(FFileName);
        if (!dir.empty() && os::DirectoryExists(dir)) return os::ExpandFileName(dir);
    }
    if (!FInitialDir.empty() && os::DirectoryExists(FInitialDir)) return os::ExpandFileName(FInitialDir);
    const std::string folder = os::GetCurrentDir();
    return folder.empty() ? std::string("/") : folder;
}

std::string TOpenDialog::DialogCaption() const {
    if (!FTitle.empty()) return FTitle;
    return IsSaveDialog() ? "Save" : "Open";
}

std::string TOpenDialog::WithDefaultExt(const std::string& path) const {
    if (FDefaultExt.empty() || !os::ExtractFileExt(path).empty()) return path;
    const std::string ext = FDefaultExt.front() == '.' ? FDefaultExt : "." + FDefaultExt;
    return path + ext;
}

bool TOpenDialog::AcceptName(const std::string& path) const {
    const std::string dir = os::ExtractFileDir(path);
    if ((FOptions.Contains(ofPathMustExist) || FOptions.Contains(ofFileMustExist)) && !dir.empty()
        && !os::DirectoryExists(dir)) {
        user::MessageBox(nullptr, path + "\r\nPath not found", DialogCaption(), user::MB_OK | user::MB_ICONWARNING);
        return false;
    }
    const bool exists = os::FileExists(path);
    if (FOptions.Contains(ofFileMustExist) && !exists) {
        user::MessageBox(nullptr, path + "\r\nFile not found", DialogCaption(), user::MB_OK | user::MB_ICONWARNING);
        return false;
    }
    if (IsSaveDialog() && exists && FOptions.Contains(ofOverwritePrompt))
        return user::MessageBox(nullptr, path + "\r\nFile exists. Overwrite?", DialogCaption(),
                   user::MB_YESNO | user::MB_ICONWARNING)
            == user::IDYES;
    return true;
}

void TOpenDialog::SetChosen(const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    FFiles->Clear();
    for (const std::string& path : paths) FFiles->Add(path);
    FFileName = paths.front();
    FInitialDir = os::ExtractFileDir(FFileName);
}

// ---- TSaveDialog ---------------------------------------------------------------------------------------------

TSaveDialog::TSaveDialog(TComponent* owner)
    : TOpenDialog(owner) {
}

TClass TSaveDialog::StaticClass() {
    static const TClassInfo info = MakeClass<TSaveDialog, TOpenDialog>("TSaveDialog");
    return &info;
}

// ---- TColorDialog --------------------------------------------------------------------------------------------

TColorDialog::TColorDialog(TComponent* owner)
    : TCommonDialog(owner)
    , FCustomColors(std::make_unique<TStringList>()) {
}

TColorDialog::~TColorDialog() = default;

TClass TColorDialog::StaticClass() {
    using T = TColorDialog;
    static const TClassInfo info = MakeClass<T, TCommonDialog>("TColorDialog", [](TPropertyBuilder<T>& p) {
        p.Color("Color", &T::Color, &T::SetColor, clBlack);
        p.Object("CustomColors", &T::CustomColors, &T::SetCustomColors);
        p.Set("Options", &T::Options, &T::SetOptions, ColorDialogOptionIdents, TColorDialogOptions {});
    });
    return &info;
}

TStrings* TColorDialog::CustomColors() const {
    return FCustomColors.get();
}

void TColorDialog::SetCustomColors(const TStrings* value) {
    FCustomColors->Assign(value);
}

bool TColorDialog::Execute() {
    DoShow();
    const bool accepted = RunPlainColorDialog(*this);
    DoClose();
    return accepted;
}

}
