// The headless display: surfaces kept in memory, composed into a screen on demand, and injected input.
#include "platform/user/display/headless/HeadlessDisplay.h"

#include "platform/gdi/FontEngine.h"
#include "platform/gdi/PngCodec.h"

#include <algorithm>
#include <atomic>

namespace korvex::user {

namespace {

std::atomic<int> gHeadlessCount {0};

void DeleteBitmap(gdi::Bitmap* bitmap) {
    gdi::DeleteObject(bitmap);
}

gdi::BYTE Blend(int over, int under, int alpha) {
    // over is premultiplied
    return gdi::BYTE(std::min(255, over + (under * (255 - alpha) + 127) / 255));
}

}   // namespace

HeadlessDisplay::HeadlessDisplay(int width, int height, int panelHeight)
    : FScreen {std::max(1, width), std::max(1, height)}
    , FWorkArea {0, 0, std::max(1, width), std::max(1, height - std::max(0, panelHeight))}
    , FPointer {-1, -1} {
    if (gHeadlessCount++ == 0) gdi::SetPinnedFontFamily("DejaVu Sans");
}

HeadlessDisplay::~HeadlessDisplay() {
    if (--gHeadlessCount == 0) gdi::SetPinnedFontFamily("");
}

bool HeadlessDisplay::CreateSurface(SurfaceId id, const SurfaceOptions& options) {
    if (id == 0 || FSurfaces.count(id)) return false;
    SurfaceInfo& info = FSurfaces[id];
    info.Options = options;
    info.Layered = options.Kind == SurfaceKind::Layered;
    FStack.push_back(id);
    return true;
}

void HeadlessDisplay::DestroySurface(SurfaceId id) {
    FSurfaces.erase(id);
    std::erase(FStack, id);
    if (FActive == id) FActive = 0;
    if (FGrab == id) FGrab = 0;
}

void HeadlessDisplay::ShowSurface(SurfaceId id, bool visible) {
    auto it = FSurfaces.find(id);
    if (it != FSurfaces.end()) it->second.Visible = visible;
}

void HeadlessDisplay::MoveSurface(SurfaceId id, const gdi::RECT& bounds) {
    auto it = FSurfaces.find(id);
    if (it != FSurfaces.end()) it->second.Options.Bounds = bounds;
}

void HeadlessDisplay::SetSurfaceTitle(SurfaceId id, const std::string& title) {
    auto it = FSurfaces.find(id);
    if (it != FSurfaces.end()) it->second.Options.Title = title;
}

void HeadlessDisplay::SetSurfaceIcons(SurfaceId id, const std::vector<SurfaceIcon>& icons) {
    auto it = FSurfaces.find(id);
    if (it != FSurfaces.end()) it->second.Options.Icons = icons;
}

void HeadlessDisplay::SetSurfaceShadow(SurfaceId id, bool dropShadow) {
    auto it = FSurfaces.find(id);
    if (it != FSurfaces.end()) it->second.Options.DropShadow = dropShadow;
}

void HeadlessDisplay::SetSurfaceState(SurfaceId id, SurfaceState state) {
    auto it = FSurfaces.find(id);
    if (it != FSurfaces.end()) it->second.State = state;
}

void HeadlessDisplay::SetSurfaceShape(SurfaceId id, const gdi::Region* shape) {
    auto it = FSurfaces.find(id);
    if (it == FSurfaces.end()) return;
    it->second.HasShape = shape != nullptr;
    it->second.Shape = shape ? shape->Shape() : gdi::BandedRegion();
}

void HeadlessDisplay::RaiseSurface(SurfaceId id, SurfaceId below) {
    if (!FSurfaces.count(id)) return;
    std::erase(FStack, id);
    auto it = std::find(FStack.begin(), FStack.end(), below);
    // `below` is the surface that stays above this one; none: to the top.
    FStack.insert(it, id);
}

void HeadlessDisplay::ActivateSurface(SurfaceId id) {
    if (FSurfaces.count(id)) FActive = id;
}

void HeadlessDisplay::Present(SurfaceId id, const gdi::Bitmap& store, const std::vector<gdi::RECT>& dirty) {
    auto it = FSurfaces.find(id);
    if (it == FSurfaces.end()) return;
    SurfaceInfo& info = it->second;
    if (!info.Picture || info.Picture->Width() != store.Width() || info.Picture->Height() != store.Height())
        info.Picture.reset(store.Clone());
    else
        for (const gdi::RECT& r : dirty) {
            gdi::RECT c {};
            gdi::RECT all {0, 0, store.Width(), store.Height()};
            if (!gdi::IntersectRect(&c, &r, &all)) continue;
            for (int y = c.top; y < c.bottom; ++y)
                std::copy(store.ScanLine(y) + c.left * 4, store.ScanLine(y) + c.right * 4,
                    info.Picture->ScanLine(y) + c.left * 4);
        }
    info.Layered = false;
    info.PresentCount++;
    info.LastDirty = dirty;
}

void HeadlessDisplay::PresentLayered(SurfaceId id, const gdi::Bitmap& argb, std::uint8_t constantAlpha) {
    auto it = FSurfaces.find(id);
    if (it == FSurfaces.end()) return;
    it->second.Picture.reset(argb.Clone());
    it->second.Layered = true;
    it->second.ConstantAlpha = constantAlpha;
    it->second.PresentCount++;
}

gdi::Bitmap* HeadlessDisplay::CaptureScreen(const gdi::RECT& rect) {
    ++FCaptures;
    return Screenshot(&rect);
}

void HeadlessDisplay::XorScreen(const gdi::Bitmap& mask, const gdi::RECT& rect) {
    const int width = std::min(mask.Width(), rect.Width()), height = std::min(mask.Height(), rect.Height());
    for (int y = 0; y < height; ++y) {
        const gdi::BYTE* row = mask.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t bits = std::uint32_t(row[x * 4]) | std::uint32_t(row[x * 4 + 1]) << 8
                | std::uint32_t(row[x * 4 + 2]) << 16;
            if (bits == 0) continue;
            auto [it, added] = FScreenXor.try_emplace({rect.top + y, rect.left + x}, 0u);
            it->second ^= bits;
            if (it->second == 0) FScreenXor.erase(it);
        }
    }
}

