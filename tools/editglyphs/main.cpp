// editglyphs FOLDER [--sheet FILE]: writes the edit buttons' glyph bitmaps (NAME.bmp) into FOLDER, and with
// --sheet a picture of them enlarged over a light and a dark button face.
#include "platform/gdi/BmpCodec.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/PngCodec.h"
#include "tools/ToolUsage.h"
#include "tools/editglyphs/GlyphArt.h"

#include <cstdio>
#include <string>

using namespace korvex;

namespace {

bool WriteSheet(const std::string& path) {
    const int zoom = 6, pad = 8, piece = editglyphs::GlyphBitmapHeight / 2;
    int width = pad;
    for (const auto& g : editglyphs::Glyphs) width += g.Width * zoom + pad;
    const int height = pad + 2 * (piece * zoom + pad);
    gdi::GdiHandle<gdi::Bitmap> sheet(gdi::Bitmap::Create(width, height, gdi::PixelFormat::pf24bit));
    for (int panel = 0; panel < 2; ++panel) {
        const int shade = panel == 0 ? 0xEE : 0x3A;
        const int top = pad + panel * (piece * zoom + pad);
        int left = pad;
        for (const auto& g : editglyphs::Glyphs) {
            gdi::GdiHandle<gdi::Bitmap> bmp(editglyphs::DrawGlyphBitmap(g));
            for (int y = 0; y < piece * zoom; ++y)
                for (int x = 0; x < g.Width * zoom; ++x) {
                    const std::uint8_t* s = bmp.Get()->ScanLine(y / zoom) + (x / zoom) * 3;
                    const std::uint8_t* m = bmp.Get()->ScanLine(y / zoom + piece) + (x / zoom) * 3;
                    std::uint8_t* d = sheet.Get()->ScanLine(top + y) + (left + x) * 3;
                    for (int k = 0; k < 3; ++k) d[k] = std::uint8_t((s[k] * (256 - m[k]) + shade * m[k]) >> 8);
                }
            left += g.Width * zoom + pad;
        }
    }
    return gdi::WritePngFile(*sheet.Get(), path);
}

}   // namespace

int main(int argc, char** argv) {
    const char* usage = "usage: editglyphs FOLDER [--sheet FILE]\n";
    if (tools::AsksForUsage(argc, argv)) return tools::ShowUsage(usage, true);
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--sheet")) return tools::ShowUsage(usage, false);
    for (const auto& g : editglyphs::Glyphs) {
        gdi::GdiHandle<gdi::Bitmap> bmp(editglyphs::DrawGlyphBitmap(g));
        const std::string path = std::string(argv[1]) + "/" + g.Name + ".bmp";
        std::string error;
        if (!bmp || !gdi::WriteBmpFile(*bmp.Get(), path, &error)) {
            std::fprintf(stderr, "editglyphs: %s: %s\n", path.c_str(), error.c_str());
            return 1;
        }
    }
    if (argc == 4 && !WriteSheet(argv[3])) {
        std::fprintf(stderr, "editglyphs: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
