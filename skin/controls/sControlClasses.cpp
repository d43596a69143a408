// Registration of the skinned control classes for form text.
#include "skin/controls/sControlClasses.h"

#include "platform/classes/TObject.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sCalcForm.h"
#include "skin/controls/sCheckBox.h"
#include "skin/controls/sComboBox.h"
#include "skin/controls/sComboBoxes_ColorBox.h"
#include "skin/controls/sComboBoxes_ComboBoxEx.h"
#include "skin/controls/sCurrEdit.h"
#include "skin/controls/sCustomComboEdit.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sGauge.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sListView.h"
#include "skin/controls/sMaskEdit.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sPageControl.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sRadioButton.h"
#include "skin/controls/sRichEdit.h"
#include "skin/controls/sScrollBox.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/controls/sSpinEdit.h"
#include "skin/controls/sSplitter.h"
#include "skin/controls/sStatusBar.h"
#include "skin/controls/sToolBar.h"
#include "skin/controls/sTooledit.h"
#include "skin/controls/sTrackBar.h"
#include "skin/controls/sTreeView.h"
#include "skin/controls/sUpDown.h"

namespace korvex::skin {

void RegisterSkinControlClasses() {
    classes::RegisterClasses({TsPanel::StaticClass(), TsDragBar::StaticClass(), TsGrip::StaticClass(),
        TsColorsPanel::StaticClass(), TsGauge::StaticClass(), TsScrollBox::StaticClass(),
        TsButton::StaticClass(), TsBitBtn::StaticClass(), TsCheckBox::StaticClass(),
        TsRadioButton::StaticClass(), TsSpeedButton::StaticClass(), TsStatusBar::StaticClass(),
        TsToolBar::StaticClass()});
    classes::RegisterClasses({TsLabel::StaticClass(), TsGroupBox::StaticClass(), TsSplitter::StaticClass()});
    classes::RegisterClasses({TsEdit::StaticClass(), TsMaskEdit::StaticClass(), TsMemo::StaticClass(),
        TsRichEdit::StaticClass()});
    classes::RegisterClasses({TsUpDown::StaticClass(), TsPageControl::StaticClass(), TsTabSheet::StaticClass(),
        TsTrackBar::StaticClass()});
    classes::RegisterClasses({TsComboBox::StaticClass(), TsColorBox::StaticClass(),
        TsComboBoxEx::StaticClass()});
    classes::RegisterClasses({TsFilenameEdit::StaticClass(), TsDirectoryEdit::StaticClass()});
    classes::RegisterClasses({TsTimerSpeedButton::StaticClass(), TsSpinButton::StaticClass(),
        TsDecimalSpinEdit::StaticClass(), TsSpinEdit::StaticClass(), TsCalcForm::StaticClass(),
        TsCurrencyEdit::StaticClass()});
    classes::RegisterClasses({TsTreeView::StaticClass(), TsListView::StaticClass()});
    InstallEditLabelFactory();
}

}
