// The desktop's language from the locale variables, in the order the C library and gettext take them.
#include "platform/os/DesktopLanguage.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace korvex::os;

namespace {

struct LocaleCase {
    std::optional<std::string> All, Messages, Lang, Language;
    TDesktopLanguage Expected;
};

TEST(DesktopLanguage, ComesFromTheMessagesLocaleAndLanguageList) {
    const auto ru = TDesktopLanguage::Russian, en = TDesktopLanguage::English;
    const LocaleCase cases[] = {
        {std::nullopt, std::nullopt, "ru_RU.UTF-8", std::nullopt, ru},
        {std::nullopt, std::nullopt, "ru", std::nullopt, ru},
        {std::nullopt, std::nullopt, "ru_UA@latin", std::nullopt, ru},
        {std::nullopt, std::nullopt, "en_US.UTF-8", std::nullopt, en},
        {std::nullopt, std::nullopt, "rue_SK.UTF-8", std::nullopt, en},   // Rusyn, not Russian
        {std::nullopt, std::nullopt, std::nullopt, std::nullopt, en},
        {std::nullopt, "ru_RU.UTF-8", "en_GB.UTF-8", std::nullopt, ru},   // LC_MESSAGES before LANG
        {"en_US.UTF-8", "ru_RU.UTF-8", "ru_RU.UTF-8", std::nullopt, en},   // LC_ALL before both
        {"", "", "ru_RU.UTF-8", std::nullopt, ru},   // empty ones do not count
        {std::nullopt, std::nullopt, "en_US.UTF-8", "ru_RU:ru:en", ru},   // the language list first
        {std::nullopt, std::nullopt, "ru_RU.UTF-8", "de:ru", en},
        {std::nullopt, std::nullopt, "C", "ru", en},   // the C locale takes no list
        {std::nullopt, std::nullopt, std::nullopt, "ru", en},
    };
    for (const LocaleCase& c : cases) {
        filetest::EnvOverride all("LC_ALL", c.All), messages("LC_MESSAGES", c.Messages), lang("LANG", c.Lang),
            language("LANGUAGE", c.Language);
        EXPECT_EQ(DesktopLanguage(), c.Expected)
            << c.All.value_or("-") << " " << c.Messages.value_or("-") << " " << c.Lang.value_or("-") << " "
            << c.Language.value_or("-");
        EXPECT_STREQ(DesktopText("Close", "Закрыть"), c.Expected == ru ? "Закрыть" : "Close");
    }
}

}
