// The headless display on its own: composition in stacking order with shapes and alpha, input reports, PNG shots.
#include "platform/user/display/headless/HeadlessDisplay.h"

#include "platform/gdi/PngCodec.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

namespace korvex::user {

namespace {

struct RecordingSink : DisplaySink {
    std::vector<InputEvent> Events;
    std::vector<std::pair<SurfaceId, bool>> Focus;
    SurfaceId Closed = 0;
    void OnInput(const InputEvent& e) override { Events.push_back(e); }
    void OnExpose(SurfaceId, const gdi::RECT&) override { }
    void OnCloseRequest(SurfaceId id) override { Closed = id; }
    void OnMovedByUser(SurfaceId, const gdi::RECT&) override { }
    void OnStateChanged(SurfaceId, SurfaceState) override { }
    void OnFocusChanged(SurfaceId id, bool focused) override { Focus.push_back({id, focused}); }
};

std::unique_ptr<gdi::Bitmap, void (*)(gdi::Bitmap*)> Solid(int w, int h, gdi::COLORREF color) {
    gdi::Bitmap* b = gdi::Bitmap::Create(w, h, gdi::PixelFormat::pf32bit);
    b->Fill(color);
    return {b, [](gdi::Bitmap* x) { gdi::DeleteObject(x); }};
}

SurfaceOptions At(int x, int y, int w, int h) {
    SurfaceOptions o;
    o.Bounds = gdi::Bounds(x, y, w, h);
    return o;
}

TEST(HeadlessDisplay, ComposesSurfacesInStackingOrderHonouringShapes) {
    HeadlessDisplay d(100, 100, 10);
    EXPECT_EQ(d.WorkArea(), (gdi::RECT {0, 0, 100, 90}));
    d.CreateSurface(1, At(0, 0, 50, 50));
    d.CreateSurface(2, At(25, 25, 50, 50));
    auto red = Solid(50, 50, gdi::RGB(255, 0, 0));
    auto blue = Solid(50, 50, gdi::RGB(0, 0, 255));
    d.Present(1, *red, {gdi::RECT {0, 0, 50, 50}});
    d.Present(2, *blue, {gdi::RECT {0, 0, 50, 50}});
    EXPECT_EQ(d.ScreenPixel(30, 30), HeadlessDisplay::DesktopColor);   // nothing shown yet
    d.ShowSurface(1, true);
    d.ShowSurface(2, true);
    EXPECT_EQ(d.ScreenPixel(30, 30), gdi::RGB(0, 0, 255));
    d.RaiseSurface(1, 0);
    EXPECT_EQ(d.ScreenPixel(30, 30), gdi::RGB(255, 0, 0));
    gdi::Region shape(gdi::BandedRegion(gdi::RECT {0, 0, 10, 10}));
    d.SetSurfaceShape(1, &shape);
    EXPECT_EQ(d.ScreenPixel(30, 30), gdi::RGB(0, 0, 255));
    EXPECT_EQ(d.ScreenPixel(5, 5), gdi::RGB(255, 0, 0));
    d.RaiseSurface(2, 1);   // just below surface 1
    EXPECT_EQ(d.StackingOrder(), (std::vector<SurfaceId> {2, 1}));
    d.DestroySurface(1);
    EXPECT_EQ(d.ScreenPixel(5, 5), HeadlessDisplay::DesktopColor);
    EXPECT_EQ(d.ScreenPixel(100, 5), gdi::CLR_INVALID);
}

TEST(HeadlessDisplay, PresentCopiesOnlyTheDirtyRectangles) {
    HeadlessDisplay d(100, 100, 0);
    d.CreateSurface(1, At(0, 0, 20, 20));
    d.ShowSurface(1, true);
    auto red = Solid(20, 20, gdi::RGB(255, 0, 0));
    auto blue = Solid(20, 20, gdi::RGB(0, 0, 255));
    d.Present(1, *red, {gdi::RECT {0, 0, 20, 20}});
    d.Present(1, *blue, {gdi::RECT {0, 0, 5, 5}});
    EXPECT_EQ(d.ScreenPixel(4, 4), gdi::RGB(0, 0, 255));
    EXPECT_EQ(d.ScreenPixel(5, 5), gdi::RGB(255, 0, 0));
}

TEST(HeadlessDisplay, InjectedInputCarriesTheDisplayClockAndTheSurfaceUnderThePointer) {
    HeadlessDisplay d(100, 100, 0);
    RecordingSink sink;
    d.SetSink(&sink);
    d.CreateSurface(7, At(10, 10, 20, 20));
    d.ShowSurface(7, true);
    d.SetTimeMs(5000);
    d.Click(15, 15);
    d.AdvanceTimeMs(30);
    d.Press('A', "a", ModShift);
    ASSERT_EQ(sink.Events.size(), 5u);
    EXPECT_EQ(sink.Events[0].Kind, InputKind::MouseMove);
    EXPECT_EQ(sink.Events[1].Kind, InputKind::ButtonDown);
    EXPECT_EQ(sink.Events[1].Surface, 7u);
    EXPECT_EQ(sink.Events[1].TimeMs, 5000u);
    EXPECT_EQ(sink.Events[3].Text, "a");
    EXPECT_EQ(sink.Events[3].Modifiers, ModShift);
    EXPECT_EQ(sink.Events[3].TimeMs, 5030u);
    d.RequestClose(7);
    EXPECT_EQ(sink.Closed, 7u);
    d.FocusSurface(7);
    d.FocusSurface(0);
    EXPECT_EQ(sink.Focus, (std::vector<std::pair<SurfaceId, bool>> {{7, true}, {7, false}}));
}

TEST(HeadlessDisplay, ScreenshotsAreWrittenAsPng) {
    HeadlessDisplay d(40, 30, 0);
    auto path = std::filesystem::temp_directory_path() / "korvex-headless-shot.png";
    ASSERT_TRUE(d.WriteScreenshotPng(path.string()));
    auto image = gdi::ReadPngFile(path.string());
    std::filesystem::remove(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image.Image.Get()->Width(), 40);
    EXPECT_EQ(image.Image.Get()->PixelAt(0, 0), HeadlessDisplay::DesktopColor);
}

}   // namespace

}
