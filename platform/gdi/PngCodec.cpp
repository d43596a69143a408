// PNG reading and writing on libpng, errors turned into messages through libpng's jump buffer.
#include "platform/gdi/PngCodec.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace korvex::gdi {

namespace {

// State the error jump must see lives on the heap, so no local changes between setjmp and longjmp.
struct PngJob {
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    std::string Message;
    // Reading
    std::span<const std::uint8_t> Input;
    std::size_t Position = 0;
    Bitmap* Image = nullptr;
    std::vector<png_bytep> Rows;
    // Writing
    std::vector<std::uint8_t> Output;
};

PngJob* JobOf(png_structp png) {
    return static_cast<PngJob*>(png_get_error_ptr(png));
}

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
    PngJob* job = JobOf(png);
    if (job->Message.empty()) job->Message = message ? message : "unknown error";
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {
}

void ReadData(png_structp png, png_bytep out, png_size_t length) {
    PngJob* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (length > job->Input.size() - job->Position) png_error(png, "data truncated");
    std::memcpy(out, job->Input.data() + job->Position, length);
    job->Position += length;
}

void WriteData(png_structp png, png_bytep data, png_size_t length) {
    PngJob* job = static_cast<PngJob*>(png_get_io_ptr(png));
    job->Output.insert(job->Output.end(), data, data + length);
}

void FlushData(png_structp) {
}

}

// Out of line on purpose: string code inlined into a function that calls setjmp trips -Wclobbered.
[[gnu::noinline]] static void SetPngError(std::string& target, const std::string& message) {
    target = "PNG: " + message;
}

ImageResult ReadPng(std::span<const std::uint8_t> data) {
    ImageResult result;
    if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0) {
        result.Error = "PNG: not a PNG file (bad signature)";
        return result;
    }
    auto job = std::make_unique<PngJob>();
    job->Input = data;
    job->Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, job.get(), OnError, OnWarning);
    if (!job->Png || !(job->Info = png_create_info_struct(job->Png))) {
        png_destroy_read_struct(job->Png ? &job->Png : nullptr, nullptr, nullptr);
        result.Error = "PNG: out of memory";
        return result;
    }
    if (setjmp(png_jmpbuf(job->Png))) {
        png_destroy_read_struct(&job->Png, &job->Info, nullptr);
        if (job->Image) DeleteObject(job->Image);
        SetPngError(result.Error, job->Message);
        return result;
    }
    png_set_read_fn(job->Png, job.get(), ReadData);
    png_set_user_limits(job->Png, Bitmap::MaxDimension, Bitmap::MaxDimension);
    png_read_info(job->Png, job->Info);
    png_uint_32 width = png_get_image_width(job->Png, job->Info);
    png_uint_32 height = png_get_image_height(job->Png, job->Info);
    if (std::uint64_t(width) * height * 4 > MaxImageBytes) png_error(job->Png, "image too large");
    // Deflate packs at most 1032 bytes into one, so rows the data cannot hold are refused before they are
    // allocated (each row is a filter byte and its pixels).
    const std::uint64_t rawBytes = std::uint64_t(height) * (std::uint64_t(png_get_rowbytes(job->Png, job->Info)) + 1);
    if (rawBytes > std::uint64_t(data.size()) * 1032 + 1024) png_error(job->Png, "image larger than its data can fill");
    int colorType = png_get_color_type(job->Png, job->Info);
    bool alpha = (colorType & PNG_COLOR_MASK_ALPHA) || png_get_valid(job->Png, job->Info, PNG_INFO_tRNS);
    png_set_strip_16(job->Png);
    png_set_packing(job->Png);
    png_set_expand(job->Png);   // palette to RGB, low grey depths to 8 bits, tRNS to alpha
    if (!(colorType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(job->Png);
    png_set_bgr(job->Png);
    png_set_interlace_handling(job->Png);
    png_read_update_info(job->Png, job->Info);
    const int channels = png_get_channels(job->Png, job->Info);
    if (channels != (alpha ? 4 : 3)) png_error(job->Png, "unexpected channel count");
    job->Image = Bitmap::Create(int(width), int(height), alpha ? PixelFormat::pf32bit : PixelFormat::pf24bit);
    if (!job->Image) png_error(job->Png, "out of memory");
    job->Rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        job->Rows[y] = job->Image->ScanLine(int(y));
    png_read_image(job->Png, job->Rows.data());
    png_read_end(job->Png, nullptr);
    png_destroy_read_struct(&job->Png, &job->Info, nullptr);
    result.Image.Reset(job->Image);
    return result;
}

ImageResult ReadPngFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    ImageResult result;
    if (!ReadImageFileBytes(path, bytes, result.Error)) return result;
    result = ReadPng(bytes);
    if (!result) result.Error += " (" + path + ")";
    return result;
}

std::vector<std::uint8_t> WritePng(const Bitmap& bitmap, PngAlpha alpha, std::string* error) {
    if (bitmap.Empty() || !bitmap.Bits()) {
        if (error) *error = "PNG: nothing to write for an empty bitmap";
        return {};
    }
    auto job = std::make_unique<PngJob>();
    job->Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, job.get(), OnError, OnWarning);
    if (!job->Png || !(job->Info = png_create_info_struct(job->Png))) {
        png_destroy_write_struct(job->Png ? &job->Png : nullptr, nullptr);
        if (error) *error = "PNG: out of memory";
        return {};
    }
    if (setjmp(png_jmpbuf(job->Png))) {
        png_destroy_write_struct(&job->Png, &job->Info);
        if (error) SetPngError(*error, job->Message);
        return {};
    }
    const bool wide = bitmap.Format() == PixelFormat::pf32bit;
    const bool keepAlpha = wide && alpha == PngAlpha::Keep;
    png_set_write_fn(job->Png, job.get(), WriteData, FlushData);
    png_set_IHDR(job->Png, job->Info, png_uint_32(bitmap.Width()), png_uint_32(bitmap.Height()), 8,
        keepAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    png_write_info(job->Png, job->Info);
    png_set_bgr(job->Png);
    if (wide && !keepAlpha) png_set_filler(job->Png, 0, PNG_FILLER_AFTER);   // drops the fourth byte
    for (int y = 0; y < bitmap.Height(); ++y)
        png_write_row(job->Png, const_cast<png_bytep>(bitmap.ScanLine(y)));   // libpng only reads the row
    png_write_end(job->Png, nullptr);
    png_destroy_write_struct(&job->Png, &job->Info);
    return std::move(job->Output);
}

bool WritePngFile(const Bitmap& bitmap, const std::string& path, PngAlpha alpha, std::string* error) {
    std::string message;
    std::vector<std::uint8_t> bytes = WritePng(bitmap, alpha, &message);
    if (!bytes.empty() && WriteImageFileBytes(path, bytes, message)) return true;
    if (error) *error = message;
    return false;
}

}
