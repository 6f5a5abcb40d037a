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

/// How a property inspector shows and edits a property.
enum class TPropertyAttribute {
    paValueList,     ///< offers a list of values (GetValues)
    paSubProperties, ///< expands into properties of its own (GetProperties)
    paDialog,        ///< has an ellipsis button that runs Edit
    paMultiSelect,   ///< can edit several selected objects at once
    paAutoUpdate,    ///< takes each keystroke at once, not only when the text is accepted
    paSortList,      ///< the value list is shown sorted
    paReadOnly,      ///< the value text cannot be typed
    paRevertable,    ///< the value can be put back to the inherited one
};
using enum TPropertyAttribute;
/// The attributes a property editor reports to the inspector.
using TPropertyAttributes = TSet<TPropertyAttribute>;

/// A value a property editor cannot take: the message says which and why.
class EPropertyError : public Exception {
public:
    using Exception::Exception;
};

class TPropertyEditor;
/// Receives one value of a value list (GetValues).
using TGetStrProc = std::function<void(const String& Value)>;
/// Receives, and takes over, the editor of one sub-property (GetProperties).
using TGetPropProc = std::function<void(std::unique_ptr<TPropertyEditor> Editor)>;

/// Edits one published property of the objects selected in a designer (one
/// or several, all having the property) as text: the value text, a list of
/// values, sub-properties, or a dialog. Every change is written through the
/// property's setter on every selected object and then reported to the
/// designer. Editors are made when an inspector needs them and keep no
/// state of their own beyond the selection.
///
/// The base editor shows an object-valued property as its class name in
/// parentheses and takes no text; the default editors of each kind of
/// property (integers, strings, enumerations, sets, colours, objects,
/// component references, events) are in StdPropertyEditors.h.
class TPropertyEditor {
public:
    /// An editor of property AProp of AComponents, reporting changes to
    /// ADesigner (may be null). Raises EInvalidArgument for an empty
    /// selection or a null object in it.
    TPropertyEditor(IDesigner* ADesigner, std::vector<TPersistent*> AComponents,
                    const TPropInfo& AProp);
    /// Leaves the selected objects as they are.
    virtual ~TPropertyEditor();
    TPropertyEditor(const TPropertyEditor&) = delete;
    TPropertyEditor& operator=(const TPropertyEditor&) = delete;

    /// The property became the inspector's current line.
    virtual void Activate();
    /// Whether every selected object holds the same value (an inspector
    /// shows the value only then).
    virtual bool AllEqual();
    /// Whether typing may be completed from the value list.
    virtual bool AutoFill();
    /// The double-click or the ellipsis button. A value list steps to the
    /// value after the current one (from the last back to the first).
    virtual void Edit();
    /// How the inspector offers the property; the base reports
    /// paMultiSelect and paRevertable.
    virtual TPropertyAttributes GetAttributes();
    /// The longest text SetValue takes; 0 when there is no limit.
    virtual int GetEditLimit();
    /// The name shown in the inspector.
    virtual String GetName();
    /// With paSubProperties: calls Proc with an editor for each sub-property.
    virtual void GetProperties(const TGetPropProc& Proc);
    /// The value as text, of the first selected object.
    virtual String GetValue();
    /// The value as text of selected object Index; AllEqual compares these.
    virtual String GetValueAt(int Index) const;
    /// With paValueList: calls Proc with each value the list offers.
    virtual void GetValues(const TGetStrProc& Proc);
    /// Called once after construction, before the inspector uses the editor.
    virtual void Initialize();
    /// Takes the value as text and writes it to every selected object.
    /// Raises EPropertyError for a text the property cannot take, leaving
    /// the objects as they were.
    virtual void SetValue(const String& Value);

    /// The designer told of every change; null when there is none.
    IDesigner* GetDesigner() const { return FDesigner; }
    /// Selected object Index, from 0.
    TPersistent* GetComponent(int Index) const;
    /// How many objects are selected (at least one).
    int GetPropCount() const { return static_cast<int>(FComponents.size()); }
    /// The selected objects, in selection order.
    const std::vector<TPersistent*>& GetComponents() const { return FComponents; }
    /// The property's name, type, range and accessors.
    const TPropInfo& GetPropInfo() const { return *FProp; }
    /// The registry that made the editor, which also gives the editors of
    /// its sub-properties; the program's registry by default.
    const TDesignRegistry& GetRegistry() const;
    /// Makes Registry the one GetRegistry gives; null means the program's.
    void SetRegistry(const TDesignRegistry* Registry) { FRegistry = Registry; }

protected:
    ///@{
    /// The value as a whole number (an integer, enumeration ordinal, set,
    /// colour or character), of the first selected object or of object
    /// Index; 0 for a property that cannot be read. Index outside the
    /// selection raises EListError.
    long long GetOrdValue() const { return GetOrdValueAt(0); }
    long long GetOrdValueAt(int Index) const;
    ///@}
    /// Writes Value to every selected object, then calls Modified. Raises
    /// EPropertyError for a read-only property or a value outside the
    /// property's MinValue..MaxValue, before writing any object.
    void SetOrdValue(long long Value);
    ///@{
    /// The value as text, of the first selected object or of object Index;
    /// empty for a property that cannot be read.
    String GetStrValue() const { return GetStrValueAt(0); }
    String GetStrValueAt(int Index) const;
    ///@}
    /// Writes Value to every selected object, then calls Modified. Raises
    /// EPropertyError for a read-only property.
    void SetStrValue(const String& Value);
    ///@{
    /// The value as a floating-point number, of the first selected object
    /// or of object Index; 0 for a property that cannot be read.
    long double GetFloatValue() const { return GetFloatValueAt(0); }
    long double GetFloatValueAt(int Index) const;
    ///@}
    /// Writes Value to every selected object, then calls Modified. Raises
    /// EPropertyError for a read-only property.
    void SetFloatValue(long double Value);
    ///@{
    /// The object the property holds, of the first selected object or of
    /// object Index; null for a property that cannot be read.
    TObject* GetObjValue() const { return GetObjValueAt(0); }
    TObject* GetObjValueAt(int Index) const;
    ///@}
    /// Writes Value to every selected object, then calls Modified. Raises
    /// EPropertyError for a read-only property.
    void SetObjValue(TObject* Value);
    /// Tells the designer, when there is one, that the form changed.
    void Modified();
    /// Raises EPropertyError saying Value is not a valid value of the
    /// property.
    [[noreturn]] void InvalidValue(const String& Value) const;

private:
    void CheckWritable(bool HasSetter) const;

    IDesigner* FDesigner;
    std::vector<TPersistent*> FComponents;
    const TPropInfo* FProp;
    const TDesignRegistry* FRegistry = nullptr;
};

} // namespace folio
