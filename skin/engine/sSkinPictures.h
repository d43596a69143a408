// The pictures of one skin load: each file decoded once, and the pixels a skin may decode bounded.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace korvex::classes {
class TBitmap;
class TJPEGImage;
}

namespace korvex::skin {

// Every pixel decoded from a file and every further copy of a picture counts against the budget (by default
// MaxSkinPixels, about 192 MB of 24-bit pixels, far above any real skin). A picture that would pass it is
// dropped like a missing file, and once the budget is spent nothing more is decoded, so a hostile skin costs
// at most the budget and one picture the codecs accept.
class TsSkinPictures {
public:
    static constexpr std::int64_t MaxSkinPixels = std::int64_t(64) << 20;

    explicit TsSkinPictures(std::int64_t budget = MaxSkinPixels);
    ~TsSkinPictures();

    // A copy of the file's picture; nullptr when the file is missing, cannot be read, is empty (no area)
    // or does not fit the budget.
    std::unique_ptr<classes::TBitmap> Bitmap(const std::string& fileName);
    std::unique_ptr<classes::TJPEGImage> Jpeg(const std::string& fileName);

    std::int64_t Spent() const { return FSpent; }   // pixels decoded and copied so far

private:
    template <class Picture>
    struct TEntry {
        std::unique_ptr<Picture> Decoded;   // null when the file gave no picture
        bool Used = false;   // the first copy is covered by the decode
    };
    template <class Picture>
    std::unique_ptr<Picture> Copy(std::map<std::string, TEntry<Picture>>& cache, const std::string& fileName);
    bool Charge(std::int64_t pixels);

    std::map<std::string, TEntry<classes::TBitmap>> FBitmaps;
    std::map<std::string, TEntry<classes::TJPEGImage>> FJpegs;
    std::int64_t FBudget;
    std::int64_t FSpent = 0;
};

// The pictures of the running load (LoadAllSkinData keeps one from its start to its end); null between loads.
std::unique_ptr<TsSkinPictures>& SkinLoadPictures();

}
