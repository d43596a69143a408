// TMemIniFile: parsing INI text into sections in file order, look-ups without case, writing it back.
#include "platform/classes/TMemIniFile.h"

#include "platform/base/Numbers.h"
#include "platform/base/Strings.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TStringList.h"
#include "platform/os/TextFiles.h"

#include <cerrno>
#include <cstring>

namespace korvex::classes {

namespace {

// Sections and keys compare as AnsiSameText does: equal when their AnsiUpperCase forms are.
std::string Folded(const std::string& name) {
    return base::AnsiUpperCase(name);
}

}

struct TMemIniFile::TSection {
    std::string Name;
    std::string FoldedName;
    std::vector<std::string> Lines;
    std::unordered_map<std::string, std::size_t> KeyIndex;   // folded key -> its first line

    void IndexLine(std::size_t i) {
        const std::size_t p = Lines[i].find('=');
        if (p != std::string::npos) KeyIndex.emplace(Folded(Lines[i].substr(0, p)), i);
    }
    void IndexKeys() {
        KeyIndex.clear();
        for (std::size_t i = 0; i < Lines.size(); ++i)
            IndexLine(i);
    }
    void AddLine(std::string line) {
        Lines.push_back(std::move(line));
        IndexLine(Lines.size() - 1);
    }
    // The first line whose text before its first '=' is ident; -1 when none.
    int IndexOfKey(const std::string& ident) const {
        auto it = KeyIndex.find(Folded(ident));
        return it == KeyIndex.end() ? -1 : static_cast<int>(it->second);
    }
};

TMemIniFile::TMemIniFile() = default;

TMemIniFile::TMemIniFile(const std::string& fileName)
    : FFileName(fileName) {
    LoadValues();
}

TMemIniFile::~TMemIniFile() = default;

TClass TMemIniFile::StaticClass() {
    static const TClassInfo info = MakeClass<TMemIniFile, TObject>("TMemIniFile");
    return &info;
}

void TMemIniFile::LoadValues() {
    Clear();
    if (FFileName.empty()) return;
    TStringList lines;
    try {
        lines.LoadFromFile(FFileName);
    } catch (const os::EStreamError&) {
        return;   // a missing or unreadable file reads as empty
    }
    SetStrings(lines);
}

void TMemIniFile::Rename(const std::string& fileName, bool reload) {
    FFileName = fileName;
    if (reload) LoadValues();
}

TMemIniFile::TSection* TMemIniFile::FindSection(const std::string& name) const {
    auto it = FSectionIndex.find(Folded(name));
    return it == FSectionIndex.end() ? nullptr : it->second;
}

TMemIniFile::TSection& TMemIniFile::AddSection(const std::string& name) {
    FSections.push_back(std::make_unique<TSection>());
    TSection& section = *FSections.back();
    section.Name = name;
    section.FoldedName = Folded(name);
    FSectionIndex.emplace(section.FoldedName, &section);
    return section;
}

void TMemIniFile::IndexSections() {
    FSectionIndex.clear();
    for (const auto& section : FSections)
        FSectionIndex.emplace(section->FoldedName, section.get());
}

std::string TMemIniFile::ReadString(
    const std::string& section, const std::string& ident, const std::string& def) const {
    if (const TSection* s = FindSection(section)) {
        int i = s->IndexOfKey(ident);
        if (i >= 0) {
            const std::string& line = s->Lines[static_cast<std::size_t>(i)];
            return line.substr(line.find('=') + 1);
        }
    }
    return def;
}

void TMemIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    TSection* s = FindSection(section);
    if (s == nullptr) s = &AddSection(section);
    std::string line = ident + "=" + value;
    int i = s->IndexOfKey(ident);
    if (i >= 0)
        s->Lines[static_cast<std::size_t>(i)] = line;   // same key, so the index holds
    else
        s->AddLine(std::move(line));
}

