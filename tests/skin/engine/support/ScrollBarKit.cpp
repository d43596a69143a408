// Test support for the skinned scroll bar: fake clock, input on controls, skins from skins/, event records.
#include "ScrollBarKit.h"

#include "platform/classes/TApplication.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Screen.h"
#include "skin/engine/sSkinManager.h"

namespace korvex::skin::sbtest {

using namespace korvex::classes;

const char* const SkinNames[4] = {"MacOS (internal)", "LongHorn (internal)", "NextStyle (internal)", "Office2003 (internal)"};

void BarEvents::Attach(TsScrollBar* bar) {
    bar->OnScroll = [this](TObject*, TScrollCode code, int& pos) { Scrolls.emplace_back(int(code), pos); };
    bar->OnChange = [this](TObject* sender) { Changes.push_back(static_cast<TsScrollBar*>(sender)->Position()); };
    bar->ChangeHook = [this](TsScrollBar* b, int previous) { Hooks.emplace_back(previous, b->Position()); };
}

std::vector<int> BarEvents::ScrollCodes() const {
    std::vector<int> codes;
    for (const auto& s : Scrolls)
        codes.push_back(s.first);
    return codes;
}

void ScrollBarTestBase::SetUp() {
    FNow = std::make_shared<std::chrono::steady_clock::time_point>(std::chrono::hours(1));
    user::InitMessageQueue([now = FNow] { return *now; }, user::UiDispatch::Yes);
    auto display = std::make_unique<user::HeadlessDisplay>();
    Display = display.get();
    user::SetDisplay(std::move(display));
    InitApplication();
    Managers = std::make_unique<test::ManagerHost>();
}

void ScrollBarTestBase::TearDown() {
    FManager = nullptr;
    Managers.reset();
    SkinControlsTest::TearDown();
}

void ScrollBarTestBase::Advance(int ms) {
    *FNow += std::chrono::milliseconds(ms);
    Display->AdvanceTimeMs(std::uint64_t(ms));
    Pump();
}

void ScrollBarTestBase::PressAt(const TControl* control, int x, int y) {
    const TPoint p = control->ClientToScreen(TPoint {x, y});
    Display->MoveMouse(p.x, p.y);
    Display->ButtonDown(user::MouseButton::Left, p.x, p.y);
    Pump();
}

void ScrollBarTestBase::MoveTo(const TControl* control, int x, int y) {
    const TPoint p = control->ClientToScreen(TPoint {x, y});
    Display->MoveMouse(p.x, p.y);
    Pump();
}

void ScrollBarTestBase::ReleaseAt(const TControl* control, int x, int y) {
    const TPoint p = control->ClientToScreen(TPoint {x, y});
    Display->MoveMouse(p.x, p.y);
    Display->ButtonUp(user::MouseButton::Left, p.x, p.y);
    Pump();
}

void ScrollBarTestBase::ClickAt(const TControl* control, int x, int y) {
    PressAt(control, x, y);
    ReleaseAt(control, x, y);
}

void ScrollBarTestBase::Key(unsigned vk) {
    Display->Press(vk);
    Pump();
}

TsSkinManager* ScrollBarTestBase::LoadSkin(int which) {
    if (FManager == nullptr) FManager = Managers->NewManager();
    test::LoadFolderSkin(*FManager, std::string(KORVEX_SOURCE_DIR) + "/skins", SkinNames[which]);
    Pump();
    return FManager;
}

TsScrollBar* ScrollBarTestBase::NewBar(TWinControl* parent, TScrollBarKind kind, const TRect& bounds) {
    auto* bar = Create<TsScrollBar>(parent);
    bar->SetKind(kind);
    bar->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    bar->SetParent(parent);
    Pump();
    return bar;
}

}
