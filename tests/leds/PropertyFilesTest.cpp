// Property files: saving and loading a control's published properties as "Name = Value" lines, dotted names,
// exclusions, and damaged files.
#include "leds/iGPFunctions.h"
#include "leds/iLedBar.h"
#include "leds/iLedRound.h"

#include "platform/base/Exceptions.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/os/Files.h"
#include "support/LedTestKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

using namespace korvex;
using namespace korvex::leds;
using namespace korvex::leds::test;

namespace {

// A stand-in for a popup menu: a component with a flag and a reference, as a menu has.
class TTestMenu : public classes::TComponent {
public:
    explicit TTestMenu(classes::TComponent* owner)
        : TComponent(owner) { }
    static classes::TClass StaticClass() {
        static const classes::TClassInfo info
            = classes::MakeClass<TTestMenu, classes::TComponent>("TTestMenu", [](auto& p) {
                  p.Bool("AutoPopup", &TTestMenu::AutoPopup, &TTestMenu::SetAutoPopup, true);
                  p.Component("Target", &TTestMenu::Target, &TTestMenu::SetTarget);
              });
        return &info;
    }
    classes::TClass ClassType() const override { return StaticClass(); }
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    classes::TComponent* Target() const { return FTarget; }
    void SetTarget(classes::TComponent* value) { FTarget = value; }

private:
    bool FAutoPopup = true;
    classes::TComponent* FTarget = nullptr;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool HasName(const std::vector<std::string>& lines, const std::string& name) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(name + " = ", 0) == 0; });
}

using PropertyFileTest = LampTest;

TEST_F(PropertyFileTest, ARoundLampSavesItsClassAndPropertiesButNotItsPlacement) {
    Led->SetName("Lamp1");
    Led->SetActive(true);
    Led->SetActiveColor(classes::clRed);
    const std::string path = TempPath("lamp.txt");
    Led->SavePropertiesToFile(path);
    const std::string text = ReadFile(path);
    const auto lines = Lines(text);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "File Type = TiLedRound");
    EXPECT_NE(text.find("File Type = TiLedRound\r\n"), std::string::npos);
    EXPECT_TRUE(HasLine(lines, "Active = 1"));
    EXPECT_TRUE(HasLine(lines, "ActiveColor = 255"));
    EXPECT_TRUE(HasLine(lines, "BevelStyle = 2"));
    EXPECT_TRUE(HasLine(lines, "BackGroundColor = -16777201"));   // the system button face
    EXPECT_TRUE(HasLine(lines, "UpdateFrameRate = 60"));
    for (const char* name : {"Left", "Top", "Width", "Height", "Name", "Tag", "Visible", "Enabled", "Hint", "Caption",
             "Color", "Font.Name", "OnChange"})
        EXPECT_FALSE(HasName(lines, name)) << name;
}

TEST_F(PropertyFileTest, SavingAllPropertiesAddsThePlacementButNeverTheName) {
    Led->SetName("Lamp1");
    Led->SetOptionSaveAllProperties(true);
    Led->SetBounds(3, 4, 25, 25);
    Led->SetHint("green is good");
    const std::string path = TempPath("all.txt");
    Led->SavePropertiesToFile(path);
    const auto lines = Lines(ReadFile(path));
    EXPECT_TRUE(HasLine(lines, "Left = 3"));
    EXPECT_TRUE(HasLine(lines, "Top = 4"));
    EXPECT_TRUE(HasLine(lines, "Width = 25"));
    EXPECT_TRUE(HasLine(lines, "Height = 25"));
    EXPECT_TRUE(HasLine(lines, "Hint = green is good"));
    EXPECT_TRUE(HasLine(lines, "Visible = 1"));
    EXPECT_FALSE(HasName(lines, "Name"));
}

TEST_F(PropertyFileTest, ASavedBarLoadsBackIntoAFreshOne) {
    TTestLedBar bar(nullptr);
    bar.SetSegmentStyle(ilbssTriangle);
    bar.SetSectionCount(3);
    bar.SetSectionEnd1(33.25);
    bar.SetSectionColor2(0x123456);
    bar.SetPosition(61.5);
    bar.SetShowOffSegments(false);
    const std::string path = TempPath("bar.txt");
    bar.SavePropertiesToFile(path);
    TTestLedBar copy(nullptr);
    copy.LoadPropertiesFromFile(path);
    EXPECT_EQ(copy.SegmentStyle(), ilbssTriangle);
    EXPECT_EQ(copy.SectionCount(), 3);
    EXPECT_EQ(copy.SectionEnd1(), 33.25);
    EXPECT_EQ(copy.SectionColor2(), 0x123456);
    EXPECT_EQ(copy.Position(), 61.5);
    EXPECT_FALSE(copy.ShowOffSegments());
    EXPECT_FALSE(copy.Updating());
}

