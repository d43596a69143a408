// A data item: its published binding, the loaded step, connecting (which fails here), new data and the error
// state.
#include "leds/iOPCItem.h"

#include "leds/iOPCClasses.h"
#include "leds/iVCLComponent.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Strings.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TComponent.h"

namespace korvex::leds {

using namespace classes;

TiOPCItem::TiOPCItem(TiOPCItemManager* manager)
    : FManager(manager) {
}

TiOPCItem::~TiOPCItem() {
    Disconnect();
}

TClass TiOPCItem::StaticClass() {
    // No defaults for the numbers and flags: they are always streamed.
    static const TClassInfo info = MakeClass<TiOPCItem, TPersistent>("TiOPCItem", [](auto& p) {
        p.String("PropertyName", &TiOPCItem::PropertyName, &TiOPCItem::SetPropertyName);
        p.String("ComputerName", &TiOPCItem::ComputerName, &TiOPCItem::SetComputerName);
        p.String("ServerName", &TiOPCItem::ServerName, &TiOPCItem::SetServerName);
        p.String("ItemName", &TiOPCItem::ItemName, &TiOPCItem::SetItemName);
        p.Int("UpdateRate", &TiOPCItem::UpdateRate, &TiOPCItem::SetUpdateRate);
        p.Bool("AutoConnect", &TiOPCItem::AutoConnect, &TiOPCItem::SetAutoConnect);
        p.Bool("AutoError", &TiOPCItem::AutoError, &TiOPCItem::SetAutoError);
    });
    return &info;
}

TPersistent* TiOPCItem::GetOwner() const {
    return FManager != nullptr ? FManager->Owner() : nullptr;
}

void TiOPCItem::Reconnect() {
    if (FActive) Connect();
}

void TiOPCItem::SetComputerName(const std::string& value) {
    FComputerName = value;
    Reconnect();
}

void TiOPCItem::SetServerName(const std::string& value) {
    FServerName = value;
    Reconnect();
}

void TiOPCItem::SetItemName(const std::string& value) {
    FItemName = value;
    Reconnect();
}

void TiOPCItem::SetUpdateRate(int value) {
    FUpdateRate = value;
    Reconnect();
}

void TiOPCItem::SetAutoConnect(bool value) {
    FAutoConnect = value;
    Reconnect();
}

void TiOPCItem::SetAutoError(bool value) {
    if (value == FAutoError) return;
    FAutoError = value;
    if (value) RefreshErrorState();
}

void TiOPCItem::Loaded() {
    if (FAutoError) RefreshErrorState();
    if (FAutoConnect && (FManager == nullptr || !FManager->IsDesigning())) Connect();
}

bool TiOPCItem::Complete() const {
    return !base::Trim(FPropertyName).empty() && !base::Trim(FServerName).empty() && !base::Trim(FItemName).empty();
}

void TiOPCItem::Connect() {
    if (FAutoError) RefreshErrorState();
    if (FActive) Disconnect();
    if (!Complete()) return;
    FActive = true;
    // Data-access servers are reached through COM, which this system does not have: making the server object,
    // the first step, fails on this machine and on any other, and the failure goes to the caller.
    const std::string machine = base::Trim(FComputerName);
    const char* cause = base::SameText(machine, "LOCAL") ? "Unable to convert ProgID to CLSID"
                                                          : "Unable to Create IOPCServerList Object";
    throw base::Exception(std::string("Exception : Failed to Connect to Server - ") + cause);
}

void TiOPCItem::Disconnect() {
    FActive = false;
}

void TiOPCItem::DataChange(const TiOPCValue& value, int quality, double timeStamp) {
    if (!FActive) return;   // a callback of a connection already given up
    FData = value;
    FQuality = quality;
    FTimeStamp = timeStamp;
    if (FAutoError) RefreshErrorState();
    if (FManager != nullptr) FManager->NewData(this);
}

void TiOPCItem::RefreshErrorState() {
    if (!FActive || FManager == nullptr) return;
    if (auto* control = dynamic_cast<TiVCLComponent*>(FManager->Owner()))
        control->SetErrorActive(!OPCQualityGood(FQuality));
}

}
