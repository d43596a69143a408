// TThread: worker threads with interruptible sleep, free-on-terminate and calls onto the UI thread.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <stop_token>
#include <thread>

namespace korvex::os {

// Thread priorities. Mapped to a nice offset from the nice the thread starts with; raising above it needs
// privileges and is silently left out where the system refuses it.
enum TThreadPriority : int {
    tpIdle,   // +19
    tpLowest,   // +10
    tpLower,   // +5
    tpNormal,   // unchanged
    tpHigher,   // -5
    tpHighest,   // -10
    tpTimeCritical,   // -15
};

// The UI side of Synchronize and Queue. The window layer installs one on the UI thread (an event loop through
// TEventLoopDispatcher); tests install their own.
// Post hands a task to the UI thread. It returns false when the dispatcher takes no more tasks. A dispatcher
// either runs each accepted task once or destroys it unrun (at shutdown); it never keeps one forever.
class IUiDispatcher {
public:
    virtual ~IUiDispatcher() = default;
    virtual bool Post(std::function<void()> task) = 0;
};

// Installs the dispatcher and makes the calling thread the UI thread. nullptr uninstalls: every waiting
// Synchronize returns unrun and queued calls are dropped. With no dispatcher installed, Synchronize and Queue
// run the call at once on the calling thread (no UI thread to hand it to: tools, tests, start-up, shut-down).
void SetUiDispatcher(IUiDispatcher* dispatcher);
IUiDispatcher* UiDispatcher();

std::thread::id MainThreadID();   // the thread that ran the program's static initialisation
std::thread::id UiThreadID();   // the thread that installed the dispatcher, else the main thread
bool CurrentThreadIsUi();

// Runs the synchronised and queued calls waiting for the UI thread; call it on the UI thread. Returns whether
// any ran. A queued call's exception comes out of here; the calls behind it stay waiting.
bool CheckSynchronize();

namespace detail {
struct ThreadState;
}

// A handle on a thread that outlives the thread object. The owner of a free-on-terminate thread keeps one
// (taken before Start) to stop and join the thread safely after the object has freed itself:
//     TThreadHandle handle = worker->Handle();  worker->Start();  ...  handle.Terminate();  handle.WaitFor();
class TThreadHandle {
public:
    TThreadHandle() = default;
    explicit operator bool() const { return FState != nullptr; }

    void Terminate();
    bool Terminated() const;
    bool Finished() const;   // Execute returned and a free-on-terminate object is freed

    // Waits until Finished. On the UI thread it runs synchronised calls meanwhile, so a thread that waits in
    // Synchronize cannot deadlock its joiner. Waiting on an empty handle or an unstarted thread returns at once;
    // the thread waiting for itself gets false at once.
    void WaitFor();
    bool WaitFor(int timeoutMs);   // false on time-out

    std::exception_ptr FatalException() const;   // what escaped Execute, else null

private:
    friend class TThread;
    explicit TThreadHandle(std::shared_ptr<detail::ThreadState> state)
        : FState(std::move(state)) { }
    std::shared_ptr<detail::ThreadState> FState;
};

// Derive and override Execute. Execute should check Terminated() between steps and use Sleep(), which returns
// early on Terminate. Rules for ending:
// - Not free-on-terminate: the owner calls Terminate and WaitFor, then deletes. The destructor does both too,
//   but only after the derived part is gone, so a derived class with state that Execute uses stops first.
// - Free-on-terminate: the object deletes itself after Execute; the owner keeps only a TThreadHandle.
class TThread {
public:
    explicit TThread(bool createSuspended);
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Start();   // starts a suspended thread; does nothing once started
    void Resume();   // the same as Start (threads are never suspended once running)
    bool Suspended() const;

    TThreadPriority Priority() const;
    void SetPriority(TThreadPriority value);   // applied now when running, else at the start

    bool FreeOnTerminate() const;
    void SetFreeOnTerminate(bool value);   // set before Start

    void Terminate();
    bool Terminated() const;
    bool Finished() const;
    void WaitFor();
    bool WaitFor(int timeoutMs);

    std::exception_ptr FatalException() const;
    TThreadHandle Handle() const;
    std::thread::id ThreadID() const;

    // Runs fn on the UI thread and waits for it; an exception from fn is raised again here. Runs fn directly
    // on the UI thread or when no dispatcher is installed. Returns false when fn did not run because the
    // dispatcher was shut down or uninstalled meanwhile.
    static bool Synchronize(const std::function<void()>& fn);
    // Hands fn to the UI thread without waiting (directly on the UI thread or without a dispatcher).
    static void Queue(std::function<void()> fn);

protected:
    virtual void Execute() = 0;

    // Sleeps up to ms milliseconds; returns false when woken early by Terminate.
    bool Sleep(int ms);
    // Stopped by Terminate: a wait on another condition variable (std::condition_variable_any) wakes on it.
    std::stop_token StopToken() const;

private:
    static void Run(TThread* self, std::shared_ptr<detail::ThreadState> state);
    void ApplyPriority();

    std::shared_ptr<detail::ThreadState> FState;
};

}
