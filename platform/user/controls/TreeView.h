// Tree view control "SysTreeView32": items with text, images and children, expanded and collapsed, selected
// and edited in place, with lines and buttons in the plain look.
#pragma once

#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/ImageListSource.h"

namespace korvex::user {

inline constexpr const char* WC_TREEVIEW = "SysTreeView32";

// An item handle. The control checks every handle it is given: a deleted item's handle is refused.
struct TreeItem;
using HTREEITEM = TreeItem*;
inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(std::intptr_t(-0x10000));
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(std::intptr_t(-0x0FFFF));
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(std::intptr_t(-0x0FFFE));
inline const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(std::intptr_t(-0x0FFFD));

// Styles
inline constexpr DWORD TVS_HASBUTTONS = 0x0001;   // +/- boxes beside parents
inline constexpr DWORD TVS_HASLINES = 0x0002;   // dotted lines between items
inline constexpr DWORD TVS_LINESATROOT = 0x0004;   // lines and buttons for the top level too
inline constexpr DWORD TVS_EDITLABELS = 0x0008;
inline constexpr DWORD TVS_DISABLEDRAGDROP = 0x0010;
inline constexpr DWORD TVS_SHOWSELALWAYS = 0x0020;   // the selection stays marked without the focus
inline constexpr DWORD TVS_RTLREADING = 0x0040;
inline constexpr DWORD TVS_NOTOOLTIPS = 0x0080;
inline constexpr DWORD TVS_CHECKBOXES = 0x0100;
inline constexpr DWORD TVS_TRACKSELECT = 0x0200;
inline constexpr DWORD TVS_SINGLEEXPAND = 0x0400;
inline constexpr DWORD TVS_INFOTIP = 0x0800;
inline constexpr DWORD TVS_FULLROWSELECT = 0x1000;
inline constexpr DWORD TVS_NOSCROLL = 0x2000;

// Messages
inline constexpr UINT TV_FIRST = 0x1100;
inline constexpr UINT TVM_INSERTITEM = TV_FIRST + 0;   // lParam: const TVINSERTSTRUCT*; result: HTREEITEM
inline constexpr UINT TVM_DELETEITEM = TV_FIRST + 1;   // lParam: item (TVI_ROOT: all)
inline constexpr UINT TVM_EXPAND = TV_FIRST + 2;   // wParam: TVE_*; lParam: item
inline constexpr UINT TVM_GETITEMRECT = TV_FIRST + 4;   // wParam: text only; lParam: RECT* holding the item in
inline constexpr UINT TVM_GETCOUNT = TV_FIRST + 5;
inline constexpr UINT TVM_GETINDENT = TV_FIRST + 6;
inline constexpr UINT TVM_SETINDENT = TV_FIRST + 7;
inline constexpr UINT TVM_GETIMAGELIST = TV_FIRST + 8;   // wParam: TVSIL_*
inline constexpr UINT TVM_SETIMAGELIST = TV_FIRST + 9;   // wParam: TVSIL_*; lParam: HIMAGELIST; result: old
inline constexpr UINT TVM_GETNEXTITEM = TV_FIRST + 10;   // wParam: TVGN_*; lParam: item
inline constexpr UINT TVM_SELECTITEM = TV_FIRST + 11;   // wParam: TVGN_CARET (or FIRSTVISIBLE); lParam: item
inline constexpr UINT TVM_GETITEM = TV_FIRST + 12;   // lParam: TVITEM* (hItem and mask in)
inline constexpr UINT TVM_SETITEM = TV_FIRST + 13;   // lParam: const TVITEM*
inline constexpr UINT TVM_EDITLABEL = TV_FIRST + 14;   // lParam: item; result: the edit control
inline constexpr UINT TVM_GETEDITCONTROL = TV_FIRST + 15;
inline constexpr UINT TVM_GETVISIBLECOUNT = TV_FIRST + 16;   // whole rows that fit
inline constexpr UINT TVM_HITTEST = TV_FIRST + 17;   // lParam: TVHITTESTINFO*; result: the item
inline constexpr UINT TVM_SORTCHILDREN = TV_FIRST + 19;   // lParam: parent; by text
inline constexpr UINT TVM_ENSUREVISIBLE = TV_FIRST + 20;   // lParam: item
inline constexpr UINT TVM_SORTCHILDRENCB = TV_FIRST + 21;   // lParam: const TVSORTCB*
inline constexpr UINT TVM_ENDEDITLABELNOW = TV_FIRST + 22;   // wParam: cancel
inline constexpr UINT TVM_SETITEMHEIGHT = TV_FIRST + 27;   // wParam: height (-1: the default)
inline constexpr UINT TVM_GETITEMHEIGHT = TV_FIRST + 28;
inline constexpr UINT TVM_SETBKCOLOR = TV_FIRST + 29;   // lParam: COLORREF (CLR_NONE: the window colour)
inline constexpr UINT TVM_SETTEXTCOLOR = TV_FIRST + 30;
inline constexpr UINT TVM_GETBKCOLOR = TV_FIRST + 31;
inline constexpr UINT TVM_GETTEXTCOLOR = TV_FIRST + 32;

// TVITEM mask
inline constexpr UINT TVIF_TEXT = 0x0001;
inline constexpr UINT TVIF_IMAGE = 0x0002;
inline constexpr UINT TVIF_PARAM = 0x0004;
inline constexpr UINT TVIF_STATE = 0x0008;
inline constexpr UINT TVIF_HANDLE = 0x0010;
inline constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;
inline constexpr UINT TVIF_CHILDREN = 0x0040;

// Item states
inline constexpr UINT TVIS_SELECTED = 0x0002;
inline constexpr UINT TVIS_CUT = 0x0004;
inline constexpr UINT TVIS_DROPHILITED = 0x0008;
inline constexpr UINT TVIS_BOLD = 0x0010;
inline constexpr UINT TVIS_EXPANDED = 0x0020;
inline constexpr UINT TVIS_EXPANDEDONCE = 0x0040;
inline constexpr UINT TVIS_OVERLAYMASK = 0x0F00;
inline constexpr UINT TVIS_STATEIMAGEMASK = 0xF000;

inline constexpr int I_CHILDRENCALLBACK = -1;

struct TVITEM {
    UINT mask = 0;   // TVIF_*
    HTREEITEM hItem = nullptr;
    UINT state = 0;
    UINT stateMask = 0;
    char* pszText = nullptr;   // TVM_GETITEM: room of cchTextMax
    int cchTextMax = 0;
    int iImage = 0;
    int iSelectedImage = 0;
    int cChildren = 0;   // 0, 1 or I_CHILDRENCALLBACK
    LPARAM lParam = 0;
};

struct TVINSERTSTRUCT {
    HTREEITEM hParent = TVI_ROOT;
    HTREEITEM hInsertAfter = TVI_LAST;   // an item, TVI_FIRST, TVI_LAST or TVI_SORT
    TVITEM item;
};

// TVM_EXPAND actions
inline constexpr UINT TVE_COLLAPSE = 0x0001;
inline constexpr UINT TVE_EXPAND = 0x0002;
inline constexpr UINT TVE_TOGGLE = 0x0003;
inline constexpr UINT TVE_COLLAPSERESET = 0x8000;   // with TVE_COLLAPSE: the children are deleted

// TVM_GETNEXTITEM relations
inline constexpr UINT TVGN_ROOT = 0x0000;
inline constexpr UINT TVGN_NEXT = 0x0001;
inline constexpr UINT TVGN_PREVIOUS = 0x0002;
inline constexpr UINT TVGN_PARENT = 0x0003;
inline constexpr UINT TVGN_CHILD = 0x0004;
inline constexpr UINT TVGN_FIRSTVISIBLE = 0x0005;
inline constexpr UINT TVGN_NEXTVISIBLE = 0x0006;
inline constexpr UINT TVGN_PREVIOUSVISIBLE = 0x0007;
inline constexpr UINT TVGN_DROPHILITE = 0x0008;
inline constexpr UINT TVGN_CARET = 0x0009;
inline constexpr UINT TVGN_LASTVISIBLE = 0x000A;

inline constexpr WPARAM TVSIL_NORMAL = 0;
inline constexpr WPARAM TVSIL_STATE = 2;

// Hit-test flags
inline constexpr UINT TVHT_NOWHERE = 0x0001;   // below the last item
inline constexpr UINT TVHT_ONITEMICON = 0x0002;
inline constexpr UINT TVHT_ONITEMLABEL = 0x0004;
inline constexpr UINT TVHT_ONITEMINDENT = 0x0008;
inline constexpr UINT TVHT_ONITEMBUTTON = 0x0010;
inline constexpr UINT TVHT_ONITEMRIGHT = 0x0020;
inline constexpr UINT TVHT_ONITEMSTATEICON = 0x0040;
inline constexpr UINT TVHT_ONITEM = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON;
inline constexpr UINT TVHT_ABOVE = 0x0100;
inline constexpr UINT TVHT_BELOW = 0x0200;
inline constexpr UINT TVHT_TORIGHT = 0x0400;
inline constexpr UINT TVHT_TOLEFT = 0x0800;

struct TVHITTESTINFO {
    POINT pt {};   // client coordinates
    UINT flags = 0;
    HTREEITEM hItem = nullptr;
};

using PFNTVCOMPARE = int (*)(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
struct TVSORTCB {
    HTREEITEM hParent = nullptr;
    PFNTVCOMPARE lpfnCompare = nullptr;
    LPARAM lParam = 0;
};

// Notifications. A non-zero answer to TVN_SELCHANGING, TVN_ITEMEXPANDING and TVN_BEGINLABELEDIT refuses;
// a zero answer to TVN_ENDLABELEDIT (with a text) keeps the old label.
inline constexpr UINT TVN_FIRST = 0u - 400u;
inline constexpr UINT TVN_SELCHANGING = TVN_FIRST - 1;
inline constexpr UINT TVN_SELCHANGED = TVN_FIRST - 2;
inline constexpr UINT TVN_GETDISPINFO = TVN_FIRST - 3;
inline constexpr UINT TVN_SETDISPINFO = TVN_FIRST - 4;
inline constexpr UINT TVN_ITEMEXPANDING = TVN_FIRST - 5;
inline constexpr UINT TVN_ITEMEXPANDED = TVN_FIRST - 6;
inline constexpr UINT TVN_BEGINDRAG = TVN_FIRST - 7;
inline constexpr UINT TVN_BEGINRDRAG = TVN_FIRST - 8;
inline constexpr UINT TVN_DELETEITEM = TVN_FIRST - 9;
inline constexpr UINT TVN_BEGINLABELEDIT = TVN_FIRST - 10;
inline constexpr UINT TVN_ENDLABELEDIT = TVN_FIRST - 11;
inline constexpr UINT TVN_KEYDOWN = TVN_FIRST - 12;

// How a selection change came (NMTREEVIEW action).
inline constexpr UINT TVC_UNKNOWN = 0;
inline constexpr UINT TVC_BYMOUSE = 1;
inline constexpr UINT TVC_BYKEYBOARD = 2;

struct NMTREEVIEW {
    NMHDR hdr;
    UINT action = 0;   // TVC_* or TVE_*
    TVITEM itemOld;
    TVITEM itemNew;
    POINT ptDrag {};
};

struct NMTVDISPINFO {
    NMHDR hdr;
    TVITEM item;   // TVN_ENDLABELEDIT: pszText is the new text, nullptr when editing was cancelled
};

struct NMTVKEYDOWN {
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};

bool RegisterTreeViewClass();

}
