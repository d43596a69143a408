// TMemIniFile: an INI file held in memory: sections and keys in file order, looked up without case.
#pragma once

#include "platform/classes/TObject.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace korvex::classes {

// Reading the text (file or SetStrings), line by line after trimming blanks and control characters:
//   - empty lines and lines starting with ';' are skipped;
//   - "[name]" starts a section named by the trimmed text between the brackets (spelling kept);
//   - any other line belongs to the current section as it is (lines before the first section are dropped).
// A key is the text before the line's first '=' and its value the text after it, both as written: no blanks
// are removed around '=' ("KEY = 1" is the key "KEY " with the value " 1"). Lines without '=' are kept but
// are no keys. Sections and keys compare without case; with duplicates the first one wins (a repeated
// section is kept for GetStrings and UpdateFile but reads and writes go to the first one).
// Names are case-folded once when stored; look-ups go by hash, so a read costs the same however many
// sections and keys the file holds.
class TMemIniFile : public TObject {
public:
    TMemIniFile();   // empty, no file
    explicit TMemIniFile(const std::string& fileName);   // the file's content; empty when it cannot be read
    ~TMemIniFile() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const std::string& FileName() const { return FFileName; }
    void Rename(const std::string& fileName, bool reload);

    std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) const;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value);
    // Decimal, "$" hex or "0x" hex; def when missing or not a number.
    int ReadInteger(const std::string& section, const std::string& ident, int def) const;
    void WriteInteger(const std::string& section, const std::string& ident, int value);
    // A number: not 0 is true; def when missing or not a number. Written as "1" / "0".
    bool ReadBool(const std::string& section, const std::string& ident, bool def) const;
    void WriteBool(const std::string& section, const std::string& ident, bool value);
    // '.' as decimal point; def when missing or not a number.
    double ReadFloat(const std::string& section, const std::string& ident, double def) const;
    void WriteFloat(const std::string& section, const std::string& ident, double value);

    void ReadSection(const std::string& section, TStrings& keys) const;   // the keys in file order
    void ReadSections(TStrings& sections) const;   // each name once, file order
    void ReadSectionValues(const std::string& section, TStrings& lines) const;   // key=value lines
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& ident) const;
    void EraseSection(const std::string& section);   // every section of that name
    void DeleteKey(const std::string& section, const std::string& ident);

    void Clear();
    void GetStrings(TStrings& lines) const;   // "[name]", its lines, an empty line; per section
    void SetStrings(const TStrings& lines);   // replaces everything
    // Writes GetStrings to FileName (replaced atomically); raises os::EFCreateError when it cannot.
    void UpdateFile() const;

private:
    struct TSection;
    TSection* FindSection(const std::string& name) const;
    TSection& AddSection(const std::string& name);
    void IndexSections();
    void LoadValues();

    std::string FFileName;
    std::vector<std::unique_ptr<TSection>> FSections;
    std::unordered_map<std::string, TSection*> FSectionIndex;   // folded name -> first section of that name
};

}
