// TForm6: the history window's Find window.
#include "app/forms/Unit6.h"

#include "platform/base/Assert.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMethodTable.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/windows/sWindowClasses.h"

namespace korvex::app {

using namespace classes;

TForm6* Form6 = nullptr;

TForm6::TForm6(TComponent* owner) : TSideForm(owner, {"Поиск", "Find"}) {
    TMethodTable methods;
    methods.Add("FormShow", this, &TForm6::FormShow)
        .Add("sSpeedButton1Click", this, &TForm6::sSpeedButton1Click)
        .Field("sEdit1", FEdit)
        .Field("sLabel1", FLabel)
        .Field("sSpeedButton1", FButton);
    skin::RegisterSkinWindowClasses();
    ReadFormResource("Unit6", methods);
    KORVEX_ASSERT(FEdit && FLabel && FButton);
    if (Form6 == nullptr) Form6 = this;
}

TForm6::~TForm6() {
    if (Form6 == this) Form6 = nullptr;
}

TClass TForm6::StaticClass() {
    static const TClassInfo info = MakeClass<TForm6, TSideForm>("TForm6");
    return &info;
}

void TForm6::SetLanguage(int language) {
    if (language != 0 && language != 1) return;
    TSideForm::SetLanguage(language);
    FLabel->SetCaption(language == 0 ? "Искать:" : "Find what:");
    FButton->SetCaption(language == 0 ? "Найти" : "Find");
}

std::string TForm6::FindWhat() const {
    return FEdit->Text();
}

void TForm6::FormShow(TObject*) {
    SetLanguage(ProgramLanguage());
    if (FEdit->CanFocus()) FEdit->SetFocus();
    FEdit->SelectAll();
}

void TForm6::sSpeedButton1Click(TObject*) {
    SetModalResult(mrOk);
    if (!FormState().Contains(fsModal)) Close();
}

}
