// Test fixture for the non-client area: a message queue on a fake clock, the headless display, and a window
// class whose procedure records messages and lets a test answer them first.
#pragma once

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Drawing.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/NonClient.h"
#include "platform/user/Painting.h"
#include "platform/user/Screen.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/display/headless/HeadlessDisplay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvex::user::test {

struct Seen {
    HWND Wnd;
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
};

class NonClientFixture : public ::testing::Test {
public:
    static constexpr const char* ClassName = "KorvexNcTest";
    static constexpr const char* NoCloseClassName = "KorvexNcTestNoClose";

    // Answers a message before the default procedure; std::nullopt passes it on.
    using Answer = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;
    Answer OnMessage;
    std::vector<Seen> Log;

protected:
    void SetUp() override {
        Current = this;
        InitMessageQueue([this] { return FNow; }, UiDispatch::No);
        auto display = std::make_unique<HeadlessDisplay>();
        Screen = display.get();
        SetDisplay(std::move(display));
        for (const char* name : {ClassName, NoCloseClassName}) {
            WNDCLASSEX wc;
            wc.lpfnWndProc = &Proc;
            wc.style = CS_DBLCLKS | (name == NoCloseClassName ? CS_NOCLOSE : 0);
            wc.hbrBackground = SysColorBackground(gdi::COLOR_WINDOW);
            wc.lpszClassName = name;
            RegisterClassEx(&wc);
        }
    }

    void TearDown() override {
        ShutdownMessageQueue();
        UnregisterClass(ClassName);
        UnregisterClass(NoCloseClassName);
        ResetDisplay();
        Current = nullptr;
    }

    HWND Create(
        DWORD style, DWORD exStyle, const RECT& bounds, HWND parent = nullptr, const char* className = ClassName) {
        HWND hwnd = CreateWindowEx(exStyle, className, "Caption text", style, bounds.left, bounds.top, bounds.Width(),
            bounds.Height(), parent, nullptr, nullptr, nullptr);
        EXPECT_NE(hwnd, nullptr);
        return hwnd;
    }

    // A shown, active top-level window with everything painted.
    HWND CreateShown(DWORD style, DWORD exStyle, const RECT& bounds) {
        HWND hwnd = Create(style | WS_VISIBLE, exStyle, bounds);
        SetForegroundWindow(hwnd);
        Pump();
        return hwnd;
    }

    void Pump() {
        PumpMessages();
        FlushDisplay();
    }

    void Advance(int ms) { FNow += std::chrono::milliseconds(ms); }

    // Queued mouse moves are merged, so a gesture inside a modal loop injects its next step each time the
    // loop takes a move; then pumps until everything is handled.
    void PlayInLoop(std::vector<std::function<void()>> steps) {
        size_t next = 0;
        SetMessageFilter([&](MSG& msg) {
            const bool move = msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE;
            if (move && InNonClientLoop() && next < steps.size()) steps[next++]();
            return false;
        });
        Pump();
        SetMessageFilter(nullptr);
        while (next < steps.size())
            steps[next++]();   // the loop ended early
        Pump();
    }

    // Pixel of the window's backing store at window coordinates.
    COLORREF WindowPixel(HWND hwnd, int x, int y) {
        const gdi::Bitmap* store = BackingStore(hwnd);
        if (!store) return gdi::CLR_INVALID;
        const POINT offset = BackingStoreOffset(hwnd);
        return store->PixelAt(offset.x + x, offset.y + y) & 0x00FFFFFF;
    }

    std::vector<Seen> Messages(UINT msg) const {
        std::vector<Seen> found;
        for (const Seen& s : Log)
            if (s.Msg == msg) found.push_back(s);
        return found;
    }

    std::vector<WPARAM> SysCommands() const {
        std::vector<WPARAM> found;
        for (const Seen& s : Messages(WM_SYSCOMMAND))
            found.push_back(s.WParam & 0xFFF0);
        return found;
    }

    static RECT Offset(RECT r, int dx, int dy) {
        gdi::OffsetRect(&r, dx, dy);
        return r;
    }

    HeadlessDisplay* Screen = nullptr;

private:
    static LRESULT Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        NonClientFixture* self = Current;
        if (self) {
            self->Log.push_back(Seen {hwnd, msg, wParam, lParam});
            if (self->OnMessage) {
                if (auto answer = self->OnMessage(hwnd, msg, wParam, lParam)) return *answer;
            }
        }
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }

    static inline NonClientFixture* Current = nullptr;
    os::TEventLoop::TimePoint FNow {std::chrono::seconds(1000)};
};

}
