// TForm1: the options window.
#pragma once

#include "app/forms/SideForm.h"

namespace korvex::app {

class TForm1 : public TSideForm {
public:
    explicit TForm1(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

extern TForm1* Form1;

}
