// Fuzz target: an in-memory INI file read from text, looked up, changed and written back.
#include "platform/classes/TMemIniFile.h"
#include "platform/classes/TStringList.h"

#include "support/FuzzSupport.h"

using namespace korvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    classes::TStringList lines;
    lines.SetText(std::string(fuzz::AsText(data, size)));
    classes::TMemIniFile ini;
    ini.SetStrings(lines);

    classes::TStringList sections;
    ini.ReadSections(sections);
    classes::TStringList keys;
    for (int s = 0; s < std::min(sections.Count(), 32); ++s) {
        const std::string section = sections.Get(s);
        if (!ini.SectionExists(section)) fuzz::Fail("a listed section does not exist", section);
        ini.ReadSection(section, keys);
        for (int k = 0; k < std::min(keys.Count(), 32); ++k) {
            const std::string key = keys.Get(k);
            if (!ini.ValueExists(section, key)) fuzz::Fail("a listed key does not exist", key);
            ini.ReadInteger(section, key, 0);
            ini.ReadFloat(section, key, 0);
            ini.ReadBool(section, key, false);
        }
    }

    // Written values read back, also after the text is written and read again.
    const std::string section = sections.Count() > 0 ? sections.Get(0) : std::string("Fuzz");
    ini.WriteString(section, "FuzzKey", "value");
    ini.WriteInteger("Fuzz", "Number", -7);
    if (ini.ReadString(section, "FuzzKey", "") != "value") fuzz::Fail("a written value does not read back", section);
    classes::TStringList written;
    ini.GetStrings(written);
    classes::TMemIniFile copy;
    copy.SetStrings(written);
    if (copy.ReadInteger("Fuzz", "Number", 0) != -7) fuzz::Fail("a written number does not read back");
    if (section.find_first_of("[]=;\r\n") == std::string::npos && !section.empty()
        && copy.ReadString(section, "FuzzKey", "") != "value")
        fuzz::Fail("a written value does not read back from the text", section);

    if (sections.Count() > 1) ini.EraseSection(sections.Get(1));
    ini.Clear();
    return 0;
}
