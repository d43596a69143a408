// Registration of the standard controls' classes.
#include "platform/classes/StdControls.h"

#include "platform/classes/TBitBtn.h"
#include "platform/classes/TButton.h"
#include "platform/classes/TCheckBox.h"
#include "platform/classes/TColorBox.h"
#include "platform/classes/TComboBox.h"
#include "platform/classes/TGroupBox.h"
#include "platform/classes/TImage.h"
#include "platform/classes/TListBox.h"
#include "platform/classes/TRadioButton.h"
#include "platform/classes/TScrollBar.h"

namespace korvex::classes {

void RegisterStdControlClasses() {
    RegisterClasses({TButton::StaticClass(), TBitBtn::StaticClass(), TCheckBox::StaticClass(),
        TRadioButton::StaticClass(), TGroupBox::StaticClass(), TListBox::StaticClass(), TComboBox::StaticClass(),
        TColorBox::StaticClass(), TScrollBar::StaticClass(), TImage::StaticClass()});
}

}
