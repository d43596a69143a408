// The tool bar's layout and painting: button rectangles, the erase and paint stages of custom draw, buttons.
#include "platform/gdi/Gdi.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControlsPaint.h"
#include "platform/user/controls/ToolBarState.h"

#include <algorithm>

namespace korvex::user::toolbar {

namespace {

constexpr int SeparatorWidth = 8;
constexpr int ButtonPadding = 7;   // image size + padding = the default button size

SIZE ImageSize(const ToolState* s) {
    return IsImageList(s->Images) ? ImageListSize(s->Images) : s->BitmapSize;
}

bool AnyText(const ToolState* s) {
    for (const Button& b : s->Buttons)
        if (!b.IsSeparator() && !b.Text.empty()) return true;
    return false;
}

int ButtonWidth(HWND hwnd, const ToolState* s, const Button& b, SIZE size) {
    if (b.IsSeparator()) return b.Image > 0 ? b.Image : SeparatorWidth;
    int width = size.cx;
    bool list = (GetWindowStyle(hwnd) & TBSTYLE_LIST) != 0;
    if (b.Cx > 0)
        width = b.Cx;
    else if ((b.Style & BTNS_AUTOSIZE) || (list && s->ButtonSize.cx == 0)) {
        SIZE image = ImageSize(s);
        SIZE text = b.Text.empty() ? SIZE {} : comctl::TextSizeFor(hwnd, ControlFont(s->Font), b.Text);
        width = list ? image.cx + ButtonPadding + (text.cx ? text.cx + 4 : 0)
                     : std::max<int>(image.cx + ButtonPadding, text.cx + 6);
    }
    if ((b.Style & BTNS_DROPDOWN) && (s->ExStyle & TBSTYLE_EX_DRAWDDARROWS)) width += ToolBarDropDownWidth();
    return width;
}

}   // namespace

ToolState* State(HWND hwnd) {
    return ControlData<ToolState>(hwnd);
}

int TopMargin(HWND hwnd) {
    return (GetWindowStyle(hwnd) & CCS_NODIVIDER) ? 0 : 2;
}

SIZE DefaultButtonSize(HWND hwnd, const ToolState* s) {
    SIZE image = ImageSize(s);
    bool list = (GetWindowStyle(hwnd) & TBSTYLE_LIST) != 0;
    SIZE size {image.cx + ButtonPadding, image.cy + ButtonPadding};
    if (AnyText(s)) {
        int textHeight = comctl::FontHeight(hwnd, ControlFont(s->Font));
        if (list) {
            size.cy = std::max<int>(image.cy, textHeight) + ButtonPadding;
        } else {
            size.cy += textHeight + 1;
            for (const Button& b : s->Buttons)
                if (!b.IsSeparator() && !b.Text.empty())
                    size.cx = std::max<int>(size.cx, comctl::TextSizeFor(hwnd, ControlFont(s->Font), b.Text).cx + 6);
        }
    }
    if (s->ButtonSize.cx > 0) size.cx = s->ButtonSize.cx;
    if (s->ButtonSize.cy > 0) size.cy = s->ButtonSize.cy;
    return size;
}

void Relayout(HWND hwnd, ToolState* s) {
    SIZE size = DefaultButtonSize(hwnd, s);
    int clientWidth = ClientRect(hwnd).right;
    bool wrapable = (GetWindowStyle(hwnd) & TBSTYLE_WRAPABLE) != 0;
    int x = s->Indent, y = TopMargin(hwnd);
    s->Rows = 1;
    bool breakNext = false;
    for (Button& b : s->Buttons) {
        if (b.Hidden()) {
            b.Rect = RECT {};
            continue;
        }
        int width = ButtonWidth(hwnd, s, b, size);
        bool overflow = wrapable && x > s->Indent && x + width > clientWidth && !b.IsSeparator();
        if (breakNext || overflow) {
            x = s->Indent;
            y += size.cy;
            ++s->Rows;
        }
        b.Rect = RECT {x, y, x + width, y + size.cy};
        x += width;
        breakNext = (b.State & TBSTATE_WRAP) != 0;
    }
}

int IndexOfId(const ToolState* s, int id) {
    for (size_t i = 0; i < s->Buttons.size(); ++i)
        if (s->Buttons[i].Id == id) return int(i);
    return -1;
}

int HitTest(const ToolState* s, POINT p) {
    for (size_t i = 0; i < s->Buttons.size(); ++i)
        if (gdi::PtInRect(&s->Buttons[i].Rect, p)) return int(i);
    return -1;
}

RECT DropDownPart(HWND hwnd, const ToolState* s, int index) {
    (void)hwnd;
    if (index < 0 || index >= int(s->Buttons.size())) return RECT {};
    const Button& b = s->Buttons[size_t(index)];
    if (!(b.Style & BTNS_DROPDOWN) || !(s->ExStyle & TBSTYLE_EX_DRAWDDARROWS)) return RECT {};
    RECT r = b.Rect;
    r.left = std::max<int>(r.left, r.right - ToolBarDropDownWidth());
    return r;
}

LRESULT Notify(HWND hwnd, ToolState* s, NMHDR* header) {
    header->hwndFrom = hwnd;
    header->idFrom = std::uintptr_t(GetDlgCtrlID(hwnd));
    HWND target = IsWindow(s->NotifyWindow) ? s->NotifyWindow : GetParent(hwnd);
    if (!target) return 0;
    return SendMessage(target, WM_NOTIFY, WPARAM(header->idFrom), reinterpret_cast<LPARAM>(header));
}

// ---------------------------------------------------------------------------------------------------------
// Painting

namespace {

LRESULT CustomDraw(
    HWND hwnd, ToolState* s, DWORD stage, HDC dc, const RECT& rc, const Button* b = nullptr, UINT itemState = 0) {
    NMTBCUSTOMDRAW cd;
    cd.nmcd.hdr.code = NM_CUSTOMDRAW;
    cd.nmcd.dwDrawStage = stage;
    cd.nmcd.hdc = dc;
    cd.nmcd.rc = rc;
    cd.nmcd.uItemState = itemState;
    if (b) {
        cd.nmcd.dwItemSpec = std::uintptr_t(b->Id);
        cd.nmcd.lItemlParam = LPARAM(b->Data);
    }
    cd.clrText = gdi::GetSysColor(gdi::COLOR_BTNTEXT);
    cd.clrBtnFace = gdi::GetSysColor(gdi::COLOR_BTNFACE);
    cd.clrBtnHighlight = gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT);
    cd.rcText = rc;
    cd.nStringBkMode = gdi::TRANSPARENT;
    gdi::SavedDc saved(dc);
    LRESULT answer = Notify(hwnd, s, &cd.nmcd.hdr);
    return answer;
}

UINT ItemState(const ToolState* s, int index) {
    const Button& b = s->Buttons[size_t(index)];
    UINT state = 0;
    if (b.State & TBSTATE_CHECKED) state |= CDIS_CHECKED;
    if ((b.State & TBSTATE_PRESSED) || s->DropPressed == index) state |= CDIS_SELECTED;
    if (!b.Enabled()) state |= CDIS_DISABLED;
    if (s->Hot == index) state |= CDIS_HOT;
    if (b.State & TBSTATE_INDETERMINATE) state |= CDIS_INDETERMINATE;
    if (b.State & TBSTATE_MARKED) state |= CDIS_MARKED;
    return state;
}

// Every other pixel in the highlight colour over the face: the look of a checked button that is not hot.
void Dither(HDC dc, const RECT& r) {
    comctl::FillSys(dc, r, gdi::COLOR_BTNFACE);
    COLORREF light = gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left + ((y - r.top) & 1); x < r.right; x += 2)
            gdi::SetPixelV(dc, x, y, light);
}

