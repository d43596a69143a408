// The x11 display on Xvfb: pictures, shapes, layered windows, window manager hints and reports.
#include "platform/user/display/x11/X11Display.h"
#include "platform/user/display/x11/X11Backend.h"
#include "support/X11TestKit.h"

#include "platform/gdi/Region.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef None
#undef CursorShape

using namespace korvex;
using namespace korvex::e2e;
using korvex::user::SurfaceKind;

namespace {

// A picture where every pixel differs from its neighbours, so a shifted or partial upload shows.
gdi::GdiHandle<gdi::Bitmap> Pattern(int width, int height) {
    gdi::GdiHandle<gdi::Bitmap> bitmap(gdi::Bitmap::Create(width, height, gdi::PixelFormat::pf32bit));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.Get()->SetPixelAt(x, y, gdi::RGB(x * 3, y * 4, 0x80 + (x ^ y)));
    return bitmap;
}

gdi::GdiHandle<gdi::Bitmap> Capture(user::Display& display, const gdi::RECT& rect) {
    return gdi::GdiHandle<gdi::Bitmap>(display.CaptureScreen(rect));
}

// Count of pixels of `rect` (picture coordinates) where the capture differs from the picture.
int Differences(const gdi::Bitmap& picture, const gdi::Bitmap& capture, const gdi::RECT& rect) {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            count += picture.PixelAt(x, y) != capture.PixelAt(x, y);
    return count;
}

user::x11::X11Display& Native(user::Display& display) {
    return dynamic_cast<user::x11::X11Display&>(display);
}

// A property's items: bytes for format 8, longs for format 32 (as Xlib hands them over).
template <class T>
std::vector<T> Property(::Display* connection, Window window, const char* name) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<T> items;
    XGetWindowProperty(connection, window, XInternAtom(connection, name, False), 0, 1024, False, AnyPropertyType, &type,
        &format, &count, &after, &data);
    if (data && format == int(sizeof(T) == 1 ? 8 : 32))
        items.assign(reinterpret_cast<T*>(data), reinterpret_cast<T*>(data) + count);
    if (data) XFree(data);
    return items;
}

std::string Utf8Property(::Display* connection, Window window, const char* name) {
    std::vector<char> bytes = Property<char>(connection, window, name);
    return std::string(bytes.begin(), bytes.end());
}

}

class X11Present : public X11Fixture, public ::testing::WithParamInterface<bool> { };

TEST_P(X11Present, ShowsExactlyTheDirtyRectanglesOfTheStore) {
    Screen = Open(GetParam());
    Screen->SetSink(&Sink);
    EXPECT_EQ(Native(*Screen).UsesSharedMemory(), GetParam());
    gdi::RECT bounds = gdi::Bounds(40, 30, 80, 60);
    ShowSurface(1, bounds);
    auto picture = Pattern(80, 60);

    Screen->Present(1, *picture.Get(), {gdi::Rect(0, 0, 40, 60)});
    auto shot = Capture(*Screen, bounds);
    ASSERT_TRUE(shot);
    EXPECT_EQ(Differences(*picture.Get(), *shot.Get(), gdi::Rect(0, 0, 40, 60)), 0);
    EXPECT_EQ(shot.Get()->PixelAt(40, 0), gdi::RGB(0, 0, 0));   // not presented yet: the new window's black

    Screen->Present(1, *picture.Get(), {gdi::Rect(40, 0, 80, 30), gdi::Rect(40, 30, 80, 60)});
    shot = Capture(*Screen, bounds);
    EXPECT_EQ(Differences(*picture.Get(), *shot.Get(), gdi::Rect(0, 0, 80, 60)), 0);
}

