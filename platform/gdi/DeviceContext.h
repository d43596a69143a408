// Device contexts: the drawing target, the selected objects, colours, origins, clipping and saved states.
#pragma once

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Forward.h"
#include "platform/gdi/PenBrush.h"
#include "platform/gdi/Region.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace korvex::gdi {

// Everything SaveDC saves. Selected objects are held (their selection count raised) while referenced.
struct DcState {
    HBITMAP Bitmap = nullptr;
    HPEN Pen = nullptr;
    HBRUSH Brush = nullptr;
    HFONT Font = nullptr;
    COLORREF TextColor = RGB(0, 0, 0);
    COLORREF BkColor = RGB(255, 255, 255);
    int BkMode = OPAQUE;
    int Rop2 = R2_COPYPEN;
    int PolyFillMode = ALTERNATE;
    int StretchMode = BLACKONWHITE;
    UINT TextAlign = TA_LEFT | TA_TOP;
    POINT WindowOrg {};
    POINT ViewportOrg {};
    POINT BrushOrg {};
    POINT CurrentPos {};
    std::optional<BandedRegion> Clip;   // device coordinates; none = not clipped
};

// A memory DC draws into the bitmap selected into it. A surface DC (made by the window layer) draws into a
// surface it does not own, at an origin, limited to a system clip region (the window's visible region);
// bitmaps cannot be selected into it. Coordinates: logical - window origin + viewport origin = device;
// device + DC origin = surface.
class DeviceContext {
public:
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;
    ~DeviceContext();

    static DeviceContext* CreateMemory();
    static DeviceContext* CreateForSurface(Bitmap* surface, POINT origin, const BandedRegion* systemClip);

    bool IsMemoryDC() const { return FMemory; }
    Bitmap* Surface() const;   // nullptr when nothing can be drawn; fetches a lazy surface
    // The surface's size and format without fetching a lazy surface (measuring needs no pixels).
    SIZE SurfaceSize() const;
    PixelFormat SurfaceFormat() const;   // pf32bit when there is no surface
    const DcState& State() const { return FState; }
    DcState& MutableState() { return FState; }   // callers that change Clip must call ClipChanged()

    // Surface DCs: the window layer moves them and changes their visible region.
    POINT Origin() const { return FOrigin; }
    void SetOrigin(POINT origin);
    void SetSurface(Bitmap* surface);
    void SetSystemClip(const BandedRegion* region);   // surface coordinates; nullptr = the whole surface
    // A surface made only when pixels are first drawn or read (the screen DC, whose pixels are a capture):
    // until then the DC has a 32-bit surface of this size. The fetched surface stays the caller's.
    void SetLazySurface(SIZE size, std::function<Bitmap*()> fetch);
    void* Owner() const { return FOwner; }   // the window layer's tag (WindowFromDC)
    void SetOwner(void* owner) { FOwner = owner; }

    // Selection with the reference counting every selected object needs.
    HGDIOBJ Select(HGDIOBJ object);

    int Save();   // new depth
    bool Restore(int level);   // positive: that depth; negative: relative to the top
    int SaveDepth() const { return int(FSaved.size()); }

    void ClipChanged() { FClipValid = false; }
    // The DC clip was cut by a rectangle in device coordinates (RGN_AND or RGN_DIFF): a computed effective
    // clip is cut alike instead of being computed again from the whole clip.
    void ClipNarrowed(const RECT& deviceRect, int mode);
    // The pixels drawing may touch, in surface coordinates: surface ∩ system clip ∩ DC clip.
    const BandedRegion& EffectiveClip();

    // Logical point -> surface point, and the reverse offset.
    POINT ToSurface(int x, int y) const;
    RECT ToSurface(const RECT& rect) const;
    POINT SurfaceOffset() const;   // added to logical coordinates
    POINT DeviceOffset() const;   // logical -> device

    DrawRecorder* Recorder() const { return FRecorder; }
    void SetRecorder(DrawRecorder* recorder) { FRecorder = recorder; }

private:
    DeviceContext() = default;
    void Hold(const DcState& state);
    void EnvironmentChanged();   // surface, origin or system clip: every effective clip computed is stale

    // The effective clip when a state was saved; Generation 0 never matches a computed one.
    struct SavedClip {
        BandedRegion Clip;
        unsigned Generation = 0;
    };
    void Drop(const DcState& state);

