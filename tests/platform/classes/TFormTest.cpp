// Forms: reading from component text, creation and destruction order, showing, closing, modal showing.
#include "support/ControlsTestKit.h"

#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/user/Focus.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

constexpr const char* MonitorText = R"(object MonitorForm: TMonitorForm
  Left = 120
  Top = 80
  Caption = 'Мониторинг'
  ClientWidth = 320
  ClientHeight = 200
  Color = clWhite
  OnCreate = FormCreate
  OnShow = FormShow
  object Header: TBoxPanel
    Align = alTop
    Height = 40
    Color = clNavy
    Caption = 'Header'
    object Title: TTextLabel
      Left = 8
      Top = 10
      Width = 100
      Height = 20
      Color = clYellow
      OnClick = TitleClick
    end
  end
  object Body: TBoxPanel
    Align = alClient
    Color = clSilver
    object Inner: TBoxPanel
      Left = 10
      Top = 10
      Width = 60
      Height = 30
      ParentColor = True
    end
  end
  object Timer1: TTimer
    Enabled = False
    Interval = 250
    OnTimer = Timer1Timer
  end
end
)";

// A form class of the program's kind: fields and handlers bound by the component text.
class TMonitorForm : public TForm {
public:
    explicit TMonitorForm(TComponent* owner)
        : TForm(owner) {
        TMethodTable methods;
        methods.Add("FormCreate", this, &TMonitorForm::FormCreate)
            .Add("FormShow", this, &TMonitorForm::FormShow)
            .Add("TitleClick", this, &TMonitorForm::TitleClick)
            .Add("Timer1Timer", this, &TMonitorForm::Timer1Timer)
            .Field("Header", Header)
            .Field("Title", Title)
            .Field("Body", Body)
            .Field("Inner", Inner)
            .Field("Timer1", Timer1);
        ReadForm(MonitorText, methods);
    }
    static TClass StaticClass() {
        static const TClassInfo info = MakeClass<TMonitorForm, TForm>("TMonitorForm");
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }

    void FormCreate(TObject*) {
        Events.push_back("create");
        LoadedBeforeCreate = Header != nullptr && Header->LoadedCount == 1 && Inner->LoadedCount == 1;
    }
    void FormShow(TObject*) { Events.push_back("show"); }
    void TitleClick(TObject*) { Events.push_back("click"); }
    void Timer1Timer(TObject*) { Events.push_back("tick"); }

    TBoxPanel* Header = nullptr;
    TTextLabel* Title = nullptr;
    TBoxPanel* Body = nullptr;
    TBoxPanel* Inner = nullptr;
    TTimer* Timer1 = nullptr;
    std::vector<std::string> Events;
    bool LoadedBeforeCreate = false;
};

class FormTest : public ControlsTest {
protected:
    TMonitorForm* NewMonitor() {
        TMonitorForm* form = nullptr;
        Application->CreateForm(form);
        return form;
    }
};

}

TEST_F(FormTest, ReadsTheTreeFromTextWithEveryComponentLoadedOnceBeforeOnCreate) {
    TMonitorForm* form = NewMonitor();
    ASSERT_NE(form->Header, nullptr);
    ASSERT_NE(form->Title, nullptr);
    ASSERT_NE(form->Timer1, nullptr);
    EXPECT_EQ(form->Title->Parent(), form->Header);
    EXPECT_EQ(form->Inner->Parent(), form->Body);
    EXPECT_EQ(form->Header->Owner(), form);
    EXPECT_EQ(form->Title->Owner(), form);
    EXPECT_EQ(form->Header->LoadedCount, 1);
    EXPECT_EQ(form->Title->LoadedCount, 1);
    EXPECT_EQ(form->Inner->LoadedCount, 1);
    EXPECT_EQ(form->Header->CaptionAtLoaded, "Header");   // every property was set before Loaded
    EXPECT_TRUE(form->LoadedBeforeCreate);
    EXPECT_EQ(form->Events, std::vector<std::string>({"create"}));
    EXPECT_EQ(form->Caption(), "Мониторинг");
    EXPECT_EQ(form->ClientWidth(), 320);
    EXPECT_EQ(form->ClientHeight(), 200);
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(form->Timer1->Interval(), 250u);
    EXPECT_FALSE(form->Timer1->Enabled());
    EXPECT_EQ(Application->MainForm(), form);
}

