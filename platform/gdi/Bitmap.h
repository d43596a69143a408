// Memory bitmaps: 24-bit (B, G, R) and 32-bit (B, G, R, X or alpha) pixels, top-down rows.
#pragma once

#include "platform/gdi/GdiObject.h"

#include <memory>

namespace korvex::gdi {

enum class PixelFormat : uint8_t {
    pf24bit,   // three bytes a pixel: blue, green, red
    pf32bit,   // four bytes a pixel: blue, green, red, then 0 or the alpha
};

inline constexpr int BytesPerPixel(PixelFormat format) {
    return format == PixelFormat::pf24bit ? 3 : 4;
}

// Row stride as Windows DIBs have it: rows padded to a multiple of 4 bytes (a 24-bit row of 5 pixels takes 16).
inline constexpr int BytesPerScanLine(int width, PixelFormat format) {
    return (width * BytesPerPixel(format) + 3) & ~3;
}

// Rows are stored top-down: ScanLine(0) is the top row, ScanLine(y + 1) = ScanLine(y) + BytesPerScanLine().
// A bitmap may be 0x0 (no pixels; ScanLine returns nullptr). New pixels are 0 (black, alpha 0).
class Bitmap final : public GdiObject {
public:
    static constexpr ObjectKind StaticKind = ObjectKind::Bitmap;
    static constexpr int MaxDimension = 32767;   // larger requests are refused

    // nullptr when a size is negative or above MaxDimension, or the memory cannot be had.
    static Bitmap* Create(int width, int height, PixelFormat format);
    ~Bitmap() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    PixelFormat Format() const { return FFormat; }
    int BytesPerPixel() const { return gdi::BytesPerPixel(FFormat); }
    int BytesPerScanLine() const { return FStride; }
    bool Empty() const { return FWidth == 0 || FHeight == 0; }

    // Pointer to row y; nullptr when y is outside 0..Height()-1.
    BYTE* ScanLine(int y);
    const BYTE* ScanLine(int y) const;
    BYTE* Bits() { return FBits.get(); }
    const BYTE* Bits() const { return FBits.get(); }
    size_t ByteSize() const { return size_t(FStride) * size_t(FHeight); }

    // Changes the size keeping the overlapping top-left pixels; new pixels are 0. False (unchanged) when refused.
    bool SetSize(int width, int height);
    // Converts the pixels: 32 -> 24 drops the fourth byte, 24 -> 32 sets it to 0.
    bool SetFormat(PixelFormat format);
    // Copies size, format and pixels of another bitmap.
    bool Assign(const Bitmap& source);
    Bitmap* Clone() const;   // a new bitmap with the same pixels; nullptr when memory is short

    // Whole-pixel access for our own code (bounds-checked: outside reads CLR_INVALID, writes nothing).
    COLORREF PixelAt(int x, int y) const;
    void SetPixelAt(int x, int y, COLORREF color);
    void Fill(COLORREF color);   // every pixel; the fourth byte of 32-bit pixels becomes 0

private:
    // Pixel memory is 64-byte aligned: rows of two bitmaps then never sit a few bytes apart modulo a page,
    // which would make row copies stall on false store-to-load aliasing.
    struct AlignedDelete {
        void operator()(BYTE* bits) const;
    };
    using Pixels = std::unique_ptr<BYTE[], AlignedDelete>;
    friend Pixels AllocatePixels(int width, int height, PixelFormat format);

    Bitmap(int width, int height, PixelFormat format, Pixels bits);

    int FWidth = 0;
    int FHeight = 0;
    int FStride = 0;
    PixelFormat FFormat = PixelFormat::pf24bit;
    Pixels FBits;
};

// Windows-shaped creation.
struct BITMAP {
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 1;
    WORD bmBitsPixel = 0;
    void* bmBits = nullptr;
};

struct BITMAPINFOHEADER {
    DWORD biSize = 40;
    LONG biWidth = 0;
    LONG biHeight = 0;   // negative: top-down; our bitmaps are always top-down, so the sign only gives the size
    WORD biPlanes = 1;
    WORD biBitCount = 0;   // 24 or 32
    DWORD biCompression = 0;
    DWORD biSizeImage = 0;
    LONG biXPelsPerMeter = 0;
    LONG biYPelsPerMeter = 0;
    DWORD biClrUsed = 0;
    DWORD biClrImportant = 0;
};
inline constexpr DWORD BI_RGB = 0;
inline constexpr UINT DIB_RGB_COLORS = 0;

// A 24- or 32-bit bitmap (bitsPerPixel 24 or 32; anything else is refused); bits, if given, are copied
// as top-down rows with the DIB stride.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
// A bitmap in the format of the DC's current surface (32-bit when the DC has none), pixels 0.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// A 24- or 32-bit bitmap; *bits receives the top-down pixel memory, which lives as long as the bitmap.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFOHEADER* info, UINT usage, void** bits);
bool GetObject(HBITMAP bitmap, BITMAP* out);

}
