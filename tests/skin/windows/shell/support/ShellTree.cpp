// A temporary folder tree for the shell tests, with HOME pointed at it and the current folder checked.
#include "support/ShellTree.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvex::skin::shelltest {

using os::filetest::WriteFile;

std::string CurrentFolder() {
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? buffer : "";
}

ShellTree::ShellTree()
    : FStartFolder(CurrentFolder())
    , FHome("HOME", FFolder.Path()) {
    for (const char* folder : {"Folder A", "Folder A/Sub", "docs & notes", "Папка", ".hidden dir", "closed"})
        ::mkdir((FFolder / folder).c_str(), 0755);
    WriteFile(FFolder / "Folder A/inner.txt", "inner");
    WriteFile(FFolder / "Папка/файл.txt", "файл");
    WriteFile(FFolder / "file one.txt", "12345");
    WriteFile(FFolder / "image.BMP", "BM");
    WriteFile(FFolder / "archive.zip", "PK");
    WriteFile(FFolder / "plain", "");
    WriteFile(FFolder / ".hidden file", "");
    ::symlink("self", (FFolder / "self").c_str());
    ::symlink(".", (FFolder / "cycle").c_str());
    ::symlink("file one.txt", (FFolder / "to file").c_str());
    ::chmod((FFolder / "closed").c_str(), 0);
}

ShellTree::~ShellTree() {
    ::chmod((FFolder / "closed").c_str(), 0755);   // so the folder can be removed
    EXPECT_EQ(CurrentFolder(), FStartFolder) << "the current folder changed";
}

ShellItem::ShellItem(const ShellTree& tree, const std::string& name)
    : Root(CreateFolderFromPIDL(ParseDisplayName(tree.Root()).value()))
    , Folder(Root.get(), Root->ShellFolder()->BindToObject(TItemIDList::Item(TacItemKind::Entry, name)),
          TItemIDList::Item(TacItemKind::Entry, name)) { }

bool ShellTree::RunsAsRoot() {
    return ::geteuid() == 0;
}

}
