// TForm3: the client log viewer window.
#pragma once

#include "app/forms/SideForm.h"

namespace korvex::app {

class TForm3 : public TSideForm {
public:
    explicit TForm3(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

extern TForm3* Form3;

}
