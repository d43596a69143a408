// TTrayIcon: the notification-area icon with its hint, balloons, icon cycling, popup menu, mouse events and
// minimize to tray.
#pragma once

#include "platform/classes/ControlMessages.h"
#include "platform/classes/ControlTypes.h"
#include "platform/classes/TComponent.h"
#include "platform/classes/TIcon.h"
#include "platform/classes/TImageList.h"
#include "platform/user/Tray.h"
#include "tray/SimpleTimer.h"

#include <memory>
#include <string>
#include <thread>

namespace korvex::tray {

using TCycleEvent = std::function<void(classes::TObject* sender, int nextIndex)>;
using TStartupEvent = std::function<void(classes::TObject* sender, bool& showMainForm)>;
enum TBalloonHintIcon { bitNone, bitInfo, bitWarning, bitError };
enum TNotificationVersion { nvClassic, nvVersion3 };

// The callback message of every tray icon: WM_USER + 1024.
inline constexpr user::UINT WM_TRAYNOTIFY = 0x0800;

// Makes TTrayIcon known to component streaming (forms that hold one).
void RegisterTrayClasses();

// The shell's "TaskbarCreated" message number, registered at program start when the common controls are at
// least version 4.71 (0 otherwise: not registered).
user::UINT RegisterTaskbarCreated(user::DWORD comCtlVersion);
user::UINT TaskbarCreatedMessage();

// All instances share one hidden window for the callbacks, which find their icon by its id (never given
// twice) among the icons alive. Every public operation called off the thread that made the component is
// carried to it: setters and actions are queued (their result reads true: queued), getters wait.
// Mouse events are silenced while Enabled is false; balloon events are not. With OnDblClick set a single
// click is reported GetDoubleClickTime after the press (not at all when a double click came first);
// without it at the release, before OnMouseUp.
class TTrayIcon : public classes::TComponent {
public:
    explicit TTrayIcon(classes::TComponent* owner);
    ~TTrayIcon() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    virtual bool DefaultIconWanted();
    virtual bool ShowIcon();   // adds the icon (IconVisible true); true when the tray took it
    virtual bool HideIcon();
    virtual bool ModifyIcon();

    bool DesignPreview() const;
    void SetDesignPreview(bool value);
    classes::TCustomImageList* IconList() const;
    void SetIconList(classes::TCustomImageList* value);   // IconIndex becomes 0
    bool CycleIcons() const;
    void SetCycleIcons(bool value);
    unsigned CycleInterval() const;
    void SetCycleInterval(unsigned value);
    bool Enabled() const;
    void SetEnabled(bool value);
    std::string Hint() const;
    void SetHint(const std::string& value);   // the tray shows at most 127 characters
    bool ShowHint() const;
    void SetShowHint(bool value);
    classes::TIcon* Icon() const { return FIcon.get(); }   // the UI thread's
    void SetIcon(const classes::TIcon* value);   // copied
    bool IconVisible() const;
    void SetIconVisible(bool value);
    int IconIndex() const;
    void SetIconIndex(int value);   // clamped to the list's last index; 0 without a list
    // The popup menu (a TPopupMenu; reached through TrayMenuHooks).
    classes::TComponent* PopupMenu() const;
    void SetPopupMenu(classes::TComponent* value);
    bool LeftPopup() const;
    void SetLeftPopup(bool value);
    bool WantEnterExitEvents() const;
    void SetWantEnterExitEvents(bool value);
    bool MinimizeToTray() const;
    void SetMinimizeToTray(bool value);
    TNotificationVersion NotificationVersion() const { return FNotificationVersion; }
    void SetNotificationVersion(TNotificationVersion value) { FNotificationVersion = value; }   // before Loaded

    // Title cut to 63 characters, text to 255; timeoutSeconds 0..255.
    bool ShowBalloonHint(
        const std::string& title, const std::string& text, TBalloonHintIcon iconType, int timeoutSeconds);
    bool HideBalloonHint();
    void ShowMainForm();
    void HideMainForm();

