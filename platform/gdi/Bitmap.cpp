// Memory bitmaps: creation, resizing, format conversion, copying and pixel access.
#include "platform/gdi/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace korvex::gdi {

namespace {

constexpr size_t MaxBitmapBytes = size_t(1) << 30;   // 1 GiB: anything above is a broken request

bool SizeAllowed(int width, int height, PixelFormat format) {
    if (width < 0 || height < 0 || width > Bitmap::MaxDimension || height > Bitmap::MaxDimension) return false;
    return size_t(BytesPerScanLine(width, format)) * size_t(height) <= MaxBitmapBytes;
}

constexpr std::align_val_t PixelAlignment {64};

// Copies `width` pixels between rows of possibly different formats.
void ConvertRow(const BYTE* src, PixelFormat srcFormat, BYTE* dst, PixelFormat dstFormat, int width) {
    if (srcFormat == dstFormat) {
        std::memcpy(dst, src, size_t(width) * BytesPerPixel(srcFormat));
        return;
    }
    const int sStep = BytesPerPixel(srcFormat);
    const int dStep = BytesPerPixel(dstFormat);
    for (int x = 0; x < width; ++x, src += sStep, dst += dStep) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
        if (dStep == 4) dst[3] = 0;
    }
}

}

void Bitmap::AlignedDelete::operator()(BYTE* bits) const {
    ::operator delete[](bits, PixelAlignment);
}

Bitmap::Pixels AllocatePixels(int width, int height, PixelFormat format) {
    const size_t bytes = size_t(BytesPerScanLine(width, format)) * size_t(height);
    if (bytes == 0) return nullptr;
    void* memory = ::operator new[](bytes, PixelAlignment, std::nothrow);
    if (!memory) return nullptr;
    std::memset(memory, 0, bytes);
    return Bitmap::Pixels(static_cast<BYTE*>(memory));
}

Bitmap::Bitmap(int width, int height, PixelFormat format, Pixels bits)
    : GdiObject(ObjectKind::Bitmap)
    , FWidth(width)
    , FHeight(height)
    , FStride(gdi::BytesPerScanLine(width, format))
    , FFormat(format)
    , FBits(std::move(bits)) {
}

Bitmap::~Bitmap() = default;

Bitmap* Bitmap::Create(int width, int height, PixelFormat format) {
    if (!SizeAllowed(width, height, format)) return nullptr;
    auto bits = AllocatePixels(width, height, format);
    if (!bits && width > 0 && height > 0) return nullptr;
    if (!bits)   // no pixels: keep 0x0 bitmaps free of dangling sizes
        return new (std::nothrow) Bitmap(std::max(width, 0), std::max(height, 0), format, nullptr);
    return new (std::nothrow) Bitmap(width, height, format, std::move(bits));
}

BYTE* Bitmap::ScanLine(int y) {
    if (y < 0 || y >= FHeight || !FBits) return nullptr;
    return FBits.get() + size_t(y) * size_t(FStride);
}

const BYTE* Bitmap::ScanLine(int y) const {
    return const_cast<Bitmap*>(this)->ScanLine(y);
}

bool Bitmap::SetSize(int width, int height) {
    if (width == FWidth && height == FHeight) return true;
    if (!SizeAllowed(width, height, FFormat)) return false;
    auto bits = AllocatePixels(width, height, FFormat);
    if (!bits && width > 0 && height > 0) return false;
    const int stride = gdi::BytesPerScanLine(width, FFormat);
    const int keepW = std::min(width, FWidth);
    const int keepH = std::min(height, FHeight);
    for (int y = 0; y < keepH && keepW > 0; ++y)
        std::memcpy(bits.get() + size_t(y) * stride, ScanLine(y), size_t(keepW) * BytesPerPixel());
    FBits = std::move(bits);
    FWidth = width;
    FHeight = height;
    FStride = stride;
    return true;
}

