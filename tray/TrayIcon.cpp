// TTrayIcon: the shared callback window, properties, the icon record and its shell calls, balloons, cycling.
#include "tray/TrayIcon.h"

#include "platform/base/ScopeGuard.h"
#include "platform/base/Utf8.h"
#include "platform/classes/AllocateHWnd.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/SystemIcons.h"
#include "platform/os/Thread.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Window.h"
#include "tray/TrayMenu.h"

#include <algorithm>
#include <unordered_map>

namespace korvex::tray {

using namespace classes;
using user::NOTIFYICONDATA;

namespace {
constexpr user::UINT RecordFlags = user::NIF_MESSAGE | user::NIF_ICON | user::NIF_TIP;
}

// The window every tray icon's callbacks come to; an icon is found by its id among the live ones.
struct TTrayIconHandler {
    unsigned RefCount = 0;
    user::HWND Window = nullptr;
    std::unordered_map<user::UINT, TTrayIcon*> Live;

    static void Proc(TMessage& m);
    user::HWND EnsureWindow();
};

namespace {
TTrayIconHandler* IconHandler = nullptr;
user::UINT NextIconId = 1;
}   // namespace

void TTrayIconHandler::Proc(TMessage& m) {
    switch (m.Msg) {
    case WM_TRAYNOTIFY:
        if (IconHandler != nullptr) {
            auto found = IconHandler->Live.find(user::UINT(m.WParam));
            if (found != IconHandler->Live.end()) found->second->Callback(m.LParam);   // else: freed meanwhile
        }
        return;
    case user::WM_DESTROY:
    case user::WM_CLOSE:
    case user::WM_QUERYENDSESSION:
    case user::WM_QUIT:
    case user::WM_ENDSESSION:
    case user::WM_NCDESTROY:
        m.Result = 1;
        return;
    default:
        m.Result
            = user::DefWindowProc(IconHandler != nullptr ? IconHandler->Window : nullptr, m.Msg, m.WParam, m.LParam);
    }
}

// The window may have gone with its thread's queue: a new one takes over for every icon.
user::HWND TTrayIconHandler::EnsureWindow() {
    if (Window != nullptr && user::IsWindow(Window)) return Window;
    DeallocateHWnd(Window);
    Window = AllocateHWnd(Proc);
    for (auto& [id, icon] : Live)
        icon->FIconData.hWnd = Window;
    return Window;
}

void RegisterTrayClasses() {
    RegisterClasses({TTrayIcon::StaticClass()});
}

// ---------------------------------------------------------------------------------------------------------
// Life

TTrayIcon::TTrayIcon(TComponent* owner)
    : TComponent(owner)
    , FThread(std::this_thread::get_id())
    , FAlive(std::make_shared<TTrayIcon*>(this)) {
    if (IconHandler == nullptr) IconHandler = new TTrayIconHandler();
    ++IconHandler->RefCount;
    FId = NextIconId++;
    IconHandler->Live[FId] = this;

    FIcon = std::make_unique<TIcon>();
    FIcon->OnChange = [this](TObject*) { IconChanged(); };

    FIconData.cbSize = 488;
    FIconData.hWnd = IconHandler->EnsureWindow();
    FIconData.uID = FId;
    FIconData.uFlags = RecordFlags;
    FIconData.uCallbackMessage = WM_TRAYNOTIFY;

    FCycleTimer = std::make_unique<TSimpleTimer>();
    FCycleTimer->SetOnTimer([this](TObject*) { CycleTick(); });
    FClickTimer = std::make_unique<TSimpleTimer>();
    FClickTimer->SetOnTimer([this](TObject*) { ClickTick(); });
    FExitTimer = std::make_unique<TSimpleTimer>(20, [this](TObject*) { ExitTick(); });

    SetDesignPreview(false);
    if (!Designing()) InstallHooks();
}

TTrayIcon::~TTrayIcon() {
    // The component goes on the UI thread: the icon leaves the tray now, not through the queue.
    FThread = std::this_thread::get_id();
    try {
        SetIconVisible(false);
        SetDesignPreview(false);
    } catch (...) { }
    FCycleTimer.reset();
    FClickTimer.reset();
    FExitTimer.reset();
    try {
        FIcon.reset();
    } catch (...) { }
    if (!Designing()) RemoveHooks();
    // An icon that outlived a freed handler is no user of the one made after it.
    if (IconHandler != nullptr && IconHandler->Live.erase(FId) != 0) {
        if (IconHandler->RefCount > 0) --IconHandler->RefCount;
        if (IconHandler->RefCount == 0) FreeSharedHandler();
    }
    *FAlive = nullptr;
}

void TTrayIcon::FreeSharedHandler() {
    if (IconHandler == nullptr) return;
    DeallocateHWnd(IconHandler->Window);
    delete IconHandler;
    IconHandler = nullptr;
}

TClass TTrayIcon::StaticClass() {
    static const TClassInfo info = MakeClass<TTrayIcon, TComponent>("TTrayIcon", [](auto& p) {
        p.Bool("DesignPreview", &TTrayIcon::DesignPreview, &TTrayIcon::SetDesignPreview, false);
        p.Component("IconList", &TTrayIcon::IconList, &TTrayIcon::SetIconList);
        p.Bool("CycleIcons", &TTrayIcon::CycleIcons, &TTrayIcon::SetCycleIcons, false);
        p.Int("CycleInterval", &TTrayIcon::CycleInterval, &TTrayIcon::SetCycleInterval, 0);
        p.Bool("Enabled", &TTrayIcon::Enabled, &TTrayIcon::SetEnabled, true);
        p.String("Hint", &TTrayIcon::Hint, &TTrayIcon::SetHint);
        p.Bool("ShowHint", &TTrayIcon::ShowHint, &TTrayIcon::SetShowHint, true);
        p.Object("Icon", &TTrayIcon::Icon, &TTrayIcon::SetIcon);
        p.Bool("IconVisible", &TTrayIcon::IconVisible, &TTrayIcon::SetIconVisible, false);
        p.Int("IconIndex", &TTrayIcon::IconIndex, &TTrayIcon::SetIconIndex, 0);
        p.Component("PopupMenu", &TTrayIcon::PopupMenu, &TTrayIcon::SetPopupMenu);
        p.Bool("LeftPopup", &TTrayIcon::LeftPopup, &TTrayIcon::SetLeftPopup, false);
        p.Bool("WantEnterExitEvents", &TTrayIcon::WantEnterExitEvents, &TTrayIcon::SetWantEnterExitEvents, false);
        p.Bool("MinimizeToTray", &TTrayIcon::MinimizeToTray, &TTrayIcon::SetMinimizeToTray, false);
        p.Event("OnClick", &TTrayIcon::OnClick);
        p.Event("OnDblClick", &TTrayIcon::OnDblClick);
        p.Event("OnMouseDown", &TTrayIcon::OnMouseDown);
        p.Event("OnMouseUp", &TTrayIcon::OnMouseUp);
        p.Event("OnMouseMove", &TTrayIcon::OnMouseMove);
        p.Event("OnMouseEnter", &TTrayIcon::OnMouseEnter);
        p.Event("OnMouseExit", &TTrayIcon::OnMouseExit);
        p.Event("OnCycle", &TTrayIcon::OnCycle);
        p.Event("OnBalloonHintShow", &TTrayIcon::OnBalloonHintShow);
        p.Event("OnBalloonHintHide", &TTrayIcon::OnBalloonHintHide);
        p.Event("OnBalloonHintTimeout", &TTrayIcon::OnBalloonHintTimeout);
        p.Event("OnBalloonHintClick", &TTrayIcon::OnBalloonHintClick);
        p.Event("OnMinimizeToTray", &TTrayIcon::OnMinimizeToTray);
        p.Event("OnStartup", &TTrayIcon::OnStartup);
    });
    return &info;
}

user::HWND TTrayIcon::SharedWindow() {
    return IconHandler != nullptr ? IconHandler->Window : nullptr;
}

void TTrayIcon::Loaded() {
    TComponent::Loaded();
    AskStartup();
    ModifyIcon();
    SetIconVisible(FIconVisible);
    SetCycleIcons(FCycleIcons);
    SetWantEnterExitEvents(FWantEnterExitEvents);
    FIconData.uVersion = FNotificationVersion == nvVersion3 ? user::NOTIFYICON_VERSION : 0;
    Shell(user::NIM_SETVERSION);
}

void TTrayIcon::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FIconList) {
        FIconList = nullptr;   // going: no more calls on it
        SetIconList(nullptr);
    }
    if (component == FPopupMenu) FPopupMenu = nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// Other threads

