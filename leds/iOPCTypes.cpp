// Data-item types: value text, and the registry of clipboard format names with the three data-stream formats.
#include "leds/iOPCTypes.h"

#include "platform/base/Numbers.h"
#include "platform/base/Strings.h"

#include <map>
#include <mutex>

namespace korvex::leds {

std::string OPCValueToText(const TiOPCValue& value) {
    struct Visitor {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(bool v) const { return v ? "True" : "False"; }
        std::string operator()(std::int64_t v) const { return base::IntToStr(v); }
        std::string operator()(double v) const { return base::FloatToStr(v); }
        std::string operator()(const std::string& v) const { return v; }
    };
    return std::visit(Visitor {}, value);
}

namespace {

inline constexpr unsigned FirstRegisteredFormat = 0xC000;
inline constexpr unsigned LastRegisteredFormat = 0xFFFF;

struct FormatTable {
    std::mutex Mutex;
    std::map<std::string, unsigned> ByKey;   // upper-case name -> number
    std::map<unsigned, std::string> Names;   // number -> name as first registered
};

FormatTable& Formats() {
    static FormatTable table;
    return table;
}

struct OPCFormats {
    unsigned Data = 0;
    unsigned DataTime = 0;
    unsigned WriteComplete = 0;
};

const OPCFormats& Registered() {
    static const OPCFormats formats {RegisterClipboardFormat(std::string(OPCSTMFORMATDATA_NAME)),
        RegisterClipboardFormat(std::string(OPCSTMFORMATDATATIME_NAME)),
        RegisterClipboardFormat(std::string(OPCSTMFORMATWRITECOMPLETE_NAME))};
    return formats;
}

}

unsigned RegisterClipboardFormat(const std::string& name) {
    if (name.empty()) return 0;
    FormatTable& table = Formats();
    std::lock_guard lock(table.Mutex);
    const std::string key = base::UpperCase(name);
    if (auto it = table.ByKey.find(key); it != table.ByKey.end()) return it->second;
    const unsigned number = FirstRegisteredFormat + static_cast<unsigned>(table.Names.size());
    if (number > LastRegisteredFormat) return 0;
    table.ByKey.emplace(key, number);
    table.Names.emplace(number, name);
    return number;
}

std::string GetClipboardFormatName(unsigned format) {
    FormatTable& table = Formats();
    std::lock_guard lock(table.Mutex);
    auto it = table.Names.find(format);
    return it != table.Names.end() ? it->second : std::string();
}

void InitOPCTypes() {
    (void)Registered();
}

unsigned OPCSTMFORMATDATA() {
    return Registered().Data;
}

unsigned OPCSTMFORMATDATATIME() {
    return Registered().DataTime;
}

unsigned OPCSTMFORMATWRITECOMPLETE() {
    return Registered().WriteComplete;
}

}