TEST_P(X11Present, ClipsRectanglesToTheStoreAndTheSurface) {
    Screen = Open(GetParam());
    Screen->SetSink(&Sink);
    ShowSurface(1, gdi::Bounds(10, 10, 50, 40));
    auto small = Pattern(30, 20);   // a store smaller than the window
    Screen->Present(1, *small.Get(), {gdi::Rect(-20, -20, 500, 500)});
    auto shot = Capture(*Screen, gdi::Bounds(10, 10, 50, 40));
    EXPECT_EQ(Differences(*small.Get(), *shot.Get(), gdi::Rect(0, 0, 30, 20)), 0);
    EXPECT_EQ(shot.Get()->PixelAt(35, 25), gdi::RGB(0, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(Upload, X11Present, ::testing::Values(true, false),
    [](const auto& info) { return info.param ? "SharedMemory" : "PutImage"; });

TEST_F(X11Fixture, HiddenAndShownAgainTheWindowKeepsItsPictureWithoutAPresent) {
    gdi::RECT bounds = gdi::Bounds(100, 100, 64, 32);
    ShowSurface(7, bounds);
    auto picture = Pattern(64, 32);
    Screen->Present(7, *picture.Get(), {gdi::Rect(0, 0, 64, 32)});
    Screen->ShowSurface(7, false);
    Sink.Exposes.clear();
    Screen->ShowSurface(7, true);
    ASSERT_TRUE(Pump([&] { return Sink.Exposed(7); }));
    auto shot = Capture(*Screen, bounds);
    EXPECT_EQ(Differences(*picture.Get(), *shot.Get(), gdi::Rect(0, 0, 64, 32)), 0);
}

TEST_F(X11Fixture, ResizingKeepsTheOldPictureUntilTheNextPresent) {
    ShowSurface(2, gdi::Bounds(0, 0, 40, 40));
    auto picture = Pattern(40, 40);
    Screen->Present(2, *picture.Get(), {gdi::Rect(0, 0, 40, 40)});
    Screen->MoveSurface(2, gdi::Bounds(200, 100, 60, 50));
    auto shot = Capture(*Screen, gdi::Bounds(200, 100, 60, 50));
    EXPECT_EQ(Differences(*picture.Get(), *shot.Get(), gdi::Rect(0, 0, 40, 40)), 0);
    EXPECT_EQ(shot.Get()->PixelAt(50, 45), gdi::RGB(0, 0, 0));
    EXPECT_TRUE(Sink.Moves.empty());
}

TEST_F(X11Fixture, WindowRegionLetsTheScreenShowThroughOutsideIt) {
    gdi::RECT bounds = gdi::Bounds(300, 200, 60, 60);
    auto before = Capture(*Screen, bounds);
    user::SurfaceOptions options;
    options.Bounds = bounds;
    ASSERT_TRUE(Screen->CreateSurface(3, options));
    // An L: the top half and the bottom-left quarter.
    gdi::Region shape(gdi::BandedRegion::FromRects(std::vector {gdi::Rect(0, 0, 60, 30), gdi::Rect(0, 30, 30, 60)}));
    Screen->SetSurfaceShape(3, &shape);
    Screen->ShowSurface(3, true);
    ASSERT_TRUE(Pump([&] { return Sink.Exposed(3); }));
    gdi::GdiHandle<gdi::Bitmap> red(gdi::Bitmap::Create(60, 60, gdi::PixelFormat::pf32bit));
    red.Get()->Fill(gdi::RGB(255, 0, 0));
    Screen->Present(3, *red.Get(), {gdi::Rect(0, 0, 60, 60)});
    auto shot = Capture(*Screen, bounds);
    EXPECT_EQ(shot.Get()->PixelAt(59, 0), gdi::RGB(255, 0, 0));
    EXPECT_EQ(shot.Get()->PixelAt(29, 59), gdi::RGB(255, 0, 0));
    EXPECT_EQ(shot.Get()->PixelAt(30, 30), before.Get()->PixelAt(30, 30));
    EXPECT_EQ(shot.Get()->PixelAt(59, 59), before.Get()->PixelAt(59, 59));

    Screen->SetSurfaceShape(3, nullptr);   // rectangular again
    shot = Capture(*Screen, bounds);
    EXPECT_EQ(shot.Get()->PixelAt(59, 59), gdi::RGB(255, 0, 0));
}

TEST_F(X11Fixture, LayeredWindowWithoutCompositorShowsTheBlendedColours) {
    EXPECT_FALSE(Screen->HasCompositor());   // Xvfb runs none
    gdi::RECT bounds = gdi::Bounds(20, 400, 30, 20);
    ShowSurface(4, bounds, SurfaceKind::Layered);
    gdi::GdiHandle<gdi::Bitmap> argb(gdi::Bitmap::Create(30, 20, gdi::PixelFormat::pf32bit));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) {
            gdi::BYTE* p = argb.Get()->ScanLine(y) + x * 4;
            p[0] = 0x10, p[1] = gdi::BYTE(x * 8), p[2] = 0x30, p[3] = 0x80;
        }
    Screen->PresentLayered(4, *argb.Get(), 0x40);
    auto shot = Capture(*Screen, bounds);
    EXPECT_EQ(shot.Get()->PixelAt(5, 5), gdi::RGB(0x30, 40, 0x10));
    EXPECT_EQ(shot.Get()->PixelAt(29, 19), gdi::RGB(0x30, 232, 0x10));
}

TEST_F(X11Fixture, CaptureOffTheScreenIsBlackAndEmptyRectanglesGiveNothing) {
    ShowSurface(5, gdi::Bounds(0, 0, 20, 20));
    gdi::GdiHandle<gdi::Bitmap> white(gdi::Bitmap::Create(20, 20, gdi::PixelFormat::pf32bit));
    white.Get()->Fill(gdi::RGB(255, 255, 255));
    Screen->Present(5, *white.Get(), {gdi::Rect(0, 0, 20, 20)});
    auto shot = Capture(*Screen, gdi::Rect(-10, -10, 10, 10));
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot.Get()->PixelAt(0, 0), gdi::RGB(0, 0, 0));
    EXPECT_EQ(shot.Get()->PixelAt(15, 15), gdi::RGB(255, 255, 255));
    EXPECT_EQ(shot.Get()->ScanLine(15)[15 * 4 + 3], 0);   // the fourth byte of surfaces is 0
    EXPECT_EQ(Screen->CaptureScreen(gdi::Rect(5, 5, 5, 50)), nullptr);
}

TEST_F(X11Fixture, NormalWindowsAskForNoDecorationsAndPopupsBypassTheWindowManager) {
    user::SurfaceOptions options;
    options.Bounds = gdi::Bounds(10, 10, 100, 50);
    options.Title = "Ферма — KORVEX";
    options.SkipTaskbar = true;
    ASSERT_TRUE(Screen->CreateSurface(1, options));
    options.Kind = SurfaceKind::Popup;
    options.Owner = 1;
    ASSERT_TRUE(Screen->CreateSurface(2, options));
    EXPECT_FALSE(Screen->CreateSurface(2, options));   // ids are unique
    EXPECT_FALSE(Screen->CreateSurface(0, options));
    Screen->Flush();

    ::Display* probe = XOpenDisplay(ServerName().c_str());
    ASSERT_TRUE(probe);
    Window normal = Native(*Screen).NativeWindow(1), popup = Native(*Screen).NativeWindow(2);
    EXPECT_EQ(Utf8Property(probe, normal, "_NET_WM_NAME"), "Ферма — KORVEX");
    std::vector<long> motif = Property<long>(probe, normal, "_MOTIF_WM_HINTS");
    ASSERT_EQ(motif.size(), 5u);
    EXPECT_EQ(motif[0], 2);   // decorations given
    EXPECT_EQ(motif[2], 0);   // and none
    std::vector<long> states = Property<long>(probe, normal, "_NET_WM_STATE");
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(Atom(states[0]), XInternAtom(probe, "_NET_WM_STATE_SKIP_TASKBAR", False));
    std::vector<long> protocols = Property<long>(probe, normal, "WM_PROTOCOLS");
    ASSERT_EQ(protocols.size(), 1u);
    EXPECT_EQ(Atom(protocols[0]), XInternAtom(probe, "WM_DELETE_WINDOW", False));
    XWindowAttributes attributes;
    XGetWindowAttributes(probe, popup, &attributes);
    EXPECT_TRUE(attributes.override_redirect);
    XGetWindowAttributes(probe, normal, &attributes);
    EXPECT_FALSE(attributes.override_redirect);
    Window owner = 0;
    XGetTransientForHint(probe, popup, &owner);
    EXPECT_EQ(owner, normal);
    XCloseDisplay(probe);
}

// Owned by a window that shows nothing, a window is transient for the group of all ours (ICCCM's root value),
// so that the window manager keeps it above the main window; one owned by a shown window is transient for that.
TEST_F(X11Fixture, AWindowOwnedByAHiddenOneIsTransientForTheGroupOfAllOurs) {
    user::SurfaceOptions options;
    options.Bounds = gdi::Bounds(10, 10, 100, 50);
    ASSERT_TRUE(Screen->CreateSurface(1, options));   // the main window
    options.OwnedByHidden = true;
    ASSERT_TRUE(Screen->CreateSurface(2, options));   // a modal form
    options.OwnedByHidden = false;
    options.Owner = 2;
    ASSERT_TRUE(Screen->CreateSurface(3, options));   // its dialog
    Screen->Flush();
    ::Display* probe = XOpenDisplay(ServerName().c_str());
    ASSERT_TRUE(probe);
    auto transientFor = [&](user::SurfaceId id) {
        Window owner = 0;
        return XGetTransientForHint(probe, Native(*Screen).NativeWindow(id), &owner) ? owner : Window(0);
    };
    auto group = [&](user::SurfaceId id) {
        XWMHints* hints = XGetWMHints(probe, Native(*Screen).NativeWindow(id));
        Window leader = hints && (hints->flags & WindowGroupHint) ? hints->window_group : 0;
        if (hints) XFree(hints);
        return leader;
    };
    EXPECT_EQ(transientFor(1), 0u);
    EXPECT_EQ(transientFor(2), DefaultRootWindow(probe));
    EXPECT_EQ(transientFor(3), Native(*Screen).NativeWindow(2));
    EXPECT_NE(group(1), 0u);
    EXPECT_EQ(group(2), group(1));
    EXPECT_EQ(group(3), group(1));
    // Shown, the hints are written again: the group stays.
    Screen->ShowSurface(2, true);
    ASSERT_TRUE(Pump([&] { return Sink.Exposed(2); }));
    EXPECT_EQ(group(2), group(1));
    XCloseDisplay(probe);
}

// The window manager reads a window's icons from _NET_WM_ICON: width, height, then the ARGB pixels, per icon.
TEST_F(X11Fixture, EveryWindowCarriesItsIconsInNetWmIcon) {
    user::SurfaceOptions options;
    options.Bounds = gdi::Bounds(10, 10, 100, 50);
    for (int size : {16, 32}) {
        user::SurfaceIcon& icon = options.Icons.emplace_back();
        icon.Width = icon.Height = size;
        for (int i = 0; i < size * size; ++i)
            icon.Argb.push_back(std::uint32_t(0x80000000u | size << 16 | i));
    }
    ASSERT_TRUE(Screen->CreateSurface(1, options));
    options.Kind = SurfaceKind::Popup;
    ASSERT_TRUE(Screen->CreateSurface(2, options));
    options.Icons.clear();
    ASSERT_TRUE(Screen->CreateSurface(3, options));
    Screen->Flush();

    ::Display* probe = XOpenDisplay(ServerName().c_str());
    ASSERT_TRUE(probe);
    auto icons = [&](user::SurfaceId id) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::vector<std::uint32_t> items;   // Xlib hands 32-bit items over as (sign-extended) longs
        XGetWindowProperty(probe, Native(*Screen).NativeWindow(id), XInternAtom(probe, "_NET_WM_ICON", False), 0,
            1 << 16, False, XA_CARDINAL, &type, &format, &count, &after, &data);
        if (data && format == 32)
            for (unsigned long i = 0; i < count; ++i)
                items.push_back(std::uint32_t(reinterpret_cast<long*>(data)[i]));
        if (data) XFree(data);
        return items;
    };
    for (user::SurfaceId id : {1, 2}) {
        const std::vector<std::uint32_t> cardinals = icons(id);
        ASSERT_EQ(cardinals.size(), std::size_t(2 + 16 * 16 + 2 + 32 * 32)) << id;
        EXPECT_EQ(cardinals[0], 16u);
        EXPECT_EQ(cardinals[1], 16u);
        EXPECT_EQ(cardinals[2], 0x80100000u);
        EXPECT_EQ(cardinals[2 + 255], 0x801000FFu);
        EXPECT_EQ(cardinals[2 + 256], 32u);
        EXPECT_EQ(cardinals[2 + 256 + 1], 32u);
        EXPECT_EQ(cardinals.back(), 0x802003FFu);
    }
    EXPECT_TRUE(icons(3).empty());

    // A shown window's icons change with it, and go when it has none.
    ShowSurface(4, gdi::Bounds(200, 10, 100, 50));
    user::SurfaceIcon one;
    one.Width = one.Height = 1;
    one.Argb = {0xFF123456u};
    Screen->SetSurfaceIcons(4, {one});
    EXPECT_TRUE(Pump([&] { return icons(4) == std::vector<std::uint32_t> {1, 1, 0xFF123456u}; }));
    Screen->SetSurfaceIcons(1, {});
    EXPECT_TRUE(Pump([&] { return icons(1).empty(); }));
    XCloseDisplay(probe);
}

