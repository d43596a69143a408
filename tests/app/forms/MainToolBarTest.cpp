// The main window's tool bar: a drawn glyph on every button, no caption, the hint naming the command, and
// every button inside the bar in any skin and without one.
#include "support/MainFormKit.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sSpeedButton.h"

#include <set>

namespace korvex::app::test {

using namespace classes;

constexpr const char* ToolButtons[]
    = {"sSpeedButton2", "sSpeedButton3", "sSpeedButton4", "sSpeedButton5", "sSpeedButton6", "sSpeedButton7",
        "sSpeedButton8", "sSpeedButton9", "sSpeedButton1"};

TEST_F(MainFormTest, EveryToolButtonShowsAGlyphOnTheKeyAndNoCaption) {
    TMainForm* form = NewMainForm(NodesSettings(1, 0), -1);
    auto* bar = static_cast<TControl*>(form->FindComponent("ToolPanel"));
    int right = 0;
    for (const char* name : ToolButtons) {
        auto* button = dynamic_cast<skin::TsSpeedButton*>(form->FindComponent(name));
        ASSERT_NE(button, nullptr) << name;
        TBitmap* glyph = button->Glyph();
        EXPECT_EQ(glyph->Width(), 16) << name;
        EXPECT_EQ(glyph->Height(), 16) << name;
        EXPECT_EQ(glyph->Canvas()->Pixels(0, 15), TColor(0xFF00FF)) << name;   // the transparent key
        EXPECT_EQ(button->Caption(), "") << name;
        EXPECT_FALSE(button->Hint().empty()) << name;   // in the window's language
        EXPECT_GE(button->Left(), right) << name;   // in order, without overlapping
        right = button->Left() + button->Width();
        EXPECT_LE(button->Top() + button->Height(), bar->Height()) << name;
    }
    EXPECT_LE(right, 260);   // fits the narrowest window
}

TEST_F(MainFormTest, TheToolBarPaintsItsGlyphsWithAndWithoutASkin) {
    static const char* const names[] = {"NoSkin", "MacOS", "LongHorn", "NextStyle", "Office2003"};
    for (int skin = -1; skin < 4; ++skin) {
        TMainForm* form = NewMainForm(NodesSettings(1), skin);
        WritePicture(std::string("main-toolbar-") + names[skin + 1]);
        for (const char* name : ToolButtons) {
            auto* button = static_cast<TControl*>(form->FindComponent(name));
            std::set<gdi::COLORREF> colours;
            for (int y = 0; y < button->Height(); ++y)
                for (int x = 0; x < button->Width(); ++x) colours.insert(ScreenPixel(button, x, y));
            EXPECT_GT(colours.size(), 10u) << name << " in skin " << skin;   // a blank face has a handful
            EXPECT_EQ(colours.count(gdi::RGB(255, 0, 255)), 0u) << name << " in skin " << skin;   // no key shows
        }
        form->Free();
        Form = nullptr;
    }
}

}
