// Tests for what the form cache holds: the caption text's flags, the own title icon's size, the menu line's
// band and items, a title repaint that leaves the menu line alone, and the client painted for one animated
// child.
#include "support/WindowsKit.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TMenu.h"
#include "platform/user/Menus.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/Window.h"
#include "platform/user/WinPos.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sSkinMenus.h"
#include "skin/windows/sTitleButtons.h"

#include <memory>

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

// A windowless child that counts its paints and fills itself with one colour.
class TPaintCounter : public TGraphicControl {
public:
    explicit TPaintCounter(TComponent* owner)
        : TGraphicControl(owner) { }
    int Paints = 0;
    std::vector<gdi::HDC> Dcs;

protected:
    void Paint() override {
        ++Paints;
        Dcs.push_back(Canvas()->Handle());
        Canvas()->Brush()->SetColor(clLime);
        Canvas()->FillRect(TRect {0, 0, Width(), Height()});
    }
};

class ProviderPaint : public FormsTest {
protected:
    void SetUp() override {
        InstallSkinableMenus();
        FormsTest::SetUp();
    }
    // The columns of the title band where the cache differs from a copy taken before.
    static std::pair<int, int> ChangedColumns(TBitmap* cache, const std::vector<TColor>& before, int band) {
        int first = -1, last = -1;
        for (int x = 0; x < cache->Width(); ++x)
            for (int y = 0; y < band; ++y)
                if (cache->Canvas()->Pixels(x, y) != before[std::size_t(y * cache->Width() + x)]) {
                    if (first < 0) first = x;
                    last = x;
                    break;
                }
        return {first, last};
    }
    static std::vector<TColor> Band(TBitmap* cache, int band) {
        std::vector<TColor> pixels;
        for (int y = 0; y < band; ++y)
            for (int x = 0; x < cache->Width(); ++x)
                pixels.push_back(cache->Canvas()->Pixels(x, y));
        return pixels;
    }
    TMainMenu* AddMenu(TForm* form, const std::vector<std::string>& captions) {
        auto* menu = Create<TMainMenu>(form);
        for (const std::string& caption : captions) {
            auto* item = Create<TMenuItem>(menu);
            item->SetCaption(caption);
            menu->Items()->Add(item);
        }
        form->SetMenuComponent(menu);
        form->Hide();
        form->Show();
        Pump();
        return menu;
    }
};

// A title takes no mnemonics: "&" in a caption, single or paired, shows as typed (a folder "R&D" keeps its
// "&"), not as a marker that is left out.
TEST_F(ProviderPaint, AnAmpersandInTheCaptionShowsAsTyped) {
    UseSkin(1);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, 400);
    TsSkinProvider* p = ProviderOf(form);
    form->SetCaption("");
    Pump();
    const int band = p->CaptionHeight();
    const std::vector<TColor> empty = Band(p->FormCache(), band);
    for (const char* caption : {"WW&&WW", "R&D"}) {
        SCOPED_TRACE(caption);
        form->SetCaption(caption);
        Pump();
        const auto [first, last] = ChangedColumns(p->FormCache(), empty, band);
        ASSERT_GE(first, 0);
        const int typed = p->FormCache()->Canvas()->TextWidth(caption);   // the caption's font stays on the canvas
        const int stripped = p->FormCache()->Canvas()->TextWidth(user::StripMnemonic(caption));
        ASSERT_GT(typed - stripped, 3);
        EXPECT_LE(std::abs((last - first + 1) - typed), 3) << "ink " << first << ".." << last;
    }
}

// An own glyph with no width given is as wide as the header (less 2) asks, and as high as its height says.
TEST_F(ProviderPaint, AnOwnTitleGlyphWithoutAWidthTakesTheHeadersIconSize) {
    UseSkin(1);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, 400);
    AddMenu(form, {"&File"});
    TsSkinProvider* p = ProviderOf(form);
    TBitmap glyph;
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(8, 8);
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(TRect {0, 0, 8, 8});
    TsTitleIcon icon;
    icon.SetGlyph(&glyph);
    icon.SetHeight(14);
    p->SetTitleIcon(&icon);
    p->RefreshFormFrame();
    Pump();
    auto sideFor = [](int h) { return h < 9 ? 0 : h <= 16 ? 8 : h <= 27 ? 16 : 32; };
    const int side = sideFor(p->HeaderHeight() - 2);
    ASSERT_NE(side, sideFor(p->CaptionHeight()));
    const TRect r = p->IconRect();
    TCanvas* cache = p->FormCache()->Canvas();
    EXPECT_EQ(cache->Pixels(r.left + side - 1, r.top + 13), clRed);
    EXPECT_NE(cache->Pixels(r.left + side, r.top + 13), clRed);
    EXPECT_NE(cache->Pixels(r.left + 2, r.top + 14), clRed);
}

