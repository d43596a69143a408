// Watching a folder (and optionally its subfolders) for changes with inotify, with a wake-up for the waiter.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

namespace korvex::os {

// What to watch, with the values of the Windows change-notification filter.
inline constexpr std::uint32_t FILE_NOTIFY_CHANGE_FILE_NAME = 0x1;   // files created, deleted, renamed
inline constexpr std::uint32_t FILE_NOTIFY_CHANGE_DIR_NAME = 0x2;   // folders created, deleted, renamed
inline constexpr std::uint32_t FILE_NOTIFY_CHANGE_ATTRIBUTES = 0x4;
inline constexpr std::uint32_t FILE_NOTIFY_CHANGE_SIZE = 0x8;
inline constexpr std::uint32_t FILE_NOTIFY_CHANGE_LAST_WRITE = 0x10;
inline constexpr std::uint32_t FILE_NOTIFY_CHANGE_SECURITY = 0x100;   // mode and owner

enum class TWatchWait {
    Changed,   // something the filter names changed
    Woken,   // Wake was called
    TimedOut,
    Failed,   // the watch broke or its folder went away (without an open watch, Wait waits for Wake only)
};

// One watch. Open, Close and Wait belong to one thread (the waiter); Wake may be called from any thread while
// the object lives, and a wake that comes before Wait is not lost.
class TDirectoryWatch {
public:
    TDirectoryWatch();
    ~TDirectoryWatch();
    TDirectoryWatch(const TDirectoryWatch&) = delete;
    TDirectoryWatch& operator=(const TDirectoryWatch&) = delete;

    // Closes any open watch and watches folder (and, with subTree, every folder below it, links not
    // followed, folders made later included). False when the folder cannot be watched.
    bool Open(const std::string& folder, bool subTree, std::uint32_t filter);
    void Close();
    bool IsOpen() const { return FInotify >= 0; }

    // Waits for a change or a wake (timeoutMs < 0: no limit). The changes that arrived together are read
    // at once, so one burst gives one Changed.
    TWatchWait Wait(int timeoutMs = -1);
    void Wake();

private:
    void AddTree(const std::string& folder, int depth);
    bool ReadEvents();   // true when an event passed the filter

    int FWake = -1;   // eventfd
    int FInotify = -1;
    bool FSubTree = false;
    std::uint32_t FFilter = 0;
    std::unordered_map<int, std::string> FFolders;   // watch descriptor -> folder
};

}