bool Bitmap::SetFormat(PixelFormat format) {
    if (format == FFormat) return true;
    if (!SizeAllowed(FWidth, FHeight, format)) return false;
    auto bits = AllocatePixels(FWidth, FHeight, format);
    if (!bits && !Empty()) return false;
    const int stride = gdi::BytesPerScanLine(FWidth, format);
    for (int y = 0; y < FHeight && FWidth > 0; ++y)
        ConvertRow(ScanLine(y), FFormat, bits.get() + size_t(y) * stride, format, FWidth);
    FBits = std::move(bits);
    FFormat = format;
    FStride = stride;
    return true;
}

bool Bitmap::Assign(const Bitmap& source) {
    if (&source == this) return true;
    auto bits = AllocatePixels(source.FWidth, source.FHeight, source.FFormat);
    if (!bits && !source.Empty()) return false;
    if (bits) std::memcpy(bits.get(), source.FBits.get(), source.ByteSize());
    FBits = std::move(bits);
    FWidth = source.FWidth;
    FHeight = source.FHeight;
    FStride = source.FStride;
    FFormat = source.FFormat;
    return true;
}

Bitmap* Bitmap::Clone() const {
    Bitmap* copy = Create(FWidth, FHeight, FFormat);
    if (copy && FBits) std::memcpy(copy->FBits.get(), FBits.get(), ByteSize());
    return copy;
}

COLORREF Bitmap::PixelAt(int x, int y) const {
    if (x < 0 || x >= FWidth) return CLR_INVALID;
    const BYTE* row = ScanLine(y);
    if (!row) return CLR_INVALID;
    const BYTE* p = row + size_t(x) * BytesPerPixel();
    return RGB(p[2], p[1], p[0]);
}

void Bitmap::SetPixelAt(int x, int y, COLORREF color) {
    if (x < 0 || x >= FWidth) return;
    BYTE* row = ScanLine(y);
    if (!row) return;
    BYTE* p = row + size_t(x) * BytesPerPixel();
    p[0] = GetBValue(color);
    p[1] = GetGValue(color);
    p[2] = GetRValue(color);
    if (FFormat == PixelFormat::pf32bit) p[3] = 0;
}

void Bitmap::Fill(COLORREF color) {
    for (int x = 0; x < FWidth; ++x)
        SetPixelAt(x, 0, color);
    for (int y = 1; y < FHeight; ++y)
        std::memcpy(ScanLine(y), ScanLine(0), size_t(FStride));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (planes != 1 || (bitsPerPixel != 24 && bitsPerPixel != 32)) return nullptr;
    const PixelFormat format = bitsPerPixel == 24 ? PixelFormat::pf24bit : PixelFormat::pf32bit;
    Bitmap* bitmap = Bitmap::Create(width, height, format);
    if (bitmap && bits && bitmap->Bits()) std::memcpy(bitmap->Bits(), bits, bitmap->ByteSize());
    return bitmap;
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFOHEADER* info, UINT usage, void** bits) {
    if (bits) *bits = nullptr;
    if (!info || usage != DIB_RGB_COLORS || info->biCompression != BI_RGB || info->biPlanes != 1
        || (info->biBitCount != 24 && info->biBitCount != 32) || info->biHeight == INT32_MIN)
        return nullptr;
    const int height = info->biHeight < 0 ? -info->biHeight : info->biHeight;
    Bitmap* bitmap = CreateBitmap(info->biWidth, height, 1, info->biBitCount, nullptr);
    if (bitmap && bits) *bits = bitmap->Bits();
    return bitmap;
}

bool GetObject(HBITMAP handle, BITMAP* out) {
    Bitmap* bitmap = ObjectCast<Bitmap>(handle);
    if (!bitmap || !out) return false;
    out->bmType = 0;
    out->bmWidth = bitmap->Width();
    out->bmHeight = bitmap->Height();
    out->bmWidthBytes = bitmap->BytesPerScanLine();
    out->bmPlanes = 1;
    out->bmBitsPixel = WORD(bitmap->BytesPerPixel() * 8);
    out->bmBits = bitmap->Bits();
    return true;
}

}
