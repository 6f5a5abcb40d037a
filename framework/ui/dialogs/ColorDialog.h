#pragma once

#include "framework/core/ColorConsts.h"
#include "framework/ui/dialogs/CommonDialog.h"

#include <vector>

namespace folio {

class TColorSwatches;
class TColorSpectrum;
class TEdit;
class TPanel;

/// The colour dialog: the basic colours to pick from, a hue and saturation
/// area and red, green and blue fields for any other colour, and a sample of
/// the colour chosen. Execute starts from Color and, on OK, sets it to the
/// choice; Cancel leaves it as it was.
class TColorDialog : public TCommonDialog {
    FOLIO_CLASS(TColorDialog)
public:
    /// A colour dialog starting from black.
    explicit TColorDialog(TComponent* AOwner);
    ~TColorDialog() override;

    /// The colour Execute starts from and, on OK, the colour chosen; clBlack by
    /// default. A system colour starts the dialog at its shade.
    ///@{
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    ///@}

    /// Shows the dialog modally (captioned Title, or "Color" without one);
    /// true, with Color set to the choice, on OK.
    bool Execute() override;

    /// The colours of the basic grid, row by row.
    static const std::vector<TColor>& BasicColors();

    /// While Execute runs: the colour the dialog shows now.
    TColor GetCurrentColor() const { return FCurrent; }

private:
    struct TParts;
    /// Makes every part show FCurrent, except the one the user is working in.
    void ShowCurrent(const void* Source);
    void RedGreenBlueChanged();

    TColor FColor = clBlack;
    TColor FCurrent = clBlack;
    TParts* FParts = nullptr;
    bool FShowing = false;
};

} // namespace folio
