// The program's tray icon frames from the embedded PNG files.
#include "tray/TrayPictures.h"

#include "platform/classes/Resources.h"
#include "platform/classes/TIcon.h"
#include "platform/classes/TMemoryStream.h"

#include <string>

namespace korvex::tray {

namespace {

const char* SetName(TTrayPictureSet set) {
    switch (set) {
    case TTrayPictureSet::Normal:
        return "normal";
    case TTrayPictureSet::Busy:
        return "busy";
    case TTrayPictureSet::Viewer:
        return "viewer";
    }
    return "";
}

}   // namespace

int TrayPictureFrames(TTrayPictureSet set) {
    switch (set) {
    case TTrayPictureSet::Normal:
        return 4;
    case TTrayPictureSet::Busy:
        return 8;
    case TTrayPictureSet::Viewer:
        return 6;
    }
    return 0;
}

int TrayPictureSizeFor(int slot) {
    int best = TrayPictureSizes[0];
    for (int size : TrayPictureSizes)
        if (size <= slot) best = size;
    return best;
}

bool LoadTrayPictures(classes::TCustomImageList* list, TTrayPictureSet set, int size) {
    if (list == nullptr || size <= 0) return false;
    int drawn = TrayPictureSizes[std::size(TrayPictureSizes) - 1];
    for (int s : TrayPictureSizes)
        if (s >= size) {
            drawn = s;
            break;
        }
    list->Clear();
    list->SetSize(size, size);
    for (int frame = 0; frame < TrayPictureFrames(set); ++frame) {
        std::string name
            = std::string("tray/") + SetName(set) + "-" + std::to_string(drawn) + "-" + std::to_string(frame);
        auto bytes = classes::FindEmbeddedResource(name);
        if (!bytes) return false;
        classes::TMemoryStream stream;
        stream.Write(bytes->data(), std::int64_t(bytes->size()));
        stream.Seek(0, classes::TSeekOrigin::soBeginning);
        classes::TIcon icon;
        icon.LoadFromStream(stream);
        if (list->AddIcon(&icon) < 0) return false;
    }
    return true;
}

}
