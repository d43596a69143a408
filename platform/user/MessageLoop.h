// The message queue and loop of a thread: retrieving, translating and dispatching messages on an event loop.
#pragma once

#include "platform/os/EventLoop.h"
#include "platform/user/Messages.h"

#include <functional>

namespace korvex::user {

// Each thread that uses windows has a queue, made on first use (or by InitMessageQueue). It runs on an
// os::TEventLoop, which also serves descriptors, timers and cross-thread calls. Order of retrieval: messages
// sent from other threads (handled inside), posted messages, input, WM_QUIT, WM_PAINT (while some update
// region is not empty), WM_TIMER. Posted messages go first only for a bounded run: after that the event loop
// runs a round and input, paint and timers go first until none is left, so no message cycle shuts input
// out. Changes to window pictures are presented on the display before the loop waits.

enum class UiDispatch { No, Yes };

// Makes the calling thread's queue with a clock (fake clocks for tests; empty: the steady clock). With
// UiDispatch::Yes the thread becomes the UI thread: TThread::Synchronize and Queue run through its loop.
// An existing queue is shut down first (as ShutdownMessageQueue).
void InitMessageQueue(os::TEventLoop::TClock clock = {}, UiDispatch dispatch = UiDispatch::Yes);
// Destroys the thread's windows, kills its timers, drops its messages and shuts its loop down.
void ShutdownMessageQueue();
// The event loop under the calling thread's queue (for sockets and the class library's own timers).
os::TEventLoop& MessageEventLoop();

// GetMessage waits for a message matching the filter (hwnd nullptr: any window of the thread, and thread
// messages; min = max = 0: any number). Returns 1 for a message, 0 for WM_QUIT, -1 for a bad window filter.
int GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
// PeekMessage does not wait. PM_NOREMOVE leaves the message queued (so a caller can ask whether one is there).
bool PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
bool WaitMessage();   // waits until something is queued
// WM_KEYDOWN/WM_SYSKEYDOWN: posts WM_CHAR/WM_SYSCHAR for each character the key produced. True when it did.
bool TranslateMessage(const MSG* msg);
// Calls the window's procedure (WM_TIMER with a TIMERPROC calls that). Thread messages are dropped.
LRESULT DispatchMessage(const MSG* msg);

// The class library's application hook: called by every loop of this layer (RunMessageLoop, PumpMessages and
// the modal loops of moving, sizing and menus) for each retrieved message before translation; true means
// handled (neither translated nor dispatched).
using MessageFilter = std::function<bool(MSG&)>;
void SetMessageFilter(MessageFilter filter);
bool CallMessageFilter(MSG& msg);
// One message through the filter, TranslateMessage and DispatchMessage.
void ProcessMessage(MSG& msg);

// GetMessage and ProcessMessage until WM_QUIT; returns its exit code.
int RunMessageLoop();
// Handles everything that is pending without waiting (event loop round, messages, paints, due timers), then
// presents the changes. Returns how many messages were handled (at most 10000 a call). Stops early at
// WM_QUIT, which stays queued. hitLimit, when given, tells whether it stopped at its bound with work still
// coming (a message cycle) rather than with nothing left.
int PumpMessages(bool* hitLimit = nullptr);
// Presents every changed backing store on the display now.
void FlushDisplay();

}
