// The common base of the LED controls.
#include "leds/iCustomComponent.h"

#include "platform/classes/PropertyRegistry.h"

namespace korvex::leds {

TiCustomComponent::TiCustomComponent(TComponent* owner)
    : TiVCLComponent(owner) {
}

classes::TClass TiCustomComponent::StaticClass() {
    static const classes::TClassInfo info = classes::MakeClass<TiCustomComponent, TiVCLComponent>("TiCustomComponent");
    return &info;
}

}
