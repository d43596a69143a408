// TCriticalSection: a recursive lock as Windows critical sections are, and its scope guard.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>

namespace korvex::os {

// The thread that entered may enter again; it leaves as often as it entered. Enter and Leave come in pairs
// on the same thread; prefer TCriticalSectionLock, which pairs them on every path out of a scope.
class TCriticalSection {
public:
    TCriticalSection() = default;
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;

    void Enter();
    void Leave();
    bool TryEnter();   // enters only when no other thread holds it
    bool HeldByCurrentThread() const;

    void Acquire() { Enter(); }
    void Release() { Leave(); }

    // For the standard lock helpers.
    void lock() { Enter(); }
    void unlock() { Leave(); }
    bool try_lock() { return TryEnter(); }

private:
    std::recursive_mutex FMutex;
    std::atomic<std::thread::id> FOwner {};
    int FDepth = 0;   // written only by the owner
};

class TCriticalSectionLock {
public:
    explicit TCriticalSectionLock(TCriticalSection& section)
        : FSection(section) {
        FSection.Enter();
    }
    ~TCriticalSectionLock() { FSection.Leave(); }
    TCriticalSectionLock(const TCriticalSectionLock&) = delete;
    TCriticalSectionLock& operator=(const TCriticalSectionLock&) = delete;

private:
    TCriticalSection& FSection;
};

}
