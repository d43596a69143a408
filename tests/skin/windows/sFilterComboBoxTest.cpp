// The file-type combo: items and masks from the filter, the current mask's fallbacks, and change events.
#include "support/WindowsKit.h"

#include "platform/classes/TStrings.h"
#include "skin/windows/sFilterComboBox.h"

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class FilterComboBoxTest : public FormsTest {
protected:
    TsFilterComboBox* NewBox() {
        auto* box = Create<TsFilterComboBox>(Form);
        box->SetParent(Form);
        box->SetBounds(10, 10, 200, 22);
        box->OnChange = [this](TObject*) { ++Changes; };
        Pump();
        return box;
    }
    int Changes = 0;
};

TEST_F(FilterComboBoxTest, EachDescriptionIsAnItemWithItsMaskAndTheFirstIsSelected) {
    TsFilterComboBox* box = NewBox();
    EXPECT_EQ(box->Items()->Count(), 1);   // the default: every file
    EXPECT_EQ(box->Mask(), "*.*");
    box->SetFilter("HTML|*.html");
    EXPECT_EQ(Changes, 1);
    ASSERT_EQ(box->Items()->Count(), 1);
    EXPECT_EQ(box->Items()->Strings(0), "HTML");
    EXPECT_EQ(box->Mask(), "*.html");
    box->SetFilter("HTML|*.html");   // unchanged: no event
    EXPECT_EQ(Changes, 1);

    box->SetFilter("Logs|*.txt;*.log|Anything");
    ASSERT_EQ(box->Items()->Count(), 2);
    EXPECT_EQ(box->ItemIndex(), 0);
    EXPECT_TRUE(box->Matches("client.log"));
    EXPECT_FALSE(box->Matches("unit.dat"));
    box->SetItemIndex(1);
    EXPECT_EQ(box->Mask(), "");   // a description without a mask passes every file
    EXPECT_TRUE(box->Matches("unit.dat"));
}

TEST_F(FilterComboBoxTest, NoSelectionTakesTheLastItemAndNoItemsGiveEveryFile) {
    TsFilterComboBox* box = NewBox();
    box->SetFilter("A|*.a|B|*.b");
    box->SetItemIndex(-1);
    EXPECT_EQ(box->Mask(), "*.b");
    EXPECT_EQ(box->ItemIndex(), 1);
    box->SetFilter("");
    EXPECT_EQ(box->Items()->Count(), 0);
    EXPECT_EQ(box->Mask(), "*.*");
    EXPECT_TRUE(box->Matches("anything"));
}

}
}
