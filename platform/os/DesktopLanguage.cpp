// The desktop's language from the locale variables.
#include "platform/os/DesktopLanguage.h"

#include <cstdlib>
#include <string_view>

namespace korvex::os {

namespace {

std::string_view Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}

// "ru", "ru_RU.UTF-8", "ru_UA@latin": the language is what comes before '_', '.' or '@'.
bool IsRussian(std::string_view locale) {
    const std::string_view language = locale.substr(0, locale.find_first_of("_.@"));
    return language == "ru";
}

}   // namespace

TDesktopLanguage DesktopLanguage() {
    std::string_view locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (!(locale = Variable(name)).empty()) break;
    if (!locale.empty() && locale != "C" && locale != "POSIX") {
        const std::string_view list = Variable("LANGUAGE");   // "ru_RU:ru:en": the first is preferred
        if (!list.empty()) locale = list.substr(0, list.find(':'));
    }
    return IsRussian(locale) ? TDesktopLanguage::Russian : TDesktopLanguage::English;
}

const char* DesktopText(const char* english, const char* russian) {
    return DesktopLanguage() == TDesktopLanguage::Russian ? russian : english;
}

}
