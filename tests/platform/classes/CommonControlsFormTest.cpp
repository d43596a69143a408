// The common control wrappers read from form text: pages with their controls, a tool bar with buttons, a
// status bar with panels, a track bar and a progress bar; and a status bar's panels written back.
#include "support/ControlsTestKit.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TEdit.h"
#include "platform/classes/TMethodTable.h"
#include "platform/classes/TPageControl.h"
#include "platform/classes/TProgressBar.h"
#include "platform/classes/TStatusBar.h"
#include "platform/classes/TToolBar.h"
#include "platform/classes/TTrackBar.h"
#include "platform/classes/TUpDown.h"
#include "platform/classes/TWriter.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/StatusBar.h"
#include "platform/user/controls/TabControl.h"

#include <cstdlib>
#include <string>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

constexpr const char* OptionsText = R"(object OptionsForm: TOptionsForm
  Left = 100
  Top = 100
  ClientWidth = 480
  ClientHeight = 360
  Caption = 'Options'
  object ToolBar1: TToolBar
    Flat = True
    ShowCaptions = True
    ButtonWidth = 60
    EdgeBorders = [ebTop, ebBottom]
    object RefreshButton: TToolButton
      Caption = 'Refresh'
      OnClick = RefreshClick
    end
    object Sep1: TToolButton
      Style = tbsSeparator
      Width = 8
    end
    object HotButton: TToolButton
      Caption = 'Hot'
      Style = tbsCheck
      Down = True
    end
  end
  object PageControl1: TPageControl
    Left = 8
    Top = 40
    Width = 460
    Height = 250
    ActivePage = TabSheet2
    TabPosition = tpBottom
    HotTrack = True
    OnChange = PageControl1Change
    object TabSheet1: TTabSheet
      Caption = 'Node control'
      object Level: TEdit
        Left = 10
        Top = 10
        Width = 60
        Text = '25'
      end
      object LevelSpin: TUpDown
        Left = 70
        Top = 10
        Associate = Level
        Min = 25
        Max = 100
        Increment = 5
        Position = 25
      end
    end
    object TabSheet2: TTabSheet
      Caption = 'Interface control'
      object Scale: TTrackBar
        Left = 10
        Top = 10
        Width = 150
        Max = 5
        PageSize = 1
        ThumbLength = 15
        Position = 3
        OnChange = ScaleChange
      end
    end
    object TabSheet3: TTabSheet
      Caption = 'Update control'
      TabVisible = False
      object Progress: TProgressBar
        Left = 10
        Top = 10
        Position = 47
        Smooth = True
      end
    end
  end
  object StatusBar1: TStatusBar
    SimpleText = 'idle'
    Panels = <
      item
        Width = 320
        Text = 'KORVEX'
      end
      item
        Alignment = taCenter
        Width = 350
        Text = 'TOTAL: 0 nodes'
      end>
  end
end
)";

class TOptionsForm : public TForm {
public:
    explicit TOptionsForm(TComponent* owner)
        : TForm(owner) {
        TMethodTable methods;
        methods.Add("RefreshClick", this, &TOptionsForm::RefreshClick)
            .Add("PageControl1Change", this, &TOptionsForm::PageControl1Change)
            .Add("ScaleChange", this, &TOptionsForm::ScaleChange)
            .Field("ToolBar1", ToolBar1)
            .Field("HotButton", HotButton)
            .Field("PageControl1", PageControl1)
            .Field("TabSheet1", TabSheet1)
            .Field("TabSheet2", TabSheet2)
            .Field("TabSheet3", TabSheet3)
            .Field("Level", Level)
            .Field("LevelSpin", LevelSpin)
            .Field("Scale", Scale)
            .Field("Progress", Progress)
            .Field("StatusBar1", StatusBar1);
        ReadForm(OptionsText, methods);
    }
    static TClass StaticClass() {
        static const TClassInfo info = MakeClass<TOptionsForm, TForm>("TOptionsForm");
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }

    void RefreshClick(TObject*) { Events.push_back("refresh"); }
    void PageControl1Change(TObject*) { Events.push_back("page"); }
    void ScaleChange(TObject*) { Events.push_back("scale"); }

    TToolBar* ToolBar1 = nullptr;
    TToolButton* HotButton = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TTabSheet* TabSheet2 = nullptr;
    TTabSheet* TabSheet3 = nullptr;
    TEdit* Level = nullptr;
    TUpDown* LevelSpin = nullptr;
    TTrackBar* Scale = nullptr;
    TProgressBar* Progress = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    std::vector<std::string> Events;
};

class CommonControlsFormTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        RegisterClasses({TToolBar::StaticClass(), TToolButton::StaticClass(), TPageControl::StaticClass(),
            TTabSheet::StaticClass(), TEdit::StaticClass(), TUpDown::StaticClass(), TTrackBar::StaticClass(),
            TProgressBar::StaticClass(), TStatusBar::StaticClass()});
        Application->CreateForm(Form);
        Form->Show();
        Pump();
    }
    TOptionsForm* Form = nullptr;
};

