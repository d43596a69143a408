// Tests for the skinned caption: which element answers a point for every border style and set of border
// icons, the hot and pressed looks, and the system commands clicks send.
#include "support/WindowsKit.h"

#include "platform/classes/TApplication.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/classes/TBitmap.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/WindowConstants.h"
#include "skin/windows/sSystemMenu.h"

#include <algorithm>

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

constexpr int Caption = htCaption;   // what the default procedure answers over the caption band

struct CaptionCase {
    const char* Name;
    TFormBorderStyle Style;
    TsBorderIcons Icons;
    std::vector<int> Codes;   // the buttons from the right edge leftwards
    bool Icon;
};

// A disabled maximize or minimize button answers the caption's code.
const CaptionCase CaptionCases[] = {
    {"SizeableAll", bsSizeable, {biSystemMenu, biMinimize, biMaximize}, {htClose, htMaximize, htMinimize}, true},
    {"SizeableHelp", bsSizeable, {biSystemMenu, biMinimize, biMaximize, biHelp},
        {htClose, htMaximize, htMinimize, htHelp}, true},
    {"SizeableOnlyHelp", bsSizeable, {biSystemMenu, biHelp}, {htClose, Caption, Caption, htHelp}, true},
    {"SingleAll", bsSingle, {biSystemMenu, biMinimize, biMaximize}, {htClose, htMaximize, htMinimize}, true},
    {"SingleMinimizeHelp", bsSingle, {biSystemMenu, biMinimize, biHelp}, {htClose, htMinimize, htHelp}, true},
    {"SingleMaximizeHelp", bsSingle, {biSystemMenu, biMaximize, biHelp}, {htClose, htMaximize, htHelp}, true},
    {"SingleHelp", bsSingle, {biSystemMenu, biHelp}, {htClose, htHelp}, true},
    {"DialogAll", bsDialog, {biSystemMenu, biMinimize, biMaximize}, {htClose}, false},
    {"DialogHelp", bsDialog, {biSystemMenu, biHelp}, {htClose, htHelp}, false},
    {"ToolWindow", bsToolWindow, {biSystemMenu, biMinimize, biMaximize}, {htClose}, false},
    {"SizeToolWinHelp", bsSizeToolWin, {biSystemMenu, biMinimize, biMaximize, biHelp}, {htClose, htHelp}, false},
    {"NoSystemMenu", bsSizeable, {biMinimize, biMaximize}, {}, true},
};

class CaptionHitTest : public FormsTest, public ::testing::WithParamInterface<CaptionCase> { };

