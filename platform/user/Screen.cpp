// The display in use and the bridge that turns its reports into window-layer events.
#include "platform/user/Screen.h"

#include "platform/user/DropFiles.h"
#include "platform/user/InputState.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/WindowObject.h"
#include "platform/user/display/headless/HeadlessDisplay.h"

#include <cstdlib>
#include <string_view>

namespace korvex::user {

using detail::WindowObject;

namespace {

WindowObject* WindowOfSurface(SurfaceId id) {
    if (!id) return nullptr;
    for (WindowObject* top : detail::Desktop()->Children)
        if (top->Top && top->Top->Surface == id) return top;
    return nullptr;
}

struct DisplayHost final : DisplaySink {
    std::unique_ptr<Display> Current;
    std::weak_ptr<detail::ThreadQueue> Queue;   // the UI thread's, which pumps the display
    int WatchedFd = -1;

    void OnInput(const InputEvent& event) override {
        detail::NoteAsyncInput(event);
        auto queue = Queue.lock();
        if (!queue) return;
        // Pointer motion folds into the motion still waiting, as Windows folds WM_MOUSEMOVE.
        if (event.Kind == InputKind::MouseMove && !queue->Input.empty()
            && queue->Input.back().Kind == InputKind::MouseMove)
            queue->Input.back() = event;
        else
            queue->Input.push_back(event);
    }
    void OnExpose(SurfaceId surface, const gdi::RECT& rect) override {
        if (WindowObject* top = WindowOfSurface(surface)) detail::MarkDirty(top, gdi::BandedRegion(rect));
    }
    void OnCloseRequest(SurfaceId surface) override {
        if (WindowObject* top = WindowOfSurface(surface)) PostMessage(top->Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    void OnMovedByUser(SurfaceId surface, const gdi::RECT& bounds) override {
        WindowObject* top = WindowOfSurface(surface);
        if (!top || (top->Style & WS_MINIMIZE)) return;
        detail::SetWindowPosInternal(top, nullptr, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
            SWP_NOZORDER | SWP_NOACTIVATE, false);
    }
    void OnStateChanged(SurfaceId surface, SurfaceState state) override {
        WindowObject* top = WindowOfSurface(surface);
        if (!top) return;
        HWND hwnd = top->Handle;
        if (state == SurfaceState::Minimized && !IsIconic(hwnd))
            ShowWindow(hwnd, SW_MINIMIZE);
        else if (state == SurfaceState::Maximized && !IsZoomed(hwnd))
            ShowWindow(hwnd, SW_MAXIMIZE);
        else if (state == SurfaceState::Normal && (IsIconic(hwnd) || IsZoomed(hwnd)))
            ShowWindow(hwnd, SW_RESTORE);
    }
    void OnFocusChanged(SurfaceId surface, bool focused) override {
        WindowObject* top = WindowOfSurface(surface);
        if (focused) {
            if (top && top->Visible() && top->Enabled()) detail::ActivateWindow(top, WA_ACTIVE, true);
        } else if (top && detail::ActiveWindowObject() == top) {
            detail::ActivateWindow(nullptr, WA_INACTIVE, true);
        }
    }

    bool AcceptsFilesAt(SurfaceId, gdi::POINT point) override { return user::AcceptsFilesAt(point); }
    void OnFilesDropped(SurfaceId, gdi::POINT point, const std::vector<std::string>& names) override {
        // Delivered from the loop, not from inside the display's event handling.
        if (auto queue = Queue.lock()) queue->Loop->Post([point, names] { DropFilesAt(point, names); });
    }

    void Install(std::unique_ptr<Display> display) {
        Drop();
        Current = std::move(display);
        if (!Current) return;
        auto queue = detail::CurrentQueuePtr();
        Queue = queue;
        Current->SetSink(this);
        WatchedFd = Current->EventFd();
        if (WatchedFd >= 0) {
            Display* d = Current.get();
            queue->Loop->Watch(WatchedFd, os::feRead, [d](int, unsigned) { d->Pump(); });
        }
    }
    void Drop() {
        if (!Current) return;
        if (WatchedFd >= 0)
            if (auto queue = Queue.lock()) queue->Loop->Unwatch(WatchedFd);
        WatchedFd = -1;
        Current->SetSink(nullptr);
        Current.reset();
    }
};

DisplayHost& Host() {
    static DisplayHost host;
    return host;
}

}   // namespace

void SetDisplay(std::unique_ptr<Display> display) {
    Host().Install(std::move(display));
}

Display* CurrentDisplay() {
    DisplayHost& host = Host();
    if (!host.Current) {
        std::unique_ptr<Display> display = CreateDefaultDisplay();
        if (!display) display = std::make_unique<HeadlessDisplay>();
        host.Install(std::move(display));
    }
    return host.Current.get();
}

void ResetDisplay() {
    Host().Drop();
}

bool ShowsOnNoScreen() {
    const char* choice = std::getenv("KORVEX_DISPLAY");
    return std::string_view(CurrentDisplay()->Name()) == "headless"
        && !(choice && std::string_view(choice) == "headless");
}

}
