// TForm4: the cores diagram window.
#pragma once

#include "app/forms/SideForm.h"

namespace korvex::app {

class TForm4 : public TSideForm {
public:
    explicit TForm4(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

extern TForm4* Form4;

}
