// Messages: delivery rules, posting and peeking, the loop, threads, registered numbers, contained exceptions.
#include "support/UserTestSupport.h"

#include "platform/os/Thread.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/Timers.h"
#include "platform/user/WinPos.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace korvex::user::test {

namespace {

using Delivery = UserTest;

TEST_F(Delivery, SendMessageGivesTheReceiverACopyAndOnlyTheResultComesBack) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    SetHandler(w, [](HWND, UINT m, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
        if (m != WM_USER) return std::nullopt;
        wp = 99;   // the receiver's own copy
        lp = 99;
        return LRESULT(wp + WPARAM(lp));
    });
    WPARAM wParam = 1;
    LPARAM lParam = 2;
    EXPECT_EQ(SendMessage(w, WM_USER, wParam, lParam), 198);
    EXPECT_EQ(wParam, 1u);
    EXPECT_EQ(lParam, 2);
}

TEST_F(Delivery, ARecordPassedByPointerIsSharedSoTheReceiversAnswerComesBack) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    SetHandler(w, [](HWND, UINT m, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
        if (m == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(lp)->cx = 77;   // by reference
        return std::nullopt;
    });
    SetWindowPos(w, nullptr, 0, 0, 40, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(WindowRect(w).Width(), 77);
}

TEST_F(Delivery, AnExceptionInAProcedureGoesToTheHandlerAndTheResultIsZero) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    SetHandler(w, [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER) throw std::runtime_error("boom");
        return std::nullopt;
    });
    std::string caught;
    SetWindowProcExceptionHandler([&](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const std::exception& ex) {
            caught = ex.what();
        }
    });
    EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 0);
    PostMessage(w, WM_USER, 0, 0);
    Pump();   // the loop goes on
    SetWindowProcExceptionHandler(nullptr);
    EXPECT_EQ(caught, "boom");
    EXPECT_EQ(Count(w, WM_USER), 2);
}

TEST_F(Delivery, TheCallHookSeesEveryProcedureCall) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    int seen = 0;
    SetCallWndProcHook([&](HWND h, UINT m, WPARAM, LPARAM) {
        if (h == w && m == WM_USER + 1) ++seen;
    });
    SendMessage(w, WM_USER + 1, 0, 0);
    SetCallWndProcHook(nullptr);
    SendMessage(w, WM_USER + 1, 0, 0);
    EXPECT_EQ(seen, 1);
}

using Queue = UserTest;

TEST_F(Queue, PeekMessageWithoutRemovalFindsAQueuedMessageAndLeavesIt) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    MSG msg;
    EXPECT_FALSE(PeekMessage(&msg, w, 0xBCB3, 0xBCB4, PM_NOREMOVE));
    PostMessage(w, 0xBCB3, 0, 5);
    ASSERT_TRUE(PeekMessage(&msg, w, 0xBCB3, 0xBCB4, PM_NOREMOVE));
    EXPECT_EQ(msg.message, 0xBCB3u);
    EXPECT_EQ(msg.lParam, 5);
    ASSERT_TRUE(PeekMessage(&msg, w, 0xBCB3, 0xBCB4, PM_REMOVE));
    EXPECT_FALSE(PeekMessage(&msg, w, 0xBCB3, 0xBCB4, PM_NOREMOVE));
}

TEST_F(Queue, FiltersSelectByWindowAndRangeKeepingTheOthersInOrder) {
    HWND a = Create(WS_POPUP, 0, 0, 10, 10);
    HWND b = Create(WS_POPUP, 0, 0, 10, 10);
    PostMessage(a, WM_USER + 1, 0, 0);
    PostMessage(b, WM_USER + 2, 0, 0);
    PostMessage(a, WM_USER + 3, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, b, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 2);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER + 3, WM_USER + 3, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, a);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1);
}

TEST_F(Queue, QuitEndsTheLoopWithItsCodeAfterThePostedMessages) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    PostQuitMessage(3);
    PostMessage(w, WM_USER, 0, 0);
    EXPECT_EQ(RunMessageLoop(), 3);
    EXPECT_EQ(Count(w, WM_USER), 1);
}

TEST_F(Queue, TheMessageFilterCanSwallowAMessage) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    SetMessageFilter([](MSG& m) { return m.message == WM_USER; });
    PostMessage(w, WM_USER, 0, 0);
    PostMessage(w, WM_USER + 1, 0, 0);
    Pump();
    SetMessageFilter(nullptr);
    EXPECT_EQ(Count(w, WM_USER), 0);
    EXPECT_EQ(Count(w, WM_USER + 1), 1);
}

