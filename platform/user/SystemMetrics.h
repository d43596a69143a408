// System metrics, system parameters and system colours: one table of classic Windows values at 96 dpi.
#pragma once

#include "platform/gdi/Fonts.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/UserTypes.h"

namespace korvex::user {

// GetSystemMetrics indexes
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXVSCROLL = 2;
inline constexpr int SM_CYHSCROLL = 3;
inline constexpr int SM_CYCAPTION = 4;
inline constexpr int SM_CXBORDER = 5;
inline constexpr int SM_CYBORDER = 6;
inline constexpr int SM_CXDLGFRAME = 7;
inline constexpr int SM_CXFIXEDFRAME = SM_CXDLGFRAME;
inline constexpr int SM_CYDLGFRAME = 8;
inline constexpr int SM_CYFIXEDFRAME = SM_CYDLGFRAME;
inline constexpr int SM_CYVTHUMB = 9;
inline constexpr int SM_CXHTHUMB = 10;
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
inline constexpr int SM_CXCURSOR = 13;
inline constexpr int SM_CYCURSOR = 14;
inline constexpr int SM_CYMENU = 15;
inline constexpr int SM_CXFULLSCREEN = 16;
inline constexpr int SM_CYFULLSCREEN = 17;
inline constexpr int SM_CYVSCROLL = 20;
inline constexpr int SM_CXHSCROLL = 21;
inline constexpr int SM_SWAPBUTTON = 23;
inline constexpr int SM_CXMIN = 28;
inline constexpr int SM_CYMIN = 29;
inline constexpr int SM_CXSIZE = 30;
inline constexpr int SM_CYSIZE = 31;
inline constexpr int SM_CXFRAME = 32;
inline constexpr int SM_CXSIZEFRAME = SM_CXFRAME;
inline constexpr int SM_CYFRAME = 33;
inline constexpr int SM_CYSIZEFRAME = SM_CYFRAME;
inline constexpr int SM_CXMINTRACK = 34;
inline constexpr int SM_CYMINTRACK = 35;
inline constexpr int SM_CXDOUBLECLK = 36;
inline constexpr int SM_CYDOUBLECLK = 37;
inline constexpr int SM_CXICONSPACING = 38;
inline constexpr int SM_CYICONSPACING = 39;
inline constexpr int SM_MENUDROPALIGNMENT = 40;
inline constexpr int SM_CXEDGE = 45;
inline constexpr int SM_CYEDGE = 46;
inline constexpr int SM_CXMINSPACING = 47;
inline constexpr int SM_CYMINSPACING = 48;
inline constexpr int SM_CXSMICON = 49;
inline constexpr int SM_CYSMICON = 50;
inline constexpr int SM_CYSMCAPTION = 51;
inline constexpr int SM_CXSMSIZE = 52;
inline constexpr int SM_CYSMSIZE = 53;
inline constexpr int SM_CXMENUSIZE = 54;
inline constexpr int SM_CYMENUSIZE = 55;
inline constexpr int SM_CXMINIMIZED = 57;
inline constexpr int SM_CYMINIMIZED = 58;
inline constexpr int SM_CXMAXTRACK = 59;
inline constexpr int SM_CYMAXTRACK = 60;
inline constexpr int SM_CXMAXIMIZED = 61;
inline constexpr int SM_CYMAXIMIZED = 62;
inline constexpr int SM_CXDRAG = 68;
inline constexpr int SM_CYDRAG = 69;
inline constexpr int SM_CXMENUCHECK = 71;
inline constexpr int SM_CYMENUCHECK = 72;
inline constexpr int SM_MOUSEWHEELPRESENT = 75;
inline constexpr int SM_XVIRTUALSCREEN = 76;
inline constexpr int SM_YVIRTUALSCREEN = 77;
inline constexpr int SM_CXVIRTUALSCREEN = 78;
inline constexpr int SM_CYVIRTUALSCREEN = 79;
inline constexpr int SM_CMONITORS = 80;
inline constexpr int SM_CXFOCUSBORDER = 83;
inline constexpr int SM_CYFOCUSBORDER = 84;

// Returns the metric; 0 for an unknown index. Screen sizes and the work area come from the current display.
int GetSystemMetrics(int index);
// Tests and themes may change a metric (screen sizes excepted: they follow the display). Returns the old value.
int SetSystemMetric(int index, int value);

// SystemParametersInfo actions
inline constexpr UINT SPI_GETBORDER = 0x0005;
inline constexpr UINT SPI_GETKEYBOARDDELAY = 0x0016;
inline constexpr UINT SPI_GETKEYBOARDSPEED = 0x000A;
inline constexpr UINT SPI_GETWORKAREA = 0x0030;   // pvParam: RECT*
inline constexpr UINT SPI_GETDRAGFULLWINDOWS = 0x0026;   // pvParam: bool*
inline constexpr UINT SPI_GETNONCLIENTMETRICS = 0x0029;   // pvParam: NONCLIENTMETRICS*
inline constexpr UINT SPI_GETICONTITLELOGFONT = 0x001F;   // pvParam: gdi::LOGFONT*
inline constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;   // pvParam: UINT*
inline constexpr UINT SPI_GETMENUANIMATION = 0x1002;   // pvParam: bool*
inline constexpr UINT SPI_GETCOMBOBOXANIMATION = 0x1004;
inline constexpr UINT SPI_GETLISTBOXSMOOTHSCROLLING = 0x1006;
inline constexpr UINT SPI_GETGRADIENTCAPTIONS = 0x1008;
inline constexpr UINT SPI_GETKEYBOARDCUES = 0x100A;
inline constexpr UINT SPI_GETHOTTRACKING = 0x100E;
inline constexpr UINT SPI_GETMENUFADE = 0x1012;
inline constexpr UINT SPI_GETSELECTIONFADE = 0x1014;
inline constexpr UINT SPI_GETTOOLTIPANIMATION = 0x1016;
inline constexpr UINT SPI_GETTOOLTIPFADE = 0x1018;
inline constexpr UINT SPI_GETCURSORSHADOW = 0x101A;
inline constexpr UINT SPI_GETFLATMENU = 0x1022;
inline constexpr UINT SPI_GETDROPSHADOW = 0x1024;
inline constexpr UINT SPI_GETMENUSHOWDELAY = 0x006A;   // pvParam: UINT*
inline constexpr UINT SPI_GETSCREENSAVEACTIVE = 0x0010;

// The fonts and sizes of the non-client area. Fonts are gdi LOGFONTs (UTF-8 face names).
struct NONCLIENTMETRICS {
    UINT cbSize = sizeof(NONCLIENTMETRICS);
    int iBorderWidth = 1;
    int iScrollWidth = 16;
    int iScrollHeight = 16;
    int iCaptionWidth = 18;
    int iCaptionHeight = 18;
    gdi::LOGFONT lfCaptionFont;
    int iSmCaptionWidth = 12;
    int iSmCaptionHeight = 15;
    gdi::LOGFONT lfSmCaptionFont;
    int iMenuWidth = 18;
    int iMenuHeight = 18;
    gdi::LOGFONT lfMenuFont;
    gdi::LOGFONT lfStatusFont;
    gdi::LOGFONT lfMessageFont;
};

// Fills pvParam for the SPI_GET* actions above; false (nothing written) for an unknown action or null pvParam.
bool SystemParametersInfo(UINT action, UINT uiParam, void* pvParam, UINT winIni = 0);

// Typed shortcuts of the above.
RECT GetWorkArea();
NONCLIENTMETRICS GetNonClientMetrics();

inline constexpr UINT DefaultDoubleClickTime = 500;
UINT GetDoubleClickTime();   // milliseconds
bool SetDoubleClickTime(UINT ms);   // 0 restores the default

// System colours live in gdi's table.
using gdi::GetSysColor;
using gdi::GetSysColorBrush;
using gdi::SetSysColors;

}
