// A sheet of tree and list views (expanded tree, report list with a hot header section and a selection, small
// icons) in each of our four skins and without a skin, written as PNG pictures.
#include "support/ControlsHost.h"
#include "support/ControlsKit.h"

#include "platform/classes/TImageList.h"
#include "platform/classes/TStringList.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/Window.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/Header.h"
#include "skin/controls/sListView.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sTreeView.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sScrollBar.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class ItemViewsSheet : public ControlsTest, public ::testing::WithParamInterface<int> { };

TEST_P(ItemViewsSheet, TreeAndListViews) {
    const int which = GetParam();
    UseSkin(which);
    Form->SetClientWidth(480);
    Form->SetClientHeight(220);
    auto* back = Create<TsPanel>(Form);
    back->SetBounds(0, 0, 480, 220);
    back->SetCaption("");
    back->SetParent(Form);
    auto* images = Create<TImageList>(Form);
    for (TColor c : {TColor(0x20A0E0), TColor(0xE06020), TColor(0x20A020)}) AddDiscImage(images, c);

    auto* tree = Create<TsTreeView>(Form);
    tree->SetBounds(8, 8, 170, 204);
    tree->SetImages(images);
    tree->SetParent(back);
    for (const char* name : {"Home", "Computer", "Работа & дом", "Music", "Pictures", "Video"}) {
        TTreeNode* node = tree->Items()->Add(nullptr, name);
        node->SetImageIndex(0);
        node->SetSelectedIndex(0);
        for (int i = 0; i < 3; ++i) {
            TTreeNode* child = tree->Items()->AddChild(node, std::string("Folder ") + char('A' + i));
            child->SetImageIndex(0);
            child->SetSelectedIndex(2);
        }
    }
    tree->Items()->GetFirstNode()->SetExpanded(true);
    tree->Items()->GetFirstNode()->GetNextSibling()->SetExpanded(true);
    tree->SetSelected(tree->Items()->GetFirstNode()->getFirstChild());

    auto* list = Create<TsListView>(Form);
    list->SetBounds(186, 8, 286, 204);
    list->SetViewStyle(vsReport);
    list->SetSmallImages(images);
    list->SetRowSelect(true);
    list->SetHideSelection(false);
    for (auto [caption, width] : {std::pair {"Name", 120}, {"Size", 70}, {"Type", 90}, {"Modified", 110}}) {
        TListColumn* column = list->Columns()->Add();
        column->SetCaption(caption);
        column->SetWidth(width);
    }
    list->Columns()->Items(1)->SetAlignment(taRightJustify);
    list->SetParent(back);
    for (int i = 0; i < 24; ++i) {
        TListItem* item = list->Items()->Add();
        item->SetCaption(i == 2 ? "Отчёт & notes.txt" : "file " + std::to_string(i) + ".dat");
        item->SetImageIndex(i < 3 ? 0 : 1 + i % 2);
        item->SubItems()->Add(std::to_string(i * 17 + 3) + " KB");
        item->SubItems()->Add(i < 3 ? "Folder" : "Data file");
        item->SubItems()->Add("07.12.2026");
    }
    list->Items()->Item(4)->SetSelected(true);
    Pump();
    ParentsUpdated(Form);
    Pump();
    // The header's second section hot under the mouse.
    user::RECT section;
    user::SendMessage(list->HeaderHandle(), user::HDM_GETITEMRECT, 1, LPARAM(&section));
    user::POINT p {section.left + 20, section.bottom / 2};
    user::MapWindowPoints(list->HeaderHandle(), list->Handle(), &p, 1);
    MoveTo(list, p.x, p.y);
    Pump();

    const TPoint origin = Form->ClientToScreen(TPoint {0, 0});
    const gdi::RECT r {origin.x, origin.y, origin.x + 480, origin.y + 220};
    user::FlushDisplay();
    ASSERT_TRUE(Display->WriteScreenshotPng(PictureDir() + "/ItemViews_" + SkinShortName(which) + ".png", &r));
    EXPECT_EQ(PaintsSkinned(tree->SkinData()), which >= 0);
    EXPECT_EQ(PaintsSkinned(list->SkinData()), which >= 0);
    if (which >= 0) {
        EXPECT_NE(tree->VertBar(), nullptr);
        EXPECT_NE(list->VertBar(), nullptr);
        EXPECT_EQ(list->HotSection(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(FourSkinsAndNone, ItemViewsSheet, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return SkinShortName(info.param); });

}
