// The grid adapter: which grids it links, the skin's colours and back, skinned bars following the grid and
// moving it, grids and adapters freed in either order, and pictures of a skinned grid in each skin.
#include "support/WindowsKit.h"

#include "platform/classes/PropInfo.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TColor.h"
#include "platform/classes/TStringGrid.h"
#include "platform/user/MessageIds.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sColorUtils.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sGridAdapter.h"

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

// A grid whose class name is that of a data-aware grid the adapter leaves alone.
class TDBGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    static TClass StaticClass() {
        static const TClassInfo info = MakeClass<TDBGrid, TStringGrid>("TDBGrid");
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }
};

class GridAdapterTest : public FormsTest {
protected:
    template <class G = TStringGrid>
    G* NewGrid(const char* name, int rows = 30, int cols = 8) {
        auto* grid = new G(Form);
        grid->SetName(name);
        grid->SetParent(Form);
        grid->SetBounds(10, 10, 300, 150);
        grid->SetRowCount(rows);
        grid->SetColCount(cols);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) grid->SetCells(c, r, r == 0 ? "Node " + std::to_string(c) : std::to_string(r * c));
        return grid;
    }
    TsGridAdapter* NewAdapter() {
        auto* adapter = Create<TsGridAdapter>(Form);
        adapter->AddAllItems();
        ParentsUpdated(Form);   // what the form's provider does once it painted
        Pump();
        return adapter;
    }
    static TsGridItem* ItemOf(TsGridAdapter* a, TCustomGrid* grid) {
        for (int i = 0; i < a->ItemCount(); ++i)
            if (a->Controls()->Item(i)->Grid() == grid) return a->Controls()->Item(i);
        return nullptr;
    }
    TColor GlobalInfo(bool hot) const {
        const int gi = Manager->GetSkinIndex("GLOBALINFO");
        return hot ? Manager->Sections[gi].HotColor : Manager->Sections[gi].Color;
    }
};

TEST_F(GridAdapterTest, TheSearchLinksEveryGridAndTheSkinsColoursComeAndGo) {
    UseSkin(1);
    TStringGrid* grid = NewGrid("Grid");
    TsGridAdapter* adapter = NewAdapter();
    ASSERT_NE(ItemOf(adapter, grid), nullptr);
    EXPECT_TRUE(QuerySkinCommand(grid, SMC_ISSKINNED));
    EXPECT_EQ(adapter->IndexOf("GRID"), adapter->IndexOf("grid"));
    EXPECT_EQ(ItemOf(adapter, grid)->SkinData()->SkinSection(), "EDIT");
    EXPECT_EQ(ItemOf(adapter, grid)->SkinData()->ControlKind, TacControlKind::GridItem);
    EXPECT_EQ(grid->FixedColor(), GlobalInfo(false));
    EXPECT_EQ(grid->Color(), GlobalInfo(true));
    adapter->RemoveItem(adapter->IndexOf("Grid"));
    EXPECT_EQ(grid->Color(), clWindow);
    EXPECT_EQ(grid->FixedColor(), Form->Color());
    EXPECT_FALSE(QuerySkinCommand(grid, SMC_ISSKINNED));
}

// The skin gives the grid its cell and fixed colours and its text colour; the lines between the cells keep
// the grid's own colour, with the skin and after it.
TEST_F(GridAdapterTest, TheSkinColoursTheCellsAndLeavesTheLinesBetweenThem) {
    UseSkin(1);
    TStringGrid* grid = NewGrid("Grid", 4, 1);
    grid->SetFixedRows(0);
    grid->SetFixedCols(0);
    const TColor ownLine = grid->GridLineColor();
    TsGridAdapter* adapter = NewAdapter();
    const TsGeneralData& global = Manager->Sections[std::size_t(Manager->GetSkinIndex("GLOBALINFO"))];
    EXPECT_EQ(grid->Color(), global.HotColor);
    EXPECT_EQ(grid->FixedColor(), global.Color);
    EXPECT_EQ(grid->GridLineColor(), ownLine);
    const int y = grid->DefaultRowHeight();   // the line under the first row
    EXPECT_EQ(ScreenPixel(grid, 20, y), ColorToColorRef(ownLine));
    adapter->RemoveItem(adapter->IndexOf("Grid"));
    Pump();
    EXPECT_EQ(grid->GridLineColor(), ownLine);
    EXPECT_EQ(ScreenPixel(grid, 20, y), ColorToColorRef(ownLine));
}

