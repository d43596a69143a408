// A repaint of a scroll box of 200 node rows (a name label, a gauge, a status square and a points label on a row panel, the
// main window's shape) with a skin and without one, on the headless display, in one run.
#include "bench/support/BenchWorld.h"
#include "skin/controls/sGauge.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sScrollBox.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;

namespace {

constexpr int RowCount = 200;
constexpr int RowHeight = 30;

// The form with the scroll box and its rows, and a manager with a skin.
class World : public bench::THeadlessWorld {
public:
    World() {
        Manager = Create<TsSkinManager>(Owner());
        Manager->SetActive(false);
        Manager->SetSkinDirectory(std::string(KORVEX_SOURCE_DIR) + "/skins");
        Manager->SetSkinName("LongHorn (internal)");
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

    // The scroll box and everything on it painted again, now.
    void Repaint() { THeadlessWorld::Repaint(Box); }
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
};

World& TheWorld() {
    return bench::TheWorld<World>();
}

void BM_UnskinnedRowsRepaint(benchmark::State& state) {
    bench::TimeRepaints(state, TheWorld(), false);
}
BENCHMARK(BM_UnskinnedRowsRepaint)->Unit(benchmark::kMillisecond);

// Every cache valid: blits, composed gauges and captions already in the caches.
void BM_SkinnedRowsRepaint(benchmark::State& state) {
    bench::TimeRepaints(state, TheWorld(), true);
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
int main(int argc, char** argv) {
    return bench::BenchMain(argc, argv, [](const std::string& dir) {
        World& w = TheWorld();
        w.Skinned(false);
        w.Repaint();
        bool ok = w.Shot(dir, "SkinnedRows_NoSkin");
        w.Skinned(true);
        w.Repaint();
        return w.Shot(dir, "SkinnedRows_LongHorn") && ok;
    });
}
