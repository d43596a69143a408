// The modal move and size loops of SC_MOVE and SC_SIZE: the whole window follows the mouse or the arrow keys.
#include "platform/user/Input.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/NonClient.h"
#include "platform/user/NonClientLayout.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <algorithm>

namespace korvex::user::nc {

namespace {

inline constexpr int KeyStep = 8;   // pixels an arrow key moves the pointer

struct Edges {
    bool Left = false;
    bool Right = false;
    bool Top = false;
    bool Bottom = false;
};

Edges EdgesOf(WPARAM edge) {
    Edges e;
    e.Left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
    e.Right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
    e.Top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
    e.Bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
    return e;
}

WPARAM EdgeCode(const Edges& e) {
    if (e.Top) return e.Left ? WMSZ_TOPLEFT : e.Right ? WMSZ_TOPRIGHT : WMSZ_TOP;
    if (e.Bottom) return e.Left ? WMSZ_BOTTOMLEFT : e.Right ? WMSZ_BOTTOMRIGHT : WMSZ_BOTTOM;
    return e.Left ? WMSZ_LEFT : e.Right ? WMSZ_RIGHT : 0;
}

class MoveSizeLoop {
public:
    MoveSizeLoop(HWND hwnd, WPARAM command, POINT start)
        : FWnd(hwnd)
        , FMoving((command & 0xFFF0) == SC_MOVE)
        , FStart(start)
        , FCursor(start) {
        FEdge = FMoving ? 0 : command & 0x0F;
        // A size without an edge in the command comes from the keyboard: the arrow keys pick the edges.
        FPickEdges = !FMoving && (FEdge < WMSZ_LEFT || FEdge > WMSZ_BOTTOMRIGHT);
        if (FPickEdges) FEdge = 0;
        FOriginal = WindowRect(hwnd);
        FCurrent = FOriginal;
        FProposed = FOriginal;
        FLimits = QueryMinMaxInfo(hwnd);
        if (GetWindowStyle(hwnd) & WS_CHILD) FParent = GetAncestor(hwnd, GA_PARENT);
    }

    void Run() {
        LoopScope scope;
        SetCapture(FWnd);
        SendMessage(FWnd, WM_ENTERSIZEMOVE, 0, 0);
        bool cancelled = false;
        bool done = false;
        MSG msg;
        while (!done && NextLoopMessage(FWnd, msg)) {
            if (CallMessageFilter(msg)) continue;
            switch (msg.message) {
            case WM_MOUSEMOVE:
            case WM_NCMOUSEMOVE:
                Follow(msg.pt);
                break;
            case WM_LBUTTONUP:
            case WM_NCLBUTTONUP:
                Follow(msg.pt);
                done = true;
                break;
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
                done = Key(UINT(msg.wParam), cancelled);
                break;
            default:
                if (IsMouseMessage(msg.message) || IsKeyMessage(msg.message)) break;   // swallowed while dragging
                TranslateMessage(&msg);
                DispatchMessage(&msg);
            }
        }
        if (!IsWindow(FWnd)) return;
        if (cancelled && FCurrent != FOriginal) Apply(FOriginal);
        if (GetCapture() == FWnd) ReleaseCapture();
        SendMessage(FWnd, WM_EXITSIZEMOVE, 0, 0);
    }

private:
    // Enter accepts, Escape puts the window back, arrows move the pointer; true ends the loop.
    bool Key(UINT vk, bool& cancelled) {
        switch (vk) {
        case VK_ESCAPE:
            cancelled = true;
            return true;
        case VK_RETURN:
            return true;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (!PickEdge(vk)) Follow(Stepped(vk));
            return false;
        default:
            return false;
        }
    }

    POINT Stepped(UINT vk) const {
        const int dx = vk == VK_LEFT ? -KeyStep : vk == VK_RIGHT ? KeyStep : 0;
        const int dy = vk == VK_UP ? -KeyStep : vk == VK_DOWN ? KeyStep : 0;
        return POINT {FCursor.x + dx, FCursor.y + dy};
    }

