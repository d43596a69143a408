// Tests of the object model: class descriptors, ownership, names, free notifications and component states.
#include "support/Fixtures.h"

#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"

#include <gtest/gtest.h>

#include <functional>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::test;

namespace {

// Records what it is told, and how its owner looked while it was destroyed.
class TRecorder : public TComponent {
public:
    explicit TRecorder(TComponent* owner, std::vector<std::string>* log = nullptr)
        : TComponent(owner)
        , Log(log) { }
    ~TRecorder() override {
        if (Log != nullptr)
            Log->push_back("free " + Name() + (ComponentState().Contains(csDestroying) ? " destroying" : "")
                + (Owner() != nullptr && Owner()->ComponentState().Contains(csDestroying) ? " owner-destroying" : ""));
    }
    static TClass StaticClass() {
        static const TClassInfo info = MakeClass<TRecorder, TComponent>("TRecorder");
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override {
        TComponent::AfterConstruction();
        ++AfterConstructionCalls;
        if (FailAfterConstruction) throw base::Exception("no");
    }

    std::vector<std::string>* Log;
    std::vector<std::string> Notes;
    std::function<void(TComponent*)> OnInsert;
    int AfterConstructionCalls = 0;
    static inline bool FailAfterConstruction = false;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        Notes.push_back((operation == opInsert ? "insert " : "remove ") + component->Name());
        if (operation == opInsert && OnInsert) OnInsert(component);
    }
};

}

TEST(TObject, ClassNamesAndInheritanceComeFromTheDescriptors) {
    TTestComponent c(nullptr);
    EXPECT_EQ(c.ClassName(), "TTestComponent");
    EXPECT_TRUE(c.InheritsFrom(TComponent::StaticClass()));
    EXPECT_TRUE(c.InheritsFrom(TObject::StaticClass()));
    EXPECT_FALSE(c.InheritsFrom(TTestPanel::StaticClass()));
    EXPECT_TRUE(c.ClassNameIs("ttestcomponent"));
    EXPECT_EQ(TTestPanel::StaticClass()->Parent(), TTestComponent::StaticClass());
}

TEST(TObject, AsRaisesEInvalidCastForAnotherClassAndPassesNull) {
    TTestComponent c(nullptr);
    TObject* obj = &c;
    EXPECT_TRUE(is<TComponent>(obj));
    EXPECT_FALSE(is<TTestPanel>(obj));
    EXPECT_EQ(as<TComponent>(obj), &c);
    EXPECT_THROW(as<TTestPanel>(obj), EInvalidCast);
    EXPECT_EQ(as<TTestPanel>(static_cast<TObject*>(nullptr)), nullptr);
}

TEST(TClassRegistry, FindsClassesWithoutCaseAndRefusesAnotherClassUnderATakenName) {
    RegisterTestClasses();
    EXPECT_EQ(FindClass("ttestpanel"), TTestPanel::StaticClass());
    EXPECT_EQ(FindClass("TNoSuchClass"), nullptr);
    EXPECT_THROW(GetClass("TNoSuchClass"), EClassNotFound);
    EXPECT_NO_THROW(RegisterClass(TTestPanel::StaticClass()));
    static const TClassInfo impostor = MakeClass<TTestPanel, TTestComponent>("TTestPanel");
    EXPECT_THROW(RegisterClass(&impostor), EFilerError);
    EXPECT_EQ(FindClass("TTestPanel"), TTestPanel::StaticClass());
}

TEST(TPersistent, AssignRaisesCannotAssignWithBothClassNames) {
    TTestFont font;
    TStringList list;
    try {
        font.Assign(&list);
        FAIL();
    } catch (const base::EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TStringList to a TTestFont");
    }
    try {
        font.Assign(nullptr);
        FAIL();
    } catch (const base::EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a nil to a TTestFont");
    }
}

