// UTF-8 decoding and encoding, tolerant of broken sequences.
#include "platform/base/Utf8.h"

#include <cstdint>
#include <cstring>

namespace korvex::base {

char32_t Utf8DecodeNext(std::string_view s, std::size_t& pos) {
    if (pos >= s.size()) return ReplacementCharacter;
    auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char lead = byteAt(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length;
    char32_t c;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
        minimum = 0x10000;
    } else {   // continuation byte, overlong lead C0/C1, or F5..FF
        ++pos;
        return ReplacementCharacter;
    }
    if (s.size() - pos < length) {
        ++pos;
        return ReplacementCharacter;
    }
    for (std::size_t i = 1; i < length; ++i) {
        unsigned char next = byteAt(pos + i);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return ReplacementCharacter;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return ReplacementCharacter;
    }
    pos += length;
    return c;
}

std::size_t Utf8Length(std::string_view s) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < s.size(); ++count) {
        // ASCII, most of any text, eight bytes at a time.
        std::uint64_t eight = 0;
        while (pos + 8 <= s.size() && (std::memcpy(&eight, s.data() + pos, 8), (eight & 0x8080808080808080u) == 0)) {
            pos += 8;
            count += 8;
        }
        if (pos >= s.size()) break;
        if (static_cast<unsigned char>(s[pos]) < 0x80)
            ++pos;
        else
            Utf8DecodeNext(s, pos);
    }
    return count;
}

std::size_t Utf8ByteOffset(std::string_view s, std::size_t index) {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < index && pos < s.size(); ++i)
        Utf8DecodeNext(s, pos);
    return pos;
}

std::string Utf8Left(std::string_view s, std::size_t count) {
    return std::string(s.substr(0, Utf8ByteOffset(s, count)));
}

void Utf8Append(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = ReplacementCharacter;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Utf8Encode(char32_t codePoint) {
    std::string result;
    Utf8Append(result, codePoint);
    return result;
}

bool Utf8IsValid(std::string_view s) {
    std::size_t pos = 0;
    while (pos < s.size()) {
        std::size_t start = pos;
        if (Utf8DecodeNext(s, pos) == ReplacementCharacter && pos - start == 1) return false;
    }
    return true;
}

}
