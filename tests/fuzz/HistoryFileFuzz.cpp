// Fuzz target: the work-unit history file loaded, a unit appended and a speed rewritten. The input is the
// file, then after "\n@@unit\n" the name and run-clone-gen of the unit to record, separated by "\n".
#include "app/nodes/WorkUnitHistory.h"

#include "support/FuzzSupport.h"

using namespace korvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzz::SplitAt(fuzz::AsText(data, size), "\n@@unit\n");
    fuzz::TScratchFolder folder;
    fuzz::WriteBytes(folder / app::HistoryFileName, parts[0]);

    app::TWorkUnitHistory history(folder.Path());
    history.Load();
    const std::int64_t count = history.Count();
    for (const auto& entry : history.Entries())
        if (!entry.Name.empty() && !entry.RCG.empty() && !history.IsKnown(entry.Name, entry.RCG))
            fuzz::Fail("a loaded unit is not known", entry.Name);
    if (parts.size() < 2) return 0;

    const auto unit = fuzz::SplitAt(parts[1], "\n");
    const std::string name(unit[0]);
    const std::string rcg(unit.size() > 1 ? unit[1] : std::string_view());
    const bool wasKnown = history.IsKnown(name, rcg);
    const bool written = history.SaveWU(name, rcg, 120, "node");
    if (written && wasKnown) fuzz::Fail("a known unit was recorded again", name);
    if (!written) return 0;
    if (!history.Flush()) fuzz::Fail("a recorded unit could not be written");

    // What was written is the same unit after a reload: known, and not recorded a second time.
    app::TWorkUnitHistory reloaded(folder.Path());
    reloaded.Load();
    if (reloaded.Count() != count + 1) fuzz::Fail("one recorded unit reads back as another number of lines", name);
    if (!reloaded.IsKnown(name, rcg)) fuzz::Fail("a recorded unit is not known after a reload", name);
    if (reloaded.SaveWU(name, rcg, 120, "node")) fuzz::Fail("a recorded unit was recorded again after a reload");

    // A rewrite keeps every line.
    const std::string before = fuzz::ReadBytes(folder / app::HistoryFileName);
    if (reloaded.ReSaveWU(name, rcg, 1.5) && reloaded.Flush()) {
        app::TWorkUnitHistory rewritten(folder.Path());
        rewritten.Load();
        if (rewritten.Count() != reloaded.Count()) fuzz::Fail("a speed rewrite changed the number of lines");
    } else if (fuzz::ReadBytes(folder / app::HistoryFileName) != before) {
        fuzz::Fail("a rewrite that failed or had nothing to change changed the file");
    }
    return 0;
}
