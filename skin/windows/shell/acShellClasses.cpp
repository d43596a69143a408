// Registration of the shell controls for form text.
#include "skin/windows/shell/acShellClasses.h"

#include "platform/classes/TObject.h"
#include "skin/windows/shell/acShellComboBox.h"
#include "skin/windows/shell/acShellListView.h"
#include "skin/windows/shell/acShellTreeView.h"
#include "skin/windows/shell/sOpenDialogForm.h"
#include "skin/windows/shell/sPathDialog.h"

namespace korvex::skin {

void RegisterShellClasses() {
    classes::RegisterClasses({TsShellTreeView::StaticClass(), TsShellComboBox::StaticClass(),
        TsShellListView::StaticClass(), TsDlgShellListView::StaticClass()});
    InstallSkinnedFolderDialog();   // the directory edit's button runs the folder selection dialog
    InstallSkinnedFileDialogForm();   // the file dialogs show their skinned form while a skin is active
}

}
