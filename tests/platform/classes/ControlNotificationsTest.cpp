// Notifications subclasses listen for: CM_INVALIDATE on every repaint request, CM_CHANGED on a user's edit.
#include "support/ControlsTestKit.h"

#include "platform/classes/TEdit.h"
#include "platform/user/Painting.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class ControlNotificationsTest : public ControlsTest { };

TEST_F(ControlNotificationsTest, InvalidateGoesThroughCmInvalidateAndAnEditChangeSendsCmChanged) {
    TForm* form = NewForm();
    auto* edit = Create<TEdit>(form);
    edit->SetParent(form);
    Pump();
    int invalidates = 0;
    std::vector<LPARAM> changes;
    TWndMethod inherited = edit->WindowProc;
    edit->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_INVALIDATE) ++invalidates;
        if (m.Msg == CM_CHANGED) changes.push_back(m.LParam);
        inherited(m);
    };
    edit->Invalidate();
    EXPECT_EQ(invalidates, 1);
    EXPECT_TRUE(user::GetUpdateRect(edit->Handle(), nullptr, false));
    edit->SetText("typed");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], reinterpret_cast<LPARAM>(edit));
    edit->WindowProc = inherited;
}

}
