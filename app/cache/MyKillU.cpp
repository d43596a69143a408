// MyKill: the cache console's watcher.
#include "app/cache/MyKillU.h"

#include "app/cache/MyCashU.h"
#include "app/nodes/NodeFiles.h"
#include "app/settings/ProgramLog.h"
#include "platform/os/FileSearch.h"
#include "platform/os/Files.h"
#include "platform/os/Paths.h"

#include <memory>

namespace korvex::app {

namespace {

constexpr std::string_view CoreMark = "FahCore_";
constexpr std::string_view NewCoreText = "Downloading new core";
constexpr std::size_t CoreNameLength = 14;   // "FahCore_a1.exe"

// The core name at `pos`, or "" when the text there could name a path.
std::string CoreNameAt(std::string_view line, std::size_t pos) {
    std::string_view name = line.substr(pos, CoreNameLength);
    for (char c : name) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.'
            || c == '_' || c == '-';
        if (!plain) return "";
    }
    return name.find("..") == std::string_view::npos ? std::string(name) : "";
}

}

TCacheLogScan ScanCacheLog(const TTextLines& log, std::string_view trigger) {
    TCacheLogScan scan;
    std::size_t next = 0;
    for (std::size_t pos = 0; pos < log.Bytes() && scan.Outcome == TCacheLogScan::TOutcome::None; pos = next) {
        const std::string_view line = log.LineAt(pos, next);
        const std::size_t core = line.find(CoreMark);
        if (core != std::string_view::npos) {
            if (std::string name = CoreNameAt(line, core); !name.empty()) {
                scan.Core = name;
                if (line.find(NewCoreText) != std::string_view::npos) scan.NewCore = name;
            }
        }
        if (!trigger.empty() && line.find(trigger) != std::string_view::npos)
            scan.Outcome = TCacheLogScan::TOutcome::Done;
        else if (line.find(ConsoleFailedText) != std::string_view::npos)
            scan.Outcome = TCacheLogScan::TOutcome::Retry;
    }
    return scan;
}

MyKill::MyKill(std::string exeName, int node, std::string trigger, std::string folder, TCacheContext& context)
    : TThread(true)
    , FExeName(std::move(exeName))
    , FNode(node)
    , FTrigger(std::move(trigger))
    , FFolder(std::move(folder))
    , FContext(context) {
}

bool MyKill::KillProcessByName(const std::string& name) {
    return FContext.Consoles.End(FFolder, name) > 0;
}

bool MyKill::WaitForLog() {
    const std::string log = NodeFilePath(FFolder, ClientLogName);
    while (!os::FileExists(log))
        if (!Sleep(FContext.Timings.LogPollMs)) return false;
    return Sleep(FContext.Timings.LogSettleMs);
}

void MyKill::Execute() {
    const std::string logPath = NodeFilePath(FFolder, ClientLogName);
    os::TRetryOptions retry;
    retry.Attempts = 3;
    retry.PauseMs = FContext.Timings.LogPollMs;
    retry.Pause = [this](int ms) { return Sleep(ms); };
    while (!Terminated()) {
        if (!WaitForLog()) return;
        TTextLines lines;
        LoadTextLinesRetrying(logPath, lines, retry);
        const TCacheLogScan scan = ScanCacheLog(lines, FTrigger);
        switch (scan.Outcome) {
        case TCacheLogScan::TOutcome::None:
            break;
        case TCacheLogScan::TOutcome::Retry:
            // The console gave up: start it again on a fresh log.
            KillProcessByName(FExeName);
            if (!Sleep(FContext.Timings.RetryPauseMs)) return;
            os::DeleteFile(logPath);
            FContext.Threads.Start(std::make_unique<MyCash>(FFolder, "", FContext));
            if (!Sleep(FContext.Timings.RetryPauseMs)) return;
            break;
        case TCacheLogScan::TOutcome::Done:
            Finish(scan);
            return;
        }
    }
}

void MyKill::Finish(const TCacheLogScan& scan) {
    KillProcessByName(FExeName);
    const std::string folder = os::IncludeTrailingPathDelimiter(FFolder);
    // A core the console downloaded goes with the cores every new cache gets (the folder's parent), before
    // the other executables are cleared away.
    if (!scan.NewCore.empty()) {
        const std::string parent = os::ExtractFilePath(os::ExcludeTrailingPathDelimiter(FFolder));
        os::CopyFile(folder + scan.NewCore, parent + scan.NewCore, false);
    }
    if (scan.Core.empty()) return;
    KillProcessByName(scan.Core);
    for (const os::TSearchRec& file : os::FindFiles(folder + "*.exe", os::faAnyFile & ~os::faDirectory))
        if (file.Name != scan.Core) os::DeleteFile(folder + file.Name);
}

}
