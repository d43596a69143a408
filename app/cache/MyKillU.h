// MyKill: watches a console's log, ends the console when its trigger shows, starts it again after five failures.
#pragma once

#include "app/cache/CacheContext.h"
#include "app/nodes/TextLines.h"
#include "platform/os/Thread.h"

#include <string>
#include <string_view>

namespace korvex::app {

inline constexpr const char* DownloadDoneText = "Completed";
inline constexpr const char* ResultsSentText = "+ Results successfully sent";
inline constexpr const char* ConsoleFailedText = "Attempt #5";

// What one read of the log found: the first line deciding it, the core the console named and a core it
// downloaded (core names are "FahCore_" and six more characters; names that could leave the folder are ignored).
struct TCacheLogScan {
    enum class TOutcome { None, Done, Retry };
    TOutcome Outcome = TOutcome::None;
    std::string Core;
    std::string NewCore;
};

TCacheLogScan ScanCacheLog(const TTextLines& log, std::string_view trigger);

class MyKill : public os::TThread {
public:
    // Created suspended; start it through the context's worker threads.
    MyKill(std::string exeName, int node, std::string trigger, std::string folder, TCacheContext& context);

    int Node() const { return FNode; }
    const std::string& Folder() const { return FFolder; }

    // Ends the processes of that name that this folder's console work started or that run inside the folder.
    bool KillProcessByName(const std::string& name);

protected:
    void Execute() override;

private:
    bool WaitForLog();
    void Finish(const TCacheLogScan& scan);

    const std::string FExeName;
    const int FNode;
    const std::string FTrigger;
    const std::string FFolder;
    TCacheContext& FContext;
};

}
