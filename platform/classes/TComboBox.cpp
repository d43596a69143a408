// TCustomComboBox and TComboBox: styles, items, the choice and its events, the subclassed edit and list.
#include "platform/classes/TComboBox.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TForm.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Focus.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ComboBox.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/StandardClasses.h"

#include <algorithm>

namespace korvex::classes {

using namespace user;

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TListControl(owner, ComboBoxMessages) {
    RegisterStandardClasses();
    FControlStyle = TControlStyle {csSetCaption, csDoubleClicks, csFixedHeight};
    SetBounds(Left(), Top(), 145, 21);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomComboBox::~TCustomComboBox() {
    // A plain delete leaves the window to the base destructor, after this part is gone: the edit and list
    // must not reach ComboWndProc any more.
    UnhookChildren();
    if (FEditInstance) user::FreeObjectInstance(FEditInstance);
    if (FListInstance) user::FreeObjectInstance(FListInstance);
    FEditInstance = FListInstance = nullptr;
}

TClass TCustomComboBox::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomComboBox, TListControl>("TCustomComboBox");
    return &info;
}

void TCustomComboBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, ComboBoxClassName);
    params.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL;
    switch (FStyle) {
    case csDropDown:
        params.Style |= CBS_DROPDOWN;
        break;
    case csSimple:
        params.Style |= CBS_SIMPLE;
        break;
    case csDropDownList:
        params.Style |= CBS_DROPDOWNLIST;
        break;
    case csOwnerDrawFixed:
        params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED;
        break;
    case csOwnerDrawVariable:
        params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE;
        break;
    }
    if (FSorted) params.Style |= CBS_SORT;
    if (FCharCase == ecUpperCase) params.Style |= CBS_UPPERCASE;
    if (FCharCase == ecLowerCase) params.Style |= CBS_LOWERCASE;
}

void TCustomComboBox::CreateWnd() {
    TWinControl::CreateWnd();
    HWND h = WindowHandle();
    if (IsItemHeightStored()) {
        SendMessage(h, CB_SETITEMHEIGHT, WPARAM(-1), FItemHeight);
        SendMessage(h, CB_SETITEMHEIGHT, 0, FItemHeight);
    }
    SendMessage(h, CB_LIMITTEXT, WPARAM(FMaxLength), 0);
    HookChildren();
    const std::string text = Text();
    FItems->MoveIntoWindow();
    if (FItemIndex >= 0 && !ComponentState().Contains(csLoading))
        SendMessage(h, CB_SETCURSEL, WPARAM(std::min(FItemIndex, FItems->Count() - 1)), 0);
    else if (FEditHandle && !text.empty())
        SetWindowText(h, text);
    UpdateBounds();
}

void TCustomComboBox::DestroyWnd() {
    if (!ComponentState().Contains(csLoading)) FItemIndex = ItemIndex();
    FItems->MoveOutOfWindow();
    UnhookChildren();
    TWinControl::DestroyWnd();
    if (FEditInstance) user::FreeObjectInstance(FEditInstance);
    if (FListInstance) user::FreeObjectInstance(FListInstance);
    FEditInstance = FListInstance = nullptr;
    FEditProc = FListProc = nullptr;
    FEditHandle = FListHandle = nullptr;
}

void TCustomComboBox::Loaded() {
    TWinControl::Loaded();
    if (HandleAllocated() && FItemIndex >= 0) SetItemIndex(FItemIndex);
}

void TCustomComboBox::HookChildren() {
    COMBOBOXINFO info;
    if (!GetComboBoxInfo(WindowHandle(), &info)) return;
    FEditHandle = info.hwndItem;
    FListHandle = info.hwndList;
    auto hook = [this](HWND window, WNDPROC& previous, WNDPROC& instance) {
        if (!window) return;
        instance = MakeObjectInstance([this, &previous](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
            TMessage message {msg, wParam, lParam, 0};
            ComboWndProc(message, hwnd, previous);
            return message.Result;
        });
        if (instance) previous = ProcFromLong(SetWindowLongPtr(window, GWL_WNDPROC, LongFromProc(instance)));
    };
    hook(FEditHandle, FEditProc, FEditInstance);
    hook(FListHandle, FListProc, FListInstance);
}

