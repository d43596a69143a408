// Bench support: a headless display with the application and one 800 x 600 form, made on first use and freed
// before main returns, and the main function shared by the benchmarks that can also write screenshots.
#pragma once

#include "platform/classes/TComponent.h"
#include "platform/classes/TForm.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>

namespace korvex::bench {

// Construction sets up the message queue on a fixed clock, the headless display and the application, and makes
// Owner and Form (client area 800 x 600); destruction undoes it in reverse order.
class THeadlessWorld {
public:
    THeadlessWorld();
    virtual ~THeadlessWorld();
    THeadlessWorld(const THeadlessWorld&) = delete;
    THeadlessWorld& operator=(const THeadlessWorld&) = delete;

    void Pump();   // everything pending handled and presented
    void Repaint(classes::TWinControl* control);   // the control and all inside it painted again, now
    // The form's client area as a PNG in dir; false when it could not be written.
    bool Shot(const std::string& dir, const std::string& name);

    classes::TComponent* Owner() const { return FOwner.get(); }
    classes::TForm* Form = nullptr;

private:
    std::unique_ptr<classes::TComponent> FOwner;
};

// The one world of a benchmark program: made on first use, freed by BenchMain while the message queue's own
// statics still exist.
extern std::unique_ptr<THeadlessWorld> TheWorldInstance;
template <class World>
World& TheWorld() {
    if (!TheWorldInstance) TheWorldInstance = std::make_unique<World>();
    return static_cast<World&>(*TheWorldInstance);
}

// Times the world's Repaint with its skin on or off (World has Skinned(bool) and Repaint()).
template <class World>
void TimeRepaints(benchmark::State& state, World& world, bool skinned) {
    world.Skinned(skinned);
    for (auto _ : state)
        world.Repaint();
}

// "--korvex-shot DIR" runs shots(DIR) (true: all written) and nothing else; otherwise the benchmarks run.
int BenchMain(int argc, char** argv, const std::function<bool(const std::string& dir)>& shots);

}
