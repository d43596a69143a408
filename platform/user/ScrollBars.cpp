// Scroll bar data (range, page, position, disabled arrows), the Windows calls on it, geometry and drawing.
#include "platform/user/ScrollBars.h"

#include "platform/gdi/Drawing.h"
#include "platform/user/Messages.h"
#include "platform/user/NonClientLayout.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace korvex::user {

namespace {

DWORD StyleBits(int bar) {
    return bar == SB_VERT ? WS_VSCROLL : bar == SB_HORZ ? WS_HSCROLL : bar == SB_BOTH ? WS_VSCROLL | WS_HSCROLL : 0;
}

bool IsWindowBar(int bar) {
    return bar == SB_HORZ || bar == SB_VERT;
}

ScrollBarData& BarData(nc::WindowState& state, int bar) {
    return bar == SB_VERT ? state.Vert : state.Horz;
}

bool& BarGiven(nc::WindowState& state, int bar) {
    return bar == SB_VERT ? state.HasVert : state.HasHorz;
}

const ScrollTrackState& BarTrack(const nc::WindowState& state, int bar) {
    return bar == SB_VERT ? state.VertTrack : state.HorzTrack;
}

// Adds or removes scroll bar styles; the frame is recomputed when they change.
bool SetBarStyles(HWND hwnd, DWORD bits, bool show) {
    const DWORD style = GetWindowStyle(hwnd);
    const DWORD wanted = show ? style | bits : style & ~bits;
    if (wanted == style) return false;
    SetWindowLongPtr(hwnd, GWL_STYLE, LONG_PTR(wanted));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

std::int64_t MulDivRound(std::int64_t a, std::int64_t b, std::int64_t c) {
    if (c == 0) return 0;
    const std::int64_t product = a * b;
    return (product >= 0 ? product + c / 2 : product - c / 2) / c;
}

void Fill(HDC dc, const RECT& r, int colorIndex) {
    if (!gdi::IsRectEmpty(&r)) gdi::FillRect(dc, &r, GetSysColorBrush(colorIndex));
}

}

// ---------------------------------------------------------------------------------------------------------
// Range rules

bool IsValidScrollInfoSize(UINT cbSize) {
    return cbSize == sizeof(SCROLLINFO) || cbSize == sizeof(SCROLLINFO) - sizeof(int);
}

bool ApplyScrollInfo(ScrollBarData& data, const SCROLLINFO& info) {
    const ScrollBarData before = data;
    if (info.fMask & SIF_PAGE) data.Page = info.nPage;
    if (info.fMask & SIF_RANGE) {
        // An inverted range, or one wider than the positions an int can count, becomes 0..0.
        if (info.nMin > info.nMax || std::int64_t(info.nMax) - info.nMin > INT_MAX) {
            data.Min = data.Max = 0;
        } else {
            data.Min = info.nMin;
            data.Max = info.nMax;
        }
    }
    if (info.fMask & SIF_POS) data.Pos = info.nPos;
    const std::int64_t range = std::int64_t(data.Max) - data.Min + 1;
    if (std::int64_t(data.Page) > range) data.Page = UINT(range);
    data.Pos = std::clamp(data.Pos, data.Min, MaxScrollPos(data));
    return data.Min != before.Min || data.Max != before.Max || data.Page != before.Page;
}

void ReadScrollInfo(const ScrollBarData& data, SCROLLINFO* info) {
    if (info->fMask & SIF_RANGE) {
        info->nMin = data.Min;
        info->nMax = data.Max;
    }
    if (info->fMask & SIF_PAGE) info->nPage = data.Page;
    if (info->fMask & SIF_POS) info->nPos = data.Pos;
    if ((info->fMask & SIF_TRACKPOS) && info->cbSize == sizeof(SCROLLINFO)) info->nTrackPos = data.TrackPos;
}

int MaxScrollPos(const ScrollBarData& data) {
    const std::int64_t top = std::int64_t(data.Max) - std::max<std::int64_t>(std::int64_t(data.Page) - 1, 0);
    return int(std::max<std::int64_t>(top, data.Min));
}

bool ScrollBarNeeded(const ScrollBarData& data) {
    return data.Max > data.Min && std::int64_t(data.Max) - data.Min >= std::int64_t(data.Page);
}

// ---------------------------------------------------------------------------------------------------------
// The Windows calls

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, bool redraw) {
    if (!info || !IsValidScrollInfoSize(info->cbSize)) return 0;
    if (bar == SB_CTL) return int(SendMessage(hwnd, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(info)));
    if (!IsWindowBar(bar)) return 0;
    auto state = nc::StateOf(hwnd);
    if (!state) return 0;
    ScrollBarData& data = BarData(*state, bar);
    BarGiven(*state, bar) = true;
    ApplyScrollInfo(data, *info);
    const int pos = data.Pos;

    bool styleChanged = false;
    if (info->fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL)) {
        if (ScrollBarNeeded(data)) {
            if (data.Disabled == ESB_DISABLE_BOTH) data.Disabled = ESB_ENABLE_BOTH;
            styleChanged = SetBarStyles(hwnd, StyleBits(bar), true);
        } else if (info->fMask & SIF_DISABLENOSCROLL) {
            data.Disabled = ESB_DISABLE_BOTH;
            styleChanged = SetBarStyles(hwnd, StyleBits(bar), true);
        } else {
            styleChanged = SetBarStyles(hwnd, StyleBits(bar), false);
        }
    }
    if (redraw && !styleChanged) nc::RepaintScrollBand(hwnd, bar);
    return pos;
}

