// Header control "SysHeader32": column sections with text, width and format, sized by dragging their dividers.
#pragma once

#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/ImageListSource.h"

namespace korvex::user {

inline constexpr const char* WC_HEADER = "SysHeader32";

// Styles
inline constexpr DWORD HDS_HORZ = 0x0000;
inline constexpr DWORD HDS_BUTTONS = 0x0002;   // sections press like buttons and report clicks
inline constexpr DWORD HDS_HOTTRACK = 0x0004;   // the section under the pointer is drawn hot
inline constexpr DWORD HDS_HIDDEN = 0x0008;   // HDM_LAYOUT gives the header no height
inline constexpr DWORD HDS_DRAGDROP = 0x0040;
inline constexpr DWORD HDS_FULLDRAG = 0x0080;

// Messages
inline constexpr UINT HDM_FIRST = 0x1200;
inline constexpr UINT HDM_GETITEMCOUNT = HDM_FIRST + 0;
inline constexpr UINT HDM_INSERTITEM = HDM_FIRST + 1;   // wParam: index; lParam: const HDITEM*; result: index or -1
inline constexpr UINT HDM_DELETEITEM = HDM_FIRST + 2;
inline constexpr UINT HDM_GETITEM = HDM_FIRST + 3;   // wParam: index; lParam: HDITEM* (mask in, fields out)
inline constexpr UINT HDM_SETITEM = HDM_FIRST + 4;   // wParam: index; lParam: const HDITEM*
inline constexpr UINT HDM_LAYOUT = HDM_FIRST + 5;   // lParam: HDLAYOUT*
inline constexpr UINT HDM_HITTEST = HDM_FIRST + 6;   // lParam: HDHITTESTINFO*; result: the item or -1
inline constexpr UINT HDM_GETITEMRECT = HDM_FIRST + 7;   // wParam: index; lParam: RECT*
inline constexpr UINT HDM_SETIMAGELIST = HDM_FIRST + 8;   // lParam: HIMAGELIST; result: the old list
inline constexpr UINT HDM_GETIMAGELIST = HDM_FIRST + 9;
inline constexpr UINT HDM_ORDERTOINDEX = HDM_FIRST + 15;
inline constexpr UINT HDM_GETORDERARRAY = HDM_FIRST + 17;   // wParam: count; lParam: int*
inline constexpr UINT HDM_SETORDERARRAY = HDM_FIRST + 18;

// HDITEM mask
inline constexpr UINT HDI_WIDTH = 0x0001;
inline constexpr UINT HDI_HEIGHT = HDI_WIDTH;
inline constexpr UINT HDI_TEXT = 0x0002;
inline constexpr UINT HDI_FORMAT = 0x0004;
inline constexpr UINT HDI_LPARAM = 0x0008;
inline constexpr UINT HDI_IMAGE = 0x0020;
inline constexpr UINT HDI_ORDER = 0x0080;

// HDITEM formats
inline constexpr int HDF_LEFT = 0x0000;
inline constexpr int HDF_RIGHT = 0x0001;
inline constexpr int HDF_CENTER = 0x0002;
inline constexpr int HDF_JUSTIFYMASK = 0x0003;
inline constexpr int HDF_IMAGE = 0x0800;
inline constexpr int HDF_STRING = 0x4000;
inline constexpr int HDF_OWNERDRAW = 0x8000;   // the parent draws the section (WM_DRAWITEM, ODT_HEADER)

inline constexpr UINT ODT_HEADER = 100;

struct HDITEM {
    UINT mask = 0;   // HDI_*
    int cxy = 0;   // the width
    char* pszText = nullptr;
    void* hbm = nullptr;
    int cchTextMax = 0;   // HDM_GETITEM: room at pszText
    int fmt = 0;   // HDF_*
    LPARAM lParam = 0;
    int iImage = -1;
    int iOrder = 0;
};

struct HDLAYOUT {
    RECT* prc = nullptr;   // in: the parent's rectangle; out: what is left below the header
    WINDOWPOS* pwpos = nullptr;   // out: where the header goes
};

// Hit-test flags
inline constexpr UINT HHT_NOWHERE = 0x0001;
inline constexpr UINT HHT_ONHEADER = 0x0002;
inline constexpr UINT HHT_ONDIVIDER = 0x0004;   // on the divider right of iItem
inline constexpr UINT HHT_ONDIVOPEN = 0x0008;   // on the divider of a zero-width iItem
inline constexpr UINT HHT_ABOVE = 0x0100;
inline constexpr UINT HHT_BELOW = 0x0200;
inline constexpr UINT HHT_TORIGHT = 0x0400;
inline constexpr UINT HHT_TOLEFT = 0x0800;

struct HDHITTESTINFO {
    POINT pt {};   // client coordinates
    UINT flags = 0;
    int iItem = -1;
};

// Notifications (NMHEADER); a non-zero answer to the -ING codes and HDN_BEGINTRACK refuses.
inline constexpr UINT HDN_FIRST = 0u - 300u;
inline constexpr UINT HDN_ITEMCHANGING = HDN_FIRST - 0;
inline constexpr UINT HDN_ITEMCHANGED = HDN_FIRST - 1;
inline constexpr UINT HDN_ITEMCLICK = HDN_FIRST - 2;
inline constexpr UINT HDN_ITEMDBLCLICK = HDN_FIRST - 3;
inline constexpr UINT HDN_DIVIDERDBLCLICK = HDN_FIRST - 5;
inline constexpr UINT HDN_BEGINTRACK = HDN_FIRST - 6;
inline constexpr UINT HDN_ENDTRACK = HDN_FIRST - 7;
inline constexpr UINT HDN_TRACK = HDN_FIRST - 8;

struct NMHEADER {
    NMHDR hdr;
    int iItem = -1;
    int iButton = 0;   // 0 left, 1 right
    HDITEM* pitem = nullptr;   // HDI_WIDTH for the track and change codes
};

inline constexpr int HeaderDividerSlop = 4;   // pixels each side of a divider that grab it

bool RegisterHeaderClass();

}
