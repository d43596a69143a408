// The language the desktop gives its own texts in (window menus, common dialogs, shell names), from the
// locale of the environment.
#pragma once

namespace korvex::os {

enum class TDesktopLanguage {
    English,   // the language of these texts anywhere but on a Russian desktop
    Russian,
};

// The messages locale as the C library and gettext take it: LC_ALL, else LC_MESSAGES, else LANG (the first
// one set and not empty); unless that is "C" or "POSIX", LANGUAGE's first entry goes before it. A locale
// whose language is "ru" is Russian, every other one English. Read at each call.
TDesktopLanguage DesktopLanguage();

// The text in the desktop's language.
const char* DesktopText(const char* english, const char* russian);

}
