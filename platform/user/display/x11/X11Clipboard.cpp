// The x11 display's clipboard: the CLIPBOARD selection as UTF-8 text, answered for ours, read from others.
#include "platform/user/display/x11/X11Backend.h"

#include "platform/base/Utf8.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#undef None   // X macros that clash with our enumerators; X's None is 0
#undef CursorShape

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <climits>

namespace korvex::user::x11 {

namespace {

constexpr int ClipboardWaitMs = 1000;   // a frozen owner must not freeze us

std::string Latin1FromUtf8(const std::string& text) {
    std::string out;
    for (size_t pos = 0; pos < text.size();) {
        char32_t c = base::Utf8DecodeNext(text, pos);
        out += c <= 0xFF ? char(c) : '?';
    }
    return out;
}

std::string Utf8FromLatin1(const std::string& text) {
    std::string out;
    for (unsigned char c : text)
        base::Utf8Append(out, c);
    return out;
}

}

// Waits up to timeoutMs, and never past the deadline.
bool X11Display::WaitForEvent(
    int type, XId window, XEvent& out, int timeoutMs, std::chrono::steady_clock::time_point deadline) {
    deadline = std::min(deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs));
    for (;;) {
        if (XCheckTypedWindowEvent(FDisplay, window, type, &out)) return true;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd connection {ConnectionNumber(FDisplay), POLLIN, 0};
        poll(&connection, 1, int(left.count()));
    }
}

// A current server timestamp: the time of a property change of our own (ICCCM's way; CurrentTime may lose
// the selection to an older owner).
unsigned long X11Display::ServerTime() {
    XChangeProperty(FDisplay, FHelper, AtomOf(AtomId::Timestamp), XA_INTEGER, 8, PropModeAppend, nullptr, 0);
    XEvent event;
    while (WaitForEvent(PropertyNotify, FHelper, event, ClipboardWaitMs))
        if (event.xproperty.atom == AtomOf(AtomId::Timestamp)) return event.xproperty.time;
    return CurrentTime;
}

void X11Display::SetClipboardText(const std::string& text) {
    FClipboardText = text;
    XSetSelectionOwner(FDisplay, AtomOf(AtomId::Clipboard), FHelper, ServerTime());
    FOwnsClipboard = XGetSelectionOwner(FDisplay, AtomOf(AtomId::Clipboard)) == FHelper;
    NoteQueuedEvents();
}

void X11Display::OnSelectionClear(const XEvent& event) {
    if (event.xselectionclear.selection != AtomOf(AtomId::Clipboard)) return;
    FOwnsClipboard = false;
    FClipboardText.clear();
}

void X11Display::OnSelectionRequest(const XEvent& event) {
    const XSelectionRequestEvent& e = event.xselectionrequest;
    XEvent reply {};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = e.requestor;
    reply.xselection.selection = e.selection;
    reply.xselection.target = e.target;
    reply.xselection.time = e.time;
    reply.xselection.property = 0;   // refused unless filled below
    Atom property = e.property ? e.property : e.target;   // obsolete clients name no property

    // Text beyond one request would need the INCR protocol; it is refused instead of cut.
    size_t maxBytes
        = size_t(XExtendedMaxRequestSize(FDisplay) ? XExtendedMaxRequestSize(FDisplay) : XMaxRequestSize(FDisplay)) * 4
        - 256;
    bool ours = FOwnsClipboard && e.selection == AtomOf(AtomId::Clipboard) && e.owner == FHelper;
    if (ours && e.target == AtomOf(AtomId::Targets)) {
        Atom targets[] = {AtomOf(AtomId::Targets), AtomOf(AtomId::Utf8String), AtomOf(AtomId::TextPlainUtf8),
            AtomOf(AtomId::Text), XA_STRING};
        XChangeProperty(FDisplay, e.requestor, property, XA_ATOM, 32, PropModeReplace,
            reinterpret_cast<unsigned char*>(targets), int(std::size(targets)));
        reply.xselection.property = property;
    } else if (ours
        && (e.target == AtomOf(AtomId::Utf8String) || e.target == AtomOf(AtomId::Text)
            || e.target == AtomOf(AtomId::TextPlainUtf8) || e.target == XA_STRING)) {
        std::string data = e.target == XA_STRING ? Latin1FromUtf8(FClipboardText) : FClipboardText;
        Atom type = e.target == XA_STRING               ? XA_STRING
            : e.target == AtomOf(AtomId::TextPlainUtf8) ? AtomOf(AtomId::TextPlainUtf8)
                                                        : AtomOf(AtomId::Utf8String);
        if (data.size() <= maxBytes) {
            XChangeProperty(FDisplay, e.requestor, property, type, 8, PropModeReplace,
                reinterpret_cast<const unsigned char*>(data.data()), int(data.size()));
            reply.xselection.property = property;
        }
    }
    XSendEvent(FDisplay, e.requestor, False, 0, &reply);
}

// Reads and deletes our transfer property.
bool X11Display::ReadTransfer(std::string& out, XId& type) {
    Atom actual = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(FDisplay, FHelper, AtomOf(AtomId::Transfer), 0, LONG_MAX / 4, True, AnyPropertyType, &actual,
            &format, &count, &after, &data)
        != Success)
        return false;
    type = actual;
    if (data) {
        if (format == 8) out.append(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return actual != 0;
}

bool X11Display::ConvertClipboard(XId target, std::string& out) {
    return ConvertSelection(AtomOf(AtomId::Clipboard), target, CurrentTime, out);
}

bool X11Display::ConvertSelection(XId selection, XId target, unsigned long time, std::string& out) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(FTransferDeadlineMs);
    XDeleteProperty(FDisplay, FHelper, AtomOf(AtomId::Transfer));
    XConvertSelection(FDisplay, selection, target, AtomOf(AtomId::Transfer), FHelper, time);
    XEvent event;
    do {   // an answer to an earlier request that timed out is not this one's
        if (!WaitForEvent(SelectionNotify, FHelper, event, ClipboardWaitMs, deadline)) return false;
    } while (event.xselection.selection != selection || event.xselection.target != target);
    if (!event.xselection.property) return false;   // the owner cannot give this target
    XId type = 0;
    if (!ReadTransfer(out, type)) return false;
    if (type != AtomOf(AtomId::Incr)) return true;
    // INCR: deleting the property asked for the first piece; each piece comes as a new value, an empty one ends.
    // The new value of the INCR marker itself may still wait in the queue, and a piece may have been read
    // on an earlier notice: a notice whose property is gone already is passed over.
    out.clear();
    for (;;) {
        if (!WaitForEvent(PropertyNotify, FHelper, event, ClipboardWaitMs, deadline)) {
            out.clear();
            return false;
        }
        if (event.xproperty.atom != AtomOf(AtomId::Transfer) || event.xproperty.state != PropertyNewValue) continue;
        const size_t before = out.size();
        if (!ReadTransfer(out, type)) continue;
        if (out.size() == before) return true;
    }
}

std::string X11Display::ClipboardText() {
    // Asked of the server: a SelectionClear may still wait in the queue.
    std::string text;
    Window owner = XGetSelectionOwner(FDisplay, AtomOf(AtomId::Clipboard));
    FOwnsClipboard = FOwnsClipboard && owner == FHelper;
    if (FOwnsClipboard) {
        text = FClipboardText;
    } else if (owner != 0) {
        if (!ConvertClipboard(AtomOf(AtomId::Utf8String), text)) {
            text.clear();
            if (ConvertClipboard(XA_STRING, text))
                text = Utf8FromLatin1(text);
            else
                text.clear();
        }
    }
    NoteQueuedEvents();
    return text;
}

}