std::vector<std::string> SavedNames(const std::string& path) {
    std::vector<std::string> names;
    for (const std::string& line : Lines(ReadFile(path)))
        names.push_back(line.substr(0, line.find(" = ")));
    return names;
}

// Only what the lamps and bars publish is written: nothing of the general window properties they do not use.
TEST_F(PropertyFileTest, OnlyThePropertiesALampOrBarPublishesAreSaved) {
    const std::string lampPath = TempPath("lamp-names.txt");
    Led->SavePropertiesToFile(lampPath);
    EXPECT_EQ(SavedNames(lampPath),
        (std::vector<std::string> {"File Type", "OptionSaveAllProperties", "AutoFrameRate", "UpdateFrameRate",
            "Active", "ActiveColor", "AutoInactiveColor", "InactiveColor", "BevelStyle", "ShowReflection",
            "BackGroundColor", "Transparent"}));

    TTestLedBar bar(nullptr);
    const std::string barPath = TempPath("bar-names.txt");
    bar.SavePropertiesToFile(barPath);
    EXPECT_EQ(SavedNames(barPath),
        (std::vector<std::string> {"File Type", "OptionSaveAllProperties", "AutoFrameRate", "UpdateFrameRate",
            "Position", "PositionMax", "PositionMin", "CurrentMax", "CurrentMin", "MinMaxFixed", "BackGroundColor",
            "SectionColor1", "SectionColor2", "SectionColor3", "SectionEnd1", "SectionEnd2", "SectionCount",
            "ShowOffSegments", "SegmentDirection", "SegmentMargin", "SegmentSize", "SegmentSpacing", "SegmentStyle",
            "BorderStyle", "Transparent"}));

    // Such lines in a file are ignored, as any line that names no property.
    const std::string path = TempPath("foreign.txt");
    WriteFile(path, "File Type = TiLedRound\nTabStop = 1\nBorderWidth = 7\nAnchors = 15\nActive = 1\n");
    Led->LoadPropertiesFromFile(path);
    EXPECT_FALSE(Led->TabStop());
    EXPECT_EQ(Led->BorderWidth(), 0);
    EXPECT_EQ(Led->Anchors(), (classes::TAnchors {classes::akLeft, classes::akTop}));
    EXPECT_TRUE(Led->Active());
}

TEST_F(PropertyFileTest, NamesMatchWithoutCaseAndTheFirstOfTwoLinesWins) {
    const std::string path = TempPath("case.txt");
    WriteFile(path, "File Type = TiLedRound\n  activecolor   =   255  \nACTIVECOLOR = 65280\nbevelstyle=0\n");
    Led->LoadPropertiesFromFile(path);
    EXPECT_EQ(Led->ActiveColor(), classes::clRed);
    EXPECT_EQ(Led->BevelStyle(), ibsNone);
    EXPECT_EQ(Led->InactiveColor(), 0x005500);   // no line: unchanged
}

TEST_F(PropertyFileTest, LoadingIsOneRepaintAtTheEnd) {
    const std::string path = TempPath("batch.txt");
    WriteFile(path, "Active = 1\nActiveColor = 255\nShowReflection = 0\n");
    Led->Invalidations = 0;
    Led->LoadPropertiesFromFile(path);
    EXPECT_EQ(Led->Invalidations, 1);
}

TEST_F(PropertyFileTest, AValueThatDoesNotConvertStopsLoadingButTheControlStillRepaints) {
    const std::string path = TempPath("bad.txt");
    // Declaration order: Active, ActiveColor, ..., so Active is set before the bad colour stops the load.
    WriteFile(path, "File Type = TiLedRound\nActive = 1\nActiveColor = red\nShowReflection = 0\n");
    Led->Invalidations = 0;
    EXPECT_THROW(Led->LoadPropertiesFromFile(path), base::EConvertError);
    EXPECT_TRUE(Led->Active());
    EXPECT_EQ(Led->ActiveColor(), classes::clLime);
    EXPECT_TRUE(Led->ShowReflection());
    EXPECT_FALSE(Led->Updating());
    EXPECT_EQ(Led->Invalidations, 1);   // what was set is shown
    Led->SetActive(false);
    EXPECT_EQ(Led->Invalidations, 2);   // and later changes still repaint
}

