// Test support for the skinned controls.
#include "support/ControlsKit.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TCustomEdit.h"
#include "platform/classes/TForm.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/MessageIds.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Painting.h"
#include "platform/classes/TImageList.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <map>

namespace korvex::skin::ctltest {

using namespace korvex::classes;

void AddDiscImage(TImageList* images, TColor color) {
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(16, 16);
    picture.Canvas()->Brush()->SetColor(clFuchsia);
    picture.Canvas()->FillRect(TRect {0, 0, 16, 16});
    picture.Canvas()->Brush()->SetColor(color);
    picture.Canvas()->Pen()->SetColor(0x202020);
    picture.Canvas()->Ellipse(2, 2, 14, 14);
    images->AddMasked(&picture, clFuchsia);
}

void ScribbleOver(const TWinControl* control) {
    const user::HWND wnd = const_cast<TWinControl*>(control)->Handle();
    const gdi::HDC dc = user::GetWindowDC(wnd);
    const gdi::RECT all {0, 0, control->Width(), control->Height()};
    gdi::HBRUSH brush = gdi::CreateSolidBrush(0x00FF00);
    gdi::FillRect(dc, &all, brush);
    gdi::DeleteObject(brush);
    user::ReleaseDC(wnd, dc);
}

std::unique_ptr<TBitmap> PaintIntoBitmap(TWinControl* control) {
    auto print = std::make_unique<TBitmap>();
    print->SetPixelFormat(pf24bit);
    print->SetSize(control->Width(), control->Height());
    print->Canvas()->Brush()->SetColor(0x00FF00);
    print->Canvas()->FillRect(TRect {0, 0, control->Width(), control->Height()});
    control->Perform(user::WM_PAINT, WPARAM(print->Canvas()->Handle()), 0);
    return print;
}

void GiveMaskItsOwnBitmap(TsSkinManager* manager, int maskIndex) {
    TsMaskData& mask = manager->Masks[maskIndex];
    const TRect r = mask.R;
    mask.Bmp = std::make_unique<TBitmap>();
    mask.Bmp->SetPixelFormat(pf24bit);
    mask.Bmp->SetSize(r.right - r.left, r.bottom - r.top);
    gdi::BitBlt(mask.Bmp->Canvas()->Handle(), 0, 0, r.right - r.left, r.bottom - r.top,
        manager->MasterBitmap->Canvas()->Handle(), r.left, r.top, gdi::SRCCOPY);
    mask.R = TRect {0, 0, r.right - r.left, r.bottom - r.top};
}

std::string SkinShortName(int which) {
    if (which < 0) return "NoSkin";
    const std::string name = OurSkins[which];
    return name.substr(0, name.find(' '));
}

void ControlsTest::SetUp() {
    SkinControlsTest::SetUp();
    Host = new test::ManagerHost();
    Manager = Host->NewManager();
    Form = NewForm(360, 240);
}

void ControlsTest::TearDown() {
    delete Host;
    Host = nullptr;
    SkinControlsTest::TearDown();
}

void ControlsTest::UseSkin(int which) {
    if (which < 0) {
        Manager->SetActive(false);
    } else {
        test::LoadFolderSkin(*Manager, std::string(KORVEX_SOURCE_DIR) + "/skins", OurSkins[which]);
    }
    Pump();
    ParentsUpdated(Form);
    Form->Invalidate();
    Pump();
}

void ControlsTest::ParentsUpdated(TWinControl* parent) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        c->Perform(SM_SKINCMD, SkinCommandWParam(SMC_PARENTUPDATED), 0);
        if (auto* w = dynamic_cast<TWinControl*>(c)) ParentsUpdated(w);
    }
}

void ControlsTest::SettleSheet(TCustomEdit* focused) {
    Pump();
    ParentsUpdated(Form);
    Pump();
    focused->SetFocus();
    focused->SetSelStart(0);
    focused->SetSelLength(8);
    Pump();
}

void ControlsTest::Type(const std::string& text) {
    for (char c : text) Display->Press(unsigned(std::toupper(static_cast<unsigned char>(c))), std::string(1, c));
    Pump();
}

void ControlsTest::ClickAt(const TControl* control, int x, int y) {
    const TPoint p = control->ClientToScreen(TPoint {x, y});
    Display->Click(p.x, p.y);
    Pump();
}

void ControlsTest::MoveTo(const TControl* control, int x, int y) {
    const TPoint p = control->ClientToScreen(TPoint {x, y});
    Display->MoveMouse(p.x, p.y);
    Pump();
}

void ControlsTest::DownAt(const TControl* control, int x, int y) {
    const TPoint p = control->ClientToScreen(TPoint {x, y});
    Display->MoveMouse(p.x, p.y);
    Display->ButtonDown(user::MouseButton::Left, p.x, p.y);
    Pump();
}

void ControlsTest::UpAt(const TControl* control, int x, int y) {
    // No move before the release: a move while captured loses the release on the headless display.
    const TPoint p = control->ClientToScreen(TPoint {x, y});
    Display->ButtonUp(user::MouseButton::Left, p.x, p.y);
    Pump();
}

void ControlsTest::ClickMiddle(const TControl* control, const TRect& r) {
    ClickAt(control, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void ControlsTest::DragThumbBelow(TsScrollBar* bar, int beyond) {
    const TRect thumb = bar->PartRect(TsScrollPart::Thumb);
    const int x = (thumb.left + thumb.right) / 2;
    DownAt(bar, x, (thumb.top + thumb.bottom) / 2);
    MoveTo(bar, x, bar->Height() + beyond);
    UpAt(bar, x, bar->Height() + beyond);
}

void ControlsTest::Key(unsigned vk) {
    Display->Press(vk, vk == 0x20 ? " " : "");
    Pump();
}

std::vector<gdi::COLORREF> ControlsTest::ScreenPixels(const TControl* control, const TRect& r) {
    user::FlushDisplay();
    std::vector<gdi::COLORREF> out;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            out.push_back(ScreenPixel(control, x, y));
    return out;
}

namespace {

double Luminance(gdi::COLORREF c) {
    auto channel = [](int v) {
        const double x = v / 255.0;
        return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(gdi::GetRValue(c)) + 0.7152 * channel(gdi::GetGValue(c)) + 0.0722 * channel(gdi::GetBValue(c));
}

}

int ControlsTest::Strokes(const TControl* control, int inset) {
    const std::vector<gdi::COLORREF> pixels = ScreenPixels(
        control, TRect {inset, inset, control->ClientWidth() - inset, control->ClientHeight() - inset});
    std::map<gdi::COLORREF, int> counts;
    for (gdi::COLORREF c : pixels)
        ++counts[c];
    if (counts.empty()) return 0;
    const gdi::COLORREF face
        = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    const double f = Luminance(face);
    int strokes = 0;
    for (const auto& [colour, count] : counts) {
        const double l = Luminance(colour);
        if ((std::max(l, f) + 0.05) / (std::min(l, f) + 0.05) >= 2.0) strokes += count;
    }
    return strokes;
}

std::string ControlsTest::PictureDir() const {
    const std::string dir = KORVEX_PICTURE_DIR;
    std::filesystem::create_directories(dir);
    return dir;
}

}