// A grid raised over its bar gets the bar back on top at the next update of the bars (its repaint, a key).
TEST_F(GridAdapterTest, TheBarComesBackAboveTheGridAtEachUpdate) {
    UseSkin(1);
    TStringGrid* grid = NewGrid("Grid");
    TsGridAdapter* adapter = NewAdapter();
    TsScrollBar* bar = ItemOf(adapter, grid)->VertBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->Visible());
    auto barAboveGrid = [&] {   // the bar is met first walking the siblings from the top down
        for (user::HWND h = user::GetWindow(Form->Handle(), user::GW_CHILD); h != nullptr;
             h = user::GetWindow(h, user::GW_HWNDNEXT)) {
            if (h == bar->Handle()) return true;
            if (h == grid->Handle()) return false;
        }
        return false;
    };
    EXPECT_TRUE(barAboveGrid());
    grid->BringToFront();
    Pump();
    EXPECT_TRUE(barAboveGrid());
    grid->BringToFront();
    grid->SetFocus();
    grid->Perform(user::WM_KEYDOWN, user::VK_DOWN, 0);
    bool endless = false;   // raising the bars sets off no painting that raises them again without end
    user::PumpMessages(&endless);
    EXPECT_FALSE(endless);
    EXPECT_TRUE(barAboveGrid());
    ASSERT_NE(ItemOf(adapter, grid)->HorzBar(), nullptr);
    EXPECT_TRUE(ItemOf(adapter, grid)->HorzBar()->Visible());
}

TEST_F(GridAdapterTest, AStoredItemNeverLinksADataAwareGrid) {
    UseSkin(1);
    TDBGrid* db = NewGrid<TDBGrid>("History");
    EXPECT_FALSE(IsSupportedGrid(db));
    auto* adapter = new TsGridAdapter(Form);
    adapter->SetAutoSearch(false);
    adapter->RemoveAllItems();
    static_cast<TsGridItem*>(adapter->Controls()->Add())->SetCtrlName("History");
    adapter->LinkItems();
    EXPECT_EQ(adapter->Controls()->Item(0)->Grid(), nullptr);
    EXPECT_FALSE(QuerySkinCommand(db, SMC_ISSKINNED));
}

TEST_F(GridAdapterTest, TheSearchTakesTheFirstStoredItemOfTheNameAndSetsItsSection) {
    UseSkin(0);
    TStringGrid* grid = NewGrid("Grid");
    auto* adapter = new TsGridAdapter(Form);
    auto* first = static_cast<TsGridItem*>(adapter->Controls()->Add());
    first->SetCtrlName("Grid");
    first->SkinData()->SetSkinSection("CUSTOMEDIT");
    auto* twin = static_cast<TsGridItem*>(adapter->Controls()->Add());
    twin->SetCtrlName("Grid");
    adapter->LinkItems();   // as after loading, with the search on
    EXPECT_EQ(first->Grid(), grid);
    EXPECT_EQ(first->SkinData()->SkinSection(), "EDIT");
    EXPECT_EQ(twin->Grid(), nullptr);
    EXPECT_EQ(adapter->ItemCount(), 2);
    adapter->SetAutoSearch(true);   // the same value: nothing
    EXPECT_EQ(adapter->ItemCount(), 2);
    adapter->Free();
    EXPECT_FALSE(QuerySkinCommand(grid, SMC_ISSKINNED));
}