// The menu line's section covers the whole width, the frame's side columns too.
TEST_F(ProviderPaint, TheMenuLineBandRunsFromEdgeToEdge) {
    UseSkin(1);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, 400);
    TMainMenu* menu = AddMenu(form, {"&File"});
    ASSERT_NE(menu, nullptr);
    TsSkinProvider* p = ProviderOf(form);
    ASSERT_TRUE(p->MenuPresent());
    const int top = p->CaptionHeight() + p->SysBorderHeight();
    TBitmap* line = p->MenuLineBmp();   // taken from the cache after the section was painted
    ASSERT_GT(line->Width(), 0);
    // A repaint of the section alone over the whole width gives the same columns at the left edge.
    TsSkinManager* manager = p->SkinData()->SkinManager();
    const int index = manager->GetSkinIndex("MENULINE");
    ASSERT_TRUE(manager->IsValidSkinIndex(index));
    TBitmap alone;
    alone.SetPixelFormat(pf24bit);
    alone.SetSize(p->FormCache()->Width(), top + p->MenuHeight());
    PaintSection(index, "MENULINE", EmptyCacheInfo, true, 1, TRect {0, top, alone.Width(), top + p->MenuHeight()},
        TPoint {0, top}, &alone, manager);
    const int y = top + p->MenuHeight() / 2;
    for (int x = 0; x < p->SysBorderWidth(); ++x)
        EXPECT_EQ(p->FormCache()->Canvas()->Pixels(x, y), alone.Canvas()->Pixels(x, y)) << x;
}

// A repaint of the title alone (a skin that keeps the bare title band) does not draw the menu line's items.
TEST_F(ProviderPaint, ARepaintOfTheTitleAloneLeavesTheMenuLine) {
    UseSkin(1);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, 400);
    TMainMenu* menu = AddMenu(form, {"&File"});
    TsSkinProvider* p = ProviderOf(form);
    Manager->Sections[std::size_t(p->SkinData()->SkinIndex)].ReservedBoolean = true;
    p->RefreshFormFrame();
    Pump();
    TMenuItem* file = menu->Items()->Items(0);
    ASSERT_TRUE(file->OnAdvancedDrawItem && file->OnMeasureItem);
    int drawn = 0;
    const auto skinned = file->OnAdvancedDrawItem;
    file->OnAdvancedDrawItem = [&](TObject* sender, TCanvas* canvas, TRect rect, TOwnerDrawState state) {
        ++drawn;
        skinned(sender, canvas, rect, state);
    };
    form->SetCaption("Another title");   // the title band only
    Pump();
    EXPECT_EQ(drawn, 0);
    p->RefreshFormFrame();   // the whole frame
    Pump();
    EXPECT_GE(drawn, 1);
    file->OnAdvancedDrawItem = skinned;
}

// While a child is animated, the form's client paint is that child's alone, over the cache's piece under it.
TEST_F(ProviderPaint, WhileAChildIsAnimatedOnlyItIsPainted) {
    UseSkin(1);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, 400);
    auto* animated = Create<TPaintCounter>(form);
    animated->SetBounds(10, 10, 40, 20);
    animated->SetParent(form);
    auto* other = Create<TPaintCounter>(form);
    other->SetBounds(100, 10, 40, 20);
    other->SetParent(form);
    Pump();
    animated->Paints = other->Paints = 0;
    animated->Dcs.clear();
    form->Perform(SM_SKINCMD, SkinCommandWParam(SMC_SETANIMCHILD), LPARAM(animated));
    user::InvalidateRect(form->WindowHandle(), nullptr, false);
    user::UpdateWindow(form->WindowHandle());
    form->Perform(SM_SKINCMD, SkinCommandWParam(SMC_SETANIMCHILD), 0);
    EXPECT_EQ(animated->Paints, 1);
    EXPECT_EQ(other->Paints, 0);
    user::InvalidateRect(form->WindowHandle(), nullptr, false);
    user::UpdateWindow(form->WindowHandle());
    EXPECT_EQ(other->Paints, 1);   // once the animation is over, all of them again
}

}
}

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

