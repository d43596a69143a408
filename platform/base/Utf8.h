// UTF-8 helpers: counting, cutting, indexing, decoding and encoding code points.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korvex::base {

inline constexpr char32_t ReplacementCharacter = 0xFFFD;

// Every routine below is robust to broken input: a byte that does not start a valid sequence (a stray
// continuation byte, a truncated or overlong sequence, a surrogate, a value above U+10FFFF) counts as one
// code point, decoded as ReplacementCharacter.

// Utf8DecodeNext: the code point starting at byte pos; pos moves past it (by one byte for an invalid one).
// Returns ReplacementCharacter and leaves pos alone when pos is at or past the end.
char32_t Utf8DecodeNext(std::string_view s, std::size_t& pos);
// Number of code points.
std::size_t Utf8Length(std::string_view s);
// Byte offset of code point index (0-based); the byte length when index is at or past the end.
std::size_t Utf8ByteOffset(std::string_view s, std::size_t index);
// The first count code points, never splitting a sequence.
std::string Utf8Left(std::string_view s, std::size_t count);
// Encoding of one code point; surrogates and values above U+10FFFF encode ReplacementCharacter.
std::string Utf8Encode(char32_t codePoint);
void Utf8Append(std::string& out, char32_t codePoint);
// True when s is well-formed UTF-8 (no overlongs, surrogates or values above U+10FFFF).
bool Utf8IsValid(std::string_view s);

}
