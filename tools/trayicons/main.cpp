// trayicons FOLDER [--sheet FILE]: writes the tray icon frames as PNG files (set-size-frame.png) into FOLDER,
// and with --sheet a picture of them all, enlarged, on a light and a dark panel.
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/PngCodec.h"
#include "tools/ToolUsage.h"
#include "tools/trayicons/IconArt.h"

#include <cstdio>
#include <string>

using namespace korvex;

namespace {

// Blends the straight-alpha frame over a background, enlarged by zoom.
void Put(gdi::Bitmap& sheet, const gdi::Bitmap& frame, int left, int top, int zoom) {
    for (int y = 0; y < frame.Height() * zoom; ++y)
        for (int x = 0; x < frame.Width() * zoom; ++x) {
            const gdi::BYTE* s = frame.ScanLine(y / zoom) + (x / zoom) * 4;
            gdi::BYTE* d = sheet.ScanLine(top + y) + (left + x) * 4;
            for (int k = 0; k < 3; ++k)
                d[k] = gdi::BYTE((s[k] * s[3] + d[k] * (255 - s[3]) + 127) / 255);
        }
}

bool WriteSheet(const std::string& path) {
    const int zoom = 4, pad = 8;
    int width = pad, height = 0;
    for (int size : trayicons::Sizes)
        width += (size * zoom + pad) * 8;
    height = pad;
    for (int size : trayicons::Sizes)
        height += (size * zoom + pad) * 3 * 2;   // three sets on two panels
    gdi::GdiHandle<gdi::Bitmap> sheet(gdi::Bitmap::Create(width, height, gdi::PixelFormat::pf32bit));
    int top = pad;
    for (int panel = 0; panel < 2; ++panel) {
        gdi::BYTE shade = panel == 0 ? 0xF0 : 0x2B;
        for (auto set : {trayicons::IconSet::Normal, trayicons::IconSet::Busy, trayicons::IconSet::Viewer})
            for (int size : trayicons::Sizes) {
                for (int y = top - pad / 2; y < top + size * zoom + pad / 2; ++y)
                    for (int x = 0; x < width; ++x) {
                        gdi::BYTE* d = sheet.Get()->ScanLine(y) + x * 4;
                        d[0] = d[1] = d[2] = shade;
                    }
                int left = pad;
                for (int f = 0; f < trayicons::FrameCount(set); ++f) {
                    gdi::GdiHandle<gdi::Bitmap> frame(trayicons::DrawFrame(set, f, size));
                    Put(*sheet.Get(), *frame.Get(), left, top, zoom);
                    left += size * zoom + pad;
                }
                top += size * zoom + pad;
            }
    }
    return gdi::WritePngFile(*sheet.Get(), path);
}

}   // namespace

int main(int argc, char** argv) {
    const char* usage = "usage: trayicons FOLDER [--sheet FILE]\n";
    if (tools::AsksForUsage(argc, argv)) return tools::ShowUsage(usage, true);
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--sheet")) return tools::ShowUsage(usage, false);
    std::string folder = argv[1];
    for (auto set : {trayicons::IconSet::Normal, trayicons::IconSet::Busy, trayicons::IconSet::Viewer})
        for (int size : trayicons::Sizes)
            for (int f = 0; f < trayicons::FrameCount(set); ++f) {
                gdi::GdiHandle<gdi::Bitmap> frame(trayicons::DrawFrame(set, f, size));
                std::string path = folder + "/" + trayicons::SetName(set) + "-" + std::to_string(size) + "-"
                    + std::to_string(f) + ".png";
                std::string error;
                if (!frame || !gdi::WritePngFile(*frame.Get(), path, gdi::PngAlpha::Keep, &error)) {
                    std::fprintf(stderr, "trayicons: %s: %s\n", path.c_str(), error.c_str());
                    return 1;
                }
            }
    if (argc == 4 && !WriteSheet(argv[3])) {
        std::fprintf(stderr, "trayicons: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
