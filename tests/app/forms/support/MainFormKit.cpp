// Test support for the main window.
#include "support/MainFormKit.h"

#include "app/views/ClientLogColours.h"
#include "platform/classes/TApplication.h"
#include "platform/gdi/PngCodec.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "skin/engine/sSkinManager.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

namespace korvex::app::test {

using namespace classes;

TPicture::TPicture(const std::string& path, TWinControl* window) {
    gdi::ImageResult image = gdi::ReadPngFile(path);
    if (!image) return;
    FBitmap = std::move(image.Image);
    user::RECT bounds {};
    user::GetWindowRect(window->Handle(), &bounds);
    FLeft = bounds.left;
    FTop = bounds.top;
}

gdi::COLORREF TPicture::Pixel(const TControl* control, int x, int y) const {
    if (!Valid()) return 0xFFFFFFFF;
    const TPoint screen = control->ClientToScreen(TPoint {x, y});
    const int px = screen.x - FLeft, py = screen.y - FTop;
    if (px < 0 || py < 0 || px >= FBitmap.Get()->Width() || py >= FBitmap.Get()->Height()) return 0xFFFFFFFF;
    return FBitmap.Get()->PixelAt(px, py) & 0x00FFFFFF;
}

int TPicture::Count(const TControl* control, const TRect& r, const std::function<bool(gdi::COLORREF)>& test) const {
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            count += test(Pixel(control, x, y));
    return count;
}

std::set<gdi::COLORREF> TPicture::Colours(const TControl* control, const TRect& r) const {
    std::set<gdi::COLORREF> colours;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            colours.insert(Pixel(control, x, y));
    return colours;
}

int TPicture::Strokes(const TControl* control, const TRect& r) const {
    std::map<gdi::COLORREF, int> counts;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            ++counts[Pixel(control, x, y)];
    if (counts.empty()) return 0;
    const gdi::COLORREF face
        = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    int strokes = 0;
    for (const auto& [colour, count] : counts)
        if (colour != 0xFFFFFFFF && ColourContrast(int(colour), int(face)) >= 2.0) strokes += count;
    return strokes;
}

bool TPicture::ShowsText(const TControl* control, int inset, int minimum) const {
    const TRect r {inset, inset, control->ClientWidth() - inset, control->ClientHeight() - inset};
    return Strokes(control, r) >= minimum;
}

TSettings NodesSettings(int nodes, int language) {
    TSettings settings;
    settings.Language = language;
    settings.HostCount = nodes;
    for (int i = 0; i < nodes; ++i) {
        TNodeSettings node;
        node.Label = "node" + std::to_string(i + 1);
        node.Path = "/srv/fah/node" + std::to_string(i + 1);
        node.Hint = true;
        node.Progress = 10 * i;
        settings.Nodes.push_back(node);
    }
    return settings;
}

TRowRefresh SampleRefresh(int node, int progress, const std::string& marker) {
    TRowRefresh refresh;
    TRowView& row = refresh.Row;
    row.Node = node;
    row.Cells = {"A" + std::to_string(node % 3 + 3), std::to_string(12 - node % 12) + ".5", "05 Dec 10:20:30",
        "09 Dec 10:20:30", "06 Dec 22:01:00", std::to_string(300 + node), "1520", "63.3",
        "P" + std::to_string(6000 + node) + " * R1-C2-G" + std::to_string(node), marker};
    row.Progress = progress;
    row.GaugeHint = std::to_string(progress) + "%";
    row.Status = {0x008000, false, true, ""};
    row.NodeStatus = TNodeStatus::Running;
    row.Farm = {0x008000, false, true, ""};
    row.Backup = {0, true, true, ""};
    row.CoreRequired = "Core_a4";
    row.Version = "5.04";
    return refresh;
}

void MainFormTest::SetUp() {
    SkinControlsTest::SetUp();
    Env = std::make_unique<TAppEnvironment>();
}

void MainFormTest::TearDown() {
    SkinControlsTest::TearDown();
    Env.reset();
}

TMainForm* MainFormTest::NewMainForm(const TSettings& settings, int skin) {
    Form = Create<TMainForm>(Application);
    Form->OnShow = nullptr;   // the load from the store and the monitor's start are not what these tests test
    Form->ApplySettings(settings);
    Form->BuildRows();
    Form->SetLanguage(settings.Language);
    Form->SetCaption("KORVEX. Ver. 2.6.0.11");
    static const char* const skins[]
        = {"MacOS (internal)", "LongHorn (internal)", "NextStyle (internal)", "Office2003 (internal)"};
    if (skin >= 0) Form->ApplySkin(skins[skin]);
    Form->Show();
    Pump();
    return Form;
}

std::string MainFormTest::WritePicture(const std::string& name, TCustomForm* window) {
    std::filesystem::create_directories(KORVEX_PICTURE_DIR);
    const std::string path = std::string(KORVEX_PICTURE_DIR) + "/" + name + ".png";
    Pump();
    user::RECT bounds {};
    user::GetWindowRect((window != nullptr ? window : Form)->Handle(), &bounds);
    Display->WriteScreenshotPng(path, &bounds);
    return path;
}

void MainFormTest::Wheel(TControl* control, int delta) {
    TPoint screen = control->ClientToScreen(TPoint {2, 2});
    auto* windowed = dynamic_cast<TWinControl*>(control);
    user::SendMessage(windowed->Handle(), user::WM_MOUSEWHEEL, user::WPARAM(std::uint16_t(delta)) << 16,
        user::MAKELPARAM(screen.x, screen.y));
    Pump();
}

bool MainFormTest::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        Pump();
        if (done()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

}
