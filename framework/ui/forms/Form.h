#pragma once

#include "framework/ui/forms/CustomForm.h"

namespace folio {

/// The form applications make and design.
class TForm : public TCustomForm {
    FOLIO_CLASS(TForm)
public:
    /// A hidden form owned by AOwner (Application, usually); see TCustomForm.
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

} // namespace folio
