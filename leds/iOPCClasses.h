// The item manager: the data items a control owns, and the control's answers the items ask for.
#pragma once

#include "platform/classes/TObject.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvex::classes {
class TComponent;
}

namespace korvex::leds {

class TiOPCItem;

class TiOPCItemManager : public classes::TObject {
public:
    explicit TiOPCItemManager(classes::TComponent* owner);
    ~TiOPCItemManager() override;   // frees (and so disconnects) every item

    classes::TComponent* Owner() const { return FOwner; }

    int Count() const { return static_cast<int>(FItems.size()); }
    TiOPCItem* Items(int index) const;   // raises EListError out of range
    int IndexOf(const TiOPCItem* item) const;   // -1 when not held
    TiOPCItem* Add();   // a new item at the end
    void Delete(int index);
    void Clear();

    // Set by the control.
    std::function<bool()> OnIsDesigning;
    std::function<void(TiOPCItem* item)> OnNewData;
    std::function<int(const std::string& propertyName)> OnRequestedDataType;

    bool IsDesigning() const { return OnIsDesigning ? OnIsDesigning() : false; }
    int RequestedDataType(const std::string& propertyName) const;
    void NewData(TiOPCItem* item);

private:
    classes::TComponent* FOwner = nullptr;
    std::vector<std::unique_ptr<TiOPCItem>> FItems;
};

}
