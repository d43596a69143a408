// Tests of the UTF-8 helpers with Cyrillic text and broken sequences.
#include "platform/base/Utf8.h"

#include <gtest/gtest.h>

#include <string>

using namespace korvex::base;

TEST(Utf8Length, CountsCodePointsNotBytes) {
    EXPECT_EQ(Utf8Length(""), 0u);
    EXPECT_EQ(Utf8Length("Host OK"), 7u);
    EXPECT_EQ(Utf8Length("Хост"), 4u);
    EXPECT_EQ(Utf8Length("a€😀"), 3u);
    // Long ASCII runs with sequences at every place of an eight-byte group.
    for (std::size_t at = 0; at < 20; ++at) {
        std::string text(24, 'x');
        text.insert(at, "Х\x80€");
        EXPECT_EQ(Utf8Length(text), 27u) << at;
    }
}

TEST(Utf8Length, CountsEachInvalidByteAsOne) {
    EXPECT_EQ(Utf8Length("\x80\x80"), 2u);   // stray continuation bytes
    EXPECT_EQ(Utf8Length("Х\xD0"), 2u);   // truncated at the end
    EXPECT_EQ(Utf8Length("\xE2\x82"
                         "a"),
        3u);   // truncated in the middle
    EXPECT_EQ(Utf8Length("\xC0\xAF"), 2u);   // overlong slash
    EXPECT_EQ(Utf8Length("\xED\xA0\x80"), 3u);   // surrogate
    EXPECT_EQ(Utf8Length("\xF4\x90\x80\x80"), 4u);   // above U+10FFFF
    EXPECT_EQ(Utf8Length("\xFF\xFE"), 2u);
}

TEST(Utf8DecodeNext, DecodesAndAdvancesOneByteOverInvalidInput) {
    std::string text = "Я\xC3"
                       "b";
    std::size_t pos = 0;
    EXPECT_EQ(Utf8DecodeNext(text, pos), U'Я');
    EXPECT_EQ(pos, 2u);
    EXPECT_EQ(Utf8DecodeNext(text, pos), ReplacementCharacter);
    EXPECT_EQ(pos, 3u);
    EXPECT_EQ(Utf8DecodeNext(text, pos), U'b');
    EXPECT_EQ(pos, 4u);
    EXPECT_EQ(Utf8DecodeNext(text, pos), ReplacementCharacter);
    EXPECT_EQ(pos, 4u);
}

TEST(Utf8Left, NeverSplitsASequence) {
    EXPECT_EQ(Utf8Left("Сервис", 3), "Сер");
    EXPECT_EQ(Utf8Left("Сервис", 0), "");
    EXPECT_EQ(Utf8Left("Сервис", 100), "Сервис");
    EXPECT_EQ(Utf8Left("a\xFF"
                       "б",
                  2),
        "a\xFF");
}

TEST(Utf8ByteOffset, MapsCodePointIndexToBytes) {
    EXPECT_EQ(Utf8ByteOffset("aЖb", 0), 0u);
    EXPECT_EQ(Utf8ByteOffset("aЖb", 1), 1u);
    EXPECT_EQ(Utf8ByteOffset("aЖb", 2), 3u);
    EXPECT_EQ(Utf8ByteOffset("aЖb", 3), 4u);
    EXPECT_EQ(Utf8ByteOffset("aЖb", 9), 4u);
}

TEST(Utf8Encode, RoundTripsEveryLengthAndReplacesInvalidCodePoints) {
    for (char32_t c : {U'A', U'ё', U'€', U'😀', char32_t(0x10FFFF)}) {
        std::string bytes = Utf8Encode(c);
        std::size_t pos = 0;
        EXPECT_EQ(Utf8DecodeNext(bytes, pos), c);
        EXPECT_EQ(pos, bytes.size());
    }
    EXPECT_EQ(Utf8Encode(0xD800), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8Encode(0x110000), "\xEF\xBF\xBD");
}

TEST(Utf8IsValid, AcceptsWellFormedTextOnly) {
    EXPECT_TRUE(Utf8IsValid(""));
    EXPECT_TRUE(Utf8IsValid("Статус неизвестен.\r\nНет новых WU..."));
    EXPECT_TRUE(Utf8IsValid("\xEF\xBF\xBD"));   // an encoded replacement character is valid
    EXPECT_FALSE(Utf8IsValid("\xC1\xBF"));
    EXPECT_FALSE(Utf8IsValid("ok\xE0\x80\x80"));
    EXPECT_FALSE(Utf8IsValid("\xF0\x9F\x98"));
}
