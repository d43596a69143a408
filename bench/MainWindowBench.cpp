// A full repaint of the main window with 200 node rows filled as the node threads leave them, skinned
// ("LongHorn (internal)") and without a skin, on the headless display, in one run.
#include "bench/support/BenchWorld.h"

#include "app/monitor/Monitor.h"
#include "app/settings/Settings.h"
#include "app/forms/MainWindow.h"
#include "platform/classes/TApplication.h"
#include "skin/engine/sSkinManager.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace korvex;
using namespace korvex::classes;

namespace {

constexpr int NodeCount = 200;

app::TRowRefresh Row(int node) {
    app::TRowRefresh refresh;
    app::TRowView& row = refresh.Row;
    row.Node = node;
    row.Cells = {"GROMACS", std::to_string(node % 24) + ".5", "07 Dec 10:20:30", "14 Dec 10:20:30",
        "07 Dec 22:01:00", std::to_string(100 + node), "1520.40", "63.35",
        std::to_string(700 + node) + " * " + std::to_string(node % 10) + "-" + std::to_string(node / 10) + "-3", ""};
    row.Progress = node * 37 % 101;
    row.GaugeHint = std::to_string(row.Progress) + "%";
    row.Status = {32768, false, true, "Unit running"};
    row.Farm = {13353215, false, true, "Service of control is stopped "};
    row.Backup = {0, true, true, ""};
    row.CoreRequired = "FahCore_78.exe";
    row.Version = "Version 1.90 (March 8, 2006)";
    return refresh;
}

class World : public bench::THeadlessWorld {
public:
    World() {
        Main = Create<app::TMainForm>(Application);
        Main->OnShow = nullptr;   // no load from the settings store, no node threads: the rows come by hand
        app::TSettings settings;
        settings.Language = 1;
        settings.HostCount = NodeCount;
        for (int i = 0; i < NodeCount; ++i) {
            app::TNodeSettings node;
            node.Label = "Node " + std::to_string(i);
            node.Path = "/srv/fah/node" + std::to_string(i);
            settings.Nodes.push_back(node);
        }
        Main->ApplySettings(settings);
        Main->BuildRows();
        Main->SetLanguage(1);
        Main->SetCaption("KORVEX. Ver. 2.6.0.11");
        Main->ApplySkin("LongHorn (internal)");
        Main->SetBounds(0, 0, 1000, 740);
        Form = Main;   // the pictures show the main window
        Main->Show();
        for (int i = 0; i < NodeCount; ++i)
            Main->RowRefreshed(Row(i));
        Pump();
    }
    void Skinned(bool on) {
        if (Main->SkinManager()->Active() == on) return;
        Main->SkinManager()->SetActive(on);
        Pump();
        Repaint();
    }
    void Repaint() { THeadlessWorld::Repaint(Main); }

    app::TMainForm* Main = nullptr;
};

World& TheWorld() {
    return bench::TheWorld<World>();
}

void BM_MainWindowRepaintUnskinned(benchmark::State& state) {
    World& w = TheWorld();
    w.Skinned(false);
    for (auto _ : state)
        w.Repaint();
}
BENCHMARK(BM_MainWindowRepaintUnskinned)->Unit(benchmark::kMillisecond);

void BM_MainWindowRepaintSkinned(benchmark::State& state) {
    World& w = TheWorld();
    w.Skinned(true);
    for (auto _ : state)
        w.Repaint();
}
BENCHMARK(BM_MainWindowRepaintSkinned)->Unit(benchmark::kMillisecond);

}

// --korvex-shot DIR: the window's client area without a skin and with it, as PNG files.
int main(int argc, char** argv) {
    return bench::BenchMain(argc, argv, [](const std::string& dir) {
        World& w = TheWorld();
        w.Skinned(false);
        bool ok = w.Shot(dir, "MainWindow_NoSkin");
        w.Skinned(true);
        return w.Shot(dir, "MainWindow_LongHorn") && ok;
    });
}
