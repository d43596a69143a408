// Minimize to tray: the owner-form and application hooks, showing and hiding the main form, the start-up
// question, and the icon's return when the tray restarts.
#include "support/TrayTestKit.h"

#include "platform/user/DefWindowProc.h"
#include "platform/user/Focus.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/display/headless/HeadlessTray.h"

namespace korvex::tray::test {

namespace {

using namespace classes;

class TTestTrayIcon : public TTrayIcon {
public:
    using TTrayIcon::Loaded;
    using TTrayIcon::TTrayIcon;
};

class MinimizeToTray : public TrayTest {
protected:
    void SetUp() override {
        TrayTest::SetUp();
        Application->CreateForm(Form);
        Form->SetBounds(100, 100, 300, 200);
        Icon = Create<TTestTrayIcon>(Form);
    }
    void ShowForm() {
        Form->Show();
        Pump();
    }
    bool Docked() {
        user::RECT r {};
        return user::GetNotifyIconRect(Icon->IconData().hWnd, Icon->IconId(), &r);
    }
    bool AppVisible() { return user::IsWindowVisible(Application->Handle()); }
    // A second form, shown and in the foreground.
    TForm* ShowOtherForm() {
        TForm* other = nullptr;
        Application->CreateForm(other);
        other->SetBounds(150, 150, 200, 100);
        other->Show();
        Pump();
        return other;
    }

