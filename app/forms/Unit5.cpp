// TForm5: the work-unit history window.
#include "app/forms/Unit5.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TMethodTable.h"

namespace korvex::app {

TForm5* Form5 = nullptr;

TForm5::TForm5(classes::TComponent* owner)
    : TSideForm(owner, {"История заданий", "View WUs history"}) {
    ReadFormResource("Unit5", classes::TMethodTable());
}

classes::TClass TForm5::StaticClass() {
    static const classes::TClassInfo info = classes::MakeClass<TForm5, TSideForm>("TForm5");
    return &info;
}

}
