// TsSkinProvider: the outline loop that moves and sizes a form with rmBorder, snapping to the work area's
// edges, and the bounds of a maximized form.
#include "skin/windows/sSkinProvider.h"

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
    user::HDC Dc = nullptr;
    int SavedDc = 0;
    const TsSkinProvider* Owner = nullptr;
};

TDragState Drag;

bool IsSizingCode(int code) {
    return code >= user::HTLEFT && code <= user::HTBOTTOMRIGHT;
}

// The outline erased and the desktop DC given back.
void EndOutline(TsSkinProvider* provider) {
    Drag.InDrag = false;
    provider->DrawFormBorder(Drag.DragLeft, Drag.DragTop);
    gdi::RestoreDC(Drag.Dc, Drag.SavedDc);
    user::ReleaseDC(user::GetDesktopWindow(), Drag.Dc);
    Drag.Dc = nullptr;
    Drag.Owner = nullptr;
}

}

bool TsSkinProvider::InOutlineDrag() {
    return Drag.InDrag;
}

void SnapToEdge(int& pos, int edge, int size, int buffer) {
    if (std::abs(pos + size - edge) < buffer) pos = edge - size;
}

// ---------------------------------------------------------------------------------------------------------
// The outline loop

void TsSkinProvider::StartMove(int x, int y) {
    if (FResizeMode != rmBorder || FForm == nullptr) return;
    Drag.InDrag = true;
    Drag.Owner = this;
    Drag.Dc = user::GetWindowDC(user::GetDesktopWindow());
    Drag.SavedDc = gdi::SaveDC(Drag.Dc);
    gdi::SetROP2(Drag.Dc, gdi::R2_NOT);   // drawn twice, the outline is gone
    Drag.DragTop = FForm->Top();
    Drag.DragLeft = FForm->Left();
    if (Drag.DragMoving) {
        Drag.DragX = x;
        Drag.DragY = y;
        DrawFormBorder(Drag.DragLeft, Drag.DragTop);
    } else {
        Drag.DragMinHeight = FForm->Constraints()->MinHeight();
        Drag.DragMinWidth = FForm->Constraints()->MinWidth();
        Drag.DragBottom = FForm->Top() + FForm->Height();
        Drag.DragRight = FForm->Left() + FForm->Width();
        DrawFormBorder(0, 0);
    }
}

void TsSkinProvider::DrawFormBorder(int x, int y) {
    if (FResizeMode != rmBorder || FForm == nullptr || Drag.Dc == nullptr) return;
    TRect r = Drag.DragMoving ? TRect {x, y, x + FForm->Width(), y + FForm->Height()}
                              : TRect {Drag.DragLeft, Drag.DragTop, Drag.DragRight, Drag.DragBottom};
    const user::POINT points[5] {
        {r.left, r.top}, {r.left, r.bottom}, {r.right, r.bottom}, {r.right, r.top}, {r.left, r.top}};
    gdi::Polyline(Drag.Dc, points, 5);
}

void TsSkinProvider::StopMove() {
    if (FResizeMode != rmBorder || FForm == nullptr || !Drag.InDrag) return;
    user::ReleaseCapture();
    EndOutline(this);
    if (!FForm->HandleAllocated()) return;
    const user::HWND hwnd = FForm->WindowHandle();
    if (Drag.DragMoving) {
        user::MoveWindow(hwnd, Drag.DragLeft, Drag.DragTop, FForm->Width(), FForm->Height(), true);
    } else if (!Drag.DragFirstMove) {
        user::MoveWindow(
            hwnd, Drag.DragLeft, Drag.DragTop, Drag.DragRight - Drag.DragLeft, Drag.DragBottom - Drag.DragTop, true);
    }
    Drag.DragFirstMove = false;
}

// A press on the frame or the title band with rmBorder: the move or size command, then the outline.
bool TsSkinProvider::StartBorderDrag(TMessage& message) {
    const int code = int(message.WParam);
    if (FResizeMode != rmBorder || code == user::HTMENU || (code != htCaption && !IsSizingCode(code))) return false;
    Drag.DragMoving = !IsSizingCode(code);
    const TPoint p = PointFromLParam(message.LParam);
    FStartingDrag = true;
    FForm->Perform(user::WM_SYSCOMMAND, Drag.DragMoving ? user::SC_MOVE : user::SC_SIZE, 0);
    FStartingDrag = false;
    if (!Drag.DragMoving && Drag.DragHT == 0) Drag.DragHT = code;
    StartMove(p.x, p.y);
    return true;
}

// SC_MOVE and SC_SIZE with rmBorder: the provider runs its own loop, so the system's loop must not start too.
bool TsSkinProvider::BorderSysCommand(TMessage& message) {
    if (FResizeMode != rmBorder || Drag.InDrag) return false;
    const WPARAM command = message.WParam & 0xFFF0;
    if (command != user::SC_MOVE && command != user::SC_SIZE) return false;
    user::SetCapture(FForm->WindowHandle());
    Drag.DragFirstMove = true;
    Drag.DragMoving = command == user::SC_MOVE;
    if (!Drag.DragMoving) Drag.DragHT = 0;
    if (!FStartingDrag) {
        // From the window menu or a caller: the outline starts at the pointer; sizing takes the bottom-right
        // corner, as the first hit test under the pointer may be the client area.
        if (!Drag.DragMoving) Drag.DragHT = user::HTBOTTOMRIGHT;
        user::POINT cursor {};
        user::GetCursorPos(&cursor);
        StartMove(cursor.x, cursor.y);
    }
    message.Result = 0;
    return true;
}

