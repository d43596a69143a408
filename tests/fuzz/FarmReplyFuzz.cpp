// Fuzz target: a reply arriving on the farm port. The input is what one reply connection brings, cut into the
// pieces its reads deliver at each "\n@@piece\n".
#include "app/farm/FarmReply.h"

#include "platform/base/Numbers.h"
#include "support/FuzzSupport.h"

using namespace korvex;

namespace {

void SameFields(const app::TFarmReplyText& one, const app::TFarmReplyText& other, const char* how) {
    const app::TFarmReplyFields a = app::SplitFarmReply(one.Text());
    const app::TFarmReplyFields b = app::SplitFarmReply(other.Text());
    if (a.A != b.A || a.B != b.B || a.C != b.C) fuzz::Fail("a reply's fields depend on how it was cut", how);
    if (app::FarmReplyState(one.Text()) != app::FarmReplyState(other.Text()))
        fuzz::Fail("a reply's state depends on how it was cut", how);
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto pieces = fuzz::SplitAt(fuzz::AsText(data, size), "\n@@piece\n");
    std::string all;
    app::TFarmReplyText cut, joined, bytewise;
    for (std::string_view piece : pieces) {
        cut.Add(piece);
        all += piece;
    }
    joined.Add(all);
    for (char c : all)
        if (bytewise.Add(std::string_view(&c, 1))) break;

    for (const app::TFarmReplyText* reply : {&cut, &joined, &bytewise}) {
        const std::string& text = reply->Text();
        if (text.size() > static_cast<std::size_t>(app::FarmReplyLimit)) fuzz::Fail("a reply passed its limit");
        if (all.compare(0, text.size(), text) != 0) fuzz::Fail("a reply is not what its connection brought first");
        const bool whole = app::FarmReplyComplete(text) || text.size() == static_cast<std::size_t>(app::FarmReplyLimit);
        if (reply->Whole() != whole) fuzz::Fail("a reply is called whole wrongly", text);
        if (text.compare(0, bytewise.Text().size(), bytewise.Text()) != 0)
            fuzz::Fail("a reply does not start with its shortest whole form");
    }
    if (cut.Whole() != joined.Whole() || cut.Whole() != bytewise.Whole())
        fuzz::Fail("whether a reply is whole depends on how it was cut");
    SameFields(cut, joined, "pieces against one read");
    SameFields(cut, bytewise, "pieces against a byte a read");

    // The fields put back together give the text when its marks come in order; the state is the second field.
    const std::string& text = cut.Text();
    const app::TFarmReplyFields fields = app::SplitFarmReply(text);
    const std::size_t hash = text.find('#'), star = text.find('*'), caret = text.find('^');
    if (hash < star && star < caret && caret != std::string::npos
        && fields.A + "#" + fields.B + "*" + fields.C + "^" + fields.D != text)
        fuzz::Fail("a reply's fields do not make its text again", text);
    int state = app::FarmStateStopped;
    base::TryStrToInt(fields.B, state);
    if (app::FarmReplyState(text) != state) fuzz::Fail("a reply's state is not its second field", fields.B);
    return 0;
}
