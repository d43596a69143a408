// TacSavedDc: SaveDC on construction, RestoreDC to that state on destruction.
#pragma once

#include "platform/gdi/DeviceContext.h"

namespace korvex::skin {

class TacSavedDc {
public:
    explicit TacSavedDc(gdi::HDC dc) : FDc(dc), FLevel(dc ? gdi::SaveDC(dc) : 0) { }
    ~TacSavedDc() {
        if (FLevel > 0) gdi::RestoreDC(FDc, FLevel);
    }
    TacSavedDc(const TacSavedDc&) = delete;
    TacSavedDc& operator=(const TacSavedDc&) = delete;

private:
    gdi::HDC FDc;
    int FLevel;
};

}
