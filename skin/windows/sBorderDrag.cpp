// TsBorderDrag: the outline loop that moves and sizes a form with rmBorder, snapping to the work area's
// edges, and the bounds of a maximized form.
#include "skin/windows/sBorderDrag.h"

#include "platform/classes/ControlMessages.h"
#include "platform/classes/TSizeConstraints.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/Input.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/Monitors.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sStyleSimply.h"
#include "skin/windows/sSkinProvider.h"

#include <cstdint>
#include <cstdlib>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

// One outline drag at a time for the whole application.
struct TDragState {
    bool InDrag = false;
    bool DragMoving = false;
    bool DragFirstMove = false;
    int DragHT = 0;
    int DragLeft = 0;
    int DragTop = 0;
    int DragRight = 0;
    int DragBottom = 0;
    int DragX = 0;
    int DragY = 0;
    int DragMinHeight = 0;
    int DragMinWidth = 0;
    classes::TRect Outline {};   // where the outline was drawn last, on the screen
    user::HDC Dc = nullptr;
    int SavedDc = 0;
    const TsBorderDrag* Owner = nullptr;
};

TDragState Drag;

bool IsSizingCode(int code) {
    return code >= user::HTLEFT && code <= user::HTBOTTOMRIGHT;
}

// The outline erased and the desktop DC given back.
void EndOutline(TsBorderDrag& drag) {
    Drag.InDrag = false;
    drag.DrawOutline(Drag.DragLeft, Drag.DragTop);
    gdi::RestoreDC(Drag.Dc, Drag.SavedDc);
    user::ReleaseDC(user::GetDesktopWindow(), Drag.Dc);
    Drag.Dc = nullptr;
    Drag.Owner = nullptr;
}

}

void SnapToEdge(int& pos, int edge, int size, int buffer) {
    if (std::abs(pos + size - edge) < buffer) pos = edge - size;
}

TsBorderDrag::~TsBorderDrag() = default;

bool TsBorderDrag::InOutlineDrag() {
    return Drag.InDrag;
}

TRect TsBorderDrag::OutlineRect() {
    return Drag.InDrag ? Drag.Outline : TRect {};
}

