// TEditMask: parsing the mask syntax, fitting characters to slots, Text and EditText conversions.
#include "platform/classes/EditMask.h"

#include <gtest/gtest.h>

using namespace korvex::classes;

namespace {

std::string Shown(const TEditMask& mask, const std::string& text, bool asEditText = false) {
    std::u32string in = ToCodePoints(text);
    return FromCodePoints(asEditText ? mask.FromEditText(in) : mask.FromText(in));
}

TEST(EditMask, ParsesFieldsDirectivesAndEscapes) {
    struct Case {
        const char* mask;
        int length;
        bool save;
        char32_t blank;
        const char* blankText;
    };
    const Case cases[] = {
        {"AAAAAA;1; ", 6, true, U' ', "      "},
        {">AA\\-99;0;_", 5, false, U'_', "__-__"},
        {"(999)000-0000;1;_", 13, true, U'_', "(___)___-____"},
        {"!00/00/0000", 10, true, U'_', "__.__.____"},   // the date separator is '.'
        {"00:00;1;*", 5, true, U'*', "**:**"},
        {"L_l", 3, true, U'_', "_ _"},
        {"\\;0\\\\;0", 3, false, U'_', ";_\\"},   // escaped ';' and '\' are literals
        {"000;", 3, true, U'_', "___"},
        {"000;1;", 3, true, U'_', "___"},
        {"<>cc\\", 2, true, U'_', "__"},   // a trailing '\' escapes nothing
        {"", 0, true, U'_', ""},
    };
    for (const Case& c : cases) {
        TEditMask mask(c.mask);
        EXPECT_EQ(mask.Length(), c.length) << c.mask;
        EXPECT_EQ(mask.SaveLiterals(), c.save) << c.mask;
        EXPECT_EQ(mask.BlankChar(), c.blank) << c.mask;
        EXPECT_EQ(FromCodePoints(mask.Blank()), c.blankText) << c.mask;
        EXPECT_EQ(mask.IsMasked(), c.length > 0) << c.mask;
    }
}

TEST(EditMask, EachMaskCharacterAcceptsItsClassShiftedToItsCase) {
    struct Case {
        const char* mask;
        char32_t typed;
        char32_t fitted;   // 0: refused
    };
    const Case cases[] = {
        {"L", U'q', U'q'}, {"L", U'7', 0}, {"L", U' ', 0}, {"l", U' ', U'_'}, {"L", U'ж', U'ж'},
        {"A", U'7', U'7'}, {"A", U'z', U'z'}, {"A", U'-', 0}, {"a", U'_', U'_'},
        {"C", U'-', U'-'}, {"C", U'\t', 0}, {"c", U' ', U'_'},
        {"0", U'5', U'5'}, {"0", U'x', 0}, {"0", U' ', 0}, {"9", U' ', U'_'}, {"9", U'+', 0},
        {"#", U'+', U'+'}, {"#", U'-', U'-'}, {"#", U'3', U'3'}, {"#", U'a', 0},
        {">L", U'q', U'Q'}, {">L", U'ж', U'Ж'}, {"<L", U'Q', U'q'}, {"><L", U'Q', U'q'}, {"<>L", U'Q', U'Q'},
        {">A", U'7', U'7'}, {"-", U'-', 0}, {"\\L", U'L', 0},
    };
    for (const Case& c : cases) {
        TEditMask mask(c.mask);
        int slot = mask.NextEditable(0);
        char32_t got = slot < mask.Length() ? mask.Fit(slot, c.typed) : 0;
        EXPECT_EQ(got, c.fitted) << c.mask << " typed U+" << std::hex << unsigned(c.typed);
    }
}

TEST(EditMask, EditableSlotsSkipLiteralsBothWays) {
    TEditMask mask("(00)-0");
    EXPECT_EQ(mask.NextEditable(0), 1);
    EXPECT_EQ(mask.NextEditable(3), 5);
    EXPECT_EQ(mask.NextEditable(6), 6);
    EXPECT_EQ(mask.PrevEditable(5), 2);
    EXPECT_EQ(mask.PrevEditable(1), -1);
    EXPECT_EQ(mask.PrevEditable(99), 5);
    EXPECT_FALSE(mask.IsEditable(-1));
    EXPECT_FALSE(mask.IsEditable(6));
}

TEST(EditMask, TextAndEditTextConvertBothWays) {
    TEditMask saved("(999)000;1;_");
    EXPECT_EQ(Shown(saved, "(12 )345"), "(12_)345");   // laid over slot by slot, a space is a blank
    EXPECT_EQ(Shown(saved, "(12)345"), "(12_)45_");   // no resynchronising at literals
    EXPECT_EQ(Shown(saved, "(1x3)4"), "(1_3)4__");   // what a slot refuses becomes blank
    EXPECT_EQ(FromCodePoints(saved.ToText(ToCodePoints("(12_)345"))), "(12 )345");
    TEditMask bare(">LL-00;0;*");
    EXPECT_EQ(Shown(bare, "ab12"), "AB-12");   // only the editable slots take the characters
    EXPECT_EQ(Shown(bare, "ab12", true), "AB-2*");   // the edit text keeps its positions
    EXPECT_EQ(Shown(bare, "a"), "A*-**");
    EXPECT_EQ(FromCodePoints(bare.ToText(ToCodePoints("A*-*2"))), "A  2");
    EXPECT_EQ(FromCodePoints(bare.ToText(ToCodePoints("A"))), "A   ");   // a short edit text reads blank
    TEditMask cyrillic("LLL;0; ");
    EXPECT_EQ(Shown(cyrillic, "Жук"), "Жук");
}

TEST(EditMask, FirstInvalidNamesABlankRequiredOrAWrongSlot) {
    TEditMask mask("(999)000-0000;1;_");
    struct Case {
        const char* editText;
        int invalid;
    };
    const Case cases[] = {
        {"(___)555-1234", -1},   // optional slots may stay blank
        {"(12_)555-12_4", 11},
        {"(___)_55-1234", 5},
        {"(1x_)555-1234", 2},
        {"(___)555", 9},   // short: what is missing is blank
    };
    for (const Case& c : cases)
        EXPECT_EQ(mask.FirstInvalid(ToCodePoints(c.editText)), c.invalid) << c.editText;
    EXPECT_EQ(TEditMask("").FirstInvalid(U"anything"), -1);
}

}
