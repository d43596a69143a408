// A minimal system tray for end-to-end tests.
#include "support/TrayManager.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>

#include <algorithm>
#include <cstdio>

namespace korvex::e2e {

namespace {
constexpr long RequestDock = 0;
constexpr long XembedEmbeddedNotify = 0;
constexpr int TrayWidth = 160;
}

TrayManager::~TrayManager() {
    Stop();
}

bool TrayManager::Start(const std::string& displayName, bool argbVisual, Sizing sizing) {
    if (Running()) return true;
    ::Display* dpy = XOpenDisplay(displayName.c_str());
    if (dpy == nullptr) return false;
    int screen = DefaultScreen(dpy);
    ::Window root = RootWindow(dpy, screen);
    FLeft = DisplayWidth(dpy, screen) - TrayWidth;
    FTop = DisplayHeight(dpy, screen) - SlotSize - 4;
    XSetWindowAttributes a {};
    a.background_pixel = 0x3C3F45;
    a.override_redirect = True;
    a.event_mask = SubstructureNotifyMask | StructureNotifyMask;
    ::Window window = XCreateWindow(dpy, root, FLeft, FTop, TrayWidth, SlotSize + 4, 0, CopyFromParent, InputOutput,
        CopyFromParent, CWBackPixel | CWOverrideRedirect | CWEventMask, &a);
    XMapRaised(dpy, window);
    if (argbVisual) {
        XVisualInfo wanted {};
        wanted.screen = screen;
        wanted.depth = 32;
        wanted.c_class = TrueColor;
        int count = 0;
        XVisualInfo* infos = XGetVisualInfo(dpy, VisualScreenMask | VisualDepthMask | VisualClassMask, &wanted, &count);
        if (infos == nullptr || count == 0) {
            XCloseDisplay(dpy);
            return false;
        }
        long id = long(infos[0].visualid);
        XFree(infos);
        XChangeProperty(dpy, window, XInternAtom(dpy, "_NET_SYSTEM_TRAY_VISUAL", False), XA_VISUALID, 32,
            PropModeReplace, reinterpret_cast<unsigned char*>(&id), 1);
    }
    Atom selection = XInternAtom(dpy, "_NET_SYSTEM_TRAY_S0", False);
    XSetSelectionOwner(dpy, selection, window, CurrentTime);
    if (XGetSelectionOwner(dpy, selection) != window) {
        XCloseDisplay(dpy);
        return false;
    }
    XEvent ev {};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = root;
    ev.xclient.message_type = XInternAtom(dpy, "MANAGER", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = CurrentTime;
    ev.xclient.data.l[1] = long(selection);
    ev.xclient.data.l[2] = long(window);
    XSendEvent(dpy, root, False, StructureNotifyMask, &ev);
    XFlush(dpy);
    FDisplay = dpy;
    FWindow = window;
    FStop = false;
    FRequests = 0;
    FSizing = sizing;
    FThread = std::thread([this] { Run(); });
    return true;
}

void TrayManager::Stop() {
    if (!FThread.joinable()) return;
    FStop = true;
    FThread.join();
    XCloseDisplay(static_cast<::Display*>(FDisplay));
    FDisplay = nullptr;
    FWindow = 0;
    std::lock_guard lock(FMutex);
    FIcons.clear();
}

std::vector<TrayManager::Docked> TrayManager::Icons() const {
    std::lock_guard lock(FMutex);
    return FIcons;
}

void TrayManager::Run() {
    auto* dpy = static_cast<::Display*>(FDisplay);
    Atom opcode = XInternAtom(dpy, "_NET_SYSTEM_TRAY_OPCODE", False);
    Atom xembed = XInternAtom(dpy, "_XEMBED", False);
    while (!FStop) {
        while (XPending(dpy) > 0) {
            XEvent event;
            XNextEvent(dpy, &event);
            if (event.type == ClientMessage && event.xclient.message_type == opcode
                && event.xclient.data.l[1] == RequestDock) {
                ++FRequests;
                ::Window icon = ::Window(event.xclient.data.l[2]);
                int slot = 0;
                {
                    std::lock_guard lock(FMutex);
                    slot = int(FIcons.size());
                }
                int width = SlotSize, height = SlotSize;
                if (FSizing == Sizing::FromHints) {
                    XSizeHints hints {};
                    long supplied = 0;
                    width = height = 1;
                    if (XGetWMNormalHints(dpy, icon, &hints, &supplied) != 0) {
                        if (hints.flags & PMinSize) {
                            width = std::max(1, hints.min_width);
                            height = std::max(1, hints.min_height);
                        } else if (hints.flags & PBaseSize) {
                            width = std::max(1, hints.base_width);
                            height = std::max(1, hints.base_height);
                        }
                    }
                    width = std::min(width, SlotSize);
                    height = std::min(height, SlotSize);
                }
                XSelectInput(dpy, icon, StructureNotifyMask);
                XAddToSaveSet(dpy, icon);
                XReparentWindow(dpy, icon, FWindow, 2 + slot * (SlotSize + 2), 2);
                XResizeWindow(dpy, icon, unsigned(width), unsigned(height));
                XEvent notify {};
                notify.xclient.type = ClientMessage;
                notify.xclient.window = icon;
                notify.xclient.message_type = xembed;
                notify.xclient.format = 32;
                notify.xclient.data.l[0] = CurrentTime;
                notify.xclient.data.l[1] = XembedEmbeddedNotify;
                notify.xclient.data.l[3] = long(FWindow);
                XSendEvent(dpy, icon, False, NoEventMask, &notify);
                XMapRaised(dpy, icon);
                XSync(dpy, False);
                std::lock_guard lock(FMutex);
                FIcons.push_back({icon, FLeft + 2 + slot * (SlotSize + 2), FTop + 2, width, height});
            } else if (event.type == DestroyNotify || (event.type == UnmapNotify && event.xunmap.window != FWindow)) {
                ::Window gone = event.type == DestroyNotify ? event.xdestroywindow.window : event.xunmap.window;
                std::lock_guard lock(FMutex);
                std::erase_if(FIcons, [gone](const Docked& d) { return d.Window == gone; });
            }
        }
        pollfd p {ConnectionNumber(dpy), POLLIN, 0};
        poll(&p, 1, 20);
    }
}

}
