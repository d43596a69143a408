// Clipboard: text only, through the display (UTF-8 text for CF_TEXT and CF_UNICODETEXT alike).
#pragma once

#include "platform/user/UserTypes.h"

#include <string>

namespace korvex::user {

inline constexpr UINT CF_TEXT = 1;
inline constexpr UINT CF_UNICODETEXT = 13;

// The Windows shape, simplified: data is a UTF-8 string handed over as std::string. OpenClipboard fails while
// another window holds it open.
bool OpenClipboard(HWND owner);
bool CloseClipboard();
bool EmptyClipboard();
bool SetClipboardData(UINT format, const std::string& text);
bool GetClipboardData(UINT format, std::string* text);   // false when no text is there
bool IsClipboardFormatAvailable(UINT format);

// Without opening: the text on the clipboard (empty when none), and replacing it.
std::string GetClipboardText();
bool SetClipboardText(const std::string& text);

}