// A skin whose restore picture lies in the form's own section, not in "GLOBALINFO": a maximized form's
// maximize button shows it from there, as it shows the "GLOBALINFO" one.
TEST_F(ProviderPaint, TheRestorePictureIsTakenFromTheFormsSectionWhenGlobalInfoHasNone) {
    UseSkin(1);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, 400);
    TsSkinProvider* p = ProviderOf(form);
    auto maximized = [&] {
        form->SetWindowState(wsMaximized);
        Pump();
        p->RefreshFormFrame();
        Pump();
        const TRect r = p->CaptionButton(cbMaximize).Rect;
        std::vector<TColor> pixels;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                pixels.push_back(p->FormCache()->Canvas()->Pixels(x, y));
        form->SetWindowState(wsNormal);
        Pump();
        return pixels;
    };
    const std::vector<TColor> fromGlobal = maximized();
    const int mask = Manager->GetMaskIndex(Manager->GetSkinIndex("GLOBALINFO"), "GLOBALINFO", "BICONNORM");
    ASSERT_TRUE(Manager->IsValidImgIndex(mask));
    ASSERT_FALSE(Manager->IsValidImgIndex(
        Manager->GetMaskIndex(p->SkinData()->SkinIndex, p->SkinData()->SkinSection(), "BICONNORM")));
    Manager->Masks.Rename(std::size_t(mask), p->SkinData()->SkinSection(), "BICONNORM");
    const std::vector<TColor> fromOwn = maximized();
    Manager->Masks.Rename(std::size_t(mask), "GLOBALINFO", "BICONNORM");
    EXPECT_EQ(fromOwn, fromGlobal);
}

// A form narrower than its first menu item: the native bar keeps that item on its first row, and so does the
// menu line (a row left empty above it would lie over the client area).
TEST_F(ProviderPaint, AFirstMenuItemWiderThanTheFormStaysOnTheFirstRow) {
    UseSkin(1);
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, 60);
    TMainMenu* menu = AddMenu(form, {"&A very long first menu caption", "&Help"});
    TsSkinProvider* p = ProviderOf(form);
    TMenuItem* first = menu->Items()->Items(0);
    ASSERT_TRUE(first->OnAdvancedDrawItem);
    user::RECT native {};
    ASSERT_TRUE(user::GetMenuItemRect(form->WindowHandle(), menu->Handle(), 0, &native));
    ASSERT_GT(native.right - native.left, form->Width());
    TRect drawn {};
    const auto skinned = first->OnAdvancedDrawItem;
    first->OnAdvancedDrawItem = [&](TObject* sender, TCanvas* canvas, TRect rect, TOwnerDrawState state) {
        drawn = rect;
        skinned(sender, canvas, rect, state);
    };
    p->RefreshFormFrame();
    Pump();
    first->OnAdvancedDrawItem = skinned;
    EXPECT_EQ(drawn.top, native.top - p->FormLeftTop().y);
    EXPECT_EQ(drawn.top, p->CaptionHeight() + p->SysBorderHeight());
}

}
}

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;
namespace fs = std::filesystem;