TEST_P(CaptionHitTest, EveryCaptionElementAnswersItsCode) {
    const CaptionCase& c = GetParam();
    UseSkin(1);
    TForm* form = NewSkinnedForm(c.Style, c.Icons);
    TsSkinProvider* p = ProviderOf(form);
    ASSERT_TRUE(p->SkinData()->Skinned());
    const int y = (p->BorderHeight() + p->CaptionHeight()) / 2;

    // The buttons lie side by side from the frame's inner edge leftwards, all as wide as the close button.
    const int width = p->ButtonWidth(p->CaptionButton(cbClose));
    const int right = p->FormWidth() - p->SysBorderWidth();
    std::vector<int> found;
    for (std::size_t k = 0; k <= c.Codes.size(); ++k) {
        const LRESULT code = HitAt(form, ScreenOf(form, right - width / 2 - int(k) * width, y));
        if (k == c.Codes.size()) {
            EXPECT_EQ(code, Caption) << "left of the buttons";
            break;
        }
        found.push_back(int(code));
    }
    EXPECT_EQ(found, c.Codes);
    EXPECT_EQ(HitAt(form, ScreenOf(form, p->FormWidth() / 2, y)), Caption);
    EXPECT_EQ(HitAt(form, ScreenOf(form, p->SysBorderWidth() + 2, y)), c.Icon ? htTitleIcon : Caption);
    EXPECT_EQ(p->HotHT(), c.Icon ? htTitleIcon : 0);
    EXPECT_EQ(HitAt(form, ScreenOf(form, p->FormWidth() / 2, p->HeaderHeight() + 20)), user::HTCLIENT);
    EXPECT_EQ(p->HotHT(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    StylesAndIcons, CaptionHitTest, ::testing::ValuesIn(CaptionCases), [](const auto& info) { return info.param.Name; });

// The program's main window: a single border with minimize only, and a provider left at its default buttons.
// The provider's icons alone give the buttons and their commands: maximize shows, is enabled and acts.
class MainWindowButtons : public FormsTest {
protected:
    TForm* NewMainLikeForm(TBorderIcons formIcons, int left) {
        TForm* form = Create<TForm>(Application);
        form->SetBorderStyle(bsSingle);
        form->SetBorderIcons(formIcons);
        form->SetCaption("Main window");
        Create<TsSkinProvider>(form);
        form->SetBounds(left, 20, 300, 200);
        form->Show();
        Pump();
        return form;
    }
    // The pixels of a caption button's lower half as the screen shows them (a maximized window's frame, and
    // the top of its buttons, lie above the screen).
    std::vector<gdi::COLORREF> ButtonPixels(TForm* form, TsCaptionButtonSlot slot) {
        const TRect r = ProviderOf(form)->CaptionButton(slot).Rect;
        std::vector<gdi::COLORREF> pixels;
        for (int y = (r.top + r.bottom) / 2; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                pixels.push_back(WindowPixel(form, x, y));
        return pixels;
    }
};

TEST_F(MainWindowButtons, TheMainWindowsMaximizeButtonIsEnabledByTheProvidersIcons) {
    UseSkin(1);
    TForm* form = NewMainLikeForm({biSystemMenu, biMinimize}, 20);
    Pump();
    TsSkinProvider* p = ProviderOf(form);
    EXPECT_EQ(p->BorderIcons(), (TsBorderIcons {biSystemMenu, biMinimize, biMaximize}));
    EXPECT_EQ(p->VisibleButtonCodes(), (std::vector<int> {htClose, htMaximize, htMinimize}));
    EXPECT_TRUE(p->MaxButtonVisible());
    EXPECT_TRUE(p->CanMaximize());
    EXPECT_TRUE(p->CanMinimize());
    EXPECT_TRUE(p->SystemMenu()->ItemMaximize->Visible());
    EXPECT_TRUE(p->SystemMenu()->ItemMaximize->Enabled());
    const TPoint maximize = CentreOf(form, p->CaptionButton(cbMaximize).Rect);
    EXPECT_EQ(HitAt(form, maximize), htMaximize);
    form->Free();
}

// Clicked, the button maximizes the window; the frame is painted again at the new size (the close button looks
// as before, at the right edge of the work area, and the maximize button shows the restore picture); the same
// button restores it.
TEST_F(MainWindowButtons, TheMainWindowsMaximizeButtonMaximizesAndRestores) {
    UseSkin(1);
    TForm* form = NewMainLikeForm({biSystemMenu, biMinimize}, 20);
    TsSkinProvider* p = ProviderOf(form);
    user::SetActiveWindow(form->WindowHandle());
    Pump();
    const TRect normal {form->Left(), form->Top(), form->Left() + form->Width(), form->Top() + form->Height()};
    const std::vector<gdi::COLORREF> closeBefore = ButtonPixels(form, cbClose);
    const std::vector<gdi::COLORREF> maxBefore = ButtonPixels(form, cbMaximize);
    const TPoint maximize = CentreOf(form, p->CaptionButton(cbMaximize).Rect);
    Display->Click(maximize.x, maximize.y);
    Pump();
    ASSERT_TRUE(user::IsZoomed(form->WindowHandle()));
    Display->MoveMouse(form->Left() + form->Width() / 2, form->Top() + form->Height() / 2);
    Pump();
    ASSERT_TRUE(p->HotHT() == 0 && !p->SkinData()->BGChanged);
    const TRect work = user::GetWorkArea();
    EXPECT_GE(form->Width(), work.Width());
    EXPECT_EQ(p->FormCache()->Width(), form->Width());
    EXPECT_EQ(p->CaptionButton(cbClose).Rect.right, form->Width() - p->SysBorderWidth());
    EXPECT_EQ(ButtonPixels(form, cbClose), closeBefore);
    EXPECT_NE(ButtonPixels(form, cbMaximize), maxBefore);   // the restore picture
    const gdi::RECT area {form->Left(), form->Top(), form->Left() + form->Width(), form->Top() + 60};
    Display->WriteScreenshotPng(WindowsPictureDir() + "/MainWindowMaximized.png", &area);
    const TPoint restore = CentreOf(form, p->CaptionButton(cbMaximize).Rect);
    Display->Click(restore.x, restore.y);
    Pump();
    ASSERT_TRUE(!user::IsZoomed(form->WindowHandle()));
    EXPECT_EQ((TRect {form->Left(), form->Top(), form->Left() + form->Width(), form->Top() + form->Height()}), normal);
    form->Free();
}

// A sizeable window whose own icons lack minimize (the history and log windows): the provider's minimize
// button minimizes it, and its restore brings it back painted at its old size.
TEST_F(MainWindowButtons, ASizeableWindowsMinimizeButtonMinimizesAndComesBack) {
    UseSkin(1);
    TForm* form = Create<TForm>(Application);
    form->SetBorderStyle(bsSizeable);
    form->SetBorderIcons({biSystemMenu, biMaximize});
    form->SetCaption("History");
    Create<TsSkinProvider>(form);
    form->SetBounds(40, 40, 320, 200);
    form->Show();
    Pump();
    TsSkinProvider* p = ProviderOf(form);
    ASSERT_TRUE(p->CanMinimize());
    EXPECT_TRUE(p->SystemMenu()->ItemMinimize->Enabled());
    const TPoint minimize = CentreOf(form, p->CaptionButton(cbMinimize).Rect);
    EXPECT_EQ(HitAt(form, minimize), htMinimize);
    Display->Click(minimize.x, minimize.y);
    Pump();
    ASSERT_TRUE(user::IsIconic(form->WindowHandle()));
    user::ShowWindow(form->WindowHandle(), user::SW_RESTORE);
    Pump();
    ASSERT_TRUE(!user::IsIconic(form->WindowHandle()) && !p->SkinData()->BGChanged);
    EXPECT_EQ(form->Width(), 320);
    EXPECT_EQ(form->Height(), 200);
    EXPECT_EQ(p->FormCache()->Width(), 320);
    EXPECT_EQ(p->FormCache()->Height(), 200);
    const gdi::RECT area {form->Left(), form->Top(), form->Left() + form->Width(), form->Top() + form->Height()};
    Display->WriteScreenshotPng(WindowsPictureDir() + "/SizeableRestored.png", &area);
    form->Free();
}

}
}

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class CaptionClicks : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        UseSkin(0);
        Wnd = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize, biHelp});
        P = ProviderOf(Wnd);
        // Closing and help would end or change the test form: they are only recorded.
        WatchSysCommands(Wnd, {user::SC_CLOSE, user::SC_CONTEXTHELP});
    }
    TPoint Centre(TsCaptionButtonSlot slot) { return CentreOf(Wnd, P->CaptionButton(slot).Rect); }
    void Click(TPoint p) {
        Display->Click(p.x, p.y);
        Pump();
    }

    TForm* Wnd = nullptr;
    TsSkinProvider* P = nullptr;
};

