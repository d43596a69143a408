// Tracking a press on a window scroll bar: arrows and page areas with repeat, the thumb dragged.
#include "platform/user/Input.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/NonClientLayout.h"
#include "platform/user/Timers.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

namespace korvex::user::nc {

namespace {

inline constexpr std::uintptr_t RepeatTimerId = 0x7FFE5C01;   // out of the way of the window's own timers
inline constexpr UINT FirstRepeatMs = 500;
inline constexpr UINT RepeatMs = 100;

class ScrollTracker {
public:
    ScrollTracker(HWND hwnd, int bar, std::shared_ptr<WindowState> state)
        : FWnd(hwnd)
        , FBar(bar)
        , FVertical(bar == SB_VERT)
        , FState(std::move(state)) { }

    void Run(POINT screenPoint) {
        FOrigin = WindowOrigin(FWnd);
        const ScrollGeometry start = Geometry();
        const ScrollPart part = ScrollPartAt(start, Local(screenPoint));
        if (part == ScrollPart::None || !Usable(part)) return;

        LoopScope scope;
        SetCapture(FWnd);
        Track() = ScrollTrackState {part, true, part == ScrollPart::Thumb};
        if (part == ScrollPart::Thumb) {
            Data().TrackPos = Data().Pos;
            FGrab = Along(Local(screenPoint)) - Along(POINT {start.Thumb.left, start.Thumb.top});
        }
        RepaintScrollBand(FWnd, FBar);
        if (part != ScrollPart::Thumb) {
            SetTimer(FWnd, RepeatTimerId, FirstRepeatMs, nullptr);
            Notify(ScrollCodeOf(part), 0);
        }
        FCursor = screenPoint;
        Loop(part);
        Finish(part);
    }

private:
    void Loop(ScrollPart part) {
        bool firstTick = true;
        MSG msg;
        while (NextLoopMessage(FWnd, msg)) {
            if (CallMessageFilter(msg)) continue;
            if (msg.message == WM_TIMER && msg.hwnd == FWnd && msg.wParam == RepeatTimerId) {
                if (firstTick) SetTimer(FWnd, RepeatTimerId, RepeatMs, nullptr);
                firstTick = false;
                Repeat(part);
                continue;
            }
            switch (msg.message) {
            case WM_MOUSEMOVE:
            case WM_NCMOUSEMOVE:
                FCursor = msg.pt;
                Moved(part);
                break;
            case WM_LBUTTONUP:
            case WM_NCLBUTTONUP:
                FCursor = msg.pt;
                Moved(part);
                return;
            default:
                if (IsMouseMessage(msg.message) || IsKeyMessage(msg.message)) break;   // held while tracking
                TranslateMessage(&msg);
                DispatchMessage(&msg);
            }
            if (!IsWindow(FWnd)) return;
        }
    }

    // Arrows repeat while the pointer is on them; a page area while the thumb has not reached the pointer.
    void Repeat(ScrollPart part) {
        if (ScrollPartAt(Geometry(), Local(FCursor)) != part) return;
        Notify(ScrollCodeOf(part), 0);
    }

    void Moved(ScrollPart part) {
        const ScrollGeometry g = Geometry();
        if (part != ScrollPart::Thumb) {
            const bool inside = ScrollPartAt(g, Local(FCursor)) == part;
            if (inside != Track().Inside) {
                Track().Inside = inside;
                RepaintScrollBand(FWnd, FBar);
            }
            return;
        }
        const int thumbStart = Along(Local(FCursor)) - FGrab - (FVertical ? g.Band.top : g.Band.left);
        const int pos = ScrollPosFromThumb(g, Data(), thumbStart);
        if (pos == Data().TrackPos) return;
        Data().TrackPos = pos;
        RepaintScrollBand(FWnd, FBar);
        Notify(SB_THUMBTRACK, pos);
    }

    void Finish(ScrollPart part) {
        if (!IsWindow(FWnd)) return;
        KillTimer(FWnd, RepeatTimerId);
        if (GetCapture() == FWnd) ReleaseCapture();
        const int trackPos = Data().TrackPos;
        Track() = ScrollTrackState {};
        if (part == ScrollPart::Thumb) Notify(SB_THUMBPOSITION, trackPos);
        Notify(SB_ENDSCROLL, 0);
        RepaintScrollBand(FWnd, FBar);
    }

    bool Usable(ScrollPart part) {
        const UINT disabled = Data().Disabled;
        if (disabled == ESB_DISABLE_BOTH) return false;
        if (part == ScrollPart::Arrow1) return !(disabled & ESB_DISABLE_UP);
        if (part == ScrollPart::Arrow2) return !(disabled & ESB_DISABLE_DOWN);
        return Data().Max > Data().Min;
    }

    void Notify(WORD code, int pos) {
        if (IsWindow(FWnd)) SendMessage(FWnd, FVertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, pos), 0);
    }

    ScrollGeometry Geometry() {
        const Layout layout = LayoutOf(FWnd);
        return ComputeScrollGeometry(
            ScrollBandOf(layout, FBar), FVertical, Data(), Track().ThumbTracking ? Data().TrackPos : Data().Pos);
    }

    POINT Local(POINT screen) const { return POINT {screen.x - FOrigin.x, screen.y - FOrigin.y}; }
    int Along(POINT p) const { return FVertical ? p.y : p.x; }
    ScrollBarData& Data() { return FVertical ? FState->Vert : FState->Horz; }
    ScrollTrackState& Track() { return FVertical ? FState->VertTrack : FState->HorzTrack; }

    HWND FWnd;
    int FBar;
    bool FVertical;
    std::shared_ptr<WindowState> FState;
    POINT FOrigin {};
    POINT FCursor {};
    int FGrab = 0;   // pointer offset into the thumb when it was grabbed
};

}

void TrackWindowScrollBar(HWND hwnd, int bar, POINT screenPoint) {
    auto state = StateOf(hwnd);
    if (!state) return;
    ScrollTracker(hwnd, bar, std::move(state)).Run(screenPoint);
}

}
