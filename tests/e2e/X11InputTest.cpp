// The x11 display's input on Xvfb: clicks, wheel, leave, grabs, keys with text and focus, the clipboard.
#include "platform/user/display/x11/X11Display.h"
#include "support/X11TestKit.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#undef None
#undef CursorShape

#include <atomic>
#include <thread>

using namespace korvex;
using namespace korvex::e2e;
using user::InputKind;
using user::MouseButton;

namespace {

constexpr unsigned VkShift = 0x10, VkReturn = 0x0D, VkF5 = 0x74, VkDelete = 0x2E, VkOem1 = 0xBA;

}

TEST_F(X11Fixture, ClicksAndWheelArriveAtTheirScreenPositionWithModifiers) {
    ShowSurface(1, gdi::Bounds(100, 100, 200, 100));
    ASSERT_TRUE(Xdo({"mousemove", "130", "150", "click", "1", "click", "4", "keydown", "shift", "click", "3", "click",
        "5", "keyup", "shift"}));
    std::vector<user::InputEvent> presses;
    ASSERT_TRUE(Pump([&] {
        presses.clear();
        for (const auto& in : Sink.Inputs)
            if (in.Kind == InputKind::ButtonDown || in.Kind == InputKind::ButtonUp || in.Kind == InputKind::Wheel)
                presses.push_back(in);
        return presses.size() >= 6;
    })) << Sink.Describe();
    ASSERT_EQ(presses.size(), 6u);   // wheel notches give no release
    EXPECT_EQ(presses[0].Kind, InputKind::ButtonDown);
    EXPECT_EQ(presses[0].Button, MouseButton::Left);
    EXPECT_EQ(presses[0].Surface, 1u);
    EXPECT_EQ(presses[0].ScreenPos, (gdi::POINT {130, 150}));
    EXPECT_EQ(presses[0].Modifiers, 0u);
    EXPECT_EQ(presses[1].Kind, InputKind::ButtonUp);
    EXPECT_GE(presses[1].TimeMs, presses[0].TimeMs);
    EXPECT_EQ(presses[2].Kind, InputKind::Wheel);
    EXPECT_EQ(presses[2].WheelDelta, 120);
    EXPECT_EQ(presses[3].Button, MouseButton::Right);
    EXPECT_EQ(presses[3].Modifiers, user::ModShift);
    EXPECT_EQ(presses[5].WheelDelta, -120);
}

TEST_F(X11Fixture, LeaveComesOnlyWhenThePointerLeavesEverySurface) {
    ShowSurface(1, gdi::Bounds(0, 0, 100, 100));
    ShowSurface(2, gdi::Bounds(100, 0, 100, 100));
    ASSERT_TRUE(Xdo({"mousemove", "50", "50"}));
    ASSERT_TRUE(Pump([&] { return !Sink.Inputs.empty() && Sink.Inputs.back().Surface == 1; }));
    ASSERT_TRUE(Xdo({"mousemove", "150", "50"}));
    ASSERT_TRUE(Pump([&] { return !Sink.Inputs.empty() && Sink.Inputs.back().Surface == 2; }));
    EXPECT_EQ(Sink.FindInput(InputKind::Leave), nullptr);
    ASSERT_TRUE(Xdo({"mousemove", "500", "500"}));
    ASSERT_TRUE(Pump([&] { return Sink.FindInput(InputKind::Leave) != nullptr; }));
    EXPECT_EQ(Sink.FindInput(InputKind::Leave)->Surface, 2u);
}

TEST_F(X11Fixture, GrabbedPointerReportsClicksOutsideToTheGrabbingSurface) {
    ShowSurface(1, gdi::Bounds(0, 0, 100, 100));
    ASSERT_TRUE(Xdo({"mousemove", "50", "50"}));
    Screen->GrabPointer(1, true);
    ASSERT_TRUE(Xdo({"mousemove", "400", "300", "click", "1"}));
    ASSERT_TRUE(Pump([&] { return Sink.FindInput(InputKind::ButtonDown) != nullptr; }));
    const user::InputEvent* down = Sink.FindInput(InputKind::ButtonDown);
    EXPECT_EQ(down->Surface, 1u);
    EXPECT_EQ(down->ScreenPos, (gdi::POINT {400, 300}));

    Screen->GrabPointer(1, false);
    size_t seen = Sink.Inputs.size();
    ASSERT_TRUE(Xdo({"click", "1", "mousemove", "60", "60"}));
    ASSERT_TRUE(Pump([&] { return Sink.FindInput(InputKind::MouseMove, seen) != nullptr; }));
    EXPECT_EQ(Sink.FindInput(InputKind::ButtonDown, seen), nullptr) << Sink.Describe();   // outside: not ours
}

