// Drawing helpers of the picture classes: masks built from a key colour or alpha, and blends through a memory DC.
#include "platform/classes/GraphicBlits.h"

#include "platform/gdi/BitBlt.h"

#include <algorithm>

namespace korvex::classes::detail {

namespace {

// A memory DC with one bitmap selected for the length of a scope.
class ScopedMemoryDC {
public:
    explicit ScopedMemoryDC(gdi::HBITMAP bitmap)
        : FDc(gdi::CreateCompatibleDC(nullptr)) {
        if (FDc) FOld = gdi::SelectObject(FDc, bitmap);
    }
    ~ScopedMemoryDC() {
        if (!FDc) return;
        if (FOld) gdi::SelectObject(FDc, FOld);
        gdi::DeleteDC(FDc);
    }
    ScopedMemoryDC(const ScopedMemoryDC&) = delete;
    ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;

    gdi::HDC Dc() const { return FOld ? FDc : nullptr; }   // nullptr when the bitmap could not be selected
    void Select(gdi::HBITMAP bitmap) { gdi::SelectObject(FDc, bitmap); }

private:
    gdi::HDC FDc = nullptr;
    gdi::HBITMAP FOld = nullptr;
};

bool Usable(const gdi::RECT& destRect, const gdi::RECT& srcRect) {
    return destRect.Width() != 0 && destRect.Height() != 0 && srcRect.Width() > 0 && srcRect.Height() > 0;
}

}

void TransparentStretch(gdi::HDC dest, const gdi::RECT& destRect, const gdi::Bitmap& source, const gdi::RECT& srcRect,
    MaskBy mode, gdi::COLORREF key) {
    if (!Usable(destRect, srcRect)) return;
    const int w = srcRect.Width();
    const int h = srcRect.Height();
    gdi::GdiHandle<gdi::Bitmap> mask(gdi::Bitmap::Create(w, h, gdi::PixelFormat::pf24bit));
    gdi::GdiHandle<gdi::Bitmap> image(gdi::Bitmap::Create(w, h, gdi::PixelFormat::pf24bit));
    if (!mask || !image) return;
    const int step = source.BytesPerPixel();
    const gdi::BYTE kb = gdi::GetBValue(key), kg = gdi::GetGValue(key), kr = gdi::GetRValue(key);
    for (int y = 0; y < h; ++y) {
        const int sy = srcRect.top + y;
        const gdi::BYTE* srcRow = source.ScanLine(sy);
        gdi::BYTE* m = mask.Get()->ScanLine(y);
        gdi::BYTE* p = image.Get()->ScanLine(y);
        for (int x = 0; x < w; ++x, m += 3, p += 3) {
            const int sx = srcRect.left + x;
            bool transparent = srcRow == nullptr || sx < 0 || sx >= source.Width();
            const gdi::BYTE* s = transparent ? nullptr : srcRow + size_t(sx) * step;
            if (s) {
                if (mode == MaskBy::Color)
                    transparent = s[0] == kb && s[1] == kg && s[2] == kr;
                else
                    transparent = step == 4 && s[3] < 128;
            }
            const gdi::BYTE maskByte = transparent ? 0xFF : 0x00;
            m[0] = m[1] = m[2] = maskByte;
            p[0] = transparent ? 0 : s[0];
            p[1] = transparent ? 0 : s[1];
            p[2] = transparent ? 0 : s[2];
        }
    }
    ScopedMemoryDC dc(mask.Get());
    if (!dc.Dc()) return;
    gdi::StretchBlt(
        dest, destRect.left, destRect.top, destRect.Width(), destRect.Height(), dc.Dc(), 0, 0, w, h, gdi::SRCAND);
    dc.Select(image.Get());
    gdi::StretchBlt(
        dest, destRect.left, destRect.top, destRect.Width(), destRect.Height(), dc.Dc(), 0, 0, w, h, gdi::SRCPAINT);
}

void AlphaStretch(gdi::HDC dest, const gdi::RECT& destRect, const gdi::Bitmap& source, const gdi::RECT& srcRect) {
    if (!Usable(destRect, srcRect) || destRect.Width() < 0 || destRect.Height() < 0) return;
    ScopedMemoryDC dc(const_cast<gdi::Bitmap*>(&source));
    if (!dc.Dc()) return;
    gdi::BLENDFUNCTION blend;
    blend.BlendOp = gdi::AC_SRC_OVER;
    blend.SourceConstantAlpha = 255;
    blend.AlphaFormat = gdi::AC_SRC_ALPHA;
    gdi::AlphaBlend(dest, destRect.left, destRect.top, destRect.Width(), destRect.Height(), dc.Dc(), srcRect.left,
        srcRect.top, srcRect.Width(), srcRect.Height(), blend);
}

bool HasPartialAlpha(const gdi::Bitmap& bitmap, const gdi::RECT& rect) {
    if (bitmap.Format() != gdi::PixelFormat::pf32bit) return false;
    for (int y = std::max(0, int(rect.top)); y < std::min(bitmap.Height(), int(rect.bottom)); ++y) {
        const gdi::BYTE* row = bitmap.ScanLine(y);
        for (int x = std::max(0, int(rect.left)); x < std::min(bitmap.Width(), int(rect.right)); ++x) {
            const gdi::BYTE a = row[size_t(x) * 4 + 3];
            if (a != 0 && a != 255) return true;
        }
    }
    return false;
}

}