    // A keyboard-started size: the first arrow of each direction picks that edge (left or right, top or
    // bottom) and moves nothing; later arrows move the picked edges. False when the arrow is to move.
    bool PickEdge(UINT vk) {
        if (!FPickEdges) return false;
        Edges e = EdgesOf(FEdge);
        const bool horizontal = vk == VK_LEFT || vk == VK_RIGHT;
        if (horizontal ? e.Left || e.Right : e.Top || e.Bottom) return false;
        e.Left = e.Left || vk == VK_LEFT;
        e.Right = e.Right || vk == VK_RIGHT;
        e.Top = e.Top || vk == VK_UP;
        e.Bottom = e.Bottom || vk == VK_DOWN;
        FEdge = EdgeCode(e);
        // The new edge starts from where the pointer is now.
        if (horizontal)
            FStart.x = FCursor.x;
        else
            FStart.y = FCursor.y;
        return true;
    }

    void Follow(POINT cursor) {
        FCursor = cursor;
        const int dx = cursor.x - FStart.x;
        const int dy = cursor.y - FStart.y;
        RECT next = FMoving ? Moved(dx, dy) : Sized(dx, dy);
        if (next == FProposed) return;
        FProposed = next;
        // The window may change the rectangle (screen coordinates) before it is applied.
        SendMessage(FWnd, FMoving ? WM_MOVING : WM_SIZING, FMoving ? 0 : FEdge, reinterpret_cast<LPARAM>(&next));
        if (!IsWindow(FWnd) || next == FCurrent) return;
        Apply(next);
    }

    RECT Moved(int dx, int dy) const {
        RECT r = FOriginal;
        gdi::OffsetRect(&r, dx, dy);
        return r;
    }

    // The dragged edges follow the pointer within the track sizes; the opposite edges stay.
    RECT Sized(int dx, int dy) const {
        const Edges e = EdgesOf(FEdge);
        const RECT& o = FOriginal;
        const LONG minW = FLimits.ptMinTrackSize.x;
        const LONG maxW = FLimits.ptMaxTrackSize.x;
        const LONG minH = FLimits.ptMinTrackSize.y;
        const LONG maxH = FLimits.ptMaxTrackSize.y;
        RECT r = o;
        if (e.Left) r.left = std::clamp(o.left + dx, o.right - maxW, o.right - minW);
        if (e.Right) r.right = std::clamp(o.right + dx, o.left + minW, o.left + maxW);
        if (e.Top) r.top = std::clamp(o.top + dy, o.bottom - maxH, o.bottom - minH);
        if (e.Bottom) r.bottom = std::clamp(o.bottom + dy, o.top + minH, o.top + maxH);
        return r;
    }

    void Apply(const RECT& screenRect) {
        RECT r = screenRect;
        if (FParent) MapWindowRect(nullptr, FParent, &r);
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (r.Width() == FCurrent.Width() && r.Height() == FCurrent.Height()) flags |= SWP_NOSIZE;
        FCurrent = screenRect;
        SetWindowPos(FWnd, nullptr, r.left, r.top, r.Width(), r.Height(), flags);
    }

    HWND FWnd;
    HWND FParent = nullptr;
    bool FMoving;
    bool FPickEdges = false;   // a keyboard-started size, its edges picked by the arrows
    WPARAM FEdge = 0;
    POINT FStart;
    POINT FCursor;
    RECT FOriginal {};
    RECT FCurrent {};
    RECT FProposed {};
    MINMAXINFO FLimits {};
};

}

void RunMoveSizeLoop(HWND hwnd, WPARAM command, LPARAM lParam) {
    if (!IsWindowVisible(hwnd) || IsZoomed(hwnd) || IsIconic(hwnd)) return;
    const bool moving = (command & 0xFFF0) == SC_MOVE;
    if (!moving && !(GetWindowStyle(hwnd) & WS_THICKFRAME)) return;
    // A mouse-started command carries the pointer; a keyboard one starts where the last message was.
    const DWORD messagePos = GetMessagePos();
    const POINT start = lParam ? LParamToPoint(lParam) : LParamToPoint(LPARAM(messagePos));
    MoveSizeLoop(hwnd, command, start).Run();
}

}
