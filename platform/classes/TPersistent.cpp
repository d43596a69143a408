// TPersistent: assignment with the run time's "cannot assign" error, and the method names of bound events.
#include "platform/classes/TPersistent.h"

#include "platform/base/Strings.h"
#include "platform/classes/PropertyRegistry.h"

namespace korvex::classes {

TPersistent::~TPersistent() = default;

TClass TPersistent::StaticClass() {
    static const TClassInfo info = MakeClass<TPersistent, TObject>("TPersistent");
    return &info;
}

void TPersistent::Assign(const TPersistent* source) {
    if (source == nullptr) AssignError(nullptr);
    source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) const {
    dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const {
    std::string sourceName = source != nullptr ? source->ClassName() : std::string("nil");
    throw base::EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

void TPersistent::DefineProperties(TFiler&) {
}

const std::string& TPersistent::EventMethodName(std::string_view propertyName) const {
    static const std::string none;
    if (FEventNames)
        for (const auto& [prop, method] : *FEventNames)
            if (base::SameText(prop, std::string(propertyName))) return method;
    return none;
}

void TPersistent::SetEventMethodName(std::string_view propertyName, const std::string& methodName) {
    if (!FEventNames) FEventNames = std::make_unique<std::vector<std::pair<std::string, std::string>>>();
    for (auto& [prop, method] : *FEventNames)
        if (base::SameText(prop, std::string(propertyName))) {
            method = methodName;
            return;
        }
    FEventNames->emplace_back(std::string(propertyName), methodName);
}

}
