// Keyboard tables of the x11 display: X key symbols to Windows virtual keys and to Unicode characters.
#pragma once

namespace korvex::user::x11 {

// The VK_* code of a key symbol (letters, digits, function, cursor and editing keys, modifiers, keypad and
// the OEM punctuation keys of a US layout); 0 for symbols without one (Cyrillic letters among them).
unsigned VirtualKeyFromKeySym(unsigned long keySym);

// The character a key symbol types (Latin-1, Cyrillic and the Unicode symbol range); 0 for none.
char32_t UnicodeFromKeySym(unsigned long keySym);

}
