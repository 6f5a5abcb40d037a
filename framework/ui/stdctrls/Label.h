#pragma once

#include "framework/ui/controls/GraphicControl.h"
#include "framework/ui/stdctrls/StdCtrlTypes.h"

namespace folio {

class TWinControl;

/// A caption drawn on its parent. Its accelerator ("&Name:") focuses
/// FocusControl. AutoSize fits the bounds to the text (keeping the width and
/// growing down when WordWrap is on); Transparent lets the parent show
/// through. A link look is only font and cursor settings: a blue underlined
/// font and crHandPoint, with OnClick.
class TLabel : public TGraphicControl {
    FOLIO_CLASS(TLabel)
public:
    /// A label of 65 by 17 pixels (then fitted to its text) in its parent's
    /// colour.
    explicit TLabel(TComponent* AOwner);

    ///@{
    /// Where the text stands across the label; taLeftJustify by default.
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    ///@}
    ///@{
    /// Where the text stands up and down; tlTop by default.
    TTextLayout GetLayout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    ///@}
    ///@{
    /// Whether the label fits its bounds to its text; true by default.
    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    ///@}
    ///@{
    /// Whether the text wraps at the label's width; false by default.
    bool GetWordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    ///@}
    ///@{
    /// Whether the parent shows through behind the text; false by default.
    bool GetTransparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    ///@}
    ///@{
    /// With ShowAccelChar off, '&' is drawn as it is and there is no accelerator.
    /// True by default.
    bool GetShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    ///@}
    ///@{
    /// A reference, dropped when that control is freed.
    /// The control the label's accelerator focuses and that the label names for
    /// assistive technology; null by default.
    TWinControl* GetFocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    ///@}

    /// Drops FocusControl when it is freed.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    /// After a form file is read: fits the bounds to the text.
    void Loaded() override;
    /// The accelerator focuses FocusControl.
    void Dispatch(TMessage& Message) override;

protected:
    /// Draws the background (unless Transparent) and the text, greyed while
    /// disabled.
    void Paint() override;
    /// Fits the bounds to the new text.
    void TextChanged() override;
    /// Fits the bounds to the text in the new font.
    void FontChanged() override;

private:
    // The DrawText flags of the caption.
    unsigned TextFlags() const;
    // Resizes the label to its text when AutoSize is on.
    void AdjustBounds();

    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FAutoSize = true;
    bool FWordWrap = false;
    bool FTransparent = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

} // namespace folio
