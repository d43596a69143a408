// Fuzz target: the project summary page read into the project table and the user's list in a scratch store.
#include "app/nodes/ProjectSummary.h"

#include "support/FuzzSupport.h"

#include <cstdlib>

using namespace korvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view page = fuzz::AsText(data, size);
    fuzz::TScratchFolder folder;
    setenv("KORVEX_REGISTRY", (folder / "registry.reg").c_str(), 1);

    app::TProjectTable table;
    const int before = table.Count();
    const app::TProjectSummaryResult result = app::AddProjectSummary(page, table);
    if (table.Count() != before + result.Added) fuzz::Fail("the table grew by another number than was added");
    if (result.UnitsCount != result.Added) fuzz::Fail("a fresh store counts other than what was added");
    int nameless = 0;
    for (int k = before + 1; k <= table.Count(); ++k) {
        const app::TProjectRow& row = table.Row(k);
        if (row.Name.empty() && ++nameless > 1) fuzz::Fail("a row without a name was added twice");
        if (row.Name.find(app::SummaryCellBoundary) != std::string::npos) fuzz::Fail("a name holds a boundary", row.Name);
        if (row.Core.find(' ') != std::string::npos) fuzz::Fail("a core holds a blank", row.Core);
    }
    // What was stored reads back as the same table, and the same page adds nothing again.
    const app::TProjectTable stored = app::LoadProjectTable();
    if (stored.Count() != table.Count()) fuzz::Fail("the stored list reads back as another number of rows");
    for (int k = before + 1; k <= table.Count(); ++k)
        if (!(stored.Row(k) == table.Row(k))) fuzz::Fail("a stored row reads back changed", table.Name(k));
    if (app::AddProjectSummary(page, table).Added != 0) fuzz::Fail("the same page added rows twice");
    unsetenv("KORVEX_REGISTRY");
    return 0;
}
