#pragma once

// Records the bar's deletion events, "g:" or "i:" and the caption, in order.
// Declare it before the bar: the bar's own destruction reports too.

#include "folio/Folio.h"

#include <string>
#include <vector>

namespace folio {

struct TDeletionLog {
    std::vector<std::string> Log;
    void Attach(TFolio& Bar) {
        Bar.OnGroupDeletion = [this](TObject*, TFolioGroup* G) {
            Log.push_back("g:" + G->GetCaption());
        };
        Bar.OnItemDeletion = [this](TObject*, TFolioItem* I) {
            Log.push_back("i:" + I->GetCaption());
        };
    }
};

} // namespace folio
