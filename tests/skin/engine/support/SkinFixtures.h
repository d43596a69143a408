// Skin fixtures built in code: temporary folders, bitmaps and JPEGs, skin folders with "Options.dat",
// managers and stored skins. Shared by the skin engine's tests and the skin generator's.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/TComponent.h"
#include "skin/engine/Forward.h"
#include "tests/platform/os/support/TempFolder.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace korvex::classes {
class TBitmap;
class TForm;
}

namespace korvex::skin::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder : public os::filetest::TempFolder {
public:
    TempFolder() : os::filetest::TempFolder("korvex-skin", std::filesystem::temp_directory_path().string()) {}
};

void WriteTextFile(const std::string& path, const std::string& text);

// A 24-bit bitmap filled with one colour (0x00BBGGRR).
std::unique_ptr<classes::TBitmap> MakeBitmap(int width, int height, classes::TColor color);
classes::TColor PixelAt(const classes::TBitmap& bitmap, int x, int y);
void SetPixel(classes::TBitmap& bitmap, int x, int y, classes::TColor color);
void WriteBmp(const std::string& path, int width, int height, classes::TColor color);
void WriteJpeg(const std::string& path, int width, int height, classes::TColor color);

// Sections and keys of an "Options.dat", kept in the order they are added.
class OptionsText {
public:
    OptionsText& Section(const std::string& name);   // starts (or continues) a section
    OptionsText& Key(const std::string& key, const std::string& value);   // into the current section
    OptionsText& Line(const std::string& line);   // a raw line
    std::string Text() const;

private:
    std::vector<std::string> FLines;
};

// A skin folder <root>/<name>/ with its "Options.dat", and optionally a master bitmap "MASTER.BMP".
struct SkinFolder {
    std::string Root;
    std::string Name;
    std::string Folder() const { return Root + "/" + Name; }
    std::string File(const std::string& name) const { return Folder() + "/" + name; }
    void WriteOptions(const OptionsText& options) const;
    void WriteMaster(int width, int height, classes::TColor color = 0x336699) const;
};

// The smallest useful skin: GLOBALINFO with a master bitmap, BUTTON with a "#" image, BUTTON_SMALL below it.
OptionsText MinimalOptions();
// Writes MinimalOptions and its 120 x 60 master bitmap.
SkinFolder MakeMinimalSkin(const std::string& root, const std::string& name);

// An owner for managers made in tests; frees them with itself. A form without a window, on the extra forms
// list, holds a windowless control that writes down every skin command the broadcasts bring.
class ManagerHost {
public:
    ManagerHost();
    ~ManagerHost();
    // A new inactive manager (so setting properties loads nothing until Activate).
    TsSkinManager* NewManager();
    // The commands delivered to every window since the last manager was made, in order.
    const std::vector<std::pair<TsSkinManager*, int>>& Commands() const { return *FCommands; }
    void ClearCommands() { FCommands->clear(); }
    // Called as each command arrives (manager, code).
    std::function<void(TsSkinManager*, int)> OnCommand;

private:
    std::unique_ptr<classes::TComponent> FOwner;
    std::unique_ptr<classes::TForm> FForm;
    std::shared_ptr<std::vector<std::pair<TsSkinManager*, int>>> FCommands;
};

// Loads skin `name` from `root` into the manager (activating it).
void LoadFolderSkin(TsSkinManager& sm, const std::string& root, const std::string& name);

// A stored skin named `name` with sections GLOBALINFO and BUTTON, a 60 x 30 master bitmap and one "#"-style
// rectangle image BUTTON/BORDERSMASK (0, 0, 60, 30), three states over masks.
TsStoredSkin* AddStoredSkin(TsSkinManager& sm, const std::string& name);

}
