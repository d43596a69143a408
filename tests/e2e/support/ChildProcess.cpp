// A child process for end-to-end tests: started with extra environment, its standard output read as it comes.
#include "support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <map>

extern char** environ;

namespace korvex::e2e {

namespace {

int MsLeft(std::chrono::steady_clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? int(left.count()) : 0;
}

}

ChildProcess::~ChildProcess() {
    if (FPid > 0) Wait(0);
    if (FOut >= 0) close(FOut);
}

bool ChildProcess::Start(const std::vector<std::string>& argv, const Environment& extra) {
    if (argv.empty() || FPid > 0) return false;
    std::map<std::string, std::string> variables;
    for (char** e = environ; *e; ++e) {
        const char* eq = std::strchr(*e, '=');
        if (eq) variables[std::string(*e, size_t(eq - *e))] = eq + 1;
    }
    for (const auto& [name, value] : extra)
        variables[name] = value;
    std::vector<std::string> envStrings;
    for (const auto& [name, value] : variables)
        envStrings.push_back(name + "=" + value);
    std::vector<char*> envp, args;
    for (auto& s : envStrings)
        envp.push_back(s.data());
    envp.push_back(nullptr);
    std::vector<std::string> argCopy = argv;
    for (auto& s : argCopy)
        args.push_back(s.data());
    args.push_back(nullptr);

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    int result = posix_spawnp(&FPid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (result != 0) {
        FPid = -1;
        close(pipeFds[0]);
        return false;
    }
    FOut = pipeFds[0];
    return true;
}

bool ChildProcess::ReadSome(int timeoutMs) {
    if (FOut < 0) return false;
    pollfd p {FOut, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return false;
    char buffer[4096];
    ssize_t got = read(FOut, buffer, sizeof buffer);
    if (got <= 0) {
        close(FOut);
        FOut = -1;
        return false;
    }
    FOutput.append(buffer, size_t(got));
    return true;
}

bool ChildProcess::WaitForOutput(const std::function<bool(const std::string&)>& done, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done(FOutput))
        if (!ReadSome(MsLeft(deadline))) return done(FOutput);
    return true;
}

int ChildProcess::Wait(int timeoutMs) {
    if (FPid <= 0) return -1;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    for (;;) {
        while (FOut >= 0 && ReadSome(0)) { }   // keep the pipe drained so the child never blocks on it
        pid_t done = waitpid(FPid, &status, WNOHANG);
        if (done == FPid) break;
        if (MsLeft(deadline) == 0) {
            kill(FPid, SIGKILL);
            waitpid(FPid, &status, 0);
            FPid = -1;
            return -1;
        }
        if (FOut >= 0)
            ReadSome(std::min(MsLeft(deadline), 20));
        else
            usleep(5000);
    }
    FPid = -1;
    while (FOut >= 0 && ReadSome(0)) { }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool ChildProcess::Ended(int* status) {
    if (FPid <= 0) return true;
    while (FOut >= 0 && ReadSome(0)) { }
    int raw = 0;
    if (waitpid(FPid, &raw, WNOHANG) != FPid) return false;
    FPid = -1;
    if (status) *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return true;
}

int RunProcess(const std::vector<std::string>& argv, const Environment& extra, int timeoutMs, std::string* output) {
    ChildProcess child;
    if (!child.Start(argv, extra)) return -1;
    int status = child.Wait(timeoutMs);
    if (output) *output = child.Output();
    return status;
}

}
