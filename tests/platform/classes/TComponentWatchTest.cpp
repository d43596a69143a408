// TComponentWatch and RunUserCode: a watched component freed meanwhile is forgotten, a watch freed first takes
// its request back, and user code that frees its component is told apart from code that does not.
#include "platform/classes/TComponentWatch.h"

#include <gtest/gtest.h>

#include <memory>

using namespace korvex::classes;

namespace {

TEST(ComponentWatch, AComponentFreedWhileWatchedIsForgotten) {
    TComponent owner(nullptr);
    auto* watched = new TComponent(&owner);
    TComponentWatch watch(watched);
    EXPECT_TRUE(watch.Alive());
    EXPECT_EQ(watch.Get(), watched);
    EXPECT_EQ(watch.As<TComponent>(), watched);
    delete watched;
    EXPECT_FALSE(watch.Alive());
    EXPECT_EQ(watch.Get(), nullptr);
}

TEST(ComponentWatch, AWatchFreedFirstLeavesTheComponentNothingToTell) {
    auto watched = std::make_unique<TComponent>(nullptr);
    {
        TComponentWatch watch(watched.get());
        EXPECT_TRUE(watch.Alive());
    }
    watched.reset();   // would tell the freed watch, were it still asked for
}

TEST(ComponentWatch, ANullComponentIsNeverAlive) {
    TComponentWatch watch(nullptr);
    EXPECT_FALSE(watch.Alive());
}

struct UserCodeCase {
    const char* Name;
    bool Frees;
};

class RunUserCodeTest : public ::testing::TestWithParam<UserCodeCase> { };

TEST_P(RunUserCodeTest, TellsWhetherTheComponentOutlivedTheCode) {
    auto* component = new TComponent(nullptr);
    int runs = 0;
    const bool alive = RunUserCode(component, [&] {
        ++runs;
        if (GetParam().Frees) delete component;
    });
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(alive, !GetParam().Frees);
    if (alive) delete component;
}

INSTANTIATE_TEST_SUITE_P(Cases, RunUserCodeTest,
    ::testing::Values(UserCodeCase {"Keeps", false}, UserCodeCase {"Frees", true}),
    [](const ::testing::TestParamInfo<UserCodeCase>& info) { return std::string(info.param.Name); });

}
