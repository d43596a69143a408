// TEditMask: an edit mask parsed into character slots; fits text to it and checks what may be typed where.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvex::classes {

// What a slot of the mask accepts.
enum class TMaskCharKind {
    Literal,     // shown as is, never typed over
    Letter,      // 'L' required, 'l' optional
    AlphaNum,    // 'A' required, 'a' optional
    AnyChar,     // 'C' required, 'c' optional
    Digit,       // '0' required, '9' optional
    DigitSign,   // '#': an optional digit, '+' or '-'
};

enum class TMaskCase { None, Upper, Lower };   // '>' upper, '<' lower, "<>" neither

struct TMaskSlot {
    TMaskCharKind Kind = TMaskCharKind::Literal;
    bool Required = false;
    TMaskCase Case = TMaskCase::None;
    char32_t Literal = 0;   // the character a literal slot shows
};

// The mask's syntax: "body;save;blank". In the body '\' takes the next character literally, ':' and '/' are the
// time and date separators, '_' shows a space, '!' is accepted and ignored. The second field "0" leaves the
// literals out of Text (any other value, or none, keeps them); the third field's first character marks an
// unfilled slot in the shown text ('_' when absent). Texts here are code points, one a slot.
class TEditMask {
public:
    TEditMask() = default;
    explicit TEditMask(std::string_view mask);

    bool IsMasked() const { return !FSlots.empty(); }
    int Length() const { return int(FSlots.size()); }
    const TMaskSlot& Slot(int index) const;
    bool SaveLiterals() const { return FSaveLiterals; }
    char32_t BlankChar() const { return FBlankChar; }

    bool IsEditable(int index) const;   // inside the mask and not a literal
    int NextEditable(int index) const;   // the first editable slot at or after index; Length() when none
    int PrevEditable(int index) const;   // the last editable slot before index; -1 when none

    // The character as slot index takes it (case shifted), or 0 when the slot refuses it. A space fits an
    // optional slot and comes back as the blank character.
    char32_t Fit(int index, char32_t c) const;

    std::u32string Blank() const;   // every literal in place, every other slot blank
    // The shown text for a text laid over the slots one to one; what does not fit becomes blank.
    std::u32string FromEditText(std::u32string_view text) const;
    // The shown text for a Text value: laid over the slots with literals saved, else over the editable ones.
    std::u32string FromText(std::u32string_view text) const;
    // Text for a shown text: blanks as spaces, the literals only when saved.
    std::u32string ToText(std::u32string_view editText) const;
    // The first slot that is required but blank, or holds what it does not accept; -1 when none.
    int FirstInvalid(std::u32string_view editText) const;

private:
    std::vector<TMaskSlot> FSlots;
    bool FSaveLiterals = true;
    char32_t FBlankChar = U'_';
};

std::u32string ToCodePoints(std::string_view utf8);
std::string FromCodePoints(std::u32string_view text);

}
