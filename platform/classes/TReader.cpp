// TReader: builds the component tree of a parsed text: classes by name, properties through the registry,
// defined entries, events through the method table, references after the tree, then Loaded.
#include "platform/classes/TReader.h"

#include "platform/base/ScopeGuard.h"
#include "platform/base/Strings.h"
#include "platform/classes/FormText.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TCollection.h"
#include "platform/classes/TComponent.h"
#include "platform/classes/TMemoryStream.h"
#include "platform/classes/TMethodTable.h"

#include <cmath>
#include <limits>

namespace korvex::classes {

using formtext::TObjectNode;
using formtext::TProperty;
using formtext::TValue;

class TReaderState {
public:
    struct TFixup {
        TPersistent* Object;
        const TPropInfo* Prop;
        std::string Name;
        int Line;
    };
    struct TFrame {
        const TValue* Values;
        std::size_t Count;
        std::size_t Index;
        int Line;
    };

    TComponent* Root = nullptr;
    const TMethodTable* Methods = nullptr;
    std::vector<TComponent*> Created;
    std::vector<TComponent*> Loaded;
    std::vector<TFixup> Fixups;
    std::vector<TFrame> Frames;   // values a defined property's read procedure walks
    // The defined entry being looked for, and what DefineProperties gave for it
    std::string Wanted;
    TReaderProc FoundRead;
    TStreamProc FoundBinaryRead;
    bool Found = false;
    bool FoundBinary = false;

    void ReadProperties(TPersistent* obj, const std::vector<TProperty>& props);
    void ReadProperty(TPersistent* obj, const TProperty& prop);
    void SetValue(TPersistent* obj, const TPropInfo& info, const TValue& value, int line);
    void ReadDefined(TPersistent* obj, const std::string& name, const TValue& value, int line);
    void ReadItems(const TValue& value, const std::function<TPersistent*()>& newItem);
    void ReadCollection(TCollection* collection, const TValue& value);
    void ReadChild(const TObjectNode& node, TComponent* parent);
    void ResolveFixups();
    static TComponent* NewComponent(TClass cls, TComponent* owner, const TObjectNode& node);
    static void ReadInto(TComponent* root, const TObjectNode& node, const TMethodTable* methods);

