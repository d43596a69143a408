// The headless display's notification area: icon slots in a window on its bottom panel, their mouse input.
#include "platform/user/display/headless/HeadlessTray.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/TrayCore.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <algorithm>

namespace korvex::user {

namespace detail {

namespace {

constexpr const char* AreaClass = "KorvexHeadlessTray";
constexpr COLORREF PanelColor = gdi::RGB(0x2B, 0x2F, 0x36);
constexpr COLORREF EdgeColor = gdi::RGB(0x45, 0x4B, 0x55);

LRESULT AreaProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return HeadlessTrayHost::Instance().WndProc(hwnd, msg, wParam, lParam);
}

}   // namespace

HeadlessTrayHost& HeadlessTrayHost::Instance() {
    static HeadlessTrayHost* host = new HeadlessTrayHost();   // lives to the end of the process
    return *host;
}

HeadlessTrayHost::~HeadlessTrayHost() {
    TrayHostDestroyed(this);
}

HWND HeadlessTrayHost::Window() const {
    return FWindow != nullptr && IsWindow(FWindow) ? FWindow : nullptr;
}

bool HeadlessTrayHost::EnsureWindow() {
    if (Window() != nullptr) return true;
    WNDCLASSEX existing;
    if (!GetClassInfoEx(AreaClass, &existing)) {
        WNDCLASSEX wc;
        wc.lpfnWndProc = AreaProc;
        wc.lpszClassName = AreaClass;
        RegisterClassEx(&wc);
    }
    FWindow = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, AreaClass, "", WS_POPUP, 0, 0, 1, 1,
        nullptr, nullptr, nullptr, nullptr);
    FTracked = 0;
    return FWindow != nullptr;
}

void HeadlessTrayHost::Layout() {
    if (FSlots.empty()) {
        if (Window() != nullptr) ShowWindow(FWindow, SW_HIDE);
        return;
    }
    if (!EnsureWindow()) return;
    int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    RECT area = gdi::Rect(0, 0, screenW, screenH);
    SystemParametersInfo(SPI_GETWORKAREA, 0, &area);
    int width = int(FSlots.size()) * SlotPitch + 4, height = SlotSize + 4;
    int panel = screenH - area.bottom;
    int y = panel >= height ? area.bottom + (panel - height) / 2 : screenH - height;
    SetWindowPos(FWindow, HWND_TOPMOST, screenW - width - 4, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(FWindow, nullptr, false);
}

bool HeadlessTrayHost::Dock(TrayIconId id) {
    if (!FPresent) return false;
    auto found = std::find_if(FSlots.begin(), FSlots.end(), [id](const Slot& s) { return s.Id == id; });
    if (found == FSlots.end()) {
        Slot slot;
        slot.Id = id;
        FSlots.push_back(std::move(slot));
    }
    Layout();
    return true;
}

void HeadlessTrayHost::Undock(TrayIconId id) {
    std::erase_if(FSlots, [id](const Slot& s) { return s.Id == id; });
    if (FTracked == id) FTracked = 0;
    Layout();
}

void HeadlessTrayHost::SetPicture(TrayIconId id, const gdi::Bitmap* picture) {
    for (Slot& slot : FSlots)
        if (slot.Id == id) {
            slot.Picture.Reset(picture != nullptr ? picture->Clone() : nullptr);
            if (Window() != nullptr) InvalidateRect(FWindow, nullptr, false);
        }
}

bool HeadlessTrayHost::IconRect(TrayIconId id, RECT* rect) const {
    if (Window() == nullptr || rect == nullptr) return false;
    for (size_t i = 0; i < FSlots.size(); ++i) {
        if (FSlots[i].Id != id) continue;
        RECT window {};
        GetWindowRect(FWindow, &window);
        int left = window.left + 2 + int(i) * SlotPitch + 2;
        *rect = gdi::Rect(left, window.top + 2, left + SlotSize, window.top + 2 + SlotSize);
        return true;
    }
    return false;
}

void HeadlessTrayHost::SetPresent(bool present) {
    if (present == FPresent) return;
    FPresent = present;
    if (!present) {
        FSlots.clear();
        FTracked = 0;
        if (Window() != nullptr) DestroyWindow(FWindow);
        FWindow = nullptr;
        if (FSink != nullptr) FSink->OnTrayGone();
    } else if (FSink != nullptr) {
        FSink->OnTrayAppeared();
    }
}

int HeadlessTrayHost::SlotAt(int clientX) const {
    int slot = (clientX - 2) / SlotPitch;
    return clientX >= 2 && slot < int(FSlots.size()) ? slot : -1;
}

void HeadlessTrayHost::Report(int slot, InputKind kind, MouseButton button, LPARAM lParam) {
    if (FSink == nullptr) return;
    InputEvent event;
    event.Kind = kind;
    event.Button = button;
    POINT p = LParamToPoint(lParam);
    ClientToScreen(FWindow, &p);
    event.ScreenPos = p;
    event.TimeMs = GetMessageTime();
    TrayIconId id = slot >= 0 ? FSlots[size_t(slot)].Id : FTracked;
    if (kind == InputKind::MouseMove && id != FTracked) {
        if (FTracked != 0) {
            InputEvent leave = event;
            leave.Kind = InputKind::Leave;
            FSink->OnIconInput(FTracked, leave);
        }
        FTracked = id;
        TRACKMOUSEEVENT tme;
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = FWindow;
        TrackMouseEvent(&tme);
    }
    if (id != 0) FSink->OnIconInput(id, event);
    if (kind == InputKind::Leave) FTracked = 0;
}

LRESULT HeadlessTrayHost::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    int x = GET_X_LPARAM(lParam);
    switch (msg) {
    case WM_PAINT: {
        PaintGuard paint(hwnd);
        HDC dc = paint.Dc();
        detail::PaintFramedClient(hwnd, dc, PanelColor, EdgeColor);
        if (hwnd == FWindow)
            for (size_t i = 0; i < FSlots.size(); ++i)
                DrawTrayPicture(dc, 2 + int(i) * SlotPitch + 2, 2, FSlots[i].Picture.Get());
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
        Report(SlotAt(x), InputKind::MouseMove, MouseButton::None, lParam);
        return 0;
    case WM_MOUSELEAVE:
        Report(-1, InputKind::Leave, MouseButton::None, lParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        int slot = SlotAt(x);
        if (slot < 0) return 0;
        bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
        MouseButton button = (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP) ? MouseButton::Left
            : (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP)                ? MouseButton::Right
                                                                            : MouseButton::Middle;
        Report(slot, down ? InputKind::ButtonDown : InputKind::ButtonUp, button, lParam);
        return 0;
    }
    case WM_NCDESTROY:
        if (hwnd == FWindow) {
            FWindow = nullptr;
            FTracked = 0;
        }
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}   // namespace detail

void SetHeadlessTrayPresent(bool present) {
    detail::HeadlessTrayHost::Instance().SetPresent(present);
}

bool HeadlessTrayPresent() {
    return detail::HeadlessTrayHost::Instance().Present();
}

HWND HeadlessTrayWindow() {
    return detail::HeadlessTrayHost::Instance().Window();
}

}
