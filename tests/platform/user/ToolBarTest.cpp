// Tests of the tool bar: layout, clicks and WM_COMMAND, check groups, drop-downs, hot items and custom draw.
#include "support/UserTestSupport.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/Painting.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/ToolBar.h"

#include <vector>

using namespace korvex::user;
using namespace korvex::user::test;
namespace gdi = korvex::gdi;

namespace {

// Images of one colour each, to see which one is drawn.
class SolidImages final : public ImageListSource {
public:
    int Count() const override { return 3; }
    SIZE ImageSize() const override { return SIZE {16, 16}; }
    void Draw(HDC dc, int index, int x, int y, bool enabled) override {
        static const COLORREF colors[3] = {gdi::RGB(255, 0, 0), gdi::RGB(0, 0, 255), gdi::RGB(0, 160, 0)};
        RECT r {x, y, x + 16, y + 16};
        gdi::GdiHandle<gdi::Brush> brush(gdi::CreateSolidBrush(enabled ? colors[index] : gdi::RGB(128, 128, 128)));
        gdi::FillRect(dc, &r, brush.Get());
        ++Draws;
    }
    int Draws = 0;
};

struct Stage {
    DWORD DrawStage;
    std::uintptr_t Item;
    UINT State;
    bool operator==(const Stage&) const = default;
};

class ToolBarTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        RegisterCommonControlClasses();
        Parent = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300);
        SetHandler(Parent, [this](HWND, UINT msg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg == WM_COMMAND) {
                Commands.push_back(LOWORD(wParam));
                return 0;
            }
            if (msg != WM_NOTIFY) return std::nullopt;
            auto* hdr = reinterpret_cast<NMHDR*>(lParam);
            if (hdr->code == NM_CUSTOMDRAW) {
                auto* cd = reinterpret_cast<NMTBCUSTOMDRAW*>(lParam);
                Stages.push_back({cd->nmcd.dwDrawStage, cd->nmcd.dwItemSpec, cd->nmcd.uItemState});
                return Answer ? Answer(cd->nmcd) : CDRF_DODEFAULT;
            }
            if (hdr->code == TBN_DROPDOWN) {
                DropDowns.push_back(reinterpret_cast<NMTOOLBAR*>(lParam)->iItem);
                return TBDDRET_DEFAULT;
            }
            if (hdr->code == TBN_HOTITEMCHANGE) {
                auto* hot = reinterpret_cast<NMTBHOTITEM*>(lParam);
                HotChanges.push_back({hot->idOld, hot->idNew});
                return 0;
            }
            return 0;
        });
    }

    HWND Make(DWORD style, std::vector<TBBUTTON> buttons) {
        HWND bar = CreateWindowEx(0, TOOLBARCLASSNAME, "", WS_CHILD | WS_VISIBLE | CCS_NODIVIDER | style, 0, 0, 300, 30,
            Parent, ChildId(11), nullptr, nullptr);
        SendMessage(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        SendMessage(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&Images));
        SendMessage(bar, TB_ADDBUTTONS, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
        Pump();
        return bar;
    }

    static TBBUTTON Button(int id, BYTE style = BTNS_BUTTON, int image = 0, BYTE state = TBSTATE_ENABLED) {
        TBBUTTON b;
        b.iBitmap = image;
        b.idCommand = id;
        b.fsStyle = style;
        b.fsState = state;
        return b;
    }

    RECT ItemRect(HWND bar, int index) {
        RECT r {};
        SendMessage(bar, TB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r));
        return r;
    }

    POINT Center(HWND bar, int index) {
        RECT r = ItemRect(bar, index);
        POINT p {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(bar, &p);
        return p;
    }

    void ClickButton(HWND bar, int index) {
        POINT p = Center(bar, index);
        Screen->Click(p.x, p.y);
        Pump();
    }

    int State(HWND bar, int id) { return int(SendMessage(bar, TB_GETSTATE, WPARAM(id), 0)); }

    void Repaint(HWND bar) {
        Stages.clear();
        InvalidateRect(bar, nullptr, true);
        UpdateWindow(bar);
    }

    HWND Parent = nullptr;
    SolidImages Images;
    std::vector<int> Commands;
    std::vector<Stage> Stages;
    std::vector<int> DropDowns;
    std::vector<std::pair<int, int>> HotChanges;
    std::function<LRESULT(const NMCUSTOMDRAW&)> Answer;
};