TEST_F(CaptionClicks, EachButtonSendsItsSystemCommand) {
    Click(Centre(cbClose));
    Click(Centre(cbHelp));
    EXPECT_EQ(SysCommands, (std::vector<WPARAM> {user::SC_CLOSE, user::SC_CONTEXTHELP}));
    SysCommands.clear();

    Click(Centre(cbMaximize));
    EXPECT_TRUE(user::IsZoomed(Wnd->WindowHandle()));
    Click(Centre(cbMaximize));   // the same button restores now
    EXPECT_FALSE(user::IsZoomed(Wnd->WindowHandle()));
    EXPECT_EQ(SysCommands, (std::vector<WPARAM> {user::SC_MAXIMIZE, user::SC_RESTORE}));
    SysCommands.clear();

    Click(Centre(cbMinimize));
    EXPECT_EQ(SysCommands, (std::vector<WPARAM> {user::SC_MINIMIZE}));
    EXPECT_TRUE(user::IsIconic(Wnd->WindowHandle()));
}

TEST_F(CaptionClicks, ButtonsAreHotUnderTheMouseAndPressedWhileDown) {
    const TPoint close = Centre(cbClose);
    Display->MoveMouse(close.x, close.y);
    Pump();
    EXPECT_EQ(P->CaptionButton(cbClose).State, 1);
    Display->ButtonDown(user::MouseButton::Left, close.x, close.y);
    Pump();
    EXPECT_EQ(P->CaptionButton(cbClose).State, 2);
    EXPECT_TRUE(CaptionButtonDown());
    const TPoint minimize = Centre(cbMinimize);
    Display->MoveMouse(minimize.x, minimize.y);
    Pump();
    EXPECT_EQ(P->CaptionButton(cbClose).State, 0);
    EXPECT_EQ(P->CaptionButton(cbMinimize).State, 1);
    Display->ButtonUp(user::MouseButton::Left, minimize.x, minimize.y);   // pressed elsewhere: nothing
    Pump();
    EXPECT_TRUE(SysCommands.empty());
    Display->MoveMouse(close.x - 100, close.y);
    Pump();
    EXPECT_EQ(P->HotHT(), 0);
    EXPECT_EQ(P->CaptionButton(cbMinimize).State, 0);
}

