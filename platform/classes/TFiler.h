// TFiler: what DefineProperties sees of the reader and the writer: entries streamed beside the published properties.
#pragma once

#include "platform/classes/Forward.h"

#include <functional>
#include <string>

namespace korvex::classes {

using TReaderProc = std::function<void(TReader& reader)>;
using TWriterProc = std::function<void(TWriter& writer)>;
using TStreamProc = std::function<void(TStream& stream)>;

// An override of TPersistent::DefineProperties names each extra entry:
//
//     void TFoo::DefineProperties(TFiler& filer) {
//         TBar::DefineProperties(filer);
//         filer.DefineProperty("PositionMax_2",
//             [this](TReader& r) { FPositionMax = r.ReadFloat(); },
//             [this](TWriter& w) { w.WriteFloat(FPositionMax); }, true);
//         filer.DefineBinaryProperty("Data", [this](TStream& s) { LoadFromStream(s); },
//             [this](TStream& s) { SaveToStream(s); }, !Empty());
//     }
//
// While reading, the reader asks for the entry it met and calls its read procedure with the value next.
// While writing, an entry with hasData is written after the published properties, in definition order.
// A read procedure must read exactly one value (a list counts as one); a write procedure writes one.
class TFiler {
public:
    virtual ~TFiler() = default;

    virtual void DefineProperty(
        const std::string& name, const TReaderProc& readData, const TWriterProc& writeData, bool hasData)
        = 0;
    // The value is bytes ({hex} in the text); the procedures get a memory stream positioned at 0.
    virtual void DefineBinaryProperty(
        const std::string& name, const TStreamProc& readData, const TStreamProc& writeData, bool hasData)
        = 0;

    TComponent* Root() const { return FRoot; }

protected:
    TComponent* FRoot = nullptr;
};

}
