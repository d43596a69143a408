// A private Xvfb server for end-to-end tests: started on a free display number, stopped at the end.
#include "support/XvfbServer.h"

#include <X11/Xlib.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace korvex::e2e {

namespace {

constexpr int StartTimeoutMs = 60000;   // a loaded machine may be slow to start it
constexpr int DisplayFd = 3;   // where Xvfb writes the number it chose

}

XvfbServer::XvfbServer(int width, int height) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        FError = "pipe failed";
        return;
    }
    std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    std::vector<std::string> argv {
        "Xvfb", "-displayfd", std::to_string(DisplayFd), "-screen", "0", screen, "-nolisten", "tcp", "-noreset"};
    std::vector<char*> args;
    for (auto& a : argv)
        args.push_back(a.data());
    args.push_back(nullptr);
    FPid = fork();
    if (FPid == 0) {
        // The server goes with the test program, even when the program is killed or aborts.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        dup2(pipeFds[1], DisplayFd);   // dup2 clears close-on-exec
        int devNull = open("/dev/null", O_RDWR);
        dup2(devNull, STDIN_FILENO);
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
        execvp(args[0], args.data());
        _exit(127);
    }
    int result = FPid > 0 ? 0 : -1;
    close(pipeFds[1]);
    if (result != 0) {
        close(pipeFds[0]);
        FPid = -1;
        FError = "Xvfb could not be started";
        return;
    }

    // Xvfb writes the display number once it listens; the pipe ends early if it dies.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(StartTimeoutMs);
    std::string number;
    while (number.find('\n') == std::string::npos) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd p {pipeFds[0], POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, int(left.count())) <= 0) break;
        char buffer[16];
        ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
        if (got <= 0) break;
        number.append(buffer, size_t(got));
    }
    close(pipeFds[0]);
    if (number.find('\n') == std::string::npos) {
        FError = "Xvfb did not report a display number";
        return;
    }
    std::string name = ":" + number.substr(0, number.find('\n'));
    if (::Display* probe = XOpenDisplay(name.c_str())) {
        XCloseDisplay(probe);
        FName = name;
    } else {
        FError = "Xvfb on " + name + " refuses connections";
    }
}

XvfbServer::~XvfbServer() {
    if (FPid <= 0) return;
    kill(FPid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 200; ++i) {   // up to two seconds, then it is killed
        if (waitpid(FPid, &status, WNOHANG) == FPid) return;
        usleep(10000);
    }
    kill(FPid, SIGKILL);
    waitpid(FPid, &status, 0);
}

}
