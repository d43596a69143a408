// Window icons: the caption shows the class's icon, else the program's; a top-level window's surface carries
// the program's icons for the window manager.
#include "NonClientFixture.h"

#include "platform/user/Icons.h"
#include "platform/user/NonClientLayout.h"
#include "platform/user/WindowConstants.h"

namespace korvex::user::test {
namespace {

// Icon handles the test's picture source knows: each a picture of one colour and size, alpha straight 255
// except a half-transparent first pixel.
struct FakeIcon {
    HICON Handle;
    int Size;
    COLORREF Color;
};
const FakeIcon ClassSmall {reinterpret_cast<HICON>(std::intptr_t(0x100)), 16, gdi::RGB(200, 30, 40)};
const FakeIcon ProgramSmall {reinterpret_cast<HICON>(std::intptr_t(0x200)), 16, gdi::RGB(20, 160, 60)};
const FakeIcon ProgramLarge {reinterpret_cast<HICON>(std::intptr_t(0x300)), 32, gdi::RGB(30, 60, 220)};
const FakeIcon OwnSmall {reinterpret_cast<HICON>(std::intptr_t(0x400)), 16, gdi::RGB(240, 200, 20)};
const FakeIcon OwnLarge {reinterpret_cast<HICON>(std::intptr_t(0x500)), 32, gdi::RGB(120, 20, 160)};

class WindowIcons : public NonClientFixture {
protected:
    void SetUp() override {
        NonClientFixture::SetUp();
        for (const FakeIcon& icon : {ClassSmall, ProgramSmall, ProgramLarge, OwnSmall, OwnLarge}) {
            gdi::GdiHandle<gdi::Bitmap> picture(gdi::Bitmap::Create(icon.Size, icon.Size, gdi::PixelFormat::pf32bit));
            for (int y = 0; y < icon.Size; ++y)
                for (int x = 0; x < icon.Size; ++x) {
                    gdi::BYTE* p = picture.Get()->ScanLine(y) + x * 4;
                    p[0] = gdi::GetBValue(icon.Color);
                    p[1] = gdi::GetGValue(icon.Color);
                    p[2] = gdi::GetRValue(icon.Color);
                    p[3] = 0xFF;
                }
            gdi::BYTE* first = picture.Get()->ScanLine(0);   // premultiplied by half
            for (int c = 0; c < 4; ++c)
                first[c] = gdi::BYTE((first[c] + 1) / 2);
            Pictures.emplace_back(icon.Handle, std::move(picture));
        }
        SetIconPictureSource([this](HICON handle) -> const gdi::Bitmap* {
            for (auto& [known, picture] : Pictures)
                if (known == handle) return picture.Get();
            return nullptr;
        });
    }
    void TearDown() override {
        SetProgramIcons(nullptr, nullptr);
        SetIconPictureSource(nullptr);
        NonClientFixture::TearDown();
    }

    COLORREF IconCentre(HWND hwnd) {
        const nc::Layout l = nc::LayoutOf(hwnd);
        return WindowPixel(hwnd, (l.Icon.left + l.Icon.right) / 2, (l.Icon.top + l.Icon.bottom) / 2);
    }

    std::vector<std::pair<HICON, gdi::GdiHandle<gdi::Bitmap>>> Pictures;
};

TEST_F(WindowIcons, TheCaptionShowsTheClassIconBeforeTheProgramsIcon) {
    SetProgramIcons(ProgramSmall.Handle, ProgramLarge.Handle);
    HWND hwnd = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(50, 50, 300, 200));
    EXPECT_EQ(IconCentre(hwnd), ProgramSmall.Color);

    SetClassLongPtr(hwnd, GCL_HICONSM, reinterpret_cast<LONG_PTR>(ClassSmall.Handle));
    RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(IconCentre(hwnd), ClassSmall.Color);
}

TEST_F(WindowIcons, ATopLevelSurfaceCarriesTheProgramsIconsWithStraightAlpha) {
    SetProgramIcons(ProgramSmall.Handle, ProgramLarge.Handle);
    CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(50, 50, 300, 200));
    ASSERT_EQ(Screen->StackingOrder().size(), 1u);
    const std::vector<SurfaceIcon>& icons = Screen->Surface(Screen->StackingOrder()[0])->Options.Icons;
    ASSERT_EQ(icons.size(), 2u);
    for (std::size_t i = 0; i < icons.size(); ++i) {
        const FakeIcon& expected = i == 0 ? ProgramSmall : ProgramLarge;
        const std::uint32_t argb = 0xFF000000u | gdi::GetRValue(expected.Color) << 16
            | gdi::GetGValue(expected.Color) << 8 | gdi::GetBValue(expected.Color);
        EXPECT_EQ(icons[i].Width, expected.Size);
        EXPECT_EQ(icons[i].Height, expected.Size);
        ASSERT_EQ(icons[i].Argb.size(), std::size_t(expected.Size * expected.Size));
        EXPECT_EQ(icons[i].Argb.back(), argb);
        // The half-covering pixel has its colour back (within rounding) and half the alpha.
        const std::uint32_t half = icons[i].Argb.front();
        EXPECT_EQ(half >> 24, 0x80u);
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(int(half >> shift & 0xFF), int(argb >> shift & 0xFF), 1) << shift;
    }
}