TEST_F(CaptionClicks, ADragOffAButtonSendsNothing) {
    for (TsCaptionButtonSlot slot : {cbClose, cbMaximize, cbMinimize, cbHelp}) {
        const TPoint from = Centre(slot);
        for (TPoint to : {ScreenOf(Wnd, P->FormWidth() / 2, from.y - ScreenOf(Wnd, 0, 0).y),
                 ScreenOf(Wnd, P->FormWidth() / 2, P->HeaderHeight() + 40)}) {   // the caption, the client area
            Display->MoveMouse(from.x, from.y);
            Display->ButtonDown(user::MouseButton::Left, from.x, from.y);
            Pump();
            Display->MoveMouse(to.x, to.y);
            Display->ButtonUp(user::MouseButton::Left, to.x, to.y);
            Pump();
        }
    }
    EXPECT_TRUE(SysCommands.empty());
    EXPECT_FALSE(user::IsZoomed(Wnd->WindowHandle()));
    EXPECT_FALSE(user::IsIconic(Wnd->WindowHandle()));
}

// The key flags of a client release are no hit codes: MK_CONTROL (8) is not the minimize button.
TEST_F(CaptionClicks, AClientReleaseWithKeyFlagsIsNoButtonRelease) {
    const TPoint minimize = Centre(cbMinimize);
    Display->MoveMouse(minimize.x, minimize.y);
    Display->ButtonDown(user::MouseButton::Left, minimize.x, minimize.y);
    Pump();
    ASSERT_TRUE(CaptionButtonDown());
    // Even with the position of the minimize button in LParam.
    user::SendMessage(Wnd->WindowHandle(), user::WM_LBUTTONUP, user::MK_CONTROL,
        user::MAKELPARAM(minimize.x, minimize.y));
    user::SendMessage(Wnd->WindowHandle(), user::WM_LBUTTONUP, htMaximize, user::MAKELPARAM(20, 20));
    Pump();
    EXPECT_TRUE(SysCommands.empty());
    EXPECT_FALSE(user::IsIconic(Wnd->WindowHandle()));
}