TEST_F(CommonControlsFormTest, PagesComeBackWithTheActivePageShown) {
    TPageControl* pages = Form->PageControl1;
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(pages->ActivePage(), Form->TabSheet2);
    EXPECT_TRUE(Form->TabSheet2->Visible());
    EXPECT_FALSE(Form->TabSheet1->Visible());
    EXPECT_FALSE(Form->TabSheet3->Visible());
    EXPECT_EQ(pages->TabCount(), 2);   // the third page has no tab
    EXPECT_EQ(pages->TabIndex(), 1);
    EXPECT_EQ(pages->TabPosition(), tpBottom);
    EXPECT_NE(user::GetWindowStyle(pages->Handle()) & user::TCS_BOTTOM, 0u);
    EXPECT_EQ(Form->Level->Parent(), Form->TabSheet1);
    EXPECT_EQ(Form->Scale->Parent(), Form->TabSheet2);
    EXPECT_TRUE(Form->Events.empty());
}

TEST_F(CommonControlsFormTest, ControlsInsidePagesKeepTheirSettings) {
    EXPECT_EQ(Form->LevelSpin->Associate(), Form->Level);
    EXPECT_EQ(Form->LevelSpin->Min(), 25);
    EXPECT_EQ(Form->LevelSpin->Increment(), 5);
    EXPECT_EQ(Form->Scale->Position(), 3);
    EXPECT_EQ(Form->Scale->Max(), 5);
    EXPECT_EQ(Form->Scale->ThumbLength(), 15);
    EXPECT_EQ(Form->Progress->Position(), 47);
    EXPECT_TRUE(Form->Progress->Smooth());
}

TEST_F(CommonControlsFormTest, ToolButtonsAreOnTheirBarAndClickThroughTheirEvents) {
    TToolBar* bar = Form->ToolBar1;
    ASSERT_EQ(bar->ButtonCount(), 3);
    EXPECT_TRUE(Form->HotButton->Down());
    EXPECT_EQ(bar->Buttons(1)->Style(), tbsSeparator);
    EXPECT_EQ(bar->Buttons(0)->Width(), 60);
    TToolButton* refresh = bar->Buttons(0);
    TPoint p = At(bar, refresh->Left() + 5, refresh->Top() + 5);
    Display->Click(p.x, p.y);
    Pump();
    EXPECT_EQ(Form->Events, std::vector<std::string> {"refresh"});
}

TEST_F(CommonControlsFormTest, StatusPanelsAreReadAndWrittenBack) {
    TStatusBar* bar = Form->StatusBar1;
    ASSERT_EQ(bar->Panels()->Count(), 2);
    EXPECT_EQ(bar->Panels()->Items(1)->Alignment(), taCenter);
    EXPECT_EQ(bar->Panels()->Items(0)->Width(), 320);
    EXPECT_EQ(bar->SimpleText(), "idle");
    int edges[2] {};
    user::SendMessage(bar->Handle(), user::SB_GETPARTS, 2, reinterpret_cast<user::LPARAM>(edges));
    EXPECT_EQ(edges[0], 320);
    std::string text = WriteComponent(bar);
    EXPECT_NE(text.find("Width = 320"), std::string::npos) << text;
    EXPECT_NE(text.find("Alignment = taCenter"), std::string::npos) << text;
    EXPECT_NE(text.find("Text = 'TOTAL: 0 nodes'"), std::string::npos) << text;
    EXPECT_EQ(text.find("SizeGrip"), std::string::npos) << text;   // the default is not written
}

TEST_F(CommonControlsFormTest, AUserSwitchOfPagesRunsTheBoundHandler) {
    TRect tab = Form->PageControl1->TabRect(0);
    TPoint p = At(Form->PageControl1, (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    Display->Click(p.x, p.y);
    Pump();
    EXPECT_EQ(Form->PageControl1->ActivePage(), Form->TabSheet1);
    EXPECT_EQ(Form->Events, std::vector<std::string> {"page"});
    EXPECT_TRUE(Form->Level->Visible());
}

}

namespace {

TEST_F(CommonControlsFormTest, APictureOfTheFormWhenAskedFor) {
    Form->StatusBar1->Panels()->Items(1)->SetText("TOTAL: 3 nodes gives an average result of 1234.56 points per day.");
    Pump();
    EXPECT_NE(PixelAt(Form->StatusBar1, 5, 5), gdi::CLR_INVALID);
    const char* dir = std::getenv("KORVEX_SCREENSHOT_DIR");
    if (dir == nullptr) return;
    user::RECT r = user::WindowRect(Form->Handle());
    EXPECT_TRUE(Display->WriteScreenshotPng(std::string(dir) + "/common-controls-form.png", &r));
}

}
