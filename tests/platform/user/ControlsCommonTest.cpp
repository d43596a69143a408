// The controls' shared procedure helpers: message families offered in turn, and the families every control
// answers alike (paint, font, press and move).
#include "platform/user/controls/ControlsCommon.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using namespace korvex::user;

namespace {

// Each family records that it was asked, then answers the messages it knows.
struct Calls {
    std::vector<std::string> Asked;
};

std::optional<LRESULT> Low(Calls& calls, HWND, UINT msg, WPARAM, LPARAM) {
    calls.Asked.push_back("low");
    if (msg == 1) return 10;
    if (msg == 2) return 0;   // an answer of zero is still an answer
    return std::nullopt;
}

std::optional<LRESULT> High(Calls& calls, HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    calls.Asked.push_back("high");
    if (msg == 1) return 99;   // never reached: Low answers first
    if (msg == 3) return LRESULT(wParam) + lParam;
    return std::nullopt;
}

struct Case {
    UINT Msg;
    std::optional<LRESULT> Answer;
    std::vector<std::string> Asked;
};

class FirstAnswerTable : public ::testing::TestWithParam<Case> { };

TEST_P(FirstAnswerTable, AsksTheFamiliesInOrderUntilOneAnswers) {
    const Case& c = GetParam();
    Calls calls;
    const std::optional<LRESULT> answer
        = FirstAnswer({&Low, &High}, calls, static_cast<HWND>(nullptr), c.Msg, WPARAM(4), LPARAM(5));
    EXPECT_EQ(answer, c.Answer);
    EXPECT_EQ(calls.Asked, c.Asked);
}

INSTANTIATE_TEST_SUITE_P(FirstAnswer, FirstAnswerTable,
    ::testing::Values(Case {1, 10, {"low"}},   // the first answer wins
        Case {2, 0, {"low"}},   // zero stops the search too
        Case {3, 9, {"low", "high"}},   // a declined message goes on to the next family
        Case {4, std::nullopt, {"low", "high"}}));   // nobody's: no answer

class Counter {
public:
    std::optional<LRESULT> Even(UINT msg, WPARAM, LPARAM) {
        FAsked.push_back(msg);
        return msg % 2 == 0 ? std::optional<LRESULT>(LRESULT(msg) / 2) : std::nullopt;
    }
    std::optional<LRESULT> Any(UINT msg, WPARAM, LPARAM) {
        FAsked.push_back(msg);
        return LRESULT(msg) * 3;
    }
    std::optional<LRESULT> Ask(UINT msg) { return FirstAnswer({&Counter::Even, &Counter::Any}, this, msg, 0, 0); }
    std::vector<UINT> FAsked;   // one entry a family asked
};

TEST(FirstAnswer, MemberFamiliesAreAskedOnTheObject) {
    Counter counter;
    EXPECT_EQ(counter.Ask(8), LRESULT(4));
    EXPECT_EQ(counter.FAsked, std::vector<UINT>({8}));
    EXPECT_EQ(counter.Ask(7), LRESULT(21));
    EXPECT_EQ(counter.FAsked, std::vector<UINT>({8, 7, 7}));
}

TEST(PaintMessage, PaintsIntoTheGivenDcAndLeavesNothingToErase) {
    std::vector<HDC> painted;
    const auto paint = [&](HDC dc) { painted.push_back(dc); };
    HDC given = reinterpret_cast<HDC>(std::uintptr_t(0x1234));
    EXPECT_EQ(PaintMessage(nullptr, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(given), paint), LRESULT(0));
    EXPECT_EQ(PaintMessage(nullptr, WM_PAINT, reinterpret_cast<WPARAM>(given), paint), LRESULT(0));
    EXPECT_EQ(PaintMessage(nullptr, WM_ERASEBKGND, 0, paint), LRESULT(1));
    EXPECT_EQ(PaintMessage(nullptr, WM_SIZE, 0, paint), std::nullopt);
    EXPECT_EQ(painted, std::vector<HDC>({given, given}));
}

TEST(FontMessage, KeepsTheFontRunsTheChangeAndAnswersIt) {
    HFONT font = nullptr;
    int changes = 0;
    const auto changed = [&] { ++changes; };
    HFONT given = reinterpret_cast<HFONT>(std::uintptr_t(0x42));
    EXPECT_EQ(FontMessage(font, WM_SETFONT, reinterpret_cast<WPARAM>(given), changed), LRESULT(0));
    EXPECT_EQ(font, given);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(FontMessage(font, WM_GETFONT, 0, changed), reinterpret_cast<LRESULT>(given));
    EXPECT_EQ(FontMessage(font, WM_SETTEXT, 0, changed), std::nullopt);
    EXPECT_EQ(changes, 1);
}

TEST(PressMoveMessage, ClicksAndDoubleClicksPressMovesMoveAtTheMessagePoint) {
    std::vector<std::string> calls;
    const auto down = [&](POINT p) { calls.push_back("down " + std::to_string(p.x) + "," + std::to_string(p.y)); };
    const auto move = [&](POINT p) { calls.push_back("move " + std::to_string(p.x) + "," + std::to_string(p.y)); };
    EXPECT_EQ(PressMoveMessage(WM_LBUTTONDOWN, MAKELPARAM(3, 4), down, move), LRESULT(0));
    EXPECT_EQ(PressMoveMessage(WM_LBUTTONDBLCLK, MAKELPARAM(-2, 5), down, move), LRESULT(0));
    EXPECT_EQ(PressMoveMessage(WM_MOUSEMOVE, MAKELPARAM(7, 8), down, move), LRESULT(0));
    EXPECT_EQ(PressMoveMessage(WM_LBUTTONUP, MAKELPARAM(7, 8), down, move), std::nullopt);
    EXPECT_EQ(calls, std::vector<std::string>({"down 3,4", "down -2,5", "move 7,8"}));
}

}
