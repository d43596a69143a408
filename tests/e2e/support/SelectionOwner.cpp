// Another program's side of a selection transfer with raw Xlib, INCR included.
#include "support/SelectionOwner.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>

#include <algorithm>
#include <chrono>

namespace korvex::e2e {

SelectionAnswers::SelectionAnswers(::Display* display, std::string data, std::size_t piece, int pauseMs)
    : FDisplay(display)
    , FData(std::move(data))
    , FPiece(piece)
    , FPauseMs(pauseMs) {
}

void SelectionAnswers::WritePiece(unsigned long requestor, unsigned long property, unsigned long type,
    std::size_t& offset) {
    if (FPauseMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(FPauseMs));
    const std::size_t length = std::min(FPiece, FData.size() - offset);
    XChangeProperty(FDisplay, requestor, property, type, 8, PropModeReplace,
        reinterpret_cast<const unsigned char*>(FData.data() + offset), int(length));
    offset += length;
    XFlush(FDisplay);
}

bool SelectionAnswers::Handle(const XEvent& event) {
    if (event.type == PropertyNotify) {
        const XPropertyEvent& p = event.xproperty;
        auto found = FTransfers.find({p.window, p.atom});
        if (found == FTransfers.end() || p.state != PropertyDelete) return false;
        const bool last = found->second.Offset == FData.size();
        WritePiece(p.window, p.atom, found->second.Type, found->second.Offset);   // the empty piece ends it
        if (last) {
            FTransfers.erase(found);
            if (FTransfers.empty()) XSelectInput(FDisplay, p.window, NoEventMask);
        }
        return true;
    }
    if (event.type != SelectionRequest) return false;
    const XSelectionRequestEvent& r = event.xselectionrequest;
    FAsked = true;
    XEvent reply {};
    reply.xselection = XSelectionEvent {SelectionNotify, 0, False, FDisplay, r.requestor, r.selection, r.target,
        r.property, r.time};
    if (FPiece == 0 || FData.size() <= FPiece) {
        XChangeProperty(FDisplay, r.requestor, r.property, r.target, 8, PropModeReplace,
            reinterpret_cast<const unsigned char*>(FData.data()), int(FData.size()));
    } else {
        // The INCR marker carries a lower bound of the size; each deletion of the property asks for a piece.
        XSelectInput(FDisplay, r.requestor, PropertyChangeMask);
        FTransfers[{r.requestor, r.property}] = Transfer {r.target, 0};
        const long size = long(FData.size());
        XChangeProperty(FDisplay, r.requestor, r.property, XInternAtom(FDisplay, "INCR", False), 32, PropModeReplace,
            reinterpret_cast<const unsigned char*>(&size), 1);
    }
    XSendEvent(FDisplay, r.requestor, False, NoEventMask, &reply);
    XFlush(FDisplay);
    return true;
}

ClipboardOwner::ClipboardOwner(const std::string& displayName, std::string text, std::size_t piece, int pauseMs) {
    FDisplay = XOpenDisplay(displayName.c_str());
    if (!FDisplay) return;
    FWindow = XCreateSimpleWindow(FDisplay, DefaultRootWindow(FDisplay), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(FDisplay, "CLIPBOARD", False);
    XSetSelectionOwner(FDisplay, clipboard, FWindow, CurrentTime);
    FOwning = XGetSelectionOwner(FDisplay, clipboard) == FWindow;
    FThread = std::thread([this, text = std::move(text), piece, pauseMs] { Serve(text, piece, pauseMs); });
}

ClipboardOwner::~ClipboardOwner() {
    FStop = true;
    if (FThread.joinable()) FThread.join();
    if (FDisplay) {
        XDestroyWindow(FDisplay, FWindow);
        XCloseDisplay(FDisplay);
    }
}

void ClipboardOwner::Serve(std::string text, std::size_t piece, int pauseMs) {
    SelectionAnswers answers(FDisplay, std::move(text), piece, pauseMs);
    while (!FStop) {
        while (XPending(FDisplay) > 0) {
            XEvent event;
            XNextEvent(FDisplay, &event);
            answers.Handle(event);
        }
        pollfd connection {ConnectionNumber(FDisplay), POLLIN, 0};
        poll(&connection, 1, 50);
    }
}

}
