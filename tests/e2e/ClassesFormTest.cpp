// A form of the class library read from component text and shown on a private Xvfb server through the x11 display.
#include "support/X11ApplicationFixture.h"
#include "support/X11TestKit.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TCustomControl.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TGraphicControl.h"
#include "platform/classes/TScreen.h"
#include "platform/classes/TTimer.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/PngCodec.h"
#include "platform/gdi/Text.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/Screen.h"
#include "platform/user/display/x11/X11Display.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

using namespace korvex;
using namespace korvex::classes;

namespace {

// Fills the control with its colour and sets the canvas up to write its caption over that.
void FillForCaption(TCanvas* canvas, const TControl& control) {
    canvas->Brush()->SetColor(control.Color());
    canvas->FillRect(Rect(0, 0, control.Width(), control.Height()));
    canvas->Font()->Assign(control.Font());
    canvas->Brush()->SetStyle(bsClear);
}

// A panel that fills itself with its colour and writes its caption in the middle.
class TShowPanel : public TCustomControl {
public:
    explicit TShowPanel(TComponent* owner)
        : TCustomControl(owner) {
        SetControlStyle(ControlStyle() + TControlStyle {csAcceptsControls, csOpaque});
    }
    static TClass StaticClass() {
        static const TClassInfo info = MakeClass<TShowPanel, TCustomControl>("TShowPanel");
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }

protected:
    void Paint() override {
        FillForCaption(Canvas(), *this);
        TRect r = Rect(0, 0, Width(), Height());
        Canvas()->TextRect(r, Caption(), gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE);
    }
};

// A windowless label: a coloured box with its caption.
class TShowLabel : public TGraphicControl {
public:
    explicit TShowLabel(TComponent* owner)
        : TGraphicControl(owner) {
        SetControlStyle(ControlStyle() + TControlStyle {csOpaque});
    }
    static TClass StaticClass() {
        static const TClassInfo info = MakeClass<TShowLabel, TGraphicControl>("TShowLabel");
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }

protected:
    void Paint() override {
        FillForCaption(Canvas(), *this);
        Canvas()->TextOut(4, 2, Caption());
    }
};

constexpr const char* FormText = R"(object ShowForm: TShowForm
  Left = 60
  Top = 50
  Caption = 'KORVEX: форма из текста'
  ClientWidth = 360
  ClientHeight = 220
  Color = clWhite
  Font.Name = 'DejaVu Sans'
  Font.Height = -13
  object Header: TShowPanel
    Align = alTop
    Height = 44
    Color = $00803000
    Caption = 'Узлы фермы'
    Font.Color = clWhite
    Font.Height = -16
    Font.Style = [fsBold]
    ParentFont = False
    object Status: TShowLabel
      Left = 8
      Top = 12
      Width = 60
      Height = 20
      Color = clLime
      Caption = 'OK'
    end
  end
  object Side: TShowPanel
    Align = alLeft
    Width = 90
    Color = clSilver
    Caption = 'alLeft'
  end
  object Body: TShowPanel
    Align = alClient
    Color = $00E0F0FF
    Caption = 'alClient'
    object Gauge: TShowLabel
      Left = 20
      Top = 110
      Width = 150
      Height = 22
      Color = clYellow
      Caption = 'Progress 42%'
    end
  end
  object Ticker: TTimer
    Interval = 100
    OnTimer = TickerTimer
  end
end
)";

class TShowForm : public TForm {
public:
    explicit TShowForm(TComponent* owner)
        : TForm(owner) {
        TMethodTable methods;
        methods.Add("TickerTimer", this, &TShowForm::TickerTimer).Field("Gauge", Gauge).Field("Body", Body);
        ReadForm(FormText, methods);
    }
    static TClass StaticClass() {
        static const TClassInfo info = MakeClass<TShowForm, TForm>("TShowForm");
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }

    void TickerTimer(TObject*) { ++Ticks; }
    TShowLabel* Gauge = nullptr;
    TShowPanel* Body = nullptr;
    int Ticks = 0;
};

