// General routines of the LED components: the lines of a property file, written from and read into an object.
#include "leds/iGPFunctions.h"

#include "platform/base/Exceptions.h"
#include "platform/base/Numbers.h"
#include "platform/base/Strings.h"
#include "platform/classes/PropInfo.h"

#include <algorithm>
#include <limits>
#include <set>

namespace korvex::leds {

using classes::TPersistent;
using classes::TPropInfo;
using classes::TPropKind;

namespace {

std::string DottedName(const std::string& prefix, const std::string& name) {
    return base::Trim(prefix).empty() ? name : prefix + "." + name;
}

bool Excluded(const std::vector<std::string>& exclusions, const std::string& name) {
    return std::any_of(
        exclusions.begin(), exclusions.end(), [&](const std::string& e) { return base::SameText(e, name); });
}

bool IsOrdinal(TPropKind kind) {
    return kind == TPropKind::Integer || kind == TPropKind::Boolean || kind == TPropKind::Enum || kind == TPropKind::Set
        || kind == TPropKind::Color;
}

bool IsObject(TPropKind kind) {
    return kind == TPropKind::Object || kind == TPropKind::Component;
}

bool Takes(const TPropInfo& prop, const TPersistent& obj) {
    return prop.Kind != TPropKind::Event && prop.IsStored(obj) && prop.IsWritable();
}

// Sub-objects already on the walk: a reference back to an object being walked would never end.
using TVisited = std::set<const TPersistent*>;

void AppendLines(TPersistent& obj, const std::string& prefix, std::vector<std::string>& lines,
    const std::vector<std::string>& exclusions, TVisited& visited) {
    if (!visited.insert(&obj).second) return;
    for (const TPropInfo* prop : classes::GetPropList(obj)) {
        if (!Takes(*prop, obj)) continue;
        const std::string name = DottedName(prefix, prop->Name);
        if (Excluded(exclusions, name)) continue;
        if (IsOrdinal(prop->Kind)) {
            lines.push_back(name + " = " + base::IntToStr(prop->GetOrd(obj)));
        } else if (prop->Kind == TPropKind::Float) {
            lines.push_back(name + " = " + base::FloatToStr(prop->GetFloat(obj)));
        } else if (prop->Kind == TPropKind::String) {
            lines.push_back(name + " = " + prop->GetString(obj));
        } else if (IsObject(prop->Kind)) {
            if (TPersistent* sub = prop->GetObject(obj)) AppendLines(*sub, name, lines, exclusions, visited);
        }
    }
    visited.erase(&obj);
}

// The value of the first line named name, which is taken out of lines; false when there is none.
bool TakeValue(std::vector<std::string>& lines, const std::string& name, std::string& value) {
    for (auto it = lines.begin(); it != lines.end(); ++it) {
        const std::size_t eq = it->find('=');
        if (eq == std::string::npos) continue;
        if (!base::SameText(base::Trim(it->substr(0, eq)), name)) continue;
        value = base::Trim(it->substr(eq + 1));
        lines.erase(it);
        return true;
    }
    return false;
}

[[noreturn]] void NotValid(const std::string& text) {
    throw base::EConvertError("'" + text + "' is not a valid integer value");
}

// An ordinal as the property can hold it: enumerations within their names, colours within 32 bits,
// set masks within their elements.
std::int64_t OrdinalValue(const TPropInfo& prop, const std::string& text) {
    const std::int64_t value = base::StrToInt64(text);
    switch (prop.Kind) {
    case TPropKind::Enum:
        if (value < 0 || value >= static_cast<std::int64_t>(prop.Names.size())) NotValid(text);
        break;
    case TPropKind::Color:
        if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::uint32_t>::max())
            NotValid(text);
        break;
    case TPropKind::Set:
        if (value < 0 || (prop.Names.size() < 63 && (value >> prop.Names.size()) != 0)) NotValid(text);
        break;
    default:
        break;
    }
    return value;
}

void LoadLines(TPersistent& obj, const std::string& prefix, std::vector<std::string>& lines, TVisited& visited) {
    if (!visited.insert(&obj).second) return;
    for (const TPropInfo* prop : classes::GetPropList(obj)) {
        if (!Takes(*prop, obj)) continue;
        const std::string name = DottedName(prefix, prop->Name);
        if (IsObject(prop->Kind)) {
            if (TPersistent* sub = prop->GetObject(obj)) LoadLines(*sub, name, lines, visited);
            continue;
        }
        std::string value;
        if (!TakeValue(lines, name, value)) continue;
        if (IsOrdinal(prop->Kind))
            prop->SetOrd(obj, OrdinalValue(*prop, value));
        else if (prop->Kind == TPropKind::Float)
            prop->SetFloat(obj, base::StrToFloat(value));
        else if (prop->Kind == TPropKind::String)
            prop->SetString(obj, value);
    }
    visited.erase(&obj);
}

}

void AppendPropertyLines(TPersistent& obj, const std::string& prefix, std::vector<std::string>& lines,
    const std::vector<std::string>& exclusions) {
    TVisited visited;
    AppendLines(obj, prefix, lines, exclusions, visited);
}

void LoadPropertyLines(TPersistent& obj, const std::string& prefix, std::vector<std::string>& lines) {
    TVisited visited;
    LoadLines(obj, prefix, lines, visited);
}

}