    TForm* Form = nullptr;
    TTestTrayIcon* Icon = nullptr;
};

TEST_F(MinimizeToTray, TheMinimizeCommandWithAHandlerHidesTheFormIntoTheTray) {
    ShowForm();
    int raised = 0;
    Icon->SetMinimizeToTray(true);
    Icon->OnMinimizeToTray = [&](TObject*) {
        ++raised;
        Icon->HideMainForm();
    };
    user::SendMessage(Form->Handle(), user::WM_SYSCOMMAND, user::SC_MINIMIZE, 0);
    Pump();
    EXPECT_EQ(raised, 1);
    EXPECT_FALSE(Form->Visible());
    EXPECT_FALSE(user::IsWindowVisible(Form->Handle()));
    EXPECT_FALSE(user::IsIconic(Form->Handle()));
    EXPECT_FALSE(AppVisible());
    EXPECT_TRUE(Icon->IconVisible());
    EXPECT_TRUE(Docked());
}

TEST_F(MinimizeToTray, WithoutAHandlerTheApplicationsMinimizeHidesItIntoTheTray) {
    ShowForm();
    Icon->SetMinimizeToTray(true);
    Application->Minimize();
    Pump();
    EXPECT_FALSE(Form->Visible());
    EXPECT_TRUE(Icon->IconVisible());
    EXPECT_TRUE(Docked());
}

TEST_F(MinimizeToTray, WithMinimizeToTrayOffTheFormMinimizesTheOrdinaryWay) {
    ShowForm();
    int raised = 0;
    Icon->OnMinimizeToTray = [&](TObject*) { ++raised; };
    Application->Minimize();
    Pump();
    EXPECT_EQ(raised, 0);
    EXPECT_FALSE(Icon->IconVisible());
    EXPECT_FALSE(Docked());
}

TEST_F(MinimizeToTray, AClickOnTheIconShowsTheMainFormAgain) {
    ShowForm();
    Icon->SetMinimizeToTray(true);
    Icon->OnMinimizeToTray = [&](TObject*) {};
    Icon->OnClick = [&](TObject*) { Icon->ShowMainForm(); };
    user::SendMessage(Form->Handle(), user::WM_SYSCOMMAND, user::SC_MINIMIZE, 0);
    Pump();
    ASSERT_FALSE(Form->Visible());
    ClickIcon(Icon);
    EXPECT_TRUE(Form->Visible());
    EXPECT_TRUE(user::IsWindowVisible(Form->Handle()));
}

TEST_F(MinimizeToTray, ShowMainFormRestoresAMinimizedFormToNormal) {
    ShowForm();
    Form->SetWindowState(wsMinimized);
    Pump();
    Icon->ShowMainForm();
    Pump();
    EXPECT_EQ(Form->WindowState(), wsNormal);
    EXPECT_TRUE(Form->Visible());
    EXPECT_FALSE(user::IsIconic(Form->Handle()));
}

TEST_F(MinimizeToTray, ShowMainFormBringsTheFormToTheForeground) {
    ShowForm();
    TForm* other = ShowOtherForm();
    Icon->HideMainForm();
    Pump();
    ASSERT_FALSE(Form->Visible());
    Icon->ShowMainForm();
    Pump();
    EXPECT_TRUE(Form->Visible());
    EXPECT_EQ(user::GetForegroundWindow(), Form->Handle());
}

TEST_F(MinimizeToTray, OnStartupAnsweringFalseKeepsTheMainFormFromShowing) {
    Icon->OnStartup = [](TObject*, bool& show) { show = false; };
    Icon->Loaded();
    EXPECT_FALSE(Application->ShowMainForm());
    EXPECT_FALSE(Form->Visible());
}

TEST_F(MinimizeToTray, OnStartupAnsweringTrueChangesNothing) {
    int asked = 0;
    Icon->OnStartup = [&](TObject*, bool& show) {
        ++asked;
        EXPECT_TRUE(show);
    };
    Icon->Loaded();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(Application->ShowMainForm());
}

// Without a tray a hidden form could never come back: minimizing to tray and the start-up question iconify it.
TEST_F(MinimizeToTray, WithoutATrayTheFormIsIconifiedInsteadOfHidden) {
    user::SetHeadlessTrayPresent(false);
    ShowForm();
    Icon->SetMinimizeToTray(true);
    Icon->OnMinimizeToTray = [&](TObject*) { Icon->HideMainForm(); };
    user::SendMessage(Form->Handle(), user::WM_SYSCOMMAND, user::SC_MINIMIZE, 0);
    Pump();
    EXPECT_TRUE(Form->Visible());
    EXPECT_TRUE(user::IsIconic(Form->Handle()));
    Icon->ShowMainForm();
    Pump();
    EXPECT_FALSE(user::IsIconic(Form->Handle()));

    Form->Hide();
    Icon->OnStartup = [](TObject*, bool& show) { show = false; };
    Icon->Loaded();
    EXPECT_TRUE(Application->ShowMainForm());   // shown, as an icon
    EXPECT_EQ(Form->WindowState(), wsMinimized);
    Form->SetBounds(90, 90, 320, 200);   // sizes of the hidden form change nothing of that
    Pump();
    EXPECT_EQ(Form->WindowState(), wsMinimized);
    Form->Show();
    Pump();
    EXPECT_TRUE(user::IsIconic(Form->Handle()));
}

TEST_F(MinimizeToTray, AfterATrayRestartAVisibleIconIsBackAndAHiddenOneIsNot) {
    TTrayIcon* hidden = Create<TTrayIcon>(Form);
    hidden->SetIconVisible(true);
    hidden->SetIconVisible(false);
    Icon->SetIconVisible(true);
    user::SetHeadlessTrayPresent(false);
    Pump();
    EXPECT_FALSE(Docked());
    user::SetHeadlessTrayPresent(true);
    Pump();
    EXPECT_TRUE(Docked());
    user::RECT r {};
    EXPECT_FALSE(user::GetNotifyIconRect(hidden->IconData().hWnd, hidden->IconId(), &r));
}

TEST_F(MinimizeToTray, TheTaskbarCreatedMessageShowsAVisibleIconAgain) {
    Icon->SetIconVisible(true);
    user::NOTIFYICONDATA gone = Icon->IconData();
    user::Shell_NotifyIcon(user::NIM_DELETE, &gone);   // lost, as with a restarted shell
    EXPECT_FALSE(Docked());
    user::SendMessage(Application->Handle(), user::RegisterWindowMessage("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Docked());
}

TEST_F(MinimizeToTray, TheTaskbarCreatedMessageIsRegisteredOnlyFromCommonControls471) {
    const user::UINT number = user::RegisterWindowMessage("TaskbarCreated");
    EXPECT_EQ(RegisterTaskbarCreated(0x00040046), 0u);
    EXPECT_EQ(RegisterTaskbarCreated(0x00040047), number);
    EXPECT_EQ(RegisterTaskbarCreated(0x00050051), number);
    EXPECT_GE(user::GetComCtlVersion(), 0x00040047u);   // ours qualify, so it was registered at start
    EXPECT_EQ(TaskbarCreatedMessage(), number);
}

TEST_F(MinimizeToTray, AFreedIconGivesTheFormItsWindowProcedureBack) {
    ShowForm();
    Icon->SetMinimizeToTray(true);
    int raised = 0;
    Icon->OnMinimizeToTray = [&](TObject*) { ++raised; };
    Icon->Free();
    user::SendMessage(Form->Handle(), user::WM_SYSCOMMAND, user::SC_MINIMIZE, 0);
    Pump();
    EXPECT_EQ(raised, 0);
    EXPECT_TRUE(Form->WindowProc != nullptr);
}

TEST_F(MinimizeToTray, TheFormHookReplacesTheWindowsOwnProcedureAndGivesItBack) {
    TForm* form = nullptr;
    Application->CreateForm(form);
    ASSERT_FALSE(form->HandleAllocated());
    TTrayIcon* icon = Create<TTrayIcon>(form);
    ASSERT_TRUE(form->HandleAllocated());   // made for the hook
    const user::LONG_PTR hooked = user::GetWindowLongPtr(form->WindowHandle(), user::GWL_WNDPROC);
    icon->Free();
    const user::LONG_PTR given = user::GetWindowLongPtr(form->WindowHandle(), user::GWL_WNDPROC);
    EXPECT_NE(hooked, given);
    // A hook made afresh keeps what is now the window's procedure: the one given back.
    TTrayIcon* again = Create<TTrayIcon>(form);
    EXPECT_NE(user::GetWindowLongPtr(form->WindowHandle(), user::GWL_WNDPROC), given);
    again->Free();
    EXPECT_EQ(user::GetWindowLongPtr(form->WindowHandle(), user::GWL_WNDPROC), given);
}

TEST_F(MinimizeToTray, AnIconFreedUnderALaterSubclassLeavesTheWindowsChainWhole) {
    ShowForm();
    const user::HWND hwnd = Form->Handle();
    constexpr user::UINT Probe = user::WM_USER + 77;
    const user::WNDPROC ours = user::ProcFromLong(user::GetWindowLongPtr(hwnd, user::GWL_WNDPROC));
    int laterSaw = 0;
    const user::WNDPROC later = user::MakeObjectInstance(
        [&laterSaw, ours](user::HWND h, user::UINT msg, user::WPARAM w, user::LPARAM l) -> user::LRESULT {
            if (msg == Probe) ++laterSaw;
            return user::CallWindowProc(ours, h, msg, w, l);
        });
    user::SetWindowLongPtr(hwnd, user::GWL_WNDPROC, user::LongFromProc(later));
    int formSaw = 0;
    classes::TWndMethod old = Form->WindowProc;
    Form->WindowProc = [&formSaw, old](TMessage& m) {
        if (m.Msg == Probe) ++formSaw;
        old(m);
    };
    Icon->Free();
    EXPECT_EQ(user::ProcFromLong(user::GetWindowLongPtr(hwnd, user::GWL_WNDPROC)), later);
    user::SendMessage(hwnd, Probe, 0, 0);
    EXPECT_EQ(laterSaw, 1);
    EXPECT_EQ(formSaw, 1);   // through the freed icon's procedure, which passes everything on
    user::SetWindowLongPtr(hwnd, user::GWL_WNDPROC, user::LongFromProc(ours));
    user::FreeObjectInstance(later);
    Form->WindowProc = old;
}

TEST_F(MinimizeToTray, TheFormHookSeesTheMinimizeCommandBeforeTheClassLibrary) {
    ShowForm();
    Icon->SetMinimizeToTray(true);
    std::vector<std::string> seen;
    Icon->OnMinimizeToTray = [&](TObject*) { seen.push_back("tray"); };
    classes::TWndMethod old = Form->WindowProc;
    Form->WindowProc = [&seen, old](TMessage& m) {
        if (m.Msg == user::WM_SYSCOMMAND) seen.push_back("form");
        old(m);
    };
    user::SendMessage(Form->Handle(), user::WM_SYSCOMMAND, user::SC_MINIMIZE, 0);
    Pump();
    EXPECT_EQ(seen, (std::vector<std::string> {"tray"}));   // acted: not passed on
    Form->WindowProc = old;
}

TEST_F(MinimizeToTray, OnlyTheExactMinimizeAndRestoreCommandsAreTaken) {
    ShowForm();
    Icon->SetMinimizeToTray(true);
    Icon->OnMinimizeToTray = [&](TObject*) {};
    int passedOn = 0;
    classes::TWndMethod old = Form->WindowProc;
    Form->WindowProc = [&passedOn, old](TMessage& m) {
        if (m.Msg == user::WM_SYSCOMMAND) ++passedOn;
        old(m);
    };
    user::SendMessage(Form->Handle(), user::WM_SYSCOMMAND, user::SC_MINIMIZE | 2, 0);
    Pump();
    EXPECT_EQ(passedOn, 1);   // not taken by the hook: the form minimizes on its own
    Form->WindowProc = old;
    Form->SetVisible(false);
    user::SendMessage(Application->Handle(), user::WM_SYSCOMMAND, user::SC_RESTORE | 2, 0);
    EXPECT_FALSE(Form->Visible());
    user::SendMessage(Application->Handle(), user::WM_SYSCOMMAND, user::SC_RESTORE, 0);
    EXPECT_TRUE(Form->Visible());
}

TEST_F(MinimizeToTray, OnlyAShowingWithFirstParameterOneBringsTheFormForward) {
    ShowForm();
    TForm* other = ShowOtherForm();
    ASSERT_EQ(user::GetForegroundWindow(), other->Handle());
    user::SendMessage(Form->Handle(), user::WM_SHOWWINDOW, 2, 0);
    EXPECT_EQ(user::GetForegroundWindow(), other->Handle());
    user::SendMessage(Form->Handle(), user::WM_SHOWWINDOW, 1, 0);
    EXPECT_EQ(user::GetForegroundWindow(), Form->Handle());
}

TEST_F(MinimizeToTray, AnIconOwnedByAPlainComponentInstallsNoFormHook) {
    auto* holder = new TComponent(Application);
    TTrayIcon* icon = Create<TTrayIcon>(holder);
    icon->SetMinimizeToTray(true);
    icon->OnMinimizeToTray = [](TObject*) {};
    ShowForm();
    icon->HideMainForm();   // does nothing without a windowed owner
    EXPECT_TRUE(Form->Visible());
}

}   // namespace

}
