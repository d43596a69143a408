// Utility routines: the CommonSections reader, number and text routines, rectangles, words and paths.
#include "skin/engine/sUtils.h"
#include "platform/base/Exceptions.h"
#include "platform/classes/TIcon.h"
#include "platform/classes/TStringList.h"
#include "platform/gdi/PngCodec.h"
#include "platform/os/ProgramFolder.h"

#include <cstdlib>
#include <filesystem>

#include "support/SkinFixtures.h"
#include "tests/platform/os/support/TempFolder.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skin::test;

namespace {

std::unique_ptr<classes::TStringList> Lines(std::initializer_list<const char*> lines) {
    auto list = std::make_unique<classes::TStringList>();
    for (const char* line : lines)
        list->Add(line);
    return list;
}

}

TEST(ParseCommonSections, KeepsSectionLinesAndDropsCommentsAndStrayLines) {
    auto lines = Lines({"; comment", "[BUTTON]", "FONTCOLOR=0xFF", "[BAD"});
    classes::TStringList sections;
    ParseCommonSections(*lines, sections);
    ASSERT_EQ(sections.Count(), 1);
    EXPECT_EQ(sections.Strings(0), "BUTTON");
    auto* body = dynamic_cast<classes::TStrings*>(sections.Objects(0));
    ASSERT_NE(body, nullptr);
    ASSERT_EQ(body->Count(), 2);
    EXPECT_EQ(body->Strings(0), "FONTCOLOR=0xFF");
    EXPECT_EQ(body->Strings(1), "[BAD");
}

TEST(ParseCommonSections, DropsLinesBeforeTheFirstSectionAndEmptyLines) {
    auto lines = Lines({"COLOR=1", "", "[Panel]", "", "COLOR=2", "[Edit]"});
    classes::TStringList sections;
    sections.Add("old");
    ParseCommonSections(*lines, sections);
    ASSERT_EQ(sections.Count(), 2);
    EXPECT_EQ(sections.Strings(0), "Panel");
    EXPECT_EQ(dynamic_cast<classes::TStrings*>(sections.Objects(0))->Count(), 1);
    EXPECT_EQ(dynamic_cast<classes::TStrings*>(sections.Objects(1))->Count(), 0);
}

TEST(ReadCommon, ReadsTextAndIntegersWithoutCase) {
    auto lines = Lines({"[Button]", "Color=0x1F", "Value=010", "Dollar=$10", "Short=0x", "Text=a=b"});
    classes::TStringList sections;
    ParseCommonSections(*lines, sections);
    EXPECT_EQ(ReadCommonString(sections, "BUTTON", "def", "TEXT"), "a=b");
    EXPECT_EQ(ReadCommonInteger(sections, "button", -1, "color"), 31);
    EXPECT_EQ(ReadCommonInteger(sections, "Button", -1, "Value"), 10);
    EXPECT_EQ(ReadCommonInteger(sections, "Button", -1, "Dollar"), 16);
    EXPECT_EQ(ReadCommonInteger(sections, "Button", 7, "Short"), 7);
    EXPECT_EQ(ReadCommonInteger(sections, "Button", 7, "Text"), 7);
    EXPECT_EQ(ReadCommonInteger(sections, "Button", 7, "Missing"), 7);
}

TEST(ReadCommon, AKeyOfAnotherSectionGivesTheDefault) {
    auto lines = Lines({"[PANEL]", "COLOR=5", "[EDIT]"});
    classes::TStringList sections;
    ParseCommonSections(*lines, sections);
    EXPECT_EQ(ReadCommonString(sections, "EDIT", "none", "COLOR"), "none");
    EXPECT_EQ(ReadCommonString(sections, "FORM", "none", "COLOR"), "none");
}

