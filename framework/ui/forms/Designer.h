#pragma once

#include "framework/core/Object.h"

#include <functional>

namespace folio {

class TComponent;
class TControl;
struct TMessage;

/// What a form designer offers the components it designs and their editors.
/// A form holds one while it is being designed; at run time there is none.
///
/// A designer that knows the form it designs answers GetRoot; the name
/// services below then work on that form's components unless the designer
/// has its own idea of them.
class IDesigner {
public:
    /// Nothing to free: the designer belongs to whoever made it.
    virtual ~IDesigner() = default;
    /// Something of the designed form changed and must be saved.
    virtual void Modified() = 0;
    /// Makes Instance the designer's selection.
    virtual void SelectComponent(TPersistent* Instance) = 0;
    /// Mouse and key messages for a control being designed come here first;
    /// answering true keeps the message from the control. A designer asks the
    /// control with CM_DESIGNHITTEST which mouse messages it wants itself.
    virtual bool IsDesignMsg(TControl* /*Sender*/, TMessage& /*Message*/) { return false; }
    /// Called as the designed form paints its own face, before its controls:
    /// the designer may draw its grid there, on the form's canvas.
    virtual void PaintGrid() {}

    /// The form being designed; null for a designer without one.
    virtual TComponent* GetRoot() const { return nullptr; }
    /// Calls Proc with the name of every named component of the designed form
    /// that is a Class or descends from it, in creation order; the form
    /// itself comes first when it is one.
    virtual void GetComponentNames(const TClassInfo& Class,
                                   const std::function<void(const String&)>& Proc) const;
    /// The designed form's component of that name (case does not matter),
    /// the form itself for its own name, or null.
    virtual TComponent* GetComponent(const String& Name) const;
    /// The form-wide name of Component: its name, or empty for null or an
    /// unnamed component.
    virtual String GetComponentName(const TComponent* Component) const;
    /// A name for a new component that no component of the form has:
    /// "TButton" gives "Button1", or "Button2" when that is taken.
    virtual String UniqueName(const String& BaseName) const;
};

/// The name UniqueName gives on Root: BaseName without a leading T, followed
/// by the lowest number from 1 that no component Root owns (nor Root) has.
String UniqueComponentName(const TComponent* Root, const String& BaseName);

} // namespace folio
