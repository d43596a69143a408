// The x11 display's system tray: docking by XEmbed, painting the icon windows, their input and re-docking.
#include "platform/user/display/x11/X11Tray.h"

#include "platform/user/InputState.h"
#include "platform/user/TrayCore.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrender.h>
#undef None   // X's None is 0
#undef CursorShape

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace korvex::user::x11 {

namespace {

constexpr long SystemTrayRequestDock = 0;
constexpr long XembedMapped = 1;

void SetName(::Display* dpy, Window window, const char* name) {
    XClassHint hint;
    hint.res_name = const_cast<char*>("korvex");
    hint.res_class = const_cast<char*>("Korvex");
    XSetClassHint(dpy, window, &hint);
    XStoreName(dpy, window, name);
}

}   // namespace

X11Tray* X11Display::Tray() {
    if (!FTray) FTray = std::make_unique<X11Tray>(*this);
    return FTray.get();
}

X11Tray::X11Tray(X11Display& display)
    : FOwner(display)
    , FDisplay(display.FDisplay)
    , FRoot(display.FRoot) {
    ::Display* dpy = FDisplay;
    char name[40];
    std::snprintf(name, sizeof name, "_NET_SYSTEM_TRAY_S%d", display.FScreen);
    FSelection = XInternAtom(dpy, name, False);
    FOpcode = XInternAtom(dpy, "_NET_SYSTEM_TRAY_OPCODE", False);
    FManagerAtom = XInternAtom(dpy, "MANAGER", False);
    FXembed = XInternAtom(dpy, "_XEMBED", False);
    FXembedInfo = XInternAtom(dpy, "_XEMBED_INFO", False);
    FTrayVisual = XInternAtom(dpy, "_NET_SYSTEM_TRAY_VISUAL", False);
    // MANAGER is broadcast to the root with StructureNotifyMask; keep what the display already selects.
    XWindowAttributes attributes {};
    XGetWindowAttributes(dpy, FRoot, &attributes);
    XSelectInput(dpy, FRoot, attributes.your_event_mask | StructureNotifyMask);
    WatchManager();
    FOwner.NoteQueuedEvents();
}

X11Tray::~X11Tray() {
    for (auto& icon : FIcons)
        DestroyWindow(*icon);
    detail::TrayHostDestroyed(this);
}

void X11Tray::WatchManager() {
    FManager = XGetSelectionOwner(FDisplay, FSelection);
    if (FManager != 0) XSelectInput(FDisplay, FManager, StructureNotifyMask);
}

bool X11Tray::Available() const {
    return FManager != 0;
}

X11Tray::Icon* X11Tray::FindIcon(detail::TrayIconId id) const {
    for (auto& icon : FIcons)
        if (icon->Id == id) return icon.get();
    return nullptr;
}

X11Tray::Icon* X11Tray::FindWindow(XId window) const {
    if (window == 0) return nullptr;
    for (auto& icon : FIcons)
        if (icon->Window == window) return icon.get();
    return nullptr;
}

XId X11Tray::IconWindow(detail::TrayIconId id) const {
    Icon* icon = FindIcon(id);
    return icon ? icon->Window : 0;
}

// A manager that composites asks for icons in its ARGB visual (_NET_SYSTEM_TRAY_VISUAL).
void* X11Tray::ManagerVisual(int* depth) const {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    VisualID id = 0;
    if (XGetWindowProperty(
            FDisplay, FManager, FTrayVisual, 0, 1, False, XA_VISUALID, &type, &format, &count, &after, &data)
            == Success
        && data) {
        if (format == 32 && count == 1) id = VisualID(*reinterpret_cast<unsigned long*>(data));
        XFree(data);
    }
    if (id == 0) return nullptr;
    XVisualInfo wanted {};
    wanted.visualid = id;
    int found = 0;
    XVisualInfo* infos = XGetVisualInfo(FDisplay, VisualIDMask, &wanted, &found);
    void* visual = nullptr;
    if (infos && found > 0 && infos[0].depth == 32) {
        visual = infos[0].visual;
        *depth = infos[0].depth;
    }
    if (infos) XFree(infos);
    return visual;
}

bool X11Tray::CreateWindow(Icon& icon) {
    ::Display* dpy = FDisplay;
    XSetWindowAttributes a {};
    a.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask
        | LeaveWindowMask | StructureNotifyMask;
    int depth = 0;
    auto* visual = static_cast<Visual*>(ManagerVisual(&depth));
    unsigned long mask = CWEventMask;
    if (visual != nullptr) {
        // Transparent where the icon is, blended by the manager's compositor.
        icon.Colormap = XCreateColormap(dpy, FRoot, visual, AllocNone);
        a.colormap = icon.Colormap;
        a.background_pixel = 0;
        a.border_pixel = 0;
        mask |= CWColormap | CWBackPixel | CWBorderPixel;
        icon.Argb = true;
    } else {
        // The tray's own background shows through; the icon is blended over it.
        a.background_pixmap = ParentRelative;
        mask |= CWBackPixmap;
        depth = CopyFromParent;
        icon.Argb = false;
    }
    icon.Width = icon.Height = FIconSize;
    icon.Window = XCreateWindow(dpy, FRoot, 0, 0, unsigned(FIconSize), unsigned(FIconSize), 0, depth, InputOutput,
        visual != nullptr ? visual : CopyFromParent, mask, &a);
    if (icon.Window == 0) return false;
    SetName(dpy, icon.Window, "KORVEX");
    // Trays that size their slots from the client's hints would otherwise give it one pixel.
    XSizeHints* hints = XAllocSizeHints();
    if (hints != nullptr) {
        hints->flags = PSize | PMinSize | PBaseSize;
        hints->width = hints->min_width = hints->base_width = FIconSize;
        hints->height = hints->min_height = hints->base_height = FIconSize;
        XSetWMNormalHints(dpy, icon.Window, hints);
        XFree(hints);
    }
    long info[2] = {0, XembedMapped};   // XEmbed version 0; map me when docked
    XChangeProperty(
        dpy, icon.Window, FXembedInfo, FXembedInfo, 32, PropModeReplace, reinterpret_cast<unsigned char*>(info), 2);
    icon.Embedded = false;
    return true;
}

void X11Tray::DestroyWindow(Icon& icon) {
    if (icon.Window != 0) XDestroyWindow(FDisplay, icon.Window);
    if (icon.Colormap != 0) XFreeColormap(FDisplay, icon.Colormap);
    icon.Window = 0;
    icon.Colormap = 0;
    icon.Embedded = false;
}

bool X11Tray::Dock(detail::TrayIconId id) {
    if (FManager == 0) WatchManager();
    if (FManager == 0) return false;
    Icon* icon = FindIcon(id);
    if (icon == nullptr) {
        FIcons.push_back(std::make_unique<Icon>());
        icon = FIcons.back().get();
        icon->Id = id;
    }
    if (icon->Window == 0 && !CreateWindow(*icon)) return false;
    XEvent ev {};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = FManager;
    ev.xclient.message_type = FOpcode;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = CurrentTime;
    ev.xclient.data.l[1] = SystemTrayRequestDock;
    ev.xclient.data.l[2] = long(icon->Window);
    XSendEvent(FDisplay, FManager, False, NoEventMask, &ev);
    XFlush(FDisplay);
    FOwner.NoteQueuedEvents();
    return true;
}

void X11Tray::Undock(detail::TrayIconId id) {
    Icon* icon = FindIcon(id);
    if (icon == nullptr) return;
    DestroyWindow(*icon);   // the manager sees it go and frees the slot
    std::erase_if(FIcons, [icon](const auto& i) { return i.get() == icon; });
    XFlush(FDisplay);
}

void X11Tray::SetPicture(detail::TrayIconId id, const gdi::Bitmap* picture) {
    Icon* icon = FindIcon(id);
    if (icon == nullptr) return;
    icon->Picture.Reset(picture != nullptr ? picture->Clone() : nullptr);
    Paint(*icon);
}

bool X11Tray::IconRect(detail::TrayIconId id, RECT* rect) const {
    Icon* icon = FindIcon(id);
    if (icon == nullptr || !icon->Embedded || icon->Window == 0 || rect == nullptr) return false;
    int x = 0, y = 0;
    Window child = 0;
    bool ok = XTranslateCoordinates(FDisplay, icon->Window, FRoot, 0, 0, &x, &y, &child);
    FOwner.NoteQueuedEvents();
    if (!ok) return false;
    *rect = gdi::Rect(x, y, x + icon->Width, y + icon->Height);
    return true;
}

void X11Tray::Paint(Icon& icon) {
    if (icon.Window == 0 || !icon.Embedded) return;
    // A picture bigger than the slot the tray gave is scaled down; a smaller one is centred.
    int side = std::min(icon.Width, icon.Height);
    gdi::GdiHandle<gdi::Bitmap> fitted;
    const gdi::Bitmap* picture = icon.Picture.Get();
    if (picture != nullptr && side > 0 && (picture->Width() > icon.Width || picture->Height() > icon.Height)) {
        fitted.Reset(detail::FitTrayPicture(*picture, side));
        picture = fitted.Get();
    }
    if (icon.Argb)
        PaintArgb(icon, picture);
    else
        PaintOver(icon, picture);
    XFlush(FDisplay);
}

void X11Tray::PaintArgb(Icon& icon, const gdi::Bitmap* picture) {
    XClearWindow(FDisplay, icon.Window);
    if (picture == nullptr) return;
    int w = picture->Width(), h = picture->Height();
    // XDestroyImage would free the data: the image only borrows the bitmap's rows through a copy.
    auto* data = static_cast<char*>(std::malloc(size_t(w) * size_t(h) * 4));
    if (data == nullptr) return;
    for (int y = 0; y < h; ++y)
        std::memcpy(data + size_t(y) * size_t(w) * 4, picture->ScanLine(y), size_t(w) * 4);
    XImage* image = XCreateImage(FDisplay, DefaultVisual(FDisplay, DefaultScreen(FDisplay)), 32, ZPixmap, 0, data,
        unsigned(w), unsigned(h), 32, w * 4);
    if (image == nullptr) {
        std::free(data);
        return;
    }
    XPutImage(FDisplay, icon.Window, FOwner.GcFor(32, icon.Window), image, 0, 0, (icon.Width - w) / 2,
        (icon.Height - h) / 2, unsigned(w), unsigned(h));
    XDestroyImage(image);
}

void X11Tray::PaintOver(Icon& icon, const gdi::Bitmap* picture) {
    ::Display* dpy = FDisplay;
    XClearWindow(dpy, icon.Window);
    if (picture == nullptr) return;
    int w = picture->Width(), h = picture->Height();
    Pixmap pixmap = XCreatePixmap(dpy, icon.Window, unsigned(w), unsigned(h), 32);
    auto* data = static_cast<char*>(std::malloc(size_t(w) * size_t(h) * 4));
    if (data == nullptr) {
        XFreePixmap(dpy, pixmap);
        return;
    }
    for (int y = 0; y < h; ++y)
        std::memcpy(data + size_t(y) * size_t(w) * 4, picture->ScanLine(y), size_t(w) * 4);
    XImage* image = XCreateImage(
        dpy, DefaultVisual(dpy, DefaultScreen(dpy)), 32, ZPixmap, 0, data, unsigned(w), unsigned(h), 32, w * 4);
    if (image == nullptr) {
        std::free(data);
        XFreePixmap(dpy, pixmap);
        return;
    }
    XPutImage(dpy, pixmap, FOwner.GcFor(32, pixmap), image, 0, 0, 0, 0, unsigned(w), unsigned(h));
    XDestroyImage(image);
    XWindowAttributes attributes {};
    XGetWindowAttributes(dpy, icon.Window, &attributes);
    XRenderPictFormat* windowFormat = XRenderFindVisualFormat(dpy, attributes.visual);
    XRenderPictFormat* argb = XRenderFindStandardFormat(dpy, PictStandardARGB32);
    if (windowFormat != nullptr && argb != nullptr) {
        Picture source = XRenderCreatePicture(dpy, pixmap, argb, 0, nullptr);
        Picture target = XRenderCreatePicture(dpy, icon.Window, windowFormat, 0, nullptr);
        XRenderComposite(dpy, PictOpOver, source, 0, target, 0, 0, 0, 0, (icon.Width - w) / 2, (icon.Height - h) / 2,
            unsigned(w), unsigned(h));
        XRenderFreePicture(dpy, source);
        XRenderFreePicture(dpy, target);
    }
    XFreePixmap(dpy, pixmap);
    FOwner.NoteQueuedEvents();
}

void X11Tray::ReportInput(Icon& icon, const XEvent& event) {
    if (FSink == nullptr) return;
    InputEvent input;
    switch (event.type) {
    case ButtonPress:
    case ButtonRelease: {
        const XButtonEvent& b = event.xbutton;
        if (b.button == Button1)
            input.Button = MouseButton::Left;
        else if (b.button == Button2)
            input.Button = MouseButton::Middle;
        else if (b.button == Button3)
            input.Button = MouseButton::Right;
        else
            return;   // wheel
        input.Kind = event.type == ButtonPress ? InputKind::ButtonDown : InputKind::ButtonUp;
        input.ScreenPos = POINT {b.x_root, b.y_root};
        input.TimeMs = FOwner.EventTime(b.time);
        input.Modifiers = ((b.state & ShiftMask) ? ModShift : 0) | ((b.state & ControlMask) ? ModControl : 0)
            | ((b.state & Mod1Mask) ? ModAlt : 0);
        break;
    }
    case MotionNotify:
        input.Kind = InputKind::MouseMove;
        input.ScreenPos = POINT {event.xmotion.x_root, event.xmotion.y_root};
        input.TimeMs = FOwner.EventTime(event.xmotion.time);
        break;
    case LeaveNotify: {
        // The pointer's last known place is outside the icon now (the component polls it to see the exit).
        InputEvent moved;
        moved.Kind = InputKind::MouseMove;
        moved.ScreenPos = POINT {event.xcrossing.x_root, event.xcrossing.y_root};
        moved.TimeMs = FOwner.EventTime(event.xcrossing.time);
        detail::NoteAsyncInput(moved);
        input.Kind = InputKind::Leave;
        input.ScreenPos = moved.ScreenPos;
        input.TimeMs = moved.TimeMs;
        break;
    }
    default:
        return;
    }
    FSink->OnIconInput(icon.Id, input);
}

bool X11Tray::HandleEvent(XEvent& event) {
    // A new manager announces itself on the root window.
    if (event.type == ClientMessage && event.xclient.window == FRoot && event.xclient.message_type == FManagerAtom
        && XId(event.xclient.data.l[1]) == FSelection) {
        for (auto& icon : FIcons)
            DestroyWindow(*icon);
        FManager = XId(event.xclient.data.l[2]);
        if (FManager != 0) XSelectInput(FDisplay, FManager, StructureNotifyMask);
        if (FSink != nullptr) FSink->OnTrayAppeared();
        return true;
    }
    if (event.type == DestroyNotify && FManager != 0 && event.xdestroywindow.window == FManager) {
        FManager = 0;
        for (auto& icon : FIcons)
            DestroyWindow(*icon);
        if (FSink != nullptr) FSink->OnTrayGone();
        return true;
    }
    Icon* icon = FindWindow(event.xany.window);
    if (icon == nullptr) return false;
    switch (event.type) {
    case Expose:
        if (event.xexpose.count == 0) Paint(*icon);
        break;
    case ConfigureNotify:
        icon->Width = event.xconfigure.width;
        icon->Height = event.xconfigure.height;
        Paint(*icon);
        break;
    case ReparentNotify:
        icon->Embedded = event.xreparent.parent != FRoot;
        // Back on the root (a dying tray's save-set): never shown as a stray window.
        if (!icon->Embedded) XUnmapWindow(FDisplay, icon->Window);
        break;
    case MapNotify:
        Paint(*icon);
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == icon->Window) {
            icon->Window = 0;
            icon->Embedded = false;
        }
        break;
    case ButtonPress:
    case ButtonRelease:
    case MotionNotify:
    case LeaveNotify:
        ReportInput(*icon, event);
        break;
    default:
        break;   // XEmbed messages, enter, unmap
    }
    return true;
}

}