TEST(Numbers, ClampAndChoose) {
    EXPECT_EQ(ClampToByte(-3), 0);
    EXPECT_EQ(ClampToByte(300), 255);
    EXPECT_EQ(ClampToByte(77), 77);
    EXPECT_EQ(ClampInt(-5, 0, 10), 0);
    EXPECT_EQ(ClampInt(15, 0, 10), 10);
    EXPECT_EQ(ClampInt(5, 10, 0), 10);   // lo wins when the bounds cross
    EXPECT_EQ(LargerOf(3, 9), 9);
    EXPECT_EQ(SmallerOf(3, 9), 3);
    int a = 1, b = 2;
    SwapInts(a, b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);
    EXPECT_TRUE(IsBetween(5, 5, 6));
    EXPECT_FALSE(IsBetween(7, 5, 6));
    EXPECT_EQ(ChooseInt(true, 1, 2), 1);
    EXPECT_EQ(ChooseStr(false, "a", "b"), "b");
}

TEST(Numbers, CombinePercents) {
    EXPECT_EQ(CombinePercents(50, 20), 60);
    EXPECT_EQ(CombinePercents(0, 0), 0);
    EXPECT_EQ(CombinePercents(100, 50), 100);
}

TEST(Numbers, HexToInt) {
    EXPECT_EQ(HexToInt("1fH"), 31);
    EXPECT_EQ(HexToInt("12G4"), 0x12);
    EXPECT_EQ(HexToInt(""), 0);
    EXPECT_EQ(HexToInt("FFFFFFFF"), 0xFFFFFFFFll);
}

TEST(Numbers, StrToFloatAnySep) {
    EXPECT_DOUBLE_EQ(StrToFloatAnySep(",5"), 0.5);
    EXPECT_DOUBLE_EQ(StrToFloatAnySep(" 3.25 "), 3.25);
    EXPECT_DOUBLE_EQ(StrToFloatAnySep("-2,5"), -2.5);
    EXPECT_DOUBLE_EQ(StrToFloatAnySep("42"), 42);
    EXPECT_DOUBLE_EQ(StrToFloatAnySep(""), 0);
    EXPECT_DOUBLE_EQ(StrToFloatAnySep("1.123456789"), 1.123456);
}

TEST(Numbers, StrToFloatAnySepRaisesOnTextThatIsNoNumber) {
    for (const char* text : {"abc", "1e3", "1.5x", "x,5", "-"})
        EXPECT_THROW(StrToFloatAnySep(text), base::EConvertError) << text;
}

TEST(Numbers, IsValidFloatText) {
    EXPECT_TRUE(IsValidFloatText("-1.5e3"));
    EXPECT_FALSE(IsValidFloatText("1,5"));
    EXPECT_FALSE(IsValidFloatText("1.5x"));
    EXPECT_FALSE(IsValidFloatText("--"));
}

TEST(Numbers, AddThousandSeparators) {
    EXPECT_EQ(AddThousandSeparators("1234567", true), "1,234,567");
    EXPECT_EQ(AddThousandSeparators("-1234.5678", true), "-1,234.5678");
    EXPECT_EQ(AddThousandSeparators("+123", true), "+123");
    EXPECT_EQ(AddThousandSeparators("1234e5", true), "1,234e5");
    EXPECT_EQ(AddThousandSeparators("1234567", false), "1234567");
}

TEST(Rects, SizesIntersectionAndInside) {
    const classes::TRect r = MakeRect(10, 20, 30, 60);
    EXPECT_EQ(RectWidth(r), 20);
    EXPECT_EQ(RectHeight(r), 40);
    EXPECT_TRUE(RectsIntersect(r, MakeRect(29, 59, 40, 70)));
    EXPECT_FALSE(RectsIntersect(r, MakeRect(30, 20, 40, 60)));   // touching edges
    EXPECT_FALSE(RectsIntersect(MakeRect(5, 5, 5, 9), MakeRect(0, 0, 10, 10)));   // empty first rectangle
    EXPECT_TRUE(RectIsInside(r, MakeRect(10, 20, 30, 60)));   // right and bottom edges count
    EXPECT_FALSE(RectIsInside(r, MakeRect(9, 20, 30, 60)));
    EXPECT_FALSE(RectIsInside(r, MakeRect(10, 20, 31, 60)));
}