void TTrayIcon::Carry(std::function<void(TTrayIcon*)> call) {
    std::shared_ptr<TTrayIcon*> alive = FAlive;
    os::TThread::Queue([alive, call = std::move(call)] {
        if (*alive != nullptr) call(*alive);
    });
}

template <class F>
auto TTrayIcon::ReadOnUi(F read) const -> decltype(read()) {
    if (OnUiThread()) return read();
    decltype(read()) value {};
    std::shared_ptr<TTrayIcon*> alive = FAlive;
    os::TThread::Synchronize([&] {
        if (*alive != nullptr) value = read();
    });
    return value;
}

// ---------------------------------------------------------------------------------------------------------
// The icon record and the shell

bool TTrayIcon::RefreshRecord() {
    if (Designing() && !FPreviewing && !FDesignPreview) return false;
    FIconData.hWnd = IconHandler != nullptr ? IconHandler->EnsureWindow() : nullptr;
    FIconData.hIcon = nullptr;
    try {
        FIconData.hIcon = FIcon != nullptr ? FIcon->Handle() : nullptr;
    } catch (...) {
        FIconData.hIcon = nullptr;
    }
    if (!FHint.empty() && FShowHint)
        FIconData.szTip = base::Utf8Left(FHint, user::NOTIFYICON_TIP_CHARS);
    else
        FIconData.szTip.clear();
    return true;
}

