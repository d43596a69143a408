// JPEG through libjpeg: decoding to 24-bit bitmaps (grey and CMYK converted), encoding with a quality.
#pragma once

#include "platform/gdi/BmpCodec.h"   // ImageResult and the size limits

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvex::gdi {

// Decodes baseline and progressive JPEGs into a pf24bit bitmap (B, G, R). A damaged, truncated or
// oversized file is refused with libjpeg's message; the process never ends on a bad file.
ImageResult ReadJpeg(std::span<const std::uint8_t> data);
ImageResult ReadJpegFile(const std::string& path);

inline constexpr int DefaultJpegQuality = 90;

// Encodes a 24- or 32-bit bitmap (the fourth byte is ignored); quality 1..100, clamped.
// Empty result, with a message in *error when given, for an empty bitmap or a libjpeg failure.
std::vector<std::uint8_t> WriteJpeg(
    const Bitmap& bitmap, int quality = DefaultJpegQuality, std::string* error = nullptr);
bool WriteJpegFile(
    const Bitmap& bitmap, const std::string& path, int quality = DefaultJpegQuality, std::string* error = nullptr);

}
