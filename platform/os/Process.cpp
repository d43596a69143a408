// Processes through posix_spawn, /proc and pidfds.
#include "platform/os/Process.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <mutex>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace korvex::os {

namespace {

constexpr int KillWaitMs = 2000;   // after SIGKILL

// The children StartProcess started that are not reaped yet. Never destroyed: a reaper thread may end its
// wait while the program's static objects are going.
struct TChildren {
    std::mutex Mutex;
    std::set<pid_t> Pids;
};

TChildren& Children() {
    static TChildren* children = new TChildren;
    return *children;
}

void Reap(pid_t pid) {
    int status;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    std::lock_guard lock(Children().Mutex);
    Children().Pids.erase(pid);
}

std::string ReadLink(const std::string& path) {
    char buffer[PATH_MAX];
    ssize_t n = readlink(path.c_str(), buffer, sizeof buffer - 1);
    if (n <= 0) return "";
    std::string text(buffer, static_cast<size_t>(n));
    const std::string deleted = " (deleted)";   // the file was replaced or removed since it started
    if (text.size() > deleted.size() && text.compare(text.size() - deleted.size(), deleted.size(), deleted) == 0)
        text.resize(text.size() - deleted.size());
    return text;
}

std::string FileNameOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string FirstLine(const std::string& path, char end) {
    std::ifstream file(path, std::ios::binary);
    std::string text;
    if (file) std::getline(file, text, end);
    return text;
}

int PidfdOpen(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

bool PidfdSignal(int pidfd, int signal) {
    return syscall(SYS_pidfd_send_signal, pidfd, signal, nullptr, 0) == 0;
}

// True when the process behind pidfd has ended within ms.
bool WaitExit(int pidfd, int ms) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd exited {pidfd, POLLIN, 0};
        int ready = poll(&exited, 1, std::max<int>(0, static_cast<int>(left.count())));
        if (ready > 0) return true;
        if (ready == 0) return false;
        if (errno != EINTR) return false;
    }
}

// A process that has ended but is not reaped yet counts as gone.
bool Running(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    size_t close = stat.rfind(')');
    if (close == std::string::npos || close + 2 >= stat.size()) return false;
    char state = stat[close + 2];
    return state != 'Z' && state != 'X';
}

bool WaitGone(pid_t pid, int ms) {
    for (int waited = 0; Running(pid); waited += 10) {
        if (waited >= ms) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

std::string Canonical(const std::string& path) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved) return "";
    std::string text = resolved;
    std::free(resolved);
    return text;
}

}

pid_t StartProcess(const std::string& program, const std::vector<std::string>& arguments,
    const std::string& workingFolder, int* errorCode) {
    auto fail = [&](int code) {
        if (errorCode) *errorCode = code;
        return pid_t(-1);
    };
    if (program.empty()) return fail(ENOENT);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    if (!workingFolder.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);

    pid_t pid = -1;
    int result;
    {
        // Registered before the reaper can see it end.
        std::lock_guard lock(Children().Mutex);
        bool search = program.find('/') == std::string::npos;
        result = search ? posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv.data(), environ)
                        : posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
        if (result == 0) Children().Pids.insert(pid);
    }
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) return fail(result);

    try {
        std::thread(Reap, pid).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the child stays a zombie until the program ends; it runs all the same.
    }
    if (errorCode) *errorCode = 0;
    return pid;
}

bool IsStartedProcess(pid_t pid) {
    std::lock_guard lock(Children().Mutex);
    return Children().Pids.count(pid) != 0;
}

std::optional<TProcessInfo> ProcessInfo(pid_t pid) {
    std::string folder = "/proc/" + std::to_string(pid);
    if (access(folder.c_str(), F_OK) != 0) return std::nullopt;
    TProcessInfo info;
    info.Pid = pid;
    info.ExePath = ReadLink(folder + "/exe");
    info.WorkingFolder = ReadLink(folder + "/cwd");
    info.CommandName = FileNameOf(FirstLine(folder + "/cmdline", '\0'));
    info.Name = !info.ExePath.empty() ? FileNameOf(info.ExePath)
        : !info.CommandName.empty()   ? info.CommandName
                                      : FirstLine(folder + "/comm", '\n');
    return info;
}

std::vector<TProcessInfo> ListProcesses() {
    std::vector<TProcessInfo> list;
    DIR* proc = opendir("/proc");
    if (!proc) return list;
    while (dirent* entry = readdir(proc)) {
        char* end = nullptr;
        long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0') continue;
        if (auto info = ProcessInfo(static_cast<pid_t>(pid))) list.push_back(std::move(*info));
    }
    closedir(proc);
    return list;
}

bool EndProcess(pid_t pid, int graceMs) {
    if (pid <= 1 || pid == getpid()) return false;
    // A pidfd pins the process: the signals cannot reach another one that got the pid after it ended.
    int pidfd = PidfdOpen(pid);
    if (pidfd < 0) {
        if (errno == ESRCH) return true;
        if (errno != ENOSYS) return false;
        // Old kernel without pidfds: signal by pid and watch /proc.
        if (kill(pid, SIGTERM) != 0) return errno == ESRCH;
        if (WaitGone(pid, std::max(graceMs, 0))) return true;
        kill(pid, SIGKILL);
        return WaitGone(pid, KillWaitMs);
    }
    bool ended = false;
    if (!PidfdSignal(pidfd, SIGTERM))
        ended = errno == ESRCH;
    else if (WaitExit(pidfd, std::max(graceMs, 0)))
        ended = true;
    else if (PidfdSignal(pidfd, SIGKILL))
        ended = WaitExit(pidfd, KillWaitMs);
    else
        ended = errno == ESRCH;
    close(pidfd);
    return ended;
}

bool PathInside(const std::string& path, const std::string& folder) {
    if (path.empty() || folder.empty()) return false;
    std::string base = Canonical(folder);
    if (base.empty() || base == "/") return false;
    std::string target = Canonical(path);
    if (target.empty()) target = path;   // the executable of a running process may be gone from disk
    return target == base
        || (target.size() > base.size() && target.compare(0, base.size(), base) == 0 && target[base.size()] == '/');
}

TEndByNameResult EndProcessesByName(
    const std::string& name, const std::string& folder, int graceMs, TOwnProcesses own) {
    TEndByNameResult result;
    if (name.empty()) return result;
    std::string wanted = Upper(name);
    for (const TProcessInfo& info : ListProcesses()) {
        if (info.Pid == getpid()) continue;
        bool named = Upper(FileNameOf(info.ExePath)) == wanted || Upper(info.ExePath) == wanted
            || Upper(info.CommandName) == wanted;
        if (!named) continue;
        bool safe = (own == TOwnProcesses::Anywhere && IsStartedProcess(info.Pid))
            || PathInside(info.ExePath, folder) || PathInside(info.WorkingFolder, folder);
        if (!safe) continue;
        ++result.Matched;
        if (EndProcess(info.Pid, graceMs)) ++result.Ended;
    }
    return result;
}

}
