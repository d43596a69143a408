// Skinned windows read right to left: a scrolling form's vertical bar on the left with the grip below it, the
// MDI client's bars over its own on the left, and the message dialog's text and icon mirrored.
#include "support/WindowsKit.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TImage.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/engine/sScrollBar.h"
#include "skin/windows/sMDIForm.h"
#include "skin/windows/sMessageDlg.h"

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class RightToLeftWindows : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        Form->Hide();
        UseSkin(1);
    }
    void TearDown() override {
        Application->SetBiDiMode(bdLeftToRight);
        FormsTest::TearDown();
    }
};

TEST_F(RightToLeftWindows, AScrollingFormsVerticalBarIsOnTheLeftWithTheGripBelowIt) {
    TForm* form = Create<TForm>(Application);
    form->SetBiDiMode(bdRightToLeft);
    form->SetAutoScroll(true);
    Create<TsSkinProvider>(form);
    form->SetBounds(30, 30, 320, 240);
    form->SetClientWidth(300);
    form->SetClientHeight(200);
    auto* content = Create<TsPanel>(form);
    content->SetParent(form);
    content->SetBounds(10, 10, 488, 408);
    form->Show();
    Pump();
    TsSkinProvider* p = ProviderOf(form);
    ASSERT_NE(p->VertBar(), nullptr);
    ASSERT_NE(p->HorzBar(), nullptr);
    ASSERT_NE(p->Grip(), nullptr);
    const int cx = user::GetSystemMetrics(user::SM_CXVSCROLL);
    const int cy = user::GetSystemMetrics(user::SM_CYHSCROLL);
    EXPECT_EQ(p->VertBar()->BoundsRect(), (TRect {1, 1, cx + 1, 200 - 1 - cy}));
    EXPECT_EQ(p->HorzBar()->BoundsRect(), (TRect {cx, 200 - cy, 300, 200}));
    EXPECT_EQ(p->Grip()->Left(), 1);
    EXPECT_EQ(p->Grip()->Top(), 200 - cy);
    form->Free();
}

TEST_F(RightToLeftWindows, TheMdiClientsBarsLieOnTheLeftOverItsOwn) {
    Application->SetBiDiMode(bdRightToLeft);
    TForm* frame = ShownMdiFrame(520, 380);
    EXPECT_NE(user::DWORD(user::GetWindowLong(frame->ClientHandle(), user::GWL_EXSTYLE)) & user::WS_EX_LEFTSCROLLBAR,
        0u);
    TForm* child = Create<TForm>(Application);
    child->SetFormStyle(fsMDIChild);
    Create<TsSkinProvider>(child);
    child->HandleNeeded();
    user::RECT client {};
    user::GetClientRect(frame->ClientHandle(), &client);
    child->SetBounds(client.right - 60, client.bottom - 50, 220, 150);
    Pump();
    TsMDIForm* mdi = ProviderOf(frame)->MDIForm();
    ASSERT_NE(mdi, nullptr);
    ASSERT_NE(mdi->VertBar(), nullptr);
    ASSERT_NE(mdi->HorzBar(), nullptr);
    user::RECT window {};
    user::GetWindowRect(frame->ClientHandle(), &window);
    user::POINT corner {window.left, window.top};
    user::ScreenToClient(frame->WindowHandle(), &corner);
    const int cx = user::GetSystemMetrics(user::SM_CXVSCROLL);
    const int edge = mdi->VertBar()->Left() - corner.x;
    EXPECT_GE(edge, 0);
    EXPECT_LE(edge, 2);
    EXPECT_EQ(mdi->HorzBar()->Left(), mdi->VertBar()->Left() + cx);
    ASSERT_NE(mdi->Grip(), nullptr);
    EXPECT_EQ(mdi->Grip()->Left(), mdi->VertBar()->Left());
    child->Free();
    frame->Free();
    Pump();
}

TEST_F(RightToLeftWindows, TheMessageDialogTakesTheApplicationsModeAndMirrorsTextAndIcon) {
    Application->SetBiDiMode(bdRightToLeft);
    std::unique_ptr<TsMessageForm, void (*)(TsMessageForm*)> dialog(
        sCreateMessageDialog("", "Node 3 stopped.", mtWarning, {mbOK}), [](TsMessageForm* f) { f->Free(); });
    EXPECT_EQ(dialog->BiDiMode(), bdRightToLeft);
    auto* label = dynamic_cast<TsLabel*>(dialog->FindComponent("Message"));
    auto* image = dynamic_cast<TImage*>(dialog->FindComponent("Image"));
    ASSERT_NE(label, nullptr);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(label->BiDiMode(), bdRightToLeft);
    // The text starts at the left margin, the icon ends at the right one: mirrored, and apart.
    const int horzMargin = label->Left();
    EXPECT_EQ(dialog->ClientWidth() - image->Left() - image->Width(), horzMargin);
    EXPECT_LE(label->Left() + label->Width(), image->Left());

    Application->SetBiDiMode(bdLeftToRight);
    std::unique_ptr<TsMessageForm, void (*)(TsMessageForm*)> ltr(
        sCreateMessageDialog("", "Node 3 stopped.", mtWarning, {mbOK}), [](TsMessageForm* f) { f->Free(); });
    auto* ltrLabel = dynamic_cast<TsLabel*>(ltr->FindComponent("Message"));
    auto* ltrImage = dynamic_cast<TImage*>(ltr->FindComponent("Image"));
    EXPECT_EQ(ltrImage->Left(), horzMargin);
    EXPECT_EQ(ltrLabel->Left() + ltrLabel->Width(), ltr->ClientWidth() - horzMargin);
}

}
}
