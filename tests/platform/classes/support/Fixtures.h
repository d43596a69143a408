// Test classes with a published property of every kind, defined entries, collections and nesting.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/TCollection.h"
#include "platform/classes/TComponent.h"
#include "platform/classes/TStringList.h"

#include <bitset>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace korvex::classes::test {

enum TShape { shCircle, shSquare, shTriangle };
enum TFlag { flBold, flItalic, flLarge };
using TFlags = TSet<TFlag>;
inline constexpr std::string_view ShapeIdents[] = {"shCircle", "shSquare", "shTriangle"};
inline constexpr std::string_view FlagIdents[] = {"flBold", "flItalic", "flLarge"};

using TValueEvent = std::function<void(TObject* sender, int value)>;

// Everything Loaded saw, in order: "Name" per call.
std::vector<std::string>& LoadedLog();
// Destructor calls, in order.
std::vector<std::string>& DestroyLog();

// A sub-object with a binary entry "Data".
class TTestFont : public TPersistent {
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    void Assign(const TPersistent* source) override;
    void DefineProperties(TFiler& filer) override;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& v) { FName = v; }
    int Size() const { return FSize; }
    void SetSize(int v) { FSize = v; }
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { FColor = v; }
    TFlags Style() const { return FStyle; }
    void SetStyle(TFlags v) { FStyle = v; }
    std::vector<std::uint8_t> Data;

private:
    std::string FName = "Tahoma";
    int FSize = 8;
    TColor FColor = clWindowText;
    TFlags FStyle;
};

class TTestLeaf : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    std::string Text;
};

class TTestItem : public TCollectionItem {
public:
    explicit TTestItem(TCollection* collection);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    std::string Caption;
    int Value = 0;
    double Ratio = 0;
    TTestFont* Font() const { return FFont.get(); }
    TCollection* Leaves() const { return FLeaves.get(); }

private:
    std::unique_ptr<TTestFont> FFont = std::make_unique<TTestFont>();
    std::unique_ptr<TOwnedCollection> FLeaves;
};

// Every kind of published property; defined entries "PositionMax_2" (float, always), "Points" (list of
// integers, when any) and "Blob" (binary, when any).
class TTestComponent : public TComponent {
public:
    explicit TTestComponent(TComponent* owner);
    ~TTestComponent() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    int Width() const { return FWidth; }
    void SetWidth(int v) { FWidth = v; }
    int Height = 0;
    int Hidden = 0;   // published, never stored
    int ReadOnly() const { return 7; }
    bool Visible = true;
    TShape Shape = shCircle;
    TFlags Flags {flBold};
    std::bitset<3> Bits;
    std::string Caption;
    double Ratio = 0;
    double Scale = 1.5;
    TColor Color = clBtnFace;
    std::int64_t Big = 0;
    TTestFont* Font() const { return FFont.get(); }
    TCollection* Items() const { return FItems.get(); }
    TStringList* Lines() const { return FLines.get(); }
    TTestComponent* Link() const { return FLink; }
    void SetLink(TTestComponent* value);
    TNotifyEvent OnClick;
    TValueEvent OnValue;

    double PositionMax = 100;
    int PositionMaxSetterCalls = 0;
    void SetPositionMax(double v) {
        ++PositionMaxSetterCalls;
        PositionMax = v;
    }
    std::vector<std::int64_t> Points;
    std::vector<std::uint8_t> Blob;

    // What the component saw
    bool LoadingInConstructor = false;
    int LoadedCount = 0;
    int WidthAtLoaded = -1;
    TTestComponent* LinkAtLoaded = nullptr;
    int ChildrenAtLoaded = -1;
    bool LoadingAtLoaded = false;
    bool ThrowInLoaded = false;
    TComponent* ParentComponent = nullptr;

    bool HasParent() const override { return ParentComponent != nullptr; }
    TComponent* GetParentComponent() const override { return ParentComponent; }
    void SetParentComponent(TComponent* value) override { ParentComponent = value; }
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const override;
    void DefineProperties(TFiler& filer) override;

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    int FWidth = 100;
    std::unique_ptr<TTestFont> FFont = std::make_unique<TTestFont>();
    std::unique_ptr<TOwnedCollection> FItems;
    std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
    TTestComponent* FLink = nullptr;
};

// Publishes Width again with another default.
class TTestPanel : public TTestComponent {
public:
    using TTestComponent::TTestComponent;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

// A root with event handlers and fields.
class TTestForm : public TTestComponent {
public:
    using TTestComponent::TTestComponent;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void Button1Click(TObject* sender) { Clicks.push_back(sender); }
    void ValueChanged(TObject*, int value) { Values.push_back(value); }
    std::vector<TObject*> Clicks;
    std::vector<int> Values;
    TTestComponent* Button1 = nullptr;
    TTestPanel* Panel1 = nullptr;
};

void RegisterTestClasses();

}
