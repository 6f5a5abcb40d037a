#pragma once

#include "framework/ui/controls/GraphicControl.h"
#include "framework/ui/dialogs/MessageDialog.h"

namespace folio {

class TCanvas;

/// The picture beside a message that says at a glance what kind it is: a red
/// disc with a cross for an error, a yellow triangle with an exclamation mark
/// for a warning, a blue disc with an "i" for information and with a question
/// mark for a question. A custom message has none. The colours are the
/// desktop's usual signal colours, the same in every scheme.
void DrawMessageIcon(TCanvas* Canvas, const TRect& R, TMsgDlgType Type);

/// The side of a message icon at 96 dots per inch.
constexpr int MessageIconSize = 32;

/// A message dialog's icon as a control.
class TMessageIcon : public TGraphicControl {
    FOLIO_CLASS(TMessageIcon)
public:
    /// An information icon, MessageIconSize pixels square.
    explicit TMessageIcon(TComponent* AOwner);
    /// Which icon shows (DrawMessageIcon); mtInformation by default. mtCustom
    /// shows none.
    ///@{
    TMsgDlgType GetKind() const { return FKind; }
    void SetKind(TMsgDlgType Value);
    ///@}

protected:
    /// Draws the icon filling the control.
    void Paint() override;

private:
    TMsgDlgType FKind = mtInformation;
};

} // namespace folio
