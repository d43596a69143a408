// The side windows: each reads its form text and takes its caption in both languages; the main window's
// commands open them modally.
#include "support/MainFormKit.h"

#include "app/forms/SideForms.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TScreen.h"
#include "platform/user/MessageLoop.h"
#include "skin/controls/sPanel.h"

namespace korvex::app::test {

using namespace classes;

namespace {

template <class T>
TSideForm* Make(T*& reference) {
    reference = Create<T>(Application);
    return reference;
}

}

TEST_F(MainFormTest, EverySideWindowHasItsCaptionInBothLanguages) {
    struct Case {
        TSideForm* Form;
        const char* Russian;
        const char* English;
    };
    const Case cases[] = {
        {Make(Form1), "Настройки", "Options"},
        {Make(Form2), "О программе", "About"},
        {Make(Form3), "Просмотр FAHLog", "View FAHLog files"},
        {Make(Form4), "Диаграмма ядер", "Cores diagram"},
        {Make(Form5), "История заданий", "WUs history"},
        {Make(Form6), "Поиск", "Find"},
        {Make(Form7), "Ручной ввод проекта", "Manual input WU info"},
        {Make(Form8), "Информация о ноде", "Node information"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.Form->Caption(), c.English);
        EXPECT_NE(c.Form->FindComponent("sSkinProvider1"), nullptr) << c.English;
        c.Form->SetLanguage(0);
        EXPECT_EQ(c.Form->Caption(), c.Russian);
        c.Form->SetLanguage(1);
        EXPECT_EQ(c.Form->Caption(), c.English);
    }
    for (const Case& c : cases)
        c.Form->Free();
    Form1 = nullptr, Form2 = nullptr, Form3 = nullptr, Form4 = nullptr;
    Form5 = nullptr, Form6 = nullptr, Form7 = nullptr, Form8 = nullptr;
}

TEST_F(MainFormTest, CommandsAndTheStatusSquareOpenTheirWindowsModally) {
    TMainForm* form = NewMainForm(NodesSettings(3), -1);
    Make(Form1);
    Make(Form8);
    std::vector<std::string> opened;
    auto answer = [&opened](auto&& self) -> void {
        user::MessageEventLoop().Post([&opened, self] {
            TCustomForm* active = Screen->ActiveCustomForm();
            if (Application->ModalLevel() == 0 || active == nullptr) return self(self);
            opened.push_back(active->Caption());
            active->SetModalResult(mrCancel);
        });
    };
    answer(answer);
    static_cast<TMenuItem*>(form->FindComponent("Edit"))->Click();
    answer(answer);
    form->Row(2).Status->OnClick(form->Row(2).Status);
    EXPECT_EQ(opened, (std::vector<std::string> {"Options", "Node information node3"}));
    EXPECT_EQ(Form8->Node(), 2);
    Form1->Free();
    Form8->Free();
    Form1 = nullptr;
    Form8 = nullptr;
}

}
