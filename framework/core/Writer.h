#pragma once

#include "framework/core/Filer.h"
#include "framework/core/FormTree.h"

namespace folio {

class TComponent;
class TObject;
struct TPropInfo;

// Writes components into a form tree, from their published-property tables
// and their defined properties alone. A property at its declared default is
// not written; while writing against an ancestor (the same form as the
// ancestor form class makes it), a property equal to the ancestor's is not
// written either, so an inherited form stores only what it changes.
class TWriter : public TFiler {
public:
    TWriter() = default;

    // The form of Root and of the components it owns, nested by their parent
    // components, in creation order.
    TFormObject WriteRoot(TComponent* Root, TComponent* Ancestor = nullptr);

    // Every stored property of one component, defaults included, without
    // its children and events: what the reader needs to put the component
    // back as it was.
    TFormObject WriteSnapshot(TComponent* Component);

    // The values a DefineProperty writer writes: exactly one per call.
    void WriteInteger(long long Value);
    void WriteBoolean(bool Value);
    void WriteString(const String& Value);
    void WriteIdent(const String& Value);

    void DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const String& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

    TComponent* Root() const { return FRoot; }

private:
    void WriteComponent(TComponent* Component, TComponent* Ancestor, TFormObject& Node);
    void WriteProperties(TPersistent* Instance, TPersistent* Ancestor, const String& Prefix,
                         int Depth);
    void WriteProperty(TPersistent* Instance, TPersistent* Ancestor, const TPropInfo& Prop,
                       const String& Prefix, int Depth);
    bool ReferenceName(TObject* Target, TComponent* Root, String& Name) const;
    void Add(const String& Name, TFormValue Value);
    void AddValue(TFormValue Value);

    TComponent* FRoot = nullptr;
    TComponent* FAncestorRoot = nullptr;
    // A snapshot writes every stored property, defaults and empty binary
    // properties included, and no events.
    bool FEverything = false;
    TFormObject* FNode = nullptr;
    String FPrefix;
    // While a DefineProperty writer runs: the property its value goes to.
    String FPendingName;
    bool FPending = false;
};

} // namespace folio