TEST_F(ToolBarTest, ButtonsAndSeparatorsLineUpAtTheDefaultSize) {
    TBBUTTON sep = Button(0, BTNS_SEP);
    sep.iBitmap = 6;
    HWND bar = Make(0, {Button(1), Button(2), sep, Button(3), Button(0, BTNS_SEP)});
    EXPECT_EQ(SendMessage(bar, TB_BUTTONCOUNT, 0, 0), 5);
    EXPECT_EQ(ItemRect(bar, 0), (RECT {0, 0, 23, 23}));
    EXPECT_EQ(ItemRect(bar, 1), (RECT {23, 0, 46, 23}));
    EXPECT_EQ(ItemRect(bar, 2), (RECT {46, 0, 52, 23}));
    EXPECT_EQ(ItemRect(bar, 3), (RECT {52, 0, 75, 23}));
    EXPECT_EQ(ItemRect(bar, 4).right - ItemRect(bar, 4).left, 8);
    SendMessage(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(30, 28));
    EXPECT_EQ(ItemRect(bar, 1), (RECT {30, 0, 60, 28}));
    EXPECT_EQ(SendMessage(bar, TB_GETBUTTONSIZE, 0, 0), LRESULT(MAKELONG(30, 28)));
}

TEST_F(ToolBarTest, AClickSendsTheCommandOnce) {
    HWND bar = Make(0, {Button(101), Button(102)});
    ClickButton(bar, 1);
    EXPECT_EQ(Commands, std::vector<int> {102});
    EXPECT_EQ(State(bar, 102) & TBSTATE_PRESSED, 0);
}

TEST_F(ToolBarTest, ReleasingOffTheButtonSendsNothing) {
    HWND bar = Make(0, {Button(101), Button(102)});
    POINT p = Center(bar, 0);
    Screen->MoveMouse(p.x, p.y);
    Screen->ButtonDown(MouseButton::Left, p.x, p.y);
    Pump();
    EXPECT_NE(State(bar, 101) & TBSTATE_PRESSED, 0);
    Screen->MoveMouse(p.x + 200, p.y + 100);
    Pump();
    EXPECT_EQ(State(bar, 101) & TBSTATE_PRESSED, 0);
    Screen->ButtonUp(MouseButton::Left, p.x + 200, p.y + 100);
    Pump();
    EXPECT_TRUE(Commands.empty());
}

TEST_F(ToolBarTest, DisabledButtonsAndSeparatorsIgnoreClicks) {
    HWND bar = Make(0, {Button(1), Button(0, BTNS_SEP), Button(2)});
    SendMessage(bar, TB_ENABLEBUTTON, 2, 0);
    EXPECT_FALSE(SendMessage(bar, TB_ISBUTTONENABLED, 2, 0));
    ClickButton(bar, 1);
    ClickButton(bar, 2);
    EXPECT_TRUE(Commands.empty());
    SendMessage(bar, TB_ENABLEBUTTON, 2, 1);
    ClickButton(bar, 2);
    EXPECT_EQ(Commands, std::vector<int> {2});
}

TEST_F(ToolBarTest, CheckButtonsToggle) {
    HWND bar = Make(0, {Button(5, BTNS_CHECK)});
    ClickButton(bar, 0);
    EXPECT_TRUE(SendMessage(bar, TB_ISBUTTONCHECKED, 5, 0));
    ClickButton(bar, 0);
    EXPECT_FALSE(SendMessage(bar, TB_ISBUTTONCHECKED, 5, 0));
    EXPECT_EQ(Commands.size(), 2u);
}

