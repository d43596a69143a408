// Checks the image fuzz targets share: a refusal has a reason, a decoded image is whole.
#pragma once

#include "platform/gdi/BmpCodec.h"

#include "support/FuzzSupport.h"

#include <cstring>

namespace korvex::fuzz {

// Checks the image's shape and reads both ends of every row.
inline void CheckDecoded(const gdi::ImageResult& result) {
    if (!result) {
        if (result.Error.empty()) Fail("refused without a message");
        return;
    }
    const gdi::Bitmap& image = *result.Image.Get();
    if (image.Width() <= 0 || image.Height() <= 0) Fail("an empty image decoded");
    if (image.ByteSize() > gdi::MaxImageBytes) Fail("an image above the size limit decoded");
    unsigned sum = 0;
    for (int y = 0; y < image.Height(); ++y)   // each row's first and last byte: a short allocation shows
        sum += image.ScanLine(y)[0] + image.ScanLine(y)[image.BytesPerScanLine() - 1];
    asm volatile("" : : "r"(sum));   // kept, so the reads are made
}

// Both images have the same shape, format and pixels (row padding aside).
inline void CheckSamePixels(const gdi::Bitmap& a, const gdi::Bitmap& b, const char* what) {
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.Format() != b.Format()) Fail(what, "shape");
    const std::size_t rowBytes = std::size_t(a.Width()) * std::size_t(a.BytesPerPixel());
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.ScanLine(y), b.ScanLine(y), rowBytes) != 0) Fail(what, "pixels");
}

}