void TsSkinProvider::DragMouseMove(TMessage& message) {
    if (FResizeMode != rmBorder || Drag.Owner != this || !FForm->HandleAllocated()) return;
    const TPoint c = PointFromLParam(message.LParam);
    user::POINT p {c.x, c.y};
    user::ClientToScreen(FForm->WindowHandle(), &p);
    if (Drag.DragMoving) {
        Drag.DragFirstMove = false;
        DrawFormBorder(Drag.DragLeft, Drag.DragTop);
        Drag.DragLeft += p.x - Drag.DragX;
        Drag.DragTop += p.y - Drag.DragY;
        Drag.DragX = p.x;
        Drag.DragY = p.y;
        DrawFormBorder(Drag.DragLeft, Drag.DragTop);
        return;
    }
    if (Drag.DragFirstMove) {
        Drag.DragX = p.x;
        Drag.DragY = p.y;
        Drag.DragFirstMove = false;
    }
    DrawFormBorder(0, 0);
    const int ht = Drag.DragHT;
    const TRect form = FForm->BoundsRect();
    if (ht == user::HTLEFT || ht == user::HTTOPLEFT || ht == user::HTBOTTOMLEFT) {
        Drag.DragLeft = p.x + form.left - Drag.DragX;
        if (Drag.DragRight - Drag.DragLeft < Drag.DragMinWidth) Drag.DragLeft = Drag.DragRight - Drag.DragMinWidth;
    }
    if (ht == user::HTRIGHT || ht == user::HTTOPRIGHT || ht == user::HTBOTTOMRIGHT) {
        Drag.DragRight = p.x + form.right - Drag.DragX;
        if (Drag.DragRight - Drag.DragLeft < Drag.DragMinWidth) Drag.DragRight = form.left + Drag.DragMinWidth;
    }
    if (ht == user::HTTOP || ht == user::HTTOPLEFT || ht == user::HTTOPRIGHT) {
        Drag.DragTop = p.y + form.top - Drag.DragY;
        if (Drag.DragBottom - Drag.DragTop < Drag.DragMinHeight) Drag.DragTop = Drag.DragBottom - Drag.DragMinHeight;
    }
    if (ht == user::HTBOTTOM || ht == user::HTBOTTOMLEFT || ht == user::HTBOTTOMRIGHT) {
        Drag.DragBottom = p.y + form.bottom - Drag.DragY;
        if (Drag.DragBottom - Drag.DragTop < Drag.DragMinHeight) Drag.DragBottom = form.top + Drag.DragMinHeight;
    }
    DrawFormBorder(0, 0);
}

bool TsSkinProvider::EndBorderDrag(TMessage& message) {
    if (FResizeMode != rmBorder || !Drag.InDrag || Drag.Owner != this) return false;
    if (message.Msg != user::WM_NCLBUTTONDBLCLK) {
        const int code = message.Msg == user::WM_NCLBUTTONUP ? int(message.WParam) : 0;
        const bool captionElement = code == htMinimize || code == htMaximize || code == htClose || code == htHelp
            || code == htTitleIcon || code >= htTitleButton;
        if (captionElement || Iconic() || Maximized()) return false;
    }
    StopMove();
    user::ReleaseCapture();
    return true;
}

// The capture went elsewhere in the middle of a drag: the outline goes and the window stays.
void TsSkinProvider::CancelBorderDrag() {
    if (!Drag.InDrag || Drag.Owner != this) return;
    EndOutline(this);
}

void TsSkinProvider::LatchDragBorder(int hitCode) {
    if (FResizeMode == rmBorder && Drag.DragHT == 0 && (hitCode == htCaption || IsSizingCode(hitCode)))
        Drag.DragHT = hitCode;
}

// ---------------------------------------------------------------------------------------------------------
// Snapping and maximized bounds: both keep to the monitor that holds the form.

void TsSkinProvider::SnapPosition(user::WINDOWPOS& pos) const {
    if (!FScreenSnap || Maximized() || (pos.x == 0 && pos.y == 0) || (pos.flags & user::SWP_NOMOVE)) return;
    // The monitor the form is going to.
    const user::RECT target {pos.x, pos.y, pos.x + FForm->Width(), pos.y + FForm->Height()};
    user::MONITORINFO monitor;
    if (!user::GetMonitorInfo(user::MonitorFromRect(&target, user::MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const user::RECT work = monitor.rcWork;
    SnapToEdge(pos.x, work.right, FForm->Width(), FSnapBuffer);
    SnapToEdge(pos.y, work.bottom, FForm->Height(), FSnapBuffer);
    SnapToEdge(pos.x, work.left, 0, FSnapBuffer);
    SnapToEdge(pos.y, work.top, 0, FSnapBuffer);
}

void TsSkinProvider::WMGetMinMaxInfo(TMessage& message) {
    auto* info = reinterpret_cast<user::MINMAXINFO*>(message.LParam);
    if (info == nullptr) {
        CallOld(message);
        return;
    }
    info->ptMaxTrackSize = user::POINT {-1, -1};
    info->ptMaxPosition = user::POINT {-1, -1};
    CallOld(message);
    const user::RECT work = user::GetWindowWorkArea(FForm->WindowHandle());
    const int f = HasBorder() ? SysBorderWidth() : 0;
    const int g = HasBorder() ? SysBorderHeight() : 0;
    if (info->ptMaxTrackSize.x == -1) info->ptMaxTrackSize.x = work.Width() + 2 * f;
    if (info->ptMaxTrackSize.y == -1) info->ptMaxTrackSize.y = work.Height() + 2 * g;
    if (info->ptMaxPosition.x == -1) info->ptMaxPosition.x = work.left - f;
    if (info->ptMaxPosition.y == -1) info->ptMaxPosition.y = work.top - g;
}

}