TEST_F(GridAdapterTest, TheAddItemEventIsPublishedAndMayRefuseAGridOrChooseItsSection) {
    UseSkin(0);
    TStringGrid* refused = NewGrid("Refused");
    TStringGrid* chosen = NewGrid("Chosen");
    auto* adapter = new TsGridAdapter(Form);
    EXPECT_NE(GetPropInfo(*adapter, "OnAddItem"), nullptr);
    adapter->SetAutoSearch(false);
    adapter->RemoveAllItems();
    adapter->OnAddItem = [&](TComponent* item, bool& canBeAdded, std::string& section) {
        canBeAdded = item != refused;
        if (item == chosen) section = "PANEL";
    };
    adapter->SetAutoSearch(true);
    EXPECT_FALSE(QuerySkinCommand(refused, SMC_ISSKINNED));
    ASSERT_TRUE(QuerySkinCommand(chosen, SMC_ISSKINNED));
    EXPECT_EQ(ItemOf(adapter, chosen)->SkinData()->SkinSection(), "PANEL");
}

TEST_F(GridAdapterTest, WithoutSearchAnItemWithoutANameStopsTheLinking) {
    UseSkin(0);
    TStringGrid* a = NewGrid("A");
    TStringGrid* b = NewGrid("B");
    auto* adapter = new TsGridAdapter(Form);
    adapter->SetAutoSearch(false);
    adapter->RemoveAllItems();
    static_cast<TsGridItem*>(adapter->Controls()->Add())->SetCtrlName("A");
    adapter->Controls()->Add();
    static_cast<TsGridItem*>(adapter->Controls()->Add())->SetCtrlName("B");
    adapter->LinkItems();
    EXPECT_TRUE(QuerySkinCommand(a, SMC_ISSKINNED));
    EXPECT_FALSE(QuerySkinCommand(b, SMC_ISSKINNED));
}

// A stored item's display name is the name of the grid it links.
TEST_F(GridAdapterTest, AnItemsDisplayNameIsItsControlsName) {
    UseSkin(0);
    TStringGrid* grid = NewGrid("Nodes");
    auto* adapter = new TsGridAdapter(Form);
    adapter->SetAutoSearch(false);
    adapter->RemoveAllItems();
    TCollectionItem* item = adapter->Controls()->Add();
    item->SetDisplayName("Nodes");
    EXPECT_EQ(static_cast<TsGridItem*>(item)->CtrlName(), "Nodes");
    EXPECT_EQ(item->DisplayName(), "Nodes");
    adapter->LinkItems();
    EXPECT_EQ(static_cast<TsGridItem*>(item)->Grid(), grid);
}

