// BMP reading (all depths, palettes, bit fields, RLE, OS/2 headers) and writing, checked against the data.
#include "platform/gdi/BmpCodec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace korvex::gdi {

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr DWORD BiRle8 = 1;
constexpr DWORD BiRle4 = 2;
constexpr DWORD BiBitfields = 3;
constexpr DWORD BiAlphaBitfields = 6;
constexpr LONG PixelsPerMeter96Dpi = 3780;

// Little-endian reads that report running off the end instead of reading past it.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data)
        : FData(data) { }

    bool Has(std::size_t offset, std::size_t count) const {
        return offset <= FData.size() && count <= FData.size() - offset;
    }
    std::uint16_t U16(std::size_t offset) const { return std::uint16_t(FData[offset] | (FData[offset + 1] << 8)); }
    std::uint32_t U32(std::size_t offset) const {
        return std::uint32_t(FData[offset]) | (std::uint32_t(FData[offset + 1]) << 8)
            | (std::uint32_t(FData[offset + 2]) << 16) | (std::uint32_t(FData[offset + 3]) << 24);
    }
    std::int32_t I32(std::size_t offset) const { return std::int32_t(U32(offset)); }
    std::size_t Size() const { return FData.size(); }
    const std::uint8_t* At(std::size_t offset) const { return FData.data() + offset; }

private:
    std::span<const std::uint8_t> FData;
};

struct Header {
    std::uint32_t Size = 0;
    std::int64_t Width = 0;
    std::int64_t Height = 0;   // negative: top-down
    int BitCount = 0;
    DWORD Compression = 0;
    std::uint32_t ColorsUsed = 0;
    std::array<std::uint32_t, 4> Masks {};   // red, green, blue, alpha
    bool HasMasks = false;
    bool Core = false;   // OS/2 1.x: 3-byte palette entries
    std::size_t PaletteOffset = 0;
};

// One channel of a bit-field pixel, scaled to 8 bits.
struct Channel {
    std::uint32_t Mask = 0;
    int Shift = 0;
    int Bits = 0;

    explicit Channel(std::uint32_t mask = 0)
        : Mask(mask) {
        if (mask) {
            Shift = std::countr_zero(mask);
            Bits = std::min(32 - Shift, std::countr_one(mask >> Shift));
        }
    }
    BYTE Extract(std::uint32_t pixel) const {
        if (Bits == 0) return 0;
        std::uint32_t value = (pixel >> Shift) & ((Bits >= 32) ? 0xFFFFFFFFu : ((1u << Bits) - 1));
        if (Bits >= 8) return BYTE(value >> (Bits - 8));
        std::uint32_t max = (1u << Bits) - 1;
        return BYTE((value * 255 + max / 2) / max);
    }
};

void Refuse(ImageResult& result, const std::string& message) {
    result.Error = "BMP: " + message;
}

bool ParseHeader(const Reader& in, Header& h, std::string& error) {
    if (!in.Has(0, FileHeaderSize + 4)) {
        error = "file too short for a header";
        return false;
    }
    if (in.At(0)[0] != 'B' || in.At(0)[1] != 'M') {
        error = "not a bitmap file (no \"BM\" signature)";
        return false;
    }
    h.Size = in.U32(FileHeaderSize);
    const std::size_t base = FileHeaderSize;
    const bool known = h.Size == 12 || h.Size == 16 || h.Size == 40 || h.Size == 52 || h.Size == 56 || h.Size == 64
        || h.Size == 108 || h.Size == 124;
    if (!known) {
        error = "unsupported header size " + std::to_string(h.Size);
        return false;
    }
    if (!in.Has(base, h.Size)) {
        error = "header truncated";
        return false;
    }
    if (h.Size == 12) {
        h.Core = true;
        h.Width = in.U16(base + 4);
        h.Height = in.U16(base + 6);
        h.BitCount = in.U16(base + 10);
    } else {
        h.Width = in.I32(base + 4);
        h.Height = in.I32(base + 8);
        h.BitCount = in.U16(base + 14);
        if (h.Size >= 20) h.Compression = in.U32(base + 16);
        if (h.Size >= 36) h.ColorsUsed = in.U32(base + 32);
    }
    const bool os2v2 = h.Size == 16 || h.Size == 64;
    if (os2v2 && h.Compression != 0 && !(h.Compression == BiRle8 || h.Compression == BiRle4)) {
        error = "unsupported OS/2 compression " + std::to_string(h.Compression);
        return false;
    }
    std::size_t after = base + h.Size;
    if (!os2v2 && (h.Compression == BiBitfields || h.Compression == BiAlphaBitfields)) {
        h.HasMasks = true;
        if (h.Size >= 52) {
            for (int i = 0; i < 3; ++i)
                h.Masks[i] = in.U32(base + 40 + 4 * i);
            if (h.Size >= 56) h.Masks[3] = in.U32(base + 52);
        } else {
            // A plain info header is followed by three masks (four with BI_ALPHABITFIELDS).
            std::size_t count = h.Compression == BiAlphaBitfields ? 4 : 3;
            if (!in.Has(after, 4 * count)) {
                error = "bit-field masks truncated";
                return false;
            }
            for (std::size_t i = 0; i < count; ++i)
                h.Masks[i] = in.U32(after + 4 * i);
            after += 4 * count;
        }
    }
    h.PaletteOffset = after;
    return true;
}