bool TTrayIcon::Shell(user::DWORD message) {
    return user::Shell_NotifyIcon(message, &FIconData);
}

bool TTrayIcon::DefaultIconWanted() {
    return true;
}

bool TTrayIcon::ShowIcon() {
    if (!OnUiThread()) {
        Carry([](TTrayIcon* t) { t->ShowIcon(); });
        return true;
    }
    if (!FPreviewing) FIconVisible = true;
    if (Designing() && !FPreviewing) return false;
    if (!RefreshRecord()) return false;
    bool ok = Shell(user::NIM_ADD);
    if (ok && FNotificationVersion == nvVersion3) {
        // A new icon starts classic: the version goes with every add.
        FIconData.uVersion = user::NOTIFYICON_VERSION;
        Shell(user::NIM_SETVERSION);
    }
    return ok;
}

bool TTrayIcon::HideIcon() {
    if (!OnUiThread()) {
        Carry([](TTrayIcon* t) { t->HideIcon(); });
        return true;
    }
    if (!FPreviewing) FIconVisible = false;
    if (Designing() && !FPreviewing) return false;
    if (!RefreshRecord()) return false;
    return Shell(user::NIM_DELETE);
}

bool TTrayIcon::ModifyIcon() {
    if (!OnUiThread()) {
        Carry([](TTrayIcon* t) { t->ModifyIcon(); });
        return true;
    }
    if (!RefreshRecord()) return false;
    return Shell(user::NIM_MODIFY);
}

void TTrayIcon::IconChanged() {
    ModifyIcon();
}

// ---------------------------------------------------------------------------------------------------------
// Properties

bool TTrayIcon::DesignPreview() const {
    return ReadOnUi([this] { return FDesignPreview; });
}

void TTrayIcon::SetDesignPreview(bool value) {
    if (!OnUiThread()) return Carry([value](TTrayIcon* t) { t->SetDesignPreview(value); });
    FDesignPreview = value;
    FPreviewing = true;
    if (Designing()) {
        if (FIcon->Handle() == nullptr && DefaultIconWanted())
            SetIcon(TIcon::FromHandle(LoadIcon(nullptr, IDI_WINLOGO)));
        SetIconVisible(value);
    }
    FPreviewing = false;
}

