// List view control "SysListView32": items in icon, small-icon, list and report views, report columns on a
// header control, owner data, sorting, multiple selection, label editing, hot tracking.
#pragma once

#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/ImageListSource.h"

namespace korvex::user {

inline constexpr const char* WC_LISTVIEW = "SysListView32";

// Styles
inline constexpr DWORD LVS_ICON = 0x0000;
inline constexpr DWORD LVS_REPORT = 0x0001;
inline constexpr DWORD LVS_SMALLICON = 0x0002;
inline constexpr DWORD LVS_LIST = 0x0003;
inline constexpr DWORD LVS_TYPEMASK = 0x0003;
inline constexpr DWORD LVS_SINGLESEL = 0x0004;
inline constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
inline constexpr DWORD LVS_SORTASCENDING = 0x0010;
inline constexpr DWORD LVS_SORTDESCENDING = 0x0020;
inline constexpr DWORD LVS_SHAREIMAGELISTS = 0x0040;
inline constexpr DWORD LVS_NOLABELWRAP = 0x0080;
inline constexpr DWORD LVS_AUTOARRANGE = 0x0100;
inline constexpr DWORD LVS_EDITLABELS = 0x0200;
inline constexpr DWORD LVS_OWNERDRAWFIXED = 0x0400;
inline constexpr DWORD LVS_ALIGNLEFT = 0x0800;
inline constexpr DWORD LVS_OWNERDATA = 0x1000;   // the parent keeps the items; LVN_GETDISPINFO asks for them
inline constexpr DWORD LVS_NOSCROLL = 0x2000;
inline constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;
inline constexpr DWORD LVS_NOSORTHEADER = 0x8000;   // header sections do not press

// Extended styles (LVM_SETEXTENDEDLISTVIEWSTYLE)
inline constexpr DWORD LVS_EX_GRIDLINES = 0x0001;
inline constexpr DWORD LVS_EX_SUBITEMIMAGES = 0x0002;
inline constexpr DWORD LVS_EX_CHECKBOXES = 0x0004;
inline constexpr DWORD LVS_EX_TRACKSELECT = 0x0008;   // hot tracking: the item under the pointer is hot
inline constexpr DWORD LVS_EX_HEADERDRAGDROP = 0x0010;
inline constexpr DWORD LVS_EX_FULLROWSELECT = 0x0020;
inline constexpr DWORD LVS_EX_ONECLICKACTIVATE = 0x0040;
inline constexpr DWORD LVS_EX_TWOCLICKACTIVATE = 0x0080;
inline constexpr DWORD LVS_EX_FLATSB = 0x0100;
inline constexpr DWORD LVS_EX_INFOTIP = 0x0400;
inline constexpr DWORD LVS_EX_UNDERLINEHOT = 0x0800;
inline constexpr DWORD LVS_EX_UNDERLINECOLD = 0x1000;

// Messages
inline constexpr UINT LVM_FIRST = 0x1000;
inline constexpr UINT LVM_GETBKCOLOR = LVM_FIRST + 0;
inline constexpr UINT LVM_SETBKCOLOR = LVM_FIRST + 1;   // lParam: COLORREF or CLR_NONE (transparent)
inline constexpr UINT LVM_GETIMAGELIST = LVM_FIRST + 2;   // wParam: LVSIL_*
inline constexpr UINT LVM_SETIMAGELIST = LVM_FIRST + 3;   // wParam: LVSIL_*; lParam: HIMAGELIST; result: old
inline constexpr UINT LVM_GETITEMCOUNT = LVM_FIRST + 4;
inline constexpr UINT LVM_GETITEM = LVM_FIRST + 5;   // lParam: LVITEM* (iItem, iSubItem, mask in)
inline constexpr UINT LVM_SETITEM = LVM_FIRST + 6;   // lParam: const LVITEM*
inline constexpr UINT LVM_INSERTITEM = LVM_FIRST + 7;   // lParam: const LVITEM*; result: the index or -1
inline constexpr UINT LVM_DELETEITEM = LVM_FIRST + 8;   // wParam: index
inline constexpr UINT LVM_DELETEALLITEMS = LVM_FIRST + 9;
inline constexpr UINT LVM_GETCALLBACKMASK = LVM_FIRST + 10;
inline constexpr UINT LVM_SETCALLBACKMASK = LVM_FIRST + 11;
inline constexpr UINT LVM_GETNEXTITEM = LVM_FIRST + 12;   // wParam: start (-1: from the first); lParam: LVNI_*
inline constexpr UINT LVM_FINDITEM = LVM_FIRST + 13;   // wParam: start; lParam: const LVFINDINFO*
inline constexpr UINT LVM_GETITEMRECT = LVM_FIRST + 14;   // wParam: index; lParam: RECT* with left = LVIR_*
inline constexpr UINT LVM_GETITEMPOSITION = LVM_FIRST + 16;   // wParam: index; lParam: POINT*
inline constexpr UINT LVM_GETSTRINGWIDTH = LVM_FIRST + 17;   // lParam: const char*
inline constexpr UINT LVM_HITTEST = LVM_FIRST + 18;   // lParam: LVHITTESTINFO*; result: the item or -1
inline constexpr UINT LVM_ENSUREVISIBLE = LVM_FIRST + 19;   // wParam: index
inline constexpr UINT LVM_SCROLL = LVM_FIRST + 20;   // wParam: dx; lParam: dy (pixels; rows in report view)
inline constexpr UINT LVM_REDRAWITEMS = LVM_FIRST + 21;   // wParam: first; lParam: last
inline constexpr UINT LVM_ARRANGE = LVM_FIRST + 22;   // wParam: LVA_*
inline constexpr UINT LVM_EDITLABEL = LVM_FIRST + 23;   // wParam: index (-1 ends editing); result: the edit
inline constexpr UINT LVM_GETEDITCONTROL = LVM_FIRST + 24;
inline constexpr UINT LVM_GETCOLUMN = LVM_FIRST + 25;   // wParam: column; lParam: LVCOLUMN*
inline constexpr UINT LVM_SETCOLUMN = LVM_FIRST + 26;
inline constexpr UINT LVM_INSERTCOLUMN = LVM_FIRST + 27;   // wParam: index; lParam: const LVCOLUMN*
inline constexpr UINT LVM_DELETECOLUMN = LVM_FIRST + 28;
inline constexpr UINT LVM_GETCOLUMNWIDTH = LVM_FIRST + 29;
inline constexpr UINT LVM_SETCOLUMNWIDTH = LVM_FIRST + 30;   // wParam: column; lParam: width or LVSCW_*
inline constexpr UINT LVM_GETHEADER = LVM_FIRST + 31;
inline constexpr UINT LVM_GETVIEWRECT = LVM_FIRST + 34;
inline constexpr UINT LVM_GETTEXTCOLOR = LVM_FIRST + 35;
inline constexpr UINT LVM_SETTEXTCOLOR = LVM_FIRST + 36;
inline constexpr UINT LVM_GETTEXTBKCOLOR = LVM_FIRST + 37;
inline constexpr UINT LVM_SETTEXTBKCOLOR = LVM_FIRST + 38;
inline constexpr UINT LVM_GETTOPINDEX = LVM_FIRST + 39;
inline constexpr UINT LVM_GETCOUNTPERPAGE = LVM_FIRST + 40;
inline constexpr UINT LVM_GETORIGIN = LVM_FIRST + 41;
inline constexpr UINT LVM_UPDATE = LVM_FIRST + 42;
inline constexpr UINT LVM_SETITEMSTATE = LVM_FIRST + 43;   // wParam: index (-1: all); lParam: LVITEM* state/mask
inline constexpr UINT LVM_GETITEMSTATE = LVM_FIRST + 44;   // wParam: index; lParam: mask
inline constexpr UINT LVM_GETITEMTEXT = LVM_FIRST + 45;   // wParam: index; lParam: LVITEM* (iSubItem, pszText)
inline constexpr UINT LVM_SETITEMTEXT = LVM_FIRST + 46;
inline constexpr UINT LVM_SETITEMCOUNT = LVM_FIRST + 47;   // wParam: count (owner data: the item count)
inline constexpr UINT LVM_SORTITEMS = LVM_FIRST + 48;   // wParam: lParamSort; lParam: PFNLVCOMPARE
inline constexpr UINT LVM_GETSELECTEDCOUNT = LVM_FIRST + 50;
inline constexpr UINT LVM_SETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 54;   // wParam: mask (0: all); lParam: styles
inline constexpr UINT LVM_GETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 55;
inline constexpr UINT LVM_GETSUBITEMRECT = LVM_FIRST + 56;   // wParam: index; lParam: RECT* (top: sub-item)
inline constexpr UINT LVM_SUBITEMHITTEST = LVM_FIRST + 57;
inline constexpr UINT LVM_SETHOTITEM = LVM_FIRST + 60;
inline constexpr UINT LVM_GETHOTITEM = LVM_FIRST + 61;
inline constexpr UINT LVM_SETVIEW = LVM_FIRST + 142;   // wParam: LV_VIEW_* (the LVS_ type)
inline constexpr UINT LVM_GETVIEW = LVM_FIRST + 143;

inline constexpr WPARAM LVSIL_NORMAL = 0;
inline constexpr WPARAM LVSIL_SMALL = 1;
inline constexpr WPARAM LVSIL_STATE = 2;

// LVITEM mask
inline constexpr UINT LVIF_TEXT = 0x0001;
inline constexpr UINT LVIF_IMAGE = 0x0002;
inline constexpr UINT LVIF_PARAM = 0x0004;
inline constexpr UINT LVIF_STATE = 0x0008;
inline constexpr UINT LVIF_INDENT = 0x0010;
inline constexpr UINT LVIF_DI_SETITEM = 0x1000;

// Item states
inline constexpr UINT LVIS_FOCUSED = 0x0001;
inline constexpr UINT LVIS_SELECTED = 0x0002;
inline constexpr UINT LVIS_CUT = 0x0004;
inline constexpr UINT LVIS_DROPHILITED = 0x0008;
inline constexpr UINT LVIS_OVERLAYMASK = 0x0F00;
inline constexpr UINT LVIS_STATEIMAGEMASK = 0xF000;

struct LVITEM {
    UINT mask = 0;   // LVIF_*
    int iItem = 0;
    int iSubItem = 0;
    UINT state = 0;
    UINT stateMask = 0;
    char* pszText = nullptr;   // LPSTR_TEXTCALLBACK: asked by LVN_GETDISPINFO
    int cchTextMax = 0;
    int iImage = 0;
    LPARAM lParam = 0;
    int iIndent = 0;
};

// LVM_GETNEXTITEM flags
inline constexpr UINT LVNI_ALL = 0x0000;
inline constexpr UINT LVNI_FOCUSED = 0x0001;
inline constexpr UINT LVNI_SELECTED = 0x0002;
inline constexpr UINT LVNI_ABOVE = 0x0100;
inline constexpr UINT LVNI_BELOW = 0x0200;
inline constexpr UINT LVNI_TOLEFT = 0x0400;
inline constexpr UINT LVNI_TORIGHT = 0x0800;

// LVM_GETITEMRECT parts
inline constexpr int LVIR_BOUNDS = 0;
inline constexpr int LVIR_ICON = 1;
inline constexpr int LVIR_LABEL = 2;
inline constexpr int LVIR_SELECTBOUNDS = 3;

// Hit-test flags
inline constexpr UINT LVHT_NOWHERE = 0x0001;
inline constexpr UINT LVHT_ONITEMICON = 0x0002;
inline constexpr UINT LVHT_ONITEMLABEL = 0x0004;
inline constexpr UINT LVHT_ONITEMSTATEICON = 0x0008;
inline constexpr UINT LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON;
inline constexpr UINT LVHT_ABOVE = 0x0008;
inline constexpr UINT LVHT_BELOW = 0x0010;
inline constexpr UINT LVHT_TORIGHT = 0x0020;
inline constexpr UINT LVHT_TOLEFT = 0x0040;

struct LVHITTESTINFO {
    POINT pt {};   // client coordinates
    UINT flags = 0;
    int iItem = -1;
    int iSubItem = 0;   // LVM_SUBITEMHITTEST
};

// Columns
inline constexpr UINT LVCF_FMT = 0x0001;
inline constexpr UINT LVCF_WIDTH = 0x0002;
inline constexpr UINT LVCF_TEXT = 0x0004;
inline constexpr UINT LVCF_SUBITEM = 0x0008;
inline constexpr UINT LVCF_IMAGE = 0x0010;
inline constexpr UINT LVCF_ORDER = 0x0020;

inline constexpr int LVCFMT_LEFT = 0x0000;
inline constexpr int LVCFMT_RIGHT = 0x0001;
inline constexpr int LVCFMT_CENTER = 0x0002;
inline constexpr int LVCFMT_JUSTIFYMASK = 0x0003;
inline constexpr int LVCFMT_IMAGE = 0x0800;

inline constexpr int LVSCW_AUTOSIZE = -1;
inline constexpr int LVSCW_AUTOSIZE_USEHEADER = -2;

struct LVCOLUMN {
    UINT mask = 0;   // LVCF_*
    int fmt = 0;
    int cx = 0;
    char* pszText = nullptr;
    int cchTextMax = 0;
    int iSubItem = 0;
    int iImage = 0;
    int iOrder = 0;
};

// LVM_ARRANGE
inline constexpr WPARAM LVA_DEFAULT = 0x0000;
inline constexpr WPARAM LVA_ALIGNLEFT = 0x0001;
inline constexpr WPARAM LVA_ALIGNTOP = 0x0002;
inline constexpr WPARAM LVA_SNAPTOGRID = 0x0005;

// LVM_FINDITEM and LVN_ODFINDITEM
inline constexpr UINT LVFI_PARAM = 0x0001;
inline constexpr UINT LVFI_STRING = 0x0002;
inline constexpr UINT LVFI_PARTIAL = 0x0008;
inline constexpr UINT LVFI_WRAP = 0x0020;

struct LVFINDINFO {
    UINT flags = 0;   // LVFI_*
    const char* psz = nullptr;
    LPARAM lParam = 0;
    POINT pt {};
    UINT vkDirection = 0;
};

using PFNLVCOMPARE = int (*)(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

// Notifications. A non-zero answer to LVN_ITEMCHANGING, LVN_BEGINLABELEDIT and LVN_HOTTRACK refuses; a
// zero answer to LVN_ENDLABELEDIT (with a text) keeps the old label.
inline constexpr UINT LVN_FIRST = 0u - 100u;
inline constexpr UINT LVN_ITEMCHANGING = LVN_FIRST - 0;
inline constexpr UINT LVN_ITEMCHANGED = LVN_FIRST - 1;
inline constexpr UINT LVN_INSERTITEM = LVN_FIRST - 2;
inline constexpr UINT LVN_DELETEITEM = LVN_FIRST - 3;
inline constexpr UINT LVN_DELETEALLITEMS = LVN_FIRST - 4;
inline constexpr UINT LVN_BEGINLABELEDIT = LVN_FIRST - 5;
inline constexpr UINT LVN_ENDLABELEDIT = LVN_FIRST - 6;
inline constexpr UINT LVN_COLUMNCLICK = LVN_FIRST - 8;
inline constexpr UINT LVN_BEGINDRAG = LVN_FIRST - 9;
inline constexpr UINT LVN_BEGINRDRAG = LVN_FIRST - 11;
inline constexpr UINT LVN_ODCACHEHINT = LVN_FIRST - 13;
inline constexpr UINT LVN_ITEMACTIVATE = LVN_FIRST - 14;
inline constexpr UINT LVN_ODSTATECHANGED = LVN_FIRST - 15;
inline constexpr UINT LVN_HOTTRACK = LVN_FIRST - 21;
inline constexpr UINT LVN_GETDISPINFO = LVN_FIRST - 50;
inline constexpr UINT LVN_SETDISPINFO = LVN_FIRST - 51;
inline constexpr UINT LVN_ODFINDITEM = LVN_FIRST - 52;
inline constexpr UINT LVN_KEYDOWN = LVN_FIRST - 55;

struct NMLISTVIEW {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;   // LVN_COLUMNCLICK: the column
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;   // LVIF_* that changed
    POINT ptAction {};
    LPARAM lParam = 0;
};

struct NMLVDISPINFO {
    NMHDR hdr;
    LVITEM item;   // LVN_ENDLABELEDIT: pszText is the new text, nullptr when editing was cancelled
};

struct NMLVCACHEHINT {
    NMHDR hdr;
    int iFrom = 0;
    int iTo = 0;
};

struct NMLVFINDITEM {
    NMHDR hdr;
    int iStart = 0;
    LVFINDINFO lvfi;
};

struct NMLVKEYDOWN {
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};

struct NMLVODSTATECHANGE {
    NMHDR hdr;
    int iFrom = 0;
    int iTo = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
};

// NM_CUSTOMDRAW of the list view: the colours of an item stage may be changed by the parent.
struct NMLVCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    COLORREF clrText = 0;
    COLORREF clrTextBk = 0;
    int iSubItem = 0;
};

bool RegisterListViewClass();

}
