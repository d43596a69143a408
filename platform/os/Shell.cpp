// The shell: opening web pages and files with the desktop's opener (xdg-open), started detached.
#include "platform/os/Shell.h"

#include "platform/os/Browser.h"
#include "platform/os/Paths.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace korvex::os {

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// Starts `program` with `args` through a double fork: the intermediate child ends at once and is reaped
// here, so the program runs on as an orphan and never becomes our zombie. A pipe closed by the successful
// exec tells whether it started.
bool SpawnDetached(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int status[2];
    if (::pipe2(status, O_CLOEXEC) != 0) return false;
    pid_t child = ::fork();
    if (child < 0) {
        ::close(status[0]);
        ::close(status[1]);
        return false;
    }
    if (child == 0) {   // only async-signal-safe calls from here on
        ::close(status[0]);
        pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ::setsid();
            sigset_t none;
            ::sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            ::execv(program.c_str(), argv.data());
        }
        int error = errno;
        if (grandchild > 0) ::_exit(0);
        ssize_t ignored = ::write(status[1], &error, sizeof error);
        (void)ignored;
        ::_exit(127);
    }
    ::close(status[1]);
    int childStatus = 0;
    while (::waitpid(child, &childStatus, 0) < 0 && errno == EINTR) { }
    int error = 0;
    ssize_t n;
    while ((n = ::read(status[0], &error, sizeof error)) < 0 && errno == EINTR) { }
    ::close(status[0]);
    if (n > 0) {
        errno = error;
        return false;
    }
    return WIFEXITED(childStatus) && WEXITSTATUS(childStatus) == 0;
}

bool IsUrl(const std::string& target) {
    return target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0;
}

// The executable `name` as $PATH finds it (a name with a "/" is taken as it is); "" when there is none.
std::string FindProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : "";
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        if (!dir.empty()) {
            std::string candidate = dir + "/" + name;
            if (IsExecutableFile(candidate)) return candidate;
        }
        start = end + 1;
    }
    return "";
}

}

std::string OpenerPath() {
    const char* fake = std::getenv("KORVEX_OPENER");
    if (fake && *fake) return fake;
    const std::string found = FindProgram("xdg-open");
    return found.empty() ? "/usr/bin/xdg-open" : found;
}

bool ShellOpen(const std::string& target) {
    if (target.empty()) {
        errno = EINVAL;
        return false;
    }
    return SpawnDetached(OpenerPath(), {IsUrl(target) ? target : NativePath(target)});
}

bool ShellExecute(const std::string& file, const std::string& parameter) {
    if (!IsUrl(file)) {
        std::string native = NativePath(file);
        if (IsExecutableFile(native)) {
            std::vector<std::string> args;
            if (!parameter.empty()) args.push_back(parameter);
            return SpawnDetached(native, args);
        }
    }
    return ShellOpen(file);
}

bool OpenInBrowser(const std::string& url) {
    if (url.empty()) {
        errno = EINVAL;
        return false;
    }
    std::vector<std::string> command = BrowserCommand(url);
    if (command.empty()) {
        errno = ENOENT;
        return false;
    }
    const std::string program = FindProgram(command[0]);
    if (program.empty()) {
        errno = ENOENT;
        return false;
    }
    command.erase(command.begin());
    return SpawnDetached(program, command);
}

std::string BrowserCommandLine() {
    return "\"" + OpenerPath() + "\" \"%1\"";
}

}
