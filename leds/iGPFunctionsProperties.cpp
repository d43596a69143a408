// General routines of the LED components: the lines of a property file, written from and read into an object.
#include "leds/iGPFunctions.h"

#include "platform/base/Exceptions.h"
#include "platform/base/Numbers.h"
#include "platform/base/Strings.h"
#include "platform/classes/PropInfo.h"

#include <algorithm>
#include <cmath>
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

// The run time's float text, with 16 or 17 digits where its 15 would read back as another double (the
// largest double's 15 digits, 1.79769313486232E308, lie beyond the double range).
std::string FloatText(double value) {
    std::string text = base::FloatToStr(value);
    for (int precision = 16; precision <= 17 && std::isfinite(value); ++precision) {
        double back = 0;
        if (base::TryStrToFloat(text, back) && back == value) break;
        text = base::FloatToStrF(value, base::TFloatFormat::General, precision, 0);
    }
    return text;
}

// Float text as FloatText writes it, INF, -INF and NAN among it; the largest double's 15-digit text, as
// files written with the run time's text hold it, reads as that double.
double FloatValue(const std::string& text) {
    double value = 0;
    if (base::TryStrToFloat(text, value)) return value;
    using Limits = std::numeric_limits<double>;
    for (double special : {Limits::max(), -Limits::max(), Limits::infinity(), -Limits::infinity(), Limits::quiet_NaN()})
        if (text == base::FloatToStr(special)) return special;
    return base::StrToFloat(text);   // raises the conversion error
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
            lines.push_back(name + " = " + FloatText(prop->GetFloat(obj)));
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

// An ordinal as the property can hold it: within its type and range (enumerations within their names, colours
// within 32 bits, set masks within their elements).
std::int64_t OrdinalValue(const TPropInfo& prop, const std::string& text) {
    const std::int64_t value = base::StrToInt64(text);
    if (!prop.AcceptsOrd(value)) NotValid(text);
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
            prop->SetFloat(obj, FloatValue(value));
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
