// Window DCs: DCs that draw into the backing store clipped to the visible region, and their upkeep.
#include "platform/user/Painting.h"

#include "platform/base/Assert.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/user/Screen.h"
#include "platform/user/WindowObject.h"

#include <algorithm>
#include <map>
#include <optional>

namespace korvex::user {

using detail::FromHandle;
using detail::WindowObject;

namespace {

struct OpenDc {
    HWND Hwnd = nullptr;
    detail::DcArea Area = detail::DcArea::Client;
    DWORD Flags = 0;
    std::optional<gdi::BandedRegion> Intersect;   // window coordinates
    std::optional<gdi::BandedRegion> Exclude;
    bool Dead = false;
    bool Paint = false;   // made by BeginPaint
    gdi::Bitmap* Capture = nullptr;   // screen DCs: the picture of the screen they read from, once taken (owned)
    gdi::Bitmap* Shown = nullptr;     // screen DCs: the capture as the screen last showed it (owned)
};

std::map<HDC, OpenDc>& OpenDcs() {
    static std::map<HDC, OpenDc> dcs;
    return dcs;
}

// Where dead DCs draw: nowhere.
gdi::Bitmap* Nowhere() {
    static gdi::Bitmap* bitmap = [] {
        gdi::Bitmap* b = gdi::Bitmap::Create(1, 1, gdi::PixelFormat::pf32bit);
        b->MarkStock();
        return b;
    }();
    return bitmap;
}

POINT DcOrigin(const WindowObject* w, detail::DcArea area) {
    POINT o = detail::StoreOffset(w);
    if (area == detail::DcArea::Client) {
        o.x += w->Client.left - w->Rect.left;
        o.y += w->Client.top - w->Rect.top;
    }
    return o;
}

gdi::BandedRegion ClipFor(WindowObject* w, const OpenDc& info) {
    POINT o = detail::StoreOffset(w);
    gdi::BandedRegion region;
    if (info.Intersect) {
        // Only the part under the intersection is kept: the windows beside it are not cut out of the rest.
        gdi::BandedRegion r = *info.Intersect;
        r.Offset(o.x, o.y);
        const RECT box = r.Box();
        region = gdi::BandedRegion::Combine(detail::VisibleRegion(w, info.Area, info.Flags, &box), r, gdi::RGN_AND);
    } else {
        region = detail::VisibleRegion(w, info.Area, info.Flags);
    }
    if (info.Exclude) {
        gdi::BandedRegion r = *info.Exclude;
        r.Offset(o.x, o.y);
        region = gdi::BandedRegion::Combine(region, r, gdi::RGN_DIFF);
    }
    return region;
}

void Kill(HDC dc, OpenDc& info) {
    static const gdi::BandedRegion empty;
    info.Dead = true;
    dc->SetSurface(Nowhere());
    dc->SetSystemClip(&empty);
}

DWORD StyleFlags(const WindowObject* w) {
    DWORD flags = 0;
    if (w->Style & WS_CLIPCHILDREN) flags |= DCX_CLIPCHILDREN;
    if (w->Style & WS_CLIPSIBLINGS) flags |= DCX_CLIPSIBLINGS;
    return flags;
}

// The picture of the screen a screen DC reads from, taken when its pixels are first read or drawn.
gdi::Bitmap* CaptureForScreenDc(HDC dc, gdi::SIZE size) {
    auto it = OpenDcs().find(dc);
    if (it == OpenDcs().end()) return nullptr;
    detail::PresentAll();   // the capture shows the latest pictures
    Display* display = CurrentDisplay();
    gdi::Bitmap* capture = display ? display->CaptureScreen(RECT {0, 0, size.cx, size.cy}) : nullptr;
    if (!capture) capture = gdi::Bitmap::Create(size.cx, size.cy, gdi::PixelFormat::pf32bit);
    it->second.Capture = capture;
    it->second.Shown = capture ? capture->Clone() : nullptr;
    return capture;
}

// What was drawn into a screen DC since it was last shown goes to the screen, as the XOR of the two pictures.
void ShowScreenDrawing(OpenDc& info) {
    if (!info.Capture || !info.Shown) return;
    gdi::Bitmap& now = *info.Capture;
    gdi::Bitmap& shown = *info.Shown;
    const int width = std::min(now.Width(), shown.Width()), height = std::min(now.Height(), shown.Height());
    RECT changed {width, height, 0, 0};
    for (int y = 0; y < height; ++y) {
        const gdi::BYTE* a = now.ScanLine(y);
        const gdi::BYTE* b = shown.ScanLine(y);
        for (int x = 0; x < width; ++x)
            if (a[x * 4] != b[x * 4] || a[x * 4 + 1] != b[x * 4 + 1] || a[x * 4 + 2] != b[x * 4 + 2]) {
                changed.left = std::min<int>(changed.left, x);
                changed.right = std::max<int>(changed.right, x + 1);
                changed.top = std::min<int>(changed.top, y);
                changed.bottom = y + 1;
            }
    }
    if (changed.left >= changed.right) return;
    gdi::Bitmap* mask = gdi::Bitmap::Create(changed.Width(), changed.Height(), gdi::PixelFormat::pf32bit);
    if (!mask) return;
    for (int y = changed.top; y < changed.bottom; ++y) {
        const gdi::BYTE* a = now.ScanLine(y) + size_t(changed.left) * 4;
        gdi::BYTE* b = shown.ScanLine(y) + size_t(changed.left) * 4;
        gdi::BYTE* m = mask->ScanLine(y - changed.top);
        for (int i = 0; i < changed.Width() * 4; ++i) {
            m[i] = (i % 4 == 3) ? 0 : gdi::BYTE(a[i] ^ b[i]);
            b[i] = a[i];
        }
    }
    if (Display* display = CurrentDisplay()) display->XorScreen(*mask, changed);
    gdi::DeleteObject(mask);
}

// A DC of the whole screen: it reads what the screen shows, and what is drawn into it shows over every window.
// Measuring text and selecting fonts need no pixels, so the screen is captured only when pixels are read or drawn.
HDC ScreenDc() {
    Display* display = CurrentDisplay();
    if (!display) return nullptr;
    gdi::SIZE size = display->ScreenSize();
    HDC dc = gdi::CreateSurfaceDC(nullptr, POINT {}, nullptr);
    if (!dc) return nullptr;
    OpenDc info;
    info.Dead = true;
    OpenDcs()[dc] = std::move(info);
    dc->SetLazySurface(size, [dc, size] { return CaptureForScreenDc(dc, size); });
    return dc;
}

}   // namespace

namespace detail {

HDC MakeWindowDc(WindowObject* w, DcArea area, DWORD dcxFlags, const gdi::BandedRegion* intersect,
    const gdi::BandedRegion* exclude) {
    WindowObject* top = TopLevelOf(w);
    OpenDc info;
    info.Hwnd = w->Handle;
    info.Area = area;
    info.Flags = dcxFlags | StyleFlags(w);
    POINT o = StoreOffset(w);
    if (intersect) {
        info.Intersect = *intersect;
        info.Intersect->Offset(-o.x, -o.y);
    }
    if (exclude) {
        info.Exclude = *exclude;
        info.Exclude->Offset(-o.x, -o.y);
    }
    HDC dc = nullptr;
    if (top && top->Top && top->Parent->IsDesktop) {
        EnsureStore(top);
        gdi::BandedRegion clip = ClipFor(w, info);
        dc = gdi::CreateSurfaceDC(top->Top->Store.get(), DcOrigin(w, area), &clip);
    }
    if (!dc) {
        gdi::BandedRegion empty;
        dc = gdi::CreateSurfaceDC(Nowhere(), POINT {}, &empty);
        if (!dc) return nullptr;
        info.Dead = true;
    }
    dc->SetOwner(w->Handle);
    OpenDcs()[dc] = std::move(info);
    return dc;
}

void RefreshOpenDcs() {
    for (auto& [dc, info] : OpenDcs()) {
        if (info.Dead) continue;
        WindowObject* w = FromHandle(info.Hwnd);
        WindowObject* top = w ? TopLevelOf(w) : nullptr;
        if (!w || !top || !top->Top || !top->Top->Store) {
            Kill(dc, info);
            continue;
        }
        dc->SetSurface(top->Top->Store.get());
        dc->SetOrigin(DcOrigin(w, info.Area));
        gdi::BandedRegion clip = ClipFor(w, info);
        dc->SetSystemClip(&clip);
    }
}

void MarkOpenDcsDirty() {
    for (auto& [dc, info] : OpenDcs()) {
        if (info.Dead) continue;
        if (WindowObject* w = FromHandle(info.Hwnd)) MarkDirty(TopLevelOf(w), dc->EffectiveClip());
    }
}

void ShowScreenDcs() {
    for (auto& [dc, info] : OpenDcs()) ShowScreenDrawing(info);
}

void MarkPaintDc(HDC dc) {
    auto it = OpenDcs().find(dc);
    if (it != OpenDcs().end()) it->second.Paint = true;
}

bool IsPaintDcOf(HDC dc, HWND hwnd) {
    auto it = OpenDcs().find(dc);
    return it != OpenDcs().end() && it->second.Paint && it->second.Hwnd == hwnd;
}

void ReleaseDcsOf(WindowObject* w) {
    for (auto& [dc, info] : OpenDcs()) {
        if (info.Dead) continue;
        WindowObject* owner = FromHandle(info.Hwnd);
        if (!owner || IsDescendant(w, owner)) Kill(dc, info);
    }
}

}   // namespace detail

HDC GetDC(HWND hwnd) {
    WindowObject* w = hwnd ? FromHandle(hwnd) : detail::Desktop();
    if (!w) return nullptr;
    if (w->IsDesktop) return ScreenDc();
    return detail::MakeWindowDc(w, detail::DcArea::Client, 0, nullptr, nullptr);
}

HDC GetWindowDC(HWND hwnd) {
    WindowObject* w = hwnd ? FromHandle(hwnd) : detail::Desktop();
    if (!w) return nullptr;
    if (w->IsDesktop) return ScreenDc();
    return detail::MakeWindowDc(w, detail::DcArea::Window, 0, nullptr, nullptr);
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
    WindowObject* w = hwnd ? FromHandle(hwnd) : detail::Desktop();
    if (!w) return nullptr;
    if (w->IsDesktop) return ScreenDc();
    auto area = (flags & DCX_WINDOW) ? detail::DcArea::Window : detail::DcArea::Client;
    std::optional<gdi::BandedRegion> region;
    if ((flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)) && clip != reinterpret_cast<HRGN>(std::intptr_t(1))) {
        gdi::Region* r = gdi::ObjectCast<gdi::Region>(clip);
        if (r) {
            // Screen coordinates to store coordinates.
            region = r->Shape();
            WindowObject* top = detail::TopLevelOf(w);
            POINT o = top ? detail::WindowOrigin(top) : POINT {};
            region->Offset(-o.x, -o.y);
        } else if (flags & DCX_INTERSECTRGN) {
            region = gdi::BandedRegion();
        }
    }
    std::optional<gdi::BandedRegion> update;
    if (flags & DCX_INTERSECTUPDATE) {
        update = w->Update;
        POINT o = detail::StoreOffset(w);
        update->Offset(o.x + w->Client.left - w->Rect.left, o.y + w->Client.top - w->Rect.top);
    }
    gdi::BandedRegion intersect;
    const gdi::BandedRegion* in = nullptr;
    if ((flags & DCX_INTERSECTRGN) && region) {
        intersect = *region;
        in = &intersect;
    }
    if (update) {
        intersect = in ? gdi::BandedRegion::Combine(intersect, *update, gdi::RGN_AND) : *update;
        in = &intersect;
    }
    const gdi::BandedRegion* out = (flags & DCX_EXCLUDERGN) && region ? &*region : nullptr;
    HDC dc = detail::MakeWindowDc(w, area, flags, in, out);
    if (dc && (flags & DCX_VALIDATE) && (flags & DCX_INTERSECTUPDATE)) ValidateRgn(hwnd, nullptr);
    return dc;
}

int ReleaseDC(HWND, HDC dc) {
    auto& dcs = OpenDcs();
    auto it = dcs.find(dc);
    if (it == dcs.end()) return 0;
    KORVEX_ASSERT(dc->SaveDepth() == 0 || !it->second.Paint);   // what a paint handler saved, it restored
    if (!it->second.Dead)
        if (WindowObject* w = FromHandle(it->second.Hwnd))
            detail::MarkDirty(detail::TopLevelOf(w), dc->EffectiveClip());
    ShowScreenDrawing(it->second);
    gdi::Bitmap* capture = it->second.Capture;
    gdi::Bitmap* shown = it->second.Shown;
    dcs.erase(it);
    gdi::DeleteDC(dc);
    if (capture) gdi::DeleteObject(capture);
    if (shown) gdi::DeleteObject(shown);
    return 1;
}

std::size_t OpenDcCount() {
    return OpenDcs().size();
}

HWND WindowFromDC(HDC dc) {
    auto& dcs = OpenDcs();
    auto it = dcs.find(dc);
    return it == dcs.end() ? nullptr : it->second.Hwnd;   // none for screen DCs
}

}
