// TForm4: the cores diagram window.
#include "app/forms/Unit4.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMethodTable.h"

namespace korvex::app {

TForm4* Form4 = nullptr;

TForm4::TForm4(classes::TComponent* owner)
    : TSideForm(owner, {"Гистограммы", "Histograms"}) {
    ReadFormResource("Unit4", classes::TMethodTable());
}

classes::TClass TForm4::StaticClass() {
    static const classes::TClassInfo info = classes::MakeClass<TForm4, TSideForm>("TForm4");
    return &info;
}

}
