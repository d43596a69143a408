// The open dialog's folder history: the folders visited in order, the way back, and the menu of earlier ones.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korvex::skin {

// A menu caption that shows a path as it is: every "&" doubled, so none becomes an accelerator.
std::string PathMenuCaption(const std::string& path);

class TacFolderHistory {
public:
    // A folder the dialog now shows: kept unless the history itself is navigating, the folder does not exist,
    // or it is the last one kept.
    void Visit(const std::string& folder);
    // The folder before the last (the last is dropped); nothing with fewer than two entries or when that
    // folder is the one shown.
    std::optional<std::string> Back(const std::string& shown);
    bool CanGoBack() const { return FEntries.size() >= 2; }

    // Navigating through the history: visits meanwhile are not kept. Pair every Begin with an End.
    void BeginNavigating() { ++FNavigating; }
    void EndNavigating() { --FNavigating; }

    const std::vector<std::string>& Entries() const { return FEntries; }
    // The menu lists the earlier folders, not the current one: entries 0 .. count - 2, the newest last. Each
    // item carries its path; its caption is PathMenuCaption(path).
    std::vector<std::string> MenuPaths() const;

private:
    std::vector<std::string> FEntries;
    int FNavigating = 0;
};

}