void HeadlessDisplay::SetCursor(SurfaceId id, CursorShape shape) {
    auto it = FSurfaces.find(id);
    if (it != FSurfaces.end()) it->second.Cursor = shape;
}

void HeadlessDisplay::GrabPointer(SurfaceId id, bool grab) {
    if (grab)
        FGrab = id;
    else if (FGrab == id)
        FGrab = 0;
}

void HeadlessDisplay::ConfinePointer(const gdi::RECT* rect) {
    FConfined = rect != nullptr && !gdi::IsRectEmpty(rect);
    if (!FConfined) return;
    FConfine = *rect;
    FPointer = gdi::POINT {std::clamp(FPointer.x, FConfine.left, FConfine.right - 1),
        std::clamp(FPointer.y, FConfine.top, FConfine.bottom - 1)};
}

// ---------------------------------------------------------------------------------------------------------
// Input
void HeadlessDisplay::Send(InputEvent event) {
    event.TimeMs = FTimeMs;
    // A confined pointer stops at the rectangle's edge, as the X server holds it.
    if (FConfined && event.Kind != InputKind::KeyDown && event.Kind != InputKind::KeyUp)
        event.ScreenPos = gdi::POINT {std::clamp(event.ScreenPos.x, FConfine.left, FConfine.right - 1),
            std::clamp(event.ScreenPos.y, FConfine.top, FConfine.bottom - 1)};
    if (event.Kind != InputKind::KeyDown && event.Kind != InputKind::KeyUp)
        FPointer = event.ScreenPos;
    else
        event.ScreenPos = FPointer;
    event.Surface = SurfaceAt(FPointer);
    if (FSink) FSink->OnInput(event);
}

