// gdi hot paths on a 1024x768 surface beside memcpy/memset of the same bytes and pixman's equivalents.
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/Drawing.h"

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <vector>

using namespace korvex::gdi;

namespace {

constexpr int Width = 1024;
constexpr int Height = 768;

// A memory DC with its own bitmap filled with a pattern.
struct Surface {
    Surface(int width, int height, PixelFormat format) {
        Dc = CreateCompatibleDC(nullptr);
        Bits = Bitmap::Create(width, height, format);
        for (size_t i = 0; i < Bits->ByteSize(); ++i)
            Bits->Bits()[i] = BYTE(i * 7);
        Old = SelectObject(Dc, Bits);
    }
    ~Surface() {
        SelectObject(Dc, Old);
        DeleteDC(Dc);
        DeleteObject(Bits);
    }
    pixman_image_t* Pixman(pixman_format_code_t format) const {
        return pixman_image_create_bits(
            format, Bits->Width(), Bits->Height(), reinterpret_cast<uint32_t*>(Bits->Bits()), Bits->BytesPerScanLine());
    }
    HDC Dc;
    Bitmap* Bits;
    HBITMAP Old;
};

PixelFormat FormatOf(int bits) {
    return bits == 24 ? PixelFormat::pf24bit : PixelFormat::pf32bit;
}

pixman_format_code_t PixmanFormatOf(int bits) {
    return bits == 24 ? PIXMAN_r8g8b8 : PIXMAN_x8r8g8b8;
}

void SetBytes(benchmark::State& state, const Surface& s) {
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(s.Bits->ByteSize()));
}

// pixman copies src onto dst (Width x Height) every iteration, through `scale` (nearest neighbour) when given.
void PixmanCopies(benchmark::State& state, const Surface& src, const Surface& dst, int bits,
    const pixman_transform_t* scale) {
    pixman_image_t* s = src.Pixman(PixmanFormatOf(bits));
    pixman_image_t* d = dst.Pixman(PixmanFormatOf(bits));
    if (scale) {
        pixman_image_set_transform(s, scale);
        pixman_image_set_filter(s, PIXMAN_FILTER_NEAREST, nullptr, 0);
    }
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, Width, Height);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(s);
    pixman_image_unref(d);
    SetBytes(state, dst);
}

// ---------------------------------------------------------------------------------------------------------
// BitBlt SRCCOPY, same format

void BM_BitBlt(benchmark::State& state) {
    const int bits = int(state.range(0));
    Surface src(Width, Height, FormatOf(bits));
    Surface dst(Width, Height, FormatOf(bits));
    for (auto _ : state) {
        BitBlt(dst.Dc, 0, 0, Width, Height, src.Dc, 0, 0, SRCCOPY);
        benchmark::ClobberMemory();
    }
    SetBytes(state, dst);
}

void BM_BitBlt_Memcpy(benchmark::State& state) {
    const int bits = int(state.range(0));
    Surface src(Width, Height, FormatOf(bits));
    Surface dst(Width, Height, FormatOf(bits));
    for (auto _ : state) {
        std::memcpy(dst.Bits->Bits(), src.Bits->Bits(), dst.Bits->ByteSize());
        benchmark::ClobberMemory();
    }
    SetBytes(state, dst);
}

void BM_BitBlt_Pixman(benchmark::State& state) {
    const int bits = int(state.range(0));
    Surface src(Width, Height, FormatOf(bits));
    Surface dst(Width, Height, FormatOf(bits));
    PixmanCopies(state, src, dst, bits, nullptr);
}

// ---------------------------------------------------------------------------------------------------------
// StretchBlt 2:1 (2048x1536 onto 1024x768), nearest neighbour

void BM_StretchBlt(benchmark::State& state) {
    const int bits = int(state.range(0));
    Surface src(Width * 2, Height * 2, FormatOf(bits));
    Surface dst(Width, Height, FormatOf(bits));
    SetStretchBltMode(dst.Dc, COLORONCOLOR);
    for (auto _ : state) {
        StretchBlt(dst.Dc, 0, 0, Width, Height, src.Dc, 0, 0, Width * 2, Height * 2, SRCCOPY);
        benchmark::ClobberMemory();
    }
    SetBytes(state, dst);
}

void BM_StretchBlt_Memcpy(benchmark::State& state) {
    const int bits = int(state.range(0));
    Surface src(Width * 2, Height * 2, FormatOf(bits));
    Surface dst(Width, Height, FormatOf(bits));
    for (auto _ : state) {
        std::memcpy(dst.Bits->Bits(), src.Bits->Bits(), dst.Bits->ByteSize());
        benchmark::ClobberMemory();
    }
    SetBytes(state, dst);
}

void BM_StretchBlt_Pixman(benchmark::State& state) {
    const int bits = int(state.range(0));
    Surface src(Width * 2, Height * 2, FormatOf(bits));
    Surface dst(Width, Height, FormatOf(bits));
    pixman_transform_t scale;
    pixman_transform_init_scale(&scale, pixman_int_to_fixed(2), pixman_int_to_fixed(2));
    PixmanCopies(state, src, dst, bits, &scale);
}

// ---------------------------------------------------------------------------------------------------------
// FillRect over the whole surface

void BM_FillRect(benchmark::State& state) {
    const int bits = int(state.range(0));
    Surface dst(Width, Height, FormatOf(bits));
    HBRUSH brush = CreateSolidBrush(RGB(12, 34, 56));
    const RECT all {0, 0, Width, Height};
    for (auto _ : state) {
        FillRect(dst.Dc, &all, brush);
        benchmark::ClobberMemory();
    }
    DeleteObject(brush);
    SetBytes(state, dst);
}

void BM_FillRect_Memset(benchmark::State& state) {
    const int bits = int(state.range(0));
    Surface dst(Width, Height, FormatOf(bits));
    for (auto _ : state) {
        std::memset(dst.Bits->Bits(), 0x22, dst.Bits->ByteSize());
        benchmark::ClobberMemory();
    }
    SetBytes(state, dst);
}

void BM_FillRect_Pixman(benchmark::State& state) {
    const int bits = int(state.range(0));
    Surface dst(Width, Height, FormatOf(bits));
    for (auto _ : state) {
        pixman_fill(reinterpret_cast<uint32_t*>(dst.Bits->Bits()), dst.Bits->BytesPerScanLine() / 4, bits, 0, 0, Width,
            Height, 0x0C2238);
        benchmark::ClobberMemory();
    }
    SetBytes(state, dst);
}

}

BENCHMARK(BM_BitBlt)->Arg(24)->Arg(32);
BENCHMARK(BM_BitBlt_Memcpy)->Arg(24)->Arg(32);
BENCHMARK(BM_BitBlt_Pixman)->Arg(24)->Arg(32);
BENCHMARK(BM_StretchBlt)->Arg(24)->Arg(32);
BENCHMARK(BM_StretchBlt_Memcpy)->Arg(24)->Arg(32);
BENCHMARK(BM_StretchBlt_Pixman)->Arg(24)->Arg(32);
BENCHMARK(BM_FillRect)->Arg(24)->Arg(32);
BENCHMARK(BM_FillRect_Memset)->Arg(24)->Arg(32);
BENCHMARK(BM_FillRect_Pixman)->Arg(32);

BENCHMARK_MAIN();
