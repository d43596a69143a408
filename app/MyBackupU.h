// MyBackup: a node folder's client files copied into its backup folder, replacing the old backup only whole.
#pragma once

#include "platform/os/Thread.h"

#include <functional>
#include <mutex>
#include <string>

namespace korvex::app {

struct TBackupResult {
    int Copied = 0;
    int Failed = 0;   // files that are there but could not be copied
    bool Ok() const { return Copied > 0 && Failed == 0; }
};

// Copies the node's client.cfg, queue.dat, FAHlog.txt, unitinfo.txt and work files into a new folder beside
// Backup/WU<node> and puts it in the old one's place only when everything there was copied and something
// was; otherwise the old backup stays as it was. Missing files are skipped.
TBackupResult BackupNodeFolder(const std::string& programFolder, const std::string& nodeFolder, int node);

class MyBackup : public os::TThread {
public:
    using TBackupDone = std::function<void(int node, bool ok)>;

    // Created suspended; `lock` keeps two copies of the same backup apart; `done` runs on the UI thread.
    MyBackup(std::string baseFolder, std::string nodeFolder, int node, std::mutex& lock, TBackupDone done);

protected:
    void Execute() override;

private:
    void BackupDone(bool ok);

    const std::string FBaseFolder;
    const std::string FNodeFolder;
    const int FNode;
    std::mutex& FLock;
    TBackupDone FDone;
};

}
