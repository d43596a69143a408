// MyBackup: the backup copy and its report.
#include "app/cache/MyBackupU.h"

#include "app/nodes/ClientConfig.h"
#include "app/nodes/NodeFiles.h"
#include "app/settings/ProgramLog.h"
#include "app/cache/WorkUnitFiles.h"
#include "platform/os/FileSearch.h"
#include "platform/os/Files.h"
#include "platform/os/Paths.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace korvex::app {

namespace {

void CopyInto(const std::string& from, const std::string& to, const std::string& name, TBackupResult& result) {
    const std::string source = os::IncludeTrailingPathDelimiter(from) + name;
    if (!os::FileExists(source)) return;
    // The copy keeps the name the readers look for, whatever the case of the node's file.
    if (os::CopyFile(source, os::IncludeTrailingPathDelimiter(to) + name, false)) ++result.Copied;
    else ++result.Failed;
}

// Puts `fresh` in place of `folder`; the old one goes only once the new one stands. Swapped in one step where
// the file system can, so that a backup stands under the name at every moment.
bool Replace(const std::string& folder, const std::string& fresh, const std::string& old) {
    os::DeleteDirectoryTree(old);
    const bool hadOld = os::DirectoryExists(folder);
    if (hadOld && os::ExchangeNames(fresh, folder)) {
        os::DeleteDirectoryTree(fresh);
        return true;
    }
    if (hadOld && !os::RenameFile(folder, old)) return false;
    if (!os::RenameFile(fresh, folder)) {
        if (hadOld) os::RenameFile(old, folder);
        return false;
    }
    os::DeleteDirectoryTree(old);
    return true;
}

}

void ClearBackupLeftovers(const std::string& programFolder) {
    const std::string backups = os::IncludeTrailingPathDelimiter(programFolder) + "Backup/";
    for (const os::TSearchRec& entry : os::FindFiles(backups + "WU*", os::faDirectory)) {
        if (!entry.IsDirectory()) continue;
        const std::string path = backups + entry.Name;
        const std::string folder = os::ChangeFileExt(path, "");
        const std::string ext = os::ExtractFileExt(entry.Name);
        if (ext != ".new" && ext != ".old") continue;
        // A backup an interrupted swap left under the old name comes back; a half-made one goes.
        if (ext == ".old" && !os::DirectoryExists(folder))
            os::RenameFile(path, folder);
        else
            os::DeleteDirectoryTree(path);
    }
}

std::int64_t BackupRoomNeeded(std::int64_t bytes) {
    return bytes + bytes / 20 + BackupSpareBytes;
}

TBackupResult BackupNodeFolder(
    const std::string& programFolder, const std::string& nodeFolder, int node, const TDiskFree& diskFree) {
    const std::string folder = BackupFolder(programFolder, node);
    const std::string fresh = folder + ".new";
    const std::string old = folder + ".old";
    // A backup an interrupted swap left under the old name comes back first.
    if (!os::DirectoryExists(folder) && os::DirectoryExists(old)) os::RenameFile(old, folder);
    os::DeleteDirectoryTree(fresh);

    // The files to copy, as (folder, name) pairs.
    std::vector<std::pair<std::string, std::string>> files;
    for (const char* name : {ClientConfigName, QueueFileName, ClientLogName, UnitInfoName})
        files.emplace_back(nodeFolder, name);
    for (const os::TSearchRec& file :
        os::FindFiles(os::IncludeTrailingPathDelimiter(WorkFolder(nodeFolder)) + "*", os::faAnyFile & ~os::faDirectory))
        if (os::CopyTemporaryOwner(file.Name) == 0) files.emplace_back(WorkFolder(nodeFolder), file.Name);

    TBackupResult result;
    for (const auto& [from, name] : files)
        result.Needed += std::max<std::int64_t>(0, os::FileDataSize(os::IncludeTrailingPathDelimiter(from) + name));
    const std::string backups = os::ExtractFileDir(folder);
    if (!os::ForceDirectories(backups)) {
        result.Failed = 1;
        return result;
    }
    result.Free = diskFree ? diskFree(backups) : os::DiskFree(backups);
    if (result.Free >= 0 && result.Free < BackupRoomNeeded(result.Needed)) {
        result.NoRoom = true;
        return result;
    }
    if (!os::ForceDirectories(WorkFolder(fresh))) {
        result.Failed = 1;
        return result;
    }
    for (const auto& [from, name] : files)
        CopyInto(from, from == nodeFolder ? fresh : WorkFolder(fresh), name, result);

    if (!result.Ok() || !Replace(folder, fresh, old)) {
        os::DeleteDirectoryTree(fresh);
        if (result.Failed == 0 && result.Copied > 0) result.Failed = 1;   // the swap failed
    }
    return result;
}

std::string BackupFailureText(const std::string& nodeFolder, const TBackupResult& result) {
    auto mib = [](std::int64_t bytes) { return std::to_string((bytes + (1 << 20) - 1) >> 20) + " MB"; };
    if (result.NoRoom)
        return nodeFolder + ": Backup failed: not enough free space (" + mib(BackupRoomNeeded(result.Needed))
            + " needed, " + mib(result.Free) + " free)";
    return nodeFolder + ": Backup failed (" + std::to_string(result.Copied) + " files copied, "
        + std::to_string(result.Failed) + " failed)";
}

MyBackup::MyBackup(std::string baseFolder, std::string nodeFolder, int node, std::mutex& lock, TBackupDone done,
    TBackupDone ended, TDiskFree diskFree, TRepeatedFailures* failures)
    : TThread(true)
    , FBaseFolder(std::move(baseFolder))
    , FNodeFolder(std::move(nodeFolder))
    , FNode(node)
    , FLock(lock)
    , FDone(std::move(done))
    , FEnded(std::move(ended))
    , FDiskFree(std::move(diskFree))
    , FFailures(failures) {
}

void MyBackup::Execute() {
    TBackupResult result;
    {
        std::lock_guard lock(FLock);
        result = BackupNodeFolder(FBaseFolder, FNodeFolder, FNode, FDiskFree);
    }
    const std::string operation = FNodeFolder + ": backup";
    if (FFailures == nullptr) {
        if (!result.Ok()) WLog(BackupFailureText(FNodeFolder, result));
    } else if (result.Ok()) {
        FFailures->Succeeded(operation);
    } else {
        FFailures->Failed(operation, result.NoRoom ? "room" : "copy", BackupFailureText(FNodeFolder, result));
    }
    if (FEnded) FEnded(FNode, result.Ok());
    BackupDone(result.Ok());
}

void MyBackup::BackupDone(bool ok) {
    if (FDone) Synchronize([&] { FDone(FNode, ok); });
}

}
