// Test fixtures made by the generator: small skin folders with their "Options.dat" and pictures.
#include "tools/skingen/Fixtures.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TJPEGImage.h"
#include "tools/skingen/Raster.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace korvex::skingen::fixtures {

using classes::TBitmap;

namespace {

std::string Folder(const std::string& root, const char* name) {
    const std::string folder = root + "/" + name;
    std::filesystem::create_directories(folder);
    return folder;
}

void WriteText(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines)
        out << line << "\r\n";
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::unique_ptr<TBitmap> Bitmap(int w, int h, TColor color) {
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(classes::pf24bit);
    bmp->SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = bmp->ScanLine(y) + 3 * x;
            p[0] = static_cast<std::uint8_t>(BlueOf(color));
            p[1] = static_cast<std::uint8_t>(GreenOf(color));
            p[2] = static_cast<std::uint8_t>(RedOf(color));
        }
    return bmp;
}

void Fill(TBitmap& bmp, int x0, int y0, int x1, int y1, TColor color) {
    for (int y = y0; y < y1 && y < bmp.Height(); ++y)
        for (int x = x0; x < x1 && x < bmp.Width(); ++x) {
            std::uint8_t* p = bmp.ScanLine(y) + 3 * x;
            p[0] = static_cast<std::uint8_t>(BlueOf(color));
            p[1] = static_cast<std::uint8_t>(GreenOf(color));
            p[2] = static_cast<std::uint8_t>(RedOf(color));
        }
}

void WriteBmp(const std::string& path, int w, int h, TColor color) {
    Bitmap(w, h, color)->SaveToFile(path);
}

void WriteJpeg(const std::string& path, int w, int h, TColor color) {
    auto bmp = Bitmap(w, h, color);
    classes::TJPEGImage jpeg;
    jpeg.Assign(bmp.get());
    jpeg.SaveToFile(path);
}

}

void WriteMinimal(const std::string& root) {
    const std::string folder = Folder(root, Minimal);
    WriteText(folder + "/Options.dat",
        {"[GLOBALINFO]", "VERSION=4.5", "AUTHOR=KORVEX", "DESCRIPTION=Minimal fixture", "MASTERBITMAP=Master.bmp",
            "COLOR=12632256", "FONTCOLOR=0", "", "[BUTTON]", "COLOR=65280", "BORDERSMASK=# (0,0,60,30) (3,1,0,0)"});
    // Three state columns of 20 x 15 over their masks: black (the picture shows) above white edges.
    auto master = Bitmap(MinimalMasterWidth, MinimalMasterHeight, 0xFFFFFF);
    for (int s = 0; s < 3; ++s) {
        Fill(*master, s * 20, 0, s * 20 + 20, 15, MinimalStateColors[s]);
        Fill(*master, s * 20, 15, s * 20 + 20, 30, 0x000000);
    }
    master->SaveToFile(folder + "/Master.bmp");
}

void WriteImageForms(const std::string& root) {
    const std::string folder = Folder(root, ImageForms);
    WriteText(folder + "/Options.dat",
        {"[GLOBALINFO]", "MASTERBITMAP=Master.bmp", "", "[Forms]", "Texture=~0000,0000,0010,0010,02,1",
            "Texture0=~0010,0000,0020,0010,03", "Glyph=@0000,0010,0030,0020,3,1",
            "Border=^0000,0020,0030,0040,0001,0002,0003,0004,3,1,1,2", "File=!Own.BMP!2!1!2",
            "FileTexture=!Tex.BMP!1!0!1", "Rect=# (30,0,60,20) (3,1,2,0)", "RectDefaults=# (30,20,60,40) (0,-1)",
            "Pattern=# (60,0,70,10) (0,-1)", "Hash=#", "Plain=Plain.bmp", "Missing=Missing.bmp", "Color=255"});
    auto master = Bitmap(128, 64, 0x808080);
    Fill(*master, 0, 0, 10, 10, 0x0000FF);
    Fill(*master, 60, 0, 70, 10, 0xFF00FF);
    master->SaveToFile(folder + "/Master.bmp");
    WriteBmp(folder + "/Own.BMP", 40, 20, 0x00FF00);
    WriteBmp(folder + "/Tex.BMP", 8, 8, 0xFF0000);
    WriteBmp(folder + "/Plain.bmp", 30, 20, 0x00FFFF);
}

