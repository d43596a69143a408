// Keyboard tables of the x11 display: key symbols to virtual keys and to characters.
#include "platform/user/display/x11/X11Keys.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <cstdio>
#include <string>

using korvex::user::x11::UnicodeFromKeySym;
using korvex::user::x11::VirtualKeyFromKeySym;

struct KeyCase {
    unsigned long KeySym;
    unsigned VirtualKey;
};

class VirtualKeyFromKeySymTable : public ::testing::TestWithParam<KeyCase> { };

TEST_P(VirtualKeyFromKeySymTable, GivesTheWindowsCode) {
    EXPECT_EQ(VirtualKeyFromKeySym(GetParam().KeySym), GetParam().VirtualKey) << std::hex << GetParam().KeySym;
}

INSTANTIATE_TEST_SUITE_P(Keys, VirtualKeyFromKeySymTable,
    ::testing::Values(KeyCase {XK_a, 'A'}, KeyCase {XK_Z, 'Z'}, KeyCase {XK_0, '0'}, KeyCase {XK_9, '9'},
        KeyCase {XK_F1, 0x70}, KeyCase {XK_F12, 0x7B}, KeyCase {XK_F24, 0x87}, KeyCase {XK_Left, 0x25},
        KeyCase {XK_Down, 0x28}, KeyCase {XK_Home, 0x24}, KeyCase {XK_End, 0x23}, KeyCase {XK_Prior, 0x21},
        KeyCase {XK_Next, 0x22}, KeyCase {XK_Insert, 0x2D}, KeyCase {XK_Delete, 0x2E}, KeyCase {XK_BackSpace, 0x08},
        KeyCase {XK_Tab, 0x09}, KeyCase {XK_ISO_Left_Tab, 0x09}, KeyCase {XK_Return, 0x0D}, KeyCase {XK_KP_Enter, 0x0D},
        KeyCase {XK_Escape, 0x1B}, KeyCase {XK_space, 0x20}, KeyCase {XK_Shift_R, 0x10}, KeyCase {XK_Control_L, 0x11},
        KeyCase {XK_Alt_L, 0x12}, KeyCase {XK_ISO_Level3_Shift, 0x12}, KeyCase {XK_KP_0, 0x60}, KeyCase {XK_KP_9, 0x69},
        KeyCase {XK_KP_Home, 0x24}, KeyCase {XK_KP_Add, 0x6B}, KeyCase {XK_semicolon, 0xBA}, KeyCase {XK_colon, 0xBA},
        KeyCase {XK_equal, 0xBB}, KeyCase {XK_comma, 0xBC}, KeyCase {XK_minus, 0xBD}, KeyCase {XK_period, 0xBE},
        KeyCase {XK_slash, 0xBF}, KeyCase {XK_grave, 0xC0}, KeyCase {XK_bracketleft, 0xDB},
        KeyCase {XK_backslash, 0xDC}, KeyCase {XK_bracketright, 0xDD}, KeyCase {XK_apostrophe, 0xDE}),
    [](const auto& info) {
        char name[24];
        std::snprintf(name, sizeof name, "KeySym%lX", info.param.KeySym);
        return std::string(name);
    });

TEST(VirtualKeyFromKeySym, SymbolsWithoutAKeyCodeGiveZero) {
    for (unsigned long sym :
        std::initializer_list<unsigned long> {XK_Cyrillic_ef, XK_exclam, XK_at, XK_eacute, 0ul, 0xFFFFFFul})
        EXPECT_EQ(VirtualKeyFromKeySym(sym), 0u) << std::hex << sym;
}

TEST(UnicodeFromKeySym, CoversLatinOneCyrillicAndTheUnicodeRange) {
    EXPECT_EQ(UnicodeFromKeySym(XK_a), U'a');
    EXPECT_EQ(UnicodeFromKeySym(XK_asciitilde), U'~');
    EXPECT_EQ(UnicodeFromKeySym(XK_eacute), U'é');
    EXPECT_EQ(UnicodeFromKeySym(XK_Cyrillic_a), U'а');
    EXPECT_EQ(UnicodeFromKeySym(XK_Cyrillic_YA), U'Я');
    EXPECT_EQ(UnicodeFromKeySym(XK_Cyrillic_yu), U'ю');
    EXPECT_EQ(UnicodeFromKeySym(XK_Cyrillic_HARDSIGN), U'Ъ');
    EXPECT_EQ(UnicodeFromKeySym(XK_Cyrillic_io), U'ё');
    EXPECT_EQ(UnicodeFromKeySym(XK_Cyrillic_IO), U'Ё');
    EXPECT_EQ(UnicodeFromKeySym(XK_Ukrainian_ghe_with_upturn), U'ґ');
    EXPECT_EQ(UnicodeFromKeySym(XK_Ukrainian_GHE_WITH_UPTURN), U'Ґ');
    EXPECT_EQ(UnicodeFromKeySym(XK_Ukrainian_I), U'І');
    EXPECT_EQ(UnicodeFromKeySym(XK_numerosign), U'№');
    EXPECT_EQ(UnicodeFromKeySym(0x010020AC), U'€');   // a Unicode key symbol
    EXPECT_EQ(UnicodeFromKeySym(XK_KP_7), U'7');
    EXPECT_EQ(UnicodeFromKeySym(XK_KP_Multiply), U'*');
    EXPECT_EQ(UnicodeFromKeySym(XK_Return), U'\r');
}

TEST(UnicodeFromKeySym, KeysWithoutCharactersGiveZero) {
    for (unsigned long sym :
        std::initializer_list<unsigned long> {XK_F1, XK_Left, XK_Shift_L, XK_Delete, XK_KP_Home, 0x7Ful, 0x9Ful, 0ul})
        EXPECT_EQ(UnicodeFromKeySym(sym), 0u) << std::hex << sym;
}
