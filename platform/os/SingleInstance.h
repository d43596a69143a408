// TSingleInstance: the program's named mutex as an flock on a lock file in a folder only the user can write.
#pragma once

#include <string>

namespace korvex::os {

inline constexpr const char* InstanceMutexName = "KORVEX 2.6.0.11";

// True when `path` is a folder (not a link) of this user's own that nobody else can enter or write (mode
// 0700 or narrower); `create` makes it (0700) when missing. Otherwise false and `why` says what is wrong.
bool IsPrivateFolder(const std::string& path, bool create, std::string& why);

// The folder of the lock: $XDG_RUNTIME_DIR when it is a private folder of the user's own (it is never made
// here); else "<shared>/korvex-<uid>", made when missing; else "$XDG_CACHE_HOME/korvex" (default
// ~/.cache/korvex), made when missing. A folder another user planted under the shared name is passed over.
// Empty, with `why` set, when none will do.
std::string SingleInstanceFolder(std::string& why, const std::string& shared = "/tmp");

// "<folder>/<name>.lock" (slashes in the name become '_').
std::string SingleInstanceLockPath(const std::string& name, const std::string& folder);

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
    // An empty folder: SingleInstanceFolder's choice, made at Acquire.
    explicit TSingleInstance(std::string name = InstanceMutexName, std::string folder = {});
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
    std::string FPath;
    std::string FError;
    int FFd = -1;
};

}
