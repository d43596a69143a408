// Inside the window layer: the input state shared by input routing, focus and the display bridge.
#pragma once

#include "platform/user/UserTypes.h"
#include "platform/user/display/Display.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace korvex::user::detail {

struct InputState {
    HWND Focus = nullptr;
    HWND Active = nullptr;
    bool AppActive = false;
    HWND Capture = nullptr;
    HWND Track = nullptr;
    DWORD TrackFlags = 0;
    HCURSOR Cursor = nullptr;
    SurfaceId CursorSurface = 0;
    int CursorCount = 0;
    std::array<BYTE, 256> Keys {};   // as of the last retrieved message: 0x80 down, 0x01 toggled
    std::array<std::atomic<BYTE>, 256> AsyncKeys {};   // now
    std::atomic<int> CursorX {0};
    std::atomic<int> CursorY {0};
    std::atomic<std::uint64_t> LastInputMs {0};
    bool Confined = false;   // ClipCursor's rectangle holds
    RECT Confine {};
    // Double clicks: the last button press.
    HWND LastDownWnd = nullptr;
    MouseButton LastDownButton = MouseButton::None;
    std::uint64_t LastDownMs = 0;
    POINT LastDownPos {};
    bool LastDownClient = false;
    // Alt pressed and released alone (no other key or button between) enters the menu bar.
    bool AltAlone = false;   // Alt is down, nothing else went down since
    bool AltReleasedAlone = false;   // the last release of Alt was such a one
};

InputState& Input();
void SetKeyState(std::array<BYTE, 256>& keys, unsigned vk, bool down);
void SetAsyncKey(unsigned vk, bool down);
void NoteAsyncInput(const InputEvent& event);   // async key and pointer state of an event as it arrives
void ResetInputState();   // everything back to the start (the queue shut down)

}
