// JPEG decoding and encoding on libjpeg with an error manager that returns instead of exiting.
#include "platform/gdi/JpegCodec.h"

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jerror.h>
#include <jpeglib.h>

namespace korvex::gdi {

namespace {

// libjpeg's default error_exit ends the process. Ours jumps back to the call that started the work.
// Everything the jump must see lives in this heap object, so no local changes between setjmp and longjmp.
struct ErrorManager {
    jpeg_error_mgr Base;   // first, so libjpeg's pointer converts back
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void Fail(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (err->Message[0] == 0) (*cinfo->err->format_message)(cinfo, err->Message);
    std::longjmp(err->Jump, 1);
}

void ErrorExit(j_common_ptr cinfo) {
    Fail(cinfo);
}

void EmitMessage(j_common_ptr cinfo, int level) {
    // Warnings are tolerated, except running out of data: a truncated file is refused, not grey-filled.
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) Fail(cinfo);
    if (level < 0) ++cinfo->err->num_warnings;
}

void OutputMessage(j_common_ptr) {
}

void InstallErrors(ErrorManager& err) {
    jpeg_std_error(&err.Base);
    err.Base.error_exit = ErrorExit;
    err.Base.emit_message = EmitMessage;
    err.Base.output_message = OutputMessage;
}

// Our own refusal; no C++ temporaries may be alive in the caller's expression, as the jump skips them.
[[noreturn]] void FailWith(j_common_ptr cinfo, const char* message, unsigned width = 0, unsigned height = 0) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(err->Message, sizeof(err->Message), message, width, height);
    Fail(cinfo);
}

struct DecodeJob {
    ErrorManager Err;
    jpeg_decompress_struct Info {};
    Bitmap* Image = nullptr;
};

// Adobe CMYK JPEGs store the inks inverted; others store them plainly.
void CmykRowToBgr(const JSAMPLE* in, BYTE* out, int width, bool inverted) {
    for (int x = 0; x < width; ++x, in += 4, out += 3) {
        int c = inverted ? in[0] : 255 - in[0];
        int m = inverted ? in[1] : 255 - in[1];
        int y = inverted ? in[2] : 255 - in[2];
        int k = inverted ? in[3] : 255 - in[3];
        out[0] = BYTE((y * k + 127) / 255);
        out[1] = BYTE((m * k + 127) / 255);
        out[2] = BYTE((c * k + 127) / 255);
    }
}

// Blocks of 8 x 8 samples the picture is coded in, over all components (known once the header is read).
std::uint64_t BlocksOf(const jpeg_decompress_struct& info) {
    std::uint64_t blocks = 0;
    for (int i = 0; i < info.num_components; ++i)
        blocks += std::uint64_t(info.comp_info[i].width_in_blocks) * info.comp_info[i].height_in_blocks;
    return blocks;
}

// The most blocks a Huffman-coded file of this size can code: a block costs at least one bit (its DC
// difference), so a file with fewer bits than blocks cannot fill its picture. Arithmetic coding codes a flat
// block in a small fraction of a bit (a few hundred bytes hold a flat picture of millions of pixels), so an
// arithmetic-coded file is bounded by the size limit and libjpeg's memory cap alone.
std::uint64_t MaxHuffmanBlocksIn(std::size_t bytes) {
    return std::uint64_t(bytes) * 8;
}

struct Destination {
    jpeg_destination_mgr Base;   // first, so libjpeg's pointer converts back
    std::vector<std::uint8_t> Bytes;
    std::array<JOCTET, 16384> Buffer;

    static void Init(j_compress_ptr cinfo) {
        auto* self = reinterpret_cast<Destination*>(cinfo->dest);
        self->Base.next_output_byte = self->Buffer.data();
        self->Base.free_in_buffer = self->Buffer.size();
    }
    static boolean Empty(j_compress_ptr cinfo) {
        auto* self = reinterpret_cast<Destination*>(cinfo->dest);
        self->Bytes.insert(self->Bytes.end(), self->Buffer.begin(), self->Buffer.end());
        Init(cinfo);
        return TRUE;
    }
    static void Term(j_compress_ptr cinfo) {
        auto* self = reinterpret_cast<Destination*>(cinfo->dest);
        std::size_t used = self->Buffer.size() - self->Base.free_in_buffer;
        self->Bytes.insert(self->Bytes.end(), self->Buffer.begin(), self->Buffer.begin() + std::ptrdiff_t(used));
    }
};

struct EncodeJob {
    ErrorManager Err;
    jpeg_compress_struct Info {};
    Destination Dest {};
};

}

// Out of line on purpose: string code inlined into a function that calls setjmp trips -Wclobbered.
[[gnu::noinline]] static void SetJpegError(std::string& target, const char* message) {
    target = std::string("JPEG: ") + message;
}

