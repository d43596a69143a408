// The EDIT class: registration, the window procedure and the window messages both edit classes share.
#include "platform/user/controls/EditEngine.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Input.h"
#include "platform/user/Painting.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/Caret.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/RichEditConstants.h"

#include <algorithm>
#include <cstring>

namespace korvex::user {

namespace edit {

namespace {

inline constexpr std::uintptr_t AutoScrollTimer = 0xFFFF0002;
inline constexpr int WheelLines = 3;

// The engine's hooks in the shared prologue, one set for each class.
template <bool Rich>
ControlStateHooks<EditControl> EditHooks() {
    auto hooks = KeptStateHooks<EditControl>();
    hooks.Created = [](HWND hwnd, EditControl& e, const CREATESTRUCT*) { e.Attach(hwnd, Rich); };
    hooks.Destroying = [](HWND, EditControl& e) { e.Detach(); };
    return hooks;
}

}   // namespace

void EditControl::Attach(HWND hwnd, bool rich) {
    FHwnd = hwnd;
    FRich = rich;
}

void EditControl::Detach() {
    FNoNotify = true;   // a dying window tells its parent nothing more
    if (FFocused) SetFocus(false);
}

LRESULT EditControl::Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
    bool handled = true;
    LRESULT result = Message(msg, wParam, lParam, handled);
    if (handled) return result;
    if (const std::optional<LRESULT> answer
        = FirstAnswer({&EditControl::LifeMessage, &EditControl::WindowTextMessage, &EditControl::PaintLayoutMessage,
                          &EditControl::KeyboardMessage, &EditControl::MouseMessage, &EditControl::ScrollBarMessage,
                          &EditControl::ClipboardMessage},
            this, msg, wParam, lParam))
        return *answer;
    return DefWindowProc(FHwnd, msg, wParam, lParam);
}

// The window's making (its end is the prologue's Detach).
std::optional<LRESULT> EditControl::LifeMessage(UINT msg, WPARAM, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: {
        auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
        ResetFormatRect();
        Relayout();
        if ((Style() & ES_PASSWORD) && !Multi()) FPasswordChar = DefaultPasswordChar;
        FScrollStyle = Style() & (WS_VSCROLL | WS_HSCROLL);
        if (cs && cs->lpszName) SetAllText(Filter(cs->lpszName));
        UpdateScrollBars();
        return 0;
    }
    default:
        return std::nullopt;
    }
}

// The window text and the font.
std::optional<LRESULT> EditControl::WindowTextMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETTEXT: {
        auto* text = reinterpret_cast<const char*>(lParam);
        SetAllText(Filter(text ? text : ""));
        FModified = false;
        ResetScroll();
        Invalidate();
        UpdateScrollBars();
        UpdateCaret();
        // As Windows: a multi-line edit reports no change for WM_SETTEXT.
        if (!Multi() || FRich) {
            Notify(EN_UPDATE);
            if (!Dead()) Notify(EN_CHANGE);
        }
        return 1;
    }
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<char*>(lParam);
        if (!buffer || wParam == 0) return 0;
        std::string text = AllText();
        std::size_t n = std::min(text.size(), std::size_t(wParam) - 1);
        while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
        std::memcpy(buffer, text.data(), n);
        buffer[n] = 0;
        return LRESULT(n);
    }
    case WM_GETTEXTLENGTH: {
        std::size_t bytes = 2 * (FParas.size() - 1);
        for (const Paragraph& p : FParas)
            bytes += p.Text.Bytes;
        return LRESULT(bytes);
    }
    case WM_SETFONT:
        SetFont(reinterpret_cast<HFONT>(wParam), lParam != 0);
        ScrollTo(FTopLine, FXOffset, false);
        UpdateScrollBars();
        if (FFocused) {
            // A caret of the new height.
            CreateCaret(FHwnd, nullptr, 1, LineHeight());
            UpdateCaret();
            ShowCaret(FHwnd);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(FFont);
    default:
        return std::nullopt;
    }
}

// Painting, and the size, style and enabled changes that lay out and repaint.
std::optional<LRESULT> EditControl::PaintLayoutMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        if (wParam == 0) {
            PaintGuard paint(FHwnd);
            if (paint.Dc()) Paint(paint.Dc(), paint.Ps().rcPaint);
            return 0;
        }
        [[fallthrough]];
    case WM_PRINTCLIENT: {
        RECT client {};
        GetClientRect(FHwnd, &client);
        Paint(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;   // the paint fills the background
    case WM_SIZE:
        if (!FUserRect) ResetFormatRect();
        Relayout();
        if (FInScrollUpdate) {
            FSizedInScrollUpdate = true;
            return 0;
        }
        ScrollTo(FTopLine, FXOffset, false);
        UpdateScrollBars();
        UpdateCaret();
        Invalidate();
        return 0;
    case WM_STYLECHANGED:
        if (wParam == WPARAM(GWL_STYLE) && !FInScrollUpdate && lParam)
            FScrollStyle |= reinterpret_cast<const STYLESTRUCT*>(lParam)->styleNew & (WS_VSCROLL | WS_HSCROLL);
        Relayout();
        Invalidate();
        return 0;
    case WM_ENABLE:
        Relayout();
        Invalidate();
        return 0;
    default:
        return std::nullopt;
    }
}

