// WM_NCPAINT's default: the plain frame, caption bar, caption buttons, menu bar, edges, scroll bars, size grip.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/SavedDc.h"
#include "platform/gdi/Text.h"
#include "platform/user/Icons.h"
#include "platform/user/NonClient.h"
#include "platform/user/NonClientLayout.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/WindowObject.h"

#include <algorithm>

namespace korvex::user {

namespace {

using namespace gdi;

// A window DC released (and its state restored) on scope exit.
class WindowDc {
public:
    WindowDc(HWND hwnd, HRGN clip)
        : FWnd(hwnd)
        , FDc(clip ? GetDCEx(hwnd, clip, DCX_WINDOW | DCX_INTERSECTRGN) : GetWindowDC(hwnd))
        , FSaved(FDc) { }
    ~WindowDc() {
        FSaved.Restore();   // while the DC is still ours
        if (FDc) ReleaseDC(FWnd, FDc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return FDc; }

private:
    HWND FWnd;
    HDC FDc;
    SavedDc FSaved;
};

void Fill(HDC dc, const RECT& r, int colorIndex) {
    if (!IsRectEmpty(&r)) FillRect(dc, &r, GetSysColorBrush(colorIndex));
}

// Fills a ring dx wide at the sides and dy high at the top and bottom just inside r, and shrinks r by it.
void FillRing(HDC dc, RECT& r, int dx, int dy, int colorIndex) {
    if (dx <= 0 && dy <= 0) return;
    Fill(dc, RECT {r.left, r.top, r.right, r.top + dy}, colorIndex);
    Fill(dc, RECT {r.left, r.bottom - dy, r.right, r.bottom}, colorIndex);
    Fill(dc, RECT {r.left, r.top + dy, r.left + dx, r.bottom - dy}, colorIndex);
    Fill(dc, RECT {r.right - dx, r.top + dy, r.right, r.bottom - dy}, colorIndex);
    InflateRect(&r, -dx, -dy);
}

// Sizing frame: a raised edge, the border colour, one row of face; dialog frame: a raised edge and face.
void PaintFrame(HDC dc, const nc::Layout& l, bool active) {
    RECT r = l.Window;
    const nc::FrameStyle& s = l.Style;
    const int edgeX = GetSystemMetrics(SM_CXEDGE);
    const int edgeY = GetSystemMetrics(SM_CYEDGE);
    const int border = GetSystemMetrics(SM_CXBORDER);
    const int staticX = s.StaticEdge ? border : 0;
    const int staticY = s.StaticEdge ? GetSystemMetrics(SM_CYBORDER) : 0;
    const int frameX = l.FrameSize.cx - staticX;
    const int frameY = l.FrameSize.cy - staticY;
    switch (s.Frame) {
    case nc::FrameKind::Sizing: {
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
        const int ringX = std::max(frameX - edgeX - 1, 0);
        const int ringY = std::max(frameY - edgeY - 1, 0);
        FillRing(dc, r, ringX, ringY, active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER);
        FillRing(dc, r, frameX - edgeX - ringX, frameY - edgeY - ringY, COLOR_3DFACE);
        break;
    }
    case nc::FrameKind::Dialog:
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
        FillRing(dc, r, frameX - edgeX, frameY - edgeY, COLOR_3DFACE);
        break;
    case nc::FrameKind::Thin:
        FillRing(dc, r, frameX, frameY, COLOR_WINDOWFRAME);
        break;
    case nc::FrameKind::None:
        break;
    }
    if (s.StaticEdge) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
}

// The caption's icon: the window's own (WM_SETICON, small then large), else the class's small icon, else its
// large one, else the program's small icon.
HICON CaptionIcon(HWND hwnd) {
    if (const detail::WindowObject* w = detail::FromHandle(hwnd))
        for (HICON icon : {w->SmallIcon, w->BigIcon})
            if (IconPicture(icon) != nullptr) return icon;
    for (int index : {GCL_HICONSM, GCL_HICON})
        if (auto icon = reinterpret_cast<HICON>(GetClassLongPtr(hwnd, index)); IconPicture(icon) != nullptr)
            return icon;
    return ProgramIcon(ICON_SMALL);
}

// Without any icon: a plain window picture, the look of the system's default application icon.
void PaintDefaultIcon(HDC dc, int x, int y, int size) {
    RECT box {x + 1, y + 2, x + size - 1, y + size - 1};
    Fill(dc, box, COLOR_WINDOWFRAME);
    InflateRect(&box, -1, -1);
    Fill(dc, RECT {box.left, box.top, box.right, box.top + 3}, COLOR_ACTIVECAPTION);
    Fill(dc, RECT {box.left, box.top + 3, box.right, box.bottom}, COLOR_WINDOW);
}

void PaintIconOf(HWND hwnd, HDC dc, const RECT& area) {
    const int size = std::min<int>({GetSystemMetrics(SM_CXSMICON), area.Width() - 2, area.Height()});
    if (size < 6) return;
    const int x = area.left + 1 + (area.Width() - 2 - size) / 2;
    const int y = area.top + (area.Height() - size) / 2;
    if (!DrawIconEx(dc, x, y, CaptionIcon(hwnd), size, size, 0, nullptr, DI_NORMAL)) PaintDefaultIcon(dc, x, y, size);
}

LOGFONT CaptionLogFont(bool toolWindow) {
    const NONCLIENTMETRICS metrics = GetNonClientMetrics();
    return toolWindow ? metrics.lfSmCaptionFont : metrics.lfCaptionFont;
}

void PaintCaptionText(HWND hwnd, HDC dc, const nc::Layout& l, bool active) {
    const std::string text = GetWindowText(hwnd);
    if (text.empty()) return;
    RECT r = l.Caption;
    r.left = IsRectEmpty(&l.Icon) ? l.Caption.left + 2 : l.Icon.right + 1;
    for (const RECT* button : {&l.MinButton, &l.HelpButton, &l.CloseButton}) {
        if (!IsRectEmpty(button)) {
            r.right = std::min(r.right, button->left - 2);
        }
    }
    if (IsRectEmpty(&r)) return;
    GdiHandle<Font> font(CreateFontIndirect(CaptionLogFont(l.Style.ToolWindow)));
    const HFONT previous = font ? SelectObject(dc, font.Get()) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    DrawText(dc, text, &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (previous) SelectObject(dc, previous);
}

void PaintCaption(HWND hwnd, HDC dc, const nc::Layout& l, bool active) {
    if (!l.Style.Caption) return;
    Fill(dc, RECT {l.CaptionBand.left, l.Caption.bottom, l.CaptionBand.right, l.CaptionBand.bottom}, COLOR_3DFACE);
    const RECT& c = l.Caption;
    if (IsRectEmpty(&c)) return;
    const COLORREF left = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    const COLORREF right = GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
    bool gradient = false;
    SystemParametersInfo(SPI_GETGRADIENTCAPTIONS, 0, &gradient);
    if (gradient && left != right) {
        auto channel = [](BYTE v) { return COLOR16(v << 8); };
        const TRIVERTEX vertices[2] = {
            {c.left, c.top, channel(GetRValue(left)), channel(GetGValue(left)), channel(GetBValue(left)), 0},
            {c.right, c.bottom, channel(GetRValue(right)), channel(GetGValue(right)), channel(GetBValue(right)), 0},
        };
        const GRADIENT_RECT mesh {0, 1};
        GradientFill(dc, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_H);
    } else {
        Fill(dc, c, active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    }
    if (l.Style.Icon) PaintIconOf(hwnd, dc, l.Icon);
    PaintCaptionText(hwnd, dc, l, active);
    nc::PaintCaptionButtons(hwnd, dc, l);
}

// The grip: diagonal rows of highlight, shadow, shadow and face toward the bottom-right corner.
void PaintSizeGrip(HDC dc, const RECT& box) {
    const int size = std::min(box.Width(), box.Height());
    const COLORREF light = GetSysColor(COLOR_3DHIGHLIGHT);
    const COLORREF dark = GetSysColor(COLOR_3DSHADOW);
    for (int y = box.bottom - size; y < box.bottom; ++y) {
        for (int x = box.right - size; x < box.right; ++x) {
            const int d = (box.right - 1 - x) + (box.bottom - 1 - y);
            if (d < 2 || d >= size - 1) continue;
            const int phase = (d - 2) % 4;
            if (phase == 0)
                SetPixelV(dc, x, y, light);
            else if (phase < 3)
                SetPixelV(dc, x, y, dark);
        }
    }
}

void PaintSizeBox(HWND hwnd, HDC dc, const nc::Layout& l) {
    if (IsRectEmpty(&l.SizeBox)) return;
    Fill(dc, l.SizeBox, COLOR_3DFACE);
    const bool atCorner = l.SizeBox.right + l.FrameSize.cx + 2 >= l.Window.right
        && l.SizeBox.bottom + l.FrameSize.cy + 2 >= l.Window.bottom;
    if (l.Style.Frame == nc::FrameKind::Sizing && !IsZoomed(hwnd) && atCorner) PaintSizeGrip(dc, l.SizeBox);
}

}

namespace {

// The whole frame into dc, whose origin is the window's top-left corner.
void PaintFrameInto(HWND hwnd, HDC dc, const nc::Layout& l) {
    const bool active = IsFrameActive(hwnd);
    ExcludeClipRect(dc, l.Client.left, l.Client.top, l.Client.right, l.Client.bottom);
    PaintFrame(dc, l, active);
    PaintCaption(hwnd, dc, l, active);
    if (!IsRectEmpty(&l.MenuBar)) nc::PaintMenuBarHook(hwnd, dc, l.MenuBar);
    if (l.Style.ClientEdge) {
        RECT edge = l.EdgeBox;
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
    }
    nc::PaintScrollBand(hwnd, dc, l, SB_VERT);
    nc::PaintScrollBand(hwnd, dc, l, SB_HORZ);
    PaintSizeBox(hwnd, dc, l);
}

bool HasFrame(const nc::Layout& l) {
    return l.Client != l.Window;
}

}

void PaintNonClient(HWND hwnd, HRGN clip) {
    if (!IsWindow(hwnd) || !IsWindowVisible(hwnd)) return;
    const nc::Layout l = nc::LayoutOf(hwnd);
    if (!HasFrame(l)) return;   // WM_NCPAINT without a frame is only a repaint trigger
    WindowDc windowDc(hwnd, clip);
    if (windowDc.Get()) PaintFrameInto(hwnd, windowDc.Get(), l);
}

void PrintNonClient(HWND hwnd, HDC dc) {
    if (!IsWindow(hwnd) || !dc) return;
    const nc::Layout l = nc::LayoutOf(hwnd);
    if (!HasFrame(l)) return;
    const int saved = SaveDC(dc);
    if (saved == 0) return;
    PaintFrameInto(hwnd, dc, l);
    RestoreDC(dc, saved);
}

void RedrawCaption(HWND hwnd) {
    if (!IsWindow(hwnd) || !IsWindowVisible(hwnd)) return;
    const nc::Layout l = nc::LayoutOf(hwnd);
    if (!l.Style.Caption) return;
    WindowDc windowDc(hwnd, nullptr);
    if (windowDc.Get()) PaintCaption(hwnd, windowDc.Get(), l, IsFrameActive(hwnd));
}

namespace nc {

void RepaintCaptionButtons(HWND hwnd) {
    if (!IsWindow(hwnd) || !IsWindowVisible(hwnd)) return;
    const Layout l = LayoutOf(hwnd);
    WindowDc windowDc(hwnd, nullptr);
    if (windowDc.Get()) PaintCaptionButtons(hwnd, windowDc.Get(), l);
}

void RepaintScrollBand(HWND hwnd, int bar) {
    if (!IsWindow(hwnd) || !IsWindowVisible(hwnd)) return;
    const Layout l = LayoutOf(hwnd);
    const RECT band = ScrollBandOf(l, bar);
    if (IsRectEmpty(&band)) return;
    WindowDc windowDc(hwnd, nullptr);
    if (windowDc.Get()) PaintScrollBand(hwnd, windowDc.Get(), l, bar);
}

void PaintScrollBand(HWND hwnd, HDC windowDc, const Layout& layout, int bar) {
    const RECT band = ScrollBandOf(layout, bar);
    if (IsRectEmpty(&band)) return;
    auto state = FindState(hwnd);
    const ScrollBarData data = state ? (bar == SB_VERT ? state->Vert : state->Horz) : ScrollBarData {};
    const ScrollTrackState track = state ? (bar == SB_VERT ? state->VertTrack : state->HorzTrack) : ScrollTrackState {};
    const ScrollGeometry geometry
        = ComputeScrollGeometry(band, bar == SB_VERT, data, track.ThumbTracking ? data.TrackPos : data.Pos);
    DrawScrollBar(windowDc, geometry, data, track);
}

}

namespace nc {

void PaintCaptionIcon(HWND hwnd, HDC dc, const RECT& area) {
    PaintIconOf(hwnd, dc, area);
}

}

}
