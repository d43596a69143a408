// The skin engine's hot pixel kernels on 1024x768 bitmaps beside pixman's nearest composites and memcpy.
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "skin/engine/sBitmapUtils.h"
#include "skin/engine/sMaskPaint.h"
#include "skin/engine/sPixelAccess.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sTextures.h"

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <memory>

using namespace korvex;
using namespace korvex::skin;

namespace {

constexpr int Width = 1024;
constexpr int Height = 768;

// A bitmap of `bits` per pixel whose bytes follow a pattern (seeded so two bitmaps differ).
std::unique_ptr<classes::TBitmap> Pattern(int width, int height, int bits, int seed) {
    auto bitmap = std::make_unique<classes::TBitmap>();
    bitmap->SetPixelFormat(bits == 24 ? classes::pf24bit : classes::pf32bit);
    bitmap->SetSize(width, height);
    gdi::Bitmap* image = bitmap->Handle();
    for (size_t i = 0; i < image->ByteSize(); ++i)
        image->Bits()[i] = gdi::BYTE(i * 7 + seed * 13 + (i >> 12));
    return bitmap;
}

pixman_image_t* Pixman(classes::TBitmap& bitmap, int bits) {
    gdi::Bitmap* image = bitmap.Handle();
    return pixman_image_create_bits(bits == 24 ? PIXMAN_r8g8b8 : PIXMAN_x8r8g8b8, image->Width(), image->Height(),
        reinterpret_cast<uint32_t*>(image->Bits()), image->BytesPerScanLine());
}

pixman_image_t* SolidMask(double alpha) {
    const pixman_color_t colour {0, 0, 0, uint16_t(alpha * 0xFFFF)};
    return pixman_image_create_solid_fill(&colour);
}

void SetBytes(benchmark::State& state, const classes::TBitmap& bitmap) {
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bitmap.Handle()->ByteSize()));
}

// memcpy of a destination's bytes: the floor for every kernel below.
void BM_Memcpy(benchmark::State& state) {
    const int bits = int(state.range(0));
    auto src = Pattern(Width, Height, bits, 1), dst = Pattern(Width, Height, bits, 2);
    for (auto _ : state) {
        std::memcpy(dst->Handle()->Bits(), src->Handle()->Bits(), dst->Handle()->ByteSize());
        benchmark::ClobberMemory();
    }
    SetBytes(state, *dst);
}

// ---------------------------------------------------------------------------------------------------------
// The fade blend: dst := (src * (255 - a) + dst * a + 127) >> 8

void BM_SumBitmaps(benchmark::State& state) {
    auto src = Pattern(Width, Height, 24, 1), dst = Pattern(Width, Height, 24, 2);
    for (auto _ : state) {
        SumBitmaps(dst.get(), src.get(), 100);
        benchmark::ClobberMemory();
    }
    SetBytes(state, *dst);
}

// OVER with a constant mask: dst := src * m + dst * (1 - m).
void BM_SumBitmaps_Pixman(benchmark::State& state) {
    const int bits = int(state.range(0));
    auto src = Pattern(Width, Height, bits, 1), dst = Pattern(Width, Height, bits, 2);
    pixman_image_t* s = Pixman(*src, bits);
    pixman_image_t* d = Pixman(*dst, bits);
    pixman_image_t* m = SolidMask(155.0 / 255);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, s, m, d, 0, 0, 0, 0, 0, 0, Width, Height);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(s);
    pixman_image_unref(d);
    pixman_image_unref(m);
    SetBytes(state, *dst);
}

// ---------------------------------------------------------------------------------------------------------
// The colour blend of a rectangle (the disabled look without a parent cache)

// Percent 50 (the disabled look) halves exactly; 37 takes the integer kernel as it is; 30 with this colour
// has ties the double formula breaks its own way, which the kernel mends with a zone of ties that go down.
void BM_BlendRectWithColor(benchmark::State& state) {
    const int percent = int(state.range(0));
    auto dst = Pattern(Width, Height, 24, 2);
    for (auto _ : state) {
        BlendRectWithColor(dst.get(), classes::TRect {0, 0, Width, Height}, percent, 0x336699);
        benchmark::ClobberMemory();
    }
    SetBytes(state, *dst);
}

// OVER with a half-transparent solid source.
void BM_BlendRectWithColor_Pixman(benchmark::State& state) {
    const int bits = int(state.range(0));
    auto dst = Pattern(Width, Height, bits, 2);
    pixman_image_t* d = Pixman(*dst, bits);
    const pixman_color_t colour {0x3300, 0x6600, 0x9900, 0x8000};
    pixman_image_t* s = pixman_image_create_solid_fill(&colour);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, Width, Height);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(s);
    pixman_image_unref(d);
    SetBytes(state, *dst);
}

// ---------------------------------------------------------------------------------------------------------
// The masked copy: picture through its per-channel grey mask, holes of the key colour left out

