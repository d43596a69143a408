// Printing windows into a DC of the caller's (WM_PRINT, WM_PRINTCLIENT, WM_PAINT with a DC) and WM_NCPAINT
// as a repaint trigger for windows without a frame.
#include "support/UserTestSupport.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/PngCodec.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/ProgressBar.h"
#include "platform/user/controls/RichEditConstants.h"
#include "platform/user/controls/StandardClasses.h"
#include "platform/user/controls/StatusBar.h"
#include "platform/user/controls/TrackBar.h"
#include "platform/user/controls/UpDown.h"

#include <cstdlib>
#include <memory>
#include <string>

using namespace korvex::user;
using namespace korvex::user::test;
namespace gdi = korvex::gdi;

namespace {

class PrintTest : public UserTest { };

constexpr COLORREF Magenta = gdi::RGB(255, 0, 255);

// A memory DC over a bitmap filled with magenta, freed with the object.
class MemorySurface {
public:
    MemorySurface(int width, int height)
        : FWidth(width)
        , FHeight(height) {
        HDC screen = GetDC(nullptr);
        FDc = gdi::CreateCompatibleDC(screen);
        FBitmap = gdi::CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        FOld = gdi::SelectObject(FDc, FBitmap);
        gdi::GdiHandle<gdi::Brush> brush(gdi::CreateSolidBrush(Magenta));
        RECT all {0, 0, width, height};
        gdi::FillRect(FDc, &all, brush.Get());
    }
    ~MemorySurface() {
        gdi::SelectObject(FDc, FOld);
        gdi::DeleteObject(FBitmap);
        gdi::DeleteDC(FDc);
    }
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;
    HDC Dc() const { return FDc; }
    COLORREF Pixel(int x, int y) const { return gdi::GetPixel(FDc, x, y); }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

private:
    int FWidth;
    int FHeight;
    HDC FDc = nullptr;
    HBITMAP FBitmap = nullptr;
    HBITMAP FOld = nullptr;
};

SIZE WindowSize(HWND hwnd) {
    RECT r {};
    GetWindowRect(hwnd, &r);
    return SIZE {r.right - r.left, r.bottom - r.top};
}

// Pixels of the surface (from its origin) that differ from the window's on-screen pixels (window coordinates).
int Differences(const MemorySurface& surface, HWND hwnd, POINT windowOrigin = {0, 0}) {
    int count = 0;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            if (surface.Pixel(x, y) != StorePixel(hwnd, windowOrigin.x + x, windowOrigin.y + y)) ++count;
    return count;
}

HWND PrintedChild(const char* cls, DWORD style, DWORD exStyle, int x, int y, int w, int h, HWND parent, int id,
    const char* text = "") {
    return CreateWindowEx(
        exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, ChildId(id), nullptr, nullptr);
}

void WritePicture(const MemorySurface& surface, const char* name) {
    const char* folder = std::getenv("KORVEX_TEST_PNG_DIR");
    if (!folder) return;
    std::unique_ptr<gdi::Bitmap> copy(gdi::Bitmap::Create(surface.Width(), surface.Height(), gdi::PixelFormat::pf32bit));
    if (!copy) return;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            copy->SetPixelAt(x, y, surface.Pixel(x, y));
    gdi::WritePngFile(*copy, std::string(folder) + "/" + name);
}

struct NativeCase {
    const char* Name;
    const char* Class;
    DWORD Style;
    DWORD ExStyle;
    int Width;
    int Height;
};

// Each native class printed with its frame matches what it shows on the screen, pixel for pixel.
TEST_F(PrintTest, NativeControlsPrintWhatTheyShowOnScreen) {
    ASSERT_TRUE(RegisterStandardClasses());
    const NativeCase cases[] = {
        {"edit", WC_EDIT, 0, WS_EX_CLIENTEDGE, 120, 24},
        {"multi-line edit", WC_EDIT, ES_MULTILINE | WS_VSCROLL, WS_EX_CLIENTEDGE, 120, 60},
        {"rich edit", RICHEDIT_CLASS, ES_MULTILINE, WS_EX_CLIENTEDGE, 120, 60},
        {"progress bar", PROGRESS_CLASS, 0, 0, 150, 18},
        {"status bar", STATUSCLASSNAME, SBARS_SIZEGRIP, 0, 0, 0},
        {"track bar", TRACKBAR_CLASS, TBS_AUTOTICKS, 0, 150, 36},
        {"up-down", UPDOWN_CLASS, 0, WS_EX_STATICEDGE, 18, 30},
    };
    for (const NativeCase& c : cases) {
        SCOPED_TRACE(c.Name);
        HWND form = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200);
        HWND control = PrintedChild(c.Class, c.Style, c.ExStyle, 12, 14, c.Width, c.Height, form, 1, "Printed text");
        ASSERT_NE(control, nullptr);
        SendMessage(control, PBM_SETPOS, 40, 0);
        SendMessage(control, TBM_SETPOS, 1, 3);
        UpdateWindow(form);
        Pump();
        const SIZE size = WindowSize(control);
        MemorySurface surface(size.cx, size.cy);
        SendMessage(control, WM_PRINT, WPARAM(surface.Dc()), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
        EXPECT_EQ(Differences(surface, control), 0);
        EXPECT_NE(surface.Pixel(size.cx / 2, size.cy / 2), Magenta);
        DestroyWindow(form);
    }
}

TEST_F(PrintTest, PaintWithADcPaintsIntoItAndLeavesTheUpdateRegion) {
    ASSERT_TRUE(RegisterStandardClasses());
    HWND form = Create(WS_POPUP | WS_VISIBLE, 10, 10, 200, 100);
    for (const char* cls : {PROGRESS_CLASS, STATUSCLASSNAME, TRACKBAR_CLASS, UPDOWN_CLASS, WC_EDIT, RICHEDIT_CLASS}) {
        SCOPED_TRACE(cls);
        HWND control = PrintedChild(cls, 0, 0, 5, 5, 60, 30, form, 2, "x");
        UpdateWindow(form);
        InvalidateRect(control, nullptr, false);
        RECT client {};
        GetClientRect(control, &client);
        MemorySurface surface(client.right, client.bottom);
        SendMessage(control, WM_PAINT, WPARAM(surface.Dc()), 0);
        EXPECT_NE(surface.Pixel(client.right / 2, client.bottom / 2), Magenta);
        EXPECT_TRUE(GetUpdateRect(control, nullptr, false));   // the window itself was not painted
        DestroyWindow(control);
    }
}

// A window with a frame and children: frame, client and children land where the screen has them.
TEST_F(PrintTest, ChildrenArePrintedAtTheirPlacesOnlyWithPrfChildren) {
    ASSERT_TRUE(RegisterStandardClasses());
    HWND form = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 260, 160);
    SetWindowText(form, "Printed");
    HWND progress = PrintedChild(PROGRESS_CLASS, 0, 0, 10, 10, 150, 20, form, 1);
    SendMessage(progress, PBM_SETPOS, 60, 0);
    HWND edit = PrintedChild(WC_EDIT, 0, WS_EX_CLIENTEDGE, 10, 40, 150, 24, form, 2, "Text");
    PrintedChild(STATUSCLASSNAME, 0, 0, 0, 0, 0, 0, form, 3, "Ready");
    UpdateWindow(form);
    Pump();
    const SIZE size = WindowSize(form);
    MemorySurface whole(size.cx, size.cy);
    SendMessage(form, WM_PRINT, WPARAM(whole.Dc()), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    WritePicture(whole, "print-form.png");
    EXPECT_EQ(Differences(whole, form), 0);

    MemorySurface alone(size.cx, size.cy);
    SendMessage(form, WM_PRINT, WPARAM(alone.Dc()), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    RECT r {};
    GetWindowRect(edit, &r);
    POINT inEdit {r.left + 20, r.top + 12};
    RECT formRect {};
    GetWindowRect(form, &formRect);
    // Without PRF_CHILDREN the form's own background stands where the edit is.
    EXPECT_EQ(alone.Pixel(inEdit.x - formRect.left, inEdit.y - formRect.top), StorePixel(form, 100, 100));
    EXPECT_NE(whole.Pixel(inEdit.x - formRect.left, inEdit.y - formRect.top),
        alone.Pixel(inEdit.x - formRect.left, inEdit.y - formRect.top));
}

TEST_F(PrintTest, ClientOnlyPrintStartsAtTheClientCornerAndSendsNoNcPaint) {
    HWND form = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 120);
    UpdateWindow(form);
    Pump();
    ClearLog();
    RECT client {};
    GetClientRect(form, &client);
    MemorySurface surface(client.right, client.bottom);
    SendMessage(form, WM_PRINT, WPARAM(surface.Dc()), PRF_CLIENT | PRF_ERASEBKGND);
    EXPECT_EQ(Count(form, WM_NCPAINT), 0);
    EXPECT_EQ(Count(form, WM_PRINTCLIENT), 1);
    EXPECT_EQ(Count(form, WM_ERASEBKGND), 1);
    POINT origin {0, 0};
    ClientToScreen(form, &origin);
    RECT window {};
    GetWindowRect(form, &window);
    EXPECT_EQ(Differences(surface, form, POINT {origin.x - window.left, origin.y - window.top}), 0);
}

TEST_F(PrintTest, CheckVisibleSkipsAHiddenWindow) {
    HWND form = Create(WS_OVERLAPPEDWINDOW, 10, 10, 100, 80);
    MemorySurface surface(100, 80);
    SendMessage(form, WM_PRINT, WPARAM(surface.Dc()), PRF_CHECKVISIBLE | PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    EXPECT_EQ(Count(form, WM_PRINTCLIENT), 0);
    EXPECT_EQ(surface.Pixel(1, 1), Magenta);
    SendMessage(form, WM_PRINT, WPARAM(surface.Dc()), PRF_NONCLIENT | PRF_CLIENT);
    EXPECT_EQ(Count(form, WM_PRINTCLIENT), 1);
    EXPECT_NE(surface.Pixel(1, 1), Magenta);
}

TEST_F(PrintTest, PrintLeavesTheCallersDcStateAsItWas) {
    HWND form = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 100, 80);
    HWND child = Create(WS_CHILD | WS_VISIBLE | WS_BORDER, 5, 5, 30, 20, form);
    (void)child;
    MemorySurface surface(100, 80);
    POINT before {}, after {};
    gdi::GetViewportOrgEx(surface.Dc(), &before);
    SendMessage(form, WM_PRINT, WPARAM(surface.Dc()), PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN);
    gdi::GetViewportOrgEx(surface.Dc(), &after);
    EXPECT_EQ(before.x, after.x);
    EXPECT_EQ(before.y, after.y);
    RECT clip {};
    EXPECT_EQ(gdi::GetClipBox(surface.Dc(), &clip), gdi::SIMPLEREGION);
    EXPECT_EQ(clip.right, 100);
    EXPECT_EQ(clip.bottom, 80);
}

// Windows without a frame get WM_NCPAINT too: on showing, on a frame-inclusive redraw, on frame changes.
TEST_F(PrintTest, NcPaintReachesWindowsWithoutAFrame) {
    HWND form = Create(WS_POPUP | WS_VISIBLE, 10, 10, 200, 120);
    HWND child = Create(WS_CHILD, 10, 10, 50, 30, form);
    UpdateWindow(form);
    Pump();
    ClearLog();
    ShowWindow(child, SW_SHOW);
    UpdateWindow(child);
    EXPECT_EQ(Count(child, WM_NCPAINT), 1);
    ClearLog();
    RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_EQ(Count(child, WM_NCPAINT), 1);
    ClearLog();
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(Count(form, WM_NCPAINT), 1);
    EXPECT_EQ(Count(child, WM_NCPAINT), 1);
    ClearLog();
    SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    UpdateWindow(child);
    EXPECT_EQ(Count(child, WM_NCPAINT), 1);
    // A client-only invalidation still leaves the frame alone.
    ClearLog();
    InvalidateRect(child, nullptr, true);
    UpdateWindow(child);
    EXPECT_EQ(Count(child, WM_NCPAINT), 0);
    EXPECT_EQ(Count(child, WM_PAINT), 1);
}

}
