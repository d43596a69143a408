// Writes the fuzz targets' seed corpora from our own fixtures: fuzz_seeds OUTPUT_FOLDER
// (one folder per target; tests/fuzz/corpus holds what it wrote, with the reproducers the fuzzers found).
// Each seed is a well-formed input or a damaged copy of one (cut short, bytes flipped), under 64 KB.
#include "app/nodes/WorkUnitHistory.h"
#include "leds/iLedBar.h"
#include "leds/iLedRound.h"
#include "platform/classes/StdControls.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TLabel.h"
#include "platform/classes/TListBox.h"
#include "platform/classes/TMemo.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TPanel.h"
#include "platform/classes/TStringGrid.h"
#include "platform/classes/TStringList.h"
#include "platform/classes/TWriter.h"
#include "platform/os/RegistryStore.h"
#include "platform/gdi/BmpCodec.h"
#include "platform/gdi/JpegCodec.h"
#include "platform/gdi/PngCodec.h"
#include "tools/skingen/Fixtures.h"

#include "support/ClientFiles.h"
#include "support/FuzzSupport.h"
#include "support/HeadlessUi.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace korvex;
namespace fs = std::filesystem;

namespace {

std::string Out;

void Seed(const std::string& target, const std::string& name, std::string_view bytes) {
    if (bytes.size() > 64 * 1024) {
        std::fprintf(stderr, "seed %s/%s is over 64 KB; left out\n", target.c_str(), name.c_str());
        return;
    }
    fs::create_directories(Out + "/" + target);
    fuzz::WriteBytes(Out + "/" + target + "/" + name, bytes);
}

// The well-formed seed, and two damaged copies of it: cut in the middle, and every 37th byte flipped.
void SeedWithDamage(const std::string& target, const std::string& name, const std::string& bytes) {
    Seed(target, name, bytes);
    Seed(target, name + "-cut", std::string_view(bytes).substr(0, bytes.size() / 2));
    std::string flipped = bytes;
    for (std::size_t i = 17; i < flipped.size(); i += 37)
        flipped[i] = static_cast<char>(flipped[i] ^ 0x5A);
    Seed(target, name + "-flipped", flipped);
}

std::string Bytes(const std::vector<std::uint8_t>& v) {
    return {v.begin(), v.end()};
}

// A small picture with gradients, in the given format.
gdi::GdiHandle<gdi::Bitmap> Picture(int width, int height, gdi::PixelFormat format) {
    gdi::GdiHandle<gdi::Bitmap> bitmap(gdi::Bitmap::Create(width, height, format));
    for (int y = 0; y < height; ++y) {
        gdi::BYTE* row = bitmap.Get()->ScanLine(y);
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < bitmap.Get()->BytesPerPixel(); ++c)
                row[x * bitmap.Get()->BytesPerPixel() + c] = static_cast<gdi::BYTE>(x * 7 + y * 3 + c * 60);
    }
    return bitmap;
}

void ImageSeeds() {
    const auto small24 = Picture(13, 7, gdi::PixelFormat::pf24bit);
    const auto small32 = Picture(5, 9, gdi::PixelFormat::pf32bit);
    const auto larger = Picture(64, 48, gdi::PixelFormat::pf24bit);
    SeedWithDamage("BmpDecode", "24bit.bmp", Bytes(gdi::WriteBmp(*small24.Get())));
    SeedWithDamage("BmpDecode", "32bit.bmp", Bytes(gdi::WriteBmp(*small32.Get())));
    SeedWithDamage("PngDecode", "rgb.png", Bytes(gdi::WritePng(*small24.Get())));
    SeedWithDamage("PngDecode", "rgba.png", Bytes(gdi::WritePng(*small32.Get(), gdi::PngAlpha::Keep)));
    SeedWithDamage("JpegDecode", "small.jpg", Bytes(gdi::WriteJpeg(*small24.Get(), 90)));
    SeedWithDamage("JpegDecode", "larger.jpg", Bytes(gdi::WriteJpeg(*larger.Get(), 40)));
}

void NodeSeeds() {
    using app::test::TClientLog;
    const std::string unitInfo = app::test::JoinLines(
        app::test::UnitInfo("p2605_Protein in water", "December 5 20:10:15", "December 8 20:10:15", 42));
    const std::string marker = "\n@@unitinfo\n";
    SeedWithDamage("NodeReading", "step-unit",
        TClientLog().ClientStart().StepUnit("p2605_Protein in water", "05.12.2024", 5, 33, 12, 42, 60).Text() + marker
            + unitInfo);
    SeedWithDamage("NodeReading", "frame-unit",
        TClientLog().ClientStart(false).FrameUnit("p1234_Folding", "05.12.2024", 1, 2, 3, 17, 400, 30).Text() + marker
            + unitInfo);
    SeedWithDamage("NodeReading", "finished-unit",
        TClientLog()
                .ClientStart()
                .StepUnit("p2008_BBA5", "04.12.2024", 1, 2, 3, 100, 20)
                .FinishAndSend("05.12.2024")
                .Line("Client Shutdown.")
                .Text()
            + marker + unitInfo);
}

