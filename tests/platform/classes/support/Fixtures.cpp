// Test classes with a published property of every kind, defined entries, collections and nesting.
#include "Fixtures.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TStream.h"
#include "platform/classes/TWriter.h"

namespace korvex::classes::test {

std::vector<std::string>& LoadedLog() {
    static std::vector<std::string> log;
    return log;
}

std::vector<std::string>& DestroyLog() {
    static std::vector<std::string> log;
    return log;
}

TClass TTestFont::StaticClass() {
    static const TClassInfo info = MakeClass<TTestFont, TPersistent>("TTestFont", [](auto& p) {
        p.String("Name", &TTestFont::Name, &TTestFont::SetName, "Tahoma");
        p.Int("Size", &TTestFont::Size, &TTestFont::SetSize, 8);
        p.Color("Color", &TTestFont::Color, &TTestFont::SetColor, clWindowText);
        p.Set("Style", &TTestFont::Style, &TTestFont::SetStyle, FlagIdents, TFlags {});
    });
    return &info;
}

void TTestFont::Assign(const TPersistent* source) {
    if (const auto* font = dynamic_cast<const TTestFont*>(source)) {
        FName = font->FName;
        FSize = font->FSize;
        FColor = font->FColor;
        FStyle = font->FStyle;
        Data = font->Data;
        return;
    }
    TPersistent::Assign(source);
}

void TTestFont::DefineProperties(TFiler& filer) {
    TPersistent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Data",
        [this](TStream& s) {
            Data.resize(static_cast<std::size_t>(s.Size()));
            s.ReadBuffer(Data.data(), s.Size());
        },
        [this](TStream& s) { s.WriteBuffer(Data.data(), static_cast<std::int64_t>(Data.size())); }, !Data.empty());
}

TClass TTestLeaf::StaticClass() {
    static const TClassInfo info = MakeClass<TTestLeaf, TCollectionItem>(
        "TTestLeaf", [](auto& p) { p.String("Text", &TTestLeaf::Text, &TTestLeaf::Text); });
    return &info;
}

TTestItem::TTestItem(TCollection* collection)
    : TCollectionItem(collection)
    , FLeaves(std::make_unique<TOwnedCollection>(this, TTestLeaf::StaticClass())) {
}

TClass TTestItem::StaticClass() {
    static const TClassInfo info = MakeClass<TTestItem, TCollectionItem>("TTestItem", [](auto& p) {
        p.String("Caption", &TTestItem::Caption, &TTestItem::Caption);
        p.Int("Value", &TTestItem::Value, &TTestItem::Value, 0);
        p.Float("Ratio", &TTestItem::Ratio, &TTestItem::Ratio);
        p.Object("Font", &TTestItem::Font);
        p.Object("Leaves", &TTestItem::Leaves);
    });
    return &info;
}

TTestComponent::TTestComponent(TComponent* owner)
    : TComponent(owner)
    , FItems(std::make_unique<TOwnedCollection>(this, TTestItem::StaticClass())) {
    LoadingInConstructor = ComponentState().Contains(csLoading);
}

TTestComponent::~TTestComponent() {
    DestroyLog().push_back(Name());
}

TClass TTestComponent::StaticClass() {
    static const TClassInfo info = MakeClass<TTestComponent, TComponent>("TTestComponent", [](auto& p) {
        using T = TTestComponent;
        p.Int("Width", &T::Width, &T::SetWidth, 100);
        p.Int("Height", &T::Height, &T::Height);
        p.Int("Hidden", &T::Hidden, &T::Hidden, 0).Stored(false);
        p.Int("ReadOnly", &T::ReadOnly, nullptr);
        p.Bool("Visible", &T::Visible, &T::Visible, true);
        p.Enum("Shape", &T::Shape, &T::Shape, ShapeIdents, shCircle);
        p.Set("Flags", &T::Flags, &T::Flags, FlagIdents, TFlags {flBold});
        p.Set("Bits", &T::Bits, &T::Bits, FlagIdents, std::bitset<3>());
        p.String("Caption", &T::Caption, &T::Caption);
        p.Float("Ratio", &T::Ratio, &T::Ratio);
        p.Float("Scale", &T::Scale, &T::Scale, 1.5);
        p.Color("Color", &T::Color, &T::Color, clBtnFace);
        p.Int("Big", &T::Big, &T::Big, 0);
        p.Object("Font", &T::Font);
        p.Object("Items", &T::Items);
        p.Object("Lines", &T::Lines);
        p.Component("Link", &T::Link, &T::SetLink);
        p.Event("OnClick", &T::OnClick);
        p.Event("OnValue", &T::OnValue);
    });
    return &info;
}

void TTestComponent::SetLink(TTestComponent* value) {
    if (FLink == value) return;
    if (FLink != nullptr) FLink->RemoveFreeNotification(this);
    FLink = value;
    if (FLink != nullptr) FLink->FreeNotification(this);
}

void TTestComponent::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const {
    TComponent::GetChildren(proc, root);
    if (root == nullptr) return;
    for (int i = 0; i < root->ComponentCount(); ++i)
        if (root->Components(i)->GetParentComponent() == this) proc(root->Components(i));
}

void TTestComponent::DefineProperties(TFiler& filer) {
    TComponent::DefineProperties(filer);
    filer.DefineProperty(
        "PositionMax_2", [this](TReader& r) { PositionMax = r.ReadFloat(); },
        [this](TWriter& w) { w.WriteFloat(PositionMax); }, true);
    filer.DefineProperty(
        "Points",
        [this](TReader& r) {
            Points.clear();
            r.ReadListBegin();
            while (!r.EndOfList())
                Points.push_back(r.ReadInteger());
            r.ReadListEnd();
        },
        [this](TWriter& w) {
            w.WriteListBegin();
            for (std::int64_t p : Points)
                w.WriteInteger(p);
            w.WriteListEnd();
        },
        !Points.empty());
    filer.DefineBinaryProperty(
        "Blob",
        [this](TStream& s) {
            Blob.resize(static_cast<std::size_t>(s.Size()));
            s.ReadBuffer(Blob.data(), s.Size());
        },
        [this](TStream& s) { s.WriteBuffer(Blob.data(), static_cast<std::int64_t>(Blob.size())); }, !Blob.empty());
}

void TTestComponent::Loaded() {
    TComponent::Loaded();
    ++LoadedCount;
    WidthAtLoaded = FWidth;
    LinkAtLoaded = FLink;
    ChildrenAtLoaded = 0;
    const TComponent* root = Owner() != nullptr ? Owner() : this;
    for (int i = 0; i < root->ComponentCount(); ++i)
        if (root->Components(i)->GetParentComponent() == this) ++ChildrenAtLoaded;
    LoadingAtLoaded = ComponentState().Contains(csLoading);
    LoadedLog().push_back(Name());
    if (ThrowInLoaded) throw base::Exception("Loaded failed");
}

void TTestComponent::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FLink) FLink = nullptr;
}

TClass TTestPanel::StaticClass() {
    static const TClassInfo info = MakeClass<TTestPanel, TTestComponent>(
        "TTestPanel", [](auto& p) { p.Int("Width", &TTestPanel::Width, &TTestPanel::SetWidth, 200); });
    return &info;
}

TClass TTestForm::StaticClass() {
    static const TClassInfo info = MakeClass<TTestForm, TTestComponent>("TTestForm");
    return &info;
}

void RegisterTestClasses() {
    RegisterClasses({TTestComponent::StaticClass(), TTestPanel::StaticClass(), TTestForm::StaticClass()});
}

}