TEST(TComponent, OwnerFreesOwnedComponentsLastMadeFirst) {
    std::vector<std::string> log;
    auto* owner = new TRecorder(nullptr, &log);
    owner->SetName("Owner");
    for (const char* name : {"A", "B", "C"})
        (new TRecorder(owner, &log))->SetName(name);
    owner->Free();
    // The owner's own destructor runs first; what it owns goes while its TComponent part is still there.
    EXPECT_EQ(log,
        (std::vector<std::string> {"free Owner destroying", "free C destroying owner-destroying",
            "free B destroying owner-destroying", "free A destroying owner-destroying"}));
}

// The owner's components hear of a new one when it is whole, as its own class: one made by the library's way
// (Create) once, and one taken by InsertComponent at once.
TEST(TComponent, ANewComponentIsAnnouncedAsItsOwnClassOnce) {
    TRecorder owner(nullptr);
    auto* listener = new TRecorder(&owner);
    std::vector<std::string> seen;
    listener->OnInsert = [&](TComponent* c) { seen.push_back(c->ClassName()); };
    Create<TTestPanel>(&owner);
    auto* moved = Create<TTestComponent>(nullptr);
    owner.InsertComponent(moved);
    EXPECT_EQ(seen, (std::vector<std::string> {"TTestPanel", "TTestComponent"}));
}

TEST(TComponent, OwnerAndSiblingsHearOfInsertAndRemove) {
    TRecorder owner(nullptr);
    auto* a = new TRecorder(&owner);
    a->SetName("A");
    auto* b = new TRecorder(&owner);
    b->SetName("B");
    a->Notes.clear();
    owner.Notes.clear();
    b->Free();
    EXPECT_EQ(owner.Notes, (std::vector<std::string> {"remove B"}));
    EXPECT_EQ(a->Notes, (std::vector<std::string> {"remove B"}));
    EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST(TComponent, FreeNotificationClearsAReferenceAcrossOwners) {
    TComponent ownerA(nullptr), ownerB(nullptr);
    auto* holder = new TTestComponent(&ownerA);
    auto* target = new TTestComponent(&ownerB);
    holder->SetLink(target);
    EXPECT_TRUE(target->ComponentState().Contains(csFreeNotification));
    target->Free();
    EXPECT_EQ(holder->Link(), nullptr);
}

TEST(TComponent, FreeNotificationWorksWithoutOwnersAndBothWays) {
    auto* holder = new TTestComponent(nullptr);
    auto* target = new TTestComponent(nullptr);
    holder->SetLink(target);
    ASSERT_TRUE(target->ComponentState().Contains(csFreeNotification));
    holder->Free();   // the target must forget the holder, or freeing it would notify freed memory
    EXPECT_FALSE(target->ComponentState().Contains(csFreeNotification));   // nobody left to notify
    target->Free();
}

TEST(TComponent, RemoveFreeNotificationStopsTheNotification) {
    std::vector<std::string> log;
    auto* listener = new TRecorder(nullptr, &log);
    auto* target = new TRecorder(nullptr, &log);
    target->SetName("T");
    target->FreeNotification(listener);
    target->RemoveFreeNotification(listener);
    target->Free();
    EXPECT_TRUE(listener->Notes.empty());
    listener->Free();
}

TEST(TComponent, SiblingReferenceIsClearedThroughTheOwner) {
    TComponent owner(nullptr);
    auto* holder = new TTestComponent(&owner);
    auto* target = new TTestComponent(&owner);
    holder->SetLink(target);
    target->Free();
    EXPECT_EQ(holder->Link(), nullptr);
}

TEST(TComponent, NamesMustBeIdentifiersAndUniqueAmongSiblingsWithoutCase) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    a->SetName("Button1");
    auto* b = new TComponent(&owner);
    for (const char* bad : {"1x", "a b", "x-y", "é", "a.b"})
        EXPECT_THROW(b->SetName(bad), EComponentError) << bad;
    try {
        b->SetName("BUTTON1");
        FAIL();
    } catch (const EComponentError& e) {
        EXPECT_STREQ(e.what(), "A component named BUTTON1 already exists");
    }
    b->SetName("_Button_2");
    a->SetName("button1");   // its own name in other case
    EXPECT_EQ(owner.FindComponent("BUTTON1"), a);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    b->SetName("");
    EXPECT_EQ(b->Name(), "");
}

