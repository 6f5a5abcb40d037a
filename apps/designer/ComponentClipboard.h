#pragma once

#include "framework/core/FormTree.h"

#include <vector>

namespace designer {

using folio::String;
using folio::TFormObject;

// Copy and paste of components as text form blocks ("object Button1:
// TButton ... end"), the way people also write them by hand.

// The block of the component called Name in the form's tree, as text;
// raises EInvalidOperation when the tree has no such component.
String CopyComponentText(const TFormObject& Form, const String& Name);

// Puts the component block Text into the form's tree, inside the control
// called ParentName (the form for an empty name or a component that is no
// control). Names the form, or the block itself, already has become the
// class's next free name ("Button2"), and references inside the block
// follow them; a control lying exactly where a sibling lies moves down and
// right by Step until it is free; the paste lies above its siblings. Answers the pasted component's
// name. Raises EFormError for text that is not one component block or names an unknown class, a
// form, or an inherited block; Form is then unchanged.
String PasteComponentText(TFormObject& Form, const String& Text, const String& ParentName,
                          int Step);

// The blocks of the components called Names, one after the other, as text;
// raises EInvalidOperation when the tree lacks one of them.
String CopyComponentsText(const TFormObject& Form, const std::vector<String>& Names);

// Puts the component blocks of Text, one or several one after the other,
// into the form's tree as PasteComponentText puts one, and answers their
// names in order. Raises EFormError, with Form unchanged, when the text is
// not component blocks or any block cannot be pasted.
std::vector<String> PasteComponentsText(TFormObject& Form, const String& Text,
                                        const String& ParentName, int Step);

} // namespace designer
