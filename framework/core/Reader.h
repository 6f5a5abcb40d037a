#pragma once

#include "framework/core/Filer.h"
#include "framework/core/FormTree.h"

#include <map>
#include <vector>

namespace folio {

class TComponent;
class TObject;
struct TMethodInfo;
struct TPropInfo;

// Applies form trees to a root component (a form) and the components it
// owns. The components a form makes are made unowned, filled, and handed to
// the root only when every form has been read; the root and the components
// it already had are put back as they were when a read fails. References
// between components are resolved after the whole form is read, so a
// reference may name a component that comes later; events are bound last,
// to the root's handler methods by name. Every component read is in the
// loading state during the read and gets Loaded afterwards, in creation
// order.
class TReader : public TFiler {
public:
    explicit TReader(TComponent* Root);
    ~TReader() override;
    TReader(const TReader&) = delete;
    TReader& operator=(const TReader&) = delete;

    // Reads the forms in order, an ancestor's before its descendant's, as
    // one read: either all of them are applied or the exception leaves the
    // root and its components as they were. Errors name the line or offset.
    void ReadForms(const std::vector<const TFormObject*>& Forms);

    // The value of a DefineProperty reader: exactly one read per call.
    long long ReadInteger();
    bool ReadBoolean();
    String ReadString();
    String ReadIdent();

    void DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const String& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

    TComponent* Root() const { return FRoot; }

private:
    struct TFixup {
        TObject* Instance;
        const TPropInfo* Prop;
        String Target;
        String Where; // for messages: the place and the property path
    };
    struct TBinding {
        TObject* Instance;
        const TPropInfo* Prop;
        const TMethodInfo* Method; // null clears the event
        String Handler;
        // A form being designed keeps handler names without binding them:
        // the designer's form has none of the methods the names stand for.
        bool NameOnly = false;
    };
    struct TSnapshot {
        TComponent* Component;
        String Name;
        TFormObject Properties;
    };

    void ReadObject(const TFormObject& Node, TComponent* Parent, bool IsRoot);
    TComponent* MakeComponent(const TFormObject& Node, TComponent* Parent);
    TComponent* FindInherited(const TFormObject& Node) const;
    void Touch(TComponent* Existing);
    void ReadProperties(TComponent* Component, const TFormObject& Node);
    void ReadProperty(TComponent* Component, const TFormProperty& Property);
    void SetValue(TObject& Instance, const TPropInfo& Prop, const TFormValue& Value,
                  const String& Where);
    TComponent* Lookup(const String& Name) const;
    void ResolveFixups();
    void Rollback();
    void Commit();
    const TFormValue& TakeValue(const char* Expected);

    TComponent* FRoot;
    bool FRestoring = false;
    std::vector<TComponent*> FCreated; // made by this read, not yet owned
    std::vector<TComponent*> FLoading; // every component read, in creation order
    std::vector<TSnapshot> FSnapshots; // components that existed before the read
    std::vector<std::pair<TComponent*, TComponent*>> FParents; // set on hand-over
    std::map<String, TComponent*> FMade;                       // made components by lower-case name
    std::vector<TFixup> FFixups;
    std::vector<TBinding> FBindings;
    // The defined property being looked for, while DefineProperties runs.
    const String* FDefineName = nullptr;
    const TFormValue* FDefineValue = nullptr;
    bool FDefineFound = false;
    bool FValueTaken = false;
};

// Describes where a part of a form came from, for error messages: "Text
// form, line 12", "Binary form, offset 345", or "Form".
String DescribeFormPlace(const TFormPlace& Place);

} // namespace folio
