// The skinned folder selection dialog TPathDialogForm: a shell folder tree with OK, Cancel and Create (a new
// sub-folder named "New folder" and the first free number, renamed in place).
#pragma once

#include "platform/classes/TForm.h"

#include <string>

namespace korvex::skin {

class TsBitBtn;
class TsEdit;
class TsShellTreeView;
class TsSkinProvider;

// The first "New folder1", "New folder2" ... that names no entry (folder, file or link) in `parent`.
std::string NewFolderName(const std::string& parent);

class TPathDialogForm : public classes::TForm {
public:
    explicit TPathDialogForm(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    void CreateFolderClick();   // makes the new folder below the selection and starts renaming it
    void OkClick();   // while renaming: commits the name and stays
    void CancelClick();   // while renaming: stays (the edit's Escape ends the renaming)

    TsShellTreeView* sShellTreeView1 = nullptr;
    TsBitBtn* sBitBtn1 = nullptr;   // OK
    TsBitBtn* sBitBtn2 = nullptr;   // Cancel
    TsBitBtn* sBitBtn3 = nullptr;   // Create
    TsEdit* sEdit1 = nullptr;   // hidden
    TsSkinProvider* SkinProvider = nullptr;

private:
    void TreeChange();   // OK and Create only for folders with a file-system path
};

// Makes the directory edit's button run TPathDialogForm while skinned and the plain folder selection else.
void InstallSkinnedFolderDialog();

}
