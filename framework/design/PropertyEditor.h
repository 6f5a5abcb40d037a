#pragma once

#include "framework/core/Exceptions.h"
#include "framework/core/Object.h"
#include "framework/core/Set.h"

#include <functional>
#include <memory>
#include <vector>

namespace folio {

class IDesigner;
class TDesignRegistry;

// How a property inspector shows and edits a property.
enum class TPropertyAttribute {
    paValueList,     // offers a list of values (GetValues)
    paSubProperties, // expands into properties of its own (GetProperties)
    paDialog,        // has an ellipsis button that runs Edit
    paMultiSelect,   // can edit several selected objects at once
    paAutoUpdate,    // takes each keystroke at once, not only when the text is accepted
    paSortList,      // the value list is shown sorted
    paReadOnly,      // the value text cannot be typed
    paRevertable,    // the value can be put back to the inherited one
};
using enum TPropertyAttribute;
using TPropertyAttributes = TSet<TPropertyAttribute>;

// A value a property editor cannot take: the message says which and why.
class EPropertyError : public Exception {
public:
    using Exception::Exception;
};

class TPropertyEditor;
using TGetStrProc = std::function<void(const String& Value)>;
using TGetPropProc = std::function<void(std::unique_ptr<TPropertyEditor> Editor)>;

// Edits one published property of the objects selected in a designer (one
// or several, all having the property) as text: the value text, a list of
// values, sub-properties, or a dialog. Every change is written through the
// property's setter on every selected object and then reported to the
// designer. Editors are made when an inspector needs them and keep no
// state of their own beyond the selection.
//
// The base editor shows an object-valued property as its class name in
// parentheses and takes no text; the default editors of each kind of
// property (integers, strings, enumerations, sets, colours, objects,
// component references, events) are in StdPropertyEditors.h.
class TPropertyEditor {
public:
    TPropertyEditor(IDesigner* ADesigner, std::vector<TPersistent*> AComponents,
                    const TPropInfo& AProp);
    virtual ~TPropertyEditor();
    TPropertyEditor(const TPropertyEditor&) = delete;
    TPropertyEditor& operator=(const TPropertyEditor&) = delete;

    // The property became the inspector's current line.
    virtual void Activate();
    // Whether every selected object holds the same value (an inspector
    // shows the value only then).
    virtual bool AllEqual();
    // Whether typing may be completed from the value list.
    virtual bool AutoFill();
    // The double-click or the ellipsis button. A value list steps to the
    // value after the current one (from the last back to the first).
    virtual void Edit();
    virtual TPropertyAttributes GetAttributes();
    // The longest text SetValue takes; 0 when there is no limit.
    virtual int GetEditLimit();
    // The name shown in the inspector.
    virtual String GetName();
    // With paSubProperties: calls Proc with an editor for each sub-property.
    virtual void GetProperties(const TGetPropProc& Proc);
    // The value as text, of the first selected object.
    virtual String GetValue();
    // The value as text of selected object Index; AllEqual compares these.
    virtual String GetValueAt(int Index) const;
    // With paValueList: calls Proc with each value the list offers.
    virtual void GetValues(const TGetStrProc& Proc);
    // Called once after construction, before the inspector uses the editor.
    virtual void Initialize();
    // Takes the value as text and writes it to every selected object.
    // Raises EPropertyError for a text the property cannot take, leaving
    // the objects as they were.
    virtual void SetValue(const String& Value);

    IDesigner* GetDesigner() const { return FDesigner; }
    // Selected object Index, from 0.
    TPersistent* GetComponent(int Index) const;
    int GetPropCount() const { return static_cast<int>(FComponents.size()); }
    const std::vector<TPersistent*>& GetComponents() const { return FComponents; }
    const TPropInfo& GetPropInfo() const { return *FProp; }
    // The registry that made the editor, which also gives the editors of
    // its sub-properties; the program's registry by default.
    const TDesignRegistry& GetRegistry() const;
    void SetRegistry(const TDesignRegistry* Registry) { FRegistry = Registry; }

protected:
    // Values of the selected objects; the setters write every object and
    // then tell the designer. A property without a setter raises.
    long long GetOrdValue() const { return GetOrdValueAt(0); }
    long long GetOrdValueAt(int Index) const;
    void SetOrdValue(long long Value);
    String GetStrValue() const { return GetStrValueAt(0); }
    String GetStrValueAt(int Index) const;
    void SetStrValue(const String& Value);
    long double GetFloatValue() const { return GetFloatValueAt(0); }
    long double GetFloatValueAt(int Index) const;
    void SetFloatValue(long double Value);
    TObject* GetObjValue() const { return GetObjValueAt(0); }
    TObject* GetObjValueAt(int Index) const;
    void SetObjValue(TObject* Value);
    // Tells the designer, when there is one, that the form changed.
    void Modified();
    [[noreturn]] void InvalidValue(const String& Value) const;

private:
    void CheckWritable(bool HasSetter) const;

    IDesigner* FDesigner;
    std::vector<TPersistent*> FComponents;
    const TPropInfo* FProp;
    const TDesignRegistry* FRegistry = nullptr;
};

} // namespace folio
