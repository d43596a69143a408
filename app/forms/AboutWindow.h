// TForm2: the about window: the program's name, its credits, its version and its web site.
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
    void WebsiteClick(classes::TObject* sender);   // the web site in the browser

    skin::TsLabel* VersionLabel() const { return FVersion; }
    skin::TsLabel* CreditsLabel() const { return FCredits; }
    skin::TsLabel* WebsiteLabel() const { return FWebsite; }

private:
    skin::TsLabel* FProduct = nullptr;
    skin::TsLabel* FCredits = nullptr;
    skin::TsLabel* FVersion = nullptr;
    skin::TsLabel* FWebsite = nullptr;
    skin::TsSpeedButton* FClose = nullptr;
};

extern TForm2* Form2;

}
