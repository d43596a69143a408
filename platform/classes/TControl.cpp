// TControl: properties, parents, bounds and anchors, Perform and the message dispatch, painting requests
// (the mouse and the capture are in TControlMouse.cpp).
#include "platform/classes/TControl.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBasicAction.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TWinControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/Types.h"
#include "platform/user/Input.h"
#include "platform/user/Painting.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"

#include <cstring>

namespace korvex::classes {

using namespace user;

namespace {
TClass PopupMenuClass() {
    TClass cls = FindClass("TPopupMenu");
    return cls != nullptr ? cls : TComponent::StaticClass();
}
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if (keyData & KF_ALTDOWN_BIT) s.Include(ssAlt);
    return s;
}

TShiftState KeyboardStateToShiftState() {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    if (GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
    if (GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
    if (GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
    return s;
}

TCustomForm* GetParentForm(const TControl* control) {
    while (control != nullptr && control->Parent() != nullptr)
        control = control->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(control));
}

// ---------------------------------------------------------------------------------------------------------
TControl::TControl(TComponent* owner)
    : TComponent(owner)
    , FFont(std::make_unique<TFont>())
    , FConstraints(std::make_unique<TSizeConstraints>()) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    FFont->OnChange = [this](TObject*) { FontChanged(); };
    FConstraints->OnChange = [this](TObject*) { SetBounds(FLeft, FTop, FWidth, FHeight); };
}

TControl::~TControl() {
    if (Application != nullptr) Application->ControlDestroyed(this);
    DropMouseCapture();
    if (FParent != nullptr) SetParent(nullptr);
}

TClass TControl::StaticClass() {
    static const TClassInfo info = MakeClass<TControl, TComponent>("TControl", [](auto& p) {
        p.Int("Left", &TControl::Left, &TControl::SetLeft);
        p.Int("Top", &TControl::Top, &TControl::SetTop);
        p.Int("Width", &TControl::Width, &TControl::SetWidth);
        p.Int("Height", &TControl::Height, &TControl::SetHeight);
        p.Enum("Align", &TControl::Align, &TControl::SetAlign, AlignIdents, alNone);
        p.Set("Anchors", &TControl::Anchors, &TControl::SetAnchors, AnchorIdents, TAnchors {akLeft, akTop});
        p.Object("Constraints", &TControl::Constraints, &TControl::SetConstraints)
            .Stored(&TControl::IsConstraintsStored);
        p.String("Caption", &TControl::Caption, &TControl::SetCaption).Stored(&TControl::IsCaptionStored);
        p.Enum("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode, BiDiModeIdents, bdLeftToRight)
            .Stored(&TControl::IsBiDiModeStored);
        p.Color("Color", &TControl::Color, &TControl::SetColor).Stored(&TControl::IsColorStored);
        p.Int("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault);
        p.Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled, true);
        p.Object("Font", &TControl::Font, &TControl::SetFont).Stored(&TControl::IsFontStored);
        p.String("Hint", &TControl::Hint, &TControl::SetHint);
        p.Bool("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode, true);
        p.Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, true);
        p.Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true);
        p.Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true);
        p.Component("PopupMenu", &TControl::PopupMenuComponent, &TControl::SetPopupMenuComponent).Info().ObjectClassOf
            = &PopupMenuClass;
        p.Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Stored(&TControl::IsShowHintStored);
        p.Bool("Visible", &TControl::Visible, &TControl::SetVisible, true);
        p.Event("OnClick", &TControl::OnClick);
        p.Event("OnContextPopup", &TControl::OnContextPopup);
        p.Event("OnDblClick", &TControl::OnDblClick);
        p.Event("OnDragDrop", &TControl::OnDragDrop);
        p.Event("OnDragOver", &TControl::OnDragOver);
        p.Event("OnEndDrag", &TControl::OnEndDrag);
        p.Event("OnStartDrag", &TControl::OnStartDrag);
        p.Event("OnMouseDown", &TControl::OnMouseDown);
        p.Event("OnMouseMove", &TControl::OnMouseMove);
        p.Event("OnMouseUp", &TControl::OnMouseUp);
        p.Event("OnMouseWheel", &TControl::OnMouseWheel);
        p.Event("OnMouseWheelDown", &TControl::OnMouseWheelDown);
        p.Event("OnMouseWheelUp", &TControl::OnMouseWheelUp);
        p.Event("OnResize", &TControl::OnResize);
    });
    return &info;
}

bool TControl::IsCaptionStored() const {
    return !FText.empty();
}

// ---------------------------------------------------------------------------------------------------------
// Parent and bounds

void TControl::SetParent(TWinControl* value) {
    if (value == FParent) return;
    if (value == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (auto* self = dynamic_cast<TWinControl*>(this);
        self != nullptr && value != nullptr && self->ContainsControl(value))
        throw EInvalidOperation("A control cannot be put inside one of its own children");
    if (FParent != nullptr) FParent->RemoveControl(this);
    if (value != nullptr) value->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const {
    return FParent;
}

void TControl::SetParentComponent(TComponent* value) {
    if (ComponentState().Contains(csReading)) FControlState.Include(csReadingState);
    if (auto* win = dynamic_cast<TWinControl*>(value)) SetParent(win);
}

void TControl::Changed() {
    Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this));
}

void TControl::ConstrainSize(int& width, int& height) const {
    width = FConstraints->ConstrainWidth(width);
    height = FConstraints->ConstrainHeight(height);
}

bool TControl::CanAutoSize(int& newWidth, int& newHeight) {
    (void)newWidth;
    (void)newHeight;
    return true;
}

void TControl::AutoSizeAndConstrain(int& width, int& height) {
    int w = width, h = height;
    if (CanAutoSize(w, h)) {
        width = gdi::ClampCoord(w);
        height = gdi::ClampCoord(h);
    }
    ConstrainSize(width, height);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    left = gdi::ClampCoord(left), top = gdi::ClampCoord(top);
    width = gdi::ClampCoord(width), height = gdi::ClampCoord(height);
    AutoSizeAndConstrain(width, height);
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    bool visibleWindowless = FParent != nullptr && FVisible && dynamic_cast<TWinControl*>(this) == nullptr;
    if (visibleWindowless) InvalidateControl(true, false);
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    if (FParent != nullptr) FParent->ControlsChanged();
    if (visibleWindowless) Invalidate();
    UpdateAnchorRules();
    RequestAlign();
    if (!ComponentState().Contains(csLoading)) Resize();
}

TRect TControl::GetClientRect() const {
    return Rect(0, 0, FWidth, FHeight);
}

void TControl::SetClientWidth(int value) {
    SetWidth(gdi::ClampCoord(std::int64_t(FWidth) - ClientWidth() + value));
}

void TControl::SetClientHeight(int value) {
    SetHeight(gdi::ClampCoord(std::int64_t(FHeight) - ClientHeight() + value));
}

TPoint TControl::ClientOrigin() const {
    if (FParent == nullptr) return Point(FLeft, FTop);
    TPoint p = FParent->ClientOrigin();
    return Point(p.x + FLeft, p.y + FTop);
}

TPoint TControl::ClientToScreen(TPoint point) const {
    TPoint origin = ClientOrigin();
    return Point(point.x + origin.x, point.y + origin.y);
}

TPoint TControl::ScreenToClient(TPoint point) const {
    TPoint origin = ClientOrigin();
    return Point(point.x - origin.x, point.y - origin.y);
}

void TControl::SetAlign(TAlign value) {
    if (value == FAlign) return;
    TAlign old = FAlign;
    FAlign = value;
    // An aligned control is anchored to the sides it follows.
    switch (value) {
    case alTop:
        FAnchors = {akLeft, akTop, akRight};
        break;
    case alBottom:
        FAnchors = {akLeft, akRight, akBottom};
        break;
    case alLeft:
        FAnchors = {akLeft, akTop, akBottom};
        break;
    case alRight:
        FAnchors = {akRight, akTop, akBottom};
        break;
    case alClient:
        FAnchors = {akLeft, akTop, akRight, akBottom};
        break;
    default:
        if (old != alNone) FAnchors = {akLeft, akTop};
        break;
    }
    RequestAlign();
}

void TControl::SetAnchors(TAnchors value) {
    if (value == FAnchors) return;
    FAnchors = value;
    UpdateAnchorRules();
}

// Remembers where the control sits relative to the sides it is anchored to, for the parent's layout.
void TControl::UpdateAnchorRules() {
    if (FAnchorMove || ComponentState().Contains(csLoading)) return;
    if (FAnchors == TAnchors {akLeft, akTop}) {
        FOriginalParentSize = Point(0, 0);
        return;
    }
    if (FAnchors.Contains(akRight))
        FAnchorRules.x = FAnchors.Contains(akLeft) ? FWidth : FLeft;
    else
        FAnchorRules.x = FLeft + FWidth / 2;
    if (FAnchors.Contains(akBottom))
        FAnchorRules.y = FAnchors.Contains(akTop) ? FHeight : FTop;
    else
        FAnchorRules.y = FTop + FHeight / 2;
    if (FParent != nullptr) {
        TRect r = FParent->HandleAllocated() ? FParent->ClientRect() : Rect(0, 0, FParent->Width(), FParent->Height());
        FOriginalParentSize = Point(r.right, r.bottom);
    }
}

void TControl::RequestAlign() {
    if (FParent != nullptr) FParent->AlignControl(this);
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

// ---------------------------------------------------------------------------------------------------------
// Properties

void TControl::SetVisible(bool value) {
    if (value == FVisible) return;
    VisibleChanging();
    FVisible = value;
    if (FParent != nullptr) FParent->ControlsChanged();
    // A sheet's OnShow or OnHide hears of it and may free the control.
    if (!RunUserCode(this, [&] { Perform(CM_VISIBLECHANGED, value ? 1 : 0, 0); })) return;
    RequestAlign();
}

void TControl::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor value) {
    if (value == FColor && !FParentColor) return;
    FParentColor = false;
    if (value == FColor) return;
    FColor = value;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool value) {
    if (value == FParentColor) return;
    FParentColor = value;
    if (FParent != nullptr && !ComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::FontChanged() {
    if (!FUpdatingFont) FParentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool value) {
    if (value == FParentFont) return;
    FParentFont = value;
    if (FParent != nullptr && !ComponentState().Contains(csReading)) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetText(const std::string& value) {
    if (GetText() == value) return;
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool value) {
    FParentShowHint = false;
    if (value == FShowHint) return;
    FShowHint = value;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool value) {
    if (value == FParentShowHint) return;
    FParentShowHint = value;
    if (FParent != nullptr && !ComponentState().Contains(csReading)) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetBiDiMode(TBiDiMode value) {
    FParentBiDiMode = false;
    if (value == FBiDiMode) return;
    FBiDiMode = value;
    Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetParentBiDiMode(bool value) {
    if (value == FParentBiDiMode) return;
    FParentBiDiMode = value;
    if (!ComponentState().Contains(csReading)) Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
}

unsigned TControl::DrawTextBiDiModeFlags(unsigned flags) const {
    if (UseRightToLeftAlignment()) {
        if ((flags & gdi::DT_RIGHT) != 0)
            flags &= ~gdi::DT_RIGHT;
        else if ((flags & gdi::DT_CENTER) == 0)
            flags |= gdi::DT_RIGHT;
    }
    if (UseRightToLeftReading()) flags |= gdi::DT_RTLREADING;
    return flags;
}

void TControl::SetCursor(TCursor value) {
    if (value == FCursor) return;
    FCursor = value;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetPopupMenuComponent(TComponent* value) {
    if (value == FPopupMenu) return;
    if (FPopupMenu != nullptr) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = value;
    if (value != nullptr) value->FreeNotification(this);
}

void TControl::SetName(const std::string& value) {
    bool changeText = FControlStyle.Contains(csSetCaption) && !ComponentState().Contains(csLoading)
        && Name() == GetText()
        && (Owner() == nullptr || dynamic_cast<TControl*>(Owner()) == nullptr
            || !Owner()->ComponentState().Contains(csLoading));
    TComponent::SetName(value);
    if (changeText) SetText(value);
}

void TControl::Loaded() {
    TComponent::Loaded();
    FControlState.Exclude(csReadingState);
    if (FParent != nullptr) {
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
        Perform(CM_PARENTFONTCHANGED, 0, 0);
        Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    }
    Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
    UpdateAnchorRules();
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FPopupMenu) FPopupMenu = nullptr;
    if (operation == opRemove && FActionLink != nullptr && component == FActionLink->Action()) SetAction(nullptr);
}

TBasicAction* TControl::Action() const {
    return FActionLink != nullptr ? FActionLink->Action() : nullptr;
}

void TControl::SetAction(TBasicAction* value) {
    if (value == Action()) return;
    if (value == nullptr) {
        if (FActionLink->Action() != nullptr) FActionLink->Action()->RemoveFreeNotification(this);
        FActionLink.reset();
        return;
    }
    if (FActionLink == nullptr) {
        FActionLink = std::make_unique<TBasicActionLink>();
        FActionLink->OnChange = [this](TBasicAction* action) { ActionChange(action, false); };
    } else if (FActionLink->Action() != nullptr) {
        FActionLink->Action()->RemoveFreeNotification(this);
    }
    FActionLink->SetAction(value);
    value->FreeNotification(this);
    ActionChange(value, ComponentState().Contains(csLoading));
}

TComponent* TControl::ActionComponent() const {
    return Action();
}

void TControl::SetActionComponent(TComponent* value) {
    auto* action = dynamic_cast<TBasicAction*>(value);
    if (value != nullptr && action == nullptr) throw EInvalidOperation("The component is not an action");
    SetAction(action);
}

void TControl::ActionChange(TObject* sender, bool checkDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (action == nullptr) return;
    if (!checkDefaults || Caption().empty() || Caption() == Name()) SetCaption(action->Caption());
    if (!checkDefaults || Enabled()) SetEnabled(action->Enabled());
    if (!checkDefaults || Hint().empty()) SetHint(action->Hint());
    if (!checkDefaults || Visible()) SetVisible(action->Visible());
}

void TControl::SetZOrder(bool topMost) {
    if (FParent == nullptr || !MoveInZOrder(FParent->FControls, this, topMost)) return;
    FParent->ControlsChanged();
    InvalidateControl(FVisible, FControlStyle.Contains(csOpaque));
}

// ---------------------------------------------------------------------------------------------------------
// Messages

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message {msg, wParam, lParam, 0};
    Perform(message);
    return message.Result;
}

void TControl::Perform(TMessage& message) {
    message.Result = 0;
    if (WindowProc)
        WindowProc(message);
    else
        WndProc(message);
}

void TControl::WndProc(TMessage& message) {
    if (message.Msg >= WM_KEYFIRST && message.Msg <= WM_KEYLAST) {
        // The form's key preview happens in the key handlers themselves.
    } else if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST) {
        if (!FControlStyle.Contains(csDoubleClicks)) {
            switch (message.Msg) {
            case WM_LBUTTONDBLCLK:
            case WM_RBUTTONDBLCLK:
            case WM_MBUTTONDBLCLK:
                message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
                break;
            }
        }
        switch (message.Msg) {
        case WM_MOUSEMOVE:
            if (Application != nullptr) Application->HintMouseMessage(this, message);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // A control dragged automatically starts a drag instead of its press.
            if (FDragMode == dmAutomatic && !ComponentState().Contains(csDesigning) && !Dragging()) {
                BeginAutoDrag();
                return;
            }
            FControlState.Include(csLButtonDown);
            break;
        case WM_LBUTTONUP:
            FControlState.Exclude(csLButtonDown);
            break;
        }
    }
    Dispatch(message);
}

void TControl::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
        WMLButtonDown(m);
        return;
    case WM_LBUTTONUP:
        WMLButtonUp(m);
        return;
    case WM_LBUTTONDBLCLK:
        WMLButtonDblClk(m);
        return;
    case WM_RBUTTONDOWN:
        WMRButtonDown(m);
        return;
    case WM_RBUTTONUP:
        WMRButtonUp(m);
        return;
    case WM_RBUTTONDBLCLK:
        WMRButtonDblClk(m);
        return;
    case WM_MBUTTONDOWN:
        WMMButtonDown(m);
        return;
    case WM_MBUTTONUP:
        WMMButtonUp(m);
        return;
    case WM_MOUSEMOVE:
        WMMouseMove(m);
        return;
    case WM_CANCELMODE:
        WMCancelMode(m);
        return;
    case WM_CONTEXTMENU:
        WMContextMenu(m);
        return;
    case CM_MOUSEENTER:
        CMMouseEnter(m);
        return;
    case CM_MOUSELEAVE:
        CMMouseLeave(m);
        return;
    case CM_MOUSEWHEEL:
        CMMouseWheel(m);
        return;
    case CM_ENABLEDCHANGED:
        CMEnabledChanged(m);
        return;
    case CM_VISIBLECHANGED:
        CMVisibleChanged(m);
        return;
    case CM_COLORCHANGED:
        CMColorChanged(m);
        return;
    case CM_FONTCHANGED:
        CMFontChanged(m);
        return;
    case CM_TEXTCHANGED:
        CMTextChanged(m);
        return;
    case CM_PARENTCOLORCHANGED:
        CMParentColorChanged(m);
        return;
    case CM_PARENTFONTCHANGED:
        CMParentFontChanged(m);
        return;
    case CM_PARENTSHOWHINTCHANGED:
        CMParentShowHintChanged(m);
        return;
    case CM_BIDIMODECHANGED:
        CMBiDiModeChanged(m);
        return;
    case CM_PARENTBIDIMODECHANGED:
        CMParentBiDiModeChanged(m);
        return;
    case CM_HITTEST:
        CMHitTest(m);
        return;
    case CM_SYSCOLORCHANGE:
        CMSysColorChange(m);
        return;
    }
    DefaultHandler(m);
}

// Windowless controls keep their text themselves.
void TControl::DefaultHandler(TMessage& m) {
    switch (m.Msg) {
    case WM_SETTEXT:
        FText = m.LParam != 0 ? reinterpret_cast<const char*>(m.LParam) : "";
        m.Result = 1;
        break;
    case WM_GETTEXT: {
        auto size = static_cast<std::size_t>(m.WParam);
        if (size == 0 || m.LParam == 0) break;
        std::size_t n = std::min(size - 1, FText.size());
        std::memcpy(reinterpret_cast<char*>(m.LParam), FText.data(), n);
        reinterpret_cast<char*>(m.LParam)[n] = 0;
        m.Result = static_cast<LRESULT>(n);
        break;
    }
    case WM_GETTEXTLENGTH:
        m.Result = static_cast<LRESULT>(FText.size());
        break;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Painting

void TControl::InvalidateControl(bool isVisible, bool isOpaque) {
    if (FParent == nullptr || !FParent->HandleAllocated() || !isVisible) return;
    if (!FParent->FShowing && !dynamic_cast<TCustomForm*>(FParent)) return;
    TRect r = BoundsRect();
    InvalidateRect(FParent->WindowHandle(), &r, !isOpaque);
}

void TControl::Invalidate() {
    InvalidateControl(FVisible, FControlStyle.Contains(csOpaque));
}

void TControl::Update() {
    if (FParent != nullptr) FParent->Update();
}

void TControl::Repaint() {
    if (FParent == nullptr || !FVisible || !FParent->HandleAllocated()) return;
    if (FControlStyle.Contains(csOpaque)) {
        // Paints itself and the windowless controls above it straight on the parent's window.
        const HWND window = FParent->WindowHandle();
        const HDC dc = GetDC(window);
        base::ScopeExit release([&] { ReleaseDC(window, dc); });
        // The clip stays until the release (the DC goes with it): the release presents what the clip holds, the
        // control's rectangle, not the parent's whole window.
        gdi::IntersectClipRect(dc, FLeft, FTop, FLeft + FWidth, FTop + FHeight);
        FParent->PaintControls(dc, this);
    } else {
        Invalidate();
        Update();
    }
}

// ---------------------------------------------------------------------------------------------------------
// Notifications

void TControl::CMEnabledChanged(TMessage&) {
    Invalidate();
}

void TControl::CMVisibleChanged(TMessage&) {
    InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque));
}

void TControl::CMColorChanged(TMessage&) {
    Invalidate();
}

void TControl::CMFontChanged(TMessage&) {
    Invalidate();
}

void TControl::CMTextChanged(TMessage&) {
    Invalidate();
}

void TControl::CMParentColorChanged(TMessage& m) {
    if (!FParentColor || FParent == nullptr) return;
    TColor color = m.WParam != 0 ? static_cast<TColor>(m.LParam) : FParent->Color();
    if (color != FColor) {
        FColor = color;
        Perform(CM_COLORCHANGED, 0, 0);
    }
    FParentColor = true;
}

void TControl::CMParentFontChanged(TMessage&) {
    if (!FParentFont || FParent == nullptr) return;
    {
        base::ValueRollback<bool> updating(FUpdatingFont, true);
        FFont->Assign(FParent->Font());
    }
    FParentFont = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
    if (!FParentShowHint || FParent == nullptr) return;
    if (FShowHint != FParent->ShowHint()) {
        FShowHint = FParent->ShowHint();
        Perform(CM_SHOWHINTCHANGED, 0, 0);
    }
    FParentShowHint = true;
}

void TControl::CMBiDiModeChanged(TMessage&) {
    Invalidate();
}

TBiDiMode TControl::InheritedBiDiMode() const {
    return FParent != nullptr ? FParent->BiDiMode() : FBiDiMode;
}

void TControl::CMParentBiDiModeChanged(TMessage&) {
    if (!FParentBiDiMode) return;
    const TBiDiMode mode = InheritedBiDiMode();
    if (mode != FBiDiMode) {
        FBiDiMode = mode;
        Perform(CM_BIDIMODECHANGED, 0, 0);
    }
    FParentBiDiMode = true;
}

void TControl::CMHitTest(TMessage& m) {
    m.Result = HTCLIENT;
}

void TControl::CMSysColorChange(TMessage&) {
}

}
