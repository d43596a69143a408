// TForm8: the node information window.
#pragma once

#include "app/forms/SideForm.h"

namespace korvex::app {

class TForm8 : public TSideForm {
public:
    explicit TForm8(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    int Node() const { return FNode; }
    void SetNode(int node) { FNode = node; }   // the node whose information is shown

private:
    int FNode = 0;
};

extern TForm8* Form8;

}
