// TForm6: the find window.
#pragma once

#include "app/forms/SideForm.h"

namespace korvex::app {

class TForm6 : public TSideForm {
public:
    explicit TForm6(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

extern TForm6* Form6;

}
