// Tests of TStrings and TStringList: search without case, names and values, objects, sorting, text forms, events.
#include "platform/classes/TStringList.h"
#include "platform/classes/Errors.h"
#include "platform/classes/TMemoryStream.h"
#include "support/StringsItems.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

using namespace korvex;
using namespace korvex::classes;
using korvex::classes::test::Items;

TEST(TStringList, IndexOfIgnoresCaseUnlessCaseSensitive) {
    TStringList list;
    list.Add("Alpha");
    list.Add("Привет");
    EXPECT_EQ(list.IndexOf("ALPHA"), 0);
    EXPECT_EQ(list.IndexOf("ПРИВЕТ"), 1);
    EXPECT_EQ(list.IndexOf("beta"), -1);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("ALPHA"), -1);
    EXPECT_EQ(list.IndexOf("Alpha"), 0);
}

TEST(TStringList, NamesValuesAndValueFromIndex) {
    TStringList list;
    list.SetText("Key=1\nOther = two\nplain\nKEY=shadowed\n=empty name\n");
    EXPECT_EQ(list.Values("key"), "1");   // the first wins
    EXPECT_EQ(list.Values("Other "), " two");   // nothing trimmed
    EXPECT_EQ(list.Values("plain"), "");
    EXPECT_EQ(list.Names(2), "");
    EXPECT_EQ(list.ValueFromIndex(2), "");
    EXPECT_EQ(list.Names(4), "");
    EXPECT_EQ(list.ValueFromIndex(4), "empty name");
    EXPECT_EQ(list.IndexOfName("KEY"), 0);
    list.SetValues("New", "x=y");
    EXPECT_EQ(list.Strings(5), "New=x=y");
    EXPECT_EQ(list.Values("New"), "x=y");
    list.SetValues("key", "9");
    EXPECT_EQ(list.Strings(0), "key=9");
    list.SetValues("key", "");
    EXPECT_EQ(list.Values("key"), "shadowed");
    list.SetValueFromIndex(0, "2");
    EXPECT_EQ(list.Strings(0), "Other =2");
}

TEST(TStringList, ObjectsTravelWithTheirStrings) {
    TStringList list;
    TStringList a, b;
    list.AddObject("b", &b);
    list.AddObject("a", &a);
    list.Add("c");
    EXPECT_EQ(list.Objects(0), &b);
    EXPECT_EQ(list.Objects(2), nullptr);
    EXPECT_EQ(list.IndexOfObject(&a), 1);
    list.Sort();
    EXPECT_EQ(Items(list), (std::vector<std::string> {"a", "b", "c"}));
    EXPECT_EQ(list.Objects(0), &a);
    list.Move(0, 2);
    EXPECT_EQ(list.Objects(2), &a);
    list.Exchange(0, 2);
    EXPECT_EQ(list.Objects(0), &a);
}

TEST(TStringList, OwnsObjectsFreesThemOnDeleteClearAndDestruction) {
    auto list = std::make_unique<TStringList>();
    list->SetOwnsObjects(true);
    list->AddObject("x", new TStringList);
    list->AddObject("y", new TStringList);
    list->AddObject("z", new TStringList);
    list->Delete(0);
    list->Clear();
    list->AddObject("w", new TStringList);
    list.reset();   // the sanitizer build reports any leak
}

TEST(TStringList, SortedListsKeepOrderAndApplyDuplicates) {
    TStringList list;
    list.SetSorted(true);
    for (const char* s : {"pear", "Apple", "fig", "apple"})
        list.Add(s);
    EXPECT_EQ(Items(list), (std::vector<std::string> {"Apple", "fig", "pear"}));   // dupIgnore, without case
    list.SetDuplicates(dupAccept);
    list.Add("APPLE");
    EXPECT_EQ(Items(list), (std::vector<std::string> {"Apple", "APPLE", "fig", "pear"}));
    list.SetDuplicates(dupError);
    EXPECT_THROW(list.Add("FIG"), EStringListError);
    EXPECT_THROW(list.Insert(0, "x"), EStringListError);
    EXPECT_THROW(list.SetStrings(0, "x"), EStringListError);
    int index = -1;
    EXPECT_TRUE(list.Find("apple", index));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(list.Find("grape", index));
    EXPECT_EQ(index, 3);
    EXPECT_EQ(list.IndexOf("PEAR"), 3);
    list.SetCaseSensitive(true);
    EXPECT_EQ(Items(list), (std::vector<std::string> {"APPLE", "Apple", "fig", "pear"}));
}

TEST(TStringList, SortIsStableAndCustomSortSeesTheListAsItWas) {
    TStringList list;
    list.SetText("b\nB\na\nA\n");
    list.Sort();
    EXPECT_EQ(Items(list), (std::vector<std::string> {"a", "A", "b", "B"}));
    list.CustomSort([](const TStringList& l, int i, int j) {
        return l.Strings(j).compare(l.Strings(i));   // byte order, descending
    });
    EXPECT_EQ(Items(list), (std::vector<std::string> {"b", "a", "B", "A"}));
    EXPECT_FALSE(list.Sorted());
}

