// The program's own folder: where the executable lies; the program's notional current folder.
#include "platform/os/ProgramFolder.h"

#include <mutex>
#include <unistd.h>

namespace korvex::os {

namespace {

std::mutex overrideLock;
std::string folderOverride;   // guarded by overrideLock

std::string ReadExeLink() {
    std::string buffer(4096, '\0');
    for (;;) {
        ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return {};
        if (static_cast<size_t>(n) < buffer.size()) {
            buffer.resize(static_cast<size_t>(n));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string FolderOf(const std::string& file) {
    auto slash = file.find_last_of('/');
    if (slash == std::string::npos) return {};
    if (slash == 0) return "/";
    return file.substr(0, slash);
}

std::string Override() {
    std::lock_guard guard(overrideLock);
    return folderOverride;
}

}

std::string ProgramFileName() {
    std::string exe = ReadExeLink();
    std::string folder = Override();
    if (folder.empty()) return exe;
    auto slash = exe.find_last_of('/');
    std::string name = slash == std::string::npos ? exe : exe.substr(slash + 1);
    return (folder == "/" ? std::string() : folder) + "/" + name;
}

std::string ProgramFolder() {
    std::string folder = Override();
    if (!folder.empty()) return folder;
    static const std::string real = FolderOf(ReadExeLink());
    return real;
}

std::string GetCurrentDir() {
    return ProgramFolder();
}

void SetProgramFolderForTests(const std::string& folder) {
    std::string f = folder;
    while (f.size() > 1 && f.back() == '/')
        f.pop_back();
    std::lock_guard guard(overrideLock);
    folderOverride = f;
}

}
