// TObject and the class descriptors: inheritance tests, flattened property lists and the registry of class names.
#include "platform/classes/TObject.h"

#include "platform/base/Strings.h"
#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"

#include <mutex>

namespace korvex::classes {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

struct TClassRegistry {
    std::mutex Lock;
    std::vector<TClass> Classes;

    TClass Find(std::string_view name) {
        for (TClass c : Classes)
            if (SameName(c->Name(), name)) return c;
        return nullptr;
    }
};

TClassRegistry& Registry() {
    static TClassRegistry registry;
    return registry;
}

}

TClassInfo::TClassInfo(std::string_view name, TClass parent, TNewComponent newComponent, TNewItem newItem,
    std::vector<std::unique_ptr<TPropInfo>> ownProperties)
    : FName(name)
    , FParent(parent)
    , FNewComponent(newComponent)
    , FNewItem(newItem)
    , FOwn(std::move(ownProperties)) {
    if (FParent != nullptr) FProperties.assign(FParent->FProperties.begin(), FParent->FProperties.end());
    for (const auto& prop : FOwn) {
        bool replaced = false;
        for (const TPropInfo*& inherited : FProperties)
            if (SameName(inherited->Name, prop->Name)) {
                inherited = prop.get();
                replaced = true;
                break;
            }
        if (!replaced) FProperties.push_back(prop.get());
    }
    TClassRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    if (registry.Find(FName) == nullptr) registry.Classes.push_back(this);
}

TClassInfo::~TClassInfo() = default;

bool TClassInfo::InheritsFrom(TClass other) const {
    for (TClass c = this; c != nullptr; c = c->FParent)
        if (c == other) return true;
    return false;
}

TComponent* TClassInfo::NewComponent(TComponent* owner) const {
    if (FNewComponent == nullptr) throw EInvalidOperation("Cannot create an instance of " + FName);
    return FNewComponent(owner);
}

TCollectionItem* TClassInfo::NewItem(TCollection* collection) const {
    if (FNewItem == nullptr) throw EInvalidOperation("Cannot create an item of " + FName);
    return FNewItem(collection);
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
    for (const TPropInfo* prop : FProperties)
        if (SameName(prop->Name, name)) return prop;
    return nullptr;
}

void RegisterClass(TClass cls) {
    TClassRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    TClass existing = registry.Find(cls->Name());
    if (existing == cls) return;
    if (existing != nullptr) throw EFilerError("A class named " + cls->Name() + " already exists");
    registry.Classes.push_back(cls);
}

void RegisterClasses(std::initializer_list<TClass> classes) {
    for (TClass cls : classes)
        RegisterClass(cls);
}

void UnRegisterClass(TClass cls) {
    TClassRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    std::erase(registry.Classes, cls);
}

TClass FindClass(std::string_view name) {
    TClassRegistry& registry = Registry();
    std::lock_guard lock(registry.Lock);
    return registry.Find(name);
}

TClass GetClass(std::string_view name) {
    TClass cls = FindClass(name);
    if (cls == nullptr) throw EClassNotFound(0, "Class " + std::string(name) + " not found");
    return cls;
}

TObject::~TObject() = default;

TClass TObject::StaticClass() {
    static const TClassInfo info = MakeClass<TObject, void>("TObject");
    return &info;
}

bool TObject::ClassNameIs(std::string_view name) const {
    return SameName(ClassName(), name);
}

void TObject::Free() {
    BeforeDestruction();
    delete this;
}

void RaiseInvalidCast() {
    throw EInvalidCast("Invalid class typecast");
}

EReadError::EReadError(int line, const std::string& what)
    : EFilerError(line > 0 ? "Line " + std::to_string(line) + ": " + what : what)
    , FLine(line)
    , FWhat(what) {
}

}
