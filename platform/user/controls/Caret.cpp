// The caret: creation, showing, moving and blinking by inverting a rectangle of the owner's client area.
#include "platform/user/controls/Caret.h"

#include "platform/gdi/Drawing.h"
#include "platform/user/Painting.h"
#include "platform/user/Timers.h"
#include "platform/user/Window.h"

namespace korvex::user {

namespace {

struct CaretState {
    HWND Owner = nullptr;
    int Width = 1;
    int Height = 1;
    POINT Pos {};
    int HideCount = 1;   // shown while 0
    bool On = false;   // the blink phase: the rectangle is inverted on the screen now
    UINT BlinkMs = 530;
};

CaretState& Caret() {
    thread_local CaretState state;
    return state;
}

RECT CaretRect(const CaretState& c) {
    return RECT {c.Pos.x, c.Pos.y, c.Pos.x + c.Width, c.Pos.y + c.Height};
}

// Inverts the caret's rectangle on the owner (drawing or erasing it).
void Invert(CaretState& c) {
    if (!IsWindow(c.Owner)) return;
    HDC dc = GetDC(c.Owner);
    if (!dc) return;
    RECT r = CaretRect(c);
    gdi::InvertRect(dc, &r);
    ReleaseDC(c.Owner, dc);
}

void Erase(CaretState& c) {
    if (c.On) Invert(c);
    c.On = false;
}

void BlinkTick(HWND hwnd, UINT, std::uintptr_t, DWORD) {
    CaretState& c = Caret();
    if (hwnd != c.Owner || c.HideCount > 0) return;
    Invert(c);
    c.On = !c.On;
}

// Shows the caret now and starts the blink over.
void Restart(CaretState& c) {
    if (!c.Owner || c.HideCount > 0) return;
    if (!c.On) {
        Invert(c);
        c.On = true;
    }
    if (c.BlinkMs != 0 && IsWindow(c.Owner)) SetTimer(c.Owner, CaretTimerId, c.BlinkMs, BlinkTick);
}

}   // namespace

bool CreateCaret(HWND hwnd, HBITMAP, int width, int height) {
    if (!IsWindow(hwnd)) return false;
    DestroyCaret();
    CaretState& c = Caret();
    c.Owner = hwnd;
    c.Width = width > 0 ? width : 1;
    c.Height = height > 0 ? height : 1;
    c.Pos = POINT {0, 0};
    c.HideCount = 1;
    c.On = false;
    return true;
}

bool DestroyCaret() {
    CaretState& c = Caret();
    if (!c.Owner) return false;
    Erase(c);
    if (IsWindow(c.Owner)) KillTimer(c.Owner, CaretTimerId);
    c.Owner = nullptr;
    c.HideCount = 1;
    return true;
}

bool ShowCaret(HWND hwnd) {
    CaretState& c = Caret();
    if (!c.Owner || (hwnd && hwnd != c.Owner)) return false;
    if (c.HideCount > 0 && --c.HideCount == 0) Restart(c);
    return true;
}

bool HideCaret(HWND hwnd) {
    CaretState& c = Caret();
    if (!c.Owner || (hwnd && hwnd != c.Owner)) return false;
    if (c.HideCount++ == 0) {
        Erase(c);
        if (IsWindow(c.Owner)) KillTimer(c.Owner, CaretTimerId);
    }
    return true;
}

bool SetCaretPos(int x, int y) {
    CaretState& c = Caret();
    if (!c.Owner) return false;
    if (c.Pos.x == x && c.Pos.y == y) return true;
    Erase(c);
    c.Pos = POINT {x, y};
    Restart(c);
    return true;
}

bool GetCaretPos(POINT* point) {
    CaretState& c = Caret();
    if (!point || !c.Owner) return false;
    *point = c.Pos;
    return true;
}

bool SetCaretBlinkTime(UINT ms) {
    Caret().BlinkMs = ms;
    return true;
}

UINT GetCaretBlinkTime() {
    return Caret().BlinkMs;
}

void PaintCaret(HWND hwnd, HDC dc) {
    CaretState& c = Caret();
    if (hwnd != c.Owner || c.HideCount > 0 || !c.On || !dc) return;
    RECT r = CaretRect(c);
    gdi::InvertRect(dc, &r);
}

bool IsCaretDrawn(HWND hwnd) {
    const CaretState& c = Caret();
    return hwnd && hwnd == c.Owner && c.HideCount == 0 && c.On;
}

}
