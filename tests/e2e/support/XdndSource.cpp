// An XDND source with raw Xlib, as a file manager drags files.
#include "support/XdndSource.h"
#include "support/SelectionOwner.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>

#include <chrono>

namespace korvex::e2e {

namespace {

class Source {
public:
    explicit Source(::Display* display)
        : FDisplay(display) {
        FRoot = DefaultRootWindow(display);
        FWindow = XCreateSimpleWindow(display, FRoot, 0, 0, 1, 1, 0, 0, 0);
    }
    ~Source() { XDestroyWindow(FDisplay, FWindow); }

    Atom Intern(const char* name) { return XInternAtom(FDisplay, name, False); }

    // The deepest window at the point that carries XdndAware, walking down from the root.
    Window AwareWindowAt(int x, int y) {
        Window current = FRoot;
        for (;;) {
            int cx = 0, cy = 0;
            Window child = 0;
            if (!XTranslateCoordinates(FDisplay, FRoot, current, x, y, &cx, &cy, &child) || child == 0) return 0;
            if (HasAware(child)) return child;
            current = child;
        }
    }

    void Send(Window target, const char* type, long l1, long l2, long l3, long l4) {
        XEvent e {};
        e.xclient.type = ClientMessage;
        e.xclient.display = FDisplay;
        e.xclient.window = target;
        e.xclient.message_type = Intern(type);
        e.xclient.format = 32;
        e.xclient.data.l[0] = long(FWindow);
        e.xclient.data.l[1] = l1;
        e.xclient.data.l[2] = l2;
        e.xclient.data.l[3] = l3;
        e.xclient.data.l[4] = l4;
        XSendEvent(FDisplay, target, False, NoEventMask, &e);
        XFlush(FDisplay);
    }

    // Serves selection requests until a client message of the type comes; false after the time.
    bool WaitFor(const char* type, XClientMessageEvent& out, int timeoutMs, SelectionAnswers& answers) {
        const Atom wanted = Intern(type);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            while (XPending(FDisplay) > 0) {
                XEvent e;
                XNextEvent(FDisplay, &e);
                if (answers.Handle(e)) continue;
                if (e.type == ClientMessage && e.xclient.message_type == wanted) {
                    out = e.xclient;
                    return true;
                }
            }
            const auto left
                = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return false;
            pollfd connection {ConnectionNumber(FDisplay), POLLIN, 0};
            poll(&connection, 1, int(left.count()));
        }
    }

    Window Handle() const { return FWindow; }

private:
    bool HasAware(Window w) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(FDisplay, w, Intern("XdndAware"), 0, 1, False, AnyPropertyType, &type, &format, &count,
            &after, &data);
        if (data) XFree(data);
        return type != 0;
    }

    ::Display* FDisplay;
    Window FRoot = 0;
    Window FWindow = 0;
};

}   // namespace

XdndDragResult DragUriList(const std::string& displayName, int x, int y, const std::string& list,
    const std::vector<std::string>& types, std::size_t piece, int timeoutMs) {
    XdndDragResult result;
    ::Display* display = XOpenDisplay(displayName.c_str());
    if (!display) return result;
    {
        Source source(display);
        const Window target = source.AwareWindowAt(x, y);
        result.FoundTarget = target != 0;
        SelectionAnswers answers(display, list, piece);
        if (target != 0) {
            XSetSelectionOwner(display, source.Intern("XdndSelection"), source.Handle(), CurrentTime);
            long offered[3] = {0, 0, 0};
            for (std::size_t i = 0; i < types.size() && i < 3; ++i)
                offered[i] = long(source.Intern(types[i].c_str()));
            source.Send(target, "XdndEnter", 5L << 24, offered[0], offered[1], offered[2]);
            source.Send(target, "XdndPosition", 0, long(x) << 16 | y, CurrentTime, long(source.Intern("XdndActionCopy")));
            XClientMessageEvent status {};
            result.StatusCame = source.WaitFor("XdndStatus", status, timeoutMs, answers);
            result.Accepted = result.StatusCame && (status.data.l[1] & 1) != 0;
            if (result.Accepted) {
                source.Send(target, "XdndDrop", 0, CurrentTime, 0, 0);
                XClientMessageEvent finished {};
                result.Finished = source.WaitFor("XdndFinished", finished, timeoutMs, answers);
                result.FinishedAccepted = result.Finished && (finished.data.l[1] & 1) != 0;
            } else {
                source.Send(target, "XdndLeave", 0, 0, 0, 0);
            }
            result.ListAsked = answers.Asked();
        }
    }
    XCloseDisplay(display);
    return result;
}

}