    TReader* Reader = nullptr;
};

namespace {

[[noreturn]] void Fail(int line, const std::string& what) {
    throw EReadError(line, what);
}

// Runs f, turning a failure that is not a read error into one with the line.
template <class F>
void WithLine(int line, const std::string& context, F&& f) {
    try {
        f();
    } catch (const EReadError&) {
        throw;
    } catch (const std::exception& e) {
        Fail(line, context + ": " + e.what());
    }
}

std::string TypeName(TValueType type) {
    switch (type) {
    case TValueType::vaNull:
        return "nothing";
    case TValueType::vaList:
        return "a list";
    case TValueType::vaInt:
        return "an integer";
    case TValueType::vaFloat:
        return "a float";
    case TValueType::vaString:
        return "a string";
    case TValueType::vaIdent:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
        return "an identifier";
    case TValueType::vaSet:
        return "a set";
    case TValueType::vaCollection:
        return "a collection";
    case TValueType::vaBinary:
        return "binary data";
    }
    return "a value";
}

bool IsIdentValue(const TValue& v) {
    return v.Type == TValueType::vaIdent || v.Type == TValueType::vaTrue || v.Type == TValueType::vaFalse;
}

bool NonFiniteIdent(const std::string& ident, double& value) {
    if (base::SameText(ident, "INF")) {
        value = std::numeric_limits<double>::infinity();
        return true;
    }
    if (base::SameText(ident, "NAN")) {
        value = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    return false;
}

std::string ClassNameOf(const TPersistent* obj) {
    return obj->ClassName();
}

}

void TReaderState::ReadProperties(TPersistent* obj, const std::vector<TProperty>& props) {
    for (const TProperty& prop : props)
        ReadProperty(obj, prop);
}

void TReaderState::ReadProperty(TPersistent* obj, const TProperty& prop) {
    // Walk the dotted name through sub-objects to the last part.
    TPersistent* target = obj;
    std::string_view rest = prop.Name;
    while (true) {
        std::size_t dot = rest.find('.');
        std::string part(rest.substr(0, dot));
        const TPropInfo* info = GetPropInfo(*target, part);
        if (dot == std::string_view::npos) {
            if (info != nullptr)
                SetValue(target, *info, prop.Value, prop.Line);
            else
                ReadDefined(target, part, prop.Value, prop.Line);
            return;
        }
        if (info == nullptr) Fail(prop.Line, "Property " + part + " does not exist in " + ClassNameOf(target));
        if (info->Kind != TPropKind::Object && info->Kind != TPropKind::Component)
            Fail(prop.Line, "Property " + part + " of " + ClassNameOf(target) + " has no sub-properties");
        TPersistent* sub = info->GetObject(*target);
        if (sub == nullptr) Fail(prop.Line, "Property " + part + " of " + ClassNameOf(target) + " is not assigned");
        target = sub;
        rest.remove_prefix(dot + 1);
    }
}

void TReaderState::SetValue(TPersistent* obj, const TPropInfo& info, const TValue& value, int line) {
    const std::string context = "Error reading " + ClassNameOf(obj) + "." + info.Name;
    auto invalid = [&](const std::string& expected) {
        Fail(line,
            "Invalid value for " + info.Name + ": " + expected + " expected but " + TypeName(value.Type) + " found");
    };
    if (!info.IsWritable()) Fail(line, "Property " + info.Name + " of " + ClassNameOf(obj) + " is read-only");
    switch (info.Kind) {
    case TPropKind::Integer:
        if (value.Type != TValueType::vaInt) invalid("an integer");
        WithLine(line, context, [&] { info.SetOrd(*obj, value.Int); });
        return;
    case TPropKind::Boolean:
        if (value.Type != TValueType::vaTrue && value.Type != TValueType::vaFalse) invalid("True or False");
        WithLine(line, context, [&] { info.SetOrd(*obj, value.Type == TValueType::vaTrue ? 1 : 0); });
        return;
    case TPropKind::Enum: {
        std::int64_t ord = 0;
        if (value.Type == TValueType::vaInt)
            ord = value.Int;
        else if (!IsIdentValue(value) || !TryGetEnumValue(info.Names, value.Text, ord))
            Fail(line,
                "Invalid value for " + info.Name + ": " + (IsIdentValue(value) ? value.Text : TypeName(value.Type)));
        WithLine(line, context, [&] { info.SetOrd(*obj, ord); });
        return;
    }
    case TPropKind::Set: {
        if (value.Type != TValueType::vaSet) invalid("a set");
        std::uint64_t bits = 0;
        for (const std::string& element : value.Set) {
            std::int64_t ord = 0;
            if (!TryGetEnumValue(info.Names, element, ord) || ord >= 64)
                Fail(line, "Invalid set element " + element + " for " + info.Name);
            bits |= std::uint64_t(1) << ord;
        }
        WithLine(line, context, [&] { info.SetOrd(*obj, static_cast<std::int64_t>(bits)); });
        return;
    }
    case TPropKind::Color: {
        TColor color = 0;
        if (value.Type == TValueType::vaInt) {
            if (value.Int < std::numeric_limits<std::int32_t>::min() || value.Int > 0xFFFFFFFFLL)
                Fail(line, "Colour value out of range for " + info.Name);
            color = static_cast<TColor>(static_cast<std::uint32_t>(value.Int));
        } else if (!IsIdentValue(value) || !IdentToColor(value.Text, color)) {
            Fail(line,
                "Invalid colour for " + info.Name + ": " + (IsIdentValue(value) ? value.Text : TypeName(value.Type)));
        }
        WithLine(line, context, [&] { info.SetOrd(*obj, color); });
        return;
    }
    case TPropKind::String:
        if (value.Type != TValueType::vaString) invalid("a string");
        WithLine(line, context, [&] { info.SetString(*obj, value.Text); });
        return;
    case TPropKind::Float: {
        double v = 0;
        if (value.Type == TValueType::vaFloat)
            v = value.Float;
        else if (value.Type == TValueType::vaInt)
            v = static_cast<double>(value.Int);
        else if (!(IsIdentValue(value) && NonFiniteIdent(value.Text, v)))
            invalid("a number");
        WithLine(line, context, [&] { info.SetFloat(*obj, v); });
        return;
    }
    case TPropKind::Object: {
        TPersistent* sub = info.GetObject(*obj);
        auto* collection = dynamic_cast<TCollection*>(sub);
        if (collection == nullptr || value.Type != TValueType::vaCollection)
            Fail(line, "Invalid value for " + info.Name + ": sub-objects take dotted property names");
        ReadCollection(collection, value);
        return;
    }
    case TPropKind::Component:
        if (!IsIdentValue(value)) invalid("a component name");
        if (base::SameText(value.Text, "nil"))
            WithLine(line, context, [&] { info.SetObject(*obj, nullptr); });
        else
            Fixups.push_back({obj, &info, value.Text, line});
        return;
    case TPropKind::Event: {
        if (!IsIdentValue(value)) invalid("a method name");
        const std::any* method = Methods != nullptr ? Methods->FindMethod(value.Text) : nullptr;
        if (method == nullptr) Fail(line, "Method " + value.Text + " for " + info.Name + " not found");
        bool bound = false;
        WithLine(line, context, [&] { bound = info.SetEvent(*obj, *method); });
        if (!bound) Fail(line, "Method " + value.Text + " does not match the type of " + info.Name);
        obj->SetEventMethodName(info.Name, Methods->MethodName(method));
        return;
    }
    }
}

void TReaderState::ReadDefined(TPersistent* obj, const std::string& name, const TValue& value, int line) {
    Wanted = name;
    Found = FoundBinary = false;
    FoundRead = nullptr;
    FoundBinaryRead = nullptr;
    obj->DefineProperties(*Reader);
    Wanted.clear();
    if (!Found) Fail(line, "Property " + name + " does not exist in " + ClassNameOf(obj));
    const std::string context = "Error reading " + ClassNameOf(obj) + "." + name;
    if (FoundBinary) {
        if (value.Type != TValueType::vaBinary)
            Fail(line, "Invalid value for " + name + ": binary data expected but " + TypeName(value.Type) + " found");
        TStreamProc read = std::move(FoundBinaryRead);
        TMemoryStream stream;
        stream.WriteBuffer(value.Binary.data(), static_cast<std::int64_t>(value.Binary.size()));
        stream.SetPosition(0);
        if (read) WithLine(line, context, [&] { read(stream); });
        return;
    }
    TReaderProc read = std::move(FoundRead);
    if (!read) return;
    std::vector<TFrame> saved;
    saved.swap(Frames);
    Frames.push_back({&value, 1, 0, line});
    WithLine(line, context, [&] { read(*Reader); });
    bool complete = Frames.size() == 1 && Frames.back().Index == 1;
    Frames.swap(saved);
    if (!complete) Fail(line, "Invalid value for " + name + ": not read completely");
}

void TReaderState::ReadItems(const TValue& value, const std::function<TPersistent*()>& newItem) {
    for (const formtext::TItem& item : value.Items) {
        TPersistent* obj = nullptr;
        WithLine(item.Line, "Error creating a collection item", [&] { obj = newItem(); });
        if (obj == nullptr) Fail(item.Line, "No object for a collection item");
        ReadProperties(obj, item.Properties);
    }
}

void TReaderState::ReadCollection(TCollection* collection, const TValue& value) {
    collection->BeginUpdate();
    base::ScopeExit endUpdate([collection] { collection->EndUpdate(); });
    collection->Clear();
    ReadItems(value, [collection] { return collection->Add(); });
}

void TReaderState::ReadChild(const TObjectNode& node, TComponent* parent) {
    TClass cls = FindClass(node.ClassName);
    if (cls == nullptr) throw EClassNotFound(node.Line, "Class " + node.ClassName + " not found");
    if (!cls->InheritsFrom(TComponent::StaticClass()) || !cls->CanCreateComponent())
        Fail(node.Line, "Class " + node.ClassName + " cannot be created from text");
    TComponent* component = NewComponent(cls, Root, node);
    if (component->Owner() != Root) {   // a constructor that ignored its owner
        if (component->Owner() == nullptr)
            Root->InsertComponent(component);
        else
            Created.push_back(component);
    }
    if (std::find(Created.begin(), Created.end(), component) == Created.end()) Created.push_back(component);
    Loaded.push_back(component);
    component->IncludeState(csLoading);
    component->IncludeState(csReading);
    if (!node.Name.empty())
        WithLine(node.Line, "Error naming " + node.ClassName, [&] { component->SetName(node.Name); });
    if (Methods != nullptr && !node.Name.empty() && !Methods->BindField(node.Name, component))
        Fail(node.Line, "Field " + node.Name + " does not take a " + node.ClassName);
    WithLine(node.Line, "Error setting the parent of " + node.Name, [&] { component->SetParentComponent(parent); });
    ReadProperties(component, node.Properties);
    for (const TObjectNode& child : node.Children)
        ReadChild(child, component);
    component->ExcludeState(csReading);
}

// Made with csLoading set from the start of its constructor, as the reader's components are.
TComponent* TReaderState::NewComponent(TClass cls, TComponent* owner, const TObjectNode& node) {
    TComponent* component = nullptr;
    TComponent::SetConstructingLoaded(true);
    try {
        component = cls->NewComponent(owner);
    } catch (const std::exception& e) {
        TComponent::SetConstructingLoaded(false);
        Fail(node.Line, "Error creating " + node.ClassName + ": " + e.what());
    }
    TComponent::SetConstructingLoaded(false);
    return component;
}

void TReaderState::ResolveFixups() {
    for (const TFixup& fixup : Fixups) {
        TComponent* target = Root->FindComponent(fixup.Name);
        if (target == nullptr && base::SameText(Root->Name(), fixup.Name)) target = Root;
        if (target == nullptr)
            Fail(fixup.Line, "Component " + fixup.Name + " referenced by " + fixup.Prop->Name + " not found");
        WithLine(
            fixup.Line, "Error reading " + fixup.Prop->Name, [&] { fixup.Prop->SetObject(*fixup.Object, target); });
    }
    Fixups.clear();
}

void TReaderState::ReadInto(TComponent* root, const TObjectNode& node, const TMethodTable* methods) {
    TReaderState state;
    TReader reader(state);
    state.Reader = &reader;
    state.Root = root;
    state.Methods = methods;
    bool rootClassMatches = false;
    for (TClass c = root->ClassType(); c != nullptr; c = c->Parent())
        if (base::SameText(c->Name(), node.ClassName)) rootClassMatches = true;
    if (!rootClassMatches)
        Fail(node.Line, "Class " + node.ClassName + " does not match the root's class " + root->ClassName());
    root->IncludeState(csLoading);
    root->IncludeState(csReading);
    state.Loaded.push_back(root);
    {
        // Nothing half built stays: what this call made goes, the last made first.
        base::ScopeExit discard([&] {
            for (auto it = state.Created.rbegin(); it != state.Created.rend(); ++it) {
                if (methods != nullptr && !(*it)->Name().empty()) methods->BindField((*it)->Name(), nullptr);
                (*it)->Free();
            }
            root->ExcludeState(csReading);
            root->ExcludeState(csLoading);
        });
        if (!node.Name.empty()) WithLine(node.Line, "Error naming the root", [&] { root->SetName(node.Name); });
        state.ReadProperties(root, node.Properties);
        for (const TObjectNode& child : node.Children)
            state.ReadChild(child, root);
        root->ExcludeState(csReading);
        state.ResolveFixups();
        discard.Dismiss();
    }
    // Loaded once each, the root first, then in the order of the text.
    for (std::size_t i = 0; i < state.Loaded.size(); ++i) {
        TComponent* c = state.Loaded[i];
        base::ScopeExit notLoaded([&] {   // a failed Loaded leaves no component marked as loading
            for (std::size_t j = i; j < state.Loaded.size(); ++j)
                state.Loaded[j]->ExcludeState(csLoading);
        });
        c->Loaded();
        notLoaded.Dismiss();
        c->ExcludeState(csLoading);
    }
}

void ReadRootComponent(TComponent* root, std::string_view text, const TMethodTable* methods) {
    TObjectNode node = formtext::Parse(text);
    TReaderState::ReadInto(root, node, methods);
}

bool TryReadRootComponent(TComponent* root, std::string_view text, const TMethodTable* methods, std::string& error) {
    try {
        ReadRootComponent(root, text, methods);
        return true;
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
}

TComponent* ReadComponent(std::string_view text, TComponent* owner, const TMethodTable* methods) {
    TObjectNode node = formtext::Parse(text);
    TClass cls = FindClass(node.ClassName);
    if (cls == nullptr) throw EClassNotFound(node.Line, "Class " + node.ClassName + " not found");
    if (!cls->InheritsFrom(TComponent::StaticClass()) || !cls->CanCreateComponent())
        Fail(node.Line, "Class " + node.ClassName + " cannot be created from text");
    TComponent* component = TReaderState::NewComponent(cls, owner, node);
    base::ScopeExit discard([component] { component->Free(); });
    TReaderState::ReadInto(component, node, methods);
    discard.Dismiss();
    return component;
}

// ---------------------------------------------------------------------------------------------------------
// TReader: the filer side and the value calls of defined properties

TReader::TReader(TReaderState& state)
    : FState(state) {
    FRoot = state.Root;
}

TReader::~TReader() = default;

void TReader::DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc&, bool) {
    if (!FState.Found && !FState.Wanted.empty() && base::SameText(name, FState.Wanted)) {
        FState.Found = true;
        FState.FoundRead = readData;
    }
}

void TReader::DefineBinaryProperty(const std::string& name, const TStreamProc& readData, const TStreamProc&, bool) {
    if (!FState.Found && !FState.Wanted.empty() && base::SameText(name, FState.Wanted)) {
        FState.Found = true;
        FState.FoundBinary = true;
        FState.FoundBinaryRead = readData;
    }
}

namespace {

const TValue* Current(const std::vector<TReaderState::TFrame>& frames) {
    if (frames.empty()) return nullptr;
    const auto& top = frames.back();
    return top.Index < top.Count ? &top.Values[top.Index] : nullptr;
}

}

TValueType TReader::NextValue() const {
    const TValue* v = Current(FState.Frames);
    return v != nullptr ? v->Type : TValueType::vaNull;
}

int TReader::Line() const {
    const TValue* v = Current(FState.Frames);
    if (v != nullptr) return v->Line;
    return FState.Frames.empty() ? 0 : FState.Frames.back().Line;
}

void TReader::Error(const std::string& what) const {
    Fail(Line(), what);
}

namespace {

// The value next, checked to be of the type; the position moves past it.
template <class P>
const TValue& Take(
    const TReader& reader, std::vector<TReaderState::TFrame>& frames, P&& accepts, const char* expected) {
    const TValue* v = Current(frames);
    if (v == nullptr || !accepts(*v))
        reader.Error(std::string(expected) + " expected but " + TypeName(v ? v->Type : TValueType::vaNull) + " found");
    ++frames.back().Index;
    return *v;
}

}

std::int64_t TReader::ReadInteger() {
    const TValue& v = Take(
        *this, FState.Frames, [&](const TValue& t) { return t.Type == TValueType::vaInt; }, "Integer");
    return v.Int;
}

double TReader::ReadFloat() {
    double value = 0;
    const TValue& v = Take(
        *this, FState.Frames,
        [&](const TValue& t) {
            return t.Type == TValueType::vaFloat || t.Type == TValueType::vaInt
                || (t.Type == TValueType::vaIdent && NonFiniteIdent(t.Text, value));
        },
        "Float");
    if (v.Type == TValueType::vaFloat) return v.Float;
    if (v.Type == TValueType::vaInt) return static_cast<double>(v.Int);
    return value;
}

std::string TReader::ReadString() {
    const TValue& v = Take(
        *this, FState.Frames, [&](const TValue& t) { return t.Type == TValueType::vaString; }, "String");
    return v.Text;
}

bool TReader::ReadBoolean() {
    const TValue& v = Take(
        *this, FState.Frames,
        [&](const TValue& t) { return t.Type == TValueType::vaTrue || t.Type == TValueType::vaFalse; }, "Boolean");
    return v.Type == TValueType::vaTrue;
}

std::string TReader::ReadIdent() {
    const TValue& v = Take(
        *this, FState.Frames, [&](const TValue& t) { return IsIdentValue(t); }, "Identifier");
    return v.Text;
}

void TReader::ReadListBegin() {
    const TValue& v = Take(
        *this, FState.Frames, [&](const TValue& t) { return t.Type == TValueType::vaList; }, "List");
    FState.Frames.push_back({v.List.data(), v.List.size(), 0, v.Line});
}

bool TReader::EndOfList() const {
    return Current(FState.Frames) == nullptr;
}

void TReader::ReadListEnd() {
    if (FState.Frames.size() < 2) Error("No list is open");
    if (!EndOfList()) Error("List end expected");
    FState.Frames.pop_back();
}

void TReader::ReadCollection(TCollection* collection) {
    const TValue& v = Take(
        *this, FState.Frames, [&](const TValue& t) { return t.Type == TValueType::vaCollection; }, "Collection");
    FState.ReadCollection(collection, v);
}

void TReader::ReadCollectionItems(const std::function<TPersistent*()>& newItem) {
    const TValue& v = Take(
        *this, FState.Frames, [&](const TValue& t) { return t.Type == TValueType::vaCollection; }, "Collection");
    FState.ReadItems(v, newItem);
}

}
