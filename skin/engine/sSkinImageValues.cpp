// Image values of "Options.dat": reading the fixed-column, word and bracket forms.
#include "skin/engine/sSkinImageValues.h"

#include "platform/base/Strings.h"
#include "skin/engine/sUtils.h"

#include <algorithm>
#include <charconv>

namespace korvex::skin {

bool TryDecimal(const std::string& text, int& value) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i < text.size() && text[i] == '+') ++i;   // from_chars takes '-' only
    if (i >= text.size()) return false;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    int v = 0;
    auto [end, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || end != last || (*first == '-' && end == first + 1)) return false;
    value = v;
    return true;
}

namespace {

// A decimal integer within lo..hi; numbers outside count as numbers that do not read.
bool TryDecimalIn(const std::string& text, int lo, int hi, int& value) {
    int v = 0;
    if (!TryDecimal(text, v) || v < lo || v > hi) return false;
    value = v;
    return true;
}

bool TryCoordinate(const std::string& text, int& value) {
    return TryDecimalIn(text, -MaxImageCoordinate, MaxImageCoordinate, value);
}

// The 16-bit fields of an image (counts, mask type, margins, border width, stretch mode).
bool TryField(const std::string& text, int& value) {
    return TryDecimalIn(text, -MaxImageField - 1, MaxImageField, value);
}

// Characters from..from+count-1 (1-based), shorter or empty past the end.
std::string Col(const std::string& s, int from, int count) {
    return base::Copy(s, from, count);
}

bool ReadCol(const std::string& s, int from, int count, int& value) {
    return TryField(Col(s, from, count), value);
}

bool ReadRect(const std::string& s, classes::TRect& r) {
    return TryCoordinate(Col(s, 2, 4), r.left) && TryCoordinate(Col(s, 7, 4), r.top)
        && TryCoordinate(Col(s, 12, 4), r.right) && TryCoordinate(Col(s, 17, 4), r.bottom);
}

bool IsPatternName(const std::string& keyName) {
    const std::string key = base::UpperCase(keyName);
    return key == "PATTERN" || key == "HOTPATTERN";
}

void Normalise(TsImageValue& v) {
    v.ImageCount = std::max(v.ImageCount, 1);
    v.MaskType = std::max(v.MaskType, 0);
}

TsImageValue ParseTexture(const std::string& s) {
    TsImageValue v;
    v.Form = TsImageForm::Texture;
    v.ImgType = itisaTexture;
    v.ImageCount = 1;
    v.Valid = ReadRect(s, v.R) && ReadCol(s, 22, 2, v.StretchMode);
    if (v.Valid && s.size() > 24) v.Valid = ReadCol(s, 25, 1, v.MaskType);
    return v;
}

TsImageValue ParseGlyph(const std::string& s) {
    TsImageValue v;
    v.Form = TsImageForm::Glyph;
    v.ImgType = itisaGlyph;
    v.Valid = ReadRect(s, v.R) && ReadCol(s, 22, 1, v.ImageCount) && ReadCol(s, 24, 1, v.MaskType);
    return v;
}

TsImageValue ParseBorder(const std::string& s) {
    TsImageValue v;
    v.Form = TsImageForm::Border;
    v.ImgType = itisaBorder;
    v.Valid = ReadRect(s, v.R) && ReadCol(s, 22, 4, v.Margins[1]) && ReadCol(s, 27, 4, v.Margins[2])
        && ReadCol(s, 32, 4, v.Margins[3]) && ReadCol(s, 37, 4, v.Margins[4]) && ReadCol(s, 42, 1, v.ImageCount)
        && ReadCol(s, 44, 1, v.MaskType) && ReadCol(s, 46, 1, v.StretchMode) && ReadCol(s, 48, 1, v.BorderWidth);
    return v;
}

TsImageValue ParseFile(const std::string& s) {
    TsImageValue v;
    v.Form = TsImageForm::File;
    v.FileName = ExtractWord(1, s, "!");
    int type = 0;
    v.Valid = v.FileName.find(".BMP") != std::string::npos && TryField(ExtractWord(2, s, "!"), v.ImageCount)
        && TryField(ExtractWord(3, s, "!"), v.MaskType) && TryDecimal(ExtractWord(4, s, "!"), type);
    v.ImgType = (type >= itisaBorder && type <= itisaGlyph) ? static_cast<TacImgType>(type) : itisaBorder;
    return v;
}

}

TsImageValue ParseRectImageValue(const std::string& keyName, const std::string& value) {
    TsImageValue v;
    if (value == "#" || value.find('#') == std::string::npos) return v;
    v.Form = TsImageForm::Rect;
    v.UpperNames = true;
    const std::string words = " ()";
    const std::string nums = ", ";
    const std::string rect = ExtractWord(2, value, words);
    const std::string counts = ExtractWord(3, value, words);
    v.Valid = TryCoordinate(ExtractWord(1, rect, nums), v.R.left) && TryCoordinate(ExtractWord(2, rect, nums), v.R.top)
        && TryCoordinate(ExtractWord(3, rect, nums), v.R.right) && TryCoordinate(ExtractWord(4, rect, nums), v.R.bottom)
        && TryField(ExtractWord(1, counts, nums), v.ImageCount) && TryField(ExtractWord(2, counts, nums), v.MaskType);
    if (!TryField(ExtractWord(3, counts, nums), v.BorderWidth) || v.BorderWidth < 0) v.BorderWidth = 0;
    if (!TryField(ExtractWord(4, counts, nums), v.StretchMode)) v.StretchMode = 1;
    if (IsPatternName(keyName)) {
        v.ImgType = itisaTexture;
        v.StretchMode = 0;
    }
    Normalise(v);
    return v;
}

TsImageValue ParseImageValue(const std::string& keyName, const std::string& value) {
    TsImageValue v;
    if (value.empty()) return v;
    switch (value[0]) {
    case '~':
        v = ParseTexture(value);
        break;
    case '@':
        v = ParseGlyph(value);
        break;
    case '^':
        v = ParseBorder(value);
        break;
    case '!':
        v = ParseFile(value);
        break;
    default:
        if (value.find('#') != std::string::npos) return ParseRectImageValue(keyName, value);
        if (base::UpperCase(value).find(".BMP") != std::string::npos) {
            v.Form = TsImageForm::BmpFile;
            v.Valid = true;
            v.UpperNames = true;
            v.FileName = value;
            v.ImageCount = 3;
            v.MaskType = 1;
        }
        return v;
    }
    Normalise(v);
    return v;
}

}