// A window that answers every WM_USER by posting another keeps the posted queue full for ever: input, paint
// and timers still get their turn within a bounded number of posted messages, and the pump says it stopped
// at its bound.
TEST_F(Queue, AWindowThatKeepsPostingToItselfDoesNotShutOutInputPaintOrTimers) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 10, 10, 60, 40);
    ASSERT_TRUE(Pump());
    SetHandler(w, [](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_USER) return std::nullopt;
        PostMessage(h, WM_USER, 0, 0);
        return 0;
    });
    PostMessage(w, WM_USER, 0, 0);
    SetTimer(w, 1, 10, nullptr);
    Clock.Advance(10);   // due, but only the event loop's round finds that out
    InvalidateRect(w, nullptr, false);
    Screen->Click(30, 30);
    ClearLog();
    std::vector<UINT> others;
    MSG msg;
    for (int i = 0; i < 300 && GetMessage(&msg, nullptr, 0, 0) > 0; ++i) {
        if (msg.message != WM_USER && msg.hwnd == w) others.push_back(msg.message);
        ProcessMessage(msg);
    }
    auto seen = [&](UINT m) { return std::find(others.begin(), others.end(), m) != others.end(); };
    EXPECT_TRUE(seen(WM_LBUTTONDOWN));
    EXPECT_TRUE(seen(WM_LBUTTONUP));
    EXPECT_TRUE(seen(WM_PAINT));
    EXPECT_TRUE(seen(WM_TIMER));
    bool hitLimit = false;
    PumpMessages(&hitLimit);
    EXPECT_TRUE(hitLimit);
    KillTimer(w, 1);
    SetHandler(w, nullptr);
    EXPECT_TRUE(Pump());
}

TEST_F(Queue, PostedMessagesStillComeBeforeInputWhenTheyAreFew) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 10, 10, 60, 40);
    ASSERT_TRUE(Pump());
    Screen->Click(30, 30);
    for (int i = 0; i < 10; ++i)
        PostMessage(w, WM_USER, WPARAM(i), 0);
    ClearLog();
    ASSERT_TRUE(Pump());
    std::vector<UINT> order;
    for (UINT m : Messages(w))
        if (m == WM_USER || m == WM_LBUTTONDOWN) order.push_back(m);
    ASSERT_EQ(order.size(), 11u);
    EXPECT_EQ(order.back(), UINT(WM_LBUTTONDOWN));
}

TEST_F(Queue, ThreadMessagesAreRetrievedWithoutAWindow) {
    PostThreadMessage(std::this_thread::get_id(), WM_USER + 9, 4, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.wParam, 4u);
    EXPECT_EQ(DispatchMessage(&msg), 0);
}

TEST(RegisteredMessages, TheSameNameGivesTheSameNumberFromC000) {
    UINT a = RegisterWindowMessage("TaskbarCreated");
    UINT b = RegisterWindowMessage("taskbarcreated");
    UINT c = RegisterWindowMessage("SM_SKINCMD");
    EXPECT_GE(a, 0xC000u);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

using Threads = UserTest;

// Runs the loop until done or a real-time bound passes.
template <class Done>
void PumpUntil(Done done) {
    auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < limit) {
        PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

TEST_F(Threads, PostMessageFromAWorkerArrivesOnTheWindowsThread) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    std::thread::id seenOn;
    SetHandler(w, [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER) seenOn = std::this_thread::get_id();
        return std::nullopt;
    });
    std::thread worker([w] {
        for (int i = 0; i < 100; ++i)
            PostMessage(w, WM_USER, WPARAM(i), 0);
    });
    worker.join();
    PumpUntil([&] { return Count(w, WM_USER) == 100; });
    EXPECT_EQ(Count(w, WM_USER), 100);
    EXPECT_EQ(seenOn, std::this_thread::get_id());
    auto log = Log(w);
    WPARAM expected = 0;
    for (const auto& m : log) {
        if (m.Msg != WM_USER) continue;
        EXPECT_EQ(m.WParam, expected);
        ++expected;
    }
}

TEST_F(Threads, SendMessageFromAWorkerRunsOnTheWindowsThreadAndWaitsForTheResult) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    std::thread::id uiThread = std::this_thread::get_id();
    SetHandler(w, [&](HWND, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_USER) return std::nullopt;
        return std::this_thread::get_id() == uiThread && InSendMessage() ? LRESULT(wp * 2) : -1;
    });
    std::atomic<LRESULT> result {0};
    std::atomic<bool> done {false};
    std::thread worker([&] {
        result = SendMessage(w, WM_USER, 21, 0);
        done = true;
    });
    PumpUntil([&] { return done.load(); });
    worker.join();
    EXPECT_EQ(result.load(), 42);
}

TEST_F(Threads, SynchronizeRunsThroughTheLoopOnTheUiThread) {
    std::thread::id uiThread = std::this_thread::get_id();
    std::atomic<bool> ranOnUi {false};
    std::atomic<bool> done {false};
    std::thread worker([&] {
        os::TThread::Synchronize([&] { ranOnUi = std::this_thread::get_id() == uiThread; });
        done = true;
    });
    PumpUntil([&] { return done.load(); });
    worker.join();
    EXPECT_TRUE(ranOnUi);
}

TEST_F(Threads, PostingToAShutDownQueueFailsAndAWaitingSendReturns) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    ShutdownMessageQueue();
    EXPECT_FALSE(PostMessage(w, WM_USER, 0, 0));
    std::thread worker([w] { EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 0); });
    worker.join();
}

}   // namespace

}
