// Sending and posting messages, registered message numbers, and the procedure-exception handler.
#pragma once

#include "platform/user/MessageIds.h"
#include "platform/user/UserTypes.h"

#include <exception>
#include <functional>
#include <string>
#include <thread>

namespace korvex::user {

// SendMessage calls the window's procedure now and returns its result. The receiver gets the parameters by
// value (a copy); only the result comes back (records pointed to by lParam are shared, as in Windows).
// From another thread the call is carried to the window's thread and waits for it; while waiting, messages
// sent to the waiting thread are still handled. 0 for a dead window or a thread that has shut down.
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Sends without waiting for the answer when the window is on another thread.
bool SendNotifyMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
bool InSendMessage();   // the current procedure call came from another thread's SendMessage

// Posting: any thread; queued for the window's thread. False for a dead window or a shut-down queue.
// HWND_BROADCAST posts to every top-level window.
bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
bool PostThreadMessage(std::thread::id thread, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);   // WM_QUIT comes once the queue holds no posted messages

// The same name gives the same number (0xC000 and up) for the life of the process; empty names give 0.
UINT RegisterWindowMessage(const std::string& name);

// An exception escaping a window procedure (or a timer procedure) stops there: it goes to this handler,
// and the message's result is 0. Without a handler it is written to stderr and dropped.
using WindowProcExceptionHandler = std::function<void(std::exception_ptr)>;
void SetWindowProcExceptionHandler(WindowProcExceptionHandler handler);

// Observes every window procedure call (WH_CALLWNDPROC style): before the procedure runs, with the message as
// the procedure will get it. For the class library's hooks; keep it cheap.
using CallWndProcHook = std::function<void(HWND, UINT, WPARAM, LPARAM)>;
void SetCallWndProcHook(CallWndProcHook hook);

// Message time and position of the message last retrieved by GetMessage or PeekMessage.
DWORD GetMessageTime();
DWORD GetMessagePos();   // screen x in the low word, y in the high word

}
