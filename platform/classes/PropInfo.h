// Published properties: what the registry holds of one property, and typed access by name and dotted path.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/Errors.h"
#include "platform/classes/TPersistent.h"

#include <any>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace korvex::classes {

enum class TPropKind {
    Integer,   // any integer type, streamed as a decimal number
    Boolean,   // False / True
    Enum,   // an enumeration streamed by its value name
    Set,   // TSet<E>, an integer bit mask or std::bitset, streamed as [name, name]
    String,   // std::string (UTF-8)
    Float,   // double (or float)
    Color,   // TColor, streamed by name (clRed, clBtnFace) or as a number
    Object,   // an owned TPersistent sub-object: its properties stream with dotted names, a TCollection as <items>
    Component,   // a reference to a component, streamed by name and resolved after the whole tree is read
    Event,   // a std::function member, streamed by the name of the method it is bound to
};

// Value names of an enumeration by ordinal, or of a set's elements by bit. Keep the array alive (static).
using TIdentNames = std::span<const std::string_view>;
inline constexpr std::string_view BooleanIdents[] = {"False", "True"};

// One published property. Accessors work on the object the property belongs to; only those of its kind are set.
class TPropInfo {
public:
    std::string Name;
    TPropKind Kind = TPropKind::Integer;
    TIdentNames Names;   // Enum, Set (Boolean uses BooleanIdents)
    TClass (*ObjectClassOf)() = nullptr;   // Object, Component: the declared class (asked late: a class may
                                           // publish a reference to its own kind)
    TClass ObjectClass() const { return ObjectClassOf != nullptr ? ObjectClassOf() : nullptr; }

    std::function<std::int64_t(const TPersistent&)> GetOrd;   // Integer, Boolean, Enum, Set (bits), Color
    std::function<void(TPersistent&, std::int64_t)> SetOrd;
    std::function<double(const TPersistent&)> GetFloat;
    std::function<void(TPersistent&, double)> SetFloat;
    std::function<std::string(const TPersistent&)> GetString;
    std::function<void(TPersistent&, const std::string&)> SetString;
    std::function<TPersistent*(const TPersistent&)> GetObject;   // Object, Component
    std::function<void(TPersistent&, TPersistent*)> SetObject;   // raises EConvertError for a wrong class
    std::function<bool(const TPersistent&)> IsEventSet;
    // Binds an event to a handler held in `handler` (a std::function of the event's exact type); false when
    // the type differs. An empty std::any clears the event.
    std::function<bool(TPersistent&, const std::any& handler)> SetEvent;

    // Ordinals the property takes: its type's range, an enumeration's names, a boolean's 0 and 1, a colour's 32
    // bits, or a narrower range the class gives. For a set, MaxOrd is the mask of its elements' bits.
    std::int64_t MinOrd = std::numeric_limits<std::int64_t>::min();
    std::int64_t MaxOrd = std::numeric_limits<std::int64_t>::max();

    std::optional<std::int64_t> OrdDefault;   // none: always written
    std::optional<double> FloatDefault;   // 0 unless given; none: always written
    std::string StringDefault;   // written when different
    std::function<bool(const TPersistent&)> StoredProc;   // none: StoredValue
    bool StoredValue = true;

    bool IsWritable() const;   // has a setter; sub-objects (Object) are changed in place and always count
    bool IsStored(const TPersistent& obj) const;
    bool IsDefault(const TPersistent& obj) const;   // the value equals the default (never for Object)
    bool AcceptsOrd(std::int64_t value) const;   // within MinOrd..MaxOrd (a set: only its elements' bits)
    // Raises EConvertError for an ordinal the property does not take; SetOrd checks every value with it.
    void CheckOrd(std::int64_t value) const;
};

// ---------------------------------------------------------------------------------------------------------
// Access by name. Names are compared without case. Typed access raises EConvertError "Invalid property type"
// for a property of another kind and EPropertyError when it has no setter.

std::span<const TPropInfo* const> GetPropList(const TObject& obj);
const TPropInfo* GetPropInfo(const TObject& obj, std::string_view name);

// Follows a dotted name ("Font.Name", "SkinData.SkinSection") through Object and Component properties.
// {nullptr, nullptr} when a link is missing or nil.
struct TPropTarget {
    TPersistent* Object = nullptr;
    const TPropInfo* Prop = nullptr;
};
TPropTarget FindPropPath(TPersistent& obj, std::string_view dottedName);

std::int64_t GetOrdProp(const TPersistent& obj, const TPropInfo& prop);
void SetOrdProp(TPersistent& obj, const TPropInfo& prop, std::int64_t value);
double GetFloatProp(const TPersistent& obj, const TPropInfo& prop);
void SetFloatProp(TPersistent& obj, const TPropInfo& prop, double value);
std::string GetStrProp(const TPersistent& obj, const TPropInfo& prop);
void SetStrProp(TPersistent& obj, const TPropInfo& prop, const std::string& value);
TPersistent* GetObjectProp(const TPersistent& obj, const TPropInfo& prop);
void SetObjectProp(TPersistent& obj, const TPropInfo& prop, TPersistent* value);

// Value names: the name of an ordinal ("" when out of range); the ordinal of a name (false when none).
std::string GetEnumName(TIdentNames names, std::int64_t value);
bool TryGetEnumValue(TIdentNames names, std::string_view name, std::int64_t& value);

}