// Pumps the real loop until done() holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 60000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        user::PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// A private Xvfb server, the x11 display on it, the application, and the form shown there.
class ClassesFormOnX11 : public e2e::X11ApplicationFixture {
protected:
    ClassesFormOnX11() : X11ApplicationFixture(800, 600) {}
    void BeforeApplication() override {
        RegisterClasses({TShowPanel::StaticClass(), TShowLabel::StaticClass(), TTimer::StaticClass()});
    }
    void WithApplication() override {
        Application->CreateForm(Form);
        Form->Show();
        ASSERT_TRUE(PumpUntil([&] { return Form->Ticks >= 2; }));   // the timer runs on the real clock
    }

    TShowForm* Form = nullptr;
};

}

TEST_F(ClassesFormOnX11, TheFormFromTextIsShownLaidOutAndPaintedOnTheServer) {
    TShowForm* form = Form;
    user::Display* x11 = X11;
    TPoint origin = form->ClientOrigin();
    TRect window = Rect(form->Left(), form->Top(), form->Left() + form->Width(), form->Top() + form->Height());
    std::unique_ptr<gdi::Bitmap> shot;
    auto pixel = [&](int clientX, int clientY) {
        return shot->PixelAt(origin.x - window.left + clientX, origin.y - window.top + clientY);
    };
    const struct {
        int X, Y;
        gdi::COLORREF Color;
        const char* What;
    } expected[] = {
        {2, 2, gdi::RGB(0x00, 0x30, 0x80), "the header"},
        {10, 14, gdi::RGB(0x00, 0xFF, 0x00), "the label on it"},
        {5, 200, gdi::RGB(0xC0, 0xC0, 0xC0), "the side panel"},
        {350, 210, gdi::RGB(0xFF, 0xF0, 0xE0), "the body"},
        {90 + 165, 44 + 130, gdi::RGB(0xFF, 0xFF, 0x00), "the gauge label in the body"},
    };
    // The server shows the picture once it has taken the window's pixels: photographed until it does.
    PumpUntil([&] {
        user::FlushDisplay();
        shot.reset(x11->CaptureScreen(window));
        return shot && std::all_of(std::begin(expected), std::end(expected),
            [&](const auto& e) { return pixel(e.X, e.Y) == e.Color; });
    });
    ASSERT_TRUE(shot);
    EXPECT_EQ(form->Body->BoundsRect(), Rect(90, 44, 360, 220));
    for (const auto& e : expected)
        EXPECT_EQ(pixel(e.X, e.Y), e.Color) << e.What;

    const char* path = std::getenv("KORVEX_SCREENSHOT");
    std::string file = path != nullptr ? path : testing::TempDir() + "classes-form.png";
    EXPECT_TRUE(e2e::WriteScreenshot(*shot, file));
}

// With the pointer resting on the caption the loop goes idle: no message keeps asking for itself, and the
// timer still ticks.
TEST_F(ClassesFormOnX11, RestingThePointerOnTheCaptionLeavesTheLoopIdle) {
    TPoint caption {Form->Left() + 80, Form->Top() + 12};
    ASSERT_EQ(user::SendMessage(Form->Handle(), user::WM_NCHITTEST, 0, user::MAKELPARAM(caption.x, caption.y)),
        user::HTCAPTION);
    TPoint inside = Form->ClientToScreen(Point(200, 150));
    ASSERT_TRUE(e2e::Xdotool(Server.Name(), {"mousemove", std::to_string(inside.x), std::to_string(inside.y)}));
    ASSERT_TRUE(PumpUntil([&] { return Application->MouseControl() == Form->Body; }));
    ASSERT_TRUE(e2e::Xdotool(Server.Name(), {"mousemove", std::to_string(caption.x), std::to_string(caption.y)}));
    ASSERT_TRUE(PumpUntil([&] { return Application->MouseControl() == Form; }));
    int ticks = Form->Ticks;
    bool settled = PumpUntil([&] {
        bool hitLimit = false;
        user::PumpMessages(&hitLimit);
        return !hitLimit && Form->Ticks >= ticks + 2;
    });
    EXPECT_TRUE(settled);
}
