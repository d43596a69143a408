// TacWindowDc: a window's client DC from GetDC, released by the destructor on every path.
#pragma once

#include "platform/user/Painting.h"

namespace korvex::skin {

// A null window gives no DC (never the screen's). The release also works after the window is gone.
class TacWindowDc {
public:
    explicit TacWindowDc(user::HWND window) : FWindow(window), FDc(window ? user::GetDC(window) : nullptr) { }
    ~TacWindowDc() {
        if (FDc != nullptr) user::ReleaseDC(FWindow, FDc);
    }
    TacWindowDc(const TacWindowDc&) = delete;
    TacWindowDc& operator=(const TacWindowDc&) = delete;

    gdi::HDC Dc() const { return FDc; }

private:
    user::HWND FWindow;
    gdi::HDC FDc;
};

}