void TCustomComboBox::UnhookChildren() {
    // Put back only where ours is still the outermost procedure.
    if (FEditHandle && IsWindow(FEditHandle)
        && ProcFromLong(GetWindowLongPtr(FEditHandle, GWL_WNDPROC)) == FEditInstance)
        SetWindowLongPtr(FEditHandle, GWL_WNDPROC, LongFromProc(FEditProc));
    if (FListHandle && IsWindow(FListHandle)
        && ProcFromLong(GetWindowLongPtr(FListHandle, GWL_WNDPROC)) == FListInstance)
        SetWindowLongPtr(FListHandle, GWL_WNDPROC, LongFromProc(FListProc));
}

// ---------------------------------------------------------------------------------------------------------
// Properties

int TCustomComboBox::ItemIndex() const {
    if (!HandleAllocated() || ComponentState().Contains(csLoading)) return FItemIndex;
    const LRESULT index = SendMessage(WindowHandle(), CB_GETCURSEL, 0, 0);
    return index < 0 ? -1 : int(index);
}

void TCustomComboBox::SetItemIndex(int value) {
    if (!HandleAllocated() || ComponentState().Contains(csLoading)) {
        FItemIndex = value;
        return;
    }
    if (ItemIndex() != value) SendMessage(WindowHandle(), CB_SETCURSEL, WPARAM(value), 0);
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
    if (FStyle == value) return;
    FStyle = value;
    if (HandleAllocated()) RecreateWnd();
}

int TCustomComboBox::ItemHeight() const {
    if (!IsItemHeightStored() && HandleAllocated()) return int(SendMessage(WindowHandle(), CB_GETITEMHEIGHT, 0, 0));
    return FItemHeight;
}

void TCustomComboBox::SetItemHeight(int value) {
    if (value <= 0 || FItemHeight == value) return;
    FItemHeight = value;
    if (HandleAllocated() && IsItemHeightStored()) {
        SendMessage(WindowHandle(), CB_SETITEMHEIGHT, WPARAM(-1), value);
        SendMessage(WindowHandle(), CB_SETITEMHEIGHT, 0, value);
        UpdateBounds();
    }
}

void TCustomComboBox::SetSorted(bool value) {
    if (FSorted == value) return;
    FSorted = value;
    FItems->SetSorted(value);
    if (HandleAllocated()) RecreateWnd();
}

void TCustomComboBox::SetMaxLength(int value) {
    value = std::max(value, 0);
    if (FMaxLength == value) return;
    FMaxLength = value;
    if (HandleAllocated()) SendMessage(WindowHandle(), CB_LIMITTEXT, WPARAM(value), 0);
}

void TCustomComboBox::SetCharCase(TEditCharCase value) {
    if (FCharCase == value) return;
    FCharCase = value;
    if (HandleAllocated()) RecreateWnd();
}

