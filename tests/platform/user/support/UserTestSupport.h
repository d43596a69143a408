// Test support for the window layer: a headless display, a fake clock, and a recording test window class.
#pragma once

#include "platform/os/EventLoop.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Screen.h"
#include "platform/user/Window.h"
#include "platform/user/display/headless/HeadlessDisplay.h"
#include "tests/platform/os/support/FakeClock.h"
#include "tests/platform/user/support/PumpSettled.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvex::user::test {

using os::test::FakeClock;

struct LoggedMessage {
    HWND Hwnd;
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
};

// Per-window handler: return a value to answer, nullopt to go on to DefWindowProc.
using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

inline constexpr const char* TestClass = "KorvexTestWindow";   // CS_DBLCLKS, white background
inline constexpr const char* PlainClass = "KorvexPlainWindow";   // no double clicks, no background

// Fresh queue with a fake clock and a fresh headless display for every test; windows are destroyed after it.
class UserTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A window of the test class; messages are logged and handed to the handler first.
    HWND Create(DWORD style, int x, int y, int width, int height, HWND parent = nullptr, DWORD exStyle = 0,
        const char* className = TestClass, int id = 0);
    void SetHandler(HWND hwnd, Handler handler);
    std::vector<LoggedMessage> Log(HWND hwnd = nullptr) const;   // nullptr: all windows
    std::vector<UINT> Messages(HWND hwnd) const;
    int Count(HWND hwnd, UINT msg) const;
    void ClearLog();

    ::testing::AssertionResult Pump() { return PumpSettled(); }   // fails on a message cycle
    void Advance(int ms);   // moves the queue clock and the display clock, then pumps

    HeadlessDisplay* Screen = nullptr;
    FakeClock Clock;
};

// The colour of a pixel of the backing store holding hwnd, at a point of hwnd's window coordinates.
COLORREF StorePixel(HWND hwnd, int x, int y);

}
