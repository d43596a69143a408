// TsPanel, TsDragBar and TsColorsPanel on the headless display: skinned and plain painting, skin switches,
// the colour grid's cells and indexes, the drag bar's activation colours.
#include "support/ControlsHost.h"
#include "support/SkinControlsKit.h"
#include "support/SkinFixtures.h"

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TLabel.h"
#include "platform/classes/TStringList.h"
#include "platform/user/Input.h"
#include "platform/user/MessageIds.h"
#include "skin/controls/sPanel.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class PanelTest : public SkinControlsTest { };

TEST_F(PanelTest, SkinnedPanelPaintsTheSkinAndTheRemovedSkinGivesThePlainFace) {
    TForm* form = NewForm(200, 100);
    test::ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    controlstest::LoadOurSkin(*sm, 1);
    auto* panel = Create<TsPanel>(form);
    panel->SetBounds(10, 10, 120, 60);
    panel->SetCaption("A & B");
    panel->SetParent(form);
    Pump();
    ASSERT_TRUE(panel->SkinData()->Skinned(true));
    EXPECT_EQ(panel->SkinData()->SkinSection(), "PANEL");
    const gdi::COLORREF skinned = ScreenPixel(panel, 60, 5);
    EXPECT_NE(skinned, gdi::COLORREF(ColorToRGB(clBtnFace)));

    sm->SetActive(false);   // removes the skin while the panel is shown
    Pump();
    EXPECT_FALSE(panel->SkinData()->Skinned(true));
    EXPECT_EQ(ScreenPixel(panel, 60, 5), gdi::COLORREF(ColorToRGB(clBtnFace)));

    sm->SetActive(true);
    Pump();
    EXPECT_TRUE(panel->SkinData()->Skinned(true));
    EXPECT_EQ(ScreenPixel(panel, 60, 5), skinned);
}

TEST_F(PanelTest, SkinQueriesAreAnsweredInLParamAndForeignManagersAreIgnored) {
    TForm* form = NewForm();
    auto* panel = Create<TsPanel>(form);
    panel->SetParent(form);
    TMessage q = MakeSkinCommand(SMC_ISSKINNED);
    panel->WindowProc(q);
    EXPECT_EQ(q.LParam, 1);   // also without any skin
    EXPECT_EQ(q.Result, 0);

    test::ManagerHost host;
    TsSkinManager* own = host.NewManager();
    controlstest::LoadOurSkin(*own, 0);
    Pump();
    panel->SkinData()->BGChanged = false;
    TMessage foreign = MakeSkinCommand(SMC_REMOVESKIN, 0, LPARAM(0x1234));
    panel->WindowProc(foreign);
    EXPECT_GE(panel->SkinData()->SkinIndex, 0);   // not its manager: the skin stays
}

TEST_F(PanelTest, UnskinnedOnPaintRunsAfterTheBaseWithoutErasing) {
    TForm* form = NewForm();
    auto* panel = Create<TsPanel>(form);
    panel->SetBounds(0, 0, 50, 40);
    int calls = 0;
    panel->OnPaint = [&](TObject*, TCanvas* canvas) {
        ++calls;
        canvas->Brush()->SetColor(0x00FF00);
        canvas->FillRect(TRect {0, 0, 10, 10});
    };
    panel->SetParent(form);
    Pump();
    EXPECT_GE(calls, 1);
    EXPECT_EQ(ScreenPixel(panel, 5, 5), gdi::COLORREF(0x00FF00));
    TMessage erase {user::WM_ERASEBKGND, 0, 0, 0};
    panel->WindowProc(erase);
    EXPECT_EQ(erase.Result, 1);   // the base class did not erase under OnPaint
}

