// Image lists as the native controls see them: an interface the class library's image lists implement.
#pragma once

#include "platform/user/UserTypes.h"

namespace korvex::user {

// Same-sized images a control draws by index. The class library's image list is one; the controls hold the
// handle only. Every live source is registered, so a control holding the handle of a list that is gone
// draws nothing instead of touching freed memory.
class ImageListSource {
public:
    ImageListSource();
    virtual ~ImageListSource();
    ImageListSource(const ImageListSource&) = delete;
    ImageListSource& operator=(const ImageListSource&) = delete;

    virtual int Count() const = 0;
    virtual SIZE ImageSize() const = 0;
    // Draws image index with its top-left corner at (x, y); a disabled image in the grey emboss look.
    virtual void Draw(HDC dc, int index, int x, int y, bool enabled) = 0;
};

using HIMAGELIST = ImageListSource*;

// The calls check the handle: a null or dead handle counts 0 images of size 0 and draws nothing.
bool IsImageList(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
bool ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
SIZE ImageListSize(HIMAGELIST list);   // (0, 0) for a dead handle
bool ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, bool enabled = true);

}
