// The file list's Alt+Enter runs the "properties" verb: a skinned box with the item's name, type, place, size,
// time and attributes.
#include "support/ShellTree.h"
#include "support/WindowsKit.h"

#include "platform/classes/TListView.h"
#include "platform/user/VirtualKeys.h"
#include "skin/controls/sLabel.h"
#include "skin/windows/shell/acShellListView.h"

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;
using korvex::skin::shelltest::ShellTree;

class ShellPropertiesTest : public FormsTest { };

TEST_F(ShellPropertiesTest, AltEnterInTheListShowsTheSelectedItemsProperties) {
    ShellTree files;
    UseSkin(1);
    auto* list = Create<TsShellListView>(Form);
    list->SetBounds(10, 10, 300, 200);
    list->SetViewStyle(vsList);
    list->SetRoot(files.Root());
    list->SetParent(Form);
    Pump();
    int index = -1;
    for (int i = 0; i < list->Items()->Count(); ++i)
        if (list->Items()->Item(i)->Caption() == "file one.txt") index = i;
    ASSERT_GE(index, 0);
    list->Items()->Item(index)->SetSelected(true);
    list->Items()->Item(index)->SetFocused(true);
    std::string caption;
    std::string text;
    RunModal(
        [&] {
            user::WORD key = user::VK_RETURN;
            list->Perform(user::WM_SYSKEYDOWN, key, 1 << 29);   // Alt held
            return 1;
        },
        {[&](TForm* box) {
            caption = box->Caption();
            if (auto* label = dynamic_cast<TControl*>(box->FindComponent("Message"))) text = label->Caption();
            box->SetModalResult(mrOk);
        }});
    EXPECT_EQ(caption, "file one.txt Properties");
    EXPECT_NE(text.find("Name: file one.txt"), std::string::npos) << text;
    EXPECT_NE(text.find("Type: TXT File"), std::string::npos) << text;
    EXPECT_NE(text.find("Location: " + files.Root()), std::string::npos) << text;
    EXPECT_NE(text.find("Size: 5 bytes"), std::string::npos) << text;
}

}
}
