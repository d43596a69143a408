// TForm7: the manual project input window: one project's name, core and credit added to the project table.
#pragma once

#include "app/nodes/ProjectTable.h"
#include "app/forms/SideForm.h"

#include <functional>
#include <memory>
#include <string>

namespace korvex::skin {
class TsCurrencyEdit;
class TsEdit;
class TsLabel;
class TsSpeedButton;
}

namespace korvex::app {

class TForm7 : public TSideForm {
public:
    explicit TForm7(classes::TComponent* owner);
    ~TForm7() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    void SetLanguage(int language) override;

    void FormShow(classes::TObject* sender);
    void sSpeedButton1Click(classes::TObject* sender);   // Save: adds the project unless known, then closes
    void sSpeedButton2Click(classes::TObject* sender);   // Cancel

    // After a project was added: the line for the options window's information label ("" for a language
    // other than 0 or 1). The options window also takes it as a change that needs "Refresh data".
    std::function<void(const std::string& infoText)> OnProjectAdded;

    // The main window's table, or (without a main window) one read from the store for this window.
    TProjectTable& Projects();

    skin::TsEdit* NameEdit() const { return FNameEdit; }
    skin::TsEdit* CoreEdit() const { return FCoreEdit; }
    skin::TsCurrencyEdit* CreditEdit() const { return FCreditEdit; }

private:
    skin::TsEdit* FNameEdit = nullptr;
    skin::TsEdit* FCoreEdit = nullptr;
    skin::TsCurrencyEdit* FCreditEdit = nullptr;
    skin::TsLabel* FNameLabel = nullptr;
    skin::TsLabel* FCoreLabel = nullptr;
    skin::TsLabel* FCreditLabel = nullptr;
    skin::TsSpeedButton* FSaveButton = nullptr;
    skin::TsSpeedButton* FCancelButton = nullptr;
    std::unique_ptr<TProjectTable> FOwnProjects;
};

extern TForm7* Form7;

}
