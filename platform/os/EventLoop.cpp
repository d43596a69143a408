// TEventLoop: poll() over the watched descriptors and an eventfd that posting writes to wake it.
#include "platform/os/EventLoop.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>

namespace korvex::os {

TEventLoop::TEventLoop(TClock clock)
    : FClock(std::move(clock))
    , FWakeFd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
    , FLoopThread(std::this_thread::get_id()) {
}

TEventLoop::~TEventLoop() {
    Shutdown();
    std::map<int, std::shared_ptr<Watcher>> watchers;
    std::map<TTimerId, std::shared_ptr<Timer>> timers;
    {
        std::lock_guard lock(FMutex);
        watchers.swap(FWatchers);
        timers.swap(FTimers);
        FSchedule.clear();
    }
    if (FWakeFd >= 0) close(FWakeFd);
}

TEventLoop::TimePoint TEventLoop::Now() const {
    return FClock ? FClock() : std::chrono::steady_clock::now();
}

bool TEventLoop::IsLoopThread() const {
    return FLoopThread.load() == std::this_thread::get_id();
}

void TEventLoop::Wake() {
    if (FWakeFd < 0 || IsLoopThread()) return;   // the loop thread is not inside poll while it calls us
    if (FWakePending.exchange(true)) return;
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t written = write(FWakeFd, &one, sizeof one);   // a full counter still wakes
}

void TEventLoop::DrainWake() {
    std::uint64_t count;
    while (FWakeFd >= 0 && read(FWakeFd, &count, sizeof count) > 0) { }
    FWakePending.store(false);   // after the read: a wake from now on writes again
}

// ---- descriptors

bool TEventLoop::Watch(int fd, unsigned events, TFdCallback callback) {
    if (fd < 0 || !callback) return false;
    {
        std::lock_guard lock(FMutex);
        FWatchers[fd] = std::make_shared<Watcher>(Watcher {fd, events, std::move(callback)});
    }
    Wake();
    return true;
}

bool TEventLoop::SetEvents(int fd, unsigned events) {
    {
        std::lock_guard lock(FMutex);
        auto it = FWatchers.find(fd);
        if (it == FWatchers.end()) return false;
        // A new record, so a poll result taken for the old mask is not delivered against the new one.
        it->second = std::make_shared<Watcher>(Watcher {fd, events, it->second->Callback});
    }
    Wake();
    return true;
}

void TEventLoop::Unwatch(int fd) {
    std::shared_ptr<Watcher> gone;   // destroyed outside the lock
    {
        std::lock_guard lock(FMutex);
        auto it = FWatchers.find(fd);
        if (it == FWatchers.end()) return;
        gone = std::move(it->second);
        FWatchers.erase(it);
    }
    Wake();
}

bool TEventLoop::Watching(int fd) const {
    std::lock_guard lock(FMutex);
    return FWatchers.count(fd) != 0;
}

// ---- timers

void TEventLoop::Schedule(Timer& timer, TimePoint due) {
    timer.Due = due;
    timer.Sequence = FNextSequence++;
    FSchedule.insert({timer.Due, timer.Sequence, timer.Id});
}

TTimerId TEventLoop::SetTimer(int intervalMs, std::function<void()> callback, TTimerKind kind) {
    if (!callback) return 0;
    TimePoint now = Now();
    TTimerId id;
    {
        std::lock_guard lock(FMutex);
        auto timer = std::make_shared<Timer>();
        timer->Id = FNextTimerId++;
        timer->IntervalMs = std::max(intervalMs, 1);
        timer->Kind = kind;
        timer->Callback = std::move(callback);
        Schedule(*timer, now + std::chrono::milliseconds(timer->IntervalMs));
        FTimers[timer->Id] = timer;
        id = timer->Id;
    }
    Wake();   // the loop may be waiting for a later timer
    return id;
}

bool TEventLoop::KillTimer(TTimerId id) {
    std::shared_ptr<Timer> gone;
    std::lock_guard lock(FMutex);
    auto it = FTimers.find(id);
    if (it == FTimers.end()) return false;
    gone = it->second;
    FSchedule.erase({gone->Due, gone->Sequence, gone->Id});
    FTimers.erase(it);
    return true;
}

bool TEventLoop::TimerActive(TTimerId id) const {
    std::lock_guard lock(FMutex);
    return FTimers.count(id) != 0;
}

// ---- tasks and running

bool TEventLoop::Post(std::function<void()> task) {
    if (!task) return false;
    {
        std::lock_guard lock(FMutex);
        if (FShutDown) return false;
        FTasks.push_back(std::move(task));
    }
    Wake();
    return true;
}

void TEventLoop::Quit() {
    FQuit = true;
    Wake();
}

void TEventLoop::Shutdown() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(FMutex);
        FShutDown = true;
        dropped.swap(FTasks);
    }
    dropped.clear();   // outside the lock: a task's destruction may release a waiting thread
}

