// The non-client repaint of an 800 x 600 form: the window layer's plain frame against the skin provider's frame
// (from its valid cache, and with the cache built again), on the headless display, in one run.
#include "bench/support/BenchWorld.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TMenu.h"
#include "platform/user/MessageIds.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Messages.h"
#include "platform/user/Screen.h"
#include "platform/user/display/headless/HeadlessDisplay.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sSkinProvider.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;

namespace {

// The display, the application, a sizeable form with a menu bar and a provider, and a manager with a skin.
class World : public bench::THeadlessWorld {
public:
    World() {
        Manager = Create<TsSkinManager>(Owner());
        Manager->SetActive(false);
        Manager->SetSkinDirectory(std::string(KORVEX_SOURCE_DIR) + "/skins");
        Manager->SetSkinName("LongHorn (internal)");
        Form->SetCaption("KORVEX: farm monitor");
        Provider = Create<TsSkinProvider>(Form);
        auto* menu = Create<TMainMenu>(Form);
        for (const char* caption : {"&File", "&Options", "&Help"}) {
            auto* item = Create<TMenuItem>(menu);
            item->SetCaption(caption);
            menu->Items()->Add(item);
        }
        Form->SetMenuComponent(menu);
        Form->SetBounds(0, 0, 800, 600);
        Form->Show();
        Pump();
    }

    void Skinned(bool on) {
        if (on == Manager->Active()) return;
        Manager->SetActive(on);
        Pump();
    }
    // The whole frame painted again, now.
    void Repaint() { user::SendMessage(Form->WindowHandle(), user::WM_NCPAINT, 1, 0); }

    TsSkinManager* Manager = nullptr;
    TsSkinProvider* Provider = nullptr;
};

World& TheWorld() {
    return bench::TheWorld<World>();
}

void BM_PlainFrameRepaint(benchmark::State& state) {
    bench::TimeRepaints(state, TheWorld(), false);
}
BENCHMARK(BM_PlainFrameRepaint)->Unit(benchmark::kMicrosecond);

// The cache is valid: four strips copied to the window.
void BM_SkinnedFrameRepaint(benchmark::State& state) {
    bench::TimeRepaints(state, TheWorld(), true);
}
BENCHMARK(BM_SkinnedFrameRepaint)->Unit(benchmark::kMicrosecond);

// The whole form cache built again first, as after activation, a size change or a skin refresh.
void BM_SkinnedFrameRebuild(benchmark::State& state) {
    World& w = TheWorld();
    w.Skinned(true);
    for (auto _ : state) {
        w.Provider->SkinData()->BGChanged = true;
        w.Repaint();
    }
}
BENCHMARK(BM_SkinnedFrameRebuild)->Unit(benchmark::kMicrosecond);

}

int main(int argc, char** argv) {
    return korvex::bench::BenchMain(argc, argv, [](const std::string&) { return false; });   // no pictures
}
