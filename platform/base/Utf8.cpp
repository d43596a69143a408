// Stub bodies.
#include "platform/base/Utf8.h"

namespace korvex::base {
char32_t Utf8DecodeNext(std::string_view s, std::size_t& pos) { return {}; }
std::size_t Utf8Length(std::string_view s) { return {}; }
std::size_t Utf8ByteOffset(std::string_view s, std::size_t index) { return {}; }
std::string Utf8Left(std::string_view s, std::size_t count) { return {}; }
std::string Utf8Encode(char32_t codePoint) { return {}; }
void Utf8Append(std::string& out, char32_t codePoint) {  }
bool Utf8IsValid(std::string_view s) { return {}; }
}
