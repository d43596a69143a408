// TsParentCacheInfo: where a control's piece lies in its parent's cache bitmap, and the colours of the paint.
#pragma once

#include "platform/classes/Colors.h"

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

struct TsParentCacheInfo {
    classes::TBitmap* Bmp = nullptr;   // the parent's 24-bit cache; never owned
    int X = 0;   // position of the child's top-left corner inside Bmp
    int Y = 0;
    bool Ready = false;   // Bmp, X and Y are valid
    // The colours of the paint the record is handed to; 0xFF00FF: none.
    classes::TColor ParentColor = 0xFF00FF;   // fills mask holes (before the cache) and the strips tiles leave
    classes::TColor ParentAnswer = 0xFF00FF;   // the parent's colour as it answered the colour query
};

// No bitmap, not Ready: for pieces that must not look through to the parent.
inline const TsParentCacheInfo EmptyCacheInfo {};

inline void FillCacheInfo(TsParentCacheInfo& info, classes::TBitmap* bmp, int x, int y) {
    info.Bmp = bmp;
    info.X = x;
    info.Y = y;
    info.Ready = true;
}

// info's colours without its cache: what must not look through to the parent still sees them.
inline TsParentCacheInfo ColoursOnly(const TsParentCacheInfo& info) {
    TsParentCacheInfo colours;
    colours.ParentColor = info.ParentColor;
    colours.ParentAnswer = info.ParentAnswer;
    return colours;
}

}
