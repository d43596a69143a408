// The x11 display's connection: opening, atoms, visuals, screen and work area, and the event dispatch.
#include "platform/user/display/x11/X11Backend.h"
#include "platform/user/display/x11/X11Tray.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xrender.h>
#include <X11/extensions/shape.h>
#undef None   // X macros that clash with our enumerators; X's None is 0
#undef CursorShape

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace korvex::user {

std::unique_ptr<Display> CreateX11Display() {
    return CreateX11Display(X11DisplayOptions {});
}

std::unique_ptr<Display> CreateX11Display(const X11DisplayOptions& options) {
    return x11::X11Display::Open(options);
}

}

namespace korvex::user::x11 {

namespace {

// Xlib's default error handler ends the process; requests on windows the window manager has just
// destroyed, or a focus change on a window not yet viewable, are normal here and are only counted.
int ErrorCount = 0;
int CountError(::Display*, XErrorEvent*) {
    ++ErrorCount;
    return 0;
}

// Xlib calls this when the connection breaks and ends the process if it returns; its default runs exit(),
// whose destructors would use the dead connection and the tray state already freed.
int ConnectionLost(::Display*) {
    EndAfterDisplayLost();
}

constexpr const char* AtomNames[] = {
    "WM_PROTOCOLS",
    "WM_DELETE_WINDOW",
    "WM_STATE",
    "WM_NAME",
    "_NET_WM_NAME",
    "_NET_WM_ICON_NAME",
    "UTF8_STRING",
    "_NET_WM_STATE",
    "_NET_WM_STATE_HIDDEN",
    "_NET_WM_STATE_MAXIMIZED_VERT",
    "_NET_WM_STATE_MAXIMIZED_HORZ",
    "_NET_WM_STATE_SKIP_TASKBAR",
    "_NET_WM_STATE_ABOVE",
    "_NET_ACTIVE_WINDOW",
    "_NET_SUPPORTED",
    "_NET_SUPPORTING_WM_CHECK",
    "_NET_WORKAREA",
    "_NET_CURRENT_DESKTOP",
    "_NET_WM_WINDOW_TYPE",
    "_NET_WM_WINDOW_TYPE_NORMAL",
    "_NET_WM_WINDOW_TYPE_POPUP_MENU",
    "_NET_WM_WINDOW_TYPE_TOOLTIP",
    "_NET_WM_PID",
    "_NET_WM_ICON",
    "_COMPTON_SHADOW",
    "_MOTIF_WM_HINTS",
    "CLIPBOARD",
    "TARGETS",
    "TEXT",
    "text/plain;charset=utf-8",
    "INCR",
    "TIMESTAMP",
    "KORVEX_TRANSFER",
    "XdndAware",
    "XdndEnter",
    "XdndPosition",
    "XdndStatus",
    "XdndLeave",
    "XdndDrop",
    "XdndFinished",
    "XdndSelection",
    "XdndTypeList",
    "XdndActionCopy",
    "text/uri-list",
};
static_assert(std::size(AtomNames) == size_t(AtomId::Count));

// Reads a property of 32-bit items (Xlib hands them over as longs).
std::vector<long> ReadLongs(::Display* display, Window window, Atom property, Atom type) {
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<long> values;
    if (XGetWindowProperty(display, window, property, 0, 1024, False, type, &actualType, &format, &count, &after, &data)
            == Success
        && data) {
        if (format == 32 && actualType == type) {
            auto* items = reinterpret_cast<long*>(data);
            values.assign(items, items + count);
        }
        XFree(data);
    }
    return values;
}

}

int ErrorsSeen() {
    return ErrorCount;
}

X11Display::X11Display(_XDisplay* display)
    : FDisplay(display) {
}

std::unique_ptr<X11Display> X11Display::Open(const X11DisplayOptions& options) {
    ::Display* display = XOpenDisplay(options.Name.empty() ? nullptr : options.Name.c_str());
    if (!display) return nullptr;
    std::unique_ptr<X11Display> result(new X11Display(display));
    if (!result->Initialise(options)) return nullptr;
    return result;
}

bool X11Display::Initialise(const X11DisplayOptions& options) {
    FTransferDeadlineMs = options.TransferDeadlineMs;
    XSetErrorHandler(CountError);
    XSetIOErrorHandler(ConnectionLost);
    ::Display* dpy = FDisplay;
    FScreen = DefaultScreen(dpy);
    FRoot = RootWindow(dpy, FScreen);
    FVisual = DefaultVisual(dpy, FScreen);
    FDepth = DefaultDepth(dpy, FScreen);

    XInternAtoms(dpy, const_cast<char**>(AtomNames), int(AtomId::Count), False, FAtoms.data());
    char name[32];
    std::snprintf(name, sizeof name, "_NET_WM_CM_S%d", FScreen);
    FCompositorSelection = XInternAtom(dpy, name, False);

    int eventBase = 0, errorBase = 0;
    FShape = XShapeQueryExtension(dpy, &eventBase, &errorBase);
    if (options.SharedMemory && XShmQueryExtension(dpy)) {
        FShm = true;   // confirmed on the first attach: a remote server refuses it
    }

    // An ARGB visual is a 32-bit TrueColor visual whose render format has an alpha channel.
    XVisualInfo wanted {};
    wanted.screen = FScreen;
    wanted.depth = 32;
    wanted.c_class = TrueColor;
    int count = 0;
    if (XVisualInfo* infos
        = XGetVisualInfo(dpy, VisualScreenMask | VisualDepthMask | VisualClassMask, &wanted, &count)) {
        for (int i = 0; i < count && !FArgbVisual; ++i) {
            XRenderPictFormat* format = XRenderFindVisualFormat(dpy, infos[i].visual);
            if (format && format->type == PictTypeDirect && format->direct.alphaMask) FArgbVisual = infos[i].visual;
        }
        XFree(infos);
    }

    XSetWindowAttributes attributes {};
    attributes.event_mask = PropertyChangeMask;
    FHelper = XCreateWindow(dpy, FRoot, -10, -10, 1, 1, 0, 0, InputOnly, CopyFromParent, CWEventMask, &attributes);
    XSelectInput(dpy, FRoot, PropertyChangeMask);   // the work area may change

    // Auto-repeat without the release before each repeated press, as Windows reports it.
    Bool supported = False;
    XkbSetDetectableAutoRepeat(dpy, True, &supported);

    if (XSupportsLocale()) {
        XSetLocaleModifiers("");
        FInputMethod = XOpenIM(dpy, nullptr, nullptr, nullptr);
        if (!FInputMethod) {
            XSetLocaleModifiers("@im=none");
            FInputMethod = XOpenIM(dpy, nullptr, nullptr, nullptr);
        }
    }

    FWakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    FPollFd = epoll_create1(EPOLL_CLOEXEC);
    if (FWakeFd < 0 || FPollFd < 0) return false;
    epoll_event watch {};
    watch.events = EPOLLIN;
    watch.data.fd = ConnectionNumber(dpy);
    epoll_ctl(FPollFd, EPOLL_CTL_ADD, ConnectionNumber(dpy), &watch);
    watch.data.fd = FWakeFd;
    epoll_ctl(FPollFd, EPOLL_CTL_ADD, FWakeFd, &watch);
    XFlush(dpy);
    return true;
}

X11Display::~X11Display() {
    if (FDisplay) {
        FTray.reset();
        while (!FSurfaces.empty())
            DestroySurface(FSurfaces.begin()->first);
        for (auto& [shape, cursor] : FCursors)
            XFreeCursor(FDisplay, cursor);
        for (auto& [depth, gc] : FGcs)
            XFreeGC(FDisplay, gc);
        if (FInputMethod) XCloseIM(FInputMethod);
        if (FHelper) XDestroyWindow(FDisplay, FHelper);
        if (FConfineWindow) XDestroyWindow(FDisplay, FConfineWindow);
        XCloseDisplay(FDisplay);
    }
    if (FPollFd >= 0) close(FPollFd);
    if (FWakeFd >= 0) close(FWakeFd);
}

gdi::SIZE X11Display::ScreenSize() const {
    return gdi::SIZE {DisplayWidth(FDisplay, FScreen), DisplayHeight(FDisplay, FScreen)};
}

gdi::RECT X11Display::WorkArea() const {
    gdi::SIZE screen = ScreenSize();
    gdi::RECT area = gdi::Rect(0, 0, screen.cx, screen.cy);
    // Four numbers a desktop: x, y, width, height.
    std::vector<long> values = ReadLongs(FDisplay, FRoot, AtomOf(AtomId::NetWorkarea), XA_CARDINAL);
    std::vector<long> current = ReadLongs(FDisplay, FRoot, AtomOf(AtomId::NetCurrentDesktop), XA_CARDINAL);
    size_t at = current.empty() || current[0] < 0 ? 0 : size_t(current[0]) * 4;
    if (at + 4 > values.size()) at = 0;
    if (values.size() >= at + 4 && values[at + 2] > 0 && values[at + 3] > 0)
        area = gdi::Bounds(int(values[at]), int(values[at + 1]), int(values[at + 2]), int(values[at + 3]));
    NoteQueuedEvents();
    return area;
}

bool X11Display::HasCompositor() const {
    bool running = XGetSelectionOwner(FDisplay, FCompositorSelection) != 0;
    NoteQueuedEvents();
    return running;
}

bool X11Display::WindowManagerSupports(AtomId hint) const {
    std::vector<long> check = ReadLongs(FDisplay, FRoot, AtomOf(AtomId::NetSupportingWmCheck), XA_WINDOW);
    if (check.empty() || check[0] == 0) return false;
    for (long atom : ReadLongs(FDisplay, FRoot, AtomOf(AtomId::NetSupported), XA_ATOM))
        if (XId(atom) == AtomOf(hint)) return true;
    return false;
}

Surface* X11Display::Find(SurfaceId id) const {
    auto found = FSurfaces.find(id);
    return found == FSurfaces.end() ? nullptr : found->second.get();
}

Surface* X11Display::FindWindow(XId window) const {
    auto found = FByWindow.find(window);
    return found == FByWindow.end() ? nullptr : Find(found->second);
}

XId X11Display::NativeWindow(SurfaceId id) const {
    Surface* surface = Find(id);
    return surface ? surface->Window : 0;
}

// X timestamps are server milliseconds in 32 bits; they wrap after 49 days.
std::uint64_t X11Display::EventTime(unsigned long serverTime) {
    serverTime &= 0xFFFFFFFFul;
    if (serverTime < FLastServerTime && FLastServerTime - serverTime > 0x80000000ul) {
        FTimeEpoch += std::uint64_t(1) << 32;
        FLastServerTime = serverTime;
    } else if (serverTime > FLastServerTime) {
        FLastServerTime = serverTime;
    }
    return FTimeEpoch + serverTime;
}

// Round trips read whatever events have arrived into Xlib's queue, where a poll on the socket no longer
// sees them: the wake descriptor keeps EventFd readable until Pump has handled them.
void X11Display::NoteQueuedEvents() const {
    if (XQLength(FDisplay) > 0) {
        std::uint64_t one = 1;
        [[maybe_unused]] ssize_t written = write(FWakeFd, &one, sizeof one);
    }
}

void X11Display::Bell() {
    XBell(FDisplay, 0);
    XFlush(FDisplay);
}

// Nothing asked of the server since the last flush leaves nothing to send: no flush, which would also look
// for events on the connection.
void X11Display::Flush() {
    const unsigned long next = XNextRequest(FDisplay);
    if (next != FFlushedRequest) {
        XFlush(FDisplay);
        FFlushedRequest = next;
    }
    NoteQueuedEvents();
}

void X11Display::Pump() {
    std::uint64_t drained = 0;
    [[maybe_unused]] ssize_t got = read(FWakeFd, &drained, sizeof drained);
    while (XPending(FDisplay) > 0) {
        XEvent event;
        XNextEvent(FDisplay, &event);
        if (XFilterEvent(&event, 0)) continue;   // taken by the input method (compose sequences)
        Dispatch(event);
    }
    FinishPointerRound();
    NoteQueuedEvents();
}

void X11Display::Dispatch(XEvent& event) {
    if (FTray && FTray->HandleEvent(event)) return;
    switch (event.type) {
    case Expose:
        if (Surface* surface = FindWindow(event.xexpose.window); surface && FSink) {
            const XExposeEvent& e = event.xexpose;
            FSink->OnExpose(surface->Id, gdi::Bounds(e.x, e.y, e.width, e.height));
        }
        break;
    case ConfigureNotify:
        OnConfigure(event);
        break;
    case MapNotify:
        OnMapChange(event, true);
        break;
    case UnmapNotify:
        OnMapChange(event, false);
        break;
    case PropertyNotify:
        OnPropertyChange(event);
        break;
    case ClientMessage:
        if (OnDndMessage(event)) break;
        OnClientMessage(event);
        break;
    case ButtonPress:
        OnButton(event, true);
        break;
    case ButtonRelease:
        OnButton(event, false);
        break;
    case MotionNotify:
        OnMotion(event);
        break;
    case EnterNotify:
        OnCrossing(event, true);
        break;
    case LeaveNotify:
        OnCrossing(event, false);
        break;
    case KeyPress:
        OnKey(event, true);
        break;
    case KeyRelease:
        OnKey(event, false);
        break;
    case FocusIn:
        OnFocus(event, true);
        break;
    case FocusOut:
        OnFocus(event, false);
        break;
    case SelectionRequest:
        OnSelectionRequest(event);
        break;
    case SelectionClear:
        OnSelectionClear(event);
        break;
    case MappingNotify:
        if (event.xmapping.request != MappingPointer) XRefreshKeyboardMapping(&event.xmapping);
        break;
    case ReparentNotify:
        if (Surface* surface = FindWindow(event.xreparent.window))
            surface->Reparented = event.xreparent.parent != FRoot;
        break;
    default:
        break;
    }
}

}
