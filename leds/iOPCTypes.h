// Data-item types: the value an item carries, its quality bits, and the clipboard formats of its data streams.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace korvex::leds {

// An item's value: empty, a boolean, an integer, a floating-point number or a text.
using TiOPCValue = std::variant<std::monostate, bool, std::int64_t, double, std::string>;

// The value as text ("" when empty; booleans "True"/"False"; numbers as FloatToStr / IntToStr write them).
std::string OPCValueToText(const TiOPCValue& value);

// Quality: both bits of the mask set means good.
inline constexpr int OPC_QUALITY_MASK = 0xC0;
inline constexpr int OPC_QUALITY_GOOD = 0xC0;
inline bool OPCQualityGood(int quality) {
    return (quality & OPC_QUALITY_MASK) == OPC_QUALITY_GOOD;
}

// The clipboard formats of the data streams, registered at program start.
inline constexpr std::string_view OPCSTMFORMATDATA_NAME = "OPCSTMFORMATDATA";
inline constexpr std::string_view OPCSTMFORMATDATATIME_NAME = "OPCSTMFORMATDATATIME";
inline constexpr std::string_view OPCSTMFORMATWRITECOMPLETE_NAME = "OPCSTMFORMATWRITECOMPLETE";

// Registers the three formats and keeps their numbers (the program's start-up calls it; again is harmless).
void InitOPCTypes();
unsigned OPCSTMFORMATDATA();
unsigned OPCSTMFORMATDATATIME();
unsigned OPCSTMFORMATWRITECOMPLETE();

// Registered clipboard formats: one number from 0xC000 up per name, the same number for the same name
// (without case); 0 for an empty name. Thread-safe.
// Kept here: the window layer's clipboard carries text only, and only these formats are ever named.
unsigned RegisterClipboardFormat(const std::string& name);
std::string GetClipboardFormatName(unsigned format);   // "" for a number never registered

}
