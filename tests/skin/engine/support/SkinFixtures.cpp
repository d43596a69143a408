// Skin fixtures built in code.
#include "support/SkinFixtures.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TGraphicControl.h"
#include "platform/classes/TJPEGImage.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStoredSkins.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace korvex::skin::test {

using classes::TBitmap;
using classes::TColor;

void WriteTextFile(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::unique_ptr<TBitmap> MakeBitmap(int width, int height, TColor color) {
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(classes::pf24bit);
    bmp->SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(*bmp, x, y, color);
    return bmp;
}

TColor PixelAt(const TBitmap& bitmap, int x, int y) {
    const std::uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    return p[2] | (p[1] << 8) | (p[0] << 16);
}

void SetPixel(TBitmap& bitmap, int x, int y, TColor color) {
    std::uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    p[0] = static_cast<std::uint8_t>(color >> 16);
    p[1] = static_cast<std::uint8_t>(color >> 8);
    p[2] = static_cast<std::uint8_t>(color);
}

void WriteBmp(const std::string& path, int width, int height, TColor color) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    MakeBitmap(width, height, color)->SaveToFile(path);
}

void WriteJpeg(const std::string& path, int width, int height, TColor color) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    auto bmp = MakeBitmap(width, height, color);
    classes::TJPEGImage jpeg;
    jpeg.Assign(bmp.get());
    jpeg.SaveToFile(path);
}

OptionsText& OptionsText::Section(const std::string& name) {
    FLines.push_back("[" + name + "]");
    return *this;
}
OptionsText& OptionsText::Key(const std::string& key, const std::string& value) {
    FLines.push_back(key + "=" + value);
    return *this;
}
OptionsText& OptionsText::Line(const std::string& line) {
    FLines.push_back(line);
    return *this;
}
std::string OptionsText::Text() const {
    std::string text;
    for (const std::string& line : FLines)
        text += line + "\r\n";
    return text;
}

void SkinFolder::WriteOptions(const OptionsText& options) const {
    WriteTextFile(File("Options.dat"), options.Text());
}

void SkinFolder::WriteMaster(int width, int height, TColor color) const {
    WriteBmp(File("MASTER.BMP"), width, height, color);
}

OptionsText MinimalOptions() {
    OptionsText o;
    o.Section("GLOBALINFO")
        .Key("VERSION", "4.5")
        .Key("AUTHOR", "Test")
        .Key("DESCRIPTION", "Minimal")
        .Key("MASTERBITMAP", "MASTER.BMP")
        .Key("COLOR", "12632256")
        .Key("FONTCOLOR", "255");
    o.Section("BUTTON").Key("COLOR", "0x00FF00").Key("BORDERSMASK", "# (0,0,60,30) (3,1,2,1)");
    o.Section("BUTTON_SMALL").Key("PARENTCLASS", "BUTTON");
    return o;
}

SkinFolder MakeMinimalSkin(const std::string& root, const std::string& name) {
    SkinFolder folder {root, name};
    folder.WriteOptions(MinimalOptions());
    folder.WriteMaster(120, 60);
    return folder;
}

namespace {

class TCommandRecorder : public classes::TGraphicControl {
public:
    explicit TCommandRecorder(classes::TComponent* owner)
        : TGraphicControl(owner) { }
    std::function<void(TsSkinManager*, int)> Record;

protected:
    void WndProc(classes::TMessage& message) override {
        if (message.Msg == SM_SKINCMD && Record)
            Record(reinterpret_cast<TsSkinManager*>(message.LParam), SkinCommandCode(message));
        TGraphicControl::WndProc(message);
    }
};

}

ManagerHost::ManagerHost()
    : FOwner(std::make_unique<classes::TComponent>(nullptr))
    , FForm(std::make_unique<classes::TForm>(nullptr))
    , FCommands(std::make_shared<std::vector<std::pair<TsSkinManager*, int>>>()) {
    auto* recorder = new TCommandRecorder(FForm.get());
    recorder->SetParent(FForm.get());
    recorder->Record = [this, commands = FCommands](TsSkinManager* sm, int command) {
        commands->emplace_back(sm, command);
        if (OnCommand) OnCommand(sm, command);
    };
    AddExtraForm(FForm.get());
}

ManagerHost::~ManagerHost() {
    OnCommand = nullptr;   // what it wrote into may be gone already
    FOwner.reset();
    FForm.reset();
    SkinChanging = false;
}

TsSkinManager* ManagerHost::NewManager() {
    auto* sm = classes::Create<TsSkinManager>(FOwner.get());
    sm->SetActive(false);
    FCommands->clear();
    return sm;
}

void LoadFolderSkin(TsSkinManager& sm, const std::string& root, const std::string& name) {
    sm.SetSkinDirectory(root);
    sm.SetSkinName(name);
    sm.SetActive(true);
}

TsStoredSkin* AddStoredSkin(TsSkinManager& sm, const std::string& name) {
    TsStoredSkin* skin = sm.InternalSkins()->Add();
    skin->SetName(name);
    skin->Version = 5.0;
    skin->Author = "Stored";
    auto master = MakeBitmap(60, 30, 0x204080);
    skin->SetMasterBitmap(master.get());
    TsSkinGeneral* global = skin->GeneralData()->Add();
    global->SectionName = "GLOBALINFO";
    global->Color = 0x112233;
    global->FontColor = "0 -1 -1 -1 -1";
    TsSkinGeneral* button = skin->GeneralData()->Add();
    button->SectionName = "BUTTON";
    button->Color = 0x00FF00;
    button->FontColor = "255 -1 -1 -1 -1";
    button->GradientData = "16777215;0;100;0;0";
    TsSkinImage* image = skin->Images()->Add();
    image->SectionName = "button";
    image->PropertyName = "bordersmask";
    image->Right = 60;
    image->Bottom = 30;
    image->ImageCount = 3;
    image->MaskType = 1;
    return skin;
}

}
