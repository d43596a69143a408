// TForm7: the manual project input window.
#include "app/forms/ManualProjectWindow.h"

#include "app/nodes/ManualProject.h"
#include "app/nodes/ProjectSummary.h"
#include "app/forms/MainWindow.h"
#include "platform/base/Assert.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMethodTable.h"
#include "skin/controls/sCurrEdit.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sSpeedButton.h"

#include <iterator>

namespace korvex::app {

using namespace classes;

TForm7* Form7 = nullptr;

namespace {

constexpr TControlCaption Captions[] = {
    {"NameLabel", "Имя WU", "WU Name"},
    {"CoreLabel", "Ядро WU", "WU Core"},
    {"CreditLabel", "Очки за WU", "WU Credits"},
    {"sSpeedButton1", "Сохранить", "Save"},
    {"sSpeedButton2", "Отмена", "Cancel"},
};

}

TForm7::TForm7(TComponent* owner) : TSideForm(owner, {"Ручной ввод проекта", "Manual input WU info"}) {
    TMethodTable methods;
    methods.Add("FormShow", this, &TForm7::FormShow)
        .Add("sSpeedButton1Click", this, &TForm7::sSpeedButton1Click)
        .Add("sSpeedButton2Click", this, &TForm7::sSpeedButton2Click)
        .Field("NameEdit", FNameEdit)
        .Field("CoreEdit", FCoreEdit)
        .Field("CreditEdit", FCreditEdit)
        .Field("NameLabel", FNameLabel)
        .Field("CoreLabel", FCoreLabel)
        .Field("CreditLabel", FCreditLabel)
        .Field("sSpeedButton1", FSaveButton)
        .Field("sSpeedButton2", FCancelButton);
    ReadFormResource("Unit7", methods);
    KORVEX_ASSERT(FNameEdit && FCoreEdit && FCreditEdit && FNameLabel && FCoreLabel && FCreditLabel);
    KORVEX_ASSERT(FSaveButton && FCancelButton);
    if (Form7 == nullptr) Form7 = this;
}

TForm7::~TForm7() {
    if (Form7 == this) Form7 = nullptr;
}

TClass TForm7::StaticClass() {
    static const TClassInfo info = MakeClass<TForm7, TSideForm>("TForm7");
    return &info;
}

void TForm7::SetLanguage(int language) {
    TSideForm::SetLanguage(language);
    TranslateCaptions(Captions, int(std::size(Captions)), language);
}

TProjectTable& TForm7::Projects() {
    if (MainForm != nullptr) return MainForm->Projects();
    if (FOwnProjects == nullptr) FOwnProjects = std::make_unique<TProjectTable>(LoadProjectTable());
    return *FOwnProjects;
}

void TForm7::FormShow(TObject*) {
    SetLanguage(ProgramLanguage());
    if (FNameEdit->CanFocus()) FNameEdit->SetFocus();
}

void TForm7::sSpeedButton1Click(TObject*) {
    TProjectTable& table = Projects();
    const TProjectRow row {FNameEdit->Text(), FCoreEdit->Text(), CreditOfValue(FCreditEdit->Value())};
    if (const std::optional<TManualProjectAdded> added = AddManualProject(table, row); added && OnProjectAdded)
        OnProjectAdded(ProjectSummaryAddedText(ProgramLanguage(), added->Date, added->UnitsCount, table.Count()));
    Close();
}

void TForm7::sSpeedButton2Click(TObject*) {
    Close();
}

}
