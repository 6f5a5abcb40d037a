#include "framework/gfx/Pen.h"

#include "framework/core/ClassBuilder.h"

namespace folio {

TPixelOp MakePenOp(TPenMode Mode, TPixel Color) {
    // Every mode is a bitwise function F(P, D). Evaluating it with D all
    // zeros gives the Xor term and with D all ones the And term flips the
    // bits that depend on D: F(P, D) = (D & A) ^ F(P, 0).
    auto F = [Mode](TPixel P, TPixel D) -> TPixel {
        switch (Mode) {
        case pmBlack:
            return 0;
        case pmWhite:
            return ~0u;
        case pmNop:
            return D;
        case pmNot:
            return ~D;
        case pmCopy:
            return P;
        case pmNotCopy:
            return ~P;
        case pmMergePenNot:
            return P | ~D;
        case pmMaskPenNot:
            return P & ~D;
        case pmMergeNotPen:
            return ~P | D;
        case pmMaskNotPen:
            return ~P & D;
        case pmMerge:
            return P | D;
        case pmNotMerge:
            return ~(P | D);
        case pmMask:
            return P & D;
        case pmNotMask:
            return ~(P & D);
        case pmXor:
            return P ^ D;
        case pmNotXor:
            return ~(P ^ D);
        }
        return P;
    };
    constexpr TPixel Rgb = 0x00FFFFFFu;
    const TPixel X = F(Color, 0) & Rgb;
    const TPixel A = (F(Color, Rgb) ^ F(Color, 0)) & Rgb;
    return TPixelOp{A, X | 0xFF000000u};
}

const TClassInfo& TPen::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TPen>("TPen", &TPersistent::StaticClassInfo())
            .Color("Color", &TPen::GetColor, &TPen::SetColor, 0)
            .Enum("Mode", "TPenMode",
                  {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
                   "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge",
                   "pmMask", "pmNotMask", "pmXor", "pmNotXor"},
                  &TPen::GetMode, &TPen::SetMode, std::optional(pmCopy))
            .Enum("Style", "TPenStyle",
                  {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear",
                   "psInsideFrame"},
                  &TPen::GetStyle, &TPen::SetStyle, std::optional(psSolid))
            .Int("Width", &TPen::GetWidth, &TPen::SetWidth, 1)
            .Build();
    return Info;
}

void TPen::Changed() {
    if (OnChange) OnChange(this);
}

void TPen::SetColor(TColor Value) {
    if (FColor == Value) return;
    FColor = Value;
    Changed();
}

void TPen::SetWidth(int Value) {
    if (Value < 0) Value = 0;
    if (FWidth == Value) return;
    FWidth = Value;
    Changed();
}

void TPen::SetStyle(TPenStyle Value) {
    if (FStyle == Value) return;
    FStyle = Value;
    Changed();
}

void TPen::SetMode(TPenMode Value) {
    if (FMode == Value) return;
    FMode = Value;
    Changed();
}

void TPen::Assign(const TPersistent* Source) {
    if (const auto* P = dynamic_cast<const TPen*>(Source)) {
        FColor = P->FColor;
        FWidth = P->FWidth;
        FStyle = P->FStyle;
        FMode = P->FMode;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

} // namespace folio