struct MaskedSource {
    MaskedSource() {
        Owner = std::make_unique<classes::TComponent>(nullptr);
        Manager = classes::Create<TsSkinManager>(Owner.get());
        Manager->SetActive(false);
        Manager->MasterBitmap = Pattern(Width, 2 * Height, 24, 3);
        // A hole every 97 pixels, as skin pictures have around their corners.
        gdi::Bitmap* image = Manager->MasterBitmap->Handle();
        for (int y = 0; y < Height; ++y)
            for (int x = y % 97; x < Width; x += 97) {
                gdi::BYTE* p = image->ScanLine(y) + 3 * x;
                p[0] = 0xFF, p[1] = 0, p[2] = 0xFF;
            }
        TsMaskData mask;
        mask.R = classes::TRect {0, 0, Width, 2 * Height};
        mask.MaskType = 1;
        mask.Manager = Manager;
        Manager->Masks.push_back(std::move(mask));
    }
    std::unique_ptr<classes::TComponent> Owner;
    TsSkinManager* Manager = nullptr;
};

void BM_BlendMaskedPiece(benchmark::State& state) {
    MaskedSource source;
    auto dst = Pattern(Width, Height, 24, 2);
    const classes::TRect r {0, 0, Width, Height};
    for (auto _ : state) {
        BlendMaskedPiece(r, r, dst.get(), source.Manager->Masks[0], EmptyCacheInfo);
        benchmark::ClobberMemory();
    }
    SetBytes(state, *dst);
}

// Component-alpha OVER: each channel weighed by its own mask channel.
void BM_BlendMaskedPiece_Pixman(benchmark::State& state) {
    const int bits = int(state.range(0));
    auto src = Pattern(Width, Height, bits, 3), mask = Pattern(Width, Height, bits, 4);
    auto dst = Pattern(Width, Height, bits, 2);
    pixman_image_t* s = Pixman(*src, bits);
    gdi::Bitmap* mi = mask->Handle();
    pixman_image_t* m = pixman_image_create_bits(bits == 24 ? PIXMAN_r8g8b8 : PIXMAN_a8r8g8b8, Width, Height,
        reinterpret_cast<uint32_t*>(mi->Bits()), mi->BytesPerScanLine());
    pixman_image_set_component_alpha(m, 1);
    pixman_image_t* d = Pixman(*dst, bits);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, s, m, d, 0, 0, 0, 0, 0, 0, Width, Height);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(s);
    pixman_image_unref(m);
    pixman_image_unref(d);
    SetBytes(state, *dst);
}

// ---------------------------------------------------------------------------------------------------------
// Greying (reference: memcpy of the same bytes)

void BM_GrayscaleBitmap(benchmark::State& state) {
    auto dst = Pattern(Width, Height, 24, 2);
    for (auto _ : state) {
        GrayscaleBitmap(dst.get());
        benchmark::ClobberMemory();
    }
    SetBytes(state, *dst);
}

// ---------------------------------------------------------------------------------------------------------
// Tiling a 32 x 32 texture over the whole bitmap

void BM_PaintTexture(benchmark::State& state) {
    MaskedSource source;
    TsMaskData& tile = source.Manager->Masks[0];
    tile.R = classes::TRect {0, 0, 32, 32};
    tile.MaskType = 0;
    auto dst = Pattern(Width, Height, 24, 2);
    classes::TCanvas* canvas = dst->Canvas();
    for (auto _ : state) {
        classes::TRect r {0, 0, Width, Height};
        PaintTexture(canvas, r, nullptr, tile, 0);
        benchmark::ClobberMemory();
    }
    SetBytes(state, *dst);
}

void BM_PaintTexture_Pixman(benchmark::State& state) {
    const int bits = int(state.range(0));
    auto tile = Pattern(32, 32, bits, 3);
    auto dst = Pattern(Width, Height, bits, 2);
    pixman_image_t* s = Pixman(*tile, bits);
    pixman_image_set_repeat(s, PIXMAN_REPEAT_NORMAL);
    pixman_image_t* d = Pixman(*dst, bits);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, Width, Height);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(s);
    pixman_image_unref(d);
    SetBytes(state, *dst);
}

}

BENCHMARK(BM_Memcpy)->Arg(24)->Arg(32);
BENCHMARK(BM_SumBitmaps);
BENCHMARK(BM_SumBitmaps_Pixman)->Arg(24)->Arg(32);
BENCHMARK(BM_BlendRectWithColor)->Arg(50)->Arg(37)->Arg(30);
BENCHMARK(BM_BlendRectWithColor_Pixman)->Arg(24)->Arg(32);
BENCHMARK(BM_BlendMaskedPiece);
BENCHMARK(BM_BlendMaskedPiece_Pixman)->Arg(24)->Arg(32);
BENCHMARK(BM_GrayscaleBitmap);
BENCHMARK(BM_PaintTexture);
BENCHMARK(BM_PaintTexture_Pixman)->Arg(24)->Arg(32);

BENCHMARK_MAIN();
