// TTrayIcon: minimize to tray: the application and owner-form hooks, showing and hiding the main form, the
// start-up question and the icon's return after a tray restart.
#include "tray/TrayIcon.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TForm.h"
#include "platform/user/Focus.h"
#include "platform/user/Messages.h"
#include "platform/user/Tray.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

namespace korvex::tray {

using namespace classes;

// The owner's WindowProc is replaced by a TFormProc; the icon's part is cut off when the icon goes, and the
// kept procedure is put back when nobody has hooked in after us.
struct TTrayIcon::TFormHook {
    TTrayIcon* Icon = nullptr;
    TWinControl* Form = nullptr;
    TWndMethod Old;
};

struct TTrayIcon::TFormProc {
    std::shared_ptr<TFormHook> Hook;
    void operator()(TMessage& message) const {
        std::shared_ptr<TFormHook> keep = Hook;   // the icon may go inside its handler
        if (keep->Icon != nullptr && keep->Icon->FormHook(message)) return;
        if (keep->Old) keep->Old(message);
    }
};

namespace {

user::UINT TaskbarCreatedMessage() {
    static const user::UINT message = user::RegisterWindowMessage(user::TaskbarCreatedMessageName);
    return message;
}

}   // namespace

void TTrayIcon::InstallHooks() {
    TaskbarCreatedMessage();
    if (Application != nullptr) {
        std::shared_ptr<TTrayIcon*> alive = FAlive;
        FAppHookId = Application->HookMainWindow(
            [alive](TMessage& m) { return *alive != nullptr && (*alive)->ApplicationHook(m); });
    }
    if (auto* form = dynamic_cast<TWinControl*>(Owner())) {
        FFormHook = std::make_shared<TFormHook>();
        FFormHook->Icon = this;
        FFormHook->Form = form;
        FFormHook->Old = form->WindowProc;
        form->WindowProc = TFormProc {FFormHook};
    }
}

void TTrayIcon::RemoveHooks() {
    if (Application != nullptr && FAppHookId != 0) Application->UnhookMainWindow(FAppHookId);
    FAppHookId = 0;
    if (!FFormHook) return;
    FFormHook->Icon = nullptr;
    TComponent* owner = Owner();
    if (owner != nullptr && !owner->ComponentState().Contains(csDestroying)) {
        const TFormProc* current = FFormHook->Form->WindowProc.target<TFormProc>();
        if (current != nullptr && current->Hook.get() == FFormHook.get()) FFormHook->Form->WindowProc = FFormHook->Old;
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
        if ((m.WParam & 0xFFF0) == user::SC_RESTORE && Application->MainForm() != nullptr)
            Application->MainForm()->SetVisible(true);
        break;
    default:
        // The tray came back: a visible icon goes into it again.
        if (m.Msg == TaskbarCreatedMessage() && FIconVisible) ShowIcon();
        break;
    }
    return false;
}

bool TTrayIcon::FormHook(TMessage& m) {
    switch (m.Msg) {
    case user::WM_SHOWWINDOW:
        if (m.WParam != 0 && m.LParam == 0) {
            if (Application != nullptr) user::SetForegroundWindow(Application->Handle());
            if (FFormHook && FFormHook->Form->HandleAllocated())
                user::SetForegroundWindow(FFormHook->Form->WindowHandle());
            return false;
        }
        if (m.WParam == 0 && m.LParam == user::SW_PARENTCLOSING
            && !(Application != nullptr && Application->Terminated()) && MinimizeAttempt()) {
            m.Result = 1;
            return true;
        }
        return false;
    case user::WM_SYSCOMMAND:
        if ((m.WParam & 0xFFF0) == user::SC_MINIMIZE && MinimizeAttempt()) {
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
