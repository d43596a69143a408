// Device context state: selected objects, colours and modes, origins, SaveDC and RestoreDC.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Recording.h"

#include "platform/gdi/Fonts.h"
#include "platform/gdi/SysColors.h"

namespace korvex::gdi {

namespace {

DeviceContext* Dc(HDC dc) {
    return IsValidDC(dc) ? dc : nullptr;
}

Bitmap* Current(const DcState& s, Bitmap*) {
    return s.Bitmap;
}
Pen* Current(const DcState& s, Pen*) {
    return s.Pen;
}
Brush* Current(const DcState& s, Brush*) {
    return s.Brush;
}
Font* Current(const DcState& s, Font*) {
    return s.Font;
}

// The previous object is read before the swap: deselecting may free it (a pending DeleteObject).
template <class T>
T* SelectTyped(HDC dc, T* object) {
    DeviceContext* d = Dc(dc);
    if (!d || !ObjectCast<T>(object)) return nullptr;
    T* previous = Current(d->State(), static_cast<T*>(nullptr));
    if (!d->Select(object)) return nullptr;
    return previous;
}

}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    DeviceContext* d = Dc(dc);
    if (!d || !IsValidObject(object)) return nullptr;
    if (object->Kind() == ObjectKind::Region) return nullptr;   // use the int-returning overload or SelectClipRgn
    return d->Select(object);
}

HBITMAP SelectObject(HDC dc, HBITMAP bitmap) {
    return SelectTyped(dc, bitmap);
}

HPEN SelectObject(HDC dc, HPEN pen) {
    return SelectTyped(dc, pen);
}

HBRUSH SelectObject(HDC dc, HBRUSH brush) {
    return SelectTyped(dc, brush);
}

HFONT SelectObject(HDC dc, HFONT font) {
    return SelectTyped(dc, font);
}

int SelectObject(HDC dc, HRGN region) {
    return SelectClipRgn(dc, region);
}

HGDIOBJ GetCurrentObject(HDC dc, UINT objectType) {
    DeviceContext* d = Dc(dc);
    if (!d) return nullptr;
    const DcState& s = d->State();
    switch (objectType) {
    case OBJ_PEN:
        return s.Pen;
    case OBJ_BRUSH:
        return s.Brush;
    case OBJ_FONT:
        return s.Font;
    case OBJ_BITMAP:
        return s.Bitmap;
    default:
        return nullptr;
    }
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    DeviceContext* d = Dc(dc);
    if (!d) return CLR_INVALID;
    const COLORREF previous = d->State().TextColor;
    d->MutableState().TextColor = PaintColor(color);
    return previous;
}

COLORREF GetTextColor(HDC dc) {
    DeviceContext* d = Dc(dc);
    return d ? d->State().TextColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
    DeviceContext* d = Dc(dc);
    if (!d) return CLR_INVALID;
    const COLORREF previous = d->State().BkColor;
    d->MutableState().BkColor = PaintColor(color);
    return previous;
}

COLORREF GetBkColor(HDC dc) {
    DeviceContext* d = Dc(dc);
    return d ? d->State().BkColor : CLR_INVALID;
}

