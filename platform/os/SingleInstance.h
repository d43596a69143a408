// TSingleInstance: the program's named mutex as an flock on a lock file, one per user and program folder, in a
// folder only the user can write.
#pragma once

#include <string>

namespace korvex::os {

inline constexpr const char* InstanceMutexName = "KORVEX 2.6.0.11";

// True when `path` is a folder (not a link) of this user's own that nobody else can enter or write (mode
// 0700 or narrower); `create` makes it (0700) when missing. Otherwise false and `why` says what is wrong.
bool IsPrivateFolder(const std::string& path, bool create, std::string& why);

// The folder of the lock, chosen from the user alone (never from the environment, so a desktop start, cron, su
// and sudo agree): "<home>/.cache/korvex" with the home the system names for the user (`home` in tests), made
// when missing; else "<shared>/korvex-<uid>", made when missing. A folder that is not private (a link, another
// user's, open to others) is passed over. Empty, with `why` set, when none will do.
std::string SingleInstanceFolder(std::string& why, const std::string& shared = "/tmp", const std::string& home = {});

// "<folder>/<name> <key>.lock": slashes in the name become '_', and the key (16 hex digits) stands for the program
// folder's device and inode, so one program folder has one lock however it is reached (a link, another spelling,
// a bind mount).
std::string SingleInstanceLockPath(const std::string& name, const std::string& folder, const std::string& programFolder);

enum class TInstanceLock {
    Acquired,   // this is the only instance
    Running,    // another run of this user's holds the lock
    Failed,     // the lock cannot be taken or trusted: ErrorText() says why
};

// Holds the lock from a successful Acquire until Release or destruction. The lock is taken on a descriptor
// that is closed on exec, so programs this one starts do not inherit it, and the system drops it when the
// process ends however it ends. The file itself stays (removing it would let a third instance in). Only a
// regular lock file of the user's own is believed; a link is never followed.
class TSingleInstance {
public:
    // The lock of one user on one program folder. An empty folder: SingleInstanceFolder's choice, made at
    // Acquire; an empty program folder: ProgramFolder().
    explicit TSingleInstance(
        std::string name = InstanceMutexName, std::string folder = {}, std::string programFolder = {});
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // Acquired also when called again after success.
    TInstanceLock Acquire();
    void Release();

    bool Acquired() const { return FFd >= 0; }
    const std::string& ErrorText() const { return FError; }
    const std::string& LockPath() const { return FPath; }   // empty until a folder was found

private:
    TInstanceLock Fail(const std::string& why);

    std::string FName;
    std::string FFolder;
    std::string FProgramFolder;
    std::string FPath;
    std::string FError;
    int FFd = -1;
};

}