TEST(Words, CountPositionAndExtract) {
    const std::string text = "  one,,two three ";
    EXPECT_EQ(WordCount(text, " ,"), 3);
    EXPECT_EQ(WordPosition(1, text, " ,"), 3);
    EXPECT_EQ(WordPosition(2, text, " ,"), 8);
    EXPECT_EQ(WordPosition(4, text, " ,"), 0);
    EXPECT_EQ(ExtractWord(3, text, " ,"), "three");
    EXPECT_EQ(ExtractWord(4, text, " ,"), "");
    EXPECT_EQ(ExtractWord(0, text, " ,"), "");
    EXPECT_EQ(WordCount("", ";"), 0);
    EXPECT_EQ(WordCount("abc", ""), 1);
}

TEST(Words, NextTokenMovesPastTheDelimiter) {
    const std::string text = "a;bc;;d";
    int pos = 1;
    EXPECT_EQ(NextToken(text, pos, ";"), "a");
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(NextToken(text, pos, ";"), "bc");
    EXPECT_EQ(NextToken(text, pos, ";"), "");
    EXPECT_EQ(NextToken(text, pos, ";"), "d");
    EXPECT_EQ(NextToken(text, pos, ";"), "");
    EXPECT_GT(pos, static_cast<int>(text.size()));
}

