#pragma once

#include "framework/design/PropertyEditor.h"

namespace folio {

// The default editors of each kind of published property. The design
// registry picks one by the property's kind when no editor is registered
// for the property (DesignRegistry.h).

/// Whole numbers, in decimal (a leading '$' reads hexadecimal), within the
/// range the property's type holds.
class TIntegerProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    String GetValueAt(int Index) const override;
    void SetValue(const String& Value) override;
};

/// A floating-point number in the shortest digits of the property's type
/// ("0.1", "1.5E+20"), with '.' for the decimal point whatever the locale,
/// within the range the type holds.
class TFloatProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    String GetValueAt(int Index) const override;
    void SetValue(const String& Value) override;
};

/// "False" or "True", from a value list.
class TBoolProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    String GetValueAt(int Index) const override;
    void GetValues(const TGetStrProc& Proc) override;
    void SetValue(const String& Value) override;
};

/// An enumeration by its value names ("baVertical"), in ordinal order.
class TEnumProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    String GetValueAt(int Index) const override;
    void GetValues(const TGetStrProc& Proc) override;
    void SetValue(const String& Value) override;
};

/// A set reads "[fsBold,fsItalic]" and is edited element by element, as
/// True/False sub-properties.
class TSetProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    String GetValueAt(int Index) const override;
    void GetProperties(const TGetPropProc& Proc) override;
};

/// One element of a set: whether the set holds it.
class TSetElementProperty : public TPropertyEditor {
public:
    /// The editor of element AElement (its ordinal in the set's
    /// enumeration) of set property AProp.
    TSetElementProperty(IDesigner* ADesigner, std::vector<TPersistent*> AComponents,
                        const TPropInfo& AProp, int AElement);
    TPropertyAttributes GetAttributes() override;
    String GetName() override;
    String GetValueAt(int Index) const override;
    void GetValues(const TGetStrProc& Proc) override;
    void SetValue(const String& Value) override;

private:
    int FElement;
};

/// A text, taken as typed, with no length limit.
class TStringProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    String GetValueAt(int Index) const override;
    void SetValue(const String& Value) override;
};

/// A component's name: one per component, so not for several at once; a
/// name that is taken or not an identifier is refused.
class TComponentNameProperty : public TStringProperty {
public:
    using TStringProperty::TStringProperty;
    TPropertyAttributes GetAttributes() override;
    void SetValue(const String& Value) override;
};

/// A colour by name ("clBtnFace") when it has one, else as "$00BBGGRR"; the
/// value list offers the named colours. Decimal and hexadecimal numbers are
/// taken too. Edit picks any colour in the colour dialog.
class TColorProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    void Edit() override;
    String GetValueAt(int Index) const override;
    void GetValues(const TGetStrProc& Proc) override;
    void SetValue(const String& Value) override;
};

/// A cursor shape by its name ("crHandPoint"); the value list offers the
/// built-in shapes, and a number is taken too (an application's own cursor).
class TCursorProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    String GetValueAt(int Index) const override;
    void GetValues(const TGetStrProc& Proc) override;
    void SetValue(const String& Value) override;
};

///@{
/// The built-in cursor shapes' names: CursorToIdent answers false for a
/// number without one, IdentToCursor for a text that is no name (in any
/// case).
bool CursorToIdent(int Cursor, String& Ident);
bool IdentToCursor(const String& Ident, int& Cursor);
///@}

/// An owned persistent object (a font, a collection): its class name in
/// parentheses, expanding into the object's own published properties.
class TClassProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    String GetValueAt(int Index) const override;
    void GetProperties(const TGetPropProc& Proc) override;
};

/// A reference to another component of the designed form, by name; the
/// value list offers the form's components of the property's class, and an
/// empty text clears the reference.
class TComponentProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    String GetValueAt(int Index) const override;
    void GetValues(const TGetStrProc& Proc) override;
    void SetValue(const String& Value) override;
};

/// An event, by the name of the form's handler method bound to it; the
/// value list offers the form's handlers whose parameters fit the event,
/// and an empty text clears the event.
class TMethodProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    String GetValueAt(int Index) const override;
    void GetValues(const TGetStrProc& Proc) override;
    void SetValue(const String& Value) override;

private:
    /// The form whose handler methods the events of Component bind to.
    const TComponent* HandlerForm(const TComponent& Component) const;
};

/// The default editor of a property, by its kind.
std::unique_ptr<TPropertyEditor> CreateDefaultPropertyEditor(IDesigner* Designer,
                                                             std::vector<TPersistent*> Components,
                                                             const TPropInfo& Prop);

} // namespace folio
