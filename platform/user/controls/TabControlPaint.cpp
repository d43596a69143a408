// The tab control's plain look: the raised page frame, tabs with three edges, buttons, captions and images.
#include "platform/gdi/Gdi.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/Focus.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControlsPaint.h"
#include "platform/user/controls/TabControlState.h"

#include <algorithm>

namespace korvex::user::tabs {

namespace {

// The sides of a tab that are drawn: all but the one facing the page.
UINT TabSides(Side side) {
    switch (side) {
    case Side::Top:
        return gdi::BF_LEFT | gdi::BF_TOP | gdi::BF_RIGHT;
    case Side::Bottom:
        return gdi::BF_LEFT | gdi::BF_BOTTOM | gdi::BF_RIGHT;
    case Side::Left:
        return gdi::BF_LEFT | gdi::BF_TOP | gdi::BF_BOTTOM;
    case Side::Right:
        return gdi::BF_TOP | gdi::BF_RIGHT | gdi::BF_BOTTOM;
    }
    return gdi::BF_RECT;
}

// The selected tab stands out by two pixels and covers the frame's edge where it meets the page.
RECT SelectedRect(RECT r) {
    gdi::InflateRect(&r, 2, 2);
    return r;
}

void RoundCorners(HDC dc, Side side, const RECT& r) {
    COLORREF face = gdi::GetSysColor(gdi::COLOR_BTNFACE);
    POINT a {}, b {};
    switch (side) {
    case Side::Top:
        a = {r.left, r.top}, b = {r.right - 1, r.top};
        break;
    case Side::Bottom:
        a = {r.left, r.bottom - 1}, b = {r.right - 1, r.bottom - 1};
        break;
    case Side::Left:
        a = {r.left, r.top}, b = {r.left, r.bottom - 1};
        break;
    case Side::Right:
        a = {r.right - 1, r.top}, b = {r.right - 1, r.bottom - 1};
        break;
    }
    gdi::SetPixelV(dc, a.x, a.y, face);
    gdi::SetPixelV(dc, b.x, b.y, face);
}

// A rotated copy of the control's font for the captions of vertical tabs.
HFONT RotatedFont(HFONT font, Side side) {
    gdi::LOGFONT lf;
    if (!gdi::GetObject(font, &lf)) lf = gdi::StockLogFont(gdi::DEFAULT_GUI_FONT);
    lf.lfEscapement = lf.lfOrientation = side == Side::Left ? 900 : 2700;
    return gdi::CreateFontIndirect(lf);
}

void DrawCaption(HWND hwnd, TabState* s, HDC dc, int index, RECT r, bool selected) {
    Item& item = s->Items[size_t(index)];
    Side side = SideOf(hwnd);
    bool enabled = IsWindowEnabled(hwnd);
    bool hot = index == s->Hot && (GetWindowStyle(hwnd) & TCS_HOTTRACK);
    COLORREF color = gdi::GetSysColor(hot ? gdi::COLOR_HOTLIGHT : gdi::COLOR_BTNTEXT);
    SIZE image = ImageListSize(s->Images);
    bool hasImage = item.Image >= 0 && item.Image < ImageList_GetImageCount(s->Images);
    HFONT font = ControlFont(s->Font);
    if (side == Side::Top || side == Side::Bottom) {
        comctl::FontScope scope(dc, font);
        SIZE text = comctl::TextSize(dc, item.Text);
        int width = text.cx + (hasImage ? image.cx + 3 : 0);
        int x = r.left + std::max(s->Padding.cx, int(r.right - r.left - width) / 2);
        if (hasImage) {
            ImageList_Draw(s->Images, item.Image, dc, x, r.top + (r.bottom - r.top - image.cy) / 2, enabled);
            x += image.cx + 3;
        }
        RECT t {x, r.top, r.right, r.bottom};
        comctl::DrawLabel(dc, item.Text, t, gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_LEFT, color, enabled);
        if (selected && GetFocus() == hwnd && !item.Text.empty()) {
            RECT focus {x - 1, t.top + (t.bottom - t.top - text.cy) / 2, x + text.cx + 1, 0};
            focus.bottom = focus.top + text.cy;
            gdi::DrawFocusRect(dc, &focus);
        }
        return;
    }
    // Vertical tabs: the caption runs up (left side) or down (right side) the tab.
    gdi::GdiHandle<gdi::Font> rotated(RotatedFont(font, side));
    SIZE text;
    {
        comctl::FontScope plain(dc, font);
        text = comctl::TextSize(dc, item.Text);
    }
    comctl::FontScope scope(dc, rotated.Get());
    int width = r.right - r.left, height = r.bottom - r.top;
    gdi::SavedDc saved(dc);
    gdi::IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    gdi::SetBkMode(dc, gdi::TRANSPARENT);
    gdi::SetTextColor(dc, enabled ? color : gdi::GetSysColor(gdi::COLOR_GRAYTEXT));
    if (side == Side::Left)
        gdi::TextOut(dc, r.left + (width - text.cy) / 2, r.bottom - (height - text.cx) / 2, item.Text);
    else
        gdi::TextOut(dc, r.left + (width - text.cy) / 2 + text.cy, r.top + (height - text.cx) / 2, item.Text);
    saved.Restore();
    if (selected && GetFocus() == hwnd && !item.Text.empty()) {
        RECT focus {r.left + (width - text.cy) / 2 - 1, r.top + (height - text.cx) / 2 - 1, 0, 0};
        focus.right = focus.left + text.cy + 2;
        focus.bottom = focus.top + text.cx + 2;
        gdi::DrawFocusRect(dc, &focus);
    }
}

void DrawContent(HWND hwnd, TabState* s, HDC dc, int index, RECT r, bool selected) {
    if (GetWindowStyle(hwnd) & TCS_OWNERDRAWFIXED) {
        DRAWITEMSTRUCT di;
        di.CtlType = ODT_TAB;
        di.CtlID = UINT(GetDlgCtrlID(hwnd));
        di.itemID = UINT(index);
        di.itemAction = ODA_DRAWENTIRE;
        di.itemState = selected ? ODS_SELECTED : 0;
        if (selected && GetFocus() == hwnd) di.itemState |= ODS_FOCUS;
        di.hwndItem = hwnd;
        di.hDC = dc;
        di.rcItem = r;
        di.itemData = std::uintptr_t(s->Items[size_t(index)].Param);
        gdi::SavedDc saved(dc);
        SendMessage(GetParent(hwnd), WM_DRAWITEM, di.CtlID, reinterpret_cast<LPARAM>(&di));
        return;
    }
    DrawCaption(hwnd, s, dc, index, r, selected);
}

void DrawTab(HWND hwnd, TabState* s, HDC dc, int index, bool selected) {
    Side side = SideOf(hwnd);
    RECT r = s->Items[size_t(index)].Rect;
    if (selected) r = SelectedRect(r);
    comctl::FillSys(dc, r, gdi::COLOR_BTNFACE);
    RECT edge = r;
    gdi::DrawEdge(dc, &edge, gdi::EDGE_RAISED, TabSides(side) | gdi::BF_SOFT);
    RoundCorners(dc, side, r);
    RECT inner = r;
    gdi::InflateRect(&inner, -2, -2);
    DrawContent(hwnd, s, dc, index, inner, selected);
}

void DrawButton(HWND hwnd, TabState* s, HDC dc, int index, bool selected) {
    bool flat = (GetWindowStyle(hwnd) & TCS_FLATBUTTONS) != 0;
    RECT r = s->Items[size_t(index)].Rect;
    if (selected) {
        comctl::FillSys(dc, r, gdi::COLOR_3DLIGHT);
        RECT edge = r;
        gdi::DrawEdge(dc, &edge, flat ? gdi::BDR_SUNKENOUTER : gdi::EDGE_SUNKEN, gdi::BF_RECT);
    } else {
        comctl::FillSys(dc, r, gdi::COLOR_BTNFACE);
        RECT edge = r;
        if (!flat)
            gdi::DrawEdge(dc, &edge, gdi::EDGE_RAISED, gdi::BF_RECT);
        else if (index == s->Hot && (GetWindowStyle(hwnd) & TCS_HOTTRACK))
            gdi::DrawEdge(dc, &edge, gdi::BDR_RAISEDINNER, gdi::BF_RECT);
    }
    if (flat && index + 1 < int(s->Items.size())) {
        // An etched divider in the gap after each flat button.
        int x = r.right + 1;
        comctl::LineSys(dc, x, r.top + 1, x, r.bottom - 1, gdi::COLOR_BTNSHADOW);
        comctl::LineSys(dc, x + 1, r.top + 1, x + 1, r.bottom - 1, gdi::COLOR_BTNHIGHLIGHT);
    }
    RECT inner = r;
    gdi::InflateRect(&inner, -2, -2);
    if (selected) gdi::OffsetRect(&inner, 1, 1);
    DrawContent(hwnd, s, dc, index, inner, selected);
}

}   // namespace

void Paint(HWND hwnd, TabState* s, HDC dc) {
    RECT c = ClientRect(hwnd);
    comctl::FillSys(dc, c, gdi::COLOR_BTNFACE);
    bool buttons = IsButtons(hwnd);
    if (!buttons) {
        RECT frame = FrameRect(hwnd, s);
        gdi::DrawEdge(dc, &frame, gdi::EDGE_RAISED, gdi::BF_RECT | gdi::BF_SOFT);
    }
    RECT visible = VisibleStrip(hwnd, s);
    gdi::SavedDc saved(dc);
    // Tabs may reach 2 pixels into the frame (the selected one); clip only along the strip's length.
    Side side = SideOf(hwnd);
    if (side == Side::Top || side == Side::Bottom)
        gdi::IntersectClipRect(dc, visible.left, c.top, visible.right, c.bottom);
    comctl::FontScope font(dc, ControlFont(s->Font));
    for (int i = 0; i < int(s->Items.size()); ++i) {
        if (i == s->Cur) continue;
        buttons ? DrawButton(hwnd, s, dc, i, false) : DrawTab(hwnd, s, dc, i, false);
    }
    if (s->Cur >= 0 && s->Cur < int(s->Items.size()))
        buttons ? DrawButton(hwnd, s, dc, s->Cur, true) : DrawTab(hwnd, s, dc, s->Cur, true);
}

}