// A form without a border that has a sizing frame: its frame is four strips from the cache, the client is left
// as it was.
TEST_F(ProviderPaint, ASizingFrameWithoutABorderIsFourStripsFromTheCache) {
    UseSkin(1);
    TForm* form = NewSkinnedForm(bsNone, {biSystemMenu}, 200, 120);
    const user::HWND hwnd = form->WindowHandle();
    user::SetWindowLong(hwnd, user::GWL_STYLE, user::GetWindowLong(hwnd, user::GWL_STYLE) | user::WS_THICKFRAME);
    user::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
        user::SWP_NOMOVE | user::SWP_NOSIZE | user::SWP_NOZORDER | user::SWP_NOACTIVATE | user::SWP_FRAMECHANGED);
    Pump();
    TsSkinProvider* p = ProviderOf(form);
    ASSERT_GT(form->Width() - form->ClientWidth(), 0);
    TBitmap* cache = p->FormCache();
    ASSERT_EQ(cache->Width(), form->Width());
    ASSERT_EQ(cache->Height(), form->Height());
    cache->Canvas()->Brush()->SetColor(clLime);
    cache->Canvas()->FillRect(TRect {0, 0, cache->Width(), cache->Height()});
    const int w = form->Width(), h = form->Height();
    const TPoint client = form->ClientToScreen(TPoint {form->ClientWidth() / 2, form->ClientHeight() / 2});
    user::FlushDisplay();
    const gdi::COLORREF clientBefore = Display->ScreenPixel(client.x, client.y);
    ASSERT_NE(clientBefore, gdi::COLORREF(clLime));
    form->Perform(user::WM_NCPAINT, 0, 0);
    user::FlushDisplay();
    struct Spot {
        const char* strip;
        int x, y;
    };
    for (const Spot s : {Spot {"top", w / 2, 1}, Spot {"left", 1, h / 2}, Spot {"bottom", w / 2, h - 2},
             Spot {"right", w - 2, h / 2}, Spot {"top, third column", w / 3, 2}, Spot {"left, inner column", 2, h / 3}})
        EXPECT_EQ(WindowPixel(form, s.x, s.y), gdi::COLORREF(clLime)) << s.strip;
    EXPECT_EQ(Display->ScreenPixel(client.x, client.y), clientBefore);
}

// Two skins that both keep the bare title band: after the change the frame is the new skin's whole frame (the
// refresh that follows a new skin drops the old skin's band before anything is painted).
class ProviderTitleBand : public ProviderPaint {
protected:
    void TearDown() override {
        ProviderPaint::TearDown();
        std::error_code ignored;
        fs::remove_all(Root, ignored);
    }
    // A copy of one of our skins whose form section sets RESERVEDBOOLEAN.
    void CopyKeepingTheTitleBand(const std::string& name) {
        const fs::path from = fs::path(KORVEX_SOURCE_DIR) / "skins" / name;
        const fs::path to = Root / name;
        fs::create_directories(to);
        for (const auto& entry : fs::directory_iterator(from))
            fs::copy_file(entry.path(), to / entry.path().filename(), fs::copy_options::overwrite_existing);
        std::ifstream in(to / "Options.dat", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        in.close();
        std::string options = text.str();
        const std::size_t form = options.find("[FORM]");
        ASSERT_NE(form, std::string::npos);
        const std::size_t key = options.find("RESERVEDBOOLEAN=FALSE", form);
        ASSERT_NE(key, std::string::npos);
        ASSERT_LT(key, options.find("\n[", form + 1));
        options.replace(key, 21, "RESERVEDBOOLEAN=TRUE");
        std::ofstream(to / "Options.dat", std::ios::binary | std::ios::trunc) << options;
    }
    fs::path Root = fs::temp_directory_path() / ("korvex-titleband-" + std::to_string(::getpid()));
};

TEST_F(ProviderTitleBand, ASkinChangeShowsTheNewSkinsWholeFrameThoughBothKeepTheTitleBand) {
    CopyKeepingTheTitleBand(ctltest::OurSkins[0]);
    CopyKeepingTheTitleBand(ctltest::OurSkins[1]);
    test::LoadFolderSkin(*Manager, Root.string(), ctltest::OurSkins[0]);
    Pump();
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, 300);
    TsSkinProvider* p = ProviderOf(form);
    ASSERT_TRUE(Manager->Sections[std::size_t(p->SkinData()->SkinIndex)].ReservedBoolean);
    p->RefreshFormFrame();
    Pump();
    test::LoadFolderSkin(*Manager, Root.string(), ctltest::OurSkins[1]);
    Pump();
    ASSERT_TRUE(Manager->Sections[std::size_t(p->SkinData()->SkinIndex)].ReservedBoolean);
    auto pixels = [&] {
        std::vector<TColor> all;
        TBitmap* cache = p->FormCache();
        for (int y = 0; y < cache->Height(); ++y)
            for (int x = 0; x < cache->Width(); ++x)
                all.push_back(cache->Canvas()->Pixels(x, y));
        return all;
    };
    const std::vector<TColor> afterChange = pixels();
    p->RefreshFormFrame();   // the whole frame of the new skin
    Pump();
    const std::vector<TColor> rebuilt = pixels();
    ASSERT_EQ(afterChange.size(), rebuilt.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < rebuilt.size(); ++i)
        if (afterChange[i] != rebuilt[i]) ++differing;
    EXPECT_EQ(differing, 0u);
}

}
}
