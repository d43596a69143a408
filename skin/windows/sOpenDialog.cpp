// The file dialog components and the file name edit's runner.
#include "skin/windows/sOpenDialog.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TStringList.h"
#include "skin/controls/sTooledit.h"
#include "skin/engine/sSkinManager.h"

#include <memory>

namespace korvex::skin {

using namespace korvex::classes;

TsOpenDialog::TsOpenDialog(TComponent* owner)
    : TOpenDialog(owner) {
}

TClass TsOpenDialog::StaticClass() {
    using T = TsOpenDialog;
    static const TClassInfo info = MakeClass<T, TOpenDialog>("TsOpenDialog", [](TPropertyBuilder<T>& p) {
        p.Enum("ZipShowing", &T::ZipShowing, &T::SetZipShowing, ZipShowingIdents, zsAsFolder);
    });
    return &info;
}

bool TsOpenDialog::Execute() {
    if (!SkinnedFileDialogShown()) return TOpenDialog::Execute();
    return SkinnedFileDialogForm(*this, FZipShowing == zsAsFolder);
}

bool TsSaveDialog::Execute() {
    if (!SkinnedFileDialogShown()) return TSaveDialog::Execute();
    return SkinnedFileDialogForm(*this, false);
}

bool SkinnedFileDialogShown() {
    return SkinnedFileDialogForm && DefaultManager != nullptr && DefaultManager->Active()
        && !DefaultManager->SkinName().empty();
}

TsSaveDialog::TsSaveDialog(TComponent* owner)
    : TSaveDialog(owner) {
}

TClass TsSaveDialog::StaticClass() {
    static const TClassInfo info = MakeClass<TsSaveDialog, TSaveDialog>("TsSaveDialog");
    return &info;
}

void InstallSkinnedFileDialogs() {
    FileDialogRunner = [](TFileDialogKind kind, TacFileDialogData& data) {
        TOpenDialog* dialog = kind == dkSave ? static_cast<TOpenDialog*>(new TsSaveDialog(Application))
                                             : new TsOpenDialog(Application);
        base::ScopeExit release([dialog] { dialog->Free(); });
        dialog->SetDefaultExt(data.DefaultExt);
        dialog->SetFileName(data.FileName);
        dialog->SetFilter(data.Filter);
        dialog->SetFilterIndex(data.FilterIndex);
        dialog->SetInitialDir(data.InitialDir);
        dialog->SetHistoryList(data.HistoryList.get());
        dialog->Files()->Assign(data.Files.get());
        dialog->SetOptions(data.Options);
        const bool accepted = dialog->Execute();
        data.FilterIndex = dialog->FilterIndex();
        if (!accepted) return false;
        data.FileName = dialog->FileName();
        data.Files->Assign(dialog->Files());
        data.InitialDir = dialog->InitialDir();
        return true;
    };
}

}
