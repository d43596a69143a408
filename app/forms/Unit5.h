// TForm5: the work-unit history window.
#pragma once

#include "app/forms/SideForm.h"

namespace korvex::app {

class TForm5 : public TSideForm {
public:
    explicit TForm5(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

extern TForm5* Form5;

}
