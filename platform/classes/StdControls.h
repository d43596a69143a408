// Registration of the standard controls' classes for streaming, so component text can name them.
#pragma once

namespace korvex::classes {

// TButton, TBitBtn, TCheckBox, TRadioButton, TGroupBox, TListBox, TComboBox, TColorBox and TScrollBar (once;
// later calls do nothing).
void RegisterStdControlClasses();

}
