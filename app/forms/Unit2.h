// TForm2: the about window.
#pragma once

#include "app/forms/SideForm.h"

namespace korvex::app {

class TForm2 : public TSideForm {
public:
    explicit TForm2(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

extern TForm2* Form2;

}
