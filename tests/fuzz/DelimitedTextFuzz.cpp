// Fuzz target: delimited and comma text read into a string list and written back. The first byte of the
// input picks the delimiter, the quote character and whether the delimiter is strict.
#include "platform/classes/TStringList.h"

#include "support/FuzzSupport.h"

using namespace korvex;

namespace {

void CheckSameItems(const classes::TStringList& a, const classes::TStringList& b, const std::string& text) {
    if (a.Count() != b.Count()) fuzz::Fail("written items read back as another number", text);
    for (int i = 0; i < a.Count(); ++i)
        if (a.Get(i) != b.Get(i)) fuzz::Fail("a written item reads back changed", text);
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static constexpr char Delimiters[] = {',', ';', '|', ':', '\t', ' ', '=', '/'};
    static constexpr char Quotes[] = {'"', '\'', '`', '#'};
    const std::uint8_t choice = data[0];
    const std::string text(fuzz::AsText(data + 1, size - 1));
    const bool strict = choice & 0x80;
    const char delimiter = Delimiters[choice & 7];
    const char quote = Quotes[(choice >> 3) & 3];

    classes::TStringList list;
    list.SetDelimiter(delimiter);
    list.SetQuoteChar(quote);
    list.SetStrictDelimiter(strict);
    list.SetDelimitedText(text);
    // A blank delimiter is also skipped as a blank unless strict, so an empty last item cannot come back.
    if (strict || static_cast<unsigned char>(delimiter) > ' ') {
        const std::string written = list.DelimitedText();
        classes::TStringList copy;
        copy.SetDelimiter(delimiter);
        copy.SetQuoteChar(quote);
        copy.SetStrictDelimiter(strict);
        copy.SetDelimitedText(written);
        CheckSameItems(list, copy, written);
    }

    classes::TStringList comma;
    comma.SetCommaText(text);
    classes::TStringList commaCopy;
    commaCopy.SetCommaText(comma.CommaText());
    CheckSameItems(comma, commaCopy, comma.CommaText());
    return 0;
}
