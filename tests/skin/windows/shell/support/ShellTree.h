// A temporary folder tree for the shell tests, with HOME pointed at it and the current folder checked.
#pragma once

#include "skin/windows/shell/acShellRoots.h"
#include "support/TempFolder.h"

#include <memory>

#include <string>

namespace korvex::skin::shelltest {

// The tree, under Root():
//   "Folder A"/ ("inner.txt", "Sub"/), "docs & notes"/, "Папка"/ ("файл.txt"), "closed"/ (mode 000),
//   "file one.txt" (5 bytes), "image.BMP", "archive.zip", "plain", ".hidden file", ".hidden dir"/,
//   "self" (a link to itself), "cycle" (a link to "."), "to file" (a link to "file one.txt").
// HOME is Root() for the fixture's life. The destructor checks that the current folder never changed.
class ShellTree {
public:
    ShellTree();
    ~ShellTree();

    const std::string& Root() const { return FFolder.Path(); }
    std::string operator/(const std::string& name) const { return FFolder / name; }
    static bool RunsAsRoot();   // then mode 000 does not keep us out

private:
    std::string FStartFolder;
    os::filetest::TempFolder FFolder;
    os::filetest::EnvOverride FHome;
};

std::string CurrentFolder();

// The entry name of the tree as an item, its parent the tree's root folder.
struct ShellItem {
    ShellItem(const ShellTree& tree, const std::string& name);
    std::unique_ptr<TacShellFolder> Root;
    TacShellFolder Folder;
};

}