bool TsBorderDrag::Active() const {
    return FProvider.ResizeMode() == rmBorder && FProvider.Form() != nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// The outline loop

void TsBorderDrag::StartMove(int x, int y) {
    if (!Active()) return;
    const TCustomForm* form = FProvider.Form();
    Drag.InDrag = true;
    Drag.Owner = this;
    Drag.Dc = user::GetWindowDC(user::GetDesktopWindow());
    Drag.SavedDc = gdi::SaveDC(Drag.Dc);
    gdi::SetROP2(Drag.Dc, gdi::R2_NOT);   // drawn twice, the outline is gone
    Drag.DragTop = form->Top();
    Drag.DragLeft = form->Left();
    if (Drag.DragMoving) {
        Drag.DragX = x;
        Drag.DragY = y;
        DrawOutline(Drag.DragLeft, Drag.DragTop);
    } else {
        Drag.DragMinHeight = form->Constraints()->MinHeight();
        Drag.DragMinWidth = form->Constraints()->MinWidth();
        Drag.DragBottom = form->Top() + form->Height();
        Drag.DragRight = form->Left() + form->Width();
        DrawOutline(0, 0);
    }
}

void TsBorderDrag::DrawOutline(int x, int y) {
    if (!Active() || Drag.Dc == nullptr) return;
    const TCustomForm* form = FProvider.Form();
    TRect r = Drag.DragMoving ? TRect {x, y, x + form->Width(), y + form->Height()}
                              : TRect {Drag.DragLeft, Drag.DragTop, Drag.DragRight, Drag.DragBottom};
    const TsSkinProvider* parent = MDISkinProvider();
    if (form->FormStyle() == fsMDIChild && parent != nullptr && parent->Form() != nullptr) {
        // A child's position is in its parent's client: the outline goes to the screen by the parent's frame.
        const TCustomForm* frame = parent->Form();
        const int dx = frame->Left() + parent->SysBorderWidth() + frame->BorderWidth() + 1;
        const int dy = frame->Top() + 2 * parent->SysBorderHeight() + parent->CaptionHeight()
            + (parent->MenuPresent() ? parent->MenuHeight() * parent->MenuLines() : 0) + frame->BorderWidth() - 2;
        gdi::OffsetRect(&r, dx, dy);
    }
    Drag.Outline = r;
    const user::POINT points[5] {
        {r.left, r.top}, {r.left, r.bottom}, {r.right, r.bottom}, {r.right, r.top}, {r.left, r.top}};
    gdi::Polyline(Drag.Dc, points, 5);
}

void TsBorderDrag::StopMove() {
    if (!Active() || !Drag.InDrag) return;
    user::ReleaseCapture();
    EndOutline(*this);
    TCustomForm* form = FProvider.Form();
    if (!form->HandleAllocated()) return;
    const user::HWND hwnd = form->WindowHandle();
    if (Drag.DragMoving) {
        user::MoveWindow(hwnd, Drag.DragLeft, Drag.DragTop, form->Width(), form->Height(), true);
    } else if (!Drag.DragFirstMove) {
        user::MoveWindow(
            hwnd, Drag.DragLeft, Drag.DragTop, Drag.DragRight - Drag.DragLeft, Drag.DragBottom - Drag.DragTop, true);
    }
    Drag.DragFirstMove = false;
}

// A press on the frame or the title band with rmBorder: the move or size command, then the outline.
bool TsBorderDrag::StartFromPress(TMessage& message) {
    const int code = int(message.WParam);
    if (FProvider.ResizeMode() != rmBorder || code == user::HTMENU) return false;
    Drag.DragMoving = !IsSizingCode(code);
    const TPoint p = PointFromLParam(message.LParam);
    FStartingDrag = true;
    FProvider.Form()->Perform(user::WM_SYSCOMMAND, Drag.DragMoving ? user::SC_MOVE : user::SC_SIZE, 0);
    FStartingDrag = false;
    StartMove(p.x, p.y);
    return true;
}

// SC_MOVE and SC_SIZE with rmBorder: the provider runs its own loop, so the system's loop must not start too.
bool TsBorderDrag::SysCommand(TMessage& message) {
    if (FProvider.ResizeMode() != rmBorder || Drag.InDrag) return false;
    const WPARAM command = message.WParam & 0xFFF0;
    if (command != user::SC_MOVE && command != user::SC_SIZE) return false;
    user::SetCapture(FProvider.Form()->WindowHandle());
    Drag.DragFirstMove = true;
    Drag.DragMoving = command == user::SC_MOVE;
    if (!Drag.DragMoving) Drag.DragHT = 0;
    if (!FStartingDrag) {
        // From the window menu or a caller: the outline starts at the pointer; a size drag takes the edge
        // that the first hit test of the frame names.
        user::POINT cursor {};
        user::GetCursorPos(&cursor);
        StartMove(cursor.x, cursor.y);
    }
    message.Result = 0;
    return true;
}

void TsBorderDrag::MouseMove(TMessage& message) {
    const TCustomForm* form = FProvider.Form();
    if (FProvider.ResizeMode() != rmBorder || Drag.Owner != this || !form->HandleAllocated()) return;
    const TPoint c = PointFromLParam(message.LParam);
    user::POINT p {c.x, c.y};
    user::ClientToScreen(form->WindowHandle(), &p);
    if (Drag.DragMoving) {
        Drag.DragFirstMove = false;
        DrawOutline(Drag.DragLeft, Drag.DragTop);
        Drag.DragLeft += p.x - Drag.DragX;
        Drag.DragTop += p.y - Drag.DragY;
        Drag.DragX = p.x;
        Drag.DragY = p.y;
        DrawOutline(Drag.DragLeft, Drag.DragTop);
        return;
    }
    if (Drag.DragFirstMove) {
        Drag.DragX = p.x;
        Drag.DragY = p.y;
        Drag.DragFirstMove = false;
    }
    DrawOutline(0, 0);
    const int ht = Drag.DragHT;
    const TRect bounds = form->BoundsRect();
    if (ht == user::HTLEFT || ht == user::HTTOPLEFT || ht == user::HTBOTTOMLEFT) {
        Drag.DragLeft = p.x + bounds.left - Drag.DragX;
        if (Drag.DragRight - Drag.DragLeft < Drag.DragMinWidth) Drag.DragLeft = Drag.DragRight - Drag.DragMinWidth;
    }
    if (ht == user::HTRIGHT || ht == user::HTTOPRIGHT || ht == user::HTBOTTOMRIGHT) {
        Drag.DragRight = p.x + bounds.right - Drag.DragX;
        if (Drag.DragRight - Drag.DragLeft < Drag.DragMinWidth) Drag.DragRight = bounds.left + Drag.DragMinWidth;
    }
    if (ht == user::HTTOP || ht == user::HTTOPLEFT || ht == user::HTTOPRIGHT) {
        Drag.DragTop = p.y + bounds.top - Drag.DragY;
        if (Drag.DragBottom - Drag.DragTop < Drag.DragMinHeight) Drag.DragTop = Drag.DragBottom - Drag.DragMinHeight;
    }
    if (ht == user::HTBOTTOM || ht == user::HTBOTTOMLEFT || ht == user::HTBOTTOMRIGHT) {
        Drag.DragBottom = p.y + bounds.bottom - Drag.DragY;
        if (Drag.DragBottom - Drag.DragTop < Drag.DragMinHeight) Drag.DragBottom = bounds.top + Drag.DragMinHeight;
    }
    DrawOutline(0, 0);
}

bool TsBorderDrag::EndFromRelease(TMessage& message) {
    if (FProvider.ResizeMode() != rmBorder || !Drag.InDrag || Drag.Owner != this) return false;
    if (message.Msg != user::WM_NCLBUTTONDBLCLK) {
        const int code = message.Msg == user::WM_NCLBUTTONUP ? int(message.WParam) : 0;
        // The releases that the caption buttons take (the title icon's is not one of them).
        const bool captionElement = code == htMinimize || code == htMaximize || code == htClose || code == htHelp
            || code == htMdiClose || code == htMdiRestore || code == htMdiMinimize
            || FProvider.CaptionButtons().TitleButtonOfCode(code) != nullptr;
        const TsFrameGeometry& g = FProvider.FrameGeometry();
        if (captionElement || g.Iconic() || g.Maximized()) return false;
    }
    StopMove();
    user::ReleaseCapture();
    return true;
}

void TsBorderDrag::Cancel() {
    if (!Drag.InDrag || Drag.Owner != this) return;
    EndOutline(*this);
}

void TsBorderDrag::LatchBorder(int hitCode) {
    if (FProvider.ResizeMode() == rmBorder && Drag.DragHT == 0 && (hitCode == htCaption || IsSizingCode(hitCode)))
        Drag.DragHT = hitCode;
}

// ---------------------------------------------------------------------------------------------------------
// Snapping: the desktop's work area, the left and top edges measured from the display that holds the form.
// Maximized bounds: the desktop's work area (the window layer moves them to the monitor that holds the form).

void TsBorderDrag::SnapToWorkArea(int& x, int& y, TSize size, const TRect& work, TPoint display, int buffer) {
    SnapToEdge(x, work.right, size.cx, buffer);
    SnapToEdge(y, work.bottom, size.cy, buffer);
    SnapToEdge(x, work.left, display.x, buffer);
    SnapToEdge(y, work.top, display.y, buffer);
}

void TsBorderDrag::Snap(user::WINDOWPOS& pos) const {
    if (!FProvider.ScreenSnap() || FProvider.FrameGeometry().Maximized() || (pos.x == 0 && pos.y == 0)
        || (pos.flags & user::SWP_NOMOVE))
        return;
    const TCustomForm* form = FProvider.Form();
    user::MONITORINFO monitor;
    if (!user::GetMonitorInfo(user::MonitorFromWindow(form->WindowHandle(), user::MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    TRect work;
    GetWorkAreaRect(work);
    SnapToWorkArea(pos.x, pos.y, TSize {form->Width(), form->Height()}, work,
        TPoint {monitor.rcMonitor.left, monitor.rcMonitor.top}, FProvider.SnapBuffer());
}

void TsBorderDrag::FillMaximizedBounds(user::MINMAXINFO& info, const TRect& work, int frameX, int frameY) {
    if (info.ptMaxTrackSize.x == -1) info.ptMaxTrackSize.x = work.Width() + 2 * frameX;
    if (info.ptMaxTrackSize.y == -1) info.ptMaxTrackSize.y = work.Height() + 2 * frameY;
    if (info.ptMaxPosition.x == -1) info.ptMaxPosition.x = work.left - frameX;
    if (info.ptMaxPosition.y == -1) info.ptMaxPosition.y = work.top - frameY;
}

void TsBorderDrag::FillMaximizedBounds(user::MINMAXINFO& info) const {
    const TsFrameGeometry& g = FProvider.FrameGeometry();
    TRect work;
    GetWorkAreaRect(work);
    const int f = g.HasBorder() ? g.SysBorderWidth() : 0;
    const int h = g.HasBorder() ? g.SysBorderHeight() : 0;
    FillMaximizedBounds(info, work, f, h);
}

}
