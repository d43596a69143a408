// The common controls together on one window: registration, and a picture of their plain look.
#include "support/UserTestSupport.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/ProgressBar.h"
#include "platform/user/controls/StandardClasses.h"
#include "platform/user/controls/StatusBar.h"
#include "platform/user/controls/TabControl.h"
#include "platform/user/controls/ToolBar.h"
#include "platform/user/controls/TrackBar.h"
#include "platform/user/controls/UpDown.h"

#include <cstdlib>
#include <string>

using namespace korvex::user;
using namespace korvex::user::test;
namespace gdi = korvex::gdi;

namespace {

class Glyphs final : public ImageListSource {
public:
    int Count() const override { return 4; }
    SIZE ImageSize() const override { return SIZE {16, 16}; }
    void Draw(HDC dc, int index, int x, int y, bool enabled) override {
        static const COLORREF colors[4]
            = {gdi::RGB(200, 40, 40), gdi::RGB(40, 120, 200), gdi::RGB(40, 160, 60), gdi::RGB(220, 160, 20)};
        RECT r {x + 2, y + 2, x + 14, y + 14};
        gdi::GdiHandle<gdi::Brush> brush(gdi::CreateSolidBrush(enabled ? colors[index] : gdi::RGB(160, 160, 160)));
        gdi::FillRect(dc, &r, brush.Get());
    }
};

class CommonControlsTest : public UserTest { };

HWND Child(const char* cls, DWORD style, int x, int y, int w, int h, HWND parent, int id, const char* text = "") {
    return CreateWindowEx(
        0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, ChildId(id), nullptr, nullptr);
}

void AddTabs(HWND tabs, std::initializer_list<const char*> captions) {
    int i = 0;
    for (const char* caption : captions) {
        std::string text = caption;
        TCITEM item;
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessage(tabs, TCM_INSERTITEM, WPARAM(i++), reinterpret_cast<LPARAM>(&item));
    }
}

TEST_F(CommonControlsTest, StandardClassesIncludeTheCommonControls) {
    ASSERT_TRUE(RegisterStandardClasses());
    WNDCLASSEX info;
    for (const char* name :
        {WC_TABCONTROL, UPDOWN_CLASS, STATUSCLASSNAME, TOOLBARCLASSNAME, TRACKBAR_CLASS, PROGRESS_CLASS})
        EXPECT_TRUE(GetClassInfoEx(name, &info)) << name;
}

TEST_F(CommonControlsTest, AllOfThemOnOneWindow) {
    ASSERT_TRUE(RegisterStandardClasses());
    Glyphs glyphs;
    HWND form = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 640, 480);
    SetWindowText(form, "Common controls");
    HWND tool = Child(TOOLBARCLASSNAME, TBSTYLE_FLAT, 0, 0, 0, 0, form, 1);
    SendMessage(tool, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&glyphs));
    SendMessage(tool, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    TBBUTTON buttons[6];
    buttons[0] = TBBUTTON {0, 10, TBSTATE_ENABLED, BTNS_BUTTON, 0, -1};
    buttons[1] = TBBUTTON {1, 11, TBSTATE_ENABLED | TBSTATE_CHECKED, BTNS_CHECK, 0, -1};
    buttons[2] = TBBUTTON {6, 0, 0, BTNS_SEP, 0, -1};
    buttons[3] = TBBUTTON {2, 12, TBSTATE_ENABLED, BTNS_DROPDOWN, 0, -1};
    buttons[4] = TBBUTTON {3, 13, 0, BTNS_BUTTON, 0, -1};
    buttons[5] = TBBUTTON {0, 14, TBSTATE_ENABLED | TBSTATE_PRESSED, BTNS_BUTTON, 0, -1};
    SendMessage(tool, TB_ADDBUTTONS, 6, reinterpret_cast<LPARAM>(buttons));
    SendMessage(tool, TB_AUTOSIZE, 0, 0);

    HWND top = Child(WC_TABCONTROL, 0, 10, 40, 300, 120, form, 2);
    AddTabs(top, {"Node control", "Interface control", "Update control"});
    HWND bottom = Child(WC_TABCONTROL, TCS_BOTTOM | TCS_HOTTRACK, 320, 40, 300, 120, form, 3);
    AddTabs(bottom, {"First", "Second", "Third", "Fourth", "Fifth", "Sixth", "Seventh", "Eighth"});
    SendMessage(bottom, TCM_SETCURSEL, 1, 0);
    HWND left = Child(WC_TABCONTROL, TCS_VERTICAL, 10, 170, 180, 120, form, 4);
    AddTabs(left, {"Left", "Tabs"});
    HWND right = Child(WC_TABCONTROL, TCS_VERTICAL | TCS_RIGHT, 200, 170, 180, 120, form, 5);
    AddTabs(right, {"Right", "Tabs"});
    HWND buttonsTabs = Child(WC_TABCONTROL, TCS_BUTTONS, 390, 170, 230, 50, form, 6);
    AddTabs(buttonsTabs, {"Buttons", "Style"});
    HWND flat = Child(WC_TABCONTROL, TCS_BUTTONS | TCS_FLATBUTTONS, 390, 225, 230, 50, form, 7);
    AddTabs(flat, {"Flat", "Buttons"});
    SendMessage(flat, TCM_SETCURSEL, 1, 0);

    HWND buddy = Child("EDIT", WS_BORDER, 10, 300, 80, 22, form, 8, "42");
    HWND ud = Child(UPDOWN_CLASS, UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS, 0, 0, 17, 0, form, 9);
    SendMessage(ud, UDM_SETRANGE32, 0, 100);
    SendMessage(ud, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    SendMessage(ud, UDM_SETPOS32, 0, 42);
    Child(UPDOWN_CLASS, UDS_HORZ, 100, 300, 32, 16, form, 10);

    HWND track = Child(TRACKBAR_CLASS, TBS_AUTOTICKS, 150, 295, 200, 40, form, 11);
    SendMessage(track, TBM_SETRANGEMAX, 1, 5);
    SendMessage(track, TBM_SETPOS, 1, 2);
    HWND both = Child(TRACKBAR_CLASS, TBS_AUTOTICKS | TBS_BOTH | TBS_ENABLESELRANGE, 360, 290, 200, 50, form, 12);
    SendMessage(both, TBM_SETTICFREQ, 10, 0);
    SendMessage(both, TBM_SETSEL, 1, MAKELPARAM(20, 60));
    SendMessage(both, TBM_SETPOS, 1, 60);
    HWND vert = Child(TRACKBAR_CLASS, TBS_VERT | TBS_AUTOTICKS | TBS_TOP, 570, 240, 40, 150, form, 13);
    SendMessage(vert, TBM_SETTICFREQ, 20, 0);

    HWND progress = Child(PROGRESS_CLASS, 0, 10, 345, 250, 18, form, 14);
    SendMessage(progress, PBM_SETPOS, 47, 0);
    HWND smooth = Child(PROGRESS_CLASS, PBS_SMOOTH, 270, 345, 250, 18, form, 15);
    SendMessage(smooth, PBM_SETPOS, 75, 0);
    HWND vprogress = Child(PROGRESS_CLASS, PBS_VERTICAL | PBS_SMOOTH, 530, 300, 18, 100, form, 16);
    SendMessage(vprogress, PBM_SETPOS, 30, 0);

    HWND status = Child(STATUSCLASSNAME, SBARS_SIZEGRIP, 0, 0, 0, 0, form, 17);
    int parts[2] = {320, -1};
    SendMessage(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    SendMessage(status, SB_SETTEXT, 0, reinterpret_cast<LPARAM>("KORVEX monitor"));
    SendMessage(status, SB_SETTEXT, 1, reinterpret_cast<LPARAM>("\tTOTAL: 3 nodes"));
    Pump();

    // A spot check of each: the status bar at the bottom and the raised tab frame.
    RECT s = WindowRect(status);
    MapWindowRect(nullptr, form, &s);
    EXPECT_EQ(s.bottom, ClientRect(form).bottom);
    EXPECT_NE(StorePixel(top, 150, 60), gdi::CLR_INVALID);
    const char* dir = std::getenv("KORVEX_SCREENSHOT_DIR");
    if (dir) {
        RECT shot = WindowRect(form);
        EXPECT_TRUE(Screen->WriteScreenshotPng(std::string(dir) + "/common-controls.png", &shot));
    }
}

}
