// The x11 display's pictures: uploading backing stores (MIT-SHM or XPutImage), layered pictures, screen capture.
#include "platform/user/display/x11/X11Backend.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#undef None   // X macros that clash with our enumerators; X's None is 0
#undef CursorShape

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>

namespace korvex::user::x11 {

// A surface-sized image in a shared memory segment. It mirrors the backing store: each Present copies its
// dirty rectangles in and asks the server to read them. The server may read a later picture than the one
// asked for, never an older one, so no completion event is awaited.
struct ShmImage {
    ::Display* Connection = nullptr;
    XShmSegmentInfo Info {};
    XImage* Image = nullptr;
    bool Attached = false;

    ~ShmImage() {
        if (Attached) XShmDetach(Connection, &Info);
        if (Image) {
            Image->data = nullptr;   // the segment is not XDestroyImage's to free
            XDestroyImage(Image);
        }
        if (Info.shmaddr && Info.shmaddr != reinterpret_cast<char*>(-1)) shmdt(Info.shmaddr);
    }
};

void ShmImageDelete::operator()(ShmImage* image) const {
    delete image;
}

namespace {

// Our 32-bit pixels are B, G, R, X bytes: on an LSBFirst 32-bit image with these masks they are the
// server's own pixel values, and rows go up unconverted.
bool NativeLayout(unsigned long red, unsigned long green, unsigned long blue) {
    return red == 0xFF0000 && green == 0xFF00 && blue == 0xFF;
}

struct Channel {
    int Shift = 0;
    unsigned long Max = 0;
    explicit Channel(unsigned long mask) {
        if (!mask) return;
        while (!(mask & 1)) {
            mask >>= 1;
            ++Shift;
        }
        Max = mask;
    }
    unsigned long Pack(unsigned value) const { return ((value * Max + 127) / 255) << Shift; }
    unsigned Unpack(unsigned long pixel) const {
        return Max ? unsigned((((pixel >> Shift) & Max) * 255 + Max / 2) / Max) : 0;
    }
};

// The part of rect inside both the picture and the surface.
bool ClipTo(gdi::RECT& rect, const gdi::Bitmap& pixels, int width, int height) {
    gdi::RECT limit = gdi::Rect(0, 0, std::min(pixels.Width(), width), std::min(pixels.Height(), height));
    return gdi::IntersectRect(&rect, &rect, &limit);
}

}

_XGC* X11Display::GcFor(int depth, XId drawable) {
    auto found = FGcs.find(depth);
    if (found != FGcs.end()) return found->second;
    XGCValues values {};
    values.graphics_exposures = False;
    GC gc = XCreateGC(FDisplay, drawable, GCGraphicsExposures, &values);
    FGcs[depth] = gc;
    return gc;
}

// The window's background is a pixmap holding its picture: the server repaints exposed parts from it
// without a round trip through the window tree, and a resize keeps the old picture until the new one comes.
void X11Display::EnsurePicture(Surface& surface, int width, int height) {
    Pixmap picture
        = XCreatePixmap(FDisplay, surface.Window, unsigned(width), unsigned(height), unsigned(surface.Depth));
    GC gc = GcFor(surface.Depth, picture);
    XSetForeground(FDisplay, gc, 0);
    XFillRectangle(FDisplay, picture, gc, 0, 0, unsigned(width), unsigned(height));
    if (surface.Picture) {
        XCopyArea(FDisplay, surface.Picture, picture, gc, 0, 0, unsigned(width), unsigned(height), 0, 0);
        XFreePixmap(FDisplay, surface.Picture);
    }
    surface.Picture = picture;
    surface.Shm.reset();
    XSetWindowBackgroundPixmap(FDisplay, surface.Window, picture);
}

ShmImage* X11Display::SharedImage(Surface& surface, int width, int height) {
    if (surface.Shm && surface.Shm->Image->width == width && surface.Shm->Image->height == height)
        return surface.Shm.get();
    surface.Shm.reset();
    Visual* visual = static_cast<Visual*>(surface.Argb ? FArgbVisual : FVisual);
    std::unique_ptr<ShmImage, ShmImageDelete> shm(new ShmImage);
    shm->Connection = FDisplay;
    shm->Image = XShmCreateImage(
        FDisplay, visual, unsigned(surface.Depth), ZPixmap, nullptr, &shm->Info, unsigned(width), unsigned(height));
    if (!shm->Image) return nullptr;
    if (shm->Image->bits_per_pixel != 32 || shm->Image->byte_order != LSBFirst) return nullptr;
    size_t bytes = size_t(shm->Image->bytes_per_line) * size_t(height);
    shm->Info.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (shm->Info.shmid < 0) return nullptr;
    shm->Info.shmaddr = shm->Image->data = static_cast<char*>(shmat(shm->Info.shmid, nullptr, 0));
    if (shm->Info.shmaddr == reinterpret_cast<char*>(-1)) {
        shm->Image->data = nullptr;
        shmctl(shm->Info.shmid, IPC_RMID, nullptr);
        return nullptr;
    }
    shm->Info.readOnly = False;
    int errors = ErrorsSeen();
    XShmAttach(FDisplay, &shm->Info);
    XSync(FDisplay, False);
    // Marked for removal now, the segment goes away with its last user even if we crash.
    shmctl(shm->Info.shmid, IPC_RMID, nullptr);
    if (ErrorsSeen() != errors) {
        FShm = false;   // a server on another machine cannot attach our memory: plain uploads from now on
        return nullptr;
    }
    shm->Attached = true;
    surface.Shm = std::move(shm);
    return surface.Shm.get();
}

void X11Display::Upload(Surface& surface, const gdi::Bitmap& pixels, const std::vector<gdi::RECT>& rects) {
    if (pixels.Format() != gdi::PixelFormat::pf32bit || pixels.Empty()) return;
    int width = surface.Bounds.Width(), height = surface.Bounds.Height();
    std::vector<gdi::RECT> clipped;
    for (gdi::RECT rect : rects)
        if (ClipTo(rect, pixels, width, height)) clipped.push_back(rect);
    if (clipped.empty()) return;

    Visual* visual = static_cast<Visual*>(surface.Argb ? FArgbVisual : FVisual);
    GC gc = GcFor(surface.Depth, surface.Picture);
    auto* bits = const_cast<char*>(reinterpret_cast<const char*>(pixels.Bits()));
    bool native = NativeLayout(visual->red_mask, visual->green_mask, visual->blue_mask);

    bool sent = false;
    if (native && FShm) {
        if (ShmImage* shm = SharedImage(surface, width, height)) {
            sent = true;
            for (const gdi::RECT& r : clipped)
                for (int y = r.top; y < r.bottom; ++y)
                    std::memcpy(shm->Image->data + size_t(y) * size_t(shm->Image->bytes_per_line) + size_t(r.left) * 4,
                        pixels.ScanLine(y) + size_t(r.left) * 4, size_t(r.Width()) * 4);
            for (const gdi::RECT& r : clipped)
                XShmPutImage(FDisplay, surface.Picture, gc, shm->Image, r.left, r.top, r.left, r.top,
                    unsigned(r.Width()), unsigned(r.Height()), False);
        }
    }
    if (native && !sent) {
        // An image over the store's own rows; Xlib converts if the server wants another byte order.
        XImage image {};
        image.width = pixels.Width();
        image.height = pixels.Height();
        image.format = ZPixmap;
        image.data = bits;
        image.byte_order = LSBFirst;
        image.bitmap_unit = 32;
        image.bitmap_bit_order = LSBFirst;
        image.bitmap_pad = 32;
        image.depth = surface.Depth;
        image.bytes_per_line = pixels.BytesPerScanLine();
        image.bits_per_pixel = 32;
        image.red_mask = visual->red_mask;
        image.green_mask = visual->green_mask;
        image.blue_mask = visual->blue_mask;
        XInitImage(&image);
        for (const gdi::RECT& r : clipped)
            XPutImage(FDisplay, surface.Picture, gc, &image, r.left, r.top, r.left, r.top, unsigned(r.Width()),
                unsigned(r.Height()));
    } else if (!sent) {
        // Other visuals (16-bit, BGR): pixel by pixel through the visual's masks.
        Channel red(visual->red_mask), green(visual->green_mask), blue(visual->blue_mask);
        for (const gdi::RECT& r : clipped) {
            XImage* image = XCreateImage(FDisplay, visual, unsigned(surface.Depth), ZPixmap, 0, nullptr,
                unsigned(r.Width()), unsigned(r.Height()), 32, 0);
            if (!image) continue;
            image->data = static_cast<char*>(std::calloc(size_t(image->bytes_per_line), size_t(r.Height())));
            for (int y = r.top; y < r.bottom; ++y) {
                const gdi::BYTE* row = pixels.ScanLine(y);
                for (int x = r.left; x < r.right; ++x) {
                    const gdi::BYTE* p = row + x * 4;
                    XPutPixel(image, x - r.left, y - r.top, red.Pack(p[2]) | green.Pack(p[1]) | blue.Pack(p[0]));
                }
            }
            XPutImage(
                FDisplay, surface.Picture, gc, image, 0, 0, r.left, r.top, unsigned(r.Width()), unsigned(r.Height()));
            XDestroyImage(image);
        }
    }
    for (const gdi::RECT& r : clipped)
        XClearArea(FDisplay, surface.Window, r.left, r.top, unsigned(r.Width()), unsigned(r.Height()), False);
}

void X11Display::Present(SurfaceId id, const gdi::Bitmap& store, const std::vector<gdi::RECT>& dirty) {
    if (Surface* surface = Find(id)) Upload(*surface, store, dirty);
    NoteQueuedEvents();
}

void X11Display::PresentLayered(SurfaceId id, const gdi::Bitmap& argb, std::uint8_t constantAlpha) {
    Surface* surface = Find(id);
    if (!surface || argb.Empty() || argb.Format() != gdi::PixelFormat::pf32bit) return;
    const gdi::RECT& b = surface->Bounds;
    if (argb.Width() != b.Width() || argb.Height() != b.Height())
        MoveSurface(id, gdi::Bounds(b.left, b.top, argb.Width(), argb.Height()));
    std::vector<gdi::RECT> whole {gdi::Rect(0, 0, argb.Width(), argb.Height())};
    if (!surface->Argb || constantAlpha == 255) {
        Upload(*surface, argb, whole);   // without a compositor the caller has blended the screen in
    } else {
        // Premultiplied pixels stay premultiplied when every channel is scaled by the constant alpha.
        gdi::GdiHandle<gdi::Bitmap> scaled(argb.Clone());
        if (!scaled) return;
        for (int y = 0; y < scaled.Get()->Height(); ++y) {
            gdi::BYTE* row = scaled.Get()->ScanLine(y);
            for (int i = 0; i < scaled.Get()->Width() * 4; ++i)
                row[i] = gdi::BYTE((row[i] * constantAlpha + 127) / 255);
        }
        Upload(*surface, *scaled, whole);
    }
    NoteQueuedEvents();
}

gdi::Bitmap* X11Display::CaptureScreen(const gdi::RECT& rect) {
    if (rect.Width() <= 0 || rect.Height() <= 0) return nullptr;
    gdi::Bitmap* bitmap = gdi::Bitmap::Create(rect.Width(), rect.Height(), gdi::PixelFormat::pf32bit);
    if (!bitmap) return nullptr;
    // Parts off the screen stay black: XGetImage of the root refuses rectangles that leave it.
    gdi::SIZE screen = ScreenSize();
    gdi::RECT on = gdi::Rect(0, 0, screen.cx, screen.cy);
    if (!gdi::IntersectRect(&on, &on, &rect)) return bitmap;
    XImage* image
        = XGetImage(FDisplay, FRoot, on.left, on.top, unsigned(on.Width()), unsigned(on.Height()), AllPlanes, ZPixmap);
    if (!image) {
        NoteQueuedEvents();
        return bitmap;
    }
    bool native = image->bits_per_pixel == 32 && image->byte_order == LSBFirst
        && NativeLayout(image->red_mask, image->green_mask, image->blue_mask);
    Channel red(image->red_mask), green(image->green_mask), blue(image->blue_mask);
    for (int y = 0; y < on.Height(); ++y) {
        gdi::BYTE* out = bitmap->ScanLine(on.top - rect.top + y) + size_t(on.left - rect.left) * 4;
        const char* in = image->data + size_t(y) * size_t(image->bytes_per_line);
        if (native) std::memcpy(out, in, size_t(on.Width()) * 4);
        for (int x = 0; x < on.Width(); ++x) {
            if (!native) {
                unsigned long pixel = XGetPixel(image, x, y);
                out[x * 4] = gdi::BYTE(blue.Unpack(pixel));
                out[x * 4 + 1] = gdi::BYTE(green.Unpack(pixel));
                out[x * 4 + 2] = gdi::BYTE(red.Unpack(pixel));
            }
            out[x * 4 + 3] = 0;   // window surfaces keep 0 in the fourth byte
        }
    }
    XDestroyImage(image);
    NoteQueuedEvents();
    return bitmap;
}

void X11Display::XorScreen(const gdi::Bitmap& mask, const gdi::RECT& rect) {
    const int width = std::min(mask.Width(), rect.Width()), height = std::min(mask.Height(), rect.Height());
    if (width <= 0 || height <= 0) return;
    Visual* visual = static_cast<Visual*>(FVisual);
    XImage* image = XCreateImage(
        FDisplay, visual, unsigned(FDepth), ZPixmap, 0, nullptr, unsigned(width), unsigned(height), 32, 0);
    if (!image) return;
    image->data = static_cast<char*>(std::calloc(size_t(image->bytes_per_line), size_t(height)));
    Channel red(visual->red_mask), green(visual->green_mask), blue(visual->blue_mask);
    for (int y = 0; y < height; ++y) {
        const gdi::BYTE* row = mask.ScanLine(y);
        for (int x = 0; x < width; ++x)
            XPutPixel(image, x, y, red.Pack(row[x * 4 + 2]) | green.Pack(row[x * 4 + 1]) | blue.Pack(row[x * 4]));
    }
    // On the root, through every window above it, as a drag outline is drawn.
    XGCValues values {};
    values.function = GXxor;
    values.subwindow_mode = IncludeInferiors;
    values.graphics_exposures = False;
    GC gc = XCreateGC(FDisplay, FRoot, GCFunction | GCSubwindowMode | GCGraphicsExposures, &values);
    XPutImage(FDisplay, FRoot, gc, image, 0, 0, rect.left, rect.top, unsigned(width), unsigned(height));
    XFreeGC(FDisplay, gc);
    XDestroyImage(image);
    XFlush(FDisplay);
}

}