void WriteInheritance(const std::string& root) {
    const std::string folder = Folder(root, Inheritance);
    WriteText(folder + "/Options.dat",
        {"[GLOBALINFO]", "MASTERBITMAP=Master.bmp", "", "[BASE]", "COLOR=255", "FONTCOLOR=65535", "SHADOWCOLOR=123",
            "BORDERSMASK=# (0,0,30,20) (3,1,0,0)", "", "[MIDDLE]", "PARENTCLASS=BASE", "GRADIENTPERCENT=50", "",
            "[LEAF]", "PARENTCLASS=MIDDLE", "COLOR=-1", "GLYPHMASK=# (30,0,60,20) (3,1,0,0)", "", "[LOOPA]",
            "PARENTCLASS=LOOPB", "", "[LOOPB]", "PARENTCLASS=LOOPA", "", "[SELF]", "PARENTCLASS=SELF", "", "[ORPHAN]",
            "PARENTCLASS=NOWHERE"});
    WriteBmp(folder + "/Master.bmp", 60, 20, 0x336699);
}

void WriteBadNumbers(const std::string& root) {
    const std::string folder = Folder(root, BadNumbers);
    WriteText(folder + "/Options.dat",
        {"[GLOBALINFO]", "VERSION=abc", "DESCRIPTION=Skin #2", "SHADOW1OFFSET=x1", "SHADOW1BLUR=zz",
            "MASTERBITMAP=Master.bmp", "", "[BAD]", "TEXTURE=~00x0,0000,0010,0010,00", "GLYPH=@0000,0000,0010,0010,x,1",
            "RECT=# (0,0,ten,10) (1,0)", "FILE=!Own.BMP!two!1!0", "GRADIENTDATA=255;65280;50;0;0;oops;1;2;3;4",
            "COLOR=notanumber", "GOOD=# (0,0,10,10) (1,0,0,0)"});
    WriteBmp(folder + "/Master.bmp", 20, 20, 0x336699);
    WriteBmp(folder + "/Own.BMP", 9, 6, 0x00FF00);
}

void WriteNoMaster(const std::string& root) {
    const std::string folder = Folder(root, NoMaster);
    WriteText(folder + "/Options.dat",
        {"[GLOBALINFO]", "MASTERBITMAP=Absent.bmp", "", "[BUTTON]", "COLOR=65280", "BORDERSMASK=# (0,0,30,30) (3,1)"});
}

void WriteJpegs(const std::string& root) {
    const std::string folder = Folder(root, Jpegs);
    WriteText(folder + "/Options.dat",
        {"[GLOBALINFO]", "DESCRIPTION=JPEG patterns", "", "[FORM]", "PATTERN=Small.jpg", "HOTPATTERN=Large.jpg", "",
            "[PANEL]", "PATTERN=Missing.jpg"});
    WriteJpeg(folder + "/Small.jpg", SmallJpegWidth, JpegHeight, 0x3366CC);
    WriteJpeg(folder + "/Large.jpg", LargeJpegWidth, JpegHeight, 0xCC6633);
}

std::vector<std::string> Names() {
    return {Minimal, ImageForms, Inheritance, BadNumbers, NoMaster, Jpegs};
}

void WriteAll(const std::string& root) {
    WriteMinimal(root);
    WriteImageForms(root);
    WriteInheritance(root);
    WriteBadNumbers(root);
    WriteNoMaster(root);
    WriteJpegs(root);
}

}
