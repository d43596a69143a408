// SavedDc: a device context's state saved for the length of a scope and restored at its end.
#pragma once

#include "platform/gdi/DeviceContext.h"

namespace korvex::gdi {

// SaveDC on construction, RestoreDC to that level on destruction, so everything selected or set in between
// (objects, colours, modes, origins, clip) is undone even when the scope ends by an exception. A null DC or
// a failed save restores nothing.
class SavedDc {
public:
    explicit SavedDc(HDC dc)
        : FDc(dc)
        , FLevel(dc ? SaveDC(dc) : 0) { }
    ~SavedDc() { Restore(); }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

    // Restores now, before the scope ends, for drawing that needs the state back; the end then does nothing.
    void Restore() {
        if (FLevel > 0) RestoreDC(FDc, FLevel);
        FLevel = 0;
    }

    HDC Dc() const { return FDc; }
    int Level() const { return FLevel; }   // the depth SaveDC returned, 0 when nothing is (still) saved

private:
    HDC FDc;
    int FLevel;
};

}