TEST_F(PropertyFileTest, OutOfRangeOrdinalsAreConversionErrors) {
    const std::pair<const char*, const char*> cases[] = {
        {"BevelStyle = 7", "enumeration past its values"},
        {"BevelStyle = -1", "negative enumeration"},
        {"ActiveColor = 99999999999", "colour beyond 32 bits"},
        {"UpdateFrameRate = 1.5", "float for an integer"},
        {"UpdateFrameRate = ", "empty"},
    };
    for (auto [line, what] : cases) {
        const std::string path = TempPath("range.txt");
        WriteFile(path, std::string(line) + "\n");
        EXPECT_THROW(Led->LoadPropertiesFromFile(path), base::EConvertError) << what;
        EXPECT_EQ(Led->BevelStyle(), ibsLowered) << what;
        EXPECT_FALSE(Led->Updating());
    }
}

TEST_F(PropertyFileTest, EveryDoubleLoadsBackAsItWasSavedTheExtremesToo) {
    using Limits = std::numeric_limits<double>;
    const double values[] = {0, 0.1, 1.0 / 3, 0.1 + 0.2, 61.5, -2.5e-7, 1e15, 123456789012345678.0, Limits::max(),
        -Limits::max(), Limits::min(), Limits::denorm_min(), -Limits::denorm_min(), Limits::infinity(),
        -Limits::infinity(), Limits::quiet_NaN()};
    const std::string path = TempPath("doubles.txt");
    for (double value : values) {
        TTestLedBar bar(nullptr);
        bar.SetSectionEnd1(value);
        bar.SavePropertiesToFile(path);
        TTestLedBar copy(nullptr);
        ASSERT_NO_THROW(copy.LoadPropertiesFromFile(path)) << ReadFile(path);
        if (std::isnan(value))
            EXPECT_TRUE(std::isnan(copy.SectionEnd1()));
        else
            EXPECT_EQ(copy.SectionEnd1(), value) << ReadFile(path);
    }
    // The run time's own text where its 15 digits read back; more digits only where they do not.
    TTestLedBar bar(nullptr);
    bar.SetSectionEnd1(0.1);
    bar.SetSectionEnd2(0.1 + 0.2);
    bar.SavePropertiesToFile(path);
    const auto lines = Lines(ReadFile(path));
    EXPECT_TRUE(HasLine(lines, "SectionEnd1 = 0.1"));
    EXPECT_TRUE(HasLine(lines, "SectionEnd2 = 0.30000000000000004"));
}

TEST_F(PropertyFileTest, TheLargestDoubleInFifteenDigitsLoadsAndBeyondItIsAnError) {
    const std::string path = TempPath("largest.txt");
    WriteFile(path, "SectionEnd1 = 1.79769313486232E308\nSectionEnd2 = -1.79769313486232E308\n");
    TTestLedBar bar(nullptr);
    bar.LoadPropertiesFromFile(path);
    EXPECT_EQ(bar.SectionEnd1(), std::numeric_limits<double>::max());
    EXPECT_EQ(bar.SectionEnd2(), -std::numeric_limits<double>::max());
    WriteFile(path, "SectionEnd1 = 1.8E308\n");
    EXPECT_THROW(bar.LoadPropertiesFromFile(path), base::EConvertError);
}

TEST_F(PropertyFileTest, SizesAtTheIntegerLimitsLoadWithinTheCoordinateRangeAndPaint) {
    classes::TForm* form = NewForm();
    const std::string path = TempPath("huge.txt");
    WriteFile(path, "Left = -2147483648\nTop = 2147483647\nWidth = 2147483647\nHeight = 2147483647\n");
    auto* led = new TTestLedRound(form);
    led->SetParent(form);
    led->LoadPropertiesFromFile(path);
    EXPECT_EQ(led->Left(), -gdi::MaxCoord);
    EXPECT_EQ(led->Width(), gdi::MaxCoord);
    Pump();
    auto* bar = new TTestLedBar(form);
    bar->SetParent(form);
    bar->LoadPropertiesFromFile(path);
    bar->SetBounds(0, 0, std::numeric_limits<int>::max(), 40);
    bar->SetSegmentDirection(idRight);
    Pump();
    RecordingCanvas rec(40, 40);
    led->iPaintTo(rec.Canvas());
    bar->iPaintTo(rec.Canvas());
    EXPECT_TRUE(Exceptions.empty());
}

