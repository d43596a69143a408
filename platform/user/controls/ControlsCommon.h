// What the native controls share: WM_NOTIFY records and codes, custom draw, owner-draw records, common styles.
#pragma once

#include "platform/base/Assert.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/UserTypes.h"
#include "platform/user/Window.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>

namespace korvex::user {

// Registers a native control's class once (a later call finds it and answers 1). Every control keeps its
// state behind one pointer of window extra (ControlData).
inline ATOM RegisterControlClass(
    const char* name, WNDPROC proc, UINT style, int cursor = IDC_ARROW, HBRUSH background = nullptr) {
    WNDCLASSEX existing;
    if (GetClassInfoEx(name, &existing)) return 1;
    WNDCLASSEX wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = sizeof(void*);
    wc.hCursor = LoadCursor(nullptr, cursor);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return RegisterClassEx(&wc);
}
// The common controls' classes: the arrow cursor and the button face behind them. True when registered.
inline bool RegisterCommonControlClass(const char* name, WNDPROC proc, UINT style) {
    return RegisterControlClass(name, proc, style, IDC_ARROW, SysColorBackground(gdi::COLOR_BTNFACE)) != 0;
}

// ---------------------------------------------------------------------------------------------------------
// WM_NOTIFY: wParam is the sender's id, lParam an NMHDR (or a record that starts with one).
struct NMHDR {
    HWND hwndFrom = nullptr;
    std::uintptr_t idFrom = 0;
    UINT code = 0;   // NM_* or a control's own code (negative numbers as UINT, as Windows)
};

inline constexpr UINT NM_FIRST = 0;
inline constexpr UINT NM_OUTOFMEMORY = NM_FIRST - 1;
inline constexpr UINT NM_CLICK = NM_FIRST - 2;
inline constexpr UINT NM_DBLCLK = NM_FIRST - 3;
inline constexpr UINT NM_RETURN = NM_FIRST - 4;
inline constexpr UINT NM_RCLICK = NM_FIRST - 5;
inline constexpr UINT NM_RDBLCLK = NM_FIRST - 6;
inline constexpr UINT NM_SETFOCUS = NM_FIRST - 7;
inline constexpr UINT NM_KILLFOCUS = NM_FIRST - 8;
inline constexpr UINT NM_CUSTOMDRAW = NM_FIRST - 12;
inline constexpr UINT NM_HOVER = NM_FIRST - 13;
inline constexpr UINT NM_RELEASEDCAPTURE = NM_FIRST - 16;

// Fills the header's sender fields and sends WM_NOTIFY to the sender's parent; the parent's answer.
inline LRESULT SendNotify(HWND from, NMHDR* header) {
    header->hwndFrom = from;
    header->idFrom = std::uintptr_t(GetDlgCtrlID(from));
    HWND parent = GetParent(from);
    if (!parent) return 0;
    return SendMessage(parent, WM_NOTIFY, WPARAM(header->idFrom), reinterpret_cast<LPARAM>(header));
}
inline LRESULT SendNotifyCode(HWND from, UINT code) {
    NMHDR header;
    header.code = code;
    return SendNotify(from, &header);
}

// WM_COMMAND to the control's parent: MAKEWPARAM(id, code), lParam the control; the parent's answer.
inline LRESULT SendCommandNotify(HWND from, WORD code) {
    HWND parent = GetParent(from);
    if (!parent || (GetWindowStyle(from) & WS_CHILD) == 0) return 0;
    return SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(from), code), reinterpret_cast<LPARAM>(from));
}

