// The settings file's text: an exported-registry style listing of keys and typed values, UTF-8.
#pragma once

#include "platform/os/RegistryTree.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvex::os {

// The file looks like this (one section per key, a blank line between sections):
//
//   ; KORVEX settings
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Tellvar\Options]
//   @="default value"
//   "Language"=dword:00000001
//   "SkinName"="LongHorn (internal)"
//   "Date"=hex:00,00,00,00,40,e4,e3,40
//   "Other"=hex(7):41,00,00
//
// Texts and names escape '\' as \\, '"' as \", CR as \r, LF as \n, TAB as \t and other control bytes as \xHH.
// A hex list may continue on the next line after a trailing '\'. Comments start with ';'.

std::string FormatRegistryText(const RegTree& tree);

// Adds what `text` holds to `tree`. A line that cannot be read (and every value line under a section header
// that cannot be read) is skipped and its 1-based number added to `damagedLines`; everything else loads.
void ParseRegistryText(std::string_view text, RegTree& tree, std::vector<int>& damagedLines);

}
