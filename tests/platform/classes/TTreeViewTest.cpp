// TTreeView: nodes mirrored in the native tree, expansion and selection events with refusal, label editing
// through OnEdited, deletion events, nodes kept across window re-creation.
#include "support/ControlsTestKit.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TTreeView.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/Focus.h"
#include "platform/user/controls/TreeView.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class TreeViewTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 300, 250);
        Tree = Create<TTreeView>(Form);
        Tree->SetParent(Form);
        Tree->SetBounds(10, 10, 200, 200);
        Root = Tree->Items()->Add(nullptr, "Computer");
        Home = Tree->Items()->AddChild(Root, "home");
        Tree->Items()->AddChild(Home, "user");
        Tree->Items()->AddChild(Root, "mnt");
        Other = Tree->Items()->Add(Root, "Network");
        Pump();
    }

    void Press(unsigned vk) {
        Display->Press(vk);
        Pump();
    }

    TForm* Form = nullptr;
    TTreeView* Tree = nullptr;
    TTreeNode* Root = nullptr;
    TTreeNode* Home = nullptr;
    TTreeNode* Other = nullptr;
    std::vector<std::string> Events;
};

TEST_F(TreeViewTest, NodesAnswerFromTheClassAndTheNativeTreeHoldsThem) {
    EXPECT_EQ(Tree->Items()->Count(), 5);
    EXPECT_EQ(Tree->Items()->Item(2)->Text(), "user");
    EXPECT_EQ(Home->Level(), 1);
    EXPECT_EQ(Home->Parent(), Root);
    EXPECT_EQ(Home->GetNextSibling()->Text(), "mnt");
    EXPECT_EQ(Other->AbsoluteIndex(), 4);
    EXPECT_TRUE(Home->HasChildren());
    EXPECT_EQ(user::SendMessage(Tree->Handle(), user::TVM_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(Tree->Items()->GetNode(Home->ItemId()), Home);
    TTreeNode* first = Tree->Items()->AddChildFirst(Root, "etc");
    EXPECT_EQ(Root->getFirstChild(), first);
    EXPECT_EQ(user::SendMessage(Tree->Handle(), user::TVM_GETNEXTITEM, user::TVGN_CHILD,
                  reinterpret_cast<user::LPARAM>(Root->ItemId())),
        reinterpret_cast<user::LRESULT>(first->ItemId()));
}

TEST_F(TreeViewTest, ExpandingAsksOnExpandingWhichMayRefuse) {
    Tree->OnExpanding = [&](TObject*, TTreeNode* node, bool& allow) {
        Events.push_back("expanding " + node->Text());
        allow = node != Home;
    };
    Tree->OnExpanded = [&](TObject*, TTreeNode* node) { Events.push_back("expanded " + node->Text()); };
    Root->Expand(false);
    Home->Expand(false);
    EXPECT_TRUE(Root->Expanded());
    EXPECT_FALSE(Home->Expanded());
    EXPECT_EQ(Events, (std::vector<std::string> {"expanding Computer", "expanded Computer", "expanding home"}));
}

TEST_F(TreeViewTest, SelectionByKeysAsksOnChangingAndReportsOnChange) {
    Tree->OnChanging = [&](TObject*, TTreeNode* node, bool& allow) { allow = node != Other; };
    Tree->OnChange = [&](TObject*, TTreeNode* node) { Events.push_back(node ? node->Text() : "none"); };
    Tree->SetFocus();
    Pump();
    Press(user::VK_HOME);
    EXPECT_EQ(Tree->Selected(), Root);
    Press(user::VK_END);   // Network: refused
    EXPECT_EQ(Tree->Selected(), Root);
    Press(user::VK_RIGHT);
    Press(user::VK_DOWN);
    EXPECT_EQ(Tree->Selected(), Home);
    EXPECT_EQ(Events, (std::vector<std::string> {"Computer", "home"}));
}

TEST_F(TreeViewTest, OnEditedMayChangeTheTextTheNodeTakes) {
    Tree->OnEdited = [&](TObject*, TTreeNode*, std::string& text) { text = "[" + text + "]"; };
    Root->Expand(false);
    Home->SetSelected(true);
    ASSERT_TRUE(Home->EditText());
    EXPECT_TRUE(Tree->IsEditing());
    user::HWND edit = reinterpret_cast<user::HWND>(user::SendMessage(Tree->Handle(), user::TVM_GETEDITCONTROL, 0, 0));
    user::SetWindowText(edit, "house");
    Home->EndEdit(false);
    EXPECT_EQ(Home->Text(), "[house]");
    Tree->SetReadOnly(true);
    EXPECT_FALSE(Home->EditText());
}

TEST_F(TreeViewTest, DeletingANodeReportsItAndItsChildrenAndFreesThem) {
    Tree->OnDeletion = [&](TObject*, TTreeNode* node) { Events.push_back(node->Text()); };
    Home->Delete();
    EXPECT_EQ(Events, (std::vector<std::string> {"user", "home"}));
    EXPECT_EQ(Tree->Items()->Count(), 3);
    EXPECT_EQ(Root->Count(), 1);
    Tree->Items()->Clear();
    EXPECT_EQ(Tree->Items()->Count(), 0);
    EXPECT_EQ(user::SendMessage(Tree->Handle(), user::TVM_GETCOUNT, 0, 0), 0);
}

TEST_F(TreeViewTest, NodesAndTheirExpansionSurviveANewWindow) {
    Root->Expand(false);
    user::HWND old = Tree->Handle();
    Tree->SetBorderStyle(bsNone);   // made again
    Pump();
    EXPECT_NE(Tree->Handle(), old);
    EXPECT_EQ(user::SendMessage(Tree->Handle(), user::TVM_GETCOUNT, 0, 0), 5);
    EXPECT_TRUE(Root->Expanded());
    EXPECT_FALSE(Home->Expanded());
    EXPECT_EQ(Tree->Items()->GetNode(Home->ItemId()), Home);
}

TEST_F(TreeViewTest, SortingOrdersClassAndNativeNodesAlike) {
    Tree->Items()->AddChild(Root, "bin");
    Root->AlphaSort();
    EXPECT_EQ(Root->getFirstChild()->Text(), "bin");
    EXPECT_EQ(Root->GetLastChild()->Text(), "mnt");
    EXPECT_EQ(user::SendMessage(Tree->Handle(), user::TVM_GETNEXTITEM, user::TVGN_CHILD,
                  reinterpret_cast<user::LPARAM>(Root->ItemId())),
        reinterpret_cast<user::LRESULT>(Root->getFirstChild()->ItemId()));
}

TEST_F(TreeViewTest, ImagesComeFromOnGetImageIndexAtPaintTime) {
    auto* images = Create<TImageList>(Form);
    images->SetSize(16, 16);
    TBitmap bitmap;
    bitmap.SetSize(32, 16);
    images->Add(&bitmap, nullptr);
    Tree->SetImages(images);
    std::vector<std::string> asked;
    Tree->OnGetImageIndex = [&](TObject*, TTreeNode* node) {
        asked.push_back(node->Text());
        node->SetImageIndex(1);
    };
    Root->Expand(false);
    Pump();
    EXPECT_NE(std::find(asked.begin(), asked.end(), "home"), asked.end());
    EXPECT_EQ(Home->ImageIndex(), 1);
    // Freeing the list takes it from the tree.
    delete images;
    Pump();
    EXPECT_EQ(Tree->Images(), nullptr);
}

TEST_F(TreeViewTest, GetNodeAtAndHitTestsNameWhatIsUnderAPoint) {
    Root->Expand(false);
    const TRect label = Home->DisplayRect(true);
    EXPECT_EQ(Tree->GetNodeAt(label.left + 2, label.top + 2), Home);
    EXPECT_TRUE(Tree->GetHitTestInfoAt(label.left + 2, label.top + 2).Contains(htOnLabel));
    EXPECT_TRUE(Tree->GetHitTestInfoAt(label.left + 2, 195).Contains(htNowhere));
    EXPECT_EQ(Tree->GetNodeAt(label.left + 2, 195), nullptr);
}

}
