#pragma once

#include "framework/ui/forms/Form.h"

#include <memory>
#include <vector>

namespace folio {
class TListBox;
class TButton;
} // namespace folio

namespace designer {

class TFormDesigner;

// The controls of Parent that the keyboard visits, as the designed form
// Root holds them: its windowed children that Root owns, in tab order.
std::vector<folio::TWinControl*> TabOrderControls(const folio::TWinControl& Parent,
                                                  const folio::TComponent* Root);

// The tab-order dialog: the controls of one parent in their tab order in a
// list, Up and Down to move the chosen one a place, OK to take the order
// and Cancel to leave the form as it was.
class TTabOrderDialog {
public:
    TTabOrderDialog(folio::TWinControl& Parent, const folio::TComponent* Root);
    ~TTabOrderDialog();

    folio::TForm& Form() { return *FForm; }
    folio::TListBox& List() { return *FList; }
    // The order shown, first first.
    const std::vector<folio::TWinControl*>& Order() const { return FOrder; }
    // The chosen line a place up or down; nothing at either end.
    void MoveChosen(int By);

private:
    void Fill(int Chosen);

    std::unique_ptr<folio::TForm> FForm;
    folio::TListBox* FList = nullptr;
    std::vector<folio::TWinControl*> FOrder;
};

// The parent whose tab order the selection asks for: a selected container
// holding controls, else the selected control's parent, else the form.
folio::TWinControl* TabOrderParent(TFormDesigner& Designer);
// Gives the controls of Order (children of one parent) the tab order they
// stand in, as one change (none when the order was already so).
void ApplyTabOrder(TFormDesigner& Designer, const std::vector<folio::TWinControl*>& Order);
// Shows the dialog on TabOrderParent and applies its order on OK; false
// when it was cancelled.
bool EditTabOrder(TFormDesigner& Designer);

} // namespace designer
