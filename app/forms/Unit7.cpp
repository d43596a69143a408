// TForm7: the manual project input window.
#include "app/forms/Unit7.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMethodTable.h"

namespace korvex::app {

TForm7* Form7 = nullptr;

TForm7::TForm7(classes::TComponent* owner)
    : TSideForm(owner, {"Ручной ввод проекта", "Manual project input"}) {
    ReadFormResource("Unit7", classes::TMethodTable());
}

classes::TClass TForm7::StaticClass() {
    static const classes::TClassInfo info = classes::MakeClass<TForm7, TSideForm>("TForm7");
    return &info;
}

}
