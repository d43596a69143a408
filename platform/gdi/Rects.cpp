// Pixels, rectangle fills, frames and inversions, region fills and PatBlt.
#include "platform/gdi/Drawing.h"

#include "platform/gdi/Raster.h"
#include "platform/gdi/Recording.h"
#include "platform/gdi/SysColors.h"

#include <utility>

namespace korvex::gdi {

namespace {

bool Usable(const Brush* brush) {
    return IsValidObject(brush) && !brush->IsNull();
}

// The region moved from logical to surface coordinates.
BandedRegion SurfaceRegion(HDC dc, const Region& region) {
    BandedRegion shape = region.Shape();
    const POINT o = dc->SurfaceOffset();
    shape.Offset(o.x, o.y);
    return shape;
}

}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    if (!IsValidDC(dc)) return CLR_INVALID;
    const COLORREF c = PaintColor(color);
    if (!RecordCall(dc, MakeCall(DrawKind::SetPixel, ClampedRect(x, y, int64_t(x) + 1, int64_t(y) + 1)))) return c;
    const RasterTarget target = TargetOf(dc);
    const POINT p = dc->ToSurface(x, y);
    if (!target || !target.Clip->Contains(p.x, p.y)) return CLR_INVALID;
    PlotPixel(target, p.x, p.y, c);
    return c;
}

bool SetPixelV(HDC dc, int x, int y, COLORREF color) {
    return SetPixel(dc, x, y, color) != CLR_INVALID;
}

COLORREF GetPixel(HDC dc, int x, int y) {
    const RasterTarget target = TargetOf(dc);
    if (!target) return CLR_INVALID;
    const POINT p = dc->ToSurface(x, y);
    if (!target.Clip->Contains(p.x, p.y)) return CLR_INVALID;
    return target.Surface->PixelAt(p.x, p.y);
}

bool FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    if (!IsValidDC(dc) || !rect || IsRectEmpty(rect) || !IsValidObject(brush)) return false;
    if (!RecordCall(dc, MakeCall(DrawKind::FillRect, *rect), brush)) return true;
    if (!brush->IsNull()) FillRectRaster(TargetOf(dc), dc->ToSurface(*rect), brush->Color());
    return true;
}

bool FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
    if (!IsValidDC(dc) || !rect || IsRectEmpty(rect) || !IsValidObject(brush)) return false;
    if (!RecordCall(dc, MakeCall(DrawKind::FrameRect, *rect), brush)) return true;
    if (brush->IsNull()) return true;
    const RasterTarget target = TargetOf(dc);
    const RECT r = dc->ToSurface(*rect);
    const COLORREF c = brush->Color();
    FillRectRaster(target, RECT {r.left, r.top, r.right, r.top + 1}, c);
    if (r.bottom - r.top > 1) FillRectRaster(target, RECT {r.left, r.bottom - 1, r.right, r.bottom}, c);
    FillRectRaster(target, RECT {r.left, r.top + 1, r.left + 1, r.bottom - 1}, c);
    if (r.right - r.left > 1) FillRectRaster(target, RECT {r.right - 1, r.top + 1, r.right, r.bottom - 1}, c);
    return true;
}

bool InvertRect(HDC dc, const RECT* rect) {
    if (!IsValidDC(dc) || !rect || IsRectEmpty(rect)) return false;
    if (!RecordCall(dc, MakeCall(DrawKind::InvertRect, *rect))) return true;
    FillRectRaster(TargetOf(dc), dc->ToSurface(*rect), 0, R2_NOT);
    return true;
}

bool FillRgn(HDC dc, HRGN region, HBRUSH brush) {
    Region* r = ObjectCast<Region>(region);
    if (!IsValidDC(dc) || !r || !IsValidObject(brush)) return false;
    if (!RecordCall(dc, MakeCall(DrawKind::FillRgn, r->Shape().Box()), brush)) return true;
    if (Usable(brush)) FillRegionRaster(TargetOf(dc), SurfaceRegion(dc, *r), brush->Color(), R2_COPYPEN);
    return true;
}

bool PaintRgn(HDC dc, HRGN region) {
    if (!IsValidDC(dc)) return false;
    return FillRgn(dc, region, dc->State().Brush);
}

bool InvertRgn(HDC dc, HRGN region) {
    Region* r = ObjectCast<Region>(region);
    if (!IsValidDC(dc) || !r) return false;
    if (!RecordCall(dc, MakeCall(DrawKind::FillRgn, r->Shape().Box()))) return true;
    FillRegionRaster(TargetOf(dc), SurfaceRegion(dc, *r), 0, R2_NOT);
    return true;
}

bool PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
    if (!IsValidDC(dc) || width == 0 || height == 0) return false;
    RECT rect = ClampedRect(x, y, int64_t(x) + width, int64_t(y) + height);
    if (width < 0) std::swap(rect.left, rect.right);
    if (height < 0) std::swap(rect.top, rect.bottom);
    DrawCall call = MakeCall(DrawKind::PatBlt, rect);
    call.Flags = rop;
    if (!RecordCall(dc, std::move(call))) return true;
    const Brush* brush = dc->State().Brush;
    int rop2 = 0;
    switch (rop) {
    case PATCOPY:
        rop2 = R2_COPYPEN;
        break;
    case PATINVERT:
        rop2 = R2_XORPEN;
        break;
    case DSTINVERT:
        rop2 = R2_NOT;
        break;
    case BLACKNESS:
        rop2 = R2_BLACK;
        break;
    case WHITENESS:
        rop2 = R2_WHITE;
        break;
    default:
        return false;
    }
    if ((rop == PATCOPY || rop == PATINVERT) && !Usable(brush)) return true;
    FillRectRaster(TargetOf(dc), dc->ToSurface(rect), brush ? brush->Color() : 0, rop2);
    return true;
}

}
