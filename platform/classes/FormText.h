// The parsed form of component text: objects, properties and values, before anything is created.
#pragma once

#include "platform/classes/TReader.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::classes::formtext {

struct TProperty;

struct TItem {
    int Line = 0;
    std::vector<TProperty> Properties;
};

struct TValue {
    TValueType Type = TValueType::vaNull;
    int Line = 0;
    std::int64_t Int = 0;
    double Float = 0;
    std::string Text;   // vaString, vaIdent
    std::vector<std::string> Set;   // vaSet: element names
    std::vector<TValue> List;   // vaList
    std::vector<TItem> Items;   // vaCollection
    std::vector<std::uint8_t> Binary;   // vaBinary
};

struct TProperty {
    std::string Name;   // dotted
    int Line = 0;
    TValue Value;
};

struct TObjectNode {
    std::string Name;
    std::string ClassName;
    int Line = 0;
    std::vector<TProperty> Properties;
    std::vector<TObjectNode> Children;
};

// Parses a whole text holding one object. Raises EReadError with the line for malformed text.
TObjectNode Parse(std::string_view text);

inline constexpr int MaxNesting = 200;   // objects, lists and collections inside each other

}
