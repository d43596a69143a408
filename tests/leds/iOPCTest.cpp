// Data items: the clipboard formats, items and their manager, the stream entry "OPCItems", new data.
#include "leds/iOPCClasses.h"
#include "leds/iOPCFunctions.h"
#include "leds/iOPCItem.h"
#include "leds/iOPCTypes.h"

#include "platform/base/Exceptions.h"
#include "platform/classes/Errors.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TWriter.h"
#include "support/LedTestKit.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::leds;
using namespace korvex::leds::test;

namespace {

TEST(OPCFormats, TheThreeStreamFormatsAreRegisteredOnceEach) {
    InitOPCTypes();
    InitOPCTypes();
    const unsigned data = OPCSTMFORMATDATA();
    const unsigned time = OPCSTMFORMATDATATIME();
    const unsigned write = OPCSTMFORMATWRITECOMPLETE();
    EXPECT_GE(data, 0xC000u);
    EXPECT_NE(data, time);
    EXPECT_NE(time, write);
    EXPECT_NE(data, write);
    EXPECT_EQ(RegisterClipboardFormat("opcstmformatdata"), data);
    EXPECT_EQ(GetClipboardFormatName(time), "OPCSTMFORMATDATATIME");
    EXPECT_EQ(RegisterClipboardFormat(""), 0u);
    EXPECT_EQ(GetClipboardFormatName(12), "");
}

TEST(OPCValue, TextOfEachKind) {
    EXPECT_EQ(OPCValueToText(TiOPCValue {}), "");
    EXPECT_EQ(OPCValueToText(TiOPCValue {true}), "True");
    EXPECT_EQ(OPCValueToText(TiOPCValue {std::int64_t {-42}}), "-42");
    EXPECT_EQ(OPCValueToText(TiOPCValue {2.5}), "2.5");
    EXPECT_EQ(OPCValueToText(TiOPCValue {std::string("x")}), "x");
    EXPECT_TRUE(OPCQualityGood(0xC0));
    EXPECT_TRUE(OPCQualityGood(0xD8));
    EXPECT_FALSE(OPCQualityGood(0x40));
}

class OPCTest : public LampTest {
protected:
    void SetUp() override {
        LampTest::SetUp();
        classes::RegisterClasses({TiLedRound::StaticClass(), TiLedBar::StaticClass()});
    }
    TiOPCItemManager& Manager() { return *Led->OPCItemManager(); }
    // A complete binding of property (not connected).
    TiOPCItem* BoundItem(const char* property) {
        TiOPCItem* item = Manager().Add();
        item->SetPropertyName(property);
        item->SetServerName("Vendor.Server.1");
        item->SetItemName("Tank.Level");
        return item;
    }
    // An item bound to property and active: its connect got past the binding's check (and then failed).
    TiOPCItem* ActiveItem(const char* property) {
        TiOPCItem* item = BoundItem(property);
        EXPECT_THROW(item->Connect(), base::Exception);
        EXPECT_TRUE(item->Active());
        return item;
    }
};

TEST_F(OPCTest, ANewItemHasTheDocumentedDefaults) {
    TiOPCItem* item = Manager().Add();
    EXPECT_EQ(item->ComputerName(), "Local");
    EXPECT_EQ(item->UpdateRate(), 500);
    EXPECT_TRUE(item->AutoConnect());
    EXPECT_FALSE(item->AutoError());
    EXPECT_FALSE(item->Active());
    EXPECT_EQ(item->Manager(), &Manager());
    EXPECT_EQ(item->GetOwner(), Led.get());
}

// No server can exist here: a complete binding's connect raises its first step's failure to the caller, on
// this machine and on another; an incomplete one does nothing.
TEST_F(OPCTest, ACompleteBindingsConnectRaisesTheFirstStepsFailure) {
    struct Case {
        const char* Computer;
        const char* Cause;
    };
    const Case cases[] = {{"Local", "Unable to convert ProgID to CLSID"}, {" local ", "Unable to convert ProgID to CLSID"},
        {"plant-7", "Unable to Create IOPCServerList Object"}};
    for (const Case& c : cases) {
        Led->SetErrorActive(false);
        TiOPCItem* item = Manager().Add();
        item->SetPropertyName("Active");
        item->SetServerName("Vendor.Server.1");
        item->SetItemName("Tank.Level");
        item->SetComputerName(c.Computer);
        EXPECT_TRUE(item->Complete());
        item->SetAutoError(true);
        try {
            item->Connect();
            ADD_FAILURE() << "no error for " << c.Computer;
        } catch (const base::Exception& error) {
            EXPECT_EQ(std::string(error.what()), std::string("Exception : Failed to Connect to Server - ") + c.Cause)
                << c.Computer;
        }
        EXPECT_TRUE(item->Active()) << c.Computer;   // active from the binding's check on, until a disconnect
        EXPECT_FALSE(Led->ErrorActive());
        // A write back through the binding says it is not connected.
        EXPECT_THROW(Led->WriteItemValue("Active", TiOPCValue {true}), base::Exception);
        // A changed binding connects again, and fails again; active without a good value, the control shows
        // its error.
        EXPECT_THROW(item->SetUpdateRate(100), base::Exception);
        EXPECT_TRUE(Led->ErrorActive());
        item->Disconnect();
        EXPECT_FALSE(item->Active());
        item->SetItemName("   ");
        EXPECT_FALSE(item->Complete());
        EXPECT_NO_THROW(item->Connect());
        EXPECT_FALSE(item->Active());
    }
}

// Reading a control whose stream holds a complete binding with AutoConnect connects it in the loaded step:
// the failure reaches the reader.
TEST_F(OPCTest, ReadingAnAutoConnectingBindingRaisesTheConnectFailure) {
    BoundItem("Active");
    const std::string text = classes::WriteComponent(Led.get());
    TTestLedRound copy(nullptr);
    EXPECT_THROW(classes::ReadRootComponent(&copy, text), base::Exception);
}

TEST_F(OPCTest, TheManagerListsAddsAndDeletesItems) {
    TiOPCItem* a = Manager().Add();
    TiOPCItem* b = Manager().Add();
    EXPECT_EQ(Manager().Count(), 2);
    EXPECT_EQ(Manager().IndexOf(b), 1);
    EXPECT_EQ(Manager().Items(0), a);
    EXPECT_THROW(Manager().Items(2), classes::EListError);
    EXPECT_THROW(Manager().Delete(-1), classes::EListError);
    Manager().Delete(0);
    EXPECT_EQ(Manager().IndexOf(b), 0);
    EXPECT_EQ(Manager().IndexOf(a), -1);
    Manager().Clear();
    EXPECT_EQ(Manager().Count(), 0);
}

TEST_F(OPCTest, NoItemsWriteNoEntryAndItemsStreamAsACollection) {
    EXPECT_EQ(classes::WriteComponent(Led.get()).find("OPCItems"), std::string::npos);
    TiOPCItem* item = Manager().Add();
    item->SetPropertyName("ActiveColor");
    item->SetServerName("Vendor.Server.1");
    item->SetItemName("Alarm.Colour");
    item->SetUpdateRate(250);
    item->SetAutoConnect(false);   // a complete binding would connect when read, and fail
    Manager().Add()->SetPropertyName("Active");
    const std::string text = classes::WriteComponent(Led.get());
    EXPECT_NE(text.find("OPCItems = <"), std::string::npos) << text;
    EXPECT_NE(text.find("ServerName = 'Vendor.Server.1'"), std::string::npos) << text;
    EXPECT_NE(text.find("UpdateRate = 250"), std::string::npos) << text;
    EXPECT_NE(text.find("AutoConnect = True"), std::string::npos) << text;

    TTestLedRound copy(nullptr);
    copy.OPCItemManager()->Add();   // reading replaces what is there
    classes::ReadRootComponent(&copy, text);
    ASSERT_EQ(copy.OPCItemManager()->Count(), 2);
    TiOPCItem* first = copy.OPCItemManager()->Items(0);
    EXPECT_EQ(first->PropertyName(), "ActiveColor");
    EXPECT_EQ(first->ServerName(), "Vendor.Server.1");
    EXPECT_EQ(first->ItemName(), "Alarm.Colour");
    EXPECT_EQ(first->UpdateRate(), 250);
    EXPECT_EQ(first->ComputerName(), "Local");
    EXPECT_FALSE(first->AutoConnect());
    EXPECT_FALSE(first->Active());
    EXPECT_EQ(copy.OPCItemManager()->Items(1)->PropertyName(), "Active");
}

TEST_F(OPCTest, TheItemEntryComesBeforeTheBarsOwnEntries) {
    TTestLedBar bar(nullptr);
    bar.OPCItemManager()->Add()->SetPropertyName("Position");
    const std::string text = classes::WriteComponent(&bar);
    EXPECT_LT(text.find("OPCItems"), text.find("PositionMax_2"));
}

TEST_F(OPCTest, AnEntryThatIsNoCollectionEmptiesTheManager) {
    Manager().Add();
    classes::ReadRootComponent(Led.get(), "object TiLedRound\n  OPCItems = 5\nend\n");
    EXPECT_EQ(Manager().Count(), 0);
    classes::ReadRootComponent(Led.get(), "object TiLedRound\n  OPCItems = ('a' 3 (x y))\nend\n");
    EXPECT_EQ(Manager().Count(), 0);
    EXPECT_THROW(
        classes::ReadRootComponent(Led.get(), "object TiLedRound\n  OPCItems = [a]\nend\n"), classes::EReadError);
}

TEST_F(OPCTest, NewDataOfGoodQualitySetsTheBoundProperty) {
    TiOPCItem* item = ActiveItem("activecolor");
    std::vector<int> told;
    Led->OnNewOPCData = [&](classes::TObject*, int index) { told.push_back(index); };
    item->DataChange(TiOPCValue {std::int64_t {255}}, 0xC0, 45000.25);
    EXPECT_EQ(Led->ActiveColor(), classes::clRed);
    EXPECT_EQ(item->TimeStamp(), 45000.25);
    item->DataChange(TiOPCValue {std::string("65280")}, 0x00, 0);   // bad quality: kept, not set
    EXPECT_EQ(Led->ActiveColor(), classes::clRed);
    EXPECT_EQ(told, (std::vector<int> {0, 0}));
}

TEST_F(OPCTest, NewTextDataSetsAnEnumerationByItsNameOrByItsNumber) {
    TiOPCItem* item = ActiveItem("BevelStyle");
    item->DataChange(TiOPCValue {std::string(" ibsRaised ")}, 0xC0, 0);
    EXPECT_EQ(Led->BevelStyle(), ibsRaised);
    item->DataChange(TiOPCValue {std::string("0")}, 0xC0, 0);
    EXPECT_EQ(Led->BevelStyle(), ibsNone);
    item->DataChange(TiOPCValue {std::string("ibsSideways")}, 0xC0, 0);   // no such name: dropped
    EXPECT_EQ(Led->BevelStyle(), ibsNone);
}

TEST_F(OPCTest, TheDataCanBeChangedBeforeItIsSetAndBadValuesAreDropped) {
    TiOPCItem* item = ActiveItem("Active");
    Led->OnBeforeNewOPCData = [](classes::TObject*, int index, TiOPCValue& data) {
        EXPECT_EQ(index, 0);
        data = true;
    };
    item->DataChange(TiOPCValue {std::string("ignored")}, 0xC0, 0);
    EXPECT_TRUE(Led->Active());
    Led->OnBeforeNewOPCData = nullptr;
    item->SetPropertyName("ActiveColor");
    item->DataChange(TiOPCValue {std::string("not a colour")}, 0xC0, 0);
    EXPECT_EQ(Led->ActiveColor(), classes::clLime);
    item->SetPropertyName("");
    Led->OnNewOPCData = [](classes::TObject*, int) { FAIL() << "an item without a property feeds nothing"; };
    item->DataChange(TiOPCValue {true}, 0xC0, 0);
}

TEST_F(OPCTest, WritingBackWhileNewDataIsSetIsNoEcho) {
    TiOPCItem* item = ActiveItem("Active");
    std::vector<bool> answers;
    Led->OnNewOPCData = [&](classes::TObject*, int) {
        answers.push_back(Led->WriteItemValue("Active", TiOPCValue {true}));
        // The mark is cleared by the first: the second writes to the active item, which is not connected.
        EXPECT_THROW(Led->WriteItemValue("Active", TiOPCValue {true}), base::Exception);
    };
    item->DataChange(TiOPCValue {true}, 0xC0, 0);
    EXPECT_EQ(answers, (std::vector<bool> {false}));
    item->Disconnect();
    EXPECT_FALSE(Led->WriteItemValue("Active", TiOPCValue {false}));   // nothing is connected
}

TEST_F(OPCTest, NewDataOfAnInactiveItemIsNotTaken) {
    TiOPCItem* item = Manager().Add();
    item->SetPropertyName("Active");
    int told = 0;
    Led->OnNewOPCData = [&](classes::TObject*, int) { ++told; };
    item->DataChange(TiOPCValue {true}, 0xC0, 7);
    EXPECT_FALSE(Led->Active());
    EXPECT_EQ(item->TimeStamp(), 0);
    EXPECT_EQ(told, 0);
}

TEST_F(OPCTest, EachReadItemRunsItsLoadedStepBeforeTheNextIsMade) {
    BoundItem("Active");
    BoundItem("Active");
    const std::string text = classes::WriteComponent(Led.get());
    TTestLedRound copy(nullptr);
    EXPECT_THROW(classes::ReadRootComponent(&copy, text), base::Exception);
    EXPECT_EQ(copy.OPCItemManager()->Count(), 1);   // the first one's connect failed: reading stopped there
}

TEST(SetPropertyFromOPCValue, ConvertsByPropertyKind) {
    TTestLedBar bar(nullptr);
    EXPECT_TRUE(SetPropertyFromOPCValue(bar, "Position", TiOPCValue {std::string("42.5")}));
    EXPECT_EQ(bar.Position(), 42.5);
    EXPECT_TRUE(SetPropertyFromOPCValue(bar, "position", TiOPCValue {std::int64_t {7}}));
    EXPECT_EQ(bar.Position(), 7);
    EXPECT_TRUE(SetPropertyFromOPCValue(bar, "SegmentStyle", TiOPCValue {std::string("ilbssCircle")}));
    EXPECT_EQ(bar.SegmentStyle(), ilbssCircle);
    EXPECT_TRUE(SetPropertyFromOPCValue(bar, "SegmentStyle", TiOPCValue {2.0}));
    EXPECT_EQ(bar.SegmentStyle(), ilbssTriangle);
    EXPECT_FALSE(SetPropertyFromOPCValue(bar, "SegmentStyle", TiOPCValue {std::int64_t {9}}));
    EXPECT_EQ(bar.SegmentStyle(), ilbssTriangle);
    EXPECT_TRUE(SetPropertyFromOPCValue(bar, "ShowOffSegments", TiOPCValue {std::string("False")}));
    EXPECT_FALSE(bar.ShowOffSegments());
    EXPECT_TRUE(SetPropertyFromOPCValue(bar, "SegmentSize", TiOPCValue {std::string(" 9 ")}));
    EXPECT_EQ(bar.SegmentSize(), 9);
    EXPECT_FALSE(SetPropertyFromOPCValue(bar, "SegmentSize", TiOPCValue {2.5}));
    EXPECT_FALSE(SetPropertyFromOPCValue(bar, "SegmentSize", TiOPCValue {std::string("4294967305")}));   // > 32 bits
    EXPECT_EQ(bar.SegmentSize(), 9);
    EXPECT_TRUE(SetPropertyFromOPCValue(bar, "ShowOffSegments", TiOPCValue {std::int64_t {5}}));
    EXPECT_TRUE(bar.ShowOffSegments());
    EXPECT_TRUE(SetPropertyFromOPCValue(bar, "Hint", TiOPCValue {std::int64_t {12}}));
    EXPECT_EQ(bar.Hint(), "12");
    EXPECT_FALSE(SetPropertyFromOPCValue(bar, "NoSuchProperty", TiOPCValue {true}));
    EXPECT_FALSE(SetPropertyFromOPCValue(bar, "PopupMenu.AutoPopup", TiOPCValue {true}));   // no menu
    EXPECT_FALSE(SetPropertyFromOPCValue(bar, "OnClick", TiOPCValue {true}));
}

}
