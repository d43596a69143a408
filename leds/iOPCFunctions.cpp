// Data-item routines: a property set from an item's value, with the conversions of each property kind.
#include "leds/iOPCFunctions.h"

#include "platform/base/Numbers.h"
#include "platform/base/Strings.h"
#include "platform/classes/PropInfo.h"

namespace korvex::leds {

using classes::TPropInfo;
using classes::TPropKind;

namespace {

bool OrdinalOf(const TiOPCValue& value, std::int64_t& ordinal) {
    if (const bool* b = std::get_if<bool>(&value)) {
        ordinal = *b ? 1 : 0;
        return true;
    }
    if (const std::int64_t* i = std::get_if<std::int64_t>(&value)) {
        ordinal = *i;
        return true;
    }
    if (const double* d = std::get_if<double>(&value)) {
        ordinal = base::Round(*d);
        return true;
    }
    if (const std::string* s = std::get_if<std::string>(&value)) return base::TryStrToInt64(base::Trim(*s), ordinal);
    return false;
}

bool FloatOf(const TiOPCValue& value, double& number) {
    if (const bool* b = std::get_if<bool>(&value)) {
        number = *b ? 1 : 0;
        return true;
    }
    if (const std::int64_t* i = std::get_if<std::int64_t>(&value)) {
        number = static_cast<double>(*i);
        return true;
    }
    if (const double* d = std::get_if<double>(&value)) {
        number = *d;
        return true;
    }
    if (const std::string* s = std::get_if<std::string>(&value)) return base::TryStrToFloat(*s, number);
    return false;
}

}

bool SetPropertyFromOPCValue(classes::TPersistent& obj, const std::string& dottedName, const TiOPCValue& value) {
    const classes::TPropTarget target = classes::FindPropPath(obj, dottedName);
    if (target.Object == nullptr || target.Prop == nullptr || !target.Prop->IsWritable()) return false;
    const TPropInfo& prop = *target.Prop;
    switch (prop.Kind) {
    case TPropKind::Integer:
    case TPropKind::Color:
    case TPropKind::Set: {
        std::int64_t ordinal = 0;
        if (!base::TryStrToInt64(base::Trim(OPCValueToText(value)), ordinal)) return false;
        if (!prop.AcceptsOrd(ordinal)) return false;
        prop.SetOrd(*target.Object, ordinal);
        return true;
    }
    case TPropKind::Boolean:
    case TPropKind::Enum: {
        std::int64_t ordinal = 0;
        if (!OrdinalOf(value, ordinal)) {
            const std::string* name = std::get_if<std::string>(&value);
            const classes::TIdentNames names
                = prop.Kind == TPropKind::Boolean ? classes::TIdentNames(classes::BooleanIdents) : prop.Names;
            if (name == nullptr || !classes::TryGetEnumValue(names, base::Trim(*name), ordinal)) return false;
        }
        if (prop.Kind == TPropKind::Boolean) ordinal = ordinal != 0 ? 1 : 0;   // any number but 0 is true
        if (!prop.AcceptsOrd(ordinal)) return false;
        prop.SetOrd(*target.Object, ordinal);
        return true;
    }
    case TPropKind::Float: {
        double number = 0;
        if (!FloatOf(value, number)) return false;
        prop.SetFloat(*target.Object, number);
        return true;
    }
    case TPropKind::String:
        prop.SetString(*target.Object, OPCValueToText(value));
        return true;
    default:
        return false;
    }
}

}
