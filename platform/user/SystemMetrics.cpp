// The system metrics table (classic Windows values at 96 dpi) and SystemParametersInfo.
#include "platform/user/SystemMetrics.h"

#include "platform/user/Screen.h"

#include <atomic>
#include <map>
#include <mutex>

namespace korvex::user {

namespace {

std::mutex& MetricsMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<int, int>& Table() {
    static std::map<int, int> table = {
        {SM_CXVSCROLL, 16},
        {SM_CYHSCROLL, 16},
        {SM_CYCAPTION, 19},
        {SM_CXBORDER, 1},
        {SM_CYBORDER, 1},
        {SM_CXDLGFRAME, 3},
        {SM_CYDLGFRAME, 3},
        {SM_CYVTHUMB, 16},
        {SM_CXHTHUMB, 16},
        {SM_CXICON, 32},
        {SM_CYICON, 32},
        {SM_CXCURSOR, 32},
        {SM_CYCURSOR, 32},
        {SM_CYMENU, 19},
        {SM_CYVSCROLL, 16},
        {SM_CXHSCROLL, 16},
        {SM_SWAPBUTTON, 0},
        {SM_CXMIN, 112},
        {SM_CYMIN, 27},
        {SM_CXSIZE, 18},
        {SM_CYSIZE, 18},
        {SM_CXFRAME, 4},
        {SM_CYFRAME, 4},
        {SM_CXMINTRACK, 112},
        {SM_CYMINTRACK, 27},
        {SM_CXDOUBLECLK, 4},
        {SM_CYDOUBLECLK, 4},
        {SM_CXICONSPACING, 75},
        {SM_CYICONSPACING, 75},
        {SM_MENUDROPALIGNMENT, 0},
        {SM_CXEDGE, 2},
        {SM_CYEDGE, 2},
        {SM_CXMINSPACING, 160},
        {SM_CYMINSPACING, 24},
        {SM_CXSMICON, 16},
        {SM_CYSMICON, 16},
        {SM_CYSMCAPTION, 16},
        {SM_CXSMSIZE, 12},
        {SM_CYSMSIZE, 15},
        {SM_CXMENUSIZE, 18},
        {SM_CYMENUSIZE, 18},
        {SM_CXMINIMIZED, 160},
        {SM_CYMINIMIZED, 24},
        {SM_CXDRAG, 4},
        {SM_CYDRAG, 4},
        {SM_CXMENUCHECK, 13},
        {SM_CYMENUCHECK, 13},
        {SM_MOUSEWHEELPRESENT, 1},
        {SM_CMONITORS, 1},
        {SM_CXFOCUSBORDER, 1},
        {SM_CYFOCUSBORDER, 1},
    };
    return table;
}

std::atomic<UINT> gDoubleClickTime {DefaultDoubleClickTime};

gdi::SIZE ScreenSize() {
    Display* display = CurrentDisplay();
    return display ? display->ScreenSize() : gdi::SIZE {1024, 768};
}

gdi::LOGFONT UiFont(bool bold) {
    gdi::LOGFONT font;
    font.lfHeight = -11;   // 8 points at 96 dpi
    font.lfWeight = bold ? gdi::FW_BOLD : gdi::FW_NORMAL;
    font.lfCharSet = gdi::DEFAULT_CHARSET;
    font.lfFaceName = "Tahoma";
    return font;
}

}   // namespace

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
        return ScreenSize().cx;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
        return ScreenSize().cy;
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN:
        return 0;
    case SM_CXFULLSCREEN:
        return GetWorkArea().Width();
    case SM_CYFULLSCREEN:
        return GetWorkArea().Height() - GetSystemMetrics(SM_CYCAPTION);
    case SM_CXMAXTRACK:
        return ScreenSize().cx + 2 * GetSystemMetrics(SM_CXFRAME) + 4;
    case SM_CYMAXTRACK:
        return ScreenSize().cy + 2 * GetSystemMetrics(SM_CYFRAME) + 4;
    case SM_CXMAXIMIZED:
        return GetWorkArea().Width() + 2 * GetSystemMetrics(SM_CXFRAME);
    case SM_CYMAXIMIZED:
        return GetWorkArea().Height() + 2 * GetSystemMetrics(SM_CYFRAME);
    default:
        break;
    }
    std::lock_guard lock(MetricsMutex());
    auto it = Table().find(index);
    return it == Table().end() ? 0 : it->second;
}

int SetSystemMetric(int index, int value) {
    std::lock_guard lock(MetricsMutex());
    auto it = Table().find(index);
    if (it == Table().end()) return 0;
    int old = it->second;
    it->second = value;
    return old;
}

RECT GetWorkArea() {
    Display* display = CurrentDisplay();
    if (!display) return RECT {0, 0, 1024, 768};
    return display->WorkArea();
}

NONCLIENTMETRICS GetNonClientMetrics() {
    NONCLIENTMETRICS m;
    m.iBorderWidth = GetSystemMetrics(SM_CXBORDER);
    m.iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    m.iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
    m.iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
    m.iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
    m.iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
    m.iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
    m.iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
    m.iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
    m.lfCaptionFont = UiFont(true);
    m.lfSmCaptionFont = UiFont(true);
    m.lfMenuFont = UiFont(false);
    m.lfStatusFont = UiFont(false);
    m.lfMessageFont = UiFont(false);
    return m;
}

bool SystemParametersInfo(UINT action, UINT, void* pvParam, UINT) {
    if (!pvParam) return false;
    auto setBool = [&](bool value) {
        *static_cast<bool*>(pvParam) = value;
        return true;
    };
    auto setUint = [&](UINT value) {
        *static_cast<UINT*>(pvParam) = value;
        return true;
    };
    switch (action) {
    case SPI_GETWORKAREA:
        *static_cast<RECT*>(pvParam) = GetWorkArea();
        return true;
    case SPI_GETNONCLIENTMETRICS:
        *static_cast<NONCLIENTMETRICS*>(pvParam) = GetNonClientMetrics();
        return true;
    case SPI_GETICONTITLELOGFONT:
        *static_cast<gdi::LOGFONT*>(pvParam) = UiFont(false);
        return true;
    case SPI_GETBORDER:
        return setUint(1);
    case SPI_GETKEYBOARDDELAY:
        return setUint(1);
    case SPI_GETKEYBOARDSPEED:
        return setUint(31);
    case SPI_GETWHEELSCROLLLINES:
        return setUint(3);
    case SPI_GETMENUSHOWDELAY:
        return setUint(400);
    case SPI_GETDRAGFULLWINDOWS:
        return setBool(true);
    case SPI_GETMENUANIMATION:
    case SPI_GETMENUFADE:
    case SPI_GETCOMBOBOXANIMATION:
    case SPI_GETLISTBOXSMOOTHSCROLLING:
    case SPI_GETSELECTIONFADE:
    case SPI_GETTOOLTIPANIMATION:
    case SPI_GETTOOLTIPFADE:
    case SPI_GETCURSORSHADOW:
    case SPI_GETDROPSHADOW:
    case SPI_GETFLATMENU:
    case SPI_GETSCREENSAVEACTIVE:
        return setBool(false);
    case SPI_GETGRADIENTCAPTIONS:
    case SPI_GETKEYBOARDCUES:
    case SPI_GETHOTTRACKING:
        return setBool(true);
    default:
        return false;
    }
}

UINT GetDoubleClickTime() {
    return gDoubleClickTime;
}

bool SetDoubleClickTime(UINT ms) {
    gDoubleClickTime = ms ? ms : DefaultDoubleClickTime;
    return true;
}

}
