// LED component base, data items: the stream entry "OPCItems", new data from an item, writing a value back.
#include "leds/iOPCClasses.h"
#include "leds/iOPCFunctions.h"
#include "leds/iOPCItem.h"
#include "leds/iVCLComponent.h"
#include "platform/base/Exceptions.h"
#include "platform/base/ScopeGuard.h"
#include "platform/base/Strings.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TWriter.h"

#include <utility>

namespace korvex::leds {

using namespace classes;

namespace {

// Reads past one value of any kind the reader has calls for.
void SkipValue(TReader& reader) {
    switch (reader.NextValue()) {
    case TValueType::vaInt:
        reader.ReadInteger();
        return;
    case TValueType::vaFloat:
        reader.ReadFloat();
        return;
    case TValueType::vaString:
        reader.ReadString();
        return;
    case TValueType::vaIdent:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
        reader.ReadIdent();
        return;
    case TValueType::vaList:
        reader.ReadListBegin();
        while (!reader.EndOfList())
            SkipValue(reader);
        reader.ReadListEnd();
        return;
    default:
        reader.Error("Collection expected");
    }
}

}

void TiVCLComponent::DefineProperties(TFiler& filer) {
    TiComponent::DefineProperties(filer);
    filer.DefineProperty(
        "OPCItems", [this](TReader& reader) { ReadOPCItems(reader); },
        [this](TWriter& writer) { WriteOPCItems(writer); }, FOPCItemManager->Count() > 0);
}

void TiVCLComponent::ReadOPCItems(TReader& reader) {
    FOPCItemManager->Clear();
    if (reader.NextValue() != TValueType::vaCollection) {
        SkipValue(reader);
        return;
    }
    // Each item runs its loaded step once its properties are read, before the next one is made.
    TiOPCItem* read = nullptr;
    reader.ReadCollectionItems([&]() -> TPersistent* {
        if (read != nullptr) std::exchange(read, nullptr)->Loaded();
        read = FOPCItemManager->Add();
        return read;
    });
    if (read != nullptr) read->Loaded();
}

void TiVCLComponent::WriteOPCItems(TWriter& writer) {
    writer.WriteCollectionItems(
        FOPCItemManager->Count(), [this](int index) -> const TPersistent* { return FOPCItemManager->Items(index); });
}

bool TiVCLComponent::iDoNewData(TiOPCItem* item) {
    (void)item;
    return false;
}

// A value that does not fit the property is dropped: new data never raises into the item's server.
void TiVCLComponent::NewOPCData(TiOPCItem* item) {
    if (item == nullptr || item->PropertyName().empty()) return;
    const int index = FOPCItemManager->IndexOf(item);
    TiOPCValue data = item->Data();
    if (OnBeforeNewOPCData) OnBeforeNewOPCData(this, index, data);
    base::ValueRollback<bool> handling(FHandlingNewData, true);
    if (OPCQualityGood(item->Quality()) && !iDoNewData(item))
        SetPropertyFromOPCValue(*this, item->PropertyName(), data);
    if (OnNewOPCData) OnNewOPCData(this, index);
}

// While new data is being set, a setter writing its value back gets false (no echo to the server).
bool TiVCLComponent::WriteItemValue(const std::string& propertyName, const TiOPCValue& value) {
    (void)value;
    if (FHandlingNewData) {
        FHandlingNewData = false;
        return false;
    }
    for (int i = 0; i < FOPCItemManager->Count(); ++i) {
        TiOPCItem* item = FOPCItemManager->Items(i);
        if (item->Active() && base::SameText(item->PropertyName(), propertyName))
            throw base::Exception("Data Write Failure - Not Connected to Server");
    }
    return false;
}

}