TEST(TStringList, TextSplitsAtEveryLineBreakAndWritesCrLf) {
    struct TCase {
        const char* Text;
        std::vector<std::string> Lines;
    };
    for (const TCase& c :
        {TCase {"", {}}, TCase {"a", {"a"}}, TCase {"a\r\nb\r\n", {"a", "b"}}, TCase {"a\nb", {"a", "b"}},
            TCase {"a\rb\r", {"a", "b"}}, TCase {"\n\n", {"", ""}}, TCase {"a\r\n\r\nb", {"a", "", "b"}}}) {
        TStringList list;
        list.SetText(c.Text);
        EXPECT_EQ(Items(list), c.Lines) << c.Text;
    }
    TStringList list;
    list.SetText("a\nb");
    EXPECT_EQ(list.Text(), "a\r\nb\r\n");
    list.SetLineBreak("\n");
    EXPECT_EQ(list.Text(), "a\nb\n");
}

TEST(TStringList, CommaAndDelimitedText) {
    TStringList list;
    list.SetCommaText(R"(one, "two words",three,"say ""hi""",,  last )");
    EXPECT_EQ(Items(list), (std::vector<std::string> {"one", "two words", "three", "say \"hi\"", "", "last"}));
    EXPECT_EQ(list.CommaText(), R"(one,"two words",three,"say ""hi""",,last)");
    list.SetCommaText("a b,c,");
    EXPECT_EQ(Items(list), (std::vector<std::string> {"a", "b", "c", ""}));
    list.SetDelimiter(';');
    list.SetStrictDelimiter(true);
    list.SetDelimitedText("a b;c");
    EXPECT_EQ(Items(list), (std::vector<std::string> {"a b", "c"}));
    EXPECT_EQ(list.DelimitedText(), "a b;c");
    list.Clear();
    list.Add("");
    EXPECT_EQ(list.CommaText(), "\"\"");
}

TEST(TStringList, AZeroByteOutsideQuotesSeparatesLikeABlank) {
    using namespace std::string_literals;
    struct TCase {
        std::string Text;
        bool Strict;
        std::vector<std::string> Items;
    };
    const TCase cases[] = {
        {"\0"s, false, {}},
        {"a\0b"s, false, {"a", "b"}},
        {"\"a\"\0b"s, false, {"a", "b"}},
        {"\"a\"\0\0,b"s, false, {"a", "b"}},
        {"a,\0"s, false, {"a"}},
        {"\"x\0y\",z"s, false, {"x\0y"s, "z"}},   // quoted: kept
        {"a\0b,c"s, true, {"a\0b"s, "c"}},   // strict: only the delimiter separates
        {"\"a\"\0,b"s, true, {"a", "\0"s, "b"}},
    };
    for (const TCase& c : cases) {
        TStringList list;
        list.SetStrictDelimiter(c.Strict);
        list.SetDelimitedText(c.Text);
        EXPECT_EQ(Items(list), c.Items) << testing::PrintToString(c.Text);
    }
    TStringList list;
    list.SetCommaText(std::string(1000, '\0') + "last");
    EXPECT_EQ(Items(list), (std::vector<std::string> {"last"}));
    list.Clear();
    list.Add("x\0y"s);
    TStringList back;
    back.SetCommaText(list.CommaText());
    EXPECT_EQ(Items(back), Items(list));
}

TEST(TStringList, IndexesOutOfRangeRaiseEListError) {
    TStringList list;
    list.Add("x");
    EXPECT_THROW(list.Strings(1), EListError);
    EXPECT_THROW(list.Delete(-1), EListError);
    EXPECT_THROW(list.Insert(3, "y"), EListError);
    EXPECT_NO_THROW(list.Insert(1, "y"));
    try {
        list.Objects(5);
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (5)");
    }
}

TEST(TStringList, ChangeEventsFireOncePerChangeAndOnceForAnUpdate) {
    TStringList list;
    int changing = 0, changed = 0;
    list.OnChanging = [&](TObject*) { ++changing; };
    list.OnChange = [&](TObject*) { ++changed; };
    list.Add("a");
    list.Delete(0);
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(changing, 2);
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("b");
    list.Add("c");
    list.EndUpdate();
    EXPECT_EQ(changed, 2);
    list.EndUpdate();
    EXPECT_EQ(changed, 3);
    EXPECT_EQ(changing, 3);
    list.SetText("x\ny");
    EXPECT_EQ(changed, 4);
}

TEST(TStringList, AssignAndAddStringsCopyStringsAndObjects) {
    TStringList source, dest;
    source.AddObject("a", &source);
    source.Add("b");
    dest.Add("old");
    dest.Assign(&source);
    EXPECT_TRUE(dest.Equals(source));
    EXPECT_EQ(dest.Objects(0), &source);
    dest.AddStrings(source);
    EXPECT_EQ(dest.Count(), 4);
    TMemoryStream notStrings;
    EXPECT_THROW(dest.Assign(nullptr), base::EConvertError);
}

TEST(TStringList, FilesAndStreamsKeepTheBytes) {
    auto path = std::filesystem::temp_directory_path() / ("korvex_sl_" + std::to_string(::getpid()) + ".txt");
    TStringList list;
    list.Add("Привет");
    list.Add("x=1");
    list.SaveToFile(path.string());
    TStringList back;
    back.LoadFromFile(path.string());
    EXPECT_TRUE(back.Equals(list));
    std::filesystem::remove(path);
    EXPECT_THROW(back.LoadFromFile(path.string()), os::EFOpenError);

    TMemoryStream stream;
    stream.WriteBuffer("skip|a\nb", 8);
    stream.SetPosition(5);
    back.LoadFromStream(stream);
    EXPECT_EQ(Items(back), (std::vector<std::string> {"a", "b"}));
}