TCustomImageList* TTrayIcon::IconList() const {
    return ReadOnUi([this] { return FIconList; });
}

void TTrayIcon::SetIconList(TCustomImageList* value) {
    if (!OnUiThread()) return Carry([value](TTrayIcon* t) { t->SetIconList(value); });
    if (FIconList != nullptr && FIconList != value && !FIconList->ComponentState().Contains(csDestroying))
        FIconList->RemoveFreeNotification(this);
    FIconList = value;
    // Told when it goes, whoever owns it.
    if (value != nullptr) value->FreeNotification(this);
    SetIconIndex(0);
}

bool TTrayIcon::CycleIcons() const {
    return ReadOnUi([this] { return FCycleIcons; });
}

void TTrayIcon::SetCycleIcons(bool value) {
    if (!OnUiThread()) return Carry([value](TTrayIcon* t) { t->SetCycleIcons(value); });
    FCycleIcons = value;
    if (value) {
        SetIconIndex(0);
        FCycleTimer->SetInterval(FCycleInterval);
        FCycleTimer->Start();
    } else {
        FCycleTimer->SetActive(false);
    }
}

unsigned TTrayIcon::CycleInterval() const {
    return ReadOnUi([this] { return FCycleInterval; });
}

void TTrayIcon::SetCycleInterval(unsigned value) {
    if (!OnUiThread()) return Carry([value](TTrayIcon* t) { t->SetCycleInterval(value); });
    FCycleInterval = value;
    SetCycleIcons(FCycleIcons);
}

bool TTrayIcon::Enabled() const {
    return ReadOnUi([this] { return FEnabled; });
}

void TTrayIcon::SetEnabled(bool value) {
    if (!OnUiThread()) return Carry([value](TTrayIcon* t) { t->SetEnabled(value); });
    FEnabled = value;
}

std::string TTrayIcon::Hint() const {
    return ReadOnUi([this] { return FHint; });
}

void TTrayIcon::SetHint(const std::string& value) {
    if (!OnUiThread()) return Carry([value](TTrayIcon* t) { t->SetHint(value); });
    FHint = value;
    ModifyIcon();
}

bool TTrayIcon::ShowHint() const {
    return ReadOnUi([this] { return FShowHint; });
}

void TTrayIcon::SetShowHint(bool value) {
    if (!OnUiThread()) return Carry([value](TTrayIcon* t) { t->SetShowHint(value); });
    FShowHint = value;
    ModifyIcon();
}

void TTrayIcon::SetIcon(const TIcon* value) {
    if (!OnUiThread()) {
        // The caller's icon may be gone by the time the call runs: a copy travels.
        std::shared_ptr<TIcon> copy;
        if (value != nullptr) {
            copy = std::make_shared<TIcon>();
            copy->Assign(value);
        }
        return Carry([copy](TTrayIcon* t) { t->SetIcon(copy.get()); });
    }
    {
        base::ValueRollback<TNotifyEvent> quiet(FIcon->OnChange, nullptr);
        FIcon->Assign(value);
    }
    ModifyIcon();
}

bool TTrayIcon::IconVisible() const {
    return ReadOnUi([this] { return FIconVisible; });
}

void TTrayIcon::SetIconVisible(bool value) {
    if (!OnUiThread()) return Carry([value](TTrayIcon* t) { t->SetIconVisible(value); });
    if (value)
        ShowIcon();
    else
        HideIcon();
}

int TTrayIcon::IconIndex() const {
    return ReadOnUi([this] { return FIconIndex; });
}

void TTrayIcon::SetIconIndex(int value) {
    if (!OnUiThread()) return Carry([value](TTrayIcon* t) { t->SetIconIndex(value); });
    if (FIconList != nullptr) {
        int count = FIconList->Count();
        FIconIndex = value >= count ? count - 1 : value;   // -1 with an empty list
        FIconList->GetIcon(FIconIndex, FIcon.get());   // an index outside the list shows nothing new
    } else {
        FIconIndex = 0;
    }
    ModifyIcon();
}

