// The folders a node's units pass through (cache, ready results, backup) and the moves between them.
#pragma once

#include <string>

namespace korvex::app {

inline constexpr const char* QueueFileName = "queue.dat";
inline constexpr const char* WorkFolderName = "work";

// Under the program folder: "WU" (the cores every cache gets), "WU/WU<n>" (node n's cache), "WU/WUREADY"
// (finished results being sent) and "Backup/WU<n>" (node n's backup).
std::string CoresFolder(const std::string& programFolder);
std::string CacheFolder(const std::string& programFolder, int node);
std::string ReadyFolder(const std::string& programFolder);
std::string BackupFolder(const std::string& programFolder, int node);
std::string WorkFolder(const std::string& folder);   // folder + "/work"

enum class TMoveResult {
    Missing,   // no such file: nothing to do
    Moved,   // copied, then the source deleted
    Failed,   // the copy failed: the source is kept, the target as it was
};

// Copies source over target, then deletes the source; the source is deleted only after its copy succeeded.
// A source that cannot be deleted after a good copy counts as moved (both hold the same bytes).
TMoveResult MoveFile(const std::string& source, const std::string& target);

struct TMoveCount {
    int Moved = 0;
    int Failed = 0;
    bool Ok() const { return Failed == 0; }
    TMoveCount& operator+=(const TMoveCount& other) {
        Moved += other.Moved;
        Failed += other.Failed;
        return *this;
    }
};

// Every file (not the folders) of `from` moved into `to`, which is made when missing. A missing `from` moves
// nothing and fails nothing. The temporaries that killed copies left in either folder are removed first and
// never moved.
TMoveCount MoveFolderFiles(const std::string& from, const std::string& to);

// The files of `folder` and of its "work" sub-folder: with move, moved into the node folder and its "work"
// (the source of a file deleted only once its copy is there); without, deleted (and counted as moved). The
// folders stay.
TMoveCount CopyWU(const std::string& nodeFolder, const std::string& folder, bool move);

// Removes a folder that holds nothing but an empty "work" sub-folder; false when anything else is left.
bool RemoveEmptiedFolder(const std::string& folder);

}
