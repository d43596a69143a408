// TForm1: the options window.
#include "app/forms/Unit1.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMethodTable.h"

namespace korvex::app {

TForm1* Form1 = nullptr;

TForm1::TForm1(classes::TComponent* owner)
    : TSideForm(owner, {"Настройки", "Options"}) {
    ReadFormResource("Unit1", classes::TMethodTable());
}

classes::TClass TForm1::StaticClass() {
    static const classes::TClassInfo info = classes::MakeClass<TForm1, TSideForm>("TForm1");
    return &info;
}

}