TEST_F(FormTest, ChildrenTakeTheParentColourAndTheAlignedLayoutOnShowing) {
    TMonitorForm* form = NewMonitor();
    form->Show();
    Pump();
    EXPECT_EQ(form->Events, std::vector<std::string>({"create", "show"}));
    EXPECT_EQ(form->Inner->Color(), clSilver);
    EXPECT_EQ(form->Header->BoundsRect(), Rect(0, 0, 320, 40));
    EXPECT_EQ(form->Body->BoundsRect(), Rect(0, 40, 320, 200));
    // The picture: header navy, label yellow on it, body silver, inner panel silver too.
    EXPECT_EQ(PixelAt(form->Header, 2, 2), gdi::RGB(0, 0, 0x80));
    EXPECT_EQ(PixelAt(form->Header, 10, 12), gdi::RGB(0xFF, 0xFF, 0));
    EXPECT_EQ(PixelAt(form->Header, 108, 12), gdi::RGB(0, 0, 0x80));   // right of the label's bounds
    EXPECT_EQ(PixelAt(form->Body, 200, 100), gdi::RGB(0xC0, 0xC0, 0xC0));
}

TEST_F(FormTest, EventsBoundByTextFireFromInjectedInputAndTheTimer) {
    TMonitorForm* form = NewMonitor();
    form->Show();
    Pump();
    TPoint p = At(form->Title, 5, 5);
    Display->Click(p.x, p.y);
    Pump();
    form->Timer1->SetEnabled(true);
    Advance(250);
    EXPECT_EQ(form->Events, std::vector<std::string>({"create", "show", "click", "tick"}));
}

TEST_F(FormTest, AFormWithoutItsTextRaisesAndLeavesNothingBehind) {
    class TBrokenForm : public TForm {
    public:
        explicit TBrokenForm(TComponent* owner)
            : TForm(owner) {
            ReadFormResource("NoSuchForm", TMethodTable());
        }
    };
    TBrokenForm* form = nullptr;
    EXPECT_THROW(Application->CreateForm(form), EResNotFound);
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(Application->ComponentCount(), 0);
}

TEST_F(FormTest, FreeingTheFormFreesItsTreeAndClearsReferencesToIt) {
    TMonitorForm* form = NewMonitor();
    TForm* other = NewForm();
    TComponent* watched = form->Body;
    other->SetActiveControl(nullptr);
    struct TWatcher : TComponent {
        using TComponent::TComponent;
        TComponent* Target = nullptr;
        void Notification(TComponent* c, TOperation op) override {
            TComponent::Notification(c, op);
            if (op == opRemove && c == Target) Target = nullptr;
        }
    };
    auto* watcher = new TWatcher(other);
    watcher->Target = watched;
    watched->FreeNotification(watcher);
    form->Free();
    EXPECT_EQ(watcher->Target, nullptr);
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_EQ(Screen->FormCount(), 1);
}

TEST_F(FormTest, OnDestroyRunsWhileTheComponentsAreStillThere) {
    TMonitorForm* form = NewMonitor();
    bool timerThere = false;
    form->OnDestroy
        = [&](TObject*) { timerThere = form->Timer1 != nullptr && form->FindComponent("Timer1") != nullptr; };
    form->Free();
    EXPECT_TRUE(timerThere);
}

TEST_F(FormTest, ShowModalReturnsTheModalResultAPostedMessageSets) {
    TForm* main = NewForm();
    TForm* dialog = Create<TForm>(Application);
    bool mainDisabledMeanwhile = false;
    dialog->OnShow = [&](TObject*) { user::PostMessage(dialog->Handle(), user::WM_USER + 5, 0, 0); };
    dialog->WindowProc = [dialog, old = dialog->WindowProc, &mainDisabledMeanwhile, main](TMessage& m) {
        if (m.Msg == user::WM_USER + 5) {
            mainDisabledMeanwhile = !user::IsWindowEnabled(main->Handle());
            dialog->SetModalResult(mrOk);
            return;
        }
        old(m);
    };
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_TRUE(mainDisabledMeanwhile);
    EXPECT_TRUE(user::IsWindowEnabled(main->Handle()));
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(Application->ModalLevel(), 0);
}

TEST_F(FormTest, ClosingAModalFormByItsCloseBoxGivesCancel) {
    NewForm();
    TForm* dialog = Create<TForm>(Application);
    dialog->OnShow = [&](TObject*) { user::PostMessage(dialog->Handle(), user::WM_CLOSE, 0, 0); };
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
}

TEST_F(FormTest, ShowModalRefusesAVisibleForm) {
    TForm* form = NewForm();
    EXPECT_THROW(form->ShowModal(), EInvalidOperation);
}

TEST_F(FormTest, CloseQueryCanKeepTheFormOpen) {
    NewForm();
    TForm* form = NewForm();
    bool allow = false;
    form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
    form->Close();
    EXPECT_TRUE(form->Visible());
    allow = true;
    form->Close();
    EXPECT_FALSE(form->Visible());
}

TEST_F(FormTest, CaFreeReleasesTheFormAfterTheQueueIsHandled) {
    NewForm();
    TForm* form = NewForm();
    form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    int formsBefore = Screen->FormCount();
    form->Close();
    EXPECT_EQ(Screen->FormCount(), formsBefore);   // still there inside its own handler's turn
    Pump();
    EXPECT_EQ(Screen->FormCount(), formsBefore - 1);
}

