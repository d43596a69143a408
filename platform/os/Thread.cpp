// TThread and TThreadHandle: start, priority, terminate, sleep, wait and free-on-terminate.
#include "platform/os/Thread.h"

#include "platform/base/Assert.h"
#include "platform/os/ThreadState.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <ctime>
#include <linux/futex.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace korvex::os {

namespace detail {

ThreadState::~ThreadState() {
    std::lock_guard joinLock(JoinMutex);
    if (!Thread.joinable()) return;
    if (Thread.get_id() == std::this_thread::get_id())
        Thread.detach();   // the last reference went with the thread's own: it is leaving anyway
    else
        Thread.join();   // the thread has finished and is only returning
}

}

namespace {

using detail::ThreadState;

constexpr int NiceOffsets[] = {19, 10, 5, 0, -5, -10, -15};

void ApplyPriority(ThreadState& state) {
    std::lock_guard lock(state.Mutex);
    if (state.Tid == 0) return;
    int nice = std::clamp(state.BaseNice + NiceOffsets[state.Priority], -20, 19);
    // Refused without privileges (raising, or undoing a lowering): the thread keeps what it has.
    setpriority(PRIO_PROCESS, static_cast<id_t>(state.Tid), nice);
}

bool IsThreadItself(ThreadState& state) {
    std::lock_guard lock(state.Mutex);
    return state.Started && state.Id == std::this_thread::get_id();
}

void Join(ThreadState& state) {
    std::lock_guard joinLock(state.JoinMutex);
    if (state.Thread.joinable() && state.Thread.get_id() != std::this_thread::get_id()) state.Thread.join();
}

bool WaitThread(ThreadState& state, int timeoutMs) {
    {
        std::lock_guard lock(state.Mutex);
        if (!state.Started) return true;
    }
    if (IsThreadItself(state)) return false;   // it would wait forever
    if (!detail::WaitFinished(state, timeoutMs)) return false;
    Join(state);
    return true;
}

long Futex(std::atomic<int>& word, int op, int value, const timespec* timeout) {
    static_assert(sizeof(std::atomic<int>) == sizeof(int));
    return ::syscall(SYS_futex, reinterpret_cast<int*>(&word), op, value, timeout, nullptr, 0);
}

void TerminateState(ThreadState& state) {
    state.Terminated.store(1, std::memory_order_release);
    Futex(state.Terminated, FUTEX_WAKE_PRIVATE, INT_MAX, nullptr);
    state.Stop.request_stop();   // a stop callback takes locks of its own
}

}

// ---- TThreadHandle

void TThreadHandle::Terminate() {
    if (FState) TerminateState(*FState);
}

bool TThreadHandle::Terminated() const {
    return FState && FState->Terminated.load(std::memory_order_acquire) != 0;
}

bool TThreadHandle::Finished() const {
    return FState && detail::IsFinished(*FState);
}

void TThreadHandle::WaitFor() {
    if (FState) WaitThread(*FState, -1);
}

bool TThreadHandle::WaitFor(int timeoutMs) {
    return !FState || WaitThread(*FState, std::max(timeoutMs, 0));
}

std::exception_ptr TThreadHandle::FatalException() const {
    if (!FState) return nullptr;
    std::lock_guard lock(FState->Mutex);
    return FState->Fatal;
}

// ---- TThread

TThread::TThread(bool createSuspended)
    : FState(std::make_shared<ThreadState>()) {
    if (!createSuspended) Start();
}

TThread::~TThread() {
    bool running;
    bool freeOnTerminate;
    {
        std::lock_guard lock(FState->Mutex);
        running = FState->Started;
        freeOnTerminate = FState->FreeOnTerminate;
    }
    if (!running || IsThreadItself(*FState)) return;
    // A started free-on-terminate thread frees itself; deleting it from outside races with that.
    KORVEX_ASSERT(!freeOnTerminate);
    TerminateState(*FState);
    WaitThread(*FState, -1);
}

void TThread::Start() {
    std::shared_ptr<ThreadState> state = FState;   // a free-on-terminate thread may free this before we return
    {
        std::lock_guard lock(state->Mutex);
        if (state->Started) return;
        state->Started = true;
    }
    std::lock_guard joinLock(state->JoinMutex);
    state->Thread = std::thread(&TThread::Run, this, state);
}

void TThread::Resume() {
    Start();
}

bool TThread::Suspended() const {
    std::lock_guard lock(FState->Mutex);
    return !FState->Started;
}

TThreadPriority TThread::Priority() const {
    std::lock_guard lock(FState->Mutex);
    return FState->Priority;
}

void TThread::SetPriority(TThreadPriority value) {
    if (value < tpIdle || value > tpTimeCritical) return;
    {
        std::lock_guard lock(FState->Mutex);
        if (FState->Priority == value) return;
        FState->Priority = value;
    }
    ApplyPriority();
}

void TThread::ApplyPriority() {
    os::ApplyPriority(*FState);
}

bool TThread::FreeOnTerminate() const {
    std::lock_guard lock(FState->Mutex);
    return FState->FreeOnTerminate;
}

void TThread::SetFreeOnTerminate(bool value) {
    std::lock_guard lock(FState->Mutex);
    FState->FreeOnTerminate = value;
}

void TThread::Terminate() {
    TerminateState(*FState);
}

bool TThread::Terminated() const {
    return FState->Terminated.load(std::memory_order_acquire) != 0;
}

bool TThread::Finished() const {
    return detail::IsFinished(*FState);
}

void TThread::WaitFor() {
    WaitThread(*FState, -1);
}

bool TThread::WaitFor(int timeoutMs) {
    return WaitThread(*FState, std::max(timeoutMs, 0));
}

std::exception_ptr TThread::FatalException() const {
    std::lock_guard lock(FState->Mutex);
    return FState->Fatal;
}

TThreadHandle TThread::Handle() const {
    return TThreadHandle(FState);
}

std::thread::id TThread::ThreadID() const {
    std::lock_guard lock(FState->Mutex);
    return FState->Id;
}

std::stop_token TThread::StopToken() const {
    return FState->Stop.get_token();
}

bool TThread::Sleep(int ms) {
    std::atomic<int>& terminated = FState->Terminated;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(ms, 0));
    while (terminated.load(std::memory_order_acquire) == 0) {
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) break;
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
        const timespec timeout {static_cast<time_t>(seconds.count()),
            static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds).count())};
        Futex(terminated, FUTEX_WAIT_PRIVATE, 0, &timeout);   // woken, timed out or interrupted: looked at again
    }
    return terminated.load(std::memory_order_acquire) == 0;
}

void TThread::Run(TThread* self, std::shared_ptr<ThreadState> state) {
    {
        std::lock_guard lock(state->Mutex);
        state->Id = std::this_thread::get_id();
        state->Tid = gettid();
        errno = 0;
        int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(state->Tid));
        state->BaseNice = errno == 0 ? nice : 0;
    }
    os::ApplyPriority(*state);
    try {
        self->Execute();
    } catch (...) {
        std::lock_guard lock(state->Mutex);
        state->Fatal = std::current_exception();
    }
    bool freeOnTerminate;
    {
        std::lock_guard lock(state->Mutex);
        freeOnTerminate = state->FreeOnTerminate;
        state->Tid = 0;
    }
    if (freeOnTerminate) delete self;
    detail::SignalFinished(*state);
}

}
