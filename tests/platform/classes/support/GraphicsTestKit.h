// Test helpers for the graphics classes: bitmaps filled in code, pixel reads, a filer that captures defined
// entries, and a pinned font family so text measures the same everywhere.
#pragma once

#include "platform/classes/TBitmap.h"
#include "platform/classes/TFiler.h"
#include "platform/classes/TPersistent.h"
#include "platform/gdi/FontEngine.h"

#include <map>
#include <memory>
#include <string>

namespace korvex::classes::test {

// A bitmap of the size and format, every pixel the colour (0x00BBGGRR).
inline std::unique_ptr<TBitmap> MakeBitmap(int width, int height, TColor color, TPixelFormat format = pf24bit) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(format);
    bitmap->SetSize(width, height);
    bitmap->Handle()->Fill(static_cast<gdi::COLORREF>(color));
    return bitmap;
}

inline TColor PixelOf(const TBitmap& bitmap, int x, int y) {
    return static_cast<TColor>(bitmap.Handle()->PixelAt(x, y));
}

inline void SetPixelOf(TBitmap& bitmap, int x, int y, TColor color) {
    bitmap.Handle()->SetPixelAt(x, y, static_cast<gdi::COLORREF>(color));
}

// Counts the pixels of a colour inside a rectangle (clipped to the bitmap).
inline int CountColor(const TBitmap& bitmap, TColor color, TRect r) {
    int n = 0;
    for (int y = std::max<int>(0, r.top); y < std::min<int>(bitmap.Height(), r.bottom); ++y)
        for (int x = std::max<int>(0, r.left); x < std::min<int>(bitmap.Width(), r.right); ++x)
            n += PixelOf(bitmap, x, y) == color;
    return n;
}

// Keeps what DefineProperties names, so tests can run the read and write procedures directly.
class CaptureFiler : public TFiler {
public:
    struct Binary {
        TStreamProc Read;
        TStreamProc Write;
        bool HasData = false;
    };
    void DefineProperty(const std::string&, const TReaderProc&, const TWriterProc&, bool) override { }
    void DefineBinaryProperty(
        const std::string& name, const TStreamProc& read, const TStreamProc& write, bool hasData) override {
        Binaries[name] = Binary {read, write, hasData};
    }
    std::map<std::string, Binary> Binaries;
};

// Text measures with one family whatever face a font names.
class PinnedFont {
public:
    PinnedFont() { gdi::SetPinnedFontFamily("DejaVu Sans"); }
    ~PinnedFont() { gdi::SetPinnedFontFamily(""); }
    PinnedFont(const PinnedFont&) = delete;
    PinnedFont& operator=(const PinnedFont&) = delete;
};

}
