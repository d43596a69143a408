// The skinned folder selection dialog: its layout, the new folder, and the directory edit's folder dialog.
#include "skin/windows/shell/sPathDialog.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TCommonDialog.h"
#include "platform/classes/TSizeConstraints.h"
#include "platform/classes/TTreeNodes.h"
#include "platform/os/Files.h"
#include "platform/user/Messages.h"
#include "platform/user/controls/TreeView.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sTooledit.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/engine/sUtils.h"
#include "skin/windows/sSkinProvider.h"
#include "skin/windows/shell/acShellFolder.h"
#include "skin/windows/shell/acShellTreeView.h"

#include <optional>
#include <sys/stat.h>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

// Any entry at all: a folder, a file, a dangling link.
bool EntryExists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

}   // namespace

std::string NewFolderName(const std::string& parent) {
    for (int n = 1;; ++n) {
        const std::string candidate = JoinPath(parent, "New folder" + std::to_string(n));
        if (!EntryExists(candidate)) return candidate;
    }
}

TPathDialogForm::TPathDialogForm(TComponent* owner)
    : TForm(owner) {
    SkinProvider = new TsSkinProvider(this);
    SkinProvider->SkinData()->SetSkinSection("DIALOG");   // a library dialog, not an application window
    SkinProvider->SetMakeSkinMenu(false);
    SkinProvider->AfterConstruction();
    SetAutoScroll(false);
    SetBorderStyle(bsSizeToolWin);
    SetCaption("Select directory");
    SetPosition(poScreenCenter);
    SetWidth(319);
    SetHeight(397);
    Constraints()->SetMinWidth(275);
    Constraints()->SetMinHeight(250);

    sShellTreeView1 = Create<TsShellTreeView>(this);
    sShellTreeView1->SetName("sShellTreeView1");
    sShellTreeView1->SetParent(this);
    sShellTreeView1->SetBounds(8, 24, ClientWidth() - 16, ClientHeight() - 66);   // its label above it
    sShellTreeView1->SetShowRoot(false);
    sShellTreeView1->SetRightClickSelect(true);
    sShellTreeView1->SkinData()->SetSkinSection("EDIT");
    sShellTreeView1->SetAnchors({akLeft, akTop, akRight, akBottom});
    sShellTreeView1->OnChange = [this](TObject*, TTreeNode*) { TreeChange(); };
    sShellTreeView1->BoundLabel()->SetLayout(sclTopLeft);
    sShellTreeView1->BoundLabel()->SetCaption(" ");
    sShellTreeView1->BoundLabel()->SetActive(true);

    auto button = [this](const char* name, const char* caption, int left, TAnchors anchors) {
        auto* b = Create<TsBitBtn>(this);
        b->SetName(name);
        b->SetParent(this);
        b->SetCaption(caption);
        b->SetBounds(left, ClientHeight() - 34, 80, 26);
        b->SkinData()->SetSkinSection("BUTTON");
        b->SetAnchors(anchors);
        return b;
    };
    sBitBtn3 = button("sBitBtn3", "Create", 8, {akLeft, akBottom});
    sBitBtn3->SetEnabled(false);
    sBitBtn3->OnClick = [this](TObject*) { CreateFolderClick(); };
    sBitBtn1 = button("sBitBtn1", "OK", ClientWidth() - 176, {akRight, akBottom});
    sBitBtn1->SetDefault(true);
    sBitBtn1->SetModalResult(mrOk);   // the click handler may take it back while a name is being edited
    sBitBtn1->OnClick = [this](TObject*) { OkClick(); };
    sBitBtn2 = button("sBitBtn2", "Cancel", ClientWidth() - 88, {akRight, akBottom});
    sBitBtn2->SetCancel(true);
    sBitBtn2->SetModalResult(mrCancel);
    sBitBtn2->OnClick = [this](TObject*) { CancelClick(); };
    sEdit1 = Create<TsEdit>(this);
    sEdit1->SetName("sEdit1");
    sEdit1->SetVisible(false);
    sEdit1->SetParent(this);
    sShellTreeView1->UpdateScrolls();
    SetActiveControl(sShellTreeView1);
}

TClass TPathDialogForm::StaticClass() {
    static const TClassInfo info = MakeClass<TPathDialogForm, TForm>("TPathDialogForm");
    return &info;
}

void TPathDialogForm::TreeChange() {
    const bool real = !sShellTreeView1->Path().empty();
    sBitBtn1->SetEnabled(real);
    sBitBtn3->SetEnabled(real);
}

void TPathDialogForm::CreateFolderClick() {
    TTreeNode* node = sShellTreeView1->Selected();
    const std::string parent = sShellTreeView1->Path();
    if (node == nullptr || parent.empty()) return;
    const std::string path = NewFolderName(parent);
    os::CreateDir(path);
    if (!os::DirectoryExists(path)) {
        ShowError("Directory " + path + " can`t be created!");
        return;
    }
    sShellTreeView1->Refresh(node);   // the node is replaced; the selection is kept
    sShellTreeView1->UpdateScrolls();
    node = sShellTreeView1->Selected();
    for (int i = 0; node != nullptr && i < node->Count(); ++i) {
        TTreeNode* child = node->Item(i);
        const TacShellFolder* folder = sShellTreeView1->Folders(child->AbsoluteIndex());
        if (folder == nullptr || folder->PathName() != path) continue;
        child->SetSelected(true);
        if (sShellTreeView1->CanFocus()) sShellTreeView1->SetFocus();
        node->SetExpanded(true);
        child->EditText();
        break;
    }
    sShellTreeView1->SelectPath(path);
}

void TPathDialogForm::OkClick() {
    if (sShellTreeView1->IsEditing()) {
        user::SendMessage(sShellTreeView1->Handle(), user::TVM_ENDEDITLABELNOW, 0, 0);
        SetModalResult(mrNone);
        if (sShellTreeView1->CanFocus()) sShellTreeView1->SetFocus();
        return;
    }
    SetModalResult(mrOk);
}

void TPathDialogForm::CancelClick() {
    SetModalResult(sShellTreeView1->IsEditing() ? mrNone : mrCancel);
}

// ---- The directory edit's dialog -----------------------------------------------------------------------------

void InstallSkinnedFolderDialog() {
    DirectoryDialogRunner = [](const TacDirectoryRequest& request, std::string& chosen) {
        if (!request.Skinned) {
            const std::optional<TacRootFolder> special = RootFolderFromName(request.Root);
            std::string directory = request.StartDir;
            if (!SelectDirectory("", special ? std::string() : request.Root, directory)) return false;
            chosen = directory;
            return true;
        }
        auto* form = Create<TPathDialogForm>(Application);
        base::ScopeExit release([form] { form->Free(); });
        form->sBitBtn3->SetVisible(request.Options.Contains(sdAllowCreate));
        form->sShellTreeView1->SetRoot(request.Root);
        if (!request.StartDir.empty() && os::DirectoryExists(request.StartDir)) {
            form->sShellTreeView1->HandleNeeded();   // the tree fills when its window is made
            try {
                form->sShellTreeView1->SelectPath(request.StartDir);
            } catch (const std::exception&) {
                // A folder outside the root: the tree starts at the root.
            }
        }
        if (form->ShowModal() != mrOk) return false;
        const std::string path = form->sShellTreeView1->Path();
        if (path.empty() || !os::DirectoryExists(path)) return false;
        chosen = path;
        return true;
    };
}

}