TComponent* TTrayIcon::PopupMenu() const {
    return ReadOnUi([this] { return FPopupMenu; });
}

void TTrayIcon::SetPopupMenu(TComponent* value) {
    if (!OnUiThread()) return Carry([value](TTrayIcon* t) { t->SetPopupMenu(value); });
    if (FPopupMenu != nullptr && FPopupMenu != value && !FPopupMenu->ComponentState().Contains(csDestroying))
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = value;
    if (value != nullptr) value->FreeNotification(this);
}

bool TTrayIcon::LeftPopup() const {
    return ReadOnUi([this] { return FLeftPopup; });
}

void TTrayIcon::SetLeftPopup(bool value) {
    if (!OnUiThread()) return Carry([value](TTrayIcon* t) { t->SetLeftPopup(value); });
    FLeftPopup = value;
}

bool TTrayIcon::WantEnterExitEvents() const {
    return ReadOnUi([this] { return FWantEnterExitEvents; });
}

void TTrayIcon::SetWantEnterExitEvents(bool value) {
    if (!OnUiThread()) return Carry([value](TTrayIcon* t) { t->SetWantEnterExitEvents(value); });
    FWantEnterExitEvents = value;
    FExitTimer->SetActive(value);
}

bool TTrayIcon::MinimizeToTray() const {
    return ReadOnUi([this] { return FMinimizeToTray; });
}

void TTrayIcon::SetMinimizeToTray(bool value) {
    if (!OnUiThread()) return Carry([value](TTrayIcon* t) { t->SetMinimizeToTray(value); });
    FMinimizeToTray = value;
}

// ---------------------------------------------------------------------------------------------------------
// Balloons

bool TTrayIcon::ShowBalloonHint(
    const std::string& title, const std::string& text, TBalloonHintIcon iconType, int timeoutSeconds) {
    if (!OnUiThread()) {
        Carry([=](TTrayIcon* t) { t->ShowBalloonHint(title, text, iconType, timeoutSeconds); });
        return true;
    }
    HideBalloonHint();
    FIconData.uFlags |= user::NIF_INFO;
    FIconData.szInfo = base::Utf8Left(text, user::NOTIFYICON_INFO_CHARS);
    FIconData.szInfoTitle = base::Utf8Left(title, user::NOTIFYICON_INFOTITLE_CHARS);
    FIconData.uTimeout = user::UINT(std::clamp(timeoutSeconds, 0, 255)) * 1000;
    FIconData.dwInfoFlags = std::clamp<user::DWORD>(user::DWORD(iconType), user::NIIF_NONE, user::NIIF_ERROR);
    bool ok = ModifyIcon();
    FIconData.uFlags = RecordFlags;
    return ok;
}

// The flag stays until the next ShowBalloonHint, so later modifications carry the empty text.
bool TTrayIcon::HideBalloonHint() {
    if (!OnUiThread()) {
        Carry([](TTrayIcon* t) { t->HideBalloonHint(); });
        return true;
    }
    FIconData.uFlags |= user::NIF_INFO;
    FIconData.szInfo.clear();
    return ModifyIcon();
}

// ---------------------------------------------------------------------------------------------------------
// Cycling

void TTrayIcon::DoCycle() {
    if (!OnCycle) return;
    int last = FIconList != nullptr ? FIconList->Count() - 1 : -1;
    OnCycle(this, FIconIndex < last ? FIconIndex + 1 : 0);
}

void TTrayIcon::CycleTick() {
    if (FIconList == nullptr) return;
    FIconList->GetIcon(FIconIndex, FIcon.get());
    std::shared_ptr<TTrayIcon*> alive = FAlive;
    DoCycle();
    if (*alive == nullptr) return;   // freed by the handler
    int last = FIconList != nullptr ? FIconList->Count() - 1 : -1;
    SetIconIndex(FIconIndex >= last ? 0 : FIconIndex + 1);
}

}