bool CheckFormat(const Header& h, std::string& error) {
    const int bits = h.BitCount;
    const DWORD c = h.Compression;
    bool ok = false;
    switch (bits) {
    case 1:
        ok = c == BI_RGB;
        break;
    case 4:
        ok = c == BI_RGB || c == BiRle4;
        break;
    case 8:
        ok = c == BI_RGB || c == BiRle8;
        break;
    case 16:
    case 32:
        ok = c == BI_RGB || c == BiBitfields || c == BiAlphaBitfields;
        break;
    case 24:
        ok = c == BI_RGB;
        break;
    default:
        error = "unsupported bit count " + std::to_string(bits);
        return false;
    }
    if (h.Core && c != BI_RGB) ok = false;
    if (!ok) {
        error = "unsupported compression " + std::to_string(c) + " for " + std::to_string(bits) + " bits";
        return false;
    }
    if (h.Width <= 0 || h.Height == 0) {
        error = "zero or negative size " + std::to_string(h.Width) + " x " + std::to_string(h.Height);
        return false;
    }
    std::int64_t height = h.Height < 0 ? -h.Height : h.Height;
    if (h.Width > Bitmap::MaxDimension || height > Bitmap::MaxDimension) {
        error = "size " + std::to_string(h.Width) + " x " + std::to_string(height) + " is larger than "
            + std::to_string(Bitmap::MaxDimension) + " pixels a side";
        return false;
    }
    int target = bits == 32 ? 4 : 3;
    if (std::uint64_t(h.Width) * std::uint64_t(height) * std::uint64_t(target) > MaxImageBytes) {
        error = "size " + std::to_string(h.Width) + " x " + std::to_string(height) + " needs more than "
            + std::to_string(MaxImageBytes >> 20) + " MB";
        return false;
    }
    if ((c == BiRle4 || c == BiRle8) && h.Height < 0) {
        error = "compressed bitmaps cannot be top-down";
        return false;
    }
    return true;
}

// Palette entries as COLORREF-free B, G, R triples; indexes past the file's entries stay black.
bool ReadPalette(const Reader& in, const Header& h, std::array<std::array<BYTE, 3>, 256>& palette, std::string& error) {
    palette = {};
    if (h.BitCount > 8) return true;
    std::uint32_t maxEntries = 1u << h.BitCount;
    std::uint32_t count = h.ColorsUsed == 0 ? maxEntries : h.ColorsUsed;
    if (count > maxEntries) {
        error = "palette of " + std::to_string(count) + " colours for " + std::to_string(h.BitCount) + " bits";
        return false;
    }
    std::size_t entrySize = h.Core ? 3 : 4;
    if (!in.Has(h.PaletteOffset, std::size_t(count) * entrySize)) {
        error = "palette runs past the end of the data";
        return false;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = in.At(h.PaletteOffset + i * entrySize);
        palette[i] = {entry[0], entry[1], entry[2]};
    }
    return true;
}

void PutPixel(Bitmap& bitmap, int x, int y, BYTE b, BYTE g, BYTE r) {
    BYTE* p = bitmap.ScanLine(y) + std::size_t(x) * std::size_t(bitmap.BytesPerPixel());
    p[0] = b;
    p[1] = g;
    p[2] = r;
}

