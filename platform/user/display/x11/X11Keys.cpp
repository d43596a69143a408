// Keyboard tables of the x11 display: X key symbols to Windows virtual keys and to Unicode characters.
#include "platform/user/display/x11/X11Keys.h"

#include <X11/keysym.h>

#include <algorithm>
#include <iterator>

namespace korvex::user::x11 {

namespace {

struct KeyPair {
    unsigned long KeySym;
    unsigned VirtualKey;
};

// Sorted by key symbol.
constexpr KeyPair Keys[] = {
    {XK_space, 0x20},
    {XK_quotedbl, 0xDE},   // VK_OEM_7
    {XK_apostrophe, 0xDE},
    {XK_plus, 0xBB},   // VK_OEM_PLUS
    {XK_comma, 0xBC},   // VK_OEM_COMMA
    {XK_minus, 0xBD},   // VK_OEM_MINUS
    {XK_period, 0xBE},   // VK_OEM_PERIOD
    {XK_slash, 0xBF},   // VK_OEM_2
    {XK_colon, 0xBA},   // VK_OEM_1
    {XK_semicolon, 0xBA},
    {XK_less, 0xBC},
    {XK_equal, 0xBB},
    {XK_greater, 0xBE},
    {XK_question, 0xBF},
    {XK_bracketleft, 0xDB},   // VK_OEM_4
    {XK_backslash, 0xDC},   // VK_OEM_5
    {XK_bracketright, 0xDD},   // VK_OEM_6
    {XK_underscore, 0xBD},
    {XK_grave, 0xC0},   // VK_OEM_3
    {XK_braceleft, 0xDB},
    {XK_bar, 0xDC},
    {XK_braceright, 0xDD},
    {XK_asciitilde, 0xC0},
    {XK_ISO_Level3_Shift, 0x12},   // AltGr: VK_MENU
    {XK_ISO_Left_Tab, 0x09},   // Shift+Tab
    {XK_BackSpace, 0x08},
    {XK_Tab, 0x09},
    {XK_Clear, 0x0C},
    {XK_Return, 0x0D},
    {XK_Pause, 0x13},
    {XK_Scroll_Lock, 0x91},
    {XK_Escape, 0x1B},
    {XK_Home, 0x24},
    {XK_Left, 0x25},
    {XK_Up, 0x26},
    {XK_Right, 0x27},
    {XK_Down, 0x28},
    {XK_Prior, 0x21},
    {XK_Next, 0x22},
    {XK_End, 0x23},
    {XK_Print, 0x2C},
    {XK_Insert, 0x2D},
    {XK_Menu, 0x5D},   // VK_APPS
    {XK_Num_Lock, 0x90},
    {XK_KP_Enter, 0x0D},
    {XK_KP_Home, 0x24},
    {XK_KP_Left, 0x25},
    {XK_KP_Up, 0x26},
    {XK_KP_Right, 0x27},
    {XK_KP_Down, 0x28},
    {XK_KP_Prior, 0x21},
    {XK_KP_Next, 0x22},
    {XK_KP_End, 0x23},
    {XK_KP_Begin, 0x0C},   // VK_CLEAR
    {XK_KP_Insert, 0x2D},
    {XK_KP_Delete, 0x2E},
    {XK_KP_Multiply, 0x6A},
    {XK_KP_Add, 0x6B},
    {XK_KP_Separator, 0x6C},
    {XK_KP_Subtract, 0x6D},
    {XK_KP_Decimal, 0x6E},
    {XK_KP_Divide, 0x6F},
    {XK_Shift_L, 0x10},   // Windows reports VK_SHIFT, VK_CONTROL and VK_MENU for either side
    {XK_Shift_R, 0x10},
    {XK_Control_L, 0x11},
    {XK_Control_R, 0x11},
    {XK_Caps_Lock, 0x14},
    {XK_Meta_L, 0x12},
    {XK_Meta_R, 0x12},
    {XK_Alt_L, 0x12},
    {XK_Alt_R, 0x12},
    {XK_Super_L, 0x5B},   // VK_LWIN
    {XK_Super_R, 0x5C},
    {XK_Delete, 0x2E},
};

constexpr bool Sorted() {
    for (size_t i = 1; i < std::size(Keys); ++i)
        if (Keys[i - 1].KeySym >= Keys[i].KeySym) return false;
    return true;
}
static_assert(Sorted());

// Cyrillic key symbols 0x6c0..0x6df (lower case; 0x6e0..0x6ff are their capitals) in keysym order.
constexpr char16_t CyrillicLower[32] = {
    0x44E,
    0x430,
    0x431,
    0x446,
    0x434,
    0x435,
    0x444,
    0x433,
    0x445,
    0x438,
    0x439,
    0x43A,
    0x43B,
    0x43C,
    0x43D,
    0x43E,
    0x43F,
    0x44F,
    0x440,
    0x441,
    0x442,
    0x443,
    0x436,
    0x432,
    0x44C,
    0x44B,
    0x437,
    0x448,
    0x44D,
    0x449,
    0x447,
    0x44A,
};
// 0x6a1..0x6af: Serbian, Macedonian, Ukrainian and Belarusian letters; 0x6b1..0x6bf are their capitals.
constexpr char16_t CyrillicExtra[15] = {
    0x452,
    0x453,
    0x451,
    0x454,
    0x455,
    0x456,
    0x457,
    0x458,
    0x459,
    0x45A,
    0x45B,
    0x45C,
    0x491,
    0x45E,
    0x45F,
};

}

unsigned VirtualKeyFromKeySym(unsigned long keySym) {
    if (keySym >= XK_a && keySym <= XK_z) return unsigned(keySym - XK_a + 'A');
    if (keySym >= XK_A && keySym <= XK_Z) return unsigned(keySym);
    if (keySym >= XK_0 && keySym <= XK_9) return unsigned(keySym);
    if (keySym >= XK_F1 && keySym <= XK_F24) return unsigned(0x70 + keySym - XK_F1);
    if (keySym >= XK_KP_0 && keySym <= XK_KP_9) return unsigned(0x60 + keySym - XK_KP_0);
    auto found = std::lower_bound(std::begin(Keys), std::end(Keys), keySym,
        [](const KeyPair& pair, unsigned long sym) { return pair.KeySym < sym; });
    return found != std::end(Keys) && found->KeySym == keySym ? found->VirtualKey : 0;
}

char32_t UnicodeFromKeySym(unsigned long keySym) {
    if ((keySym >= 0x20 && keySym <= 0x7E) || (keySym >= 0xA0 && keySym <= 0xFF)) return char32_t(keySym);
    if (keySym >= 0x01000100 && keySym <= 0x0110FFFF) return char32_t(keySym - 0x01000000);
    if (keySym >= 0x6C0 && keySym <= 0x6DF) return CyrillicLower[keySym - 0x6C0];
    if (keySym >= 0x6E0 && keySym <= 0x6FF) return char32_t(CyrillicLower[keySym - 0x6E0] - 0x20);
    if (keySym >= 0x6A1 && keySym <= 0x6AF) return CyrillicExtra[keySym - 0x6A1];
    if (keySym == 0x6B0) return 0x2116;   // numero sign
    if (keySym >= 0x6B1 && keySym <= 0x6BF) {
        char16_t lower = CyrillicExtra[keySym - 0x6B1];
        return lower == 0x491 ? 0x490 : char32_t(lower - 0x50);
    }
    // Keypad symbols are 0xFF80 plus their ASCII character.
    if ((keySym >= XK_KP_Multiply && keySym <= XK_KP_9) || keySym == XK_KP_Equal) return char32_t(keySym - 0xFF80);
    switch (keySym) {
    case XK_KP_Space:
        return U' ';
    case XK_BackSpace:
        return U'\b';
    case XK_Tab:
    case XK_KP_Tab:
    case XK_ISO_Left_Tab:
        return U'\t';
    case XK_Return:
    case XK_KP_Enter:
        return U'\r';
    case XK_Escape:
        return 0x1B;
    default:
        return 0;
    }
}

}
