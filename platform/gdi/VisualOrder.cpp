// Reordering by GNU FriBidi: bidi types, paragraph levels, then one line's reordering and mirroring.
#include "platform/gdi/VisualOrder.h"

#include "platform/base/Utf8.h"

#include <fribidi.h>

#include <numeric>

namespace korvex::gdi {

namespace {

bool StartsRightToLeft(FriBidiCharType type) {
    return type == FRIBIDI_TYPE_RTL || type == FRIBIDI_TYPE_AL || type == FRIBIDI_TYPE_RLE
        || type == FRIBIDI_TYPE_RLO || type == FRIBIDI_TYPE_RLI;
}

bool PlainAsciiWord(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}

bool NeedsVisualOrder(std::string_view utf8, bool rtlBase) {
    if (rtlBase) {
        // Under a right-to-left base, neutrals at the ends of left-to-right text move.
        for (char c : utf8)
            if (!PlainAsciiWord(c)) return true;
        return false;
    }
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        if (static_cast<unsigned char>(utf8[pos]) < 0x80) {
            ++pos;   // ASCII holds no right-to-left character
            continue;
        }
        const char32_t codePoint = base::Utf8DecodeNext(utf8, pos);
        if (StartsRightToLeft(fribidi_get_bidi_type(FriBidiChar(codePoint)))) return true;
    }
    return false;
}

std::string VisualOrder(std::string_view utf8, bool rtlBase, std::vector<int>* logicalOfVisual) {
    auto identity = [&](std::string_view text) {
        if (logicalOfVisual) {
            logicalOfVisual->resize(base::Utf8Length(text));
            std::iota(logicalOfVisual->begin(), logicalOfVisual->end(), 0);
        }
        return std::string(text);
    };
    if (!NeedsVisualOrder(utf8, rtlBase)) return identity(utf8);

    std::vector<FriBidiChar> chars;
    chars.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();)
        chars.push_back(FriBidiChar(base::Utf8DecodeNext(utf8, pos)));
    const auto length = FriBidiStrIndex(chars.size());
    if (std::size_t(length) != chars.size()) return identity(utf8);   // longer than fribidi indexes

    std::vector<FriBidiCharType> types(chars.size());
    fribidi_get_bidi_types(chars.data(), length, types.data());
    std::vector<FriBidiBracketType> brackets(chars.size());
    fribidi_get_bracket_types(chars.data(), length, types.data(), brackets.data());
    std::vector<FriBidiLevel> levels(chars.size());
    FriBidiParType direction = rtlBase ? FRIBIDI_PAR_RTL : FRIBIDI_PAR_LTR;
    if (!fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), length, &direction, levels.data()))
        return identity(utf8);

    fribidi_shape_mirroring(levels.data(), length, chars.data());
    std::vector<FriBidiStrIndex> map(chars.size());
    std::iota(map.begin(), map.end(), FriBidiStrIndex(0));
    // Marks and controls stay in the line (removing them would change its width).
    const FriBidiFlags flags = FRIBIDI_FLAG_REORDER_NSM;
    if (!fribidi_reorder_line(flags, types.data(), length, 0, direction, levels.data(), chars.data(), map.data()))
        return identity(utf8);

    std::string out;
    out.reserve(utf8.size());
    for (FriBidiChar c : chars)
        base::Utf8Append(out, char32_t(c));
    if (logicalOfVisual) logicalOfVisual->assign(map.begin(), map.end());
    return out;
}

}
