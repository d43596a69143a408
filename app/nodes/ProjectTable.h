// The project table: core and credit of the known Folding@home projects, built-in rows and the user's rows.
#pragma once

#include <string>
#include <vector>

namespace korvex::app {

inline constexpr int BuiltInProjectCount = 170;
inline constexpr int ProjectKeyLength = 5;   // the characters of a name a look-up compares

struct TProjectRow {
    std::string Name;   // "p2008_BBA5": "p", the project number, "_", a description
    std::string Core;   // "TINKER", "GROMACS", "DGROMACS", "GBGROMACS", "AMBER" or "QMD" for built-in rows
    int Credit = 0;   // points for the whole unit

    bool operator==(const TProjectRow&) const = default;
};

// The built-in rows in their fixed order (rows 1 to 170 of the table).
const std::vector<TProjectRow>& BuiltInProjects();

// Rows from 1 to Count(); row 0 exists and stays empty (no name, no core, credit 0): a failed look-up's row.
class TProjectTable {
public:
    TProjectTable();   // the built-in rows only

    int Count() const { return static_cast<int>(FRows.size()) - 1; }
    const TProjectRow& Row(int k) const;   // row 0 for an index outside 0..Count()
    const std::string& Name(int k) const { return Row(k).Name; }
    const std::string& Core(int k) const { return Row(k).Core; }
    int Credit(int k) const { return Row(k).Credit; }

    void Add(TProjectRow row);   // after the last row

    // The last row whose name has the same first five characters as the unit's name, 0 when none. Later rows
    // win, so user rows override built-in ones. An empty name never matches (nor does an empty row).
    int Lookup(const std::string& wuName) const;

private:
    std::vector<TProjectRow> FRows;
};

// The built-in rows followed by the user's rows from Options\Units (Name<n>, Core<n>, Credit<n> for n up to
// UnitsCount, kept within 0..100000). Without that key, the built-in rows alone. A missing UnitsCount gives no
// user rows; a wrong-typed value its default (logged).
TProjectTable LoadProjectTable();

}
