// TMethodTable: look-up of event handlers and component fields by name.
#include "platform/classes/TMethodTable.h"

#include "platform/base/Strings.h"

namespace korvex::classes {

const std::any* TMethodTable::FindMethod(std::string_view name) const {
    std::string wanted(name);
    for (const TMethod& method : FMethods)
        if (base::SameText(method.Name, wanted)) return &method.Function;
    return nullptr;
}

std::string TMethodTable::MethodName(const std::any* method) const {
    for (const TMethod& entry : FMethods)
        if (&entry.Function == method) return entry.Name;
    return {};
}

bool TMethodTable::BindField(std::string_view name, TComponent* component) const {
    std::string wanted(name);
    for (const TField& field : FFields)
        if (base::SameText(field.Name, wanted)) return field.Bind(component);
    return true;
}

}