    bool FMemory = true;
    mutable Bitmap* FSurface = nullptr;   // surface DCs only
    mutable std::function<Bitmap*()> FFetchSurface;   // a lazy surface not fetched yet
    SIZE FLazySize {};
    POINT FOrigin {};
    std::optional<BandedRegion> FSystemClip;
    void* FOwner = nullptr;
    DcState FState;
    std::vector<DcState> FSaved;
    BandedRegion FEffectiveClip;
    bool FClipValid = false;
    unsigned FClipGeneration = 1;   // bumped by EnvironmentChanged
    std::vector<SavedClip> FSavedClips;   // beside FSaved
    DrawRecorder* FRecorder = nullptr;
};

bool IsValidDC(HDC dc);

// ---------------------------------------------------------------------------------------------------------
// Lifetime (DcLife.cpp). Every call below does nothing and fails for a null or deleted DC.
HDC CreateCompatibleDC(HDC dc);   // a memory DC with the 1x1 default bitmap selected
bool DeleteDC(HDC dc);   // deselects everything; the selected objects stay alive
// A DC that draws into a surface it does not own (window backing stores).
HDC CreateSurfaceDC(Bitmap* surface, POINT origin, const BandedRegion* systemClip);
DWORD GetDCObjectType(HDC dc);   // OBJ_MEMDC or OBJ_DC

// ---------------------------------------------------------------------------------------------------------
// State (DcState.cpp)
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);   // the previous object of that kind; nullptr on failure
HBITMAP SelectObject(HDC dc, HBITMAP bitmap);   // fails for surface DCs and bitmaps selected elsewhere
HPEN SelectObject(HDC dc, HPEN pen);
HBRUSH SelectObject(HDC dc, HBRUSH brush);
HFONT SelectObject(HDC dc, HFONT font);
int SelectObject(HDC dc, HRGN region);   // as SelectClipRgn; the region is copied
HGDIOBJ GetCurrentObject(HDC dc, UINT objectType);   // OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP

COLORREF SetTextColor(HDC dc, COLORREF color);   // previous, CLR_INVALID on failure
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);   // TRANSPARENT or OPAQUE; previous, 0 on failure
int GetBkMode(HDC dc);
int SetROP2(HDC dc, int mode);
int GetROP2(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int SetStretchBltMode(HDC dc, int mode);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);

bool SetWindowOrgEx(HDC dc, int x, int y, POINT* previous);
bool GetWindowOrgEx(HDC dc, POINT* origin);
bool OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* previous);
bool SetViewportOrgEx(HDC dc, int x, int y, POINT* previous);
bool GetViewportOrgEx(HDC dc, POINT* origin);
bool OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* previous);
bool SetBrushOrgEx(HDC dc, int x, int y, POINT* previous);
bool GetDCOrgEx(HDC dc, POINT* origin);
bool LPtoDP(HDC dc, POINT* points, int count);
bool DPtoLP(HDC dc, POINT* points, int count);

// Device capabilities: TECHNOLOGY (DT_RASDISPLAY; DT_METAFILE while a metafile recorder is attached), LOGPIXELSX/Y (96), BITSPIXEL, PLANES, HORZRES, VERTRES
// (the surface's size); 0 for other indexes and bad DCs.
inline constexpr int TECHNOLOGY = 2;
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;
inline constexpr int BITSPIXEL = 12;
inline constexpr int PLANES = 14;
inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;
inline constexpr int DT_PLOTTER = 0;
inline constexpr int DT_RASDISPLAY = 1;
inline constexpr int DT_METAFILE = 5;
int GetDeviceCaps(HDC dc, int index);

int SaveDC(HDC dc);   // the new depth, 0 on failure
bool RestoreDC(HDC dc, int level);   // level > 0: return to that depth; level < 0: pop -level states

// ---------------------------------------------------------------------------------------------------------
// Clipping (DcClip.cpp). Clip regions are in device coordinates; rectangles in logical ones.
// Results are NULLREGION / SIMPLEREGION / COMPLEXREGION, ERROR on failure.
int SelectClipRgn(HDC dc, HRGN region);   // a copy; nullptr removes the clip
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
int GetClipBox(HDC dc, RECT* box);   // logical coordinates; the surface when there is no clip
int GetClipRgn(HDC dc, HRGN region);   // 1 and a copy when clipped, 0 when not, -1 on error
bool RectVisible(HDC dc, const RECT* rect);
bool PtVisible(HDC dc, int x, int y);

}
