// TTrayIcon: minimize to tray: the application and owner-form hooks, showing and hiding the main form, the
// start-up question and the icon's return after a tray restart.
#include "tray/TrayIcon.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TForm.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Focus.h"
#include "platform/user/Messages.h"
#include "platform/user/Tray.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/CommonControls.h"

namespace korvex::tray {

using namespace classes;

// The owner's window procedure is replaced by an object-instance procedure; the icon's part is cut off when
// the icon goes. The kept procedure is put back while ours is still the window's; under a later subclass ours
// stays in the chain, passing everything on, since freeing it there would leave that subclass calling nothing.
struct TTrayIcon::TFormHook {
    TTrayIcon* Icon = nullptr;
    user::HWND Window = nullptr;
    user::WNDPROC Old = nullptr;
    user::WNDPROC Instance = nullptr;
};

namespace {

// The shell's broadcast when its task bar is made again: registered once, at program start.
const user::UINT TaskbarCreated = RegisterTaskbarCreated(user::GetComCtlVersion());

}   // namespace

user::UINT RegisterTaskbarCreated(user::DWORD comCtlVersion) {
    constexpr user::DWORD firstWithTheBroadcast = 0x00040047;   // 4.71
    return comCtlVersion >= firstWithTheBroadcast ? user::RegisterWindowMessage(user::TaskbarCreatedMessageName) : 0;
}

user::UINT TaskbarCreatedMessage() {
    return TaskbarCreated;
}

void TTrayIcon::InstallHooks() {
    if (Application != nullptr) {
        std::shared_ptr<TTrayIcon*> alive = FAlive;
        FAppHookId = Application->HookMainWindow(
            [alive](TMessage& m) { return *alive != nullptr && (*alive)->ApplicationHook(m); });
    }
    auto* form = dynamic_cast<TWinControl*>(Owner());
    if (form == nullptr) return;
    auto hook = std::make_shared<TFormHook>();
    hook->Icon = this;
    hook->Window = form->Handle();   // made now when it is not there yet
    hook->Old = user::ProcFromLong(user::GetWindowLongPtr(hook->Window, user::GWL_WNDPROC));
    hook->Instance = user::MakeObjectInstance(
        [hook](user::HWND hwnd, user::UINT msg, user::WPARAM wParam, user::LPARAM lParam) -> user::LRESULT {
            std::shared_ptr<TFormHook> keep = hook;   // the icon may go inside its handler
            if (keep->Icon != nullptr) {
                TMessage message {msg, wParam, lParam, 0};
                if (keep->Icon->FormHook(message)) return message.Result;
            }
            return user::CallWindowProc(keep->Old, hwnd, msg, wParam, lParam);
        });
    if (hook->Instance == nullptr) return;
    user::SetWindowLongPtr(hook->Window, user::GWL_WNDPROC, user::LongFromProc(hook->Instance));
    FFormHook = std::move(hook);
}

void TTrayIcon::RemoveHooks() {
    if (Application != nullptr && FAppHookId != 0) Application->UnhookMainWindow(FAppHookId);
    FAppHookId = 0;
    if (!FFormHook) return;
    FFormHook->Icon = nullptr;
    const user::HWND window = FFormHook->Window;
    const bool ours = !user::IsWindow(window)
        || user::ProcFromLong(user::GetWindowLongPtr(window, user::GWL_WNDPROC)) == FFormHook->Instance;
    if (ours) {
        if (FFormHook->Old != nullptr && user::IsWindow(window))
            user::SetWindowLongPtr(window, user::GWL_WNDPROC, user::LongFromProc(FFormHook->Old));
        user::FreeObjectInstance(FFormHook->Instance);
        FFormHook->Old = nullptr;
        FFormHook->Instance = nullptr;
    }
    FFormHook.reset();
}

// Sees every message of the application window; never marks one handled.
bool TTrayIcon::ApplicationHook(TMessage& m) {
    switch (m.Msg) {
    case user::WM_SIZE:
        if (m.WParam == user::SIZE_MINIMIZED && FMinimizeToTray) DoMinimizeToTray();
        break;
    case user::WM_WINDOWPOSCHANGED:
        if (FStartupPending && Application->MainForm() != nullptr) {
            if (Application->MainForm()->FormStyle() == fsMDIForm) {
                bool show = true;
                if (OnStartup) OnStartup(this, show);
                user::HWND app = Application->Handle();
                if (!show && user::IsWindowVisible(app)) user::ShowWindow(app, user::SW_HIDE);
            }
            FStartupPending = false;
        }
        break;
    case user::WM_SYSCOMMAND:
        if (m.WParam == user::SC_RESTORE && Application->MainForm() != nullptr)
            Application->MainForm()->SetVisible(true);
        break;
    default:
        // The tray came back: a visible icon goes into it again.
        if (TaskbarCreated != 0 && m.Msg == TaskbarCreated && FIconVisible) ShowIcon();
        break;
    }
    return false;
}

bool TTrayIcon::FormHook(TMessage& m) {
    switch (m.Msg) {
    case user::WM_SHOWWINDOW:
        if (m.WParam == 1 && m.LParam == 0) {
            if (Application != nullptr) user::SetForegroundWindow(Application->Handle());
            if (FFormHook) user::SetForegroundWindow(FFormHook->Window);
            return false;
        }
        if (m.WParam == 0 && m.LParam == user::SW_PARENTCLOSING
            && !(Application != nullptr && Application->Terminated()) && MinimizeAttempt()) {
            m.Result = 1;
            return true;
        }
        return false;
    case user::WM_SYSCOMMAND:
        if (m.WParam == user::SC_MINIMIZE && MinimizeAttempt()) {
            m.Result = 1;
            return true;
        }
        return false;
    default:
        return false;
    }
}

// Acts only with MinimizeToTray and OnMinimizeToTray set; otherwise the form minimizes the ordinary way.
bool TTrayIcon::MinimizeAttempt() {
    if (!FMinimizeToTray || !OnMinimizeToTray) return false;
    std::shared_ptr<TTrayIcon*> alive = FAlive;
    OnMinimizeToTray(this);
    if (*alive == nullptr) return true;
    DoMinimizeToTray();
    return true;
}

void TTrayIcon::DoMinimizeToTray() {
    HideMainForm();
    SetIconVisible(true);
}

void TTrayIcon::AskStartup() {
    if (Designing() || dynamic_cast<TWinControl*>(Owner()) == nullptr) return;
    bool show = true;
    if (OnStartup) OnStartup(this, show);
    if (show) return;
    if (!user::NotifyAreaAvailable()) {
        // Hidden without a tray there would be no way back: the form starts iconified instead.
        if (auto* form = dynamic_cast<TCustomForm*>(Owner())) form->SetWindowState(wsMinimized);
        return;
    }
    if (Application != nullptr) Application->SetShowMainForm(false);
    HideMainForm();
}

void TTrayIcon::ShowMainForm() {
    if (!OnUiThread()) return Carry([](TTrayIcon* t) { t->ShowMainForm(); });
    if (dynamic_cast<TWinControl*>(Owner()) == nullptr || Application == nullptr) return;
    TForm* form = Application->MainForm();
    if (form == nullptr) return;
    Application->Restore();
    if (form->WindowState() == wsMinimized) form->SetWindowState(wsNormal);
    form->SetVisible(true);
    user::SetForegroundWindow(Application->Handle());
}

void TTrayIcon::HideMainForm() {
    if (!OnUiThread()) return Carry([](TTrayIcon* t) { t->HideMainForm(); });
    if (dynamic_cast<TWinControl*>(Owner()) == nullptr || Application == nullptr) return;
    TForm* form = Application->MainForm();
    if (form == nullptr) return;
    if (!user::NotifyAreaAvailable()) {
        // No tray to come back from: iconified, the window stays in the desktop's reach.
        form->SetWindowState(wsMinimized);
        if (!form->Visible()) form->SetVisible(true);
        return;
    }
    form->SetVisible(false);
    user::HWND app = Application->Handle();
    if (user::IsWindowVisible(app)) user::ShowWindow(app, user::SW_HIDE);
}

}