// Focus and the keyboard.
std::optional<LRESULT> EditControl::KeyboardMessage(UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_SETFOCUS:
        SetFocus(true);
        return 0;
    case WM_KILLFOCUS:
        SetFocus(false);
        return 0;
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        if (Multi()) code |= DLGC_WANTALLKEYS;
        return code;
    }
    case WM_KEYDOWN:
        KeyDown(UINT(wParam));
        return 0;
    case WM_CHAR:
        Char(char32_t(wParam));
        return 0;
    default:
        return std::nullopt;
    }
}

// The mouse, with the auto-scroll timer of a drag; other timers go on to DefWindowProc.
std::optional<LRESULT> EditControl::MouseMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseDown(LParamToPoint(lParam), wParam, msg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(LParamToPoint(lParam));
        return 0;
    case WM_LBUTTONUP:
        MouseUp();
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != FHwnd) MouseUp();
        return 0;
    case WM_TIMER:
        if (wParam == AutoScrollTimer) {
            AutoScrollTick();
            return 0;
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

// The scroll bars and the wheel (a single-line edit leaves the wheel to DefWindowProc).
std::optional<LRESULT> EditControl::ScrollBarMessage(UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_VSCROLL:
    case WM_HSCROLL:
        ScrollBarRequest(msg == WM_VSCROLL, LOWORD(wParam), int(HIWORD(wParam)));
        return 0;
    case WM_MOUSEWHEEL: {
        if (!Multi()) return std::nullopt;
        int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        if (notches == 0) return 0;
        Notify(EN_VSCROLL);
        if (!Dead()) ScrollTo(FTopLine - notches * WheelLines, FXOffset, false);
        return 0;
    }
    default:
        return std::nullopt;
    }
}

// The clipboard and undo.
std::optional<LRESULT> EditControl::ClipboardMessage(UINT msg, WPARAM, LPARAM) {
    switch (msg) {
    case WM_COPY:
        Copy();
        return 0;
    case WM_CUT:
        Cut();
        return 0;
    case WM_PASTE:
        Paste();
        return 0;
    case WM_CLEAR:
        Clear();
        return 0;
    case WM_UNDO:
    case EM_UNDO:
        if (!Undo()) return 0;
        ScrollCaret();
        UpdateCaret();
        Changed(false);
        return 1;
    default:
        return std::nullopt;
    }
}

void EditControl::ResetScroll() {
    FTopLine = 0;
    FXOffset = 0;
}

void EditControl::ScrollBarRequest(bool vertical, WORD code, int thumb) {
    if (vertical && !Multi()) return;
    Notify(vertical ? EN_VSCROLL : EN_HSCROLL);
    if (Dead()) return;
    int lh = LineHeight();
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
        // The 16-bit thumb of the message is short for long texts: the bar's own position is exact when it is
        // the same position. A thumb that differs was sent by someone else (a skinned bar over this one).
        SCROLLINFO si;
        si.fMask = code == SB_THUMBTRACK ? SIF_TRACKPOS : SIF_POS;
        if (GetScrollInfo(FHwnd, vertical ? SB_VERT : SB_HORZ, &si)) {
            const int exact = code == SB_THUMBTRACK ? si.nTrackPos : si.nPos;
            if ((exact & 0xFFFF) == thumb) thumb = exact;
        }
    }
    if (vertical) {
        int top = FTopLine;
        int page = std::max(1, VisibleLines() - 1);
        switch (code) {
        case SB_LINEUP:
            top -= 1;
            break;
        case SB_LINEDOWN:
            top += 1;
            break;
        case SB_PAGEUP:
            top -= page;
            break;
        case SB_PAGEDOWN:
            top += page;
            break;
        case SB_TOP:
            top = 0;
            break;
        case SB_BOTTOM:
            top = LineCount();
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            top = FRich ? thumb / lh : thumb;
            break;
        default:
            return;
        }
        ScrollTo(top, FXOffset, false);
        return;
    }
    int x = FXOffset;
    int room = std::max(1, int(FRect.right - FRect.left));
    int step = std::max(1, int(Font(0).Instance ? Font(0).Instance->TextMetrics().tmAveCharWidth : 6));
    switch (code) {
    case SB_LINELEFT:
        x -= step;
        break;
    case SB_LINERIGHT:
        x += step;
        break;
    case SB_PAGELEFT:
        x -= room;
        break;
    case SB_PAGERIGHT:
        x += room;
        break;
    case SB_LEFT:
        x = 0;
        break;
    case SB_RIGHT:
        x = MaxWidth();
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        x = thumb;
        break;
    default:
        return;
    }
    ScrollTo(FTopLine, x, false);
}

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool rich) {
    static const ControlStateHooks<EditControl> plainHooks = EditHooks<false>();
    static const ControlStateHooks<EditControl> richHooks = EditHooks<true>();
    LRESULT result = 0;
    EditControl* e = ControlPrologue(hwnd, msg, wParam, lParam, result, rich ? richHooks : plainHooks);
    if (!e) return result;
    const std::shared_ptr<EditControl> hold = e->Keep;
    return e->Proc(msg, wParam, lParam);
}

}   // namespace edit

namespace {

LRESULT EditWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return edit::EditProc(hwnd, msg, wParam, lParam, false);
}

}   // namespace

bool RegisterEditClass() {
    return RegisterControlClass(WC_EDIT, EditWndProc, CS_DBLCLKS, IDC_IBEAM) != 0;
}

}