int SetBkMode(HDC dc, int mode) {
    DeviceContext* d = Dc(dc);
    if (!d || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    const int previous = d->State().BkMode;
    d->MutableState().BkMode = mode;
    return previous;
}

int GetBkMode(HDC dc) {
    DeviceContext* d = Dc(dc);
    return d ? d->State().BkMode : 0;
}

int SetROP2(HDC dc, int mode) {
    DeviceContext* d = Dc(dc);
    if (!d || mode < R2_BLACK || mode > R2_WHITE) return 0;
    const int previous = d->State().Rop2;
    d->MutableState().Rop2 = mode;
    return previous;
}

int GetROP2(HDC dc) {
    DeviceContext* d = Dc(dc);
    return d ? d->State().Rop2 : 0;
}

int SetPolyFillMode(HDC dc, int mode) {
    DeviceContext* d = Dc(dc);
    if (!d || (mode != ALTERNATE && mode != WINDING)) return 0;
    const int previous = d->State().PolyFillMode;
    d->MutableState().PolyFillMode = mode;
    return previous;
}

int SetStretchBltMode(HDC dc, int mode) {
    DeviceContext* d = Dc(dc);
    if (!d || mode < BLACKONWHITE || mode > HALFTONE) return 0;
    const int previous = d->State().StretchMode;
    d->MutableState().StretchMode = mode;
    return previous;
}

UINT SetTextAlign(HDC dc, UINT align) {
    DeviceContext* d = Dc(dc);
    if (!d) return 0xFFFFFFFF;   // GDI_ERROR
    const UINT previous = d->State().TextAlign;
    d->MutableState().TextAlign = align;
    return previous;
}

UINT GetTextAlign(HDC dc) {
    DeviceContext* d = Dc(dc);
    return d ? d->State().TextAlign : 0xFFFFFFFF;
}

namespace {

bool SetPoint(HDC dc, POINT DcState::*field, int x, int y, POINT* previous, bool relative) {
    DeviceContext* d = Dc(dc);
    if (!d) return false;
    POINT& p = d->MutableState().*field;
    if (previous) *previous = p;
    p = relative ? POINT {p.x + x, p.y + y} : POINT {x, y};
    return true;
}

bool GetPoint(HDC dc, POINT DcState::*field, POINT* out) {
    DeviceContext* d = Dc(dc);
    if (!d || !out) return false;
    *out = d->State().*field;
    return true;
}

}

bool SetWindowOrgEx(HDC dc, int x, int y, POINT* previous) {
    return SetPoint(dc, &DcState::WindowOrg, x, y, previous, false);
}

bool GetWindowOrgEx(HDC dc, POINT* origin) {
    return GetPoint(dc, &DcState::WindowOrg, origin);
}

bool OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* previous) {
    return SetPoint(dc, &DcState::WindowOrg, dx, dy, previous, true);
}

bool SetViewportOrgEx(HDC dc, int x, int y, POINT* previous) {
    return SetPoint(dc, &DcState::ViewportOrg, x, y, previous, false);
}

bool GetViewportOrgEx(HDC dc, POINT* origin) {
    return GetPoint(dc, &DcState::ViewportOrg, origin);
}

bool OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* previous) {
    return SetPoint(dc, &DcState::ViewportOrg, dx, dy, previous, true);
}

bool SetBrushOrgEx(HDC dc, int x, int y, POINT* previous) {
    return SetPoint(dc, &DcState::BrushOrg, x, y, previous, false);
}

bool GetDCOrgEx(HDC dc, POINT* origin) {
    DeviceContext* d = Dc(dc);
    if (!d || !origin) return false;
    *origin = d->Origin();
    return true;
}

bool LPtoDP(HDC dc, POINT* points, int count) {
    DeviceContext* d = Dc(dc);
    if (!d || (count > 0 && !points)) return false;
    const POINT o = d->DeviceOffset();
    for (int i = 0; i < count; ++i) {
        points[i].x += o.x;
        points[i].y += o.y;
    }
    return true;
}

bool DPtoLP(HDC dc, POINT* points, int count) {
    DeviceContext* d = Dc(dc);
    if (!d || (count > 0 && !points)) return false;
    const POINT o = d->DeviceOffset();
    for (int i = 0; i < count; ++i) {
        points[i].x -= o.x;
        points[i].y -= o.y;
    }
    return true;
}

int GetDeviceCaps(HDC dc, int index) {
    DeviceContext* d = Dc(dc);
    if (!d) return 0;
    const SIZE size = d->SurfaceSize();
    switch (index) {
    case TECHNOLOGY:
        return d->Recorder() != nullptr && d->Recorder()->Metafile() ? DT_METAFILE : DT_RASDISPLAY;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return ScreenLogPixels;
    case PLANES:
        return 1;
    case BITSPIXEL:
        return BytesPerPixel(d->SurfaceFormat()) * 8;
    case HORZRES:
        return size.cx;
    case VERTRES:
        return size.cy;
    default:
        return 0;
    }
}

int SaveDC(HDC dc) {
    DeviceContext* d = Dc(dc);
    return d ? d->Save() : 0;
}

bool RestoreDC(HDC dc, int level) {
    DeviceContext* d = Dc(dc);
    return d && d->Restore(level);
}

}