// ---------------------------------------------------------------------------------------------------------
// Custom draw (NM_CUSTOMDRAW): the control asks its parent before and after painting the whole control and
// each item; the answer (CDRF_*) says what to skip and what to report next.
inline constexpr DWORD CDDS_PREPAINT = 0x00000001;
inline constexpr DWORD CDDS_POSTPAINT = 0x00000002;
inline constexpr DWORD CDDS_PREERASE = 0x00000003;
inline constexpr DWORD CDDS_POSTERASE = 0x00000004;
inline constexpr DWORD CDDS_ITEM = 0x00010000;
inline constexpr DWORD CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT;
inline constexpr DWORD CDDS_ITEMPOSTPAINT = CDDS_ITEM | CDDS_POSTPAINT;
inline constexpr DWORD CDDS_ITEMPREERASE = CDDS_ITEM | CDDS_PREERASE;
inline constexpr DWORD CDDS_ITEMPOSTERASE = CDDS_ITEM | CDDS_POSTERASE;
inline constexpr DWORD CDDS_SUBITEM = 0x00020000;

inline constexpr LRESULT CDRF_DODEFAULT = 0x00000000;
inline constexpr LRESULT CDRF_NEWFONT = 0x00000002;
inline constexpr LRESULT CDRF_SKIPDEFAULT = 0x00000004;   // the control draws nothing of this stage
inline constexpr LRESULT CDRF_DOERASE = 0x00000008;
inline constexpr LRESULT CDRF_NOTIFYPOSTPAINT = 0x00000010;
inline constexpr LRESULT CDRF_NOTIFYITEMDRAW = 0x00000020;   // at CDDS_PREPAINT: ask for every item
inline constexpr LRESULT CDRF_NOTIFYSUBITEMDRAW = 0x00000020;
inline constexpr LRESULT CDRF_NOTIFYPOSTERASE = 0x00000040;
inline constexpr LRESULT CDRF_SKIPPOSTPAINT = 0x00000100;

inline constexpr UINT CDIS_SELECTED = 0x0001;
inline constexpr UINT CDIS_GRAYED = 0x0002;
inline constexpr UINT CDIS_DISABLED = 0x0004;
inline constexpr UINT CDIS_CHECKED = 0x0008;
inline constexpr UINT CDIS_FOCUS = 0x0010;
inline constexpr UINT CDIS_DEFAULT = 0x0020;
inline constexpr UINT CDIS_HOT = 0x0040;
inline constexpr UINT CDIS_MARKED = 0x0080;
inline constexpr UINT CDIS_INDETERMINATE = 0x0100;

struct NMCUSTOMDRAW {
    NMHDR hdr;
    DWORD dwDrawStage = 0;   // CDDS_*
    HDC hdc = nullptr;
    RECT rc {};   // the update rectangle (whole stages) or the item's rectangle
    std::uintptr_t dwItemSpec = 0;   // the item (a tool bar's command id)
    UINT uItemState = 0;   // CDIS_*
    LPARAM lItemlParam = 0;   // the item's application data
};

// Item fields the tree and list views ask their parent for (their GETDISPINFO notifications).
inline char* const LPSTR_TEXTCALLBACK = reinterpret_cast<char*>(std::intptr_t(-1));
inline constexpr int I_IMAGECALLBACK = -1;

// ---------------------------------------------------------------------------------------------------------
// Owner drawing (WM_DRAWITEM to the parent; wParam: the control's id).
inline constexpr UINT ODT_MENU = 1;
inline constexpr UINT ODT_LISTBOX = 2;
inline constexpr UINT ODT_COMBOBOX = 3;
inline constexpr UINT ODT_BUTTON = 4;
inline constexpr UINT ODT_STATIC = 5;
inline constexpr UINT ODT_TAB = 101;

inline constexpr UINT ODA_DRAWENTIRE = 0x0001;
inline constexpr UINT ODA_SELECT = 0x0002;
inline constexpr UINT ODA_FOCUS = 0x0004;

inline constexpr UINT ODS_SELECTED = 0x0001;
inline constexpr UINT ODS_GRAYED = 0x0002;
inline constexpr UINT ODS_DISABLED = 0x0004;
inline constexpr UINT ODS_CHECKED = 0x0008;
inline constexpr UINT ODS_FOCUS = 0x0010;
inline constexpr UINT ODS_DEFAULT = 0x0020;
inline constexpr UINT ODS_COMBOBOXEDIT = 0x1000;
inline constexpr UINT ODS_HOTLIGHT = 0x0040;
inline constexpr UINT ODS_INACTIVE = 0x0080;
inline constexpr UINT ODS_NOACCEL = 0x0100;
inline constexpr UINT ODS_NOFOCUSRECT = 0x0200;

