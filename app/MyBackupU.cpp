// MyBackup: the backup copy and its report.
#include "app/MyBackupU.h"

#include "app/ClientConfig.h"
#include "app/NodeFiles.h"
#include "app/ProgramLog.h"
#include "app/WorkUnitFiles.h"
#include "platform/os/FileSearch.h"
#include "platform/os/Files.h"
#include "platform/os/Paths.h"

namespace korvex::app {

namespace {

void CopyInto(const std::string& from, const std::string& to, const std::string& name, TBackupResult& result) {
    const std::string source = os::IncludeTrailingPathDelimiter(from) + name;
    if (!os::FileExists(source)) return;
    // The copy keeps the name the readers look for, whatever the case of the node's file.
    if (os::CopyFile(source, os::IncludeTrailingPathDelimiter(to) + name, false)) ++result.Copied;
    else ++result.Failed;
}

// Puts `fresh` in place of `folder`; the old one goes only once the new one stands.
bool Replace(const std::string& folder, const std::string& fresh, const std::string& old) {
    os::DeleteDirectoryTree(old);
    const bool hadOld = os::DirectoryExists(folder);
    if (hadOld && !os::RenameFile(folder, old)) return false;
    if (!os::RenameFile(fresh, folder)) {
        if (hadOld) os::RenameFile(old, folder);
        return false;
    }
    os::DeleteDirectoryTree(old);
    return true;
}

}

TBackupResult BackupNodeFolder(const std::string& programFolder, const std::string& nodeFolder, int node) {
    const std::string folder = BackupFolder(programFolder, node);
    const std::string fresh = folder + ".new";
    const std::string old = folder + ".old";
    // A backup an interrupted swap left under the old name comes back first.
    if (!os::DirectoryExists(folder) && os::DirectoryExists(old)) os::RenameFile(old, folder);
    os::DeleteDirectoryTree(fresh);

    TBackupResult result;
    if (!os::ForceDirectories(WorkFolder(fresh))) {
        result.Failed = 1;
        return result;
    }
    for (const char* name : {ClientConfigName, QueueFileName, ClientLogName, UnitInfoName})
        CopyInto(nodeFolder, fresh, name, result);
    for (const os::TSearchRec& file :
        os::FindFiles(os::IncludeTrailingPathDelimiter(WorkFolder(nodeFolder)) + "*", os::faAnyFile & ~os::faDirectory))
        CopyInto(WorkFolder(nodeFolder), WorkFolder(fresh), file.Name, result);

    if (!result.Ok() || !Replace(folder, fresh, old)) {
        os::DeleteDirectoryTree(fresh);
        if (result.Failed == 0 && result.Copied > 0) result.Failed = 1;   // the swap failed
    }
    return result;
}

MyBackup::MyBackup(std::string baseFolder, std::string nodeFolder, int node, std::mutex& lock, TBackupDone done)
    : TThread(true)
    , FBaseFolder(std::move(baseFolder))
    , FNodeFolder(std::move(nodeFolder))
    , FNode(node)
    , FLock(lock)
    , FDone(std::move(done)) {
}

void MyBackup::Execute() {
    TBackupResult result;
    {
        std::lock_guard lock(FLock);
        result = BackupNodeFolder(FBaseFolder, FNodeFolder, FNode);
    }
    if (!result.Ok())
        WLog(FNodeFolder + ": Backup failed (" + std::to_string(result.Copied) + " files copied, "
            + std::to_string(result.Failed) + " failed)");
    BackupDone(result.Ok());
}

void MyBackup::BackupDone(bool ok) {
    if (FDone) Synchronize([&] { FDone(FNode, ok); });
}

}
