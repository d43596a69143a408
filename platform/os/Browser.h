// The desktop's registered web browser: the default handler of http links and the command its desktop entry runs.
#pragma once

#include <string>
#include <vector>

namespace korvex::os {

// The desktop entry id of the default http handler ("firefox.desktop"), as `xdg-mime query default
// x-scheme-handler/http` answers (the desktop's own rules, $XDG_* honoured); "" when none is registered or
// xdg-mime is missing. Waits for xdg-mime at most a few seconds.
std::string DefaultBrowserEntry();

// The Exec line of the desktop entry `id`, found under $XDG_DATA_HOME/applications, then each of
// $XDG_DATA_DIRS' applications folders (a "-" of the id may stand for a sub-folder); "" when there is none, it
// is hidden, or it has no Exec key. Only regular files of a bounded size are read.
std::string DesktopEntryExec(const std::string& id);

// The arguments of an Exec line started for `url`: quoting and escapes as desktop entries write them; %u,
// %U, %f and %F give the url (appended at the end when the line has none of them), %% a "%", and the other
// field codes nothing. Empty for a line that names no program.
std::vector<std::string> ExecArguments(const std::string& exec, const std::string& url);

// The registered browser's command for `url`: DefaultBrowserEntry's Exec line as ExecArguments gives it; empty
// when there is no browser.
std::vector<std::string> BrowserCommand(const std::string& url);

}
