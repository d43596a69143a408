// The cache workers: preparing a cache, handing it over with the node's results, backups and restores.
#include "app/cache/CacheWorkers.h"

#include "app/nodes/ClientConfig.h"
#include "app/cache/MyCashU.h"
#include "app/cache/MyKillU.h"
#include "app/nodes/NodeFiles.h"
#include "app/settings/ProgramLog.h"
#include "app/settings/Settings.h"
#include "app/cache/WorkUnitFiles.h"
#include "platform/os/FileSearch.h"
#include "platform/os/Files.h"
#include "platform/os/Paths.h"
#include "platform/os/Registry.h"

#include <algorithm>
#include <exception>
#include <memory>

namespace korvex::app {

namespace {

constexpr const char* SendAllArguments = "- send all";

// Runs one restore of a node.
class TRestoreThread : public os::TThread {
public:
    TRestoreThread(TCacheWorkers& workers, int node)
        : os::TThread(true)
        , FWorkers(workers)
        , FNode(node) { }

protected:
    void Execute() override { FWorkers.Restore(FNode); }

private:
    TCacheWorkers& FWorkers;
    const int FNode;
};

std::string InFolder(const std::string& folder, const std::string& name) {
    return os::IncludeTrailingPathDelimiter(folder) + name;
}

// The console's identity is per user: without it the cache's console registers as a new client.
void ForgetClientIdentity() {
    try {
        os::TRegistry registry;
        registry.DeleteKey(PandeGroupKey);
    } catch (const std::exception& e) {
        WLog(std::string("Cannot delete the client identity: ") + e.what());
    }
}

}

TCacheWorkers::TCacheWorkers(std::string programFolder, const TCacheTimings& timings)
    : FProgramFolder(std::move(programFolder))
    , FContext(timings) {
    FContext.OnStartFailed = [this](const std::string& folder) { ConsoleNotStarted(folder); };
    ClearBackupLeftovers(FProgramFolder);
}

TCacheWorkers::~TCacheWorkers() {
    FContext.Threads.StopAll();
    FContext.Consoles.EndAll();
}

void TCacheWorkers::SetSettings(const TSettings& settings) {
    std::vector<TNode> nodes;
    for (const TNodeSettings& node : settings.Nodes)
        nodes.push_back({node.Path, node.Get, node.Send, node.Backup, node.Core, node.MID});
    std::lock_guard lock(FLock);
    FNodes = std::move(nodes);
    FPathService = settings.PathService;
}

int TCacheWorkers::MachineId(int node) const {
    TNode values;
    return Node(node, values) ? values.MID : 8;
}

bool TCacheWorkers::Node(int node, TNode& values) const {
    std::lock_guard lock(FLock);
    if (node < 0 || node >= static_cast<int>(FNodes.size())) return false;
    values = FNodes[node];
    return true;
}

std::string TCacheWorkers::PathService() const {
    std::lock_guard lock(FLock);
    return FPathService;
}

TMonitorWorkers TCacheWorkers::Workers() {
    TMonitorWorkers workers;
    workers.StartBackup = [this](int node) { StartBackup(node); };
    workers.BackupOutcome = [this](int node) { return BackupOutcome(node); };
    workers.CashWork = [this](int node) { CashWork(node); };
    workers.CashMake = [this](int node, int machineId) { return CashMake(node, machineId); };
    workers.CacheBusy = [this] { return CacheBusy(); };
    workers.ClearCacheBusy = [this] { ClearCacheBusy(); };
    return workers;
}

void TCacheWorkers::Watch(int node, const std::string& exeName, const std::string& trigger, const std::string& folder) {
    os::TThreadHandle handle
        = FContext.Threads.Start(std::make_unique<MyKill>(exeName, node, trigger, folder, FContext));
    std::lock_guard lock(FLock);
    std::erase_if(FWatchers, [&](const auto& watcher) { return watcher.first == folder || watcher.second.Finished(); });
    FWatchers.emplace_back(folder, handle);
}

bool TCacheWorkers::Watching(const std::string& folder) const {
    std::lock_guard lock(FLock);
    return std::any_of(FWatchers.begin(), FWatchers.end(),
        [&](const auto& watcher) { return watcher.first == folder && watcher.second && !watcher.second.Finished(); });
}

void TCacheWorkers::ConsoleNotStarted(const std::string& folder) {
    {
        std::lock_guard lock(FLock);
        for (auto& watcher : FWatchers)
            if (watcher.first == folder) watcher.second.Terminate();
    }
    // A cache whose console cannot run would stand in the way of every later one; it holds only copies.
    if (folder != ReadyFolder(FProgramFolder)) os::DeleteDirectoryTree(folder);
}

bool TCacheWorkers::HasCache(int node) const {
    return os::DirectoryExists(CacheFolder(FProgramFolder, node));
}

bool TCacheWorkers::CacheReady(int node) const {
    return HasCache(node) && !Watching(CacheFolder(FProgramFolder, node));
}

bool TCacheWorkers::Sending() const {
    return Watching(ReadyFolder(FProgramFolder));
}

namespace {
constexpr const char* CashConsoleFailure = "Cannot copy the console for cash";
}

bool TCacheWorkers::CashMake(int node, int machineId, TCashFailure* failure) {
    TNode values;
    if (!Node(node, values)) return false;
    const std::string cores = CoresFolder(FProgramFolder);
    const std::string cache = CacheFolder(FProgramFolder, node);
    auto refuse = [failure](TCashFailure why) {
        if (failure != nullptr) *failure = why;
        return false;
    };
    os::ForceDirectories(cores);
    if (os::DirectoryExists(cache)) return refuse(TCashFailure::Exists);
    auto failed = [&](TCashFailure why, const std::string& what) {
        FContext.Failures.Failed(values.Path + ": cash", what, values.Path + ": " + what);
        return refuse(why);
    };
    // Without a console to copy the folder would only be made to be removed again (every cycle, while the node
    // stays past its ready level).
    if (!ConsoleToCopy(PathService())) return failed(TCashFailure::Console, CashConsoleFailure);
    if (!os::CreateDir(cache)) return refuse(TCashFailure::Folder);
    auto fail = [&](TCashFailure why, const std::string& what) {
        os::DeleteDirectoryTree(cache);
        return failed(why, what);
    };
    if (!CopyConsole(PathService(), cache)) return fail(TCashFailure::Console, CashConsoleFailure);
    if (!os::CopyFile(NodeFilePath(values.Path, ClientConfigName), InFolder(cache, ClientConfigName), false))
        return fail(TCashFailure::ClientConfig, "Cannot copy client.cfg for cash");
    for (const os::TSearchRec& core : os::FindFiles(InFolder(cores, "*.exe"), os::faAnyFile & ~os::faDirectory))
        os::CopyFile(InFolder(cores, core.Name), InFolder(cache, core.Name), false);
    if (!ReClient(values.Core, machineId, InFolder(cache, ClientConfigName)))
        return fail(TCashFailure::ClientConfigWrite, "Cannot write client.cfg for cash");
    {
        std::lock_guard lock(FLock);
        if (node < static_cast<int>(FNodes.size())) FNodes[node].MID = machineId;
    }
    ForgetClientIdentity();
    FContext.CacheBusy = true;   // before the workers start, so that the starter's clearing comes after
    Watch(node, ConsoleExeName, DownloadDoneText, cache);
    FContext.Threads.Start(std::make_unique<MyCash>(cache, "", FContext));
    FContext.Failures.Succeeded(values.Path + ": cash");
    WLog(values.Path + ": Get unit for cash");
    return true;
}

bool TCacheWorkers::HandOverResults(int node, const TNode& values) {
    const std::string ready = ReadyFolder(FProgramFolder);
    os::ForceDirectories(WorkFolder(ready));
    os::RemoveCopyLeftovers(ready);   // a hand-over killed before
    TMoveCount count;
    auto move = [&](const char* name) {
        TMoveResult result = MoveFile(NodeFilePath(values.Path, name), InFolder(ready, name));
        if (result == TMoveResult::Moved) ++count.Moved;
        if (result == TMoveResult::Failed) ++count.Failed;
        return result == TMoveResult::Moved;
    };
    if (move(ClientConfigName)) ReClient(values.Core, SendingMachineId, InFolder(ready, ClientConfigName));
    move(UnitInfoName);
    move(QueueFileName);
    count += MoveFolderFiles(WorkFolder(values.Path), WorkFolder(ready));
    if (!count.Ok()) {
        FContext.Failures.Failed(
            values.Path + ": hand-over", "results", values.Path + ": Cannot move the results to " + ready);
        return false;
    }
    if (count.Moved == 0) return true;   // nothing new to send

    // The results are sent from their own folder with their own console: the cache's goes to the node.
    const std::string cache = CacheFolder(FProgramFolder, node);
    if (!os::CopyFile(InFolder(cache, ConsoleExeName), InFolder(ready, ConsoleExeName), false)
        && !CopyConsole(PathService(), ready)) {
        WLog(values.Path + ": Cannot copy the console to send the results");
        return true;   // the results wait in the ready-results folder
    }
    os::DeleteFile(NodeFilePath(ready, ClientLogName));   // the last sending's log would end this one at once
    Watch(node, ConsoleExeName, ResultsSentText, ready);
    FContext.CacheBusy = true;
    FContext.Threads.Start(std::make_unique<MyCash>(ready, SendAllArguments, FContext));
    return true;
}

void TCacheWorkers::CashWork(int node) {
    TNode values;
    // Results still being sent from the ready-results folder would be overwritten: the hand-over waits.
    if (Node(node, values) && values.Get && !FContext.CacheBusy && CacheReady(node) && !(values.Send && Sending())) {
        WLog(values.Path + ":  Send new unit from cash");
        if (!values.Send || HandOverResults(node, values)) {
            const std::string cache = CacheFolder(FProgramFolder, node);
            const std::string operation = values.Path + ": hand-over";
            if (CopyWU(values.Path, cache, true).Ok()) {
                RemoveEmptiedFolder(cache);
                FContext.Failures.Succeeded(operation);
            } else {
                FContext.Failures.Failed(
                    operation, "unit", values.Path + ": Cannot move the cashed unit into the node");
            }
        }
    }
    if (StartServ) StartServ(node);
}

bool TCacheWorkers::MakeBackup(int node) {
    TNode values;
    if (!Node(node, values) || !values.Backup) return false;
    StartBackup(node);
    return true;
}

void TCacheWorkers::StartBackup(int node) {
    TNode values;
    if (!Node(node, values)) return;
    {
        std::lock_guard lock(FLock);
        TBackupOutcome& last = FBackups[node];
        if (last == TBackupOutcome::Running) return;
        last = TBackupOutcome::Running;
    }
    auto ended = [this](int n, bool ok) {
        std::lock_guard lock(FLock);
        FBackups[n] = ok ? TBackupOutcome::Made : TBackupOutcome::Failed;
    };
    FContext.Threads.Start(std::make_unique<MyBackup>(
        FProgramFolder, values.Path, node, FBackupLock, OnBackupDone, ended, DiskFree, &FContext.Failures));
}

TBackupOutcome TCacheWorkers::BackupOutcome(int node) const {
    std::lock_guard lock(FLock);
    auto found = FBackups.find(node);
    return found == FBackups.end() ? TBackupOutcome::None : found->second;
}

bool TCacheWorkers::Restore(int node) {
    TNode values;
    if (!Node(node, values) || !values.Get) return false;
    if (StopServ) StopServ(node);
    TMoveCount count;
    {
        std::lock_guard lock(FBackupLock);
        count = CopyWU(values.Path, BackupFolder(FProgramFolder, node), true);
    }
    if (!count.Ok()) WLog(values.Path + ": Restore failed for " + std::to_string(count.Failed) + " files");
    if (StartServ) StartServ(node);
    return count.Ok() && count.Moved > 0;
}

bool TCacheWorkers::StartRestore(int node) {
    TNode values;
    if (!Node(node, values) || !values.Get) return false;
    FContext.Threads.Start(std::make_unique<TRestoreThread>(*this, node));
    return true;
}

bool TCacheWorkers::MakeNewCash(int node, TCashFailure* failure) {
    TNode values;
    if (!Node(node, values)) return false;
    const std::string cache = CacheFolder(FProgramFolder, node);
    os::TThreadHandle watcher;
    {
        std::lock_guard lock(FLock);
        for (auto& [folder, handle] : FWatchers)
            if (folder == cache) watcher = handle;
    }
    watcher.Terminate();
    watcher.WaitFor();
    FContext.Consoles.End(cache, ConsoleExeName);
    // Emptied and removed, so that the next cache can be made at once.
    CopyWU(values.Path, cache, false);
    os::DeleteDirectoryTree(cache);
    return CashMake(node, NextMachineId(values.MID), failure);
}

bool TCacheWorkers::WaitIdle(int timeoutMs) {
    return FContext.Threads.WaitIdle(timeoutMs);
}

}
