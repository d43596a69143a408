// The x11 display's surfaces: window creation, window manager hints, placement, state, shape and stacking.
#include "platform/user/display/x11/X11Backend.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/shape.h>
#undef None   // X macros that clash with our enumerators; X's None is 0
#undef CursorShape

#include <unistd.h>

#include <algorithm>
#include <climits>

namespace korvex::user::x11 {

namespace {

constexpr long SurfaceEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask
    | LeaveWindowMask | KeyPressMask | KeyReleaseMask | StructureNotifyMask | FocusChangeMask | PropertyChangeMask;

// _NET_WM_STATE client messages
constexpr long NetWmStateRemove = 0;
constexpr long NetWmStateAdd = 1;

// _MOTIF_WM_HINTS: flags, functions, decorations, input mode, status; flag 2 = decorations given.
struct MotifHints {
    unsigned long Flags = 2;
    unsigned long Functions = 0;
    unsigned long Decorations = 0;
    long InputMode = 0;
    unsigned long State = 0;
};

// X sizes are unsigned 16-bit and must not be 0.
int ClampSize(int size) {
    return std::clamp(size, 1, 32767);
}

short ClampCoordinate(long value) {
    return short(std::clamp(value, long(SHRT_MIN), long(SHRT_MAX)));
}

}

bool X11Display::CreateSurface(SurfaceId id, const SurfaceOptions& options) {
    if (id == 0 || Find(id)) return false;
    auto surface = std::make_unique<Surface>();
    surface->Id = id;
    surface->Kind = options.Kind;
    surface->Bounds = options.Bounds;
    surface->Bounds.right = surface->Bounds.left + ClampSize(options.Bounds.Width());
    surface->Bounds.bottom = surface->Bounds.top + ClampSize(options.Bounds.Height());
    surface->SkipTaskbar = options.SkipTaskbar;
    surface->TopMost = options.TopMost;

    Visual* visual = static_cast<Visual*>(FVisual);
    surface->Depth = FDepth;
    XSetWindowAttributes attributes {};
    unsigned long mask = CWBackPixmap | CWBorderPixel | CWBitGravity | CWEventMask | CWOverrideRedirect;
    attributes.background_pixmap = 0;   // the picture pixmap is set once it exists
    attributes.border_pixel = 0;
    attributes.bit_gravity = NorthWestGravity;
    attributes.event_mask = SurfaceEvents;
    attributes.override_redirect = options.Kind != SurfaceKind::Normal;
    if (options.Kind != SurfaceKind::Normal) {
        attributes.save_under = True;
        mask |= CWSaveUnder;
    }
    if (options.Kind == SurfaceKind::Layered && FArgbVisual && HasCompositor()) {
        // A visual other than the parent's needs its own colormap and border pixel, or X answers BadMatch.
        visual = static_cast<Visual*>(FArgbVisual);
        surface->Depth = 32;
        surface->Argb = true;
        surface->Colormap = XCreateColormap(FDisplay, FRoot, visual, AllocNone);
        attributes.colormap = surface->Colormap;
        mask |= CWColormap;
    }

    const gdi::RECT& b = surface->Bounds;
    surface->Window = XCreateWindow(FDisplay, FRoot, b.left, b.top, unsigned(b.Width()), unsigned(b.Height()), 0,
        surface->Depth, InputOutput, visual, mask, &attributes);
    if (!surface->Window) return false;
    EnsurePicture(*surface, b.Width(), b.Height());

    Surface& s = *surface;
    FByWindow[s.Window] = id;
    FSurfaces[id] = std::move(surface);
    SetWindowTypeAndHints(s, options);
    SetSurfaceTitle(id, options.Title);

    if (FInputMethod && options.Kind == SurfaceKind::Normal) {
        s.InputContext = XCreateIC(FInputMethod, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow,
            s.Window, XNFocusWindow, s.Window, nullptr);
        long filter = 0;
        if (s.InputContext && !XGetICValues(s.InputContext, XNFilterEvents, &filter, nullptr))
            XSelectInput(FDisplay, s.Window, SurfaceEvents | filter);
    }
    return true;
}

void X11Display::SetWindowTypeAndHints(Surface& surface, const SurfaceOptions& options) {
    Window window = surface.Window;
    Atom type = AtomOf(AtomId::NetWmWindowTypeNormal);
    if (options.Kind == SurfaceKind::Popup) type = AtomOf(AtomId::NetWmWindowTypePopupMenu);
    if (options.Kind == SurfaceKind::Layered) type = AtomOf(AtomId::NetWmWindowTypeTooltip);
    XChangeProperty(FDisplay, window, AtomOf(AtomId::NetWmWindowType), XA_ATOM, 32, PropModeReplace,
        reinterpret_cast<unsigned char*>(&type), 1);

    XClassHint classHint {};
    classHint.res_name = const_cast<char*>("korvex");
    classHint.res_class = const_cast<char*>("Korvex");
    XSetClassHint(FDisplay, window, &classHint);
    long pid = long(getpid());
    XChangeProperty(FDisplay, window, AtomOf(AtomId::NetWmPid), XA_CARDINAL, 32, PropModeReplace,
        reinterpret_cast<unsigned char*>(&pid), 1);
    // An owned window stays above its owner. One whose owner shows nothing (the application's hidden window)
    // is transient for its group, so the window manager keeps it above the group's main window too.
    if (Surface* owner = Find(options.Owner))
        XSetTransientForHint(FDisplay, window, owner->Window);
    else if (options.OwnedByHidden)
        XSetTransientForHint(FDisplay, window, FRoot);
    WriteNetWmIcon(window, options.Icons);
    WriteShadow(surface, options.DropShadow);
    if (options.Kind != SurfaceKind::Normal) return;

    // Other programs may drag files here (XDND version 5); whether a window takes them is asked as they move.
    Atom dndVersion = 5;
    XChangeProperty(FDisplay, window, AtomOf(AtomId::XdndAware), XA_ATOM, 32, PropModeReplace,
        reinterpret_cast<unsigned char*>(&dndVersion), 1);
    Atom protocols[] = {AtomOf(AtomId::WmDeleteWindow)};
    XSetWMProtocols(FDisplay, window, protocols, 1);
    MotifHints motif;   // no decorations: the program draws its own frame
    XChangeProperty(FDisplay, window, AtomOf(AtomId::MotifWmHints), AtomOf(AtomId::MotifWmHints), 32, PropModeReplace,
        reinterpret_cast<unsigned char*>(&motif), 5);
    XWMHints hints {};
    hints.flags = InputHint | StateHint | WindowGroupHint;
    hints.input = True;
    hints.initial_state = NormalState;
    hints.window_group = FHelper;   // every window of ours is of one group
    XSetWMHints(FDisplay, window, &hints);
    // Our position is the window's own, not a frame's: static gravity.
    XSizeHints size {};
    size.flags = USPosition | USSize | PWinGravity;
    size.x = surface.Bounds.left;
    size.y = surface.Bounds.top;
    size.width = surface.Bounds.Width();
    size.height = surface.Bounds.Height();
    size.win_gravity = StaticGravity;
    XSetWMNormalHints(FDisplay, window, &size);
    WriteNetWmState(surface);
}

// _NET_WM_ICON: width, height and the ARGB pixels of each icon in turn, as 32-bit cardinals (which Xlib
// hands over as longs).
void X11Display::WriteNetWmIcon(XId window, const std::vector<SurfaceIcon>& icons) {
    std::vector<long> cardinals;
    for (const SurfaceIcon& icon : icons) {
        if (icon.Width <= 0 || icon.Height <= 0 || icon.Argb.size() != std::size_t(icon.Width) * icon.Height) continue;
        cardinals.push_back(icon.Width);
        cardinals.push_back(icon.Height);
        cardinals.insert(cardinals.end(), icon.Argb.begin(), icon.Argb.end());
    }
    if (cardinals.empty()) {
        XDeleteProperty(FDisplay, window, AtomOf(AtomId::NetWmIcon));
        return;
    }
    XChangeProperty(FDisplay, window, AtomOf(AtomId::NetWmIcon), XA_CARDINAL, 32, PropModeReplace,
        reinterpret_cast<unsigned char*>(cardinals.data()), int(cardinals.size()));
}

// Compositors shadow every window unless told otherwise; popups and layered windows get a shadow only when
// their class asks for one (a managed window's frame is the window manager's business).
void X11Display::WriteShadow(Surface& surface, bool dropShadow) {
    surface.DropShadow = dropShadow;
    if (dropShadow || surface.Kind == SurfaceKind::Normal) {
        XDeleteProperty(FDisplay, surface.Window, AtomOf(AtomId::CompositorShadow));
        return;
    }
    long none = 0;
    XChangeProperty(FDisplay, surface.Window, AtomOf(AtomId::CompositorShadow), XA_CARDINAL, 32, PropModeReplace,
        reinterpret_cast<unsigned char*>(&none), 1);
}

void X11Display::SetSurfaceShadow(SurfaceId id, bool dropShadow) {
    if (Surface* surface = Find(id); surface && surface->DropShadow != dropShadow) WriteShadow(*surface, dropShadow);
}

void X11Display::SetSurfaceIcons(SurfaceId id, const std::vector<SurfaceIcon>& icons) {
    if (Surface* surface = Find(id)) {
        WriteNetWmIcon(surface->Window, icons);
        XFlush(FDisplay);
    }
}

void X11Display::DestroySurface(SurfaceId id) {
    Surface* surface = Find(id);
    if (!surface) return;
    if (FCaptureWindow == surface->Window) {
        FCaptureWindow = 0;
        ApplyPointerGrab();   // a confinement outlives the window that captured
    }
    if (FPointerSurface == id) FPointerSurface = 0;
    if (surface->InputContext) XDestroyIC(surface->InputContext);
    surface->Shm.reset();
    XDestroyWindow(FDisplay, surface->Window);
    if (surface->Picture) XFreePixmap(FDisplay, surface->Picture);
    if (surface->Colormap) XFreeColormap(FDisplay, surface->Colormap);
    FByWindow.erase(surface->Window);
    FSurfaces.erase(id);
}

void X11Display::ShowSurface(SurfaceId id, bool visible) {
    Surface* surface = Find(id);
    if (!surface || surface->Visible == visible) return;
    surface->Visible = visible;
    if (surface->Kind != SurfaceKind::Normal) {
        if (visible)
            XMapRaised(FDisplay, surface->Window);
        else
            XUnmapWindow(FDisplay, surface->Window);
        return;
    }
    if (!visible) {
        // Withdraws the window even while iconified (a plain unmap would leave the icon).
        XWithdrawWindow(FDisplay, surface->Window, FScreen);
        return;
    }
    // Without a window manager nobody keeps an icon: a window shown minimized stays unmapped until restored.
    if (surface->State == SurfaceState::Minimized && !WindowManagerSupports(AtomId::NetWmState)) return;
    XWMHints hints {};
    hints.flags = InputHint | StateHint | WindowGroupHint;
    hints.input = True;
    hints.initial_state = surface->State == SurfaceState::Minimized ? IconicState : NormalState;
    hints.window_group = FHelper;
    XSetWMHints(FDisplay, surface->Window, &hints);
    WriteNetWmState(*surface);
    XMapWindow(FDisplay, surface->Window);
}

void X11Display::MoveSurface(SurfaceId id, const gdi::RECT& bounds) {
    Surface* surface = Find(id);
    if (!surface) return;
    gdi::RECT wanted = gdi::Bounds(bounds.left, bounds.top, ClampSize(bounds.Width()), ClampSize(bounds.Height()));
    if (wanted == surface->Bounds) return;
    bool resized = wanted.Width() != surface->Bounds.Width() || wanted.Height() != surface->Bounds.Height();
    surface->Bounds = wanted;
    if (surface->Requested.size() >= 16) surface->Requested.erase(surface->Requested.begin());
    surface->Requested.push_back(wanted);
    if (resized) EnsurePicture(*surface, wanted.Width(), wanted.Height());
    XMoveResizeWindow(
        FDisplay, surface->Window, wanted.left, wanted.top, unsigned(wanted.Width()), unsigned(wanted.Height()));
}

void X11Display::SetSurfaceTitle(SurfaceId id, const std::string& title) {
    Surface* surface = Find(id);
    if (!surface) return;
    auto* bytes = reinterpret_cast<const unsigned char*>(title.data());
    for (AtomId property : {AtomId::WmName, AtomId::NetWmName, AtomId::NetWmIconName})
        XChangeProperty(FDisplay, surface->Window, AtomOf(property), AtomOf(AtomId::Utf8String), 8, PropModeReplace,
            bytes, int(title.size()));
}

// Before the window is mapped the window manager reads _NET_WM_STATE from the property; afterwards only
// client messages to the root window change it.
void X11Display::WriteNetWmState(Surface& surface) {
    std::vector<Atom> states;
    if (surface.State == SurfaceState::Maximized) {
        states.push_back(AtomOf(AtomId::NetWmStateMaximizedVert));
        states.push_back(AtomOf(AtomId::NetWmStateMaximizedHorz));
    }
    if (!InTaskbar(surface, surface.State)) states.push_back(AtomOf(AtomId::NetWmStateSkipTaskbar));
    if (surface.TopMost) states.push_back(AtomOf(AtomId::NetWmStateAbove));
    XChangeProperty(FDisplay, surface.Window, AtomOf(AtomId::NetWmState), XA_ATOM, 32, PropModeReplace,
        reinterpret_cast<unsigned char*>(states.data()), int(states.size()));
}

// A window kept out of the task bar (an owned one) gets an entry while it is minimized: without a frame of
// its own the entry is the only way back to it.
bool X11Display::InTaskbar(const Surface& surface, SurfaceState state) {
    return !surface.SkipTaskbar || state == SurfaceState::Minimized;
}

void X11Display::SyncTaskbarEntry(Surface& surface, SurfaceState old) {
    const bool shown = InTaskbar(surface, surface.State);
    if (shown != InTaskbar(surface, old)) SendNetWmState(surface, !shown, AtomId::NetWmStateSkipTaskbar);
}

void X11Display::SendNetWmState(Surface& surface, bool add, AtomId first, AtomId second) {
    if (!surface.Visible) {
        WriteNetWmState(surface);
        return;
    }
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = surface.Window;
    event.xclient.message_type = AtomOf(AtomId::NetWmState);
    event.xclient.format = 32;
    event.xclient.data.l[0] = add ? NetWmStateAdd : NetWmStateRemove;
    event.xclient.data.l[1] = long(AtomOf(first));
    event.xclient.data.l[2] = second == AtomId::Count ? 0 : long(AtomOf(second));
    event.xclient.data.l[3] = 1;   // a normal application
    XSendEvent(FDisplay, FRoot, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

void X11Display::SetSurfaceState(SurfaceId id, SurfaceState state) {
    Surface* surface = Find(id);
    if (!surface || surface->State == state) return;
    SurfaceState old = surface->State;
    surface->State = state;   // set first, so the window manager's echo is not reported as a change
    bool managed = WindowManagerSupports(AtomId::NetWmState);
    SyncTaskbarEntry(*surface, old);
    if (old == SurfaceState::Minimized && surface->Visible) XMapWindow(FDisplay, surface->Window);
    if (old == SurfaceState::Maximized)
        SendNetWmState(*surface, false, AtomId::NetWmStateMaximizedVert, AtomId::NetWmStateMaximizedHorz);
    if (state == SurfaceState::Maximized)
        SendNetWmState(*surface, true, AtomId::NetWmStateMaximizedVert, AtomId::NetWmStateMaximizedHorz);
    if (state == SurfaceState::Minimized && surface->Visible) {
        // Without a window manager nobody keeps an icon: the window is only unmapped.
        if (managed)
            XIconifyWindow(FDisplay, surface->Window, FScreen);
        else
            XUnmapWindow(FDisplay, surface->Window);
    }
    NoteQueuedEvents();
}

void X11Display::SetSurfaceShape(SurfaceId id, const gdi::Region* shape) {
    Surface* surface = Find(id);
    if (!surface || !FShape) return;
    if (!shape) {
        XShapeCombineMask(FDisplay, surface->Window, ShapeBounding, 0, 0, 0, ShapeSet);
        return;
    }
    // X rectangles have 16-bit coordinates; our regions are banded, which is X's YXBanded order.
    const std::vector<gdi::RECT>& rects = shape->Shape().Rects();
    std::vector<XRectangle> out;
    out.reserve(rects.size());
    for (const gdi::RECT& r : rects) {
        XRectangle x {};
        x.x = ClampCoordinate(r.left);
        x.y = ClampCoordinate(r.top);
        x.width = (unsigned short)std::clamp(long(r.right) - x.x, 0L, long(USHRT_MAX));
        x.height = (unsigned short)std::clamp(long(r.bottom) - x.y, 0L, long(USHRT_MAX));
        if (x.width && x.height) out.push_back(x);
    }
    XShapeCombineRectangles(
        FDisplay, surface->Window, ShapeBounding, 0, 0, out.data(), int(out.size()), ShapeSet, YXBanded);
}

void X11Display::RaiseSurface(SurfaceId id, SurfaceId below) {
    Surface* surface = Find(id);
    if (!surface) return;
    Surface* above = Find(below);
    if (!above) {
        XRaiseWindow(FDisplay, surface->Window);
        return;
    }
    // Inside window manager frames the two windows are not siblings; this asks the manager instead.
    XWindowChanges changes {};
    changes.sibling = above->Window;
    changes.stack_mode = Below;
    XReconfigureWMWindow(FDisplay, surface->Window, FScreen, CWSibling | CWStackMode, &changes);
    NoteQueuedEvents();
}

void X11Display::ActivateSurface(SurfaceId id) {
    Surface* surface = Find(id);
    if (!surface) return;
    if (WindowManagerSupports(AtomId::NetActiveWindow)) {
        XEvent event {};
        event.xclient.type = ClientMessage;
        event.xclient.window = surface->Window;
        event.xclient.message_type = AtomOf(AtomId::NetActiveWindow);
        event.xclient.format = 32;
        event.xclient.data.l[0] = 1;   // from an application
        event.xclient.data.l[1] = long(FLastServerTime);
        XSendEvent(FDisplay, FRoot, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    } else {
        XRaiseWindow(FDisplay, surface->Window);
        // The latest activation wins: one still waiting for its window to map is dropped.
        for (auto& [otherId, other] : FSurfaces)
            if (otherId != id) other->FocusWhenMapped = false;
        // Focus on a window that is not viewable yet fails with BadMatch: wait for its MapNotify.
        if (surface->Viewable)
            XSetInputFocus(FDisplay, surface->Window, RevertToParent, CurrentTime);
        else
            surface->FocusWhenMapped = true;
    }
    NoteQueuedEvents();
}

// ---------------------------------------------------------------------------------------------------------
// Reports from the server and the window manager

void X11Display::OnConfigure(const XEvent& event) {
    const XConfigureEvent& e = event.xconfigure;
    Surface* surface = FindWindow(e.window);
    if (!surface || e.event != e.window) return;
    int x = e.x, y = e.y;
    // A real ConfigureNotify of a reparented window is relative to the frame; synthetic ones (ICCCM) are
    // sent by the window manager in root coordinates.
    if (!e.send_event && surface->Reparented) {
        Window child = 0;
        XTranslateCoordinates(FDisplay, surface->Window, FRoot, 0, 0, &x, &y, &child);
    }
    gdi::RECT bounds = gdi::Bounds(x, y, e.width, e.height);
    auto& requested = surface->Requested;
    auto mine = std::find(requested.begin(), requested.end(), bounds);
    if (mine != requested.end()) {
        requested.erase(requested.begin(), mine + 1);
        return;
    }
    if (bounds == surface->Bounds) return;
    if (bounds.Width() != surface->Bounds.Width() || bounds.Height() != surface->Bounds.Height())
        EnsurePicture(*surface, bounds.Width(), bounds.Height());
    surface->Bounds = bounds;
    if (FSink) FSink->OnMovedByUser(surface->Id, bounds);
}

void X11Display::OnMapChange(const XEvent& event, bool mapped) {
    Surface* surface = FindWindow(mapped ? event.xmap.window : event.xunmap.window);
    if (!surface) return;
    surface->Viewable = mapped;
    if (mapped && surface->FocusWhenMapped) {
        surface->FocusWhenMapped = false;
        XSetInputFocus(FDisplay, surface->Window, RevertToParent, CurrentTime);
    }
}

SurfaceState X11Display::ReadState(const Surface& surface) const {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool iconic = false, hidden = false, maxVert = false, maxHorz = false;
    if (XGetWindowProperty(FDisplay, surface.Window, AtomOf(AtomId::WmState), 0, 2, False, AtomOf(AtomId::WmState),
            &type, &format, &count, &after, &data)
            == Success
        && data) {
        if (format == 32 && count >= 1) iconic = reinterpret_cast<long*>(data)[0] == IconicState;
        XFree(data);
    }
    data = nullptr;
    if (XGetWindowProperty(FDisplay, surface.Window, AtomOf(AtomId::NetWmState), 0, 64, False, XA_ATOM, &type, &format,
            &count, &after, &data)
            == Success
        && data) {
        auto* atoms = reinterpret_cast<Atom*>(data);
        for (unsigned long i = 0; format == 32 && i < count; ++i) {
            hidden |= atoms[i] == AtomOf(AtomId::NetWmStateHidden);
            maxVert |= atoms[i] == AtomOf(AtomId::NetWmStateMaximizedVert);
            maxHorz |= atoms[i] == AtomOf(AtomId::NetWmStateMaximizedHorz);
        }
        XFree(data);
    }
    if (iconic || hidden) return SurfaceState::Minimized;
    return maxVert && maxHorz ? SurfaceState::Maximized : SurfaceState::Normal;
}

void X11Display::ReportState(Surface& surface, SurfaceState state) {
    if (surface.State == state) return;
    const SurfaceState old = surface.State;
    surface.State = state;
    SyncTaskbarEntry(surface, old);
    if (FSink) FSink->OnStateChanged(surface.Id, state);
}

void X11Display::OnPropertyChange(const XEvent& event) {
    const XPropertyEvent& e = event.xproperty;
    Surface* surface = FindWindow(e.window);
    if (!surface || surface->Kind != SurfaceKind::Normal) return;
    if (e.atom != AtomOf(AtomId::WmState) && e.atom != AtomOf(AtomId::NetWmState)) return;
    // Our own _NET_WM_STATE writes before mapping echo here too: only the manager's WM_STATE makes it real.
    if (!surface->Visible) return;
    // A window no manager keeps (none runs, or it is iconified without one) has no WM_STATE: its state is ours.
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const bool managed = XGetWindowProperty(FDisplay, surface->Window, AtomOf(AtomId::WmState), 0, 1, False,
                             AtomOf(AtomId::WmState), &type, &format, &count, &after, &data)
            == Success
        && type != 0;
    if (data) XFree(data);
    if (!managed) return;
    ReportState(*surface, ReadState(*surface));
}

void X11Display::OnClientMessage(const XEvent& event) {
    const XClientMessageEvent& e = event.xclient;
    Surface* surface = FindWindow(e.window);
    if (!surface || e.message_type != AtomOf(AtomId::WmProtocols) || e.format != 32) return;
    if (XId(e.data.l[0]) == AtomOf(AtomId::WmDeleteWindow) && FSink) FSink->OnCloseRequest(surface->Id);
}

// ---------------------------------------------------------------------------------------------------------
// Cursors

XId X11Display::FontCursor(CursorShape shape) {
    auto found = FCursors.find(shape);
    if (found != FCursors.end()) return found->second;
    unsigned glyph = XC_left_ptr;
    switch (shape) {
    case CursorShape::Arrow:
        glyph = XC_left_ptr;
        break;
    case CursorShape::IBeam:
        glyph = XC_xterm;
        break;
    case CursorShape::Wait:
        glyph = XC_watch;
        break;
    case CursorShape::Cross:
        glyph = XC_crosshair;
        break;
    case CursorShape::SizeNWSE:
        glyph = XC_bottom_right_corner;
        break;
    case CursorShape::SizeNESW:
        glyph = XC_bottom_left_corner;
        break;
    case CursorShape::SizeWE:
        glyph = XC_sb_h_double_arrow;
        break;
    case CursorShape::SizeNS:
        glyph = XC_sb_v_double_arrow;
        break;
    case CursorShape::SizeAll:
        glyph = XC_fleur;
        break;
    case CursorShape::No:
        glyph = XC_X_cursor;
        break;   // the cursor font has no barred circle
    case CursorShape::Hand:
        glyph = XC_hand2;
        break;
    }
    XId cursor = XCreateFontCursor(FDisplay, glyph);
    FCursors[shape] = cursor;
    return cursor;
}

void X11Display::SetCursor(SurfaceId id, CursorShape shape) {
    if (Surface* surface = Find(id)) XDefineCursor(FDisplay, surface->Window, FontCursor(shape));
}

}
