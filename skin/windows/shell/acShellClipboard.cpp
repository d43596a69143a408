// The shell's own clipboard of items and pasting them into a folder.
#include "skin/windows/shell/acShellClipboard.h"

#include "platform/os/Files.h"
#include "platform/os/ShellItems.h"

#include <filesystem>
#include <sys/stat.h>

namespace korvex::skin {

namespace {

struct TShellClipboard {
    std::vector<std::string> Paths;
    bool Cut = false;
};

TShellClipboard& Clipboard() {
    static TShellClipboard clipboard;   // the GUI thread's only
    return clipboard;
}

bool EntryAt(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::string NameOf(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const std::size_t slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

// Copies an entry to a target that does not exist: a folder with everything in it, a link as a link.
bool CopyEntry(const std::string& from, const std::string& to) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(from, error);
    if (error) return false;
    if (std::filesystem::is_symlink(status)) {
        std::filesystem::copy_symlink(from, to, error);
        return !error;
    }
    if (std::filesystem::is_directory(status)) {
        std::filesystem::copy(from, to,
            std::filesystem::copy_options::recursive | std::filesystem::copy_options::copy_symlinks, error);
        return !error;
    }
    return os::CopyFile(from, to, true);
}

}

void SetShellClipboard(std::vector<std::string> paths, bool cut) {
    Clipboard().Paths = std::move(paths);
    Clipboard().Cut = cut;
}

const std::vector<std::string>& ShellClipboardPaths() {
    return Clipboard().Paths;
}

bool ShellClipboardIsCut() {
    return Clipboard().Cut;
}

void ClearShellClipboard() {
    SetShellClipboard({}, false);
}

std::string FreeNameIn(const std::string& folder, const std::string& name) {
    if (!EntryAt(os::JoinShellPath(folder, name))) return name;
    const std::size_t dot = name.rfind('.');
    const bool hasExt = dot != std::string::npos && dot != 0;
    const std::string stem = hasExt ? name.substr(0, dot) : name;
    const std::string ext = hasExt ? name.substr(dot) : std::string();
    for (int n = 2;; ++n) {
        const std::string candidate = stem + " (" + std::to_string(n) + ")" + ext;
        if (!EntryAt(os::JoinShellPath(folder, candidate))) return candidate;
    }
}

bool PasteShellClipboard(const std::string& folder) {
    const std::vector<std::string> paths = Clipboard().Paths;
    const bool cut = Clipboard().Cut;
    if (paths.empty() || folder.empty()) return false;
    bool all = true;
    for (const std::string& path : paths) {
        if (!EntryAt(path)) {
            all = false;
            continue;
        }
        const std::string target = os::JoinShellPath(folder, FreeNameIn(folder, NameOf(path)));
        // A folder never goes into itself.
        if (target.rfind(path + "/", 0) == 0) {
            all = false;
            continue;
        }
        bool done = false;
        if (cut) done = os::RenameNoReplace(path, target) || (CopyEntry(path, target) && os::DeleteShellEntry(path));
        else done = CopyEntry(path, target);
        all = all && done;
    }
    if (cut) ClearShellClipboard();
    return all;
}

}