ImageResult ReadJpeg(std::span<const std::uint8_t> data) {
    ImageResult result;
    if (data.empty()) {
        result.Error = "JPEG: no data";
        return result;
    }
    auto job = std::make_unique<DecodeJob>();
    InstallErrors(job->Err);
    jpeg_decompress_struct* cinfo = &job->Info;
    cinfo->err = &job->Err.Base;
    if (setjmp(job->Err.Jump)) {
        jpeg_destroy_decompress(cinfo);
        if (job->Image) DeleteObject(job->Image);
        SetJpegError(result.Error, job->Err.Message);
        return result;
    }
    jpeg_create_decompress(cinfo);
    // libjpeg's own buffers (a progressive file keeps every coefficient) stay within the picture limit.
    cinfo->mem->max_memory_to_use = long(MaxImageBytes);
    jpeg_mem_src(cinfo, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(cinfo, TRUE);
    const JDIMENSION width = cinfo->image_width;
    const JDIMENSION height = cinfo->image_height;
    if (width == 0 || height == 0) FailWith(j_common_ptr(cinfo), "zero size");
    if (width > JDIMENSION(Bitmap::MaxDimension) || height > JDIMENSION(Bitmap::MaxDimension)
        || std::uint64_t(width) * height * 3 > MaxImageBytes)
        FailWith(j_common_ptr(cinfo), "size %u x %u is too large", width, height);
    if (!cinfo->arith_code && BlocksOf(*cinfo) > MaxHuffmanBlocksIn(data.size()))
        FailWith(j_common_ptr(cinfo), "size %u x %u cannot be filled by the file's data", width, height);
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(cinfo);
    job->Image = Bitmap::Create(int(width), int(height), PixelFormat::pf24bit);
    if (!job->Image) FailWith(j_common_ptr(cinfo), "out of memory");
    JSAMPARRAY cmykRow = cmyk ? (*cinfo->mem->alloc_sarray)(j_common_ptr(cinfo), JPOOL_IMAGE, width * 4, 1) : nullptr;
    while (cinfo->output_scanline < cinfo->output_height) {
        BYTE* target = job->Image->ScanLine(int(cinfo->output_scanline));
        if (cmyk) {
            jpeg_read_scanlines(cinfo, cmykRow, 1);
            CmykRowToBgr(cmykRow[0], target, int(width), cinfo->saw_Adobe_marker);
        } else {
            JSAMPROW row = target;
            jpeg_read_scanlines(cinfo, &row, 1);
        }
    }
    jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    result.Image.Reset(job->Image);
    return result;
}

ImageResult ReadJpegFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    ImageResult result;
    if (!ReadImageFileBytes(path, bytes, result.Error)) return result;
    result = ReadJpeg(bytes);
    if (!result) result.Error += " (" + path + ")";
    return result;
}

std::vector<std::uint8_t> WriteJpeg(const Bitmap& bitmap, int quality, std::string* error) {
    if (bitmap.Empty() || !bitmap.Bits()) {
        if (error) *error = "JPEG: nothing to write for an empty bitmap";
        return {};
    }
    auto job = std::make_unique<EncodeJob>();
    InstallErrors(job->Err);
    jpeg_compress_struct* cinfo = &job->Info;
    cinfo->err = &job->Err.Base;
    if (setjmp(job->Err.Jump)) {
        jpeg_destroy_compress(cinfo);
        if (error) SetJpegError(*error, job->Err.Message);
        return {};
    }
    jpeg_create_compress(cinfo);
    job->Dest.Base.init_destination = Destination::Init;
    job->Dest.Base.empty_output_buffer = Destination::Empty;
    job->Dest.Base.term_destination = Destination::Term;
    cinfo->dest = &job->Dest.Base;
    cinfo->image_width = JDIMENSION(bitmap.Width());
    cinfo->image_height = JDIMENSION(bitmap.Height());
    const bool wide = bitmap.Format() == PixelFormat::pf32bit;
    cinfo->input_components = wide ? 4 : 3;
    cinfo->in_color_space = wide ? JCS_EXT_BGRX : JCS_EXT_BGR;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, std::clamp(quality, 1, 100), TRUE);
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        // libjpeg only reads the rows it is given.
        JSAMPROW row = const_cast<JSAMPROW>(bitmap.ScanLine(int(cinfo->next_scanline)));
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    jpeg_destroy_compress(cinfo);
    return std::move(job->Dest.Bytes);
}

bool WriteJpegFile(const Bitmap& bitmap, const std::string& path, int quality, std::string* error) {
    std::string message;
    std::vector<std::uint8_t> bytes = WriteJpeg(bitmap, quality, &message);
    if (!bytes.empty() && WriteImageFileBytes(path, bytes, message)) return true;
    if (error) *error = message;
    return false;
}

}
