// TsParentCacheInfo: where a control's piece lies in its parent's cache bitmap, and the empty record.
#pragma once

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

struct TsParentCacheInfo {
    classes::TBitmap* Bmp = nullptr;   // the parent's 24-bit cache; never owned
    int X = 0;   // position of the child's top-left corner inside Bmp
    int Y = 0;
    bool Ready = false;   // Bmp, X and Y are valid
};

// No bitmap, not Ready: for pieces that must not look through to the parent.
inline const TsParentCacheInfo EmptyCacheInfo {};

inline void FillCacheInfo(TsParentCacheInfo& info, classes::TBitmap* bmp, int x, int y) {
    info.Bmp = bmp;
    info.X = x;
    info.Y = y;
    info.Ready = true;
}

}
