#pragma once

#include "framework/core/Types.h"

#include <functional>

namespace folio {

class TPersistent;
class TReader;
class TStream;
class TWriter;

/// What a persistent object sees of the form filer while its properties are
/// written or read: it may define extra properties of its own, for state the
/// published-property tables cannot express.
class TFiler {
public:
    /// Reads or writes a binary property's bytes.
    using TStreamProc = std::function<void(TStream&)>;
    /// Reads a defined property's value.
    using TReaderProc = std::function<void(TReader&)>;
    /// Writes a defined property's value.
    using TWriterProc = std::function<void(TWriter&)>;

    virtual ~TFiler() = default;

    /// A property holding one value (a number, a string, a name, a list of
    /// values ...). While writing, WriteData is called when HasData is true
    /// and writes exactly one value with the writer's Write* calls (a list:
    /// WriteListBegin, its values, WriteListEnd); while reading, ReadData
    /// reads it with the reader's Read* calls.
    virtual void DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc WriteData,
                                bool HasData) = 0;

    /// A property whose value is a block of bytes. While writing, WriteData is
    /// called when HasData is true; while reading, ReadData gets the bytes as
    /// a stream and must read all of them.
    virtual void DefineBinaryProperty(const String& Name, TStreamProc ReadData,
                                      TStreamProc WriteData, bool HasData) = 0;

    ///@{
    /// While writing an inherited form: the matching object of the ancestor
    /// form, against which only differences are stored. Null otherwise.
    TPersistent* Ancestor() const { return FAncestor; }
    void SetAncestor(TPersistent* Value) { FAncestor = Value; }
    ///@}

private:
    TPersistent* FAncestor = nullptr;
};

} // namespace folio
