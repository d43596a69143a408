// The application: the loop and its exception handling, hooks on the application window, minimizing, forms.
#include "support/ControlsTestKit.h"

#include "platform/user/MessageBox.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <stdexcept>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class ApplicationTest : public ControlsTest { };

constexpr UINT ThrowMessage = user::WM_USER + 70;
constexpr UINT CountMessage = user::WM_USER + 71;

}

TEST_F(ApplicationTest, AnExceptionInAnEventHandlerReachesOnExceptionAndTheLoopGoesOn) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    int counted = 0;
    main->WindowProc = [main, old = main->WindowProc, &counted](TMessage& m) {
        if (m.Msg == ThrowMessage) throw std::runtime_error("node 3 failed");
        if (m.Msg == CountMessage) ++counted;
        old(m);
    };
    user::PostMessage(main->Handle(), ThrowMessage, 0, 0);
    user::PostMessage(main->Handle(), CountMessage, 0, 0);
    user::PostMessage(main->Handle(), ThrowMessage, 0, 0);
    user::PostMessage(main->Handle(), CountMessage, 0, 0);
    user::PostMessage(main->Handle(), user::WM_CLOSE, 0, 0);
    Application->Run();
    EXPECT_EQ(Exceptions, std::vector<std::string>({"node 3 failed", "node 3 failed"}));
    EXPECT_EQ(counted, 2);
    EXPECT_TRUE(main->Visible());   // Run showed it
}

TEST_F(ApplicationTest, WithoutOnExceptionTheMessageIsShownAndTheLoopGoesOn) {
    Application->OnException = nullptr;
    TForm* main = nullptr;
    Application->CreateForm(main);
    Application->SetTitle("Farm monitor");
    // The box tells its owner when it waits for input: note what it is and close it (answering OK).
    std::vector<std::string> boxes;
    user::HWND lastBox = nullptr;
    auto answer = [&](TMessage& m) {
        if (m.Msg != user::WM_ENTERIDLE || m.WParam != user::MSGF_DIALOGBOX) return false;
        auto box = reinterpret_cast<user::HWND>(m.LParam);
        if (box != lastBox) {
            lastBox = box;
            boxes.push_back(user::GetWindowText(box) + (user::GetDlgItem(box, user::IDOK) ? " [OK]" : "")
                + (user::GetDlgItem(box, user::IDCANCEL) ? " [Cancel]" : ""));
            user::PostMessage(box, user::WM_CLOSE, 0, 0);
            user::PostMessage(main->Handle(), user::WM_CLOSE, 0, 0);   // then the loop goes on to its end
        }
        return true;
    };
    const int hook = Application->HookMainWindow(answer);
    main->WindowProc = [old = main->WindowProc, answer](TMessage& m) {
        if (m.Msg == ThrowMessage) throw std::runtime_error("node 3 failed");
        if (!answer(m)) old(m);
    };
    user::PostMessage(main->Handle(), ThrowMessage, 0, 0);
    testing::internal::CaptureStderr();
    Application->Run();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    Application->UnhookMainWindow(hook);
    EXPECT_EQ(boxes, (std::vector<std::string> {"Farm monitor [OK]"}));
    EXPECT_TRUE(Application->Terminated());
}

namespace {
class TRefForm;
TRefForm* gRefForm = nullptr;
class TRefForm : public TForm {
public:
    explicit TRefForm(TComponent* owner)
        : TForm(owner) {
        OnCreate = [this](TObject*) { SeenInOnCreate = gRefForm; };
    }
    TRefForm* SeenInOnCreate = nullptr;
};
}

TEST_F(ApplicationTest, TheFirstFormMadeIsTheMainFormAndItsReferenceIsSetBeforeOnCreate) {
    Application->CreateForm(gRefForm);
    TForm* second = nullptr;
    Application->CreateForm(second);
    EXPECT_EQ(gRefForm->SeenInOnCreate, gRefForm);
    EXPECT_EQ(Application->MainForm(), gRefForm);
    EXPECT_EQ(Screen->FormCount(), 2);
    gRefForm = nullptr;
}

// The main form takes the task-bar button the application window cannot have; an application window made a
// tool window takes it away from the program.
TEST_F(ApplicationTest, TheMainFormHasTheTaskBarButtonUnlessTheApplicationWindowIsAToolWindow) {
    for (const bool tool : {false, true}) {
        const user::HWND owner = Application->Handle();
        const user::LONG_PTR style = user::GetWindowLongPtr(owner, user::GWL_EXSTYLE);
        user::SetWindowLongPtr(
            owner, user::GWL_EXSTYLE, tool ? style | user::WS_EX_TOOLWINDOW : style & ~user::WS_EX_TOOLWINDOW);
        TForm* main = nullptr;
        Application->CreateForm(main);
        main->Show();
        Pump();
        ASSERT_EQ(Display->StackingOrder().empty(), false);
        const auto* surface = Display->Surface(Display->StackingOrder().back());
        ASSERT_NE(surface, nullptr);
        EXPECT_EQ(surface->Options.SkipTaskbar, tool);
        main->Free();
        Pump();
    }
}

