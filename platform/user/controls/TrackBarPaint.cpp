// The track bar's painting: the channel, the selection, the ticks and the raised (pointed) thumb.
#include "platform/gdi/Gdi.h"
#include "platform/user/Focus.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControlsPaint.h"
#include "platform/user/controls/TrackBarState.h"

#include <utility>
#include <vector>

namespace korvex::user::trackbar {

namespace {

enum class Tip { None, Down, Up, Right, Left };

void PixelSys(HDC dc, int x, int y, int colorIndex) {
    gdi::SetPixelV(dc, x, y, gdi::GetSysColor(colorIndex));
}

// A raised thumb; with ticks on one side only its end points at them.
void DrawThumb(HDC dc, RECT r, Tip tip, bool pressed) {
    int face = pressed ? gdi::COLOR_3DLIGHT : gdi::COLOR_BTNFACE;
    int width = (tip == Tip::Down || tip == Tip::Up) ? r.right - r.left : r.bottom - r.top;
    int point = tip == Tip::None ? 0 : width / 2 + 1;   // rows of the pointed end
    RECT body = r;
    UINT sides = gdi::BF_RECT;
    switch (tip) {
    case Tip::Down:
        body.bottom -= point;
        sides &= ~gdi::BF_BOTTOM;
        break;
    case Tip::Up:
        body.top += point;
        sides &= ~gdi::BF_TOP;
        break;
    case Tip::Right:
        body.right -= point;
        sides &= ~gdi::BF_RIGHT;
        break;
    case Tip::Left:
        body.left += point;
        sides &= ~gdi::BF_LEFT;
        break;
    case Tip::None:
        break;
    }
    comctl::FillSys(dc, body, face);
    gdi::DrawEdge(dc, &body, gdi::EDGE_RAISED, sides);
    // The pointed end, row by row: each row one pixel shorter at both ends, lit on the upper or left side.
    for (int i = 0; i < point; ++i) {
        int from = i, to = width - 1 - i;
        if (from > to) break;
        for (int k = from; k <= to; ++k) {
            int x = 0, y = 0;
            switch (tip) {
            case Tip::Down:
                x = r.left + k, y = body.bottom + i;
                break;
            case Tip::Up:
                x = r.left + k, y = body.top - 1 - i;
                break;
            case Tip::Right:
                x = body.right + i, y = r.top + k;
                break;
            case Tip::Left:
                x = body.left - 1 - i, y = r.top + k;
                break;
            case Tip::None:
                break;
            }
            int color = k == from ? gdi::COLOR_BTNHIGHLIGHT
                : k == to         ? gdi::COLOR_3DDKSHADOW
                : k == to - 1     ? gdi::COLOR_BTNSHADOW
                                  : face;
            PixelSys(dc, x, y, color);
        }
    }
}

void DrawTick(HDC dc, const Geometry& g, int along, int acrossStart, int length) {
    RECT r = Oriented(g, along, acrossStart, along + 1, acrossStart + length);
    comctl::FillSys(dc, r, gdi::COLOR_BTNTEXT);
}

void DrawTicks(HDC dc, const Geometry& g, const TrackState* s) {
    std::vector<std::pair<int, bool>> ticks;   // pixel, end tick
    ticks.push_back({TickPixel(g, s, Low(s)), true});
    for (int t : s->Tics)
        if (t > Low(s) && t < High(s)) ticks.push_back({TickPixel(g, s, t), false});
    ticks.push_back({TickPixel(g, s, High(s)), true});
    for (auto [pixel, end] : ticks) {
        int length = TrackBarTickLength + (end ? 1 : 0);
        if (g.TicksAfter) DrawTick(dc, g, pixel, g.ThumbAcross + g.ThumbLength + TickGap, length);
        if (g.TicksBefore) DrawTick(dc, g, pixel, g.ThumbAcross - TickGap - length, length);
    }
}

HBRUSH BackgroundBrush(HWND hwnd, HDC dc) {
    HWND parent = GetParent(hwnd);
    LRESULT answer = parent
        ? SendMessage(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd))
        : 0;
    HBRUSH brush = reinterpret_cast<HBRUSH>(answer);
    return brush ? brush : gdi::GetSysColorBrush(gdi::COLOR_BTNFACE);
}

}   // namespace

void Paint(HWND hwnd, HDC dc, TrackState* s) {
    RECT c = ClientRect(hwnd);
    gdi::FillRect(dc, &c, BackgroundBrush(hwnd, dc));
    Geometry g = Layout(hwnd, s);
    DWORD style = GetWindowStyle(hwnd);
    RECT channel = ChannelRect(g);
    gdi::DrawEdge(dc, &channel, gdi::EDGE_SUNKEN, gdi::BF_RECT | gdi::BF_MIDDLE);
    if ((style & TBS_ENABLESELRANGE) && s->SelEnd > s->SelStart) {
        RECT sel = Oriented(g, TickPixel(g, s, s->SelStart), g.ChannelAcross + 1, TickPixel(g, s, s->SelEnd) + 1,
            g.ChannelAcross + ChannelThickness - 1);
        comctl::FillSys(dc, sel, gdi::COLOR_HIGHLIGHT);
    }
    if (g.TicksBefore || g.TicksAfter) DrawTicks(dc, g, s);
    if (!(style & TBS_NOTHUMB)) {
        Tip tip = Tip::None;
        if (g.TicksAfter != g.TicksBefore)
            tip = g.Vertical ? (g.TicksAfter ? Tip::Right : Tip::Left) : (g.TicksAfter ? Tip::Down : Tip::Up);
        DrawThumb(dc, ThumbRect(g, s), tip, s->Tracking == Track::Thumb);
    }
    if (GetFocus() == hwnd) gdi::DrawFocusRect(dc, &c);
}

}
