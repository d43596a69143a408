// msgicons FOLDER: writes the stock icons as PNG files (<name>-<size>.png) into FOLDER.
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/PngCodec.h"
#include "tools/ToolUsage.h"
#include "tools/msgicons/MessageIconArt.h"

#include <cstdio>
#include <string>

using namespace korvex;

int main(int argc, char** argv) {
    const char* usage = "usage: msgicons FOLDER\n";
    if (tools::AsksForUsage(argc, argv)) return tools::ShowUsage(usage, true);
    if (argc != 2) return tools::ShowUsage(usage, false);
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
