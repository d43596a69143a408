// TForm6: the find window.
#include "app/forms/Unit6.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMethodTable.h"

namespace korvex::app {

TForm6* Form6 = nullptr;

TForm6::TForm6(classes::TComponent* owner)
    : TSideForm(owner, {"Поиск", "Find"}) {
    ReadFormResource("Unit6", classes::TMethodTable());
}

classes::TClass TForm6::StaticClass() {
    static const classes::TClassInfo info = classes::MakeClass<TForm6, TSideForm>("TForm6");
    return &info;
}

}
