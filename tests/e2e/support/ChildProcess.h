// A child process for end-to-end tests: started with extra environment, its standard output read as it comes.
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace korvex::e2e {

using Environment = std::vector<std::pair<std::string, std::string>>;

class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();   // ends a child still running

    // Starts argv[0] (searched on PATH) with the environment plus `extra`; standard output is piped to us,
    // standard error goes to ours, standard input is /dev/null.
    bool Start(const std::vector<std::string>& argv, const Environment& extra = {});
    pid_t Pid() const { return FPid; }

    // Reads output until done(Output()) holds; false when the time runs out or the output ends first.
    bool WaitForOutput(const std::function<bool(const std::string&)>& done, int timeoutMs);
    const std::string& Output() const { return FOutput; }

    // The exit status after waiting at most timeoutMs (then the child is killed and -1 returned).
    int Wait(int timeoutMs);
    // Without waiting: whether the child has ended (reaped, its status in *status); false while it runs.
    bool Ended(int* status = nullptr);

private:
    bool ReadSome(int timeoutMs);   // false at end of output or time-out

    pid_t FPid = -1;
    int FOut = -1;
    std::string FOutput;
};

// Runs a command to its end; its exit status, or -1 when it could not start or took longer than timeoutMs.
int RunProcess(
    const std::vector<std::string>& argv, const Environment& extra, int timeoutMs, std::string* output = nullptr);

}
