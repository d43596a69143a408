// TsFileDirEdit, TsFilenameEdit and TsDirectoryEdit: dropped files, the dialogs run on a button click, names.
#include "skin/controls/sTooledit.h"

#include "platform/base/Exceptions.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TStringList.h"
#include "platform/os/Files.h"
#include "platform/os/Paths.h"
#include "platform/user/DropFiles.h"
#include "platform/user/MessageIds.h"
#include "skin/engine/sCommonData.h"

namespace korvex::skin {

using namespace korvex::classes;

namespace {

// Linux keeps one form of every name: the long and the short form are the name itself.
std::string GetLongPath(const std::string& path) {
    return path;
}
std::string GetShortPath(const std::string& path) {
    return path;
}

// Each ";"-separated part converted, the empty ones dropped.
std::string ConvertEachDir(const std::string& text, std::string (*convert)(const std::string&)) {
    std::string out;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        const std::string part = text.substr(start, end - start);
        if (!part.empty()) {
            const std::string converted = convert(part);
            if (!converted.empty()) out += (out.empty() ? "" : ";") + converted;
        }
        start = end + 1;
    }
    return out;
}

}

bool ValidFileName(const std::string& name) {
    if (name.empty()) return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == '"' || c == '<' || c == '>' || c == '|') return false;
    return true;
}

TacFileDialogData::TacFileDialogData()
    : HistoryList(std::make_unique<TStringList>()), Files(std::make_unique<TStringList>()) { }

TacFileDialogData::~TacFileDialogData() = default;

// ---- TsFileDirEdit -------------------------------------------------------------------------------------------

TsFileDirEdit::TsFileDirEdit(TComponent* owner)
    : TsCustomComboEdit(owner) {
    SkinData()->ControlKind = TacControlKind::FileDirEdit;
    SetMaxLength(255);
}

TClass TsFileDirEdit::StaticClass() {
    using T = TsFileDirEdit;
    static const TClassInfo info = MakeClass<T, TsCustomComboEdit>("TsFileDirEdit", [](TPropertyBuilder<T>& p) {
        p.Bool("AcceptFiles", &T::AcceptFiles, &T::SetAcceptFiles, false);
        p.Event("OnDropFiles", &T::OnDropFiles);
    });
    return &info;
}

void TsFileDirEdit::SetAcceptFiles(bool value) {
    if (FAcceptFiles == value) return;
    FAcceptFiles = value;
    if (HandleAllocated() && !ControlDesigning(this)) user::DragAcceptFiles(WindowHandle(), value);
}

void TsFileDirEdit::CreateWnd() {
    TsCustomComboEdit::CreateWnd();
    if (FAcceptFiles && !ControlDesigning(this)) user::DragAcceptFiles(WindowHandle(), true);
}

void TsFileDirEdit::DestroyWnd() {
    if (FAcceptFiles && HandleAllocated() && !ControlDesigning(this)) user::DragAcceptFiles(WindowHandle(), false);
    TsCustomComboEdit::DestroyWnd();
}

void TsFileDirEdit::FocusWhenPossible() {
    if (CanFocus()) SetFocus();
}

void TsFileDirEdit::DropFiles(TMessage& m) {
    const auto drop = reinterpret_cast<user::HDROP>(m.WParam);
    base::ScopeExit finish([drop] { user::DragFinish(drop); });
    m.Result = 0;
    const user::UINT count = user::DragQueryFile(drop, 0xFFFFFFFFu, nullptr, 0);
    if (count == 0) return;
    classes::TComponentWatch alive(this);
    ClearFileList();
    for (user::UINT i = 0; i < count; ++i) {
        // The length first, then the whole name.
        std::string name(user::DragQueryFile(drop, i, nullptr, 0), '\0');
        user::DragQueryFile(drop, i, name.data(), user::UINT(name.size() + 1));
        AddDroppedName(name);
        if (!FMultiple) break;
    }
    if (OnDropFiles && alive.Get() != nullptr) OnDropFiles(this);
}

void TsFileDirEdit::WndProc(TMessage& m) {
    if (m.Msg == user::WM_DROPFILES) {
        DropFiles(m);
        return;
    }
    TsCustomComboEdit::WndProc(m);
}

// ---- TsFilenameEdit ------------------------------------------------------------------------------------------

TsFilenameEdit::TsFilenameEdit(TComponent* owner)
    : TsFileDirEdit(owner) {
    SkinData()->ControlKind = TacControlKind::FilenameEdit;
    SetGlyphName("BTN_OPENFILE");
}

TsFilenameEdit::~TsFilenameEdit() = default;

TClass TsFilenameEdit::StaticClass() {
    using T = TsFilenameEdit;
    static const TClassInfo info = MakeClass<T, TsFileDirEdit>("TsFilenameEdit", [](TPropertyBuilder<T>& p) {
        p.String("DefaultExt", &T::DefaultExt, &T::SetDefaultExt);
        p.Int("FilterIndex", &T::FilterIndex, &T::SetFilterIndex, 1);
        p.String("InitialDir", &T::InitialDir, &T::SetInitialDir);
        p.Enum("DialogKind", &T::DialogKind, &T::SetDialogKind, FileDialogKindIdents, dkOpen);
        p.String("FileName", &T::FileName, &T::SetFileName).Stored(false);
        p.String("Filter", &T::Filter, &T::SetFilter).Stored(&T::FilterStored);
        p.Object("HistoryList", &T::HistoryList, &T::SetHistoryList);
        p.Set("DialogOptions", &T::DialogOptions, &T::SetDialogOptions, OpenOptionIdents, DefaultOpenOptions);
    });
    return &info;
}

