// 3-D edges (DrawEdge), focus rectangles and the scroll and combo frame-control glyphs.
#include "platform/gdi/Drawing.h"

#include "platform/gdi/Raster.h"
#include "platform/gdi/Recording.h"
#include "platform/gdi/SysColors.h"

#include <algorithm>

namespace korvex::gdi {

namespace {

struct EdgeColors {
    COLORREF TopLeft;
    COLORREF BottomRight;
};

// One ring of a 3-D edge. The bottom-right colour owns the bottom-left and top-right corner pixels.
void EdgeRing(const RasterTarget& target, const RECT& r, UINT sides, const EdgeColors& colors) {
    if (IsRectEmpty(&r)) return;
    if (sides & BF_TOP) FillRectRaster(target, RECT {r.left, r.top, r.right - 1, r.top + 1}, colors.TopLeft);
    if (sides & BF_LEFT) FillRectRaster(target, RECT {r.left, r.top, r.left + 1, r.bottom - 1}, colors.TopLeft);
    if (sides & BF_BOTTOM) FillRectRaster(target, RECT {r.left, r.bottom - 1, r.right, r.bottom}, colors.BottomRight);
    if (sides & BF_RIGHT) FillRectRaster(target, RECT {r.right - 1, r.top, r.right, r.bottom}, colors.BottomRight);
}

EdgeColors OuterColors(UINT edge, UINT flags) {
    if (flags & BF_MONO) return {GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME)};
    if (flags & BF_FLAT) return {GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW)};
    if (edge & BDR_RAISEDOUTER) return {GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW)};
    return {GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT)};
}

EdgeColors InnerColors(UINT edge, UINT flags) {
    if (flags & BF_MONO) return {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOW)};
    if (flags & BF_FLAT) return {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE)};
    if (edge & BDR_RAISEDINNER) return {GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW)};
    return {GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT)};
}

void Shrink(RECT& r, UINT sides) {
    if (sides & BF_LEFT) ++r.left;
    if (sides & BF_TOP) ++r.top;
    if (sides & BF_RIGHT) --r.right;
    if (sides & BF_BOTTOM) --r.bottom;
}

// Paints an edge into surface rectangle r and returns what is left inside it.
RECT PaintEdge(const RasterTarget& target, RECT r, UINT edge, UINT flags) {
    const UINT sides = flags & BF_RECT;
    if (edge & BDR_OUTER) {
        EdgeRing(target, r, sides, OuterColors(edge, flags));
        Shrink(r, sides);
    }
    if (edge & BDR_INNER) {
        EdgeRing(target, r, sides, InnerColors(edge, flags));
        Shrink(r, sides);
    }
    if (flags & BF_MIDDLE) FillRectRaster(target, r, GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
    return r;
}

// A solid triangle pointing along `direction` (0 up, 1 down, 2 left, 3 right) centred in r.
void ArrowGlyph(const RasterTarget& target, const RECT& r, int direction, COLORREF color) {
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    const int size = std::min(w, h);
    if (size < 3) return;
    const int n = std::max(1, (size - 4) / 4 + 1);   // the arrow is n + 1 deep and 2n + 1 wide
    const int cx = r.left + (w - 1) / 2;
    const int cy = r.top + (h - 1) / 2;
    for (int i = 0; i <= n; ++i) {
        // Row i from the tip holds 2i + 1 pixels.
        switch (direction) {
        case 0:
            FillSpan(target, cy - n / 2 + i, cx - i, cx + i + 1, color);
            break;
        case 1:
            FillSpan(target, cy + n / 2 - i, cx - i, cx + i + 1, color);
            break;
        case 2:
            FillRectRaster(target, RECT {cx - n / 2 + i, cy - i, cx - n / 2 + i + 1, cy + i + 1}, color);
            break;
        default:
            FillRectRaster(target, RECT {cx + n / 2 - i, cy - i, cx + n / 2 - i + 1, cy + i + 1}, color);
            break;
        }
    }
}

}