void DecodeRows(const Reader& in, std::size_t offset, const Header& h,
    const std::array<std::array<BYTE, 3>, 256>& palette, Bitmap& bitmap) {
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    const std::size_t stride = ((std::size_t(width) * std::size_t(h.BitCount) + 31) / 32) * 4;
    const Channel red(h.Masks[0]), green(h.Masks[1]), blue(h.Masks[2]), alpha(h.Masks[3]);
    const bool fields = h.HasMasks;
    const Channel r555(0x7C00), g555(0x03E0), b555(0x001F);
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* src = in.At(offset + std::size_t(row) * stride);
        int y = h.Height < 0 ? row : height - 1 - row;
        BYTE* dst = bitmap.ScanLine(y);
        switch (h.BitCount) {
        case 1:
        case 4:
        case 8: {
            const int bits = h.BitCount;
            const int perByte = 8 / bits;
            const int mask = (1 << bits) - 1;
            for (int x = 0; x < width; ++x) {
                int shift = 8 - bits * (x % perByte + 1);
                int index = (src[x / perByte] >> shift) & mask;
                PutPixel(bitmap, x, y, palette[index][0], palette[index][1], palette[index][2]);
            }
            break;
        }
        case 16:
            for (int x = 0; x < width; ++x) {
                std::uint32_t v = std::uint32_t(src[2 * x] | (src[2 * x + 1] << 8));
                if (fields)
                    PutPixel(bitmap, x, y, blue.Extract(v), green.Extract(v), red.Extract(v));
                else
                    PutPixel(bitmap, x, y, b555.Extract(v), g555.Extract(v), r555.Extract(v));
            }
            break;
        case 24:
            std::memcpy(dst, src, std::size_t(width) * 3);
            break;
        case 32:
            if (!fields) {
                std::memcpy(dst, src, std::size_t(width) * 4);
                break;
            }
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* s = src + 4 * std::size_t(x);
                std::uint32_t v = std::uint32_t(s[0]) | (std::uint32_t(s[1]) << 8) | (std::uint32_t(s[2]) << 16)
                    | (std::uint32_t(s[3]) << 24);
                BYTE* d = dst + 4 * std::size_t(x);
                d[0] = blue.Extract(v);
                d[1] = green.Extract(v);
                d[2] = red.Extract(v);
                d[3] = alpha.Extract(v);
            }
            break;
        }
    }
}

// The most pixels an RLE stream of this many bytes can set: an encoded run sets at most 255 pixels with two
// bytes. Line ends, deltas and an early end of bitmap leave pixels unset, so a picture larger than this is
// not filled by its file and is refused before anything is allocated for it. Small pictures (icons whose
// stream leaves most of them empty) always pass.
std::uint64_t RlePixelBound(std::size_t bytes) {
    constexpr std::uint64_t SmallPicture = 256 * 256;
    return std::max<std::uint64_t>(std::uint64_t(bytes) * 255 / 2, SmallPicture);
}

// RLE8 and RLE4 streams, bottom-up. Runs and deltas that leave the picture are clipped; a stream that
// ends before its end-of-bitmap mark is refused. Without a bitmap the stream is only checked.
bool DecodeRle(const Reader& in, std::size_t offset, const Header& h,
    const std::array<std::array<BYTE, 3>, 256>& palette, Bitmap* bitmap, std::string& error) {
    const bool four = h.Compression == BiRle4;
    const int width = int(h.Width);
    const int height = int(h.Height);
    if (bitmap)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                PutPixel(*bitmap, x, y, palette[0][0], palette[0][1], palette[0][2]);
    auto put = [&](int x, int row, int index) {
        if (bitmap && x >= 0 && x < width && row >= 0 && row < height)
            PutPixel(*bitmap, x, height - 1 - row, palette[index][0], palette[index][1], palette[index][2]);
    };
    std::size_t pos = offset;
    int x = 0;
    int row = 0;
    while (true) {
        if (!in.Has(pos, 2)) {
            error = "RLE data ends before its end mark";
            return false;
        }
        int count = in.At(pos)[0];
        int value = in.At(pos)[1];
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(x + i, row, four ? (i % 2 ? value & 0x0F : value >> 4) : value);
            x = std::min(x + count, width);   // a line that never ends stays clipped
            continue;
        }
        if (value == 0) {   // end of line
            x = 0;
            ++row;
        } else if (value == 1) {   // end of bitmap
            return true;
        } else if (value == 2) {   // delta
            if (!in.Has(pos, 2)) {
                error = "RLE delta truncated";
                return false;
            }
            x = std::min(x + in.At(pos)[0], width);
            row += in.At(pos)[1];
            pos += 2;
        } else {   // absolute run of value pixels, padded to a 16-bit boundary
            std::size_t bytes = four ? (std::size_t(value) + 1) / 2 : std::size_t(value);
            std::size_t padded = (bytes + 1) & ~std::size_t(1);
            if (!in.Has(pos, padded)) {
                error = "RLE absolute run truncated";
                return false;
            }
            for (int i = 0; i < value; ++i) {
                int index = four ? (i % 2 ? in.At(pos)[i / 2] & 0x0F : in.At(pos)[i / 2] >> 4) : in.At(pos)[i];
                put(x + i, row, index);
            }
            x = std::min(x + value, width);
            pos += padded;
        }
        if (row > height) return true;   // past the top: nothing more can show
    }
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}

