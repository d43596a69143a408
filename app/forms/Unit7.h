// TForm7: the manual project input window.
#pragma once

#include "app/forms/SideForm.h"

namespace korvex::app {

class TForm7 : public TSideForm {
public:
    explicit TForm7(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

extern TForm7* Form7;

}