TEST_F(PanelTest, DragBarCaptionStaysReadableWhenTheApplicationIsActivatedOrNot) {
    TForm* form = NewForm();
    auto* bar = Create<TsDragBar>(form);
    bar->SetParent(form);
    for (WPARAM active : {WPARAM(1), WPARAM(0), WPARAM(1)}) {
        bar->Perform(user::WM_ACTIVATEAPP, active, 0);
        EXPECT_NE(ColorToRGB(bar->Font()->Color()), ColorToRGB(bar->Color())) << active;
    }
    EXPECT_EQ(bar->Color(), clActiveCaption);
    EXPECT_EQ(bar->Font()->Color(), clCaptionText);
    EXPECT_EQ(bar->Align(), alTop);
    EXPECT_EQ(bar->Height(), 20);
}

TEST_F(PanelTest, DragBarLoadedOnAFormMovesThatForm) {
    TForm* form = NewForm();
    auto* bar = Create<TsDragBar>(form);
    bar->SetParent(form);
    EXPECT_EQ(bar->DraggedControl(), nullptr);
    bar->SetDraggedControl(form);
    EXPECT_EQ(bar->DraggedControl(), form);
    auto* other = Create<TsPanel>(form);
    bar->SetDraggedControl(other);
    delete other;   // the bar forgets a freed target
    EXPECT_EQ(bar->DraggedControl(), nullptr);
}

// The panel hears the mouse come and go through its children too, each notice once.
TEST_F(PanelTest, MouseEnterAndLeaveFollowThePanelAndTheNoticesOfItsChildren) {
    TForm* form = NewForm(200, 100);
    auto* panel = Create<TsPanel>(form);
    panel->SetBounds(10, 10, 120, 60);
    panel->SetParent(form);
    auto* child = Create<TsPanel>(form);
    child->SetBounds(60, 10, 40, 40);
    child->SetParent(panel);
    std::string events;
    panel->OnMouseEnter = [&](TObject*) { events += "E"; };
    panel->OnMouseLeave = [&](TObject*) { events += "L"; };
    Pump();
    auto moveTo = [&](const TControl* c, int x, int y) {
        const TPoint p = c->ClientToScreen(TPoint {x, y});
        Display->MoveMouse(p.x, p.y);
        Pump();
    };
    moveTo(form, 5, 5);
    moveTo(panel, 10, 10);
    EXPECT_EQ(events, "E");
    moveTo(child, 10, 10);   // the panel's own leave, then the child's enter passed up
    EXPECT_EQ(events, "ELE");
    moveTo(panel, 10, 10);   // the child's leave passed up, then the panel's own enter
    EXPECT_EQ(events, "ELELE");
    moveTo(form, 5, 5);
    EXPECT_EQ(events, "ELELEL");
}

// A press on the bar lets the mouse go and hands the move to the dragged control, windowed or not.
TEST_F(PanelTest, DragBarPressLetsTheMouseGoAlsoForAWindowlessTarget) {
    TForm* form = NewForm();
    auto* bar = Create<TsDragBar>(form);
    bar->SetParent(form);
    auto* target = Create<TLabel>(form);
    target->SetParent(form);
    bar->SetDraggedControl(target);
    Pump();
    const TPoint p = bar->ClientToScreen(TPoint {20, 10});
    Display->MoveMouse(p.x, p.y);
    Display->ButtonDown(user::MouseButton::Left, p.x, p.y);
    Pump();
    EXPECT_EQ(user::GetCapture(), nullptr);
    Display->ButtonUp(user::MouseButton::Left, p.x, p.y);
    Pump();
}

