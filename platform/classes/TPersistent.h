// TPersistent: objects that can copy themselves onto others and be streamed through their published properties.
#pragma once

#include "platform/classes/TObject.h"

#include <string>
#include <utility>
#include <vector>

namespace korvex::classes {

class TPersistent : public TObject {
public:
    ~TPersistent() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Copies source onto this object. The default asks source->AssignTo(this), and the default AssignTo
    // raises EConvertError "Cannot assign a TSource to a TDest" ("a nil" for a null source).
    virtual void Assign(const TPersistent* source);

    // The object that owns this one for streaming and names (a collection's owner, a sub-object's control).
    virtual TPersistent* GetOwner() const { return nullptr; }

    // Entries streamed beside the published properties ("PositionMax_2", "OPCItems", a bitmap's "Data"):
    // an override calls the inherited one, then filer.DefineProperty / DefineBinaryProperty per entry.
    virtual void DefineProperties(TFiler& filer);

    // The method name an event property was bound to by streaming, for writing it back ("" when none).
    const std::string& EventMethodName(std::string_view propertyName) const;
    void SetEventMethodName(std::string_view propertyName, const std::string& methodName);

protected:
    virtual void AssignTo(TPersistent* dest) const;
    [[noreturn]] void AssignError(const TPersistent* source) const;

private:
    std::unique_ptr<std::vector<std::pair<std::string, std::string>>> FEventNames;
};

}