void DrawEdges(HDC dc, RECT r, bool flat, bool down, bool hot) {
    if (flat) {
        if (down)
            gdi::DrawEdge(dc, &r, gdi::BDR_SUNKENOUTER, gdi::BF_RECT);
        else if (hot)
            gdi::DrawEdge(dc, &r, gdi::BDR_RAISEDINNER, gdi::BF_RECT);
        return;
    }
    gdi::DrawEdge(dc, &r, down ? gdi::EDGE_SUNKEN : gdi::EDGE_RAISED, gdi::BF_RECT | gdi::BF_SOFT);
}

void DrawArrow(HDC dc, const RECT& r, bool enabled, int offset) {
    int cx = (r.left + r.right) / 2 + offset, cy = (r.top + r.bottom) / 2 - 1 + offset;
    int color = enabled ? gdi::COLOR_BTNTEXT : gdi::COLOR_GRAYTEXT;
    for (int i = 0; i < 3; ++i)
        comctl::FillSys(dc, RECT {cx - 2 + i, cy + i, cx + 3 - i, cy + i + 1}, color);
}

void DrawSeparator(HDC dc, const RECT& r, bool flat) {
    if (!flat) return;
    int x = (r.left + r.right) / 2 - 1;
    comctl::LineSys(dc, x, r.top + 1, x, r.bottom - 1, gdi::COLOR_BTNSHADOW);
    comctl::LineSys(dc, x + 1, r.top + 1, x + 1, r.bottom - 1, gdi::COLOR_BTNHIGHLIGHT);
}

