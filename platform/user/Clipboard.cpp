// The clipboard: text through the display, with the Windows open/close protocol kept.
#include "platform/user/Clipboard.h"

#include "platform/user/Screen.h"
#include "platform/user/Window.h"

#include <mutex>
#include <optional>

namespace korvex::user {

namespace {

struct ClipboardState {
    bool Open = false;
    HWND Owner = nullptr;
    std::optional<std::string> Pending;   // set while open, written on close
};

ClipboardState& State() {
    static ClipboardState state;
    return state;
}

}   // namespace

bool OpenClipboard(HWND owner) {
    ClipboardState& s = State();
    if (s.Open) return false;
    if (owner && !IsWindow(owner)) return false;
    s.Open = true;
    s.Owner = owner;
    s.Pending.reset();
    return true;
}

bool CloseClipboard() {
    ClipboardState& s = State();
    if (!s.Open) return false;
    if (s.Pending)
        if (Display* display = CurrentDisplay()) display->SetClipboardText(*s.Pending);
    s.Open = false;
    s.Owner = nullptr;
    s.Pending.reset();
    return true;
}

bool EmptyClipboard() {
    ClipboardState& s = State();
    if (!s.Open) return false;
    s.Pending = std::string();
    return true;
}

bool SetClipboardData(UINT format, const std::string& text) {
    ClipboardState& s = State();
    if (!s.Open || (format != CF_TEXT && format != CF_UNICODETEXT)) return false;
    s.Pending = text;
    return true;
}

bool GetClipboardData(UINT format, std::string* text) {
    ClipboardState& s = State();
    if (!s.Open || !text || (format != CF_TEXT && format != CF_UNICODETEXT)) return false;
    std::string value = s.Pending ? *s.Pending : GetClipboardText();
    if (value.empty()) return false;
    *text = value;
    return true;
}

bool IsClipboardFormatAvailable(UINT format) {
    if (format != CF_TEXT && format != CF_UNICODETEXT) return false;
    return !GetClipboardText().empty();
}

std::string GetClipboardText() {
    Display* display = CurrentDisplay();
    return display ? display->ClipboardText() : std::string();
}

bool SetClipboardText(const std::string& text) {
    Display* display = CurrentDisplay();
    if (!display) return false;
    display->SetClipboardText(text);
    return true;
}

}
