// MyBackup: a node folder's client files copied into its backup folder, replacing the old backup only whole.
#pragma once

#include "app/settings/ProgramLog.h"
#include "platform/os/Thread.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace korvex::app {

struct TBackupResult {
    int Copied = 0;
    int Failed = 0;   // files that are there but could not be copied
    bool NoRoom = false;   // not started: the backup folder's disk lacks the room for it
    std::int64_t Needed = 0;   // bytes the copies write
    std::int64_t Free = -1;   // bytes free where the backup goes (-1: unknown)
    bool Ok() const { return !NoRoom && Copied > 0 && Failed == 0; }
};

// Free bytes on the disk holding a folder (-1: unknown); os::DiskFree unless a test replaces it.
using TDiskFree = std::function<std::int64_t(const std::string& folder)>;

// The room a backup leaves free on its disk beyond the bytes it writes: 64 MiB and a twentieth of them.
inline constexpr std::int64_t BackupSpareBytes = std::int64_t(64) << 20;
std::int64_t BackupRoomNeeded(std::int64_t bytes);

// Copies the node's client.cfg, queue.dat, FAHlog.txt, unitinfo.txt and work files into a new folder beside
// Backup/WU<node> and puts it in the old one's place only when everything there was copied and something
// was; otherwise the old backup stays as it was. Missing files are skipped. Nothing is copied when the disk
// lacks the room for the copies' data (holes take none) with the spare.
TBackupResult BackupNodeFolder(
    const std::string& programFolder, const std::string& nodeFolder, int node, const TDiskFree& diskFree = {});

// What backups killed half-way left under Backup/: a half-made "WU<n>.new" is removed, a "WU<n>.old" comes back
// as WU<n> when that is missing and is removed otherwise. Call it while no backup runs.
void ClearBackupLeftovers(const std::string& programFolder);

// The program log's line for a backup that failed.
std::string BackupFailureText(const std::string& nodeFolder, const TBackupResult& result);

class MyBackup : public os::TThread {
public:
    using TBackupDone = std::function<void(int node, bool ok)>;

    // Created suspended; `lock` keeps two copies of the same backup apart; `ended` runs on the backup's
    // thread as soon as the outcome is known, `done` on the UI thread after it. A failure goes to the log
    // through `failures` when given (logged when it starts and ends), else every time.
    MyBackup(std::string baseFolder, std::string nodeFolder, int node, std::mutex& lock, TBackupDone done,
        TBackupDone ended = {}, TDiskFree diskFree = {}, TRepeatedFailures* failures = nullptr);

protected:
    void Execute() override;

private:
    void BackupDone(bool ok);

    const std::string FBaseFolder;
    const std::string FNodeFolder;
    const int FNode;
    std::mutex& FLock;
    TBackupDone FDone;
    TBackupDone FEnded;
    TDiskFree FDiskFree;
    TRepeatedFailures* FFailures;
};

}
