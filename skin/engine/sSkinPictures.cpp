// The pictures of one skin load: each file decoded once, and the pixels a skin may decode bounded.
#include "skin/engine/sSkinPictures.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TJPEGImage.h"
#include "platform/os/Files.h"

namespace korvex::skin {

namespace {

template <class Picture>
std::int64_t PixelsOf(const Picture& picture) {
    return std::int64_t(picture.Width()) * picture.Height();
}

}

TsSkinPictures::TsSkinPictures(std::int64_t budget)
    : FBudget(budget) {
}

TsSkinPictures::~TsSkinPictures() = default;

bool TsSkinPictures::Charge(std::int64_t pixels) {
    FSpent += pixels;
    return FSpent <= FBudget;
}

template <class Picture>
std::unique_ptr<Picture> TsSkinPictures::Copy(
    std::map<std::string, TEntry<Picture>>& cache, const std::string& fileName) {
    auto found = cache.find(fileName);
    if (found == cache.end()) {
        TEntry<Picture> entry;
        if (FSpent < FBudget && os::FileExists(fileName)) {
            auto picture = std::make_unique<Picture>();
            if (picture->TryLoadFromFile(fileName) && picture->Width() > 0 && picture->Height() > 0
                && Charge(PixelsOf(*picture)))
                entry.Decoded = std::move(picture);
        }
        found = cache.emplace(fileName, std::move(entry)).first;
    }
    TEntry<Picture>& entry = found->second;
    if (entry.Decoded == nullptr) return nullptr;
    if (entry.Used && !Charge(PixelsOf(*entry.Decoded))) return nullptr;
    entry.Used = true;
    auto copy = std::make_unique<Picture>();
    copy->Assign(entry.Decoded.get());
    return copy;
}

std::unique_ptr<classes::TBitmap> TsSkinPictures::Bitmap(const std::string& fileName) {
    return Copy(FBitmaps, fileName);
}

std::unique_ptr<classes::TJPEGImage> TsSkinPictures::Jpeg(const std::string& fileName) {
    return Copy(FJpegs, fileName);
}

std::unique_ptr<TsSkinPictures>& SkinLoadPictures() {
    static std::unique_ptr<TsSkinPictures> pictures;
    return pictures;
}

}
