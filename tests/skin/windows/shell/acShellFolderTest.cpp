// Tests of TacShellFolder: levels, names with extensions shown or hidden, kinds, details and their cache,
// renames and opening through the opener.
#include "skin/windows/shell/acShellFolder.h"
#include "skin/windows/shell/acShellRoots.h"
#include "support/ShellTree.h"

#include "platform/base/Exceptions.h"
#include "platform/classes/Errors.h"

#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

using namespace korvex::skin;
using korvex::os::filetest::EnvOverride;
using korvex::os::filetest::Exists;
using korvex::os::filetest::ReadFile;
using korvex::os::filetest::WriteFile;
using korvex::skin::shelltest::ShellItem;
using korvex::skin::shelltest::ShellTree;

TEST(ShellFolder, LevelsCountTheParentsAncestors) {
    ShellTree tree;
    TacShellFolder top(nullptr, DesktopFolder(), TItemIDList::Item(TacItemKind::Home, ""));
    TacShellFolder child(&top, std::nullopt, TItemIDList::Item(TacItemKind::Entry, "Folder A"));
    TacShellFolder grandChild(&child, std::nullopt, TItemIDList::Item(TacItemKind::Entry, "Sub"));
    // An item made without a parent stands below the desktop's object.
    EXPECT_EQ(top.Parent(), DesktopShellFolder());
    EXPECT_EQ(DesktopShellFolder()->Parent(), nullptr);
    EXPECT_TRUE(SamePIDL(top.AbsoluteID(), top.RelativeID()));
    EXPECT_EQ(top.Level(), 0);
    EXPECT_EQ(child.Level(), 1);
    EXPECT_EQ(grandChild.Level(), 2);
    EXPECT_EQ(grandChild.PathName(), tree / "Folder A/Sub");
    EXPECT_EQ(top.DisplayName(), "Home");
    EXPECT_TRUE(grandChild.IsFolder());
}

TEST(ShellFolder, KindsOfItems) {
    ShellTree tree;
    struct Case {
        const char* Name;
        bool Folder;
        bool File;
        bool SubFolder;
        unsigned Properties;
    } cases[] = {
        {"Folder A", true, false, true, fpFileSystem | fpFileSystemAncestor},
        {"file one.txt", false, true, false, fpFileSystem},
        {"to file", false, false, false, fpFileSystem | fpLink},   // a link is no file
        {"self", false, false, false, fpFileSystem | fpLink},
        {".hidden file", false, true, false, fpFileSystem | fpHidden},
        {"Папка", true, false, false, fpFileSystem | fpFileSystemAncestor},
    };
    for (const Case& c : cases) {
        ShellItem item(tree, c.Name);
        EXPECT_EQ(item.Folder.IsFolder(), c.Folder) << c.Name;
        EXPECT_EQ(item.Folder.IsFile(), c.File) << c.Name;
        EXPECT_EQ(item.Folder.HasSubFolder(), c.SubFolder) << c.Name;
        EXPECT_EQ(item.Folder.Properties() & c.Properties, c.Properties) << c.Name;
        EXPECT_EQ(item.Folder.DisplayName(), c.Name);
        EXPECT_EQ(item.Folder.Capabilities() & (fcCanRename | fcCanDelete), unsigned(fcCanRename | fcCanDelete));
    }
    // A zip file is a file either way here, and counts as one when zip files are not opened.
    ShellItem zip(tree, "archive.zip");
    EXPECT_TRUE(zip.Folder.IsFile(false));
    EXPECT_FALSE(zip.Folder.IsFolder(false));
}

TEST(ShellFolder, ExtensionsAreShownOrHidden) {
    ShellTree tree;
    TacNamespaceFolder root(*ParseDisplayName(tree.Root()));
    auto name = [&](const char* entry, TacShowExtension show) {
        return GetDisplayName(&root, TItemIDList::Item(TacItemKind::Entry, entry), SHGDN_INFOLDER, show);
    };
    EXPECT_EQ(name("file one.txt", seHide), "file one");
    EXPECT_EQ(name("file one.txt", seShow), "file one.txt");
    EXPECT_EQ(name("file one.txt", seSystem), "file one.txt");
    EXPECT_EQ(name(".hidden file", seHide), ".hidden file");   // a leading dot is no extension
    EXPECT_EQ(name("Folder A", seHide), "Folder A");
    EXPECT_EQ(name("plain", seHide), "plain");
    EXPECT_EQ(GetDisplayName(nullptr, TItemIDList(), SHGDN_NORMAL, seSystem), "parentfolder = nil");
}

TEST(ShellFolder, AQuestionMarkBeforeDigitsIsDropped) {
    ShellTree tree;
    TacNamespaceFolder root(*ParseDisplayName(tree.Root()));
    const std::pair<const char*, const char*> cases[] = {{"?12", "12"}, {"?1", "1"}, {"?", "?"}, {"?a1", "?a1"},
        {"1?2", "1?2"}};
    for (const auto& [entry, shown] : cases)
        EXPECT_EQ(GetDisplayName(&root, TItemIDList::Item(TacItemKind::Entry, entry), SHGDN_INFOLDER, seSystem), shown)
            << entry;
}

