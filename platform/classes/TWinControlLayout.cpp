// TWinControl: laying out aligned and anchored children, scrolling them, and painting with windowless children.
#include "platform/base/Assert.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TWinControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <vector>

namespace korvex::classes {

using namespace user;

namespace {

// The order of the controls of one alignment: the one asking first, then by position.
bool InsertBefore(TControl* a, TControl* b, TAlign align) {
    switch (align) {
    case alTop:
        return a->Top() < b->Top();
    case alBottom:
        return a->Top() + a->Height() >= b->Top() + b->Height();
    case alLeft:
        return a->Left() < b->Left();
    case alRight:
        return a->Left() + a->Width() >= b->Left() + b->Width();
    default:
        return false;
    }
}

}

void TWinControl::DisableAlign() {
    ++FAlignLevel;
}

void TWinControl::EnableAlign() {
    if (FAlignLevel > 0) --FAlignLevel;
    if (FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() {
    AlignControl(nullptr);
}

void TWinControl::RequestAlign() {
    TControl::RequestAlign();
}

void TWinControl::AlignControl(TControl* control) {
    if (FHandle == nullptr || ComponentState().Contains(csDestroying)) return;
    if (FAlignLevel != 0 || ComponentState().Contains(csLoading)) {
        FControlState.Include(csAlignmentNeeded);
        return;
    }
    DisableAlign();
    base::ScopeExit aligned([this] {
        FControlState.Exclude(csAlignmentNeeded);
        --FAlignLevel;
    });
    TRect rect = GetClientRect();
    AlignControls(control, rect);
}

// Top, bottom, left and right controls take their strips of the client area in turn, the client-aligned
// ones what is left; controls without alignment follow their anchors when the parent's size changed.
void TWinControl::AlignControls(TControl* control, TRect& rect) {
    AdjustClientRect(rect);
    TRect client = GetClientRect();
    // Strip edges and anchored positions in 64 bits, kept in the coordinate range.
    auto moved = [](int edge, std::int64_t by) { return gdi::ClampCoord(edge + by); };
    auto position = [&](TControl* c, TAlign align) {
        int left = rect.left, top = rect.top;
        int width = rect.right - rect.left, height = rect.bottom - rect.top;
        switch (align) {
        case alTop:
            height = c->Height();
            rect.top = moved(rect.top, height);
            break;
        case alBottom:
            height = c->Height();
            rect.bottom = moved(rect.bottom, -std::int64_t(height));
            top = rect.bottom;
            break;
        case alLeft:
            width = c->Width();
            rect.left = moved(rect.left, width);
            break;
        case alRight:
            width = c->Width();
            rect.right = moved(rect.right, -std::int64_t(width));
            left = rect.right;
            break;
        case alNone: {
            left = c->Left();
            top = c->Top();
            width = c->Width();
            height = c->Height();
            TPoint parentSize = Point(client.right, client.bottom);
            TPoint original = c->FOriginalParentSize;
            TAnchors anchors = c->Anchors();
            if (original.x != 0) {
                if (anchors.Contains(akRight)) {
                    if (anchors.Contains(akLeft))
                        width = parentSize.x - (original.x - c->FAnchorRules.x);
                    else
                        left = parentSize.x - (original.x - c->FAnchorRules.x);
                } else if (!anchors.Contains(akLeft)) {
                    left = moved(-width / 2, std::int64_t(c->FAnchorRules.x) * parentSize.x / original.x);
                }
            }
            if (original.y != 0) {
                if (anchors.Contains(akBottom)) {
                    if (anchors.Contains(akTop))
                        height = parentSize.y - (original.y - c->FAnchorRules.y);
                    else
                        top = parentSize.y - (original.y - c->FAnchorRules.y);
                } else if (!anchors.Contains(akTop)) {
                    top = moved(-height / 2, std::int64_t(c->FAnchorRules.y) * parentSize.y / original.y);
                }
            }
            break;
        }
        default:
            break;
        }
        if (width < 0) width = 0;
        if (height < 0) height = 0;
        {
            base::ValueRollback<bool> anchorMove(c->FAnchorMove, true);
            c->SetBounds(left, top, width, height);
        }
        // A control that kept another size (fixed by itself) moves the strip edge with it.
        switch (align) {
        case alTop:
            rect.top = moved(rect.top, std::int64_t(c->Height()) - height);
            break;
        case alBottom:
            rect.bottom = moved(rect.bottom, height - std::int64_t(c->Height()));
            break;
        case alLeft:
            rect.left = moved(rect.left, std::int64_t(c->Width()) - width);
            break;
        case alRight:
            rect.right = moved(rect.right, width - std::int64_t(c->Width()));
            break;
        default:
            break;
        }
    };
    auto doAlign = [&](TAlign align) {
        std::vector<TControl*> list;
        auto takes = [&](TControl* c) {
            if (c->Align() != align) return false;
            if (align == alNone)
                return c->Anchors() != TAnchors {akLeft, akTop}
                && c->FOriginalParentSize.x + c->FOriginalParentSize.y != 0;
            return c->Visible();
        };
        if (control != nullptr && control->Parent() == this && takes(control)) list.push_back(control);
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (c == control || !takes(c)) continue;
            std::size_t j = 0;
            while (j < list.size() && !InsertBefore(c, list[j], align))
                ++j;
            list.insert(list.begin() + static_cast<std::ptrdiff_t>(j), c);
        }
        for (TControl* c : list)
            position(c, align);
    };
    doAlign(alTop);
    doAlign(alBottom);
    doAlign(alLeft);
    doAlign(alRight);
    doAlign(alClient);
    // While the window is being made its size is not the one the anchors were taken against.
    if (!FControlState.Contains(csCreating)) doAlign(alNone);
}

void TWinControl::ScrollBy(int deltaX, int deltaY) {
    DisableAlign();
    base::ScopeExit scrolled([this] { --FAlignLevel; });   // no realignment: the controls only moved
    for (TControl* c : FControls) {
        c->FLeft += deltaX;
        c->FTop += deltaY;
    }
    ControlsChanged();
    if (FHandle != nullptr) {
        ScrollWindowEx(FHandle, deltaX, deltaY, nullptr, nullptr, nullptr, nullptr,
            SW_INVALIDATE | SW_ERASE | SW_SCROLLCHILDREN);
        for (TWinControl* c : FWinControls)
            c->UpdateBounds();
    } else {
        for (TWinControl* c : FWinControls) {
            c->FLeft += deltaX;
            c->FTop += deltaY;
        }
    }
}

// ---------------------------------------------------------------------------------------------------------
// Painting

// Through CM_INVALIDATE, so a subclass hears of every repaint request.
void TWinControl::Invalidate() {
    Perform(CM_INVALIDATE, 0, 0);
}

void TWinControl::CMInvalidate(TMessage&) {
    if (FHandle != nullptr) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Update() {
    if (FHandle != nullptr) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

void TWinControl::PaintWindow(HDC dc) {
    TMessage message {WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(message);
}

// Paints the control except under its opaque windowless children, then those children.
void TWinControl::PaintHandler(TMessage& message) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    const bool ownDc = dc == nullptr;
    PAINTSTRUCT ps;
    if (ownDc) dc = BeginPaint(FHandle, &ps);
    base::ScopeExit endPaint([&] {
        if (ownDc) EndPaint(FHandle, &ps);
    });
    if (FControls.empty()) {
        PaintWindow(dc);
    } else {
        gdi::SavedDc saved(dc);
        int clip = gdi::SIMPLEREGION;
        for (TControl* c : FControls) {
            if (c->Visible() && c->ControlStyle().Contains(csOpaque)) {
                clip = gdi::ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
                if (clip == gdi::NULLREGION) break;
            }
        }
        if (clip != gdi::NULLREGION) PaintWindow(dc);
    }
    PaintControls(dc, nullptr);
}

const TRect& TWinControl::ControlRect(std::size_t index) {
    KORVEX_ASSERT(index < FControls.size());
    if (!FControlRectsValid || FControlRects.size() != FControls.size()) {
        FControlRects.resize(FControls.size());
        for (std::size_t i = 0; i < FControls.size(); ++i)
            FControlRects[i] = FControls[i]->Visible() ? FControls[i]->BoundsRect() : TRect {};
        FControlRectsValid = true;
    }
    return FControlRects[index];
}

// WM_PAINT with the DC for each visible windowless child from first on, its origin at the child's corner
// and the clip cut to its bounds.
void TWinControl::PaintControls(HDC dc, TControl* first) {
    std::size_t i = 0;
    if (first != nullptr) {
        auto it = std::find(FControls.begin(), FControls.end(), first);
        if (it != FControls.end()) i = static_cast<std::size_t>(it - FControls.begin());
    }
    RECT clipBox {};
    const int clip = gdi::GetClipBox(dc, &clipBox);
    if (clip == gdi::NULLREGION) return;
    for (; i < FControls.size(); ++i) {
        // The kept rectangles first: most siblings lie outside the clip and are passed without touching them.
        TRect bounds = ControlRect(i);
        RECT common;
        if (clip != gdi::ERROR && !gdi::IntersectRect(&common, &bounds, &clipBox)) continue;
        TControl* c = FControls[i];
        if (!c->Visible() || !gdi::RectVisible(dc, &bounds)) continue;
        if (FControlState.Contains(csPaintCopy)) c->FControlState.Include(csPaintCopy);
        base::ScopeExit painted([c] { c->FControlState.Exclude(csPaintCopy); });
        gdi::SavedDc saved(dc);   // restored before the flag goes
        POINT origin;
        gdi::GetWindowOrgEx(dc, &origin);
        gdi::SetWindowOrgEx(dc, origin.x - c->Left(), origin.y - c->Top(), nullptr);
        gdi::IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
}

void TWinControl::WMPaint(TMessage& m) {
    if (!FDoubleBuffered || m.WParam != 0) {
        if (!FControlState.Contains(csCustomPaint) && FControls.empty())
            DefaultHandler(m);
        else
            PaintHandler(m);
        return;
    }
    // Composed off screen, then copied in one go.
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(FHandle, &ps);
    base::ScopeExit endPaint([&] { EndPaint(FHandle, &ps); });
    TRect client = GetClientRect();
    HDC memDc = gdi::CreateCompatibleDC(dc);
    HBITMAP bitmap
        = gdi::CreateCompatibleBitmap(dc, std::max(1L, long(client.right)), std::max(1L, long(client.bottom)));
    HBITMAP old = gdi::SelectObject(memDc, bitmap);
    base::ScopeExit freeBuffer([&] {
        gdi::SelectObject(memDc, old);
        gdi::DeleteDC(memDc);
        gdi::DeleteObject(bitmap);
    });
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memDc), reinterpret_cast<LPARAM>(memDc));
    {
        base::ValueRollback<WPARAM> buffered(m.WParam, reinterpret_cast<WPARAM>(memDc));
        WMPaint(m);
    }
    gdi::BitBlt(dc, 0, 0, client.right, client.bottom, memDc, 0, 0, gdi::SRCCOPY);
}

// The client area into the DC of WM_PRINT: the paint cycle with that DC, windowless children included.
void TWinControl::WMPrintClient(TMessage& m) {
    if (!(m.LParam & user::PRF_CLIENT) || m.WParam == 0) return;
    m.Result = Perform(WM_PAINT, m.WParam, 0);
}

// The background in Color; a parent background is left to the parent (nothing erased).
void TWinControl::WMEraseBkgnd(TMessage& m) {
    if (FControlStyle.Contains(csParentBackground) || FHandle == nullptr) {
        DefaultHandler(m);
        return;
    }
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    TRect client = GetClientRect();
    gdi::FillRect(dc, &client, FBrush->Handle());
    m.Result = 1;
}

}
