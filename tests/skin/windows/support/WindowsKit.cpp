// Test support for the skinned windows.
#include "support/WindowsKit.h"

#include "tests/platform/classes/support/ModalSteps.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TIcon.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/WindowConstants.h"

#include <filesystem>

namespace korvex::skin::wintest {

using namespace korvex::classes;

void FormsTest::RecordHelpRequests() {
    Application->OnHelp = [this](int command, long data, bool&) {
        EXPECT_EQ(command, HELP_CONTEXT);
        HelpAsked.push_back(data);
        return true;
    };
}

void FormsTest::TearDown() {
    Application->OnHelp = nullptr;
    FForms.clear();
    ctltest::ControlsTest::TearDown();
}

TForm* FormsTest::NewSkinnedForm(TFormBorderStyle style, TsBorderIcons icons, int clientWidth, int clientHeight,
    int left, int top) {
    TForm* form = Create<TForm>(Application);
    form->SetBorderStyle(style);
    form->SetCaption("Skinned form");
    TsSkinProvider* provider = Create<TsSkinProvider>(form);
    provider->SetBorderIcons(icons);
    form->SetBounds(left, top, clientWidth + 20, clientHeight + 40);
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(clientHeight);
    form->Show();
    Pump();
    FForms.push_back(form);
    return form;
}

int FormsTest::RunModal(const std::function<int()>& call, std::vector<ModalStep> steps) {
    return classes::ctltest::RunModalSteps(call, std::move(steps));
}

void FormsTest::ClickOn(TControl* control) {
    ClickOn(control, control->Width() / 2, control->Height() / 2);
}

void FormsTest::ClickOn(TControl* control, int x, int y) {
    const TPoint p = control->ClientToScreen(TPoint {x, y});
    Display->Click(p.x, p.y);
}

TForm* FormsTest::ShownMdiFrame(int width, int height) {
    TForm* frame = nullptr;
    Application->CreateForm(frame);
    frame->SetFormStyle(fsMDIForm);
    frame->SetBounds(40, 30, width, height);
    Create<TsSkinProvider>(frame);
    frame->Show();
    Pump();
    return frame;
}

TsSkinProvider* FormsTest::ProviderOf(TForm* form) {
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* p = dynamic_cast<TsSkinProvider*>(form->Components(i))) return p;
    return nullptr;
}

void FormsTest::WatchSysCommands(TForm* form, std::vector<WPARAM> commandsToSwallow) {
    TWndMethod old = form->WindowProc;
    form->WindowProc = [this, old, commandsToSwallow](TMessage& m) {
        if (m.Msg == user::WM_SYSCOMMAND) {
            const WPARAM command = m.WParam & 0xFFF0;
            SysCommands.push_back(command);
            for (WPARAM swallowed : commandsToSwallow)
                if (swallowed == command) return;
        }
        old(m);
    };
}

TPoint FormsTest::ScreenOf(TForm* form, int x, int y) const {
    user::RECT r {};
    user::GetWindowRect(form->WindowHandle(), &r);
    return TPoint {r.left + x, r.top + y};
}

TPoint FormsTest::CentreOf(TForm* form, const TRect& r) const {
    return ScreenOf(form, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

LRESULT FormsTest::HitAt(TForm* form, TPoint screen) {
    return user::SendMessage(
        form->WindowHandle(), user::WM_NCHITTEST, 0, user::MAKELPARAM(screen.x, screen.y));
}

gdi::COLORREF FormsTest::WindowPixel(TForm* form, int x, int y) const {
    const TPoint p = ScreenOf(form, x, y);
    return Display->ScreenPixel(p.x, p.y);
}

int FormsTest::ScreenPixels(const gdi::RECT& screen, const std::function<bool(gdi::COLORREF)>& test) const {
    int count = 0;
    for (int y = screen.top; y < screen.bottom; ++y)
        for (int x = screen.left; x < screen.right; ++x)
            count += test(Display->ScreenPixel(x, y));
    return count;
}

int FormsTest::InkPixels(const gdi::RECT& screen, gdi::COLORREF background) const {
    return ScreenPixels(screen, [background](gdi::COLORREF c) {
        return std::abs(gdi::GetRValue(c) - gdi::GetRValue(background))
            + std::abs(gdi::GetGValue(c) - gdi::GetGValue(background))
            + std::abs(gdi::GetBValue(c) - gdi::GetBValue(background)) > 120;
    });
}

gdi::RECT FormsTest::ScreenRectOf(const TControl* control, const TRect& client) {
    const TPoint topLeft = control->ClientToScreen(TPoint {client.left, client.top});
    return {topLeft.x, topLeft.y, topLeft.x + client.Width(), topLeft.y + client.Height()};
}

std::string FormsTest::WindowsPictureDir() const {
    std::filesystem::create_directories(KORVEX_PICTURE_DIR);
    return KORVEX_PICTURE_DIR;
}

std::unique_ptr<classes::TIcon> SolidIcon(int size, classes::TColor color) {
    classes::TBitmap bitmap;
    bitmap.SetPixelFormat(classes::pf24bit);
    bitmap.SetSize(size, size);
    bitmap.Canvas()->Brush()->SetColor(color);
    bitmap.Canvas()->FillRect(classes::TRect {0, 0, size, size});
    auto icon = std::make_unique<classes::TIcon>();
    icon->Assign(&bitmap);
    return icon;
}

}
