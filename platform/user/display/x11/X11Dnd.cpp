// The x11 display's side of files dragged from other programs (XDND, receiving): the drag is answered as it
// moves over our windows, and a drop fetches the text/uri-list and hands its local files to the sink.
#include "platform/user/display/UriList.h"
#include "platform/user/display/x11/X11Backend.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#undef None   // X macros that clash with our enumerators; X's None is 0
#undef CursorShape

#include <unistd.h>

#include <climits>

namespace korvex::user::x11 {

namespace {

constexpr int HighestDndVersion = 5;

std::string HostName() {
    char name[HOST_NAME_MAX + 1] {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

// The types a drag offers: three in the enter message, or more in the source's XdndTypeList.
std::vector<Atom> OfferedTypes(::Display* display, const XClientMessageEvent& e, Atom typeList) {
    std::vector<Atom> types;
    if ((e.data.l[1] & 1) == 0) {
        for (int i = 2; i <= 4; ++i)
            if (e.data.l[i] != 0) types.push_back(Atom(e.data.l[i]));
        return types;
    }
    Atom actual = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, Window(e.data.l[0]), typeList, 0, 1024, False, XA_ATOM, &actual, &format, &count,
            &after, &data)
            == Success
        && data) {
        if (format == 32 && actual == XA_ATOM) {
            auto* items = reinterpret_cast<long*>(data);
            for (unsigned long i = 0; i < count; ++i)
                types.push_back(Atom(items[i]));
        }
        XFree(data);
    }
    return types;
}

}   // namespace

void X11Display::SendDndReply(XId source, AtomId type, long l1, long l2, long l3, long l4) {
    XEvent reply {};
    reply.xclient.type = ClientMessage;
    reply.xclient.display = FDisplay;
    reply.xclient.window = source;
    reply.xclient.message_type = AtomOf(type);
    reply.xclient.format = 32;
    reply.xclient.data.l[0] = long(FDrop.Target);
    reply.xclient.data.l[1] = l1;
    reply.xclient.data.l[2] = l2;
    reply.xclient.data.l[3] = l3;
    reply.xclient.data.l[4] = l4;
    XSendEvent(FDisplay, source, False, NoEventMask, &reply);
    XFlush(FDisplay);
}

bool X11Display::OnDndMessage(const XEvent& event) {
    const XClientMessageEvent& e = event.xclient;
    if (e.format != 32) return false;
    const XId type = e.message_type;
    const XId source = XId(e.data.l[0]);
    if (type == AtomOf(AtomId::XdndEnter)) {
        FDrop = DropState {};
        Surface* surface = FindWindow(e.window);
        const int version = int((unsigned long)(e.data.l[1]) >> 24);
        if (!surface || source == 0 || version > HighestDndVersion) return true;   // a newer protocol: not ours
        FDrop.Source = source;
        FDrop.Target = e.window;
        FDrop.Surface = surface->Id;
        FDrop.Version = version;
        for (Atom offered : OfferedTypes(FDisplay, e, AtomOf(AtomId::XdndTypeList)))
            if (offered == AtomOf(AtomId::TextUriList)) FDrop.UriList = true;
        return true;
    }
    const bool dnd = type == AtomOf(AtomId::XdndPosition) || type == AtomOf(AtomId::XdndDrop)
        || type == AtomOf(AtomId::XdndLeave);
    if (!dnd) return false;
    // Messages of a drag we did not see enter, or from another program meanwhile, are ignored.
    if (FDrop.Source == 0 || source != FDrop.Source || e.window != FDrop.Target) return true;
    if (type == AtomOf(AtomId::XdndLeave)) {
        FDrop = DropState {};
        return true;
    }
    if (type == AtomOf(AtomId::XdndPosition)) {
        const unsigned long packed = (unsigned long)(e.data.l[2]);
        FDrop.Point = gdi::POINT {int((packed >> 16) & 0xFFFF), int(packed & 0xFFFF)};
        FDrop.Accepting = FDrop.UriList && Find(FDrop.Surface) && FSink && FSink->AcceptsFilesAt(FDrop.Surface, FDrop.Point);
        // Bit 1: send every position, the answer may change anywhere (no rectangle to stay quiet in).
        SendDndReply(FDrop.Source, AtomId::XdndStatus, (FDrop.Accepting ? 1 : 0) | 2, 0, 0,
            FDrop.Accepting ? long(AtomOf(AtomId::XdndActionCopy)) : 0);
        return true;
    }
    // The drop: the list is fetched at the drop's time; only local files reach the window.
    const DropState drop = FDrop;
    FDrop = DropState {};
    std::vector<std::string> files;
    if (drop.Accepting && Find(drop.Surface)) {
        std::string list;
        const unsigned long time = drop.Version >= 1 ? (unsigned long)(e.data.l[2]) : CurrentTime;
        if (ConvertSelection(AtomOf(AtomId::XdndSelection), AtomOf(AtomId::TextUriList), time, list))
            files = FilesFromUriList(list, HostName());
    }
    const bool accepted = !files.empty();
    FDrop.Target = drop.Target;   // the reply names our window
    SendDndReply(drop.Source, AtomId::XdndFinished, accepted ? 1 : 0,
        accepted ? long(AtomOf(AtomId::XdndActionCopy)) : 0, 0, 0);
    FDrop = DropState {};
    if (accepted && FSink) FSink->OnFilesDropped(drop.Surface, drop.Point, files);
    NoteQueuedEvents();
    return true;
}

}
