// TEventLoop: descriptors, timers and posted tasks on one thread, the core of the message loop.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <tuple>

namespace korvex::os {

// Readiness flags of a watched descriptor.
enum TFdEvents : unsigned {
    feNone = 0,
    feRead = 1,   // readable, or the peer closed (a read then returns 0)
    feWrite = 2,   // writable
    feError = 4,   // error or hang-up (delivered whatever was asked for); an invalid descriptor is unwatched
};

enum class TTimerKind { Periodic, OneShot };

using TTimerId = std::uint64_t;   // 0 is never a timer

// Callbacks run on the loop thread, without any lock held, so they may watch, unwatch, set and kill timers
// (their own included), post, and run a nested loop. Watching, timers, Post and Quit may be called from any
// thread; the loop is woken when needed. The loop thread is the one that runs RunOnce (at first, the creator).
//
// Within one round: ready descriptors first, then due timers in the order they fall due, then the tasks that
// were posted before the round (in posting order); tasks they post run in the next round.
// An exception from a callback goes to OnException when set; otherwise it leaves RunOnce, and what the round
// had not done yet stays for the next round.
class TEventLoop {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using TClock = std::function<TimePoint()>;
    using TFdCallback = std::function<void(int fd, unsigned events)>;

    explicit TEventLoop(TClock clock = {});   // default: the steady clock; tests pass a fake one
    ~TEventLoop();   // shuts down: pending tasks are destroyed unrun
    TEventLoop(const TEventLoop&) = delete;
    TEventLoop& operator=(const TEventLoop&) = delete;

    TimePoint Now() const;
    bool IsLoopThread() const;

    // Descriptors (level-triggered). Watch replaces an earlier watch of the same descriptor. The loop never
    // closes a descriptor; unwatch it before closing it.
    bool Watch(int fd, unsigned events, TFdCallback callback);
    bool SetEvents(int fd, unsigned events);   // feNone pauses the watch
    void Unwatch(int fd);
    bool Watching(int fd) const;

    // Timers. The interval is at least 1 ms. A periodic timer that fires late fires once, not once for every
    // period missed, and is due again an interval after it fired (as window timers are).
    TTimerId SetTimer(int intervalMs, std::function<void()> callback, TTimerKind kind = TTimerKind::Periodic);
    bool KillTimer(TTimerId id);   // false when no such timer (fired one-shot, killed, unknown)
    bool TimerActive(TTimerId id) const;

    // Tasks. False after Shutdown; the task is then destroyed unrun.
    bool Post(std::function<void()> task);

    // One round: waits up to timeoutMs (< 0: no limit) for something to do, unless work is pending, then does
    // it. Returns how many callbacks ran.
    int RunOnce(int timeoutMs);
    int ProcessPending();   // one round without waiting
    void Run();   // rounds until Quit; a Quit before Run makes it return at once
    void Quit();

    // Stops taking tasks and destroys those not run yet (a Synchronize waiting on one of them returns).
    void Shutdown();
    bool IsShutDown() const;

    std::function<void(std::exception_ptr)> OnException;

private:
    struct Watcher {
        int Fd;
        unsigned Events;
        TFdCallback Callback;
    };
    struct Timer {
        TTimerId Id;
        int IntervalMs;
        TTimerKind Kind;
        TimePoint Due;
        std::uint64_t Sequence;
        std::function<void()> Callback;
    };
    using ScheduleKey = std::tuple<TimePoint, std::uint64_t, TTimerId>;

    void Wake();
    void DrainWake();
    int PollTimeout(int timeoutMs);
    int DispatchDescriptors(int timeoutMs);
    int DispatchTimers();
    int DispatchTasks();
    void Deliver(const std::function<void()>& call);   // hands an exception to OnException, else lets it out
    void Schedule(Timer& timer, TimePoint due);

    TClock FClock;
    int FWakeFd = -1;
    // Set by the wake that wrote to FWakeFd, cleared once the loop has read it: until then a wake writes nothing
    // (the loop is woken already and looks at tasks, timers and watches after clearing it).
    std::atomic<bool> FWakePending {false};
    std::atomic<std::thread::id> FLoopThread;
    std::atomic<bool> FQuit {false};

    mutable std::mutex FMutex;   // guards everything below
    std::map<int, std::shared_ptr<Watcher>> FWatchers;
    std::map<TTimerId, std::shared_ptr<Timer>> FTimers;
    std::set<ScheduleKey> FSchedule;
    TTimerId FNextTimerId = 1;
    std::uint64_t FNextSequence = 1;
    std::deque<std::function<void()>> FTasks;
    bool FShutDown = false;
};

}