void DrawButton(HWND hwnd, ToolState* s, HDC dc, int index, UINT itemState, LRESULT flags) {
    const Button& b = s->Buttons[size_t(index)];
    DWORD style = GetWindowStyle(hwnd);
    bool flat = (style & TBSTYLE_FLAT) != 0;
    if (b.IsSeparator()) {
        DrawSeparator(dc, b.Rect, flat);
        return;
    }
    bool enabled = b.Enabled();
    bool hot = (itemState & CDIS_HOT) && enabled;
    bool pressed = (b.State & TBSTATE_PRESSED) != 0;
    bool checked = (b.State & TBSTATE_CHECKED) != 0;
    RECT body = b.Rect;
    RECT drop = DropDownPart(hwnd, s, index);
    if (drop.right > drop.left) body.right = drop.left;
    if (checked && !pressed && !hot && !(flags & TBCDRF_NOBACKGROUND)) {
        RECT inner = body;
        gdi::InflateRect(&inner, -1, -1);
        Dither(dc, inner);
    }
    if (!(flags & TBCDRF_NOEDGES)) {
        DrawEdges(dc, body, flat, pressed || checked, hot);
        if (drop.right > drop.left) DrawEdges(dc, drop, flat, s->DropPressed == index, hot);
    }
    int offset = (pressed || checked) && !(flags & TBCDRF_NOOFFSET) ? 1 : 0;
    bool list = (style & TBSTYLE_LIST) != 0;
    SIZE image = ImageSize(s);
    HIMAGELIST images = s->Images;
    if (!enabled && IsImageList(s->DisabledImages))
        images = s->DisabledImages;
    else if (hot && IsImageList(s->HotImages))
        images = s->HotImages;
    bool hasImage = IsImageList(images) && b.Image >= 0 && b.Image < ImageList_GetImageCount(images);
    int width = body.right - body.left, height = body.bottom - body.top;
    int ix = list ? body.left + 3 : body.left + (width - image.cx) / 2;
    int iy = list || b.Text.empty() ? body.top + (height - image.cy) / 2 : body.top + 3;
    if (hasImage) {
        bool embossed = !enabled && images != s->DisabledImages && !(flags & TBCDRF_NOETCHEDEFFECT);
        ImageList_Draw(images, b.Image, dc, ix + offset, iy + offset, !embossed);
    }
    if (!b.Text.empty()) {
        RECT text = list ? RECT {ix + (hasImage ? image.cx + 3 : 0), body.top, body.right - 2, body.bottom}
                         : RECT {body.left + 2, iy + (hasImage ? image.cy + 1 : 0), body.right - 2, body.bottom - 2};
        gdi::OffsetRect(&text, offset, offset);
        UINT format = gdi::DT_SINGLELINE | gdi::DT_END_ELLIPSIS
            | (list ? gdi::DT_LEFT | gdi::DT_VCENTER : gdi::DT_CENTER | gdi::DT_TOP);
        if (b.Style & BTNS_NOPREFIX) format |= gdi::DT_NOPREFIX;
        if (!enabled && (flags & TBCDRF_NOETCHEDEFFECT))
            comctl::DrawLabel(dc, b.Text, text, format, gdi::GetSysColor(gdi::COLOR_GRAYTEXT));
        else
            comctl::DrawLabel(dc, b.Text, text, format, gdi::GetSysColor(gdi::COLOR_BTNTEXT), enabled);
    }
    if (drop.right > drop.left) DrawArrow(dc, drop, enabled, s->DropPressed == index ? 1 : 0);
}

}   // namespace