bool TEventLoop::IsShutDown() const {
    std::lock_guard lock(FMutex);
    return FShutDown;
}

void TEventLoop::Run() {
    while (!FQuit.exchange(false))
        RunOnce(-1);
}

int TEventLoop::ProcessPending() {
    return RunOnce(0);
}

int TEventLoop::RunOnce(int timeoutMs) {
    FLoopThread = std::this_thread::get_id();
    int count = DispatchDescriptors(PollTimeout(timeoutMs));
    count += DispatchTimers();
    count += DispatchTasks();
    return count;
}

int TEventLoop::PollTimeout(int timeoutMs) {
    std::lock_guard lock(FMutex);
    if (!FTasks.empty() || FQuit) return 0;
    if (FSchedule.empty()) return timeoutMs;
    auto wait = std::get<0>(*FSchedule.begin()) - Now();
    if (wait <= std::chrono::steady_clock::duration::zero()) return 0;
    // Round up, so the loop does not wake a moment early and spin until the timer is due.
    auto ms = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
    ms = std::min<long long>(ms, INT_MAX);
    return timeoutMs < 0 ? static_cast<int>(ms) : std::min(timeoutMs, static_cast<int>(ms));
}

int TEventLoop::DispatchDescriptors(int timeoutMs) {
    std::vector<pollfd> fds;
    std::vector<std::shared_ptr<Watcher>> polled;
    fds.push_back({FWakeFd, POLLIN, 0});
    polled.push_back(nullptr);
    {
        std::lock_guard lock(FMutex);
        for (auto& [fd, watcher] : FWatchers) {
            short mask = static_cast<short>(
                ((watcher->Events & feRead) ? POLLIN : 0) | ((watcher->Events & feWrite) ? POLLOUT : 0));
            fds.push_back({watcher->Events ? fd : -1, mask, 0});   // a paused watch is left out
            polled.push_back(watcher);
        }
    }
    int ready = poll(fds.data(), fds.size(), timeoutMs);
    if (ready <= 0) return 0;   // time-out, or EINTR: the caller's next round polls again
    if (fds[0].revents) DrainWake();
    int count = 0;
    for (size_t i = 1; i < fds.size(); ++i) {
        short revents = fds[i].revents;
        if (!revents) continue;
        std::shared_ptr<Watcher> watcher;
        {
            std::lock_guard lock(FMutex);
            auto it = FWatchers.find(fds[i].fd);
            // Unwatched, re-watched or re-masked by an earlier callback of this round: not ours to deliver.
            if (it == FWatchers.end() || it->second != polled[i]) continue;
            watcher = it->second;
            if (revents & POLLNVAL) FWatchers.erase(it);   // closed without unwatching: stop polling it
        }
        unsigned events = 0;
        if (revents & POLLIN) events |= feRead;
        if (revents & POLLOUT) events |= feWrite;
        if (revents & (POLLERR | POLLHUP | POLLNVAL)) events |= feError;
        if ((revents & POLLHUP) && (watcher->Events & feRead)) events |= feRead;
        ++count;
        Deliver([&] { watcher->Callback(watcher->Fd, events); });
    }
    return count;
}

int TEventLoop::DispatchTimers() {
    TimePoint now = Now();
    std::uint64_t roundStart;
    {
        std::lock_guard lock(FMutex);
        roundStart = FNextSequence;
    }
    int count = 0;
    for (;;) {
        std::shared_ptr<Timer> timer;
        {
            std::lock_guard lock(FMutex);
            if (FSchedule.empty()) break;
            auto [due, sequence, id] = *FSchedule.begin();
            if (due > now || sequence >= roundStart) break;   // not due, or set or re-armed in this round
            FSchedule.erase(FSchedule.begin());
            timer = FTimers.at(id);
            if (timer->Kind == TTimerKind::Periodic)
                Schedule(*timer, Now() + std::chrono::milliseconds(timer->IntervalMs));
            else
                FTimers.erase(id);
        }
        ++count;
        Deliver(timer->Callback);   // our reference keeps it alive if it kills its own timer
    }
    return count;
}

int TEventLoop::DispatchTasks() {
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard lock(FMutex);
        batch.swap(FTasks);
    }
    int count = 0;
    while (!batch.empty()) {
        if (IsShutDown()) break;   // the rest is destroyed unrun with the batch
        std::function<void()> task = std::move(batch.front());
        batch.pop_front();
        ++count;
        try {
            Deliver(task);
        } catch (...) {
            std::lock_guard lock(FMutex);
            if (FShutDown) throw;   // shut down meanwhile: the rest is dropped with the batch
            FTasks.insert(FTasks.begin(), std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
            batch.clear();
            throw;
        }
    }
    return count;
}

void TEventLoop::Deliver(const std::function<void()>& call) {
    try {
        call();
    } catch (...) {
        if (!OnException) throw;
        OnException(std::current_exception());
    }
}

}
