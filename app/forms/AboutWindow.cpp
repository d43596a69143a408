// TForm2: the about window.
#include "app/forms/AboutWindow.h"

#include "app/forms/MainWindow.h"
#include "platform/base/Assert.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMethodTable.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sSpeedButton.h"

#include <iterator>

namespace korvex::app {

using namespace classes;

TForm2* Form2 = nullptr;

namespace {

constexpr TControlCaption Captions[] = {
    {"CreditsLabel", "Монитор фермы Folding@home\r\nСпасибо всем, кто считает\r\nи присылает отзывы",
        "Folding@home farm monitor\r\nThanks to everyone who folds\r\nand sends feedback"},
    {"sSpeedButton1", "Закрыть", "Close"},
};

}

TForm2::TForm2(TComponent* owner) : TSideForm(owner, {"О программе", "About"}) {
    TMethodTable methods;
    methods.Add("FormShow", this, &TForm2::FormShow)
        .Add("sSpeedButton1Click", this, &TForm2::sSpeedButton1Click)
        .Field("ProductLabel", FProduct)
        .Field("CreditsLabel", FCredits)
        .Field("VersionLabel", FVersion)
        .Field("sSpeedButton1", FClose);
    ReadFormResource("Unit2", methods);
    KORVEX_ASSERT(FProduct && FCredits && FVersion && FClose);
    if (Form2 == nullptr) Form2 = this;
}

TForm2::~TForm2() {
    if (Form2 == this) Form2 = nullptr;
}

TClass TForm2::StaticClass() {
    static const TClassInfo info = MakeClass<TForm2, TSideForm>("TForm2");
    return &info;
}

void TForm2::SetLanguage(int language) {
    TSideForm::SetLanguage(language);
    TranslateCaptions(Captions, int(std::size(Captions)), language);
}

void TForm2::FormShow(TObject*) {
    SetLanguage(ProgramLanguage());
    FVersion->SetCaption("Version " + TMainForm::GetVersion(4));
}

void TForm2::sSpeedButton1Click(TObject*) {
    Close();
}

}
