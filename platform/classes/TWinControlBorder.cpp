// TWinControl's own frame: BorderWidth and the bevels in the non-client area, painted on WM_NCPAINT and WM_PRINT.
#include "platform/classes/TWinControl.h"

#include "platform/classes/TColor.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/NonClient.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <algorithm>

namespace korvex::classes {

using namespace user;

namespace {

UINT EdgeOf(TBevelCut cut, bool outer) {
    switch (cut) {
    case bvLowered:
        return outer ? gdi::BDR_SUNKENOUTER : gdi::BDR_SUNKENINNER;
    case bvRaised:
        return outer ? gdi::BDR_RAISEDOUTER : gdi::BDR_RAISEDINNER;
    default:
        return 0;
    }
}

UINT SidesOf(TBevelEdges edges) {
    UINT sides = 0;
    if (edges.Contains(beLeft)) sides |= gdi::BF_LEFT;
    if (edges.Contains(beTop)) sides |= gdi::BF_TOP;
    if (edges.Contains(beRight)) sides |= gdi::BF_RIGHT;
    if (edges.Contains(beBottom)) sides |= gdi::BF_BOTTOM;
    return sides;
}

}

void TWinControl::SetBorderWidth(int value) {
    value = std::max(value, 0);
    if (value == FBorderWidth) return;
    FBorderWidth = value;
    BorderChanged();
}

void TWinControl::SetBevelKind(TBevelKind value) {
    if (value == FBevelKind) return;
    FBevelKind = value;
    BorderChanged();
}

void TWinControl::SetBevelInner(TBevelCut value) {
    if (value == FBevelInner) return;
    FBevelInner = value;
    BorderChanged();
}

void TWinControl::SetBevelOuter(TBevelCut value) {
    if (value == FBevelOuter) return;
    FBevelOuter = value;
    BorderChanged();
}

void TWinControl::SetBevelEdges(TBevelEdges value) {
    if (value == FBevelEdges) return;
    FBevelEdges = value;
    BorderChanged();
}

TRect TWinControl::BorderInsets() const {
    const int bevel = FBevelKind == bkNone ? 0 : int(FBevelInner != bvNone) + int(FBevelOuter != bvNone);
    auto side = [&](TBevelEdge edge) { return FBorderWidth + (FBevelEdges.Contains(edge) ? bevel : 0); };
    return TRect {side(beLeft), side(beTop), side(beRight), side(beBottom)};
}

// The client area changes size: the window recomputes its frame, the children are laid out again.
void TWinControl::BorderChanged() {
    if (FHandle != nullptr) {
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
            SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
    }
    Realign();
}

void TWinControl::WMNCCalcSize(TMessage& m) {
    DefaultHandler(m);
    if (m.LParam == 0) return;
    RECT* client = m.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0]
                            : reinterpret_cast<RECT*>(m.LParam);
    const TRect insets = BorderInsets();
    client->left += insets.left;
    client->top += insets.top;
    client->right = std::max(client->left, client->right - insets.right);
    client->bottom = std::max(client->top, client->bottom - insets.bottom);
}

void TWinControl::WMNCPaint(TMessage& m) {
    DefaultHandler(m);
    if (FHandle == nullptr || (FBorderWidth == 0 && FBevelKind == bkNone)) return;
    HDC dc = GetWindowDC(FHandle);
    if (dc == nullptr) return;
    PaintBorder(dc);
    ReleaseDC(FHandle, dc);
}

void TWinControl::WMPrint(TMessage& m) {
    DefaultHandler(m);
    if ((m.LParam & PRF_NONCLIENT) && m.WParam != 0 && FHandle != nullptr)
        PaintBorder(reinterpret_cast<HDC>(m.WParam));
}

// The ring between the window's own frame and the client area: the bevels outside, then Color.
void TWinControl::PaintBorder(HDC dc) {
    RECT window {};
    RECT client {};
    user::GetWindowRect(FHandle, &window);
    user::GetClientRect(FHandle, &client);
    POINT origin {0, 0};
    user::ClientToScreen(FHandle, &origin);
    gdi::OffsetRect(&client, origin.x - window.left, origin.y - window.top);
    const TRect insets = BorderInsets();
    RECT ring {client.left - insets.left, client.top - insets.top, client.right + insets.right,
        client.bottom + insets.bottom};
    const int saved = gdi::SaveDC(dc);
    gdi::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    if (FBevelKind != bkNone) {
        const UINT sides = SidesOf(FBevelEdges);
        if (FBevelKind == bkSoft) {
            const UINT soft = sides | gdi::BF_SOFT | gdi::BF_ADJUST;
            if (FBevelOuter != bvNone) gdi::DrawEdge(dc, &ring, EdgeOf(FBevelOuter, true), soft);
            if (FBevelInner != bvNone) gdi::DrawEdge(dc, &ring, EdgeOf(FBevelInner, false), soft);
        } else if (FBevelKind == bkFlat) {
            gdi::DrawEdge(dc, &ring, gdi::BDR_SUNKENOUTER, sides | gdi::BF_FLAT | gdi::BF_ADJUST);
            if (FBevelInner != bvNone && FBevelOuter != bvNone)
                gdi::DrawEdge(dc, &ring, gdi::BDR_SUNKENOUTER, sides | gdi::BF_FLAT | gdi::BF_ADJUST);
        } else {
            if (FBevelOuter != bvNone) gdi::DrawEdge(dc, &ring, EdgeOf(FBevelOuter, true), sides | gdi::BF_ADJUST);
            if (FBevelInner != bvNone) gdi::DrawEdge(dc, &ring, EdgeOf(FBevelInner, false), sides | gdi::BF_ADJUST);
        }
    }
    if (FBorderWidth > 0) {
        gdi::GdiHandle<gdi::Brush> brush(gdi::CreateSolidBrush(ColorToColorRef(Color())));
        gdi::FillRect(dc, &ring, brush.Get());
    }
    gdi::RestoreDC(dc, saved);
}

}
