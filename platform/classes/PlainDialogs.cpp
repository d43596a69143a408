// The plain file, colour and folder dialogs: modal forms of standard controls built in code.
#include "platform/classes/PlainDialogs.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TButton.h"
#include "platform/classes/TComboBox.h"
#include "platform/classes/TEdit.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TLabel.h"
#include "platform/classes/TListBox.h"
#include "platform/classes/TPanel.h"
#include "platform/classes/TStringList.h"
#include "platform/os/FileSearch.h"
#include "platform/os/Files.h"
#include "platform/os/Paths.h"

#include <algorithm>
#include <charconv>

namespace korvex::classes {

namespace {

template <class T>
T* Put(TForm* form, const char* name, int left, int top, int width, int height) {
    auto* control = new T(form);
    control->SetName(name);
    control->SetParent(form);
    control->SetBounds(left, top, width, height);
    return control;
}

TForm* NewDialogForm(const std::string& caption, int width, int height) {
    auto* form = Create<TForm>(Application);
    form->SetBorderStyle(bsDialog);
    form->SetCaption(caption);
    form->SetClientWidth(width);
    form->SetClientHeight(height);
    form->SetPosition(poScreenCenter);
    return form;
}

// OK and Cancel at the bottom right of the form.
TButton* PutOkCancel(TForm* form) {
    const int top = form->ClientHeight() - 33;
    auto* ok = Put<TButton>(form, "OKButton", form->ClientWidth() - 168, top, 75, 25);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    auto* cancel = Put<TButton>(form, "CancelButton", form->ClientWidth() - 83, top, 75, 25);
    cancel->SetCaption("Cancel");
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    return ok;
}

std::string ParentFolder(const std::string& folder) {
    if (folder == "/" || folder.empty()) return "/";
    return os::ExtractFileDir(os::ExcludeTrailingPathDelimiter(folder));
}

// Lists ".." (below the root) and the sub-folders, each ending in "/", then the files `show` passes.
template <class F>
void FillFolderList(TListBox* list, const std::string& folder, F show) {
    TStrings* items = list->Items();
    items->BeginUpdate();
    base::ScopeExit end([items] { items->EndUpdate(); });
    items->Clear();
    if (folder != "/") items->Add("../");
    const auto entries = os::FindFiles(os::IncludeTrailingPathDelimiter(folder) + "*", os::faDirectory | os::faArchive | os::faReadOnly);
    for (const os::TSearchRec& rec : entries)
        if (rec.IsDirectory()) items->Add(rec.Name + "/");
    for (const os::TSearchRec& rec : entries)
        if (!rec.IsDirectory() && show(rec.Name)) items->Add(rec.Name);
}

bool IsFolderItem(const std::string& item) {
    return !item.empty() && item.back() == '/';
}

// The folder an item of FillFolderList leads to.
std::string FolderOfItem(const std::string& folder, const std::string& item) {
    if (item == "../") return ParentFolder(folder);
    return JoinPath(folder, item.substr(0, item.size() - 1));
}

}   // namespace

// ---- Open and save -------------------------------------------------------------------------------------------

bool RunPlainFileDialog(TOpenDialog& dialog) {
    TForm* form = NewDialogForm(dialog.DialogCaption(), 420, 330);
    base::ScopeExit release([form] { form->Free(); });
    auto* folderLabel = Put<TLabel>(form, "FolderLabel", 8, 8, 404, 16);
    auto* list = Put<TListBox>(form, "FileList", 8, 28, 404, 200);
    list->SetMultiSelect(dialog.Options().Contains(ofAllowMultiSelect));
    auto* nameEdit = Put<TEdit>(form, "FileNameEdit", 8, 236, 404, 22);
    nameEdit->SetText("");   // naming gave it its name as text
    auto* filterBox = Put<TComboBox>(form, "FilterBox", 8, 264, 404, 22);
    filterBox->SetStyle(csDropDownList);
    TButton* ok = PutOkCancel(form);

    const std::vector<TFilterItem> filters = ParseFilter(dialog.Filter());
    for (const TFilterItem& item : filters) filterBox->Items()->Add(item.Description);
    const int count = int(filters.size());
    filterBox->SetItemIndex(count == 0 ? -1 : std::clamp(dialog.FilterIndex() - 1, 0, count - 1));

    std::string folder = dialog.StartFolder();
    auto show = [&](const std::string& name) {
        const int index = filterBox->ItemIndex();
        return index < 0 || index >= count || filters[size_t(index)].Matches(name);
    };
    auto enter = [&](const std::string& target) {
        folder = os::ExcludeTrailingPathDelimiter(target);
        if (folder.empty()) folder = "/";
        folderLabel->SetCaption(folder);
        FillFolderList(list, folder, show);
    };
    auto accept = [&](std::vector<std::string> paths) {
        for (std::string& path : paths) {
            if (!os::FileExists(path)) path = dialog.WithDefaultExt(path);
            if (!dialog.AcceptName(path)) return;
        }
        dialog.SetChosen(paths);
        form->SetModalResult(mrOk);
    };
    enter(folder);
    if (!dialog.FileName().empty()) nameEdit->SetText(os::ExtractFileName(dialog.FileName()));

    filterBox->OnChange = [&](TObject*) { enter(folder); };
    list->OnClick = [&](TObject*) {
        const int index = list->ItemIndex();
        if (index < 0) return;
        const std::string item = list->Items()->Strings(index);
        if (!IsFolderItem(item)) nameEdit->SetText(item);
    };
    list->OnDblClick = [&](TObject*) {
        const int index = list->ItemIndex();
        if (index < 0) return;
        const std::string item = list->Items()->Strings(index);
        if (IsFolderItem(item))
            enter(FolderOfItem(folder, item));
        else
            accept({JoinPath(folder, item)});
    };
    ok->OnClick = [&](TObject*) {
        const std::string text = nameEdit->Text();
        if (text.empty()) {
            const int index = list->ItemIndex();
            if (index >= 0 && IsFolderItem(list->Items()->Strings(index)))
                enter(FolderOfItem(folder, list->Items()->Strings(index)));
            return;
        }
        if (list->MultiSelect() && list->SelCount() > 1) {
            std::vector<std::string> paths;
            for (int i = 0; i < list->Items()->Count(); ++i)
                if (list->Selected(i) && !IsFolderItem(list->Items()->Strings(i)))
                    paths.push_back(JoinPath(folder, list->Items()->Strings(i)));
            if (!paths.empty()) return accept(paths);
        }
        const std::string path = JoinPath(folder, text);
        if (os::DirectoryExists(path)) {
            nameEdit->SetText("");
            return enter(path);
        }
        accept({path});
    };
    form->SetActiveControl(nameEdit);
    const TModalResult result = form->ShowModal();
    if (filterBox->ItemIndex() >= 0) dialog.SetFilterIndex(filterBox->ItemIndex() + 1);
    return result == mrOk;
}

// ---- Colour --------------------------------------------------------------------------------------------------

bool RunPlainColorDialog(TColorDialog& dialog) {
    TForm* form = NewDialogForm("Color", 260, 150);
    base::ScopeExit release([form] { form->Free(); });
    const TColor start = ColorToRGB(dialog.Color());
    const char* names[3] = {"RedEdit", "GreenEdit", "BlueEdit"};
    const char* captions[3] = {"Red :", "Green :", "Blue :"};
    TEdit* edits[3] {};
    for (int i = 0; i < 3; ++i) {
        auto* label = Put<TLabel>(form, (std::string(names[i]) + "Label").c_str(), 8, 12 + i * 28, 50, 16);
        label->SetCaption(captions[i]);
        edits[i] = Put<TEdit>(form, names[i], 60, 8 + i * 28, 60, 22);
        edits[i]->SetText(std::to_string((start >> (8 * i)) & 0xFF));
    }
    auto* sample = Put<TPanel>(form, "Sample", 140, 8, 112, 78);
    sample->SetCaption("");
    sample->SetColor(start);
    // Each channel alone, 0..255: a value out of range is clamped and never spills into its neighbours.
    auto current = [edits] {
        TColor color = 0;
        for (int i = 0; i < 3; ++i) {
            const std::string text = edits[i]->Text();
            long value = 0;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
            if (error == std::errc::result_out_of_range) value = text.starts_with('-') ? 0 : 255;
            color |= TColor(std::clamp<long>(value, 0, 255)) << (8 * i);
        }
        return color;
    };
    for (TEdit* edit : edits) edit->OnChange = [sample, current](TObject*) { sample->SetColor(current()); };
    TButton* ok = PutOkCancel(form);
    ok->SetModalResult(mrOk);
    if (form->ShowModal() != mrOk) return false;
    dialog.SetColor(current());
    return true;
}

// ---- Folder --------------------------------------------------------------------------------------------------

bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory) {
    TForm* form = NewDialogForm(caption.empty() ? "Select directory" : caption, 320, 300);
    base::ScopeExit release([form] { form->Free(); });
    auto* folderLabel = Put<TLabel>(form, "FolderLabel", 8, 8, 304, 16);
    auto* list = Put<TListBox>(form, "FileList", 8, 28, 304, 222);
    TButton* ok = PutOkCancel(form);
    const std::string top = root.empty() || !os::DirectoryExists(root) ? "/" : os::ExcludeTrailingPathDelimiter(root);
    std::string folder = !directory.empty() && os::DirectoryExists(directory) ? directory : top;
    auto enter = [&](const std::string& target) {
        folder = os::ExcludeTrailingPathDelimiter(target);
        if (folder.empty()) folder = "/";
        folderLabel->SetCaption(folder);
        FillFolderList(list, folder, [](const std::string&) { return false; });
        if (folder == top && list->Items()->Count() > 0 && list->Items()->Strings(0) == "../")
            list->Items()->Delete(0);   // no walking above the root
    };
    enter(folder);
    list->OnDblClick = [&](TObject*) {
        const int index = list->ItemIndex();
        if (index >= 0) enter(FolderOfItem(folder, list->Items()->Strings(index)));
    };
    ok->OnClick = [&](TObject*) {
        const int index = list->ItemIndex();
        const bool sub = index >= 0 && list->Items()->Strings(index) != "../";
        directory = sub ? FolderOfItem(folder, list->Items()->Strings(index)) : folder;
        form->SetModalResult(mrOk);
    };
    return form->ShowModal() == mrOk;
}

}
