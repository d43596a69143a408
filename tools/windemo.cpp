// windemo: a plain window with coloured child panels and a round child, on the x11 or the headless display.
//
//   windemo [--headless-png FILE] [--exit-after MS]
//
// Shown on x11 when $DISPLAY is set (headless otherwise). Prints "READY" with the window's screen rectangle and
// client origin once it is painted, and "WM_LBUTTONDOWN hwnd=<name> x=<x> y=<y>" (client coordinates) for each
// left click ("main" for the main window, else the panel's name). --headless-png renders the same window on
// the headless display, writes it as a PNG and exits.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/PenBrush.h"
#include "platform/gdi/PngCodec.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/Text.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Input.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/Screen.h"
#include "platform/user/Timers.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/display/headless/HeadlessDisplay.h"
#include "tools/ToolUsage.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>

using namespace korvex;
using namespace korvex::user;

namespace {

constexpr const char* MainClass = "KorvexWindowDemo";
constexpr const char* PanelClass = "KorvexWindowDemoPanel";
constexpr const char* Title = "KORVEX window demo";
constexpr std::uintptr_t ExitTimer = 1;
// One family on both displays, so the x11 picture equals the headless one pixel for pixel.
constexpr const char* FontFamily = "DejaVu Sans";

struct Panel {
    COLORREF Color;
    COLORREF TextColor;
};
std::map<HWND, Panel> Panels;
HFONT TextFont = nullptr;

void PaintWindow(HWND hwnd, COLORREF color, COLORREF textColor, const std::string& text, UINT align) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = gdi::CreateSolidBrush(color);
    gdi::FillRect(dc, &client, brush);
    gdi::DeleteObject(brush);
    gdi::HGDIOBJ oldFont = gdi::SelectObject(dc, TextFont);
    gdi::SetBkMode(dc, gdi::TRANSPARENT);
    gdi::SetTextColor(dc, textColor);
    RECT textRect = client;
    gdi::InflateRect(&textRect, -10, -8);
    gdi::DrawText(dc, text, &textRect, align | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX);
    gdi::SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

void LogClick(const std::string& name, LPARAM lParam) {
    std::printf("WM_LBUTTONDOWN hwnd=%s x=%d y=%d\n", name.c_str(), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    std::fflush(stdout);
}

LRESULT PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        const Panel& panel = Panels[hwnd];
        PaintWindow(hwnd, panel.Color, panel.TextColor, GetWindowText(hwnd), gdi::DT_CENTER | gdi::DT_VCENTER);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;   // WM_PAINT covers everything
    case WM_LBUTTONDOWN:
        LogClick(GetWindowText(hwnd), lParam);
        return 0;
    case WM_NCDESTROY:
        Panels.erase(hwnd);
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

LRESULT MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        PaintWindow(hwnd, gdi::RGB(0xF0, 0xF0, 0xE8), gdi::RGB(0x20, 0x20, 0x20), "Окно KORVEX: щёлкните панель",
            gdi::DT_RIGHT | gdi::DT_BOTTOM);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        LogClick("main", lParam);
        return 0;
    case WM_TIMER:
        if (wParam == ExitTimer) DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

bool RegisterClasses() {
    WNDCLASSEX wc;
    wc.lpfnWndProc = MainProc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = MainClass;
    if (!RegisterClassEx(&wc)) return false;
    wc.lpfnWndProc = PanelProc;
    wc.lpszClassName = PanelClass;
    return RegisterClassEx(&wc) != 0;
}

HWND AddPanel(HWND parent, const char* name, int x, int y, int width, int height, COLORREF color, COLORREF text) {
    HWND panel = CreateWindowEx(0, PanelClass, name, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width, height,
        parent, nullptr, nullptr, nullptr);
    if (panel) {
        Panels[panel] = Panel {color, text};
        InvalidateRect(panel, nullptr, true);
    }
    return panel;
}

HWND CreateDemoWindow() {
    HWND main = CreateWindowEx(0, MainClass, Title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 100, 80, 360, 260, nullptr,
        nullptr, nullptr, nullptr);
    if (!main) return nullptr;
    AddPanel(main, "red", 10, 10, 100, 60, gdi::RGB(0xD0, 0x30, 0x30), gdi::RGB(255, 255, 255));
    AddPanel(main, "green", 120, 10, 100, 60, gdi::RGB(0x30, 0xA0, 0x40), gdi::RGB(255, 255, 255));
    AddPanel(main, "blue", 230, 10, 100, 60, gdi::RGB(0x30, 0x50, 0xC0), gdi::RGB(255, 255, 255));
    // A child cut to an ellipse: its corners show the parent and hit the parent.
    HWND round = AddPanel(main, "round", 10, 90, 140, 80, gdi::RGB(0xF0, 0xA0, 0x20), gdi::RGB(0, 0, 0));
    if (round) SetWindowRgn(round, gdi::CreateEllipticRgn(0, 0, 140, 80), true);
    ShowWindow(main, SW_SHOWNORMAL);
    UpdateWindow(main);
    return main;
}

void PrintReady(HWND main) {
    RECT window;
    GetWindowRect(main, &window);
    POINT client {0, 0};
    ClientToScreen(main, &client);
    std::printf("READY window=%d,%d,%d,%d client=%d,%d display=%s\n", window.left, window.top, window.right,
        window.bottom, client.x, client.y, CurrentDisplay()->Name());
    std::fflush(stdout);
}

const char* const Usage = "usage: windemo [--headless-png FILE] [--exit-after MS]\n";

}

int main(int argc, char** argv) {
    std::string pngPath;
    long exitAfterMs = 0;
    if (tools::AsksForUsage(argc, argv)) return tools::ShowUsage(Usage, true);
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--headless-png") && i + 1 < argc)
            pngPath = argv[++i];
        else if (!std::strcmp(argv[i], "--exit-after") && i + 1 < argc)
            exitAfterMs = std::strtol(argv[++i], nullptr, 10);
        else
            return tools::ShowUsage(Usage, false);
    }

    InitMessageQueue();
    if (!pngPath.empty()) SetDisplay(std::make_unique<HeadlessDisplay>());
    if (pngPath.empty() && ShowsOnNoScreen()) {
        std::fprintf(stderr, "windemo: no X display (DISPLAY is not set or the X server cannot be reached)\n");
        ShutdownMessageQueue();
        return 1;
    }
    gdi::SetPinnedFontFamily(FontFamily);
    TextFont = gdi::CreateFont(-13, 0, 0, 0, gdi::FW_NORMAL, 0, 0, 0, gdi::DEFAULT_CHARSET, 0, 0, 0, 0, FontFamily);
    if (!RegisterClasses()) return 1;
    HWND main = CreateDemoWindow();
    if (!main) {
        std::fprintf(stderr, "windemo: the window could not be created\n");
        return 1;
    }
    PumpMessages();
    FlushDisplay();

    if (!pngPath.empty()) {
        RECT window;
        GetWindowRect(main, &window);
        auto* headless = static_cast<HeadlessDisplay*>(CurrentDisplay());
        bool written = headless->WriteScreenshotPng(pngPath, &window);
        DestroyWindow(main);
        ShutdownMessageQueue();
        if (!written) std::fprintf(stderr, "windemo: %s could not be written\n", pngPath.c_str());
        return written ? 0 : 1;
    }

    PrintReady(main);
    if (exitAfterMs > 0) SetTimer(main, ExitTimer, UINT(exitAfterMs), nullptr);
    int code = RunMessageLoop();
    ShutdownMessageQueue();
    gdi::DeleteObject(TextFont);
    return code;
}
