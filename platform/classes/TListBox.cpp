// TCustomListBox and TListBox: styles, items and selection through the window, owner drawing.
#include "platform/classes/TListBox.h"

#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Messages.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/ListBox.h"
#include "platform/user/controls/StandardClasses.h"

#include <string>

namespace korvex::classes {

using namespace user;

TCustomListBox::TCustomListBox(TComponent* owner)
    : TListControl(owner, ListBoxMessages) {
    RegisterStandardClasses();
    FControlStyle = TControlStyle {csSetCaption, csDoubleClicks, csOpaque};
    SetBounds(Left(), Top(), 121, 97);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomListBox::~TCustomListBox() = default;

TClass TCustomListBox::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomListBox, TListControl>("TCustomListBox");
    return &info;
}

void TCustomListBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, ListBoxClassName);
    params.Style |= WS_VSCROLL | LBS_HASSTRINGS | LBS_NOTIFY;
    if (FSorted) params.Style |= LBS_SORT;
    if (FStyle == lbOwnerDrawFixed) params.Style |= LBS_OWNERDRAWFIXED;
    if (FStyle == lbOwnerDrawVariable) params.Style |= LBS_OWNERDRAWVARIABLE;
    if (FMultiSelect) params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (!FIntegralHeight) params.Style |= LBS_NOINTEGRALHEIGHT;
    if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd() {
    TWinControl::CreateWnd();
    HWND h = WindowHandle();
    if (FStyle != lbStandard) SendMessage(h, LB_SETITEMHEIGHT, 0, FItemHeight);
    FItems->MoveIntoWindow();
    SetItemIndex(FItemIndex);
    SendMessage(h, LB_SETTOPINDEX, WPARAM(FTopIndex), 0);
}

void TCustomListBox::DestroyWnd() {
    FItemIndex = ItemIndex();
    FTopIndex = TopIndex();
    FItems->MoveOutOfWindow();
    TWinControl::DestroyWnd();
}

void TCustomListBox::Loaded() {
    TWinControl::Loaded();
    if (HandleAllocated()) SetItemIndex(FItemIndex);
}

// ---------------------------------------------------------------------------------------------------------
// Properties

int TCustomListBox::ItemIndex() const {
    if (!HandleAllocated()) return FItemIndex;
    const LRESULT index = FMultiSelect ? SendMessage(WindowHandle(), LB_GETCARETINDEX, 0, 0)
                                       : SendMessage(WindowHandle(), LB_GETCURSEL, 0, 0);
    if (FMultiSelect && SendMessage(WindowHandle(), LB_GETCOUNT, 0, 0) == 0) return -1;
    return index < 0 ? -1 : int(index);
}

void TCustomListBox::SetItemIndex(int value) {
    if (!HandleAllocated() || ComponentState().Contains(csLoading)) {
        FItemIndex = value;
        return;
    }
    if (FMultiSelect)
        SendMessage(WindowHandle(), LB_SETCARETINDEX, WPARAM(value), 0);
    else
        SendMessage(WindowHandle(), LB_SETCURSEL, WPARAM(value), 0);
}

void TCustomListBox::SetStyle(TListBoxStyle value) {
    if (FStyle == value) return;
    FStyle = value;
    if (HandleAllocated()) RecreateWnd();
}

int TCustomListBox::ItemHeight() const {
    if (FStyle == lbStandard && HandleAllocated()) return int(SendMessage(WindowHandle(), LB_GETITEMHEIGHT, 0, 0));
    return FItemHeight;
}

void TCustomListBox::SetItemHeight(int value) {
    if (value <= 0 || FItemHeight == value) return;
    FItemHeight = value;
    if (HandleAllocated() && FStyle == lbOwnerDrawFixed) SendMessage(WindowHandle(), LB_SETITEMHEIGHT, 0, value);
}

void TCustomListBox::SetSorted(bool value) {
    if (FSorted == value) return;
    FSorted = value;
    FItems->SetSorted(value);
    if (HandleAllocated()) RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool value) {
    if (FMultiSelect == value) return;
    FMultiSelect = value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool value) {
    if (FExtendedSelect == value) return;
    FExtendedSelect = value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool value) {
    if (FIntegralHeight == value) return;
    FIntegralHeight = value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TFormBorderStyle value) {
    if (value != bsNone) value = bsSingle;
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    if (HandleAllocated()) RecreateWnd();
}

