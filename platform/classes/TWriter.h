// TWriter: writes a component tree as component text, and the value calls DefineProperties uses.
#pragma once

#include "platform/classes/TFiler.h"

#include <cstdint>
#include <functional>
#include <string>

namespace korvex::classes {

// The text of root and the components it lists through GetChildren (nested as they list theirs), in the
// format TReader.h describes. Per object: the stored published properties that differ from their defaults,
// in declaration order (sub-objects as dotted names, collections as <items>, component references by name,
// events by the method name they were bound to), then the defined entries that have data. csWriting is
// set on each component while it is written. Lines end with LF; indentation is two blanks a level.
std::string WriteComponent(TComponent* root);

class TWriterState;

// Inside a defined property's write procedure: write exactly one value (a list counts as one).
class TWriter : public TFiler {
public:
    explicit TWriter(TWriterState& state);
    ~TWriter() override;

    void DefineProperty(
        const std::string& name, const TReaderProc& readData, const TWriterProc& writeData, bool hasData) override;
    void DefineBinaryProperty(
        const std::string& name, const TStreamProc& readData, const TStreamProc& writeData, bool hasData) override;

    void WriteInteger(std::int64_t value);
    void WriteFloat(double value);   // shortest text that reads back to the same double
    void WriteString(const std::string& value);
    void WriteBoolean(bool value);
    void WriteIdent(const std::string& ident);
    void WriteListBegin();
    void WriteListEnd();
    void WriteCollection(const TCollection* collection);
    // A collection value of count items; item(i) gives the object whose properties make the i-th item.
    void WriteCollectionItems(int count, const std::function<const TPersistent*(int index)>& item);

private:
    TWriterState& FState;
};

}
