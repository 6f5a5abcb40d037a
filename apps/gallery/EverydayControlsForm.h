#pragma once

#include "framework/ui/forms/Form.h"

namespace gallery {

// A form of the everyday controls a real form is built from beside the
// bar: check boxes and radio buttons, a radio group, range controls and
// the rest, each in a state that shows its look.
class TEverydayControlsForm : public folio::TForm {
public:
    explicit TEverydayControlsForm(folio::TComponent* AOwner);
};

} // namespace gallery
