#pragma once

#include "framework/core/Types.h"

#include <functional>

namespace folio {

class TPersistent;
class TStream;

// What a persistent object sees of the form filer while its properties are
// written or read: it may define extra properties of its own.
class TFiler {
public:
    using TStreamProc = std::function<void(TStream&)>;

    virtual ~TFiler() = default;

    // A property whose value is a block of bytes. While writing, WriteData is
    // called when HasData is true; while reading, ReadData gets the bytes.
    virtual void DefineBinaryProperty(const String& Name, TStreamProc ReadData,
                                      TStreamProc WriteData, bool HasData) = 0;

    // While writing an inherited form: the matching object of the ancestor
    // form, against which only differences are stored. Null otherwise.
    TPersistent* Ancestor() const { return FAncestor; }
    void SetAncestor(TPersistent* Value) { FAncestor = Value; }

private:
    TPersistent* FAncestor = nullptr;
};

} // namespace folio