TEST_F(X11Fixture, KeysArriveWithVirtualKeysAndTheirText) {
    ShowSurface(1, gdi::Bounds(0, 0, 100, 100));
    Screen->ActivateSurface(1);
    ASSERT_TRUE(Pump([&] { return !Sink.Focus.empty(); }));
    EXPECT_EQ(Sink.Focus[0], (std::pair<user::SurfaceId, bool> {1, true}));

    ASSERT_TRUE(Xdo({"key", "a", "shift+b", "F5", "Return", "Delete", "ctrl+c", "semicolon", "shift+1"}));
    auto downs = [&] {
        std::vector<user::InputEvent> keys;
        for (const auto& in : Sink.Inputs)
            if (in.Kind == InputKind::KeyDown) keys.push_back(in);
        return keys;
    };
    ASSERT_TRUE(Pump([&] { return downs().size() >= 11; }));
    auto keys = downs();
    struct Expected {
        unsigned VirtualKey;
        const char* Text;
        unsigned Modifiers;
    };
    const Expected expected[] = {
        {'A', "a", 0}, {VkShift, "", 0}, {'B', "B", user::ModShift}, {VkF5, "", 0}, {VkReturn, "\r", 0},
        {VkDelete, "", 0},   // no character, unlike X's DEL
        {0x11, "", 0}, {'C', "\x03", user::ModControl}, {VkOem1, ";", 0}, {VkShift, "", 0},
        {'1', "!", user::ModShift},   // the shifted symbol has no key code of its own
    };
    ASSERT_EQ(keys.size(), std::size(expected));
    for (size_t i = 0; i < keys.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(keys[i].VirtualKey, expected[i].VirtualKey);
        EXPECT_EQ(keys[i].Text, expected[i].Text);
        EXPECT_EQ(keys[i].Modifiers, expected[i].Modifiers);
        EXPECT_EQ(keys[i].Surface, 1u);
    }
    const user::InputEvent* up = Sink.FindInput(InputKind::KeyUp);
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(up->VirtualKey, unsigned('A'));
    EXPECT_TRUE(up->Text.empty());
}

TEST_F(X11Fixture, CyrillicLayoutTypesCyrillicLettersWithTheLatinKeyCodes) {
    // Two keys get a second, Cyrillic group (as a us,ru layout has), and the keyboard is switched to it.
    ::Display* keyboard = XOpenDisplay(ServerName().c_str());
    ASSERT_TRUE(keyboard);
    KeySym ef[] = {XK_a, XK_A, XK_Cyrillic_ef, XK_Cyrillic_EF};
    KeySym ya[] = {XK_z, XK_Z, XK_Cyrillic_ya, XK_Cyrillic_YA};
    XChangeKeyboardMapping(keyboard, XKeysymToKeycode(keyboard, XK_a), 4, ef, 1);
    XChangeKeyboardMapping(keyboard, XKeysymToKeycode(keyboard, XK_z), 4, ya, 1);
    XkbLockGroup(keyboard, XkbUseCoreKbd, 1);
    XSync(keyboard, False);
    XCloseDisplay(keyboard);

    ShowSurface(1, gdi::Bounds(0, 0, 100, 100));
    Screen->ActivateSurface(1);
    ASSERT_TRUE(Pump([&] { return !Sink.Focus.empty(); }));
    ASSERT_TRUE(Xdo({"key", "Cyrillic_ef", "Cyrillic_YA"}));
    std::vector<user::InputEvent> letters;
    ASSERT_TRUE(Pump([&] {
        letters.clear();
        for (const auto& in : Sink.Inputs)
            if (in.Kind == InputKind::KeyDown && !in.Text.empty()) letters.push_back(in);
        return letters.size() >= 2;
    })) << Sink.Describe();
    EXPECT_EQ(letters[0].Text, "ф");
    EXPECT_EQ(letters[0].VirtualKey, unsigned('A'));
    EXPECT_EQ(letters[1].Text, "Я");
    EXPECT_EQ(letters[1].VirtualKey, unsigned('Z'));
}

TEST_F(X11Fixture, ClipboardTextPassesBetweenClientsBothWays) {
    auto other = Open();
    ASSERT_TRUE(other);
    EXPECT_EQ(Screen->ClipboardText(), "");   // nobody owns it yet

    // The owner must answer while the reader waits, so one of the two runs on a thread of its own.
    other->SetClipboardText("Узел 3: 42 %");
    std::atomic<bool> done = false;
    std::thread owner([&] {
        PumpUntil(
            *other, [&] { return done.load(); }, 5000);
    });
    std::string read = Screen->ClipboardText();
    done = true;
    owner.join();
    EXPECT_EQ(read, "Узел 3: 42 %");

    Screen->SetClipboardText("back again");
    EXPECT_EQ(Screen->ClipboardText(), "back again");   // our own, without asking the server
    done = false;
    std::thread reader([&] {
        read = other->ClipboardText();
        done = true;
    });
    PumpUntil(
        *Screen, [&] { return done.load(); }, 5000);
    reader.join();
    EXPECT_EQ(read, "back again");
}

TEST_F(X11Fixture, AConfinedPointerStaysInsideItsRectangleThroughCaptureUntilFreed) {
    ShowSurface(1, gdi::Bounds(100, 100, 200, 200));
    ASSERT_TRUE(Xdo({"mousemove", "150", "150"}));
    const gdi::RECT field = gdi::Bounds(120, 130, 40, 30);
    Screen->ConfinePointer(&field);
    auto inField = [&] {
        const gdi::POINT p = Screen->CursorPos();
        return p.x >= field.left && p.x < field.right && p.y >= field.top && p.y < field.bottom;
    };
    EXPECT_TRUE(Pump(inField)) << Screen->CursorPos().x << "," << Screen->CursorPos().y;   // warped inside
    for (const char* to : {"500", "5"}) {
        ASSERT_TRUE(Xdo({"mousemove", to, to}));
        ASSERT_TRUE(Xdo({"mousemove_relative", "--", "0", "0"}));   // the move has been handled
        EXPECT_TRUE(inField()) << to;
    }
    // Capture taken and given back while confined leaves the confinement.
    Screen->GrabPointer(1, true);
    Screen->GrabPointer(1, false);
    ASSERT_TRUE(Xdo({"mousemove", "600", "600"}));
    ASSERT_TRUE(Xdo({"mousemove_relative", "--", "0", "0"}));
    EXPECT_TRUE(inField());

    Screen->ConfinePointer(nullptr);
    ASSERT_TRUE(Xdo({"mousemove", "600", "500"}));
    EXPECT_TRUE(Pump([&] { return Screen->CursorPos() == gdi::POINT {600, 500}; }));
}
