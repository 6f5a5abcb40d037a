#pragma once

#include "framework/design/PropertyEditor.h"

namespace folio {

class TFolio;

/// The bar's VisibleGroupObject in the property inspector: the open group's
/// caption ("None" without one), chosen from the captions of the groups in
/// their order. Groups captioned alike each have their entry, but a caption
/// names only the first of them: choosing any of those entries opens the one
/// with the lower index.
class TFolioVisibleGroupPropEditor : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    String GetValue() override;
    void GetValues(const TGetStrProc& Proc) override;
    void SetValue(const String& Value) override;
};

/// The bar's Groups in the property inspector: a fixed text and an ellipsis
/// button that opens the bar editor dialog.
class TFolioGroupsPropEditor : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    void Edit() override;
    TPropertyAttributes GetAttributes() override;
    String GetValue() override;
};

/// The first selected object of a property editor of the bar, which must be
/// a bar (EInvalidCast otherwise).
TFolio& EditedBar(const TPropertyEditor& Editor);

} // namespace folio
