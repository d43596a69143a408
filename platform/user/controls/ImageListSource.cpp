// Image list sources: the registry of live lists and the checked calls.
#include "platform/user/controls/ImageListSource.h"

#include <mutex>
#include <unordered_set>

namespace korvex::user {

namespace {

struct Registry {
    std::mutex Lock;
    std::unordered_set<const ImageListSource*> Live;
};

Registry& Lists() {
    static Registry* registry = new Registry;   // outlives static destruction of lists
    return *registry;
}

}   // namespace

ImageListSource::ImageListSource() {
    Registry& r = Lists();
    std::lock_guard lock(r.Lock);
    r.Live.insert(this);
}

ImageListSource::~ImageListSource() {
    Registry& r = Lists();
    std::lock_guard lock(r.Lock);
    r.Live.erase(this);
}

bool IsImageList(HIMAGELIST list) {
    if (!list) return false;
    Registry& r = Lists();
    std::lock_guard lock(r.Lock);
    return r.Live.count(list) != 0;
}

int ImageList_GetImageCount(HIMAGELIST list) {
    return IsImageList(list) ? list->Count() : 0;
}

bool ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
    if (!IsImageList(list) || !cx || !cy) return false;
    SIZE size = list->ImageSize();
    *cx = size.cx;
    *cy = size.cy;
    return true;
}

SIZE ImageListSize(HIMAGELIST list) {
    return IsImageList(list) ? list->ImageSize() : SIZE {};
}

bool ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, bool enabled) {
    if (!IsImageList(list) || !dc || index < 0 || index >= list->Count()) return false;
    list->Draw(dc, index, x, y, enabled);
    return true;
}

}