// A grid without a parent never answers that it is skinned, so each search hooks it again: its procedure
// stays the grid's own one under ours, and messages reach the grid.
TEST_F(GridAdapterTest, AGridWithoutAParentHookedByTwoSearchesStillHandlesItsMessages) {
    UseSkin(1);
    auto* grid = new TStringGrid(Form);
    grid->SetName("Loose");
    grid->SetRowCount(30);
    auto* adapter = Create<TsGridAdapter>(Form);
    adapter->AddAllItems();
    adapter->AddAllItems();
    ASSERT_NE(ItemOf(adapter, grid), nullptr);
    grid->SetCells(1, 2, "kept");
    grid->Perform(user::WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Loose grid"));
    EXPECT_EQ(grid->Cells(1, 2), "kept");
    grid->SetParent(Form);
    grid->SetBounds(10, 10, 300, 150);
    Pump();
    EXPECT_TRUE(QuerySkinCommand(grid, SMC_ISSKINNED));
    adapter->Free();
    EXPECT_FALSE(QuerySkinCommand(grid, SMC_ISSKINNED));
}

// Taking the skin away from a grid that is no longer skinned builds its window again (it shows its own
// bars); from a skinned grid it only frees the skinned bars.
TEST_F(GridAdapterTest, RemovingTheSkinRemakesTheWindowOnlyOfAnUnskinnedGrid) {
    UseSkin(2);
    TStringGrid* grid = NewGrid("Grid", 40, 12);
    TsGridAdapter* adapter = NewAdapter();
    TsGridItem* item = ItemOf(adapter, grid);
    ASSERT_NE(item, nullptr);
    ASSERT_NE(item->VertBar(), nullptr);
    auto removeSkin = [&] {
        user::SendMessage(grid->Handle(), SM_SKINCMD, SkinCommandWParam(SMC_REMOVESKIN),
            reinterpret_cast<LPARAM>(item->SkinData()->SkinManager()));
    };
    const user::HWND skinnedWindow = grid->Handle();
    removeSkin();
    EXPECT_EQ(grid->Handle(), skinnedWindow);
    EXPECT_EQ(grid->Color(), clWindow);

    UseSkin(-1);
    const user::HWND plainWindow = grid->Handle();
    removeSkin();
    Pump();
    EXPECT_NE(grid->Handle(), plainWindow);
    EXPECT_EQ(item->SkinData()->SkinIndex, -1);
    EXPECT_EQ(grid->Color(), clWindow);
    EXPECT_EQ(item->Grid(), grid);   // still hooked
}

// A grid taken out of the form (not freed) loses its item and gets its own procedure and colours back.
TEST_F(GridAdapterTest, AGridTakenFromTheFormIsUnhookedAndItsItemRemoved) {
    UseSkin(1);
    TStringGrid* grid = NewGrid("Grid");
    TsGridAdapter* adapter = NewAdapter();
    ASSERT_NE(ItemOf(adapter, grid), nullptr);
    const int items = adapter->ItemCount();
    Form->RemoveComponent(grid);
    EXPECT_EQ(adapter->ItemCount(), items - 1);
    EXPECT_EQ(adapter->IndexOf("Grid"), -1);
    EXPECT_FALSE(QuerySkinCommand(grid, SMC_ISSKINNED));
    EXPECT_EQ(grid->Color(), clWindow);
    grid->Free();
}

TEST_F(GridAdapterTest, SkinnedBarsFollowTheGridAndMoveIt) {
    UseSkin(2);
    TStringGrid* grid = NewGrid("Grid", 40, 12);
    TStringGrid* plain = NewGrid("Plain", 40, 12);
    plain->SetTop(170);
    plain->SetScrollBars(ssNone);
    TsGridAdapter* adapter = NewAdapter();
    TsGridItem* item = ItemOf(adapter, grid);
    ASSERT_NE(item, nullptr);
    ASSERT_NE(item->VertBar(), nullptr);
    TsScrollBar* vert = item->VertBar();
    EXPECT_TRUE(vert->Visible());
    EXPECT_EQ(vert->Parent(), Form);
    EXPECT_EQ(vert->Min(), grid->FixedRows());
    EXPECT_EQ(vert->Max(), grid->RowCount() - grid->VisibleRowCount());
    EXPECT_EQ(vert->Left() + vert->Width(), grid->Left() + grid->Width() - 2);   // inside the border
    ASSERT_NE(item->HorzBar(), nullptr);
    EXPECT_TRUE(item->HorzBar()->Visible());
    EXPECT_EQ(ItemOf(adapter, plain)->VertBar(), nullptr);   // ScrollBars none: no bars

    // Keys move the grid; the bar follows.
    grid->SetFocus();
    for (int i = 0; i < 3; ++i) Display->Press(user::VK_NEXT);
    Pump();
    EXPECT_GT(grid->TopRow(), 1);
    EXPECT_EQ(vert->Position(), grid->TopRow());
    // The bar moves the grid without coming back to itself.
    vert->SetPosition(5);
    Pump();
    EXPECT_EQ(grid->TopRow(), 5);
    EXPECT_EQ(vert->Position(), 5);
    item->HorzBar()->SetPosition(3);
    EXPECT_EQ(grid->LeftCol(), 3);

    // The skin removed: the bars are freed and the standard colours come back.
    UseSkin(-1);
    EXPECT_EQ(item->VertBar(), nullptr);
    EXPECT_EQ(grid->Color(), clWindow);
}

TEST_F(GridAdapterTest, AGridFreedBeforeItsAdapterIsForgotten) {
    UseSkin(3);
    TStringGrid* grid = NewGrid("Grid");
    TsGridAdapter* adapter = NewAdapter();
    TsGridItem* item = ItemOf(adapter, grid);
    ASSERT_NE(item, nullptr);
    grid->Free();
    EXPECT_EQ(item->Grid(), nullptr);
    EXPECT_EQ(item->VertBar(), nullptr);
    UseSkin(0);   // a broadcast reaches no freed grid
    adapter->Free();   // nothing to restore
}

TEST_F(GridAdapterTest, AFormFreeingItsGridsBeforeItsAdapterLeavesNothingBehind) {
    UseSkin(3);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu}, 320, 200);
    auto* grid = new TStringGrid(form);   // owned by the form, a child of a panel-less form
    grid->SetParent(form);
    grid->SetBounds(5, 5, 200, 100);
    grid->SetRowCount(40);
    auto* adapter = Create<TsGridAdapter>(form);
    adapter->AddAllItems();
    ASSERT_TRUE(QuerySkinCommand(grid, SMC_ISSKINNED));
    form->Free();   // its child controls go first, then the adapter with its items
}