bool TsFilenameEdit::FilterStored() const {
    return FDialog.Filter != AllFilesFilter;
}

TStrings* TsFilenameEdit::HistoryList() const {
    return FDialog.HistoryList.get();
}

void TsFilenameEdit::SetHistoryList(const TStrings* value) {
    FDialog.HistoryList->Assign(value);
}

TStrings* TsFilenameEdit::Files() const {
    return FDialog.Files.get();
}

void TsFilenameEdit::SetFileName(const std::string& value) {
    if (!value.empty() && !ValidFileName(value)) throw base::Exception("Invalid file name");
    SetText(value);
    ClearFileList();
}

void TsFilenameEdit::SetDialogOptions(TOpenOptions value) {
    if (FDialog.Options == value) return;
    SetMultiple(value.Contains(ofAllowMultiSelect));
    FDialog.Options = value;
    if (!Multiple()) ClearFileList();
}

void TsFilenameEdit::ClearFileList() {
    FDialog.Files->Clear();
}

void TsFilenameEdit::AddDroppedName(const std::string& name) {
    if (!Multiple()) {
        SetFileName(name);
        return;
    }
    if (FDialog.Files->Count() == 0) SetFileName(name);
    FDialog.Files->Add(name);
}

std::string TsFilenameEdit::GetLongName() {
    return GetLongPath(FileName());
}

std::string TsFilenameEdit::GetShortName() {
    return GetShortPath(FileName());
}

void TsFilenameEdit::ButtonClick() {
    classes::TComponentWatch alive(this);
    TsFileDirEdit::ButtonClick();
    if (alive.Get() == nullptr) return;
    std::string s = Text();
    if (ValidFileName(s)) {
        const std::string dir = os::ExtractFileDir(s);
        if (!dir.empty() && os::DirectoryExists(dir)) FDialog.InitialDir = dir;
        const std::string name = os::ExtractFileName(s);
        if (name.empty() || !ValidFileName(name)) s.clear();
        FDialog.FileName = s;
    }
    const bool chosen = FileDialogRunner && FileDialogRunner(FDialogKind, FDialog);
    if (alive.Get() == nullptr) return;
    FocusWhenPossible();
    if (!chosen) return;
    SetText(FDialog.FileName);
    FDialog.InitialDir = os::ExtractFileDir(FDialog.FileName);
}

// ---- TsDirectoryEdit -----------------------------------------------------------------------------------------

TsDirectoryEdit::TsDirectoryEdit(TComponent* owner)
    : TsFileDirEdit(owner) {
    SkinData()->ControlKind = TacControlKind::DirectoryEdit;
    SetGlyphName("BTN_OPENFOLDER");
}

TClass TsDirectoryEdit::StaticClass() {
    using T = TsDirectoryEdit;
    static const TClassInfo info = MakeClass<T, TsFileDirEdit>("TsDirectoryEdit", [](TPropertyBuilder<T>& p) {
        p.String("InitialDir", &T::InitialDir, &T::SetInitialDir);
        p.Set("DialogOptions", &T::DialogOptions, &T::SetDialogOptions, SelectDirOptIdents, DefaultSelectDirOpts);
        p.Bool("MultipleDirs", &T::MultipleDirs, &T::SetMultipleDirs, false);
        p.Bool("NoChangeDir", &T::NoChangeDir, &T::SetNoChangeDir, false);
        p.String("Root", &T::Root, &T::SetRoot, DefaultRoot);
    });
    return &info;
}

void TsDirectoryEdit::ButtonClick() {
    classes::TComponentWatch alive(this);
    TsFileDirEdit::ButtonClick();
    if (alive.Get() == nullptr) return;
    // The text only starts the dialog there: the process's current folder is never changed (paths of
    // other threads are relative to it).
    std::string s = Text();
    if (s.empty()) s = FInitialDir;
    if (!os::DirectoryExists(s)) s.clear();
    TacDirectoryRequest request;
    request.StartDir = s;
    request.Root = FRoot;
    request.Options = FDialogOptions;
    request.Skinned = SkinData()->Skinned(true);
    std::string chosen;
    const bool accepted = DirectoryDialogRunner && DirectoryDialogRunner(request, chosen);
    if (alive.Get() == nullptr) return;
    if (request.Skinned) {
        if (accepted && os::DirectoryExists(chosen)) {
            FInitialDir = chosen;
            SetText(chosen);
        }
        return;
    }
    if (accepted) {
        const std::string text = Text();
        SetText(MultipleDirs() && !text.empty() ? text + ";" + chosen : chosen);
        if (os::DirectoryExists(chosen)) FInitialDir = chosen;
    }
    FocusWhenPossible();
}

void TsDirectoryEdit::AddDroppedName(const std::string& name) {
    const std::string dir = os::FileExists(name) ? os::ExtractFileDir(name) : name;
    const std::string text = Text();
    SetText(MultipleDirs() && !text.empty() ? text + ";" + dir : dir);
}

std::string TsDirectoryEdit::GetLongName() {
    return MultipleDirs() ? ConvertEachDir(Text(), GetLongPath) : GetLongPath(Text());
}

std::string TsDirectoryEdit::GetShortName() {
    return MultipleDirs() ? ConvertEachDir(Text(), GetShortPath) : GetShortPath(Text());
}

}
