#pragma once

#include "framework/ui/controls/GraphicControl.h"
#include "framework/ui/stdctrls/StdCtrlTypes.h"

namespace folio {

class TWinControl;

// A caption drawn on its parent. Its accelerator ("&Name:") focuses
// FocusControl. AutoSize fits the bounds to the text (keeping the width and
// growing down when WordWrap is on); Transparent lets the parent show
// through. A link look is only font and cursor settings: a blue underlined
// font and crHandPoint, with OnClick.
class TLabel : public TGraphicControl {
    FOLIO_CLASS(TLabel)
public:
    explicit TLabel(TComponent* AOwner);

    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout GetLayout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool GetWordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool GetTransparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // With ShowAccelChar off, '&' is drawn as it is and there is no accelerator.
    bool GetShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    // A reference, dropped when that control is freed.
    TWinControl* GetFocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;
    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void TextChanged() override;
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
