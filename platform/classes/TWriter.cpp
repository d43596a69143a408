// TWriter: component text from a component tree: objects, stored non-default properties and defined entries.
#include "platform/classes/TWriter.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TCollection.h"
#include "platform/classes/TComponent.h"
#include "platform/classes/TMemoryStream.h"

#include <charconv>
#include <cmath>

namespace korvex::classes {

class TWriterState {
public:
    struct TContext {
        bool InList = false;
        int Level = 0;   // indentation of values on their own lines
        int Count = 0;
    };

    std::string Out;
    TComponent* Root = nullptr;
    TWriter* Writer = nullptr;
    std::vector<TContext> Contexts;
    std::string Prefix;   // dotted prefix of the object whose entries are written
    int Level = 0;   // indentation of property lines
    int Depth = 0;

    void Indent(int level) { Out.append(static_cast<std::size_t>(level) * 2, ' '); }
    void BeginValue();
    void WriteObject(TComponent* component, int level);
    void WriteProperties(const TPersistent* obj, const std::string& prefix, int level);
    void WriteProperty(const TPersistent* obj, const TPropInfo& prop, const std::string& name);
    void WriteItems(int count, const std::function<const TPersistent*(int)>& item);
    void WriteEntry(const std::string& name, const std::function<void()>& writeValue);
    std::string ComponentName(const TComponent* component) const;
};

namespace {

std::string QuoteString(const std::string& s) {
    if (s.empty()) return "''";
    std::string out;
    bool open = false;
    for (char c : s) {
        auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            if (open) out += '\'';
            open = false;
            out += '#';
            out += std::to_string(u);
        } else {
            if (!open) out += '\'';
            open = true;
            out += c;
            if (c == '\'') out += '\'';
        }
    }
    if (open) out += '\'';
    return out;
}

std::string FloatText(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, end);
    if (text.find_first_of(".e") == std::string::npos) text += ".0";   // keeps it a float when read back
    return text;
}

std::string SetText(TIdentNames names, std::uint64_t bits) {
    std::string out = "[";
    for (std::size_t i = 0; i < names.size() && i < 64; ++i)
        if (bits & (std::uint64_t(1) << i)) {
            if (out.size() > 1) out += ", ";
            out += names[i];
        }
    return out + "]";
}

constexpr char HexDigits[] = "0123456789ABCDEF";

}

void TWriterState::BeginValue() {
    TContext& top = Contexts.back();
    if (top.InList) {
        Out += '\n';
        Indent(top.Level);
    } else if (top.Count > 0) {
        throw EFilerWriteError("An entry may hold only one value");
    }
    ++top.Count;
}

std::string TWriterState::ComponentName(const TComponent* component) const {
    if (component == Root || component->Owner() == Root || component->Owner() == nullptr) return component->Name();
    return component->Owner()->Name() + "." + component->Name();
}

void TWriterState::WriteEntry(const std::string& name, const std::function<void()>& writeValue) {
    Indent(Level);
    Out += Prefix + name + " = ";
    std::vector<TContext> saved;
    saved.swap(Contexts);
    Contexts.push_back({false, Level + 1, 0});
    writeValue();
    bool one = Contexts.size() == 1 && Contexts.back().Count == 1;
    Contexts.swap(saved);
    if (!one) throw EFilerWriteError("The entry " + Prefix + name + " wrote no value or left a list open");
    Out += '\n';
}

void TWriterState::WriteProperty(const TPersistent* obj, const TPropInfo& prop, const std::string& name) {
    std::string text;
    switch (prop.Kind) {
    case TPropKind::Integer:
        text = std::to_string(prop.GetOrd(*obj));
        break;
    case TPropKind::Boolean:
        text = prop.GetOrd(*obj) != 0 ? "True" : "False";
        break;
    case TPropKind::Enum: {
        std::int64_t ord = prop.GetOrd(*obj);
        text = GetEnumName(prop.Names, ord);
        if (text.empty()) text = std::to_string(ord);
        break;
    }
    case TPropKind::Set:
        text = SetText(prop.Names, static_cast<std::uint64_t>(prop.GetOrd(*obj)));
        break;
    case TPropKind::Color: {
        auto color = static_cast<TColor>(prop.GetOrd(*obj));
        if (!ColorToIdent(color, text)) text = std::to_string(color);
        break;
    }
    case TPropKind::String:
        text = QuoteString(prop.GetString(*obj));
        break;
    case TPropKind::Float:
        text = FloatText(prop.GetFloat(*obj));
        break;
    case TPropKind::Component: {
        const auto* ref = dynamic_cast<const TComponent*>(prop.GetObject(*obj));
        if (ref == nullptr || ref->Name().empty()) return;   // a reference without a name cannot be written
        text = ComponentName(ref);
        break;
    }
    case TPropKind::Event:
        text = obj->EventMethodName(prop.Name);
        if (text.empty()) return;   // set in code, not bound by name
        break;
    case TPropKind::Object:
        return;
    }
    Indent(Level);
    Out += name + " = " + text + '\n';
}

