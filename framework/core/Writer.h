#pragma once

#include "framework/core/Filer.h"
#include "framework/core/FormTree.h"

namespace folio {

class TCollection;
class TComponent;
class TObject;
struct TPropInfo;

/// Writes components into a form tree, from their published-property tables
/// and their defined properties alone. A property at its declared default is
/// not written; while writing against an ancestor (the same form as the
/// ancestor form class makes it), a property equal to the ancestor's is not
/// written either, so an inherited form stores only what it changes, and a
/// component that stands elsewhere among its parent's children than the
/// reader would put it gets its child index. A frame (IsInline) is written
/// as an inline block of its differences from a frame its class makes.
class TWriter : public TFiler {
public:
    TWriter() = default;

    /// The form of Root and of the components it owns, nested by their parent
    /// components, in creation order.
    TFormObject WriteRoot(TComponent* Root, TComponent* Ancestor = nullptr);

    /// Every stored property of one component, defaults included, without
    /// its children and events: what the reader needs to put the component
    /// back as it was.
    TFormObject WriteSnapshot(TComponent* Component);

    ///@{
    /// The values a DefineProperty writer writes: exactly one per call, or
    /// one list: WriteListBegin, any values (lists too), WriteListEnd.
    void WriteInteger(long long Value);
    void WriteBoolean(bool Value);
    void WriteString(const String& Value);
    void WriteIdent(const String& Value);
    void WriteFloat(long double Value); // an extended float; finite
    void WriteSingle(float Value);      // a single float; finite
    void WriteListBegin();
    void WriteListEnd();
    ///@}

    void DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const String& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

    /// The component names are written relative to: WriteRoot's Root (a
    /// frame while its block is written), or the owner of WriteSnapshot's
    /// component.
    TComponent* Root() const { return FRoot; }

private:
    void WriteComponent(TComponent* Component, TComponent* Ancestor, TFormObject& Node);
    void WriteChildren(TComponent* Component, TComponent* Ancestor, TFormObject& Node);
    void WriteFrame(TComponent* Frame, TComponent* Ancestor, TFormObject& Node);
    TComponent* AncestorOf(TComponent* Child) const;
    void WriteProperties(TPersistent* Instance, TPersistent* Ancestor, const String& Prefix,
                         int Depth);
    void WriteProperty(TPersistent* Instance, TPersistent* Ancestor, const TPropInfo& Prop,
                       const String& Prefix, int Depth);
    void WriteCollection(const String& Name, TCollection& Collection, TCollection* Ancestor,
                         int Depth);
    TFormValue CollectionValue(TCollection& Collection, int Depth);
    TFormValue AncestorCollectionValue(TCollection& Ancestor, int Depth);
    bool ReferenceName(TObject* Target, TComponent* Root, String& Name) const;
    void Add(const String& Name, TFormValue Value);
    void AddValue(TFormValue Value);

    TComponent* FRoot = nullptr;
    TComponent* FAncestorRoot = nullptr;
    // While a frame's components are written, FRoot is the frame and these
    // are the form and frames it is in, outermost first.
    std::vector<TComponent*> FEnclosing;
    // A snapshot writes every stored property, defaults and empty binary
    // properties included, and no events.
    bool FEverything = false;
    // Where properties go: a component's, or a collection item's.
    std::vector<TFormProperty>* FProperties = nullptr;
    String FPrefix;
    // While a DefineProperty writer runs: the property its value goes to.
    String FPendingName;
    bool FPending = false;
    // The lists being written by a defined property's writer, innermost last.
    std::vector<std::vector<TFormValue>> FLists;
};

} // namespace folio
