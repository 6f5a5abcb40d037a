#pragma once

#include "framework/core/Filer.h"
#include "framework/core/FormTree.h"

#include <map>
#include <vector>

namespace folio {

class TCollection;
class TCollectionItem;
class TComponent;
class TObject;
class TPersistent;
struct TMethodInfo;
struct TPropInfo;

/// Applies form trees to a root component (a form) and the components it
/// owns. The components a form makes are made unowned, filled, and handed to
/// the root only when every form has been read; the root and the components
/// it already had are put back as they were when a read fails. References
/// between components are resolved after the whole form is read, so a
/// reference may name a component that comes later; a reference to another
/// form's component ("MainForm.Images") is looked up among the application's
/// forms (FindGlobalComponent). Events are bound last, to the root's handler
/// methods by name. Every component read is in the loading state during the
/// read and gets Loaded afterwards, in creation order. An "inline" block
/// makes a frame of its class, and its inherited blocks change the
/// components the frame made; a child index places a component among its
/// parent's children once all is read.
class TReader : public TFiler {
public:
    /// A reader of forms into Root (the form component).
    explicit TReader(TComponent* Root);
    /// Frees the components a read made but did not hand over.
    ~TReader() override;
    TReader(const TReader&) = delete;
    TReader& operator=(const TReader&) = delete;

    /// Reads the forms in order, an ancestor's before its descendant's, as
    /// one read: either all of them are applied or the exception leaves the
    /// root and its components as they were. Errors name the line or offset.
    void ReadForms(const std::vector<const TFormObject*>& Forms);

    ///@{
    /// The value of a DefineProperty reader: exactly one read per call, or
    /// one list: ReadListBegin, values until EndOfList, ReadListEnd. A value
    /// of another kind, or none left, raises EReadError.
    long long ReadInteger();
    bool ReadBoolean();
    String ReadString(); // a string or a wide one, as UTF-8
    String ReadIdent();
    long double ReadFloat(); // an integer or a float of either width
    String ReadBinary();     // the bytes of a binary block
    void ReadListBegin();
    bool EndOfList() const;
    void ReadListEnd();
    ///@}
    /// The kind of the value the next read takes (Nil once a list's end is
    /// reached), for a property that reads more than one way.
    TFormValueKind NextValue() const;

    void DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const String& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

    /// The form component the reader reads into.
    TComponent* Root() const { return FRoot; }

private:
    struct TFixup {
        TObject* Instance;
        const TPropInfo* Prop;
        String Target;
        String Where; // for messages: the place and the property path
        // The collection items being read when the reference was met: it
        // is dropped when one of them is (a later value of the collection
        // replaces its items).
        std::vector<const TCollectionItem*> Items = {};
        TComponent* Scope = nullptr; // the frame the reference was read in
    };
    struct TBinding {
        TObject* Instance;
        const TPropInfo* Prop;
        const TMethodInfo* Method; // null clears the event
        String Handler;
        // A form being designed keeps handler names without binding them:
        // the designer's form has none of the methods the names stand for.
        bool NameOnly = false;
        std::vector<const TCollectionItem*> Items = {};
    };
    struct TSnapshot {
        TComponent* Component;
        String Name;
        TFormObject Properties;
    };

    void ReadObject(const TFormObject& Node, TComponent* Parent, bool IsRoot);
    TComponent* MakeComponent(const TFormObject& Node, TComponent* Parent);
    TComponent* FindInherited(const TFormObject& Node) const;
    bool IsMadeHere(const TComponent* Component) const;
    void Touch(TComponent* Existing);
    void ReadProperties(TComponent* Component, const TFormObject& Node);
    void ReadProperty(TComponent* Component, const TFormProperty& Property);
    // Property is a path from Start (a component, or a collection item
    // when Component is null); Owner names Start in messages.
    void ReadPropertyOf(TPersistent& Start, TComponent* Component, const TFormProperty& Property,
                        const String& Owner);
    void SetValue(TObject& Instance, const TPropInfo& Prop, const TFormValue& Value,
                  const String& Where, const String& Path);
    void ReadCollection(TCollection& Collection, const TFormValue& Value, const String& Path);
    void DropPendingOf(const TCollection& Collection);
    // A component by name as the block being read sees it: in the frame
    // it is in first (Scope), then in the form.
    TComponent* Lookup(const String& Name, TComponent* Scope = nullptr) const;
    TComponent* LookupReference(const TFixup& Fixup, String& Missing) const;
    void ResolveFixups();
    void Rollback();
    void Commit();
    const TFormValue& TakeValue(const char* Expected);

    TComponent* FRoot;
    bool FRestoring = false;
    std::vector<TComponent*> FCreated; // made by this read, not yet owned
    std::vector<TComponent*> FLoading; // every component read, in creation order
    // The frames components made inside them go to on hand-over (the
    // others go to the root).
    std::map<TComponent*, TComponent*> FOwners;
    // Child indices to apply on hand-over: parent, component, index.
    struct TOrder {
        TComponent* Parent;
        TComponent* Component;
        int Index;
    };
    std::vector<TOrder> FOrders;
    // The names the root has in the forms read (an inherited form's root
    // has its own name; the ancestor's forms may refer to it by theirs).
    std::vector<String> FRootNames;
    // The frame whose components the block being read names.
    TComponent* FScope = nullptr;
    std::vector<TSnapshot> FSnapshots; // components that existed before the read
    std::vector<std::pair<TComponent*, TComponent*>> FParents; // set on hand-over
    // Made components by frame (null: the form) and lower-case name.
    std::map<std::pair<TComponent*, String>, TComponent*> FMade;
    std::vector<TFixup> FFixups;
    std::vector<TBinding> FBindings;
    // The defined property being looked for, while DefineProperties runs.
    const String* FDefineName = nullptr;
    const TFormValue* FDefineValue = nullptr;
    bool FDefineFound = false;
    bool FValueTaken = false;
    // The lists a defined property's reader is in, innermost last, with the
    // index of the next value of each.
    std::vector<std::pair<const TFormValue*, std::size_t>> FLists;
    // The collection items being read, outermost first.
    std::vector<const TCollectionItem*> FItems;
};

/// Describes where a part of a form came from, for error messages: "Text
/// form, line 12", "Binary form, offset 345", or "Form".
String DescribeFormPlace(const TFormPlace& Place);

} // namespace folio
