// MDI: the client window class, its children's activation, maximizing and closing, and the merged caption.
#include "platform/user/Mdi.h"

#include "platform/gdi/Drawing.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Menus.h"
#include "platform/user/Messages.h"
#include "platform/user/NonClient.h"
#include "platform/user/NonClientLayout.h"
#include "platform/user/Painting.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ControlsCommon.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace korvex::user {

namespace {

struct ClientState {
    HWND Frame = nullptr;
    HWND Active = nullptr;
    UINT FirstChildId = 0;
    std::string FrameTitle;   // the frame's own title while a child's name is merged into it
    bool TitleMerged = false;
    LRESULT Pressed = HTNOWHERE;   // merged button drawn pushed
    bool ScrollsH = false;   // made with WS_HSCROLL: scrolls its children across
    bool ScrollsV = false;   // made with WS_VSCROLL: scrolls them up and down
    bool Scrolling = false;   // moving the children itself: their moves change no range
    bool Calculating = false;   // a bar that comes or goes resizes the client while the ranges are set
};

std::map<HWND, ClientState>& Clients() {
    static std::map<HWND, ClientState> clients;
    return clients;
}

ClientState* StateOf(HWND client) {
    auto it = Clients().find(client);
    return it == Clients().end() ? nullptr : &it->second;
}

bool IsMdiChild(HWND hwnd) {
    return (GetWindowExStyle(hwnd) & WS_EX_MDICHILD) != 0;
}

// The client's children that take part, topmost first.
std::vector<HWND> ChildrenOf(HWND client) {
    std::vector<HWND> children;
    for (HWND h = GetWindow(client, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (IsMdiChild(h)) children.push_back(h);
    return children;
}

// The frame's text without running its procedure (which would take the merged text for its own title).
void SetFrameText(HWND frame, const std::string& text) {
    DefWindowProc(frame, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string RawText(HWND hwnd) {
    const int length = int(DefWindowProc(hwnd, WM_GETTEXTLENGTH, 0, 0));
    std::string text(std::size_t(length) + 1, '\0');
    DefWindowProc(hwnd, WM_GETTEXT, WPARAM(text.size()), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::size_t(length));
    return text;
}

// The frame's caption and menu bar after the active child's state changed.
void UpdateMerge(HWND client) {
    ClientState* st = StateOf(client);
    if (!st || !IsWindow(st->Frame)) return;
    const HWND frame = st->Frame;
    const bool merged = st->Active && IsZoomed(st->Active);
    if (merged) {
        if (!st->TitleMerged) st->FrameTitle = RawText(frame);
        st->TitleMerged = true;
        SetFrameText(frame, st->FrameTitle + " - [" + RawText(st->Active) + "]");
    } else if (st->TitleMerged) {
        st->TitleMerged = false;
        SetFrameText(frame, st->FrameTitle);
    }
    DrawMenuBar(frame);
}

bool FrameIsActive(HWND client) {
    const HWND active = GetActiveWindow();
    return active && (active == GetAncestor(client, GA_ROOT));
}

// [sends] Makes child the active child (nullptr: none): the old one is told and drawn inactive, the new one
// goes on top, is told and drawn active and gets the focus while the frame is active. A maximized state
// passes from the old child to the new one.
void Activate(HWND client, HWND child) {
    ClientState* st = StateOf(client);
    if (!st || (child && GetParent(child) != client)) return;
    const HWND old = st->Active;
    if (old == child) return;
    const bool maximized = old && IsZoomed(old);
    st->Active = child;
    if (IsWindow(old)) {
        SendMessage(old, WM_NCACTIVATE, 0, 0);
        SendMessage(old, WM_MDIACTIVATE, WPARAM(old), LPARAM(child));
        if (maximized && child) ShowWindow(old, SW_RESTORE);   // the new one is maximized below
    }
    if (child && IsWindow(child)) {
        SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessage(child, WM_NCACTIVATE, 1, 0);
        SendMessage(child, WM_MDIACTIVATE, WPARAM(old), LPARAM(child));
        if (maximized && IsWindow(child) && !IsZoomed(child)) ShowWindow(child, SW_MAXIMIZE);
        if (IsWindow(child) && FrameIsActive(client)) SetFocus(child);
    }
    if (StateOf(client)) UpdateMerge(client);
}

// The child after (or before) from in the z-order, wrapping; nullptr when from is the only one.
HWND Neighbour(HWND client, HWND from, bool previous) {
    std::vector<HWND> children;
    for (HWND h : ChildrenOf(client))
        if (h == from || (IsWindowVisible(h) && IsWindowEnabled(h))) children.push_back(h);
    if (children.size() < 2) return nullptr;
    if (previous) return children.back() == from ? children[children.size() - 2] : children.back();
    for (std::size_t i = 0; i < children.size(); ++i)
        if (children[i] == from) return children[(i + 1) % children.size()];
    return children.front();
}

void Next(HWND client, HWND from, bool previous) {
    ClientState* st = StateOf(client);
    if (!st) return;
    if (!from) from = st->Active;
    const HWND next = Neighbour(client, from, previous);
    if (!next) return;
    Activate(client, next);
    // Going forward, the one left goes to the bottom, so repeated steps visit every child.
    if (!previous && IsWindow(from))
        SetWindowPos(from, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// A flag of the client's state held for a scope; the state is looked up again, as a message may end it.
class StateFlag {
public:
    StateFlag(HWND client, bool ClientState::*flag)
        : FClient(client)
        , FFlag(flag) {
        if (ClientState* st = StateOf(client)) st->*flag = true;
    }
    ~StateFlag() {
        if (ClientState* st = StateOf(FClient)) st->*FFlag = false;
    }
    StateFlag(const StateFlag&) = delete;
    StateFlag& operator=(const StateFlag&) = delete;

private:
    HWND FClient;
    bool ClientState::*FFlag;
};

// The client's area joined with every shown child (but leaving) in client coordinates; just the area while a
// child is maximized.
RECT ChildrenExtent(HWND client, HWND leaving) {
    RECT area {};
    GetClientRect(client, &area);
    RECT extent = area;
    for (HWND child : ChildrenOf(client)) {
        if (child == leaving || !IsWindowVisible(child)) continue;
        if (IsZoomed(child)) return area;
        RECT r {};
        GetWindowRect(child, &r);
        POINT corners[2] {{r.left, r.top}, {r.right, r.bottom}};
        MapWindowPoints(nullptr, client, corners, 2);
        const RECT mapped {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
        gdi::UnionRect(&extent, &extent, &mapped);
    }
    return extent;
}

// The ranges of a scrolling client: the extent of its children with the client's view at position 0, one
// page the client's size. A bar that comes or goes changes the other direction's page: set once more then.
void CalcChildScroll(HWND client, HWND leaving = nullptr) {
    const ClientState* st = StateOf(client);
    if (!st || st->Calculating || st->Scrolling || !(st->ScrollsH || st->ScrollsV)) return;
    const bool horizontal = st->ScrollsH;
    const bool vertical = st->ScrollsV;
    StateFlag calculating(client, &ClientState::Calculating);
    for (int pass = 0; pass < 3 && IsWindow(client); ++pass) {
        RECT area {};
        GetClientRect(client, &area);
        const RECT extent = ChildrenExtent(client, leaving);
        SCROLLINFO info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nPos = 0;
        if (horizontal) {
            info.nMin = extent.left;
            info.nMax = extent.right - 1;
            info.nPage = UINT(std::max(area.Width(), 0));
            SetScrollInfo(client, SB_HORZ, &info, true);
        }
        if (vertical) {
            info.nMin = extent.top;
            info.nMax = extent.bottom - 1;
            info.nPage = UINT(std::max(area.Height(), 0));
            SetScrollInfo(client, SB_VERT, &info, true);
        }
        RECT after {};
        GetClientRect(client, &after);
        if (gdi::EqualRect(&after, &area)) break;
    }
}

// [sends] WM_HSCROLL / WM_VSCROLL of the client: the children move the other way; the ranges are set again
// when the scrolling ends.
void ScrollChildren(HWND client, UINT msg, WPARAM wParam) {
    const ClientState* st = StateOf(client);
    const bool vertical = msg == WM_VSCROLL;
    if (!st || !(vertical ? st->ScrollsV : st->ScrollsH)) return;
    const int bar = vertical ? SB_VERT : SB_HORZ;
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (!GetScrollInfo(client, bar, &info)) return;
    const int page = std::max(int(info.nPage), 1);
    const int last = std::max(info.nMax - std::max(int(info.nPage) - 1, 0), info.nMin);
    int pos = info.nPos;
    switch (LOWORD(wParam)) {
    case SB_LINEUP: pos -= mdi::ScrollLine; break;
    case SB_LINEDOWN: pos += mdi::ScrollLine; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: pos = std::int16_t(HIWORD(wParam)); break;
    case SB_TOP: pos = info.nMin; break;
    case SB_BOTTOM: pos = last; break;
    case SB_ENDSCROLL: CalcChildScroll(client); return;
    default: return;
    }
    pos = std::clamp(pos, info.nMin, last);
    if (pos == info.nPos) return;
    StateFlag scrolling(client, &ClientState::Scrolling);
    SetScrollPos(client, bar, pos, true);
    const int delta = info.nPos - pos;
    ScrollWindowEx(client, vertical ? 0 : delta, vertical ? delta : 0, nullptr, nullptr, nullptr, nullptr,
        SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

HWND CreateChild(HWND client, const MDICREATESTRUCT* mcs) {
    ClientState* st = StateOf(client);
    if (!st || !mcs || !mcs->szClass) return nullptr;
    const std::size_t count = ChildrenOf(client).size();
    RECT area {};
    GetClientRect(client, &area);
    int x = mcs->x;
    int y = mcs->y;
    int cx = mcs->cx;
    int cy = mcs->cy;
    if (x == CW_USEDEFAULT) {
        x = int(count % 8) * GetSystemMetrics(SM_CYCAPTION);
        y = x;
    }
    if (cx == CW_USEDEFAULT) {
        cx = std::max(area.Width() / 2, 100);
        cy = std::max(area.Height() / 2, 60);
    }
    const DWORD style = (mcs->style & ~(WS_POPUP | WS_MAXIMIZE | WS_MINIMIZE)) | WS_CHILD | WS_CLIPSIBLINGS
        | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE;
    const HWND child = CreateWindowEx(WS_EX_MDICHILD, mcs->szClass, mcs->szTitle ? mcs->szTitle : "", style, x, y,
        cx, cy, client, ChildId(int(st->FirstChildId + count)), mcs->hOwner, const_cast<MDICREATESTRUCT*>(mcs));
    if (!child || !StateOf(client)) return child;
    Activate(client, child);
    if (IsWindow(child) && (mcs->style & WS_MAXIMIZE) && !IsZoomed(child)) ShowWindow(child, SW_MAXIMIZE);
    return IsWindow(child) ? child : nullptr;
}

// [sends] Another child takes over before child goes; the last one leaves the frame's caption as it was.
void ChildLeaving(HWND client, HWND child) {
    ClientState* st = StateOf(client);
    if (!st || st->Active != child) return;
    if (HWND next = Neighbour(client, child, false)) {
        Activate(client, next);
    } else {
        st->Active = nullptr;
        SendMessage(child, WM_MDIACTIVATE, WPARAM(child), 0);
        UpdateMerge(client);
    }
}

void DestroyChild(HWND client, HWND child) {
    if (!IsWindow(child) || GetParent(child) != client) return;
    ChildLeaving(client, child);
    DestroyWindow(child);
}

LRESULT ClientProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: {
        auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
        ClientState st;
        st.Frame = GetParent(hwnd);
        if (cs && cs->lpCreateParams)
            st.FirstChildId = static_cast<const CLIENTCREATESTRUCT*>(cs->lpCreateParams)->idFirstChild;
        st.ScrollsH = cs && (cs->style & WS_HSCROLL);
        st.ScrollsV = cs && (cs->style & WS_VSCROLL);
        Clients()[hwnd] = st;
        CalcChildScroll(hwnd);   // no children yet: the bars go
        return 0;
    }
    case WM_NCDESTROY:
        Clients().erase(hwnd);
        break;
    case WM_MDICREATE:
        return reinterpret_cast<LRESULT>(CreateChild(hwnd, reinterpret_cast<const MDICREATESTRUCT*>(lParam)));
    case WM_MDIDESTROY:
        DestroyChild(hwnd, reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_MDIACTIVATE: {
        const HWND child = reinterpret_cast<HWND>(wParam);
        if (IsWindow(child) && GetParent(child) == hwnd) Activate(hwnd, child);
        return 0;
    }
    case WM_MDIGETACTIVE: {
        ClientState* st = StateOf(hwnd);
        const HWND active = st ? st->Active : nullptr;
        if (auto* maximized = reinterpret_cast<bool*>(lParam)) *maximized = active && IsZoomed(active);
        return reinterpret_cast<LRESULT>(active);
    }
    case WM_MDIMAXIMIZE:
    case WM_MDIRESTORE: {
        const HWND child = reinterpret_cast<HWND>(wParam);
        if (IsWindow(child) && GetParent(child) == hwnd)
            ShowWindow(child, msg == WM_MDIMAXIMIZE ? SW_MAXIMIZE : SW_RESTORE);
        return 0;
    }
    case WM_MDINEXT:
        Next(hwnd, reinterpret_cast<HWND>(wParam), lParam != 0);
        return 0;
    case WM_SIZE:
        // A maximized child follows the client's size.
        if (ClientState* st = StateOf(hwnd); st && st->Active && IsZoomed(st->Active)) {
            const RECT r = GetMaximizedBounds(st->Active);
            SetWindowPos(st->Active, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        }
        CalcChildScroll(hwnd);
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        ScrollChildren(hwnd, msg, wParam);
        return 0;
    case WM_SETFOCUS:
        if (ClientState* st = StateOf(hwnd); st && IsWindow(st->Active)) SetFocus(st->Active);
        return 0;
    default:
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

void SetPressed(HWND client, HWND frame, LRESULT code) {
    ClientState* st = StateOf(client);
    if (!st || st->Pressed == code) return;
    st->Pressed = code;
    PaintNonClient(frame, nullptr);
}

}

bool RegisterMdiClientClass() {
    return RegisterControlClass(MdiClientClassName, ClientProc, CS_DBLCLKS | CS_GLOBALCLASS, IDC_ARROW,
               SysColorBackground(gdi::COLOR_APPWORKSPACE))
        != 0;
}

LRESULT DefFrameProc(HWND frame, HWND client, UINT msg, WPARAM wParam, LPARAM lParam) {
    ClientState* st = client ? StateOf(client) : nullptr;
    if (st && msg == WM_SETTEXT && st->TitleMerged) {
        const char* text = reinterpret_cast<const char*>(lParam);
        st->FrameTitle = text ? text : "";
        UpdateMerge(client);
        return 1;
    }
    if (st && msg == WM_SYSCOMMAND && ((wParam & 0xFFF0) == SC_NEXTWINDOW || (wParam & 0xFFF0) == SC_PREVWINDOW)) {
        Next(client, nullptr, (wParam & 0xFFF0) == SC_PREVWINDOW);
        return 0;
    }
    return DefWindowProc(frame, msg, wParam, lParam);
}

LRESULT DefMDIChildProc(HWND child, UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND client = GetParent(child);
    ClientState* st = StateOf(client);
    if (!st) return DefWindowProc(child, msg, wParam, lParam);
    switch (msg) {
    case WM_MOUSEACTIVATE:
    case WM_CHILDACTIVATE:
    case WM_SETFOCUS:
        if (st->Active != child) Activate(client, child);
        if (!IsWindow(child)) return msg == WM_MOUSEACTIVATE ? MA_NOACTIVATE : 0;
        break;
    case WM_CLOSE:
        SendMessage(client, WM_MDIDESTROY, WPARAM(child), 0);
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
            Next(client, child, (wParam & 0xFFF0) == SC_PREVWINDOW);
            return 0;
        default:
            break;
        }
        break;
    case WM_SIZE: {
        const LRESULT result = DefWindowProc(child, msg, wParam, lParam);
        if (wParam == SIZE_MAXIMIZED) {
            // One maximized child: the one maximized becomes the active one.
            for (HWND other : ChildrenOf(client))
                if (other != child && IsZoomed(other)) ShowWindow(other, SW_RESTORE);
            if ((st = StateOf(client)) && st->Active != child && IsWindow(child)) Activate(client, child);
        }
        if (StateOf(client)) UpdateMerge(client);
        CalcChildScroll(client);
        return result;
    }
    case WM_MOVE: {
        const LRESULT result = DefWindowProc(child, msg, wParam, lParam);
        CalcChildScroll(client);
        return result;
    }
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProc(child, msg, wParam, lParam);
        if ((st = StateOf(client)) && st->Active == child && st->TitleMerged) UpdateMerge(client);
        return result;
    }
    case WM_GETMINMAXINFO: {
        // Maximized, the whole frame with the caption lies outside the client window.
        DefWindowProc(child, msg, wParam, lParam);
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        RECT area {};
        if (!info || !GetClientRect(client, &area)) return 0;
        const RECT insets = NonClientInsets(GetWindowStyle(child), GetWindowExStyle(child), 0);
        info->ptMaxPosition = POINT {-insets.left, -insets.top};
        info->ptMaxSize = POINT {area.right + insets.left + insets.right, area.bottom + insets.top + insets.bottom};
        info->ptMaxTrackSize.x = std::max(info->ptMaxTrackSize.x, info->ptMaxSize.x);
        info->ptMaxTrackSize.y = std::max(info->ptMaxTrackSize.y, info->ptMaxSize.y);
        return 0;
    }
    case WM_DESTROY:
        // Destroyed without WM_MDIDESTROY.
        ChildLeaving(client, child);
        CalcChildScroll(client, child);
        break;
    default:
        break;
    }
    return DefWindowProc(child, msg, wParam, lParam);
}

bool TranslateMDISysAccel(HWND client, const MSG* msg) {
    ClientState* st = StateOf(client);
    if (!st || !msg || !st->Active || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return false;
    if (!(GetKeyState(VK_CONTROL) & 0x8000) || (GetKeyState(VK_MENU) & 0x8000)) return false;
    WPARAM command = 0;
    if (msg->wParam == VK_F6)
        command = (GetKeyState(VK_SHIFT) & 0x8000) ? SC_PREVWINDOW : SC_NEXTWINDOW;
    else if (msg->wParam == VK_F4)
        command = SC_CLOSE;
    else
        return false;
    SendMessage(st->Active, WM_SYSCOMMAND, command, 0);
    return true;
}

namespace mdi {

HWND ClientOfFrame(HWND frame) {
    for (HWND h = GetWindow(frame, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (StateOf(h)) return h;
    return nullptr;
}

MergedCaption MergedCaptionOf(HWND frame, int barWidth, int rowHeight) {
    MergedCaption merged;
    const ClientState* st = StateOf(ClientOfFrame(frame));
    if (!st || !st->Active || !IsZoomed(st->Active) || !GetMenu(frame)) return merged;
    merged.Child = st->Active;
    const int button = std::max(rowHeight - 4, 6);
    merged.Icon = RECT {0, 0, rowHeight + 2, rowHeight};
    const int top = (rowHeight - button) / 2;
    merged.CloseButton = RECT {barWidth - 2 - button, top, barWidth - 2, top + button};
    merged.RestoreButton = RECT {merged.CloseButton.left - 2 - button, top, merged.CloseButton.left - 2, top + button};
    merged.MinButton = RECT {merged.RestoreButton.left - button, top, merged.RestoreButton.left, top + button};
    return merged;
}

void PaintMergedCaption(HWND frame, HDC windowDc, const RECT& band, int rowHeight) {
    MergedCaption merged = MergedCaptionOf(frame, band.Width(), rowHeight);
    if (!merged.Child) return;
    const ClientState* st = StateOf(ClientOfFrame(frame));
    const LRESULT pressed = st ? st->Pressed : HTNOWHERE;
    for (RECT* r : {&merged.Icon, &merged.MinButton, &merged.RestoreButton, &merged.CloseButton})
        gdi::OffsetRect(r, band.left, band.top);
    nc::PaintCaptionIcon(merged.Child, windowDc, merged.Icon);
    nc::PaintCaptionButton(windowDc, merged.MinButton, HTMINBUTTON, pressed == HTMINBUTTON, false);
    nc::PaintCaptionButton(windowDc, merged.RestoreButton, HTMAXBUTTON, pressed == HTMAXBUTTON, true);
    nc::PaintCaptionButton(windowDc, merged.CloseButton, HTCLOSE, pressed == HTCLOSE, false);
}

bool TrackMergedCaption(HWND frame, POINT screenPoint, int rowHeight) {
    const nc::Layout layout = nc::LayoutOf(frame);
    MergedCaption merged = MergedCaptionOf(frame, layout.MenuBar.Width(), rowHeight);
    if (!merged.Child) return false;
    const POINT origin = nc::WindowOrigin(frame);
    const struct {
        RECT* Box;
        LRESULT Code;
        WPARAM Command;
    } parts[] = {{&merged.Icon, HTSYSMENU, 0}, {&merged.MinButton, HTMINBUTTON, SC_MINIMIZE},
        {&merged.RestoreButton, HTMAXBUTTON, SC_RESTORE}, {&merged.CloseButton, HTCLOSE, SC_CLOSE}};
    for (const auto& part : parts) {
        gdi::OffsetRect(part.Box, origin.x + layout.MenuBar.left, origin.y + layout.MenuBar.top);
        if (!gdi::PtInRect(part.Box, screenPoint)) continue;
        if (!part.Command) return true;   // the icon: no system menu of the child here
        const HWND client = ClientOfFrame(frame);
        const HWND child = merged.Child;
        const bool clicked = nc::TrackPress(
            frame, *part.Box, [&](bool pushed) { SetPressed(client, frame, pushed ? part.Code : HTNOWHERE); },
            nullptr);
        if (clicked && IsWindow(child)) SendMessage(child, WM_SYSCOMMAND, part.Command, 0);
        return true;
    }
    return false;
}

}

}
