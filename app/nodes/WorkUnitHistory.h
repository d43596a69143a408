// The work-unit history KORVEX.WUS: one line per unit a node was seen working on, held in memory and written
// from there.
#pragma once

#include "platform/os/FileIdentity.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace korvex::app {

inline constexpr const char* HistoryFileName = "KORVEX.WUS";
inline constexpr const char* HistoryTempName = "KORVEX.WUN";   // exists only while the history is rewritten
inline constexpr int MaxWriteAttempts = 8;   // writes of one Flush while the file keeps changing under them

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
//
// The changes reach the file at once: a unit recorded is appended to it, a speed set rewrites it from memory
// (through KORVEX.WUN). A speed that could not be written is kept and written with the next rewrite (Flush).
// A file changed on disk since it was last read or written (restored from a backup, edited by hand: another
// device, inode, size or time) is read again before a rewrite and the speeds not yet written are applied to
// what it holds, so nothing the user put there is written over. Every line, a blank one too, is kept and
// written back byte for byte, each ended with CR LF (so a last line the file held without its end no longer
// runs into the next one; an append puts a line break first for such a line). A blank line is held as a count
// beside the line that follows it: a file of millions of them costs little more than its own size.
// All members may be called from any thread (one lock inside; writes are serialised by another).
class TWorkUnitHistory {
public:
    // The files live in `folder`; an empty folder means the program folder, looked up at each use.
    explicit TWorkUnitHistory(std::string folder = "");

    std::string FilePath() const;
    std::string TempPath() const;

    // Reads the file into memory, streamed; a missing file gives an empty history. Changes not yet written
    // are dropped. A file that cannot be read leaves the history unloaded: the changes below then load it
    // first, and refuse (false) while it still cannot be read, so what it holds is never written over.
    void Load();
    // Every line's entry, a blank line's empty one too.
    std::vector<THistoryEntry> Entries() const;
    // The entries of the lines that are not blank, in file order, under the lock (`visit` must not call back).
    void ForEachUnit(const std::function<void(const THistoryEntry& entry)>& visit) const;
    std::int64_t Count() const;   // lines, blank ones too

    // A unit is known when an entry has the same name and the same run-clone-gen, both whole; a unit
    // without a name or a run-clone-gen is never known, and never recorded.
    bool IsKnown(const std::string& name, const std::string& rcg) const;

    // Appends a unit not yet known to the file as a new last line stamped now, and lists it: at once, by a whole
    // new file renamed over the old one (as Flush), so a crash leaves no half line. True when it was written;
    // when the file cannot be written, nothing is listed (the reason logged) and the next call tries again.
    bool SaveWU(const std::string& name, const std::string& rcg, int points, const std::string& node);

    // Sets the speed of the last line whose name's first five characters occur in `name` and whose
    // run-clone-gen equals `rcg`, replacing a speed it had; a line that shows this speed already is not
    // changed. The file is rewritten at once. False when no line matched.
    bool ReSaveWU(const std::string& name, const std::string& rcg, double speed);

    // Units or speeds not yet written.
    bool Dirty() const;
    // Writes the units and speeds not yet written: the whole file as KORVEX.WUN, renamed over
    // KORVEX.WUS, so a crash leaves the old or the new file. On a failure the old file stays, the temporary
    // one is removed, the changes wait for the next Flush (false), and the program log gets the reason, once
    // while the same reason lasts.
    bool Flush();

private:
    struct TLine {
        std::string Text;   // without its line break; never empty
        THistoryEntry Entry;
        std::size_t BlanksBefore = 0;   // blank lines right before it in the file
    };
    // A unit or a speed not written yet, kept to be applied again to a file changed on disk.
    struct TChange {
        std::uint64_t Serial = 0;
        std::string Unit;   // a unit's whole line; empty for a speed
        std::string Name;   // a speed's unit and value
        std::string RCG;
        double Speed = 0;
    };
    std::string Folder() const;
    bool LoadLocked();
    bool ReloadLocked();
    void TakeLinesLocked(std::vector<TLine> lines, std::size_t blanksAtEnd);
    bool ReadFileLocked(std::vector<TLine>& lines, std::size_t& blanksAtEnd);
    bool IsKnownLocked(const std::string& name, const std::string& rcg) const;
    int SetSpeedLocked(const std::string& name, const std::string& rcg, double speed);   // -1 none, 0 same, 1 set
    void AddLineLocked(TLine line);   // at the end, after the blank lines there, indexed
    void EraseLineLocked(std::size_t index);   // its blank lines stay where they were
    void Report(const std::string& reason);

    std::string FFolder;
    mutable std::mutex FLock;   // the lines, the changes and the file
    bool FLoaded = false;
    std::vector<TLine> FLines;
    std::size_t FBlanksAtEnd = 0;   // blank lines after the last of FLines
    std::size_t FBlanks = 0;   // all blank lines
    // The lines' indexes by the run-clone-gen as written (between the first "*" and the first "#"), for the
    // speed's search; made again on the next search after the lines were replaced or one was taken out.
    std::unordered_map<std::string, std::vector<std::size_t>> FLinesByRcg;
    bool FIndexed = false;
    std::vector<TChange> FPending;   // in the order made
    std::uint64_t FSerial = 0;   // of the last change
    os::PinnedFile FFile;   // as last read or written
    std::mutex FWriteLock;   // one write at a time; guards FReported
    std::string FReported;   // the reason of the last failed write logged; empty after a write
};

// The name and run-clone-gen of a history line by its marks ("]", "*", "#"), decoded, as the list keeps them.
THistoryEntry ParseHistoryLine(const std::string& line);

// Streams the lines of a history file to `line`: CR LF, LF or a lone CR end a line, and a last line without
// an end counts; a blank line is a line like any other. False with errno when the file cannot be opened or
// read (ENOENT: missing).
bool ForEachHistoryLine(const std::string& path, const std::function<void(std::string_view line)>& line);

// The fields of a line, written so that no mark a reader looks for occurs inside them: the marks after the
// field ("*", "#", "=" and "@" after a name; "#", "=" and "@" after a run-clone-gen; "@" after a node), CR,
// LF, and a "%" that two hex digits follow become "%" and the byte's two hex digits. Decoding turns every
// "%" with two hex digits back into its byte.
enum class THistoryField { Name, RunCloneGen, Node };
std::string EncodeHistoryField(const std::string& text, THistoryField field);
std::string DecodeHistoryField(const std::string& text);

}
