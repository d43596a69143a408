// Pixel-test fixtures: 24-bit bitmaps from fills, pixel reads, and small skins whose tables are filled in code.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsTypes.h"
#include "platform/classes/TComponent.h"
#include "skin/engine/Forward.h"

#include <cstdint>
#include <memory>

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin::pixeltest {

inline constexpr classes::TColor Key = 0xFF00FF;

constexpr classes::TColor Rgb(int r, int g, int b) {
    return classes::TColor(std::uint32_t(r) | (std::uint32_t(g) << 8) | (std::uint32_t(b) << 16));
}

// A pf24bit bitmap filled with one colour.
std::unique_ptr<classes::TBitmap> Bitmap24(int width, int height, classes::TColor fill = 0);
classes::TColor Px(const classes::TBitmap& bitmap, int x, int y);   // 0x00BBGGRR
void Put(classes::TBitmap& bitmap, int x, int y, classes::TColor color);
void Fill(classes::TBitmap& bitmap, const classes::TRect& rect, classes::TColor color);
// Every pixel equal (all of the bitmap, or of rect).
bool AllPixels(const classes::TBitmap& bitmap, const classes::TRect& rect, classes::TColor color);
// The same pixels (both pf24bit, same size).
bool SamePixels(const classes::TBitmap& a, const classes::TBitmap& b);
// Random bytes (a fixed seed) in every pixel.
void Noise(classes::TBitmap& bitmap, std::uint32_t seed);

// A skin manager whose master bitmap and image table the test fills itself.
class TestSkin {
public:
    TestSkin(int masterWidth, int masterHeight, classes::TColor fill = 0);
    ~TestSkin();

    TsSkinManager* Manager() const { return FManager; }
    classes::TBitmap& Master() const;
    // An image of the master bitmap; returns its index.
    int AddMask(const classes::TRect& r, int imageCount, int maskType, int borderWidth = 0, int stretchMode = 0);
    // An image with its own bitmap (taken over).
    int AddOwnMask(std::unique_ptr<classes::TBitmap> bitmap, int imageCount, int maskType, int borderWidth = 0);
    TsMaskData& Mask(int index) const;

private:
    std::unique_ptr<classes::TComponent> FOwner;
    TsSkinManager* FManager = nullptr;
};

}
