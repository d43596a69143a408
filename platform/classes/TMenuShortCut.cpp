// Shortcut keys: key and modifier bits, their text ("Ctrl+R") and the shortcut of a key message.
#include "platform/classes/TMenu.h"

#include "platform/user/Input.h"
#include "platform/user/MessageIds.h"
#include "platform/user/VirtualKeys.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace korvex::classes {

using namespace user;

namespace {

struct KeyName {
    WORD Key;
    const char* Name;
};

constexpr KeyName KeyNames[] = {{VK_BACK, "BkSp"}, {VK_TAB, "Tab"}, {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"}, {VK_END, "End"}, {VK_HOME, "Home"}, {VK_LEFT, "Left"},
    {VK_UP, "Up"}, {VK_RIGHT, "Right"}, {VK_DOWN, "Down"}, {VK_INSERT, "Ins"}, {VK_DELETE, "Del"}};

std::string KeyText(WORD key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
    if (key >= VK_F1 && key <= VK_F1 + 11) return "F" + std::to_string(key - VK_F1 + 1);
    for (const KeyName& k : KeyNames)
        if (k.Key == key) return k.Name;
    return {};
}

bool StartsNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

}

TShortCut ShortCut(WORD key, TShiftState shift) {
    TShortCut result = TShortCut(key & 0xFF);
    if (shift.Contains(ssShift)) result |= scShift;
    if (shift.Contains(ssCtrl)) result |= scCtrl;
    if (shift.Contains(ssAlt)) result |= scAlt;
    return result;
}

std::string ShortCutToText(TShortCut shortCut) {
    const std::string key = KeyText(WORD(shortCut & 0xFF));
    if (key.empty()) return {};
    std::string text;
    if (shortCut & scShift) text += "Shift+";
    if (shortCut & scCtrl) text += "Ctrl+";
    if (shortCut & scAlt) text += "Alt+";
    return text + key;
}

TShortCut TextToShortCut(std::string_view text) {
    TShortCut modifiers = 0;
    for (;;) {
        if (StartsNoCase(text, "Shift+")) {
            modifiers |= scShift;
            text.remove_prefix(6);
        } else if (StartsNoCase(text, "Ctrl+")) {
            modifiers |= scCtrl;
            text.remove_prefix(5);
        } else if (StartsNoCase(text, "Alt+")) {
            modifiers |= scAlt;
            text.remove_prefix(4);
        } else {
            break;
        }
    }
    if (text.empty()) return scNone;
    for (WORD key = 1; key < 0x100; ++key) {
        const std::string name = KeyText(key);
        if (!name.empty() && name.size() == text.size() && StartsNoCase(text, name)) return TShortCut(key | modifiers);
    }
    return scNone;
}

TShortCut ShortCutFromMessage(const TMessage& message) {
    if (message.Msg != WM_KEYDOWN && message.Msg != WM_SYSKEYDOWN && message.Msg != CN_KEYDOWN
        && message.Msg != CN_SYSKEYDOWN)
        return scNone;
    return ShortCut(WORD(message.WParam), KeyboardStateToShiftState());
}

}
