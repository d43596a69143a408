// Registration of the skinned control classes for form text.
#include "skin/controls/sControlClasses.h"

#include "platform/classes/TObject.h"

namespace korvex::skin {

void RegisterSkinControlClasses() {
    classes::RegisterClasses({});
}

}
