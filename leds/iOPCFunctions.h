// Data-item routines: setting a control's property, found by its dotted name, from an item's value.
#pragma once

#include "leds/iOPCTypes.h"
#include "platform/classes/TPersistent.h"

#include <string>

namespace korvex::leds {

// Finds the published property by its dotted name without case (through sub-objects) and sets it from
// value: integers, colours and sets from the value's text as an integer, enumerations and booleans by their
// ordinal (a text may also name the value), floats as a number, strings as text. False, with nothing
// changed, when there is no such writable property or the value does not convert.
bool SetPropertyFromOPCValue(classes::TPersistent& obj, const std::string& dottedName, const TiOPCValue& value);

}
