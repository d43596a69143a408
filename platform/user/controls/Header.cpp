// The header control: sections and their order, layout, hit tests, clicks, divider tracking, plain painting.
#include "platform/user/controls/Header.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/Input.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControlsPaint.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace korvex::user {

namespace {

struct Section {
    int Width = 50;
    std::string Text;
    int Format = HDF_LEFT | HDF_STRING;
    LPARAM Param = 0;
    int Image = -1;
};

struct HeaderState {
    std::shared_ptr<HeaderState> Keep;   // held by a message in progress; dropped when the window goes
    std::vector<Section> Sections;
    std::vector<int> Order;   // display position -> section index
    HFONT Font = nullptr;
    HIMAGELIST Images = nullptr;
    int Pressed = -1;   // the section held down with HDS_BUTTONS
    bool PressedInside = false;
    int Tracking = -1;   // the section whose right divider is dragged
    int TrackFromX = 0;
    int TrackFromWidth = 0;
    int Hot = -1;
};

bool Alive(const HeaderState* s) {
    return s->Keep != nullptr;
}

bool Valid(const HeaderState* s, int index) {
    return index >= 0 && index < int(s->Sections.size());
}

RECT SectionRect(HWND hwnd, const HeaderState* s, int index) {
    RECT c = ClientRect(hwnd);
    int left = 0;
    for (int i : s->Order) {
        const int width = std::max(0, s->Sections[size_t(i)].Width);
        if (i == index) return RECT {left, 0, left + width, c.bottom};
        left += width;
    }
    return RECT {};
}

HDHITTESTINFO HitTest(HWND hwnd, const HeaderState* s, POINT p) {
    HDHITTESTINFO info;
    info.pt = p;
    RECT c = ClientRect(hwnd);
    if (p.y < 0) info.flags |= HHT_ABOVE;
    if (p.y >= c.bottom) info.flags |= HHT_BELOW;
    if (p.x < 0) info.flags |= HHT_TOLEFT;
    if (p.x >= c.right) info.flags |= HHT_TORIGHT;
    if (info.flags) return info;
    // Dividers first, the rightmost candidate winning so a zero-width section can be opened again.
    int left = 0;
    for (int i : s->Order) {
        const int width = std::max(0, s->Sections[size_t(i)].Width);
        const int right = left + width;
        if (p.x >= right - HeaderDividerSlop && p.x < right + HeaderDividerSlop) {
            info.flags = width == 0 ? HHT_ONDIVOPEN : HHT_ONDIVIDER;
            info.iItem = i;
        }
        left = right;
    }
    if (info.flags) return info;
    left = 0;
    for (int i : s->Order) {
        const int right = left + std::max(0, s->Sections[size_t(i)].Width);
        if (p.x >= left && p.x < right) {
            info.flags = HHT_ONHEADER;
            info.iItem = i;
            return info;
        }
        left = right;
    }
    info.flags = HHT_NOWHERE;
    return info;
}

LRESULT NotifyHeader(HWND hwnd, UINT code, int index, int button = 0, HDITEM* item = nullptr) {
    NMHEADER nm;
    nm.hdr.code = code;
    nm.iItem = index;
    nm.iButton = button;
    nm.pitem = item;
    return SendNotify(hwnd, &nm.hdr);
}

// ---------------------------------------------------------------------------------------------------------
// Items

void ApplyItem(Section& section, const HDITEM& item) {
    if (item.mask & HDI_WIDTH) section.Width = std::max(0, item.cxy);
    if (item.mask & HDI_TEXT) section.Text = item.pszText ? item.pszText : "";
    if (item.mask & HDI_FORMAT) section.Format = item.fmt;
    if (item.mask & HDI_LPARAM) section.Param = item.lParam;
    if (item.mask & HDI_IMAGE) section.Image = item.iImage;
}

void MoveOrder(HeaderState* s, int index, int position) {
    auto it = std::find(s->Order.begin(), s->Order.end(), index);
    if (it == s->Order.end()) return;
    s->Order.erase(it);
    position = std::clamp(position, 0, int(s->Order.size()));
    s->Order.insert(s->Order.begin() + position, index);
}

LRESULT InsertItem(HWND hwnd, HeaderState* s, int index, const HDITEM* item) {
    if (!item) return -1;
    index = std::clamp(index, 0, int(s->Sections.size()));
    Section section;
    ApplyItem(section, *item);
    s->Sections.insert(s->Sections.begin() + index, section);
    for (int& o : s->Order)
        if (o >= index) ++o;
    s->Order.push_back(index);
    if (item->mask & HDI_ORDER) MoveOrder(s, index, item->iOrder);
    InvalidateRect(hwnd, nullptr, true);
    return index;
}

LRESULT DeleteItem(HWND hwnd, HeaderState* s, int index) {
    if (!Valid(s, index)) return 0;
    s->Sections.erase(s->Sections.begin() + index);
    s->Order.erase(std::find(s->Order.begin(), s->Order.end(), index));
    for (int& o : s->Order)
        if (o > index) --o;
    s->Pressed = s->Tracking = s->Hot = -1;
    InvalidateRect(hwnd, nullptr, true);
    return 1;
}

LRESULT GetItem(const HeaderState* s, int index, HDITEM* item) {
    if (!item || !Valid(s, index)) return 0;
    const Section& section = s->Sections[size_t(index)];
    if (item->mask & HDI_WIDTH) item->cxy = section.Width;
    if ((item->mask & HDI_TEXT) && item->pszText && item->cchTextMax > 0) {
        const size_t n = std::min(section.Text.size(), size_t(item->cchTextMax - 1));
        std::memcpy(item->pszText, section.Text.data(), n);
        item->pszText[n] = '\0';
    }
    if (item->mask & HDI_FORMAT) item->fmt = section.Format;
    if (item->mask & HDI_LPARAM) item->lParam = section.Param;
    if (item->mask & HDI_IMAGE) item->iImage = section.Image;
    if (item->mask & HDI_ORDER)
        item->iOrder = int(std::find(s->Order.begin(), s->Order.end(), index) - s->Order.begin());
    return 1;
}

// A change goes through HDN_ITEMCHANGING (refusable) and HDN_ITEMCHANGED.
LRESULT SetItem(HWND hwnd, HeaderState* s, int index, const HDITEM* item) {
    if (!item || !Valid(s, index)) return 0;
    HDITEM proposed = *item;
    if (NotifyHeader(hwnd, HDN_ITEMCHANGING, index, 0, &proposed) != 0) return 0;
    if (!Alive(s) || !Valid(s, index)) return 0;
    ApplyItem(s->Sections[size_t(index)], *item);
    if (item->mask & HDI_ORDER) MoveOrder(s, index, item->iOrder);
    InvalidateRect(hwnd, nullptr, true);
    HDITEM changed = *item;
    NotifyHeader(hwnd, HDN_ITEMCHANGED, index, 0, &changed);
    return 1;
}

// A new display order: a permutation of the section indices, else refused.
LRESULT SetOrder(HWND hwnd, HeaderState* s, size_t count, const int* order) {
    if (!order || count != s->Sections.size()) return 0;
    std::vector<bool> seen(count, false);
    for (size_t i = 0; i < count; ++i) {
        if (order[i] < 0 || size_t(order[i]) >= count || seen[size_t(order[i])]) return 0;
        seen[size_t(order[i])] = true;
    }
    s->Order.assign(order, order + count);
    InvalidateRect(hwnd, nullptr, true);
    return 1;
}

LRESULT Layout(HWND hwnd, const HeaderState* s, HDLAYOUT* layout) {
    if (!layout || !layout->prc || !layout->pwpos) return 0;
    RECT& r = *layout->prc;
    const int height
        = (GetWindowStyle(hwnd) & HDS_HIDDEN) ? 0 : comctl::FontHeight(hwnd, ControlFont(s->Font)) + 6;
    *layout->pwpos = WINDOWPOS {hwnd, nullptr, int(r.left), int(r.top), int(r.right - r.left), height, 0};
    r.top += height;
    return 1;
}

// ---------------------------------------------------------------------------------------------------------
// Painting

void PaintSection(HWND hwnd, HDC dc, const HeaderState* s, int index, RECT r) {
    const Section& section = s->Sections[size_t(index)];
    const bool pressed = index == s->Pressed && s->PressedInside;
    if (section.Format & HDF_OWNERDRAW) {
        DRAWITEMSTRUCT di;
        di.CtlType = ODT_HEADER;
        di.CtlID = UINT(GetDlgCtrlID(hwnd));
        di.itemID = UINT(index);
        di.itemAction = ODA_DRAWENTIRE;
        di.itemState = pressed ? ODS_SELECTED : 0;
        di.hwndItem = hwnd;
        di.hDC = dc;
        di.rcItem = r;
        di.itemData = std::uintptr_t(section.Param);
        gdi::SavedDc saved(dc);
        SendMessage(GetParent(hwnd), WM_DRAWITEM, di.CtlID, reinterpret_cast<LPARAM>(&di));
        return;
    }
    comctl::FillSys(dc, r, index == s->Hot ? gdi::COLOR_3DLIGHT : gdi::COLOR_BTNFACE);
    RECT edge = r;
    gdi::DrawEdge(dc, &edge, pressed ? gdi::BDR_SUNKENOUTER : gdi::EDGE_RAISED, gdi::BF_RECT);
    RECT inner = r;
    gdi::InflateRect(&inner, -6, -1);
    if (pressed) gdi::OffsetRect(&inner, 1, 1);
    gdi::SavedDc saved(dc);
    gdi::IntersectClipRect(dc, r.left + 2, r.top + 2, r.right - 2, r.bottom - 2);
    if ((section.Format & HDF_IMAGE) && section.Image >= 0 && IsImageList(s->Images)) {
        const SIZE size = ImageListSize(s->Images);
        ImageList_Draw(s->Images, section.Image, dc, inner.left, inner.top + (inner.bottom - inner.top - size.cy) / 2,
            IsWindowEnabled(hwnd));
        inner.left += size.cx + 4;
    }
    static constexpr UINT Align[3] = {gdi::DT_LEFT, gdi::DT_RIGHT, gdi::DT_CENTER};
    comctl::DrawLabel(dc, section.Text, inner,
        gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_NOPREFIX | gdi::DT_END_ELLIPSIS
            | Align[std::min(section.Format & HDF_JUSTIFYMASK, 2)],
        gdi::GetSysColor(gdi::COLOR_BTNTEXT), IsWindowEnabled(hwnd));
}

void Paint(HWND hwnd, HDC dc, const HeaderState* s) {
    RECT c = ClientRect(hwnd);
    comctl::FontScope font(dc, ControlFont(s->Font));
    int right = 0;
    for (int i : s->Order) {
        RECT r = SectionRect(hwnd, s, i);
        if (r.right > r.left) PaintSection(hwnd, dc, s, i, r);
        right = std::max<int>(right, r.right);
    }
    // The empty strip after the last section.
    if (right < c.right) {
        RECT rest {right, 0, c.right, c.bottom};
        comctl::FillSys(dc, rest, gdi::COLOR_BTNFACE);
        gdi::DrawEdge(dc, &rest, gdi::EDGE_RAISED, gdi::BF_RECT);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Mouse

void SetHot(HWND hwnd, HeaderState* s, int hot) {
    if (hot == s->Hot) return;
    s->Hot = hot;
    InvalidateRect(hwnd, nullptr, false);
}

void LButtonDown(HWND hwnd, HeaderState* s, POINT p, bool doubleClick) {
    const HDHITTESTINFO hit = HitTest(hwnd, s, p);
    if (hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) {
        if (doubleClick) {
            NotifyHeader(hwnd, HDN_DIVIDERDBLCLICK, hit.iItem);
            return;
        }
        HDITEM item;
        item.mask = HDI_WIDTH;
        item.cxy = s->Sections[size_t(hit.iItem)].Width;
        if (NotifyHeader(hwnd, HDN_BEGINTRACK, hit.iItem, 0, &item) != 0 || !Alive(s) || !Valid(s, hit.iItem)) return;
        s->Tracking = hit.iItem;
        s->TrackFromX = p.x;
        s->TrackFromWidth = s->Sections[size_t(hit.iItem)].Width;
        SetCapture(hwnd);
        return;
    }
    if (!(hit.flags & HHT_ONHEADER)) return;
    if (doubleClick) {
        NotifyHeader(hwnd, HDN_ITEMDBLCLICK, hit.iItem);
        return;
    }
    if (!(GetWindowStyle(hwnd) & HDS_BUTTONS)) return;
    s->Pressed = hit.iItem;
    s->PressedInside = true;
    SetCapture(hwnd);
    InvalidateRect(hwnd, nullptr, false);
}

// The width follows the pointer; every step reports HDN_TRACK and changes the section (a live drag).
void TrackTo(HWND hwnd, HeaderState* s, int x) {
    const int index = s->Tracking;
    HDITEM item;
    item.mask = HDI_WIDTH;
    item.cxy = std::max(0, s->TrackFromWidth + x - s->TrackFromX);
    if (item.cxy == s->Sections[size_t(index)].Width) return;
    if (NotifyHeader(hwnd, HDN_TRACK, index, 0, &item) != 0 || !Alive(s)) return;
    if (Valid(s, index)) SetItem(hwnd, s, index, &item);
}

void MouseMove(HWND hwnd, HeaderState* s, POINT p) {
    if (s->Tracking >= 0) {
        TrackTo(hwnd, s, p.x);
        return;
    }
    if (s->Pressed >= 0) {
        const HDHITTESTINFO hit = HitTest(hwnd, s, p);
        const bool inside = (hit.flags & HHT_ONHEADER) && hit.iItem == s->Pressed;
        if (inside != s->PressedInside) {
            s->PressedInside = inside;
            InvalidateRect(hwnd, nullptr, false);
        }
        return;
    }
    if (GetWindowStyle(hwnd) & HDS_HOTTRACK) {
        const HDHITTESTINFO hit = HitTest(hwnd, s, p);
        SetHot(hwnd, s, (hit.flags & HHT_ONHEADER) ? hit.iItem : -1);
        TRACKMOUSEEVENT tme;
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = hwnd;
        TrackMouseEvent(&tme);
    }
}

void LButtonUp(HWND hwnd, HeaderState* s, POINT p) {
    if (s->Tracking >= 0) {
        TrackTo(hwnd, s, p.x);
        if (!Alive(s)) return;
        const int index = std::exchange(s->Tracking, -1);
        if (GetCapture() == hwnd) ReleaseCapture();
        if (!Valid(s, index)) return;
        HDITEM item;
        item.mask = HDI_WIDTH;
        item.cxy = s->Sections[size_t(index)].Width;
        NotifyHeader(hwnd, HDN_ENDTRACK, index, 0, &item);
        return;
    }
    if (s->Pressed < 0) return;
    const int index = std::exchange(s->Pressed, -1);
    const bool inside = std::exchange(s->PressedInside, false);
    if (GetCapture() == hwnd) ReleaseCapture();
    InvalidateRect(hwnd, nullptr, false);
    if (inside) NotifyHeader(hwnd, HDN_ITEMCLICK, index);
}

void CancelMouse(HWND hwnd, HeaderState* s) {
    if (s->Tracking >= 0) {
        const int index = std::exchange(s->Tracking, -1);
        if (Valid(s, index)) NotifyHeader(hwnd, HDN_ENDTRACK, index);
    }
    if (!Alive(s)) return;
    if (s->Pressed >= 0) InvalidateRect(hwnd, nullptr, false);
    s->Pressed = -1;
    s->PressedInside = false;
}

// ---------------------------------------------------------------------------------------------------------

LRESULT HeaderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    HeaderState* s = ControlPrologue<HeaderState>(hwnd, msg, wParam, lParam, result, KeptStateHooks<HeaderState>());
    if (!s) return result;
    const std::shared_ptr<HeaderState> hold = s->Keep;   // outlives the window for this message
    if (const std::optional<LRESULT> painted = PaintMessage(hwnd, msg, wParam, [&](HDC dc) { Paint(hwnd, dc, s); }))
        return *painted;
    if (const std::optional<LRESULT> font = FontMessage(s->Font, msg, wParam, [&] {
            if (lParam) InvalidateRect(hwnd, nullptr, true);
        }))
        return *font;
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        LButtonDown(hwnd, s, LParamToPoint(lParam), msg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_MOUSEMOVE:
        MouseMove(hwnd, s, LParamToPoint(lParam));
        return 0;
    case WM_LBUTTONUP:
        LButtonUp(hwnd, s, LParamToPoint(lParam));
        return 0;
    case WM_RBUTTONUP:
        if (const HDHITTESTINFO hit = HitTest(hwnd, s, LParamToPoint(lParam)); hit.flags & HHT_ONHEADER)
            NotifyHeader(hwnd, NM_RCLICK, hit.iItem, 1);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd) CancelMouse(hwnd, s);
        return 0;
    case WM_MOUSELEAVE:
        SetHot(hwnd, s, -1);
        return 0;
    case WM_SETCURSOR: {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd, &p);
        if (HitTest(hwnd, s, p).flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) {
            SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
            return 1;
        }
        break;
    }
    case HDM_GETITEMCOUNT:
        return LRESULT(s->Sections.size());
    case HDM_INSERTITEM:
        return InsertItem(hwnd, s, int(wParam), reinterpret_cast<const HDITEM*>(lParam));
    case HDM_DELETEITEM:
        return DeleteItem(hwnd, s, int(wParam));
    case HDM_GETITEM:
        return GetItem(s, int(wParam), reinterpret_cast<HDITEM*>(lParam));
    case HDM_SETITEM:
        return SetItem(hwnd, s, int(wParam), reinterpret_cast<const HDITEM*>(lParam));
    case HDM_LAYOUT:
        return Layout(hwnd, s, reinterpret_cast<HDLAYOUT*>(lParam));
    case HDM_HITTEST: {
        auto* info = reinterpret_cast<HDHITTESTINFO*>(lParam);
        if (!info) return -1;
        *info = HitTest(hwnd, s, info->pt);
        return info->iItem;
    }
    case HDM_GETITEMRECT: {
        auto* out = reinterpret_cast<RECT*>(lParam);
        if (!out || !Valid(s, int(wParam))) return 0;
        *out = SectionRect(hwnd, s, int(wParam));
        return 1;
    }
    case HDM_SETIMAGELIST:
        InvalidateRect(hwnd, nullptr, true);
        return reinterpret_cast<LRESULT>(std::exchange(s->Images, reinterpret_cast<HIMAGELIST>(lParam)));
    case HDM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(s->Images);
    case HDM_ORDERTOINDEX:
        return wParam < s->Order.size() ? s->Order[wParam] : LRESULT(wParam);
    case HDM_GETORDERARRAY: {
        auto* out = reinterpret_cast<int*>(lParam);
        if (!out || wParam != s->Order.size()) return 0;
        std::copy(s->Order.begin(), s->Order.end(), out);
        return 1;
    }
    case HDM_SETORDERARRAY:
        return SetOrder(hwnd, s, wParam, reinterpret_cast<const int*>(lParam));
    default:
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}   // namespace

bool RegisterHeaderClass() {
    return RegisterControlClass(WC_HEADER, HeaderProc, CS_GLOBALCLASS | CS_DBLCLKS, IDC_ARROW,
               SysColorBackground(gdi::COLOR_BTNFACE))
        != 0;
}

}