// The skin folder as one input: Options.dat, then every other file of the folder after its marker.
std::string SkinInput(const fs::path& folder) {
    std::string input = fuzz::ReadBytes((folder / "Options.dat").string());
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename() != "Options.dat") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files)
        input += std::string(fuzz::FileMarker) + file.filename().string() + "\n" + fuzz::ReadBytes(file.string());
    return input;
}

void SkinSeeds() {
    fuzz::TScratchFolder root;
    skingen::fixtures::WriteAll(root.Path());
    for (const std::string& name : skingen::fixtures::Names()) {
        const std::string input = SkinInput(fs::path(root.Path()) / name);
        if (input.size() <= 64 * 1024)
            SeedWithDamage("SkinFolder", name, input);
        else   // large pictures: the options alone, the pictures missing
            SeedWithDamage("SkinFolder", name + "-options", fuzz::ReadBytes(root / name + "/Options.dat"));
    }
}

void HistorySeeds() {
    fuzz::TScratchFolder folder;
    app::TWorkUnitHistory history(folder.Path());
    history.SaveWU("p2605_Protein in water", "5-33-12", 120, "Local host");
    history.SaveWU("p2008_BBA5", "1-2-3", 218, "\\\\box\\share\\fah");
    history.ReSaveWU("p2605_Protein in water", "5-33-12", 12.5);
    history.Flush();
    const std::string file = fuzz::ReadBytes(folder / app::HistoryFileName);
    SeedWithDamage("HistoryFile", "two-units", file);
    Seed("HistoryFile", "record-unit", file + "\n@@unit\np1234_New unit\n7-8-9");
    Seed("HistoryFile", "record-known-unit", file + "\n@@unit\np2008_BBA5\n1-2-3");
    SeedWithDamage("HistoryWindow", "two-units", file);
    Seed("HistoryWindow", "find-a-node", file + "\n@@find\nbox");
    Seed("HistoryWindow", "marks-missing", "[05.12.2024 20:10:15 p1*1-2#x\r\n] p2#=n@\r\n*#=@\r\n\r\n");
}