int TMemIniFile::ReadInteger(const std::string& section, const std::string& ident, int def) const {
    return base::StrToIntDef(ReadString(section, ident, ""), def);
}

void TMemIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
    WriteString(section, ident, base::IntToStr(value));
}

bool TMemIniFile::ReadBool(const std::string& section, const std::string& ident, bool def) const {
    return base::StrToIntDef(ReadString(section, ident, ""), def ? 1 : 0) != 0;
}

void TMemIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

double TMemIniFile::ReadFloat(const std::string& section, const std::string& ident, double def) const {
    return base::StrToFloatDef(ReadString(section, ident, ""), def);
}

void TMemIniFile::WriteFloat(const std::string& section, const std::string& ident, double value) {
    WriteString(section, ident, base::FloatToStr(value));
}

void TMemIniFile::ReadSection(const std::string& section, TStrings& keys) const {
    keys.BeginUpdate();
    keys.Clear();
    if (const TSection* s = FindSection(section))
        for (const std::string& line : s->Lines) {
            std::size_t p = line.find('=');
            if (p != std::string::npos) keys.Add(line.substr(0, p));
        }
    keys.EndUpdate();
}

void TMemIniFile::ReadSections(TStrings& sections) const {
    sections.BeginUpdate();
    sections.Clear();
    for (const auto& section : FSections)
        if (FSectionIndex.at(section->FoldedName) == section.get()) sections.Add(section->Name);
    sections.EndUpdate();
}

void TMemIniFile::ReadSectionValues(const std::string& section, TStrings& lines) const {
    lines.BeginUpdate();
    lines.Clear();
    if (const TSection* s = FindSection(section))
        for (const std::string& line : s->Lines)
            if (line.find('=') != std::string::npos) lines.Add(line);
    lines.EndUpdate();
}

bool TMemIniFile::SectionExists(const std::string& section) const {
    return FindSection(section) != nullptr;
}

bool TMemIniFile::ValueExists(const std::string& section, const std::string& ident) const {
    const TSection* s = FindSection(section);
    return s != nullptr && s->IndexOfKey(ident) >= 0;
}

void TMemIniFile::EraseSection(const std::string& section) {
    const std::string folded = Folded(section);
    if (std::erase_if(FSections, [&](const auto& s) { return s->FoldedName == folded; }) > 0) IndexSections();
}

void TMemIniFile::DeleteKey(const std::string& section, const std::string& ident) {
    if (TSection* s = FindSection(section)) {
        int i = s->IndexOfKey(ident);
        if (i >= 0) {
            s->Lines.erase(s->Lines.begin() + i);
            s->IndexKeys();   // the lines after it moved up; a later key of the same name may now be first
        }
    }
}

void TMemIniFile::Clear() {
    FSections.clear();
    FSectionIndex.clear();
}

void TMemIniFile::GetStrings(TStrings& lines) const {
    lines.BeginUpdate();
    lines.Clear();
    for (const auto& section : FSections) {
        lines.Add("[" + section->Name + "]");
        for (const std::string& line : section->Lines)
            lines.Add(line);
        lines.Add("");
    }
    lines.EndUpdate();
}

void TMemIniFile::SetStrings(const TStrings& lines) {
    Clear();
    TSection* current = nullptr;
    for (int i = 0; i < lines.Count(); ++i) {
        std::string s = base::Trim(lines.Get(i));
        if (s.empty() || s[0] == ';') continue;
        if (s[0] == '[' && s.back() == ']' && s.size() >= 2)
            current = &AddSection(base::Trim(s.substr(1, s.size() - 2)));
        else if (current != nullptr)
            current->AddLine(std::move(s));
    }
}

void TMemIniFile::UpdateFile() const {
    TStringList lines;
    GetStrings(lines);
    if (!os::RewriteFileAtomically(FFileName, lines.Text()))
        throw os::EFCreateError("Cannot create file \"" + FFileName + "\". " + std::strerror(errno));
}

}