int TCustomListBox::TopIndex() const {
    if (!HandleAllocated()) return FTopIndex;
    return int(SendMessage(WindowHandle(), LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(int value) {
    FTopIndex = value;
    if (HandleAllocated()) SendMessage(WindowHandle(), LB_SETTOPINDEX, WPARAM(value), 0);
}

bool TCustomListBox::Selected(int index) const {
    if (!HandleAllocated()) {
        if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
        return index == FItemIndex;
    }
    const LRESULT selected = SendMessage(WindowHandle(), LB_GETSEL, WPARAM(index), 0);
    if (selected < 0) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return selected != 0;
}

void TCustomListBox::SetSelected(int index, bool value) {
    HWND h = const_cast<TCustomListBox*>(this)->Handle();
    if (!h) return;
    if (FMultiSelect) {
        if (SendMessage(h, LB_SETSEL, value ? 1 : 0, LPARAM(index)) < 0)
            throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    } else if (value) {
        if (SendMessage(h, LB_SETCURSEL, WPARAM(index), 0) < 0)
            throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    } else if (ItemIndex() == index) {
        SendMessage(h, LB_SETCURSEL, WPARAM(-1), 0);
    }
}

int TCustomListBox::SelCount() const {
    if (!FMultiSelect || !HandleAllocated()) return -1;
    return int(SendMessage(WindowHandle(), LB_GETSELCOUNT, 0, 0));
}

int TCustomListBox::ItemAtPos(TPoint pos, bool existing) const {
    if (!HandleAllocated()) return -1;
    const LRESULT hit = SendMessage(WindowHandle(), LB_ITEMFROMPOINT, 0, PointToLParam(pos));
    const int index = int(LOWORD(std::uintptr_t(hit)));
    const bool outside = HIWORD(std::uintptr_t(hit)) != 0;
    if (index == 0xFFFF) return existing ? -1 : 0;
    if (existing && outside) return -1;
    return index;
}

TRect TCustomListBox::ItemRect(int index) const {
    TRect r {0, 0, 0, 0};
    if (HandleAllocated()) SendMessage(WindowHandle(), LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

// ---------------------------------------------------------------------------------------------------------
// Notifications

void TCustomListBox::CNCommand(TMessage& m) {
    switch (HIWORD(m.WParam)) {
    case LBN_SELCHANGE:
        Click();
        break;
    case LBN_DBLCLK:
        DblClick();
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------------------
// TListBox

TListBox::TListBox(TComponent* owner)
    : TCustomListBox(owner) {
}

TClass TListBox::StaticClass() {
    static const TClassInfo info = MakeClass<TListBox, TCustomListBox>("TListBox", [](auto& p) {
        p.Enum("BorderStyle", &TListBox::BorderStyle, &TListBox::SetBorderStyle, FormBorderStyleIdents, bsSingle);
        p.Color("Color", &TListBox::Color, &TListBox::SetColor, clWindow);
        p.Bool("ExtendedSelect", &TListBox::ExtendedSelect, &TListBox::SetExtendedSelect, true);
        p.Bool("IntegralHeight", &TListBox::IntegralHeight, &TListBox::SetIntegralHeight, false);
        p.Int("ItemHeight", &TListBox::ItemHeight, &TListBox::SetItemHeight, 16).Stored(&TListBox::IsItemHeightStored);
        p.Object("Items", &TListBox::Items, &TListBox::SetItems);
        p.Int("ItemIndex", &TListBox::ItemIndex, &TListBox::SetItemIndex, -1);
        p.Bool("MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect, false);
        p.Bool("ParentColor", &TListBox::ParentColor, &TListBox::SetParentColor, false);
        p.Bool("Sorted", &TListBox::Sorted, &TListBox::SetSorted, false);
        p.Enum("Style", &TListBox::Style, &TListBox::SetStyle, ListBoxStyleIdents, lbStandard);
        p.Bool("TabStop", &TListBox::TabStop, &TListBox::SetTabStop, true);
        p.Event("OnDrawItem", &TListBox::OnDrawItem);
        p.Event("OnMeasureItem", &TListBox::OnMeasureItem);
    });
    return &info;
}

}
