// TToolButton: a button of a tool bar, kept in step with its native button.
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TToolBar.h"
#include "platform/user/Messages.h"
#include "platform/user/controls/ToolBar.h"

#include <algorithm>

namespace korvex::classes {

using namespace user;

TToolButton::TToolButton(TComponent* owner)
    : TGraphicControl(owner) {
    FControlStyle = TControlStyle {csCaptureMouse, csSetCaption, csClickEvents};
    SetBounds(Left(), Top(), 23, 22);
}

TToolButton::~TToolButton() {
    if (FToolBar != nullptr) FToolBar->RemoveButton(this);
    FToolBar = nullptr;
}

TClass TToolButton::StaticClass() {
    static const TClassInfo info = MakeClass<TToolButton, TGraphicControl>("TToolButton", [](auto& p) {
        p.Bool("AllowAllUp", &TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp, false);
        p.Component("DropdownMenu", &TToolButton::DropdownMenuComponent, &TToolButton::SetDropdownMenuComponent)
            .Info()
            .ObjectClassOf
            = &TPopupMenu::StaticClass;
        p.Bool("Down", &TToolButton::Down, &TToolButton::SetDown, false);
        p.Bool("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped, false);
        p.Int("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex, -1);
        p.Bool("Indeterminate", &TToolButton::Indeterminate, &TToolButton::SetIndeterminate, false);
        p.Bool("Marked", &TToolButton::Marked, &TToolButton::SetMarked, false);
        p.Enum("Style", &TToolButton::Style, &TToolButton::SetStyle, ToolButtonStyleIdents, tbsButton);
        p.Bool("Wrap", &TToolButton::Wrap, &TToolButton::SetWrap, false);
    });
    return &info;
}

void TToolButton::SetDropdownMenu(TPopupMenu* value) {
    if (value == FDropdownMenu) return;
    if (FDropdownMenu != nullptr) FDropdownMenu->RemoveFreeNotification(this);
    FDropdownMenu = value;
    if (FDropdownMenu != nullptr) FDropdownMenu->FreeNotification(this);
}

TComponent* TToolButton::DropdownMenuComponent() const {
    return FDropdownMenu;
}

void TToolButton::SetDropdownMenuComponent(TComponent* value) {
    auto* menu = dynamic_cast<TPopupMenu*>(value);
    if (value != nullptr && menu == nullptr) return;
    SetDropdownMenu(menu);
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == FDropdownMenu) FDropdownMenu = nullptr;
}

int TToolButton::Index() const {
    if (FToolBar == nullptr) return -1;
    const auto& buttons = FToolBar->FButtons;
    auto it = std::find(buttons.begin(), buttons.end(), this);
    return it == buttons.end() ? -1 : int(it - buttons.begin());
}

void TToolButton::SetParent(TWinControl* value) {
    auto* bar = dynamic_cast<TToolBar*>(value);
    if (FToolBar != nullptr && FToolBar != bar) {
        TToolBar* old = FToolBar;
        FToolBar = nullptr;
        old->RemoveButton(this);
    }
    TGraphicControl::SetParent(value);
    if (bar != nullptr && FToolBar != bar) {
        FToolBar = bar;
        bar->InsertButton(this);
    }
}

void TToolButton::Changed(bool layout) {
    if (FToolBar == nullptr) return;
    if (layout)
        FToolBar->RecreateButtons();
    else
        FToolBar->UpdateButton(Index());
}

void TToolButton::SetStyle(TToolButtonStyle value) {
    if (value == FStyle) return;
    bool wasSeparator = FStyle == tbsSeparator || FStyle == tbsDivider;
    FStyle = value;
    bool separator = value == tbsSeparator || value == tbsDivider;
    if (separator != wasSeparator && !ComponentState().Contains(csLoading)) SetWidth(separator ? 8 : 23);
    Changed(true);
}

void TToolButton::SetImageIndex(int value) {
    if (value == FImageIndex) return;
    FImageIndex = value;
    Changed(false);
}

void TToolButton::SetDown(bool value) {
    if (value == FDown) return;
    if (!value && FGrouped && !FAllowAllUp && FStyle == tbsCheck && !ComponentState().Contains(csLoading)) return;
    FDown = value;
    // One button of a group is down: the others of the run of grouped check buttons go up.
    if (value && FGrouped && FToolBar != nullptr) {
        int index = Index();
        for (int dir : {-1, 1})
            for (TToolButton* b = FToolBar->Buttons(index + dir); b != nullptr && b->FGrouped && b->FStyle == tbsCheck;
                 b = FToolBar->Buttons(b->Index() + dir))
                if (b->FDown) {
                    b->FDown = false;
                    b->Changed(false);
                }
    }
    Changed(false);
}

void TToolButton::SetGrouped(bool value) {
    if (value == FGrouped) return;
    FGrouped = value;
    Changed(false);
}

void TToolButton::SetAllowAllUp(bool value) {
    FAllowAllUp = value;
}

void TToolButton::SetWrap(bool value) {
    if (value == FWrap) return;
    FWrap = value;
    Changed(false);
}

void TToolButton::SetIndeterminate(bool value) {
    if (value == FIndeterminate) return;
    FIndeterminate = value;
    Changed(false);
}

void TToolButton::SetMarked(bool value) {
    if (value == FMarked) return;
    FMarked = value;
    Changed(false);
}

void TToolButton::Click() {
    TGraphicControl::Click();
}

void TToolButton::Paint() {
    // The bar draws its buttons; at design time an empty separator still shows where it is.
}

void TToolButton::WndProc(TMessage& message) {
    // The bar's native window takes the mouse over its buttons.
    if (message.Msg == CM_HITTEST && !ComponentState().Contains(csDesigning)) {
        message.Result = 0;
        return;
    }
    TGraphicControl::WndProc(message);
    switch (message.Msg) {
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
        Changed(false);
        break;
    case CM_VISIBLECHANGED:
        Changed(true);
        break;
    default:
        break;
    }
}

}