TEST_F(ApplicationTest, HooksSeeTheApplicationWindowsMessagesFirstAndMayTakeThem) {
    std::vector<UINT> seen;
    int id = Application->HookMainWindow([&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == user::WM_USER + 1) {
            m.Result = 5;
            return true;
        }
        return false;
    });
    EXPECT_EQ(user::SendMessage(Application->Handle(), user::WM_USER + 1, 0, 0), 5);
    user::SendMessage(Application->Handle(), user::WM_USER + 2, 0, 0);
    Application->UnhookMainWindow(id);
    user::SendMessage(Application->Handle(), user::WM_USER + 3, 0, 0);
    EXPECT_EQ(seen, std::vector<UINT>({user::WM_USER + 1, user::WM_USER + 2}));
}

TEST_F(ApplicationTest, MinimizingTheMainFormMinimizesTheApplicationAndHidesItsForms) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->Show();
    TForm* other = NewForm();
    Pump();
    std::vector<user::WPARAM> sizes;
    Application->HookMainWindow([&](TMessage& m) {
        if (m.Msg == user::WM_SIZE) sizes.push_back(m.WParam);
        return false;
    });
    int parentClosing = 0;
    main->WindowProc = [&, old = main->WindowProc](TMessage& m) {
        if (m.Msg == user::WM_SHOWWINDOW && m.WParam == 0 && m.LParam == user::SW_PARENTCLOSING) ++parentClosing;
        old(m);
    };
    user::SendMessage(main->Handle(), user::WM_SYSCOMMAND, user::SC_MINIMIZE, 0);
    Pump();
    EXPECT_TRUE(user::IsIconic(Application->Handle()));
    EXPECT_EQ(parentClosing, 1);
    EXPECT_FALSE(user::IsWindowVisible(main->Handle()));
    EXPECT_FALSE(user::IsWindowVisible(other->Handle()));
    EXPECT_TRUE(main->Visible());   // only its window is hidden
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back(), user::SIZE_MINIMIZED);
    Application->Restore();
    Pump();
    EXPECT_FALSE(user::IsIconic(Application->Handle()));
    EXPECT_TRUE(user::IsWindowVisible(main->Handle()));
    EXPECT_TRUE(user::IsWindowVisible(other->Handle()));
}

TEST_F(ApplicationTest, OnMessageSeesPostedMessagesAndCanStopThem) {
    TForm* form = NewForm();
    int reached = 0;
    form->WindowProc = [&, old = form->WindowProc](TMessage& m) {
        if (m.Msg == CountMessage) ++reached;
        old(m);
    };
    int filtered = 0;
    Application->OnMessage = [&](user::MSG& msg, bool& handled) {
        if (msg.message != CountMessage) return;
        ++filtered;
        handled = msg.wParam == 1;
    };
    user::PostMessage(form->Handle(), CountMessage, 1, 0);
    user::PostMessage(form->Handle(), CountMessage, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(filtered, 2);
    EXPECT_EQ(reached, 1);
}

TEST_F(ApplicationTest, TerminateEndsRunAndIsRemembered) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    EXPECT_FALSE(Application->Terminated());
    Application->Terminate();
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(ApplicationTest, TheScreenKnowsTheFormsTheActiveOneAndItsSize) {
    TForm* a = NewForm(10, 10);
    TForm* b = NewForm(50, 50);
    Pump();
    EXPECT_EQ(Screen->FormCount(), 2);
    EXPECT_EQ(Screen->ActiveForm(), b);
    a->SetFocus();
    Pump();
    EXPECT_EQ(Screen->ActiveForm(), a);
    EXPECT_EQ(Screen->Forms(0), a);
    EXPECT_EQ(Screen->Width(), user::HeadlessDisplay::DefaultWidth);
    EXPECT_EQ(Screen->Height(), user::HeadlessDisplay::DefaultHeight);
    EXPECT_EQ(Screen->WorkAreaRect().bottom,
        user::HeadlessDisplay::DefaultHeight - user::HeadlessDisplay::DefaultPanelHeight);
    EXPECT_NE(Screen->Cursors(crHandPoint), Screen->Cursors(crDefault));
    b->Free();
    EXPECT_EQ(Screen->FormCount(), 1);
}
