// TCustomForm: the focused control and its enter/exit notifications, activation, closing and modal showing.
#include "platform/base/ScopeGuard.h"
#include "platform/classes/Errors.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TScreen.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Menus.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <thread>

namespace korvex::classes {

using namespace user;

namespace {

int gFocusCount = 0;

// Sends a focus notification; false when the focus moved on meanwhile (the move under way is dropped).
bool SendFocusMessage(TWinControl* control, UINT msg) {
    int count = gFocusCount;
    SendMessage(control->Handle(), msg, 0, 0);
    return gFocusCount == count;
}

}

void TCustomForm::Dispatch(TMessage& m) {
    if (DispatchMenuMessage(FMenu, m)) return;
    switch (m.Msg) {
    case WM_CLOSE:
        WMClose(m);
        return;
    case WM_ACTIVATE:
        WMActivate(m);
        return;
    case WM_SYSCOMMAND:
        WMSysCommand(m);
        return;
    case WM_QUERYENDSESSION:
        WMQueryEndSession(m);
        return;
    case WM_DESTROY:
        if (FFormStyle == fsMDIChild) MergeMenuIntoFrame(false);
        WMDestroy(m);
        return;
    case WM_MDIACTIVATE:
        // To a child: LParam the child activated, WParam the one deactivated.
        if (FFormStyle == fsMDIChild && HandleAllocated()) {
            if (reinterpret_cast<HWND>(m.WParam) == WindowHandle()) MergeMenuIntoFrame(false);
            if (reinterpret_cast<HWND>(m.LParam) == WindowHandle()) MergeMenuIntoFrame(true);
        }
        break;
    case CM_ACTIVATE:
        CMActivate(m);
        return;
    case CM_DEACTIVATE:
        CMDeactivate(m);
        return;
    case CM_RELEASE:
        CMRelease(m);
        return;
    }
    TWinControl::Dispatch(m);
}

// ---------------------------------------------------------------------------------------------------------
// Focus

// The focus comes to control: CM_EXIT up from the old focused control to the common parent, CM_ENTER down to
// the new one, then CM_FOCUSCHANGED to the whole form. False when a handler moved the focus elsewhere or freed
// the form or the control.
bool TCustomForm::SetFocusedControl(TWinControl* control) {
    ++gFocusCount;
    FActiveControl = control != this ? control : nullptr;
    TCustomForm* oldFocusedForm = Screen != nullptr ? Screen->FocusedForm() : nullptr;
    if (Screen != nullptr) Screen->SetFocusedForm(this, control);
    if (control->FControlState.Contains(csFocusing)) return false;
    control->FControlState.Include(csFocusing);
    TComponentWatch self(this), target(control);
    base::ScopeExit focused([&target] {
        if (auto* c = target.As<TWinControl>()) c->FControlState.Exclude(csFocusing);
    });
    const auto send = [&](TWinControl* to, UINT msg) {
        return SendFocusMessage(to, msg) && self.Alive() && target.Alive();
    };
    if (oldFocusedForm != this) {
        if (oldFocusedForm != nullptr && oldFocusedForm->HandleAllocated()) {
            Screen->FFocusedForm = nullptr;
            if (!send(oldFocusedForm, CM_DEACTIVATE)) return false;
        }
        if (Screen != nullptr) Screen->FFocusedForm = this;
        if (!send(this, CM_ACTIVATE)) return false;
    }
    if (FFocusedControl == nullptr) FFocusedControl = this;
    if (FFocusedControl != control) {
        while (FFocusedControl != nullptr && !FFocusedControl->ContainsControl(control)) {
            TWinControl* leaving = FFocusedControl;
            FFocusedControl = FFocusedControl->Parent();
            if (!send(leaving, CM_EXIT)) return false;
        }
        while (FFocusedControl != control) {
            TWinControl* entering = control;
            while (entering->Parent() != FFocusedControl)
                entering = entering->Parent();
            FFocusedControl = entering;
            if (!send(entering, CM_ENTER)) return false;
        }
        Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
    }
    return true;
}

void TCustomForm::SetActiveControl(TWinControl* value) {
    if (value == FActiveControl) return;
    bool loading = ComponentState().Contains(csLoading);
    if (value != nullptr && (value == this || GetParentForm(value) != this || !(loading || value->CanFocus())))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    FActiveControl = value;
    if (!loading && FActive) SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
    HWND focus = FActiveControl != nullptr ? FActiveControl->Handle() : Handle();
    if (focus != nullptr) user::SetFocus(focus);
}

void TCustomForm::SetFocus() {
    if (FActive) return;
    if (!Visible() || !Enabled()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* control) {
    bool wasActive = FActive;
    SetActiveControl(control);
    if (!wasActive && HandleAllocated() && Visible() && Enabled()) SetWindowFocus();
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
    if (removing && control->ContainsControl(FFocusedControl)) FFocusedControl = control->Parent();
    if (control->ContainsControl(FActiveControl)) {
        FActiveControl = nullptr;
        if (FActive && HandleAllocated() && !ComponentState().Contains(csDestroying)) user::SetFocus(WindowHandle());
    }
}

void TCustomForm::SendCancelMode(TControl* sender) {
    if (FActive && FActiveControl != nullptr)
        FActiveControl->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(sender));
}

// ---------------------------------------------------------------------------------------------------------
// Activation

void TCustomForm::SetActive(bool value) {
    FActive = value;
    if (!value) return;
    if (FActiveControl == nullptr) FActiveControl = FindNextControl(nullptr, true, true, false);
    SetWindowFocus();
}

void TCustomForm::WMActivate(TMessage& m) {
    SetActive(LOWORD(m.WParam) != WA_INACTIVE);
}

void TCustomForm::CMActivate(TMessage&) {
    if (ComponentState().Contains(csReading))
        FFormState.Include(fsActivated);
    else
        Activate();
}

void TCustomForm::CMDeactivate(TMessage&) {
    if (ComponentState().Contains(csReading))
        FFormState.Exclude(fsActivated);
    else
        Deactivate();
}

void TCustomForm::Activate() {
    if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
    if (OnDeactivate) OnDeactivate(this);
}

// ---------------------------------------------------------------------------------------------------------
// Keys

void TCustomForm::CMDialogKey(TMessage& m) {
    if (GetKeyState(VK_MENU) >= 0) {
        switch (m.WParam) {
        case VK_TAB:
            if (GetKeyState(VK_CONTROL) >= 0) {
                SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
                m.Result = 1;
                return;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (FActiveControl != nullptr && FActiveControl->Parent() != nullptr) {
                FActiveControl->Parent()->SelectNext(
                    FActiveControl, m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false);
                m.Result = 1;
            }
            return;
        }
    }
    TWinControl::CMDialogKey(m);
}

// A form freed by its OnShortCut took the key.
bool TCustomForm::IsShortCut(TMessage& message) {
    bool handled = false;
    if (OnShortCut && !RunUserCode(this, [&] { OnShortCut(message, handled); })) return true;
    return handled || MenuIsShortCut(FMenu, message);
}

// ---------------------------------------------------------------------------------------------------------
// Closing

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

void TCustomForm::Close() {
    if (FFormState.Contains(fsModal)) {
        FModalResult = mrCancel;
        return;
    }
    TComponentWatch self(this);   // OnCloseQuery and OnClose may free the form
    if (!CloseQuery() || !self.Alive()) return;
    TCloseAction action = FFormStyle == fsMDIChild ? (FBorderIcons.Contains(biMinimize) ? caMinimize : caNone) : caHide;
    DoClose(action);
    if (action == caNone || !self.Alive()) return;
    if (Application != nullptr && Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

void TCustomForm::CloseModal() {
    try {
        TCloseAction action = caNone;
        if (CloseQuery()) {
            action = caHide;
            DoClose(action);
        }
        if (action == caNone)
            FModalResult = mrNone;
        else if (action == caFree)
            Release();
    } catch (...) {
        FModalResult = mrNone;
        if (Application == nullptr) throw;
        Application->HandleException(this);
    }
}

void TCustomForm::Release() {
    if (FReleased) return;
    if (HandleAllocated() && PostMessage(WindowHandle(), CM_RELEASE, 0, 0)) FReleased = true;
}

void TCustomForm::CMRelease(TMessage&) {
    Free();
}

void TCustomForm::WMClose(TMessage&) {
    Close();
}

void TCustomForm::WMQueryEndSession(TMessage& m) {
    m.Result = CloseQuery() ? 1 : 0;
}

void TCustomForm::WMDestroy(TMessage& m) {
    FActive = false;
    DefaultHandler(m);
}

// The main form's minimize button minimizes the application (and with it every form).
void TCustomForm::WMSysCommand(TMessage& m) {
    if ((m.WParam & 0xFFF0) == SC_MINIMIZE && Application != nullptr && Application->MainForm() == this) {
        Application->Minimize();
        return;
    }
    if ((m.WParam & 0xFFF0) == SC_KEYMENU && TrackMenuBarKey(WindowHandle(), char(m.LParam))) return;
    DefaultHandler(m);
}

// ---------------------------------------------------------------------------------------------------------
// Modal showing

// Shows the form with every other window of the thread disabled and handles messages until ModalResult is
// set (a button, Close, or the application ending: mrCancel).
TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || FFormState.Contains(fsModal) || FFormStyle == fsMDIChild)
        throw EInvalidOperation("Cannot make a visible window modal");
    if (HWND capture = GetCapture()) SendMessage(capture, WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    if (Application != nullptr) Application->ModalStarted();
    FFormState.Include(fsModal);
    HWND activeWindow = GetActiveWindow();
    TCustomForm* savedFocusedForm = Screen != nullptr ? Screen->FocusedForm() : nullptr;
    if (Screen != nullptr) {
        Screen->FSaveFocusedList.insert(Screen->FSaveFocusedList.begin(), savedFocusedForm);
        Screen->FFocusedForm = this;
    }
    HWND self = Handle();
    std::vector<HWND> disabled;
    EnumThreadWindows(std::this_thread::get_id(), [&](HWND hwnd) {
        if (hwnd != self && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
            disabled.push_back(hwnd);
            EnableWindow(hwnd, false);
        }
        return true;
    });
    base::ScopeExit finished([&] {
        for (HWND hwnd : disabled)
            if (IsWindow(hwnd)) EnableWindow(hwnd, true);
        if (Screen != nullptr) {
            auto& saved = Screen->FSaveFocusedList;
            if (!saved.empty()) {
                Screen->FFocusedForm = saved.front();
                saved.erase(saved.begin());
            } else {
                Screen->FFocusedForm = nullptr;
            }
        }
        if (activeWindow != nullptr && IsWindow(activeWindow)) SetActiveWindow(activeWindow);
        if (Application != nullptr) Application->ModalFinished();
        FFormState.Exclude(fsModal);
    });
    Show();
    base::ScopeExit hidden([this] { Hide(); });
    SendMessage(self, CM_ACTIVATE, 0, 0);
    FModalResult = mrNone;
    do {
        if (Application != nullptr) {
            Application->HandleMessage();
            if (Application->Terminated()) FModalResult = mrCancel;
        } else {
            MSG msg;
            if (GetMessage(&msg, nullptr, 0, 0) <= 0)
                FModalResult = mrCancel;
            else
                ProcessMessage(msg);
        }
        if (FModalResult != mrNone && !(Application != nullptr && Application->Terminated())) CloseModal();
    } while (FModalResult == mrNone);
    const TModalResult result = FModalResult;
    SendMessage(self, CM_DEACTIVATE, 0, 0);
    if (GetActiveWindow() != self) activeWindow = nullptr;
    return result;
}

}
