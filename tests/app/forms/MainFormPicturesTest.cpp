// The main window with a few rows in each of our skins and both languages, written as pictures and read back:
// the pictures must show the names, readable warning cells, values inside their columns and empty cells for a
// node without data.
#include "support/MainFormKit.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/TStringGrid.h"
#include "platform/gdi/FontEngine.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sScrollBox.h"
#include "skin/engine/sSkinManager.h"

namespace korvex::app::test {

using namespace korvex::classes;

namespace {

// Pixels of the rectangle that differ from their line's last pixel: the text drawn there.
int Ink(const TPicture& picture, const TControl* control, const TRect& r) {
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        const gdi::COLORREF face = picture.Pixel(control, r.right - 1, y);
        for (int x = r.left; x < r.right; ++x)
            count += picture.Pixel(control, x, y) != face;
    }
    return count;
}

}

class MainPicturesTest : public MainFormTest {
protected:
    // Five rows: a five-digit day figure, a unit on two nodes ("1"), one seen before ("2"), a plain one and a
    // node without data; the picture written and what it must show checked.
    void WriteAndCheck(int skin, int language, const std::string& name) {
        TMainForm* form = NewMainForm(NodesSettings(5, language), skin);
        for (int node = 0; node < 4; ++node) {
            TRowRefresh refresh = SampleRefresh(node, 15 + node * 25, node == 1 ? "1" : node == 2 ? "2" : "");
            if (node == 0) refresh.Row.Cells[6] = "12345.67";   // five digits of points per day
            form->RowRefreshed(refresh);
        }
        TRowRefresh none;   // a node without data yet
        none.Row.Node = 4;
        none.Row.Status = {0x00FFFF, false, true, ""};
        form->RowRefreshed(none);
        const TPicture picture(WritePicture(name), form);
        ASSERT_TRUE(picture.Valid()) << name;
        TStringGrid* grid = form->Grid();
        const gdi::COLORREF red = gdi::RGB(255, 0, 0);   // the default warning colours: red text on red
        // Each node's name is written on its row.
        for (int node = 0; node < 5; ++node) {
            const skin::TsLabel* label = form->Row(node).Label;
            EXPECT_GT(Ink(picture, label, TRect {0, 0, label->Width(), label->Height()}), 10) << name << node;
        }
        // The marked run-clone-gen cells: the warning colour, with the warning font colour (red on red: the
        // cell is one block) or blue text.
        for (int row : {1, 2}) {
            const TRect cell = grid->CellRect(8, row);
            const int area = (cell.right - cell.left) * (cell.bottom - cell.top);
            EXPECT_GT(picture.Count(grid, cell, [red](gdi::COLORREF c) { return c == red; }), area / 2) << name;
        }
        const gdi::COLORREF blue = gdi::RGB(0, 0, 255);
        EXPECT_GT(picture.Count(grid, grid->CellRect(8, 2), [blue](gdi::COLORREF c) { return c == blue; }), 15) << name;
        EXPECT_EQ(picture.Count(grid, grid->CellRect(8, 0), [red](gdi::COLORREF c) { return c == red; }), 0);
        // The day figure is shown.
        EXPECT_GT(Ink(picture, grid, grid->CellRect(6, 0)), 20) << name;
        // The node without data shows no text in any cell.
        for (int col = 0; col < ShownColumns; ++col)
            EXPECT_EQ(Ink(picture, grid, grid->CellRect(col, 4)), 0) << name << " column " << col;
        form->Free();
        Form = nullptr;
    }
};

TEST_F(MainPicturesTest, WritesTheWindowInEverySkinAndLanguage) {
    static const char* const names[] = {"MacOS", "LongHorn", "NextStyle", "Office2003"};
    for (int skin = 0; skin < 4; ++skin)
        for (int language = 0; language < 2; ++language)
            WriteAndCheck(skin, language, std::string("main-") + names[skin] + (language == 0 ? "-ru" : "-en"));
}

// With the fonts the program finds on the system rather than the tests' pinned one.
TEST_F(MainPicturesTest, WritesTheWindowWithTheSystemFonts) {
    gdi::SetPinnedFontFamily("");
    const base::ScopeExit pinAgain([] { gdi::SetPinnedFontFamily("DejaVu Sans"); });
    WriteAndCheck(1, 1, "main-realfont-LongHorn-en");
    WriteAndCheck(3, 0, "main-realfont-Office2003-ru");
}

// Switching the dark skin off at run time and on again: the rows' box follows, the names readable on it.
TEST_F(MainFormTest, SwitchingTheSkinOffAndOnRecoloursTheRows) {
    TMainForm* form = NewMainForm(NodesSettings(3), 2);
    const TColor dark = ColorToRGB(form->ScrollBox()->Color());
    EXPECT_EQ(dark, form->SkinManager()->GetGlobalColor());
    skin::TsScrollBox* box = form->ScrollBox();
    // A point of the box below the rows.
    const int x = box->ClientWidth() / 2, y = box->ClientHeight() - 4;
    ASSERT_GT(y, 3 * NodeRowHeight);
    form->SkinManager()->SetActive(false);
    Pump();
    EXPECT_EQ(ColorToRGB(form->ScrollBox()->Color()), ColorToRGB(clBtnFace));
    for (int node = 0; node < 3; ++node)
        EXPECT_EQ(ColorToRGB(form->Row(node).Label->Font()->Color()), ColorToRGB(clWindowText)) << node;
    const TPicture off(WritePicture("main-skin-off"), form);
    EXPECT_EQ(off.Pixel(box, x, y), gdi::COLORREF(ColorToRGB(clBtnFace)));
    for (int node = 0; node < 3; ++node) {
        const skin::TsLabel* label = form->Row(node).Label;
        EXPECT_GT(off.Count(label, TRect {0, 0, label->Width(), label->Height()}, IsDark), 10) << node;
    }
    form->SkinManager()->SetActive(true);
    Pump();
    EXPECT_EQ(ColorToRGB(form->ScrollBox()->Color()), dark);
    const TPicture on(WritePicture("main-skin-on-again"), form);
    EXPECT_EQ(on.Pixel(box, x, y), gdi::COLORREF(dark));
}

}