bool DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags) {
    if (!IsValidDC(dc) || !rect || IsRectEmpty(rect)) return false;
    DrawCall call = MakeCall(DrawKind::DrawEdge, *rect);
    call.Flags = edge | (flags << 16);
    const bool draw = RecordCall(dc, std::move(call));
    const RECT surface = dc->ToSurface(*rect);
    const RasterTarget target = draw ? TargetOf(dc) : RasterTarget {};
    const RECT rest = PaintEdge(target, surface, edge, flags);
    if (flags & BF_ADJUST) {
        const POINT o = dc->SurfaceOffset();
        *rect = RECT {rest.left - o.x, rest.top - o.y, rest.right - o.x, rest.bottom - o.y};
    }
    return true;
}

bool DrawFocusRect(HDC dc, const RECT* rect) {
    if (!IsValidDC(dc) || !rect || IsRectEmpty(rect)) return false;
    if (!RecordCall(dc, MakeCall(DrawKind::DrawFocusRect, *rect))) return true;
    const RasterTarget target = TargetOf(dc);
    if (!target) return true;
    const POINT o = dc->SurfaceOffset();
    const RECT r = dc->ToSurface(*rect);
    // Every pixel of the ring once (so XOR twice restores), the dots on even logical x + y. Only the part
    // of the ring inside the clip box is walked.
    const RECT& view = target.Clip->Box();
    auto dot = [&](int x, int y) {
        if (((int64_t(x) - o.x + int64_t(y) - o.y) & 1) == 0) PlotPixel(target, x, y, 0, R2_NOT);
    };
    const int x0 = std::max(r.left, view.left);
    const int x1 = std::min(r.right, view.right);
    for (int x = x0; x < x1; ++x) {
        dot(x, r.top);
        if (r.bottom - 1 > r.top) dot(x, r.bottom - 1);
    }
    const int y0 = std::max(r.top + 1, view.top);
    const int y1 = std::min(r.bottom - 1, view.bottom);
    for (int y = y0; y < y1; ++y) {
        dot(r.left, y);
        if (r.right - 1 > r.left) dot(r.right - 1, y);
    }
    return true;
}

bool DrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state) {
    if (!IsValidDC(dc) || !rect || IsRectEmpty(rect) || type != DFC_SCROLL) return false;
    const UINT kind = state & 0xFF;
    int direction = 0;
    switch (kind) {
    case DFCS_SCROLLUP:
        direction = 0;
        break;
    case DFCS_SCROLLDOWN:
    case DFCS_SCROLLCOMBOBOX:
        direction = 1;
        break;
    case DFCS_SCROLLLEFT:
        direction = 2;
        break;
    case DFCS_SCROLLRIGHT:
        direction = 3;
        break;
    default:
        return false;
    }
    DrawCall call = MakeCall(DrawKind::DrawFrameControl, *rect);
    call.Flags = (type << 16) | state;
    if (!RecordCall(dc, std::move(call))) return true;
    const RasterTarget target = TargetOf(dc);
    RECT r = dc->ToSurface(*rect);
    const bool pushed = state & DFCS_PUSHED;
    if (state & DFCS_FLAT)
        r = PaintEdge(target, r, EDGE_RAISED, BF_RECT | BF_FLAT | BF_MIDDLE);
    else if (pushed)
        r = PaintEdge(target, r, BDR_SUNKENOUTER, BF_RECT | BF_FLAT | BF_MIDDLE);
    else
        r = PaintEdge(target, r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    if (pushed) OffsetRect(&r, 1, 1);
    if (state & DFCS_INACTIVE) {
        RECT shadow = r;
        OffsetRect(&shadow, 1, 1);
        ArrowGlyph(target, shadow, direction, GetSysColor(COLOR_BTNHIGHLIGHT));
        ArrowGlyph(target, r, direction, GetSysColor(COLOR_BTNSHADOW));
    } else {
        ArrowGlyph(target, r, direction, GetSysColor(COLOR_BTNTEXT));
    }
    return true;
}

}
