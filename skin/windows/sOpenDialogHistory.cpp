// The open dialog's folder history.
#include "skin/windows/sOpenDialogHistory.h"

#include "platform/base/Assert.h"
#include "platform/os/Files.h"

namespace korvex::skin {

std::string PathMenuCaption(const std::string& path) {
    std::string caption;
    caption.reserve(path.size());
    for (char c : path) {
        caption += c;
        if (c == '&') caption += '&';
    }
    return caption;
}

void TacFolderHistory::Visit(const std::string& folder) {
    KORVEX_ASSERT(FNavigating >= 0);
    if (FNavigating > 0 || !os::DirectoryExists(folder)) return;
    if (!FEntries.empty() && FEntries.back() == folder) return;
    FEntries.push_back(folder);
}

std::optional<std::string> TacFolderHistory::Back(const std::string& shown) {
    if (FEntries.size() < 2) return std::nullopt;
    const std::string previous = FEntries[FEntries.size() - 2];
    if (previous == shown) return std::nullopt;
    FEntries.pop_back();
    return previous;
}

std::vector<std::string> TacFolderHistory::MenuPaths() const {
    if (FEntries.size() < 2) return {};
    return {FEntries.begin(), FEntries.end() - 1};
}

}
