// A desktop of another language for a test's scope: LC_ALL set to the locale and LANGUAGE unset, both put back
// after. Header-only, so that the window and skin tests can use it without linking the file tests' support.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace korvex::os::filetest {

class DesktopLocale {
public:
    explicit DesktopLocale(const std::string& locale)
        : FAll(Saved("LC_ALL"))
        , FLanguage(Saved("LANGUAGE")) {
        ::setenv("LC_ALL", locale.c_str(), 1);
        ::unsetenv("LANGUAGE");
    }
    ~DesktopLocale() {
        Restore("LC_ALL", FAll);
        Restore("LANGUAGE", FLanguage);
    }
    DesktopLocale(const DesktopLocale&) = delete;
    DesktopLocale& operator=(const DesktopLocale&) = delete;

private:
    static std::optional<std::string> Saved(const char* name) {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    }
    static void Restore(const char* name, const std::optional<std::string>& value) {
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }

    std::optional<std::string> FAll;
    std::optional<std::string> FLanguage;
};

}
