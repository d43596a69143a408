// TEditMask: parsing an edit mask and fitting text to its slots.
#include "platform/classes/EditMask.h"

#include "platform/base/Assert.h"
#include "platform/base/FormatSettings.h"
#include "platform/base/Strings.h"
#include "platform/base/Utf8.h"

namespace korvex::classes {

std::u32string ToCodePoints(std::string_view utf8) {
    std::u32string out;
    for (std::size_t pos = 0; pos < utf8.size();)
        out.push_back(base::Utf8DecodeNext(utf8, pos));
    return out;
}

std::string FromCodePoints(std::u32string_view text) {
    std::string out;
    for (char32_t c : text)
        base::Utf8Append(out, c);
    return out;
}

namespace {

char32_t ShiftCase(char32_t c, TMaskCase mode) {
    if (mode == TMaskCase::None) return c;
    std::string s = base::Utf8Encode(c);
    s = mode == TMaskCase::Upper ? base::AnsiUpperCase(s) : base::AnsiLowerCase(s);
    std::size_t pos = 0;
    return base::Utf8DecodeNext(s, pos);
}

bool IsDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

// A letter has case: the Latin ones and, past ASCII, whatever the case mapping changes (Cyrillic included).
bool IsLetter(char32_t c) {
    if (c < 0x80) return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
    return ShiftCase(c, TMaskCase::Upper) != c || ShiftCase(c, TMaskCase::Lower) != c;
}

bool Accepts(TMaskCharKind kind, char32_t c) {
    switch (kind) {
    case TMaskCharKind::Literal:
        return false;
    case TMaskCharKind::Letter:
        return IsLetter(c);
    case TMaskCharKind::AlphaNum:
        return IsLetter(c) || IsDigit(c);
    case TMaskCharKind::AnyChar:
        return c >= 0x20 && c != 0x7F;
    case TMaskCharKind::Digit:
        return IsDigit(c);
    case TMaskCharKind::DigitSign:
        return IsDigit(c) || c == U'+' || c == U'-';
    }
    return false;
}

// The body ends at the first ';' that no '\' escapes.
std::size_t BodyEnd(std::u32string_view mask) {
    for (std::size_t i = 0; i < mask.size(); ++i) {
        if (mask[i] == U'\\') ++i;
        else if (mask[i] == U';') return i;
    }
    return mask.size();
}

}   // namespace

TEditMask::TEditMask(std::string_view maskText) {
    std::u32string mask = ToCodePoints(maskText);
    std::size_t end = BodyEnd(mask);
    if (end < mask.size()) {
        std::u32string_view rest = std::u32string_view(mask).substr(end + 1);
        std::size_t semi = rest.find(U';');
        std::u32string_view save = rest.substr(0, semi);
        FSaveLiterals = !(save.size() == 1 && save[0] == U'0');
        if (semi != std::u32string_view::npos && semi + 1 < rest.size()) FBlankChar = rest[semi + 1];
    }
    const base::TFormatSettings& formats = base::FormatSettings();
    TMaskCase mode = TMaskCase::None;
    for (std::size_t i = 0; i < end; ++i) {
        char32_t c = mask[i];
        TMaskSlot slot;
        switch (c) {
        case U'!':
            continue;
        case U'>':
            mode = TMaskCase::Upper;
            continue;
        case U'<':
            if (i + 1 < end && mask[i + 1] == U'>') {
                mode = TMaskCase::None;
                ++i;
            } else {
                mode = TMaskCase::Lower;
            }
            continue;
        case U'\\':
            if (i + 1 >= end) continue;   // a trailing '\' escapes nothing
            slot.Literal = mask[++i];
            break;
        case U'L': case U'l': slot.Kind = TMaskCharKind::Letter; break;
        case U'A': case U'a': slot.Kind = TMaskCharKind::AlphaNum; break;
        case U'C': case U'c': slot.Kind = TMaskCharKind::AnyChar; break;
        case U'0': case U'9': slot.Kind = TMaskCharKind::Digit; break;
        case U'#': slot.Kind = TMaskCharKind::DigitSign; break;
        case U':': slot.Literal = char32_t(formats.TimeSeparator); break;
        case U'/': slot.Literal = char32_t(formats.DateSeparator); break;
        case U'_': slot.Literal = U' '; break;
        default: slot.Literal = c; break;
        }
        if (slot.Kind != TMaskCharKind::Literal) {
            slot.Required = c == U'L' || c == U'A' || c == U'C' || c == U'0';
            slot.Case = mode;
        }
        FSlots.push_back(slot);
    }
}

const TMaskSlot& TEditMask::Slot(int index) const {
    KORVEX_ASSERT(index >= 0 && index < Length());
    return FSlots[std::size_t(index)];
}

bool TEditMask::IsEditable(int index) const {
    return index >= 0 && index < Length() && FSlots[std::size_t(index)].Kind != TMaskCharKind::Literal;
}

int TEditMask::NextEditable(int index) const {
    for (int i = std::max(index, 0); i < Length(); ++i)
        if (IsEditable(i)) return i;
    return Length();
}

int TEditMask::PrevEditable(int index) const {
    for (int i = std::min(index, Length()) - 1; i >= 0; --i)
        if (IsEditable(i)) return i;
    return -1;
}

char32_t TEditMask::Fit(int index, char32_t c) const {
    if (!IsEditable(index)) return 0;
    const TMaskSlot& slot = FSlots[std::size_t(index)];
    if ((c == U' ' || c == FBlankChar) && !slot.Required) return FBlankChar;
    c = ShiftCase(c, slot.Case);
    return Accepts(slot.Kind, c) ? c : 0;
}

std::u32string TEditMask::Blank() const {
    std::u32string out;
    for (const TMaskSlot& slot : FSlots)
        out.push_back(slot.Kind == TMaskCharKind::Literal ? slot.Literal : FBlankChar);
    return out;
}

std::u32string TEditMask::FromEditText(std::u32string_view text) const {
    std::u32string out = Blank();
    for (int i = 0; i < Length() && std::size_t(i) < text.size(); ++i) {
        if (!IsEditable(i)) continue;
        char32_t c = Fit(i, text[std::size_t(i)]);
        if (c != 0) out[std::size_t(i)] = c;
    }
    return out;
}

std::u32string TEditMask::FromText(std::u32string_view text) const {
    if (FSaveLiterals) return FromEditText(text);
    std::u32string out = Blank();
    std::size_t next = 0;
    for (int i = NextEditable(0); i < Length() && next < text.size(); i = NextEditable(i + 1)) {
        char32_t c = Fit(i, text[next++]);
        if (c != 0) out[std::size_t(i)] = c;
    }
    return out;
}

std::u32string TEditMask::ToText(std::u32string_view editText) const {
    std::u32string out;
    for (int i = 0; i < Length(); ++i) {
        char32_t c = std::size_t(i) < editText.size() ? editText[std::size_t(i)] : FBlankChar;
        if (!IsEditable(i)) {
            if (FSaveLiterals) out.push_back(FSlots[std::size_t(i)].Literal);
            continue;
        }
        out.push_back(c == FBlankChar ? U' ' : c);
    }
    return out;
}

int TEditMask::FirstInvalid(std::u32string_view editText) const {
    for (int i = 0; i < Length(); ++i) {
        if (!IsEditable(i)) continue;
        char32_t c = std::size_t(i) < editText.size() ? editText[std::size_t(i)] : FBlankChar;
        if (c == FBlankChar ? FSlots[std::size_t(i)].Required : Fit(i, c) != c) return i;
    }
    return -1;
}

}