void TWriterState::WriteProperties(const TPersistent* obj, const std::string& prefix, int level) {
    if (++Depth > 64) throw EFilerWriteError("Sub-objects nested too deeply at " + prefix);
    std::string savedPrefix = Prefix;
    int savedLevel = Level;
    Prefix = prefix;
    Level = level;
    for (const TPropInfo* prop : GetPropList(*obj)) {
        if (!prop->IsStored(*obj) || !prop->IsWritable()) continue;
        if (prop->Kind == TPropKind::Object) {
            const TPersistent* sub = prop->GetObject(*obj);
            if (sub == nullptr) continue;
            if (const auto* collection = dynamic_cast<const TCollection*>(sub)) {
                if (collection->Count() > 0) WriteEntry(prop->Name, [&] { Writer->WriteCollection(collection); });
            } else {
                WriteProperties(sub, prefix + prop->Name + ".", level);
                Prefix = prefix;
                Level = level;
            }
            continue;
        }
        if (prop->IsDefault(*obj)) continue;
        WriteProperty(obj, *prop, prefix + prop->Name);
    }
    const_cast<TPersistent*>(obj)->DefineProperties(*Writer);
    Prefix = savedPrefix;
    Level = savedLevel;
    --Depth;
}

void TWriterState::WriteItems(int count, const std::function<const TPersistent*(int)>& item) {
    BeginValue();
    int level = Contexts.back().Level;
    Out += '<';
    for (int i = 0; i < count; ++i) {
        Out += '\n';
        Indent(level);
        Out += "item\n";
        std::vector<TContext> saved;
        saved.swap(Contexts);
        WriteProperties(item(i), "", level + 1);
        Contexts.swap(saved);
        Indent(level);
        Out += "end";
    }
    Out += '>';
}

void TWriterState::WriteObject(TComponent* component, int level) {
    component->IncludeState(csWriting);
    base::ScopeExit written([component] { component->ExcludeState(csWriting); });
    Indent(level);
    Out += "object ";
    if (!component->Name().empty()) Out += component->Name() + ": ";
    Out += component->ClassName() + '\n';
    WriteProperties(component, "", level + 1);
    component->GetChildren([&](TComponent* child) { WriteObject(child, level + 1); }, Root);
    Indent(level);
    Out += "end\n";
}

std::string WriteComponent(TComponent* root) {
    TWriterState state;
    TWriter writer(state);
    state.Writer = &writer;
    state.Root = root;
    state.WriteObject(root, 0);
    return std::move(state.Out);
}

// ---------------------------------------------------------------------------------------------------------

TWriter::TWriter(TWriterState& state)
    : FState(state) {
    FRoot = state.Root;
}

TWriter::~TWriter() = default;

void TWriter::DefineProperty(const std::string& name, const TReaderProc&, const TWriterProc& writeData, bool hasData) {
    if (!hasData || !writeData) return;
    FState.WriteEntry(name, [&] { writeData(*this); });
}

void TWriter::DefineBinaryProperty(
    const std::string& name, const TStreamProc&, const TStreamProc& writeData, bool hasData) {
    if (!hasData || !writeData) return;
    TMemoryStream stream;
    writeData(stream);
    FState.WriteEntry(name, [&] {
        FState.BeginValue();
        std::span<const std::uint8_t> bytes = stream.Bytes();
        constexpr std::size_t perLine = 32;
        std::string& out = FState.Out;
        out += '{';
        int level = FState.Contexts.back().Level;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes.size() > perLine && i % perLine == 0) {
                out += '\n';
                FState.Indent(level);
            }
            out += HexDigits[bytes[i] >> 4];
            out += HexDigits[bytes[i] & 15];
        }
        out += '}';
    });
}

void TWriter::WriteInteger(std::int64_t value) {
    FState.BeginValue();
    FState.Out += std::to_string(value);
}

void TWriter::WriteFloat(double value) {
    FState.BeginValue();
    FState.Out += FloatText(value);
}

void TWriter::WriteString(const std::string& value) {
    FState.BeginValue();
    FState.Out += QuoteString(value);
}

void TWriter::WriteBoolean(bool value) {
    FState.BeginValue();
    FState.Out += value ? "True" : "False";
}

void TWriter::WriteIdent(const std::string& ident) {
    FState.BeginValue();
    FState.Out += ident;
}

void TWriter::WriteListBegin() {
    FState.BeginValue();
    FState.Out += '(';
    FState.Contexts.push_back({true, FState.Contexts.back().Level + 1, 0});
}

void TWriter::WriteListEnd() {
    if (FState.Contexts.size() < 2 || !FState.Contexts.back().InList) throw EFilerWriteError("No list is open");
    FState.Contexts.pop_back();
    FState.Out += ')';
}

void TWriter::WriteCollection(const TCollection* collection) {
    FState.WriteItems(collection->Count(), [collection](int i) { return collection->Items(i); });
}

void TWriter::WriteCollectionItems(int count, const std::function<const TPersistent*(int)>& item) {
    FState.WriteItems(count, item);
}

}
