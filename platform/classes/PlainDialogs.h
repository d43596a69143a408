// The plain modal forms behind the dialog components' Execute when no skinned dialog takes over.
#pragma once

#include "platform/classes/TCommonDialog.h"

namespace korvex::classes {

// Component names on the forms: "FolderLabel", "FileList", "FileNameEdit", "FilterBox", "OKButton",
// "CancelButton"; the colour form has "RedEdit", "GreenEdit", "BlueEdit" and "Sample".
bool RunPlainFileDialog(TOpenDialog& dialog);
bool RunPlainColorDialog(TColorDialog& dialog);

}
