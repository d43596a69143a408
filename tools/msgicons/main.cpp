// msgicons FOLDER: writes the stock icons as PNG files (<name>-<size>.png) into FOLDER.
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/PngCodec.h"
#include "tools/msgicons/MessageIconArt.h"

#include <cstdio>
#include <string>

using namespace korvex;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: msgicons FOLDER\n");
        return 2;
    }
    for (msgicons::MessageIcon icon : msgicons::AllIcons) {
        gdi::GdiHandle<gdi::Bitmap> bitmap(msgicons::DrawIcon(icon, 32));
        const std::string path = std::string(argv[1]) + "/" + msgicons::IconName(icon) + "-32.png";
        std::string error;
        if (!bitmap || !gdi::WritePngFile(*bitmap.Get(), path, gdi::PngAlpha::Keep, &error)) {
            std::fprintf(stderr, "msgicons: %s: %s\n", path.c_str(), error.c_str());
            return 1;
        }
    }
    return 0;
}
