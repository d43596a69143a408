// Test support for the window layer.
#include "UserTestSupport.h"

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/PenBrush.h"
#include "platform/user/Painting.h"

#include <map>

namespace korvex::user::test {

namespace {

std::map<HWND, Handler>& Handlers() {
    static std::map<HWND, Handler> handlers;
    return handlers;
}

std::vector<LoggedMessage>& TheLog() {
    static std::vector<LoggedMessage> log;
    return log;
}

LRESULT TestProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TheLog().push_back({hwnd, msg, wParam, lParam});
    auto it = Handlers().find(hwnd);
    if (it != Handlers().end() && it->second) {
        Handler handler = it->second;
        if (auto answer = handler(hwnd, msg, wParam, lParam)) return *answer;
    }
    if (msg == WM_NCDESTROY) Handlers().erase(hwnd);
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

void RegisterClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASSEX wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = TestProc;
    wc.hbrBackground = gdi::CreateSolidBrush(gdi::RGB(255, 255, 255));
    wc.lpszClassName = TestClass;
    RegisterClassEx(&wc);
    WNDCLASSEX plain;
    plain.lpfnWndProc = TestProc;
    plain.lpszClassName = PlainClass;
    RegisterClassEx(&plain);
}

}   // namespace

void UserTest::SetUp() {
    InitMessageQueue(Clock.Clock(), UiDispatch::Yes);
    auto display = std::make_unique<HeadlessDisplay>();
    Screen = display.get();
    SetDisplay(std::move(display));
    RegisterClasses();
    TheLog().clear();
}

void UserTest::TearDown() {
    ShutdownMessageQueue();
    ResetDisplay();
    Handlers().clear();
    TheLog().clear();
}

HWND UserTest::Create(
    DWORD style, int x, int y, int width, int height, HWND parent, DWORD exStyle, const char* className, int id) {
    HMENU menu = (style & WS_CHILD) ? ChildId(id) : nullptr;
    return CreateWindowEx(exStyle, className, "", style, x, y, width, height, parent, menu, nullptr, nullptr);
}

void UserTest::SetHandler(HWND hwnd, Handler handler) {
    Handlers()[hwnd] = std::move(handler);
}

std::vector<LoggedMessage> UserTest::Log(HWND hwnd) const {
    std::vector<LoggedMessage> out;
    for (const auto& m : TheLog())
        if (!hwnd || m.Hwnd == hwnd) out.push_back(m);
    return out;
}

std::vector<UINT> UserTest::Messages(HWND hwnd) const {
    std::vector<UINT> out;
    for (const auto& m : Log(hwnd))
        out.push_back(m.Msg);
    return out;
}

int UserTest::Count(HWND hwnd, UINT msg) const {
    int n = 0;
    for (const auto& m : Log(hwnd))
        if (m.Msg == msg) ++n;
    return n;
}

void UserTest::ClearLog() {
    TheLog().clear();
}

void UserTest::Advance(int ms) {
    Clock.Advance(ms);
    Screen->AdvanceTimeMs(std::uint64_t(ms));
    PumpMessages();
}

COLORREF StorePixel(HWND hwnd, int x, int y) {
    const gdi::Bitmap* store = BackingStore(hwnd);
    if (!store) return gdi::CLR_INVALID;
    POINT o = BackingStoreOffset(hwnd);
    return store->PixelAt(o.x + x, o.y + y);
}

}
