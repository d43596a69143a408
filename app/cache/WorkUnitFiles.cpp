// Unit folders and file moves that never delete a source before its copy is there.
#include "app/cache/WorkUnitFiles.h"

#include "platform/os/FileSearch.h"
#include "platform/os/Files.h"
#include "platform/os/NameCompare.h"
#include "platform/os/Paths.h"

namespace korvex::app {

std::string CoresFolder(const std::string& programFolder) {
    return os::IncludeTrailingPathDelimiter(programFolder) + "WU";
}

std::string CacheFolder(const std::string& programFolder, int node) {
    return CoresFolder(programFolder) + "/WU" + std::to_string(node);
}

std::string ReadyFolder(const std::string& programFolder) {
    return CoresFolder(programFolder) + "/WUREADY";
}

std::string BackupFolder(const std::string& programFolder, int node) {
    return os::IncludeTrailingPathDelimiter(programFolder) + "Backup/WU" + std::to_string(node);
}

std::string WorkFolder(const std::string& folder) {
    return os::IncludeTrailingPathDelimiter(folder) + WorkFolderName;
}

namespace {

// The files of a folder, hidden ones included, without its folders and without the temporaries of copies
// (another thread's copy under way, or a killed copy's leftover).
std::vector<os::TSearchRec> FilesOf(const std::string& folder) {
    std::vector<os::TSearchRec> files
        = os::FindFiles(os::IncludeTrailingPathDelimiter(folder) + "*", os::faAnyFile & ~os::faDirectory);
    std::erase_if(files, [](const os::TSearchRec& file) { return os::CopyTemporaryOwner(file.Name) != 0; });
    return files;
}

}

TMoveResult MoveFile(const std::string& source, const std::string& target) {
    if (!os::FileExists(source)) return TMoveResult::Missing;
    if (!os::CopyFile(source, target, false)) return TMoveResult::Failed;
    os::DeleteFile(source);
    return TMoveResult::Moved;
}

TMoveCount MoveFolderFiles(const std::string& from, const std::string& to) {
    TMoveCount count;
    // What a move killed before left on either side goes first.
    os::RemoveCopyLeftovers(from);
    os::RemoveCopyLeftovers(to);
    const auto files = FilesOf(from);
    if (files.empty()) return count;
    os::ForceDirectories(to);
    for (const os::TSearchRec& file : files) {
        const std::string name = "/" + file.Name;
        switch (MoveFile(os::ExcludeTrailingPathDelimiter(from) + name, os::ExcludeTrailingPathDelimiter(to) + name)) {
        case TMoveResult::Moved: ++count.Moved; break;
        case TMoveResult::Failed: ++count.Failed; break;
        case TMoveResult::Missing: break;   // gone meanwhile
        }
    }
    return count;
}

namespace {

TMoveCount DeleteFolderFiles(const std::string& folder) {
    TMoveCount count;
    os::RemoveCopyLeftovers(folder);
    for (const os::TSearchRec& file : FilesOf(folder)) {
        if (os::DeleteFile(os::IncludeTrailingPathDelimiter(folder) + file.Name)) ++count.Moved;
        else ++count.Failed;
    }
    return count;
}

}

TMoveCount CopyWU(const std::string& nodeFolder, const std::string& folder, bool move) {
    if (!move) {
        TMoveCount count = DeleteFolderFiles(folder);
        count += DeleteFolderFiles(WorkFolder(folder));
        return count;
    }
    TMoveCount count = MoveFolderFiles(folder, nodeFolder);
    count += MoveFolderFiles(WorkFolder(folder), WorkFolder(nodeFolder));
    return count;
}

bool RemoveEmptiedFolder(const std::string& folder) {
    for (const os::TSearchRec& entry : os::FindFiles(os::IncludeTrailingPathDelimiter(folder) + "*", os::faAnyFile))
        if (!(entry.IsDirectory() && os::SameName(entry.Name, WorkFolderName) && os::RemoveDir(WorkFolder(folder)))) return false;
    return os::RemoveDir(folder);
}

}
