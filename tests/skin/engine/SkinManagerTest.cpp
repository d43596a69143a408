// The skin manager's properties: activity, default manager, skin names and announcements.
#include "platform/classes/TStringList.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStoredSkins.h"

#include "support/SkinFixtures.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skin::test;

namespace {

struct FakeMenus : SkinableMenusLink {
    int* UpdateCount = nullptr;
    int Resets = 0;
    bool PopupState = false;
    std::vector<user::HWND> Skinned;
    void ResetSkinCache() override { ++Resets; }
    void UpdateMenus() override { ++*UpdateCount; }
    bool HasPopupState() const override { return PopupState; }
    void SkinPopupWindow(user::HWND window) override { Skinned.push_back(window); }
};

}

TEST(SkinManager, TheFirstManagerIsTheDefaultAndCannotBeUnset) {
    ManagerHost host;
    TsSkinManager* first = host.NewManager();
    TsSkinManager* second = host.NewManager();
    EXPECT_TRUE(first->IsDefault());
    EXPECT_FALSE(second->IsDefault());
    first->SetIsDefault(false);
    EXPECT_TRUE(first->IsDefault());
    second->SetIsDefault(true);
    EXPECT_TRUE(second->IsDefault());
    EXPECT_FALSE(first->IsDefault());
}

TEST(SkinManager, DestroyingTheDefaultLeavesNoneAndTheNextOneTakesOver) {
    {
        ManagerHost host;
        host.NewManager();
        EXPECT_NE(DefaultManager, nullptr);
    }
    EXPECT_EQ(DefaultManager, nullptr);
    ManagerHost host;
    TsSkinManager* later = host.NewManager();
    EXPECT_EQ(DefaultManager, later);
}

TEST(SkinManager, ANameSetWhileInactiveLoadsWhenActivated) {
    TempFolder temp;
    MakeMinimalSkin(temp.Path(), "Blue");
    ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    int before = 0, after = 0;
    sm->OnBeforeChange = [&](classes::TObject*) { ++before; };
    sm->OnAfterChange = [&](classes::TObject*) { ++after; };
    sm->SetSkinDirectory(temp.Path());
    sm->SetSkinName("Blue");
    EXPECT_TRUE(sm->Sections.empty());
    EXPECT_EQ(sm->SkinInfo(), "N/A");
    EXPECT_EQ(before, 0);
    sm->SetActive(true);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
    EXPECT_EQ(sm->SkinInfo(), "4.5");
    sm->SetSkinName("Blue");   // the same name reloads
    EXPECT_EQ(after, 2);
}

TEST(SkinManager, DeactivatingRemovesTheSkinAndClearsTheIndexes) {
    TempFolder temp;
    MakeMinimalSkin(temp.Path(), "Blue");
    ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    LoadFolderSkin(*sm, temp.Path(), "Blue");
    EXPECT_EQ(sm->ConstData.GlobalInfo, 0);
    host.ClearCommands();
    sm->SetActive(false);
    EXPECT_TRUE(sm->Sections.empty());
    EXPECT_EQ(sm->ConstData.GlobalInfo, -1);
    ASSERT_EQ(host.Commands().size(), 1u);
    EXPECT_EQ(host.Commands()[0].second, SMC_REMOVESKIN);
}

TEST(SkinManager, AnnouncingANewSkinSendsNewSkinThenStopFadingAndRefresh) {
    ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    bool broadcastSeen = false;
    host.OnCommand = [&](TsSkinManager* sender, int command) {
        if (command == SMC_NEWSKIN) broadcastSeen = sender == sm && NewSkinBroadcast && !sm->LoadedSkin.Active;
    };
    sm->SendNewSkin();
    EXPECT_TRUE(broadcastSeen);
    EXPECT_FALSE(NewSkinBroadcast);
    EXPECT_TRUE(sm->LoadedSkin.Active);
    host.OnCommand = nullptr;
    ASSERT_EQ(host.Commands().size(), 3u);
    EXPECT_EQ(host.Commands()[0].second, SMC_NEWSKIN);
    EXPECT_EQ(host.Commands()[1].second, SMC_STOPFADING);
    EXPECT_EQ(host.Commands()[2].second, SMC_REFRESH);
}

TEST(SkinManager, SkinNamesListStoredSkinsAndSkinFoldersSorted) {
    TempFolder temp;
    MakeMinimalSkin(temp.Path(), "Blue");
    WriteTextFile(temp / "Empty/readme.txt", "");
    MakeMinimalSkin(temp.Path(), ".hidden");
    ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    sm->SetSkinDirectory(temp.Path());
    sm->InternalSkins()->Add()->SetName("MacOS (internal)");
    sm->InternalSkins()->Add()->SetName("LongHorn (internal)");
    classes::TStringList list;
    list.Add("old");
    std::string first;
    sm->GetSkinNames(list, first);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Strings(0), "Blue");
    EXPECT_EQ(list.Strings(1), "LongHorn (internal)");
    EXPECT_EQ(list.Strings(2), "MacOS (internal)");
    EXPECT_EQ(first, "MacOS (internal)");
}

TEST(SkinManager, WithoutStoredSkinsTheFirstFolderIsTheFirstName) {
    TempFolder temp;
    MakeMinimalSkin(temp.Path(), "Zeta");
    MakeMinimalSkin(temp.Path(), "alpha");
    ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    sm->SetSkinDirectory(temp.Path());
    classes::TStringList list;
    std::string first;
    sm->GetSkinNames(list, first);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Strings(0), "alpha");
    EXPECT_FALSE(first.empty());
}

TEST(SkinManager, TheSkinDirectoryDefaultsAndVersionIsFixed) {
    ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    EXPECT_EQ(sm->SkinDirectory(), "c:\\Skins");
    EXPECT_EQ(sm->Version(), "4.74");
    EXPECT_TRUE(sm->SkinnedPopups());
    int changes = 0;
    ASSERT_EQ(sm->SkinableMenus(), nullptr);   // no menu code installed: nothing to tell
    sm->SetSkinnedPopups(false);
    SetSkinableMenusFactory([&](TsSkinManager*) {
        auto menus = std::make_unique<FakeMenus>();
        menus->UpdateCount = &changes;
        return menus;
    });
    TsSkinManager* withMenus = host.NewManager();
    SetSkinableMenusFactory(nullptr);
    withMenus->SetSkinnedPopups(false);
    withMenus->SetSkinnedPopups(false);
    EXPECT_EQ(changes, 1);
}