TEST_F(ToolBarTest, ACheckGroupKeepsOneButtonChecked) {
    HWND bar = Make(0,
        {Button(1, BTNS_CHECKGROUP), Button(2, BTNS_CHECKGROUP), Button(3, BTNS_CHECKGROUP), Button(0, BTNS_SEP),
            Button(4, BTNS_CHECKGROUP)});
    SendMessage(bar, TB_CHECKBUTTON, 4, 1);
    ClickButton(bar, 0);
    ClickButton(bar, 2);
    EXPECT_FALSE(SendMessage(bar, TB_ISBUTTONCHECKED, 1, 0));
    EXPECT_TRUE(SendMessage(bar, TB_ISBUTTONCHECKED, 3, 0));
    EXPECT_TRUE(SendMessage(bar, TB_ISBUTTONCHECKED, 4, 0));   // another group beyond the separator
    ClickButton(bar, 2);
    EXPECT_TRUE(SendMessage(bar, TB_ISBUTTONCHECKED, 3, 0));   // a checked group button stays checked
    SendMessage(bar, TB_CHECKBUTTON, 2, 1);
    EXPECT_FALSE(SendMessage(bar, TB_ISBUTTONCHECKED, 3, 0));
    EXPECT_EQ(Commands, (std::vector<int> {1, 3, 3}));
}

TEST_F(ToolBarTest, StatesCanBeSetReadAndHideAButton) {
    HWND bar = Make(0, {Button(1), Button(2), Button(3)});
    EXPECT_EQ(State(bar, 2), TBSTATE_ENABLED);
    SendMessage(bar, TB_SETSTATE, 2, MAKELPARAM(TBSTATE_ENABLED | TBSTATE_HIDDEN, 0));
    EXPECT_EQ(State(bar, 99), -1);
    RECT hidden {};
    EXPECT_FALSE(SendMessage(bar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&hidden)));
    EXPECT_EQ(ItemRect(bar, 2).left, 23);
    SendMessage(bar, TB_PRESSBUTTON, 3, 1);
    EXPECT_TRUE(SendMessage(bar, TB_ISBUTTONPRESSED, 3, 0));
    EXPECT_EQ(SendMessage(bar, TB_COMMANDTOINDEX, 3, 0), 2);
}

TEST_F(ToolBarTest, InsertDeleteAndGetButtonKeepTheOrder) {
    HWND bar = Make(0, {Button(1), Button(3)});
    TBBUTTON two = Button(2, BTNS_CHECK, 1);
    two.dwData = 77;
    two.iString = reinterpret_cast<std::intptr_t>("Two");
    SendMessage(bar, TB_INSERTBUTTON, 1, reinterpret_cast<LPARAM>(&two));
    TBBUTTON got;
    ASSERT_TRUE(SendMessage(bar, TB_GETBUTTON, 1, reinterpret_cast<LPARAM>(&got)));
    EXPECT_EQ(got.idCommand, 2);
    EXPECT_EQ(got.fsStyle, BTNS_CHECK);
    EXPECT_EQ(got.dwData, 77u);
    char text[16] {};
    EXPECT_EQ(SendMessage(bar, TB_GETBUTTONTEXT, 2, reinterpret_cast<LPARAM>(text)), 3);
    EXPECT_STREQ(text, "Two");
    EXPECT_TRUE(SendMessage(bar, TB_DELETEBUTTON, 0, 0));
    EXPECT_FALSE(SendMessage(bar, TB_DELETEBUTTON, 5, 0));
    EXPECT_FALSE(SendMessage(bar, TB_GETBUTTON, 9, reinterpret_cast<LPARAM>(&got)));
    EXPECT_EQ(SendMessage(bar, TB_COMMANDTOINDEX, 3, 0), 1);
}

