// TComponent: owned components with names, free notifications, component states and the loading protocol.
#pragma once

#include "platform/classes/TPersistent.h"
#include "platform/classes/TSet.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace korvex::classes {

enum TComponentStateItem {
    csLoading,   // being read from a stream; cleared by Loaded
    csReading,   // its properties are being read
    csWriting,   // being written to a stream
    csDestroying,   // being destroyed (set on it and everything it owns)
    csDesigning,   // in a designer; the program never sets it
    csAncestor,
    csUpdating,   // between Updating and Updated
    csFixups,   // holds references not resolved yet while loading
    csFreeNotification,   // asked others for free notifications
    csInline,
    csDesignInstance,
};
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

// Ownership: a component made with an owner (new TX(owner), or Create<TX>(owner) to run AfterConstruction) is
// in its owner's Components and is freed by it, the last made first. Freeing a component:
//   1. sets csDestroying on it and everything it owns,
//   2. sends Notification(it, opRemove) to every component that asked for its FreeNotification,
//   3. frees what it owns, in reverse order,
//   4. leaves its owner, which sends Notification(it, opRemove) to the owner and all the owner's components.
// A component made with an owner is announced (Notification(it, opInsert) to the owner and its components) by
// AfterConstruction, once it is whole: a constructor's announcement would show the others a bare TComponent.
// A plain pointer to a component owned elsewhere must be cleared in Notification (ask FreeNotification first).
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    void AfterConstruction() override;   // announces it to its owner's components
    ~TComponent() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const;   // raises EListError out of range
    int ComponentIndex() const;   // position in the owner's Components, -1 without owner
    void SetComponentIndex(int index);   // moves it among its siblings (clamped)
    TComponent* FindComponent(std::string_view name) const;   // among the owned, without case; nullptr if none

    const std::string& Name() const { return FName; }
    // Raises EComponentError for a name that is not an identifier ("'1x' is not a valid component name")
    // or taken by a sibling without regard to case ("A component named Button1 already exists").
    virtual void SetName(const std::string& value);
    std::intptr_t Tag() const { return FTag; }
    void SetTag(std::intptr_t value) { FTag = value; }

    TComponentState ComponentState() const { return FComponentState; }

    void InsertComponent(TComponent* component);   // takes ownership; Notification(component, opInsert)
    void RemoveComponent(TComponent* component);   // gives it up; Notification(component, opRemove)
    void DestroyComponents();   // frees every owned component, the last first
    void Destroying();   // sets csDestroying here and on everything owned

    // Asks `component` to call this->Notification(component, opRemove) when it is freed (and the reverse).
    // Siblings with the same owner hear of each other anyway and are not recorded.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    void Updating();   // csUpdating on
    void Updated();   // csUpdating off

    void BeforeDestruction() override;
    TPersistent* GetOwner() const override;

    // Nesting in component text. A nested object is made with the root as its owner and handed its enclosing
    // object through SetParentComponent; the writer nests what GetChildren lists. The defaults: no parent;
    // a root lists the components it owns that have no parent component.
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* value);
    virtual void GetChildren(const std::function<void(TComponent* child)>& proc, TComponent* root) const;

protected:
    // Called once after the whole tree was read (all properties, all nested objects, references resolved).
    // Overrides call the inherited one first; it clears csLoading.
    virtual void Loaded();
    // Another component was inserted into or removed from this one's owner, or one this one asked for a free
    // notification is being freed. Overrides call the inherited one, which passes it on to the owned ones.
    virtual void Notification(TComponent* component, TOperation operation);

    // Component states set by the reader, the writer and the classes above (designing, inline).
    void SetComponentState(TComponentState value) { FComponentState = value; }
    void IncludeState(TComponentStateItem item) { FComponentState.Include(item); }
    void ExcludeState(TComponentStateItem item) { FComponentState.Exclude(item); }

private:
    friend class TReader;
    friend class TReaderState;
    friend class TWriter;
    friend class TWriterState;
    static void SetConstructingLoaded(bool value);   // the next component made starts with csLoading

    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void RemoveNotification(TComponent* component);

    TComponent* FOwner = nullptr;
    std::string FName;
    std::intptr_t FTag = 0;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    TComponentState FComponentState;
    bool FInsertPending = false;   // made with an owner and not announced yet
};

// An identifier as names and idents must be: a letter or '_', then letters, digits or '_' (ASCII).
bool IsValidIdent(std::string_view ident);

}
