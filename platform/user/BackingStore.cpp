// Backing stores and display surfaces of top-level windows, and presenting what changed.
#include "platform/user/Icons.h"
#include "platform/user/Screen.h"
#include "platform/user/WindowObject.h"

#include <algorithm>
#include <cstring>

namespace korvex::user::detail {

namespace {

void DeleteBitmap(gdi::Bitmap* bitmap) {
    gdi::DeleteObject(bitmap);
}

SurfaceId NextSurfaceId() {
    static SurfaceId next = 0;
    return ++next;
}

SurfaceKind KindOf(const WindowObject* w) {
    if (w->ExStyle & WS_EX_LAYERED) return SurfaceKind::Layered;
    if ((w->Style & WS_POPUP) && (w->Style & WS_CAPTION) != WS_CAPTION && !(w->Style & WS_THICKFRAME)
        && !(w->ExStyle & WS_EX_APPWINDOW))
        return SurfaceKind::Popup;
    return SurfaceKind::Normal;
}

// An icon's premultiplied picture as the display wants it: straight alpha, ARGB.
void AddSurfaceIcon(std::vector<SurfaceIcon>& icons, HICON icon) {
    const gdi::Bitmap* picture = IconPicture(icon);
    if (picture == nullptr || picture->Empty() || picture->Format() != gdi::PixelFormat::pf32bit) return;
    SurfaceIcon& out = icons.emplace_back();
    out.Width = picture->Width();
    out.Height = picture->Height();
    out.Argb.reserve(std::size_t(out.Width) * out.Height);
    for (int y = 0; y < out.Height; ++y) {
        const gdi::BYTE* p = picture->ScanLine(y);
        for (int x = 0; x < out.Width; ++x, p += 4) {
            const unsigned a = p[3];
            auto straight = [a](unsigned c) { return a == 0 ? 0u : std::min(255u, (c * 255 + a / 2) / a); };
            out.Argb.push_back(a << 24 | straight(p[2]) << 16 | straight(p[1]) << 8 | straight(p[0]));
        }
    }
}

// Per size, the window's own icon, else the class's, else the program's; smallest first.
std::vector<SurfaceIcon> SurfaceIconsOf(const WindowObject* top) {
    std::vector<SurfaceIcon> icons;
    std::vector<HICON> candidates {top->SmallIcon, top->BigIcon};
    if (top->Class) candidates.insert(candidates.end(), {top->Class->IconSm, top->Class->Icon});
    candidates.insert(candidates.end(), {ProgramIcon(ICON_SMALL), ProgramIcon(ICON_BIG)});
    for (HICON icon : candidates) {
        std::vector<SurfaceIcon> one;
        AddSurfaceIcon(one, icon);
        if (one.empty()) continue;
        const bool sizeTaken = std::any_of(icons.begin(), icons.end(),
            [&](const SurfaceIcon& i) { return i.Width == one[0].Width && i.Height == one[0].Height; });
        if (!sizeTaken) icons.push_back(std::move(one[0]));
    }
    std::stable_sort(icons.begin(), icons.end(), [](const SurfaceIcon& a, const SurfaceIcon& b) { return a.Width < b.Width; });
    return icons;
}

bool HasDropShadow(const WindowObject* top) {
    return top->Class && (top->Class->Style & CS_DROPSHADOW) != 0;
}

// The surface just above w in stacking order (0: w is the topmost shown one).
SurfaceId SurfaceAbove(const WindowObject* w) {
    SurfaceId above = 0;
    for (const WindowObject* s : Desktop()->Children) {
        if (s == w) break;
        if (s->Top && s->Top->Surface && s->Top->SurfaceShown) above = s->Top->Surface;
    }
    return above;
}

// The store with every pixel's alpha set (layered windows painted the ordinary way).
gdi::Bitmap* OpaqueCopy(const gdi::Bitmap& store) {
    gdi::Bitmap* copy = store.Clone();
    if (!copy) return nullptr;
    for (int y = 0; y < copy->Height(); ++y) {
        gdi::BYTE* row = copy->ScanLine(y);
        for (int x = 0; x < copy->Width(); ++x)
            row[x * 4 + 3] = 255;
    }
    return copy;
}

}   // namespace

void EnsureStore(WindowObject* top) {
    if (!top->Top) return;
    int width = std::max(0, int(top->Rect.right - top->Rect.left));
    int height = std::max(0, int(top->Rect.bottom - top->Rect.top));
    auto& store = top->Top->Store;
    if (!store) {
        store = {gdi::Bitmap::Create(width, height, gdi::PixelFormat::pf32bit), DeleteBitmap};
    } else if (store->Width() != width || store->Height() != height) {
        store->SetSize(width, height);
        top->Top->Dirty = top->Top->Dirty.Intersect(gdi::Bounds(0, 0, width, height));
    }
}

void MarkDirty(WindowObject* top, const gdi::BandedRegion& storeRegion) {
    if (!top || !top->Top || storeRegion.IsEmpty()) return;
    top->Top->Dirty = gdi::BandedRegion::Combine(top->Top->Dirty, storeRegion, gdi::RGN_OR);
}

void EnsureSurface(WindowObject* top) {
    if (!top->Top || top->Top->Surface || !top->Parent || !top->Parent->IsDesktop) return;
    Display* display = CurrentDisplay();
    if (!display) return;
    EnsureStore(top);
    SurfaceOptions options;
    options.Kind = KindOf(top);
    options.Bounds = ScreenWindowRect(top);
    options.Title = top->Text;
    options.SkipTaskbar = (top->ExStyle & WS_EX_TOOLWINDOW) || (top->Owner && !(top->ExStyle & WS_EX_APPWINDOW))
        || options.Kind == SurfaceKind::Popup;
    options.TopMost = (top->ExStyle & WS_EX_TOPMOST) != 0;
    options.Owner = top->Owner && top->Owner->Top ? top->Owner->Top->Surface : 0;
    options.OwnedByHidden = top->Owner && !options.Owner && !(top->ExStyle & WS_EX_APPWINDOW);
    options.Icons = SurfaceIconsOf(top);
    options.DropShadow = HasDropShadow(top);
    SurfaceId id = NextSurfaceId();
    if (!display->CreateSurface(id, options)) return;
    top->Top->Surface = id;
    top->Top->SurfaceShown = false;
    // A window minimized before it had a surface (shown minimized at once) shows as an icon.
    if (top->Style & WS_MINIMIZE)
        display->SetSurfaceState(id, SurfaceState::Minimized);
    else if (top->Style & WS_MAXIMIZE)
        display->SetSurfaceState(id, SurfaceState::Maximized);
    SyncSurfaceShape(top);
}

void SyncSurfaceIcons(WindowObject* top) {
    if (!top->Top || !top->Top->Surface) return;
    if (Display* display = CurrentDisplay()) display->SetSurfaceIcons(top->Top->Surface, SurfaceIconsOf(top));
}

void DestroySurface(WindowObject* top) {
    if (!top->Top) return;
    if (top->Top->Surface)
        if (Display* display = CurrentDisplay()) display->DestroySurface(top->Top->Surface);
    top->Top->Surface = 0;
    top->Top->SurfaceShown = false;
    top->Top->Dirty.Clear();
}

void SyncSurface(WindowObject* top, bool moved, bool shown) {
    if (!top->Top || !top->Top->Surface) return;
    Display* display = CurrentDisplay();
    if (!display) return;
    SurfaceId id = top->Top->Surface;
    if (moved && !(top->Style & WS_MINIMIZE)) display->MoveSurface(id, ScreenWindowRect(top));
    bool visible = top->Visible();
    if (shown || visible != top->Top->SurfaceShown) {
        if (visible && top->Top->Store) {
            // Everything is presented once it is shown (layered pictures come with UpdateLayeredWindow).
            top->Top->Dirty = gdi::BandedRegion(gdi::Bounds(0, 0, top->Top->Store->Width(), top->Top->Store->Height()));
        }
        if (visible != top->Top->SurfaceShown) {
            top->Top->SurfaceShown = visible;
            // The class style may have changed since the surface was made (a hint sets it before it shows).
            if (visible) display->SetSurfaceShadow(id, HasDropShadow(top));
            display->ShowSurface(id, visible);
        }
    }
    if (visible) display->RaiseSurface(id, SurfaceAbove(top));
}

void SyncSurfaceShape(WindowObject* top) {
    if (!top->Top || !top->Top->Surface) return;
    top->Top->ShapePending = false;
    Display* display = CurrentDisplay();
    if (!display) return;
    if (top->WindowRgn) {
        gdi::Region shape(*top->WindowRgn);
        display->SetSurfaceShape(top->Top->Surface, &shape);
    } else {
        display->SetSurfaceShape(top->Top->Surface, nullptr);
    }
}

void PresentAll() {
    Display* display = CurrentDisplay();
    if (!display) return;
    MarkOpenDcsDirty();   // drawing through DCs still held counts as changed
    ShowScreenDcs();      // and drawing into the screen itself shows at once
    for (WindowObject* top : Desktop()->Children) {
        TopLevelState* state = top->Top.get();
        if (!state || !state->Surface || !state->SurfaceShown || !state->Store || state->Dirty.IsEmpty()) continue;
        if (state->ShapePending) SyncSurfaceShape(top);
        if (state->Layered) {
            // The layered picture is what shows; it is presented again when the window is shown again.
            display->PresentLayered(state->Surface, *state->Layered, state->LayeredAlpha);
            state->Dirty.Clear();
            continue;
        }
        if (top->ExStyle & WS_EX_LAYERED) {
            if (state->LayeredFlags & LWA_ALPHA) {
                std::unique_ptr<gdi::Bitmap, void (*)(gdi::Bitmap*)> copy {OpaqueCopy(*state->Store), DeleteBitmap};
                if (copy) display->PresentLayered(state->Surface, *copy, state->LayeredAlpha);
            }
            state->Dirty.Clear();
            continue;
        }
        state->Dirty = state->Dirty.Intersect(gdi::Bounds(0, 0, state->Store->Width(), state->Store->Height()));
        if (!state->Dirty.IsEmpty()) display->Present(state->Surface, *state->Store, state->Dirty.Rects());
        state->Dirty.Clear();
    }
}

}
