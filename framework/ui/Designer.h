#pragma once

#include "framework/core/Object.h"

namespace folio {

// What a form designer offers the components it designs. A form holds one
// while it is being designed; at run time there is none.
class IDesigner {
public:
    virtual ~IDesigner() = default;
    // Something of the designed form changed and must be saved.
    virtual void Modified() = 0;
    // Makes Instance the designer's selection.
    virtual void SelectComponent(TPersistent* Instance) = 0;
};

} // namespace folio
