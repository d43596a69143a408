// TForm6: the history window's Find window.
#include "app/forms/HistoryFindWindow.h"

#include "platform/base/Assert.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMethodTable.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sSpeedButton.h"

#include <iterator>

namespace korvex::app {

using namespace classes;

TForm6* Form6 = nullptr;

namespace {

constexpr TControlCaption Captions[] = {
    {"sSpeedButton1", "Найти", "Find"},
};

}

TForm6::TForm6(TComponent* owner) : TSideForm(owner, {"Поиск", "Find"}) {
    TMethodTable methods;
    methods.Add("FormShow", this, &TForm6::FormShow)
        .Add("sSpeedButton1Click", this, &TForm6::sSpeedButton1Click)
        .Field("sEdit1", FEdit)
        .Field("sSpeedButton1", FButton);
    ReadFormResource("Unit6", methods);
    KORVEX_ASSERT(FEdit && FButton);
    // Enter in the edit is the button.
    FEdit->OnKeyPress = [this](TObject*, char32_t& key) {
        if (key != U'\r') return;
        key = 0;
        sSpeedButton1Click(this);
    };
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
    TSideForm::SetLanguage(language);
    TranslateCaptions(Captions, int(std::size(Captions)), language);
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