// The help button's command comes while it is still the hot element, which goes after; the close button's
// release leaves the press counted (the form may refuse to close).
TEST_F(CaptionClicks, TheHelpButtonIsLetGoAfterItsCommandAndCloseKeepsThePress) {
    int hotAtHelp = -1;
    TWndMethod old = Wnd->WindowProc;
    Wnd->WindowProc = [&, old](TMessage& m) {
        if (m.Msg == user::WM_SYSCOMMAND && (m.WParam & 0xFFF0) == user::SC_CONTEXTHELP) hotAtHelp = P->HotHT();
        old(m);
    };
    Click(Centre(cbHelp));
    EXPECT_EQ(hotAtHelp, htHelp);
    EXPECT_EQ(P->HotHT(), 0);
    Click(Centre(cbClose));
    EXPECT_EQ(SysCommands.back(), WPARAM(user::SC_CLOSE));
    EXPECT_EQ(P->CaptionButton(cbClose).State, 0);
    EXPECT_TRUE(CaptionButtonDown());
    Wnd->WindowProc = old;
}

TEST_F(CaptionClicks, DoubleClickOnTheCaptionMaximizesAndRestores) {
    const TPoint caption = ScreenOf(Wnd, P->FormWidth() / 2, P->CaptionHeight() / 2 + 2);
    Display->DoubleClick(caption.x, caption.y);
    Pump();
    EXPECT_TRUE(user::IsZoomed(Wnd->WindowHandle()));
    const TPoint again = ScreenOf(Wnd, P->FormWidth() / 2, P->CaptionHeight() / 2 + 2);
    Display->DoubleClick(again.x, again.y);
    Pump();
    EXPECT_FALSE(user::IsZoomed(Wnd->WindowHandle()));
}

}
}

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class CaptionPositions : public FormsTest { };

// A window on a monitor left of the primary one: its mouse positions are negative 16-bit values.
TEST_F(CaptionPositions, NegativeScreenPositionsHitTheRightElements) {
    UseSkin(3);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, 300, 160, -600, 40);
    TsSkinProvider* p = ProviderOf(form);
    const int y = (p->BorderHeight() + p->CaptionHeight()) / 2;
    const TPoint icon = ScreenOf(form, p->SysBorderWidth() + 2, y);
    const TPoint close = CentreOf(form, p->CaptionButton(cbClose).Rect);
    ASSERT_LT(close.x, 0);
    EXPECT_EQ(HitAt(form, icon), htTitleIcon);
    EXPECT_EQ(HitAt(form, close), htClose);
    WatchSysCommands(form, {user::SC_CLOSE});
    const user::LPARAM at = user::MAKELPARAM(close.x, close.y);
    user::SendMessage(form->WindowHandle(), user::WM_NCLBUTTONDOWN, htClose, at);
    user::SendMessage(form->WindowHandle(), user::WM_NCLBUTTONUP, htClose, at);
    EXPECT_EQ(SysCommands, std::vector<WPARAM> {user::SC_CLOSE});
}

}
}

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

// Where no title icon is drawn, the column at the frame's inner edge is caption: a double click there does
// not close the form.
TEST_F(CaptionPositions, WithoutATitleIconTheFramesInnerColumnIsCaption) {
    UseSkin(1);
    TForm* form = NewSkinnedForm(bsDialog, {biSystemMenu});
    TsSkinProvider* p = ProviderOf(form);
    ASSERT_FALSE(p->IconVisible());
    bool closeAsked = false;
    form->OnCloseQuery = [&](TObject*, bool& canClose) {
        closeAsked = true;
        canClose = false;
    };
    const TPoint column = ScreenOf(form, p->SysBorderWidth(), (p->BorderHeight() + p->CaptionHeight()) / 2);
    EXPECT_EQ(HitAt(form, column), LRESULT(htCaption));
    EXPECT_EQ(p->HotHT(), 0);
    Display->DoubleClick(column.x, column.y);
    Pump();
    EXPECT_FALSE(closeAsked);
    form->OnCloseQuery = nullptr;
}

}
}