bool TCustomComboBox::DroppedDown() const {
    return HandleAllocated() && SendMessage(WindowHandle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool value) {
    if (!HandleAllocated() || DroppedDown() == value) return;
    SendMessage(WindowHandle(), CB_SHOWDROPDOWN, value ? 1 : 0, 0);
    Invalidate();
}

bool TCustomComboBox::Focused() const {
    if (!HandleAllocated()) return false;
    HWND focus = GetFocus();
    return focus != nullptr && (focus == WindowHandle() || focus == FEditHandle || focus == FListHandle);
}

void TCustomComboBox::Clear() {
    SetText("");
    FItems->Clear();
    FItemIndex = -1;
}

void TCustomComboBox::SelectAll() {
    if (HandleAllocated()) SendMessage(WindowHandle(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

// ---------------------------------------------------------------------------------------------------------
// Messages

void TCustomComboBox::ComboWndProc(TMessage& message, HWND window, WNDPROC previous) {
    TComponentWatch self(this);   // the key events may free the box
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (FocusMessageDropped(message)) return;
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (window != FListHandle && DoKeyDown(message)) return;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (window != FListHandle && DoKeyUp(message)) return;
        break;
    case WM_CHAR:
        if (DoKeyPress(message)) return;
        break;
    default:
        break;
    }
    if (!self.Alive()) return;
    message.Result = CallWindowProc(previous, window, message.Msg, message.WParam, message.LParam);
}

void TCustomComboBox::CNCommand(TMessage& m) {
    switch (HIWORD(m.WParam)) {
    case CBN_SELCHANGE:
        if (RunUserCode(this, [this] { Click(); })) Select();
        break;
    case CBN_EDITCHANGE:
        Change();
        break;
    case CBN_DROPDOWN:
        if (RunUserCode(this, [this] { DropDown(); })) AdjustDropDown();
        break;
    case CBN_CLOSEUP:
        CloseUp();
        break;
    case CBN_DBLCLK:
        DblClick();
        break;
    default:
        break;
    }
}

void TCustomComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::DropDown() {
    if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
    if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::AdjustDropDown() {
    if (!HandleAllocated()) return;
    const int shown = std::clamp(FItems->Count(), 1, std::max(1, FDropDownCount));
    int itemHeight = int(SendMessage(WindowHandle(), CB_GETITEMHEIGHT, 0, 0));
    if (itemHeight <= 0) itemHeight = FItemHeight;
    const RECT window = WindowRect(WindowHandle());
    user::SetWindowPos(WindowHandle(), nullptr, 0, 0, window.Width(), itemHeight * shown + window.Height() + 2,
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

// ---------------------------------------------------------------------------------------------------------
// TComboBox

TComboBox::TComboBox(TComponent* owner)
    : TCustomComboBox(owner) {
}

TClass TComboBox::StaticClass() {
    static const TClassInfo info = MakeClass<TComboBox, TCustomComboBox>("TComboBox", [](auto& p) {
        p.Enum("Style", &TComboBox::Style, &TComboBox::SetStyle, ComboBoxStyleIdents, csDropDown);
        p.Enum("CharCase", &TComboBox::CharCase, &TComboBox::SetCharCase, EditCharCaseIdents, ecNormal);
        p.Color("Color", &TComboBox::Color, &TComboBox::SetColor, clWindow);
        p.Int("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount, 8);
        p.Int("ItemHeight", &TComboBox::ItemHeight, &TComboBox::SetItemHeight, 16)
            .Stored(&TComboBox::IsItemHeightStored);
        p.Int("MaxLength", &TComboBox::MaxLength, &TComboBox::SetMaxLength, 0);
        p.Bool("ParentColor", &TComboBox::ParentColor, &TComboBox::SetParentColor, false);
        p.Bool("Sorted", &TComboBox::Sorted, &TComboBox::SetSorted, false);
        p.Bool("TabStop", &TComboBox::TabStop, &TComboBox::SetTabStop, true);
        p.String("Text", &TComboBox::Text, &TComboBox::SetText);
        p.Object("Items", &TComboBox::Items, &TComboBox::SetItems);
        p.Int("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex, -1);
        p.Event("OnChange", &TComboBox::OnChange);
        p.Event("OnCloseUp", &TComboBox::OnCloseUp);
        p.Event("OnDrawItem", &TComboBox::OnDrawItem);
        p.Event("OnDropDown", &TComboBox::OnDropDown);
        p.Event("OnMeasureItem", &TComboBox::OnMeasureItem);
        p.Event("OnSelect", &TComboBox::OnSelect);
    });
    return &info;
}

}
