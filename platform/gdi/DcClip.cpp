// Device context clipping: the clip region in device coordinates and the visibility tests.
#include "platform/gdi/DeviceContext.h"

#include <algorithm>

namespace korvex::gdi {

namespace {

DeviceContext* Dc(HDC dc) {
    return IsValidDC(dc) ? dc : nullptr;
}

// The whole drawable area in device coordinates: what "no clip region" means when one is combined.
BandedRegion DeviceBounds(DeviceContext& dc) {
    const SIZE size = dc.SurfaceSize();
    if (size.cx <= 0 || size.cy <= 0) return BandedRegion();
    const POINT o = dc.Origin();
    return BandedRegion(RECT {-o.x, -o.y, size.cx - o.x, size.cy - o.y});
}

RECT LogicalToDevice(DeviceContext& dc, int left, int top, int right, int bottom) {
    const POINT o = dc.DeviceOffset();
    RECT r {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    OffsetRect(&r, o.x, o.y);
    return r;
}

int SetClip(DeviceContext& dc, BandedRegion clip) {
    dc.MutableState().Clip = std::move(clip);
    dc.ClipChanged();
    return dc.EffectiveClip().Complexity();
}

// The DC clip cut by one rectangle: the effective clip is cut alike rather than computed again.
int NarrowClip(DeviceContext& dc, BandedRegion clip, const RECT& rect, int mode) {
    dc.MutableState().Clip = std::move(clip);
    dc.ClipNarrowed(rect, mode);
    return dc.EffectiveClip().Complexity();
}

}

int SelectClipRgn(HDC dc, HRGN region) {
    return ExtSelectClipRgn(dc, region, RGN_COPY);
}

int ExtSelectClipRgn(HDC dc, HRGN region, int mode) {
    DeviceContext* d = Dc(dc);
    if (!d || mode < RGN_AND || mode > RGN_COPY) return ERROR;
    Region* r = ObjectCast<Region>(region);
    if (!r) {
        if (region || mode != RGN_COPY) return ERROR;
        d->MutableState().Clip.reset();
        d->ClipChanged();
        return d->EffectiveClip().Complexity();
    }
    if (mode == RGN_COPY) return SetClip(*d, r->Shape());
    const BandedRegion current = d->State().Clip ? *d->State().Clip : DeviceBounds(*d);
    return SetClip(*d, BandedRegion::Combine(current, r->Shape(), mode));
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* d = Dc(dc);
    if (!d) return ERROR;
    const RECT device = LogicalToDevice(*d, left, top, right, bottom);
    const BandedRegion rect(device);
    if (!d->State().Clip) return NarrowClip(*d, BandedRegion::Combine(DeviceBounds(*d), rect, RGN_AND), device, RGN_AND);
    return NarrowClip(*d, BandedRegion::Combine(*d->State().Clip, rect, RGN_AND), device, RGN_AND);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* d = Dc(dc);
    if (!d) return ERROR;
    const RECT device = LogicalToDevice(*d, left, top, right, bottom);
    const BandedRegion current = d->State().Clip ? *d->State().Clip : DeviceBounds(*d);
    return NarrowClip(*d, BandedRegion::Combine(current, BandedRegion(device), RGN_DIFF), device, RGN_DIFF);
}

int OffsetClipRgn(HDC dc, int dx, int dy) {
    DeviceContext* d = Dc(dc);
    if (!d) return ERROR;
    if (!d->State().Clip) return d->EffectiveClip().Complexity();
    BandedRegion clip = *d->State().Clip;
    clip.Offset(dx, dy);
    return SetClip(*d, std::move(clip));
}

int GetClipBox(HDC dc, RECT* box) {
    DeviceContext* d = Dc(dc);
    if (!d || !box) return ERROR;
    const BandedRegion& clip = d->EffectiveClip();
    *box = clip.Box();
    if (!clip.IsEmpty()) {
        const POINT o = d->SurfaceOffset();
        OffsetRect(box, -o.x, -o.y);
    }
    return clip.Complexity();
}

int GetClipRgn(HDC dc, HRGN region) {
    DeviceContext* d = Dc(dc);
    Region* r = ObjectCast<Region>(region);
    if (!d || !r) return -1;
    if (!d->State().Clip) return 0;
    r->Shape() = *d->State().Clip;
    return 1;
}

bool RectVisible(HDC dc, const RECT* rect) {
    DeviceContext* d = Dc(dc);
    if (!d || !rect) return false;
    RECT r {std::min(rect->left, rect->right), std::min(rect->top, rect->bottom), std::max(rect->left, rect->right),
        std::max(rect->top, rect->bottom)};
    return d->EffectiveClip().Intersects(d->ToSurface(r));
}

bool PtVisible(HDC dc, int x, int y) {
    DeviceContext* d = Dc(dc);
    if (!d) return false;
    const POINT p = d->ToSurface(x, y);
    return d->EffectiveClip().Contains(p.x, p.y);
}

}
