// TSideForm: what the program's side windows share: their form text and their caption in both languages.
#pragma once

#include "platform/classes/TForm.h"

namespace korvex::app {

// A control's or menu item's caption in both languages, by its name in the form text.
struct TControlCaption {
    const char* Name;
    const char* Russian;
    const char* English;
};

struct TFormCaption {
    const char* Russian;
    const char* English;
};

class TSideForm : public classes::TForm {
public:
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    virtual void SetLanguage(int language);   // 0 Russian, 1 English; other values change nothing

protected:
    // The derived form reads its form text in its own constructor.
    TSideForm(classes::TComponent* owner, TFormCaption caption);

    // Sets the named controls' and menu items' captions: 0 Russian, 1 English, other values nothing.
    void TranslateCaptions(const TControlCaption* captions, int count, int language);

    // The option Language: the main window's when it exists, else the settings store's.
    static int ProgramLanguage();

private:
    TFormCaption FCaption;
};

}
