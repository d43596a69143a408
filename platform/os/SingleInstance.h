// TSingleInstance: the program's named mutex as an flock on a lock file.
#pragma once

#include <string>

namespace korvex::os {

inline constexpr const char* InstanceMutexName = "KORVEX 2.6.0.11";

// Lock file "<folder>/<name>.lock"; folder defaults to $XDG_RUNTIME_DIR when it is a folder, else /tmp.
// Slashes in the name become '_'.
std::string SingleInstanceLockPath(const std::string& name, const std::string& folder = {});

// Holds the lock from a successful Acquire until Release or destruction. The lock is taken on a descriptor
// that is closed on exec, so programs this one starts do not inherit it, and the system drops it when the
// process ends however it ends. The file itself stays (removing it would let a third instance in).
class TSingleInstance {
public:
    explicit TSingleInstance(std::string name = InstanceMutexName, std::string folder = {});
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // True when this is the only instance (also when called again after success). False when another
    // instance holds the lock, or the lock file cannot be opened (ErrorCode() tells which errno).
    bool Acquire();
    void Release();

    bool Acquired() const { return FFd >= 0; }
    int ErrorCode() const { return FErrorCode; }
    const std::string& LockPath() const { return FPath; }

    // The holder's doorbell: a FIFO "<lock file>.call" that later starts ring to ask for the holder's window.
    // OpenDoorbell (holder only) makes it and returns a non-blocking descriptor that turns readable at a ring
    // (read it empty with DrainDoorbell); -1 on failure. It goes with Release.
    int OpenDoorbell();
    static void DrainDoorbell(int fd);
    // Another start: true when a holder's doorbell took the ring, false when there is none to hear it.
    bool RingDoorbell() const;
    std::string DoorbellPath() const { return FPath + ".call"; }

private:
    std::string FPath;
    int FFd = -1;
    int FErrorCode = 0;
    int FDoorbell = -1;
};

}
