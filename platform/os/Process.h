// Processes: start a program without a shell, list processes, end them, and end by name only where it is safe.
#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace korvex::os {

inline constexpr int DefaultEndGraceMs = 2000;   // from SIGTERM to SIGKILL

struct TProcessInfo {
    pid_t Pid = 0;
    std::string ExePath;   // the executable, "" when not readable (another user's, a kernel thread)
    std::string Name;   // the executable's file name, else that of the command name
    std::string CommandName;   // the file name of argv[0] ('/' and '\' both separate folders)
    std::string WorkingFolder;   // "" when not readable
};

// Starts program with the arguments in workingFolder ("" keeps ours), directly, no shell. A program path
// with a '/' is taken as it is (a relative one from workingFolder), one without is searched in PATH. Standard
// input and output are /dev/null; the child gets its own session and default signal handling. It is not
// waited for: a thread of ours waits for that one child, so it never lingers as a zombie, and no SIGCHLD
// handler is installed (other waits in the program are not disturbed). Returns the pid, or -1 with the errno
// in errorCode.
pid_t StartProcess(const std::string& program, const std::vector<std::string>& arguments,
    const std::string& workingFolder, int* errorCode = nullptr);

// Whether pid was started by StartProcess and has not ended yet.
bool IsStartedProcess(pid_t pid);

std::vector<TProcessInfo> ListProcesses();
std::optional<TProcessInfo> ProcessInfo(pid_t pid);

// Asks the process to end (SIGTERM), and kills it (SIGKILL) when it is still there after graceMs. True when it
// has ended (also when it was already gone). Never ends this process or pid 1.
bool EndProcess(pid_t pid, int graceMs = DefaultEndGraceMs);

// Whether path is folder or lies inside it, after resolving links in both. Never true for "" or "/".
bool PathInside(const std::string& path, const std::string& folder);

struct TEndByNameResult {
    int Matched = 0;   // processes of that name that were allowed to be ended
    int Ended = 0;
};

// Whether a process StartProcess started counts as safe to end wherever it runs.
enum class TOwnProcesses {
    Anywhere,   // ours, or inside the folder
    InsideOnly,   // only by the folder, ours or not (another worker's processes of the same name stay)
};

// Ends the processes whose executable file name, full executable path or command name equals name (ASCII
// case ignored) and that are safe to end: started by StartProcess, or with the executable or the working
// folder inside folder. Everything else of that name is left alone.
TEndByNameResult EndProcessesByName(const std::string& name, const std::string& folder,
    int graceMs = DefaultEndGraceMs, TOwnProcesses own = TOwnProcesses::Anywhere);

}
