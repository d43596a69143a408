// Fuzz target: client.cfg read and edited. The input is the file; its first byte picks the core type written.
#include "app/nodes/ClientConfig.h"

#include "support/FuzzSupport.h"

#include <algorithm>

using namespace korvex;

namespace {

long LineBreaks(std::string_view text) {
    return std::count(text.begin(), text.end(), '\n');
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    const int type = size > 0 ? data[0] % 5 : 0;

    // The cache client's edit changes values only: the same lines, and a second edit changes nothing.
    const app::TClientConfigEdit cache {7, type, app::CacheClientMemory, false};
    const std::string cached = app::EditClientConfig(text, cache);
    if (LineBreaks(cached) != LineBreaks(text)) fuzz::Fail("a value edit changed the number of lines");
    if (app::EditClientConfig(cached, cache) != cached) fuzz::Fail("a value edit is not stable");

    // The core type write always leaves that type to be read back, and adds at most its section, its line and an empty line.
    app::TClientConfigEdit typeEdit;
    typeEdit.Type = type;
    typeEdit.AddMissingType = true;
    const std::string typed = app::EditClientConfig(text, typeEdit);
    if (app::ClientConfigType(typed, type == 0 ? 1 : 0) != type) fuzz::Fail("the written core type reads back as another");
    if (LineBreaks(typed) > LineBreaks(text) + 4) fuzz::Fail("the core type write added more than its lines");
    if (app::EditClientConfig(typed, typeEdit) != typed) fuzz::Fail("a core type write is not stable");

    // Through a file: the same bytes as the text edit.
    fuzz::TScratchFolder folder;
    const std::string file = folder / app::ClientConfigName;
    fuzz::WriteBytes(file, text);
    if (!app::EditClientConfigFile(file, typeEdit)) fuzz::Fail("an edit of a writable file failed");
    if (fuzz::ReadBytes(file) != typed) fuzz::Fail("the edited file differs from the edited text");
    return 0;
}
