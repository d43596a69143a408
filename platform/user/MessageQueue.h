// Inside the window layer: a thread's message queue: posted and sent messages, input, timers and its event loop.
#pragma once

#include "platform/os/EventLoop.h"
#include "platform/os/EventLoopDispatcher.h"
#include "platform/user/UserTypes.h"
#include "platform/user/display/Display.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace korvex::user::detail {

// A SendMessage carried to another thread; the sender waits for Done.
struct SentCall {
    HWND Hwnd = nullptr;
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    bool Notify = false;   // nobody waits
    std::mutex Mutex;
    std::condition_variable Cv;
    bool Done = false;
    LRESULT Result = 0;
    void Finish(LRESULT result);
};

struct TimerRecord {
    HWND Hwnd = nullptr;
    std::uintptr_t Id = 0;
    UINT Elapse = 0;
    TIMERPROC Proc = nullptr;
    os::TTimerId LoopTimer = 0;
    bool Pending = false;
    std::uint64_t FiredAt = 0;   // order of firing among pending timers
};

struct ThreadQueue {
    std::thread::id Thread;
    std::unique_ptr<os::TEventLoop> Loop;
    std::unique_ptr<os::TEventLoopDispatcher> Dispatcher;

    // Shared with other threads: under Mutex.
    std::mutex Mutex;
    std::deque<MSG> Posted;
    std::deque<std::shared_ptr<SentCall>> Sent;
    bool QuitPosted = false;
    int QuitCode = 0;
    bool ShutDown = false;

    // The owning thread only.
    std::deque<InputEvent> Input;   // not routed yet
    std::deque<MSG> Routed;   // input turned into messages, waiting for retrieval
    std::map<std::pair<HWND, std::uintptr_t>, TimerRecord> Timers;
    std::uint64_t FireSequence = 0;
    std::uintptr_t NextTimerId = 0x7FF0;
    std::map<DWORD, std::string> KeyTexts;   // key message tag -> the characters it produced
    DWORD NextKeyTag = 1;
    int InSendFromOther = 0;
    int PostedStreak = 0;   // posted messages retrieved in a row while other work may have waited
    MSG Last {};   // last retrieved (GetMessageTime/Pos)

    // Runs the calls other threads sent to this one. Returns how many ran.
    int RunSentCalls();
    bool Wake();   // makes the loop return from its wait
    DWORD NowMs() const;
};

// The calling thread's queue, made on first use (steady clock, no UI dispatcher).
ThreadQueue& CurrentQueue();
std::shared_ptr<ThreadQueue> CurrentQueuePtr();
ThreadQueue* CurrentQueueIfAny();
std::shared_ptr<ThreadQueue> QueueOfThread(std::thread::id thread);

// Posting into a queue from any thread; false when it has shut down.
bool PostToQueue(ThreadQueue& queue, const MSG& msg, bool front = false);

// The display bridge (Screen.cpp): input events for the UI queue.
void QueueInput(const InputEvent& event);
// Turns one input event into messages for Routed (Input.cpp).
void RouteInput(ThreadQueue& queue, const InputEvent& event);

}