TEST_F(X11Fixture, WindowManagerCloseAndMovesAreReportedButOurOwnMovesAreNot) {
    ShowSurface(1, gdi::Bounds(10, 10, 100, 50));
    ::Display* wm = XOpenDisplay(ServerName().c_str());
    ASSERT_TRUE(wm);
    Window window = Native(*Screen).NativeWindow(1);

    Screen->MoveSurface(1, gdi::Bounds(50, 60, 120, 70));
    XMoveResizeWindow(wm, window, 300, 200, 90, 40);
    SendDeleteWindow(wm, window);
    XFlush(wm);

    ASSERT_TRUE(Pump([&] { return !Sink.Closes.empty(); }));
    ASSERT_EQ(Sink.Moves.size(), 1u);
    EXPECT_EQ(Sink.Moves[0].first, 1u);
    EXPECT_EQ(Sink.Moves[0].second, gdi::Bounds(300, 200, 90, 40));
    EXPECT_EQ(Sink.Closes[0], 1u);
    XCloseDisplay(wm);
}

TEST_F(X11Fixture, ScreenWorkAreaAndCursorPositionComeFromTheServer) {
    EXPECT_EQ(Screen->ScreenSize(), (gdi::SIZE {1024, 768}));
    EXPECT_EQ(Screen->WorkArea(), gdi::Rect(0, 0, 1024, 768));   // no window manager: the whole screen
    ASSERT_TRUE(Xdo({"mousemove", "123", "45"}));
    EXPECT_EQ(Screen->CursorPos(), (gdi::POINT {123, 45}));
    EXPECT_STREQ(Screen->Name(), "x11");
    EXPECT_GE(Screen->EventFd(), 0);
}

