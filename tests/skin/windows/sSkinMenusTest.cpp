// Tests for the skinned menus: hooking, item kinds and sizes, popups drawn from each skin and chosen by mouse
// and keyboard, the popup window's subclass, the popup notification with freed items, the extra line.
#include "support/WindowsKit.h"

#include "platform/classes/PropInfo.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TScreen.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/PngCodec.h"
#include "platform/gdi/Text.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Menus.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sBitmapUtils.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sSkinMenus.h"

#include <cmath>
#include <deque>

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class SkinMenusTest : public FormsTest {
protected:
    void SetUp() override {
        InstallSkinableMenus();
        FormsTest::SetUp();
        Menus = dynamic_cast<TsSkinableMenus*>(Manager->SkinableMenus());
        ASSERT_NE(Menus, nullptr);
    }
    void TearDown() override {
        user::SetMenuLoopIdleHook({});
        ResetPopupCache();
        FormsTest::TearDown();
    }
    TMenuItem* AddItem(TMenuItem* parent, const std::string& caption, TShortCut shortCut = scNone) {
        auto* item = Create<TMenuItem>(parent->GetParentMenu() != nullptr ? static_cast<TComponent*>(parent->GetParentMenu()) : Form);
        item->SetCaption(caption);
        item->SetShortCut(shortCut);
        parent->Add(item);
        return item;
    }
    // "&Open" (default), "&Save" Ctrl+S (checked), a divider, "Fast" and "Slow" (radio, Slow checked),
    // "Disabled", "-Section-", "E&xit".
    TPopupMenu* NewPopup() {
        auto* popup = Create<TPopupMenu>(Form);
        TMenuItem* root = popup->Items();
        AddItem(root, "&Open")->SetDefault(true);
        AddItem(root, "&Save", ShortCut('S', TShiftState {ssCtrl}))->SetChecked(true);
        AddItem(root, "-");
        for (const char* caption : {"Fast", "Slow"}) {
            TMenuItem* item = AddItem(root, caption);
            item->SetRadioItem(true);
            item->SetGroupIndex(1);
        }
        root->Items(4)->SetChecked(true);
        AddItem(root, "Disabled")->SetEnabled(false);
        AddItem(root, "-Section-");
        AddItem(root, "E&xit");
        for (int i = 0; i < root->Count(); ++i) {
            TMenuItem* item = root->Items(i);
            item->OnClick = [this, item](TObject*) { Clicked.push_back(item->Caption()); };
        }
        return popup;
    }
    // Runs the steps one per idle turn of the menu loop; the loop ends when they run out.
    static void Steps(std::deque<std::function<void()>> steps) {
        auto queue = std::make_shared<std::deque<std::function<void()>>>(std::move(steps));
        user::SetMenuLoopIdleHook([queue] {
            if (queue->empty()) return false;
            auto step = std::move(queue->front());
            queue->pop_front();
            step();
            return true;
        });
    }
    TPoint ItemCentre(TMenuItem* item) {
        user::RECT r {};
        EXPECT_TRUE(user::GetMenuItemRect(nullptr, item->Parent()->Handle(), user::UINT(item->MenuIndex()), &r));
        return TPoint {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    TsSkinableMenus* Menus = nullptr;
    std::vector<std::string> Clicked;
};

// The published properties and the event in their order: a written form lists them so.
TEST(SkinMenusPublished, ThePropertiesAndTheEventComeInTheirOrder) {
    std::vector<std::string> names;
    for (const TPropInfo* prop : TsSkinableMenus::StaticClass()->Properties()) names.push_back(prop->Name);
    const std::vector<std::string> want {"Alignment", "BevelWidth", "BorderWidth", "CaptionFont", "SkinBorderWidth",
        "Margin", "Spacing", "OnDrawItem"};
    EXPECT_EQ(names, want);
}

TEST_F(SkinMenusTest, HookingSkinsEveryItemKeepsTheApplicationsHandlersAndUnhookingLeavesThem) {
    UseSkin(0);
    TPopupMenu* popup = NewPopup();
    auto* menu = Create<TMainMenu>(Form);
    TMenuItem* file = AddItem(menu->Items(), "&File");
    TMenuItem* open = AddItem(file, "&Open");
    int ownDraws = 0;
    TMenuItem* own = popup->Items()->Items(0);
    own->OnAdvancedDrawItem = [&](TObject*, TCanvas*, TRect, TOwnerDrawState) { ++ownDraws; };
    int appMeasures = 0;
    file->OnMeasureItem = [&](TObject*, TCanvas*, int&, int&) { ++appMeasures; };

    Menus->SetActive(true);
    EXPECT_TRUE(popup->OwnerDraw());
    EXPECT_TRUE(menu->OwnerDraw());
    EXPECT_FALSE(Menus->IsOwnHandler(own->OnAdvancedDrawItem));   // the application's stays
    EXPECT_TRUE(Menus->IsOwnHandler(own->OnMeasureItem));
    EXPECT_TRUE(Menus->IsOwnHandler(popup->Items()->Items(1)->OnAdvancedDrawItem));
    EXPECT_TRUE(Menus->IsOwnHandler(file->OnMeasureItem));   // top items always get the top handlers
    EXPECT_TRUE(Menus->IsOwnHandler(file->OnAdvancedDrawItem));
    EXPECT_TRUE(Menus->IsOwnHandler(open->OnAdvancedDrawItem));

    Menus->SetActive(false);
    EXPECT_FALSE(popup->OwnerDraw());
    EXPECT_FALSE(menu->OwnerDraw());
    EXPECT_TRUE(own->OnAdvancedDrawItem);
    EXPECT_FALSE(own->OnMeasureItem);
    EXPECT_FALSE(file->OnMeasureItem);
    EXPECT_FALSE(open->OnAdvancedDrawItem);

    // SkinnedPopups off: popups keep their plain look, the main menu is still skinned.
    Manager->SetSkinnedPopups(false);
    Menus->SetActive(true);
    EXPECT_FALSE(popup->OwnerDraw());
    EXPECT_FALSE(popup->Items()->Items(1)->OnAdvancedDrawItem);
    EXPECT_TRUE(menu->OwnerDraw());
    Menus->SetActive(false);
    EXPECT_EQ(ownDraws, 0);
    EXPECT_EQ(appMeasures, 0);
}

TEST_F(SkinMenusTest, HandlersLeftOnItemsDoNothingOnceTheMenusObjectIsGone) {
    UseSkin(1);
    TPopupMenu* popup = NewPopup();
    Menus->SetActive(true);
    TMenuItem* item = popup->Items()->Items(0);
    const TMenuMeasureItemEvent handler = item->OnMeasureItem;
    Manager->Free();   // frees the menus object with it
    Manager = nullptr;
    int width = 7;
    int height = 9;
    TBitmap bmp;
    handler(item, bmp.Canvas(), width, height);
    EXPECT_EQ(width, 7);
    EXPECT_EQ(height, 9);
    EXPECT_FALSE(item->OnMeasureItem);   // the menus were handed back
    EXPECT_FALSE(popup->OwnerDraw());
}

// A skinned popup opens without the system's animation; unhooked it gets its own setting back.
TEST_F(SkinMenusTest, HookingAPopupSwitchesItsAnimationOffAndUnhookingOn) {
    UseSkin(0);
    TPopupMenu* popup = NewPopup();
    popup->SetMenuAnimation(TMenuAnimation {maTopToBottom});
    Menus->HookPopupMenu(popup, true);
    EXPECT_EQ(popup->MenuAnimation(), (TMenuAnimation {maTopToBottom, maNone}));
    Menus->HookPopupMenu(popup, false);
    EXPECT_EQ(popup->MenuAnimation(), TMenuAnimation {maTopToBottom});
}

// An item's own bitmap sets the glyph column of its row (the image list's size or 16 otherwise) and is drawn
// in it, centred in the row's height.
TEST_F(SkinMenusTest, AnItemsOwnBitmapSetsItsGlyphColumnAndIsDrawnThere) {
    UseSkin(1);
    TPopupMenu* popup = NewPopup();
    TMenuItem* open = popup->Items()->Items(0);
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(200, 30);
    int plainW = 0;
    int plainH = 0;
    Menus->MeasureItem(open, target.Canvas(), plainW, plainH);
    TBitmap glyph;
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(24, 20);
    FillRectSolid(&glyph, TRect {0, 0, 24, 20}, TColor(0x0000FF));
    open->SetBitmap(&glyph);
    EXPECT_EQ(Menus->GetGlyphSize(open, false), (TSize {24, 20}));
    EXPECT_EQ(Menus->GetGlyphSize(open, true), (TSize {24, 20}));
    EXPECT_EQ(Menus->GetGlyphSize(popup->Items()->Items(1), false), (TSize {16, 16}));
    EXPECT_EQ(Menus->GetGlyphSize(popup->Items()->Items(1), true), (TSize {0, 0}));
    int w = 0;
    int h = 0;
    Menus->MeasureItem(open, target.Canvas(), w, h);
    EXPECT_EQ(w - plainW, 2 * (24 - 16));   // the glyph column counts twice
    EXPECT_EQ(h, std::max(plainH - 2 * 3, 20) + 2 * 3);
    FillRectSolid(&target, TRect {0, 0, 200, 30}, TColor(0x00FF00));
    Menus->DrawItem(open, target.Canvas(), TRect {0, 0, 200, 28}, {});
    const int d = (28 - 20) / 2;
    const int extra = Menus->ExtraLineWidth(false);
    for (const TPoint p : {TPoint {extra + d, d}, TPoint {extra + d + 23, d + 19}, TPoint {extra + d + 12, d + 10}})
        EXPECT_EQ(target.Canvas()->Pixels(p.x, p.y), TColor(0x0000FF)) << p.x << "," << p.y;
    EXPECT_NE(target.Canvas()->Pixels(extra + d + 24, d + 10), TColor(0x0000FF));
}

TEST_F(SkinMenusTest, ItemKindsAndSizesFollowTheCaptionAndTheMenuFont) {
    UseSkin(0);
    TPopupMenu* popup = NewPopup();
    TMenuItem* root = popup->Items();
    EXPECT_EQ(MenuItemType(root->Items(2)), smDivider);
    EXPECT_EQ(MenuItemType(root->Items(6)), smCaption);
    EXPECT_EQ(MenuItemType(root->Items(0)), smNormal);

    TBitmap bmp;
    TCanvas* canvas = bmp.Canvas();
    canvas->Font()->Assign(Screen->MenuFont());
    const int textHeight = int(std::lround(canvas->TextHeight("W") * 1.25));
    for (const TFontStyles style : {TFontStyles {}, TFontStyles {fsBold}}) {
        Screen->MenuFont()->SetStyle(style);
        int w = 0;
        int h = 0;
        Menus->MeasureItem(root->Items(2), canvas, w, h);
        EXPECT_EQ(h, 2);   // a divider, whatever the font
    }
    int w = 0;
    int h = 0;
    Menus->MeasureItem(root->Items(6), canvas, w, h);
    EXPECT_EQ(w, 2 * 16 + canvas->TextWidth("--Section--") + 3 * 3 + 6);
    EXPECT_EQ(h, textHeight + 2 * 3);
    Menus->MeasureItem(root->Items(0), canvas, w, h);
    EXPECT_EQ(h, std::max(textHeight, 16) + 6);
    EXPECT_EQ(CurrentItemKind(), smNormal);
    EXPECT_EQ(CachedFirstItemId(), root->Items(0)->Command());
    EXPECT_EQ(Menus->PopupItemsHeight(root), 6 * (std::max(textHeight, 16) + 6) + 2 + textHeight + 6);
}

// A top item is as wide as its caption followed by its keys, written in the menu font.
TEST_F(SkinMenusTest, ATopItemIsMeasuredAsWideAsItsCaptionAndKeys) {
    UseSkin(0);
    auto* menu = Create<TMainMenu>(Form);
    TMenuItem* file = AddItem(menu->Items(), "&File");
    TMenuItem* view = AddItem(menu->Items(), "View", ShortCut('V', TShiftState {ssCtrl}));
    TBitmap bmp;
    TCanvas* canvas = bmp.Canvas();
    canvas->Font()->Assign(Screen->MenuFont());
    for (TMenuItem* item : {file, view}) {
        const std::string text = item->Caption() + (item->ShortCut() != scNone ? ShortCutToText(item->ShortCut()) : "");
        int w = 0;
        int h = 0;
        Menus->MeasureTopItem(item, canvas, w, h);
        EXPECT_EQ(w, canvas->TextWidth(text)) << text;
        EXPECT_EQ(h, user::GetSystemMetrics(user::SM_CYMENU) - 1);
        w = 500;   // a wider width asked for stays
        Menus->MeasureTopItem(item, canvas, w, h);
        EXPECT_EQ(w, 500);
    }
    // Only the MDI parent's own icon item is narrow: the name alone does not make it so.
    TMenuItem* named = AddItem(menu->Items(), "Named");
    named->SetName("sMDICII");
    int w = 0;
    int h = 0;
    Menus->MeasureTopItem(named, canvas, w, h);
    EXPECT_EQ(w, canvas->TextWidth("Named"));
}

// Where a popup item's caption and keys land: both centred in the row, the keys ending 8 pixels before the
// item's right edge, also with the extra line shown (shifted left by the band's width they would run over
// the caption's end).
TEST_F(SkinMenusTest, APopupItemsKeysEndBeforeTheRightEdgeOnTheCaptionsLine) {
    UseSkin(1);
    Manager->MenuSupport()->SetUseExtraLine(true);
    TPopupMenu* popup = NewPopup();
    TMenuItem* item = popup->Items()->Items(1);   // "&Save" Ctrl+S
    item->SetChecked(false);
    constexpr int W = 220;
    constexpr int H = 40;
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(W, H);
    auto drawn = [&](const std::string& caption, TShortCut keys) {
        item->SetCaption(caption);
        item->SetShortCut(keys);
        FillRectSolid(&target, TRect {0, 0, W, H}, TColor(0x00FF00));
        Menus->DrawItem(item, target.Canvas(), TRect {0, 0, W, H}, {});
        std::vector<TColor> pixels;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                pixels.push_back(target.Canvas()->Pixels(x, y));
        return pixels;
    };
    struct Ink { int top = H, right = -1; };
    auto inkBetween = [&](const std::vector<TColor>& a, const std::vector<TColor>& b) {
        Ink ink;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (a[std::size_t(y * W + x)] != b[std::size_t(y * W + x)]) {
                    ink.top = std::min(ink.top, y);
                    ink.right = std::max(ink.right, x);
                }
        return ink;
    };
    const auto blank = drawn("", scNone);
    ASSERT_EQ(Menus->ExtraLineWidth(false), 32);
    const Ink caption = inkBetween(drawn("Ctrl+S", scNone), blank);   // the same letters as the keys
    const Ink keys = inkBetween(drawn("", ShortCut('S', TShiftState {ssCtrl})), blank);
    ASSERT_GE(caption.right, 0);
    ASSERT_GE(keys.right, 0);
    EXPECT_EQ(keys.top, caption.top);
    EXPECT_GE(caption.top, 8);   // centred in the 40-pixel row
    EXPECT_LE(keys.right, W - 8);
    EXPECT_GE(keys.right, W - 8 - 4);
    Manager->MenuSupport()->SetUseExtraLine(false);
}

// A popup opened from each skin: its window is subclassed and shaped or framed from the popup picture, the
// items are drawn from the picture; a keyboard choice and a mouse choice click their items; closing it
// forgets the picture.
class SkinMenusEachSkin : public SkinMenusTest, public ::testing::WithParamInterface<int> { };

TEST_P(SkinMenusEachSkin, APopupIsSkinnedChosenByKeyAndMouseAndForgottenWhenClosed) {
    UseSkin(GetParam());
    TPopupMenu* popup = NewPopup();
    Menus->UpdateMenus();
    ASSERT_TRUE(Menus->Active());
    user::HWND window = nullptr;
    bool subclassed = false;
    bool hadPicture = false;
    Steps({[&] {
        window = user::GetOpenMenuWindow(0);
        subclassed = user::GetWindowLongPtr(window, user::GWL_USERDATA) != 0;
        hadPicture = PopupBitmap() != nullptr && Menus->HasPopupState();
        Display->Press(user::VK_DOWN);
    },
        [&] { Display->Press(user::VK_DOWN); }, [&] { Display->Press(user::VK_RETURN); }});
    popup->Popup(100, 100);
    Pump();
    EXPECT_TRUE(subclassed);
    EXPECT_TRUE(hadPicture);
    EXPECT_EQ(PopupBitmap(), nullptr);   // the popup closed
    EXPECT_EQ(CachedFirstItemId(), 0u);
    EXPECT_EQ(Clicked, (std::vector<std::string> {"&Save"}));

    TMenuItem* exitItem = popup->Items()->Items(7);
    Steps({[&] {
        const TPoint p = ItemCentre(exitItem);
        Display->Click(p.x, p.y);
    }});
    popup->Popup(100, 100);
    Pump();
    EXPECT_EQ(Clicked, (std::vector<std::string> {"&Save", "E&xit"}));
}

INSTANTIATE_TEST_SUITE_P(FourSkins, SkinMenusEachSkin, ::testing::Values(0, 1, 2, 3),
    [](const auto& info) { return ctltest::SkinShortName(info.param); });

// Items painted onto a canvas with no window: hot, disabled and normal items look different, the caption row
// draws nothing, and the popup notification carries the item's id.
TEST_F(SkinMenusTest, ItemsDrawnWithoutAWindowPostTheirIdAndShowTheirState) {
    UseSkin(1);
    TPopupMenu* popup = NewPopup();
    TMenuItem* root = popup->Items();
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(200, 30);
    auto drawn = [&](TMenuItem* item, TOwnerDrawState state) {   // the item's pixels, row by row
        FillRectSolid(&target, TRect {0, 0, 200, 30}, TColor(0x00FF00));
        Menus->DrawItem(item, target.Canvas(), TRect {0, 0, 200, 24}, state);
        std::vector<TColor> pixels;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 200; ++x)
                pixels.push_back(target.Canvas()->Pixels(x, y));
        return pixels;
    };
    const auto normal = drawn(root->Items(0), {});
    EXPECT_NE(drawn(root->Items(0), {odSelected}), normal);
    EXPECT_NE(drawn(root->Items(0), {odHotLight}), normal);
    EXPECT_NE(drawn(root->Items(0), {odChecked}), normal);
    root->Items(0)->SetEnabled(false);
    EXPECT_NE(drawn(root->Items(0), {}), normal);
    const auto caption = drawn(root->Items(6), {});   // a caption row draws nothing
    EXPECT_EQ(std::count(caption.begin(), caption.end(), TColor(0x00FF00)), long(caption.size()));

    user::MSG m {};
    ASSERT_TRUE(user::PeekMessage(&m, Application->Handle(), WM_ACPOPUPITEM, WM_ACPOPUPITEM, user::PM_REMOVE));
    EXPECT_EQ(m.lParam, LPARAM(root->Items(0)->Command()));
    EXPECT_FALSE(user::PeekMessage(&m, Application->Handle(), WM_ACPOPUPITEM, WM_ACPOPUPITEM, user::PM_NOREMOVE));
}

// The notification is handled after its popup went: the item was freed, or another popup is cached now.
TEST_F(SkinMenusTest, ThePopupNotificationOfAFreedItemOrAnotherPopupDoesNothing) {
    UseSkin(2);
    TPopupMenu* popup = NewPopup();
    TMenuItem* root = popup->Items();
    TBitmap target;
    target.SetSize(200, 30);
    Menus->DrawItem(root->Items(1), target.Canvas(), TRect {0, 0, 200, 24}, {});
    user::MSG m {};
    ASSERT_TRUE(user::PeekMessage(&m, Application->Handle(), WM_ACPOPUPITEM, WM_ACPOPUPITEM, user::PM_REMOVE));
    const LPARAM id = m.lParam;
    delete root->Items(1);   // freed, as the system menu's skin list is at every popup
    ASSERT_TRUE(Menus->HasPopupState());
    TMessage freed {WM_ACPOPUPITEM, 0, id, 0};
    EXPECT_TRUE(Manager->MainWindowHook(freed));   // handled, nothing done

    TPopupMenu* other = NewPopup();
    Menus->DrawItem(other->Items()->Items(0), target.Canvas(), TRect {0, 0, 200, 24}, {});
    TMessage stale {WM_ACPOPUPITEM, 0, LPARAM(root->Items(0)->Command()), 0};
    EXPECT_TRUE(Manager->MainWindowHook(stale));
    EXPECT_EQ(CachedFirstItemId(), other->Items()->Items(0)->Command());
    ResetPopupCache();
    EXPECT_FALSE(Manager->MainWindowHook(stale));   // no popup state: not handled
}

TEST_F(SkinMenusTest, TheExtraLineAsksOncePerPopupOwnsItsGlyphAndIsReducedByTheSkinBorder) {
    UseSkin(0);
    TPopupMenu* popup = NewPopup();
    TMenuItem* first = popup->Items()->Items(0);
    EXPECT_EQ(Menus->ExtraLineWidth(false), 0);   // UseExtraLine off
    Manager->MenuSupport()->SetUseExtraLine(true);
    int asked = 0;
    Manager->OnGetMenuExtraLineData = [&](TMenuItem*, std::string&, std::string& caption, TBitmap*& glyph, bool&) {
        ++asked;
        caption = "&KORVEX";
        glyph = new TBitmap();   // handed over
        glyph->SetSize(16, 16);
    };
    Menus->PreparePopupBitmap(first, 160, 200, nullptr);
    Menus->PreparePopupBitmap(first, 160, 200, nullptr);
    EXPECT_EQ(asked, 1);
    Menus->SetBorderWidth(3);
    Menus->SetSkinBorderWidth(1);
    EXPECT_EQ(Menus->ExtraLineWidth(false), 32);
    EXPECT_EQ(Menus->ExtraLineWidth(true), 30);
    ResetPopupCache();
    Menus->ReadExtraLineData(first);   // a new popup asks again; the old glyph was freed once
    EXPECT_EQ(asked, 2);
    ResetPopupCache();

    // The skinned system menu's skin list never shows the band.
    first->SetName("SkinSelectItem");
    Menus->ReadExtraLineData(first);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(Menus->ExtraLineWidth(false), 0);
}

// The band's caption font takes its Size as the cell height: the letters written upwards are no wider than it.
TEST_F(SkinMenusTest, TheExtraLineCaptionFontTakesItsSizeAsTheCellHeight) {
    UseSkin(0);
    TPopupMenu* popup = NewPopup();
    TMenuItem* first = popup->Items()->Items(0);
    Manager->MenuSupport()->SetUseExtraLine(true);
    Manager->MenuSupport()->SetExtraLineWidth(80);
    Manager->MenuSupport()->ExtraLineFont()->SetSize(20);
    ASSERT_GE(Manager->GetSkinIndex("EXTRALINE"), 0);
    std::string caption;
    Manager->OnGetMenuExtraLineData = [&](TMenuItem*, std::string&, std::string& text, TBitmap*&, bool&) {
        text = caption;
    };
    auto band = [&](const std::string& text) {
        caption = text;
        ResetPopupCache();
        Menus->PreparePopupBitmap(first, 200, 300, nullptr);
        std::vector<TColor> pixels;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 100; ++x) pixels.push_back(PopupBitmap()->Canvas()->Pixels(x, y));
        return pixels;
    };
    const std::vector<TColor> empty = band("");
    const std::vector<TColor> written = band("HWHWHW");
    gdi::WritePngFile(*PopupBitmap()->Handle(), WindowsPictureDir() + "/Menus_ExtraLine.png");
    int left = 100, right = -1;
    for (std::size_t i = 0; i < written.size(); ++i)
        if (written[i] != empty[i]) {
            left = std::min(left, int(i % 100));
            right = std::max(right, int(i % 100));
        }
    ASSERT_GE(right, left);
    // The same letters written across in the extra line's font made with a cell height of Size.
    gdi::LOGFONT lf = Manager->MenuSupport()->ExtraLineFont()->LogFont();
    lf.lfHeight = 20;
    lf.lfWeight = 400;
    gdi::GdiHandle<gdi::Font> font(gdi::CreateFontIndirect(lf));
    TBitmap across;
    across.SetPixelFormat(pf24bit);
    across.SetSize(200, 60);
    FillRectSolid(&across, TRect {0, 0, 200, 60}, clWhite);
    const gdi::HFONT old = gdi::SelectObject(across.Canvas()->Handle(), font.Get());
    gdi::SetBkMode(across.Canvas()->Handle(), gdi::TRANSPARENT);
    gdi::TextOut(across.Canvas()->Handle(), 4, 4, "HWHWHW");
    gdi::SelectObject(across.Canvas()->Handle(), old);
    int top = 60, bottom = -1;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x)
            if (across.Canvas()->Pixels(x, y) != clWhite) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(bottom, top);
    EXPECT_NEAR(right - left, bottom - top, 1);
}

