// The "properties" verb's box.
#include "skin/windows/shell/acShellProperties.h"

#include "platform/base/DateTime.h"
#include "platform/base/Strings.h"
#include "platform/os/ShellItems.h"
#include "skin/windows/sMessageDlg.h"
#include "skin/windows/shell/acShellFolder.h"

namespace korvex::skin {

std::string ShellPropertiesText(const TacShellFolder& folder) {
    const std::string path = folder.PathName();
    os::TShellEntry entry;
    if (path.empty() || !os::StatShellEntry(path, entry)) return {};
    const std::size_t slash = path.rfind('/');
    const std::string location = slash == 0 ? "/" : path.substr(0, slash);
    const std::size_t dot = entry.Name.rfind('.');
    std::string type = "Folder";
    if (!entry.IsFolder)
        type = dot == std::string::npos || dot == 0 ? "File" : base::AnsiUpperCase(entry.Name.substr(dot + 1)) + " File";
    std::string attributes;
    for (const auto& [on, name] : {std::pair {entry.ReadOnly, "Read-only"}, std::pair {entry.IsHidden, "Hidden"},
             std::pair {entry.IsLink, "Link"}})
        if (on) attributes += (attributes.empty() ? "" : ", ") + std::string(name);
    std::string text = "Name: " + folder.DisplayName() + "\r\nType: " + type + "\r\nLocation: " + location;
    if (!entry.IsFolder) text += "\r\nSize: " + std::to_string(entry.Size) + " bytes";
    text += "\r\nModified: " + base::DateTimeToStr(entry.Modified);
    text += "\r\nAttributes: " + (attributes.empty() ? std::string("None") : attributes);
    return text;
}

bool ShowShellProperties(const TacShellFolder& folder) {
    const std::string text = ShellPropertiesText(folder);
    if (text.empty()) return false;
    sMessageDlgPosHelp(folder.DisplayName() + " Properties", text, mtInformation, {mbOK}, 0, -1, -1, "");
    return true;
}

}
