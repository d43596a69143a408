// Rich edit control: class name, messages, records, character format flags and event masks (Windows values).
#pragma once

#include "platform/user/UserTypes.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/EditConstants.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace korvex::user {

// The rich edit answers the EDIT messages too (EditConstants.h), with the same counting of characters.
inline constexpr const char* RICHEDIT_CLASS = "RICHEDIT20A";

inline constexpr UINT EM_EXGETSEL = WM_USER + 52;   // lParam: CHARRANGE*
inline constexpr UINT EM_EXLIMITTEXT = WM_USER + 53;   // lParam: maximum characters (0: the default)
inline constexpr UINT EM_EXLINEFROMCHAR = WM_USER + 54;   // lParam: character
inline constexpr UINT EM_EXSETSEL = WM_USER + 55;   // lParam: const CHARRANGE*; result: the new end
inline constexpr UINT EM_GETCHARFORMAT = WM_USER + 58;   // wParam: SCF_SELECTION or SCF_DEFAULT; lParam: CHARFORMAT*
inline constexpr UINT EM_GETEVENTMASK = WM_USER + 59;
inline constexpr UINT EM_GETSELTEXT = WM_USER + 62;   // lParam: char* big enough (4 bytes a character + 1)
inline constexpr UINT EM_HIDESELECTION = WM_USER + 63;   // wParam: hide
inline constexpr UINT EM_SETBKGNDCOLOR = WM_USER + 67;   // wParam: use the system colour; lParam: COLORREF
inline constexpr UINT EM_SETCHARFORMAT = WM_USER + 68;   // wParam: SCF_*; lParam: const CHARFORMAT*
inline constexpr UINT EM_SETEVENTMASK = WM_USER + 69;   // lParam: ENM_*; result: the old mask
inline constexpr UINT EM_STREAMIN = WM_USER + 73;   // wParam: SF_* (| SFF_SELECTION); lParam: EDITSTREAM*
inline constexpr UINT EM_GETTEXTRANGE = WM_USER + 75;   // lParam: TEXTRANGE*; result: characters copied
inline constexpr UINT EM_GETSCROLLPOS = WM_USER + 221;   // lParam: POINT* (pixels)
inline constexpr UINT EM_SETSCROLLPOS = WM_USER + 222;   // lParam: const POINT*

// Rich edit style beside the EDIT ones: scroll bars stay shown (disabled) when the text fits.
inline constexpr DWORD ES_DISABLENOSCROLL = 0x00002000;

// Notifications beside the EDIT ones.
inline constexpr WORD EN_SELCHANGE = 0x0702;   // WM_NOTIFY with SELCHANGE

// Event mask: which notifications the rich edit sends (none by default, as Windows).
inline constexpr DWORD ENM_NONE = 0x00000000;
inline constexpr DWORD ENM_CHANGE = 0x00000001;
inline constexpr DWORD ENM_UPDATE = 0x00000002;
inline constexpr DWORD ENM_SCROLL = 0x00000004;
inline constexpr DWORD ENM_SELCHANGE = 0x00080000;

struct CHARRANGE {
    LONG cpMin = 0;
    LONG cpMax = 0;   // -1: the end of the text
};

struct TEXTRANGE {
    CHARRANGE chrg;
    char* lpstrText = nullptr;   // UTF-8; must hold 4 bytes per character of the range + 1
};

// Sent for EN_SELCHANGE (WM_NOTIFY); the header's code is EN_SELCHANGE.
struct SELCHANGE {
    NMHDR nmhdr;
    CHARRANGE chrg;
    WORD seltyp = 0;
};