struct DRAWITEMSTRUCT {
    UINT CtlType = 0;   // ODT_*
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = 0;   // ODA_*
    UINT itemState = 0;   // ODS_*
    HWND hwndItem = nullptr;
    HDC hDC = nullptr;
    RECT rcItem {};
    std::uintptr_t itemData = 0;
};

// WM_MEASUREITEM (wParam: the control's id): the parent writes the item's height (and width).
struct MEASUREITEMSTRUCT {
    UINT CtlType = 0;   // ODT_*
    UINT CtlID = 0;
    UINT itemID = 0;   // the item; UINT(-1) for a combo box's own face
    UINT itemWidth = 0;
    UINT itemHeight = 0;
    std::uintptr_t itemData = 0;
};

// WM_DELETEITEM (wParam: the control's id): an item of an owner-drawn list (or one with data) goes.
struct DELETEITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    HWND hwndItem = nullptr;
    std::uintptr_t itemData = 0;
};

// WM_COMPAREITEM (wParam: the control's id): the order of two items of a sorted owner-drawn list without
// strings; the answer is -1, 0 or 1.
struct COMPAREITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    HWND hwndItem = nullptr;
    UINT itemID1 = 0;
    std::uintptr_t itemData1 = 0;
    UINT itemID2 = 0;
    std::uintptr_t itemData2 = 0;
};
inline constexpr UINT WM_COMPAREITEM = 0x0039;

// ---------------------------------------------------------------------------------------------------------
// Common control styles (tool bar, status bar) and messages.
inline constexpr DWORD CCS_TOP = 0x00000001;
inline constexpr DWORD CCS_NOMOVEY = 0x00000002;
inline constexpr DWORD CCS_BOTTOM = 0x00000003;
inline constexpr DWORD CCS_NORESIZE = 0x00000004;   // keeps the size given at creation
inline constexpr DWORD CCS_NOPARENTALIGN = 0x00000008;   // no move to the parent's top or bottom
inline constexpr DWORD CCS_ADJUSTABLE = 0x00000020;
inline constexpr DWORD CCS_NODIVIDER = 0x00000040;   // no highlight line along the top
inline constexpr DWORD CCS_VERT = 0x00000080;

inline constexpr UINT CCM_FIRST = 0x2000;
inline constexpr UINT CCM_SETBKCOLOR = CCM_FIRST + 1;   // lParam: COLORREF or CLR_DEFAULT; result: the old
inline constexpr COLORREF CLR_DEFAULT = 0xFF000000;   // "the control's own colour"

// ---------------------------------------------------------------------------------------------------------
// Helpers for the controls' procedures.

// The font a control draws with: the one given by WM_SETFONT, else the stock GUI font.
inline HFONT ControlFont(HFONT font) {
    return font ? font : gdi::GetStockFont(gdi::DEFAULT_GUI_FONT);
}

// A procedure split by message family (mouse, keyboard, items...): each family handler answers the messages of
// its family and gives nullopt for any other. FirstAnswer offers the message to the families in order (each
// called with args) and gives the first answer; nullopt when no family took it. A family may decline a
// message of its own (a key it does not use): the message then goes on as one no family knows.
template <class Family, class... Args>
std::optional<LRESULT> FirstAnswer(std::initializer_list<Family> families, Args&&... args) {
    for (const Family& family : families)
        if (std::optional<LRESULT> answer = std::invoke(family, args...)) return answer;
    return std::nullopt;
}