SurfaceId HeadlessDisplay::SurfaceAt(gdi::POINT p) const {
    for (auto it = FStack.rbegin(); it != FStack.rend(); ++it) {
        const SurfaceInfo& info = FSurfaces.at(*it);
        if (!info.Visible || info.State == SurfaceState::Minimized) continue;
        const gdi::RECT& b = info.Options.Bounds;
        if (!gdi::PtInRect(&b, p)) continue;
        if (info.HasShape && !info.Shape.Contains(p.x - b.left, p.y - b.top)) continue;
        return *it;
    }
    return 0;
}

void HeadlessDisplay::MoveMouse(int x, int y, unsigned modifiers) {
    InputEvent e;
    e.Kind = InputKind::MouseMove;
    e.ScreenPos = {x, y};
    e.Modifiers = modifiers;
    Send(e);
}

void HeadlessDisplay::ButtonDown(MouseButton button, int x, int y, unsigned modifiers) {
    InputEvent e;
    e.Kind = InputKind::ButtonDown;
    e.ScreenPos = {x, y};
    e.Button = button;
    e.Modifiers = modifiers;
    Send(e);
}

void HeadlessDisplay::ButtonUp(MouseButton button, int x, int y, unsigned modifiers) {
    InputEvent e;
    e.Kind = InputKind::ButtonUp;
    e.ScreenPos = {x, y};
    e.Button = button;
    e.Modifiers = modifiers;
    Send(e);
}

void HeadlessDisplay::Click(int x, int y, MouseButton button, unsigned modifiers) {
    if (FPointer.x != x || FPointer.y != y) MoveMouse(x, y, modifiers);
    ButtonDown(button, x, y, modifiers);
    ButtonUp(button, x, y, modifiers);
}

void HeadlessDisplay::DoubleClick(int x, int y, MouseButton button) {
    Click(x, y, button);
    AdvanceTimeMs(50);
    Click(x, y, button);
}

void HeadlessDisplay::Wheel(int x, int y, int delta, unsigned modifiers) {
    InputEvent e;
    e.Kind = InputKind::Wheel;
    e.ScreenPos = {x, y};
    e.WheelDelta = delta;
    e.Modifiers = modifiers;
    Send(e);
}

void HeadlessDisplay::KeyDown(unsigned vk, const std::string& text, unsigned modifiers) {
    InputEvent e;
    e.Kind = InputKind::KeyDown;
    e.VirtualKey = vk;
    e.Text = text;
    e.Modifiers = modifiers;
    Send(e);
}

void HeadlessDisplay::KeyUp(unsigned vk, unsigned modifiers) {
    InputEvent e;
    e.Kind = InputKind::KeyUp;
    e.VirtualKey = vk;
    e.Modifiers = modifiers;
    Send(e);
}

void HeadlessDisplay::Press(unsigned vk, const std::string& text, unsigned modifiers) {
    KeyDown(vk, text, modifiers);
    KeyUp(vk, modifiers);
}

void HeadlessDisplay::LeaveScreen() {
    InputEvent e;
    e.Kind = InputKind::Leave;
    e.ScreenPos = FPointer;
    Send(e);
}

void HeadlessDisplay::RequestClose(SurfaceId id) {
    if (FSink && FSurfaces.count(id)) FSink->OnCloseRequest(id);
}

void HeadlessDisplay::FocusSurface(SurfaceId id) {
    SurfaceId old = FActive;
    FActive = FSurfaces.count(id) ? id : 0;
    if (!FSink) return;
    if (old && old != FActive) FSink->OnFocusChanged(old, false);
    if (FActive) FSink->OnFocusChanged(FActive, true);
}

void HeadlessDisplay::MinimizeByUser(SurfaceId id) {
    auto it = FSurfaces.find(id);
    if (it == FSurfaces.end()) return;
    it->second.State = SurfaceState::Minimized;
    if (FSink) FSink->OnStateChanged(id, SurfaceState::Minimized);
}

// ---------------------------------------------------------------------------------------------------------
// Inspection and screenshots
const HeadlessDisplay::SurfaceInfo* HeadlessDisplay::Surface(SurfaceId id) const {
    auto it = FSurfaces.find(id);
    return it == FSurfaces.end() ? nullptr : &it->second;
}

