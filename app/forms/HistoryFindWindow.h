// TForm6: the history window's Find window: the text to look for and a "Find" button.
#pragma once

#include "app/forms/SideForm.h"

#include <string>

namespace korvex::skin {
class TsEdit;
class TsSpeedButton;
}

namespace korvex::app {

class TForm6 : public TSideForm {
public:
    explicit TForm6(classes::TComponent* owner);
    ~TForm6() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    void SetLanguage(int language) override;
    std::string FindWhat() const;   // the edit's text

    void FormShow(classes::TObject* sender);
    void sSpeedButton1Click(classes::TObject* sender);   // "Find": closes with mrOk; the history window searches

    skin::TsEdit* Edit() const { return FEdit; }
    skin::TsSpeedButton* FindButton() const { return FButton; }

private:
    skin::TsEdit* FEdit = nullptr;
    skin::TsSpeedButton* FButton = nullptr;
};

extern TForm6* Form6;

}