TEST(ShellFolder, DetailsAreReadAgainForTheColumnsAfterTheName) {
    ShellTree tree;
    ShellItem item(tree, "file one.txt");
    EXPECT_THROW(item.Folder.Details(1), korvex::base::Exception);
    item.Folder.LoadColumnDetails(item.Root.get(), nullptr, 5);
    EXPECT_EQ(item.Folder.DetailCount(), 4);
    EXPECT_EQ(item.Folder.Details(1), "5");
    EXPECT_EQ(item.Folder.Details(2), ".txt");
    EXPECT_EQ(item.Folder.Details(3).size(), std::string("07.12.2026 16:00:00").size());
    EXPECT_EQ(item.Folder.Details(4), "128");
    EXPECT_THROW(item.Folder.Details(9), korvex::classes::EListError);
    // count - 1 texts are not a full list: a second load reads the file again.
    WriteFile(tree / "file one.txt", "1234567");
    item.Folder.LoadColumnDetails(item.Root.get(), nullptr, 5);
    EXPECT_EQ(item.Folder.Details(1), "7");
    // A list of count texts or more is kept.
    WriteFile(tree / "file one.txt", "123");
    item.Folder.LoadColumnDetails(item.Root.get(), nullptr, 4);
    EXPECT_EQ(item.Folder.Details(1), "7");

    ShellItem folder(tree, "Folder A");
    folder.Folder.LoadColumnDetails(folder.Root.get(), nullptr, 5);
    EXPECT_EQ(folder.Folder.Details(1), "-1");
    EXPECT_EQ(folder.Folder.Details(2), "");
    EXPECT_EQ(folder.Folder.Details(3), "-1");
    EXPECT_EQ(folder.Folder.Details(4), "16");
}

TEST(ShellFolder, DetailsOfAVanishedItemAreEmptyTextsAndTheComputerHasNone) {
    ShellTree tree;
    ShellItem item(tree, "plain");
    ::unlink((tree / "plain").c_str());
    EXPECT_NO_THROW(item.Folder.LoadColumnDetails(item.Root.get(), nullptr, 5));
    ASSERT_EQ(item.Folder.DetailCount(), 4);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(item.Folder.Details(i), "");
    // Not a file-system item: no details, and Details tells so.
    TacShellFolder computer(nullptr, DesktopFolder(), TItemIDList::Item(TacItemKind::Computer, ""));
    EXPECT_NO_THROW(computer.LoadColumnDetails(nullptr, nullptr, 4));
    EXPECT_EQ(computer.DetailCount(), 0);
    EXPECT_THROW(computer.Details(1), korvex::base::Exception);
}

TEST(ShellFolder, RenameRefusesToOverwriteAndKeepsTheItem) {
    ShellTree tree;
    ShellItem item(tree, "file one.txt");
    try {
        item.Folder.Rename("plain");
        FAIL() << "no exception";
    } catch (const korvex::base::Exception& e) {
        EXPECT_STREQ(e.what(), "Rename to plain failed");
    }
    EXPECT_EQ(item.Folder.PathName(), tree / "file one.txt");
    EXPECT_EQ(ReadFile(tree / "file one.txt"), "12345");
    item.Folder.Rename("новое имя & всё.txt");
    EXPECT_EQ(item.Folder.PathName(), tree / "новое имя & всё.txt");
    EXPECT_EQ(item.Folder.DisplayName(), "новое имя & всё.txt");
    EXPECT_EQ(GetPIDLCount(item.Folder.RelativeID()), 1);
    TacShellFolder home(nullptr, DesktopFolder(), TItemIDList::Item(TacItemKind::Home, ""));
    EXPECT_THROW(home.Rename("elsewhere"), korvex::base::Exception);
}

TEST(ShellFolder, OpeningStartsTheOpenerWithOneArgumentInTheItemsFolder) {
    ShellTree tree;
    std::string log = tree / "opened.log";
    std::string opener = tree / "fake-opener";
    WriteFile(opener, "#!/bin/sh\nprintf '%s|%s|%s\\n' \"$#\" \"$1\" \"$(pwd)\" > '" + log + ".tmp' && mv '" + log +
            ".tmp' '" + log + "'\n");
    ::chmod(opener.c_str(), 0755);
    EnvOverride fake("KORVEX_OPENER", opener);
    ShellItem item(tree, "docs & notes");
    ASSERT_TRUE(item.Folder.ExecuteDefault());
    for (int i = 0; i < 500 && !Exists(log); ++i)   // a real process: wait for it, at most 5 s
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ReadFile(log), "1|" + (tree / "docs & notes") + "|" + tree.Root() + "\n");
    TacShellFolder desktop(nullptr, DesktopFolder(), TItemIDList());
    EXPECT_FALSE(desktop.ExecuteDefault());
}
