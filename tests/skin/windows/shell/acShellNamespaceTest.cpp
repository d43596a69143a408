// Tests of the Linux namespace: the desktop's and computer's children, paths to lists and back, listing order,
// attributes of every kind of entry, and renames that never replace.
#include "skin/windows/shell/acShellNamespace.h"
#include "support/ShellTree.h"

#include <gtest/gtest.h>

using namespace korvex::skin;
using korvex::skin::shelltest::ShellTree;

namespace {

std::vector<std::string> ChildNames(const TacNamespaceFolder& folder, unsigned flags) {
    std::vector<TItemIDList> children;
    EXPECT_TRUE(folder.EnumObjects(flags, children));
    std::vector<std::string> names;
    for (auto& child : children)
        names.push_back(folder.GetDisplayNameOf(child, SHGDN_INFOLDER));
    return names;
}

TacNamespaceFolder FolderAt(const std::string& path) {
    std::optional<TItemIDList> pidl = ParseDisplayName(path);
    EXPECT_TRUE(pidl.has_value()) << path;
    return TacNamespaceFolder(pidl.value_or(TItemIDList()));
}

}

TEST(ShellNamespace, DesktopHoldsHomeAndComputerAndComputerStartsWithTheRoot) {
    ShellTree tree;
    TacNamespaceFolder desktop = DesktopFolder();
    EXPECT_EQ(ChildNames(desktop, SHCONTF_FOLDERS), (std::vector<std::string>{"Home", "Computer"}));
    EXPECT_TRUE(ChildNames(desktop, SHCONTF_NONFOLDERS).empty());
    std::vector<TItemIDList> children;
    desktop.EnumObjects(SHCONTF_FOLDERS, children);
    EXPECT_EQ(desktop.GetDisplayNameOf(children[0], SHGDN_FORPARSING), tree.Root());
    EXPECT_EQ(desktop.GetDisplayNameOf(children[1], SHGDN_FORPARSING), "");
    std::optional<TacNamespaceFolder> computer = desktop.BindToObject(children[1]);
    ASSERT_TRUE(computer);
    std::vector<TItemIDList> drives;
    ASSERT_TRUE(computer->EnumObjects(SHCONTF_FOLDERS, drives));
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(computer->GetDisplayNameOf(drives[0], SHGDN_FORPARSING), "/");
    EXPECT_EQ(computer->GetDisplayNameOf(drives[0], SHGDN_INFOLDER), "File System");
    EXPECT_TRUE(computer->GetAttributesOf(drives[0], 0) & SFGAO_FOLDER);
}

TEST(ShellNamespace, PathsBecomeListsAndBack) {
    ShellTree tree;
    for (const char* name : {"Folder A/Sub", "docs & notes", "Папка/файл.txt", "file one.txt", "self", "cycle"}) {
        std::optional<TItemIDList> pidl = ParseDisplayName(tree / name);
        ASSERT_TRUE(pidl) << name;
        EXPECT_EQ(PidlPath(*pidl), tree / name);
        EXPECT_EQ(DesktopFolder().GetDisplayNameOf(*pidl, SHGDN_FORPARSING), tree / name);
    }
    EXPECT_EQ(PidlPath(*ParseDisplayName(tree.Root() + "/Folder A/../plain/")), tree / "plain");
    EXPECT_EQ(PidlPath(*ParseDisplayName("/")), "/");
    for (const std::string& bad : {std::string(""), std::string("relative/path"), tree / "missing"})
        EXPECT_FALSE(ParseDisplayName(bad)) << bad;
    EXPECT_FALSE(PidlPath(TItemIDList()));
    EXPECT_FALSE(PidlPath(TItemIDList::Item(TacItemKind::Computer, "")));
    TItemIDList home = TItemIDList::Item(TacItemKind::Home, "");
    TItemIDList bad = TItemIDList::Item(TacItemKind::Entry, "..");
    EXPECT_FALSE(PidlPath(ConcatPIDLs(&home, bad)));   // a stored list cannot climb out
}

TEST(ShellNamespace, ListingFollowsObjectTypesAndSortsWithoutCase) {
    ShellTree tree;
    TacNamespaceFolder root = FolderAt(tree.Root());
    std::vector<std::string> folders = {"closed", "cycle", "docs & notes", "Folder A", "Папка"};
    EXPECT_EQ(ChildNames(root, SHCONTF_FOLDERS), folders);
    EXPECT_EQ(ChildNames(root, SHCONTF_NONFOLDERS),
        (std::vector<std::string>{"archive.zip", "file one.txt", "image.BMP", "plain", "self", "to file"}));
    std::vector<std::string> all = ChildNames(root, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN);
    EXPECT_EQ(all.size(), 13u);
    EXPECT_EQ(all.front(), ".hidden dir");
    // A link to the folder itself is a folder whose listing is the folder's again, never endless here.
    TacNamespaceFolder cycle = FolderAt(tree / "cycle");
    EXPECT_EQ(ChildNames(cycle, SHCONTF_FOLDERS), folders);
}