TEST_F(PropertyFileTest, ADamagedFileOfGarbageChangesNothing) {
    const std::string path = TempPath("garbage.txt");
    std::string garbage = "\x01\x02\xFF\xFE no equals sign here\n= 5\n=\n\0\0\0Nope = 1\n";
    garbage += std::string(3000, 'x') + "\n";
    for (int i = 0; i < 256; ++i)
        garbage += static_cast<char>(i);
    WriteFile(path, garbage);
    Led->LoadPropertiesFromFile(path);
    EXPECT_FALSE(Led->Active());
    EXPECT_EQ(Led->ActiveColor(), classes::clLime);
    EXPECT_FALSE(Led->Updating());
}

TEST_F(PropertyFileTest, AMissingFileIsAFileError) {
    EXPECT_ANY_THROW(Led->LoadPropertiesFromFile(TempPath("missing/none.txt")));
    EXPECT_FALSE(Led->Updating());
    EXPECT_ANY_THROW(Led->SavePropertiesToFile(TempPath("missing/none.txt")));
}

TEST_F(PropertyFileTest, LongStringValuesAreKeptWhole) {
    Led->SetOptionSaveAllProperties(true);
    const std::string hint(600, 'h');
    Led->SetHint(hint);
    const std::string path = TempPath("long.txt");
    Led->SavePropertiesToFile(path);
    TTestLedRound copy(nullptr);
    copy.LoadPropertiesFromFile(path);
    EXPECT_EQ(copy.Hint(), hint);
}

TEST_F(PropertyFileTest, AnAssignedPopupMenuAddsItsPropertiesAsDottedLines) {
    const std::string path = TempPath("menu.txt");
    Led->SavePropertiesToFile(path);
    EXPECT_FALSE(HasName(Lines(ReadFile(path)), "PopupMenu.AutoPopup"));   // no menu: nothing

    TTestMenu menu(nullptr);
    menu.SetTarget(Led.get());   // a reference back to the lamp: not walked twice
    Led->SetPopupMenuComponent(&menu);
    Led->SavePropertiesToFile(path);
    const auto lines = Lines(ReadFile(path));
    EXPECT_TRUE(HasLine(lines, "PopupMenu.AutoPopup = 1"));
    EXPECT_FALSE(HasName(lines, "PopupMenu.Target.Active"));

    WriteFile(path, "popupmenu.autopopup = 0\n");
    Led->LoadPropertiesFromFile(path);
    EXPECT_FALSE(menu.AutoPopup());
    Led->SetPopupMenuComponent(nullptr);
}

TEST(PropertyLines, ExclusionsCompareTheDottedNameWithoutCase) {
    TTestLedRound led(nullptr);
    std::vector<std::string> lines;
    AppendPropertyLines(led, "", lines, {"activecolor", "BEVELSTYLE", "Active.Color"});
    EXPECT_FALSE(HasName(lines, "ActiveColor"));
    EXPECT_FALSE(HasName(lines, "BevelStyle"));
    EXPECT_TRUE(HasName(lines, "Active"));
}

TEST(PropertyLines, APrefixDotsEveryNameAndLoadingConsumesTheLinesItUses) {
    TTestLedRound led(nullptr);
    led.SetActiveColor(0x010203);
    std::vector<std::string> lines;
    AppendPropertyLines(led, "Lamp", lines, {});
    EXPECT_TRUE(HasLine(lines, "Lamp.ActiveColor = 66051"));
    lines.push_back("Unrelated = 1");
    TTestLedRound copy(nullptr);
    LoadPropertyLines(copy, "  ", lines);   // a blank prefix counts as none: nothing matches "Lamp.x"
    EXPECT_EQ(copy.ActiveColor(), classes::clLime);
    LoadPropertyLines(copy, "Lamp", lines);
    EXPECT_EQ(copy.ActiveColor(), 0x010203);
    EXPECT_EQ(lines, (std::vector<std::string> {"Unrelated = 1"}));
}

}
