// Shared pieces of the x11 tests: a sink recording what a display reports, pumping until a condition holds,
// comparing pictures.
#include "support/X11TestKit.h"
#include "support/ChildProcess.h"

#include "platform/gdi/Bitmap.h"
#include "platform/user/display/x11/X11Display.h"

#include <X11/Xlib.h>
#include <poll.h>

#include <chrono>

namespace korvex::e2e {

bool RecordingSink::Exposed(user::SurfaceId id) const {
    for (const auto& [surface, rect] : Exposes)
        if (surface == id) return true;
    return false;
}

std::string RecordingSink::Describe() const {
    static const char* const kinds[] = {"move", "down", "up", "wheel", "keydown", "keyup", "leave"};
    std::string out;
    for (const auto& in : Inputs)
        out += std::string(kinds[int(in.Kind)]) + " surface=" + std::to_string(in.Surface) + " at "
            + std::to_string(in.ScreenPos.x) + "," + std::to_string(in.ScreenPos.y)
            + " button=" + std::to_string(int(in.Button)) + " wheel=" + std::to_string(in.WheelDelta) + " vk="
            + std::to_string(in.VirtualKey) + " text=" + in.Text + " mods=" + std::to_string(in.Modifiers) + "\n";
    return out;
}

const user::InputEvent* RecordingSink::FindInput(user::InputKind kind, size_t from) const {
    for (size_t i = from; i < Inputs.size(); ++i)
        if (Inputs[i].Kind == kind) return &Inputs[i];
    return nullptr;
}

bool PumpUntil(user::Display& display, const std::function<bool()>& done, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        display.Flush();
        display.Pump();
        if (done()) return true;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p {display.EventFd(), POLLIN, 0};
        poll(&p, 1, int(std::min<long long>(left.count(), 100)));
    }
}

int Differences(const gdi::Bitmap& a, const gdi::Bitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
    int count = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            count += a.PixelAt(x, y) != b.PixelAt(x, y);
    return count;
}

bool Xdotool(const std::string& displayName, const std::vector<std::string>& arguments) {
    std::vector<std::string> argv {"xdotool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return RunProcess(argv, {{"DISPLAY", displayName}}, 60000) == 0;   // generous for a loaded machine
}

XvfbServer* X11Fixture::Server = nullptr;

void X11Fixture::SetUpTestSuite() {
    Server = new XvfbServer();
}

void X11Fixture::TearDownTestSuite() {
    delete Server;
    Server = nullptr;
}

const std::string& X11Fixture::ServerName() {
    return Server->Name();
}

std::unique_ptr<user::Display> X11Fixture::Open(bool sharedMemory) {
    user::X11DisplayOptions options;
    options.Name = Server->Name();
    options.SharedMemory = sharedMemory;
    return user::CreateX11Display(options);
}

void X11Fixture::SetUp() {
    KORVEX_E2E_NEED(Server && Server->Running(), "no Xvfb: " << (Server ? Server->Error() : "no server"));
    Screen = Open();
    ASSERT_TRUE(Screen);
    Screen->SetSink(&Sink);
}

void X11Fixture::TearDown() {
    Screen.reset();
}

void X11Fixture::ShowSurface(user::SurfaceId id, const gdi::RECT& bounds, user::SurfaceKind kind) {
    user::SurfaceOptions options;
    options.Kind = kind;
    options.Bounds = bounds;
    options.Title = "surface " + std::to_string(id);
    ASSERT_TRUE(Screen->CreateSurface(id, options));
    Screen->ShowSurface(id, true);
    ASSERT_TRUE(Pump([&] { return Sink.Exposed(id); }));
}

void SendDeleteWindow(_XDisplay* wm, unsigned long window) {
    XEvent close {};
    close.xclient.type = ClientMessage;
    close.xclient.window = window;
    close.xclient.message_type = XInternAtom(wm, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = long(XInternAtom(wm, "WM_DELETE_WINDOW", False));
    XSendEvent(wm, window, False, 0, &close);
}

}