TEST_F(FormTest, ClosingTheMainFormEndsTheApplication) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    user::PostMessage(main->Handle(), user::WM_CLOSE, 0, 0);
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(FormTest, ScreenCenterPlacesTheFormOnceWhenShown) {
    TForm* form = Create<TForm>(Application);
    form->SetBounds(0, 0, 200, 100);
    form->SetPosition(poScreenCenter);
    form->Show();
    EXPECT_EQ(form->Left(), (Screen->Width() - 200) / 2);
    EXPECT_EQ(form->Top(), (Screen->Height() - 100) / 2);
    EXPECT_EQ(form->Position(), poDesigned);
}

struct BorderCase {
    TFormBorderStyle Style;
    user::DWORD Wanted;
    user::DWORD Unwanted;
};

class FormBorderTest : public ControlsTest, public ::testing::WithParamInterface<BorderCase> { };

TEST_P(FormBorderTest, BorderStyleGivesTheWindowStyle) {
    TForm* form = Create<TForm>(Application);
    form->SetBorderStyle(GetParam().Style);
    user::DWORD style = user::GetWindowStyle(form->Handle());
    EXPECT_EQ(style & GetParam().Wanted, GetParam().Wanted);
    EXPECT_EQ(style & GetParam().Unwanted, 0u);
}

INSTANTIATE_TEST_SUITE_P(Styles, FormBorderTest,
    ::testing::Values(BorderCase {bsNone, user::WS_POPUP, user::WS_CAPTION | user::WS_SYSMENU},
        BorderCase {bsSingle, user::WS_CAPTION | user::WS_SYSMENU | user::WS_MINIMIZEBOX, user::WS_THICKFRAME},
        BorderCase {bsSizeable, user::WS_CAPTION | user::WS_THICKFRAME | user::WS_MAXIMIZEBOX, 0},
        BorderCase {bsDialog, user::WS_CAPTION | user::WS_SYSMENU, user::WS_MINIMIZEBOX | user::WS_THICKFRAME},
        BorderCase {bsToolWindow, user::WS_CAPTION, user::WS_MINIMIZEBOX | user::WS_THICKFRAME}));

TEST_F(FormTest, KeyPreviewGivesTheFormTheKeyFirst) {
    TForm* form = NewForm();
    auto* panel = Create<TBoxPanel>(form);
    panel->SetParent(form);
    panel->SetTabStop(true);
    form->SetKeyPreview(true);
    std::vector<std::string> seen;
    form->OnKeyDown = [&](TObject*, user::WORD& key, TShiftState) {
        seen.push_back("form");
        if (key == 'Q') key = 0;
    };
    panel->OnKeyDown = [&](TObject*, user::WORD&, TShiftState) { seen.push_back("panel"); };
    panel->SetFocus();
    Pump();
    Display->Press('A');
    Display->Press('Q');
    Pump();
    EXPECT_EQ(seen, std::vector<std::string>({"form", "panel", "form"}));
}

TEST_F(FormTest, BorderChangesOfAShownFormKeepItsWindowAndChildren) {
    TMonitorForm* form = NewMonitor();
    form->Show();
    Pump();
    const user::HWND hwnd = form->Handle();
    const user::HWND child = form->Body->Handle();
    const int width = form->Width();
    const user::LONG_PTR style = user::GetWindowLong(hwnd, user::GWL_STYLE);
    ASSERT_TRUE(style & user::WS_MAXIMIZEBOX);
    ASSERT_TRUE(style & user::WS_THICKFRAME);

    form->SetBorderIcons({});
    EXPECT_EQ(form->Handle(), hwnd);
    EXPECT_FALSE(user::GetWindowLong(hwnd, user::GWL_STYLE) & (user::WS_SYSMENU | user::WS_MAXIMIZEBOX));
    EXPECT_TRUE(user::GetWindowLong(hwnd, user::GWL_STYLE) & user::WS_VISIBLE);

    form->SetBorderStyle(bsToolWindow);   // a thinner frame, a smaller caption, the same window size
    EXPECT_EQ(form->Handle(), hwnd);
    EXPECT_TRUE(user::IsWindow(child));
    EXPECT_EQ(form->Body->Handle(), child);
    EXPECT_FALSE(user::GetWindowLong(hwnd, user::GWL_STYLE) & user::WS_THICKFRAME);
    EXPECT_TRUE(user::GetWindowLong(hwnd, user::GWL_EXSTYLE) & user::WS_EX_TOOLWINDOW);
    EXPECT_EQ(form->Width(), width);
    EXPECT_GT(form->ClientWidth(), 320);   // the frame around the client area shrank
    form->SetBorderStyle(bsSizeable);
    form->SetBorderIcons({biSystemMenu, biMinimize, biMaximize});
    EXPECT_EQ(user::GetWindowLong(hwnd, user::GWL_STYLE), style);
    EXPECT_EQ(form->ClientWidth(), 320);
}
