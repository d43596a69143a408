// TForm2: the about window.
#include "app/forms/Unit2.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMethodTable.h"

namespace korvex::app {

TForm2* Form2 = nullptr;

TForm2::TForm2(classes::TComponent* owner)
    : TSideForm(owner, {"О программе", "About"}) {
    ReadFormResource("Unit2", classes::TMethodTable());
}

classes::TClass TForm2::StaticClass() {
    static const classes::TClassInfo info = classes::MakeClass<TForm2, TSideForm>("TForm2");
    return &info;
}

}
