// xshot FILE.png: writes a picture of the whole screen of the X display named by $DISPLAY.
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/PngCodec.h"
#include "tools/ToolUsage.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

using namespace korvex;

// One colour channel of the image's pixels: its mask's lowest bit and width, scaled to 0..255.
struct TChannel {
    unsigned long Mask = 0;
    int Shift = 0;
    int Bits = 0;

    explicit TChannel(unsigned long mask) : Mask(mask) {
        while (mask && !(mask & 1)) {
            mask >>= 1;
            ++Shift;
        }
        while (mask & 1) {
            mask >>= 1;
            ++Bits;
        }
    }
    gdi::BYTE Of(unsigned long pixel) const {
        if (Bits == 0) return 0;
        return static_cast<gdi::BYTE>(((pixel & Mask) >> Shift) * 255 / ((1ul << Bits) - 1));
    }
};

}

int main(int argc, char** argv) {
    const char* usage = "usage: xshot FILE.png\n  Writes the screen of $DISPLAY as a PNG file.\n";
    if (tools::AsksForUsage(argc, argv)) return tools::ShowUsage(usage, true);
    if (argc != 2) return tools::ShowUsage(usage, false);
    std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
    if (!display) {
        std::fprintf(stderr, "xshot: cannot open the display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display.get());
    XWindowAttributes attributes{};
    XGetWindowAttributes(display.get(), root, &attributes);
    const auto destroy = [](XImage* image) { XDestroyImage(image); };
    std::unique_ptr<XImage, decltype(destroy)> image(
        XGetImage(display.get(), root, 0, 0, static_cast<unsigned>(attributes.width),
            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap),
        destroy);
    if (!image) {
        std::fprintf(stderr, "xshot: cannot read the screen\n");
        return 1;
    }
    gdi::GdiHandle<gdi::Bitmap> shot(gdi::Bitmap::Create(image->width, image->height, gdi::PixelFormat::pf24bit));
    if (!shot) return 1;
    const TChannel red(image->red_mask), green(image->green_mask), blue(image->blue_mask);
    for (int y = 0; y < image->height; ++y) {
        gdi::BYTE* row = shot.Get()->ScanLine(y);
        for (int x = 0; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image.get(), x, y);
            row[3 * x] = blue.Of(pixel);
            row[3 * x + 1] = green.Of(pixel);
            row[3 * x + 2] = red.Of(pixel);
        }
    }
    if (!gdi::WritePngFile(*shot.Get(), argv[1])) {
        std::fprintf(stderr, "xshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
