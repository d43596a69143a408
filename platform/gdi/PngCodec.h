// PNG through libpng: writing screenshots and test pictures, reading them back for comparisons.
#pragma once

#include "platform/gdi/BmpCodec.h"   // ImageResult and the size limits

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvex::gdi {

// Every PNG colour type and depth: pixels with transparency (an alpha channel or a tRNS chunk) give a
// pf32bit bitmap with alpha in the fourth byte, the others pf24bit. Sixteen-bit channels are cut to 8.
// A damaged, truncated or oversized file is refused with libpng's message.
ImageResult ReadPng(std::span<const std::uint8_t> data);
ImageResult ReadPngFile(const std::string& path);

enum class PngAlpha {
    Drop,   // 32-bit bitmaps are written as RGB (window surfaces keep 0 in the fourth byte)
    Keep,   // 32-bit bitmaps are written as RGBA with the fourth byte as alpha
};

// An 8-bit RGB (or RGBA) PNG of the bitmap. Empty result, with a message in *error when given, for an
// empty bitmap or a libpng failure.
std::vector<std::uint8_t> WritePng(const Bitmap& bitmap, PngAlpha alpha = PngAlpha::Drop, std::string* error = nullptr);
bool WritePngFile(
    const Bitmap& bitmap, const std::string& path, PngAlpha alpha = PngAlpha::Drop, std::string* error = nullptr);

}
