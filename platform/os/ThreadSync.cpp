// Calls onto the UI thread (Synchronize, Queue), the UI dispatcher and the wait for finished threads.
#include "platform/os/Thread.h"
#include "platform/os/ThreadState.h"

#include <algorithm>
#include <condition_variable>
#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>

namespace korvex::os {

namespace {

const std::thread::id MainThread = std::this_thread::get_id();

struct SyncCall {
    enum Stage { Pending, Running, Done, Dropped };

    std::function<void()> Fn;
    bool Waiting = false;   // Synchronize (a thread waits) rather than Queue
    Stage State = Pending;
    std::exception_ptr Error;
};

// One lock for the UI calls and for finished threads, so that a joiner on the UI thread can wait for either.
struct Registry {
    std::mutex Mutex;
    std::condition_variable Changed;   // a call was added or changed stage, a thread finished
    std::deque<std::shared_ptr<SyncCall>> Pending;
    IUiDispatcher* Dispatcher = nullptr;
    std::uint64_t Generation = 0;   // bumped when the dispatcher changes
    std::thread::id UiThread = MainThread;

    std::mutex DispatcherMutex;   // held around Post, so the dispatcher cannot go away under it
};

Registry& Reg() {
    static Registry* registry = new Registry;   // never freed: threads may outlive static destruction
    return *registry;
}

void Unlink(Registry& reg, const std::shared_ptr<SyncCall>& call) {
    auto it = std::find(reg.Pending.begin(), reg.Pending.end(), call);
    if (it != reg.Pending.end()) reg.Pending.erase(it);
}

void Drop(const std::shared_ptr<SyncCall>& call) {
    Registry& reg = Reg();
    {
        std::lock_guard lock(reg.Mutex);
        if (call->State != SyncCall::Pending) return;
        call->State = SyncCall::Dropped;
        Unlink(reg, call);
    }
    reg.Changed.notify_all();
}

// Runs a call that is still pending. A queued call's exception is raised again to the caller.
void RunCall(const std::shared_ptr<SyncCall>& call) {
    Registry& reg = Reg();
    {
        std::lock_guard lock(reg.Mutex);
        if (call->State != SyncCall::Pending) return;
        call->State = SyncCall::Running;
        Unlink(reg, call);
    }
    std::exception_ptr error;
    try {
        call->Fn();
    } catch (...) {
        error = std::current_exception();
    }
    call->Fn = nullptr;
    {
        std::lock_guard lock(reg.Mutex);
        call->State = SyncCall::Done;
        if (call->Waiting) call->Error = error;
    }
    reg.Changed.notify_all();
    if (error && !call->Waiting) std::rethrow_exception(error);
}

// Lives inside the posted task: a task that the dispatcher destroys unrun releases its call.
struct DropGuard {
    explicit DropGuard(std::shared_ptr<SyncCall> call)
        : Call(std::move(call)) { }
    ~DropGuard() { Drop(Call); }
    std::shared_ptr<SyncCall> Call;
};

// Queues the call for the UI thread; returns the dispatcher generation, or nothing when no dispatcher runs.
std::optional<std::uint64_t> Hand(const std::shared_ptr<SyncCall>& call) {
    Registry& reg = Reg();
    std::lock_guard dispatcherLock(reg.DispatcherMutex);
    std::uint64_t generation;
    {
        std::lock_guard lock(reg.Mutex);
        if (!reg.Dispatcher) return std::nullopt;
        reg.Pending.push_back(call);
        generation = reg.Generation;
    }
    reg.Changed.notify_all();
    // The task holds the only reference to the guard, so the call is dropped as soon as the task dies unrun
    // (refused here, or destroyed by the dispatcher later).
    reg.Dispatcher->Post([guard = std::make_shared<DropGuard>(call)] { RunCall(guard->Call); });
    return generation;
}

// Runs the waiting Synchronize calls (not queued ones) on the UI thread while it joins a thread.
void RunWaitingCalls(std::unique_lock<std::mutex>& lock) {
    Registry& reg = Reg();
    for (;;) {
        auto it = std::find_if(reg.Pending.begin(), reg.Pending.end(), [](auto& c) { return c->Waiting; });
        if (it == reg.Pending.end()) return;
        std::shared_ptr<SyncCall> call = *it;
        lock.unlock();
        RunCall(call);
        lock.lock();
    }
}

}

void SetUiDispatcher(IUiDispatcher* dispatcher) {
    Registry& reg = Reg();
    std::lock_guard dispatcherLock(reg.DispatcherMutex);
    {
        std::lock_guard lock(reg.Mutex);
        reg.Dispatcher = dispatcher;
        reg.UiThread = dispatcher ? std::this_thread::get_id() : MainThread;
        ++reg.Generation;
        for (auto& call : reg.Pending)
            call->State = SyncCall::Dropped;
        reg.Pending.clear();
    }
    reg.Changed.notify_all();
}

IUiDispatcher* UiDispatcher() {
    std::lock_guard lock(Reg().Mutex);
    return Reg().Dispatcher;
}

std::thread::id MainThreadID() {
    return MainThread;
}

std::thread::id UiThreadID() {
    std::lock_guard lock(Reg().Mutex);
    return Reg().UiThread;
}

bool CurrentThreadIsUi() {
    return UiThreadID() == std::this_thread::get_id();
}

bool CheckSynchronize() {
    Registry& reg = Reg();
    bool ran = false;
    for (;;) {
        std::shared_ptr<SyncCall> call;
        {
            std::lock_guard lock(reg.Mutex);
            if (reg.Pending.empty()) return ran;
            call = reg.Pending.front();
        }
        ran = true;
        RunCall(call);
    }
}

bool TThread::Synchronize(const std::function<void()>& fn) {
    if (!fn) return true;
    if (CurrentThreadIsUi()) {
        fn();
        return true;
    }
    auto call = std::make_shared<SyncCall>();
    call->Fn = fn;
    call->Waiting = true;
    std::optional<std::uint64_t> generation = Hand(call);
    if (!generation) {
        fn();
        return true;
    }
    Registry& reg = Reg();
    std::unique_lock lock(reg.Mutex);
    reg.Changed.wait(lock, [&] {
        return call->State == SyncCall::Done || call->State == SyncCall::Dropped
            || (call->State == SyncCall::Pending && reg.Generation != *generation);
    });
    if (call->State == SyncCall::Pending) {   // the dispatcher went away with the call still queued
        call->State = SyncCall::Dropped;
        Unlink(reg, call);
    }
    bool ran = call->State == SyncCall::Done;
    std::exception_ptr error = call->Error;
    lock.unlock();
    if (error) std::rethrow_exception(error);
    return ran;
}

void TThread::Queue(std::function<void()> fn) {
    if (!fn) return;
    if (CurrentThreadIsUi()) {
        fn();
        return;
    }
    auto call = std::make_shared<SyncCall>();
    call->Fn = fn;
    if (!Hand(call)) fn();
}

namespace detail {

void SignalFinished(ThreadState& state) {
    Registry& reg = Reg();
    {
        std::lock_guard lock(reg.Mutex);
        state.Finished = true;
    }
    reg.Changed.notify_all();
}

bool IsFinished(ThreadState& state) {
    std::lock_guard lock(Reg().Mutex);
    return state.Finished;
}

bool WaitFinished(ThreadState& state, int timeoutMs) {
    Registry& reg = Reg();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    std::unique_lock lock(reg.Mutex);
    bool onUi = reg.UiThread == std::this_thread::get_id() && reg.Dispatcher;
    auto ready = [&] {
        return state.Finished
            || (onUi && std::any_of(reg.Pending.begin(), reg.Pending.end(), [](auto& c) { return c->Waiting; }));
    };
    while (!state.Finished) {
        if (onUi) RunWaitingCalls(lock);
        if (state.Finished) break;
        if (timeoutMs < 0)
            reg.Changed.wait(lock, ready);
        else if (!reg.Changed.wait_until(lock, deadline, ready))
            return false;
    }
    return true;
}

}

}
