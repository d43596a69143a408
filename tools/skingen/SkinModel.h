// A skin being generated: its sections with their keys in order, and its pictures packed into one master bitmap.
#pragma once

#include "tools/skingen/Raster.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skingen {

inline constexpr const char* MasterFileName = "Master.bmp";
inline constexpr const char* OptionsFileName = "Options.dat";

// One section of "Options.dat": keys in the order they were set; setting a key again replaces its value.
class TSectionSpec {
public:
    explicit TSectionSpec(std::string name)
        : FName(std::move(name)) { }
    const std::string& Name() const { return FName; }
    TSectionSpec& Set(const std::string& key, const std::string& value);
    TSectionSpec& Set(const std::string& key, int value);
    TSectionSpec& SetBool(const std::string& key, bool value);
    const std::string* Find(const std::string& key) const;
    const std::vector<std::pair<std::string, std::string>>& Keys() const { return FKeys; }

private:
    std::string FName;
    std::vector<std::pair<std::string, std::string>> FKeys;
};

// A picture of ImageCount state columns, each States[i] (all of one size). With MaskType 1 the grey mask is
// made from the coverage: opaque shows the picture, clear keeps what lies below. Pixels marked in Holes become
// 0xFF00FF (the parent shows there); other clear pixels stay see-through without being holes.
struct TImageSpec {
    std::string Section;
    std::string Key;
    std::vector<TLayer> States;
    std::vector<std::vector<bool>> Holes;   // per state; empty: every clear pixel is a hole
    int MaskType = 1;
    int BorderWidth = 0;
    int StretchMode = 0;
};

// Where an image landed in the master bitmap.
struct TPlacedImage {
    std::string Section;
    std::string Key;
    int Left = 0, Top = 0, Right = 0, Bottom = 0;   // right and bottom exclusive
    int ImageCount = 1;
    int MaskType = 1;
    int BorderWidth = 0;
    int StretchMode = 0;
    std::string Value() const;   // the "#" form: # (L,T,R,B) (ImageCount,MaskType,BorderWidth,StretchMode)
};

class TSkinModel {
public:
    explicit TSkinModel(std::string name);
    ~TSkinModel();
    TSkinModel(TSkinModel&&) noexcept;
    TSkinModel& operator=(TSkinModel&&) noexcept;

    const std::string& Name() const { return FName; }
    // The section named so, appended when new (sections keep the order of their first mention).
    TSectionSpec& Section(const std::string& name);
    const TSectionSpec* FindSection(const std::string& name) const;
    const std::vector<TSectionSpec>& Sections() const { return FSections; }

    // Queues a picture; its key gets its "#" value when the master bitmap is packed.
    void AddImage(TImageSpec image);
    // Packs the queued pictures into the master bitmap (rows of pictures, tallest first, `width` wide).
    void Pack(int width = 256);
    const std::vector<TPlacedImage>& Images() const { return FPlaced; }
    const classes::TBitmap* Master() const { return FMaster.get(); }

    std::string OptionsText() const;   // CR LF line ends
    // Writes <root>/<Name>/Options.dat and Master.bmp.
    void WriteFolder(const std::string& root) const;
    std::vector<std::uint8_t> MasterBytes() const;   // the BMP file of the master bitmap

private:
    std::string FName;
    std::vector<TSectionSpec> FSections;
    std::vector<TImageSpec> FQueued;
    std::vector<TPlacedImage> FPlaced;
    std::unique_ptr<classes::TBitmap> FMaster;
};

// Writes one state picture (and its mask rows below, at maskOffset rows) into a 24-bit bitmap at (x, y).
void PutPicture(classes::TBitmap& bitmap, int x, int y, const TLayer& layer, const std::vector<bool>* holes,
    int maskType, int maskOffset);

}
