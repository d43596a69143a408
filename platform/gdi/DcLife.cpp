// Device context lifetime: memory and surface DCs, the live-DC registry, selection bookkeeping.
#include "platform/gdi/DeviceContext.h"

#include "platform/base/Assert.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/StockObjects.h"

#include <mutex>
#include <new>
#include <unordered_set>

namespace korvex::gdi {

namespace {

struct DcRegistry {
    std::mutex Lock;
    std::unordered_set<const DeviceContext*> Live;
};

DcRegistry& Dcs() {
    static DcRegistry* registry = new DcRegistry;
    return *registry;
}

void Register(const DeviceContext* dc) {
    std::lock_guard lock(Dcs().Lock);
    Dcs().Live.insert(dc);
}

void Unregister(const DeviceContext* dc) {
    std::lock_guard lock(Dcs().Lock);
    Dcs().Live.erase(dc);
}

void Hold(HGDIOBJ object) {
    if (object) object->AddSelection();
}

void Drop(HGDIOBJ object) {
    if (object) object->ReleaseSelection();
}

DcState DefaultState(bool memory) {
    DcState state;
    state.Bitmap = memory ? DefaultBitmap() : nullptr;
    state.Pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    state.Brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    state.Font = GetStockFont(SYSTEM_FONT);
    return state;
}

}

bool IsValidDC(HDC dc) {
    if (!dc) return false;
    std::lock_guard lock(Dcs().Lock);
    return Dcs().Live.count(dc) != 0;
}

DeviceContext* DeviceContext::CreateMemory() {
    auto* dc = new (std::nothrow) DeviceContext;
    if (!dc) return nullptr;
    dc->FMemory = true;
    dc->FState = DefaultState(true);
    dc->Hold(dc->FState);
    Register(dc);
    return dc;
}

DeviceContext* DeviceContext::CreateForSurface(Bitmap* surface, POINT origin, const BandedRegion* systemClip) {
    auto* dc = new (std::nothrow) DeviceContext;
    if (!dc) return nullptr;
    dc->FMemory = false;
    dc->FSurface = surface;
    dc->FOrigin = origin;
    if (systemClip) dc->FSystemClip = *systemClip;
    dc->FState = DefaultState(false);
    dc->Hold(dc->FState);
    Register(dc);
    return dc;
}

DeviceContext::~DeviceContext() {
    Unregister(this);
    for (const DcState& state : FSaved)
        Drop(state);
    Drop(FState);
}

void DeviceContext::Hold(const DcState& state) {
    gdi::Hold(state.Bitmap);
    gdi::Hold(state.Pen);
    gdi::Hold(state.Brush);
    gdi::Hold(state.Font);
}

void DeviceContext::Drop(const DcState& state) {
    gdi::Drop(state.Bitmap);
    gdi::Drop(state.Pen);
    gdi::Drop(state.Brush);
    gdi::Drop(state.Font);
}

Bitmap* DeviceContext::Surface() const {
    if (!FMemory) {
        if (FFetchSurface) {
            auto fetch = std::move(FFetchSurface);
            FFetchSurface = nullptr;
            FSurface = fetch();
        }
        return FSurface;
    }
    if (!FState.Bitmap || FState.Bitmap == DefaultBitmap()) return nullptr;
    return FState.Bitmap;
}

SIZE DeviceContext::SurfaceSize() const {
    if (!FMemory && FFetchSurface) return FLazySize;
    const Bitmap* surface = Surface();
    return surface ? SIZE {surface->Width(), surface->Height()} : SIZE {};
}

PixelFormat DeviceContext::SurfaceFormat() const {
    if (!FMemory && FFetchSurface) return PixelFormat::pf32bit;
    const Bitmap* surface = Surface();
    return surface ? surface->Format() : PixelFormat::pf32bit;
}

void DeviceContext::SetLazySurface(SIZE size, std::function<Bitmap*()> fetch) {
    if (FMemory) return;
    FSurface = nullptr;
    FLazySize = size;
    FFetchSurface = std::move(fetch);
    EnvironmentChanged();
}

void DeviceContext::SetOrigin(POINT origin) {
    FOrigin = origin;
    EnvironmentChanged();
}

void DeviceContext::SetSurface(Bitmap* surface) {
    if (FMemory) return;
    FFetchSurface = nullptr;
    FSurface = surface;
    EnvironmentChanged();
}

void DeviceContext::SetSystemClip(const BandedRegion* region) {
    if (region)
        FSystemClip = *region;
    else
        FSystemClip.reset();
    EnvironmentChanged();
}

namespace {

template <class T>
HGDIOBJ Swap(T*& slot, HGDIOBJ object) {
    T* previous = slot;
    Hold(object);
    slot = static_cast<T*>(object);
    Drop(previous);
    return previous;
}

}

HGDIOBJ DeviceContext::Select(HGDIOBJ object) {
    if (!IsValidObject(object)) return nullptr;
    switch (object->Kind()) {
    case ObjectKind::Pen:
        return Swap(FState.Pen, object);
    case ObjectKind::Brush:
        return Swap(FState.Brush, object);
    case ObjectKind::Font:
        return Swap(FState.Font, object);
    case ObjectKind::Bitmap: {
        if (!FMemory) return nullptr;
        if (object == FState.Bitmap) return object;
        // A bitmap lives in one DC at a time (its saved states included).
        if (object->IsSelected() && !object->IsStock()) {
            bool ours = false;
            for (const DcState& state : FSaved)
                ours = ours || state.Bitmap == object;
            if (!ours) return nullptr;
        }
        EnvironmentChanged();
        return Swap(FState.Bitmap, object);
    }
    case ObjectKind::Region:
        return nullptr;
    }
    return nullptr;
}

int DeviceContext::Save() {
    FSaved.push_back(FState);
    Hold(FSaved.back());
    FSavedClips.push_back(FClipValid ? SavedClip {FEffectiveClip, FClipGeneration} : SavedClip {});
    return int(FSaved.size());
}

bool DeviceContext::Restore(int level) {
    const int depth = int(FSaved.size());
    const int target = level > 0 ? level - 1 : depth + level;
    if (level == 0 || target < 0 || target >= depth) return false;
    DcState old = std::move(FState);
    FState = std::move(FSaved[size_t(target)]);   // its holds move with it
    for (int i = target + 1; i < depth; ++i)
        Drop(FSaved[size_t(i)]);
    FSaved.resize(size_t(target));
    Drop(old);
    // The clip computed when that state was saved holds again unless the surface, origin or system clip moved.
    SavedClip& saved = FSavedClips[size_t(target)];
    FClipValid = saved.Generation == FClipGeneration;
    if (FClipValid) FEffectiveClip = std::move(saved.Clip);
    FSavedClips.resize(size_t(target));
    return true;
}

const BandedRegion& DeviceContext::EffectiveClip() {
    if (FClipValid) return FEffectiveClip;
    FClipValid = true;
    const SIZE size = SurfaceSize();
    if (size.cx <= 0 || size.cy <= 0) {
        FEffectiveClip.Clear();
        return FEffectiveClip;
    }
    BandedRegion clip(RECT {0, 0, size.cx, size.cy});
    if (FSystemClip) clip = BandedRegion::Combine(clip, *FSystemClip, RGN_AND);
    if (FState.Clip) {
        BandedRegion dcClip = *FState.Clip;
        dcClip.Offset(FOrigin.x, FOrigin.y);
        clip = BandedRegion::Combine(clip, dcClip, RGN_AND);
    }
    FEffectiveClip = std::move(clip);
    return FEffectiveClip;
}

void DeviceContext::ClipNarrowed(const RECT& deviceRect, int mode) {
    KORVEX_ASSERT(mode == RGN_AND || mode == RGN_DIFF);
    if (!FClipValid) return;
    RECT r = deviceRect;
    OffsetRect(&r, FOrigin.x, FOrigin.y);
    FEffectiveClip = BandedRegion::Combine(FEffectiveClip, BandedRegion(r), mode);
}

void DeviceContext::EnvironmentChanged() {
    FClipValid = false;
    ++FClipGeneration;
}

POINT DeviceContext::DeviceOffset() const {
    return POINT {ClampCoord(int64_t(FState.ViewportOrg.x) - FState.WindowOrg.x),
        ClampCoord(int64_t(FState.ViewportOrg.y) - FState.WindowOrg.y)};
}

POINT DeviceContext::SurfaceOffset() const {
    const POINT d = DeviceOffset();
    return POINT {ClampCoord(int64_t(d.x) + FOrigin.x), ClampCoord(int64_t(d.y) + FOrigin.y)};
}

POINT DeviceContext::ToSurface(int x, int y) const {
    const POINT o = SurfaceOffset();
    return POINT {ClampCoord(int64_t(x) + o.x), ClampCoord(int64_t(y) + o.y)};
}

RECT DeviceContext::ToSurface(const RECT& rect) const {
    const POINT o = SurfaceOffset();
    return RECT {ClampCoord(int64_t(rect.left) + o.x), ClampCoord(int64_t(rect.top) + o.y),
        ClampCoord(int64_t(rect.right) + o.x), ClampCoord(int64_t(rect.bottom) + o.y)};
}

// ---------------------------------------------------------------------------------------------------------

HDC CreateCompatibleDC(HDC) {
    return DeviceContext::CreateMemory();
}

HDC CreateSurfaceDC(Bitmap* surface, POINT origin, const BandedRegion* systemClip) {
    return DeviceContext::CreateForSurface(surface, origin, systemClip);
}

bool DeleteDC(HDC dc) {
    if (!IsValidDC(dc)) return false;
    delete dc;
    return true;
}

DWORD GetDCObjectType(HDC dc) {
    if (!IsValidDC(dc)) return 0;
    return dc->IsMemoryDC() ? OBJ_MEMDC : OBJ_DC;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    PixelFormat format = IsValidDC(dc) ? dc->SurfaceFormat() : PixelFormat::pf32bit;
    return Bitmap::Create(width, height, format);
}

}
