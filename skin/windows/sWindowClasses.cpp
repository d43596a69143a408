// Registration of the skinned window classes for form text.
#include "skin/windows/sWindowClasses.h"

#include "platform/classes/TObject.h"
#include "skin/controls/sControlClasses.h"
#include "skin/windows/sColorDialog.h"
#include "skin/windows/sFilterComboBox.h"
#include "skin/windows/sGridAdapter.h"
#include "skin/windows/sHintManager.h"
#include "skin/windows/sOpenDialog.h"
#include "skin/windows/sSkinMenus.h"
#include "skin/windows/sSkinProvider.h"

namespace korvex::skin {

void RegisterSkinWindowClasses() {
    RegisterSkinControlClasses();
    classes::RegisterClasses(
        {TsSkinProvider::StaticClass(), TsHintManager::StaticClass(), TsGridAdapter::StaticClass(),
            TsColorDialog::StaticClass(), TsOpenDialog::StaticClass(), TsSaveDialog::StaticClass(),
            TsFilterComboBox::StaticClass()});
    InstallSkinableMenus();   // skin managers made from now on skin the menus
    InstallSkinnedColorDialog();   // the colour box's "Custom..." runs the skinned colour dialog
    InstallSkinnedFileDialogs();   // the file name edit's button runs the file dialogs
}

}