    // What the last shell call carried, and the icon's id (for tests and diagnostics).
    const user::NOTIFYICONDATA& IconData() const { return FIconData; }
    user::UINT IconId() const { return FId; }
    static user::HWND SharedWindow();
    // At program end, before the window layer goes: frees the shared callback window and its handler when
    // they are still there (icons left over are no longer answered).
    static void FreeSharedHandler();

    classes::TNotifyEvent OnClick;
    classes::TNotifyEvent OnDblClick;
    classes::TMouseEvent OnMouseDown;
    classes::TMouseEvent OnMouseUp;
    classes::TMouseMoveEvent OnMouseMove;
    classes::TNotifyEvent OnMouseEnter;
    classes::TNotifyEvent OnMouseExit;
    TCycleEvent OnCycle;
    classes::TNotifyEvent OnBalloonHintShow;
    classes::TNotifyEvent OnBalloonHintHide;
    classes::TNotifyEvent OnBalloonHintTimeout;
    classes::TNotifyEvent OnBalloonHintClick;
    classes::TNotifyEvent OnMinimizeToTray;
    TStartupEvent OnStartup;

protected:
    void Loaded() override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

    virtual void Click();
    virtual void DblClick();
    virtual void DoCycle();
    virtual void MouseDown(classes::TMouseButton button, classes::TShiftState shift, int x, int y);
    virtual void MouseUp(classes::TMouseButton button, classes::TShiftState shift, int x, int y);
    virtual void MouseMove(classes::TShiftState shift, int x, int y);
    virtual void MouseEnter();
    virtual void MouseExit();
    virtual void DoMinimizeToTray();

private:
    friend struct TTrayIconHandler;
    struct TFormHook;

    bool Designing() const { return ComponentState().Contains(classes::csDesigning); }
    bool OnUiThread() const { return std::this_thread::get_id() == FThread; }
    void Carry(std::function<void(TTrayIcon*)> call);   // queued to the UI thread, dropped if freed first
    template <class F>
    auto ReadOnUi(F read) const -> decltype(read());

    // TrayIcon.cpp
    bool RefreshRecord();
    bool Shell(user::DWORD message);
    void IconChanged();
    void CycleTick();
    // TrayIconMouse.cpp
    void Callback(user::LPARAM code);
    void ClickTick();
    void ExitTick();
    void PopupAtCursor();
    // TrayIconMinimize.cpp
    void InstallHooks();
    void RemoveHooks();
    bool ApplicationHook(classes::TMessage& message);
    bool FormHook(classes::TMessage& message);
    bool MinimizeAttempt();
    void AskStartup();

    std::thread::id FThread;
    std::shared_ptr<TTrayIcon*> FAlive;
    user::UINT FId = 0;
    bool FDesignPreview = false;
    classes::TCustomImageList* FIconList = nullptr;
    bool FCycleIcons = false;
    unsigned FCycleInterval = 0;
    bool FEnabled = true;
    std::string FHint;
    bool FShowHint = true;
    std::unique_ptr<classes::TIcon> FIcon;
    bool FIconVisible = false;
    int FIconIndex = 0;
    classes::TComponent* FPopupMenu = nullptr;
    bool FLeftPopup = false;
    bool FWantEnterExitEvents = false;
    bool FMinimizeToTray = false;

    std::unique_ptr<TSimpleTimer> FCycleTimer;
    std::unique_ptr<TSimpleTimer> FClickTimer;
    std::unique_ptr<TSimpleTimer> FExitTimer;
    user::POINT FLastMouse {};
    bool FCursorOutside = true;
    bool FLeftDown = false;
    bool FClickPending = false;
    bool FDblClickSeen = false;
    TNotificationVersion FNotificationVersion = nvClassic;
    bool FStartupPending = true;
    bool FPreviewing = false;
    int FAppHookId = 0;
    std::shared_ptr<TFormHook> FFormHook;
    user::NOTIFYICONDATA FIconData;
};

}
