// TForm8: the node information window.
#include "app/forms/Unit8.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMethodTable.h"

namespace korvex::app {

TForm8* Form8 = nullptr;

TForm8::TForm8(classes::TComponent* owner)
    : TSideForm(owner, {"Информация о ноде", "Node information"}) {
    ReadFormResource("Unit8", classes::TMethodTable());
}

classes::TClass TForm8::StaticClass() {
    static const classes::TClassInfo info = classes::MakeClass<TForm8, TSideForm>("TForm8");
    return &info;
}

}