TEST(Words, TextRoutines) {
    EXPECT_EQ(RepeatChar('x', 3), "xxx");
    EXPECT_EQ(RepeatChar('x', 0), "");
    EXPECT_EQ(RepeatChar('x', -2), "");
    EXPECT_EQ(TrimSpaces("  a b \t "), "a b \t");
    EXPECT_EQ(TrimLeftSpaces("  a "), "a ");
    EXPECT_EQ(TrimRightSpaces("  a "), "  a");
    EXPECT_EQ(TrimSpaces("   "), "");
    EXPECT_EQ(DeleteChars("a b c", ' '), "abc");
    EXPECT_EQ(ReplaceSubstring("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceSubstring("Abc abc", "abc", "x"), "Abc x");
    EXPECT_EQ(ReplaceSubstring("abc", "", "x"), "abc");
    EXPECT_TRUE(ContainsAnyChar("hello", "xyo"));
    EXPECT_FALSE(ContainsAnyChar("hello", "xyz"));
    EXPECT_FALSE(ContainsAnyChar("hello", ""));
}

TEST(Files, ValidNamesAndTrailingDelimiters) {
    EXPECT_TRUE(IsValidFileName("skin.bmp"));
    EXPECT_FALSE(IsValidFileName(""));
    for (const char* bad : {"a<b", "a>b", "a\"b", "a[b", "a]b", "a|b"})
        EXPECT_FALSE(IsValidFileName(bad)) << bad;
    EXPECT_EQ(EnsureTrailingBackslash("/opt/skins/"), "/opt/skins/");
    EXPECT_EQ(EnsureTrailingBackslash("/opt/skins"), "/opt/skins/");
    EXPECT_EQ(EnsureTrailingBackslash("C:\\Skins\\"), "C:\\Skins/");
    EXPECT_EQ(EnsureTrailingBackslash("C"), "C:/");
    EXPECT_EQ(EnsureTrailingBackslash(""), "/");
}

TEST(Files, ApplicationFolderEndsWithADelimiter) {
    TempFolder temp;
    os::SetProgramFolderForTests(temp.Path());
    EXPECT_EQ(ApplicationFolder(), temp.Path() + "/");
    os::SetProgramFolderForTests("");
}

TEST(Files, NamesAndPathsResolveWithoutCase) {
    TempFolder temp;
    WriteTextFile(temp / "Skins/Blue/Options.dat", "");
    EXPECT_TRUE(FolderExists(temp / "skins/BLUE"));
    EXPECT_FALSE(FolderExists(temp / "skins/BLUE/options.dat"));
    EXPECT_FALSE(FolderExists(""));
    EXPECT_EQ(GetFileLongName(temp / "skins/blue/OPTIONS.DAT"), "Options.dat");
    EXPECT_EQ(GetFileShortName(temp / "skins/blue"), "Blue");
    EXPECT_EQ(GetFileLongName(temp / "nothing"), "");
    EXPECT_EQ(GetLongPath(temp / "SKINS/blue/options.dat"), temp / "Skins/Blue/Options.dat");
    EXPECT_EQ(GetShortPath(temp / "SKINS\\blue"), temp / "Skins/Blue");
}

// The desktop's data and settings folders pointed at one folder while it lives (the system's themes unseen).
class DesktopFoldersAt {
public:
    explicit DesktopFoldersAt(const std::string& folder)
        : FDataHome("XDG_DATA_HOME", folder + "/XDG_DATA_HOME")
        , FDataDirs("XDG_DATA_DIRS", folder + "/XDG_DATA_DIRS")
        , FConfigHome("XDG_CONFIG_HOME", folder + "/XDG_CONFIG_HOME") {}

private:
    os::filetest::EnvOverride FDataHome, FDataDirs, FConfigHome;
};

TEST(Files, FileIconsComeFromPictureFilesThenTheDesktopThemeByType) {
    TempFolder temp;
    const DesktopFoldersAt desktop(temp / "desktop");
    WriteBmp(temp / "icon.bmp", 16, 16, 0x0000FF);
    WriteTextFile(temp / "note.txt", "text");
    std::unique_ptr<classes::TIcon> icon(GetFileIcon(temp / "icon.bmp", true));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->Width(), 16);
    EXPECT_EQ(GetFileIcon(temp / "note.txt", false), nullptr);   // no icon theme
    EXPECT_EQ(GetFileIcon(temp / "missing.bmp", false), nullptr);

    // A theme with the icons of both types a ".txt" file may have (with and without the system's MIME database).
    const std::string theme = temp / "desktop/XDG_DATA_HOME/icons/hicolor";
    WriteTextFile(theme + "/index.theme",
        "[Icon Theme]\nName=Hicolor\nDirectories=16x16/mimetypes,32x32/mimetypes\n[16x16/mimetypes]\nSize=16\n"
        "[32x32/mimetypes]\nSize=32\n");
    for (int size : {16, 32})
        for (const char* name : {"text-plain", "application-octet-stream"}) {
            const std::string dir = theme + "/" + std::to_string(size) + "x" + std::to_string(size) + "/mimetypes";
            std::filesystem::create_directories(dir);
            gdi::GdiHandle<gdi::Bitmap> picture(gdi::Bitmap::Create(size, size, gdi::PixelFormat::pf32bit));
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    gdi::BYTE* p = picture.Get()->ScanLine(y) + 4 * x;
                    p[0] = 0x30, p[1] = 0xA0, p[2] = 0x20, p[3] = 0xFF;
                }
            ASSERT_TRUE(gdi::WritePngFile(*picture.Get(), dir + "/" + name + ".png"));
        }
    for (bool small : {true, false}) {
        std::unique_ptr<classes::TIcon> typeIcon(GetFileIcon(temp / "note.txt", small));
        ASSERT_NE(typeIcon, nullptr) << small;
        EXPECT_EQ(typeIcon->Width(), small ? 16 : 32);
    }
}

TEST(System, SmallHelpers) {
    TsTripleAndFlag record;
    FillTripleAndFlag(1, 2, 3, record);
    EXPECT_EQ(record.A, 1);
    EXPECT_EQ(record.C, 3);
    EXPECT_EQ(record.Flag, 1);
    EXPECT_TRUE(IsWindowsXPOrLater());
    EXPECT_NE(GetStatusFontHeight(), 0);
}

TEST(MessageBoxes, GoThroughTheInstalledDialog) {
    EXPECT_FALSE(AskYesNo("Delete?"));   // no dialog yet: nothing confirmed
    std::vector<std::pair<std::string, TsMessageKind>> shown;
    SetMessageDialogHook([&](const std::string& text, TsMessageKind kind) {
        shown.emplace_back(text, kind);
        return true;
    });
    EXPECT_TRUE(AskYesNo("Delete?"));
    ShowWarning("Careful");
    ShowError("Broken");
    SetMessageDialogHook(nullptr);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].second, TsMessageKind::Confirmation);
    EXPECT_EQ(shown[1].second, TsMessageKind::Warning);
    EXPECT_EQ(shown[2].first, "Broken");
}
