// TReader: reads component text into a tree of components, and the value calls DefineProperties uses.
#pragma once

#include "platform/classes/TFiler.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace korvex::classes {

// ---------------------------------------------------------------------------------------------------------
// Component text
//
//   object MainForm: TMainForm          an object: name (may be empty: "object TFoo"), class
//     Left = 10                         integer (decimal, or $hex)
//     Ratio = 1.5                       float (with '.', 'e' or 'E'); integers are accepted for floats
//     Caption = 'It''s'#13#10'two'      string: quoted parts ('' is a quote) and #n character codes, joined
//     Visible = False                   identifiers: booleans, enum values, colours, component names
//     Anchors = [akLeft, akTop]         set
//     Font.Name = 'Tahoma'              dotted names reach sub-objects
//     OnClick = Button1Click            event: a method of the method table
//     Lines.Strings = ('a' 'b')         list (values separated by blanks, line breaks or commas)
//     Items = <                         collection of items
//       item
//         Name = 'x'
//       end>
//     Data = {0A0B0C}                   binary, hex digits (blanks and line breaks allowed)
//     object Panel1: TPanel             nested objects: owned by the root, enclosed by the object around them
//     end
//   end
//
// Comments: "//" to the end of a line. Text is UTF-8; a string may hold any byte except a line break.

// Reads text into root, whose class is the text's class or a descendant. Every component made is owned
// by root; csLoading and csReading are set on each while it is read (csLoading from the start of its
// constructor). Properties are set through the registry in the order of the text; an entry that is not a
// published property goes to DefineProperties; an unknown one is an error. Events bind through methods
// (an event with no table, or a method not in it, is an error). After the whole tree: component references
// are resolved (among root's components, then root), then Loaded is called on root and every component made,
// in the order of the text, once each.
// Errors raise EReadError (EClassNotFound for an unknown class) with the line; the components made by this
// call are freed first, so nothing half built stays; properties already set on root keep their values.
void ReadRootComponent(TComponent* root, std::string_view text, const TMethodTable* methods = nullptr);
// The same into a new component of the text's class (registered by name), owned by owner.
TComponent* ReadComponent(std::string_view text, TComponent* owner, const TMethodTable* methods = nullptr);
// The non-raising twin of ReadRootComponent: false and the message.
bool TryReadRootComponent(TComponent* root, std::string_view text, const TMethodTable* methods, std::string& error);

enum class TValueType {
    vaNull,
    vaList,
    vaInt,
    vaFloat,
    vaString,
    vaIdent,
    vaFalse,
    vaTrue,
    vaSet,
    vaCollection,
    vaBinary
};

class TReaderState;

// Inside a defined property's read procedure: read exactly the one value that follows its name. A call for
// another kind of value raises EReadError with the line ("Integer expected").
class TReader : public TFiler {
public:
    explicit TReader(TReaderState& state);
    ~TReader() override;

    void DefineProperty(
        const std::string& name, const TReaderProc& readData, const TWriterProc& writeData, bool hasData) override;
    void DefineBinaryProperty(
        const std::string& name, const TStreamProc& readData, const TStreamProc& writeData, bool hasData) override;

    TValueType NextValue() const;   // vaNull at the end of a list
    std::int64_t ReadInteger();
    double ReadFloat();   // integers too
    std::string ReadString();
    bool ReadBoolean();
    std::string ReadIdent();   // identifiers, True and False
    void ReadListBegin();
    bool EndOfList() const;
    void ReadListEnd();
    // A collection value: Clear, then one Add per item with its properties read into it.
    void ReadCollection(TCollection* collection);
    // A collection value: for each item, newItem() gives the object its properties are read into.
    void ReadCollectionItems(const std::function<TPersistent*()>& newItem);

    int Line() const;   // the line of the value next
    [[noreturn]] void Error(const std::string& what) const;

private:
    TReaderState& FState;
};

}
