// Position and progress: clamping, peak hold, events, range changes, and their extra stream entries.
#include "leds/iLedBar.h"

#include "platform/classes/TReader.h"
#include "platform/classes/TWriter.h"
#include "support/LedTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace korvex;
using namespace korvex::leds;
using namespace korvex::leds::test;

namespace {

class PositionTest : public LedTest {
protected:
    void SetUp() override {
        LedTest::SetUp();
        classes::RegisterClasses({TiLedBar::StaticClass()});
        Bar = std::make_unique<TTestLedBar>(nullptr);
        auto log = [this](const char* name) { return [this, name](classes::TObject*) { Events.push_back(name); }; };
        Bar->OnPositionChange = log("PositionChange");
        Bar->OnCurrentMaxChange = log("CurrentMaxChange");
        Bar->OnCurrentMinChange = log("CurrentMinChange");
        Bar->OnPositionOverMax = log("OverMax");
        Bar->OnPositionUnderMin = log("UnderMin");
    }
    std::unique_ptr<TTestLedBar> Bar;
    std::vector<std::string> Events;
};

TEST_F(PositionTest, APositionAboveTheRangeIsClampedAndRaisesThePeak) {
    Bar->SetPosition(150);
    EXPECT_EQ(Bar->Position(), 100);
    EXPECT_EQ(Bar->CurrentMax(), 100);
    EXPECT_EQ(Events, (std::vector<std::string> {"CurrentMaxChange", "PositionChange"}));
    Bar->SetPosition(-5);
    EXPECT_EQ(Bar->Position(), 0);
}

TEST_F(PositionTest, TheLimitListStartsEmptySoNoLimitEventIsRaised) {
    EXPECT_EQ(Bar->LimitCount(), 0);
    Bar->OnPositionOverLimit = [this](classes::TObject*, int) { Events.push_back("OverLimit"); };
    Bar->OnPositionUnderLimit = [this](classes::TObject*, int) { Events.push_back("UnderLimit"); };
    for (double position : {150.0, -5.0, 50.0}) Bar->SetPosition(position);
    EXPECT_EQ(Bar->LimitCount(), 0);
    EXPECT_EQ(Events, (std::vector<std::string> {"CurrentMaxChange", "PositionChange", "PositionChange",
                          "PositionChange"}));
}

TEST_F(PositionTest, PeakHoldKeepsTheLowestAndHighestSeen) {
    Bar->SetPosition(30);
    Bar->SetPosition(10);
    EXPECT_EQ(Bar->CurrentMin(), 0);   // it started at 0
    EXPECT_EQ(Bar->CurrentMax(), 30);
}

TEST_F(PositionTest, WithFixedPeaksAPositionOverTheMaximumIsReported) {
    Bar->SetCurrentMax(50);
    Bar->SetMinMaxFixed(true);
    Events.clear();
    Bar->SetPosition(60);
    EXPECT_EQ(Bar->CurrentMax(), 50);
    EXPECT_EQ(Events, (std::vector<std::string> {"OverMax", "PositionChange"}));
}

TEST_F(PositionTest, TheSamePositionAgainDoesNothing) {
    Bar->SetPosition(40);
    const int invalidations = Bar->Invalidations;
    Events.clear();
    Bar->SetPosition(40);
    EXPECT_TRUE(Events.empty());
    EXPECT_EQ(Bar->Invalidations, invalidations);
}

TEST_F(PositionTest, LoweringTheMaximumBelowThePositionMovesIt) {
    Bar->SetPosition(60);
    Events.clear();
    Bar->SetPositionMax(40);
    EXPECT_EQ(Bar->Position(), 40);
    EXPECT_EQ(Bar->CurrentMax(), 40);
    EXPECT_NE(std::find(Events.begin(), Events.end(), "PositionChange"), Events.end());
    Bar->SetPositionMin(50);   // above the position: it follows the minimum
    EXPECT_EQ(Bar->Position(), 50);
}

TEST_F(PositionTest, PeaksAreClampedToTheRange) {
    Bar->SetCurrentMax(500);
    EXPECT_EQ(Bar->CurrentMax(), 100);
    Bar->SetCurrentMin(-3);
    EXPECT_EQ(Bar->CurrentMin(), 0);
}

TEST_F(PositionTest, PositionPercentIsTheShareOfTheRange) {
    EXPECT_DOUBLE_EQ(Bar->GetPositionPercent(75), 0.75);
    EXPECT_EQ(Bar->GetPositionPercent(150), 1);
    EXPECT_EQ(Bar->GetPositionPercent(-1), 0);
    EXPECT_EQ(Bar->GetPositionPercent(NAN), 0);
    Bar->SetPositionMin(50);
    Bar->SetPositionMax(50);
    EXPECT_EQ(Bar->GetPositionPercent(50), 0);
}

TEST_F(PositionTest, ValueSettersRequestAValueRepaintAndRangeSettersALookRepaint) {
    Bar->Invalidations = 0;
    Bar->BeginUpdate();
    Bar->SetPosition(20);
    Bar->SetSectionEnd1(30);
    Bar->SetPositionMax(200);
    EXPECT_EQ(Bar->Invalidations, 0);
    Bar->EndUpdate();
    EXPECT_EQ(Bar->Invalidations, 1);
}

TEST_F(PositionTest, ProgressDefaults) {
    EXPECT_EQ(Bar->SectionColor1(), classes::clLime);
    EXPECT_EQ(Bar->SectionColor2(), classes::clYellow);
    EXPECT_EQ(Bar->SectionColor3(), classes::clRed);
    EXPECT_EQ(Bar->SectionEnd1(), 50);
    EXPECT_EQ(Bar->SectionEnd2(), 75);
    EXPECT_EQ(Bar->SectionCount(), 1);
    EXPECT_TRUE(Bar->ShowOffSegments());
    EXPECT_EQ(Bar->PositionMax(), 100);
}

// ---------------------------------------------------------------------------------------------------------
// Streaming

TEST_F(PositionTest, TheExtraEntriesAreAlwaysWrittenAfterThePublishedProperties) {
    Bar->SetPositionMax(250);
    const std::string text = classes::WriteComponent(Bar.get());
    const auto max2 = text.find("PositionMax_2 = 250");
    const auto end1 = text.find("SectionEnd1_2 = 50");
    const auto end2 = text.find("SectionEnd2_2 = 75");
    ASSERT_NE(max2, std::string::npos) << text;
    ASSERT_NE(end1, std::string::npos) << text;
    ASSERT_NE(end2, std::string::npos) << text;
    ASSERT_NE(text.find("  PositionMax = 250"), std::string::npos);
    EXPECT_LT(text.find("  PositionMax = 250"), max2);
    EXPECT_LT(max2, end1);
    EXPECT_LT(end1, end2);
}

TEST_F(PositionTest, ReadingASectionEndEntryStoresItWithoutARepaintRequest) {
    Bar->Invalidations = 0;
    classes::ReadRootComponent(Bar.get(), "object TiLedBar\n  SectionEnd1_2 = 30\n  PositionMax_2 = 400\nend\n");
    EXPECT_EQ(Bar->SectionEnd1(), 30);
    EXPECT_EQ(Bar->PositionMax(), 400);
    EXPECT_EQ(Bar->Invalidations, 0);
}

TEST_F(PositionTest, WhileLoadingValuesAreStoredAsTheyComeWithoutEvents) {
    classes::ReadRootComponent(Bar.get(),
        "object TiLedBar\n  Position = 150\n  CurrentMax = 170\n  PositionMax = 200\n"
        "  SegmentDirection = idRight\nend\n");
    EXPECT_EQ(Bar->Position(), 150);
    EXPECT_EQ(Bar->CurrentMax(), 170);
    EXPECT_EQ(Bar->PositionMax(), 200);
    EXPECT_EQ(Bar->Width(), 16);   // no swap while loading
    EXPECT_TRUE(Events.empty());
}

TEST_F(PositionTest, AStreamedBarReadsBackEqual) {
    Bar->SetSegmentDirection(idRight);
    Bar->SetSegmentStyle(ilbssCircle);
    Bar->SetSectionCount(3);
    Bar->SetSectionEnd1(12.5);
    Bar->SetPositionMax(1000);
    Bar->SetPosition(640.25);
    Bar->SetBorderStyle(ibsRaised);
    const std::string text = classes::WriteComponent(Bar.get());
    TTestLedBar copy(nullptr);
    classes::ReadRootComponent(&copy, text);
    EXPECT_EQ(copy.SegmentDirection(), idRight);
    EXPECT_EQ(copy.SegmentStyle(), ilbssCircle);
    EXPECT_EQ(copy.SectionCount(), 3);
    EXPECT_EQ(copy.SectionEnd1(), 12.5);
    EXPECT_EQ(copy.PositionMax(), 1000);
    EXPECT_EQ(copy.Position(), 640.25);
    EXPECT_EQ(copy.BorderStyle(), ibsRaised);
    EXPECT_EQ(copy.Width(), 200);
    EXPECT_EQ(copy.Height(), 16);
}

}
