// Fuzz target: the settings file's text read, written and read again; with a leading '!' also through the
// store on a file (load, one change, a second store reading it back) when it starts with "!store\n".
#include "platform/os/RegistryFormat.h"
#include "platform/os/RegistryStore.h"

#include "support/FuzzSupport.h"

using namespace korvex;

namespace {

void ThroughTheStore(std::string_view text) {
    fuzz::TScratchFolder folder;
    const std::string path = folder / "registry.reg";
    fuzz::WriteBytes(path, text);
    const os::TRegValue value = os::MakeStringValue("fuzz");
    {
        os::RegistryStore store(path);
        store.GetKeyNames(os::HKEY_LOCAL_MACHINE, "");
        if (!store.CreateKey(os::HKEY_CURRENT_USER, "Software\\Fuzz")
            || !store.SetValue(os::HKEY_CURRENT_USER, "Software\\Fuzz", "Value", value))
            fuzz::Fail("a change of a damaged file is not written");
    }
    os::RegistryStore again(path);
    if (again.GetValue(os::HKEY_CURRENT_USER, "Software\\Fuzz", "Value") != value)
        fuzz::Fail("a written change does not read back");
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = fuzz::AsText(data, size);
    os::RegTree tree;
    std::vector<int> damaged;
    os::ParseRegistryText(text, tree, damaged);
    const std::string written = os::FormatRegistryText(tree);

    // What was written reads back whole and writes the same text again.
    os::RegTree copy;
    std::vector<int> damagedCopy;
    os::ParseRegistryText(written, copy, damagedCopy);
    if (!damagedCopy.empty()) fuzz::Fail("written settings read back with damaged lines", written);
    if (os::FormatRegistryText(copy) != written) fuzz::Fail("written settings read back changed", written);

    // The store writes with fsync: only inputs that ask for it, so the parser keeps its speed.
    constexpr std::string_view StorePrefix = "!store\n";
    if (text.starts_with(StorePrefix)) ThroughTheStore(text.substr(StorePrefix.size()));
    return 0;
}
