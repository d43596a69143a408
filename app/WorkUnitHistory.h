// The work-unit history KORVEX.WUS: one line per unit a node was seen working on, and its list in memory.
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::app {

inline constexpr const char* HistoryFileName = "KORVEX.WUS";
inline constexpr const char* HistoryTempName = "KORVEX.WUN";   // exists only while the history is rewritten

// One history line as the list in memory keeps it.
struct THistoryEntry {
    std::string Name;
    std::string RCG;
    std::string DateFragment;   // characters 2 to 5 of the line's date-time text ("5.12" of "05.12.2024 20:10:15")
    std::string Date;   // the line's whole date ("05.12.2024"): the text from "[" to the first blank

    bool operator==(const THistoryEntry&) const = default;
};

// A line: "[" date-time "] " name "*" rcg "#" points "=" node, optionally "@" speed; CR LF at the end.
// Readers find each field by the first occurrence of its mark, so a mark inside a field is written as "%"
// and two hex digits (EncodeHistoryField); ordinary values are written as they are.
// All members may be called from any thread (one lock inside).
class TWorkUnitHistory {
public:
    // The files live in `folder`; an empty folder means the program folder, looked up at each use.
    explicit TWorkUnitHistory(std::string folder = "");

    std::string FilePath() const;
    std::string TempPath() const;

    // Reads the file into the list; a missing file gives an empty list.
    void Load();
    std::vector<THistoryEntry> Entries() const;
    int Count() const;

    // A unit is known when an entry has the same name and the same run-clone-gen, both whole; a unit
    // without a name or a run-clone-gen is never known, and never recorded.
    bool IsKnown(const std::string& name, const std::string& rcg) const;

    // Appends a line for a unit not yet known, stamped now, and lists the unit as the line reads back. True
    // when a line was written; a file that cannot be written leaves the list as it was, so the next call tries
    // again.
    bool SaveWU(const std::string& name, const std::string& rcg, int points, const std::string& node);

    // Sets the speed of the last line whose name's first five characters occur in `name` and whose
    // run-clone-gen equals `rcg`, replacing a speed it had. The new file is written whole as KORVEX.WUN and
    // renamed over KORVEX.WUS; on any failure the old file stays and the temporary one is removed.
    // False when no line matched or the rewrite failed.
    bool ReSaveWU(const std::string& name, const std::string& rcg, double speed);

private:
    std::string Folder() const;
    bool IsKnownLocked(const std::string& name, const std::string& rcg) const;

    std::string FFolder;
    mutable std::mutex FLock;
    std::vector<THistoryEntry> FEntries;
};

// The name and run-clone-gen of a history line by its marks ("]", "*", "#"), decoded, as the list keeps them.
THistoryEntry ParseHistoryLine(const std::string& line);

// The fields of a line, written so that no mark a reader looks for occurs inside them: the marks after the
// field ("*", "#", "=" and "@" after a name; "#", "=" and "@" after a run-clone-gen; "@" after a node), CR,
// LF, and a "%" that two hex digits follow become "%" and the byte's two hex digits. Decoding turns every
// "%" with two hex digits back into its byte.
enum class THistoryField { Name, RunCloneGen, Node };
std::string EncodeHistoryField(const std::string& text, THistoryField field);
std::string DecodeHistoryField(const std::string& text);

}
