// Test helper: a memory DC with its own bitmap, filled with one colour, and pixel read-back.
#pragma once

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DeviceContext.h"

#include <string>

namespace korvex::gdi::test {

class TestCanvas {
public:
    explicit TestCanvas(
        int width, int height, PixelFormat format = PixelFormat::pf24bit, COLORREF background = RGB(255, 255, 255)) {
        FDc = CreateCompatibleDC(nullptr);
        FBitmap = Bitmap::Create(width, height, format);
        FBitmap->Fill(background);
        FOld = SelectObject(FDc, FBitmap);
    }
    ~TestCanvas() {
        SelectObject(FDc, FOld);
        DeleteDC(FDc);
        DeleteObject(FBitmap);
    }
    TestCanvas(const TestCanvas&) = delete;
    TestCanvas& operator=(const TestCanvas&) = delete;

    operator HDC() const { return FDc; }
    HDC Dc() const { return FDc; }
    Bitmap& Bits() const { return *FBitmap; }
    COLORREF At(int x, int y) const { return FBitmap->PixelAt(x, y); }

    // Rows of characters: '#' where the pixel equals `color`, '.' elsewhere (for readable shape checks).
    std::string Picture(COLORREF color, int left, int top, int right, int bottom) const {
        std::string out;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x)
                out += At(x, y) == color ? '#' : '.';
            out += '\n';
        }
        return out;
    }

    int Count(COLORREF color) const {
        int n = 0;
        for (int y = 0; y < FBitmap->Height(); ++y)
            for (int x = 0; x < FBitmap->Width(); ++x)
                n += At(x, y) == color;
        return n;
    }

private:
    HDC FDc = nullptr;
    Bitmap* FBitmap = nullptr;
    HGDIOBJ FOld = nullptr;
};

inline constexpr COLORREF White = RGB(255, 255, 255);
inline constexpr COLORREF Black = RGB(0, 0, 0);
inline constexpr COLORREF Red = RGB(255, 0, 0);
inline constexpr COLORREF Green = RGB(0, 255, 0);
inline constexpr COLORREF Blue = RGB(0, 0, 255);

}
