// The STATIC window class: the text kinds, the etched kinds, filled and framed rectangles, owner drawing.
#include "platform/user/controls/Static.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/CommonControlsPaint.h"
#include "platform/user/controls/ControlsCommon.h"

namespace korvex::user {

namespace {

struct StaticState {
    HFONT Font = nullptr;
    HANDLE Image = nullptr;
    HICON Icon = nullptr;
};

DWORD Kind(DWORD style) {
    return style & SS_TYPEMASK;
}

bool IsTextKind(DWORD kind) {
    return kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT || kind == SS_SIMPLE || kind == SS_LEFTNOWORDWRAP;
}

UINT TextFormat(DWORD style) {
    UINT format = (style & SS_NOPREFIX) ? gdi::DT_NOPREFIX : 0;
    switch (Kind(style)) {
    case SS_CENTER:
        format |= gdi::DT_CENTER | gdi::DT_WORDBREAK;
        break;
    case SS_RIGHT:
        format |= gdi::DT_RIGHT | gdi::DT_WORDBREAK;
        break;
    case SS_SIMPLE:
        format |= gdi::DT_SINGLELINE | gdi::DT_NOCLIP;
        break;
    case SS_LEFTNOWORDWRAP:
        format |= gdi::DT_EXPANDTABS;
        break;
    default:
        format |= gdi::DT_WORDBREAK | gdi::DT_EXPANDTABS;
        break;
    }
    if (style & SS_CENTERIMAGE) {
        format &= ~gdi::DT_WORDBREAK;
        format |= gdi::DT_SINGLELINE | gdi::DT_VCENTER;
    }
    switch (style & SS_ELLIPSISMASK) {
    case SS_ENDELLIPSIS:
        format |= gdi::DT_END_ELLIPSIS;
        break;
    case SS_PATHELLIPSIS:
        format |= gdi::DT_PATH_ELLIPSIS;
        break;
    case SS_WORDELLIPSIS:
        format |= gdi::DT_WORD_ELLIPSIS;
        break;
    default:
        break;
    }
    return format;
}

HBRUSH AskColors(HWND hwnd, HDC dc) {
    HWND parent = GetParent(hwnd);
    auto brush
        = reinterpret_cast<HBRUSH>(parent ? SendMessage(parent, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(hwnd)) : 0);
    if (!brush) brush = reinterpret_cast<HBRUSH>(DefWindowProc(hwnd, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(hwnd)));
    return brush;
}

void PaintText(HWND hwnd, HDC dc, RECT r, DWORD style) {
    HBRUSH brush = AskColors(hwnd, dc);
    if (brush) gdi::FillRect(dc, &r, brush);
    const std::string text = GetWindowText(hwnd);
    if (text.empty()) return;
    UINT format = TextFormat(style);
    // WS_EX_RIGHT aligns left-aligned text to the right; WS_EX_RTLREADING reads it right to left.
    const DWORD exStyle = DWORD(GetWindowLong(hwnd, GWL_EXSTYLE));
    const DWORD kind = Kind(style);
    if ((exStyle & WS_EX_RIGHT) && (kind == SS_LEFT || kind == SS_LEFTNOWORDWRAP)) format |= gdi::DT_RIGHT;
    if (exStyle & WS_EX_RTLREADING) format |= gdi::DT_RTLREADING;
    comctl::DrawLabel(dc, text, r, format, gdi::GetTextColor(dc), IsWindowEnabled(hwnd));
}

void PaintOwnerDrawn(HWND hwnd, HDC dc, RECT r) {
    HWND parent = GetParent(hwnd);
    if (!parent) return;
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_STATIC;
    dis.CtlID = UINT(GetDlgCtrlID(hwnd));
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = IsWindowEnabled(hwnd) ? 0 : ODS_DISABLED;
    dis.hwndItem = hwnd;
    dis.hDC = dc;
    dis.rcItem = r;
    SendMessage(parent, WM_DRAWITEM, WPARAM(dis.CtlID), reinterpret_cast<LPARAM>(&dis));
}

void Paint(HWND hwnd, HDC dc, const StaticState& s) {
    const DWORD style = GetWindowStyle(hwnd);
    gdi::SavedDc saved(dc);
    gdi::SelectObject(dc, ControlFont(s.Font));
    RECT r = ClientRect(hwnd);
    if (style & SS_SUNKEN) gdi::DrawEdge(dc, &r, gdi::BDR_SUNKENOUTER, gdi::BF_RECT | gdi::BF_ADJUST);
    switch (Kind(style)) {
    case SS_BLACKRECT:
        comctl::FillSys(dc, r, gdi::COLOR_3DDKSHADOW);
        break;
    case SS_GRAYRECT:
        comctl::FillSys(dc, r, gdi::COLOR_BTNSHADOW);
        break;
    case SS_WHITERECT:
        comctl::FillSys(dc, r, gdi::COLOR_BTNHIGHLIGHT);
        break;
    case SS_BLACKFRAME:
        gdi::FrameRect(dc, &r, gdi::GetSysColorBrush(gdi::COLOR_3DDKSHADOW));
        break;
    case SS_GRAYFRAME:
        gdi::FrameRect(dc, &r, gdi::GetSysColorBrush(gdi::COLOR_BTNSHADOW));
        break;
    case SS_WHITEFRAME:
        gdi::FrameRect(dc, &r, gdi::GetSysColorBrush(gdi::COLOR_BTNHIGHLIGHT));
        break;
    case SS_ETCHEDHORZ:
        gdi::DrawEdge(dc, &r, gdi::EDGE_ETCHED, gdi::BF_TOP);
        break;
    case SS_ETCHEDVERT:
        gdi::DrawEdge(dc, &r, gdi::EDGE_ETCHED, gdi::BF_LEFT);
        break;
    case SS_ETCHEDFRAME:
        gdi::DrawEdge(dc, &r, gdi::EDGE_ETCHED, gdi::BF_RECT);
        break;
    case SS_OWNERDRAW:
        PaintOwnerDrawn(hwnd, dc, r);
        break;
    default:
        if (IsTextKind(Kind(style)))
            PaintText(hwnd, dc, r, style);
        else if (HBRUSH brush = AskColors(hwnd, dc))
            gdi::FillRect(dc, &r, brush);   // the image kinds: background only
        break;
    }
}

LRESULT StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    auto* s = ControlPrologue<StaticState>(hwnd, msg, wParam, lParam, result);
    if (!s) return result;
    if (const std::optional<LRESULT> painted = PaintMessage(hwnd, msg, wParam, [&](HDC dc) { Paint(hwnd, dc, *s); }))
        return *painted;
    switch (msg) {
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_NCHITTEST:
        if (!(GetWindowStyle(hwnd) & SS_NOTIFY)) return HTTRANSPARENT;
        return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_SETTEXT: {
        LRESULT result = DefWindowProc(hwnd, msg, wParam, lParam);
        InvalidateRect(hwnd, nullptr, false);
        return result;
    }
    case WM_SIZE:
        // Wrapped and aligned text moves with the width.
        InvalidateRect(hwnd, nullptr, false);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, false);
        if (GetWindowStyle(hwnd) & SS_NOTIFY) SendCommandNotify(hwnd, wParam ? STN_ENABLE : STN_DISABLE);
        return 0;
    case WM_SETFONT:
        s->Font = reinterpret_cast<HFONT>(wParam);
        if (lParam) InvalidateRect(hwnd, nullptr, false);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->Font);
    case WM_LBUTTONDOWN:
        if (GetWindowStyle(hwnd) & SS_NOTIFY) SendCommandNotify(hwnd, STN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (GetWindowStyle(hwnd) & SS_NOTIFY) SendCommandNotify(hwnd, STN_DBLCLK);
        return 0;
    case STM_GETICON:
        return reinterpret_cast<LRESULT>(s->Icon);
    case STM_SETICON: {
        HICON old = s->Icon;
        s->Icon = reinterpret_cast<HICON>(wParam);
        InvalidateRect(hwnd, nullptr, false);
        return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETIMAGE:
        return reinterpret_cast<LRESULT>(s->Image);
    case STM_SETIMAGE: {
        HANDLE old = s->Image;
        s->Image = reinterpret_cast<HANDLE>(lParam);
        InvalidateRect(hwnd, nullptr, false);
        return reinterpret_cast<LRESULT>(old);
    }
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

}   // namespace

ATOM RegisterStaticClass() {
    return RegisterControlClass(StaticClassName, StaticProc, CS_DBLCLKS | CS_GLOBALCLASS);
}

}
