// The x11 display's input: buttons, wheel, motion, crossing, keys with text, focus, pointer grabs.
#include "platform/user/display/x11/X11Backend.h"
#include "platform/user/display/x11/X11Keys.h"

#include "platform/base/Utf8.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef None   // X macros that clash with our enumerators; X's None is 0
#undef CursorShape

#include <vector>

namespace korvex::user::x11 {

namespace {

constexpr unsigned VkDelete = 0x2E;

unsigned Modifiers(unsigned state) {
    unsigned result = 0;
    if (state & ShiftMask) result |= ModShift;
    if (state & ControlMask) result |= ModControl;
    if (state & Mod1Mask) result |= ModAlt;
    return result;
}

bool Inside(const Surface& surface, int x, int y) {
    return x >= 0 && y >= 0 && x < surface.Bounds.Width() && y < surface.Bounds.Height();
}

}

void X11Display::Emit(const InputEvent& event) {
    if (FSink) FSink->OnInput(event);
}

void X11Display::OnButton(const XEvent& event, bool press) {
    const XButtonEvent& e = event.xbutton;
    Surface* surface = FindWindow(e.window);
    if (!surface) return;
    InputEvent in;
    in.Kind = press ? InputKind::ButtonDown : InputKind::ButtonUp;
    in.Surface = surface->Id;
    in.ScreenPos = gdi::POINT {e.x_root, e.y_root};
    in.Modifiers = Modifiers(e.state);
    in.TimeMs = EventTime(e.time);
    switch (e.button) {
    case Button1:
        in.Button = MouseButton::Left;
        break;
    case Button2:
        in.Button = MouseButton::Middle;
        break;
    case Button3:
        in.Button = MouseButton::Right;
        break;
    case Button4:
    case Button5:
        // The wheel is buttons 4 (away from the user) and 5; each notch is a press and a release.
        if (!press) return;
        in.Kind = InputKind::Wheel;
        in.WheelDelta = e.button == Button4 ? 120 : -120;
        break;
    case 8:
        in.Button = MouseButton::X1;
        break;
    case 9:
        in.Button = MouseButton::X2;
        break;
    default:
        return;   // 6 and 7: the horizontal wheel
    }
    Emit(in);
}

void X11Display::OnMotion(XEvent& event) {
    // Only the latest of a run of motions over one window matters; other events keep their order.
    while (XEventsQueued(FDisplay, QueuedAlready) > 0) {
        XEvent next;
        XPeekEvent(FDisplay, &next);
        if (next.type != MotionNotify || next.xmotion.window != event.xmotion.window) break;
        XNextEvent(FDisplay, &event);
    }
    const XMotionEvent& e = event.xmotion;
    Surface* surface = FindWindow(e.window);
    if (!surface) return;
    // During a grab the grab window also gets motions from outside it.
    if (Inside(*surface, e.x, e.y) && FPointerSurface != surface->Id) {
        FPointerSurface = surface->Id;
        FLeavePending = false;
    }
    InputEvent in;
    in.Kind = InputKind::MouseMove;
    in.Surface = surface->Id;
    in.ScreenPos = gdi::POINT {e.x_root, e.y_root};
    in.Modifiers = Modifiers(e.state);
    in.TimeMs = EventTime(e.time);
    Emit(in);
}

// Leaving one of our windows for another gives a LeaveNotify and an EnterNotify in the same round of
// events; Leave is reported only when the round ends with the pointer over none of ours.
void X11Display::OnCrossing(const XEvent& event, bool enter) {
    const XCrossingEvent& e = event.xcrossing;
    Surface* surface = FindWindow(e.window);
    if (!surface || e.detail == NotifyInferior) return;
    InputEvent in;
    in.Surface = surface->Id;
    in.ScreenPos = gdi::POINT {e.x_root, e.y_root};
    in.Modifiers = Modifiers(e.state);
    in.TimeMs = EventTime(e.time);
    if (enter) {
        FPointerSurface = surface->Id;
        FLeavePending = false;
        in.Kind = InputKind::MouseMove;
        Emit(in);
    } else if (FPointerSurface == surface->Id) {
        FPointerSurface = 0;
        FLeavePending = true;
        in.Kind = InputKind::Leave;
        FLeaveEvent = in;
    }
}

void X11Display::FinishPointerRound() {
    if (!FLeavePending || FPointerSurface != 0) return;
    FLeavePending = false;
    Emit(FLeaveEvent);
}

void X11Display::OnKey(XEvent& event, bool press) {
    XKeyEvent& e = event.xkey;
    Surface* surface = FindWindow(e.window);
    if (!surface) return;
    InputEvent in;
    in.Kind = press ? InputKind::KeyDown : InputKind::KeyUp;
    in.Surface = surface->Id;
    in.ScreenPos = gdi::POINT {e.x_root, e.y_root};
    in.Modifiers = Modifiers(e.state);
    in.TimeMs = EventTime(e.time);

    char buffer[64];
    KeySym sym = 0;
    int length = XLookupString(&e, buffer, sizeof buffer, &sym, nullptr);
    if (press && surface->InputContext) {
        Status status = 0;
        KeySym imSym = 0;
        length = Xutf8LookupString(surface->InputContext, &e, buffer, sizeof buffer, &imSym, &status);
        std::vector<char> larger;
        if (status == XBufferOverflow) {
            larger.resize(size_t(length));
            length = Xutf8LookupString(surface->InputContext, &e, larger.data(), length, &imSym, &status);
        }
        if (status == XLookupChars || status == XLookupBoth)
            in.Text.assign(larger.empty() ? buffer : larger.data(), size_t(length));
        if (status == XLookupBoth || status == XLookupKeySym) sym = imSym;
    } else if (press && length == 1 && static_cast<unsigned char>(buffer[0]) < 0x20) {
        in.Text.assign(buffer, 1);   // control characters: Return, Tab, Escape, Ctrl+letter
    }
    // The input method of a "C" locale has no characters beyond ASCII: the key symbol gives them.
    if (press && in.Text.empty() && !(e.state & ControlMask))
        if (char32_t c = UnicodeFromKeySym(sym); c >= 0x20) in.Text = base::Utf8Encode(c);
    // The virtual key follows the symbol typed; symbols without one (Cyrillic letters, shifted digits) take
    // the key's symbol in the first group, as Windows gives the Latin key codes under any layout.
    in.VirtualKey = VirtualKeyFromKeySym(sym);
    if (!in.VirtualKey) in.VirtualKey = VirtualKeyFromKeySym(XLookupKeysym(&e, 0));
    if (in.VirtualKey == VkDelete) in.Text.clear();   // Delete types no character on Windows
    Emit(in);
}

void X11Display::OnFocus(const XEvent& event, bool in) {
    const XFocusChangeEvent& e = event.xfocus;
    // Keyboard grabs (a window manager's Alt+Tab) move no focus; pointer and inferior details are not ours.
    if (e.mode == NotifyGrab || e.mode == NotifyUngrab) return;
    if (e.detail == NotifyPointer || e.detail == NotifyInferior) return;
    Surface* surface = FindWindow(e.window);
    if (!surface) return;
    if (surface->InputContext) {
        if (in)
            XSetICFocus(surface->InputContext);
        else
            XUnsetICFocus(surface->InputContext);
    }
    if (FSink) FSink->OnFocusChanged(surface->Id, in);
}

void X11Display::GrabPointer(SurfaceId id, bool grab) {
    Surface* surface = grab ? Find(id) : nullptr;
    if (grab && !surface) return;
    FCaptureWindow = surface ? surface->Window : 0;
    ApplyPointerGrab();
}

// The pointer is confined by a grab whose confine_to is an input-only window of the rectangle: the server
// keeps the pointer inside that window's shape whatever lies above it, so it stays at the bottom of the stack.
void X11Display::ConfinePointer(const gdi::RECT* rect) {
    if (!rect || rect->Width() <= 0 || rect->Height() <= 0) {
        if (FConfineWindow) XDestroyWindow(FDisplay, FConfineWindow);
        FConfineWindow = 0;
    } else if (!FConfineWindow) {
        XSetWindowAttributes attributes {};
        attributes.override_redirect = True;
        FConfineWindow = XCreateWindow(FDisplay, FRoot, rect->left, rect->top, unsigned(rect->Width()),
            unsigned(rect->Height()), 0, 0, InputOnly, CopyFromParent, CWOverrideRedirect, &attributes);
        XLowerWindow(FDisplay, FConfineWindow);
        XMapWindow(FDisplay, FConfineWindow);
    } else {
        XMoveResizeWindow(
            FDisplay, FConfineWindow, rect->left, rect->top, unsigned(rect->Width()), unsigned(rect->Height()));
    }
    ApplyPointerGrab();
}

void X11Display::ApplyPointerGrab() {
    if (!FCaptureWindow && !FConfineWindow) {
        if (FGrabWindow) XUngrabPointer(FDisplay, CurrentTime);
        FGrabWindow = 0;
        XFlush(FDisplay);   // the rest of the screen gets its clicks back at once
        return;
    }
    // Owner events: our other windows get their own events during the grab, the rest of the screen's go to
    // the capturing window (or, confined without capture, to the confinement, which reports nothing).
    const XId window = FCaptureWindow ? FCaptureWindow : FConfineWindow;
    unsigned mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;
    int status
        = XGrabPointer(FDisplay, window, True, mask, GrabModeAsync, GrabModeAsync, FConfineWindow, 0, CurrentTime);
    FGrabWindow = status == GrabSuccess ? window : 0;
    NoteQueuedEvents();
}

gdi::POINT X11Display::CursorPos() const {
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned state = 0;
    XQueryPointer(FDisplay, FRoot, &root, &child, &rootX, &rootY, &x, &y, &state);
    NoteQueuedEvents();
    return gdi::POINT {rootX, rootY};
}

}
