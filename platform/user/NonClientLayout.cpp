// Frame geometry by style: frame, caption and its buttons, menu bar, edges, scroll bar bands, client area.
#include "platform/user/NonClientLayout.h"

#include "platform/user/NonClient.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <algorithm>

namespace korvex::user::nc {

namespace {

// Keeps a rectangle from turning inside out when the window is too small for its frame.
RECT Normalized(RECT r) {
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

RECT Deflated(RECT r, int dx, int dy) {
    r.left += dx;
    r.right -= dx;
    r.top += dy;
    r.bottom -= dy;
    return Normalized(r);
}

void PlaceCaptionButtons(Layout& layout) {
    const FrameStyle& s = layout.Style;
    const RECT& caption = layout.Caption;
    if (!s.SysMenu || gdi::IsRectEmpty(&caption)) return;
    const int cellWidth = GetSystemMetrics(s.ToolWindow ? SM_CXSMSIZE : SM_CXSIZE);
    const int cellHeight = GetSystemMetrics(s.ToolWindow ? SM_CYSMSIZE : SM_CYSIZE);
    const int width = std::max(cellWidth - 2, 0);
    const int height = std::clamp(cellHeight - 4, 0, std::max(int(caption.Height()) - 2, 0));
    const int top = caption.top + (caption.Height() - height) / 2;
    auto place = [&](int right) {
        return Normalized(RECT {std::max(right - width, caption.left), top, right, top + height});
    };

    layout.CloseButton = place(caption.right - 2);
    int right = layout.CloseButton.left - 2;
    if (s.MinBox || s.MaxBox) {
        layout.MaxButton = place(right);
        layout.MinButton = place(layout.MaxButton.left);
    } else if (s.Help) {
        layout.HelpButton = place(right);
    }
    if (s.Icon) {
        const int iconWidth = std::min<int>(GetSystemMetrics(SM_CXSIZE), caption.Height() + 1);
        layout.Icon = Normalized(RECT {caption.left, caption.top, caption.left + iconWidth, caption.bottom});
    }
}

}

FrameStyle StyleOf(DWORD style, DWORD exStyle) {
    FrameStyle s;
    if (style & WS_THICKFRAME)
        s.Frame = FrameKind::Sizing;
    else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        s.Frame = FrameKind::Dialog;
    else if (style & WS_BORDER)
        s.Frame = FrameKind::Thin;
    s.StaticEdge = (exStyle & WS_EX_STATICEDGE) && !(exStyle & WS_EX_DLGMODALFRAME);
    s.ClientEdge = exStyle & WS_EX_CLIENTEDGE;
    s.Caption = (style & WS_CAPTION) == WS_CAPTION;
    s.ToolWindow = exStyle & WS_EX_TOOLWINDOW;
    s.SysMenu = s.Caption && (style & WS_SYSMENU);
    s.Icon = s.SysMenu && !s.ToolWindow && !(exStyle & WS_EX_DLGMODALFRAME);
    const bool boxes = s.SysMenu && !s.ToolWindow && (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    s.MinBox = boxes;
    s.MaxBox = boxes;
    s.MinEnabled = style & WS_MINIMIZEBOX;
    s.MaxEnabled = style & WS_MAXIMIZEBOX;
    s.Help = s.SysMenu && !boxes && (exStyle & WS_EX_CONTEXTHELP);
    s.VScroll = style & WS_VSCROLL;
    s.HScroll = style & WS_HSCROLL;
    s.LeftScroll = exStyle & WS_EX_LEFTSCROLLBAR;
    s.Child = style & WS_CHILD;
    return s;
}

Layout ComputeLayout(DWORD style, DWORD exStyle, int width, int height, int menuHeight) {
    Layout layout;
    layout.Style = StyleOf(style, exStyle);
    const FrameStyle& s = layout.Style;
    layout.Window = RECT {0, 0, std::max(width, 0), std::max(height, 0)};

    const SIZE frame = FrameThickness(style, exStyle);
    layout.FrameSize = frame;
    RECT inner = Deflated(layout.Window, frame.cx, frame.cy);

    if (s.Caption) {
        const int band = GetSystemMetrics(s.ToolWindow ? SM_CYSMCAPTION : SM_CYCAPTION);
        layout.CaptionBand
            = Normalized(RECT {inner.left, inner.top, inner.right, std::min(inner.top + band, inner.bottom)});
        layout.Caption = layout.CaptionBand;
        if (layout.Caption.bottom > layout.Caption.top) --layout.Caption.bottom;   // the separator row
        inner.top = layout.CaptionBand.bottom;
        PlaceCaptionButtons(layout);
    }
    if (menuHeight > 0 && !s.Child) {
        layout.MenuBar
            = Normalized(RECT {inner.left, inner.top, inner.right, std::min(inner.top + menuHeight, inner.bottom)});
        inner.top = layout.MenuBar.bottom;
    }
    layout.EdgeBox = inner;
    if (s.ClientEdge) inner = Deflated(inner, GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));

    const int cxV = GetSystemMetrics(SM_CXVSCROLL);
    const int cyH = GetSystemMetrics(SM_CYHSCROLL);
    bool vertical = false;
    if (s.VScroll && inner.right - inner.left >= cxV) {
        vertical = true;
        if (s.LeftScroll) {
            layout.VScroll = RECT {inner.left, inner.top, inner.left + cxV, inner.bottom};
            inner.left += cxV;
        } else {
            layout.VScroll = RECT {inner.right - cxV, inner.top, inner.right, inner.bottom};
            inner.right -= cxV;
        }
    }
    if (s.HScroll && inner.bottom - inner.top > cyH) {
        layout.HScroll = RECT {inner.left, inner.bottom - cyH, inner.right, inner.bottom};
        inner.bottom -= cyH;
        if (vertical) {
            layout.VScroll.bottom = inner.bottom;
            layout.SizeBox = RECT {layout.VScroll.left, inner.bottom, layout.VScroll.right, inner.bottom + cyH};
        }
    }
    layout.Client = inner;
    return layout;
}

int MenuBarHeight(HWND hwnd, DWORD style, int windowWidth) {
    if (style & WS_CHILD) return 0;
    // The bar spans the window inside its frame: items are laid out (and painted) across that width.
    const SIZE frame = FrameThickness(style, GetWindowExStyle(hwnd));
    return MenuBarHeightHook(hwnd, std::max(windowWidth - 2 * int(frame.cx), 0));
}

Layout LayoutOf(HWND hwnd) {
    const RECT window = WindowRect(hwnd);
    const DWORD style = GetWindowStyle(hwnd);
    return ComputeLayout(
        style, GetWindowExStyle(hwnd), window.Width(), window.Height(), MenuBarHeight(hwnd, style, window.Width()));
}

RECT ScrollBandOf(const Layout& layout, int bar) {
    return bar == SB_VERT ? layout.VScroll : bar == SB_HORZ ? layout.HScroll : RECT {};
}

POINT WindowOrigin(HWND hwnd) {
    const RECT r = WindowRect(hwnd);
    return POINT {r.left, r.top};
}

}

namespace korvex::user {

SIZE FrameThickness(DWORD style, DWORD exStyle) {
    const nc::FrameStyle s = nc::StyleOf(style, exStyle);
    SIZE size;
    switch (s.Frame) {
    case nc::FrameKind::Sizing:
        size = SIZE {GetSystemMetrics(SM_CXSIZEFRAME), GetSystemMetrics(SM_CYSIZEFRAME)};
        break;
    case nc::FrameKind::Dialog:
        size = SIZE {GetSystemMetrics(SM_CXFIXEDFRAME), GetSystemMetrics(SM_CYFIXEDFRAME)};
        break;
    case nc::FrameKind::Thin:
        size = SIZE {GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)};
        break;
    case nc::FrameKind::None:
        break;
    }
    if (s.StaticEdge) {
        size.cx += GetSystemMetrics(SM_CXBORDER);
        size.cy += GetSystemMetrics(SM_CYBORDER);
    }
    return size;
}

RECT NonClientInsets(DWORD style, DWORD exStyle, int menuHeight) {
    // Scroll bars are not part of the frame here, as AdjustWindowRectEx leaves them out.
    const nc::Layout layout
        = nc::ComputeLayout(style & ~(WS_VSCROLL | WS_HSCROLL), exStyle, 0x4000, 0x4000, menuHeight);
    return RECT {layout.Client.left, layout.Client.top, layout.Window.right - layout.Client.right,
        layout.Window.bottom - layout.Client.bottom};
}

bool AdjustWindowRectEx(RECT* rect, DWORD style, bool menu, DWORD exStyle) {
    if (!rect) return false;
    const RECT insets = NonClientInsets(style, exStyle, menu ? GetSystemMetrics(SM_CYMENU) : 0);
    rect->left -= insets.left;
    rect->top -= insets.top;
    rect->right += insets.right;
    rect->bottom += insets.bottom;
    return true;
}

bool AdjustWindowRect(RECT* rect, DWORD style, bool menu) {
    return AdjustWindowRectEx(rect, style, menu, 0);
}

}
