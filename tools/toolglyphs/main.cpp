// toolglyphs MAIN DIALOG [--sheet FILE]: writes the main window's tool bar glyphs into MAIN and the open
// dialog's into DIALOG (NAME.bmp), and with --sheet a picture of them enlarged over a light and a dark face.
#include "platform/gdi/BmpCodec.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/PngCodec.h"
#include "tools/ToolUsage.h"
#include "tools/toolglyphs/ToolArt.h"

#include <cstdio>
#include <string>

using namespace korvex;

namespace {

constexpr std::uint8_t KeyBlue = 0xFF, KeyGreen = 0x00, KeyRed = 0xFF;

bool WriteSheet(const std::string& path) {
    const int zoom = 5, pad = 8, side = toolglyphs::ToolGlyphSize * zoom;
    const int count = int(std::size(toolglyphs::ToolGlyphs));
    const int width = pad + count * (side + pad), height = pad + 2 * (side + pad);
    gdi::GdiHandle<gdi::Bitmap> sheet(gdi::Bitmap::Create(width, height, gdi::PixelFormat::pf24bit));
    for (int panel = 0; panel < 2; ++panel) {
        const std::uint8_t shade = panel == 0 ? 0xEE : 0x3A;
        const int top = pad + panel * (side + pad);
        for (int i = 0; i < count; ++i) {
            gdi::GdiHandle<gdi::Bitmap> bmp(toolglyphs::DrawToolGlyph(toolglyphs::ToolGlyphs[i]));
            const int left = pad + i * (side + pad);
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x) {
                    const std::uint8_t* s = bmp.Get()->ScanLine(y / zoom) + (x / zoom) * 3;
                    const bool key = s[0] == KeyBlue && s[1] == KeyGreen && s[2] == KeyRed;
                    std::uint8_t* d = sheet.Get()->ScanLine(top + y) + (left + x) * 3;
                    for (int k = 0; k < 3; ++k) d[k] = key ? shade : s[k];
                }
        }
    }
    return gdi::WritePngFile(*sheet.Get(), path);
}

}   // namespace

int main(int argc, char** argv) {
    const char* usage = "usage: toolglyphs MAIN DIALOG [--sheet FILE]\n";
    if (tools::AsksForUsage(argc, argv)) return tools::ShowUsage(usage, true);
    if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "--sheet")) return tools::ShowUsage(usage, false);
    for (const auto& g : toolglyphs::ToolGlyphs) {
        gdi::GdiHandle<gdi::Bitmap> bmp(toolglyphs::DrawToolGlyph(g));
        const char* folder = g.Set == toolglyphs::TGlyphSet::MainWindow ? argv[1] : argv[2];
        const std::string path = std::string(folder) + "/" + g.Name + ".bmp";
        std::string error;
        if (!bmp || !gdi::WriteBmpFile(*bmp.Get(), path, &error)) {
            std::fprintf(stderr, "toolglyphs: %s: %s\n", path.c_str(), error.c_str());
            return 1;
        }
    }
    if (argc == 5 && !WriteSheet(argv[4])) {
        std::fprintf(stderr, "toolglyphs: cannot write %s\n", argv[4]);
        return 1;
    }
    return 0;
}
