// TCriticalSection over a recursive mutex, with the owner kept to catch an unpaired Leave.
#include "platform/os/CriticalSection.h"

#include "platform/base/Assert.h"

namespace korvex::os {

void TCriticalSection::Enter() {
    FMutex.lock();
    FOwner.store(std::this_thread::get_id(), std::memory_order_relaxed);
    ++FDepth;
}

void TCriticalSection::Leave() {
    KORVEX_ASSERT(HeldByCurrentThread());
    if (!HeldByCurrentThread()) return;   // unlocking a lock we do not hold is undefined; refuse it
    if (--FDepth == 0) FOwner.store(std::thread::id(), std::memory_order_relaxed);
    FMutex.unlock();
}

bool TCriticalSection::TryEnter() {
    if (!FMutex.try_lock()) return false;
    FOwner.store(std::this_thread::get_id(), std::memory_order_relaxed);
    ++FDepth;
    return true;
}

bool TCriticalSection::HeldByCurrentThread() const {
    return FOwner.load(std::memory_order_relaxed) == std::this_thread::get_id();
}

}