// Skinned, OnPaint draws on the freshly rendered cache, after the caption, once per render.
TEST_F(PanelTest, SkinnedOnPaintDrawsOnTheNewCacheOncePerRender) {
    TForm* form = NewForm();
    test::ManagerHost host;
    controlstest::LoadOurSkin(*host.NewManager(), 1);
    auto* panel = Create<TsPanel>(form);
    panel->SetBounds(10, 10, 120, 60);
    int calls = 0;
    panel->OnPaint = [&](TObject*, TCanvas* canvas) {
        ++calls;
        EXPECT_EQ(canvas, panel->SkinData()->CacheBmp()->Canvas());
        EXPECT_FALSE(panel->SkinData()->BGChanged);
    };
    panel->SetParent(form);
    Pump();
    const int first = calls;
    EXPECT_GE(first, 1);
    panel->Invalidate();   // the cache stays as it is
    Pump();
    EXPECT_EQ(calls, first);
    panel->SetCaption("New");
    Pump();
    EXPECT_EQ(calls, first + 1);
}

// ---- TsColorsPanel -----------------------------------------------------------------------------------------

TEST_F(PanelTest, ColorGridFillsMissingLinesWithWhite) {
    TForm* form = NewForm();
    auto* grid = Create<TsColorsPanel>(form);
    TStringList lines;
    lines.Add("0000FF");
    lines.Add("00FF00 green");
    lines.Add("FF0000");
    grid->SetColors(&lines);
    ASSERT_EQ(grid->Items().size(), 10u);
    EXPECT_EQ(grid->Colors()->Count(), 10);
    EXPECT_EQ(grid->Items()[1].Color, TColor(0x00FF00));
    for (int i = 3; i < 10; ++i) {
        EXPECT_EQ(grid->Items()[std::size_t(i)].Color, TColor(0xFFFFFF)) << i;
        EXPECT_EQ(grid->Colors()->Strings(i), "FFFFFF") << i;
    }
    EXPECT_EQ(grid->Items()[6].Rect, (TRect {33, 33, 54, 54}));   // row 1, column 1
}

TEST_F(PanelTest, ColorGridTreatsBadAndStaleIndexesAsNoSelection) {
    TForm* form = NewForm();
    auto* grid = Create<TsColorsPanel>(form);
    grid->SetParent(form);
    int changes = 0;
    grid->OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(grid->ColorValue(), TColor(0xFFFFFF));
    struct Case { int index; int stored; };
    for (const Case c : {Case {99, -1}, Case {-7, -1}, Case {9, 9}, Case {10, -1}, Case {4, 4}}) {
        grid->SetItemIndex(c.index);
        EXPECT_EQ(grid->ItemIndex(), c.stored) << c.index;
    }
    EXPECT_EQ(changes, 3);   // 9, then -1, then 4; the first two bad values change nothing
    grid->SetItemIndex(9);
    changes = 0;
    grid->SetRowCount(1);   // 5 cells: index 9 is stale and goes quietly
    EXPECT_EQ(grid->ItemIndex(), -1);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(grid->ColorValue(), TColor(0xFFFFFF));
    for (const TsColorItem& item : grid->Items())
        EXPECT_FALSE(item.Selected);
    Pump();   // paints without reading past the cells
}

TEST_F(PanelTest, ColorGridKeepsANegativeCountAndMakesNoCells) {
    TForm* form = NewForm();
    auto* grid = Create<TsColorsPanel>(form);
    grid->SetParent(form);
    grid->SetColCount(-2);
    EXPECT_EQ(grid->ColCount(), -2);
    EXPECT_TRUE(grid->Items().empty());
    grid->SetColCount(5);
    grid->SetRowCount(-1);
    EXPECT_EQ(grid->RowCount(), -1);
    EXPECT_TRUE(grid->Items().empty());
    grid->SetItemIndex(0);
    EXPECT_EQ(grid->ItemIndex(), -1);
    Pump();
}

