// TOwnedMutex: a plain (non-recursive) mutex that knows which thread holds it, for lock-order assertions.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>

namespace korvex::os {

// Works with std::lock_guard, std::unique_lock and std::condition_variable_any; HeldByCurrentThread tells the
// thread that holds it from every other one (a waiting condition variable has released it).
class TOwnedMutex {
public:
    void lock() {
        FMutex.lock();
        FOwner.store(std::this_thread::get_id(), std::memory_order_relaxed);
    }
    void unlock() {
        FOwner.store(std::thread::id(), std::memory_order_relaxed);
        FMutex.unlock();
    }
    bool try_lock() {
        if (!FMutex.try_lock()) return false;
        FOwner.store(std::this_thread::get_id(), std::memory_order_relaxed);
        return true;
    }
    bool HeldByCurrentThread() const { return FOwner.load(std::memory_order_relaxed) == std::this_thread::get_id(); }

private:
    std::mutex FMutex;   // neither copied nor moved, nor is this
    std::atomic<std::thread::id> FOwner {};
};

}
