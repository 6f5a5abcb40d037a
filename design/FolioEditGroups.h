#pragma once

namespace folio {

class TFolio;
class IDesigner;

/// Edits a designed bar's groups in the bar editor dialog: the dialog works
/// on a copy of the groups (with the bar's image lists, fonts and reading
/// order, so that the copy looks like the bar) and only Apply and OK copy
/// them back, each telling Designer that the form changed. Cancel keeps
/// what Apply already sent.
void EditFolioGroups(TFolio& Bar, IDesigner* Designer);

} // namespace folio
