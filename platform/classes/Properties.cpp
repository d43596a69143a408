// Published properties: stored and default tests, typed access by kind, dotted paths and value names.
#include "platform/classes/PropertyRegistry.h"

#include "platform/base/Numbers.h"
#include "platform/base/Strings.h"

namespace korvex::classes {

namespace {

bool IsOrdinal(TPropKind kind) {
    return kind == TPropKind::Integer || kind == TPropKind::Boolean || kind == TPropKind::Enum || kind == TPropKind::Set
        || kind == TPropKind::Color;
}

[[noreturn]] void WrongKind() {
    throw base::EConvertError("Invalid property type");
}

[[noreturn]] void ReadOnly(const TPropInfo& prop) {
    throw EPropertyError("Property " + prop.Name + " is read-only");
}

}

bool TPropInfo::IsWritable() const {
    switch (Kind) {
    case TPropKind::Float:
        return static_cast<bool>(SetFloat);
    case TPropKind::String:
        return static_cast<bool>(SetString);
    case TPropKind::Object:
        return true;
    case TPropKind::Component:
        return static_cast<bool>(SetObject);
    case TPropKind::Event:
        return static_cast<bool>(SetEvent);
    default:
        return static_cast<bool>(SetOrd);
    }
}

bool TPropInfo::IsStored(const TPersistent& obj) const {
    return StoredProc ? StoredProc(obj) : StoredValue;
}

bool TPropInfo::IsDefault(const TPersistent& obj) const {
    switch (Kind) {
    case TPropKind::Float:
        return FloatDefault.has_value() && GetFloat(obj) == *FloatDefault;
    case TPropKind::String:
        return GetString(obj) == StringDefault;
    case TPropKind::Object:
        return false;
    case TPropKind::Component:
        return GetObject(obj) == nullptr;
    case TPropKind::Event:
        return !IsEventSet(obj);
    default:
        return OrdDefault.has_value() && GetOrd(obj) == *OrdDefault;
    }
}

bool TPropInfo::AcceptsOrd(std::int64_t value) const {
    if (Kind == TPropKind::Set) return value >= 0 && (value & ~MaxOrd) == 0;
    return value >= MinOrd && value <= MaxOrd;
}

void TPropInfo::CheckOrd(std::int64_t value) const {
    if (AcceptsOrd(value)) return;
    if (Kind == TPropKind::Set)
        throw base::EConvertError("Invalid set value " + std::to_string(value) + " for " + Name);
    throw base::EConvertError("Value " + std::to_string(value) + " out of range for " + Name + " ("
        + std::to_string(MinOrd) + ".." + std::to_string(MaxOrd) + ")");
}

void detail::RaiseFloatRange(double value) {
    throw base::EConvertError("Floating point value " + base::FloatToStr(value) + " out of range");
}

void detail::RaiseWrongClass(const TPersistent* value, TClass expected) {
    throw base::EConvertError("Invalid property value: a " + value->ClassName() + " is not a " + expected->Name());
}

std::span<const TPropInfo* const> GetPropList(const TObject& obj) {
    return obj.ClassType()->Properties();
}

const TPropInfo* GetPropInfo(const TObject& obj, std::string_view name) {
    return obj.ClassType()->FindProperty(name);
}

TPropTarget FindPropPath(TPersistent& obj, std::string_view dottedName) {
    TPersistent* current = &obj;
    while (true) {
        std::size_t dot = dottedName.find('.');
        const TPropInfo* prop = GetPropInfo(*current, dottedName.substr(0, dot));
        if (prop == nullptr) return {};
        if (dot == std::string_view::npos) return {current, prop};
        if (prop->Kind != TPropKind::Object && prop->Kind != TPropKind::Component) return {};
        current = prop->GetObject(*current);
        if (current == nullptr) return {};
        dottedName.remove_prefix(dot + 1);
    }
}

std::int64_t GetOrdProp(const TPersistent& obj, const TPropInfo& prop) {
    if (!IsOrdinal(prop.Kind)) WrongKind();
    return prop.GetOrd(obj);
}

void SetOrdProp(TPersistent& obj, const TPropInfo& prop, std::int64_t value) {
    if (!IsOrdinal(prop.Kind)) WrongKind();
    if (!prop.SetOrd) ReadOnly(prop);
    prop.SetOrd(obj, value);
}

double GetFloatProp(const TPersistent& obj, const TPropInfo& prop) {
    if (prop.Kind != TPropKind::Float) WrongKind();
    return prop.GetFloat(obj);
}

void SetFloatProp(TPersistent& obj, const TPropInfo& prop, double value) {
    if (prop.Kind != TPropKind::Float) WrongKind();
    if (!prop.SetFloat) ReadOnly(prop);
    prop.SetFloat(obj, value);
}

std::string GetStrProp(const TPersistent& obj, const TPropInfo& prop) {
    if (prop.Kind != TPropKind::String) WrongKind();
    return prop.GetString(obj);
}

void SetStrProp(TPersistent& obj, const TPropInfo& prop, const std::string& value) {
    if (prop.Kind != TPropKind::String) WrongKind();
    if (!prop.SetString) ReadOnly(prop);
    prop.SetString(obj, value);
}

TPersistent* GetObjectProp(const TPersistent& obj, const TPropInfo& prop) {
    if (prop.Kind != TPropKind::Object && prop.Kind != TPropKind::Component) WrongKind();
    return prop.GetObject(obj);
}

void SetObjectProp(TPersistent& obj, const TPropInfo& prop, TPersistent* value) {
    if (prop.Kind != TPropKind::Object && prop.Kind != TPropKind::Component) WrongKind();
    if (!prop.SetObject) ReadOnly(prop);
    prop.SetObject(obj, value);
}

std::string GetEnumName(TIdentNames names, std::int64_t value) {
    if (value < 0 || value >= static_cast<std::int64_t>(names.size())) return {};
    return std::string(names[static_cast<std::size_t>(value)]);
}

bool TryGetEnumValue(TIdentNames names, std::string_view name, std::int64_t& value) {
    std::string wanted(name);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (base::SameText(std::string(names[i]), wanted)) {
            value = static_cast<std::int64_t>(i);
            return true;
        }
    return false;
}

}
