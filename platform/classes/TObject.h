// TObject, the root of the class library, and the class descriptors behind class names, class tests and streaming.
#pragma once

#include "platform/base/ScopeGuard.h"
#include "platform/classes/Forward.h"

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::classes {

using TNotifyEvent = std::function<void(TObject* sender)>;

// ---------------------------------------------------------------------------------------------------------
// Class descriptors
//
// Every class of the library and above has one TClassInfo: its name, its parent's descriptor, how to make an
// instance for streaming, and its published properties. A class declares two members:
//
//     static TClass StaticClass();
//     TClass ClassType() const override { return StaticClass(); }
//
// and defines StaticClass in its .cpp with MakeClass (PropertyRegistry.h), which also publishes properties:
//
//     TClass TFoo::StaticClass() {
//         static const TClassInfo info = MakeClass<TFoo, TBar>("TFoo", [](TPropertyBuilder<TFoo>& p) {
//             p.Int("Width", &TFoo::Width, &TFoo::SetWidth, 100);
//         });
//         return &info;
//     }
//
// A descriptor registers its name when it is made (the first StaticClass call). Streaming finds classes by
// name, so call RegisterClasses({TFoo::StaticClass(), ...}) before reading text that names them.
class TClassInfo {
public:
    using TNewComponent = TComponent* (*)(TComponent* owner);   // new + AfterConstruction
    using TNewItem = TCollectionItem* (*)(TCollection* collection);

    TClassInfo(std::string_view name, TClass parent, TNewComponent newComponent, TNewItem newItem,
        std::vector<std::unique_ptr<TPropInfo>> ownProperties);
    ~TClassInfo();
    TClassInfo(const TClassInfo&) = delete;
    TClassInfo& operator=(const TClassInfo&) = delete;

    const std::string& Name() const { return FName; }
    TClass Parent() const { return FParent; }
    bool InheritsFrom(TClass other) const;   // true for the class itself

    // Instances for streaming; nullptr when the class cannot be made that way (abstract, other constructor).
    bool CanCreateComponent() const { return FNewComponent != nullptr; }
    TComponent* NewComponent(TComponent* owner) const;
    bool CanCreateItem() const { return FNewItem != nullptr; }
    TCollectionItem* NewItem(TCollection* collection) const;

    // Published properties, the parent's first, in declaration order. A property published again by a
    // descendant replaces the inherited one in its place.
    std::span<const TPropInfo* const> Properties() const { return FProperties; }
    const TPropInfo* FindProperty(std::string_view name) const;   // without case; nullptr when none

private:
    std::string FName;
    TClass FParent = nullptr;
    TNewComponent FNewComponent = nullptr;
    TNewItem FNewItem = nullptr;
    std::vector<std::unique_ptr<TPropInfo>> FOwn;
    std::vector<const TPropInfo*> FProperties;
};

// The registry of class names. Registering the same descriptor again does nothing; another class under a
// name already taken raises EFilerError. Names are compared without case.
void RegisterClass(TClass cls);
void RegisterClasses(std::initializer_list<TClass> classes);
void UnRegisterClass(TClass cls);
TClass FindClass(std::string_view name);   // nullptr when not registered
TClass GetClass(std::string_view name);   // raises EClassNotFound (line 0) when not registered

// ---------------------------------------------------------------------------------------------------------
// TObject: not copyable; Free() runs BeforeDestruction and deletes. Plain `delete` skips BeforeDestruction.
class TObject {
public:
    TObject() = default;
    virtual ~TObject();
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;

    static TClass StaticClass();
    virtual TClass ClassType() const { return StaticClass(); }
    const std::string& ClassName() const { return ClassType()->Name(); }
    bool InheritsFrom(TClass cls) const { return ClassType()->InheritsFrom(cls); }
    bool ClassNameIs(std::string_view name) const;   // without case

    virtual void AfterConstruction() { }
    virtual void BeforeDestruction() { }
    void Free();
};

// Class tests in the style of dynamic_cast. as<T> raises EInvalidCast "Invalid class typecast" when obj is
// not null and not a T; a null obj gives nullptr.
template <class T>
bool is(const TObject* obj) {
    return dynamic_cast<const T*>(obj) != nullptr;
}
[[noreturn]] void RaiseInvalidCast();
template <class T>
T* as(TObject* obj) {
    if (obj == nullptr) return nullptr;
    if (auto* t = dynamic_cast<T*>(obj)) return t;
    RaiseInvalidCast();
}
template <class T>
const T* as(const TObject* obj) {
    return as<T>(const_cast<TObject*>(obj));
}

// Frees the object (when not null) after clearing the pointer, so a notification sees it cleared.
template <class T>
void FreeAndNil(T*& obj) {
    T* old = obj;
    obj = nullptr;
    if (old != nullptr) old->Free();
}

// Makes a component the way the library does: new T(args...), then AfterConstruction. If AfterConstruction
// throws, the component is freed and the error passed on. `new T(owner)` alone skips AfterConstruction.
template <class T, class... Args>
T* Create(Args&&... args) {
    T* obj = new T(std::forward<Args>(args)...);
    base::ScopeExit discard([obj] { obj->Free(); });
    obj->AfterConstruction();
    discard.Dismiss();
    return obj;
}

}
