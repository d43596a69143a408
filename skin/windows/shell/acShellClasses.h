// Registration of the shell controls, so that form text can name them.
#pragma once

namespace korvex::skin {

// Registers the shell tree, folder combo box and file list classes; call once before reading form text that
// holds them (after RegisterSkinWindowClasses, which registers the skinned controls they build on). Also makes
// the directory edit run the folder selection dialog and the skinned file dialogs show their shell form.
void RegisterShellClasses();

}
