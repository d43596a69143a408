// BMP files: reading every common depth and header form, writing 24- and 32-bit files.
#pragma once

#include "platform/gdi/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvex::gdi {

// Limits every image codec enforces before it allocates: each side at most Bitmap::MaxDimension pixels and
// the decoded pixels at most MaxImageBytes.
inline constexpr std::size_t MaxImageBytes = std::size_t(256) << 20;

// A decoded image, or the reason it was refused. The JPEG and PNG codecs return it too.
struct ImageResult {
    GdiHandle<Bitmap> Image;   // owned; take it with Image.Release()
    std::string Error;   // empty on success
    explicit operator bool() const { return Image.Get() != nullptr; }
};

// Reads a BMP: BITMAPINFOHEADER and its V2..V5 extensions, the OS/2 1.x core header and the OS/2 2.x
// header; 1, 4 and 8 bits with a palette (BI_RGB, BI_RLE8, BI_RLE4), 16 bits (555, or any masks with
// BI_BITFIELDS), 24 and 32 bits (BI_RGB keeps the fourth byte; bit fields with an alpha mask give alpha);
// bottom-up and top-down rows. 32-bit files give a pf32bit bitmap, all others pf24bit.
// Truncated data, bad offsets, zero or oversized dimensions, palettes past the end of the data and unknown
// compressions are refused with a message; nothing is ever read outside the data.
ImageResult ReadBmp(std::span<const std::uint8_t> data);
ImageResult ReadBmpFile(const std::string& path);

// The bitmap as a bottom-up BI_RGB file in its own depth (24 or 32 bits; the fourth byte kept).
// Empty result for an empty bitmap.
std::vector<std::uint8_t> WriteBmp(const Bitmap& bitmap);
// False, with a message in *error when given, when the bitmap is empty or the file cannot be written.
bool WriteBmpFile(const Bitmap& bitmap, const std::string& path, std::string* error = nullptr);

// Whole-file helpers the codecs share: the file's bytes, refused above MaxImageBytes + 64 KB or when unreadable.
bool ReadImageFileBytes(const std::string& path, std::vector<std::uint8_t>& out, std::string& error);
bool WriteImageFileBytes(const std::string& path, std::span<const std::uint8_t> bytes, std::string& error);

}