TEST_F(ToolBarTest, StringsAddedByIndexNameButtons) {
    HWND bar = Make(0, {});
    EXPECT_EQ(SendMessage(bar, TB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Open\0Save\0")), 0);
    TBBUTTON b = Button(8);
    b.iString = 1;
    SendMessage(bar, TB_ADDBUTTONS, 1, reinterpret_cast<LPARAM>(&b));
    char text[16] {};
    SendMessage(bar, TB_GETBUTTONTEXT, 8, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Save");
}

TEST_F(ToolBarTest, ButtonInfoSetsTextWidthAndImage) {
    HWND bar = Make(0, {Button(1), Button(2)});
    TBBUTTONINFO info;
    info.dwMask = TBIF_TEXT | TBIF_SIZE | TBIF_IMAGE;
    char caption[] = "Refresh";
    info.pszText = caption;
    info.cx = 60;
    info.iImage = 2;
    EXPECT_TRUE(SendMessage(bar, TB_SETBUTTONINFO, 1, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(ItemRect(bar, 0).right, 60);
    TBBUTTONINFO read;
    char buffer[4];
    read.dwMask = TBIF_TEXT | TBIF_IMAGE | TBIF_BYINDEX;
    read.pszText = buffer;
    read.cchText = sizeof buffer;
    EXPECT_EQ(SendMessage(bar, TB_GETBUTTONINFO, 0, reinterpret_cast<LPARAM>(&read)), 0);
    EXPECT_STREQ(buffer, "Ref");   // cut to the buffer
    EXPECT_EQ(read.iImage, 2);
    EXPECT_EQ(SendMessage(bar, TB_GETBUTTONINFO, 99, reinterpret_cast<LPARAM>(&read)), -1);
}

TEST_F(ToolBarTest, WrapableBarsBreakRowsAndAutoSizeFitsThem) {
    std::vector<TBBUTTON> buttons;
    for (int i = 0; i < 16; ++i)
        buttons.push_back(Button(i + 1));
    HWND bar = Make(TBSTYLE_WRAPABLE | CCS_NOPARENTALIGN, buttons);
    EXPECT_EQ(SendMessage(bar, TB_GETROWS, 0, 0), 2);   // 13 buttons of 23 fit in 300
    EXPECT_EQ(ItemRect(bar, 13), (RECT {0, 23, 23, 46}));
    SendMessage(bar, TB_AUTOSIZE, 0, 0);
    EXPECT_EQ(ClientRect(bar).bottom, 48);
}

TEST_F(ToolBarTest, ADropDownArrowPartSendsTbnDropDown) {
    HWND bar = Make(0, {Button(7, BTNS_DROPDOWN), Button(8)});
    SendMessage(bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    RECT r = ItemRect(bar, 0);
    EXPECT_EQ(r.right - r.left, 23 + ToolBarDropDownWidth());
    POINT arrow {r.right - 3, (r.top + r.bottom) / 2};
    ClientToScreen(bar, &arrow);
    Screen->Click(arrow.x, arrow.y);
    Pump();
    EXPECT_EQ(DropDowns, std::vector<int> {7});
    EXPECT_TRUE(Commands.empty());
    ClickButton(bar, 0);   // the body of the button: an ordinary click
    EXPECT_EQ(Commands, std::vector<int> {7});
    EXPECT_EQ(DropDowns.size(), 1u);
}

TEST_F(ToolBarTest, FlatBarsTrackTheHotButton) {
    HWND bar = Make(TBSTYLE_FLAT, {Button(1), Button(0, BTNS_SEP), Button(2)});
    POINT p = Center(bar, 2);
    Screen->MoveMouse(p.x, p.y);
    Pump();
    EXPECT_EQ(SendMessage(bar, TB_GETHOTITEM, 0, 0), 2);
    p = Center(bar, 1);
    Screen->MoveMouse(p.x, p.y);
    Pump();
    EXPECT_EQ(SendMessage(bar, TB_GETHOTITEM, 0, 0), -1);   // separators are never hot
    Screen->MoveMouse(Center(bar, 0).x, Center(bar, 0).y);
    Pump();
    Screen->MoveMouse(600, 600);
    Pump();
    EXPECT_EQ(SendMessage(bar, TB_GETHOTITEM, 0, 0), -1);
    EXPECT_EQ(HotChanges, (std::vector<std::pair<int, int>> {{0, 2}, {2, 0}, {0, 1}, {1, 0}}));
}

TEST_F(ToolBarTest, NonFlatBarsHaveNoHotButton) {
    HWND bar = Make(0, {Button(1)});
    Screen->MoveMouse(Center(bar, 0).x, Center(bar, 0).y);
    Pump();
    EXPECT_EQ(SendMessage(bar, TB_GETHOTITEM, 0, 0), -1);
}

TEST_F(ToolBarTest, CustomDrawAsksForTheBarThenEachButtonInOrder) {
    HWND bar = Make(0,
        {Button(1), Button(0, BTNS_SEP), Button(2, BTNS_CHECK, 1, TBSTATE_ENABLED | TBSTATE_CHECKED),
            Button(3, BTNS_BUTTON, 2, 0)});
    Answer = [](const NMCUSTOMDRAW& cd) -> LRESULT {
        if (cd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
        if (cd.dwDrawStage == CDDS_ITEMPREPAINT) return CDRF_NOTIFYPOSTPAINT;
        return CDRF_DODEFAULT;
    };
    Repaint(bar);
    std::vector<Stage> expected {{CDDS_PREPAINT, 0, 0}, {CDDS_ITEMPREPAINT, 1, 0}, {CDDS_ITEMPOSTPAINT, 1, 0},
        {CDDS_ITEMPREPAINT, 2, CDIS_CHECKED}, {CDDS_ITEMPOSTPAINT, 2, CDIS_CHECKED},
        {CDDS_ITEMPREPAINT, 3, CDIS_DISABLED}, {CDDS_ITEMPOSTPAINT, 3, CDIS_DISABLED}, {CDDS_POSTPAINT, 0, 0}};
    EXPECT_EQ(Stages, expected);
}

TEST_F(ToolBarTest, WithoutItemDrawOnlyTheBarIsAskedAndErasingOnlyWithCustomErase) {
    HWND bar = Make(0, {Button(1), Button(2)});
    Repaint(bar);
    EXPECT_EQ(Stages, (std::vector<Stage> {{CDDS_PREPAINT, 0, 0}}));
    SetWindowLongPtr(bar, GWL_STYLE, GetWindowLongPtr(bar, GWL_STYLE) | TBSTYLE_CUSTOMERASE);
    Answer
        = [](const NMCUSTOMDRAW& cd) -> LRESULT { return cd.dwDrawStage == CDDS_PREERASE ? CDRF_NOTIFYPOSTERASE : 0; };
    Repaint(bar);
    EXPECT_EQ(Stages, (std::vector<Stage> {{CDDS_PREERASE, 0, 0}, {CDDS_POSTERASE, 0, 0}, {CDDS_PREPAINT, 0, 0}}));
}

TEST_F(ToolBarTest, SkipDefaultLeavesAButtonToTheParent) {
    HWND bar = Make(0, {Button(1, BTNS_BUTTON, 0), Button(2, BTNS_BUTTON, 1)});
    Answer = [](const NMCUSTOMDRAW& cd) -> LRESULT {
        if (cd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
        return cd.dwItemSpec == 1 ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
    };
    Images.Draws = 0;
    Repaint(bar);
    EXPECT_EQ(Images.Draws, 1);
    RECT first = ItemRect(bar, 0), second = ItemRect(bar, 1);
    EXPECT_EQ(StorePixel(bar, (first.left + first.right) / 2, (first.top + first.bottom) / 2),
        gdi::GetSysColor(gdi::COLOR_BTNFACE));
    EXPECT_EQ(StorePixel(bar, (second.left + second.right) / 2, (second.top + second.bottom) / 2), gdi::RGB(0, 0, 255));
}

TEST_F(ToolBarTest, SkippingThePrePaintDrawsNoButtons) {
    HWND bar = Make(0, {Button(1)});
    Answer = [](const NMCUSTOMDRAW&) -> LRESULT { return CDRF_SKIPDEFAULT; };
    Images.Draws = 0;
    Repaint(bar);
    EXPECT_EQ(Images.Draws, 0);
    EXPECT_EQ(Stages.size(), 1u);
}

TEST_F(ToolBarTest, HotAndDisabledImageListsAreUsedWhenGiven) {
    SolidImages hot, disabled;
    HWND bar = Make(TBSTYLE_FLAT, {Button(1), Button(2, BTNS_BUTTON, 0, 0)});
    SendMessage(bar, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(&hot));
    SendMessage(bar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(&disabled));
    Screen->MoveMouse(Center(bar, 0).x, Center(bar, 0).y);
    Pump();
    hot.Draws = disabled.Draws = 0;
    Repaint(bar);
    EXPECT_EQ(hot.Draws, 1);
    EXPECT_EQ(disabled.Draws, 1);
}

TEST_F(ToolBarTest, AnImageListThatIsGoneDrawsNothing) {
    auto gone = std::make_unique<SolidImages>();
    HWND bar = Make(0, {Button(1)});
    SendMessage(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(gone.get()));
    gone.reset();
    Repaint(bar);   // no crash: the dead handle is refused
    RECT r = ItemRect(bar, 0);
    EXPECT_EQ(StorePixel(bar, (r.left + r.right) / 2, (r.top + r.bottom) / 2), gdi::GetSysColor(gdi::COLOR_BTNFACE));
}

}
