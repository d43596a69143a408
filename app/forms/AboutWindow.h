// TForm2: the about window: the program's name, its credits, its version and a Close button.
#pragma once

#include "app/forms/SideForm.h"

namespace korvex::skin {
class TsLabel;
class TsSpeedButton;
}

namespace korvex::app {

class TForm2 : public TSideForm {
public:
    explicit TForm2(classes::TComponent* owner);
    ~TForm2() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    void SetLanguage(int language) override;

    void FormShow(classes::TObject* sender);   // the version line read again
    void sSpeedButton1Click(classes::TObject* sender);   // Close

    skin::TsLabel* VersionLabel() const { return FVersion; }
    skin::TsLabel* CreditsLabel() const { return FCredits; }

private:
    skin::TsLabel* FProduct = nullptr;
    skin::TsLabel* FCredits = nullptr;
    skin::TsLabel* FVersion = nullptr;
    skin::TsSpeedButton* FClose = nullptr;
};

extern TForm2* Form2;

}
