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

struct TMemIniFile::TSection {
    std::string Name;
    std::vector<std::string> Lines;

    // The first line whose text before its first '=' is ident; -1 when none.
    int IndexOfKey(const std::string& ident) const {
        for (std::size_t i = 0; i < Lines.size(); ++i) {
            std::size_t p = Lines[i].find('=');
            if (p != std::string::npos && base::AnsiSameText(Lines[i].substr(0, p), ident)) return static_cast<int>(i);
        }
        return -1;
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
    for (const auto& section : FSections)
        if (base::AnsiSameText(section->Name, name)) return section.get();
    return nullptr;
}

TMemIniFile::TSection& TMemIniFile::AddSection(const std::string& name) {
    FSections.push_back(std::make_unique<TSection>());
    FSections.back()->Name = name;
    return *FSections.back();
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
        s->Lines[static_cast<std::size_t>(i)] = line;
    else
        s->Lines.push_back(line);
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
        if (FindSection(section->Name) == section.get()) sections.Add(section->Name);
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
    std::erase_if(FSections, [&](const auto& s) { return base::AnsiSameText(s->Name, section); });
}

void TMemIniFile::DeleteKey(const std::string& section, const std::string& ident) {
    if (TSection* s = FindSection(section)) {
        int i = s->IndexOfKey(ident);
        if (i >= 0) s->Lines.erase(s->Lines.begin() + i);
    }
}

void TMemIniFile::Clear() {
    FSections.clear();
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
            current->Lines.push_back(s);
    }
}

void TMemIniFile::UpdateFile() const {
    TStringList lines;
    GetStrings(lines);
    if (!os::RewriteFileAtomically(FFileName, lines.Text()))
        throw os::EFCreateError("Cannot create file \"" + FFileName + "\". " + std::strerror(errno));
}

}
