// TacMenuSupport and the factory of the menu skinning object.
#include "skin/engine/sMenuSupport.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"

namespace korvex::skin {

using namespace korvex::classes;

namespace {

SkinableMenusFactory& MenusFactory() {
    static SkinableMenusFactory factory;
    return factory;
}

}

TacMenuSupport::TacMenuSupport()
    : FExtraLineFont(std::make_unique<TFont>()) { }

TacMenuSupport::~TacMenuSupport() = default;

TClass TacMenuSupport::StaticClass() {
    using T = TacMenuSupport;
    static const TClassInfo info = MakeClass<T, TPersistent>("TacMenuSupport", [](TPropertyBuilder<T>& p) {
        p.String("IcoLineSkin", &T::IcoLineSkin, &T::SetIcoLineSkin);
        p.Bool("UseExtraLine", &T::UseExtraLine, &T::SetUseExtraLine, false);
        p.Int("ExtraLineWidth", &T::ExtraLineWidth, &T::SetExtraLineWidth, DefaultExtraLineWidth);
        p.Object("ExtraLineFont", &T::ExtraLineFont, &T::SetExtraLineFont);
    });
    return &info;
}

void TacMenuSupport::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TacMenuSupport*>(source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    FIcoLineSkin = other->FIcoLineSkin;
    FUseExtraLine = other->FUseExtraLine;
    FExtraLineWidth = other->FExtraLineWidth;
    FExtraLineFont->Assign(other->FExtraLineFont.get());
}

void TacMenuSupport::SetExtraLineFont(const TFont* value) {
    FExtraLineFont->Assign(value);
}

void SetSkinableMenusFactory(SkinableMenusFactory factory) {
    MenusFactory() = std::move(factory);
}

std::unique_ptr<SkinableMenusLink> MakeSkinableMenus(TsSkinManager* manager) {
    return MenusFactory() ? MenusFactory()(manager) : nullptr;
}

}