TEST(TComponent, InsertComponentMovesItBetweenOwnersAndRefusesATakenName) {
    TComponent first(nullptr), second(nullptr);
    auto* c = new TComponent(&first);
    c->SetName("X");
    second.InsertComponent(c);
    EXPECT_EQ(c->Owner(), &second);
    EXPECT_EQ(first.ComponentCount(), 0);
    auto* other = new TComponent(&first);
    other->SetName("X");
    EXPECT_THROW(second.InsertComponent(other), EComponentError);
    EXPECT_EQ(other->Owner(), &first);
}

TEST(TComponent, ComponentsRaisesEListErrorOutOfRange) {
    TComponent owner(nullptr);
    new TComponent(&owner);
    EXPECT_NO_THROW(owner.Components(0));
    EXPECT_THROW(owner.Components(1), EListError);
    EXPECT_THROW(owner.Components(-1), EListError);
}

TEST(TComponent, ComponentIndexMovesAmongSiblings) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    b->SetComponentIndex(0);
    EXPECT_EQ(owner.Components(0), b);
    EXPECT_EQ(a->ComponentIndex(), 1);
    a->SetComponentIndex(99);
    EXPECT_EQ(a->ComponentIndex(), 1);
}

TEST(TComponent, CreateRunsAfterConstructionOnceAndFreesOnFailure) {
    TComponent owner(nullptr);
    auto* c = Create<TRecorder>(&owner);
    EXPECT_EQ(c->AfterConstructionCalls, 1);
    auto* plain = new TRecorder(&owner);
    EXPECT_EQ(plain->AfterConstructionCalls, 0);
    TRecorder::FailAfterConstruction = true;
    EXPECT_THROW(Create<TRecorder>(&owner), base::Exception);
    TRecorder::FailAfterConstruction = false;
    EXPECT_EQ(owner.ComponentCount(), 2);
}

TEST(TComponent, FreeAndNilClearsThePointerBeforeFreeing) {
    TTestComponent* holder = new TTestComponent(nullptr);
    TTestComponent* target = new TTestComponent(nullptr);
    holder->SetLink(target);
    FreeAndNil(target);
    EXPECT_EQ(target, nullptr);
    EXPECT_EQ(holder->Link(), nullptr);
    FreeAndNil(target);   // nil: nothing
    FreeAndNil(holder);
}

TEST(TComponent, UpdatingAndUpdatedToggleCsUpdating) {
    TComponent c(nullptr);
    c.Updating();
    EXPECT_TRUE(c.ComponentState().Contains(csUpdating));
    c.Updated();
    EXPECT_FALSE(c.ComponentState().Contains(csUpdating));
}

TEST(TComponent, ComponentsMadeInCodeAreNotLoading) {
    TTestComponent c(nullptr);
    EXPECT_FALSE(c.LoadingInConstructor);
    EXPECT_TRUE(c.ComponentState().Empty());
}

TEST(TSet, IncludeExcludeAndOperators) {
    TFlags s {flBold};
    s.Include(flLarge);
    EXPECT_TRUE(s.Contains(flLarge));
    EXPECT_EQ((s - TFlags {flBold}), TFlags {flLarge});
    EXPECT_EQ((s * TFlags {flBold, flItalic}), TFlags {flBold});
    EXPECT_EQ((s + TFlags {flItalic}).Bits(), 7u);
    s.Exclude(flBold).Exclude(flLarge);
    EXPECT_TRUE(s.Empty());
}
