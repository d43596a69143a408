// The shell: opening web pages and files with the desktop's opener (xdg-open), started detached.
#pragma once

#include <string>

namespace korvex::os {

// The opener: $KORVEX_OPENER when set (tests point it at a fake), else xdg-open found on $PATH, else
// "/usr/bin/xdg-open".
std::string OpenerPath();

// Opens a web page ("https://...") or a file (a path as the program writes it) with the opener. The opener is
// started directly (no shell), the target passed as one argument exactly as it is; it is not waited for and
// leaves no zombie. True when the opener was started.
bool ShellOpen(const std::string& target);

// The "open" verb on `file`: an executable file is started with `parameter` as its one argument (none when
// empty); anything else is opened with ShellOpen and `parameter` is ignored. True when something started.
bool ShellExecute(const std::string& file, const std::string& parameter);

// Opens a web page in the registered browser (Browser.h: the desktop's default http handler, its desktop
// entry's command with the url), started detached like ShellOpen's opener. Nothing is started, and the result is
// false, when no browser is registered or its program cannot be found.
bool OpenInBrowser(const std::string& url);

// What the settings store answers for the browser's open command ("htmlfile\shell\open\command"): the
// opener, quoted, and "%1" for the page: "/usr/bin/xdg-open" "%1".
std::string BrowserCommandLine();

}
