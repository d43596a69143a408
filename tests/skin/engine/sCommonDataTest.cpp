// TsCommonData: sections and indexes, the hot rule, the skin command answers, the shared window messages,
// the parent's cache and the bound label.
#include "support/PixelFixtures.h"
#include "support/SkinControlsKit.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "skin/engine/sBackground.h"
#include "skin/engine/sBoundLabel.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;
using korvex::skin::pixeltest::Px;

namespace {

class CommonDataTest : public SkinControlsTest {
protected:
    void SetUp() override {
        SkinControlsTest::SetUp();
        Form = NewForm(300, 200);
        Skin = std::make_unique<CodeSkin>();
        PanelIndex = Skin->AddSection("PANEL", 0x336699);
        Skin->AddSection("EDIT", 0xFFFFFF);
        Panel = Create<TTestPanel>(Form);
        Panel->SetParent(Form);
    }
    void TearDown() override {
        Skin.reset();
        SkinControlsTest::TearDown();
    }
    TForm* Form = nullptr;
    std::unique_ptr<CodeSkin> Skin;
    int PanelIndex = -1;
    TTestPanel* Panel = nullptr;
};

TEST_F(CommonDataTest, EmptySectionIsStoredAsUnknownAndTheOwnerHearsOfTheRemovedSkin) {
    Panel->SkinData->SetSkinSection("PANEL");
    ASSERT_EQ(Panel->SkinData->SkinIndex, PanelIndex);
    Panel->SkinData->Updating = false;
    Panel->SkinData->SetSkinSection("");
    EXPECT_EQ(Panel->SkinData->SkinSection(), "UNKNOWN");
    EXPECT_EQ(Panel->SkinData->SkinIndex, -1);
    EXPECT_TRUE(Panel->SkinData->Updating);   // code 2 reached the owner's state
    EXPECT_EQ(Panel->SkinData->CacheBmp()->Width(), 0);
}

TEST_F(CommonDataTest, TheDefaultManagerIsStoredAsNone) {
    Panel->SkinData->SetSkinManager(Skin->Manager());
    EXPECT_EQ(Panel->SkinData->OwnSkinManager(), nullptr);
    EXPECT_EQ(Panel->SkinData->SkinManager(), Skin->Manager());
    CodeSkin other;
    Panel->SkinData->SetSkinManager(other.Manager());
    EXPECT_EQ(Panel->SkinData->OwnSkinManager(), other.Manager());
}

// Naming the default manager stores none, and the owner is still told of it: a refresh where the section is known.
TEST_F(CommonDataTest, NamingTheDefaultManagerTellsTheOwnerAsAnyOtherManagerWould) {
    Panel->SkinData->SetSkinSection("PANEL");
    ASSERT_EQ(Panel->SkinData->OwnSkinManager(), nullptr);
    Panel->SkinData->Updating = true;
    Panel->SkinData->BGChanged = false;
    Panel->SkinData->SetSkinManager(Skin->Manager());
    EXPECT_EQ(Panel->SkinData->OwnSkinManager(), nullptr);
    EXPECT_EQ(Panel->SkinData->SkinIndex, PanelIndex);
    EXPECT_FALSE(Panel->SkinData->Updating);   // code 3 reached the owner's state
    EXPECT_TRUE(Panel->SkinData->BGChanged);
}

// Code 13 compares the upper-cased section with a name nothing sets: only a state without a section matches it.
TEST_F(CommonDataTest, TheSectionRefreshMatchesOnlyAStateWhoseSectionEqualsTheEmptyName) {
    ASSERT_EQ(Panel->SkinData->SkinSection(), "");
    Panel->SkinData->BGChanged = false;
    Panel->Perform(SM_SKINCMD, SkinCommandWParam(SMC_REFRESHSECTION), 0);
    EXPECT_TRUE(Panel->SkinData->BGChanged);
    Panel->SkinData->SetSkinSection("PANEL");
    Panel->SkinData->BGChanged = false;
    Panel->Perform(SM_SKINCMD, SkinCommandWParam(SMC_REFRESHSECTION), 0);
    EXPECT_FALSE(Panel->SkinData->BGChanged);
}

// Clearing the own manager tells the owner "removed" with no manager; the state, which now follows the default
// manager, is not the one addressed and keeps its cache and flags (only the setter's index is cleared).
TEST_F(CommonDataTest, ClearingTheOwnManagerSendsARemovalTheStateDoesNotTakeAsItsOwn) {
    CodeSkin other;
    other.AddSection("PANEL", 0x00FF00);
    Panel->SkinData->SetSkinSection("PANEL");
    Panel->SkinData->SetSkinManager(other.Manager());
    ASSERT_EQ(Panel->SkinData->SkinIndex, 0);
    Panel->SkinData->InitCacheBmp();
    ASSERT_GT(Panel->SkinData->CacheBmp()->Width(), 0);
    Panel->SkinData->Updating = false;
    Panel->SkinData->SetSkinManager(nullptr);
    EXPECT_EQ(Panel->SkinData->OwnSkinManager(), nullptr);
    EXPECT_EQ(Panel->SkinData->SkinIndex, -1);
    EXPECT_FALSE(Panel->SkinData->Updating);
    EXPECT_GT(Panel->SkinData->CacheBmp()->Width(), 0);
    // A removal from the manager it follows is its own.
    TMessage m = MakeSkinCommand(SMC_REMOVESKIN, 0, LPARAM(Skin->Manager()));
    Panel->Perform(m);
    EXPECT_TRUE(Panel->SkinData->Updating);
    EXPECT_EQ(Panel->SkinData->CacheBmp()->Width(), 0);
}

TEST_F(CommonDataTest, AFreedOwnManagerIsForgotten) {
    auto other = std::make_unique<CodeSkin>();
    Panel->SkinData->SetSkinManager(other->Manager());
    other.reset();
    EXPECT_EQ(Panel->SkinData->OwnSkinManager(), nullptr);
    EXPECT_EQ(Panel->SkinData->SkinManager(), Skin->Manager());
}

// A section the new skin lacks leaves no border index behind: it would name another image of the new tables.
TEST_F(CommonDataTest, ASectionMissingFromTheNewSkinKeepsNoBorderIndex) {
    TsMaskData border;
    border.ClassName = "PANEL";
    border.PropertyName = "BORDERSMASK";
    border.R = TRect {0, 0, 12, 12};
    border.ImageCount = 1;
    border.Manager = Skin->Manager();
    Skin->Manager()->Masks.push_back(std::move(border));
    Panel->SkinData->SetSkinSection("PANEL");
    Panel->SkinData->UpdateIndexes();
    ASSERT_EQ(Panel->SkinData->BorderIndex, 0);
    Skin->Manager()->Sections.clear();
    Skin->AddSection("BUTTON", 0x808080);
    Panel->SkinData->UpdateIndexes();
    EXPECT_EQ(Panel->SkinData->SkinIndex, -1);
    EXPECT_EQ(Panel->SkinData->BorderIndex, -1);
}

TEST(ControlKinds, DefaultSectionsFollowTheKindTable) {
    const std::pair<int, const char*> table[] = {{3, "EDIT"}, {97, "EDIT"}, {13, "COMBOBOX"}, {51, "PANEL"},
        {52, "PANEL_LOW"}, {93, "BUTTON"}, {95, "SPEEDBUTTON"}, {165, "TRACKBAR"}, {142, ""}};
    for (const auto& [kind, section] : table)
        EXPECT_STREQ(DefaultSectionOf(TacControlKind(kind)), section) << kind;
    for (int kind : {51, 74, 110, 141, 161})
        EXPECT_TRUE(IsHoverlessKind(TacControlKind(kind))) << kind;
    for (int kind : {2, 50, 75, 93, 162})
        EXPECT_FALSE(IsHoverlessKind(TacControlKind(kind))) << kind;
}

TEST(ControlKinds, TheNamedRangesHoldTheirEndsAndNothingOutside) {
    const std::pair<TacKindRange, std::pair<int, int>> table[] = {{ContainerKinds, {51, 74}}, {BarKinds, {141, 161}}};
    for (const auto& [range, ends] : table) {
        EXPECT_TRUE(range.Contains(TacControlKind(ends.first))) << ends.first;
        EXPECT_TRUE(range.Contains(TacControlKind(ends.second))) << ends.second;
        EXPECT_FALSE(range.Contains(TacControlKind(ends.first - 1))) << ends.first;
        EXPECT_FALSE(range.Contains(TacControlKind(ends.second + 1))) << ends.second;
    }
    EXPECT_TRUE(ContainerKinds.Contains(TacControlKind::ScrollBox));
    EXPECT_TRUE(BarKinds.Contains(TacControlKind::ScrollBar));
    EXPECT_TRUE(TakesEditColors(TacControlKind::EditLike));
    EXPECT_FALSE(TakesEditColors(TacControlKind::Edit));
}

TEST_F(CommonDataTest, AKindOutsideTheTableTakesTheOwnersClassName) {
    auto* edit = Create<TTestPanel>(Form, 3);
    edit->SkinData->ApplyDefaultSection();
    EXPECT_EQ(edit->SkinData->SkinSection(), "EDIT");
    auto* other = Create<TTestPanel>(Form, 142);
    other->SkinData->ApplyDefaultSection();
    EXPECT_EQ(other->SkinData->SkinSection(), other->ClassName());
}

TEST_F(CommonDataTest, MouseMakesAnEditHotButNeverAPanelAndIgnoresChildrenEntered) {
    auto* edit = Create<TTestPanel>(Form, 2);
    edit->SetParent(Form);
    edit->Perform(CM_MOUSEENTER, 0, LPARAM(Panel));   // a child of it was entered
    EXPECT_FALSE(edit->SkinData->IsHot());
    edit->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(edit->SkinData->IsHot());
    edit->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(edit->SkinData->IsHot());
    Panel->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_FALSE(Panel->SkinData->IsHot());
    Panel->SkinData->Focused = true;
    EXPECT_TRUE(Panel->SkinData->IsHot());
    Panel->SetEnabled(false);
    EXPECT_FALSE(Panel->SkinData->IsHot());
}

TEST_F(CommonDataTest, YesNoQueriesAnswerThroughPerformAndDirectCallsButNotSendMessage) {
    EXPECT_TRUE(QuerySkinCommand(Panel, SMC_ISSKINNED));
    EXPECT_EQ(Panel->Perform(SM_SKINCMD, SkinCommandWParam(SMC_ISSKINNED), 0), 0);   // the answer is in LParam
    TMessage m = MakeSkinCommand(SMC_ISSKINNED);
    Panel->Perform(m);
    EXPECT_EQ(m.LParam, 1);
    EXPECT_EQ(user::SendMessage(Panel->Handle(), SM_SKINCMD, SkinCommandWParam(SMC_ISSKINNED), 0), 0);
    Panel->SkinData->CacheIncomplete = false;
    EXPECT_FALSE(QuerySkinCommand(Panel, SMC_ISCACHEINCOMPLETE));
}

TEST_F(CommonDataTest, ColourQueryMixesTheSectionWithTheParentByTransparency) {
    Skin->Section(PanelIndex).Color = 0x000000;
    Skin->Section(PanelIndex).Transparency = 50;
    Panel->SkinData->SetSkinSection("PANEL");
    Form->SetColor(0xFFFFFF);
    EXPECT_EQ(AskColor(Panel->Handle()), 0x7F7F7F);   // 255 * 50 div 100 in each channel
    Skin->Section(PanelIndex).Transparency = 0;
    EXPECT_EQ(AskColor(Panel->Handle()), 0x000000);
}

TEST_F(CommonDataTest, ColourQueryFallsBackToTheParentsColourWhenTheParentDoesNotAnswer) {
    Skin->Section(PanelIndex).Transparency = 100;
    Panel->SkinData->SetSkinSection("PANEL");
    Form->SetColor(0x123456);
    classes::TColor answer = 0x00FF00;   // the asker's slot must not be taken for the parent's answer
    user::SendMessage(Panel->Handle(), SM_SKINCMD, SkinCommandWParam(SMC_GETCOLOR), classes::LPARAM(&answer));
    EXPECT_EQ(answer, 0x123456);
}

TEST_F(CommonDataTest, UnskinnedColourQueryAnswersTheOwnersColour) {
    Panel->SetColor(0x010203);
    EXPECT_EQ(AskColor(Panel->Handle()), 0x010203);
    // Without a slot there is nowhere to answer, and nothing goes wrong.
    user::SendMessage(Panel->Handle(), SM_SKINCMD, SkinCommandWParam(SMC_GETCOLOR), 0);
}

TEST_F(CommonDataTest, ResizingWithoutASectionOrManagerReadsNoSection) {
    // SkinIndex -1 and no manager at all: the size handling must not look a section up.
    Skin.reset();
    ASSERT_EQ(DefaultManager, nullptr);
    Panel->SkinData->SkinIndex = -1;
    Panel->SkinData->BGChanged = false;
    Panel->SetBounds(0, 0, 120, 60);
    TMessage m {user::WM_SIZE, 0, 0, 0};
    EXPECT_FALSE(CommonWndProc(m, Panel->SkinData.get()));
    EXPECT_FALSE(Panel->SkinData->BGChanged);
    // A stale index that is valid for no manager: the same.
    Panel->SkinData->SkinIndex = 3;
    EXPECT_FALSE(CommonWndProc(m, Panel->SkinData.get()));
    EXPECT_FALSE(Panel->SkinData->BGChanged);
}

TEST_F(CommonDataTest, ResizingAGradientSectionMovesChildrenAnchoredTopLeft) {
    Skin->Section(PanelIndex).GradientPercent = 50;
    Skin->Section(PanelIndex).Transparency = 100;
    Panel->SkinData->SetSkinSection("PANEL");
    auto* child = Create<TTestPanel>(Form);
    child->SetParent(Panel);
    child->SkinData->SetSkinSection("PANEL");
    auto* anchored = Create<TTestPanel>(Form);
    anchored->SetParent(Panel);
    anchored->SetAnchors(TAnchors {akLeft, akTop, akRight});
    anchored->SkinData->SetSkinSection("PANEL");
    child->SkinData->BGChanged = anchored->SkinData->BGChanged = false;
    TMessage m {user::WM_SIZE, 0, 0, 0};
    CommonWndProc(m, Panel->SkinData.get());
    EXPECT_TRUE(Panel->SkinData->BGChanged);
    EXPECT_TRUE(child->SkinData->BGChanged);   // transparent over a gradient: its background moved
    EXPECT_FALSE(anchored->SkinData->BGChanged);
}

// The cache goes everywhere but under windowless and opaque children, which paint all of their rectangle
// afterwards; a transparent windowed child is painted over the cache.
TEST_F(CommonDataTest, TheCacheBlitLeavesOutWindowlessAndOpaqueChildrenAndCoversTransparentWindowedOnes) {
    Panel->SetBounds(0, 0, 120, 40);
    auto* label = Create<TTestLabel>(Form);
    label->SetParent(Panel);
    label->SetBounds(10, 10, 20, 20);
    auto* opaque = Create<TTestPanel>(Form);
    opaque->SetParent(Panel);
    opaque->SetBounds(40, 10, 20, 20);
    auto* clear = Create<TTestPanel>(Form);
    clear->SetControlStyle(clear->ControlStyle() - TControlStyle {csOpaque});
    clear->SetParent(Panel);
    clear->SetBounds(70, 10, 20, 20);
    Panel->SkinData->InitCacheBmp();
    pixeltest::Fill(*Panel->SkinData->CacheBmp(), TRect {0, 0, 120, 40}, 0x0000FF);
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(120, 40);
    pixeltest::Fill(target, TRect {0, 0, 120, 40}, 0x00FF00);
    BlitCacheExcludingChildren(Panel, Panel->SkinData.get(), TPoint {0, 0}, TPoint {0, 0}, false,
        target.Canvas()->Handle(), TRect {0, 0, 120, 40});
    EXPECT_EQ(Px(target, 2, 2), 0x0000FF);
    EXPECT_EQ(Px(target, 20, 20), 0x00FF00);   // windowless
    EXPECT_EQ(Px(target, 50, 20), 0x00FF00);   // opaque
    EXPECT_EQ(Px(target, 80, 20), 0x0000FF);   // windowed and transparent
    EXPECT_EQ(Px(target, 100, 20), 0x0000FF);
}

TEST_F(CommonDataTest, NewSkinFromAnotherManagerIsIgnored) {
    Panel->SkinData->SetSkinSection("PANEL");
    Panel->SkinData->Updating = false;
    CodeSkin other;
    TMessage m = MakeSkinCommand(SMC_NEWSKIN, 0, LPARAM(other.Manager()));
    Panel->Perform(m);
    EXPECT_FALSE(Panel->SkinData->Updating);
    m.LParam = LPARAM(Skin->Manager());
    Panel->Perform(m);
    EXPECT_TRUE(Panel->SkinData->Updating);
}

TEST_F(CommonDataTest, TransparentChildCacheIsBuiltFromItsParentsCache) {
    // A panel with a two-colour cache, a fully transparent windowless child over its boundary, and a half
    // transparent windowed one: the children's caches are compared with pictures painted by hand.
    Skin->AddSection("CHECKBOX", 0x00FF00, 100);
    const int half = Skin->AddSection("HALF", 0x0000FF, 50);
    Skin->Section(PanelIndex).GradientPercent = 30;   // the parent's background varies: no plain colour
    Panel->SetBounds(10, 10, 200, 100);
    Panel->SkinData->SetSkinSection("PANEL");
    auto* label = Create<TTestLabel>(Form);
    label->SetBounds(40, 20, 80, 30);
    label->SetParent(Panel);
    auto* halfPanel = Create<TTestPanel>(Form);
    halfPanel->SetBounds(100, 50, 60, 30);
    halfPanel->SetParent(Panel);
    halfPanel->SkinData->SetSkinSection("HALF");
    Panel->SkinData->InitCacheBmp();
    TBitmap* parentCache = Panel->SkinData->CacheBmp();
    pixeltest::Noise(*parentCache, 7);

    label->SkinData->InitCacheBmp();
    const TsParentCacheInfo ci = GetParentCache(label->SkinData.get());
    ASSERT_TRUE(ci.Ready);
    EXPECT_EQ(ci.Bmp, parentCache);
    RenderControlSkin(label->SkinData.get(), ci, true, 0, TRect {0, 0, 80, 30}, TPoint {40, 20},
        label->SkinData->CacheBmp(), false);
    auto expected = pixeltest::Bitmap24(80, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x)
            pixeltest::Put(*expected, x, y, Px(*parentCache, 40 + x, 20 + y));
    EXPECT_TRUE(pixeltest::SamePixels(*label->SkinData->CacheBmp(), *expected));

    halfPanel->SkinData->InitCacheBmp();
    const TsParentCacheInfo hci = GetParentCache(halfPanel->SkinData.get());
    RenderControlSkin(halfPanel->SkinData.get(), hci, true, 0, TRect {0, 0, 60, 30}, TPoint {100, 50},
        halfPanel->SkinData->CacheBmp(), false);
    const int a = 127;   // ClampToByte(50 * 255 div 100): the parent's weight
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            const TColor p = Px(*parentCache, 100 + x, 50 + y);
            TColor want = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                const int s = int((std::uint32_t(Skin->Section(half).Color) >> shift) & 0xFF);
                const int d = int((std::uint32_t(p) >> shift) & 0xFF);
                want |= TColor(std::uint32_t((s * (255 - a) + d * a + 127) >> 8) << shift);
            }
            ASSERT_EQ(Px(*halfPanel->SkinData->CacheBmp(), x, y), want) << x << "," << y;
        }
}

