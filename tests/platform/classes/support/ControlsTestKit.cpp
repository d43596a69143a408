// Test support for the controls.
#include "ControlsTestKit.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Screen.h"
#include "tests/platform/user/support/PumpSettled.h"

#include <algorithm>

namespace korvex::classes::ctltest {

int TMessageLog::Count(UINT msg) const {
    return static_cast<int>(
        std::count_if(Messages.begin(), Messages.end(), [msg](const TMessage& m) { return m.Msg == msg; }));
}

std::vector<UINT> TMessageLog::Numbers() const {
    std::vector<UINT> out;
    for (const TMessage& m : Messages)
        out.push_back(m.Msg);
    return out;
}

std::vector<UINT> TMessageLog::Only(std::initializer_list<UINT> wanted) const {
    std::vector<UINT> out;
    for (const TMessage& m : Messages)
        if (std::find(wanted.begin(), wanted.end(), m.Msg) != wanted.end()) out.push_back(m.Msg);
    return out;
}

// ---------------------------------------------------------------------------------------------------------
TBoxPanel::TBoxPanel(TComponent* owner)
    : TCustomControl(owner) {
    SetControlStyle(ControlStyle() + TControlStyle {csAcceptsControls, csOpaque});
    SetBounds(0, 0, 100, 50);
}

TClass TBoxPanel::StaticClass() {
    static const TClassInfo info = MakeClass<TBoxPanel, TCustomControl>("TBoxPanel");
    return &info;
}

void TBoxPanel::WndProc(TMessage& message) {
    Log.Messages.push_back(message);
    if (message.Msg == CN_COMMAND) {
        message.Result = CommandAnswer;
        return;
    }
    TCustomControl::WndProc(message);
}

void TBoxPanel::Paint() {
    ++PaintCount;
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(Rect(0, 0, Width(), Height()));
}

void TBoxPanel::Loaded() {
    TCustomControl::Loaded();
    ++LoadedCount;
    WidthAtLoaded = Width();
    CaptionAtLoaded = Caption();
}

TTextLabel::TTextLabel(TComponent* owner)
    : TGraphicControl(owner) {
    SetBounds(0, 0, 40, 20);
}

TClass TTextLabel::StaticClass() {
    static const TClassInfo info = MakeClass<TTextLabel, TGraphicControl>("TTextLabel");
    return &info;
}

void TTextLabel::SetOpaque(bool value) {
    TControlStyle style = ControlStyle();
    if (value)
        style.Include(csOpaque);
    else
        style.Exclude(csOpaque);
    SetControlStyle(style);
}

void TTextLabel::WndProc(TMessage& message) {
    Log.Messages.push_back(message);
    TGraphicControl::WndProc(message);
}

void TTextLabel::Paint() {
    ++PaintCount;
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(Rect(0, 0, Width(), Height()));
}

void TTextLabel::Loaded() {
    TGraphicControl::Loaded();
    ++LoadedCount;
}

void RegisterControlTestClasses() {
    RegisterClasses({TBoxPanel::StaticClass(), TTextLabel::StaticClass(), TTimer::StaticClass(), TForm::StaticClass()});
}

// ---------------------------------------------------------------------------------------------------------
void ControlsTest::SetUp() {
    user::InitMessageQueue(Clock.Clock(), user::UiDispatch::Yes);
    auto display = std::make_unique<user::HeadlessDisplay>();
    Display = display.get();
    user::SetDisplay(std::move(display));
    RegisterControlTestClasses();
    InitApplication();
    Application->OnException = [this](TObject*, const std::exception& e) { Exceptions.push_back(e.what()); };
}

void ControlsTest::TearDown() {
    DoneApplication();
    user::ShutdownMessageQueue();
    user::ResetDisplay();
}

::testing::AssertionResult ControlsTest::Pump() {
    return user::test::PumpSettled();
}

void ControlsTest::Advance(int ms) {
    Clock.Advance(ms);
    Display->AdvanceTimeMs(static_cast<std::uint64_t>(ms));
    Pump();
}

TForm* ControlsTest::NewForm(int x, int y, int clientWidth, int clientHeight) {
    TForm* form = Create<TForm>(Application);
    form->SetBounds(x, y, 400, 300);
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(clientHeight);
    form->Show();
    Pump();
    return form;
}

TPoint ControlsTest::At(const TControl* control, int x, int y) const {
    return control->ClientToScreen(Point(x, y));
}

gdi::COLORREF ControlsTest::PixelAt(const TControl* control, int x, int y) const {
    TPoint p = At(control, x, y);
    return Display->ScreenPixel(p.x, p.y);
}

}
