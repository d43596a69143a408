// The program's string table of the skinned windows: the captions of the message dialog, the system menu,
// the MDI child's menu and the open, save and colour dialogs, by their ids, in the desktop's language (English
// or Russian, see os::DesktopLanguage). Each is loaded when it is used, so a text replaced in the table, or
// another language, changes what is built after.
#pragma once

#include <string>

namespace korvex::skin {

// The text of an id (a replaced one as it was given); empty for an id the table does not hold.
std::string LoadResString(int id);
// Replaces the text of an id (a translation, say); what is built afterwards shows it.
void ReplaceResString(int id, std::string text);

}
