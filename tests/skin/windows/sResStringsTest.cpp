// The skinned windows' texts come from the string table when they are built: a replaced text shows in what is
// built after.
#include "support/WindowsKit.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TMenu.h"
#include "skin/controls/sBitBtn.h"
#include "skin/windows/sColorDialog.h"
#include "skin/windows/sMessageDlg.h"
#include "skin/windows/sResStrings.h"
#include "skin/windows/sSystemMenu.h"
#include "tests/platform/os/support/DesktopLocale.h"

#include <memory>

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class ResStrings : public FormsTest {
protected:
    // Replaced for the test, put back after it.
    void Replace(int id, const std::string& text) {
        FKept.emplace_back(id, LoadResString(id));
        ReplaceResString(id, text);
    }
    void TearDown() override {
        for (auto& [id, text] : FKept)
            ReplaceResString(id, text);
        FormsTest::TearDown();
    }

private:
    std::vector<std::pair<int, std::string>> FKept;
};

TEST_F(ResStrings, TheTableHoldsTheLibrarysTexts) {
    EXPECT_EQ(LoadResString(58981), "Restore");
    EXPECT_EQ(LoadResString(58964), "Available skins");
    EXPECT_EQ(LoadResString(58992), "OK");
    EXPECT_EQ(LoadResString(58956), "Color");
    EXPECT_EQ(LoadResString(65280), "All files (*.*)|*.*");
    EXPECT_EQ(LoadResString(1), "");
}

// The desktop would give these texts itself: on a Russian desktop they are Russian, in what is built after.
TEST_F(ResStrings, TheTextsFollowTheDesktopsLanguage) {
    UseSkin(1);
    {
        os::filetest::DesktopLocale russian("ru_RU.UTF-8");
        EXPECT_EQ(LoadResString(58980), "Переместить");
        EXPECT_EQ(LoadResString(58923), "Папка");
        EXPECT_EQ(LoadResString(65280), "Все файлы (*.*)|*.*");
        TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
        TsSystemMenu* menu = ProviderOf(form)->SystemMenu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->ItemMove->Caption(), "Переместить");
        EXPECT_EQ(menu->ItemMinimize->Caption(), "Свернуть");
        auto* colours = new TsColorDialogForm(Application);
        auto* mainLabel = dynamic_cast<TControl*>(colours->FindComponent("sLabel1"));
        ASSERT_NE(mainLabel, nullptr);
        EXPECT_EQ(mainLabel->Caption(), "Основные цвета :");
        for (const char* edit : {"sREdit", "sGEdit", "sBEdit", "sEditDecimal"}) {   // longer labels end before their edit
            auto* box = dynamic_cast<TControl*>(colours->FindComponent(edit));
            auto* label = dynamic_cast<TControl*>(colours->FindComponent(std::string(edit) + "Label"));
            ASSERT_TRUE(box && label) << edit;
            EXPECT_LE(label->Left() + label->Width(), box->Left()) << edit;
        }
        colours->Free();
        Replace(58923, "Каталог");   // a replaced text stays what it was made
        EXPECT_EQ(LoadResString(58923), "Каталог");
    }
    os::filetest::DesktopLocale english("en_US.UTF-8");
    EXPECT_EQ(LoadResString(58980), "Move");
    EXPECT_EQ(LoadResString(58958), "Main palette :");
}

TEST_F(ResStrings, AReplacedTextShowsInTheSystemMenuMadeAfter) {
    UseSkin(1);
    Replace(58981, "Восстановить");
    Replace(58976, "Закрыть");
    TForm* form = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
    TsSystemMenu* menu = ProviderOf(form)->SystemMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->ItemRestore->Caption(), "Восстановить");
    EXPECT_EQ(menu->ItemClose->Caption(), "Закрыть");
}

TEST_F(ResStrings, AReplacedTextShowsInTheMessageAndColourDialogsBuiltAfter) {
    UseSkin(1);
    Replace(58995, "Подтверждение");
    Replace(58994, "&Да");
    Replace(58956, "Цвет");
    std::unique_ptr<TsMessageForm, void (*)(TsMessageForm*)> dialog(
        sCreateMessageDialog("", "?", mtConfirmation, {mbYes, mbNo}), [](TsMessageForm* f) { f->Free(); });
    EXPECT_EQ(dialog->Caption(), "Подтверждение");
    auto* yes = dynamic_cast<TsBitBtn*>(dialog->FindComponent("Yes"));
    ASSERT_NE(yes, nullptr);
    EXPECT_EQ(yes->Caption(), "&Да");
    auto* colours = new TsColorDialogForm(Application);
    EXPECT_EQ(colours->Caption(), "Цвет");
    colours->Free();
}

}
}
