// TBasicAction, TCustomAction and the link that ties a client to one.
#include "platform/classes/TBasicAction.h"

#include "platform/classes/PropertyRegistry.h"

#include <algorithm>

namespace korvex::classes {

void TBasicActionLink::SetAction(TBasicAction* value) {
    if (value == FAction) return;
    if (FAction != nullptr) std::erase(FAction->FClients, this);
    FAction = value;
    if (value != nullptr) value->FClients.push_back(this);
}

bool TBasicActionLink::Execute() {
    return FAction != nullptr && FAction->Execute();
}

TBasicAction::~TBasicAction() {
    for (TBasicActionLink* link : FClients) link->FAction = nullptr;
}

TClass TBasicAction::StaticClass() {
    static const TClassInfo info = MakeClass<TBasicAction, TComponent>("TBasicAction", [](auto& p) {
        p.Event("OnExecute", &TBasicAction::OnExecute);
    });
    return &info;
}

bool TBasicAction::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

void TBasicAction::Change() {
    // A client may leave the action while it is told; tell the ones still linked.
    std::vector<TBasicActionLink*> clients = FClients;
    for (TBasicActionLink* link : clients)
        if (std::ranges::find(FClients, link) != FClients.end() && link->OnChange) link->OnChange(this);
}

TClass TCustomAction::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomAction, TBasicAction>("TCustomAction", [](auto& p) {
        p.String("Caption", &TCustomAction::Caption, &TCustomAction::SetCaption);
        p.Bool("Checked", &TCustomAction::Checked, &TCustomAction::SetChecked, false);
        p.Bool("Enabled", &TCustomAction::Enabled, &TCustomAction::SetEnabled, true);
        p.String("Hint", &TCustomAction::Hint, &TCustomAction::SetHint);
        p.Int("ImageIndex", &TCustomAction::ImageIndex, &TCustomAction::SetImageIndex, -1);
        p.Bool("Visible", &TCustomAction::Visible, &TCustomAction::SetVisible, true);
    });
    return &info;
}

void TCustomAction::SetCaption(const std::string& value) { Assign(FCaption, value); }
void TCustomAction::SetEnabled(bool value) { Assign(FEnabled, value); }
void TCustomAction::SetChecked(bool value) { Assign(FChecked, value); }
void TCustomAction::SetHint(const std::string& value) { Assign(FHint, value); }
void TCustomAction::SetImageIndex(int value) { Assign(FImageIndex, value); }
void TCustomAction::SetVisible(bool value) { Assign(FVisible, value); }

bool TCustomAction::Execute() {
    return FEnabled && TBasicAction::Execute();
}

}
