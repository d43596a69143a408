// Image values of "Options.dat": the forms "~", "@", "^", "!", "#" and a plain ".BMP" file name.
#pragma once

#include "skin/engine/sSkinData.h"

#include <string>

namespace korvex::skin {

enum class TsImageForm {
    None,   // ordinary data, not an image
    Texture,   // "~" rectangle of the master bitmap
    Glyph,   // "@" rectangle of the master bitmap
    Border,   // "^" rectangle with margins
    File,   // "!" own bitmap with its counts and type
    Rect,   // "#" rectangle and counts in brackets
    BmpFile,   // a ".BMP" file name: own bitmap of three states over masks
};

struct TsImageValue {
    TsImageForm Form = TsImageForm::None;
    // Every number the form needs was a decimal integer in its range: coordinates within
    // +-MaxImageCoordinate, the other numbers within 16 bits.
    bool Valid = false;
    classes::TRect R {};   // master-bitmap forms only
    int ImageCount = 1;   // at least 1
    int MaskType = 0;   // at least 0
    int BorderWidth = 0;
    int StretchMode = 0;
    TacImgType ImgType = itisaBorder;
    TsOneBased<int, 4> Margins;
    std::string FileName;   // "!" and ".BMP" forms, as written
    bool UpperNames = false;   // section and key are upper-cased for this form
};

// Decides the form by the first character, then a "#" anywhere (a lone "#" is nothing), then ".BMP".
// keyName decides the texture forms of "#" ("PATTERN", "HOTPATTERN", compared upper-cased).
TsImageValue ParseImageValue(const std::string& keyName, const std::string& value);
// The "#" form alone (the CommonSections pass); Form None when the value is not one.
TsImageValue ParseRectImageValue(const std::string& keyName, const std::string& value);

// Decimal integer as the skin format writes one: leading blanks and a sign allowed, nothing else.
bool TryDecimal(const std::string& text, int& value);

}