std::vector<SurfaceId> HeadlessDisplay::StackingOrder() const {
    return FStack;
}

void HeadlessDisplay::ComposeOnto(gdi::Bitmap& screen, const gdi::RECT& area) const {
    for (SurfaceId id : FStack) {
        const SurfaceInfo& info = FSurfaces.at(id);
        if (!info.Visible || info.State == SurfaceState::Minimized || !info.Picture) continue;
        const gdi::RECT& b = info.Options.Bounds;
        const gdi::Bitmap& pic = *info.Picture;
        for (int y = std::max(b.top, area.top); y < std::min(b.top + pic.Height(), area.bottom); ++y) {
            const gdi::BYTE* src = pic.ScanLine(y - b.top);
            gdi::BYTE* dst = screen.ScanLine(y - area.top);
            for (int x = std::max(b.left, area.left); x < std::min(b.left + pic.Width(), area.right); ++x) {
                if (info.HasShape && !info.Shape.Contains(x - b.left, y - b.top)) continue;
                const gdi::BYTE* s = src + (x - b.left) * 4;
                gdi::BYTE* d = dst + (x - area.left) * 4;
                if (!info.Layered) {
                    d[0] = s[0];
                    d[1] = s[1];
                    d[2] = s[2];
                    continue;
                }
                int ca = info.ConstantAlpha;
                int a = s[3] * ca / 255;
                for (int c = 0; c < 3; ++c)
                    d[c] = Blend(s[c] * ca / 255, d[c], a);
            }
        }
    }
}

gdi::Bitmap* HeadlessDisplay::Screenshot(const gdi::RECT* rect) const {
    gdi::RECT area = rect ? *rect : gdi::RECT {0, 0, FScreen.cx, FScreen.cy};
    if (area.Width() <= 0 || area.Height() <= 0) return nullptr;
    gdi::Bitmap* shot = gdi::Bitmap::Create(area.Width(), area.Height(), gdi::PixelFormat::pf32bit);
    if (!shot) return nullptr;
    shot->Fill(DesktopColor);
    ComposeOnto(*shot, area);
    for (auto it = FScreenXor.lower_bound({area.top, area.left}); it != FScreenXor.end(); ++it) {
        const auto [y, x] = it->first;
        if (y >= area.bottom) break;
        if (x < area.left || x >= area.right) continue;
        gdi::BYTE* p = shot->ScanLine(y - area.top) + size_t(x - area.left) * 4;
        p[0] ^= gdi::BYTE(it->second);
        p[1] ^= gdi::BYTE(it->second >> 8);
        p[2] ^= gdi::BYTE(it->second >> 16);
    }
    return shot;
}

gdi::Bitmap* HeadlessDisplay::SurfaceShot(SurfaceId id) const {
    const SurfaceInfo* info = Surface(id);
    return info && info->Picture ? info->Picture->Clone() : nullptr;
}

bool HeadlessDisplay::WriteScreenshotPng(const std::string& path, const gdi::RECT* rect) const {
    std::unique_ptr<gdi::Bitmap, void (*)(gdi::Bitmap*)> shot {Screenshot(rect), DeleteBitmap};
    return shot && gdi::WritePngFile(*shot, path);
}

gdi::COLORREF HeadlessDisplay::ScreenPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= FScreen.cx || y >= FScreen.cy) return gdi::CLR_INVALID;
    gdi::RECT one {x, y, x + 1, y + 1};
    std::unique_ptr<gdi::Bitmap, void (*)(gdi::Bitmap*)> shot {Screenshot(&one), DeleteBitmap};
    return shot ? shot->PixelAt(0, 0) : gdi::CLR_INVALID;
}

std::vector<MonitorArea> HeadlessDisplay::Monitors() const {
    std::vector<MonitorArea> all = Display::Monitors();
    all.insert(all.end(), FExtraMonitors.begin(), FExtraMonitors.end());
    return all;
}

}
