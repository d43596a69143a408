// TsTitleIcon, TsTitleButton and TsTitleButtons: a skinned form's own title icon and caption buttons.
#include "skin/windows/sTitleButtons.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"

namespace korvex::skin {

using namespace korvex::classes;

TsTitleIcon::TsTitleIcon()
    : FGlyph(std::make_unique<TBitmap>()) {
}

TsTitleIcon::~TsTitleIcon() = default;

TClass TsTitleIcon::StaticClass() {
    using T = TsTitleIcon;
    static const TClassInfo info = MakeClass<T, TPersistent>("TsTitleIcon", [](TPropertyBuilder<T>& p) {
        p.Object("Glyph", &T::Glyph, &T::SetGlyph);
        p.Int("Height", &T::Height, &T::SetHeight, 0);
        p.Int("Width", &T::Width, &T::SetWidth, 0);
    });
    return &info;
}

void TsTitleIcon::SetGlyph(const TBitmap* value) {
    FGlyph->Assign(value);
}

TsTitleButton::TsTitleButton(TCollection* collection)
    : TCollectionItem(collection)
    , FGlyph(std::make_unique<TBitmap>()) {
    if (FName.empty()) FName = "TsTitleButton";
}

TsTitleButton::~TsTitleButton() = default;

TClass TsTitleButton::StaticClass() {
    using T = TsTitleButton;
    static const TClassInfo info = MakeClass<T, TCollectionItem>("TsTitleButton", [](TPropertyBuilder<T>& p) {
        p.Bool("Enabled", &T::Enabled, &T::SetEnabled, true);
        p.Object("Glyph", &T::Glyph, &T::SetGlyph);
        p.String("Name", &T::Name, &T::SetName);
        p.Bool("UseSkinData", &T::UseSkinData, &T::SetUseSkinData, true);
        p.Event("OnMouseDown", &T::OnMouseDown);
        p.Event("OnMouseUp", &T::OnMouseUp);
    });
    return &info;
}

void TsTitleButton::SetGlyph(const TBitmap* value) {
    FGlyph->Assign(value);
}

void TsTitleButton::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TsTitleButton*>(source);
    if (other == nullptr) {
        TCollectionItem::Assign(source);
        return;
    }
    FEnabled = other->FEnabled;
    FGlyph->Assign(other->FGlyph.get());
    FName = other->FName;
    FUseSkinData = other->FUseSkinData;
    OnMouseDown = other->OnMouseDown;
    OnMouseUp = other->OnMouseUp;
}

void TsTitleButton::DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TsTitleButton::DoMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

TsTitleButtons::TsTitleButtons(TsSkinProvider* owner)
    : TOwnedCollection(owner, TsTitleButton::StaticClass()) {
}

TsTitleButtons::~TsTitleButtons() = default;

TClass TsTitleButtons::StaticClass() {
    static const TClassInfo info = MakeClass<TsTitleButtons, TOwnedCollection>("TsTitleButtons");
    return &info;
}

}
