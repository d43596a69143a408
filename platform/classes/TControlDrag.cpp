// Dragging one control onto another within the program: one drag at a time, followed through a hidden window
// that holds the mouse capture, the control under the pointer asked whether it takes the source.
#include "platform/classes/TControl.h"

#include "platform/classes/AllocateHWnd.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TScreen.h"
#include "platform/classes/TWinControl.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Input.h"
#include "platform/user/MessageIds.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"

#include <cassert>
#include <cstdlib>
#include <memory>

namespace korvex::classes {

namespace {

constexpr int DefaultDragThreshold = 5;

struct DragSession {
    std::unique_ptr<TComponentWatch> Source;
    std::unique_ptr<TComponentWatch> Target;
    bool Started = false;
    bool Accepted = false;   // the target's last answer
    bool Ending = false;
    TPoint StartPos {};
    int Threshold = DefaultDragThreshold;
    user::HWND Window = nullptr;   // holds the capture
    TObject* DragObject = nullptr;
};

DragSession* Current = nullptr;

TControl* SourceOf(const DragSession& s) {
    return s.Source ? s.Source->As<TControl>() : nullptr;
}

TControl* TargetOf(const DragSession& s) {
    return s.Target ? s.Target->As<TControl>() : nullptr;
}

TPoint CursorNow() {
    user::POINT p {};
    user::GetCursorPos(&p);
    return TPoint {p.x, p.y};
}

// The enabled control under a screen point: the window there, then its windowless child at the point.
TControl* ControlAtScreen(TPoint screen) {
    TWinControl* window = nullptr;
    for (user::HWND h = user::WindowFromPoint(user::POINT {screen.x, screen.y}); h != nullptr && !window;
         h = user::GetAncestor(h, user::GA_PARENT))
        window = TWinControl::FindControl(h);
    if (window == nullptr) return nullptr;
    if (TControl* child = window->ControlAtPos(window->ScreenToClient(screen), false)) return child;
    return window->Enabled() ? window : nullptr;
}

void SetDragCursor(const DragSession& s) {
    const TControl* source = SourceOf(s);
    if (source == nullptr || Screen == nullptr) return;
    user::SetCursor(Screen->Cursors(s.Accepted ? source->DragCursor() : crNoDrop));
}

}   // namespace

// The drag's steps, friends of the controls they call.
class TDragDriver {
public:
    static void OnMessage(TMessage& m);
    static void Follow(DragSession& s, TPoint screen);
    static void Finish(bool drop);
};

void TDragDriver::OnMessage(TMessage& m) {
    DragSession* s = Current;
    if (s == nullptr || s->Ending) {
        m.Result = user::DefWindowProc(nullptr, m.Msg, m.WParam, m.LParam);
        return;
    }
    switch (m.Msg) {
    case user::WM_MOUSEMOVE:
        Follow(*s, CursorNow());
        break;
    case user::WM_LBUTTONUP:
        Finish(true);
        break;
    case user::WM_RBUTTONDOWN:
    case user::WM_CAPTURECHANGED:   // another window took the mouse
        Finish(false);
        break;
    default:
        m.Result = user::DefWindowProc(nullptr, m.Msg, m.WParam, m.LParam);
        break;
    }
}

// Moves the drag to a screen point: starts it past the threshold, then leaves the old target and enters or
// moves over the new one. Every answer is user code that may free source or target: they are watched.
void TDragDriver::Follow(DragSession& s, TPoint screen) {
    TControl* source = SourceOf(s);
    if (source == nullptr) {
        Finish(false);
        return;
    }
    if (!s.Started) {
        if (std::abs(screen.x - s.StartPos.x) < s.Threshold && std::abs(screen.y - s.StartPos.y) < s.Threshold) return;
        s.Started = true;
        source->DoStartDrag(s.DragObject);
        if (Current != &s || SourceOf(s) == nullptr) return;
    }
    TObject* dragged = s.DragObject != nullptr ? s.DragObject : SourceOf(s);
    TControl* under = ControlAtScreen(screen);
    TControl* old = TargetOf(s);
    if (old != nullptr && old != under) {
        bool ignored = false;
        const TPoint p = old->ScreenToClient(screen);
        old->DragOver(dragged, p.x, p.y, dsDragLeave, ignored);
        if (Current != &s) return;
        s.Target.reset();
        s.Accepted = false;
    }
    if (under != nullptr) {
        const bool entering = TargetOf(s) != under;
        if (entering) s.Target = std::make_unique<TComponentWatch>(under);
        bool accept = under->OnDragOver != nullptr;
        const TPoint p = under->ScreenToClient(screen);
        under->DragOver(dragged, p.x, p.y, entering ? dsDragEnter : dsDragMove, accept);
        if (Current != &s) return;
        s.Accepted = accept && TargetOf(s) != nullptr;
    }
    SetDragCursor(s);
}

// Ends the drag: a drop on an accepting target gives it the source; the source hears where it ended.
void TDragDriver::Finish(bool drop) {
    DragSession* s = Current;
    if (s == nullptr || s->Ending) return;
    s->Ending = true;
    std::unique_ptr<DragSession> session(s);
    const user::HWND window = s->Window;
    if (user::GetCapture() == window) user::ReleaseCapture();
    DeallocateHWnd(window);
    Current = nullptr;
    if (Screen != nullptr) user::SetCursor(Screen->Cursors(crDefault));
    if (!s->Started) return;   // the mouse never went far enough: no drag happened

    const TPoint screen = CursorNow();
    TControl* target = TargetOf(*s);
    const bool dropped = drop && s->Accepted && target != nullptr;
    TObject* dragged = s->DragObject != nullptr ? s->DragObject : SourceOf(*s);
    TPoint p {};
    if (target != nullptr) p = target->ScreenToClient(screen);
    if (dropped) {
        target->DragDrop(dragged, p.x, p.y);
        target = TargetOf(*s);   // it may have freed itself
    }
    if (TControl* source = SourceOf(*s)) source->DoEndDrag(dropped ? target : nullptr, dropped ? p.x : 0, dropped ? p.y : 0);
}

void TControl::BeginDrag(bool immediate, int threshold) {
    if (Current != nullptr) TDragDriver::Finish(false);
    auto session = std::make_unique<DragSession>();
    session->Source = std::make_unique<TComponentWatch>(this);
    session->StartPos = CursorNow();
    session->Threshold = threshold < 0 ? DefaultDragThreshold : std::max(threshold, 1);
    session->Window = AllocateHWnd(TDragDriver::OnMessage);
    if (session->Window == nullptr) return;
    Current = session.release();
    user::SetCapture(Current->Window);
    if (immediate) {
        Current->Threshold = 0;
        TDragDriver::Follow(*Current, Current->StartPos);
    }
}

void TControl::BeginAutoDrag() {
    BeginDrag(false, DefaultDragThreshold);
}

void TControl::EndDrag(bool drop) {
    if (Dragging()) TDragDriver::Finish(drop);
}

bool TControl::Dragging() const {
    return Current != nullptr && !Current->Ending && SourceOf(*Current) == this;
}

void TControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
    if (OnDragOver) OnDragOver(this, source, x, y, state, accept);
}

void TControl::DragDrop(TObject* source, int x, int y) {
    if (OnDragDrop) OnDragDrop(this, source, x, y);
}

void TControl::DoStartDrag(TObject*& dragObject) {
    if (OnStartDrag) OnStartDrag(this, dragObject);
}

void TControl::DoEndDrag(TObject* target, int x, int y) {
    if (OnEndDrag) OnEndDrag(this, target, x, y);
}

}