// A checked radio item takes "RADIOCHECKED", else "BOXCHECKED" as a checked item without "CHECK" does.
TEST_F(SkinMenusTest, ACheckedRadioItemFallsBackToTheBoxCheckMark) {
    UseSkin(1);
    TPopupMenu* popup = NewPopup();
    TMenuItem* item = popup->Items()->Items(3);
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(200, 24);
    auto drawn = [&] {
        Menus->DrawItem(item, target.Canvas(), TRect {0, 0, 200, 24}, {odChecked});
        std::vector<TColor> pixels;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 40; ++x)
                pixels.push_back(target.Canvas()->Pixels(x, y));
        return pixels;
    };
    auto hide = [&](const std::string& name) {
        for (std::size_t i = 0; i < Manager->Masks.size(); ++i)
            if (Manager->Masks[i].ClassName == "GLOBALINFO" && Manager->Masks[i].PropertyName == name)
                Manager->Masks.Rename(i, "GLOBALINFO", "HIDDEN" + name);
    };
    ASSERT_GE(Manager->GetMaskIndexExact("GLOBALINFO", "RADIOCHECKED"), 0);
    const auto radio = drawn();
    hide("RADIOCHECKED");
    const auto radioFallback = drawn();
    item->SetRadioItem(false);
    hide("CHECK");
    const auto checkFallback = drawn();
    EXPECT_NE(radio, radioFallback);
    EXPECT_EQ(radioFallback, checkFallback);
}

// A divider with a divider mask while the skin has no popup section keeps what the item showed.
TEST_F(SkinMenusTest, ADividerWithoutAPopupSectionKeepsTheItemsBackground) {
    UseSkin(0);
    for (std::size_t i = 0; i < Manager->Sections.size(); ++i)
        if (Manager->Sections[i].ClassName == "MAINMENU") Manager->Sections.Rename(i, "NOMAINMENU");
    TPopupMenu* popup = NewPopup();
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(200, 10);
    FillRectSolid(&target, TRect {0, 0, 200, 10}, TColor(0x0000FF));
    Menus->DrawItem(popup->Items()->Items(2), target.Canvas(), TRect {0, 4, 200, 6}, {});
    EXPECT_EQ(target.Canvas()->Pixels(1, 4), TColor(0x0000FF));   // left of the mask, no fill
    EXPECT_EQ(target.Canvas()->Pixels(1, 2), TColor(0x0000FF));
}

}
}
