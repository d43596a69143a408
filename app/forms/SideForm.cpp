// TSideForm: what the program's side windows share.
#include "app/forms/SideForm.h"

#include "platform/classes/PropertyRegistry.h"
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

}
