// A file's identity on disk (device, inode, size, times): telling whether a file changed since it was last read
// or written.
#pragma once

#include <cstdint>
#include <string>

struct stat;

namespace korvex::os {

struct FileIdentity {
    bool Exists = false;
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::int64_t Size = 0;
    std::int64_t Modified = 0;   // nanoseconds
    std::int64_t Changed = 0;
    bool operator==(const FileIdentity&) const = default;
};

FileIdentity IdentityOf(const struct stat& st);
// The file at a Linux path, links followed; Exists is false when there is none.
FileIdentity IdentityOfPath(const std::string& path);

// The file as last read or written: its identity, and the file kept open, so that a replacement cannot be given
// its inode number meanwhile (a reused number with the same size and times would pass for the old file).
class PinnedFile {
public:
    PinnedFile() = default;
    ~PinnedFile();
    PinnedFile(const PinnedFile&) = delete;
    PinnedFile& operator=(const PinnedFile&) = delete;

    const FileIdentity& Identity() const { return FIdentity; }
    // Takes over `fd`, the open file just read, with its status (taken before the reading).
    void Pin(int fd, const struct stat& st);
    // Takes over `fd`, a file just renamed into place, with its status taken before the rename. The rename sets
    // its change time, so the status now is pinned when that is all that differs; when its size, content time
    // or inode differ, another program wrote to it since the rename, and the status from before is pinned
    // instead, so that the next look sees the change.
    void PinReplaced(int fd, const struct stat& written);
    // Opens the file at `path` (just written); false, with nothing pinned, when it cannot be.
    bool PinPath(const std::string& path);
    void Clear();   // no file: what a missing one reads as
    // The file at `path` is another one than the pinned, or has changed, or has come or gone.
    bool ChangedOnDisk(const std::string& path) const;

private:
    int FFd = -1;
    FileIdentity FIdentity;
};

}
