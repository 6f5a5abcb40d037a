#pragma once

/// The bar's design-time package.
namespace folio::Folio {

/// Puts the bar on the palette page "Marrow" with its component editor and
/// the property editors of VisibleGroupObject and Groups. A designer calls
/// it once, when the package is loaded.
void Register();

} // namespace folio::Folio
