// The status bar: parts and their texts, the simple mode, alignment at the parent's edge, the size grip.
#include "platform/user/controls/StatusBar.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Input.h"
#include "platform/user/NonClient.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControlsPaint.h"
#include "platform/user/controls/ControlsCommon.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace korvex::user {

namespace {

constexpr int VertBorder = 2;   // above the parts (and the edge below them)
constexpr int PartGap = 2;   // between two parts
constexpr int TextPadding = 3;   // inside a part's border, left and right

struct Part {
    int Right = -1;   // the right edge; -1 reaches the control's right edge
    std::string Text;
    UINT Type = 0;   // SBT_*
    LPARAM Data = 0;   // owner-drawn parts: the parent's value
};

struct StatusState {
    std::vector<Part> Parts {Part {}};
    Part SimplePart;
    bool Simple = false;
    int MinHeight = 0;
    HFONT Font = nullptr;
    COLORREF Back = CLR_DEFAULT;
    bool Placing = false;
};

int BarHeight(HWND hwnd, const StatusState* s) {
    int text = comctl::FontHeight(hwnd, ControlFont(s->Font));
    return std::max(s->MinHeight, text + 3) + 2 * VertBorder;
}

// Moves the bar to the parent's bottom (top with CCS_TOP) across its whole width, at its own height.
void Place(HWND hwnd, StatusState* s) {
    DWORD style = GetWindowStyle(hwnd);
    HWND parent = GetParent(hwnd);
    if ((style & CCS_NORESIZE) || !parent || s->Placing) return;
    RECT pc = ClientRect(parent);
    RECT own = WindowRect(hwnd);
    MapWindowRect(nullptr, parent, &own);
    int height = BarHeight(hwnd, s);
    int x = 0, width = pc.right;
    int y = (style & CCS_BOTTOM) == CCS_TOP ? 0 : pc.bottom - height;
    if (style & CCS_NOPARENTALIGN) {
        x = own.left;
        y = own.top;
        width = own.right - own.left;
    }
    s->Placing = true;
    SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    s->Placing = false;
}

RECT GripRect(HWND hwnd) {
    RECT c = ClientRect(hwnd);
    return RECT {std::max(0, int(c.right) - GetSystemMetrics(SM_CXVSCROLL)), 0, c.right, c.bottom};
}

bool RootCanSize(HWND hwnd) {
    HWND root = GetAncestor(hwnd, GA_ROOT);
    return root && root != hwnd && (GetWindowStyle(root) & WS_THICKFRAME) && !IsZoomed(root) && !IsIconic(root);
}

bool PartRect(HWND hwnd, const StatusState* s, int index, RECT* out) {
    RECT c = ClientRect(hwnd);
    if (s->Simple) {
        *out = RECT {0, VertBorder, c.right, c.bottom};
        return true;
    }
    if (index < 0 || index >= int(s->Parts.size())) return false;
    int left = 0;
    for (int i = 0; i < index; ++i) {
        int right = s->Parts[size_t(i)].Right;
        left = (right < 0 ? c.right : std::min<int>(right, c.right)) + PartGap;
    }
    int right = s->Parts[size_t(index)].Right;
    right = right < 0 ? c.right : std::min<int>(right, c.right);
    *out = RECT {std::min<int>(left, c.right), VertBorder, std::max(std::min<int>(left, c.right), right), c.bottom};
    return true;
}

Part* FindPart(StatusState* s, int index) {
    if (index == int(SB_SIMPLEID)) return &s->SimplePart;
    if (index < 0 || index >= int(s->Parts.size())) return nullptr;
    return &s->Parts[size_t(index)];
}

// ---------------------------------------------------------------------------------------------------------
// Painting

// Tabs split a text into left, centred and right-aligned pieces (unless SBT_NOTABPARSING).
void DrawPartText(HDC dc, const Part& part, RECT r) {
    r.left += TextPadding;
    r.right -= TextPadding;
    static constexpr UINT Align[3] = {gdi::DT_LEFT, gdi::DT_CENTER, gdi::DT_RIGHT};
    UINT base = gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_NOPREFIX;
    COLORREF color = gdi::GetSysColor(gdi::COLOR_BTNTEXT);
    if (part.Type & SBT_NOTABPARSING) {
        comctl::DrawLabel(dc, part.Text, r, base, color);
        return;
    }
    size_t start = 0;
    for (int piece = 0; piece < 3; ++piece) {
        size_t tab = part.Text.find('\t', start);
        bool last = piece == 2 || tab == std::string::npos;
        std::string text = part.Text.substr(start, last ? std::string::npos : tab - start);
        if (!text.empty()) comctl::DrawLabel(dc, text, r, base | Align[piece], color);
        if (last) break;
        start = tab + 1;
    }
}

void DrawPart(HWND hwnd, HDC dc, const Part& part, int index, RECT r) {
    if (r.right <= r.left) return;
    if (!(part.Type & SBT_NOBORDERS)) {
        RECT edge = r;
        gdi::DrawEdge(dc, &edge, (part.Type & SBT_POPOUT) ? gdi::BDR_RAISEDINNER : gdi::BDR_SUNKENOUTER, gdi::BF_RECT);
    }
    RECT inner = r;
    gdi::InflateRect(&inner, -1, -1);
    if (part.Type & SBT_OWNERDRAW) {
        DRAWITEMSTRUCT di;
        di.CtlID = UINT(GetDlgCtrlID(hwnd));
        di.itemID = UINT(index);
        di.itemAction = ODA_DRAWENTIRE;
        di.hwndItem = hwnd;
        di.hDC = dc;
        di.rcItem = inner;
        di.itemData = std::uintptr_t(part.Data);
        gdi::SavedDc saved(dc);
        SendMessage(GetParent(hwnd), WM_DRAWITEM, di.CtlID, reinterpret_cast<LPARAM>(&di));
        return;
    }
    gdi::SavedDc saved(dc);
    gdi::IntersectClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
    DrawPartText(dc, part, inner);
}

void DrawGrip(HDC dc, RECT c) {
    // Three diagonal ridges in the corner: a highlight line above two shadow lines each.
    for (int d : {12, 8, 4}) {
        auto diagonal = [&](int distance, int color) {
            comctl::LineSys(dc, c.right - 1, c.bottom - distance, c.right - 1 - distance, c.bottom, color);
        };
        diagonal(d, gdi::COLOR_BTNHIGHLIGHT);
        diagonal(d - 1, gdi::COLOR_BTNSHADOW);
        diagonal(d - 2, gdi::COLOR_BTNSHADOW);
    }
}

void Paint(HWND hwnd, HDC dc, StatusState* s) {
    RECT c = ClientRect(hwnd);
    comctl::FillColor(dc, c, s->Back == CLR_DEFAULT ? gdi::GetSysColor(gdi::COLOR_BTNFACE) : s->Back);
    comctl::FontScope font(dc, ControlFont(s->Font));
    if (s->Simple) {
        RECT r;
        PartRect(hwnd, s, 0, &r);
        DrawPart(hwnd, dc, s->SimplePart, int(SB_SIMPLEID), r);
    } else {
        for (int i = 0; i < int(s->Parts.size()); ++i) {
            RECT r;
            if (PartRect(hwnd, s, i, &r)) DrawPart(hwnd, dc, s->Parts[size_t(i)], i, r);
        }
    }
    if (GetWindowStyle(hwnd) & SBARS_SIZEGRIP) DrawGrip(dc, c);
}

void InvalidatePart(HWND hwnd, StatusState* s, int index) {
    RECT r;
    if (index != int(SB_SIMPLEID) && PartRect(hwnd, s, index, &r))
        InvalidateRect(hwnd, &r, true);
    else
        InvalidateRect(hwnd, nullptr, true);
}

// ---------------------------------------------------------------------------------------------------------
// Messages

LRESULT SetText(HWND hwnd, StatusState* s, WPARAM wParam, LPARAM lParam) {
    int index = LOBYTE(wParam);
    Part* part = FindPart(s, index);
    if (!part) return 0;
    part->Type = UINT(wParam) & 0xFF00;
    if (part->Type & SBT_OWNERDRAW) {
        part->Text.clear();
        part->Data = lParam;
    } else {
        const char* text = reinterpret_cast<const char*>(lParam);
        part->Text = text ? text : "";
        part->Data = 0;
    }
    if (index == int(SB_SIMPLEID) ? s->Simple : !s->Simple) InvalidatePart(hwnd, s, index);
    return 1;
}

LRESULT GetText(StatusState* s, WPARAM wParam, LPARAM lParam, bool lengthOnly) {
    Part* part = FindPart(s, LOBYTE(wParam));
    if (!part) return 0;
    if (part->Type & SBT_OWNERDRAW) return part->Data;
    if (!lengthOnly && lParam) std::memcpy(reinterpret_cast<char*>(lParam), part->Text.c_str(), part->Text.size() + 1);
    return LRESULT(MAKELONG(WORD(std::min<size_t>(part->Text.size(), 0xFFFF)), WORD(part->Type)));
}

LRESULT SetParts(HWND hwnd, StatusState* s, WPARAM count, LPARAM lParam) {
    const int* edges = reinterpret_cast<const int*>(lParam);
    if (!edges || count == 0 || count > WPARAM(StatusBarMaxParts)) return 0;
    s->Parts.resize(count);
    for (size_t i = 0; i < count; ++i)
        s->Parts[i].Right = edges[i];
    InvalidateRect(hwnd, nullptr, true);
    return 1;
}

LRESULT StatusProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    StatusState* s = ControlPrologue<StatusState>(hwnd, msg, wParam, lParam, result);
    if (!s) return result;
    if (const std::optional<LRESULT> painted = PaintMessage(hwnd, msg, wParam, [&](HDC dc) { Paint(hwnd, dc, s); }))
        return *painted;
    if (const std::optional<LRESULT> font = FontMessage(s->Font, msg, wParam, [&] {
            Place(hwnd, s);
            if (lParam) InvalidateRect(hwnd, nullptr, true);
        }))
        return *font;
    switch (msg) {
    case WM_CREATE:
        if (const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam); cs && cs->lpszName && *cs->lpszName)
            s->Parts[0].Text = cs->lpszName;
        Place(hwnd, s);
        return 0;
    case WM_SIZE:
        Place(hwnd, s);
        InvalidateRect(hwnd, nullptr, true);
        return 0;
    case WM_SETTEXT:
        DefWindowProc(hwnd, msg, wParam, lParam);
        return SetText(hwnd, s, 0, lParam);
    case WM_NCHITTEST: {
        LRESULT hit = DefWindowProc(hwnd, msg, wParam, lParam);
        if (hit != HTCLIENT || !(GetWindowStyle(hwnd) & SBARS_SIZEGRIP) || !RootCanSize(hwnd)) return hit;
        POINT p = LParamToPoint(lParam);
        ScreenToClient(hwnd, &p);
        RECT grip = GripRect(hwnd);
        return gdi::PtInRect(&grip, p) ? HTBOTTOMRIGHT : hit;
    }
    case WM_NCLBUTTONDOWN:
        if (wParam == WPARAM(HTBOTTOMRIGHT) && RootCanSize(hwnd)) {
            SendMessage(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_SIZE + WMSZ_BOTTOMRIGHT, lParam);
            return 0;
        }
        break;
    case SB_SETTEXT:
        return SetText(hwnd, s, wParam, lParam);
    case SB_GETTEXT:
        return GetText(s, wParam, lParam, false);
    case SB_GETTEXTLENGTH:
        return GetText(s, wParam, lParam, true);
    case SB_SETPARTS:
        return SetParts(hwnd, s, wParam, lParam);
    case SB_GETPARTS: {
        int* edges = reinterpret_cast<int*>(lParam);
        for (size_t i = 0; edges && i < std::min<size_t>(wParam, s->Parts.size()); ++i)
            edges[i] = s->Parts[i].Right;
        return LRESULT(s->Parts.size());
    }
    case SB_GETBORDERS:
        if (int* borders = reinterpret_cast<int*>(lParam)) {
            borders[0] = 0;
            borders[1] = VertBorder;
            borders[2] = PartGap;
            return 1;
        }
        return 0;
    case SB_SETMINHEIGHT:
        s->MinHeight = std::max(0, int(std::intptr_t(wParam)));
        return 0;
    case SB_SIMPLE: {
        bool simple = wParam != 0;
        if (simple == s->Simple) return 0;
        s->Simple = simple;
        InvalidateRect(hwnd, nullptr, true);
        SendNotifyCode(hwnd, SBN_SIMPLEMODECHANGE);
        return 0;
    }
    case SB_ISSIMPLE:
        return s->Simple ? 1 : 0;
    case SB_GETRECT: {
        RECT* out = reinterpret_cast<RECT*>(lParam);
        RECT r;
        if (!out || !PartRect(hwnd, s, int(wParam), &r)) return 0;
        *out = r;
        return 1;
    }
    case SB_SETBKCOLOR: {
        COLORREF old = s->Back;
        s->Back = COLORREF(lParam);
        InvalidateRect(hwnd, nullptr, true);
        return LRESULT(old);
    }
    default:
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}   // namespace

bool RegisterStatusBarClass() {
    return RegisterCommonControlClass(
        STATUSCLASSNAME, StatusProc, CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

}
