// Resources embedded at build time (korvex_embed in cmake/Korvex.cmake), found by name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace korvex::classes {

// korvex_embed(target NAME file) compiles the file's bytes into target and registers them under NAME when
// the program starts; a static library's resources come along with any program that links the library.
// The bytes live for the whole run. Names compare exactly; the first registration of a name wins.
std::optional<std::span<const std::uint8_t>> FindEmbeddedResource(std::string_view name);

// Made by the generated source of korvex_embed; keeps name and bytes (neither is copied).
class TEmbeddedResource {
public:
    TEmbeddedResource(const char* name, const std::uint8_t* data, std::size_t size);
};

}
