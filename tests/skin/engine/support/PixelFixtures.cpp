// Pixel-test fixtures: 24-bit bitmaps from fills, pixel reads, and small skins whose tables are filled in code.
#include "support/PixelFixtures.h"

#include "platform/classes/TBitmap.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"

#include <cstring>
#include <random>

namespace korvex::skin::pixeltest {

std::unique_ptr<classes::TBitmap> Bitmap24(int width, int height, classes::TColor fill) {
    auto bitmap = std::make_unique<classes::TBitmap>();
    bitmap->SetPixelFormat(classes::pf24bit);
    bitmap->SetSize(width, height);
    Fill(*bitmap, classes::TRect {0, 0, width, height}, fill);
    return bitmap;
}

classes::TColor Px(const classes::TBitmap& bitmap, int x, int y) {
    const std::uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    return Rgb(p[2], p[1], p[0]);
}

void Put(classes::TBitmap& bitmap, int x, int y, classes::TColor color) {
    std::uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    p[0] = std::uint8_t(color >> 16);
    p[1] = std::uint8_t(color >> 8);
    p[2] = std::uint8_t(color);
}

void Fill(classes::TBitmap& bitmap, const classes::TRect& rect, classes::TColor color) {
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            Put(bitmap, x, y, color);
}

bool AllPixels(const classes::TBitmap& bitmap, const classes::TRect& rect, classes::TColor color) {
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (Px(bitmap, x, y) != color) return false;
    return true;
}

bool SamePixels(const classes::TBitmap& a, const classes::TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.ScanLine(y), b.ScanLine(y), std::size_t(a.Width()) * 3) != 0) return false;
    return true;
}

void Noise(classes::TBitmap& bitmap, std::uint32_t seed) {
    std::mt19937 random(seed);
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint8_t* row = bitmap.ScanLine(y);
        for (int i = 0; i < bitmap.Width() * 3; ++i)
            row[i] = std::uint8_t(random());
    }
}

TestSkin::TestSkin(int masterWidth, int masterHeight, classes::TColor fill)
    : FOwner(std::make_unique<classes::TComponent>(nullptr)) {
    FManager = classes::Create<TsSkinManager>(FOwner.get());
    FManager->SetActive(false);
    FManager->MasterBitmap = Bitmap24(masterWidth, masterHeight, fill);
}

TestSkin::~TestSkin() = default;

classes::TBitmap& TestSkin::Master() const {
    return *FManager->MasterBitmap;
}

int TestSkin::AddMask(const classes::TRect& r, int imageCount, int maskType, int borderWidth, int stretchMode) {
    TsMaskData mask;
    mask.ClassName = "TEST";
    mask.PropertyName = "MASK" + std::to_string(FManager->Masks.size());
    mask.R = r;
    mask.ImageCount = imageCount;
    mask.MaskType = maskType;
    mask.BorderWidth = borderWidth;
    mask.StretchMode = stretchMode;
    mask.Manager = FManager;
    FManager->Masks.push_back(std::move(mask));
    return int(FManager->Masks.size()) - 1;
}

int TestSkin::AddOwnMask(std::unique_ptr<classes::TBitmap> bitmap, int imageCount, int maskType, int borderWidth) {
    const classes::TRect r {0, 0, bitmap->Width(), bitmap->Height()};
    const int index = AddMask(r, imageCount, maskType, borderWidth);
    FManager->Masks[std::size_t(index)].Bmp = std::move(bitmap);
    return index;
}

TsMaskData& TestSkin::Mask(int index) const {
    return FManager->Masks[std::size_t(index)];
}

}
