// TEditMask: parsing the mask syntax, fitting characters to slots, Text and EditText conversions.
#include "platform/classes/EditMask.h"

#include <gtest/gtest.h>

using namespace korvex::classes;

namespace {

TEST(EditMask, ParsesFieldsDirectivesAndEscapes) {
    struct Case {
        const char* mask;
        bool save;
        const char* blank;   // the shown text with nothing typed
    };
    const Case cases[] = {
        {"AAAAAA;1; ", true, "      "},
        {">AA\\-99;0;_", false, "__-__"},
        {"!00/00 00:00;1;*", true, "**.** **:**"},   // the date and time separators
        {"L_l", true, "_ _"},
        {"\\;0\\\\;0", false, ";_\\"},   // escaped ';' and '\' are literals
        {"000;1;", true, "___"},
        {"<>cc\\", true, "__"},   // a trailing '\' escapes nothing
        {"", true, ""},
    };
    for (const Case& c : cases) {
        TEditMask mask(c.mask);
        EXPECT_EQ(mask.SaveLiterals(), c.save) << c.mask;
        EXPECT_EQ(FromCodePoints(mask.Blank()), c.blank) << c.mask;
        EXPECT_EQ(mask.Length(), int(ToCodePoints(c.blank).size())) << c.mask;
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
        {"A", U'7', U'7'}, {"A", U'-', 0}, {"C", U'-', U'-'}, {"C", U'\t', 0},
        {"0", U'5', U'5'}, {"0", U'x', 0}, {"9", U' ', U'_'}, {"#", U'+', U'+'}, {"#", U'a', 0},
        {">L", U'ж', U'Ж'}, {"<L", U'Q', U'q'}, {"<>L", U'Q', U'Q'}, {"\\L", U'L', 0},
    };
    for (const Case& c : cases) {
        TEditMask mask(c.mask);
        EXPECT_EQ(mask.Fit(mask.NextEditable(0), c.typed), c.fitted) << c.mask << " U+" << std::hex << unsigned(c.typed);
    }
}

TEST(EditMask, TextAndEditTextConvertBothWays) {
    auto shown = [](const TEditMask& mask, const char* text, bool editText = false) {
        return FromCodePoints(editText ? mask.FromEditText(ToCodePoints(text)) : mask.FromText(ToCodePoints(text)));
    };
    TEditMask saved("(999)000;1;_");
    EXPECT_EQ(shown(saved, "(12 )345"), "(12_)345");   // slot by slot, a space is a blank
    EXPECT_EQ(shown(saved, "(12)345"), "(12_)45_");   // no resynchronising at literals
    EXPECT_EQ(FromCodePoints(saved.ToText(U"(12_)345")), "(12 )345");
    TEditMask bare(">LL-00;0;*");
    EXPECT_EQ(shown(bare, "ab12"), "AB-12");   // only the editable slots take the characters
    EXPECT_EQ(shown(bare, "ab12", true), "AB-2*");
    EXPECT_EQ(FromCodePoints(bare.ToText(U"A*-*2")), "A  2");
    EXPECT_EQ(FromCodePoints(bare.ToText(U"A")), "A   ");   // a short edit text reads blank
}

TEST(EditMask, FirstInvalidNamesABlankRequiredOrAWrongSlot) {
    TEditMask mask("(999)000-0000;1;_");
    EXPECT_EQ(mask.FirstInvalid(U"(___)555-1234"), -1);   // optional slots may stay blank
    EXPECT_EQ(mask.FirstInvalid(U"(12_)555-12_4"), 11);
    EXPECT_EQ(mask.FirstInvalid(U"(1x_)555-1234"), 2);
    EXPECT_EQ(mask.FirstInvalid(U"(___)555"), 9);   // short: what is missing is blank
    EXPECT_EQ(TEditMask("").FirstInvalid(U"anything"), -1);
}

}