LRESULT Erase(HWND hwnd, ToolState* s, HDC dc) {
    RECT c = ClientRect(hwnd);
    bool custom = (GetWindowStyle(hwnd) & TBSTYLE_CUSTOMERASE) != 0;
    LRESULT answer = custom ? CustomDraw(hwnd, s, CDDS_PREERASE, dc, c) : CDRF_DODEFAULT;
    if (!IsWindow(hwnd)) return 1;
    if (!(answer & CDRF_SKIPDEFAULT)) {
        bool erased = false;
        HWND parent = GetParent(hwnd);
        if ((GetWindowStyle(hwnd) & TBSTYLE_TRANSPARENT) && parent) {
            // The parent erases under the bar, its origin moved to ours.
            POINT origin {0, 0};
            MapWindowPoints(hwnd, parent, &origin, 1);
            POINT old;
            gdi::OffsetWindowOrgEx(dc, origin.x, origin.y, &old);
            erased = SendMessage(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) != 0;
            gdi::SetWindowOrgEx(dc, old.x, old.y, nullptr);
        }
        if (!erased) comctl::FillSys(dc, c, gdi::COLOR_BTNFACE);
    }
    if (custom && (answer & CDRF_NOTIFYPOSTERASE)) CustomDraw(hwnd, s, CDDS_POSTERASE, dc, c);
    return 1;
}

void Paint(HWND hwnd, ToolState* s, HDC dc, const RECT& update) {
    LRESULT answer = CustomDraw(hwnd, s, CDDS_PREPAINT, dc, update);
    if (!IsWindow(hwnd) || (answer & CDRF_SKIPDEFAULT)) return;
    if (!(GetWindowStyle(hwnd) & CCS_NODIVIDER)) {
        int right = ClientRect(hwnd).right;
        comctl::LineSys(dc, 0, 0, right, 0, gdi::COLOR_BTNSHADOW);
        comctl::LineSys(dc, 0, 1, right, 1, gdi::COLOR_BTNHIGHLIGHT);
    }
    comctl::FontScope font(dc, ControlFont(s->Font));
    for (size_t i = 0; i < s->Buttons.size(); ++i) {
        const Button& b = s->Buttons[i];
        RECT overlap;
        if (b.Hidden() || !gdi::IntersectRect(&overlap, &b.Rect, &update)) continue;
        UINT itemState = ItemState(s, int(i));
        LRESULT itemAnswer = CDRF_DODEFAULT;
        // Separators are the bar's own: they are not offered to the parent.
        if ((answer & CDRF_NOTIFYITEMDRAW) && !b.IsSeparator()) {
            itemAnswer = CustomDraw(hwnd, s, CDDS_ITEMPREPAINT, dc, b.Rect, &b, itemState);
            if (!IsWindow(hwnd) || i >= s->Buttons.size()) return;
        }
        if (!(itemAnswer & CDRF_SKIPDEFAULT)) DrawButton(hwnd, s, dc, int(i), itemState, itemAnswer);
        if (itemAnswer & CDRF_NOTIFYPOSTPAINT) {
            CustomDraw(hwnd, s, CDDS_ITEMPOSTPAINT, dc, s->Buttons[i].Rect, &s->Buttons[i], itemState);
            if (!IsWindow(hwnd) || i >= s->Buttons.size()) return;
        }
    }
    if (answer & CDRF_NOTIFYPOSTPAINT) CustomDraw(hwnd, s, CDDS_POSTPAINT, dc, update);
}

}

namespace korvex::user {

int ToolBarDropDownWidth() {
    return GetSystemMetrics(SM_CXVSCROLL);
}

}
