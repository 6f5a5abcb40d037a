#pragma once

#include "framework/design/ComponentEditor.h"

namespace folio {

class TFolio;

/// The bar's commands in the designer's context menu, and a double-click
/// that opens the bar editor dialog. The menu has three lines for a bar
/// without groups ("Edit groups...", a separator, "Add Group") and five for
/// one with groups ("Edit groups...", a separator, "Select Group", "Add
/// Group", "Delete Group"). After every verb the designer is told that the
/// form changed.
class TFolioComponentEditor : public TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;

    void Edit() override;
    void ExecuteVerb(int Index) override;
    String GetVerb(int Index) override;
    int GetVerbCount() override;

private:
    /// The edited component, which must be a bar.
    TFolio& Bar() const;
};

} // namespace folio
