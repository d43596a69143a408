// A repaint of a scroll box of 200 node rows (a name label, a gauge, a status square and a points label on a row panel, the
// main window's shape) with a skin and without one, on the headless display, in one run.
#include "platform/classes/TApplication.h"
#include "platform/classes/TForm.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Painting.h"
#include "platform/user/Screen.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/display/headless/HeadlessDisplay.h"
#include "skin/controls/sGauge.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sScrollBox.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;

namespace {

constexpr int RowCount = 200;
constexpr int RowHeight = 30;

// The display, the application, a form with the scroll box and its rows, and a manager with a skin.
class World {
public:
    World() {
        user::InitMessageQueue([] { return std::chrono::steady_clock::time_point(std::chrono::hours(1)); },
            user::UiDispatch::Yes);
        user::SetDisplay(std::make_unique<user::HeadlessDisplay>());
        InitApplication();
        FOwner = std::make_unique<TComponent>(nullptr);
        Manager = Create<TsSkinManager>(FOwner.get());
        Manager->SetActive(false);
        Manager->SetSkinDirectory(std::string(KORVEX_SOURCE_DIR) + "/skins");
        Manager->SetSkinName("LongHorn (internal)");
        Form = Create<TForm>(Application);
        Form->SetBounds(0, 0, 840, 660);
        Form->SetClientWidth(800);
        Form->SetClientHeight(600);
        Box = Create<TsScrollBox>(Form);
        Box->SetAlign(alClient);
        Box->SetParent(Form);
        for (int i = 0; i < RowCount; ++i) {
            auto* row = Place<TsPanel>(Box, 0, i * RowHeight, 760, RowHeight);
            row->SetCaption("");
            Place<TsLabel>(row, 8, 8, 140, 16)->SetCaption("node" + std::to_string(i + 1));
            auto* gauge = Place<TsGauge>(row, 160, 6, 400, 18);
            gauge->SetProgress((i * 37) % 101);
            auto* square = Place<TsPanel>(row, 570, 6, 18, 18);
            square->SetCaption("");
            Place<TsLabel>(row, 600, 8, 150, 16)->SetCaption(std::to_string(i * 1234) + " points");
        }
        Form->Show();
        Pump();
    }
    ~World() {
        DoneApplication();
        FOwner.reset();
        user::ShutdownMessageQueue();
        user::ResetDisplay();
    }

    void Pump() {
        user::PumpMessages();
        user::FlushDisplay();
    }
    // The scroll box and everything on it painted again, now.
    void Repaint() {
        user::RedrawWindow(Box->Handle(), nullptr, nullptr,
            user::RDW_INVALIDATE | user::RDW_ERASE | user::RDW_ALLCHILDREN | user::RDW_UPDATENOW);
        Pump();
    }
    void Skinned(bool on) {
        if (on == Manager->Active()) return;
        Manager->SetActive(on);
        Pump();
        TellParentsUpdated(Form);
        Repaint();
    }
    // Every skin state renders its cache again on its next paint.
    void MarkChanged(TWinControl* parent) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* c = parent->Controls(i);
            if (auto* p = dynamic_cast<TsPanel*>(c)) p->SkinData()->BGChanged = true;
            if (auto* g = dynamic_cast<TsGauge*>(c)) g->SkinData()->BGChanged = true;
            if (auto* w = dynamic_cast<TWinControl*>(c)) MarkChanged(w);
        }
    }

    TsSkinManager* Manager = nullptr;
    TForm* Form = nullptr;
    TsScrollBox* Box = nullptr;

private:
    template <class T>
    T* Place(TWinControl* parent, int x, int y, int w, int h) {
        T* c = Create<T>(Form);
        c->SetBounds(x, y, w, h);
        c->SetParent(parent);
        return c;
    }
    // What a form's skin provider does after a skin change.
    void TellParentsUpdated(TWinControl* parent) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* c = parent->Controls(i);
            c->Perform(SM_SKINCMD, SkinCommandWParam(SMC_PARENTUPDATED), 0);
            if (auto* w = dynamic_cast<TWinControl*>(c)) TellParentsUpdated(w);
        }
    }
    std::unique_ptr<TComponent> FOwner;
};

std::unique_ptr<World> TheWorldInstance;
World& TheWorld() {
    if (!TheWorldInstance) TheWorldInstance = std::make_unique<World>();
    return *TheWorldInstance;
}

void BM_UnskinnedRowsRepaint(benchmark::State& state) {
    World& w = TheWorld();
    w.Skinned(false);
    for (auto _ : state)
        w.Repaint();
}
BENCHMARK(BM_UnskinnedRowsRepaint)->Unit(benchmark::kMillisecond);

// Every cache valid: blits, composed gauges and captions already in the caches.
void BM_SkinnedRowsRepaint(benchmark::State& state) {
    World& w = TheWorld();
    w.Skinned(true);
    for (auto _ : state)
        w.Repaint();
}
BENCHMARK(BM_SkinnedRowsRepaint)->Unit(benchmark::kMillisecond);

// Every cache rendered again first, as after a skin refresh.
void BM_SkinnedRowsRender(benchmark::State& state) {
    World& w = TheWorld();
    w.Skinned(true);
    for (auto _ : state) {
        w.MarkChanged(w.Box);
        w.Repaint();
    }
}
BENCHMARK(BM_SkinnedRowsRender)->Unit(benchmark::kMillisecond);

}

// --korvex-shot DIR: writes the scroll box without a skin and with it as PNG, and runs nothing else.
int WriteShots(const std::string& dir) {
    World& w = TheWorld();
    auto* display = static_cast<user::HeadlessDisplay*>(user::CurrentDisplay());
    const TPoint o = w.Form->ClientToScreen(TPoint {0, 0});
    const gdi::RECT r {o.x, o.y, o.x + 800, o.y + 600};
    w.Skinned(false);
    w.Repaint();
    bool ok = display->WriteScreenshotPng(dir + "/SkinnedRows_NoSkin.png", &r);
    w.Skinned(true);
    w.Repaint();
    ok = display->WriteScreenshotPng(dir + "/SkinnedRows_LongHorn.png", &r) && ok;
    TheWorldInstance.reset();
    return ok ? 0 : 1;
}

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--korvex-shot") return WriteShots(argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    TheWorldInstance.reset();
    benchmark::Shutdown();
    return 0;
}