// While skinned a grip is painted as a panel of its own section, the copy flag or not; unskinned, a grip with
// the flag shows the corner of its host's cache.
TEST_F(PanelTest, GripCopiesItsHostsCornerOnlyWhileItIsNotSkinnedItself) {
    TForm* form = NewForm(300, 200);
    test::ManagerHost host;
    controlstest::LoadOurSkin(*host.NewManager(), 1);
    TsSkinManager* bare = host.NewManager();   // no skin
    auto* panel = Create<TsPanel>(form);
    panel->SetBounds(0, 0, 200, 150);
    panel->SetCaption("");
    panel->SetParent(form);
    auto* plain = Create<TsGrip>(form);
    plain->SetBounds(220, 10, 20, 20);
    plain->SetParent(form);
    auto* grip = Create<TsGrip>(form);
    grip->Transparent = true;
    grip->SetLinkedControl(panel);
    grip->SetBounds(220, 100, 20, 20);
    grip->SetParent(form);
    Pump();
    const gdi::COLORREF corner = ScreenPixel(panel, 190, 140);
    ASSERT_NE(ScreenPixel(plain, 10, 10), corner);
    EXPECT_EQ(ScreenPixel(grip, 10, 10), ScreenPixel(plain, 10, 10));
    grip->SkinData()->SetSkinManager(bare);
    Pump();
    EXPECT_FALSE(grip->SkinData()->Skinned(true));
    EXPECT_EQ(ScreenPixel(grip, 10, 10), corner);
}

// A skinned grid with OnPaint hands it the cache's canvas on every paint, rendered again or not; the cells are
// then OnPaint's to draw.
TEST_F(PanelTest, ColorGridOnPaintRunsOnEveryPaint) {
    TForm* form = NewForm();
    test::ManagerHost host;
    controlstest::LoadOurSkin(*host.NewManager(), 1);
    auto* grid = Create<TsColorsPanel>(form);
    grid->SetBounds(10, 10, 160, 60);
    int painted = 0;
    grid->OnPaint = [&](TObject*, TCanvas* canvas) {
        EXPECT_EQ(canvas, grid->SkinData()->CacheBmp()->Canvas());
        ++painted;
    };
    grid->SetParent(form);
    Pump();
    ASSERT_TRUE(grid->SkinData()->Skinned(true));
    const int first = painted;
    EXPECT_GE(first, 1);
    grid->Invalidate();   // the cache stays as it is
    Pump();
    EXPECT_FALSE(grid->SkinData()->BGChanged);
    EXPECT_GT(painted, first);
}

class ColorGridClicks : public SkinControlsTest, public ::testing::WithParamInterface<int> { };

TEST_P(ColorGridClicks, SelectCellsAndARepeatedClickIsNoChange) {
    TForm* form = NewForm();
    test::ManagerHost host;
    if (GetParam() >= 0) controlstest::LoadOurSkin(*host.NewManager(), GetParam());
    auto* grid = Create<TsColorsPanel>(form);
    grid->SetBounds(10, 10, 160, 60);
    grid->SetParent(form);
    Pump();
    int changes = 0;
    grid->OnChange = [&](TObject*) { ++changes; };
    auto click = [&](int x, int y) {
        const TPoint p = grid->ClientToScreen(TPoint {x, y});
        Display->Click(p.x, p.y);
        Pump();
    };
    click(6 + 3 * 27 + 5, 6 + 5);   // cell 3
    EXPECT_EQ(grid->ItemIndex(), 3);
    click(6 + 3 * 27 + 5, 6 + 5);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(grid->ItemAtPos(1, 1), 0);   // inside the grown rectangle of cell 0
    const TRect cell = grid->Items()[3].Rect;
    EXPECT_EQ(ScreenPixel(grid, cell.left - 1, cell.top + 5), gdi::COLORREF(0xFFFFFF));   // the selection frame
    EXPECT_EQ(ScreenPixel(grid, cell.left - 2, cell.top + 5), gdi::COLORREF(0));
    click(150, 30);   // right of every grown cell
    EXPECT_EQ(grid->ItemIndex(), -1);
    EXPECT_EQ(changes, 2);
}

INSTANTIATE_TEST_SUITE_P(SkinnedAndPlain, ColorGridClicks, ::testing::Values(-1, 2),
    [](const auto& info) { return controlstest::SkinShortName(info.param); });

}