bool GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) {
    if (!info || !IsValidScrollInfoSize(info->cbSize)) return false;
    if (bar == SB_CTL) return SendMessage(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)) != 0;
    if (!IsWindowBar(bar) || !IsWindow(hwnd) || !(info->fMask & SIF_ALL)) return false;
    auto state = nc::FindState(hwnd);
    const bool given = state && BarGiven(*state, bar);
    if (!given && !(GetWindowStyle(hwnd) & StyleBits(bar))) return false;
    ScrollBarData data = given ? BarData(*state, bar) : ScrollBarData {};
    if (!state || !BarTrack(*state, bar).ThumbTracking) data.TrackPos = data.Pos;
    ReadScrollInfo(data, info);
    return true;
}

int SetScrollPos(HWND hwnd, int bar, int pos, bool redraw) {
    if (bar == SB_CTL) return int(SendMessage(hwnd, SBM_SETPOS, WPARAM(pos), redraw));
    if (!IsWindowBar(bar) || !IsWindow(hwnd)) return 0;
    const int previous = GetScrollPos(hwnd, bar);
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = pos;
    SetScrollInfo(hwnd, bar, &info, redraw);
    return previous;
}

int GetScrollPos(HWND hwnd, int bar) {
    if (bar == SB_CTL) return int(SendMessage(hwnd, SBM_GETPOS, 0, 0));
    SCROLLINFO info;
    info.fMask = SIF_POS;
    return GetScrollInfo(hwnd, bar, &info) ? info.nPos : 0;
}

bool SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, bool redraw) {
    if (std::int64_t(maxPos) - minPos > INT_MAX) return false;
    if (bar == SB_CTL) {
        SendMessage(hwnd, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, WPARAM(minPos), LPARAM(maxPos));
        return IsWindow(hwnd);
    }
    if (!IsWindowBar(bar) || !IsWindow(hwnd)) return false;
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    info.nMin = minPos;
    info.nMax = maxPos;
    SetScrollInfo(hwnd, bar, &info, redraw);
    return true;
}

bool GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
    if (!minPos || !maxPos) return false;
    *minPos = *maxPos = 0;
    if (bar == SB_CTL) {
        SendMessage(hwnd, SBM_GETRANGE, reinterpret_cast<WPARAM>(minPos), reinterpret_cast<LPARAM>(maxPos));
        return IsWindow(hwnd);
    }
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    if (!GetScrollInfo(hwnd, bar, &info)) return false;
    *minPos = info.nMin;
    *maxPos = info.nMax;
    return true;
}

bool ShowScrollBar(HWND hwnd, int bar, bool show) {
    if (!IsWindow(hwnd)) return false;
    if (bar == SB_CTL) {
        ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
        return true;
    }
    const DWORD bits = StyleBits(bar);
    if (!bits) return false;
    SetBarStyles(hwnd, bits, show);
    return true;
}

bool EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
    if (bar == UINT(SB_CTL)) return SendMessage(hwnd, SBM_ENABLE_ARROWS, arrows, 0) != 0;
    if (bar != UINT(SB_HORZ) && bar != UINT(SB_VERT) && bar != UINT(SB_BOTH)) return false;
    auto state = nc::StateOf(hwnd);
    if (!state) return false;
    arrows &= ESB_DISABLE_BOTH;
    bool changed = false;
    for (int one : {SB_HORZ, SB_VERT}) {
        if (bar != UINT(SB_BOTH) && bar != UINT(one)) continue;
        ScrollBarData& data = BarData(*state, one);
        if (data.Disabled == arrows) continue;
        data.Disabled = arrows;
        changed = true;
        nc::RepaintScrollBand(hwnd, one);
    }
    return changed;
}

// ---------------------------------------------------------------------------------------------------------
// Geometry and drawing

