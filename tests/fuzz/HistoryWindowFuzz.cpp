// Fuzz target: the history window's reader over a history file, each sort, the totals and a search. The input
// is the file, then after "\n@@find\n" the text to look for.
#include "app/views/HistoryTable.h"
#include "app/nodes/WorkUnitHistory.h"

#include "support/FuzzSupport.h"

#include <algorithm>

using namespace korvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzz::SplitAt(fuzz::AsText(data, size), "\n@@find\n");
    fuzz::TScratchFolder folder;
    fuzz::WriteBytes(folder / app::HistoryFileName, parts[0]);

    std::vector<app::THistoryRow> rows = app::ReadHistory(folder / app::HistoryFileName);
    // One row per line, a blank one too, as the main window's history list reads the same file.
    app::TWorkUnitHistory history(folder.Path());
    history.Load();
    if (std::int64_t(rows.size()) != history.Count()) fuzz::Fail("the window and the history list count other lines");
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i][app::hcIndex] != std::to_string(i + 1)) fuzz::Fail("a row is numbered out of file order");
    const std::int64_t total = app::HistoryPointsTotal(rows);

    for (int column : {app::hcName, app::hcNode, app::hcDate}) {
        app::SortHistory(rows, column);
        for (std::size_t i = 1; i < rows.size(); ++i) {
            if (rows[i - 1][column] > rows[i][column]) fuzz::Fail("a sort left rows out of order");
            if (column == app::hcName && rows[i - 1][column] == rows[i][column]
                && std::stoi(rows[i - 1][app::hcIndex]) > std::stoi(rows[i][app::hcIndex]))
                fuzz::Fail("a sort moved rows with equal names out of file order");
        }
        if (app::HistoryPointsTotal(rows) != total) fuzz::Fail("a sort changed the total");
    }

    if (parts.size() < 2) return 0;
    const std::string text(parts[1]);
    const int found = app::FindHistoryRow(rows, text, -1);
    if (found >= int(rows.size())) fuzz::Fail("a search found a row past the end");
    // Case folding keeps ASCII text findable wherever it occurs as it is.
    const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return (unsigned char)c < 0x80; });
    if (found < 0 && !text.empty() && ascii) {
        for (const app::THistoryRow& row : rows)
            for (int c = app::hcDate; c < app::HistoryColumnCount; ++c)
                if (row[std::size_t(c)].find(text) != std::string::npos) fuzz::Fail("a search missed a row", text);
    }
    return 0;
}
