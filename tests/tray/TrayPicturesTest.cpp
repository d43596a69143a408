// The program's tray icon frames: every set at every size, read from the embedded files, shown in the tray.
#include "support/TrayTestKit.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TIcon.h"
#include "tray/TrayPictures.h"

#include <cstdlib>
#include <cstring>

namespace korvex::tray::test {

namespace {

using namespace classes;
using TrayPictures = TrayTest;

struct SetCase {
    TTrayPictureSet Set;
    int Frames;
};

class EverySetAndSize : public TrayTest, public ::testing::WithParamInterface<std::tuple<SetCase, int>> { };

TEST_P(EverySetAndSize, LoadsEveryFrameWithATransparentCornerAndAnOpaqueMiddle) {
    auto [set, size] = GetParam();
    auto* list = Create<TImageList>(Application);
    ASSERT_TRUE(LoadTrayPictures(list, set.Set, size));
    EXPECT_EQ(list->Count(), set.Frames);
    EXPECT_EQ(list->Width(), size);
    for (int frame = 0; frame < list->Count(); ++frame) {
        TIcon icon;
        ASSERT_TRUE(list->GetIcon(frame, &icon));
        const gdi::Bitmap* image = icon.Image();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->ScanLine(0)[3], 0) << "frame " << frame;   // the top-left corner is clear
        EXPECT_EQ(image->ScanLine(size / 2)[(size / 2) * 4 + 3], 255) << "frame " << frame;
    }
}

INSTANTIATE_TEST_SUITE_P(TrayPictures, EverySetAndSize,
    ::testing::Combine(::testing::Values(SetCase {TTrayPictureSet::Normal, 4}, SetCase {TTrayPictureSet::Busy, 8},
                           SetCase {TTrayPictureSet::Viewer, 6}),
        ::testing::Values(16, 22, 32, 20)));

TEST_F(TrayPictures, TheAnimationFramesDifferFromEachOther) {
    auto* list = Create<TImageList>(Application);
    ASSERT_TRUE(LoadTrayPictures(list, TTrayPictureSet::Busy, 22));
    TIcon first, second;
    list->GetIcon(0, &first);
    list->GetIcon(1, &second);
    bool differ = false;
    for (int y = 0; y < 22 && !differ; ++y)
        differ = std::memcmp(first.Image()->ScanLine(y), second.Image()->ScanLine(y), 22 * 4) != 0;
    EXPECT_TRUE(differ);
}

TEST_F(TrayPictures, ASlotTakesTheBiggestDrawingThatFits) {
    EXPECT_EQ(TrayPictureSizeFor(12), 16);
    EXPECT_EQ(TrayPictureSizeFor(16), 16);
    EXPECT_EQ(TrayPictureSizeFor(24), 22);
    EXPECT_EQ(TrayPictureSizeFor(48), 32);
}

TEST_F(TrayPictures, TheTrayShowsTheProgramsIconAndItsBusyAnimation) {
    TTrayIcon* icon = NewIcon();
    auto* normal = Create<TImageList>(Application);
    auto* busy = Create<TImageList>(Application);
    int size = TrayPictureSizeFor(user::NotifyIconSize());
    ASSERT_TRUE(LoadTrayPictures(normal, TTrayPictureSet::Normal, size));
    ASSERT_TRUE(LoadTrayPictures(busy, TTrayPictureSet::Busy, size));
    icon->SetIconList(normal);
    icon->SetHint("Local host - 42%");
    icon->SetIconVisible(true);
    Pump();
    user::POINT c = IconCentre(icon);
    gdi::COLORREF disc = Display->ScreenPixel(c.x, c.y + 6);
    EXPECT_GT(gdi::GetBValue(disc), gdi::GetRValue(disc));   // the blue emblem, below its chain
    const char* folder = std::getenv("KORVEX_SCREENSHOTS");
    user::RECT panel = gdi::Rect(c.x - 60, c.y - 20, Display->ScreenSize().cx, Display->ScreenSize().cy);
    if (folder != nullptr) Display->WriteScreenshotPng(std::string(folder) + "/tray-normal.png", &panel);
    icon->SetIconList(busy);
    icon->SetCycleInterval(100);
    icon->SetCycleIcons(true);
    for (int i = 0; i < 3; ++i)
        Advance(100);
    EXPECT_EQ(icon->IconIndex(), 3);
    if (folder != nullptr) Display->WriteScreenshotPng(std::string(folder) + "/tray-busy.png", &panel);
}

}   // namespace

}
