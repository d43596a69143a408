// The project summary page: its project rows read into the project table and the user's list in the store,
// and the page fetched into its saved copy.
#pragma once

#include "app/nodes/ProjectTable.h"
#include "platform/base/DateTimeType.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvex::app {

inline constexpr const char* ProjectSummaryUrl = "https://fah-web.stanford.edu/psummary.html";
inline constexpr const char* ProjectSummaryFile = "psummary.html";   // the saved copy, in the program folder
// A page line is a project row exactly when it holds a project server's address, which starts with this.
inline constexpr const char* ProjectServerPrefix = "171.6";
inline constexpr const char* SummaryCellBoundary = "</TD><TD>";
inline constexpr int ProjectSummaryTimeoutMs = 60000;

// One row of the page, cut at the cell boundaries: the name is cell 3 as it stands, the credit cell 7 (blanks
// removed) before its ".00", 0 when that is not a number, the core cell 9 with its blanks removed; a missing
// cell gives an empty text. Nothing for a line without the server address.
std::optional<TProjectRow> ParseProjectSummaryRow(std::string_view line);

struct TProjectSummaryResult {
    int Rows = 0;   // the project rows of the page, known ones included: none means it is no summary page
    int Added = 0;
    int UnitsCount = 0;   // the user's list's length after the last addition (0 when nothing was added)
    base::TDateTime Date = 0;   // the stored date of the last addition
};

// Adds the page's new projects (every line but the first) to the table and, one by one, to the user's list
// under Options\Units (UnitsCount, Date = now, Name<n>, Core<n>, Credit<n>). A row is known when its name
// occurs inside a name already in the table, the rows added before it included; an empty name is known once
// the table holds an empty name.
TProjectSummaryResult AddProjectSummary(std::string_view pageText, TProjectTable& table);

// The line the options window shows once projects were added: 0 Russian, 1 English, "" for other languages.
std::string ProjectSummaryAddedText(int language, base::TDateTime date, int unitsCount, int tableCount);

// The line it shows when it opens: from the user's list in the store, or that the built-in table is in use.
std::string KnownUnitsText(int language, int tableCount);
std::string KnownUnitsHint(int language);

enum class TSummaryFetch { Ok, InitFailed, OpenFailed, WriteFailed };

// Fetches the page and writes exactly its bytes, then one line end, to `file`. A failing status, transfer or
// write leaves the file alone.
TSummaryFetch FetchProjectSummary(const std::string& url, const std::string& file, int timeoutMs);

// The message for a failed fetch: 0 Russian, 1 English, "" for other languages.
std::string SummaryFetchFailureText(TSummaryFetch result, int language, const std::string& url);

}
