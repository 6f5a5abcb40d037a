#pragma once

// A designer for the tests of the bar's design-time editors: it keeps, in
// order, what it was told, so that a test sees whether the designer heard
// of a change before or after something else happened.

#include "folio/Folio.h"
#include "framework/ui/forms/Designer.h"

#include <vector>

namespace folio::test {

struct TLogDesigner : IDesigner {
    void Modified() override { Log.push_back("Modified"); }
    void SelectComponent(TPersistent* Instance) override {
        const auto* Group = dynamic_cast<const TFolioGroup*>(Instance);
        Log.push_back("Select " + (Group ? Group->GetCaption() : String("?")));
    }
    std::vector<String> Log;
};

// The captions of a bar's groups, in order.
inline std::vector<String> Captions(const TFolio& Bar) {
    std::vector<String> Result;
    for (int I = 0; I < Bar.GetGroups()->GetCount(); ++I)
        Result.push_back(Bar.GetGroups()->GetGroup(I)->GetCaption());
    return Result;
}

} // namespace folio::test