// A console client's configuration in both line ends, without the core type section, without a final line end.
void ClientConfigSeeds() {
    const std::string lf = "[settings]\nusername=Tellvar\nteam=12345\nmachineid=12\nmemory=1024\n\n[http]\n"
                           "active=no\n\n[clienttype]\ntype=3\n";
    std::string crlf;
    for (char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    SeedWithDamage("ClientConfig", "lf.cfg", lf);
    SeedWithDamage("ClientConfig", "crlf.cfg", crlf);
    Seed("ClientConfig", "no-section.cfg", "\x01[settings]\r\nteam=1\r\ncputype=4");
    Seed("ClientConfig", "header-only.cfg", "\x02[clienttype]");
}

void SettingsSeeds() {
    fuzz::TScratchFolder folder;
    const std::string path = folder / "registry.reg";
    {
        os::RegistryStore store(path);
        const std::string options = "SOFTWARE\\Tellvar\\Options";
        store.CreateKey(os::HKEY_LOCAL_MACHINE, options + "\\Nodes\\Node 1");
        store.SetValue(os::HKEY_LOCAL_MACHINE, options, "", os::MakeStringValue("default value"));
        store.SetValue(os::HKEY_LOCAL_MACHINE, options, "Language", os::MakeDwordValue(1));
        store.SetValue(os::HKEY_LOCAL_MACHINE, options, "SkinName", os::MakeStringValue("LongHorn (internal)"));
        store.SetValue(os::HKEY_LOCAL_MACHINE, options, "Quote \"and\" tab\t", os::MakeStringValue("line\r\nbreak"));
        const double date = 45631.84;
        store.SetValue(os::HKEY_LOCAL_MACHINE, options, "Date", os::MakeBinaryValue(&date, sizeof date));
        store.SetValue(os::HKEY_LOCAL_MACHINE, options + "\\Nodes\\Node 1", "Path",
            os::TRegValue {os::REG_EXPAND_SZ, "\\\\box\\%SHARE%"});
        store.SetValue(os::HKEY_LOCAL_MACHINE, options + "\\Nodes\\Node 1", "List",
            os::TRegValue {os::REG_MULTI_SZ, std::string("a\0b\0\0", 5)});
        store.CreateKey(os::HKEY_CURRENT_USER, "Software\\Empty");
    }
    const std::string file = fuzz::ReadBytes(path);
    SeedWithDamage("SettingsFile", "settings.reg", file);
    Seed("SettingsFile", "through-the-store", "!store\n" + file);
}

// Text seeds made from other targets' fixtures: INI files, string lists and delimited text.
void TextSeeds() {
    fuzz::TScratchFolder root;
    skingen::fixtures::WriteAll(root.Path());
    for (const char* name : {skingen::fixtures::Minimal, skingen::fixtures::Inheritance}) {
        const std::string options = fuzz::ReadBytes(root / name + "/Options.dat");
        SeedWithDamage("MemIniFile", name, options);
        Seed("StringListText", name, options);
    }
    Seed("StringListText", "line-ends", "CR LF\r\nLF\nCR\rno end");
    classes::TStringList list;
    list.SetText("plain\nwith blank\nwith \"quote\"\n\nsemi;colon\nname=value\n");
    Seed("DelimitedText", "comma", "\x00" + list.CommaText());   // ',' and '"'
    list.SetDelimiter(';');
    list.SetQuoteChar('\'');
    Seed("DelimitedText", "semicolon-strict", "\x89" + list.DelimitedText());   // ';', '\'', strict
    Seed("DelimitedText", "semicolon", "\x09" + list.DelimitedText());
}

// A form with the common controls as component text, and the LEDs' property files.
void ComponentSeeds() {
    fuzz::StartHeadlessUi();
    classes::RegisterStdControlClasses();
    classes::RegisterMenuClasses();
    classes::TComponent owner(nullptr);
    auto* form = classes::Create<classes::TForm>(&owner);
    form->SetName("SeedForm");
    form->SetCaption("Seed \u041f\u0440\u0438\u0432\u0435\u0442");
    form->SetBounds(10, 20, 320, 240);
    auto* panel = new classes::TPanel(form);
    panel->SetName("Panel1");
    panel->SetParent(form);
    panel->SetBounds(4, 4, 200, 100);
    auto* label = new classes::TLabel(form);
    label->SetName("Label1");
    label->SetParent(panel);
    label->SetCaption("It's a label");
    auto* list = new classes::TListBox(form);
    list->SetName("ListBox1");
    list->SetParent(form);
    list->Items()->SetText("one\ntwo\nthree\n");
    auto* memo = new classes::TMemo(form);
    memo->SetName("Memo1");
    memo->SetParent(form);
    memo->Lines()->SetText("first line\nsecond line\n");
    auto* grid = new classes::TStringGrid(form);
    grid->SetName("Grid1");
    grid->SetParent(form);
    grid->SetRowCount(4);
    grid->SetColCount(3);
    auto* menu = new classes::TMainMenu(form);
    menu->SetName("MainMenu1");
    auto* item = new classes::TMenuItem(form);
    item->SetName("File1");
    item->SetCaption("&File");
    menu->Items()->Add(item);
    SeedWithDamage("FormText", "form", classes::WriteComponent(form));
    // Every kind of value the reader knows, in controls inside each other.
    SeedWithDamage("FormText", "controls", R"(object Form2: TForm
  Left = 100
  Top = $20
  Width = 400
  Height = 300
  Caption = 'It''s'#13#10'two'
  Anchors = [akLeft, akTop]
  object Panel1: TPanel
    Left = 8
    Width = 200
    Height = 120
    Align = alTop
    object Button1: TButton
      Caption = 'OK'
      Default = True
    end
    object Grid1: TStringGrid
      ColCount = 3
      RowCount = 4
      FixedRows = 1
    end
  end
  object ListBox1: TListBox
    Items.Strings = ('one' 'two', 'three')
    ItemIndex = 1
  end
  object Status: TStatusBar
    Panels = <
      item
        Width = 50
        Text = 'ready'
      end
      item
      end>
  end
  object Bar1: TTrackBar
    Max = 10
    Position = 5
  end
end
)");

    fuzz::TScratchFolder folder;
    const std::string path = folder / "led.txt";
    auto* round = classes::Create<leds::TiLedRound>(&owner);
    round->SavePropertiesToFile(path);
    SeedWithDamage("LedProperties", "round", std::string(1, '\0') + fuzz::ReadBytes(path));
    auto* bar = classes::Create<leds::TiLedBar>(&owner);
    bar->SavePropertiesToFile(path);
    SeedWithDamage("LedProperties", "bar", std::string(1, '\1') + fuzz::ReadBytes(path));
}

}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    Out = argv[1];
    ImageSeeds();
    NodeSeeds();
    SkinSeeds();
    HistorySeeds();
    SettingsSeeds();
    ClientConfigSeeds();
    TextSeeds();
    ComponentSeeds();
    return 0;
}
