// The skin manager's properties: activity, default manager, skin names and announcements.
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TControl.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TStringList.h"
#include "platform/user/MessageIds.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStoredSkins.h"

#include "support/SkinFixtures.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

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
    std::vector<classes::LPARAM> ItemIds;
    void SkinPopupOfItem(classes::LPARAM itemId) override { ItemIds.push_back(itemId); }
};

// A manager of host's that lists the skins in folder and two stored skins, MacOS and LongHorn.
TsSkinManager* ListingManager(ManagerHost& host, const std::string& folder) {
    TsSkinManager* sm = host.NewManager();
    sm->SetSkinDirectory(folder);
    sm->InternalSkins()->Add()->SetName("MacOS (internal)");
    sm->InternalSkins()->Add()->SetName("LongHorn (internal)");
    return sm;
}

// A manager that has loaded the minimal skin "Blue" from a temporary folder.
struct BlueSkinLoaded {
    TempFolder Temp;
    ManagerHost Host;
    TsSkinManager* Manager = nullptr;
    BlueSkinLoaded() {
        MakeMinimalSkin(Temp.Path(), "Blue");
        Manager = Host.NewManager();
        LoadFolderSkin(*Manager, Temp.Path(), "Blue");
    }
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
    BlueSkinLoaded blue;
    ManagerHost& host = blue.Host;
    TsSkinManager* sm = blue.Manager;
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
    TsSkinManager* sm = ListingManager(host, temp.Path());
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

// The install puts each stored skin's folder beside the program under the stored skin's name.
TEST(SkinManager, AFolderNamedLikeAStoredSkinIsListedOnce) {
    TempFolder temp;
    MakeMinimalSkin(temp.Path(), "LongHorn (internal)");
    MakeMinimalSkin(temp.Path(), "macos (INTERNAL)");
    MakeMinimalSkin(temp.Path(), "Blue");
    ManagerHost host;
    TsSkinManager* sm = ListingManager(host, temp.Path());
    classes::TStringList list;
    std::string first;
    sm->GetSkinNames(list, first);
    ASSERT_EQ(list.Count(), 3) << list.Text();
    EXPECT_EQ(list.Strings(0), "Blue");
    EXPECT_EQ(list.Strings(1), "LongHorn (internal)");
    EXPECT_EQ(list.Strings(2), "MacOS (internal)");   // the stored skin's spelling
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

TEST(SkinManager, ASkinThatCannotBeFoundIsRemovedNotAnnouncedWithTheOldTables) {
    BlueSkinLoaded blue;
    ManagerHost& host = blue.Host;
    TsSkinManager* sm = blue.Manager;
    ASSERT_FALSE(sm->Sections.empty());
    host.ClearCommands();
    int after = 0;
    sm->OnAfterChange = [&](classes::TObject*) { ++after; };
    sm->SetSkinName("Gone");
    EXPECT_FALSE(sm->Active());
    ASSERT_EQ(host.Commands().size(), 1u);
    EXPECT_EQ(host.Commands()[0].second, SMC_REMOVESKIN);
    EXPECT_TRUE(sm->Sections.empty());
    EXPECT_EQ(sm->MasterBitmap, nullptr);
    EXPECT_EQ(sm->ConstData.GlobalInfo, -1);
    EXPECT_FALSE(SkinChanging);
    EXPECT_EQ(after, 1);   // the application still learns which name was applied
}

TEST(SkinManager, ANewSkinRunsBeforeAnnounceAfterInThatOrder) {
    TempFolder temp;
    MakeMinimalSkin(temp.Path(), "Blue");
    MakeMinimalSkin(temp.Path(), "Green");
    ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    LoadFolderSkin(*sm, temp.Path(), "Blue");
    std::vector<std::string> order;
    sm->OnBeforeChange = [&](classes::TObject*) { order.push_back("before"); };
    sm->OnAfterChange = [&](classes::TObject*) {
        order.push_back(SkinChanging ? "after while changing" : "after " + sm->SkinName());
    };
    host.OnCommand = [&](TsSkinManager*, int command) {
        order.push_back(std::to_string(command) + (SkinChanging ? " changing" : ""));
    };
    sm->SetSkinName("Green");
    const std::vector<std::string> expected {"before", "1 changing", "16 changing", "3 changing", "after Green"};
    EXPECT_EQ(order, expected);
}

TEST(SkinManager, MenuSupportReadsFromFormText) {
    RegisterStoredSkinClasses();
    ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    classes::ReadRootComponent(sm, R"(object sSkinManager1: TsSkinManager
  Active = False
  MenuSupport.IcoLineSkin = 'ICOLINE'
  MenuSupport.UseExtraLine = True
  MenuSupport.ExtraLineWidth = 40
  MenuSupport.ExtraLineFont.Height = -11
  MenuSupport.ExtraLineFont.Name = 'Tahoma'
  SkinDirectory = 'skins'
end
)");
    EXPECT_EQ(sm->MenuSupport()->IcoLineSkin(), "ICOLINE");
    EXPECT_TRUE(sm->MenuSupport()->UseExtraLine());
    EXPECT_EQ(sm->MenuSupport()->ExtraLineWidth(), 40);
    EXPECT_EQ(sm->MenuSupport()->ExtraLineFont()->Height(), -11);
    EXPECT_EQ(sm->MenuSupport()->ExtraLineFont()->Name(), "Tahoma");

    // Loading fills an empty icon-line section name in.
    TsSkinManager* bare = host.NewManager();
    classes::ReadRootComponent(bare, "object sSkinManager2: TsSkinManager\n  Active = False\nend\n");
    EXPECT_EQ(bare->MenuSupport()->IcoLineSkin(), "ICOLINE");
    EXPECT_EQ(bare->MenuSupport()->ExtraLineWidth(), TacMenuSupport::DefaultExtraLineWidth);
}

TEST(SkinManager, PopupMessagesGoToTheMenuObject) {
    int updates = 0;
    FakeMenus* menus = nullptr;
    SetSkinableMenusFactory([&](TsSkinManager*) {
        auto m = std::make_unique<FakeMenus>();
        m->UpdateCount = &updates;
        menus = m.get();
        return m;
    });
    ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    SetSkinableMenusFactory(nullptr);
    ASSERT_NE(menus, nullptr);

    classes::TMessage window {WM_ACPOPUPWINDOW, 0, 0x1234, 0};
    EXPECT_TRUE(sm->MainWindowHook(window));
    classes::TMessage none {WM_ACPOPUPWINDOW, 0, 0, 0};
    EXPECT_TRUE(sm->MainWindowHook(none));
    ASSERT_EQ(menus->Skinned.size(), 1u);
    EXPECT_EQ(menus->Skinned[0], reinterpret_cast<user::HWND>(0x1234));

    classes::TMessage item {WM_ACPOPUPITEM, 0, 0, 0};
    EXPECT_FALSE(sm->MainWindowHook(item));   // no popup being skinned
    menus->PopupState = true;
    EXPECT_TRUE(sm->MainWindowHook(item));   // handled: the menu code looks the item id up
    EXPECT_EQ(menus->Skinned.size(), 1u);
    classes::TMessage withId {WM_ACPOPUPITEM, 0, 42, 0};
    EXPECT_TRUE(sm->MainWindowHook(withId));
    EXPECT_EQ(menus->ItemIds, (std::vector<classes::LPARAM> {0, 42}));
    classes::TMessage other {user::WM_PAINT, 0, 0, 0};
    EXPECT_FALSE(sm->MainWindowHook(other));

    const int resets = menus->Resets;
    sm->SendNewSkin();
    EXPECT_EQ(menus->Resets, resets + 1);
}

TEST(SkinManager, TheHoveredControlIsForgottenWhenFreed) {
    ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    auto owner = std::make_unique<classes::TComponent>(nullptr);
    auto* control = new classes::TControl(owner.get());
    sm->SetHoveredControl(control);
    EXPECT_EQ(sm->HoveredControl(), control);
    delete control;
    EXPECT_EQ(sm->HoveredControl(), nullptr);
}

TEST(SkinManager, AReceiverThatFailsDuringTheAnnouncementStopsNothingAndLeavesNoFlagSet) {
    TempFolder temp;
    MakeMinimalSkin(temp.Path(), "Blue");
    ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    host.OnCommand = [](TsSkinManager*, int command) {
        if (command == SMC_NEWSKIN) throw std::runtime_error("a window failed");
    };
    LoadFolderSkin(*sm, temp.Path(), "Blue");
    host.OnCommand = nullptr;
    EXPECT_TRUE(sm->LoadedSkin.Active);
    EXPECT_FALSE(SkinChanging);
    EXPECT_FALSE(NewSkinBroadcast);
}

// A receiver of one manager's announcement changes another manager: the inner change must give back the
// flags as it found them, so the rest of the outer announcement still runs with them set.
TEST(SkinManager, ANestedChangeKeepsTheOuterChangesFlagsSet) {
    TempFolder temp;
    MakeMinimalSkin(temp.Path(), "Blue");
    ManagerHost host;
    TsSkinManager* outer = host.NewManager();
    TsSkinManager* inner = host.NewManager();
    LoadFolderSkin(*inner, temp.Path(), "Blue");
    outer->SetSkinDirectory(temp.Path());
    outer->SetSkinName("Blue");

    struct Seen {
        bool Changing = false;
        bool Broadcast = false;
    };
    std::vector<Seen> afterInner;
    auto nested = [&](void (*change)(TsSkinManager*)) {
        afterInner.clear();
        bool busy = false;
        host.OnCommand = [&](TsSkinManager* from, int command) {
            if (from != outer || command != SMC_NEWSKIN || busy) return;
            busy = true;
            change(inner);
            afterInner.push_back({SkinChanging, NewSkinBroadcast});
        };
        if (!outer->Active())
            outer->SetActive(true);
        else
            outer->SetSkinName("Blue");
        host.OnCommand = nullptr;
    };

    void (*const changes[])(TsSkinManager*) = {
        [](TsSkinManager* sm) { sm->SetHueOffset(sm->HueOffset() + 60); },   // a reload by a shift
        [](TsSkinManager* sm) { sm->SetSkinName("Blue"); },   // a whole new announcement
    };
    for (auto change : changes) {
        nested(change);
        ASSERT_EQ(afterInner.size(), 1u);
        EXPECT_TRUE(afterInner[0].Changing);
        EXPECT_TRUE(afterInner[0].Broadcast);
    }
    EXPECT_FALSE(SkinChanging);   // and all of it given back at the end
    EXPECT_FALSE(NewSkinBroadcast);
}
