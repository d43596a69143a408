// TacListLink: a tree's or combo box's link to a file list.
#include "skin/windows/shell/acShellLinks.h"

#include "platform/base/Exceptions.h"
#include "platform/classes/TComponent.h"

namespace korvex::skin {

void TacListLink::Set(classes::TComponent* holder, IacShellListLink* list) {
    FList = list;
    FComponent = list != nullptr ? list->LinkedComponent() : nullptr;
    if (FComponent != nullptr) holder->FreeNotification(FComponent);
}

void TacListLink::Forget(const classes::TComponent* removed) {
    if (removed == nullptr || removed != FComponent) return;
    FList = nullptr;
    FComponent = nullptr;
}

IacShellListLink* TacListLink::FromComponent(classes::TComponent* value) {
    auto* list = dynamic_cast<IacShellListLink*>(value);
    if (value != nullptr && list == nullptr) throw base::Exception(value->Name() + " is no shell file list");
    return list;
}

}
