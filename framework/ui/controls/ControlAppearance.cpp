#include "framework/ui/controls/Control.h"

#include "framework/core/ScopeGuard.h"
#include "framework/gfx/Font.h"
#include "framework/ui/controls/WinControl.h"

namespace folio {

// --- font, colour, hint, reading order ---------------------------------------

void TControl::SetFont(TFont* Value) {
    if (Value) FFont->Assign(Value);
}

void TControl::FontChangedHandler() {
    // A change of the font itself, not one handed down by the parent, breaks
    // the link with the parent's font.
    if (!FFontChanging) FParentFont = false;
    FontChanged();
}

void TControl::FontChanged() {
    Perform(CM_FONTCHANGED);
    Invalidate();
}

void TControl::SetParentFont(bool Value) {
    if (Value == FParentFont) return;
    FParentFont = Value;
    if (FParent && Value) Perform(CM_PARENTFONTCHANGED);
}

void TControl::CMParentFontChanged(TMessage&) {
    if (!FParentFont || !FParent) return;
    {
        TTemporaryChange Changing(FFontChanging, true);
        FFont->Assign(FParent->GetFont());
    }
    FParentFont = true;
}

void TControl::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    FParentColor = false;
    ColorChanged();
}

void TControl::ColorChanged() {
    Perform(CM_COLORCHANGED);
    Invalidate();
}

void TControl::SetParentColor(bool Value) {
    if (Value == FParentColor) return;
    FParentColor = Value;
    if (FParent && Value) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::CMParentColorChanged(TMessage&) {
    if (!FParentColor || !FParent) return;
    const TColor C = FParent->GetColor();
    if (C != FColor) {
        FColor = C;
        ColorChanged();
    }
}

void TControl::SetCursor(TCursor Value) {
    if (Value == FCursor) return;
    FCursor = Value;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetShowHint(bool Value) {
    if (Value == FShowHint && !FParentShowHint) return;
    FShowHint = Value;
    FParentShowHint = false;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool Value) {
    if (Value == FParentShowHint) return;
    FParentShowHint = Value;
    if (FParent && Value) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::CMParentShowHintChanged(TMessage&) {
    if (FParentShowHint && FParent) FShowHint = FParent->GetShowHint();
}

void TControl::SetBiDiMode(TBiDiMode Value) {
    if (Value == FBiDiMode && !FParentBiDiMode) return;
    FBiDiMode = Value;
    FParentBiDiMode = false;
    Perform(CM_BIDIMODECHANGED);
    Invalidate();
}

void TControl::SetParentBiDiMode(bool Value) {
    if (Value == FParentBiDiMode) return;
    FParentBiDiMode = Value;
    if (FParent && Value) Perform(CM_PARENTBIDIMODECHANGED);
}

void TControl::CMParentBiDiModeChanged(TMessage&) {
    if (!FParentBiDiMode || !FParent) return;
    if (FBiDiMode == FParent->GetBiDiMode()) return;
    FBiDiMode = FParent->GetBiDiMode();
    Perform(CM_BIDIMODECHANGED);
    Invalidate();
}

bool TControl::UseRightToLeftReading() const {
    return FBiDiMode != bdLeftToRight;
}

bool TControl::UseRightToLeftAlignment() const {
    return FBiDiMode == bdRightToLeft;
}

bool TControl::UseRightToLeftScrollBar() const {
    return FBiDiMode != bdLeftToRight && FBiDiMode != bdRightToLeftReadingOnly;
}

unsigned TControl::DrawTextBiDiModeFlags(unsigned Flags) const {
    // The values are DrawText's: DT_RIGHT 0x2 and DT_RTLREADING 0x20000.
    constexpr unsigned Right = 0x2, RtlReading = 0x20000, Center = 0x1;
    if (UseRightToLeftAlignment() && !(Flags & Center)) {
        if (Flags & Right)
            Flags &= ~Right;
        else
            Flags |= Right;
    }
    if (UseRightToLeftReading()) Flags |= RtlReading;
    return Flags;
}

unsigned TControl::DrawTextBiDiModeFlagsReadingOnly() const {
    return UseRightToLeftReading() ? 0x20000u : 0u;
}

void TControl::SetText(const String& Value) {
    if (Value == FText) return;
    FText = Value;
    TextChanged();
}

void TControl::TextChanged() {
    Perform(CM_TEXTCHANGED);
    Invalidate();
}

} // namespace folio