// Character formats
inline constexpr int LF_FACESIZE = 32;
struct CHARFORMAT {
    UINT cbSize = sizeof(CHARFORMAT);
    DWORD dwMask = 0;   // CFM_*: the fields that count
    DWORD dwEffects = 0;   // CFE_*
    LONG yHeight = 0;   // twips (1/1440 inch)
    LONG yOffset = 0;
    COLORREF crTextColor = 0;
    BYTE bCharSet = 0;
    BYTE bPitchAndFamily = 0;
    char szFaceName[LF_FACESIZE] = {};   // UTF-8
};
struct CHARFORMAT2 : CHARFORMAT {
    CHARFORMAT2() { cbSize = sizeof(CHARFORMAT2); }
    WORD wWeight = 0;
    short sSpacing = 0;
    COLORREF crBackColor = 0;
};

inline constexpr DWORD CFM_BOLD = 0x00000001;
inline constexpr DWORD CFM_ITALIC = 0x00000002;
inline constexpr DWORD CFM_UNDERLINE = 0x00000004;
inline constexpr DWORD CFM_STRIKEOUT = 0x00000008;
inline constexpr DWORD CFM_PROTECTED = 0x00000010;
inline constexpr DWORD CFM_WEIGHT = 0x00400000;   // CHARFORMAT2
inline constexpr DWORD CFM_BACKCOLOR = 0x04000000;   // CHARFORMAT2
inline constexpr DWORD CFM_CHARSET = 0x08000000;
inline constexpr DWORD CFM_OFFSET = 0x10000000;
inline constexpr DWORD CFM_FACE = 0x20000000;
inline constexpr DWORD CFM_COLOR = 0x40000000;
inline constexpr DWORD CFM_SIZE = 0x80000000;
inline constexpr DWORD CFM_EFFECTS = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_COLOR | CFM_STRIKEOUT | CFM_PROTECTED;
inline constexpr DWORD CFM_ALL = CFM_EFFECTS | CFM_SIZE | CFM_FACE | CFM_OFFSET | CFM_CHARSET;

inline constexpr DWORD CFE_BOLD = 0x00000001;
inline constexpr DWORD CFE_ITALIC = 0x00000002;
inline constexpr DWORD CFE_UNDERLINE = 0x00000004;
inline constexpr DWORD CFE_STRIKEOUT = 0x00000008;
inline constexpr DWORD CFE_PROTECTED = 0x00000010;
inline constexpr DWORD CFE_AUTOBACKCOLOR = 0x04000000;   // the control's background
inline constexpr DWORD CFE_AUTOCOLOR = 0x40000000;   // the window text colour

// EM_SETCHARFORMAT / EM_GETCHARFORMAT targets
inline constexpr WPARAM SCF_DEFAULT = 0x0000;   // the default format (text without a format of its own)
inline constexpr WPARAM SCF_SELECTION = 0x0001;
inline constexpr WPARAM SCF_WORD = 0x0002;
inline constexpr WPARAM SCF_ALL = 0x0004;

// Streams. The callback fills buffer with up to size bytes, sets *done to the count and answers 0 to go on;
// 0 bytes ends the stream, a non-zero answer stops it (kept in dwError).
using EDITSTREAMCALLBACK = DWORD (*)(std::uintptr_t cookie, BYTE* buffer, LONG size, LONG* done);
struct EDITSTREAM {
    std::uintptr_t dwCookie = 0;
    DWORD dwError = 0;
    EDITSTREAMCALLBACK pfnCallback = nullptr;
};
inline constexpr WPARAM SF_TEXT = 0x0001;
inline constexpr WPARAM SF_RTF = 0x0002;   // text that is not RTF is read as plain text
inline constexpr WPARAM SFF_SELECTION = 0x8000;   // replace the selection instead of the whole text

// Our own: the bytes [Begin, End) of a shared text go in as EM_STREAMIN's plain text would, its lines left where
// they lie rather than copied (the control keeps the text while it shows any of it). wParam: SF_TEXT (|
// SFF_SELECTION); lParam: const SHAREDTEXT*; result: the characters read.
inline constexpr UINT EM_STREAMINSHARED = WM_USER + 0x700;
struct SHAREDTEXT {
    std::shared_ptr<const std::string> Text;
    std::size_t Begin = 0;
    std::size_t End = 0;
};

// Registers the rich edit class (once; later calls return true).
bool RegisterRichEditClass();

}
