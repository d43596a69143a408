// Icons of the desktop's icon theme (the freedesktop icon theme layout): a picture file for an icon name.
#pragma once

#include <string>
#include <vector>

namespace korvex::os {

// The data folders icon themes and the MIME database live in: $XDG_DATA_HOME (else ~/.local/share), then each
// of $XDG_DATA_DIRS (default /usr/local/share and /usr/share).
std::vector<std::string> DesktopDataFolders();

// The theme the desktop uses: gtk-icon-theme-name of $XDG_CONFIG_HOME/gtk-3.0/settings.ini (else
// ~/.config/...), else "Adwaita".
std::string DesktopIconTheme();

// The PNG file of the first of names found in theme, the themes it inherits, then "hicolor", searched in the
// data folders' icons/ (and ~/.icons): in each theme the fixed-size folder nearest to size. "" when none.
// Only PNG pictures are taken (scalable SVG ones are not read).
std::string FindThemeIcon(const std::vector<std::string>& names, int size, const std::string& theme,
    const std::vector<std::string>& dataFolders);

// The icon names for a MIME type, in the order to try: the type's own ("text/plain" gives "text-plain"), the
// generic one the database names in generic-icons, and "<media>-x-generic".
std::vector<std::string> MimeIconNames(const std::string& mimeType, const std::vector<std::string>& dataFolders);

}
