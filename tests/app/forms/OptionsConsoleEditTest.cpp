// The options window's console file edit: its dialog lists the client consoles of both systems, and all files.
#include "support/SideFormKit.h"

#include "app/forms/OptionsWindow.h"
#include "platform/classes/TListItems.h"
#include "skin/controls/sTooledit.h"
#include "skin/windows/shell/acShellListView.h"

#include <filesystem>
#include <fstream>

namespace korvex::app::test {
namespace {

using namespace classes;

class OptionsConsoleEditTest : public SideFormTest { };

// The descriptions and masks of a filter text "description|mask|...".
std::vector<std::string> FilterParts(const std::string& filter) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t bar = filter.find('|');; bar = filter.find('|', start)) {
        parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    return parts;
}

TEST_F(OptionsConsoleEditTest, TheConsoleDialogListsWindowsAndLinuxConsolesAndOffersAllFiles) {
    NewMain(NodesSettings(1));
    auto* options = NewSide<TForm1>();
    auto* edit = dynamic_cast<skin::TsFilenameEdit*>(options->FindComponent("sFilenameEdit1"));
    ASSERT_NE(edit, nullptr);
    const std::vector<std::string> parts = FilterParts(edit->Filter());
    ASSERT_EQ(parts.size(), 4u) << edit->Filter();
    EXPECT_EQ(parts[0], "FAH-Consol files");
    EXPECT_EQ(parts[2], "All files");

    const std::string folder = Env->Folder() + "/consoles";
    std::filesystem::create_directories(folder);
    for (const char* name : {"FAH504-Console.exe", "fah6", "FAHClient", "notes.txt"})
        std::ofstream(folder + "/" + name);
    auto* list = Create<skin::TsShellListView>(options);
    list->SetBounds(10, 10, 300, 200);
    list->SetRoot(folder);
    list->SetParent(options);
    list->SetMask(parts[1]);
    Pump();
    std::vector<std::string> names;
    for (int i = 0; i < list->Items()->Count(); ++i)
        names.push_back(list->Items()->Item(i)->Caption());
    EXPECT_EQ(names, (std::vector<std::string> {"FAH504-Console.exe", "fah6", "FAHClient"}))
        << parts[1];   // by name, without case
    list->SetMask(parts[3]);
    EXPECT_EQ(list->Items()->Count(), 4);
}

}
}