TEST(ShellNamespace, AttributesTellEveryKindOfEntry) {
    ShellTree tree;
    TacNamespaceFolder root = FolderAt(tree.Root());
    auto attributes = [&](const char* name) {
        return root.GetAttributesOf(TItemIDList::Item(TacItemKind::Entry, name), SFGAO_HASSUBFOLDER);
    };
    struct Case {
        const char* Name;
        std::uint32_t Set;
        std::uint32_t Clear;
    } cases[] = {
        {"Folder A", SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_CANRENAME, SFGAO_LINK | SFGAO_HIDDEN},
        {"docs & notes", SFGAO_FOLDER, SFGAO_HASSUBFOLDER},
        {"file one.txt", SFGAO_FILESYSTEM | SFGAO_CANDELETE, SFGAO_FOLDER},
        {".hidden file", SFGAO_HIDDEN, SFGAO_FOLDER},
        {".hidden dir", SFGAO_HIDDEN | SFGAO_FOLDER, 0},
        {"self", SFGAO_LINK | SFGAO_FILESYSTEM, SFGAO_FOLDER},
        {"cycle", SFGAO_LINK | SFGAO_FOLDER | SFGAO_HASSUBFOLDER, 0},
        {"to file", SFGAO_LINK, SFGAO_FOLDER},
    };
    for (const Case& c : cases) {
        std::uint32_t a = attributes(c.Name);
        EXPECT_EQ(a & c.Set, c.Set) << c.Name;
        EXPECT_EQ(a & c.Clear, 0u) << c.Name;
    }
    EXPECT_EQ(attributes("missing"), 0u);
    EXPECT_FALSE(root.GetAttributesOf(TItemIDList::Item(TacItemKind::Entry, "Folder A"), 0) & SFGAO_HASSUBFOLDER);
    std::vector<TItemIDList> children;
    EXPECT_TRUE(root.BindToObject(TItemIDList::Item(TacItemKind::Entry, "Folder A")));
    EXPECT_FALSE(root.BindToObject(TItemIDList::Item(TacItemKind::Entry, "plain")));
    if (!ShellTree::RunsAsRoot()) {
        EXPECT_FALSE(FolderAt(tree / "closed").EnumObjects(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, children));
        EXPECT_FALSE(attributes("closed") & SFGAO_HASSUBFOLDER);
    }
}

TEST(ShellNamespace, RenameNeverReplacesAnExistingEntry) {
    ShellTree tree;
    TacNamespaceFolder root = FolderAt(tree.Root());
    TItemIDList file = TItemIDList::Item(TacItemKind::Entry, "file one.txt");
    for (const char* taken : {"plain", "Folder A", "self"}) {
        errno = 0;
        EXPECT_FALSE(root.SetNameOf(file, taken)) << taken;
        EXPECT_EQ(errno, EEXIST) << taken;
    }
    for (const char* bad : {"", ".", "..", "a/b"})
        EXPECT_FALSE(root.SetNameOf(file, bad)) << bad;
    EXPECT_EQ(korvex::os::filetest::ReadFile(tree / "plain"), "");
    EXPECT_EQ(korvex::os::filetest::ReadFile(tree / "file one.txt"), "12345");
    std::optional<TItemIDList> renamed = root.SetNameOf(file, "Файл & co.txt");
    ASSERT_TRUE(renamed);
    EXPECT_EQ(root.GetDisplayNameOf(*renamed, SHGDN_INFOLDER), "Файл & co.txt");
    EXPECT_EQ(korvex::os::filetest::ReadFile(tree / "Файл & co.txt"), "12345");
    EXPECT_FALSE(DesktopFolder().SetNameOf(TItemIDList::Item(TacItemKind::Home, ""), "x"));
}

TEST(ShellNamespace, AListingTellsWhichChildrenAreFoldersAsItListsThem) {
    ShellTree tree;
    TacNamespaceFolder folder = FolderAt(tree.Root());
    std::vector<TItemIDList> children;
    std::vector<bool> isFolder;
    ASSERT_TRUE(folder.EnumObjects(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, children, &isFolder));
    ASSERT_EQ(isFolder.size(), children.size());
    for (std::size_t i = 0; i < children.size(); ++i)
        EXPECT_EQ(isFolder[i], (folder.GetAttributesOf(children[i], 0) & SFGAO_FOLDER) != 0)
            << folder.GetDisplayNameOf(children[i], SHGDN_INFOLDER);
    // The order ignores case (Cyrillic too) and stays total.
    for (std::size_t i = 1; i < children.size(); ++i) EXPECT_LT(folder.CompareIDs(children[i - 1], children[i]), 0);
    std::vector<TItemIDList> drives;
    std::vector<bool> driveFolders;
    ASSERT_TRUE(TacNamespaceFolder(TItemIDList::Item(TacItemKind::Computer, "")).EnumObjects(SHCONTF_FOLDERS, drives, &driveFolders));
    EXPECT_EQ(driveFolders, std::vector<bool>(drives.size(), true));
}
