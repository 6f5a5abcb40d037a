#pragma once

#include <memory>

namespace folio {

class TBitmap;

/// The picture on the bar editor's logo panel: 218 x 72 pixels, a sketch
/// of the bar (a column of captions with one group open) beside the
/// package's name, on the panel's white.
std::unique_ptr<TBitmap> MakeFolioEditorLogo();

} // namespace folio