ImageResult ReadBmp(std::span<const std::uint8_t> data) {
    ImageResult result;
    Reader in(data);
    Header h;
    std::string error;
    if (!ParseHeader(in, h, error) || !CheckFormat(h, error)) {
        Refuse(result, error);
        return result;
    }
    std::array<std::array<BYTE, 3>, 256> palette;
    if (!ReadPalette(in, h, palette, error)) {
        Refuse(result, error);
        return result;
    }
    std::size_t offset = in.U32(10);
    if (offset < FileHeaderSize + h.Size || offset >= in.Size()) {
        Refuse(result, "pixel data offset " + std::to_string(offset) + " outside the file");
        return result;
    }
    const int width = int(h.Width);
    const int height = int(h.Height < 0 ? -h.Height : h.Height);
    const bool compressed = h.Compression == BiRle4 || h.Compression == BiRle8;
    if (compressed) {
        // Checked whole before the picture is made: a damaged stream costs no allocation.
        const std::uint64_t pixels = std::uint64_t(width) * std::uint64_t(height);
        if (pixels > RlePixelBound(in.Size() - offset)) {
            Refuse(result,
                "RLE data of " + std::to_string(in.Size() - offset) + " bytes cannot fill " + std::to_string(width)
                    + " x " + std::to_string(height));
            return result;
        }
        if (!DecodeRle(in, offset, h, palette, nullptr, error)) {
            Refuse(result, error);
            return result;
        }
    } else {
        std::uint64_t stride = ((std::uint64_t(width) * std::uint64_t(h.BitCount) + 31) / 32) * 4;
        std::uint64_t need = stride * std::uint64_t(height);
        if (need > in.Size() - offset) {
            Refuse(result,
                "pixel data truncated: " + std::to_string(need) + " bytes needed, " + std::to_string(in.Size() - offset)
                    + " present");
            return result;
        }
    }
    PixelFormat format = h.BitCount == 32 ? PixelFormat::pf32bit : PixelFormat::pf24bit;
    result.Image.Reset(Bitmap::Create(width, height, format));
    if (!result.Image) {
        Refuse(result, "out of memory for " + std::to_string(width) + " x " + std::to_string(height));
        return result;
    }
    if (compressed) {
        if (!DecodeRle(in, offset, h, palette, result.Image.Get(), error)) {
            result.Image.Reset();
            Refuse(result, error);
        }
        return result;
    }
    DecodeRows(in, offset, h, palette, *result.Image);
    return result;
}

ImageResult ReadBmpFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    ImageResult result;
    if (!ReadImageFileBytes(path, bytes, result.Error)) return result;
    result = ReadBmp(bytes);
    if (!result) result.Error += " (" + path + ")";
    return result;
}

std::vector<std::uint8_t> WriteBmp(const Bitmap& bitmap) {
    std::vector<std::uint8_t> out;
    if (bitmap.Empty() || !bitmap.Bits()) return out;
    const int bits = bitmap.Format() == PixelFormat::pf32bit ? 32 : 24;
    const std::size_t stride = BytesPerScanLine(bitmap.Width(), bitmap.Format());
    const std::size_t imageSize = stride * std::size_t(bitmap.Height());
    const std::size_t offset = FileHeaderSize + 40;
    out.reserve(offset + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, std::uint32_t(offset + imageSize));
    Put32(out, 0);
    Put32(out, std::uint32_t(offset));
    Put32(out, 40);
    Put32(out, std::uint32_t(bitmap.Width()));
    Put32(out, std::uint32_t(bitmap.Height()));   // positive: bottom-up, as every reader expects
    Put16(out, 1);
    Put16(out, std::uint16_t(bits));
    Put32(out, BI_RGB);
    Put32(out, std::uint32_t(imageSize));
    Put32(out, std::uint32_t(PixelsPerMeter96Dpi));
    Put32(out, std::uint32_t(PixelsPerMeter96Dpi));
    Put32(out, 0);
    Put32(out, 0);
    for (int y = bitmap.Height() - 1; y >= 0; --y) {
        const BYTE* row = bitmap.ScanLine(y);
        out.insert(out.end(), row, row + stride);
    }
    return out;
}

bool WriteBmpFile(const Bitmap& bitmap, const std::string& path, std::string* error) {
    std::string message;
    std::vector<std::uint8_t> bytes = WriteBmp(bitmap);
    if (bytes.empty())
        message = "BMP: nothing to write for an empty bitmap";
    else if (WriteImageFileBytes(path, bytes, message))
        return true;
    if (error) *error = message;
    return false;
}

bool ReadImageFileBytes(const std::string& path, std::vector<std::uint8_t>& out, std::string& error) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    std::streamoff size = file.tellg();
    if (size < 0 || std::uint64_t(size) > MaxImageBytes + (64u << 10)) {
        error = "file too large or unreadable: " + path;
        return false;
    }
    out.resize(std::size_t(size));
    file.seekg(0);
    if (size > 0 && !file.read(reinterpret_cast<char*>(out.data()), size)) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

bool WriteImageFileBytes(const std::string& path, std::span<const std::uint8_t> bytes, std::string& error) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        error = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    file.close();
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}
