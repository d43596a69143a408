// The console client of a cache or ready-results folder: its name, its start without a shell, its end.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <vector>

namespace korvex::app {

inline constexpr const char* ConsoleExeName = "FAH-Console.exe";   // the console's name in every folder

// Copies the console client the option "FAH Console path" names into `folder` as "FAH-Console.exe". False
// when nothing could be copied.
bool CopyConsole(const std::string& pathService, const std::string& folder);
// Whether CopyConsole has a file to copy.
bool ConsoleToCopy(const std::string& pathService);

// The consoles the cache workers started, by folder. Every member may be called from any thread.
class TCacheConsoles {
public:
    explicit TCacheConsoles(int endGraceMs);
    ~TCacheConsoles();   // ends every console still running
    TCacheConsoles(const TCacheConsoles&) = delete;
    TCacheConsoles& operator=(const TCacheConsoles&) = delete;

    // Each End of a folder starts a new generation: a start asked for before it is refused.
    int Generation(const std::string& folder) const;

    // Starts the folder's console directly, in the folder, with the blank-separated arguments ("- send all"
    // gives "-", "send", "all"), unless the folder was ended since `generation`. Its id is kept. The id; 0
    // when refused; -1 when it could not be started.
    pid_t Start(const std::string& folder, const std::string& arguments, int generation);

    // Ends the consoles started in the folder that still run, and every process named `name` whose
    // executable or working folder lies inside the folder (a core the console started). Processes of that
    // name anywhere else, ours included, are left alone. The number ended.
    int End(const std::string& folder, const std::string& name);
    int EndAll();

private:
    struct TFolder {
        std::vector<pid_t> Started;
        int Generation = 0;
    };
    static std::string Key(const std::string& folder);
    std::vector<pid_t> TakeStarted(const std::string& key);

    const int FEndGraceMs;
    mutable std::mutex FLock;   // held across a start, so that an End never misses its id
    std::map<std::string, TFolder> FFolders;   // by the folder's native path
};

}
