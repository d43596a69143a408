// The string table of the skinned windows and its texts.
#include "skin/windows/sResStrings.h"

#include <map>

namespace korvex::skin {

namespace {

std::map<int, std::string>& Table() {
    static std::map<int, std::string> table {
        {58912, "Save"},
        {58913, "Open"},
        {58914, "Save"},
        {58915, "Open"},
        {58916, "Small icons"},
        {58917, "Icons"},
        {58918, "Report"},
        {58919, "List"},
        {58920, "Read only"},
        {58921, "File type"},
        {58922, "File name"},
        {58923, "Folder"},
        {58951, "Hex - "},
        {58952, "Decimal - "},
        {58953, "Blue :"},
        {58954, "Green :"},
        {58955, "Red :"},
        {58956, "Color"},
        {58957, "Additional colors :"},
        {58958, "Main palette :"},
        {58959, "Define colors"},
        {58960, "Add to custom colors set"},
        {58964, "Available skins"},
        {58976, "Close"},
        {58977, "Maximize"},
        {58978, "Minimize"},
        {58979, "Size"},
        {58980, "Move"},
        {58981, "Restore"},
        {58982, "Yes to &All"},
        {58983, "N&o to All"},
        {58984, "&All"},
        {58985, "&Ignore"},
        {58986, "&Retry"},
        {58987, "&Abort"},
        {58990, "&Help"},
        {58991, "Cancel"},
        {58992, "OK"},
        {58993, "&No"},
        {58994, "&Yes"},
        {58995, "Confirm"},
        {58996, "Information"},
        {58997, "Error"},
        {58998, "Warning"},
        {65280, "All files (*.*)|*.*"},
    };
    return table;
}

}

std::string LoadResString(int id) {
    const auto found = Table().find(id);
    return found != Table().end() ? found->second : std::string();
}

void ReplaceResString(int id, std::string text) {
    Table()[id] = std::move(text);
}

}
