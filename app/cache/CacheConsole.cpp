// Cache consoles started by id and ended only by id or inside their folder.
#include "app/cache/CacheConsole.h"

#include "platform/os/Files.h"
#include "platform/os/Paths.h"
#include "platform/os/Process.h"

#include <sstream>
#include <utility>

namespace korvex::app {

bool CopyConsole(const std::string& pathService, const std::string& folder) {
    return !pathService.empty() && os::CopyFile(pathService, os::IncludeTrailingPathDelimiter(folder) + ConsoleExeName, false);
}

bool ConsoleToCopy(const std::string& pathService) {
    return !pathService.empty() && os::FileExists(pathService);
}

TCacheConsoles::TCacheConsoles(int endGraceMs)
    : FEndGraceMs(endGraceMs) {
}

TCacheConsoles::~TCacheConsoles() {
    EndAll();
}

std::string TCacheConsoles::Key(const std::string& folder) {
    return os::ExcludeTrailingPathDelimiter(os::NativePath(folder));
}

int TCacheConsoles::Generation(const std::string& folder) const {
    std::lock_guard lock(FLock);
    auto found = FFolders.find(Key(folder));
    return found == FFolders.end() ? 0 : found->second.Generation;
}

pid_t TCacheConsoles::Start(const std::string& folder, const std::string& arguments, int generation) {
    const std::string key = Key(folder);
    std::vector<std::string> argv;
    std::istringstream words(arguments);
    for (std::string word; words >> word;)
        argv.push_back(word);
    std::lock_guard lock(FLock);
    TFolder& entry = FFolders[key];
    if (entry.Generation != generation) return 0;
    const pid_t pid = os::StartProcess(key + "/" + ConsoleExeName, argv, key);
    if (pid > 0) entry.Started.push_back(pid);
    return pid;
}

std::vector<pid_t> TCacheConsoles::TakeStarted(const std::string& key) {
    std::lock_guard lock(FLock);
    TFolder& entry = FFolders[key];
    ++entry.Generation;
    return std::exchange(entry.Started, {});
}

int TCacheConsoles::End(const std::string& folder, const std::string& name) {
    const std::string key = Key(folder);
    int ended = 0;
    // Only while it is still our unreaped child: an id that ended may name another process by now.
    for (pid_t pid : TakeStarted(key))
        if (os::IsStartedProcess(pid) && os::EndProcess(pid, FEndGraceMs)) ++ended;
    ended += os::EndProcessesByName(name, key, FEndGraceMs, os::TOwnProcesses::InsideOnly).Ended;
    return ended;
}

int TCacheConsoles::EndAll() {
    std::vector<pid_t> started;
    {
        std::lock_guard lock(FLock);
        for (auto& [folder, entry] : FFolders) {
            ++entry.Generation;
            started.insert(started.end(), entry.Started.begin(), entry.Started.end());
            entry.Started.clear();
        }
    }
    int ended = 0;
    for (pid_t pid : started)
        if (os::IsStartedProcess(pid) && os::EndProcess(pid, FEndGraceMs)) ++ended;
    return ended;
}

}
