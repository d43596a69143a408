// Tests of item identifier lists: sizes, counts, joins, cuts, ancestor lists and checking stored bytes.
#include "skin/windows/shell/acShellPidl.h"

#include <gtest/gtest.h>

using namespace korvex::skin;

namespace {

TItemIDList Path(std::initializer_list<const char*> names) {
    TItemIDList pidl = TItemIDList::Item(TacItemKind::Computer, "");
    TItemIDList drive = TItemIDList::Item(TacItemKind::Drive, "/");
    pidl = ConcatPIDLs(&pidl, drive);
    for (const char* name : names) {
        TItemIDList item = TItemIDList::Item(TacItemKind::Entry, name);
        pidl = ConcatPIDLs(&pidl, item);
    }
    return pidl;
}

}

TEST(ItemIDList, SizesAndCountsFollowTheItemCounts) {
    TItemIDList desktop;
    EXPECT_EQ(GetPIDLSize(&desktop), 2u);
    EXPECT_EQ(GetPIDLSize(nullptr), 0u);
    EXPECT_EQ(GetPIDLCount(desktop), 0);
    TItemIDList item = TItemIDList::Item(TacItemKind::Entry, "abc");
    EXPECT_EQ(GetPIDLSize(&item), 3u + 3u + 2u);
    EXPECT_EQ(NextPIDL(item.Data()), item.Data() + 6);
    TItemIDList path = Path({"home", "Папка"});
    EXPECT_EQ(GetPIDLCount(path), 4);
    std::vector<TItemIDView> items = ItemsOf(path);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[3].Name, "Папка");
    EXPECT_EQ(items[3].Kind, TacItemKind::Entry);
}

TEST(ItemIDList, StripCopyLastAndConcatAreInverse) {
    TItemIDList path = Path({"a", "b c"});
    TItemIDList parent = path;
    EXPECT_TRUE(StripLastID(parent));
    TItemIDList last = CopyLastID(path);
    EXPECT_EQ(GetPIDLCount(last), 1);
    EXPECT_EQ(ConcatPIDLs(&parent, last), path);
    EXPECT_EQ(ConcatPIDLs(nullptr, last), last);
    TItemIDList desktop;
    EXPECT_FALSE(StripLastID(desktop));
    EXPECT_TRUE(desktop.IsDesktop());
    EXPECT_TRUE(CopyLastID(desktop).IsDesktop());
    EXPECT_TRUE(SamePIDL(CopyPIDL(path), path));
    EXPECT_FALSE(SamePIDL(parent, path));
}

TEST(ItemIDList, AncestorListStartsWithTheDesktopAndEndsWithTheParent) {
    TItemIDList one = TItemIDList::Item(TacItemKind::Home, "");
    std::vector<TItemIDList> list = CreatePIDLList(one);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_TRUE(list[0].IsDesktop());
    TItemIDList path = Path({"a", "b"});
    list = CreatePIDLList(path);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_TRUE(list[0].IsDesktop());
    for (std::size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ(GetPIDLCount(list[i]), static_cast<int>(i));
    TItemIDList parent = path;
    StripLastID(parent);
    EXPECT_EQ(list.back(), parent);
    EXPECT_TRUE(CreatePIDLList(TItemIDList()).empty());
}

TEST(ItemIDList, StoredBytesAreCheckedBeforeUse) {
    using Bytes = std::vector<std::uint8_t>;
    struct Case {
        const char* What;
        Bytes Data;
        bool Valid;
    } cases[] = {
        {"desktop", {0, 0}, true},
        {"one item", {4, 0, 4, 'a', 0, 0}, true},
        {"trailing bytes ignored", {4, 0, 4, 'a', 0, 0, 9, 9}, true},
        {"empty", {}, false},
        {"one byte", {0}, false},
        {"no terminator", {4, 0, 4, 'a'}, false},
        {"count past the end", {40, 0, 4, 'a', 0, 0}, false},
        {"count below the header", {2, 0, 0, 0}, false},
        {"unknown kind", {4, 0, 9, 'a', 0, 0}, false},
        {"half a terminator", {4, 0, 4, 'a', 0}, false},
    };
    for (const Case& c : cases) {
        std::optional<TItemIDList> pidl = TItemIDList::FromBytes(c.Data);
        EXPECT_EQ(pidl.has_value(), c.Valid) << c.What;
        if (pidl) {
            EXPECT_EQ(pidl->Data()[pidl->Size() - 1], 0);
            EXPECT_EQ(pidl->Data()[pidl->Size() - 2], 0);
        }
    }
}