TEST(X11Open, NoServerGivesNoDisplay) {
    user::X11DisplayOptions options;
    options.Name = ":4095";   // nobody listens there
    EXPECT_EQ(user::CreateX11Display(options), nullptr);
}

TEST_F(X11Fixture, StateChangesByTheWindowManagerAreReportedAndOursAreNot) {
    ShowSurface(1, gdi::Bounds(10, 10, 100, 50));
    ::Display* wm = XOpenDisplay(ServerName().c_str());
    ASSERT_TRUE(wm);
    Window window = Native(*Screen).NativeWindow(1);
    auto mapState = [&] {
        XWindowAttributes attributes;
        XGetWindowAttributes(wm, window, &attributes);
        return attributes.map_state;
    };

    // Without a window manager minimizing only unmaps; restoring maps again; neither is echoed back.
    Screen->SetSurfaceState(1, user::SurfaceState::Minimized);
    Screen->Flush();
    EXPECT_EQ(mapState(), IsUnmapped);
    Screen->SetSurfaceState(1, user::SurfaceState::Normal);
    Screen->Flush();
    EXPECT_EQ(mapState(), IsViewable);

    // A window manager iconifies (WM_STATE) and then maximizes (_NET_WM_STATE) the window.
    Atom wmState = XInternAtom(wm, "WM_STATE", False);
    long iconic[] = {IconicState, 0};
    XChangeProperty(wm, window, wmState, wmState, 32, PropModeReplace, reinterpret_cast<unsigned char*>(iconic), 2);
    XFlush(wm);
    ASSERT_TRUE(Pump([&] { return !Sink.States.empty(); }));
    long normal[] = {NormalState, 0};
    XChangeProperty(wm, window, wmState, wmState, 32, PropModeReplace, reinterpret_cast<unsigned char*>(normal), 2);
    Atom maximized[] = {
        XInternAtom(wm, "_NET_WM_STATE_MAXIMIZED_VERT", False), XInternAtom(wm, "_NET_WM_STATE_MAXIMIZED_HORZ", False)};
    XChangeProperty(wm, window, XInternAtom(wm, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeReplace,
        reinterpret_cast<unsigned char*>(maximized), 2);
    XFlush(wm);
    // Both properties may be read at the first notification: the state in force is reported, once.
    ASSERT_TRUE(Pump([&] { return Sink.States.back().second == user::SurfaceState::Maximized; }));
    using State = std::pair<user::SurfaceId, user::SurfaceState>;
    EXPECT_EQ(Sink.States[0], (State {1, user::SurfaceState::Minimized}));
    for (size_t i = 1; i < Sink.States.size(); ++i)
        EXPECT_NE(Sink.States[i].second, Sink.States[i - 1].second);
    XCloseDisplay(wm);
}

// Without a window manager a window shown minimized stays unmapped (no one would keep its icon) and our own
// _NET_WM_STATE writes report nothing back; restored, it maps.
TEST_F(X11Fixture, AWindowShownMinimizedWithoutAWindowManagerStaysUnmappedUntilRestored) {
    user::SurfaceOptions options;
    options.Bounds = gdi::Bounds(10, 10, 100, 50);
    ASSERT_TRUE(Screen->CreateSurface(1, options));
    Screen->SetSurfaceState(1, user::SurfaceState::Minimized);
    Screen->ShowSurface(1, true);
    Screen->SetSurfaceTitle(1, "iconic");
    Screen->Flush();
    ::Display* probe = XOpenDisplay(ServerName().c_str());
    ASSERT_TRUE(probe);
    Window window = Native(*Screen).NativeWindow(1);
    auto mapState = [&] {
        XWindowAttributes attributes;
        XGetWindowAttributes(probe, window, &attributes);
        return attributes.map_state;
    };
    Atom above[] = {XInternAtom(probe, "_NET_WM_STATE_ABOVE", False)};
    XChangeProperty(probe, window, XInternAtom(probe, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeReplace,
        reinterpret_cast<unsigned char*>(above), 1);
    XFlush(probe);
    Pump([] { return false; }, 300);
    EXPECT_EQ(mapState(), IsUnmapped);
    EXPECT_TRUE(Sink.States.empty());   // no manager's WM_STATE: nothing to report
    Screen->SetSurfaceState(1, user::SurfaceState::Normal);
    Screen->Flush();
    // The map request comes on the display's own connection: the probe sees it once the server took it.
    EXPECT_TRUE(Pump([&] { return mapState() == IsViewable; }, 2000));
    XCloseDisplay(probe);
}

// Without a window manager an activation asked for before its window is viewable waits for the map; a later
// activation of another window wins over it.
TEST_F(X11Fixture, TheLastActivationWinsOverOneWaitingForItsWindowToMap) {
    ShowSurface(1, gdi::Bounds(10, 10, 100, 50));
    user::SurfaceOptions options;
    options.Bounds = gdi::Bounds(150, 10, 100, 50);
    options.Title = "surface 2";
    ASSERT_TRUE(Screen->CreateSurface(2, options));
    Screen->ShowSurface(2, true);
    Screen->ActivateSurface(2);   // not viewable yet: waits for its MapNotify
    Screen->ActivateSurface(1);   // viewable: focused now
    ASSERT_TRUE(Pump([&] { return Sink.Exposed(2); }));
    ::Display* probe = XOpenDisplay(ServerName().c_str());
    ASSERT_TRUE(probe);
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(probe, &focus, &revert);
    EXPECT_EQ(focus, Native(*Screen).NativeWindow(1));
    XCloseDisplay(probe);
}

// Compositors shadow every window unless it says otherwise: popups say so unless their class asks for one.
TEST_F(X11Fixture, PopupsWithoutTheDropShadowStyleTellTheCompositorNoShadow) {
    user::SurfaceOptions options;
    options.Bounds = gdi::Bounds(10, 10, 100, 50);
    ASSERT_TRUE(Screen->CreateSurface(1, options));   // managed: the window manager's business
    options.Kind = SurfaceKind::Popup;
    ASSERT_TRUE(Screen->CreateSurface(2, options));
    options.DropShadow = true;
    options.Kind = SurfaceKind::Layered;
    ASSERT_TRUE(Screen->CreateSurface(3, options));
    Screen->Flush();
    ::Display* probe = XOpenDisplay(ServerName().c_str());
    ASSERT_TRUE(probe);
    auto shadow = [&](user::SurfaceId id) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(probe, Native(*Screen).NativeWindow(id), XInternAtom(probe, "_COMPTON_SHADOW", False), 0,
            1, False, XA_CARDINAL, &type, &format, &count, &after, &data);
        const long value = data && count == 1 ? reinterpret_cast<long*>(data)[0] : -1;
        if (data) XFree(data);
        return value;   // -1: not there
    };
    ASSERT_TRUE(Pump([&] { return shadow(2) == 0; }));   // the server has them all
    EXPECT_EQ(shadow(1), -1);
    EXPECT_EQ(shadow(3), -1);
    Screen->SetSurfaceShadow(2, true);
    Screen->SetSurfaceShadow(3, false);
    EXPECT_TRUE(Pump([&] { return shadow(2) == -1 && shadow(3) == 0; }));
    XCloseDisplay(probe);
}

namespace {

// A window manager as far as the display can tell: it announces _NET_WM_STATE and takes the client messages
// sent to the root window. Made after the windows are mapped (it does not map any); gone with its connection.
class FakeWindowManager {
public:
    explicit FakeWindowManager(const std::string& server)
        : FConnection(XOpenDisplay(server.c_str())) {
        if (!FConnection) return;
        const Window root = DefaultRootWindow(FConnection);
        FCheck = XCreateSimpleWindow(FConnection, root, 0, 0, 1, 1, 0, 0, 0);
        long check = long(FCheck);
        XChangeProperty(FConnection, root, Intern("_NET_SUPPORTING_WM_CHECK"), XA_WINDOW, 32, PropModeReplace,
            reinterpret_cast<unsigned char*>(&check), 1);
        long supported[] = {long(Intern("_NET_WM_STATE")), long(Intern("_NET_WM_STATE_SKIP_TASKBAR"))};
        XChangeProperty(FConnection, root, Intern("_NET_SUPPORTED"), XA_ATOM, 32, PropModeReplace,
            reinterpret_cast<unsigned char*>(supported), 2);
        XSelectInput(FConnection, root, SubstructureRedirectMask);
        XSync(FConnection, False);
    }
    ~FakeWindowManager() {
        if (!FConnection) return;
        const Window root = DefaultRootWindow(FConnection);
        XDeleteProperty(FConnection, root, Intern("_NET_SUPPORTING_WM_CHECK"));
        XDeleteProperty(FConnection, root, Intern("_NET_SUPPORTED"));
        XDestroyWindow(FConnection, FCheck);
        XCloseDisplay(FConnection);
    }
    bool Running() const { return FConnection != nullptr; }
    ::Atom Intern(const char* name) { return XInternAtom(FConnection, name, False); }

    // The client messages to the root, while the display is pumped, until one of `type` about `window` came.
    void MessagesUntil(
        user::Display& display, const char* type, Window window, std::vector<XClientMessageEvent>& seen) {
        const ::Atom wanted = Intern(type);
        PumpUntil(display, [&] {
            while (XPending(FConnection) > 0) {
                XEvent event;
                XNextEvent(FConnection, &event);
                if (event.type != ClientMessage) continue;
                seen.push_back(event.xclient);
                if (event.xclient.message_type == wanted && event.xclient.window == window) return true;
            }
            return false;
        });
    }

    // Says the window is iconic (or normal again), as a manager does when the user minimizes it.
    void SetIconic(Window window, bool iconic) {
        const ::Atom wmState = Intern("WM_STATE");
        long state[] = {iconic ? IconicState : NormalState, 0};
        XChangeProperty(FConnection, window, wmState, wmState, 32, PropModeReplace,
            reinterpret_cast<unsigned char*>(state), 2);
        XFlush(FConnection);
    }

private:
    ::Display* FConnection;
    Window FCheck = 0;
};

// Whether the messages hold a _NET_WM_STATE change of the skip-taskbar state of the window: +1 added, -1
// removed, 0 none.
int SkipTaskbarChange(FakeWindowManager& wm, const std::vector<XClientMessageEvent>& messages, Window window) {
    int change = 0;
    for (const XClientMessageEvent& m : messages)
        if (m.message_type == wm.Intern("_NET_WM_STATE") && m.window == window
            && (::Atom(m.data.l[1]) == wm.Intern("_NET_WM_STATE_SKIP_TASKBAR")
                || ::Atom(m.data.l[2]) == wm.Intern("_NET_WM_STATE_SKIP_TASKBAR")))
            change = m.data.l[0] == 1 ? 1 : -1;
    return change;
}

}

TEST_F(X11Fixture, AWindowKeptOutOfTheTaskBarGetsAnEntryWhileItIsMinimized) {
    user::SurfaceOptions options;
    options.Bounds = gdi::Bounds(10, 10, 100, 50);
    options.SkipTaskbar = true;
    ASSERT_TRUE(Screen->CreateSurface(1, options));
    Screen->ShowSurface(1, true);
    ShowSurface(2, gdi::Bounds(150, 10, 100, 50));   // in the task bar anyway
    ASSERT_TRUE(Pump([&] { return Sink.Exposed(1); }));
    EXPECT_EQ(Property<long>(Native(*Screen).Connection(), Native(*Screen).NativeWindow(1), "_NET_WM_STATE").size(), 1u);
    FakeWindowManager wm(ServerName());
    ASSERT_TRUE(wm.Running());
    const Window owned = Native(*Screen).NativeWindow(1), plain = Native(*Screen).NativeWindow(2);

    // Minimized by us: the entry is asked for before the window is iconified, and taken away on restoring.
    std::vector<XClientMessageEvent> seen;
    Screen->SetSurfaceState(1, user::SurfaceState::Minimized);
    wm.MessagesUntil(*Screen, "WM_CHANGE_STATE", owned, seen);
    EXPECT_EQ(SkipTaskbarChange(wm, seen, owned), -1);
    seen.clear();
    Screen->SetSurfaceState(1, user::SurfaceState::Normal);
    Screen->SetSurfaceState(2, user::SurfaceState::Minimized);   // its iconify request is the sign all came
    wm.MessagesUntil(*Screen, "WM_CHANGE_STATE", plain, seen);
    EXPECT_EQ(SkipTaskbarChange(wm, seen, owned), 1);
    EXPECT_EQ(SkipTaskbarChange(wm, seen, plain), 0);

    // Minimized and restored by the window manager: the same.
    for (bool iconic : {true, false}) {
        Sink.States.clear();
        wm.SetIconic(owned, iconic);
        ASSERT_TRUE(Pump([&] { return !Sink.States.empty(); }));
        seen.clear();
        Screen->SetSurfaceState(2, user::SurfaceState::Normal);
        Screen->SetSurfaceState(2, user::SurfaceState::Minimized);
        wm.MessagesUntil(*Screen, "WM_CHANGE_STATE", plain, seen);
        EXPECT_EQ(SkipTaskbarChange(wm, seen, owned), iconic ? -1 : 1);
    }
}