ScrollGeometry ComputeScrollGeometry(const RECT& band, bool vertical, const ScrollBarData& data, int position) {
    ScrollGeometry g;
    g.Vertical = vertical;
    g.Band = band;
    const int start = vertical ? band.top : band.left;
    const int length = std::max<int>(vertical ? band.Height() : band.Width(), 0);
    int arrow = GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
    if (2 * arrow > length) arrow = length / 2;
    g.ArrowSize = arrow;
    auto span = [&](int from, int to) {
        return vertical ? RECT {band.left, start + from, band.right, start + to}
                        : RECT {start + from, band.top, start + to, band.bottom};
    };
    g.Arrow1 = span(0, arrow);
    g.Arrow2 = span(length - arrow, length);

    const int track = length - 2 * arrow;
    const std::int64_t range = std::int64_t(data.Max) - data.Min + 1;
    int thumb = GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
    if (data.Page) thumb = std::max<int>(int(MulDivRound(track, data.Page, range)), MinThumbLength);
    g.HasThumb = data.Disabled != ESB_DISABLE_BOTH && data.Max > data.Min && thumb <= track && track > 0;
    if (!g.HasThumb) {
        g.Page1 = span(arrow, length - arrow);
        return g;
    }
    const int maxPos = MaxScrollPos(data);
    const int pos = std::clamp(position, data.Min, maxPos);
    const std::int64_t positions = std::int64_t(maxPos) - data.Min;
    g.ThumbLength = thumb;
    g.ThumbStart
        = arrow + (positions > 0 ? int(MulDivRound(track - thumb, std::int64_t(pos) - data.Min, positions)) : 0);
    g.Page1 = span(arrow, g.ThumbStart);
    g.Thumb = span(g.ThumbStart, g.ThumbStart + thumb);
    g.Page2 = span(g.ThumbStart + thumb, length - arrow);
    return g;
}

WORD ScrollCodeOf(ScrollPart part) {
    switch (part) {
    case ScrollPart::Arrow1:
        return SB_LINEUP;
    case ScrollPart::Arrow2:
        return SB_LINEDOWN;
    case ScrollPart::Page1:
        return SB_PAGEUP;
    default:
        return SB_PAGEDOWN;
    }
}

ScrollPart ScrollPartAt(const ScrollGeometry& g, POINT point) {
    if (gdi::PtInRect(&g.Arrow1, point)) return ScrollPart::Arrow1;
    if (gdi::PtInRect(&g.Arrow2, point)) return ScrollPart::Arrow2;
    if (g.HasThumb && gdi::PtInRect(&g.Thumb, point)) return ScrollPart::Thumb;
    if (gdi::PtInRect(&g.Page1, point)) return ScrollPart::Page1;
    if (gdi::PtInRect(&g.Page2, point)) return ScrollPart::Page2;
    return ScrollPart::None;
}

int ScrollPosFromThumb(const ScrollGeometry& g, const ScrollBarData& data, int thumbStart) {
    const int length = g.Vertical ? g.Band.Height() : g.Band.Width();
    const int room = length - 2 * g.ArrowSize - g.ThumbLength;
    if (room <= 0) return data.Min;
    const int offset = std::clamp(thumbStart - g.ArrowSize, 0, room);
    const std::int64_t positions = std::int64_t(MaxScrollPos(data)) - data.Min;
    return int(data.Min + MulDivRound(offset, positions, room));
}

void DrawScrollBar(HDC dc, const ScrollGeometry& g, const ScrollBarData& data, const ScrollTrackState& track) {
    auto pushed = [&](ScrollPart part) { return track.Pressed == part && track.Inside; };
    auto arrow = [&](RECT r, UINT kind, ScrollPart part, UINT disabledBit) {
        if (gdi::IsRectEmpty(&r)) return;
        UINT state = kind;
        if (pushed(part)) state |= gdi::DFCS_PUSHED;
        if (data.Disabled & disabledBit) state |= gdi::DFCS_INACTIVE;
        gdi::DrawFrameControl(dc, &r, gdi::DFC_SCROLL, state);
    };
    arrow(g.Arrow1, g.Vertical ? gdi::DFCS_SCROLLUP : gdi::DFCS_SCROLLLEFT, ScrollPart::Arrow1, ESB_DISABLE_UP);
    arrow(g.Arrow2, g.Vertical ? gdi::DFCS_SCROLLDOWN : gdi::DFCS_SCROLLRIGHT, ScrollPart::Arrow2, ESB_DISABLE_DOWN);
    Fill(dc, g.Page1, pushed(ScrollPart::Page1) ? gdi::COLOR_3DDKSHADOW : gdi::COLOR_SCROLLBAR);
    Fill(dc, g.Page2, pushed(ScrollPart::Page2) ? gdi::COLOR_3DDKSHADOW : gdi::COLOR_SCROLLBAR);
    if (g.HasThumb) {
        RECT thumb = g.Thumb;
        gdi::DrawEdge(dc, &thumb, gdi::EDGE_RAISED, gdi::BF_RECT | gdi::BF_MIDDLE);
    }
}

}
