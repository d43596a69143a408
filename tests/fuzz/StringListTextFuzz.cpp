// Fuzz target: a string list's text split into lines, written back, sorted and searched.
#include "platform/classes/TStringList.h"

#include "support/FuzzSupport.h"

using namespace korvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    classes::TStringList list;
    list.SetText(std::string(fuzz::AsText(data, size)));
    const std::string text = list.Text();

    // Lines without line breaks in them read back as the same lines.
    classes::TStringList copy;
    copy.SetText(text);
    if (copy.Count() != list.Count()) fuzz::Fail("written lines read back as another number", text);
    for (int i = 0; i < list.Count(); ++i)
        if (copy.Get(i) != list.Get(i)) fuzz::Fail("a written line reads back changed", list.Get(i));

    // Name=value look-ups over the first lines, then a sorted copy finds each of them.
    for (int i = 0; i < std::min(list.Count(), 16); ++i) {
        const std::string name = list.Names(i);
        if (!name.empty()) list.Values(name);
    }
    copy.SetSorted(true);
    for (int i = 0; i < std::min(list.Count(), 16); ++i)
        if (copy.IndexOf(list.Get(i)) < 0) fuzz::Fail("a sorted list lost a line", list.Get(i));
    return 0;
}
