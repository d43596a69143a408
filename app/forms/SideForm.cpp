// TSideForm: what the program's side windows share.
#include "app/forms/SideForm.h"

#include "app/settings/SettingsKey.h"
#include "app/forms/MainWindow.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMenu.h"
#include "skin/windows/sWindowClasses.h"

namespace korvex::app {

TSideForm::TSideForm(classes::TComponent* owner, TFormCaption caption)
    : TForm(owner)
    , FCaption(caption) {
    skin::RegisterSkinWindowClasses();   // the form text names them
}

classes::TClass TSideForm::StaticClass() {
    static const classes::TClassInfo info = classes::MakeClass<TSideForm, classes::TForm>("TSideForm");
    return &info;
}

void TSideForm::SetLanguage(int language) {
    if (language == 0) SetCaption(FCaption.Russian);
    if (language == 1) SetCaption(FCaption.English);
}

void TSideForm::TranslateCaptions(const TControlCaption* captions, int count, int language) {
    if (language != 0 && language != 1) return;
    for (int i = 0; i < count; ++i) {
        const std::string text = language == 0 ? captions[i].Russian : captions[i].English;
        classes::TComponent* component = FindComponent(captions[i].Name);
        if (auto* control = dynamic_cast<classes::TControl*>(component))
            control->SetCaption(text);
        else if (auto* item = dynamic_cast<classes::TMenuItem*>(component))
            item->SetCaption(text);
    }
}

int TSideForm::ProgramLanguage() {
    if (MainForm != nullptr) return MainForm->Settings().Language;
    return TSettingsKey(OptionsKey).Integer("Language", 1);
}

}