TEST_F(WindowIcons, WithoutAnyIconTheCaptionShowsAPlainWindowAndTheSurfaceNone) {
    HWND hwnd = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(50, 50, 300, 200));
    EXPECT_EQ(IconCentre(hwnd), GetSysColor(gdi::COLOR_WINDOW));
    EXPECT_TRUE(Screen->Surface(Screen->StackingOrder()[0])->Options.Icons.empty());
}

TEST_F(WindowIcons, SetIconKeepsEachSizeAndHandsBackThePreviousOne) {
    HWND hwnd = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(50, 50, 300, 200));
    auto set = [&](WPARAM which, const FakeIcon* icon) {
        return reinterpret_cast<HICON>(
            SendMessage(hwnd, WM_SETICON, which, reinterpret_cast<LPARAM>(icon ? icon->Handle : nullptr)));
    };
    auto get = [&](WPARAM which) { return reinterpret_cast<HICON>(SendMessage(hwnd, WM_GETICON, which, 0)); };
    EXPECT_EQ(get(ICON_SMALL), nullptr);
    EXPECT_EQ(set(ICON_BIG, &OwnLarge), nullptr);
    EXPECT_EQ(get(ICON_BIG), OwnLarge.Handle);
    EXPECT_EQ(get(ICON_SMALL), nullptr);
    EXPECT_EQ(get(ICON_SMALL2), OwnLarge.Handle);   // the large one stands in
    EXPECT_EQ(set(ICON_SMALL, &OwnSmall), nullptr);
    EXPECT_EQ(get(ICON_SMALL2), OwnSmall.Handle);
    EXPECT_EQ(set(ICON_SMALL, nullptr), OwnSmall.Handle);
    EXPECT_EQ(get(ICON_SMALL), nullptr);
    EXPECT_EQ(get(ICON_BIG), OwnLarge.Handle);
}

TEST_F(WindowIcons, TheCaptionShowsTheWindowsOwnIconThenTheClassIconThenTheProgramsIcon) {
    SetProgramIcons(ProgramSmall.Handle, ProgramLarge.Handle);
    HWND hwnd = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(50, 50, 300, 200));
    SetClassLongPtr(hwnd, GCL_HICONSM, reinterpret_cast<LONG_PTR>(ClassSmall.Handle));
    struct Step {
        WPARAM Which;
        const FakeIcon* Icon;
        COLORREF Shown;
    };
    for (const Step& step : {Step {ICON_BIG, &OwnLarge, OwnLarge.Color}, Step {ICON_SMALL, &OwnSmall, OwnSmall.Color},
             Step {ICON_SMALL, nullptr, OwnLarge.Color}, Step {ICON_BIG, nullptr, ClassSmall.Color}}) {
        SendMessage(hwnd, WM_SETICON, step.Which, reinterpret_cast<LPARAM>(step.Icon ? step.Icon->Handle : nullptr));
        Pump();   // no redraw asked: the message repaints the caption itself
        EXPECT_EQ(IconCentre(hwnd), step.Shown);
    }
}

TEST_F(WindowIcons, TheSurfaceFollowsTheWindowsOwnIconsAfterItIsShownSizeBySize) {
    SetProgramIcons(ProgramSmall.Handle, ProgramLarge.Handle);
    HWND hwnd = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(50, 50, 300, 200));
    // The colour of each icon the window manager is given, smallest first.
    auto shown = [&] {
        std::vector<std::pair<int, std::uint32_t>> icons;
        for (const SurfaceIcon& icon : Screen->Surface(Screen->StackingOrder()[0])->Options.Icons)
            icons.emplace_back(icon.Width, icon.Argb.back() & 0xFFFFFF);
        return icons;
    };
    using Shown = std::vector<std::pair<int, std::uint32_t>>;
    const std::uint32_t programSmall = 0x14A03C, programLarge = 0x1E3CDC, ownSmall = 0xF0C814, ownLarge = 0x7814A0;
    EXPECT_EQ(shown(), (Shown {{16, programSmall}, {32, programLarge}}));
    SendMessage(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(OwnLarge.Handle));
    EXPECT_EQ(shown(), (Shown {{16, programSmall}, {32, ownLarge}}));
    SendMessage(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(OwnSmall.Handle));
    EXPECT_EQ(shown(), (Shown {{16, ownSmall}, {32, ownLarge}}));
    SendMessage(hwnd, WM_SETICON, ICON_BIG, 0);
    SendMessage(hwnd, WM_SETICON, ICON_SMALL, 0);
    EXPECT_EQ(shown(), (Shown {{16, programSmall}, {32, programLarge}}));
}

}
}
