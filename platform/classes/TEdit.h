// TEdit: the single-line edit of the forms, publishing TCustomEdit's properties.
#pragma once

#include "platform/classes/TCustomEdit.h"

namespace korvex::classes {

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

}
