// TForm3: the client log viewer window.
#include "app/forms/Unit3.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMethodTable.h"

namespace korvex::app {

TForm3* Form3 = nullptr;

TForm3::TForm3(classes::TComponent* owner)
    : TSideForm(owner, {"Просмотр FAHLog", "View FAHLog files"}) {
    ReadFormResource("Unit3", classes::TMethodTable());
}

classes::TClass TForm3::StaticClass() {
    static const classes::TClassInfo info = classes::MakeClass<TForm3, TSideForm>("TForm3");
    return &info;
}

}