// ---- Pictures -------------------------------------------------------------------------------------------

class GridAdapterPicture : public GridAdapterTest, public ::testing::WithParamInterface<int> { };

TEST_P(GridAdapterPicture, ASkinnedGrid) {
    UseSkin(GetParam());
    Form->SetBounds(20, 20, 340, 220);
    TStringGrid* grid = NewGrid("Grid", 30, 8);
    grid->SetFixedCols(1);
    TsGridAdapter* adapter = NewAdapter();
    Pump();
    ASSERT_EQ(ItemOf(adapter, grid)->VertBar() != nullptr, GetParam() >= 0);   // bars only over a skinned grid
    const TPoint at = Form->ClientToScreen(TPoint {0, 0});
    const gdi::RECT r {at.x, at.y, at.x + 320, at.y + 170};
    ASSERT_TRUE(Display->WriteScreenshotPng(
        WindowsPictureDir() + "/GridAdapter_" + ctltest::SkinShortName(GetParam()) + ".png", &r));
    // The cells carry their numbers; a skinned grid's vertical bar covers its right edge, its thumb at the top.
    const TRect cell = grid->CellRect(2, 1);
    const gdi::RECT cellOnScreen = ScreenRectOf(grid, cell);
    const gdi::COLORREF paper = Display->ScreenPixel(cellOnScreen.right - 3, cellOnScreen.bottom - 3);
    EXPECT_GE(InkPixels(cellOnScreen, paper), 5) << "no \"2\"";
    if (TsScrollBar* bar = ItemOf(adapter, grid)->VertBar()) {
        const gdi::RECT onScreen = ScreenRectOf(bar, bar->ClientRect());
        const TPoint gridRight = Form->ClientToScreen(TPoint {grid->Left() + grid->Width(), grid->Top()});
        EXPECT_NEAR(onScreen.right, gridRight.x, 3);
        const TRect thumb = bar->PartRect(TsScrollPart::Thumb);
        const TRect arrow = bar->PartRect(TsScrollPart::Arrow1);
        EXPECT_EQ(thumb.top, arrow.bottom);   // position 0
        EXPECT_GE(InkPixels(ScreenRectOf(bar, thumb), paper), thumb.Width() * thumb.Height() / 4) << "no thumb";
    }
}

INSTANTIATE_TEST_SUITE_P(FourSkinsAndNone, GridAdapterPicture, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return ctltest::SkinShortName(info.param); });

}
}
