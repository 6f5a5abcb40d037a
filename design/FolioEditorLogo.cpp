#include "design/FolioEditorLogo.h"

#include "framework/core/ColorConsts.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"

namespace folio {

std::unique_ptr<TBitmap> MakeFolioEditorLogo() {
    auto Logo = std::make_unique<TBitmap>();
    Logo->SetSize(218, 72);
    TCanvas* C = Logo->GetCanvas();
    C->GetBrush()->SetColor(clWhite);
    C->FillRect(Rect(0, 0, 218, 72));

    // A small bar: three captions, the middle group open with two items.
    constexpr TColor Shadow = 0x808080, Face = 0xC8D0D4, Open = 0x9C6B3C, Item = 0xE8C89C;
    C->GetPen()->SetColor(Shadow);
    C->GetBrush()->SetColor(Face);
    for (const int Top : {10, 22, 56}) C->Rectangle(12, Top, 60, Top + 11);
    C->GetBrush()->SetColor(Open);
    C->Rectangle(12, 33, 60, 56);
    C->GetBrush()->SetColor(Item);
    C->Rectangle(20, 36, 30, 46);
    C->Rectangle(42, 36, 52, 46);

    // The name, large, and what it is, small.
    C->GetBrush()->SetStyle(bsClear);
    TFont* F = C->GetFont();
    F->SetName("Liberation Sans");
    F->SetColor(Open);
    F->SetHeight(-30);
    F->SetStyle({fsBold});
    C->TextOut(72, 8, "Folio");
    F->SetColor(Shadow);
    F->SetHeight(-11);
    F->SetStyle({});
    C->TextOut(74, 46, "Shortcut bar editor");
    return Logo;
}

} // namespace folio