TEST_F(CommonDataTest, TransparentChildOverAPlainParentTakesTheParentsColour) {
    Skin->AddSection("CHECKBOX", 0x00FF00, 100);
    Panel->SkinData->SetSkinSection("PANEL");
    auto* label = Create<TTestLabel>(Form);
    label->SetBounds(4, 4, 20, 10);
    label->SetParent(Panel);
    Panel->SkinData->InitCacheBmp();
    pixeltest::Noise(*Panel->SkinData->CacheBmp(), 3);
    label->SkinData->InitCacheBmp();
    const TsParentCacheInfo ci = GetParentCache(label->SkinData.get());
    RenderControlSkin(label->SkinData.get(), ci, true, 0, TRect {0, 0, 20, 10}, TPoint {4, 4},
        label->SkinData->CacheBmp(), false);
    EXPECT_TRUE(pixeltest::AllPixels(*label->SkinData->CacheBmp(), TRect {0, 0, 20, 10}, 0x336699));
    EXPECT_EQ(ci.ParentAnswer, 0xFF00FF);   // the answer stays inside the render
}

TEST_F(CommonDataTest, BoundLabelSitsLeftOfItsControl) {
    auto* edit = Create<TTestPanel>(Form, 2);
    edit->SetName("Edit1");
    edit->SetParent(Form);
    edit->SetBounds(100, 50, 80, 20);
    TsBoundLabel bound(edit->SkinData.get());
    bound.SetCaption("Name");
    bound.SetActive(true);
    ASSERT_NE(bound.Label(), nullptr);
    EXPECT_EQ(bound.Label()->Name(), "Edit1Label");
    EXPECT_EQ(bound.Label()->Parent(), Form);
    bound.Label()->SetAutoSize(false);
    bound.Label()->SetBounds(0, 0, 60, 13);
    bound.Label()->SetAutoSize(true);
    // AlignLabel turns AutoSize on, which refits the label to its text; the position follows its size.
    bound.AlignLabel();
    const TCustomLabel* l = bound.Label();
    EXPECT_EQ(l->Left(), 100 - l->Width() - 4);
    EXPECT_EQ(l->Top(), 50 + (20 - l->Height()) / 2 - 1);
    bound.SetLayout(sclTopRight);
    EXPECT_EQ(l->Left() + l->Width(), 180);
    EXPECT_EQ(l->Top(), 50 - l->Height());
}

TEST_F(CommonDataTest, FreeingTheLabelDeactivatesTheBoundLabel) {
    auto* edit = Create<TTestPanel>(Form, 2);
    edit->SetParent(Form);
    TsBoundLabel bound(edit->SkinData.get());
    bound.SetActive(true);
    delete bound.Label();
    EXPECT_EQ(bound.Label(), nullptr);
    EXPECT_FALSE(bound.Active());
}

}
