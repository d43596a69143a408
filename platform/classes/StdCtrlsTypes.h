// Types the standard controls share: text alignment, scroll bar choice and character case, with their names.
#pragma once

#include <string_view>

namespace korvex::classes {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
inline constexpr std::string_view AlignmentIdents[] = {"taLeftJustify", "taRightJustify", "taCenter"};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
inline constexpr std::string_view ScrollStyleIdents[] = {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
inline constexpr std::string_view EditCharCaseIdents[] = {"ecNormal", "ecUpperCase", "ecLowerCase"};

}
