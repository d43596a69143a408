// TCustomForm: properties, reading the component text, creation and destruction, window style, showing, painting.
#include "platform/classes/TForm.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/Resources.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TControlCanvas.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TScreen.h"
#include "platform/user/Focus.h"
#include "platform/user/Mdi.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

namespace korvex::classes {

using namespace user;

namespace {
TClass MainMenuClass() {
    TClass cls = FindClass("TMainMenu");
    return cls != nullptr ? cls : TComponent::StaticClass();
}
}

TCustomForm::TCustomForm(TComponent* owner)
    : TScrollingWinControl(owner)
    , FIcon(std::make_unique<TIcon>())
    , FCanvas(std::make_unique<TControlCanvas>(this)) {
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FVisible = false;
    FWidth = 320;
    FHeight = 240;
    SetColor(clBtnFace);
    SetParentFont(false);
    SetAutoScroll(false);
    FBiDiMode = InheritedBiDiMode();
    FIcon->OnChange = [this](TObject*) {
        if (HandleAllocated()) SendMessage(WindowHandle(), WM_SETICON, 1, reinterpret_cast<LPARAM>(FIcon->Handle()));
    };
    if (Screen != nullptr) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    if (Screen != nullptr) Screen->RemoveForm(this);
    FCanvas->SetControl(nullptr);
}

TClass TForm::StaticClass() {
    static const TClassInfo info = MakeClass<TForm, TCustomForm>("TForm");
    return &info;
}

TClass TCustomForm::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomForm, TScrollingWinControl>("TCustomForm", [](auto& p) {
        p.Component("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl);
        p.Bool("AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll, false);
        p.Set("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons, BorderIconIdents,
            TBorderIcons {biSystemMenu, biMinimize, biMaximize});
        p.Enum(
            "BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle, FormBorderStyleIdents, bsSizeable);
        p.Int("ClientHeight", &TCustomForm::StoredClientHeight, &TCustomForm::SetStoredClientHeight).Stored(false);
        p.Int("ClientWidth", &TCustomForm::StoredClientWidth, &TCustomForm::SetStoredClientWidth).Stored(false);
        p.Enum("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle, FormStyleIdents, fsNormal);
        p.Object("Icon", &TCustomForm::Icon, &TCustomForm::SetIcon);
        p.Bool("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview, false);
        p.Component("Menu", &TCustomForm::MenuComponent, &TCustomForm::SetMenuComponent).Info().ObjectClassOf
            = &MainMenuClass;
        p.Bool("OldCreateOrder", &TCustomForm::FOldCreateOrder, &TCustomForm::FOldCreateOrder, false);
        p.Int("PixelsPerInch", &TCustomForm::FPixelsPerInch, &TCustomForm::FPixelsPerInch, 96);
        p.Enum("Position", &TCustomForm::Position, &TCustomForm::SetPosition, PositionIdents, poDesigned);
        p.Bool("Scaled", &TCustomForm::FScaled, &TCustomForm::FScaled, true);
        p.Int("TextHeight", &TCustomForm::FTextHeight, &TCustomForm::FTextHeight, 13);
        p.Bool("Visible", &TCustomForm::Visible, &TCustomForm::SetVisible, false);
        p.Enum("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState, WindowStateIdents, wsNormal);
        p.Event("OnActivate", &TCustomForm::OnActivate);
        p.Event("OnClose", &TCustomForm::OnClose);
        p.Event("OnCloseQuery", &TCustomForm::OnCloseQuery);
        p.Event("OnCreate", &TCustomForm::OnCreate);
        p.Event("OnDeactivate", &TCustomForm::OnDeactivate);
        p.Event("OnDestroy", &TCustomForm::OnDestroy);
        p.Event("OnHide", &TCustomForm::OnHide);
        p.Event("OnPaint", &TCustomForm::OnPaint);
        p.Event("OnShow", &TCustomForm::OnShow);
    });
    return &info;
}

// ---------------------------------------------------------------------------------------------------------
// Reading and life

void TCustomForm::ReadForm(std::string_view text, const TMethodTable& methods) {
    FFormState.Include(fsCreating);
    base::ScopeExit created([this] { FFormState.Exclude(fsCreating); });
    ReadRootComponent(this, text, &methods);
}

void TCustomForm::ReadFormResource(std::string_view resourceName, const TMethodTable& methods) {
    auto bytes = FindEmbeddedResource(resourceName);
    if (!bytes) throw EResNotFound("Resource " + std::string(resourceName) + " not found");
    ReadForm(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), methods);
}

// A form that the text made visible shows only after OnCreate.
void TCustomForm::Loaded() {
    if (FVisible) {
        FFormState.Include(fsVisible);
        FVisible = false;
    }
    TWinControl::Loaded();
    if (FClientWidth > 0 || FClientHeight > 0) HandleNeeded();
    if (FClientWidth > 0) SetClientWidth(FClientWidth);
    if (FClientHeight > 0) SetClientHeight(FClientHeight);
    FClientWidth = FClientHeight = 0;
    if (FActiveControl != nullptr && FActive) SetWindowFocus();
}

void TCustomForm::AfterConstruction() {
    TWinControl::AfterConstruction();
    FCreated = true;
    DoCreate();
}

void TCustomForm::DoCreate() {
    if (OnCreate) {
        try {
            OnCreate(this);
        } catch (...) {
            if (Application == nullptr) throw;
            Application->HandleException(this);
        }
    }
    if (FFormState.Contains(fsVisible)) {
        FFormState.Exclude(fsVisible);
        SetVisible(true);
    }
}

void TCustomForm::BeforeDestruction() {
    Destroying();
    if (Screen != nullptr) std::erase(Screen->FSaveFocusedList, this);
    if (HandleAllocated() && Visible()) {
        try {
            SetVisible(false);
        } catch (...) {
            if (Application != nullptr) Application->HandleException(this);
        }
    }
    DoDestroy();
    TWinControl::BeforeDestruction();
    DestroyComponents();   // while the form is still whole
}

void TCustomForm::DoDestroy() {
    if (!OnDestroy) return;
    try {
        OnDestroy(this);
    } catch (...) {
        if (Application == nullptr) throw;
        Application->HandleException(this);
    }
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FMenu) FMenu = nullptr;
    if (component == FActiveControl) FActiveControl = nullptr;
    if (component == FFocusedControl) FFocusedControl = nullptr;
}

void TCustomForm::SetParent(TWinControl* value) {
    if (value == Parent()) return;
    DestroyHandle();
    TWinControl::SetParent(value);
}

// ---------------------------------------------------------------------------------------------------------
// Properties

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    ApplyFrameStyle();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
    if (value == FBorderIcons) return;
    FBorderIcons = value;
    ApplyFrameStyle();
}

// The window keeps living (children, region, caches): only the frame's style bits change, and the frame
// is laid out and painted anew.
void TCustomForm::ApplyFrameStyle() {
    if (!HandleAllocated()) return;
    static constexpr DWORD frameBits = WS_CAPTION | WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_SYSMENU
        | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    static constexpr DWORD frameExBits = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW | WS_EX_CONTEXTHELP;
    TCreateParams params;
    CreateParams(params);
    const HWND hwnd = WindowHandle();
    const DWORD style = DWORD(GetWindowLong(hwnd, GWL_STYLE));
    DWORD bits = frameBits;
    if (!(style & WS_CHILD)) bits |= WS_POPUP;
    const DWORD newStyle = (style & ~bits) | (params.Style & bits);
    const DWORD exStyle = DWORD(GetWindowLong(hwnd, GWL_EXSTYLE));
    const DWORD newExStyle = (exStyle & ~frameExBits) | (params.ExStyle & frameExBits);
    if (newStyle == style && newExStyle == exStyle) return;
    if (newStyle != style) SetWindowLong(hwnd, GWL_STYLE, LONG_PTR(newStyle));
    if (newExStyle != exStyle) SetWindowLong(hwnd, GWL_EXSTYLE, LONG_PTR(newExStyle));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TCustomForm::SetFormStyle(TFormStyle value) {
    if (value == FFormStyle) return;
    const bool mdi = value == fsMDIChild || value == fsMDIForm || FFormStyle == fsMDIChild || FFormStyle == fsMDIForm;
    FFormStyle = value;
    if (HandleAllocated() && mdi)
        RecreateWnd();   // another window procedure, and an MDI child another parent
    else if (HandleAllocated())
        SetWindowPos(WindowHandle(), value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
            SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowState(TWindowState value) {
    if (value == FWindowState) return;
    FWindowState = value;
    if (HandleAllocated() && Showing()) {
        static constexpr int commands[] = {SW_SHOWNORMAL, SW_MINIMIZE, SW_SHOWMAXIMIZED};
        ShowWindow(WindowHandle(), commands[value]);
    }
}

void TCustomForm::SetMenuComponent(TComponent* value) {
    if (value == FMenu) return;
    if (FMenu != nullptr) FMenu->RemoveFreeNotification(this);
    // An MDI child's menu has no bar of its own: it is shown on the frame's while the child is active.
    const bool active = FFormStyle == fsMDIChild && HandleAllocated() && Application != nullptr
        && Application->MainForm() != nullptr && Application->MainForm()->ActiveMDIChild() == this;
    if (active) MergeMenuIntoFrame(false);
    if (FFormStyle != fsMDIChild) AttachMainMenu(FMenu, value, WindowHandle());
    FMenu = value;
    if (value != nullptr) value->FreeNotification(this);
    if (active) MergeMenuIntoFrame(true);
}

TCanvas* TCustomForm::Canvas() const {
    return FCanvas.get();
}

int TCustomForm::StoredClientWidth() const {
    return ClientWidth();
}

void TCustomForm::SetStoredClientWidth(int value) {
    if (ComponentState().Contains(csLoading))
        FClientWidth = value;
    else
        SetClientWidth(value);
}

int TCustomForm::StoredClientHeight() const {
    return ClientHeight();
}

void TCustomForm::SetStoredClientHeight(int value) {
    if (ComponentState().Contains(csLoading))
        FClientHeight = value;
    else
        SetClientHeight(value);
}

// The client area needs the window (its frame decides it), as the class library does.
TRect TCustomForm::GetClientRect() const {
    if (!HandleAllocated() && !ComponentState().Contains(csDestroying) && !ComponentState().Contains(csLoading))
        const_cast<TCustomForm*>(this)->HandleNeeded();
    return TWinControl::GetClientRect();
}

// ---------------------------------------------------------------------------------------------------------
// The window

// A form on no parent reads as the application does.
TBiDiMode TCustomForm::InheritedBiDiMode() const {
    if (Parent() == nullptr && Application != nullptr) return Application->BiDiMode();
    return TScrollingWinControl::InheritedBiDiMode();
}

void TCustomForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);   // no edge or clipping of a scroll box
    if (Parent() == nullptr && ParentWindow() == nullptr) {
        params.WndParent = Application != nullptr ? Application->Handle() : nullptr;
        params.Style &= ~(WS_CHILD | WS_GROUP | WS_TABSTOP);
        // The window system has no task-bar button of its own for the application window: the main form
        // takes it, unless the application window was made a tool window (the program without a button).
        if (Application != nullptr && (Application->MainForm() == nullptr || Application->MainForm() == this)
            && (GetWindowLongPtr(Application->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0)
            params.ExStyle |= WS_EX_APPWINDOW;
    }
    params.WindowClass.style = CS_DBLCLKS;
    TBorderIcons icons = FBorderIcons;
    switch (FBorderStyle) {
    case bsNone:
        if (Parent() == nullptr && ParentWindow() == nullptr) params.Style |= WS_POPUP;
        icons = {};
        break;
    case bsSingle:
    case bsToolWindow:
        params.Style |= WS_CAPTION | WS_BORDER;
        break;
    case bsSizeable:
    case bsSizeToolWin:
        params.Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        params.Style |= WS_POPUP | WS_CAPTION;
        params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        icons = icons * TBorderIcons {biSystemMenu, biHelp};
        break;
    }
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) {
        params.ExStyle |= WS_EX_TOOLWINDOW;
        icons = icons * TBorderIcons {biSystemMenu};
    }
    if (FBorderStyle == bsSingle || FBorderStyle == bsSizeable || FBorderStyle == bsNone) {
        if (FWindowState == wsMinimized)
            params.Style |= WS_MINIMIZE;
        else if (FWindowState == wsMaximized)
            params.Style |= WS_MAXIMIZE;
        if (icons.Contains(biMinimize)) params.Style |= WS_MINIMIZEBOX;
        if (icons.Contains(biMaximize)) params.Style |= WS_MAXIMIZEBOX;
    }
    if (icons.Contains(biSystemMenu)) params.Style |= WS_SYSMENU;
    if (icons.Contains(biHelp)) params.ExStyle |= WS_EX_CONTEXTHELP;
    if (FFormStyle == fsStayOnTop) params.ExStyle |= WS_EX_TOPMOST;
    if (FFormStyle == fsMDIForm) {
        params.Style |= WS_CLIPCHILDREN;
        params.WindowClass.lpfnWndProc = FrameDefProc;
    } else if (FFormStyle == fsMDIChild) {
        params.WindowClass.lpfnWndProc = DefMDIChildProc;
    }
}

void TCustomForm::CreateWnd() {
    TScrollingWinControl::CreateWnd();
    if (FFormStyle == fsMDIForm) CreateClientWindow();
    if (FFormStyle == fsMDIChild) FFormState.Include(fsCreatedMDIChild);
    if (FFormStyle != fsMDIChild) AttachMainMenu(nullptr, FMenu, WindowHandle());
    // Without an icon of its own the form shows the application's.
    const TIcon* icon = FIcon.get();
    if (icon->Empty() && Application != nullptr && !Application->Icon()->Empty()) icon = Application->Icon();
    if (!icon->Empty()) SendMessage(WindowHandle(), WM_SETICON, 1, reinterpret_cast<LPARAM>(icon->Handle()));
}

void TCustomForm::Show() {
    SetVisible(true);
    BringToFront();
}

// Centres the form as Position asks, once (the position is then the form's own).
void TCustomForm::ApplyPosition() {
    int x = Left(), y = Top();
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
        x = (Screen != nullptr ? Screen->Width() : 0) / 2 - Width() / 2;
        y = (Screen != nullptr ? Screen->Height() : 0) / 2 - Height() / 2;
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TCustomForm* center = Application != nullptr ? Application->MainForm() : nullptr;
        if (FPosition == poOwnerFormCenter)
            if (auto* owner = dynamic_cast<TCustomForm*>(Owner())) center = owner;
        if (center == this) center = nullptr;
        if (center != nullptr) {
            x = (center->Width() - Width()) / 2 + center->Left();
            y = (center->Height() - Height()) / 2 + center->Top();
        } else {
            x = (Screen != nullptr ? Screen->Width() : 0) / 2 - Width() / 2;
            y = (Screen != nullptr ? Screen->Height() : 0) / 2 - Height() / 2;
        }
        break;
    }
    default:
        return;
    }
    SetBounds(std::max(x, 0), std::max(y, 0), Width(), Height());
    FPosition = poDesigned;
}

void TCustomForm::CMShowingChanged(TMessage&) {
    if (FFormState.Contains(fsShowing)) throw EInvalidOperation("Cannot change Visible in OnShow or OnHide");
    FFormState.Include(fsShowing);
    base::ScopeExit shown([this] { FFormState.Exclude(fsShowing); });
    if (Showing()) {
        DoShow();
        ApplyPosition();
        static constexpr int commands[] = {SW_SHOWNORMAL, SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED};
        ShowWindow(WindowHandle(), commands[FWindowState]);
    } else {
        DoHide();
        SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
            SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

// ---------------------------------------------------------------------------------------------------------
// Painting

void TCustomForm::Paint() {
    if (OnPaint) OnPaint(this);
}

void TCustomForm::PaintWindow(HDC dc) {
    CanvasPaintScope painting(*FCanvas, dc);
    Paint();
}

void TCustomForm::WMPaint(TMessage& m) {
    if (HandleAllocated() && IsIconic(WindowHandle())) {
        DefaultHandler(m);
        return;
    }
    FControlState.Include(csCustomPaint);
    base::ScopeExit painted([this] { FControlState.Exclude(csCustomPaint); });
    TWinControl::WMPaint(m);
}

void TCustomForm::WMSize(TMessage& m) {
    // A hidden window's sizes say nothing of the state it is to show in (a form that starts minimized).
    if (HandleAllocated() && IsWindowVisible(WindowHandle())) {
        switch (m.WParam) {
        case SIZE_RESTORED:
            FWindowState = wsNormal;
            break;
        case SIZE_MINIMIZED:
            FWindowState = wsMinimized;
            break;
        case SIZE_MAXIMIZED:
            FWindowState = wsMaximized;
            break;
        }
    }
    TScrollingWinControl::WMSize(m);
}

}
