// Test support for the side windows.
#include "support/SideFormKit.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TScreen.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/WinPos.h"

#include <filesystem>

namespace korvex::app::test {

using namespace classes;

void SideFormTest::TearDown() {
    for (auto it = FSides.rbegin(); it != FSides.rend(); ++it)
        (*it)->Free();
    FSides.clear();
    if (Form != nullptr) Form->Free();
    Form = nullptr;
    MainFormTest::TearDown();
}

TMainForm* SideFormTest::NewMain(const TSettings& settings, int skin) {
    TMainForm* main = NewMainForm(settings, skin);
    main->Hide();
    Pump();
    return main;
}

std::string SideFormTest::WriteFormPicture(TForm* form, const std::string& name) {
    std::filesystem::create_directories(KORVEX_PICTURE_DIR);
    const std::string path = std::string(KORVEX_PICTURE_DIR) + "/" + name + ".png";
    Pump();
    user::RECT window {};
    user::GetWindowRect(form->Handle(), &window);
    Display->WriteScreenshotPng(path, &window);
    return path;
}

void SideFormTest::WhenModal(std::function<void(TCustomForm*)> action) {
    user::MessageEventLoop().Post([action] {
        TCustomForm* active = Screen->ActiveCustomForm();
        if (Application->ModalLevel() == 0 || active == nullptr || !active->FormState().Contains(fsModal))
            return WhenModal(action);
        action(active);
    });
}

}