// The family handler of a control whose procedure works on a State.
template <class State>
using MessageFamily = std::optional<LRESULT> (*)(State& s, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The paint messages of a control that paints everything, background included: WM_PAINT and WM_PRINTCLIENT
// run paint(dc) through PaintInto, WM_ERASEBKGND answers 1 (nothing to erase). nullopt for any other message.
template <class PaintFn>
std::optional<LRESULT> PaintMessage(HWND hwnd, UINT msg, WPARAM wParam, PaintFn&& paint) {
    switch (msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        PaintInto(hwnd, wParam, paint);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return std::nullopt;
    }
}

// The font messages of a control that keeps its font in `font`: WM_SETFONT stores it and runs changed(),
// WM_GETFONT answers it. nullopt for any other message.
template <class ChangedFn>
std::optional<LRESULT> FontMessage(HFONT& font, UINT msg, WPARAM wParam, ChangedFn&& changed) {
    switch (msg) {
    case WM_SETFONT:
        font = reinterpret_cast<HFONT>(wParam);
        changed();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font);
    default:
        return std::nullopt;
    }
}

// A control whose look shows the focus and the enabled state, and that keeps no state of its own for them:
// WM_SETFOCUS, WM_KILLFOCUS and WM_ENABLE repaint it whole. nullopt for any other message.
inline std::optional<LRESULT> FocusLookMessage(HWND hwnd, UINT msg) {
    switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, true);
        return 0;
    default:
        return std::nullopt;
    }
}

// The left-button press and the pointer's moves of a control that tracks them itself: WM_LBUTTONDOWN and
// WM_LBUTTONDBLCLK run down(point), WM_MOUSEMOVE runs move(point). nullopt for any other message.
template <class DownFn, class MoveFn>
std::optional<LRESULT> PressMoveMessage(UINT msg, LPARAM lParam, DownFn&& down, MoveFn&& move) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        down(LParamToPoint(lParam));
        return 0;
    case WM_MOUSEMOVE:
        move(LParamToPoint(lParam));
        return 0;
    default:
        return std::nullopt;
    }
}

// The control's state object kept in the first pointer of the window's extra bytes.
template <class T>
T* ControlData(HWND hwnd) {
    return reinterpret_cast<T*>(GetWindowLongPtr(hwnd, 0));
}
template <class T>
void SetControlData(HWND hwnd, T* data) {
    SetWindowLongPtr(hwnd, 0, reinterpret_cast<LONG_PTR>(data));
}

// The start of every control procedure: WM_NCCREATE makes the state (then Created runs), WM_NCDESTROY frees
// it (after Destroying), and both go on to DefWindowProc. Returns the state for the procedure to handle msg
// with; nullptr when msg was answered here (the answer is in `result`): those two messages, and any message
// that finds no state. Make and Free default to new and delete.
template <class T>
struct ControlStateHooks {
    T* (*Make)() = [] { return new T; };
    void (*Free)(T*) = [](T* s) { delete s; };
    void (*Created)(HWND, T&, const CREATESTRUCT*) = nullptr;
    void (*Destroying)(HWND, T&) = nullptr;
};

template <class T>
T* ControlPrologue(
    HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, ControlStateHooks<T> hooks = {}) {
    T* s = ControlData<T>(hwnd);
    if (msg == WM_NCCREATE) {
        KORVEX_ASSERT(s == nullptr);   // one state a window
        s = hooks.Make();
        SetControlData(hwnd, s);
        if (hooks.Created) hooks.Created(hwnd, *s, reinterpret_cast<const CREATESTRUCT*>(lParam));
        s = nullptr;
    } else if (msg == WM_NCDESTROY && s) {
        if (hooks.Destroying) hooks.Destroying(hwnd, *s);
        SetControlData<T>(hwnd, nullptr);
        hooks.Free(s);
        s = nullptr;
    }
    if (!s) result = DefWindowProc(hwnd, msg, wParam, lParam);
    return s;
}

// A state that the calls using it hold on to (a shared pointer to itself, Keep, dropped at WM_NCDESTROY), so
// it outlives a window destroyed under them.
template <class T>
ControlStateHooks<T> KeptStateHooks() {
    ControlStateHooks<T> hooks;
    hooks.Make = [] {
        auto made = std::make_shared<T>();
        made->Keep = made;
        return made.get();
    };
    hooks.Free = [](T* s) { s->Keep.reset(); };
    return hooks;
}

}
